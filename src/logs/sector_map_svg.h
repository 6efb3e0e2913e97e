// The picture of a sector report: every system seen from above (x right, y
// up, in parsecs), its primary star coloured by kind, nearer systems (higher
// z) drawn brighter, systems with a native race ringed and systems holding
// an owned colony boxed, in its owner's colour where the controlling race is
// known. A sector of more systems than one picture can show
// one by one is drawn as a grid of cells shaded by how many systems each
// holds. In a sector with names, the inhabited systems and the brightest
// ones carry their names beside them, where a name has room.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orrimar::logs {

// Systems drawn one by one at most; above this the map aggregates.
inline constexpr std::size_t kMapPointLimit = 20000;
// Cells per side of the aggregated map.
inline constexpr int kMapGridCells = 100;

struct MapSystem {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t z = 0;
    std::uint8_t primaryKind = 0;
    bool nativeRace = false;
    bool controlled = false;
    std::int64_t id = -1;   // system id, for a link to the system's page
    std::string name = {};  // UTF-8; empty for a system without a name (no label)
    float brightness = 0;   // the primary's luminosity (Sun = 1): the brightest get labels
    // The colour of the race controlling the system (red, green, blue); its
    // box is tinted with it. None: a controlled system is boxed in red.
    std::optional<std::array<std::uint8_t, 3>> territory = {};
};

// Territories listed in the legend at most; the rest share one entry.
inline constexpr std::size_t kMapLegendTerritories = 12;

// Named systems ranked for labels past the inhabited ones: at most this many
// of the brightest are tried.
inline constexpr std::size_t kMapBrightLabels = 40;
// Labels on one map at most, so that names never bury the stars.
inline constexpr std::size_t kMapLabelLimit = 80;

class SectorMap {
public:
    // The extent of the sector, known before the systems are added.
    SectorMap(std::int64_t systemCount, int minX, int maxX, int minY, int maxY, int minZ, int maxZ);

    void add(const MapSystem& system);
    // Makes each system drawn one by one a link to href(id) (an atlas's
    // system pages); systems for which href gives "" stay plain.
    void setLinks(std::function<std::string(std::int64_t)> href) { href_ = std::move(href); }
    // Each linked system's tooltip names it by its name (or "A system")
    // rather than its id: for readers who never see record numbers.
    void hideIds() { hideIds_ = true; }
    bool aggregated() const { return aggregated_; }
    // A territory's entry in the legend: its owner's name (UTF-8) and colour.
    void addTerritory(std::string owner, const std::array<std::uint8_t, 3>& colour) {
        territories_.emplace_back(std::move(owner), colour);
    }

    // The SVG element (no XML prolog), and a caption saying what it shows.
    std::string svg() const;
    std::string caption() const;

private:
    struct Cell {
        std::uint32_t systems = 0;
        std::uint32_t races = 0;
        std::uint32_t controlled = 0;
        std::optional<std::array<std::uint8_t, 3>> territory;  // the first met
    };
    double px(double x) const;
    double py(double y) const;
    std::string axes() const;
    std::string legend() const;
    // The labels that fit, and how many there are.
    std::string labels(std::size_t& drawn) const;
    // The dots' radius: smaller the more systems the map holds.
    double radius() const;

    std::int64_t systemCount_;
    int minX_, maxX_, minY_, maxY_, minZ_, maxZ_;
    bool aggregated_;
    bool hideIds_ = false;
    std::vector<MapSystem> points_;
    std::vector<Cell> cells_;
    std::vector<bool> kindsSeen_;
    std::function<std::string(std::int64_t)> href_;
    std::vector<std::pair<std::string, std::array<std::uint8_t, 3>>> territories_;
};

}  // namespace orrimar::logs

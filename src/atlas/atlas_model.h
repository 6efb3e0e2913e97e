// The atlas's picture of a sector: one compact entry per system holding what
// the map draws and what the filters ask, plus a spatial index over the
// systems' integer cells. Opening reads the system file whole and the planet
// file once (keeping a few summary bytes per system), the colony file and,
// for moon bases, single moon records; nothing else stays in memory, so a
// million systems take about 40 MB and open in about a second.
//
// The model is UI-free and immutable once opened; camera, filters, labels and
// routes are free functions over it (see camera.h, filters.h, labels.h,
// routes.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orrimar::atlas {

using SystemId = std::int32_t;  // record position in the .sun file
constexpr SystemId kNoSystem = -1;

// Marks drawn beside a system's dot (bits of SystemEntry::marks).
enum Mark : std::uint8_t {
    kMarkNativeLife = 1,   // some planet bears life (any level)
    kMarkNativeRace = 2,   // some planet is home to a native race
    kMarkColony = 4,       // a colony or moon base lies in the system
    kMarkOwnedColony = 8,  // ... and a race owns it (not independent)
};

// One system as the map and the filters see it: 12 bytes.
struct SystemEntry {
    std::int16_t x = 0, y = 0, z = 0;  // cell, parsecs
    std::uint8_t starKind = 0;         // primary's kind 1..23
    std::uint8_t brightness = 0;       // 0..7: decade of the primary's light, see brightnessClass()
    std::uint8_t starCount = 0;        // 1..3
    std::uint8_t marks = 0;            // Mark bits
    std::uint8_t life = 0;             // highest engine::LifeLevel of its planets
    std::uint8_t worldCount = 0;       // planets and belts, capped at 255
};

// What the planets of one system hold, folded into ranges and bits so that
// a world filter tests one system without reading the planet file: 20 bytes.
// Belts count in worldTypes only (they have no climate worth filtering).
struct WorldSummary {
    std::uint32_t worldTypes = 0;    // bit t set when a body of world type t (1..23) orbits here
    std::int16_t tempMin = 0;        // coldest planet, degrees Celsius (planets only)
    std::int16_t tempMax = 0;        // hottest planet
    std::uint16_t gravityMin = 0;    // lowest surface gravity of a planet, hundredths of a g
    std::uint16_t gravityMax = 0;    // highest
    std::uint8_t waterMin = 0;       // narrowest water cover of a planet, percent
    std::uint8_t waterMax = 0;       // widest
    std::uint8_t breathable = 0;     // planets with a breathable atmosphere, capped at 255
    std::uint8_t planets = 0;        // planets (not belts) summarised, capped at 255
    std::int32_t firstPlanet = -1;   // planet-file id of the system's first body; -1 = none readable
};

// The primary's light as a class 0..7: 0 below 0.01 of the Sun's, then one
// class per factor of ten, 7 at 100 000 and above. The map sizes dots by it.
std::uint8_t brightnessClass(float luminosity);

// A breathable atmosphere: the nitrogen-oxygen mix (composition 2) at
// standard or thin pressure (classes 3 and 4).
bool isBreathable(std::uint8_t composition, std::uint8_t atmosphereClass);

// Surface gravity in hundredths of a g, from density (tenths of the Earth's)
// and diameter (km), by the generator's bulk formula.
std::uint16_t gravityHundredths(std::uint8_t density, std::int32_t diameterKm);

// Integer bounds of the systems' cells (inclusive); all zero when empty.
struct Bounds {
    std::array<int, 3> min{};
    std::array<int, 3> max{};
};

class AtlasModel {
public:
    // Opens the sector with this base name (path without extension).
    // Throws IoError naming the file when ".sun" or ".pln" cannot be read,
    // InputError "Sector <base> holds no star systems" for an empty system
    // file. Damage that leaves the systems readable (a torn record at a file's
    // end, a planet id outside the planet file, a colony pointing nowhere)
    // does not stop the opening: each is described in warnings().
    static AtlasModel open(const std::string& baseName);

    // An in-memory model, for tests and tools: entries and summaries of
    // equal length; names optional.
    static AtlasModel fromEntries(std::vector<SystemEntry> entries, std::vector<WorldSummary> worlds = {});

    const std::string& baseName() const { return baseName_; }
    // The sector's name from its name file's header (as UTF-8); the base
    // name's last component when there is none.
    const std::string& sectorName() const { return sectorName_; }
    const std::vector<std::string>& warnings() const { return warnings_; }

    SystemId size() const { return static_cast<SystemId>(entries_.size()); }
    const SystemEntry& entry(SystemId id) const { return entries_[static_cast<std::size_t>(id)]; }
    const std::vector<SystemEntry>& entries() const { return entries_; }
    // Summary of the planets of a system; all zero (planets 0) when none.
    const WorldSummary& worlds(SystemId id) const { return worlds_[static_cast<std::size_t>(id)]; }
    const Bounds& bounds() const { return bounds_; }

    // The system's name (UTF-8); empty when it has none. Names come from
    // the sector's name records (setName), by id.
    std::string_view name(SystemId id) const;
    void setName(SystemId id, std::string name);
    // Ids whose names contain `text`, ignoring case (ASCII), in id order.
    std::vector<SystemId> findByName(std::string_view text) const;

    // ---------------------------------------------------- spatial index
    // Systems whose cell lies within `parsecs` (straight-line distance
    // between cell coordinates) of the cell (x, y, z), in no set order;
    // `visit(id, distanceSquared)`. The search touches only the index buckets
    // the sphere overlaps.
    void forEachWithin(int x, int y, int z, double parsecs,
                       const std::function<void(SystemId, std::int64_t)>& visit) const;
    // Systems whose cells lie in the box [min, max] (inclusive), in no set order.
    void forEachInBox(const std::array<int, 3>& min, const std::array<int, 3>& max,
                      const std::function<void(SystemId)>& visit) const;
    // The system whose cell is (x, y, z), kNoSystem when none. (Two systems
    // in one cell happen only in merged sectors; the first id wins.)
    SystemId atCell(int x, int y, int z) const;

    // Edge of an index bucket in parsecs: systems are grouped by
    // floor(coordinate / kBucketEdge) on each axis.
    static constexpr int kBucketEdge = 4;

private:
    void buildIndex();

    std::string baseName_;
    std::string sectorName_;
    std::vector<std::string> warnings_;
    std::vector<SystemEntry> entries_;
    std::vector<WorldSummary> worlds_;
    Bounds bounds_;
    std::unordered_map<SystemId, std::string> names_;
    // Spatial index: the systems' cells ordered by bucket, x fastest, so
    // that a row of buckets along x is one run of cells. When the bounding
    // box in buckets is small (any sector made in one run), a dense table
    // gives each bucket's start; a sector spread thin (merged far apart)
    // keeps only its occupied buckets' keys and finds a row by binary search.
    struct IndexedCell {
        std::int16_t x, y, z, pad;
        SystemId id;
    };
    void rowRange(int by, int bz, int bxFrom, int bxTo, std::size_t& begin, std::size_t& end) const;
    template <typename Visit>
    void scanBox(const std::array<int, 3>& min, const std::array<int, 3>& max, Visit&& visit) const;
    std::vector<IndexedCell> ordered_;
    std::array<int, 3> bucketMin_{};   // bucket coordinates of bounds_.min
    std::array<int, 3> bucketSpan_{};  // buckets per axis
    bool dense_ = false;
    std::vector<std::uint32_t> bucketStart_;  // dense: size = product of spans + 1
    std::vector<std::int64_t> bucketKeys_;    // sparse: linear key of each occupied bucket, sorted
    std::vector<std::uint32_t> keyStart_;     // sparse: start of each occupied bucket, + end
};

// Straight-line distance between two systems' cells, parsecs.
double distance(const AtlasModel& model, SystemId a, SystemId b);

}  // namespace orrimar::atlas

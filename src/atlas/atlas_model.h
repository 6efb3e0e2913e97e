// The atlas's picture of a sector: one compact entry per system holding what
// the map draws and what the filters ask, plus a spatial index over the
// systems' integer cells. Opening reads the system file whole and the planet
// file once (keeping a few summary bytes per system), the colony file and,
// for moon bases, single moon records; nothing else stays in memory, so a
// million systems take about 40 MB and open in about a second.
//
// The model is UI-free. Once opened only the names change (setName, after the
// window renamed a system); the systems' entries, summaries and index do
// not. Camera, filters, labels and routes are free functions over it (see
// camera.h, filters.h, labels.h, routes.h).
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "atlas/settled_layer.h"

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
    std::uint8_t life = 0;             // highest vocabulary::LifeLevel of its planets
    std::uint8_t worldCount = 0;       // planets and belts, capped at 255
};

// What the planets of one system hold, folded into ranges and bits so that
// a world filter tests one system without reading the planet file: 20 bytes.
// Belts count in worldTypes only (they have no climate worth filtering).
struct WorldSummary {
    std::uint32_t worldTypes = 0;   // bit t set when a body of world type t (1..23) orbits here
    std::int16_t tempMin = 0;       // coldest planet, degrees Celsius (planets only)
    std::int16_t tempMax = 0;       // hottest planet
    std::uint16_t gravityMin = 0;   // lowest surface gravity of a planet, hundredths of a g
    std::uint16_t gravityMax = 0;   // highest
    std::uint8_t waterMin = 0;      // narrowest water cover of a planet, percent
    std::uint8_t waterMax = 0;      // widest
    std::uint8_t breathable = 0;    // planets with a breathable atmosphere, capped at 255
    std::uint8_t planets = 0;       // planets (not belts) summarised, capped at 255
    std::int32_t firstPlanet = -1;  // planet-file id of the system's first body; -1 = none readable
};

// The brightness class of a veiled system (AtlasModel::veil): a middling dot.
inline constexpr std::uint8_t kVeiledBrightness = 2;

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

    // Settled space: control, colonies and empires (settled_layer.h). An
    // in-memory model gets its own with setSettled (tests, benchmarks).
    const SettledLayer& settled() const { return settled_; }
    void setSettled(SettledLayer settled) { settled_ = std::move(settled); }
    // The race controlling the system; kNoRace when none.
    std::uint16_t owner(SystemId id) const { return settled_.owner(id); }

    // The system's name (UTF-8); empty when it has none. open() reads the
    // names from the sector's name file (the last record for an id wins);
    // setName changes the model only (renaming on disk is the name
    // writer's), e.g. after the window renamed a system. The view stays
    // valid until the next setName.
    std::string_view name(SystemId id) const;
    void setName(SystemId id, std::string_view utf8Name);
    // What a reader who knows less sees of a system (players_sight.h): its
    // marks replaced; veil() leaves a neutral point of light in its cell:
    // no star kind (0), brightness kVeiledBrightness, no name, no worlds,
    // no life. Cells and the index stay.
    void setMarks(SystemId id, std::uint8_t marks) { entries_[static_cast<std::size_t>(id)].marks = marks; }
    void veil(SystemId id);
    // Ids whose names contain `text`, ignoring case (ASCII), in id order.
    std::vector<SystemId> findByName(std::string_view text) const;

    // ---------------------------------------------------- spatial index
    // Systems whose cell lies within `parsecs` (straight-line distance
    // between cell coordinates) of the cell (x, y, z), in no set order;
    // visit(SystemId id, std::int64_t distanceSquared). Only the index's
    // rows of buckets that the sphere cuts are read, each clipped to the
    // sphere's width there, so a query costs about the cells of the sphere.
    template <typename Visit>
    void forEachWithin(int x, int y, int z, double parsecs, Visit&& visit) const {
        forEachWithin(x, y, z, parsecs, nullptr, visit);
    }
    // The same, leaving out rows of cells that lie wholly outside `near`
    // (when given): a route search asks only for the cells from which the
    // destination can still be reached in time, a narrow cap of the jump's
    // sphere, and saves reading the rest. The clip is by whole index rows,
    // so some cells outside `near` may still be visited.
    struct Near {
        int x = 0, y = 0, z = 0;   // the centre, a cell
        std::int64_t squared = 0;  // straight distance squared at most
        std::int64_t axesSum = 0;  // |dx| + |dy| + |dz| at most
        std::int64_t oneAxis = 0;  // max(|dx|, |dy|, |dz|) at most
    };
    template <typename Visit>
    void forEachWithin(int x, int y, int z, double parsecs, const Near* near, Visit&& visit) const;
    // Systems whose cells lie in the box [min, max] (inclusive), in no set order.
    void forEachInBox(const std::array<int, 3>& min, const std::array<int, 3>& max,
                      const std::function<void(SystemId)>& visit) const;
    // The system whose cell is (x, y, z), kNoSystem when none. (Two systems
    // in one cell happen only in merged sectors; the lowest id wins.)
    SystemId atCell(int x, int y, int z) const;

    // Edge of an index bucket in parsecs, chosen at opening so that a bucket
    // holds about one to three systems: 1 in a sector full to every cell,
    // 3 at the usual density of 8 %, at most 8.
    int bucketEdge() const { return edge_; }

    // Bytes held by the model (entries, summaries, index and names), for
    // the memory figures of the benchmarks and the window's status line.
    std::size_t memoryBytes() const;

private:
    void buildIndex();

    std::string baseName_;
    std::string sectorName_;
    std::vector<std::string> warnings_;
    std::vector<SystemEntry> entries_;
    std::vector<WorldSummary> worlds_;
    SettledLayer settled_;
    Bounds bounds_;
    // Names in one pool: (offset, length) per system, empty until a name
    // is set, so a million names cost their characters and 8 bytes each.
    struct NameRef {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    std::vector<NameRef> nameRefs_;
    std::string namePool_;
    // Spatial index: the systems' cells ordered by bucket, x fastest, so
    // that a row of buckets along x is one run of cells. When the bounding
    // box in buckets is small (any sector made in one run), a dense table
    // gives each bucket's start; a sector spread thin (merged far apart)
    // keeps only its occupied buckets' keys and finds a row by binary search.
    struct IndexedCell {
        std::int16_t x, y, z, pad;
        SystemId id;
    };
    static int floorDiv(int v, int d) { return v >= 0 ? v / d : -((-v + d - 1) / d); }
    void rowRange(int by, int bz, int bxFrom, int bxTo, std::size_t& begin, std::size_t& end) const;
    template <typename Visit>
    void scanBox(const std::array<int, 3>& min, const std::array<int, 3>& max, Visit&& visit) const;
    std::vector<IndexedCell> ordered_;
    int edge_ = 1;
    std::array<int, 3> bucketMin_{};   // bucket coordinates of bounds_.min
    std::array<int, 3> bucketSpan_{};  // buckets per axis
    bool dense_ = false;
    std::vector<std::uint32_t> bucketStart_;  // dense: size = product of spans + 1
    std::vector<std::int64_t> bucketKeys_;    // sparse: linear key of each occupied bucket, sorted
    std::vector<std::uint32_t> keyStart_;     // sparse: start of each occupied bucket, + end
};

// Straight-line distance between two systems' cells, parsecs.
double distance(const AtlasModel& model, SystemId a, SystemId b);

// InputError "<role> system <id> is not in the sector: it has ..." for an
// id outside the model (`role` is "The", "The starting" ...).
void requireSystem(const AtlasModel& model, SystemId id, const char* role);

// The largest squared distance between two cells that is within `parsecs`:
// cells are whole numbers, so "at most `parsecs` apart" compares exactly as
// dx^2 + dy^2 + dz^2 <= this (a cell exactly `parsecs` away is within).
// Negative for a negative or NaN distance (nothing is within it). The one
// rule of "within a jump" for the index, routes and jump searches.
inline std::int64_t withinSquared(double parsecs) {
    if (!(parsecs >= 0.0)) return -1;
    const double r = std::min(parsecs, 200000.0);
    return static_cast<std::int64_t>(std::floor(r * r + 1e-9));
}

// ------------------------------------------------------------ inline

template <typename Visit>
void AtlasModel::forEachWithin(int x, int y, int z, double parsecs, const Near* near, Visit&& visit) const {
    if (ordered_.empty() || !(parsecs >= 0.0)) return;
    const std::int64_t limit = withinSquared(parsecs);
    const auto reach = static_cast<int>(std::floor(std::min(parsecs, 200000.0)));
    int zlo = std::max(z - reach, bounds_.min[2]), zhi = std::min(z + reach, bounds_.max[2]);
    int ylo = std::max(y - reach, bounds_.min[1]), yhi = std::min(y + reach, bounds_.max[1]);
    if (near != nullptr) {
        if (near->squared < 0 || near->axesSum < 0 || near->oneAxis < 0) return;
        const auto w = static_cast<int>(std::min<std::int64_t>(near->oneAxis, 200000));
        zlo = std::max(zlo, near->z - w), zhi = std::min(zhi, near->z + w);
        ylo = std::max(ylo, near->y - w), yhi = std::min(yhi, near->y + w);
    }
    if (zlo > zhi || ylo > yhi) return;
    // Distance from v to the nearest coordinate of bucket b.
    auto gap = [this](int v, int b) -> std::int64_t {
        const int lo = b * edge_, hi = lo + edge_ - 1;
        return v < lo ? lo - v : (v > hi ? v - hi : 0);
    };
    // Largest d with d * d <= v (v >= 0).
    auto isqrt = [](std::int64_t v) {
        auto d = static_cast<std::int64_t>(std::sqrt(static_cast<double>(v)));
        while (d * d > v) --d;
        while ((d + 1) * (d + 1) <= v) ++d;
        return d;
    };
    for (int bz = floorDiv(zlo, edge_); bz <= floorDiv(zhi, edge_); ++bz) {
        const std::int64_t dz = gap(z, bz);
        for (int by = floorDiv(ylo, edge_); by <= floorDiv(yhi, edge_); ++by) {
            const std::int64_t dy = gap(y, by);
            const std::int64_t rest = limit - dz * dz - dy * dy;
            if (rest < 0) continue;
            const std::int64_t dx = isqrt(rest);
            std::int64_t xlo = std::max<std::int64_t>(x - dx, bounds_.min[0]);
            std::int64_t xhi = std::min<std::int64_t>(x + dx, bounds_.max[0]);
            if (near != nullptr) {
                const std::int64_t ny = gap(near->y, by), nz = gap(near->z, bz);
                const std::int64_t sumLeft = near->axesSum - ny - nz;
                const std::int64_t squareLeft = near->squared - ny * ny - nz * nz;
                if (sumLeft < 0 || squareLeft < 0) continue;
                const std::int64_t nx = std::min({sumLeft, near->oneAxis, isqrt(squareLeft)});
                xlo = std::max<std::int64_t>(xlo, near->x - nx);
                xhi = std::min<std::int64_t>(xhi, near->x + nx);
            }
            if (xlo > xhi) continue;
            std::size_t begin = 0, end = 0;
            rowRange(by, bz, floorDiv(static_cast<int>(xlo), edge_), floorDiv(static_cast<int>(xhi), edge_), begin,
                     end);
            for (std::size_t i = begin; i < end; ++i) {
                const IndexedCell& c = ordered_[i];
                const std::int64_t ex = c.x - x, ey = c.y - y, ez = c.z - z;
                const std::int64_t d2 = ex * ex + ey * ey + ez * ez;
                if (d2 <= limit) visit(c.id, d2);
            }
        }
    }
}

}  // namespace orrimar::atlas

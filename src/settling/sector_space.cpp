#include "settling/sector_space.h"

#include <algorithm>
#include <cmath>

#include "records/colony_codes.h"
#include "records/record_reader.h"
#include "records/sector_files.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

// Cell keys order by x, then y, then z: one (x, y) row of cells is one run
// of keys, found by a single binary search.
constexpr std::int32_t kKeyBias = 32768;

}  // namespace

std::span<const WorldFacts> SystemWorlds::of(std::int32_t system) const {
    if (system < 0 || static_cast<std::size_t>(system) + 1 >= offsets_.size()) return {};
    const auto from = static_cast<std::size_t>(offsets_[static_cast<std::size_t>(system)]);
    const auto to = static_cast<std::size_t>(offsets_[static_cast<std::size_t>(system) + 1]);
    return {worlds_.data() + from, to - from};
}

std::int64_t SystemWorlds::planetOfMoon(std::int64_t moonId) const {
    const auto at = moonPlanet_.find(moonId);
    return at == moonPlanet_.end() ? -1 : at->second;
}

std::uint64_t SectorSpace::key(std::int32_t x, std::int32_t y, std::int32_t z) {
    return (static_cast<std::uint64_t>(x + kKeyBias) << 34) | (static_cast<std::uint64_t>(y + kKeyBias) << 17) |
           static_cast<std::uint64_t>(z + kKeyBias);
}

SectorSpace SectorSpace::load(const std::string& baseName) {
    SectorSpace space;
    RecordReader<TSystemRec> systems(sectorPath(baseName, ".sun"));
    space.cells_.reserve(static_cast<std::size_t>(systems.count()));
    space.index_.reserve(static_cast<std::size_t>(systems.count()));
    systems.forEach([&](std::int64_t id, const TSystemRec& system) {
        space.cells_.push_back({system.x, system.y, system.z});
        space.index_.emplace_back(key(system.x, system.y, system.z), static_cast<std::int32_t>(id));
    });
    std::sort(space.index_.begin(), space.index_.end());
    return space;
}

void SectorSpace::forEachWithin(std::int32_t centre, double reach,
                                const std::function<void(std::int32_t, double)>& visit) const {
    const Cell& c = cells_[static_cast<std::size_t>(centre)];
    const auto r = static_cast<std::int32_t>(std::floor(reach));
    const double reachSquared = reach * reach;
    for (std::int32_t dx = -r; dx <= r; ++dx) {
        for (std::int32_t dy = -r; dy <= r; ++dy) {
            const double rest = reachSquared - dx * dx - dy * dy;
            if (rest < 0.0) continue;
            const auto dz = static_cast<std::int32_t>(std::floor(std::sqrt(rest)));
            const std::uint64_t low = key(c.x + dx, c.y + dy, c.z - dz);
            const std::uint64_t high = key(c.x + dx, c.y + dy, c.z + dz);
            auto at = std::lower_bound(index_.begin(), index_.end(), std::make_pair(low, std::int32_t{-1}));
            for (; at != index_.end() && at->first <= high; ++at) {
                const Cell& o = cells_[static_cast<std::size_t>(at->second)];
                const double ddx = o.x - c.x;
                const double ddy = o.y - c.y;
                const double ddz = o.z - c.z;
                const double squared = ddx * ddx + ddy * ddy + ddz * ddz;
                if (squared <= reachSquared) visit(at->second, std::sqrt(squared));
            }
        }
    }
}

SystemWorlds SectorSpace::readWorlds(const std::string& baseName, const std::vector<bool>& wanted) {
    SystemWorlds result;
    struct Kept {
        std::int32_t system;
        WorldFacts world;
    };
    std::vector<Kept> kept;
    struct MoonRun {
        std::int32_t system;
        std::int64_t planet;
        std::int64_t first;
        int count;
    };
    std::vector<MoonRun> moonRuns;

    RecordReader<TPlanetRec> planets(sectorPath(baseName, ".pln"));
    planetSystem_.assign(static_cast<std::size_t>(planets.count()), -1);
    const auto systems = static_cast<std::int64_t>(cells_.size());
    planets.forEach([&](std::int64_t id, const TPlanetRec& planet) {
        if (planet.systemId < 0 || planet.systemId >= systems) return;
        planetSystem_[static_cast<std::size_t>(id)] = planet.systemId;
        if (isColonised(planet)) result.colonised_.push_back(id);
        if (!wanted[static_cast<std::size_t>(planet.systemId)] || hasNativeRace(planet)) return;
        kept.push_back({planet.systemId, planetFacts(id, planet)});
        if (!isBelt(planet.worldType) && planet.moonCount > 0) {
            moonRuns.push_back({planet.systemId, id, planet.firstMoonId, planet.moonCount});
        }
    });
    if (!moonRuns.empty()) {
        RecordReader<TMoonRec> moons(sectorPath(baseName, ".mon"));
        for (const MoonRun& run : moonRuns) {
            for (std::int64_t m = run.first; m < run.first + run.count && m < moons.count(); ++m) {
                if (m < 0) continue;
                kept.push_back({run.system, moonFacts(m, moons.read(m))});
                result.moonPlanet_[m] = run.planet;
            }
        }
    }
    // Grouped by system, planets before moons as they were kept.
    result.offsets_.assign(cells_.size() + 1, 0);
    for (const Kept& k : kept) ++result.offsets_[static_cast<std::size_t>(k.system) + 1];
    for (std::size_t s = 1; s < result.offsets_.size(); ++s) result.offsets_[s] += result.offsets_[s - 1];
    result.worlds_.resize(kept.size());
    std::vector<std::int64_t> next(result.offsets_.begin(), result.offsets_.end() - 1);
    for (const Kept& k : kept) {
        result.worlds_[static_cast<std::size_t>(next[static_cast<std::size_t>(k.system)]++)] = k.world;
    }
    return result;
}

std::int64_t SectorSpace::systemOfPlanet(std::int64_t planetId) const {
    if (planetId < 0 || planetId >= static_cast<std::int64_t>(planetSystem_.size())) return -1;
    return planetSystem_[static_cast<std::size_t>(planetId)];
}

}  // namespace orrimar

#include "settling/sector_space.h"

#include <algorithm>
#include <cmath>
#include <optional>

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

SectorPicks SectorSpace::pickWorlds(const std::string& baseName, const std::vector<std::int32_t>& settler,
                                    const std::function<const WorldFacts&(std::int32_t race)>& homeOf) const {
    SectorPicks picks;
    picks.bySystem.resize(cells_.size());
    const auto consider = [&](std::int32_t system, const WorldFacts& world) {
        const double worth = worldWorth(world, homeOf(settler[static_cast<std::size_t>(system)]));
        SystemPick& pick = picks.bySystem[static_cast<std::size_t>(system)];
        const bool better = worth > pick.worth || (worth == pick.worth && pick.world.moon && !world.moon);
        if (better) pick = {world, worth};
    };
    RecordReader<TPlanetRec> planets(sectorPath(baseName, ".pln"));
    std::optional<RecordReader<TMoonRec>> moons;
    const auto systems = static_cast<std::int64_t>(cells_.size());
    planets.forEach([&](std::int64_t id, const TPlanetRec& planet) {
        if (isColonised(planet)) picks.colonised.push_back(id);
        if (planet.systemId < 0 || planet.systemId >= systems) return;
        if (settler[static_cast<std::size_t>(planet.systemId)] < 0 || hasNativeRace(planet)) return;
        consider(planet.systemId, planetFacts(id, planet));
        if (isBelt(planet.worldType) || planet.moonCount == 0) return;
        // Moons of neighbouring planets are neighbours in their file: read
        // in planet order, they come from the reader's block at hand.
        if (!moons) moons.emplace(sectorPath(baseName, ".mon"));
        const std::int64_t end =
            std::min<std::int64_t>(std::int64_t{planet.firstMoonId} + planet.moonCount, moons->count());
        for (std::int64_t m = std::max<std::int64_t>(planet.firstMoonId, 0); m < end; ++m) {
            WorldFacts moon = moonFacts(m, moons->read(m));
            moon.planetId = static_cast<std::int32_t>(id);
            consider(planet.systemId, moon);
        }
    });
    return picks;
}

}  // namespace orrimar

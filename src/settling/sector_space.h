// Where a sector's systems lie and what worlds they hold, as settling asks:
// the systems within a distance of a system, in a fixed order, and the
// planets and moons of the systems it may settle. Built from one pass over
// the systems and one over the planets; moons are read only for the planets
// of wanted systems.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settling/settling_rules.h"

namespace orrimar {

// The world a race would take in each system where it holds sway: the best
// by worldWorth, a planet before a moon of the same worth, the lower id
// first among equals. `worth` is negative where there is none.
struct SystemPick {
    WorldFacts world;
    double worth = -1.0;
};

struct SectorPicks {
    std::vector<SystemPick> bySystem;
    std::vector<std::int64_t> colonised;  // every planet colonised now (world flag bit 4)
};

class SectorSpace {
public:
    static SectorSpace load(const std::string& baseName);

    std::int64_t systemCount() const { return static_cast<std::int64_t>(cells_.size()); }

    // visit(system, distance in parsecs) for every system within `reach`
    // parsecs of `centre`, itself included, in the order of their cells
    // (x, then y, then z) and, in one cell, of their ids.
    void forEachWithin(std::int32_t centre, double reach, const std::function<void(std::int32_t, double)>& visit) const;

    // One pass over the planets, and the moons of the planets that count:
    // the pick of each system whose `settler[system]` is a race (not -1),
    // judged against `homeOf(race)`. Planets that hold a native race are
    // someone's home and never picked. Only one world per system is held, so
    // memory grows with the systems, not with their worlds.
    SectorPicks pickWorlds(const std::string& baseName, const std::vector<std::int32_t>& settler,
                           const std::function<const WorldFacts&(std::int32_t race)>& homeOf) const;

private:
    struct Cell {
        std::int16_t x = 0;
        std::int16_t y = 0;
        std::int16_t z = 0;
    };
    static std::uint64_t key(std::int32_t x, std::int32_t y, std::int32_t z);

    std::vector<Cell> cells_;                                    // by system id
    std::vector<std::pair<std::uint64_t, std::int32_t>> index_;  // (cell key, system), sorted
};

}  // namespace orrimar

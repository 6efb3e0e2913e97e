// Where a sector's systems lie and what worlds they hold, as settling asks:
// the systems within a distance of a system, in a fixed order, and the
// planets and moons of the systems it may settle. Built from one pass over
// the systems and one over the planets; moons are read only for the planets
// of wanted systems.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "settling/settling_rules.h"

namespace orrimar {

class SystemWorlds {
public:
    // The worlds of a wanted system: its planets in file order, then their
    // moons; empty for any other system.
    std::span<const WorldFacts> of(std::int32_t system) const;
    // The planet a kept moon orbits; -1 for a moon not kept.
    std::int64_t planetOfMoon(std::int64_t moonId) const;
    // Every planet colonised now (world flag bit 4), whatever its system.
    const std::vector<std::int64_t>& colonisedPlanets() const { return colonised_; }

private:
    friend class SectorSpace;
    std::vector<std::int64_t> offsets_;  // per system, into worlds_; one more at the end
    std::vector<WorldFacts> worlds_;
    std::unordered_map<std::int64_t, std::int64_t> moonPlanet_;
    std::vector<std::int64_t> colonised_;
};

class SectorSpace {
public:
    static SectorSpace load(const std::string& baseName);

    std::int64_t systemCount() const { return static_cast<std::int64_t>(cells_.size()); }

    // visit(system, distance in parsecs) for every system within `reach`
    // parsecs of `centre`, itself included, in the order of their cells
    // (x, then y, then z) and, in one cell, of their ids.
    void forEachWithin(std::int32_t centre, double reach,
                       const std::function<void(std::int32_t, double)>& visit) const;

    // Reads the planets (and their moons) of the systems marked in `wanted`.
    // Planets that hold a native race are someone's home and not kept.
    SystemWorlds readWorlds(const std::string& baseName, const std::vector<bool>& wanted);

    // The system of a planet, once readWorlds has run; -1 outside the sector.
    std::int64_t systemOfPlanet(std::int64_t planetId) const;

private:
    struct Cell {
        std::int16_t x = 0;
        std::int16_t y = 0;
        std::int16_t z = 0;
    };
    static std::uint64_t key(std::int32_t x, std::int32_t y, std::int32_t z);

    std::vector<Cell> cells_;                                  // by system id
    std::vector<std::pair<std::uint64_t, std::int32_t>> index_;  // (cell key, system), sorted
    std::vector<std::int32_t> planetSystem_;                   // by planet id
};

}  // namespace orrimar

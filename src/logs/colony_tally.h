// The colony tally of a sector report: every colony of the colony file
// counted once, by the system it lies in and by the race that owns it.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>

#include "reading/sector_reader.h"

namespace orrimar::logs {

// Colonies of one system.
struct SystemColonies {
    int colonies = 0;
    std::set<std::uint16_t> owners;
};

// Colonies of one owning race.
struct EmpireTally {
    int planetColonies = 0;
    int moonBases = 0;
    std::set<std::int32_t> systems;
    std::uint64_t people = 0;
    int unknownPopulations = 0;
};

struct ColonyIndex {
    std::unordered_map<std::int32_t, SystemColonies> bySystem;
    std::map<std::uint16_t, EmpireTally> byOwner;  // kNoRace for the independents
    std::int64_t total = 0;
    std::int64_t unplaced = 0;  // pointing at no world of the sector
    bool fileExists = false;
};

// One pass over the colony file; an empty tally when the sector has none.
ColonyIndex indexColonies(reading::SectorReader& sector);

}  // namespace orrimar::logs

// One star system: its stars, the planets of every present star, and the
// system record, appended last so that its planets precede it.
#pragma once

#include <cstdint>

#include "records/record_list.h"
#include "records/records.h"
#include "records/sector_files.h"

namespace orrimar {

// A system built apart from the sector's files, with ids of its own: the
// system is id 0 and its planets, moons and races are numbered from 0 in
// their lists. The sector loop's workers build systems this way side by
// side; committing one shifts its ids to the files' counts.
struct BuiltSystem {
    TSystemRec system;
    RecordList<TPlanetRec> planets;
    RecordList<TMoonRec> moons;
    RecordList<TAlienRec> races;
};

// Rolls the system at (x, y, z) with the calling thread's random source
// into `into`, which is emptied first (its storage is reused).
void BuildStarSystem(BuiltSystem& into, bool gaia, std::int16_t x, std::int16_t y, std::int16_t z,
                     bool totalAlienDisable, std::uint8_t maxSpatialAge);

// Appends a built system to the open file set with its ids shifted to the
// files' counts (the renumbering the merger applies to a whole sector) and
// returns its id. The system is whole on return; if anything fails part-way
// (an id that no longer fits its field), its records are dropped from every
// file before the error propagates.
std::int64_t CommitStarSystem(SectorFiles& files, const BuiltSystem& built);

// Builds and commits one system: for callers that make one at a time.
std::int64_t GenerateStarSystem(SectorFiles& files, bool gaia, std::int16_t x, std::int16_t y, std::int16_t z,
                                bool totalAlienDisable, std::uint8_t maxSpatialAge);

}  // namespace orrimar

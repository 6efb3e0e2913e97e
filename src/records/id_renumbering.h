// How a record changes when it is appended after the records already in a
// sector: every id it holds is shifted by the sector's record count of the
// file the id points into. The merger shifts a whole added sector this way;
// the sector loop shifts each system built with ids of its own.
#pragma once

#include <cstdint>

#include "records/records.h"

namespace orrimar {

// Record counts of the receiving sector taken before anything is appended.
struct MergeOffsets {
    std::int64_t systems = 0;  // S
    std::int64_t planets = 0;  // P
    std::int64_t moons = 0;    // M
    std::int64_t races = 0;    // A
};

// Each returns the renumbered copy, or throws RangeError when a shifted id
// no longer fits its field (the message names the field and its value).
TSystemRec renumberSystem(TSystemRec record, const MergeOffsets& offsets);
TPlanetRec renumberPlanet(TPlanetRec record, const MergeOffsets& offsets);
TMoonRec renumberMoon(TMoonRec record, const MergeOffsets& offsets);
TAlienRec renumberAlien(TAlienRec record, const MergeOffsets& offsets);
// The settled layer: vacant records keep their place unchanged; a race id
// may not reach kNoRace, which means "none" there.
TColonyRec renumberColony(TColonyRec record, const MergeOffsets& offsets);
TConRec renumberControl(TConRec record, const MergeOffsets& offsets);
TEmpireRec renumberEmpire(TEmpireRec record, const MergeOffsets& offsets);

}  // namespace orrimar

// One planet (or brown dwarf) on its orbit: size, bulk, atmosphere, climate,
// world type, orbit, rotation, resources, moons, features and native race.
#pragma once

#include <cstdint>

#include "generation/body_context.h"
#include "records/records.h"

namespace orrimar {

// Rolls the planet on an orbit of `orbitEntry` tenths of an AU (0 is taken
// as 1), appends its moons and native race, then its own record; returns
// the record as appended.
TPlanetRec GeneratePlanetBody(BodyRecords& files, const StarSurroundings& star, std::int16_t orbitEntry);

}  // namespace orrimar

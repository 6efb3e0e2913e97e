// Planetary systems: the orbits of one star and every planet and belt on
// them, with their moons, features and native races.
#pragma once

#include <cstdint>

#include "records/records.h"
#include "generation/body_context.h"

namespace orrimar {

// Fills star `star` (0..2) of the system record: its orbit column, planet
// count and first planet id; appends its planets (with their moons and
// races) to the system's lists. `systemId` is the id the system record
// will get; `effectiveLuminosity` the light that reaches the planets.
void GeneratePlanets(BodyRecords& records, TSystemRec& system, int star, std::int32_t systemId,
                     float effectiveLuminosity, bool totalAlienDisable, std::uint8_t maxSpatialAge);

}  // namespace orrimar

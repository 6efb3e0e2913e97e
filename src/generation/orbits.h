// The orbits of one star: the first orbit's radius, how many bodies the star
// keeps, and the radius of each further orbit (negative for an asteroid belt).
#pragma once

#include <cstdint>

#include "records/records.h"

namespace orrimar {

// Fills column `star` (0..2) of the system's orbit table and its planet
// count, from the star's kind and mass, the light that reaches its planets
// and, in a multiple system, the separation of the nearer companion. Orbit 1
// is stored even when the star keeps no planets; the orbit that ended the
// placement stays in the table beyond the count.
void PlaceOrbits(TSystemRec& system, int star, float effectiveLuminosity);

// Planets rolled for a star of this kind before placement may cut them
// short (kinds 4..7 only; every other kind has none). Exposed for tests.
int RollPlanetCount(std::uint8_t starKind);

}  // namespace orrimar

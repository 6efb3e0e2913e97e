// The light a star's planets receive and the day-night temperature swing it
// drives. The generator computes both when it makes a system and the logs
// again when they describe one, so both read them from here: a log shows
// the figures the generator worked with.
#pragma once

#include <cstdint>

#include "records/records.h"

namespace orrimar {

// The light that reaches the planets of star `star` (0..2): its own and its
// present companions' luminosity, each companion's dimmed by the square root
// of its distance in AU. Star 2 lies separation[0] from the primary, star 3
// separation[1]; stars 2 and 3 are taken to lie the sum apart. A separation
// of zero or less (no generated system has one; a damaged record may) adds
// no light rather than an infinite amount.
float effectiveLuminosity(const TSystemRec& system, int star);

// Swing of the temperature between day and night, degrees. `luminosity` is
// the effective luminosity, `orbitRadius` in tenths of an AU (zero or less
// is read as 1), `atmosphereClass` 1..6 (codes outside are taken as the
// nearest); the thicker the air, the smaller the swing. The day side never
// passes 2000 K. Figures no sound record holds (a luminosity that is not a
// number or infinite) still give a whole number.
int dayNightSwing(float luminosity, std::int16_t orbitRadius, std::int16_t temperature, std::uint8_t atmosphereClass,
                  std::int32_t rotationHours);

}  // namespace orrimar

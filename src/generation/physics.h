// Physical helpers shared by the planet and moon generators. Units: distance
// from a star in tenths of an AU, diameter in km, density in tenths of the
// Earth's, mass in Earth masses, gravity in g, escape velocity in cm/s,
// star luminosity and mass in solar units.
#pragma once

#include <cmath>
#include <cstdint>

#include "common/rounding.h"

namespace orrimar {

// e^(exponent × ln base) for base > 0; 0 for any base ≤ 0.
float power(float base, float exponent);

// sqrt(1.59e16 × mass / diameter); 0 when the diameter is 0 or less.
float escapeVelocity(std::int32_t diameterKm, float massEarths);

struct Bulk {
    float mass = 0.0F;            // Earth masses
    float gravity = 0.0F;         // g
    float escapeVelocity = 0.0F;  // cm/s
};
// Mass, surface gravity and escape velocity of a body from density and diameter.
Bulk bulkProperties(std::uint8_t density, std::int32_t diameterKm);

// Days per orbit at a distance (tenths of an AU) round a star of a given mass.
std::int32_t orbitalPeriod(std::int16_t distance, float starMass);

struct ZoneRadii {
    std::int16_t inner = 0;   // tenths of an AU
    std::int16_t middle = 0;  // never 0
    std::int16_t outer = 0;
};
ZoneRadii zoneRadii(float luminosity);

}  // namespace orrimar

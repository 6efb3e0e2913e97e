// Climate of a planet or moon: mean surface temperature, surface class,
// water, ice and cloud cover and albedo, iterated until temperature and
// albedo agree; a Terran world is then refined into its final type.
// Distances in tenths of an AU; inner and outer are the star's zone radii.
#pragma once

#include <cstdint>

namespace orrimar {

// Fills temperature, surface class and the four cover bytes (water, ice,
// cloud, albedo) and may refine worldType. `volatileInventory` is the working
// value returned by RollAtmosphere; `luminosity` the effective luminosity.
// A climate that has not settled after a million rounds (a body whose clouds
// come and go with the heat) is reported as "Climate did not settle" through
// the message sink and keeps its last round's figures: generation goes on.
void ComputeClimate(std::int16_t inner, std::int16_t outer, std::int16_t orbitRadius, std::uint8_t& worldType,
                    std::uint8_t& surfaceClass, std::uint8_t& water, std::uint8_t& ice, std::uint8_t& cloud,
                    std::uint8_t& albedo, float volatileInventory, float luminosity, float gravity, float pressure,
                    std::int32_t diameter, std::uint8_t atmosphereClass, std::int16_t& temperature,
                    float escapeVelocity);

// Mean surface temperature (°C) for an albedo in percent. Also used for
// belts. Throws RangeError when the result does not fit 16 bits.
std::int16_t Temperature(std::int16_t orbitRadius, std::uint8_t atmosphereClass, std::uint8_t worldType,
                         float luminosity, int albedo);

// The type a settled Terran world becomes by its water cover (percent) and
// temperature (°C): Arid below 20 % water, Steppe below 50 %, Terran up to
// 70 %, Jungle from 71 % when warmer than 25 °C (else Terran), Ocean from
// 90 %; then Tundra below 5 °C, Glacier below -5 °C and Pre Garden above
// 35 °C with 20 % water or more. ComputeClimate goes on from it for thick
// or hot air; this step rolls no dice.
std::uint8_t TerranWorldType(int water, int temperature);

// Percent of the surface under water, before the surface class is applied.
std::uint8_t WaterCover(std::int32_t diameter, int temperature, float volatileInventory);
// Percent of the surface under ice for an ice input (1, 10, 100 or the water).
std::uint8_t IceCover(int input, int temperature);
// Percent cloud cover; `retainedWeight` is the untruncated retained weight.
std::uint8_t CloudCover(int temperature, int water, std::uint8_t worldType, float retainedWeight);
// Albedo in percent (may exceed 100); rolls its dice in the order cloud,
// rock, water, ice.
std::uint8_t Albedo(int water, int cloud, int ice, float pressure);

}  // namespace orrimar

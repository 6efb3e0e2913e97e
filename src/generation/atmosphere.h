// Atmosphere and world type of a planet or moon: how much gas the body
// holds and how heavy a gas it keeps, which world type it is, and (after the
// climate) the main gas of its atmosphere. A moon uses its planet's distance
// from the star. Distances in tenths of an AU; inner, middle and outer are
// the star's zone radii.
#pragma once

#include <array>
#include <cstdint>

namespace orrimar {

// Molecular weight of the main gas of each atmosphere composition 1..21
// (index 0 unused). Composition 1 stands for no atmosphere.
inline constexpr std::array<int, 22> kCompositionWeight = {
    0, 200, 28, 44, 28, 78, 2, 17, 16, 28, 50, 44, 28, 44, 34, 28, 16, 44, 78, 28, 2, 16,
};

// Lightest molecular weight a body at `orbitRadius` keeps:
// sqrt(middle / orbitRadius) × 7.94e12 / escapeVelocity². Reports
// "** Error 3: escape_velocity=0 " and "** Error 4: orbit radius=0" (the
// latter returns 121).
float RetainedWeight(std::int16_t middle, std::int16_t orbitRadius, float escapeVelocity);

// The atmosphere roll. Out: atmosphere class 1..6, surface pressure (atm),
// the volatile inventory (a working value the climate reads; not stored) and
// the retained molecular weight (121 = holds no gas). A body of 10 Earth
// masses or more that still holds gas gets pressure 900 and leaves the
// inventory as the caller had it (only Gas Giants are that heavy, and the
// climate does not read it for them).
void RollAtmosphere(std::uint8_t& atmosphereClass, std::int16_t inner, std::int16_t middle, std::int16_t outer,
                    std::int16_t orbitRadius, float mass, float gravity, float& pressure, float& volatileInventory,
                    std::int32_t diameter, bool volatileRich, float escapeVelocity, std::uint8_t& retainedWeight);

// World type from the atmosphere class, the distance and the size.
void ClassifyWorld(std::uint8_t atmosphereClass, std::uint8_t& worldType, std::int16_t inner, std::int16_t outer,
                   std::int16_t middle, std::int16_t orbitRadius, std::int32_t diameter, bool volatileRich);

// Atmosphere composition 1..21 once the climate has settled the world type.
std::uint8_t ChooseComposition(std::uint8_t atmosphereClass, std::uint8_t worldType, std::int16_t middle, float gravity,
                               float pressure, float escapeVelocity, std::int16_t orbitRadius,
                               std::uint8_t retainedWeight);

}  // namespace orrimar

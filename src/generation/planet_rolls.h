// The small rolls and formulas of a planet that the other world rules do not
// cover: size, orbit shape, moons, tilt and how remarkable the world is (the
// day-night swing is records/star_light.h's, which the logs share).
#pragma once

#include <cstdint>

namespace orrimar {

struct PlanetSize {
    std::int32_t diameter = 0;  // kilometres
    std::uint8_t density = 0;   // tenths of the Earth's
    bool volatileRich = false;  // formed beyond the snow line (world flag bit 1)
};

// Diameter and density of a planet at `orbitRadius`. Beyond the outer radius
// five in six bodies are volatile-rich: large, light gas and ice worlds.
PlanetSize RollPlanetSize(std::int16_t orbitRadius, std::int16_t outer);

// Orbital eccentricity in thousandths; most orbits are circles.
std::uint16_t RollEccentricity();

// Moons of a body of this world type: d6 - 3 (at least 0); 2d6 for a Gas
// Giant; a Brown Dwarf keeps its d6 - 3 only on a further d6 of 1; a Chunk
// has none.
std::uint8_t RollMoonCount(std::uint8_t worldType);

// Axial tilt in degrees 0..180; planets far out tilt more.
std::uint8_t RollAxialTilt(std::int16_t orbitRadius);

// How remarkable the world is, 0..90: 0..50 in general, 48..90 on a 2d6 of 12.
std::uint8_t RollFeatureRating();

}  // namespace orrimar

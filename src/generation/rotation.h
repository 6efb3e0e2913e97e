// Rotation of a planet: its day in hours, and whether tides have locked it
// to its orbit.
#pragma once

#include <cstdint>

namespace orrimar {

struct Rotation {
    std::int32_t hours = 0;
    bool locked = false;  // world flag bit 2
};

// The day of a body from its spin (mass, diameter and how its mass is
// spread), slowed by the star's tides; a day longer than the year, or one
// the tides stopped, locks the body. `orbitalPeriodDays` and `eccentricity`
// (thousandths) describe its orbit.
Rotation RotationOf(std::int16_t orbitRadius, std::int32_t diameter, int moonCount, std::uint8_t worldType,
                    std::int32_t orbitalPeriodDays, std::uint8_t surfaceClass, std::uint16_t eccentricity,
                    float starMass, float gravity, float mass);

}  // namespace orrimar

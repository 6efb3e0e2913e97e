#include "generation/planet_rolls.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "common/random.h"
#include "generation/physics.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

// Diameter code (thousands of km) of a volatile-rich body, by d10.
int volatileDiameterCode() {
    const int kind = d(10);
    if (kind <= 2) return d(2, 6);
    if (kind <= 4) return d(6, 6) + 30;
    if (kind <= 8) return d(6, 10) + 50;
    if (kind == 9) return d(10, 10) + 50;
    return d(10, 25) + 50;
}

}  // namespace

PlanetSize RollPlanetSize(std::int16_t orbitRadius, std::int16_t outer) {
    PlanetSize size;
    if (orbitRadius > outer) {
        const int roll = d(6);
        size.volatileRich = roll >= 2;
    }
    int code = 0;
    if (!size.volatileRich) {
        const int dice = d(4);
        code = d(dice, 6);
        const int density = d(6);
        size.density = static_cast<std::uint8_t>(density + 6);
    } else {
        code = volatileDiameterCode();
        const int density = d(3);
        size.density = static_cast<std::uint8_t>(density + 2);
    }
    const int km = d(999);
    size.diameter = code * 1000 + km;
    return size;
}

std::uint16_t RollEccentricity() {
    const int roll = d(2, 6);
    if (roll <= 6) return 0;
    int e = 0;
    if (roll <= 8) {
        e = d(5);
    } else if (roll == 9) {
        e = d(5) + 5;
    } else if (roll == 10) {
        e = d(5) + 10;
    } else if (roll == 11) {
        e = d(10) + 15;
    } else {
        const int wide = d(6);
        switch (wide) {
            case 1: e = d(5) + 20; break;
            case 2: e = d(25) + 25; break;
            case 3: e = d(50) + 50; break;
            case 4: e = d(100) + 100; break;
            case 5: e = d(50) + 200; break;
            default: e = d(600) + 200; break;
        }
    }
    return static_cast<std::uint16_t>(e);
}

std::uint8_t RollMoonCount(std::uint8_t worldType) {
    const int roll = d(6);
    int count = std::max(0, roll - 3);
    if (worldType == world::kGasGiant) {
        count = d(2, 6);
    } else if (worldType == world::kBrownDwarf) {
        const int keep = d(6);
        if (keep != 1) count = 0;
    } else if (worldType == world::kChunk) {
        count = 0;
    }
    return static_cast<std::uint8_t>(count);
}

std::uint8_t RollAxialTilt(std::int16_t orbitRadius) {
    const int roll = d(2, 50);
    const long double reach = power(static_cast<float>(orbitRadius * 0.1L), 0.2F);
    const long double chance = power(static_cast<float>((roll - 1) * 0.01L), 0.077F);
    const long double tilt = std::min(180.0L, reach * (1.0L - chance) * 28.65L);
    return static_cast<std::uint8_t>(roundEven(tilt));
}

std::uint8_t RollFeatureRating() {
    const int a = d(2, 6);
    if (a == 12) {
        const int tens = d(4);
        const int units = d(2, 6);
        return static_cast<std::uint8_t>(tens * 10 + 38 + units);
    }
    const int units = d(2, 6);
    return static_cast<std::uint8_t>((units - 2) + truncate(a * 0.5L - 1) * 10);
}

}  // namespace orrimar

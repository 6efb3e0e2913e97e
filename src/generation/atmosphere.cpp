#include "generation/atmosphere.h"

#include <cmath>

#include "common/message_sink.h"
#include "common/random.h"
#include "generation/physics.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

// Lower pressure bound (atm) of atmosphere classes 1..5; anything thinner is
// class 6, no atmosphere.
constexpr std::array<long double, 5> kClassFloor = {5.0L, 1.5L, 0.65L, 0.2L, 0.001L};

std::uint8_t classFromPressure(float pressure) {
    for (std::size_t i = 0; i < kClassFloor.size(); ++i) {
        if (static_cast<long double>(pressure) >= kClassFloor[i]) return static_cast<std::uint8_t>(i + 1);
    }
    return 6;
}

// Composition by a d20 when no rule of the world type decides it.
constexpr std::array<std::uint8_t, 21> kRandomComposition = {
    0, 4, 4, 4, 4, 4, 3, 3, 13, 15, 17, 5, 5, 9, 9, 10, 10, 12, 16, 16, 19,
};

std::uint8_t randomComposition(int retained) {
    const int roll = d(20);
    const std::uint8_t pick = kRandomComposition[static_cast<std::size_t>(roll)];
    // A gas lighter than the body can hold has escaped: carbon dioxide stays.
    if (kCompositionWeight[pick] < retained) return 3;
    return pick;
}

std::uint8_t giantComposition(int retained) {
    const int first = d(10);
    std::uint8_t composition = first <= 3 ? 20 : 6;
    if (retained > kCompositionWeight[6]) {
        const int second = d(10);
        composition = second <= 4 ? 7 : (second <= 8 ? 8 : 16);
        if (retained > kCompositionWeight[16]) reportError("Error 1 (Gas Giant)");
    }
    return composition;
}

std::uint8_t icyComposition(int retained) {
    std::uint8_t composition = 3;
    if (retained <= 17) {
        const int roll = d(10);
        composition = roll <= 5 ? 8 : 7;
    } else if (retained <= 28) {
        composition = 4;
    }
    if (retained > 44) reportError("Error 1 (Icy)");
    return composition;
}

std::uint8_t gardenComposition(std::uint8_t atmosphereClass, int retained) {
    const int roll = d(10);
    const bool nitrogenOxygen = (roll >= 3 && atmosphereClass == 3) || (roll >= 4 && atmosphereClass == 2);
    if (nitrogenOxygen && retained <= kCompositionWeight[2]) return 2;
    return randomComposition(retained);
}

}  // namespace

float RetainedWeight(std::int16_t middle, std::int16_t orbitRadius, float escapeVelocity) {
    if (escapeVelocity == 0.0F) reportError("** Error 3: escape_velocity=0 ");
    if (orbitRadius == 0) {
        reportError("** Error 4: orbit radius=0");
        return 121.0F;
    }
    const long double ev = escapeVelocity;
    return static_cast<float>(std::sqrt(static_cast<long double>(middle) / orbitRadius) * 7.94e12L / (ev * ev));
}

void RollAtmosphere(std::uint8_t& atmosphereClass, std::int16_t inner, std::int16_t middle, std::int16_t /*outer*/,
                    std::int16_t orbitRadius, float mass, float gravity, float& pressure, float& volatileInventory,
                    std::int32_t diameter, bool volatileRich, float escapeVelocity, std::uint8_t& retainedWeight) {
    float w = gravity > 0.0F ? RetainedWeight(middle, orbitRadius, escapeVelocity) : 121.0F;
    if (w > 121.0F) w = 121.0F;
    if (w == 0.0F) w = 1.0F;
    // A weight between 0 and 1 truncates to 0: the body keeps even hydrogen.
    retainedWeight = static_cast<std::uint8_t>(truncate(w));

    if (mass >= 10.0F) pressure = 900.0F;
    if (retainedWeight > 120) {
        pressure = 0.0F;
        volatileInventory = 0.0F;
    }
    if (mass < 10.0F && retainedWeight <= 120) {
        const long double ratio = static_cast<long double>(middle) / orbitRadius;
        long double h = 0.25L;
        if (orbitRadius <= 4 * middle) {
            h = 100.0L;
        } else if (orbitRadius <= 15 * middle) {
            h = 75.0L;
        }
        // Root-mean-square speed of nitrogen (weight 28) at the body's
        // equilibrium temperature, cm/s.
        const long double rmsVelocity = std::sqrt(1273.0L * std::sqrt(ratio) * 24943.23L / 28.0L) * 100.0L;
        if (rmsVelocity == 0.0L) reportError("Error 5: RMS_vel=0");
        volatileInventory = escapeVelocity / rmsVelocity > 5.0L ? static_cast<float>(h * mass) : 0.0F;
        if (orbitRadius >= inner) volatileInventory = static_cast<float>(volatileInventory * 0.01L);
        const long double size = diameter / 12750.0L;
        pressure = static_cast<float>(size * size * volatileInventory * gravity);
        if (orbitRadius < inner && retainedWeight < 49) pressure = static_cast<float>(pressure * 1.35L);
        if (volatileRich && retainedWeight <= 28) pressure = static_cast<float>(pressure * 10.0L);
    }

    atmosphereClass = classFromPressure(pressure);
    if (atmosphereClass == 6) retainedWeight = 121;
}

void ClassifyWorld(std::uint8_t atmosphereClass, std::uint8_t& worldType, std::int16_t inner, std::int16_t outer,
                   std::int16_t middle, std::int16_t orbitRadius, std::int32_t diameter, bool volatileRich) {
    switch (atmosphereClass) {
        case 1:
            if (volatileRich) {
                worldType = world::kGasGiant;
            } else if (orbitRadius <= inner) {
                worldType = world::kHotHouse;
            } else if (orbitRadius <= middle) {
                worldType = world::kPostGarden;
            } else {
                worldType = world::kFailedCore;
            }
            break;
        case 2:
        case 3:
            if (volatileRich) {
                worldType = world::kFailedCore;
            } else {
                worldType = orbitRadius > outer ? world::kDesert : world::kTerran;
            }
            break;
        case 4:
        case 5: worldType = volatileRich ? world::kFailedCore : world::kDesert; break;
        default: worldType = volatileRich ? world::kIceBall : world::kRock; break;
    }
    if (diameter < 1000) worldType = world::kChunk;
    if (diameter == 0) worldType = world::kRing;
}

std::uint8_t ChooseComposition(std::uint8_t atmosphereClass, std::uint8_t worldType, std::int16_t /*middle*/,
                               float gravity, float pressure, float /*escapeVelocity*/, std::int16_t /*orbitRadius*/,
                               std::uint8_t retainedWeight) {
    if (gravity == 0.0F || static_cast<long double>(pressure) < 0.001L) return 1;
    const int m = retainedWeight;
    switch (worldType) {
        case world::kRock: return 3;
        case world::kHotHouse:
        case world::kPostGarden:
            if (m > kCompositionWeight[3]) reportError("Error 1 (Hot House)");
            return 3;
        case world::kGasGiant:
        case world::kBrownDwarf: return giantComposition(m);
        case world::kIceBall:
        case world::kFailedCore: return icyComposition(m);
        case world::kArid:
        case world::kSteppe:
        case world::kTerran:
        case world::kJungle:
        case world::kOcean:
        case world::kGlacier:
        case world::kTundra: return gardenComposition(atmosphereClass, m);
        case world::kDesert: {
            const int roll = d(10);
            if (roll < 9 && m <= kCompositionWeight[3]) return 3;
            return randomComposition(m);
        }
        case world::kPreGarden: return m > kCompositionWeight[21] ? 4 : 21;
        default:
            // Belts, Chunks and Rings have no rule for a gas of their own; the
            // rare Chunk that holds some pressure is taken as airless.
            return 1;
    }
}

}  // namespace orrimar

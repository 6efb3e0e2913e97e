#include "generation/rotation.h"

#include <cmath>
#include <numbers>

#include "common/errors.h"
#include "generation/physics.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

// Moment-of-inertia factors: a rocky body, a gas ball, and a wet world whose
// moons stir its oceans.
constexpr long double kRockyInertia = 0.19L;
constexpr long double kGasInertia = 0.49L;
constexpr long double kOceanMoonInertia = 0.33L;
constexpr std::uint8_t kSurfaceLiquidWater = 5;

std::int32_t toHours(long long v) {
    if (v < INT32_MIN || v > INT32_MAX) throw RangeError();
    return static_cast<std::int32_t>(v);
}

}  // namespace

Rotation RotationOf(std::int16_t orbitRadius, std::int32_t diameter, int moonCount, std::uint8_t worldType,
                    std::int32_t orbitalPeriodDays, std::uint8_t surfaceClass, std::uint16_t eccentricity,
                    float starMass, float gravity, float mass) {
    Rotation r;
    long double k = kRockyInertia;
    if (worldType == world::kGasGiant || worldType == world::kBrownDwarf) {
        k = kGasInertia;
    } else if (surfaceClass == kSurfaceLiquidWater && moonCount > 0) {
        k = kOceanMoonInertia;
    }

    const long double size = static_cast<long double>(diameter) * 50000.0L;
    const long double spin = std::sqrt(mass * 7.05e8L / (size * size * k));
    long long hours = truncate(6.28L / (spin * 3600.0L));

    // The star's tides brake the spin, harder close in and round light stars.
    const float braking = power(static_cast<float>(10.0L / orbitRadius), 0.27F);
    hours = truncate(hours * static_cast<long double>(braking) / starMass);
    if (orbitRadius < 5.0L * starMass) hours = 0;

    // No body spins faster than its own gravity lets it hold together.
    const long double fastest = std::sqrt(2.0L * std::numbers::pi_v<long double> / (gravity * 0.19L));
    if (hours > 0 && hours < fastest) hours = truncate(fastest);

    const long long year = static_cast<long long>(orbitalPeriodDays) * 24;
    if (year < hours) {
        hours = year;
        if (eccentricity > 100) {
            const long double e = eccentricity * 0.001L;
            hours = roundEven(hours * (1.0L - e) / (1.0L + e));
        }
        r.locked = true;
    }
    if (hours == 0) {
        hours = year;
        r.locked = true;
    }
    r.hours = toHours(hours);
    return r;
}

}  // namespace orrimar

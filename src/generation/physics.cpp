#include "generation/physics.h"

#include <numbers>

#include "common/errors.h"

namespace orrimar {

namespace {
constexpr long double kPi = std::numbers::pi_v<long double>;

std::int16_t toInt16(long long v) {
    if (v < -32768 || v > 32767) throw RangeError();
    return static_cast<std::int16_t>(v);
}
}  // namespace

float power(float base, float exponent) {
    if (base <= 0.0F) return 0.0F;
    return static_cast<float>(std::exp(static_cast<long double>(exponent) * std::log(static_cast<long double>(base))));
}

float escapeVelocity(std::int32_t diameterKm, float massEarths) {
    if (diameterKm <= 0) return 0.0F;
    return static_cast<float>(std::sqrt(1.59e16L * massEarths / diameterKm));
}

Bulk bulkProperties(std::uint8_t density, std::int32_t diameterKm) {
    Bulk b;
    // 1/67650 scales density × diameter to Earth gravities (10, 12756 → 1.00).
    b.gravity = static_cast<float>(density * kPi * (diameterKm * 0.001L) * 169 * 1.4781966001478197e-05L);
    // 1/8139 scales the volume × density to Earth masses.
    b.mass = static_cast<float>(power(static_cast<float>(diameterKm * 0.0005L), 3.0F) * density * kPi *
                                1.2286521685710776e-04L);
    b.escapeVelocity = escapeVelocity(diameterKm, b.mass);
    return b;
}

std::int32_t orbitalPeriod(std::int16_t distance, float starMass) {
    const long double years =
        std::sqrt(static_cast<long double>(power(static_cast<float>(distance * 0.1L), 3.0F)) / starMass);
    const long long days = roundEven(years * 365);
    if (days < INT32_MIN || days > INT32_MAX) throw RangeError();
    return static_cast<std::int32_t>(days);
}

ZoneRadii zoneRadii(float luminosity) {
    const long double root = std::sqrt(static_cast<long double>(luminosity));
    ZoneRadii z;
    z.inner = toInt16(roundEven(root * 8.2L));
    z.middle = toInt16(roundEven(root * 10));
    z.outer = toInt16(roundEven(root * 12));
    if (z.middle == 0) z.middle = 1;
    return z;
}

}  // namespace orrimar

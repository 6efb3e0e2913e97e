#include "records/star_light.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace orrimar {

namespace {

// Swing factors by atmosphere class 1..6 (index 0 unused): the first scales
// with the length of the day, the second caps the swing as a share of the
// temperature.
constexpr std::array<long double, 7> kSwingPerHour = {0, 0.2L, 0.4L, 0.5L, 0.6L, 0.8L, 1.0L};
constexpr std::array<long double, 7> kSwingCap = {0, 5.0L, 4.0L, 2.5L, 1.5L, 0.8L, 0.1L};

// Hottest a day side gets, in kelvin.
constexpr long long kHottestDay = 2000;

// A companion's light at `separationTenths` from the star it shines on.
long double companionLight(float luminosity, int separationTenths) {
    const long double distance = std::sqrt(0.1L * separationTenths);
    return distance > 0.0L ? luminosity / distance : 0.0L;
}

}  // namespace

float effectiveLuminosity(const TSystemRec& system, int star) {
    const float l1 = system.luminosity[0];
    const float l2 = system.luminosity[1];
    const float l3 = system.luminosity[2];
    const int s2 = system.separation[0];
    const int s3 = system.separation[1];
    // Each share is added in turn, own light first: the order the sums of
    // every generated sector were rounded in.
    long double e = 0;
    if (system.starCount <= 1) {
        e = l1;
    } else if (system.starCount == 2) {
        e = star == 0 ? l1 + companionLight(l2, s2) : l2 + companionLight(l1, s2);
    } else if (star == 0) {
        e = l1 + companionLight(l2, s2) + companionLight(l3, s3);
    } else if (star == 1) {
        e = l2 + companionLight(l1, s2) + companionLight(l3, s2 + s3);
    } else {
        e = l3 + companionLight(l1, s3) + companionLight(l2, s2 + s3);
    }
    return static_cast<float>(e);
}

int dayNightSwing(float luminosity, std::int16_t orbitRadius, std::int16_t temperature, std::uint8_t atmosphereClass,
                  std::int32_t rotationHours) {
    const auto cls = static_cast<std::size_t>(std::clamp<int>(atmosphereClass, 1, 6));
    const int radius = orbitRadius > 0 ? orbitRadius : 1;
    const long double q = luminosity / std::sqrt(radius * 0.1L);
    const long long kelvin = temperature + 273;
    const long double byDay = kSwingPerHour[cls] * q * std::llabs(rotationHours) * 0.5L;
    const long double byHeat = kelvin * kSwingCap[cls] * q;
    // Truncating the smaller figure equals taking the smaller of the two
    // truncations. It is clamped first: a damaged luminosity makes it
    // infinite or not a number, which no integer holds.
    long double smaller = std::min(byDay, byHeat);
    if (std::isnan(smaller)) smaller = 0.0L;
    long long swing = static_cast<long long>(std::clamp(smaller, -1.0e6L, 1.0e6L));
    if (kelvin + swing > kHottestDay) swing = kHottestDay - kelvin;
    return static_cast<int>(swing);
}

}  // namespace orrimar

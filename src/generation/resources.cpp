#include "generation/resources.h"

#include <algorithm>

#include "common/random.h"
#include "generation/physics.h"

namespace orrimar {

namespace {
// How rich a body can be in each resource before the excess is damped.
constexpr std::array<int, 5> kResourceCap = {70, 40, 10, 30, 10};
}  // namespace

std::array<std::uint8_t, 5> RollResourceRatings(std::int32_t diameter, std::uint8_t density) {
    long double size = diameter;
    long double dens = density;
    if (diameter == 0) {
        size = 700;
        const int ringDensity = d(10);
        dens = ringDensity + 3;
    } else if (diameter == kBeltDiameter) {
        size = density >= 10 ? 5000 : 3000;
    }
    const long double base = std::min(120.0L, size * dens * 0.0005L);

    std::array<std::uint8_t, 5> ratings{};
    for (std::size_t n = 0; n < ratings.size(); ++n) {
        const int cap = kResourceCap[n];
        const int roll = d(cap);
        long long v = truncate(roll + base - 60);
        if (v < 1) v = 1;
        if (v > cap) v = cap + truncate((v - cap) * 0.2L);
        if (v > 100) v = 100;
        ratings[n] = static_cast<std::uint8_t>(v);
    }
    return ratings;
}

}  // namespace orrimar

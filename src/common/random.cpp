#include "common/random.h"

#include <chrono>

#include "common/errors.h"

namespace orrimar {

namespace {

// splitmix64 spreads a small seed over the 256-bit state.
std::uint64_t splitmix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

namespace detail {
Xoshiro256 processGenerator;
}  // namespace detail

void Xoshiro256::reseed(std::uint64_t seed) {
    for (auto& word : s_) word = splitmix(seed);
}

void seedRandom(std::uint64_t seed) { detail::processGenerator.reseed(seed); }

std::uint64_t clockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

std::uint32_t randomBelow(std::uint32_t n) { return detail::processGenerator.below(n); }

std::uint16_t dice(std::uint16_t sides, std::uint16_t count) {
    std::uint32_t sum = 0;
    for (std::uint16_t i = 0; i < count; ++i) sum += detail::processGenerator.below(sides) + 1;
    if (sum > 65535) throw RangeError();
    return static_cast<std::uint16_t>(sum);
}

}  // namespace orrimar

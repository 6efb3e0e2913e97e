#include "common/random.h"

#include <charconv>

#include <chrono>

#include "common/errors.h"

namespace orrimar {

namespace detail {
constinit thread_local Xoshiro256 threadGenerator;
}  // namespace detail

void seedRandom(std::uint64_t seed) { detail::threadGenerator.reseed(seed); }

std::uint64_t cellSeed(std::uint64_t runSeed, std::int16_t x, std::int16_t y, std::int16_t z) {
    // The three 16-bit coordinates packed into one word, then two SplitMix
    // steps: one over the position, one over the run seed combined with it.
    std::uint64_t position = static_cast<std::uint64_t>(static_cast<std::uint16_t>(x)) |
                             static_cast<std::uint64_t>(static_cast<std::uint16_t>(y)) << 16 |
                             static_cast<std::uint64_t>(static_cast<std::uint16_t>(z)) << 32;
    std::uint64_t mixed = runSeed ^ splitMix64(position);
    return splitMix64(mixed);
}

std::uint64_t clockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

std::uint32_t randomBelow(std::uint32_t n) { return detail::threadGenerator.below(n); }

std::uint16_t dice(std::uint16_t sides, std::uint16_t count) {
    std::uint32_t sum = 0;
    for (std::uint16_t i = 0; i < count; ++i) sum += detail::threadGenerator.below(sides) + 1;
    if (sum > 65535) throw RangeError();
    return static_cast<std::uint16_t>(sum);
}

std::optional<std::uint64_t> parseSeed(std::string_view text) {
    std::uint64_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, seed);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return seed;
}

}  // namespace orrimar

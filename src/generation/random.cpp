#include "generation/random.h"

#include <chrono>

#include "records/errors.h"

namespace orrimar {

namespace {

std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

// splitmix64 spreads a small seed over the 256-bit state.
std::uint64_t splitmix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

Xoshiro256 generator;

}  // namespace

void Xoshiro256::reseed(std::uint64_t seed) {
    for (auto& word : s_) word = splitmix(seed);
}

std::uint64_t Xoshiro256::next() {
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

std::uint32_t Xoshiro256::below(std::uint32_t n) {
    if (n == 0) return 0;
    std::uint64_t m = (next() >> 32) * n;
    auto low = static_cast<std::uint32_t>(m);
    if (low < n) {
        const std::uint32_t threshold = static_cast<std::uint32_t>(-n) % n;
        while (low < threshold) {
            m = (next() >> 32) * n;
            low = static_cast<std::uint32_t>(m);
        }
    }
    return static_cast<std::uint32_t>(m >> 32);
}

void seedRandom(std::uint64_t seed) { generator.reseed(seed); }

std::uint64_t clockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

std::uint32_t randomBelow(std::uint32_t n) { return generator.below(n); }

std::uint16_t dice(std::uint16_t sides, std::uint16_t count) {
    std::uint32_t sum = 0;
    for (std::uint16_t i = 0; i < count; ++i) sum += generator.below(sides) + 1;
    if (sum > 65535) throw RangeError();
    return static_cast<std::uint16_t>(sum);
}

}  // namespace orrimar

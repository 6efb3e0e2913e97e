// The process-wide random source and the dice. Every random decision of
// generation goes through dice(): one roll per statement, because the order
// of rolls is part of the behaviour a seeded run reproduces.
#pragma once

#include <cstdint>

namespace orrimar {

// xoshiro256** (Blackman and Vigna): small, fast and statistically sound,
// far cheaper per roll than std::mt19937 with a distribution object.
// Defined here so that the dice, which every rule rolls many times per
// body, compile to a few inline instructions.
class Xoshiro256 {
public:
    explicit Xoshiro256(std::uint64_t seed = 0) { reseed(seed); }
    void reseed(std::uint64_t seed);
    std::uint64_t next() {
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
    // Uniform 0..n-1 without modulo bias (Lemire's multiply-and-reject);
    // n = 0 yields 0.
    std::uint32_t below(std::uint32_t n) {
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

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::uint64_t s_[4]{};
};

namespace detail {
// The process-wide generator behind the dice (seeded by seedRandom).
extern Xoshiro256 processGenerator;
}  // namespace detail

// Seeds the process-wide generator; a run seeded alike repeats byte for byte.
void seedRandom(std::uint64_t seed);
// A seed taken from the clock, for runs that were not given one.
std::uint64_t clockSeed();
// Uniform integer 0..n-1 from the process-wide generator (0 when n is 0).
std::uint32_t randomBelow(std::uint32_t n);

// dice(sides, count): the sum of count rolls of 1..sides. A count of 0 gives
// 0; sides 0 makes every roll 1. A sum beyond 65535 is a range error.
std::uint16_t dice(std::uint16_t sides, std::uint16_t count = 1);

// dN, the single die used by most rules: one roll can never leave 1..65535.
inline int d(int sides) {
    return static_cast<int>(detail::processGenerator.below(static_cast<std::uint16_t>(sides))) + 1;
}
// kdN.
inline int d(int count, int sides) {
    return dice(static_cast<std::uint16_t>(sides), static_cast<std::uint16_t>(count));
}

}  // namespace orrimar

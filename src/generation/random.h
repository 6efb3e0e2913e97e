// The process-wide random source and the dice. Every random decision of
// generation goes through dice(): one roll per statement, because the order
// of rolls is part of the behaviour a seeded run reproduces.
#pragma once

#include <cstdint>

namespace orrimar {

// xoshiro256** (Blackman and Vigna): small, fast and statistically sound,
// far cheaper per roll than std::mt19937 with a distribution object.
class Xoshiro256 {
public:
    explicit Xoshiro256(std::uint64_t seed = 0) { reseed(seed); }
    void reseed(std::uint64_t seed);
    std::uint64_t next();
    // Uniform 0..n-1 without modulo bias (Lemire's multiply-and-reject);
    // n = 0 yields 0.
    std::uint32_t below(std::uint32_t n);

private:
    std::uint64_t s_[4]{};
};

// Seeds the process-wide generator; a run seeded alike repeats byte for byte.
void seedRandom(std::uint64_t seed);
// A seed taken from the clock, for runs that were not given one.
std::uint64_t clockSeed();
// Uniform integer 0..n-1 from the process-wide generator (0 when n is 0).
std::uint32_t randomBelow(std::uint32_t n);

// dice(sides, count): the sum of count rolls of 1..sides. A count of 0 gives
// 0; sides 0 makes every roll 1. A sum beyond 65535 is a range error.
std::uint16_t dice(std::uint16_t sides, std::uint16_t count = 1);

// dN, the single die used by most rules.
inline int d(int sides) { return dice(static_cast<std::uint16_t>(sides), 1); }
// kdN.
inline int d(int count, int sides) {
    return dice(static_cast<std::uint16_t>(sides), static_cast<std::uint16_t>(count));
}

}  // namespace orrimar

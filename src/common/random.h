// The random source and the dice. Every random decision of generation goes
// through dice(): one roll per statement, because the order of rolls is part
// of the behaviour a seeded run reproduces. Each thread has a generator of
// its own, so that the sector loop's workers roll in parallel; the sector
// loop reseeds it for every cell from the run seed and the cell's position.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace orrimar {

// xoshiro256** (Blackman and Vigna): small, fast and statistically sound,
// far cheaper per roll than std::mt19937 with a distribution object.
// Defined here so that the dice, which every rule rolls many times per
// body, compile to a few inline instructions.
// SplitMix64 (Steele, Lea and Flood): one step of its sequence from state x.
// Any two nearby inputs give unrelated outputs, which is what turns a seed
// (or a seed and a cell position) into a well-spread generator state.
constexpr std::uint64_t splitMix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

class Xoshiro256 {
public:
    // constexpr so that the per-thread generator is constant-initialised:
    // a dynamically initialised thread_local would cost a guard call on
    // every roll.
    constexpr Xoshiro256() : Xoshiro256(0) {}
    constexpr explicit Xoshiro256(std::uint64_t seed) { reseed(seed); }
    constexpr void reseed(std::uint64_t seed) {
        for (auto& word : s_) word = splitMix64(seed);
    }
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
// The calling thread's generator behind the dice (seeded by seedRandom).
extern constinit thread_local Xoshiro256 threadGenerator;
}  // namespace detail

// Seeds the calling thread's generator; a run seeded alike repeats byte for byte.
void seedRandom(std::uint64_t seed);
// The seed of one cell's stream: the run seed and the cell's absolute
// position mixed so that neighbouring cells and neighbouring run seeds give
// unrelated streams. A system depends on nothing else, so two runs with one
// seed agree on every cell they share, whatever their blocks.
std::uint64_t cellSeed(std::uint64_t runSeed, std::int16_t x, std::int16_t y, std::int16_t z);
// A seed taken from the clock, for runs that were not given one.
std::uint64_t clockSeed();
// A run seed as a user types it: a whole number 0..2^64-1 and nothing
// else; nothing for any other text.
std::optional<std::uint64_t> parseSeed(std::string_view text);
// Uniform integer 0..n-1 from the calling thread's generator (0 when n is 0).
std::uint32_t randomBelow(std::uint32_t n);

// dice(sides, count): the sum of count rolls of 1..sides. A count of 0 gives
// 0; sides 0 makes every roll 1. A sum beyond 65535 is a range error.
std::uint16_t dice(std::uint16_t sides, std::uint16_t count = 1);

// dN, the single die used by most rules: one roll can never leave 1..65535.
inline int d(int sides) {
    return static_cast<int>(detail::threadGenerator.below(static_cast<std::uint16_t>(sides))) + 1;
}
// kdN.
inline int d(int count, int sides) {
    return dice(static_cast<std::uint16_t>(sides), static_cast<std::uint16_t>(count));
}

}  // namespace orrimar

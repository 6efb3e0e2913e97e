// Shared helpers of the race tests: varied worlds and the threshold guard.
#pragma once

#include <cstdint>
#include <random>

#include "aliens/alien_race.h"
#include "common/bit_flags.h"
#include "settings/probabilities.h"

namespace orrimar::test {

inline bool trait(const TAlienRec& race, int t) { return testFlag(race.traits.data(), t); }
inline bool flag(const std::array<std::uint8_t, 2>& set, int f) { return testFlag(set.data(), f); }
inline bool empty(const std::array<std::uint8_t, 2>& set) { return set[0] == 0 && set[1] == 0; }

// A world drawn from its own generator, so the race dice stay untouched.
inline AlienWorld variedWorld(std::mt19937& worlds) {
    static constexpr std::uint8_t kAirs[] = {1, 2, 2, 2, 4, 7, 11, 12, 15, 18, 19, 21};
    AlienWorld world;
    world.temperature = static_cast<std::int16_t>(std::uniform_int_distribution<int>(-80, 120)(worlds));
    world.composition = kAirs[std::uniform_int_distribution<int>(0, 11)(worlds)];
    world.worldType = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, 23)(worlds));
    world.gravity = std::uniform_real_distribution<float>(0.1F, 3.0F)(worlds);
    return world;
}

// Restores the process-wide alien thresholds a test edits.
class ThresholdGuard {
public:
    ThresholdGuard() : saved_(alienThresholds()) {}
    ~ThresholdGuard() { alienThresholds() = saved_; }
    ThresholdGuard(const ThresholdGuard&) = delete;
    ThresholdGuard& operator=(const ThresholdGuard&) = delete;

private:
    AlienThresholds saved_;
};

}  // namespace orrimar::test

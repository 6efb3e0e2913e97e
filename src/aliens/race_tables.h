// Small helpers of the race steps: roll bands and trait flags.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/bit_flags.h"
#include "records/records.h"

namespace orrimar {

// A die result falls into the first band whose upper bound it does not
// exceed.
struct Band {
    int upTo;
    int value;
};

constexpr std::uint8_t u8(int value) { return static_cast<std::uint8_t>(value); }

template <std::size_t N>
constexpr int bandValue(const std::array<Band, N>& bands, int roll) {
    for (const Band& band : bands) {
        if (roll <= band.upTo) return band.value;
    }
    return bands[N - 1].value;
}

// Traits and flags run from 1 across the bytes of their set.
inline bool hasTrait(const TAlienRec& race, int trait) { return testFlag(race.traits.data(), trait); }
inline void setTrait(TAlienRec& race, int trait) { setFlag(race.traits.data(), trait); }
inline void clearTrait(TAlienRec& race, int trait) { clearFlag(race.traits.data(), trait); }

}  // namespace orrimar

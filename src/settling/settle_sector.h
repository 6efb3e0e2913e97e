// Settling a sector by rule: every race holds its home world; a race that
// travels between the stars spreads through the systems within its reach
// where no older, stronger race holds sway, to the worlds most like its
// home; colonies, control and empires follow (settling_rules.h). The result
// is a function of the seed and the sector alone.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/errors.h"

namespace orrimar {

struct SettleParams {
    std::uint64_t seed = 1;
    // A settled sector is settled afresh only when this is set; otherwise
    // SectorSettledError before anything is touched.
    bool replace = false;
};

struct SettleResult {
    std::int64_t colonies = 0;
    std::int64_t moonBases = 0;
    std::int64_t independents = 0;
    std::int64_t controlledSystems = 0;
    std::int64_t empires = 0;
    std::int64_t settlingRaces = 0;   // races that travel and settled beyond home
    std::int64_t unsettledRaces = 0;  // races past the 16-bit ids, left unsettled
    std::int64_t homeless = 0;        // races whose home world is not in the sector
    std::uint64_t people = 0;
    std::vector<std::string> recovered;  // what the lock's recovery finished first
};

// The sector already has a settled layer and `replace` was not given.
class SectorSettledError : public InputError {
public:
    using InputError::InputError;
};

SettleResult SettleSector(const std::string& baseName, const SettleParams& params);

}  // namespace orrimar

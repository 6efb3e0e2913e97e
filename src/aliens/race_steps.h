// The steps of native race generation, run in order by RollAlienRace. Each
// works on the record being built and on the values that live only during
// one race (RaceRun). Exposed so that tests can drive a single step.
#pragma once

#include <array>
#include <cstdint>

#include "records/records.h"

namespace orrimar {

// Values of one race roll that are not stored in the record.
struct RaceRun {
    std::int16_t temperature = 0;    // degrees Celsius
    std::uint8_t composition = 0;    // atmosphere code
    bool totalAlienDisable = false;  // "T": form codes start at 12 and the T-only results apply
    bool rangeFlag = false;          // narrow category range and the aspect C split
    int pickCount = 1;               // flag-set-1 picks, reused by the second picks
    bool wings = false;              // an appendage of type 1 was handed out
    bool fins = false;               // an appendage of type 2 was handed out (where it marks fins)
    bool special = true;             // "S": survives only while no disqualifying trait is left
};

// Race categories in threshold order; None when the roll lies beyond the
// last threshold.
enum class RaceCategory : std::uint8_t { Human, Animal, Reptile, Insect, Misc, Exotic, None };

void RollHabitat(TAlienRec& race, std::uint8_t worldType, float gravity);
void RollRangeFlag(RaceRun& run);
RaceCategory CategoryOfRoll(int roll);
// Fills the body plan of the category rolled, and returns that category.
RaceCategory RollCategory(TAlienRec& race, const RaceRun& run);
void RollBodyForm(TAlienRec& race, const RaceRun& run);
void RollAppendages(TAlienRec& race, RaceRun& run);
void RollAspects(TAlienRec& race, const RaceRun& run);
void RollSize(TAlienRec& race, float gravity);
// The world's gravity stretches or squashes a rolled body.
void AdjustSizeForGravity(std::int16_t& mass, std::int16_t& height, float gravity);
void RollAttributes(TAlienRec& race, const RaceRun& run, std::uint8_t maxSpatialAge);
void RaceTraitStep(TAlienRec& race, RaceRun& run);
void RaceFormCodeStep(TAlienRec& race, const RaceRun& run);
void RaceSecondPicksStep(TAlienRec& race, const RaceRun& run);
void RollOrder(TAlienRec& race);
void RollClosingAspects(TAlienRec& race);

// One pick into a 16-flag set: d11, an 11 replaced by d6 + 10, so flags
// 1..10 are six times as likely as each of 11..16.
void PickFlag(std::array<std::uint8_t, 2>& set);

}  // namespace orrimar

// Size step: a d100 band, then mass and height rolled inside it, then
// stretched or squashed by the home world's gravity.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"
#include "common/rounding.h"

namespace orrimar {

namespace {

struct SizeBand {
    int upTo;
    int massSides;
    int massBase;
    int heightSides;
    int heightBase;
};

constexpr std::array<SizeBand, 5> kSizeBands{{
    {5, 10, 1, 50, 10},
    {15, 30, 10, 70, 50},
    {85, 70, 50, 180, 100},
    {95, 200, 80, 300, 125},
    {100, 750, 250, 500, 250},
}};

}  // namespace

void AdjustSizeForGravity(std::int16_t& mass, std::int16_t& height, float gravity) {
    // The float gravity meets the decimal bounds in extended precision:
    // 0.8 itself is not below 0.8, nor 1.3 above 1.3.
    const long double g = gravity;
    if (g < 0.8L) {
        height = static_cast<std::int16_t>(roundEven(height * 1.2L));
        mass = static_cast<std::int16_t>(roundEven(mass * 0.9L));
    } else if (g > 1.3L) {
        height = static_cast<std::int16_t>(roundEven(height * 0.9L));
        mass = static_cast<std::int16_t>(roundEven(mass * 1.1L));
    }
}

void RollSize(TAlienRec& race, float gravity) {
    const int roll = d(100);
    const SizeBand* band = &kSizeBands.back();
    for (const SizeBand& candidate : kSizeBands) {
        if (roll <= candidate.upTo) {
            band = &candidate;
            break;
        }
    }
    const int mass = d(band->massSides);
    race.mass = static_cast<std::int16_t>(mass + band->massBase);
    const int height = d(band->heightSides);
    race.height = static_cast<std::int16_t>(height + band->heightBase);
    AdjustSizeForGravity(race.mass, race.height, gravity);
}

}  // namespace orrimar

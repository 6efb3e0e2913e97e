// Where the race lives, and the range flag that narrows its category roll.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"

namespace orrimar {

namespace {
// d100: land 1..75, then the rarer habitats 2..5.
constexpr std::array<Band, 5> kHabitatBands{{{75, 1}, {77, 2}, {91, 3}, {94, 4}, {100, 5}}};
constexpr std::uint8_t kFlying = 5;
constexpr std::uint8_t kAmphibious = 4;
constexpr std::uint8_t kAquatic = 3;
constexpr std::uint8_t kArid = 8;
constexpr std::uint8_t kOcean = 12;
}  // namespace

void RollHabitat(TAlienRec& race, std::uint8_t worldType, float gravity) {
    const int roll = d(100);
    race.habitat = u8(bandValue(kHabitatBands, roll));
    // Nothing flies above 2 g; the comparison is made in extended precision,
    // so 2.0 itself still allows it.
    if (static_cast<long double>(gravity) > 2.0L && race.habitat == kFlying) race.habitat = 1;
    if (worldType == kArid && race.habitat == kAmphibious) race.habitat = kAquatic;
    if (worldType == kOcean) {
        const int water = d(10);
        race.habitat = water <= 3 ? kAquatic : kAmphibious;
    }
}

void RollRangeFlag(RaceRun& run) {
    const int roll = d(100);
    run.rangeFlag = roll > 20 || run.temperature < 5;
}

}  // namespace orrimar

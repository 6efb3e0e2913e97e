// Diet, reproduction and young (aspects A, B and C), one d100 each.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"

namespace orrimar {

namespace {
constexpr std::array<Band, 4> kAspectA{{{15, 1}, {75, 2}, {96, 3}, {100, 4}}};
constexpr std::array<Band, 5> kAspectB{{{5, 1}, {10, 2}, {95, 3}, {99, 5}, {100, 4}}};
// 11..70 is 3 with the range flag set and 2 with it clear (value 0 here).
constexpr std::array<Band, 5> kAspectC{{{1, 1}, {10, 2}, {70, 0}, {98, 3}, {100, 4}}};
}  // namespace

void RollAspects(TAlienRec& race, const RaceRun& run) {
    const int a = d(100);
    race.aspectA = u8(bandValue(kAspectA, a));
    const int b = d(100);
    race.aspectB = u8(bandValue(kAspectB, b));
    const int c = d(100);
    const int aspectC = bandValue(kAspectC, c);
    race.aspectC = u8(aspectC != 0 ? aspectC : (run.rangeFlag ? 3 : 2));
}

}  // namespace orrimar

// Second-picks step: aspect D and flag sets 2, 4 and 5. A race that kept
// its special trait ("S") gets flag-set-5 flag 1 alone and no flag-set-4
// picks.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"

namespace orrimar {

namespace {

// How a form code settles aspect D; later codes are class 0.
constexpr std::array<std::uint8_t, 22> kAspectDClass{0, 1, 2, 2, 0, 0, 0, 0, 2, 2, 0, 0, 0, 3, 0, 2, 2, 2, 2, 2, 2, 2};
// Which flag-set-5 flag in 11..14 a form code favours; later codes class 0.
constexpr std::array<std::uint8_t, 22> kLastFlagClass{0, 0, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 3, 0, 0, 1};

template <std::size_t N>
constexpr int classOf(const std::array<std::uint8_t, N>& table, int formCode) {
    return static_cast<std::size_t>(formCode) < N ? table[static_cast<std::size_t>(formCode)] : 0;
}

bool isEmpty(const std::array<std::uint8_t, 2>& set) { return set[0] == 0 && set[1] == 0; }

// pick count + d3 - 2 picks, with an optional floor.
int extraPicks(const RaceRun& run, int atLeast) {
    const int roll = d(3);
    const int picks = run.pickCount + roll - 2;
    return picks < atLeast ? atLeast : picks;
}

void settleAspectD(TAlienRec& race) {
    race.aspectD = 8;
    switch (classOf(kAspectDClass, race.formCode)) {
        case 1: {
            const int roll = d(12);
            if (roll == 1) race.aspectD = 1;
            break;
        }
        case 2: race.aspectD = 1; break;
        case 3: {
            const int roll = d(10);
            if (roll >= 2) race.aspectD = 1;
            break;
        }
        default: break;
    }
    if (race.subtype >= 5) {
        race.aspectD = 1;
    } else if (race.subtype == 4) {
        const int roll = d(10);
        if (roll >= 2) race.aspectD = 7;
    }
    if (race.aspectD == 8) {
        const int roll = d(50);
        if (roll <= 2) {
            race.aspectD = 2;
        } else if (roll <= 6) {
            race.aspectD = 5;
        } else if (roll <= 9 && race.formCode == 13) {
            race.aspectD = 4;
        }
    }
    if (race.aspectD == 1) {
        const int roll = d(10);
        if (roll == 1) race.aspectD = 3;
    }
}

void lastFlag(TAlienRec& race) {
    std::uint8_t* set = race.flagSet5.data();
    switch (classOf(kLastFlagClass, race.formCode)) {
        case 1: setFlag(set, 14); break;
        case 2: {
            const int roll = d(10);
            setFlag(set, roll <= 3 ? 13 : 12);
            break;
        }
        case 3: setFlag(set, 13); break;
        default: {
            const int roll = d(10);
            if (roll <= 8) {
                setFlag(set, 11);
            } else if (roll == 9) {
                setFlag(set, 12);
            } else {
                const int rare = d(10);
                setFlag(set, rare == 1 ? 14 : 13);
            }
            break;
        }
    }
}

}  // namespace

void RaceSecondPicksStep(TAlienRec& race, const RaceRun& run) {
    settleAspectD(race);

    if (race.aspectD != 1) {
        const int picks = extraPicks(run, 0);
        for (int i = 0; i < picks; ++i) PickFlag(race.flagSet2);
    }
    if (race.subtype == 3) {
        const int copy = d(5);
        if (copy >= 2) race.flagSet2 = race.flagSet1;
        const int roll = d(10);
        if (roll >= 2) race.aspectD = 6;
    }
    if (isEmpty(race.flagSet2) && race.aspectD != 1) race.flagSet2 = race.flagSet1;

    if (run.special) {
        setFlag(race.flagSet5.data(), 1);
        clearTrait(race, 13);
        return;
    }

    lastFlag(race);

    const int common = d(100);
    if (common <= 3) {
        setFlag(race.flagSet5.data(), 2);
    } else if (common <= 5) {
        setFlag(race.flagSet5.data(), 3);
    } else if (common <= 8) {
        setFlag(race.flagSet5.data(), 4);
    } else if (common == 9) {
        setFlag(race.flagSet5.data(), 5);
    }

    const int rare = d(20);
    if (rare <= 4) {
        setFlag(race.flagSet5.data(), rare + 5);
    } else if (rare == 5 && (race.formCode == 15 || race.formCode == 20)) {
        setFlag(race.flagSet5.data(), 10);
    }

    const int picks = extraPicks(run, 1);
    for (int i = 0; i < picks; ++i) PickFlag(race.flagSet4);
}

}  // namespace orrimar

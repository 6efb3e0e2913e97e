// Form-code step: settles formCode from the subtype and the limbs, then
// brings habitat, body form, appendages and aspects A to C in line with it.
// "T" is the total-alien-disable choice of the sector run: with it the form
// code starts at 12 and the T-only results below become possible; without
// it several rules pull a race to the catch-all code 13.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"

namespace orrimar {

namespace {

template <std::size_t N>
constexpr int classOf(const std::array<std::uint8_t, N>& table, int formCode) {
    return formCode >= 0 && static_cast<std::size_t>(formCode) < N ? table[static_cast<std::size_t>(formCode)] : 0;
}

// Which form codes the T-clear fallback to 13 applies to (1: always,
// 2: only under the hostile airs below).
constexpr std::array<std::uint8_t, 17> kDisableClass{0, 1, 1, 1, 1, 1, 1, 1, 2, 0, 1, 1, 1, 0, 1, 0, 1};
// How a form code bends aspect C (and, class 3, aspect B).
constexpr std::array<std::uint8_t, 24> kAspectClass{0, 1, 3, 2, 1, 1, 1, 1, 0, 0, 2, 2,
                                                    1, 0, 1, 0, 2, 0, 0, 0, 2, 3, 1, 1};
// Airs under which class-2 form codes fall back to 13.
constexpr std::array<std::uint8_t, 4> kHostileAirs{4, 12, 15, 19};

bool isHostileAir(std::uint8_t composition) {
    for (const std::uint8_t air : kHostileAirs) {
        if (air == composition) return true;
    }
    return false;
}

// Subtypes 1 and 2: humanoid form codes.
void humanoidForm(TAlienRec& race, const RaceRun& run) {
    const bool t = run.totalAlienDisable;
    const int roll = d(12);
    if (roll <= 6) {
        race.formCode = 1;
    } else if (roll <= 10) {
        race.formCode = run.fins ? 11 : 1;
    } else if (roll == 11) {
        race.formCode = race.habitat == 3 ? 11 : 22;
    } else if (t) {
        race.formCode = run.fins ? 11 : 1;
    }
    if (race.appendageCount == 0) race.formCode = 15;
}

void mammalianForm(TAlienRec& race, const RaceRun& run) {
    const bool t = run.totalAlienDisable;
    const int roll = d(12);
    if (roll <= 2) {
        race.formCode = 4;
    } else if (roll <= 4) {
        race.formCode = 5;
    } else if (roll == 5) {
        race.formCode = 6;
    } else if (roll == 6) {
        race.formCode = 7;
    } else if (roll == 7) {
        race.formCode = 23;
    } else if (roll <= 10) {
        race.formCode = 12;
    } else if (roll == 11) {
        if (t) race.formCode = 6;
    } else if (t) {
        race.formCode = 7;
    }
}

void subtypeFourForm(TAlienRec& race, const RaceRun& run) {
    const int roll = d(12);
    if (roll <= 2 || (roll <= 9 && run.wings) || (roll >= 10 && run.totalAlienDisable)) race.formCode = 10;
}

void reptileForm(TAlienRec& race) {
    const int roll = d(12);
    if (roll >= 3) race.formCode = 3;
    if (race.appendageCount == 0 && race.formCode == 3) {
        race.formCode = 16;
        race.appendageCount = 1;
    }
}

void subtypeSixForm(TAlienRec& race, const RaceRun& run) {
    const bool t = run.totalAlienDisable;
    const int roll = d(12);
    if (roll == 1) {
        race.formCode = 8;
    } else if (roll == 2) {
        race.formCode = 3;
    } else if (roll <= 4) {
        race.formCode = 12;
    } else if (!t) {
        return;
    } else if (roll <= 6) {
        race.formCode = 8;
    } else if (roll <= 8) {
        race.formCode = 3;
    } else {
        race.formCode = 10;
    }
}

void insectForm(TAlienRec& race, const RaceRun& run) {
    const bool t = run.totalAlienDisable;
    const int roll = d(12);
    if (roll == 1) {
        race.formCode = 9;
    } else if (roll <= 10) {
        race.formCode = (race.habitat == 3 || race.habitat == 4) ? 20 : 2;
    } else if (roll == 11) {
        if (t) race.formCode = 9;
    } else if (t) {
        race.formCode = 2;
    }
}

void subtypeEightForm(TAlienRec& race, const RaceRun& run) {
    const int roll = d(20);
    if (roll <= 19) {
        race.formCode = 9;
    } else if (run.totalAlienDisable) {
        race.formCode = 2;
    }
}

void exoticForm(TAlienRec& race) {
    const int roll = d(10);
    if (roll <= 2) {
        race.formCode = 19;
        race.bodyForm = 4;
    } else if (roll <= 4) {
        race.formCode = 17;
        race.bodyForm = 9;
    } else if (roll <= 6) {
        race.formCode = 24;
        race.bodyForm = 5;
    } else if (roll <= 8) {
        race.formCode = 25;
        race.bodyForm = 8;
    }
}

void formCodeBySubtype(TAlienRec& race, const RaceRun& run) {
    switch (race.subtype) {
        case 1:
        case 2: humanoidForm(race, run); break;
        case 3: mammalianForm(race, run); break;
        case 4: subtypeFourForm(race, run); break;
        case 5: reptileForm(race); break;
        case 6: subtypeSixForm(race, run); break;
        case 7: insectForm(race, run); break;
        case 8: subtypeEightForm(race, run); break;
        case 9: exoticForm(race); break;
        case 10: race.formCode = 18; break;
        case 12: race.formCode = 8; break;
        default: break;  // 0 and 11 keep the starting code
    }
}

struct LimbCounts {
    int legs3 = 0;     // entries of type 3
    int type4 = 0;     // entries of type 4
    int fivePlus = 0;  // entries of type 5 or above
    int type6 = 0;     // entries of type 6
};

LimbCounts countLimbs(const TAlienRec& race) {
    LimbCounts counts;
    for (std::size_t entry = 0; entry < race.appendageCount; ++entry) {
        const std::uint8_t type = race.appendageTypes[entry];
        if (type == 3) ++counts.legs3;
        if (type == 4) ++counts.type4;
        if (type >= 5) ++counts.fivePlus;
        if (type == 6) ++counts.type6;
    }
    return counts;
}

bool becomesSimpleOnRareRoll(std::uint8_t formCode) {
    return (formCode >= 3 && formCode <= 10) || formCode == 12 || formCode == 22 || formCode == 23;
}

void matchLimbs(TAlienRec& race, const RaceRun& run) {
    const bool t = run.totalAlienDisable;
    const LimbCounts limbs = countLimbs(race);

    if (limbs.legs3 == 2 && race.habitat == 1 && race.appendageTypes[0] == 5) {
        if (race.formCode == 1) {
            const int roll = d(3);
            if (roll >= 2) race.formCode = 14;
        } else if (becomesSimpleOnRareRoll(race.formCode)) {
            const int roll = d(3);
            if (roll == 1) race.formCode = 14;
        }
    }
    if (run.wings && limbs.fivePlus == 0 && race.subtype < 6) race.formCode = 10;
    if (limbs.legs3 > 2 && race.formCode != 2 && race.formCode != 13 && !t) race.formCode = 13;
    if (limbs.legs3 + limbs.type4 > 2 && race.formCode == 2) {
        const int roll = d(3);
        if (roll >= 2) race.formCode = 21;
    }
    if (race.appendageCount > 3 && race.subtype < 6 && race.subtype != 4) {
        const int roll = d(3);
        if (roll == 1) race.formCode = 21;
    }
    if (limbs.type6 == race.appendageCount && race.appendageCount > 0) {
        race.formCode = 26;
        if (race.habitat == 3 || race.habitat == 4) setFlag(race.flagSet3.data(), 9);
    }
}

void matchAspects(TAlienRec& race) {
    switch (race.bodyForm) {
        case 2: race.aspectA = 6; break;
        case 3: {
            const int roll = d(3);
            if (roll == 1) race.aspectA = 7;
            break;
        }
        case 5: {
            const int roll = d(5);
            if (roll >= 2) race.aspectA = 7;
            break;
        }
        case 6:
        case 7:
        case 8:
        case 9: race.aspectA = 6; break;
        default: break;
    }
    if (race.bodyForm >= 4) {
        const int roll = d(20);
        if (roll == 1) race.aspectA = 8;
    }
    if (race.aspectA == 3 && race.height < 30) {
        const int roll = d(5);
        if (roll == 1) race.aspectA = 5;
    }

    switch (classOf(kAspectClass, race.formCode)) {
        case 1:
            if (race.aspectC == 2) race.aspectC = 3;
            break;
        case 2:
            if (race.aspectC == 3) race.aspectC = 2;
            break;
        case 3: {
            if (race.aspectC == 3) race.aspectC = 2;
            const int roll = d(5);
            if (roll == 1) race.aspectB = 5;
            break;
        }
        default: break;
    }
}

}  // namespace

void RaceFormCodeStep(TAlienRec& race, const RaceRun& run) {
    const bool t = run.totalAlienDisable;
    race.formCode = t ? 12 : 13;
    formCodeBySubtype(race, run);

    if (race.bodyForm == 5) race.formCode = 24;
    if (race.formCode == 17 || race.formCode == 24 || race.formCode == 25) race.appendageCount = 0;

    if (run.fins && race.subtype >= 4 && race.formCode != 3 && race.formCode != 12 && !t) race.formCode = 13;

    if (race.aspectA == 4) {
        const int roll = d(10);
        if (roll >= 5 && race.subtype < 4) {
            race.formCode = 8;
            race.aspectA = 6;
        }
    }

    matchLimbs(race, run);

    // Under nitrogen/oxygen air a plain body keeps its form code.
    if (!(run.composition == 2 && race.bodyForm == 1) && !t) {
        const int disable = classOf(kDisableClass, race.formCode);
        if (disable == 1 || (disable == 2 && isHostileAir(run.composition))) race.formCode = 13;
    }

    if (race.formCode == 15 && race.habitat == 2) race.habitat = 1;

    matchAspects(race);

    // A limbless form-15 body gets up to four appendages of type 7.
    if (race.formCode == 15 && race.appendageCount == 0) {
        const int roll = d(5);
        race.appendageCount = u8(roll - 1);
        for (std::size_t entry = 0; entry < race.appendageCount; ++entry) race.appendageTypes[entry] = 7;
    }
}

}  // namespace orrimar

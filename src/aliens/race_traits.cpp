// Trait step: a few random traits, the form-code step, the climate traits,
// then a fixed list of consistency rules in which most random traits are
// cleared again unless a die or the race lets them stay. The rules run in
// this exact order: a later rule tests what an earlier one left.
//
// "S" (run.special) starts true and is cleared by any trait that rules out
// the special trait 59; a die test on a trait rolls only while that trait is
// set.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"

namespace orrimar {

namespace {

// Clears the trait when it is set and a dN shows at least `atLeast`.
void clearOnDie(TAlienRec& race, int trait, int sides, int atLeast = 2) {
    if (!hasTrait(race, trait)) return;
    const int roll = d(sides);
    if (roll >= atLeast) clearTrait(race, trait);
}

void clearWhen(TAlienRec& race, int trait, bool condition) {
    if (condition) clearTrait(race, trait);
}

void pickRandomTraits(TAlienRec& race, const RaceRun& run) {
    int picks = 0;
    if (run.composition == 2) {
        const int roll = d(3, 2);
        picks = roll - 3;
    } else {
        picks = d(4);
    }
    for (int i = 0; i < picks; ++i) {
        const int roll = d(92);
        // Traits 51..54 follow from the body and habitat only.
        setTrait(race, roll > 50 ? roll + 4 : roll);
    }
}

void climateTraits(TAlienRec& race, const RaceRun& run) {
    if (run.temperature < -5) {
        setTrait(race, 9);
        clearTrait(race, 12);
        clearTrait(race, 8);
        const int roll = d(100);
        if (roll <= 50) setTrait(race, 11);
    } else if (run.temperature > 30) {
        setTrait(race, 12);
        clearTrait(race, 9);
        const int roll = d(100);
        if (roll <= 50) setTrait(race, 8);
    }
}

void rules1To3(TAlienRec& race, RaceRun& run) {
    if (hasTrait(race, 18)) clearTrait(race, 1);
    if (hasTrait(race, 1)) clearTrait(race, 2);
    if (hasTrait(race, 4)) {
        clearTrait(race, 5);
        run.special = false;
    }
    if (hasTrait(race, 5)) run.special = false;

    if (hasTrait(race, 12)) clearTrait(race, 11);
    if (hasTrait(race, 9)) clearTrait(race, 8);
    if (hasTrait(race, 10) || hasTrait(race, 13) || hasTrait(race, 14)) run.special = false;

    clearWhen(race, 20, race.formCode != 13 && race.formCode != 2);
}

void rule4(TAlienRec& race, RaceRun& run) {
    clearOnDie(race, 19, 10, 5);
    if (hasTrait(race, 21)) run.special = false;
    clearOnDie(race, 22, 25);
    clearOnDie(race, 23, 10, 5);
    clearOnDie(race, 24, 15);
    clearOnDie(race, 25, 10, 4);
    clearOnDie(race, 26, 10, 6);
    clearOnDie(race, 28, 10, 4);
    clearOnDie(race, 29, 10, 4);
    if (hasTrait(race, 29)) run.special = false;
    clearOnDie(race, 31, 10, 3);
    clearOnDie(race, 32, race.formCode == 9 || race.formCode == 13 ? 10 : 30);
}

void rules5To7(TAlienRec& race, RaceRun& run) {
    if (hasTrait(race, 33)) {
        if (race.habitat == 5) {
            const int roll = d(100);
            if (roll != 1) clearTrait(race, 33);
        } else {
            clearTrait(race, 33);
        }
    }
    clearOnDie(race, 34, 20);
    clearOnDie(race, 43, 20);
    clearOnDie(race, 36, 10);
    if (hasTrait(race, 37)) {
        const int roll = d(10);
        if (roll >= 2 || race.techLevel < 4) clearTrait(race, 37);
    }

    if (hasTrait(race, 35)) {
        const int roll = d(30);
        if (roll >= 2 || (race.subtype != 1 && race.subtype != 9)) clearTrait(race, 35);
    }
    if (race.bodyForm == 5 || race.bodyForm >= 8) setTrait(race, 35);

    clearOnDie(race, 38, 20);
    if (hasTrait(race, 38)) run.special = false;
    clearWhen(race, 42, race.ratingA < 16);
    clearOnDie(race, 41, 30);
    clearOnDie(race, 44, 30);
    if (hasTrait(race, 45)) {
        const int roll = d(20);
        if (roll >= 2 || (race.aspectA != 2 && race.aspectA != 4)) clearTrait(race, 45);
    }
    if (hasTrait(race, 46)) {
        const int roll = d(30);
        if (roll >= 2 || race.subtype < 7) clearTrait(race, 46);
    }
    if (hasTrait(race, 47)) run.special = false;
}

void rules8To9(TAlienRec& race, RaceRun& run) {
    clearWhen(race, 49, race.attributes[2] < 14);
    if (run.wings && race.appendageCount > 0) setTrait(race, 52);
    if (race.habitat == 5 && race.appendageCount == 0) setTrait(race, 54);
    if (race.habitat == 3 || race.habitat == 4) setTrait(race, 53);
    clearOnDie(race, 56, 40);
    if (hasTrait(race, 56)) run.special = false;

    clearOnDie(race, 57, 20);
    if (hasTrait(race, 57) && hasTrait(race, 58)) {
        const int roll = d(20);
        if (roll >= 2) clearTrait(race, 57);
    }
    clearWhen(race, 57, hasTrait(race, 4));
    if (hasTrait(race, 58)) run.special = false;
    clearWhen(race, 59, !run.special);
    if (hasTrait(race, 60)) {
        if (hasTrait(race, 1) || hasTrait(race, 2)) {
            clearTrait(race, 60);
        } else {
            clearOnDie(race, 60, 20);
        }
    }
}

void rules10To13(TAlienRec& race, const RaceRun& run) {
    const int attribute1 = race.attributes[0];
    const int attribute4 = race.attributes[3];
    clearWhen(race, 63, race.techLevel < 5 || attribute4 < 11);
    clearWhen(race, 64, race.techLevel < 5);
    clearWhen(race, 65, attribute1 < 12);
    clearWhen(race, 66, race.techLevel < 6 || attribute4 < 11);
    clearWhen(race, 68, hasTrait(race, 59));
    clearOnDie(race, 69, 30);
    clearWhen(race, 70, hasTrait(race, 60));
    clearOnDie(race, 71, 25);
    clearWhen(race, 72, race.ratingA < 15);

    clearOnDie(race, 74, 10);
    clearWhen(race, 76, race.appendageCount == 0);
    clearOnDie(race, 77, 10);
    clearOnDie(race, 78, 5);
    clearOnDie(race, 79, 20);

    clearWhen(race, 81, hasTrait(race, 40));
    clearWhen(race, 81, race.formCode == 1 || race.formCode == 11);
    clearWhen(race, 82, race.techLevel < 7);
    if (race.formCode == 18 && race.techLevel >= 6) setTrait(race, 82);
    clearWhen(race, 83, race.techLevel < 6);
    clearOnDie(race, 85, 10);

    clearOnDie(race, 89, 20);
    clearOnDie(race, 90, 10);
    if (race.formCode != 18) clearOnDie(race, 91, 20);
    clearWhen(race, 91, hasTrait(race, 90));
    clearOnDie(race, 92, 25);
    if (race.ratingA < 11) {
        clearTrait(race, 93);
    } else {
        clearOnDie(race, 93, 15);
    }
    clearOnDie(race, 94, 10);
    if (hasTrait(race, 95)) {
        const int roll = d(50);
        if (roll >= 2 || run.special) clearTrait(race, 95);
    }
    clearOnDie(race, 96, 30);
    if (hasTrait(race, 96)) setTrait(race, 57);
}

void rule14(TAlienRec& race, RaceRun& run) {
    if (race.formCode == 17) setTrait(race, 25);
    if (!run.rangeFlag && race.bodyForm == 1) {
        setTrait(race, 51);
        clearTrait(race, 9);
    }
    if (!hasTrait(race, 59)) run.special = false;
}

// Base chances of flag-set-3 flags 5 and 6 by form code; later codes -5.
constexpr std::array<std::int8_t, 23> kBaseChanceA{-5, -5, 0,  0,  -5, 5,  -5, 0,  -5, -5, -5, -5,
                                                   -5, 0,  -5, -5, 0,  -5, -5, -5, -5, 0,  0};
constexpr std::array<std::int8_t, 22> kBaseChanceB{-5, -5, 0, 0,  0,  5, -5, 5,  -5, -5, 0,
                                                   -5, -5, 0, -5, -5, 0, -5, -5, -5, -5, 0};
// Chance of flag-set-3 flag 1 by form code; later codes 1.
constexpr std::array<std::int8_t, 24> kChanceG{1, 1, 1, 7, 7, 7, 1, 7, 1, 1, 1, 3, 7, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1, 7};

template <std::size_t N>
constexpr int chanceOf(const std::array<std::int8_t, N>& table, int formCode, int beyond) {
    return static_cast<std::size_t>(formCode) < N ? table[static_cast<std::size_t>(formCode)] : beyond;
}

void rollFlagOnChance(TAlienRec& race, int flag, int chance) {
    const int roll = d(100);
    if (roll <= chance) setFlag(race.flagSet3.data(), flag);
}

void flagSet3Chances(TAlienRec& race) {
    const int fc = race.formCode;
    const int w = race.aspectA == 2 ? 10 : (race.aspectA == 3 ? 20 : 5);
    const int a = chanceOf(kBaseChanceA, fc, -5);
    int b = chanceOf(kBaseChanceB, fc, -5);
    int c = (fc == 2 || fc == 13) ? 0 : (fc == 20 ? 5 : -15);
    if (race.appendageCount == 0) {
        b = -20;
        c = -20;
    }
    rollFlagOnChance(race, 5, w + a);
    rollFlagOnChance(race, 6, w + b);
    rollFlagOnChance(race, 7, w + c);
    rollFlagOnChance(race, 1, chanceOf(kChanceG, fc, 1));
    rollFlagOnChance(race, 2, (fc == 12 || fc == 13) ? 3 : 1);
    rollFlagOnChance(race, 3, (fc == 1 || fc == 13) ? 3 : ((fc == 3 || fc == 12) ? 5 : 1));
    rollFlagOnChance(race, 4, (fc == 2 || fc == 15 || fc == 20 || fc == 21) ? 8 : (fc == 13 ? 5 : 1));
    int chance8 = (fc == 12 || fc == 13 || fc == 22) ? 1 : (fc == 14 ? 45 : 0);
    if (race.appendageCount == 0) chance8 = 0;
    rollFlagOnChance(race, 8, chance8);
}

}  // namespace

void RaceTraitStep(TAlienRec& race, RaceRun& run) {
    run.special = true;
    pickRandomTraits(race, run);
    RaceFormCodeStep(race, run);
    climateTraits(race, run);

    rules1To3(race, run);
    rule4(race, run);
    rules5To7(race, run);
    rules8To9(race, run);
    rules10To13(race, run);
    rule14(race, run);

    flagSet3Chances(race);

    // Trait 32 trades rating B away for a larger rating C.
    if (hasTrait(race, 32)) {
        race.ratingB = 0;
        if (race.ratingC < 100) race.ratingC = u8(race.ratingC * 2);
        if (race.ratingC < 10) race.ratingC = 10;
    }
}

}  // namespace orrimar

// Appendage step: flag-set-1 picks, the flag-set-3 limb pattern and the
// appendage types, with the wings and fins the later steps look for.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"

namespace orrimar {

namespace {

constexpr std::uint8_t kWings = 1;
constexpr std::uint8_t kFins = 2;

// Flag-set-3 limb pattern after a second-level d10 roll (flag 12 and flag 8/13 branches).
constexpr std::array<Band, 3> kAfterTwelve{{{5, 14}, {7, 15}, {10, 16}}};
constexpr std::array<Band, 2> kAfterThirteen{{{4, 15}, {10, 16}}};

void rollLimbPattern(TAlienRec& race, const RaceRun& run) {
    std::uint8_t* set = race.flagSet3.data();
    if (run.pickCount == 1) {
        setFlag(set, 11);
        return;
    }
    const int roll = d(10);
    if (roll <= 7) {
        setFlag(set, 11);
    } else if (roll <= 9) {
        setFlag(set, 12);
        const int next = d(10);
        setFlag(set, bandValue(kAfterTwelve, next));
    } else {
        setFlag(set, run.pickCount >= 3 ? 13 : 8);
        const int next = d(10);
        setFlag(set, bandValue(kAfterThirteen, next));
    }
}

std::uint8_t extraAppendage(TAlienRec& race, RaceRun& run) {
    const int roll = d(100);
    const std::uint8_t habitat = race.habitat;
    if (roll <= 10) {
        if (habitat == 5) {
            run.wings = true;
            return kWings;
        }
        if (habitat == 3 || habitat == 4) {
            run.fins = true;
            return kFins;
        }
        return 3;
    }
    // Amphibious type-2 limbs from here on do not mark the race as finned.
    if (roll <= 50) return habitat == 4 ? kFins : 3;
    if (roll <= 65) return habitat == 4 ? 4 : 3;
    if (roll <= 70) return 4;
    if (roll <= 95) return 5;
    return 6;
}

}  // namespace

void PickFlag(std::array<std::uint8_t, 2>& set) {
    int flag = d(11);
    if (flag == 11) {
        const int high = d(6);
        flag = high + 10;
    }
    setFlag(set.data(), flag);
}

void RollAppendages(TAlienRec& race, RaceRun& run) {
    const int many = d(3);
    if (many == 3) {
        const int picks = d(5);
        run.pickCount = picks + 1;
    } else {
        run.pickCount = 1;
    }
    for (int i = 0; i < run.pickCount; ++i) PickFlag(race.flagSet1);

    rollLimbPattern(race, run);

    // A flyer needs a third pair for its wings.
    if (race.appendageCount == 2 && race.habitat == 5) race.appendageCount = 3;

    run.wings = false;
    run.fins = false;
    const int first = d(10);
    race.appendageTypes[0] = first == 1 ? 4 : 5;
    if (race.habitat == 4) {
        race.appendageTypes[1] = kFins;
        run.fins = true;
    } else {
        race.appendageTypes[1] = 3;
    }
    for (std::size_t entry = 2; entry < race.appendageCount; ++entry) {
        race.appendageTypes[entry] = extraAppendage(race, run);
    }
    // A flyer that drew no wings above gets them as its third entry; one
    // whose later entry drew wings keeps its third entry as rolled.
    if (race.habitat == 5 && !run.wings) {
        race.appendageTypes[2] = kWings;
        run.wings = true;
    }
}

}  // namespace orrimar

// The race category (Human .. Exotic) and the body plan it brings:
// appendage count, body form and subtype.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"
#include "settings/probabilities.h"

namespace orrimar {

namespace {

// d100 subtype of an animal race; 31-38 and 96-100 both give 4.
constexpr std::array<Band, 6> kAnimalSubtype{{{30, 1}, {38, 4}, {55, 2}, {60, 6}, {95, 3}, {100, 4}}};
// d10 appendage count of a reptile.
constexpr std::array<Band, 4> kReptileCount{{{1, 0}, {2, 1}, {8, 2}, {10, 3}}};
// d10 appendage count of an insect below 10 (a 10 rolls d6 + 4).
constexpr std::array<Band, 3> kInsectCount{{{4, 2}, {7, 3}, {9, 4}}};
// d100 appendage count of Misc and Exotic races below 99 (99-100 roll d6 + 4).
constexpr std::array<Band, 4> kOddCount{{{6, 0}, {70, 2}, {90, 3}, {98, 4}}};

struct ExoticForm {
    std::uint8_t bodyForm;
    std::uint8_t subtype;
    bool limbless;
};
// d6, entry 0 unused.
constexpr std::array<ExoticForm, 7> kExoticForms{
    {{0, 0, false}, {9, 9, false}, {7, 10, false}, {7, 10, false}, {1, 9, false}, {5, 9, true}, {8, 9, true}}};

std::uint8_t pairOrTriple() {
    const int roll = d(10);
    return roll == 1 ? 3 : 2;
}

std::uint8_t manyLimbs() {
    const int extra = d(6);
    return u8(extra + 4);
}

std::uint8_t oddCount() {
    const int roll = d(100);
    if (roll >= 99) return manyLimbs();
    return u8(bandValue(kOddCount, roll));
}

void miscSubtype(TAlienRec& race) {
    const int roll = d(100);
    race.bodyForm = 1;
    if (roll <= 20) {
        race.subtype = 12;
    } else if (roll <= 50) {
        race.subtype = 8;
        race.bodyForm = 2;
        if (race.appendageCount > 2) race.appendageCount = 2;
    } else if (roll <= 60) {
        race.subtype = 11;
        race.bodyForm = 6;
    } else if (roll <= 65) {
        race.subtype = 1;
        race.appendageCount = 0;
    } else {
        const int kind = d(10);
        race.subtype = u8(kind == 8 ? 9 : kind);
    }
}

}  // namespace

RaceCategory CategoryOfRoll(int roll) {
    const auto& thresholds = alienThresholds().t;
    for (std::size_t k = 0; k < thresholds.size(); ++k) {
        if (thresholds[k] >= roll) return static_cast<RaceCategory>(k);
    }
    // Thresholds edited to cover less than the roll's range: the race gets
    // no category and keeps appendage count, body form and subtype at 0.
    return RaceCategory::None;
}

RaceCategory RollCategory(TAlienRec& race, const RaceRun& run) {
    const int roll = d(80);
    const RaceCategory category = CategoryOfRoll(run.rangeFlag ? roll : roll + 20);
    switch (category) {
        case RaceCategory::Human: {
            race.appendageCount = pairOrTriple();
            race.bodyForm = 1;
            const int kind = d(10);
            race.subtype = kind <= 2 ? 2 : 1;
            break;
        }
        case RaceCategory::Animal: {
            race.appendageCount = pairOrTriple();
            race.bodyForm = 1;
            const int kind = d(100);
            race.subtype = u8(bandValue(kAnimalSubtype, kind));
            break;
        }
        case RaceCategory::Reptile: {
            const int count = d(10);
            race.appendageCount = u8(bandValue(kReptileCount, count));
            race.bodyForm = 1;
            race.subtype = 5;
            break;
        }
        case RaceCategory::Insect: {
            const int count = d(10);
            race.appendageCount = count == 10 ? manyLimbs() : u8(bandValue(kInsectCount, count));
            race.bodyForm = 1;
            race.subtype = 7;
            break;
        }
        case RaceCategory::Misc:
            race.appendageCount = oddCount();
            miscSubtype(race);
            break;
        case RaceCategory::Exotic: {
            race.appendageCount = oddCount();
            const int kind = d(6);
            const ExoticForm& form = kExoticForms[static_cast<std::size_t>(kind)];
            race.bodyForm = form.bodyForm;
            race.subtype = form.subtype;
            if (form.limbless) race.appendageCount = 0;
            break;
        }
        case RaceCategory::None: break;
    }
    return category;
}

}  // namespace orrimar

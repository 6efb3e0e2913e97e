// Attribute step: the seven attributes, mass class, development level, the
// ratings A to E and the spatial age.
//
// Form-code-keyed attribute adjustments are not applied: this step runs
// before the form code is chosen, when it is still 0, and a later
// re-adjustment would move attributes after the development level and
// ratings were derived from them. Attributes therefore stay 3..20 except
// for the order step's raises.
#include <climits>

#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"
#include "common/rounding.h"

namespace orrimar {

namespace {

struct DieBand {
    int upTo;
    int sides;
    int base;
};

template <std::size_t N>
constexpr const DieBand& dieBandOf(const std::array<DieBand, N>& bands, int value) {
    for (const DieBand& band : bands) {
        if (value <= band.upTo) return band;
    }
    return bands[N - 1];
}

// Mass class by mass. Masses above 1000 (only high gravity makes them, up to
// 1100) stay in the heaviest band.
constexpr std::array<DieBand, 11> kMassClass{{
    {10, 3, 0},
    {25, 3, 2},
    {50, 3, 5},
    {70, 4, 7},
    {90, 4, 8},
    {125, 4, 9},
    {150, 4, 11},
    {200, 4, 13},
    {300, 4, 15},
    {500, 4, 17},
    {INT_MAX, 6, 20},
}};

// Development level by d1000 + 7 x attribute 4 + 2 x attribute 2 + attribute 6.
constexpr std::array<Band, 10> kTechLevel{{
    {300, 1},
    {500, 2},
    {640, 3},
    {770, 4},
    {870, 5},
    {970, 6},
    {1060, 7},
    {1180, 8},
    {1195, 9},
    {INT_MAX, 10},
}};

// Rating C by d60 + 5 x development level.
constexpr std::array<DieBand, 7> kRatingC{{
    {10, 5, 1},
    {25, 10, 2},
    {45, 15, 4},
    {70, 30, 8},
    {80, 60, 12},
    {90, 100, 25},
    {INT_MAX, 200, 50},
}};

constexpr int clampRating(int value) { return value < 1 ? 1 : (value > 20 ? 20 : value); }

int roundOf(long double value) { return static_cast<int>(roundEven(value)); }

int spatialAgeFor(const TAlienRec& race) {
    const int attribute4 = race.attributes[3];
    const int a = 20 - attribute4;
    switch (race.techLevel) {
        case 6: {
            const int roll = d(3);
            return roll + roundOf(a * 0.2L);
        }
        case 7: {
            const int roll = d(10);
            return roll + roundOf(a * 0.25L);
        }
        case 8: {
            const int roll = d(5, 6);
            return roll + roundOf(a / 3.0L);
        }
        case 9: {
            const int roll = d(5, 10);
            return roll + roundOf(a * 0.5L) + 5;
        }
        case 10: {
            const int roll = d(100);
            return roll + 30 - attribute4;
        }
        default: return 0;
    }
}

}  // namespace

void RollAttributes(TAlienRec& race, const RaceRun& run, std::uint8_t maxSpatialAge) {
    for (auto& attribute : race.attributes) {
        const int roll = d(18);
        attribute = u8(roll + 2);
    }
    const int attribute2 = race.attributes[1];
    const int attribute4 = race.attributes[3];
    const int attribute5 = race.attributes[4];
    const int attribute6 = race.attributes[5];

    const DieBand& massBand = dieBandOf(kMassClass, race.mass);
    const int massRoll = d(massBand.sides);
    race.massClass = u8(massRoll + massBand.base);

    const int progress = d(1000);
    race.techLevel = u8(bandValue(kTechLevel, progress + 7 * attribute4 + 2 * attribute2 + attribute6));
    // Sulphuric-acid skies hold a race back to the first two levels.
    if (run.composition == 19 && race.techLevel > 2) {
        const int level = d(2);
        race.techLevel = u8(level);
    }

    const int spreadA = d(4, 4);
    race.ratingA = u8(spreadA + race.techLevel - 4);
    const int spreadB = d(3, 3);
    int ratingB = spreadB + 5;

    const int reach = d(60);
    const DieBand& cBand = dieBandOf(kRatingC, reach + 5 * race.techLevel);
    const int cRoll = d(cBand.sides);
    race.ratingC = u8(cRoll + cBand.base);

    if (race.habitat == 5) {
        ratingB += 3;
    } else if (race.mass < 10) {
        ratingB -= 2;
    }
    race.ratingB = u8(ratingB);

    const int dRoll = d(25);
    race.ratingD = u8(clampRating(dRoll - roundOf(attribute4 * 0.5L)));

    const int eRoll = d(12);
    race.ratingE = u8(clampRating(eRoll + roundOf((40 - attribute6 - attribute5) * 0.2L)));

    const int age = spatialAgeFor(race);
    race.spatialAge = u8(age > maxSpatialAge ? maxSpatialAge : age);
}

}  // namespace orrimar

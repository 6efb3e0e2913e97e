// Order step: the race's order code by development level, refined for a
// few codes, with the attribute and rating E shifts two of them bring.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"

namespace orrimar {

namespace {

// d20 refinement of order code 9; 0 marks "stays 9" and 13 is handled apart.
constexpr std::array<Band, 9> kNineRefined{
    {{2, 15}, {4, 16}, {6, 17}, {8, 18}, {10, 19}, {11, 20}, {12, 25}, {13, 24}, {20, 0}}};

std::uint8_t raiseAttribute(std::uint8_t value, int by) { return u8(value + by > 20 ? 20 : value + by); }
std::uint8_t lowerRating(std::uint8_t value, int by) { return u8(value - by < 1 ? 1 : value - by); }

}  // namespace

void RollOrder(TAlienRec& race) {
    const int level = race.techLevel;
    int order = 0;
    if (level <= 2) {
        order = d(7);
    } else if (level <= 6) {
        const int roll = d(10);
        order = roll + 4;
    } else {
        const int roll = d(8);
        order = roll + 6;
    }

    if (order == 9) {
        const int roll = d(20);
        const int refined = bandValue(kNineRefined, roll);
        if (refined == 24) {
            if (level >= 6) order = 24;
        } else if (refined != 0) {
            order = refined;
        }
    }

    const std::uint8_t attribute1 = race.attributes[0];
    const std::uint8_t attribute3 = race.attributes[2];
    const std::uint8_t attribute6 = race.attributes[5];
    if (order == 14 && attribute1 < 6 && attribute3 >= 15) order = 22;
    if (order == 8 && attribute6 < 6) order = 23;
    if (order == 13) {
        const int roll = d(100);
        if (roll < 5) order = 21;
    }
    race.orderCode = u8(order);

    if (order == 3) {
        race.attributes[5] = raiseAttribute(race.attributes[5], 2);
        race.ratingE = lowerRating(race.ratingE, 2);
    } else if (order == 21) {
        race.ratingE = lowerRating(race.ratingE, 2);
        race.attributes[5] = raiseAttribute(race.attributes[5], 3);
    }
}

}  // namespace orrimar

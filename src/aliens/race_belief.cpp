// Last step: belief and devotion (aspects E and F), which follow the
// development level and the order code.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"

namespace orrimar {

void RollClosingAspects(TAlienRec& race) {
    int aspectE = 0;
    if (race.techLevel <= 2) {
        aspectE = d(5);
    } else {
        const int roll = d(8);
        aspectE = roll + 2;
    }
    if (aspectE == 4) {
        const int roll = d(3);
        if (roll == 1) aspectE = 11;
    }
    if (race.orderCode == 7 && aspectE >= 7) aspectE = 10;
    race.aspectE = u8(aspectE);

    if (aspectE == 8 || aspectE == 9) {
        race.aspectF = 0;
    } else if (race.orderCode == 7) {
        const int roll = d(5);
        race.aspectF = u8(roll + 5);
    } else {
        const int roll = d(10);
        race.aspectF = u8(roll);
    }
}

}  // namespace orrimar

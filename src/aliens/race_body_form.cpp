// Body-form step: a plain-bodied race may turn into one of the other body
// forms, more readily away from nitrogen/oxygen air; some airs favour
// floating or gas-borne forms.
#include "aliens/race_steps.h"
#include "aliens/race_tables.h"
#include "common/random.h"

namespace orrimar {

namespace {

constexpr std::uint8_t kNitrogenOxygen = 2;

void changeBodyForm(TAlienRec& race) {
    const int roll = d(10);
    if (roll <= 2) {
        race.bodyForm = 2;
        race.subtype = 8;
    } else if (roll <= 6) {
        race.bodyForm = 3;
    } else {
        race.bodyForm = 4;
    }
}

}  // namespace

void RollBodyForm(TAlienRec& race, const RaceRun& run) {
    const bool plain = race.bodyForm == 1;
    const bool breathable = run.composition == kNitrogenOxygen;
    const int third = d(3);
    if (third == 1 && plain && !breathable) {
        changeBodyForm(race);
    } else {
        // Under a breathable sky the change is a one-in-ten chance instead.
        const int tenth = d(10);
        if (tenth == 1 && plain && breathable) changeBodyForm(race);
    }

    if (run.composition == 11) {
        const int roll = d(3);
        if (roll >= 2) {
            race.subtype = 8;
            race.bodyForm = 2;
        }
    } else if (run.composition == 18 || run.composition == 19) {
        const int roll = d(3);
        if (roll >= 2) {
            race.subtype = 8;
            race.bodyForm = 3;
        }
    }
}

}  // namespace orrimar

// The form-code step driven directly on prepared races.
#include <gtest/gtest.h>

#include "aliens/race_steps.h"
#include "common/random.h"
#include "race_test_support.h"

namespace orrimar {
namespace {

TAlienRec plainRace(std::uint8_t subtype, std::uint8_t bodyForm = 1) {
    TAlienRec race{};
    race.habitat = 1;
    race.subtype = subtype;
    race.bodyForm = bodyForm;
    race.appendageCount = 2;
    race.appendageTypes[0] = 4;
    race.appendageTypes[1] = 3;
    race.aspectA = 2;
    race.aspectB = 3;
    race.aspectC = 3;
    race.height = 150;
    return race;
}

RaceRun airOf(std::uint8_t composition, bool disable) {
    RaceRun run;
    run.composition = composition;
    run.totalAlienDisable = disable;
    return run;
}

TEST(RaceFormCode, FixedSubtypesAndTheStartingCode) {
    for (std::uint64_t seed = 0; seed < 200; ++seed) {
        seedRandom(seed);
        TAlienRec tenth = plainRace(10);
        RaceFormCodeStep(tenth, airOf(2, true));
        EXPECT_EQ(tenth.formCode, 18);

        seedRandom(seed);
        TAlienRec twelfth = plainRace(12);
        RaceFormCodeStep(twelfth, airOf(2, true));
        EXPECT_EQ(twelfth.formCode, 8);

        // Subtype 11 keeps the starting code: 12 with T, 13 without.
        seedRandom(seed);
        TAlienRec withT = plainRace(11);
        RaceFormCodeStep(withT, airOf(2, true));
        EXPECT_EQ(withT.formCode, 12);
        seedRandom(seed);
        TAlienRec withoutT = plainRace(11);
        RaceFormCodeStep(withoutT, airOf(2, false));
        EXPECT_EQ(withoutT.formCode, 13);
    }
}

TEST(RaceFormCode, WithoutTMostCodesFallBackTo13UnlessPlainUnderBreathableAir) {
    int kept = 0;
    for (std::uint64_t seed = 0; seed < 500; ++seed) {
        // Reptiles roll 3 (disable class 1) on d12 >= 3.
        seedRandom(seed);
        TAlienRec hostile = plainRace(5);
        RaceFormCodeStep(hostile, airOf(7, false));
        EXPECT_EQ(hostile.formCode, 13);

        seedRandom(seed);
        TAlienRec breathable = plainRace(5);
        RaceFormCodeStep(breathable, airOf(2, false));
        EXPECT_TRUE(breathable.formCode == 3 || breathable.formCode == 13) << int(breathable.formCode);
        kept += breathable.formCode == 3;
    }
    EXPECT_GT(kept, 300);
}

TEST(RaceFormCode, LimblessBodies) {
    for (std::uint64_t seed = 0; seed < 300; ++seed) {
        // A floating body form 5 is code 24 and loses its limbs.
        seedRandom(seed);
        TAlienRec floater = plainRace(11, 5);
        floater.appendageCount = 4;
        RaceFormCodeStep(floater, airOf(2, true));
        EXPECT_EQ(floater.formCode, 24);
        EXPECT_EQ(floater.appendageCount, 0);

        // A humanoid with no limbs is code 15 and grows 0..4 of type 7.
        seedRandom(seed);
        TAlienRec bare = plainRace(1);
        bare.appendageCount = 0;
        RaceFormCodeStep(bare, airOf(2, true));
        EXPECT_EQ(bare.formCode, 15);
        EXPECT_LE(bare.appendageCount, 4);
        for (std::size_t e = 0; e < bare.appendageCount; ++e) EXPECT_EQ(bare.appendageTypes[e], 7);

        // A limbless reptile that rolled 3 becomes 16 with one appendage.
        seedRandom(seed);
        TAlienRec reptile = plainRace(5);
        reptile.appendageCount = 0;
        RaceFormCodeStep(reptile, airOf(2, true));
        EXPECT_TRUE(reptile.formCode == 16 || reptile.formCode == 12) << int(reptile.formCode);
        EXPECT_EQ(reptile.appendageCount, reptile.formCode == 16 ? 1 : 0);
    }
}

TEST(RaceFormCode, AllType6LimbsMakeCode26AndMarkSwimmers) {
    seedRandom(9);
    TAlienRec race = plainRace(11);
    race.habitat = 3;
    race.appendageCount = 2;
    race.appendageTypes[0] = 6;
    race.appendageTypes[1] = 6;
    RaceFormCodeStep(race, airOf(2, true));
    EXPECT_EQ(race.formCode, 26);
    EXPECT_TRUE(test::flag(race.flagSet3, 9));
}

}  // namespace
}  // namespace orrimar

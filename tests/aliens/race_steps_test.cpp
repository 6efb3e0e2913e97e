// Single generation steps driven directly: habitat, category, size and the
// appendage step, each against the world facts that steer it.
#include <gtest/gtest.h>

#include "aliens/race_steps.h"
#include "common/random.h"
#include "race_test_support.h"

namespace orrimar {
namespace {

TEST(RaceHabitat, GravityAboveTwoGroundsFlyersButTwoItselfDoesNot) {
    int flyers = 0;
    for (std::uint64_t seed = 0; seed < 3000; ++seed) {
        TAlienRec atTwo{};
        seedRandom(seed);
        RollHabitat(atTwo, 10, 2.0F);
        TAlienRec above{};
        seedRandom(seed);
        RollHabitat(above, 10, 2.01F);
        if (atTwo.habitat == 5) {
            ++flyers;
            EXPECT_EQ(above.habitat, 1);
        } else {
            EXPECT_EQ(above.habitat, atTwo.habitat);
        }
        EXPECT_GE(atTwo.habitat, 1);
        EXPECT_LE(atTwo.habitat, 5);
    }
    // d100 95..100: about 6 %.
    EXPECT_GT(flyers, 120);
    EXPECT_LT(flyers, 250);
}

TEST(RaceHabitat, AridAndOceanWorlds) {
    int aquatic = 0;
    for (std::uint64_t seed = 0; seed < 2000; ++seed) {
        TAlienRec arid{};
        seedRandom(seed);
        RollHabitat(arid, 8, 1.0F);
        EXPECT_NE(arid.habitat, 4);

        TAlienRec ocean{};
        seedRandom(seed);
        RollHabitat(ocean, 12, 1.0F);
        EXPECT_TRUE(ocean.habitat == 3 || ocean.habitat == 4) << int(ocean.habitat);
        aquatic += ocean.habitat == 3;
    }
    // d10 1..3 gives 3, the rest 4.
    EXPECT_GT(aquatic, 500);
    EXPECT_LT(aquatic, 700);
}

TEST(RaceCategory, ColdWorldsNeverGetMiscOrExoticWithDefaultThresholds) {
    test::ThresholdGuard guard;
    alienThresholds() = AlienThresholds{};
    int perCategory[7] = {};
    for (std::uint64_t seed = 0; seed < 4000; ++seed) {
        seedRandom(seed);
        RaceRun run;
        run.temperature = -20;
        RollRangeFlag(run);
        TAlienRec race{};
        const RaceCategory category = RollCategory(race, run);
        ++perCategory[static_cast<int>(category)];
        EXPECT_EQ(race.bodyForm, 1);
        EXPECT_LE(race.subtype, 7);
    }
    EXPECT_EQ(perCategory[static_cast<int>(RaceCategory::Misc)], 0);
    EXPECT_EQ(perCategory[static_cast<int>(RaceCategory::Exotic)], 0);
    EXPECT_EQ(perCategory[static_cast<int>(RaceCategory::None)], 0);
    // d80 against 20/50/65/80: a quarter Human.
    EXPECT_NEAR(perCategory[0], 1000, 120);
}

TEST(RaceCategory, HumanWeightZeroLeavesNoHumansAndAGapAbove80) {
    test::ThresholdGuard guard;
    alienThresholds().t = {0, 30, 45, 60, 75, 80};
    for (int roll = 1; roll <= 80; ++roll) {
        EXPECT_NE(CategoryOfRoll(roll), RaceCategory::Human) << roll;
        EXPECT_NE(CategoryOfRoll(roll), RaceCategory::None) << roll;
    }
    for (int roll = 81; roll <= 100; ++roll) EXPECT_EQ(CategoryOfRoll(roll), RaceCategory::None) << roll;

    // Whole races: a roll in the gap leaves the body plan empty, and the
    // rest of the race is still rolled.
    int uncategorised = 0;
    for (std::uint64_t seed = 0; seed < 3000; ++seed) {
        seedRandom(seed);
        AlienWorld world;
        world.temperature = 20;
        world.composition = 2;
        RaceRun run;
        run.temperature = world.temperature;
        TAlienRec probe{};
        RollHabitat(probe, world.worldType, world.gravity);
        RollRangeFlag(run);
        const RaceCategory category = RollCategory(probe, run);
        EXPECT_NE(category, RaceCategory::Human);

        seedRandom(seed);
        const TAlienRec race = RollAlienRace(world, 1, false, 50);
        if (category == RaceCategory::None) {
            ++uncategorised;
            EXPECT_EQ(race.subtype, 0);
            EXPECT_EQ(race.bodyForm, 0);
            EXPECT_EQ(race.appendageCount, 0);
            EXPECT_GE(race.techLevel, 1);
            EXPECT_GE(race.orderCode, 1);
        }
    }
    // Range flag clear (about 20 %) and d80 + 20 above 80 (25 %).
    EXPECT_GT(uncategorised, 90);
}

TEST(RaceSize, GravityStretchesOrSquashes) {
    std::int16_t mass = 80;
    std::int16_t height = 150;
    AdjustSizeForGravity(mass, height, 0.5F);
    EXPECT_EQ(height, 180);
    EXPECT_EQ(mass, 72);

    mass = 80;
    height = 150;
    AdjustSizeForGravity(mass, height, 0.8F);  // 0.8f lies just above 0.8
    EXPECT_EQ(mass, 80);
    EXPECT_EQ(height, 150);
    AdjustSizeForGravity(mass, height, 1.3F);  // 1.3f lies just below 1.3
    EXPECT_EQ(mass, 80);
    EXPECT_EQ(height, 150);
    AdjustSizeForGravity(mass, height, 0.79F);
    EXPECT_EQ(height, 180);

    mass = 1000;
    height = 750;
    AdjustSizeForGravity(mass, height, 2.5F);
    EXPECT_EQ(mass, 1100);
    EXPECT_EQ(height, 675);

    // Rounding, not truncation: 10 x 1.2 = 12, and 5 x 0.9 = 4.5 goes to the
    // even 4.
    mass = 5;
    height = 10;
    AdjustSizeForGravity(mass, height, 0.5F);
    EXPECT_EQ(mass, 4);
    EXPECT_EQ(height, 12);
}

// Habitat 5 races: the wings land in entry 3 unless a later entry drew
// them first.
TEST(RaceAppendages, FlyersAlwaysEndUpWinged) {
    int laterWings = 0;
    for (std::uint64_t seed = 0; seed < 4000; ++seed) {
        TAlienRec race{};
        race.habitat = 5;
        race.appendageCount = static_cast<std::uint8_t>(seed % 11);
        const std::uint8_t before = race.appendageCount;
        RaceRun run;
        seedRandom(seed);
        RollAppendages(race, run);
        EXPECT_TRUE(run.wings);
        EXPECT_EQ(race.appendageCount, before == 2 ? 3 : before);

        bool winged = false;
        const std::size_t last = race.appendageCount > 3 ? race.appendageCount : 3;
        for (std::size_t entry = 2; entry < last; ++entry) winged = winged || race.appendageTypes[entry] == 1;
        EXPECT_TRUE(winged) << "seed " << seed;
        if (race.appendageTypes[2] != 1) {
            ++laterWings;
            EXPECT_GT(race.appendageCount, 3);
        }
        EXPECT_NE(race.appendageTypes[0], 0);
        EXPECT_NE(race.appendageTypes[1], 0);
    }
    // The naive "entry 3 is always wings" fails for these.
    EXPECT_GT(laterWings, 0);
}

TEST(RaceAppendages, FinsFromTheSecondEntryOnAmphibians) {
    for (std::uint64_t seed = 0; seed < 500; ++seed) {
        TAlienRec race{};
        race.habitat = 4;
        race.appendageCount = 0;
        RaceRun run;
        seedRandom(seed);
        RollAppendages(race, run);
        EXPECT_TRUE(run.fins);
        EXPECT_FALSE(run.wings);
        EXPECT_EQ(race.appendageTypes[1], 2);
        EXPECT_TRUE(race.appendageTypes[0] == 4 || race.appendageTypes[0] == 5);
        EXPECT_EQ(race.appendageTypes[2], 0);
    }
}

TEST(RaceAppendages, LimbPatternFlagsFollowThePickCount) {
    int flag8WithoutLimbs = 0;
    int flag13 = 0;
    for (std::uint64_t seed = 0; seed < 20000; ++seed) {
        TAlienRec race{};
        race.habitat = 1;
        race.appendageCount = 0;
        RaceRun run;
        seedRandom(seed);
        RollAppendages(race, run);
        ASSERT_GE(run.pickCount, 1);
        ASSERT_LE(run.pickCount, 6);
        EXPECT_FALSE(test::empty(race.flagSet1));
        const auto& set = race.flagSet3;
        if (run.pickCount == 1) {
            EXPECT_EQ(set[0], 0);
            EXPECT_EQ(set[1], 0x04);  // flag 11 alone
        }
        EXPECT_TRUE(test::flag(set, 11) || test::flag(set, 12) || test::flag(set, 13) || test::flag(set, 8));
        if (test::flag(set, 8)) {
            EXPECT_EQ(run.pickCount, 2);
            ++flag8WithoutLimbs;
        }
        if (test::flag(set, 13)) {
            EXPECT_GE(run.pickCount, 3);
            ++flag13;
        }
        EXPECT_FALSE(test::flag(set, 6) || test::flag(set, 7));
    }
    // Flag 8 comes from the picks even with no appendages at all.
    EXPECT_GT(flag8WithoutLimbs, 0);
    EXPECT_GT(flag13, 0);
}

TEST(RaceAppendages, FlagPicksFavourTheFirstTen) {
    int low = 0;
    int high = 0;
    seedRandom(77);
    for (int i = 0; i < 6000; ++i) {
        std::array<std::uint8_t, 2> set{};
        PickFlag(set);
        int flag = 0;
        for (int f = 1; f <= 16; ++f) {
            if (test::flag(set, f)) {
                EXPECT_EQ(flag, 0);
                flag = f;
            }
        }
        ASSERT_GE(flag, 1);
        if (flag <= 10) ++low;
        if (flag == 16) ++high;
    }
    // 10/11 of picks land in 1..10; flag 16 gets 1/66.
    EXPECT_NEAR(low, 5454, 150);
    EXPECT_NEAR(high, 91, 40);
}

}  // namespace
}  // namespace orrimar

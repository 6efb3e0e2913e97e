#include "generation/world_features.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "common/bit_flags.h"
#include "common/random.h"
#include "records/world_types.h"
#include "world_rules_support.h"

namespace orrimar {
namespace {

using testing::seedWhere;

// A quiet world: volatile-rich (so no impact rolls), no moons, round orbit,
// slow tides, middling feature rating, nitrogen air.
struct World {
    std::uint8_t atmosphereClass = 3;
    std::uint8_t worldType = world::kTerran;
    std::uint8_t moonCount = 0;
    std::uint8_t surfaceClass = 5;
    std::uint8_t water = 40;
    std::uint8_t featureRating = 20;
    std::uint8_t density = 5;
    std::uint8_t composition = 2;
    std::int32_t rotation = 24;
    std::uint8_t worldFlags = 1;  // volatile-rich
    bool twin = false;
    bool closeTwin = false;
    std::uint16_t eccentricity = 0;
    std::int16_t temperature = 15;
    int swing = 5;
    float gravity = 1.0F;
    float mass = 1.0F;
    std::uint8_t resourceRating2 = 0;
    std::uint8_t cloud = 50;
};

struct Outcome {
    std::array<std::uint8_t, 5> features{};
    std::uint8_t composition = 0;
    int life = 0;
    bool has(int byte, int bit) const { return testBit(features[static_cast<std::size_t>(byte - 1)], bit); }
};

Outcome roll(const World& w) {
    Outcome o;
    o.composition = w.composition;
    const std::array<std::uint8_t, 5> resources = {50, 50, 50, 50, 50};
    o.life = RollWorldFeatures(w.atmosphereClass, w.worldType, w.moonCount, w.surfaceClass, w.water, w.featureRating,
                               w.density, o.composition, resources, w.rotation, w.worldFlags, w.twin, w.closeTwin,
                               w.eccentricity, w.temperature, w.swing, w.gravity, w.mass, o.features, w.resourceRating2,
                               w.cloud);
    return o;
}

// Share of rolls of `w` that satisfy `pred`.
template <class Pred>
double share(const World& w, Pred pred, int calls = 200000) {
    seedRandom(31);
    int hits = 0;
    for (int i = 0; i < calls; ++i) hits += pred(roll(w)) ? 1 : 0;
    return static_cast<double>(hits) / calls;
}

World randomWorld(std::mt19937& inputs) {
    auto pick = [&inputs](int low, int high) { return std::uniform_int_distribution<int>(low, high)(inputs); };
    World w;
    w.atmosphereClass = static_cast<std::uint8_t>(pick(1, 6));
    w.worldType = static_cast<std::uint8_t>(pick(1, 23));
    w.moonCount = static_cast<std::uint8_t>(pick(0, 3));
    w.surfaceClass = static_cast<std::uint8_t>(pick(1, 6));
    w.water = static_cast<std::uint8_t>(pick(0, 100));
    w.featureRating = static_cast<std::uint8_t>(pick(0, 90));
    w.density = static_cast<std::uint8_t>(pick(2, 12));
    w.composition = static_cast<std::uint8_t>(pick(1, 21));
    w.rotation = pick(5, 2000);
    w.worldFlags = static_cast<std::uint8_t>(pick(0, 3));
    w.eccentricity = static_cast<std::uint16_t>(pick(0, 300));
    w.temperature = static_cast<std::int16_t>(pick(-200, 150));
    w.swing = pick(0, 100);
    w.mass = static_cast<float>(pick(1, 100)) * 0.05F;
    w.resourceRating2 = static_cast<std::uint8_t>(pick(1, 40));
    w.cloud = static_cast<std::uint8_t>(pick(0, 100));
    return w;
}

TEST(RollWorldFeatures, FlagRulesHoldOnEveryWorld) {
    std::mt19937 inputs(5);
    seedRandom(8);
    const std::set<int> canBearRaces = {world::kArid,  world::kSteppe,  world::kTerran, world::kJungle,
                                        world::kOcean, world::kGlacier, world::kTundra};
    std::set<int> racesOn;
    for (int i = 0; i < 200000; ++i) {
        const World w = randomWorld(inputs);
        const Outcome o = roll(w);
        ASSERT_FALSE(o.has(3, 7) && o.has(3, 8));
        if (o.has(1, 4)) {
            ASSERT_TRUE(o.has(3, 8));
        }
        if (o.composition == 6 || o.composition == 20) {
            ASSERT_TRUE(o.has(3, 8));
        }
        if (o.has(4, 8)) {
            ASSERT_TRUE(o.has(4, 6));
        }
        if (o.has(4, 6) || o.has(4, 4)) {
            ASSERT_GE(o.life, 1);
        }
        if (o.has(4, 6)) {
            ASSERT_FALSE(o.has(3, 3));
        }
        // Life bands: 48..50, 51..55, 56..74 and 75 on.
        ASSERT_EQ(o.has(5, 2), o.life >= 48 && o.life <= 50);
        ASSERT_EQ(o.has(5, 3), o.life >= 51 && o.life <= 55);
        ASSERT_EQ(o.has(3, 4), o.life >= 56 && o.life <= 74);
        ASSERT_EQ(o.has(3, 3), o.life >= 75);
        if (o.has(3, 3)) racesOn.insert(w.worldType);
        ASSERT_EQ(o.has(4, 1), w.twin);
        ASSERT_EQ(o.has(3, 1), testBit(w.worldFlags, 2));
        ASSERT_EQ(o.has(2, 6), w.cloud > 90);
        ASSERT_EQ(o.has(2, 7), w.featureRating < 5);
        ASSERT_EQ(o.has(3, 2), w.featureRating > 50);
        ASSERT_EQ(o.has(2, 3), w.eccentricity > 250);
        if (testBit(w.worldFlags, 1) || w.worldType == world::kOcean) {
            ASSERT_FALSE(o.has(1, 8));
        }
    }
    // Native races arise on the kind worlds only (a Glacier's chance, one
    // roll in a hundred on its kindest terms, is shown below).
    for (const int type : racesOn) EXPECT_TRUE(canBearRaces.count(type)) << "type " << type;
    EXPECT_GE(racesOn.size(), 6U);
}

TEST(RollWorldFeatures, HarshWorldsNeverReachARace) {
    World w;
    w.featureRating = 3;  // the kindest rating: +10
    for (const std::uint8_t type : {world::kRock, world::kGasGiant, world::kChunk}) {
        w.worldType = type;
        seedRandom(type);
        int best = -1000;
        for (int i = 0; i < 20000; ++i) best = std::max(best, roll(w).life);
        EXPECT_EQ(best, -200 + 10 + 100) << "type " << int{type};
    }
    // At best (+10 rating, nitrogen air, no hazard, d100 of 100): a Glacier
    // just reaches a race, the others fall short.
    for (const auto& [type, most] : {std::pair<std::uint8_t, int>{world::kGlacier, 75},
                                     {world::kFailedCore, 65},
                                     {world::kDesert, 70},
                                     {world::kPreGarden, 50}}) {
        w.worldType = type;
        seedRandom(type);
        int best = -1000;
        bool race = false;
        for (int i = 0; i < 20000; ++i) {
            const Outcome o = roll(w);
            best = std::max(best, o.life);
            race = race || o.has(3, 3);
        }
        EXPECT_EQ(best, most) << "type " << int{type};
        EXPECT_EQ(race, type == world::kGlacier);
    }
}

// The score a quiet world's flags stand for (no moons, round orbit, slow
// tides, volatile-rich): every hazard flag and the world's own terms.
int scoreOf(const Outcome& o, const World& w, int typeScore) {
    int score = 0;
    score -= o.has(1, 2) ? 5 : 0;
    score -= o.has(1, 3) ? 5 : 0;
    score -= o.has(1, 4) ? 15 : 0;
    score -= o.has(1, 5) ? 5 : 0;
    score -= o.has(1, 6) ? 5 : 0;
    score -= o.has(1, 7) ? 20 : 0;
    score -= o.has(2, 2) ? 10 : 0;
    score -= w.featureRating > 50 ? 15 : 0;
    score += w.featureRating < 5 ? 10 : 0;
    score -= o.composition != 2 ? 10 : 0;
    return score + typeScore;
}

TEST(RollWorldFeatures, LifeIsTheScoreOfTheFlagsPlusAHundredSidedDie) {
    const std::vector<std::pair<std::uint8_t, int>> typeScores = {
        {world::kArid, 10},         {world::kSteppe, 10},       {world::kTundra, 10},      {world::kTerran, 25},
        {world::kJungle, 25},       {world::kOcean, 25},        {world::kFailedCore, -45}, {world::kDesert, -40},
        {world::kGlacier, -35},     {world::kPreGarden, -60},   {world::kRock, -200},      {world::kHotHouse, -200},
        {world::kPostGarden, -200}, {world::kBrownDwarf, -200},
    };
    seedRandom(12);
    std::set<int> dice;
    for (const auto& [type, typeScore] : typeScores) {
        for (const int rating : {3, 20, 60}) {
            for (const std::uint8_t composition : {std::uint8_t{2}, std::uint8_t{3}}) {
                for (const std::uint8_t cls : {std::uint8_t{2}, std::uint8_t{4}, std::uint8_t{6}}) {
                    World w;
                    w.worldType = type;
                    w.featureRating = static_cast<std::uint8_t>(rating);
                    w.composition = composition;
                    w.atmosphereClass = cls;
                    w.resourceRating2 = 30;
                    for (int i = 0; i < 600; ++i) {
                        const Outcome o = roll(w);
                        const int die = o.life - scoreOf(o, w, typeScore);
                        ASSERT_GE(die, 1) << "type " << int{type};
                        ASSERT_LE(die, 100) << "type " << int{type};
                        dice.insert(die);
                    }
                }
            }
        }
    }
    EXPECT_EQ(dice.size(), 100U);
}

TEST(RollWorldFeatures, AirlessWorldSetsDisasterOnATen) {
    World w;
    w.atmosphereClass = 6;
    // Airless, volatile-rich, no moons: d75, d50, then the d10 of the disaster.
    seedWhere([] {
        static_cast<void>(d(75));
        static_cast<void>(d(50));
        return d(10) == 1;
    });
    const Outcome hit = roll(w);
    EXPECT_TRUE(hit.has(1, 4));
    EXPECT_TRUE(hit.has(3, 8));
    seedWhere([] {
        static_cast<void>(d(75));
        static_cast<void>(d(50));
        const int disaster = d(10);
        static_cast<void>(d(100));
        return disaster == 2 && d(200) != 1;
    });
    EXPECT_FALSE(roll(w).has(1, 4));
    // About 1/10 + 9/10 × 1/200 of airless worlds.
    EXPECT_NEAR(share(w, [](const Outcome& o) { return o.has(1, 4); }), 0.1045, 0.003);
}

TEST(RollWorldFeatures, DisasterBelowAThirdOfResourceTwo) {
    World w;
    w.resourceRating2 = 32;  // d100 below 10.67: 10 faces
    EXPECT_NEAR(share(w, [](const Outcome& o) { return o.has(1, 4); }), 0.10 + 0.90 / 200, 0.003);
    w.resourceRating2 = 30;  // below 10: 9 faces
    EXPECT_NEAR(share(w, [](const Outcome& o) { return o.has(1, 4); }), 0.09 + 0.91 / 200, 0.003);
}

TEST(RollWorldFeatures, RareFlagShares) {
    const World quiet;
    EXPECT_NEAR(share(quiet, [](const Outcome& o) { return o.has(1, 3); }), 1.0 / 75, 0.0015);
    EXPECT_NEAR(share(quiet, [](const Outcome& o) { return o.has(2, 1); }), 1.0 / 50, 0.0015);
    EXPECT_NEAR(share(quiet, [](const Outcome& o) { return o.has(1, 7); }), 1.0 / 200, 0.0006);
    EXPECT_NEAR(share(quiet, [](const Outcome& o) { return o.has(4, 3); }), 0.0, 1e-12);
    World thick = quiet;
    thick.atmosphereClass = 2;
    EXPECT_NEAR(share(thick, [](const Outcome& o) { return o.has(4, 3); }), 0.1, 0.003);
    // Weather: d30, else d6 on a low rating.
    thick.featureRating = 4;
    EXPECT_NEAR(share(thick, [](const Outcome& o) { return o.has(1, 5); }), 1.0 / 30 + 29.0 / 30 / 6, 0.003);
    thick.featureRating = 5;
    EXPECT_NEAR(share(thick, [](const Outcome& o) { return o.has(1, 5); }), 1.0 / 30, 0.002);
    World dry = quiet;
    dry.worldFlags = 0;
    EXPECT_NEAR(share(dry, [](const Outcome& o) { return o.has(1, 8); }), 1.0 / 50, 0.0015);
    World tidal = quiet;
    tidal.moonCount = 1;
    tidal.water = 51;
    EXPECT_NEAR(share(tidal, [](const Outcome& o) { return o.has(2, 8); }), 1.0 / 6, 0.004);
    tidal.water = 50;
    EXPECT_NEAR(share(tidal, [](const Outcome& o) { return o.has(2, 8); }), 0.0, 1e-12);
    World rugged = quiet;
    rugged.featureRating = 51;
    EXPECT_NEAR(share(rugged, [](const Outcome& o) { return o.has(2, 5); }), 0.5, 0.004);
}

TEST(RollWorldFeatures, ImpactStripsTheAtmosphere) {
    World w;
    w.worldFlags = 0;
    w.moonCount = 2;
    w.composition = 3;
    // d75 of 1, then 2d10 under 7 (15 of 100 sums): 0.002 of such worlds.
    const double stripped = share(w, [](const Outcome& o) {
        if (o.composition == 11) {
            EXPECT_TRUE(o.has(1, 1) && o.has(1, 2));
        }
        return o.composition == 11;
    });
    EXPECT_NEAR(stripped, 0.15 / 75, 0.0004);
    EXPECT_NEAR(share(w, [](const Outcome& o) { return o.has(1, 1); }), 1.0 / 75, 0.0015);
    for (const auto& [before, after] : {std::pair<int, int>{5, 18}, {9, 14}, {4, 4}}) {
        w.composition = static_cast<std::uint8_t>(before);
        std::set<int> seen;
        share(
            w,
            [&seen](const Outcome& o) {
                seen.insert(o.composition);
                return false;
            },
            20000);
        EXPECT_EQ(seen, (std::set<int>{before, after}));
    }
    // Thin air cannot be stripped.
    w.atmosphereClass = 5;
    w.composition = 3;
    EXPECT_NEAR(share(w, [](const Outcome& o) { return o.composition != 3; }), 0.0, 1e-12);
}

TEST(RollWorldFeatures, EccentricOrbitTwinsTidesAndWater) {
    World w;
    w.worldFlags = 0;
    seedRandom(9);
    w.eccentricity = 250;
    EXPECT_FALSE(roll(w).has(2, 3));
    w.eccentricity = 251;
    Outcome o = roll(w);
    EXPECT_TRUE(o.has(2, 3));
    EXPECT_TRUE(o.has(1, 1));
    w.worldFlags = 1;
    EXPECT_TRUE(roll(w).has(2, 3));
    EXPECT_FALSE(roll(w).has(1, 1));

    // An eccentric dry world may also lose its air (2d10 under 7, class
    // under 4) besides the plain 1/75 chance.
    w.worldFlags = 0;
    EXPECT_NEAR(share(
                    w, [](const Outcome& r) { return r.has(1, 2); }, 100000),
                0.15 + 0.85 / 75, 0.004);
    w.atmosphereClass = 4;
    EXPECT_NEAR(share(
                    w, [](const Outcome& r) { return r.has(1, 2); }, 100000),
                1.0 / 75, 0.0015);

    World twin;
    twin.closeTwin = true;
    o = roll(twin);
    EXPECT_TRUE(o.has(4, 2));
    EXPECT_FALSE(o.has(4, 1));

    // Tides: density × mass × 0.055, squared, per day of 24 hours; giants
    // by their own formula.
    World tides;
    tides.density = 10;
    tides.mass = 5.0F;  // 2.75² = 7.56
    EXPECT_TRUE(roll(tides).has(2, 5));
    tides.rotation = 48;
    EXPECT_FALSE(roll(tides).has(2, 5));
    tides.worldFlags = 3;  // locked: no day to divide by
    EXPECT_TRUE(roll(tides).has(2, 5));
    World giant;
    giant.worldType = world::kGasGiant;
    giant.density = 3;
    giant.mass = 300.0F;
    giant.rotation = 10;  // 12.4
    EXPECT_TRUE(roll(giant).has(2, 5));
    giant.rotation = 30;  // 4.1
    EXPECT_FALSE(roll(giant).has(2, 5));

    // Water under heat: a hot wet world boils, a dry one is parched.
    World wet;
    wet.water = 60;
    wet.temperature = 30;
    EXPECT_TRUE(roll(wet).has(3, 5));
    wet.temperature = 25;
    EXPECT_FALSE(roll(wet).has(3, 5));
    wet.temperature = 36;
    wet.water = 0;
    EXPECT_TRUE(roll(wet).has(3, 5));
    wet.temperature = 6;
    EXPECT_TRUE(roll(wet).has(3, 6));
    wet.temperature = 5;
    EXPECT_FALSE(roll(wet).has(3, 6));
    wet.temperature = 6;
    wet.surfaceClass = 4;
    EXPECT_FALSE(roll(wet).has(3, 6));
}

TEST(RollWorldFeatures, HeatAndPoisonFlags) {
    World w;
    w.composition = 4;
    w.temperature = 40;
    w.swing = 11;
    EXPECT_GT(share(
                  w, [](const Outcome& o) { return o.has(3, 7); }, 20000),
              0.99);
    w.swing = 10;
    EXPECT_EQ(share(
                  w, [](const Outcome& o) { return o.has(3, 7); }, 20000),
              0.0);
    w.composition = 8;
    w.swing = 50;
    EXPECT_EQ(share(
                  w, [](const Outcome& o) { return o.has(3, 7); }, 20000),
              0.0);
    w.composition = 4;
    w.swing = 61;
    EXPECT_EQ(share(
                  w, [](const Outcome& o) { return o.has(3, 8) && !o.has(3, 7); }, 20000),
              1.0);
}

}  // namespace
}  // namespace orrimar

#include "generation/atmosphere.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "common/random.h"
#include "generation/physics.h"
#include "records/world_types.h"
#include "world_rules_support.h"

namespace orrimar {
namespace {

using testing::CaptureMessages;
using testing::rollsTaken;
using testing::seedWhere;

struct Atmosphere {
    std::uint8_t atmosphereClass = 0;
    float pressure = -1.0F;
    float volatileInventory = -1.0F;
    std::uint8_t retained = 0;
};

// Zone radii of a Sun-like star: inner 8, middle 10, outer 12.
constexpr std::int16_t kInner = 8;
constexpr std::int16_t kMiddle = 10;
constexpr std::int16_t kOuter = 12;

Atmosphere roll(std::int16_t orbit, float mass, float gravity, std::int32_t diameter, bool volatileRich,
                float escapeVelocity, std::int16_t middle = kMiddle) {
    Atmosphere a;
    RollAtmosphere(a.atmosphereClass, kInner, middle, kOuter, orbit, mass, gravity, a.pressure, a.volatileInventory,
                   diameter, volatileRich, escapeVelocity, a.retained);
    return a;
}

constexpr float kEarthEscape = 1.1165e6F;

TEST(RetainedWeight, FormulaAndZeroCases) {
    CaptureMessages capture;
    EXPECT_NEAR(RetainedWeight(10, 10, 1.0e6F), 7.94, 1e-5);
    EXPECT_NEAR(RetainedWeight(10, 40, 1.0e6F), 3.97, 1e-5);  // sqrt(1/4)
    EXPECT_TRUE(capture.sink.messages.empty());

    EXPECT_EQ(RetainedWeight(10, 0, 1.0e6F), 121.0F);
    RetainedWeight(10, 10, 0.0F);
    RetainedWeight(10, 0, 0.0F);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Error", "** Error 4: orbit radius=0"},
        {"Error", "** Error 3: escape_velocity=0 "},
        {"Error", "** Error 3: escape_velocity=0 "},
        {"Error", "** Error 4: orbit radius=0"},
    };
    EXPECT_EQ(capture.sink.messages, expected);
}

TEST(RollAtmosphere, TenEarthMassesAlwaysHoldNineHundredAtmospheres) {
    for (const std::int16_t orbit : {std::int16_t{3}, std::int16_t{10}, std::int16_t{200}}) {
        for (const bool volatileRich : {false, true}) {
            const Atmosphere a = roll(orbit, 10.0F, 2.5F, 27000, volatileRich, 2.4e6F);
            EXPECT_EQ(a.pressure, 900.0F);
            EXPECT_EQ(a.atmosphereClass, 1);
        }
    }
    EXPECT_NE(roll(10, 9.99F, 2.5F, 27000, false, 2.4e6F).pressure, 900.0F);
}

TEST(RollAtmosphere, SmallDenseBodyAtTheMiddleRadiusHoldsNothing) {
    const Bulk bulk = bulkProperties(10, 800);
    EXPECT_NEAR(bulk.escapeVelocity, 7.0e4, 0.02e4);
    EXPECT_GT(RetainedWeight(kMiddle, kMiddle, bulk.escapeVelocity), 1500.0F);

    const Atmosphere a = roll(kMiddle, bulk.mass, bulk.gravity, 800, false, bulk.escapeVelocity);
    EXPECT_EQ(a.retained, 121);
    EXPECT_EQ(a.pressure, 0.0F);
    EXPECT_EQ(a.volatileInventory, 0.0F);
    EXPECT_EQ(a.atmosphereClass, 6);

    std::uint8_t type = 0;
    ClassifyWorld(a.atmosphereClass, type, kInner, kOuter, kMiddle, kMiddle, 800, false);
    EXPECT_EQ(type, world::kChunk);
    EXPECT_EQ(ChooseComposition(a.atmosphereClass, type, kMiddle, bulk.gravity, a.pressure, bulk.escapeVelocity,
                                kMiddle, a.retained),
              1);
}

TEST(RollAtmosphere, RetainedWeightIsTruncatedAndCanBeZero) {
    // A giant far out keeps a weight below 1: it truncates to 0, not 1.
    const Atmosphere giant = roll(100, 300.0F, 3.0F, 150000, true, 6.0e6F);
    EXPECT_EQ(giant.retained, 0);
    EXPECT_EQ(giant.atmosphereClass, 1);
    // At the middle radius the Earth keeps 6.37: truncated to 6.
    EXPECT_EQ(roll(kMiddle, 1.0F, 1.0F, 12756, false, kEarthEscape).retained, 6);
    // No gravity: 121, and the body holds no gas.
    const Atmosphere none = roll(kMiddle, 0.0F, 0.0F, 0, false, 0.0F);
    EXPECT_EQ(none.retained, 121);
    EXPECT_EQ(none.atmosphereClass, 6);
}

TEST(RollAtmosphere, ZeroWeightBecomesOneAndAZeroSpeedIsReported) {
    CaptureMessages capture;
    // A middle radius of 0 makes both the weight and the gas speed 0.
    const Atmosphere a = roll(kMiddle, 1.0F, 1.0F, 12756, false, kEarthEscape, 0);
    EXPECT_EQ(a.retained, 1);
    ASSERT_EQ(capture.sink.messages.size(), 1U);
    EXPECT_EQ(capture.sink.messages[0].first, "Error");
    EXPECT_EQ(capture.sink.messages[0].second, "Error 5: RMS_vel=0");
}

TEST(RollAtmosphere, InventoryByDistanceBand) {
    // Bands at 4 and 15 middle radii; a hundredth from the inner radius on.
    EXPECT_FLOAT_EQ(roll(7, 1.0F, 1.0F, 12750, false, kEarthEscape).volatileInventory, 100.0F);
    EXPECT_FLOAT_EQ(roll(8, 1.0F, 1.0F, 12750, false, kEarthEscape).volatileInventory, 1.0F);
    EXPECT_FLOAT_EQ(roll(40, 1.0F, 1.0F, 12750, false, kEarthEscape).volatileInventory, 1.0F);
    EXPECT_FLOAT_EQ(roll(41, 1.0F, 1.0F, 12750, false, kEarthEscape).volatileInventory, 0.75F);
    EXPECT_FLOAT_EQ(roll(150, 1.0F, 1.0F, 12750, false, kEarthEscape).volatileInventory, 0.75F);
    EXPECT_FLOAT_EQ(roll(151, 2.0F, 1.0F, 12750, false, kEarthEscape).volatileInventory, 0.005F);
}

TEST(RollAtmosphere, EscapeSpeedMustExceedFiveTimesTheGasSpeed) {
    // Gas speed at the middle radius: sqrt(1273 × 24943.23 / 28) × 100.
    const double gasSpeed = std::sqrt(1273.0 * 24943.23 / 28.0) * 100.0;
    const Atmosphere slow = roll(kMiddle, 1.0F, 1.0F, 12750, false, static_cast<float>(gasSpeed * 4.999));
    EXPECT_EQ(slow.volatileInventory, 0.0F);
    EXPECT_EQ(slow.pressure, 0.0F);
    EXPECT_EQ(slow.atmosphereClass, 6);
    EXPECT_EQ(slow.retained, 121);
    EXPECT_GT(roll(kMiddle, 1.0F, 1.0F, 12750, false, static_cast<float>(gasSpeed * 5.001)).volatileInventory, 0.0F);
}

TEST(RollAtmosphere, PressureFactorsInsideTheInnerRadiusAndForVolatileRichBodies) {
    // Inside the inner radius the whole inventory counts, and light-gas
    // holders (weight under 49) get 1.35 times as much.
    const Atmosphere hot = roll(7, 1.0F, 1.0F, 12750, false, kEarthEscape);
    EXPECT_NEAR(hot.pressure, 135.0, 1e-3);
    // Volatile-rich bodies holding 28 or lighter: ten times.
    const Atmosphere rich = roll(kMiddle, 1.0F, 0.1F, 12750, true, kEarthEscape);
    EXPECT_NEAR(rich.pressure, 1.0, 1e-6);
    EXPECT_NEAR(roll(kMiddle, 1.0F, 0.1F, 12750, false, kEarthEscape).pressure, 0.1, 1e-7);
}

TEST(RollAtmosphere, ClassBandsByPressure) {
    // With diameter 12750, mass 1 and an inventory of 1 the pressure equals
    // the gravity, so the gravity sets the pressure.
    const std::vector<std::pair<float, int>> cases = {
        {5.0F, 1},  {4.999F, 2}, {1.5F, 2},   {1.499F, 3}, {0.66F, 3},
        {0.64F, 4}, {0.2F, 4},   {0.199F, 5}, {0.001F, 5}, {0.00099F, 6},
    };
    for (const auto& [gravity, expected] : cases) {
        const Atmosphere a = roll(kMiddle, 1.0F, gravity, 12750, false, kEarthEscape);
        EXPECT_EQ(a.pressure, gravity);
        EXPECT_EQ(a.atmosphereClass, expected) << "pressure " << gravity;
        EXPECT_EQ(a.retained, expected == 6 ? 121 : 6);
    }
}

TEST(ClassifyWorld, TableRowsAndSizeOverrides) {
    struct Case {
        int atmosphereClass;
        bool volatileRich;
        std::int16_t orbit;
        std::int32_t diameter;
        std::uint8_t expected;
    };
    const std::vector<Case> cases = {
        {1, true, 5, 5000, world::kGasGiant},     {1, false, 8, 5000, world::kHotHouse},
        {1, false, 9, 5000, world::kPostGarden},  {1, false, 10, 5000, world::kPostGarden},
        {1, false, 11, 5000, world::kFailedCore}, {2, true, 5, 5000, world::kFailedCore},
        {3, false, 12, 5000, world::kTerran},     {2, false, 13, 5000, world::kDesert},
        {4, true, 5, 5000, world::kFailedCore},   {5, false, 5, 5000, world::kDesert},
        {6, true, 5, 5000, world::kIceBall},      {6, false, 5, 5000, world::kRock},
        {3, false, 10, 1000, world::kTerran},     {3, false, 10, 999, world::kChunk},
        {1, true, 10, 0, world::kRing},
    };
    for (const Case& c : cases) {
        std::uint8_t type = 0;
        ClassifyWorld(static_cast<std::uint8_t>(c.atmosphereClass), type, kInner, kOuter, kMiddle, c.orbit, c.diameter,
                      c.volatileRich);
        EXPECT_EQ(type, c.expected) << "class " << c.atmosphereClass << " orbit " << c.orbit;
    }
}

std::uint8_t compose(std::uint8_t type, int atmosphereClass, int retained) {
    return ChooseComposition(static_cast<std::uint8_t>(atmosphereClass), type, kMiddle, 1.0F, 1.0F, kEarthEscape,
                             kMiddle, static_cast<std::uint8_t>(retained));
}

TEST(ChooseComposition, NoAtmosphereAndFixedRulesRollNothing) {
    constexpr std::uint64_t kSeed = 99;
    seedRandom(kSeed);
    EXPECT_EQ(ChooseComposition(3, world::kTerran, kMiddle, 0.0F, 1.0F, 0.0F, kMiddle, 6), 1);
    EXPECT_EQ(ChooseComposition(3, world::kTerran, kMiddle, 1.0F, 0.00099F, kEarthEscape, kMiddle, 6), 1);
    EXPECT_EQ(compose(world::kRock, 4, 44), 3);
    EXPECT_EQ(compose(world::kPreGarden, 2, 16), 21);
    EXPECT_EQ(compose(world::kPreGarden, 2, 17), 4);
    EXPECT_EQ(compose(world::kChunk, 5, 1), 1);
    EXPECT_EQ(compose(world::kRing, 5, 1), 1);
    EXPECT_EQ(rollsTaken(kSeed), 0);
}

TEST(ChooseComposition, HeavyGasMessages) {
    CaptureMessages capture;
    EXPECT_EQ(compose(world::kHotHouse, 1, 44), 3);
    EXPECT_EQ(compose(world::kPostGarden, 1, 44), 3);
    EXPECT_TRUE(capture.sink.messages.empty());
    EXPECT_EQ(compose(world::kHotHouse, 1, 45), 3);
    EXPECT_EQ(compose(world::kPostGarden, 1, 45), 3);
    compose(world::kGasGiant, 1, 16);
    compose(world::kIceBall, 1, 44);
    EXPECT_EQ(capture.sink.messages.size(), 2U);
    const std::uint8_t giant = compose(world::kBrownDwarf, 1, 17);
    EXPECT_TRUE(giant == 7 || giant == 8 || giant == 16);
    EXPECT_EQ(compose(world::kFailedCore, 1, 45), 3);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Error", "Error 1 (Hot House)"},
        {"Error", "Error 1 (Hot House)"},
        {"Error", "Error 1 (Gas Giant)"},
        {"Error", "Error 1 (Icy)"},
    };
    EXPECT_EQ(capture.sink.messages, expected);
}

// Share of each composition over many seeded calls.
std::map<int, double> shares(std::uint8_t type, int atmosphereClass, int retained, int calls = 40000) {
    seedRandom(2024);
    std::map<int, double> counts;
    for (int i = 0; i < calls; ++i) counts[compose(type, atmosphereClass, retained)] += 1.0 / calls;
    return counts;
}

void expectShares(const std::map<int, double>& got, const std::map<int, double>& expected) {
    for (const auto& [composition, share] : got) {
        EXPECT_TRUE(expected.count(composition)) << "unexpected composition " << composition;
    }
    for (const auto& [composition, share] : expected) {
        const auto it = got.find(composition);
        EXPECT_NEAR(it == got.end() ? 0.0 : it->second, share, 0.012) << "composition " << composition;
    }
}

TEST(ChooseComposition, GiantAndIcyShares) {
    expectShares(shares(world::kGasGiant, 1, 2), {{20, 0.3}, {6, 0.7}});
    expectShares(shares(world::kGasGiant, 1, 3), {{7, 0.4}, {8, 0.4}, {16, 0.2}});
    expectShares(shares(world::kIceBall, 1, 17), {{8, 0.5}, {7, 0.5}});
    expectShares(shares(world::kFailedCore, 2, 18), {{4, 1.0}});
    expectShares(shares(world::kFailedCore, 2, 28), {{4, 1.0}});
    expectShares(shares(world::kIceBall, 2, 29), {{3, 1.0}});
}

TEST(ChooseComposition, RandomPickShares) {
    // Class 4 never takes the nitrogen rule, so every call is a plain d20 pick.
    expectShares(shares(world::kTerran, 4, 0), {{4, 0.25},
                                                {3, 0.10},
                                                {13, 0.05},
                                                {15, 0.05},
                                                {17, 0.05},
                                                {5, 0.10},
                                                {9, 0.10},
                                                {10, 0.10},
                                                {12, 0.05},
                                                {16, 0.10},
                                                {19, 0.05}});
    // A world that keeps only 29 and heavier loses every pick lighter than
    // that to carbon dioxide: 4, 15, 9, 16, 19 and 12 (weight 28 or 16) go.
    expectShares(shares(world::kSteppe, 4, 29), {{3, 0.70}, {13, 0.05}, {17, 0.05}, {5, 0.10}, {10, 0.10}});
}

TEST(ChooseComposition, NitrogenWorldsByClassAndWeight) {
    // Class 3 takes nitrogen on d10 ≥ 3, class 2 on d10 ≥ 4; no pick is 2.
    EXPECT_NEAR(shares(world::kTerran, 3, 28)[2], 0.8, 0.012);
    EXPECT_NEAR(shares(world::kOcean, 2, 28)[2], 0.7, 0.012);
    // Desert: carbon dioxide on d10 < 9 while it can hold it; a pick keeps
    // 13, 17, 5 or 10 (weight 44 and above) and falls back to 3 otherwise.
    expectShares(shares(world::kDesert, 4, 44), {{3, 0.8 + 0.2 * 0.70}, {13, 0.01}, {17, 0.01}, {5, 0.02}, {10, 0.02}});
    // Holding only 45 and heavier, the desert always picks; 13 and 17
    // (weight 44) are lost as well.
    expectShares(shares(world::kDesert, 4, 45), {{3, 0.80}, {5, 0.10}, {10, 0.10}});
}

TEST(ChooseComposition, ExactSubstitutions) {
    // Terran, class 3, weight 28: a d10 of 3 gives nitrogen, a 2 does not.
    seedWhere([] { return d(10) == 3; });
    EXPECT_EQ(compose(world::kTerran, 3, 28), 2);
    seedWhere([] { return d(10) == 2; });
    EXPECT_NE(compose(world::kTerran, 3, 28), 2);
    seedWhere([] { return d(10) == 3; });
    EXPECT_NE(compose(world::kTerran, 2, 28), 2);
    seedWhere([] { return d(10) == 4; });
    EXPECT_EQ(compose(world::kTerran, 2, 28), 2);

    // A pick of composition 15 (d20 = 9, weight 28) stands on a world that
    // keeps 28 but becomes 3 on one that keeps only 30 and heavier.
    const auto pick15 = [] {
        static_cast<void>(d(10));  // the nitrogen roll, which class 4 ignores
        return d(20) == 9;
    };
    seedWhere(pick15);
    EXPECT_EQ(compose(world::kJungle, 4, 28), 15);
    seedWhere(pick15);
    EXPECT_EQ(compose(world::kJungle, 4, 30), 3);
}

}  // namespace
}  // namespace orrimar

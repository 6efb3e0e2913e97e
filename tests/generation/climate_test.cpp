#include "generation/climate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

#include "common/errors.h"
#include "common/random.h"
#include "records/world_types.h"
#include "world_rules_support.h"

namespace orrimar {
namespace {

using testing::CaptureMessages;
using testing::rollsTaken;
using testing::seedWhere;

constexpr std::int16_t kInner = 8;
constexpr std::int16_t kOuter = 12;
constexpr float kEarthEscape = 1.1165e6F;

struct Climate {
    std::uint8_t worldType = 0;
    std::uint8_t surfaceClass = 0;
    std::uint8_t water = 0;
    std::uint8_t ice = 0;
    std::uint8_t cloud = 0;
    std::uint8_t albedo = 0;
    std::int16_t temperature = 0;
};

struct Body {
    std::uint8_t worldType = world::kTerran;
    std::int16_t orbit = 10;
    std::uint8_t atmosphereClass = 3;
    float luminosity = 1.0F;
    float volatileInventory = 1.0F;
    float gravity = 1.0F;
    float pressure = 1.0F;
    std::int32_t diameter = 12750;
    float escapeVelocity = kEarthEscape;
};

Climate climate(const Body& b) {
    Climate c;
    c.worldType = b.worldType;
    ComputeClimate(kInner, kOuter, b.orbit, c.worldType, c.surfaceClass, c.water, c.ice, c.cloud, c.albedo,
                   b.volatileInventory, b.luminosity, b.gravity, b.pressure, b.diameter, b.atmosphereClass,
                   c.temperature, b.escapeVelocity);
    return c;
}

TEST(Temperature, GreenhouseAlbedoAndTruncation) {
    // 1 AU from a Sun, albedo 30: sqrt(1) × 263 × 1 × g - 273.
    EXPECT_EQ(Temperature(10, 3, world::kTerran, 1.0F, 30), 29);     // 302.45
    EXPECT_EQ(Temperature(10, 1, world::kTerran, 1.0F, 30), 55);     // 328.75
    EXPECT_EQ(Temperature(10, 3, world::kHotHouse, 1.0F, 30), 331);  // greenhouse doubled
    EXPECT_EQ(Temperature(10, 6, world::kRock, 1.0F, 30), -10);
    // 4 AU: 131.5 - 273 = -141.5 truncates toward zero.
    EXPECT_EQ(Temperature(40, 6, world::kRock, 1.0F, 30), -141);
    // Brighter surfaces are colder; an albedo beyond 100 leaves absolute zero.
    EXPECT_LT(Temperature(10, 3, world::kTerran, 1.0F, 60), Temperature(10, 3, world::kTerran, 1.0F, 30));
    EXPECT_EQ(Temperature(10, 3, world::kTerran, 1.0F, 101), -273);
}

TEST(WaterCover, HeatBandsAndCap) {
    // Diameter 12750 and an inventory of 1 give 71 before the heat.
    const std::vector<std::pair<int, int>> byTemperature = {
        {30, 71}, {31, 20}, {35, 20}, {36, 14}, {40, 14}, {41, 7}, {45, 7}, {50, 7}, {51, 3}, {60, 3}, {61, 0},
    };
    for (const auto& [temperature, expected] : byTemperature) {
        EXPECT_EQ(WaterCover(12750, temperature, 1.0F), expected) << temperature << " degrees";
    }
    // Seven sevenths: 2/7 of 7 is exactly 2.
    EXPECT_EQ(WaterCover(12750, 31, 7.0F / 71.0F + 1e-6F), 2);
    EXPECT_EQ(WaterCover(6375, 20, 1.0F), 100);  // 284, at most 100
    EXPECT_EQ(WaterCover(12750, 20, 0.0F), 0);
}

TEST(IceCover, PowerCapAndTiesToEven) {
    EXPECT_EQ(IceCover(100, 55), 0);
    EXPECT_EQ(IceCover(100, 90), 0);
    EXPECT_EQ(IceCover(100, 10), 3);     // (45/90)^5 × 100 = 3.125
    EXPECT_EQ(IceCover(100, -35), 100);  // (90/90)^5 × 100
    EXPECT_EQ(IceCover(100, -100), 100);
    // The input caps the cover at 1.5 times itself; ties round to even.
    EXPECT_EQ(IceCover(1, -100), 2);  // 1.5
    EXPECT_EQ(IceCover(3, -100), 4);  // 4.5
    EXPECT_EQ(IceCover(10, -100), 15);
    EXPECT_EQ(IceCover(0, -100), 0);
}

TEST(CloudCover, WeightLimitsAndGrowth) {
    EXPECT_EQ(CloudCover(15, 100, world::kTerran, 18.0F), 70);  // e^0 × 1 × 0.7
    EXPECT_EQ(CloudCover(15, 100, world::kTerran, 18.01F), 0);
    EXPECT_EQ(CloudCover(15, 50, world::kTerran, 1.0F), 35);
    EXPECT_EQ(CloudCover(20, 100, world::kTerran, 1.0F), 99);  // e^0.349 × 0.7 = 0.992
    EXPECT_EQ(CloudCover(21, 100, world::kTerran, 1.0F), 100);
    // Ice Balls and Failed Cores: limit 51, base -150.
    EXPECT_EQ(CloudCover(-150, 100, world::kIceBall, 51.0F), 70);
    EXPECT_EQ(CloudCover(-150, 100, world::kFailedCore, 51.5F), 0);
    EXPECT_EQ(CloudCover(-150, 100, world::kGlacier, 1.0F), 0);
    // From an exponent of 40 on the cover is full even without water.
    EXPECT_EQ(CloudCover(589, 0, world::kTerran, 1.0F), 100);
    EXPECT_EQ(CloudCover(588, 0, world::kTerran, 1.0F), 0);
}

// The values an albedo roll takes over many seeds.
std::set<int> albedoValues(int water, int cloud, int ice, float pressure) {
    seedRandom(7);
    std::set<int> seen;
    for (int i = 0; i < 20000; ++i) seen.insert(Albedo(water, cloud, ice, pressure));
    return seen;
}

std::set<int> range(int low, int high) {
    std::set<int> values;
    for (int v = low; v <= high; ++v) values.insert(v);
    return values;
}

TEST(Albedo, RangesOfEachSurface) {
    EXPECT_EQ(albedoValues(0, 0, 0, 0.0F), range(2, 11));     // bare rock, d10 + 1
    EXPECT_EQ(albedoValues(0, 0, 0, 1.0F), range(6, 15));     // d10 + 5
    EXPECT_EQ(albedoValues(0, 100, 0, 1.0F), range(46, 70));  // cloud hides all rock
    EXPECT_EQ(albedoValues(0, 0, 100, 0.0F), range(11, 90));  // d80 + 10
    EXPECT_EQ(albedoValues(0, 0, 100, 1.0F), range(61, 80));  // d20 + 60
    EXPECT_EQ(albedoValues(100, 0, 0, 1.0F), range(2, 21));   // d20 + 1
}

TEST(Albedo, DiceOrderAndRounding) {
    // Cloud 30 over water 40, ice 20 and rock 40 hides 10 of each.
    seedWhere([] {
        const int cloud = d(25);
        const int rock = d(10);
        const int water = d(20);
        const int ice = d(20);
        return cloud == 25 && rock == 10 && water == 20 && ice == 15;
    });
    // 70 × 0.3 = 21; 15 × 0.3 = 4.5 → 4; 21 × 0.3 = 6.3 → 6; 75 × 0.1 = 7.5 → 8.
    EXPECT_EQ(Albedo(40, 30, 20, 1.0F), 21 + 4 + 6 + 8);

    // Cloud 25 over two parts hides 12.5 → 12 of each.
    seedWhere([] {
        const int cloud = d(25);
        const int rock = d(10);
        const int water = d(20);
        return cloud == 5 && rock == 7 && water == 1;
    });
    // 50 × 0.25 = 12.5 → 12; 12 × 0.38 = 4.56 → 5; 2 × 0.38 = 0.76 → 1.
    EXPECT_EQ(Albedo(50, 25, 0, 1.0F), 12 + 5 + 1);
}

TEST(ComputeClimate, GasGiantKeepsTheTemperatureOfAlbedoFifty) {
    Body giant;
    giant.worldType = world::kGasGiant;
    giant.orbit = 52;
    giant.atmosphereClass = 1;
    std::set<int> albedos;
    seedRandom(11);
    for (int i = 0; i < 2000; ++i) {
        const Climate c = climate(giant);
        albedos.insert(c.albedo);
        EXPECT_EQ(c.temperature, Temperature(52, 1, world::kGasGiant, 1.0F, 50));
        EXPECT_EQ(c.water, 0);
        EXPECT_EQ(c.ice, 0);
        EXPECT_EQ(c.cloud, 100);
        EXPECT_EQ(c.surfaceClass, 4);
        EXPECT_EQ(c.worldType, world::kGasGiant);
    }
    EXPECT_EQ(albedos, range(41, 60));
    giant.worldType = world::kBrownDwarf;
    EXPECT_EQ(climate(giant).cloud, 100);
}

TEST(ComputeClimate, RingRollsNothing) {
    Body ring;
    ring.worldType = world::kRing;
    ring.atmosphereClass = 6;
    ring.gravity = 0.0F;
    ring.pressure = 0.0F;
    ring.diameter = 0;
    constexpr std::uint64_t kSeed = 5;
    seedRandom(kSeed);
    const Climate c = climate(ring);
    EXPECT_EQ(rollsTaken(kSeed), 0);
    EXPECT_EQ(c.water, 0);
    EXPECT_EQ(c.ice, 30);
    EXPECT_EQ(c.cloud, 0);
    EXPECT_EQ(c.albedo, 50);
    EXPECT_EQ(c.surfaceClass, 3);
    EXPECT_EQ(c.temperature, Temperature(10, 6, world::kRing, 1.0F, 30));
}

TEST(ComputeClimate, OneRoundWhenTheTemperatureCannotMove) {
    // Under a very faint star every albedo gives nearly absolute zero: one
    // round of four albedo dice ends the loop.
    Body rock;
    rock.worldType = world::kRock;
    rock.atmosphereClass = 6;
    rock.pressure = 0.0F;
    rock.luminosity = 1e-6F;
    constexpr std::uint64_t kSeed = 77;
    seedRandom(kSeed);
    const Climate c = climate(rock);
    EXPECT_EQ(rollsTaken(kSeed), 4);
    EXPECT_LT(c.temperature, -250);
}

TEST(ComputeClimate, TwoDegreesApartIsNotYetSettled) {
    // An airless rock hot enough for no ice: its albedo is d10 + 1, so the
    // first round's d10 decides its temperature. Find a distance at which
    // some albedo lies exactly 2 degrees from that of the initial 10.
    Body rock;
    rock.worldType = world::kRock;
    rock.atmosphereClass = 6;
    rock.pressure = 0.0F;
    int twoApart = 0;
    for (std::int16_t orbit = 3; orbit <= 12 && twoApart == 0; ++orbit) {
        const int start = Temperature(orbit, 6, world::kRock, 1.0F, 10);
        for (int albedo = 2; albedo <= 11 && twoApart == 0; ++albedo) {
            if (std::abs(Temperature(orbit, 6, world::kRock, 1.0F, albedo) - start) == 2 &&
                Temperature(orbit, 6, world::kRock, 1.0F, 11) >= 55) {
                rock.orbit = orbit;
                twoApart = albedo;
            }
        }
    }
    ASSERT_NE(twoApart, 0);
    const std::uint64_t seed = seedWhere([twoApart] {
        static_cast<void>(d(25));
        return d(10) + 1 == twoApart;
    });
    climate(rock);
    EXPECT_GE(rollsTaken(seed), 8);  // a second round at least
}

TEST(ComputeClimate, ThinAirHalvesTheWaterThatMakesClouds) {
    // A class 5 desert: 71 of water halved to 36 (35.5 to even) before the
    // cloud rule, whose last round ran within a degree of the result.
    Body desert;
    desert.worldType = world::kDesert;
    desert.orbit = 11;
    desert.atmosphereClass = 5;
    desert.pressure = 0.1F;
    seedRandom(13);
    for (int i = 0; i < 200; ++i) {
        const Climate c = climate(desert);
        ASSERT_EQ(c.surfaceClass, 2);
        EXPECT_EQ(c.water, 0);
        EXPECT_GE(c.cloud, CloudCover(c.temperature - 1, 36, world::kDesert, 1.0F));
        EXPECT_LE(c.cloud, CloudCover(c.temperature + 1, 36, world::kDesert, 1.0F));
    }
}

TEST(ComputeClimate, IceInputBySurfaceClass) {
    // Far out and cold, the ice is capped at 1.5 times the class's input:
    // 1 for bare rock (class 2), 10 for class 6, 100 for class 3.
    Body b;
    b.orbit = 12;
    b.luminosity = 0.05F;
    b.atmosphereClass = 6;
    b.pressure = 0.0F;
    seedRandom(21);
    const std::vector<std::pair<std::uint8_t, int>> cases = {
        {world::kRock, 2}, {world::kFailedCore, 15}, {world::kIceBall, 100}};
    for (const auto& [type, ice] : cases) {
        b.worldType = type;
        const Climate c = climate(b);
        EXPECT_LT(c.temperature, -100);
        EXPECT_EQ(c.ice, ice) << "type " << int{type};
        EXPECT_EQ(c.water, 0);
    }
}

TEST(ComputeClimate, InitialSurfaceClassAndWaterOnlyOnClassFive) {
    struct Case {
        std::uint8_t worldType;
        std::int16_t orbit;
        std::uint8_t expected;
    };
    const std::vector<Case> cases = {
        {world::kIceBall, 30, 3}, {world::kRock, 12, 2},      {world::kRock, 13, 6},        {world::kFailedCore, 30, 6},
        {world::kChunk, 5, 2},    {world::kChunk, 20, 2},     {world::kDesert, 11, 2},      {world::kDesert, 12, 6},
        {world::kHotHouse, 8, 1}, {world::kPostGarden, 9, 1}, {world::kAsteroidBelt, 9, 2},
    };
    seedRandom(3);
    for (const Case& k : cases) {
        Body b;
        b.worldType = k.worldType;
        b.orbit = k.orbit;
        b.atmosphereClass = 2;
        const Climate c = climate(b);
        EXPECT_EQ(c.surfaceClass, k.expected) << "type " << int{k.worldType} << " orbit " << k.orbit;
        EXPECT_EQ(c.water, 0);
        EXPECT_EQ(c.worldType, k.worldType);
        EXPECT_EQ(c.temperature, Temperature(k.orbit, 2, k.worldType, 1.0F, c.albedo));
        EXPECT_LE(c.water + c.ice, 100);
    }
}

struct Refined {
    std::uint8_t worldType;
    std::uint8_t surfaceClass;
};

// The refinement of a Terran world from its settled temperature and water.
Refined refine(int temperature, int water, int atmosphereClass) {
    Refined r{world::kTerran, 5};
    if (water < 20) {
        r.worldType = world::kArid;
    } else if (water < 50) {
        r.worldType = world::kSteppe;
    } else if (water >= 90) {
        r.worldType = world::kOcean;
    } else if (water >= 71 && temperature > 25) {
        r.worldType = world::kJungle;
    }
    if (temperature < 5) r.worldType = world::kTundra;
    if (temperature < -5) r = {world::kGlacier, 6};
    if (temperature > 35 && water >= 20) r.worldType = world::kPreGarden;
    if (atmosphereClass == 1 && temperature > 50) r = {world::kHotHouse, 1};
    if (atmosphereClass == 2 && temperature > 60) r = {world::kPostGarden, 1};
    return r;
}

TEST(TerranWorldType, EveryWaterCoverAcrossTheTemperatureEdges) {
    // Every water percent at the temperatures either side of each edge.
    for (int water = 0; water <= 100; ++water) {
        for (int temperature : {-7, -6, -5, 4, 5, 6, 24, 25, 26, 27, 35, 36, 60}) {
            EXPECT_EQ(TerranWorldType(water, temperature), refine(temperature, water, 3).worldType)
                << "water " << water << " temperature " << temperature;
        }
    }
    // The Jungle's corner, spelled out: 71 % water and warmer than 25 °C.
    EXPECT_EQ(TerranWorldType(70, 26), world::kTerran);
    EXPECT_EQ(TerranWorldType(71, 26), world::kJungle);
    EXPECT_EQ(TerranWorldType(71, 25), world::kTerran);
    EXPECT_EQ(TerranWorldType(89, 26), world::kJungle);
    EXPECT_EQ(TerranWorldType(90, 26), world::kOcean);
    EXPECT_EQ(TerranWorldType(19, 20), world::kArid);
    EXPECT_EQ(TerranWorldType(20, 20), world::kSteppe);
    EXPECT_EQ(TerranWorldType(49, 20), world::kSteppe);
    EXPECT_EQ(TerranWorldType(50, 20), world::kTerran);
    EXPECT_EQ(TerranWorldType(19, 36), world::kArid);  // too dry for a garden
    EXPECT_EQ(TerranWorldType(20, 36), world::kPreGarden);
}

TEST(ComputeClimate, AClimateThatCannotSettleIsReported) {
    // So close to the star that a clear sky heats the clouds into being
    // (from 589 degrees) while a clouded sky cools it into a dry, cloudless
    // one: the temperature swaps for ever between two far-apart values.
    Body scorched;
    scorched.worldType = world::kHotHouse;
    scorched.orbit = 5;
    scorched.atmosphereClass = 2;
    seedRandom(1);
    CaptureMessages capture;
    const auto c = climate(scorched);
    ASSERT_EQ(capture.sink.messages.size(), 1U);
    EXPECT_EQ(capture.sink.messages[0].first, "Error");
    EXPECT_EQ(capture.sink.messages[0].second, "Climate did not settle");
    // The last round's climate stands: one of the two temperatures it swaps between.
    EXPECT_GT(c.temperature, 300);
}

TEST(ComputeClimate, TerranRefinementOverManyWorlds) {
    std::set<int> types;
    std::set<int> temperatures;
    std::mt19937 inputs(17);  // the bodies; the dice stay with the rules
    seedRandom(2025);
    for (int cls = 1; cls <= 3; ++cls) {
        for (int step = 0; step < 4000; ++step) {
            Body b;
            b.atmosphereClass = static_cast<std::uint8_t>(cls);
            b.luminosity = std::uniform_real_distribution<float>(0.3F, 2.2F)(inputs);
            b.volatileInventory = std::uniform_real_distribution<float>(0.1F, 1.8F)(inputs);
            const Climate c = climate(b);
            // The loop ends on the temperature of the last albedo it rolled.
            const int settled = Temperature(10, b.atmosphereClass, world::kTerran, b.luminosity, c.albedo);
            types.insert(c.worldType);
            temperatures.insert(settled);
            if (cls == 2 && settled > 40 && settled <= 60) {
                // A hot thick-aired world is a young garden: cooler and wet.
                EXPECT_EQ(c.worldType, world::kPreGarden);
                EXPECT_EQ(c.surfaceClass, 5);
                EXPECT_EQ(c.temperature, settled - 20);
                EXPECT_GE(c.water, 51);
                EXPECT_LE(c.water, 100);
                continue;
            }
            EXPECT_EQ(c.temperature, settled);
            const Refined r = refine(settled, c.water, cls);
            EXPECT_EQ(c.worldType, r.worldType) << "temperature " << settled << " water " << int{c.water};
            EXPECT_EQ(c.surfaceClass, r.surfaceClass) << "temperature " << settled;
            if (r.surfaceClass == 1) {
                EXPECT_EQ(c.water, 0);
            }
            EXPECT_LE(c.water + c.ice, 100);
        }
    }
    // The worlds of the edge cases were among them: -10 (Glacier), 2 (Tundra).
    EXPECT_TRUE(temperatures.count(-10));
    EXPECT_TRUE(temperatures.count(2));
    const std::set<int> every = {world::kArid,     world::kSteppe,    world::kTerran,  world::kJungle,
                                 world::kOcean,    world::kTundra,    world::kGlacier, world::kPreGarden,
                                 world::kHotHouse, world::kPostGarden};
    EXPECT_EQ(types, every);
}

}  // namespace
}  // namespace orrimar

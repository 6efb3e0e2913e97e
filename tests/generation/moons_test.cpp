#include "generation/moons.h"

#include <gtest/gtest.h>

#include <set>

#include "common/bit_flags.h"
#include "common/random.h"
#include "records/world_types.h"
#include "sector_fixture.h"
#include "world_rules_support.h"

namespace orrimar {
namespace {

using testing::seedWhere;

// A Sun's zone radii.
const ZoneRadii kSunZones{8, 10, 12};

// A finished Earth-like planet at 1 AU with `moons` moons.
TPlanetRec earthLike(std::uint8_t moons, std::int32_t diameter = 12756) {
    TPlanetRec p;
    p.orbitRadius = 10;
    p.diameter = diameter;
    p.density = 10;
    p.pressure = 1.0F;
    p.atmosphereClass = 3;
    p.worldType = world::kTerran;
    p.surfaceClass = 5;
    p.composition = 2;
    p.temperature = 14;
    p.waterCover = 70;
    p.iceCover = 5;
    p.cloudCover = 40;
    p.albedo = 31;
    p.moonCount = moons;
    return p;
}

// The twin's resources are rolled before its distance: five dice.
void skipResourceRolls() {
    for (int cap : {70, 40, 10, 30, 10}) d(cap);
}

// The moon list of a system under construction.
class MoonList {
public:
    RecordList<TMoonRec>& file() { return list_; }
    std::vector<TMoonRec> records() const { return {list_.begin(), list_.end()}; }

private:
    RecordList<TMoonRec> list_;
};

TEST(FitMoonDiameter, HalvesUntilTheMoonIsSmallEnough) {
    EXPECT_EQ(FitMoonDiameter(12000, 5000), 3000);  // 12000 -> 6000 -> 3000
    EXPECT_EQ(FitMoonDiameter(3846, 5000), 3846);   // 3846 × 1.3 = 4999.8 fits
    EXPECT_EQ(FitMoonDiameter(3847, 5000), 1924);   // 1923.5 rounds to even
    EXPECT_EQ(FitMoonDiameter(0, 5000), 0);
}

TEST(RollDistanceMultiple, ZonesAndRings) {
    std::set<int> rings, moons;
    seedRandom(11);
    for (int i = 0; i < 20000; ++i) {
        rings.insert(RollDistanceMultiple(0));
        moons.insert(RollDistanceMultiple(3000));
    }
    EXPECT_EQ(rings, (std::set<int>{1, 2, 3}));
    std::set<int> expected;
    for (int m = 4; m <= 10; ++m) expected.insert(m);
    for (int k = 1; k <= 10; ++k) expected.insert(k * 5 + 10);
    for (int k = 1; k <= 10; ++k) expected.insert(k * 10 + 60);
    EXPECT_EQ(moons, expected);
}

// The distance is truncate(multiple × planet diameter / 1000) thousand km.
// Round a planet of 1999 km every multiple m gives 2m - m/1000, just short
// of 2m: truncated, always 2m - 1 (an odd number); rounded, 2m.
TEST(GenerateMoons, DistanceIsTheMultipleOfThePlanetDiameterTruncated) {
    MoonList moons;
    seedRandom(13);
    const TPlanetRec planet = earthLike(4, 1999);
    for (int i = 0; i < 1500; ++i) GenerateMoons(moons.file(), planet, kSunZones, 5, 1.0F, 0.5F);
    std::set<int> expected;
    for (int m = 1; m <= 10; ++m) expected.insert(2 * m - 1);  // rings 1..3, moons 4..10
    for (int k = 1; k <= 10; ++k) expected.insert(2 * (k * 5 + 10) - 1);
    for (int k = 1; k <= 10; ++k) expected.insert(2 * (k * 10 + 60) - 1);
    std::set<int> seen;
    for (const TMoonRec& m : moons.records()) seen.insert(m.distance);
    EXPECT_EQ(seen, expected);
}

TEST(GenerateMoons, OrdinaryMoonsFitTheirPlanetAndNameIt) {
    MoonList moons;
    seedRandom(5);
    const TPlanetRec planet = earthLike(4, 5000);
    int rings = 0;
    for (int i = 0; i < 2000; ++i) {
        const TwinFlags flags = GenerateMoons(moons.file(), planet, kSunZones, 77, 1.0F, 1.0F);
        EXPECT_FALSE(flags.twin || flags.closeTwin);
    }
    const auto all = moons.records();
    ASSERT_EQ(all.size(), 8000U);
    for (const TMoonRec& m : all) {
        EXPECT_EQ(m.planetId, 77);
        EXPECT_LE(m.diameter * 1.3, 5000.0);
        EXPECT_EQ(m.reserved36, 0);
        EXPECT_EQ(m.reserved14, 0);
        // Inside the outer radius no moon is volatile-rich: density d10 + 3.
        EXPECT_FALSE(testBit(m.moonFlags, 1));
        if (m.diameter == 0) {
            ++rings;
            EXPECT_EQ(m.worldType, world::kRing);
            EXPECT_EQ(m.atmosphereClass, 6);
            EXPECT_EQ(m.composition, 1);
            EXPECT_EQ(m.pressure, 0.0F);
            EXPECT_GE(m.distance, 5);  // 1..3 planet diameters of 5000 km
            EXPECT_LE(m.distance, 15);
            EXPECT_EQ(m.waterCover, 0);
            EXPECT_EQ(m.iceCover, 30);
            EXPECT_EQ(m.albedo, 50);
        } else {
            EXPECT_NE(m.worldType, world::kRing);
            EXPECT_GE(m.density, 4);
            EXPECT_LE(m.density, 13);
            EXPECT_GE(m.distance, 20);  // at least 4 diameters
            for (std::uint8_t r : m.resources) EXPECT_GE(r, 1);
        }
    }
    // d19 = 6 makes a ring: one moon in 19.
    EXPECT_NEAR(rings / 8000.0, 1.0 / 19, 0.01);
}

TEST(GenerateMoons, MoonsBeyondTheSnowLineAreMostlyVolatileRich) {
    MoonList moons;
    seedRandom(9);
    TPlanetRec planet = earthLike(5, 140000);
    planet.orbitRadius = 50;
    planet.worldType = world::kGasGiant;
    for (int i = 0; i < 1000; ++i) GenerateMoons(moons.file(), planet, kSunZones, 3, 1.0F, 300.0F);
    int rich = 0;
    const auto all = moons.records();
    for (const TMoonRec& m : all) {
        if (testBit(m.moonFlags, 1)) {
            ++rich;
            EXPECT_LE(m.density, 6);
        } else {
            EXPECT_GE(m.density, 4);
        }
    }
    EXPECT_NEAR(rich / double(all.size()), 5.0 / 6, 0.02);
}

TEST(GenerateMoons, BrownDwarfLightsEachFurtherMoonMore) {
    TPlanetRec dwarf = earthLike(3, 150000);
    dwarf.orbitRadius = 40;
    dwarf.worldType = world::kBrownDwarf;
    // The same moons one at a time round a lighter body, lit by L, L + 0.1
    // and L + 0.2 in turn, from the same dice.
    const float l0 = 2.0F;
    const float l1 = static_cast<float>(l0 + 0.1L);
    const float l2 = static_cast<float>(l1 + 0.1L);
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        MoonList together;
        seedRandom(seed);
        GenerateMoons(together.file(), dwarf, kSunZones, 1, l0, 4000.0F);

        MoonList apart;
        TPlanetRec single = dwarf;
        single.moonCount = 1;
        seedRandom(seed);
        bool twin = false;
        for (float l : {l0, l1, l2}) {
            const TwinFlags f = GenerateMoons(apart.file(), single, kSunZones, 1, l, 3000.0F);
            twin = twin || f.twin || f.closeTwin;
        }
        if (twin) continue;  // a single moon may turn out a twin: other dice
        const auto a = together.records();
        const auto b = apart.records();
        ASSERT_EQ(a.size(), 3U);
        ASSERT_EQ(b.size(), 3U);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(testing::bytesOfMoon(a[i]), testing::bytesOfMoon(b[i])) << "seed " << seed << " moon " << i;
        }
    }
    // And the light does change temperatures: the third moon lit by L alone
    // differs on some seed.
    bool differs = false;
    for (std::uint64_t seed = 1; seed <= 40 && !differs; ++seed) {
        MoonList warm, plain;
        seedRandom(seed);
        GenerateMoons(warm.file(), dwarf, kSunZones, 1, l0, 4000.0F);
        seedRandom(seed);
        GenerateMoons(plain.file(), dwarf, kSunZones, 1, l0, 3000.0F);
        differs = warm.records()[2].temperature != plain.records()[2].temperature;
    }
    EXPECT_TRUE(differs);
}

TEST(GenerateMoons, TwinCopiesThePlanetAtAnOrdinaryDistance) {
    MoonList moons;
    TPlanetRec planet = earthLike(1);
    setBit(planet.worldFlags, 1);
    planet.pad29[0] = 0x5A;
    seedWhere([] {
        const int twin = d(1000);
        skipResourceRolls();
        const int close = d(10);
        return twin == 1 && close != 1;
    });
    const TwinFlags flags = GenerateMoons(moons.file(), planet, kSunZones, 12, 1.0F, 1.0F);
    EXPECT_TRUE(flags.twin);
    EXPECT_FALSE(flags.closeTwin);
    const TMoonRec m = moons.records().at(0);
    EXPECT_EQ(m.planetId, 12);
    EXPECT_EQ(m.diameter, planet.diameter);
    EXPECT_EQ(m.density, planet.density);
    EXPECT_EQ(m.pressure, planet.pressure);
    EXPECT_EQ(m.atmosphereClass, planet.atmosphereClass);
    EXPECT_EQ(m.worldType, planet.worldType);
    EXPECT_EQ(m.surfaceClass, planet.surfaceClass);
    EXPECT_EQ(m.composition, planet.composition);
    EXPECT_EQ(m.temperature, planet.temperature);
    EXPECT_EQ(m.waterCover, planet.waterCover);
    EXPECT_EQ(m.iceCover, planet.iceCover);
    EXPECT_EQ(m.cloudCover, planet.cloudCover);
    EXPECT_EQ(m.albedo, planet.albedo);
    EXPECT_EQ(m.reserved14, 0x5A);
    EXPECT_TRUE(testBit(m.moonFlags, 1));
    EXPECT_GE(m.distance, 4 * 12756 / 1000);
}

TEST(GenerateMoons, TwinAtOnePointTwoTwoFiveDiametersSetsOnlyTheCloseFlag) {
    MoonList moons;
    const TPlanetRec planet = earthLike(1);
    seedWhere([] {
        const int twin = d(1000);
        skipResourceRolls();
        const int close = d(10);
        return twin == 1 && close == 1;
    });
    const TwinFlags flags = GenerateMoons(moons.file(), planet, kSunZones, 12, 1.0F, 1.0F);
    EXPECT_FALSE(flags.twin);
    EXPECT_TRUE(flags.closeTwin);
    EXPECT_EQ(moons.records().at(0).distance, 15);  // 12756 × 1.225 / 1000 = 15.6
}

TEST(GenerateMoons, NoTwinBesideAnotherMoon) {
    MoonList moons;
    const TPlanetRec planet = earthLike(2);
    seedWhere([] { return d(1000) == 1; });
    const TwinFlags flags = GenerateMoons(moons.file(), planet, kSunZones, 12, 1.0F, 1.0F);
    EXPECT_FALSE(flags.twin || flags.closeTwin);
    EXPECT_LT(moons.records().at(0).diameter * 1.3, planet.diameter);
}

TEST(GenerateMoons, TwinsAreOneSingleMoonInAThousand) {
    MoonList moons;
    seedRandom(21);
    const TPlanetRec planet = earthLike(1);
    int twins = 0, close = 0;
    constexpr int kPlanets = 100000;
    for (int i = 0; i < kPlanets; ++i) {
        const TwinFlags f = GenerateMoons(moons.file(), planet, kSunZones, 0, 1.0F, 1.0F);
        twins += f.twin;
        close += f.closeTwin;
    }
    EXPECT_NEAR(twins + close, 100, 35);
    EXPECT_LT(close, twins);
}

}  // namespace
}  // namespace orrimar

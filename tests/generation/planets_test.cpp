#include "generation/planets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "common/bit_flags.h"
#include "common/random.h"
#include "generation/asteroid_belt.h"
#include "generation/planet_rolls.h"
#include "generation/resources.h"
#include "generation/rotation.h"
#include "records/star_light.h"
#include "records/world_types.h"
#include "sector_fixture.h"
#include "world_rules_support.h"

namespace orrimar {
namespace {

using testing::fileBytes;
using testing::freshGenerationDir;
using testing::makeSector;
using testing::readAll;
using testing::rollsTaken;
using testing::sharedSector;

bool isBelt(std::uint8_t t) { return t >= world::kNickelIron && t <= world::kIcy; }

// ------------------------------------------------------------ small rules

TEST(ResourceRatings, DampedAboveEachCap) {
    // base = min(120, 300000 × 5 × 0.0005) = 120: every roll lies above its
    // cap and keeps a fifth of the excess.
    seedRandom(4);
    for (int i = 0; i < 5000; ++i) {
        const auto r = RollResourceRatings(300000, 5);
        EXPECT_GE(r[0], 61);
        EXPECT_LE(r[0], 82);  // 70 + (130 - 70) / 5
        EXPECT_GE(r[1], 44);  // 40 + (101 - 40) / 5
        EXPECT_LE(r[1], 52);
        EXPECT_GE(r[2], 20);  // 10 + (61 - 10) / 5
        EXPECT_LE(r[2], 22);
    }
    // A small dense body (base 3): most ratings fall to the floor of 1.
    std::map<int, int> small;
    for (int i = 0; i < 5000; ++i) ++small[RollResourceRatings(1000, 6)[0]];
    EXPECT_EQ(small.begin()->first, 1);
    EXPECT_EQ(small.rbegin()->first, 13);  // 70 + 3 - 60
}

TEST(ResourceRatings, RingAndBeltStandIns) {
    // A ring rolls its stand-in density first: one die more.
    seedRandom(8);
    RollResourceRatings(5000, 10);
    EXPECT_EQ(rollsTaken(8), 5);
    seedRandom(8);
    RollResourceRatings(0, 10);
    EXPECT_EQ(rollsTaken(8), 6);
    // A dense belt is rated as 5000 km (base 35), a light one as 3000 (base 6).
    int denseMax = 0, lightMax = 0;
    for (int i = 0; i < 5000; ++i) {
        denseMax = std::max<int>(denseMax, RollResourceRatings(kBeltDiameter, 14)[0]);
        lightMax = std::max<int>(lightMax, RollResourceRatings(kBeltDiameter, 4)[0]);
    }
    EXPECT_EQ(denseMax, 45);  // 70 + 35 - 60
    EXPECT_EQ(lightMax, 16);  // 70 + 6 - 60 (3000 × 4 × 0.0005 = 6)
}

TEST(Rotation, SpinSlowedByTheStar) {
    // An Earth at 1 AU round a Sun: 6.28 / (w × 3600) = 18.27 hours.
    const Rotation earth = RotationOf(10, 12756, 0, world::kRock, 365, 2, 0, 1.0F, 1.0F, 1.0F);
    EXPECT_EQ(earth.hours, 18);
    EXPECT_FALSE(earth.locked);
    // Round a lighter star the same body turns slower: 18 / 0.5.
    EXPECT_EQ(RotationOf(10, 12756, 0, world::kRock, 365, 2, 0, 0.5F, 1.0F, 1.0F).hours, 36);
}

TEST(Rotation, LockedWhenTheDayOutlastsTheYear) {
    // A year of 10 days (240 hours) against a day of 360 hours.
    const Rotation locked = RotationOf(10, 12756, 0, world::kRock, 10, 2, 0, 0.05F, 1.0F, 1.0F);
    EXPECT_TRUE(locked.locked);
    EXPECT_EQ(locked.hours, 240);
    // An eccentric orbit shortens the locked day: 240 × 0.5 / 1.5 = 80.
    const Rotation eccentric = RotationOf(10, 12756, 0, world::kRock, 10, 2, 500, 0.05F, 1.0F, 1.0F);
    EXPECT_TRUE(eccentric.locked);
    EXPECT_EQ(eccentric.hours, 80);
    // At 100 thousandths the day stays the year.
    EXPECT_EQ(RotationOf(10, 12756, 0, world::kRock, 10, 2, 100, 0.05F, 1.0F, 1.0F).hours, 240);
}

TEST(Rotation, CloseToTheStarTheTidesStopTheSpin) {
    // Radius 4 < 5 × M: the day is the year.
    const Rotation r = RotationOf(4, 12756, 0, world::kRock, 92, 2, 0, 1.0F, 1.0F, 1.0F);
    EXPECT_TRUE(r.locked);
    EXPECT_EQ(r.hours, 92 * 24);
    // Radius 5 is not inside.
    EXPECT_FALSE(RotationOf(5, 12756, 0, world::kRock, 92, 2, 0, 1.0F, 1.0F, 1.0F).locked);
}

TEST(Rotation, NeverFasterThanGravityHolds) {
    // A small heavy body would spin in 2 hours; sqrt(2π / (g × 0.19))
    // is the floor: g = 0.1 gives 18.18 -> 18.
    const Rotation r = RotationOf(10, 1500, 0, world::kRock, 365, 2, 0, 1.0F, 0.1F, 1.0F);
    EXPECT_EQ(r.hours, 18);
    // Gas balls and moon-stirred oceans spin slower than rock of the same bulk.
    const int rock = RotationOf(10, 12756, 0, world::kRock, 365, 2, 0, 1.0F, 1.0F, 1.0F).hours;
    const int gas = RotationOf(10, 12756, 0, world::kGasGiant, 365, 4, 0, 1.0F, 1.0F, 1.0F).hours;
    const int ocean = RotationOf(10, 12756, 1, world::kTerran, 365, 5, 0, 1.0F, 1.0F, 1.0F).hours;
    const int dry = RotationOf(10, 12756, 0, world::kTerran, 365, 5, 0, 1.0F, 1.0F, 1.0F).hours;
    EXPECT_EQ(gas, 29);    // 18.27 × sqrt(0.49 / 0.19)
    EXPECT_EQ(ocean, 24);  // 18.27 × sqrt(0.33 / 0.19)
    EXPECT_EQ(dry, rock);
}

// Rocky bodies (inside the outer radius, or beyond it on a d6 of 1) weigh
// d6 + 6 tenths of the Earth's density, 7..12; volatile-rich ones d3 + 2.
TEST(PlanetSize, RockyDensitySevenToTwelveAndVolatileThreeToFive) {
    seedRandom(61);
    std::map<int, int> rocky;
    std::map<int, int> volatileRich;
    for (int i = 0; i < 30000; ++i) {
        const PlanetSize inside = RollPlanetSize(10, 12);
        ASSERT_FALSE(inside.volatileRich);
        ++rocky[inside.density];
        const PlanetSize beyond = RollPlanetSize(40, 12);
        ++(beyond.volatileRich ? volatileRich : rocky)[beyond.density];
    }
    ASSERT_EQ(rocky.size(), 6U);
    EXPECT_EQ(rocky.begin()->first, 7);
    EXPECT_EQ(rocky.rbegin()->first, 12);
    for (const auto& [density, count] : rocky) EXPECT_NEAR(count, 35000 / 6, 400) << density;
    ASSERT_EQ(volatileRich.size(), 3U);
    EXPECT_EQ(volatileRich.begin()->first, 3);
    EXPECT_EQ(volatileRich.rbegin()->first, 5);
}

// Below a 2d6 of 12 the rating is (2d6 - 2) + truncate(a × 0.5 - 1) × 10:
// two totals share each band of ten. The odd totals are where a rounding
// would move them up a band (5 → 1.5, 9 → 3.5, and 3, 7, 11 when halves
// round away from zero).
TEST(FeatureRating, EachPairOfTotalsSharesATenTruncated) {
    const std::map<int, int> tensFor = {{2, 0}, {3, 0}, {4, 1}, {5, 1},  {6, 2},
                                        {7, 2}, {8, 3}, {9, 3}, {10, 4}, {11, 4}};
    for (const auto& [first, tens] : tensFor) {
        for (int units : {2, 12}) {
            testing::seedWhere([first = first, units] {
                const int a = d(2, 6);
                const int b = d(2, 6);
                return a == first && b == units;
            });
            EXPECT_EQ(RollFeatureRating(), (units - 2) + tens * 10) << "2d6 of " << first << " then " << units;
        }
    }
}

TEST(FeatureRating, ReachesNinety) {
    seedRandom(17);
    std::map<int, int> seen;
    constexpr int kRolls = 400000;
    for (int i = 0; i < kRolls; ++i) ++seen[RollFeatureRating()];
    EXPECT_EQ(seen.begin()->first, 0);
    EXPECT_EQ(seen.rbegin()->first, 90);
    // 51..90 only on a 2d6 of 12.
    int high = 0;
    for (const auto& [v, n] : seen) high += v > 50 ? n : 0;
    EXPECT_NEAR(high / double(kRolls), 1.0 / 36 * (1 - 6.0 / 144), 0.002);
    EXPECT_EQ(seen.count(49) + seen.count(48), 2U);
}

TEST(Eccentricity, MostOrbitsAreCircles) {
    seedRandom(23);
    int circles = 0, wide = 0, top = 0;
    constexpr int kRolls = 200000;
    for (int i = 0; i < kRolls; ++i) {
        const int e = RollEccentricity();
        circles += e == 0;
        wide += e > 250;
        top = std::max(top, e);
    }
    EXPECT_NEAR(circles / double(kRolls), 15.0 / 36, 0.005);
    // Above 250 only on 12 then d6 = 6 (201..800, 550 of 600 above 250)
    // or 12 then d6 = 5 (201..250, never).
    EXPECT_NEAR(wide / double(kRolls), 1.0 / 36 / 6 * 550 / 600, 0.001);
    EXPECT_EQ(top, 800);
}

TEST(MoonCount, ByWorldType) {
    seedRandom(29);
    std::map<int, int> rock, giant, dwarf;
    for (int i = 0; i < 36000; ++i) {
        ++rock[RollMoonCount(world::kRock)];
        ++giant[RollMoonCount(world::kGasGiant)];
        ++dwarf[RollMoonCount(world::kBrownDwarf)];
        EXPECT_EQ(RollMoonCount(world::kChunk), 0);
    }
    EXPECT_EQ(rock.rbegin()->first, 3);
    EXPECT_NEAR(rock[0] / 36000.0, 0.5, 0.01);
    EXPECT_EQ(giant.begin()->first, 2);
    EXPECT_EQ(giant.rbegin()->first, 12);
    // A brown dwarf keeps d6 - 3 moons only on a further 1: 1..3 in 12.
    EXPECT_NEAR((36000 - dwarf[0]) / 36000.0, 1.0 / 12, 0.006);
}

TEST(DayNightSwing, ShortDaysAndThickAirKeepItSmall) {
    // Earth: q = 1; A × 24 × 0.5 = 6 against 288 × 2.5.
    EXPECT_EQ(dayNightSwing(1.0F, 10, 15, 3, 24), 6);
    // Airless and slow: B caps it at a tenth of the temperature (28.8 × q).
    EXPECT_EQ(dayNightSwing(1.0F, 10, 15, 6, 5000), 28);
    // The day side never passes 2000 K.
    EXPECT_EQ(dayNightSwing(1000.0F, 10, 15, 6, 5000), 2000 - 288);
    // A negative (retrograde) day counts by its length.
    EXPECT_EQ(dayNightSwing(1.0F, 10, 15, 3, -24), 6);
}

// ------------------------------------------------------------ belts

class BeltTest : public ::testing::Test {
protected:
    BeltTest() {
        star_.zones = {8, 10, 12};
        star_.luminosity = 1.0F;
        star_.starMass = 1.0F;
        star_.systemId = 42;
    }
    RecordList<TPlanetRec> file_;
    StarSurroundings star_;
};

TEST_F(BeltTest, RecordFields) {
    seedRandom(37);
    std::map<int, int> kinds;
    for (int i = 0; i < 3000; ++i) {
        const TPlanetRec b = GenerateAsteroidBelt(file_, star_, -300);
        ASSERT_TRUE(isBelt(b.worldType));
        ++kinds[b.worldType];
        EXPECT_EQ(b.orbitRadius, 300);
        EXPECT_GE(b.diameter, 1);
        EXPECT_LE(b.diameter, 11);  // 2d6 - 1 from 200 tenths of an AU out
        EXPECT_EQ(b.moonCount, 0);
        EXPECT_EQ(b.atmosphereClass, 6);
        EXPECT_EQ(b.composition, 1);
        EXPECT_EQ(b.systemId, 42);
        EXPECT_EQ(b.colonisingRaceId, -1);
        EXPECT_EQ(b.reserved63, 0);
        EXPECT_EQ(b.features, (std::array<std::uint8_t, 5>{}));
        EXPECT_EQ(b.surfaceClass, b.worldType == world::kIcy ? 3 : 1);
        static const std::map<int, std::pair<int, int>> kDensityAlbedo = {
            {15, {14, 15}}, {16, {6, 10}}, {17, {4, 5}}, {18, {2, 35}}};
        EXPECT_EQ(b.density, kDensityAlbedo.at(b.worldType).first);
        EXPECT_EQ(b.albedo, kDensityAlbedo.at(b.worldType).second);
        for (std::uint8_t r : b.resources) EXPECT_GE(r, 1);
    }
    // Beyond the outer radius t = 2d6 + 2: Icy from 10 up (6 in 36),
    // Nickel-Iron only on a 2 (1 in 36).
    EXPECT_NEAR(kinds[world::kNickelIron] / 3000.0, 1.0 / 36, 0.01);
    EXPECT_NEAR(kinds[world::kIcy] / 3000.0, 6.0 / 36, 0.025);
    EXPECT_EQ(file_.count(), 3000);
}

TEST_F(BeltTest, NextToTheStarSmallAndMetallic) {
    seedRandom(41);
    std::map<int, int> sizes, kinds;
    for (int i = 0; i < 3600; ++i) {
        const TPlanetRec b = GenerateAsteroidBelt(file_, star_, -6);
        ++sizes[b.diameter];
        ++kinds[b.worldType];
    }
    // 2d6 - 4 with a floor of 1: 1 whenever 2d6 <= 5.
    EXPECT_EQ(sizes.begin()->first, 1);
    EXPECT_EQ(sizes.rbegin()->first, 8);
    EXPECT_NEAR(sizes[1] / 3600.0, 10.0 / 36, 0.025);
    // Inside the inner radius t = 2d6 - 4: Nickel-Iron below 5, i.e. 2d6 <= 8.
    EXPECT_NEAR(kinds[world::kNickelIron] / 3600.0, 26.0 / 36, 0.025);
    EXPECT_EQ(kinds.count(world::kIcy), 0U);
}

TEST_F(BeltTest, TemperatureAsADarkBodyUnderThickAir) {
    seedRandom(43);
    const TPlanetRec b = GenerateAsteroidBelt(file_, star_, -10);
    // 263 × ((0.93 / 0.7)^0.25) × 1.25 - 273 = 79.95 at 1 AU round a Sun.
    EXPECT_EQ(b.temperature, 79);
}

// ------------------------------------------------------------ whole sectors

TEST(PlanetarySystems, EveryRecordKeepsItsInvariants) {
    const auto& s = sharedSector();
    ASSERT_GT(s.systems.size(), 5000U);
    int belts = 0, giants = 0, rings = 0, bigRating = 0, locked = 0;
    std::set<int> raceWorlds;
    for (std::size_t id = 0; id < s.planets.size(); ++id) {
        const TPlanetRec& p = s.planets[id];
        EXPECT_EQ(p.colonisingRaceId, -1);
        EXPECT_EQ(p.reserved63, 0);
        EXPECT_LE(p.featureRating, 90);
        bigRating += p.featureRating > 88;
        locked += testBit(p.worldFlags, 2);
        if (isBelt(p.worldType)) {
            ++belts;
            EXPECT_EQ(p.moonCount, 0);
            EXPECT_EQ(p.atmosphereClass, 6);
            EXPECT_GE(p.diameter, 1);
            EXPECT_LE(p.diameter, 11);
            EXPECT_GT(p.orbitRadius, 0);
            continue;
        }
        EXPECT_GE(p.diameter, 1000);
        if (p.worldType == world::kGasGiant || p.worldType == world::kBrownDwarf) {
            ++giants;
            EXPECT_EQ(p.resources, (std::array<std::uint8_t, 5>{}));
            EXPECT_EQ(p.cloudCover, 100);
        } else {
            for (std::uint8_t r : p.resources) EXPECT_GE(r, 1);
        }
        if (testFlag(p.features.data(), 19)) {  // feature byte 3 bit 3
            raceWorlds.insert(p.worldType);
            EXPECT_EQ(s.races.at(static_cast<std::size_t>(p.nativeRaceId)).worldId, static_cast<int>(id));
        }
        for (int m = 0; m < p.moonCount; ++m) {
            const TMoonRec& moon = s.moons.at(static_cast<std::size_t>(p.firstMoonId + m));
            EXPECT_EQ(moon.planetId, static_cast<int>(id));
            const bool twin = moon.diameter == p.diameter && p.moonCount == 1;
            if (!twin) {
                EXPECT_LE(moon.diameter * 1.3, p.diameter);
            }
            if (moon.diameter == 0) {
                ++rings;
                EXPECT_EQ(moon.worldType, world::kRing);
                EXPECT_EQ(moon.atmosphereClass, 6);
                EXPECT_EQ(moon.composition, 1);
                EXPECT_EQ(moon.pressure, 0.0F);
            }
        }
    }
    EXPECT_GT(belts, 0);
    EXPECT_GT(giants, 0);
    EXPECT_GT(rings, 0);
    EXPECT_GT(locked, 0);
    EXPECT_GT(bigRating, 0);  // 89 and 90 do occur
    // Life reaches a race only on the kinder world types.
    const std::set<int> kinder = {world::kArid,  world::kSteppe,  world::kTerran, world::kJungle,
                                  world::kOcean, world::kGlacier, world::kTundra};
    for (int t : raceWorlds) EXPECT_TRUE(kinder.count(t)) << "race on world type " << t;
    EXPECT_FALSE(raceWorlds.empty());
}

TEST(PlanetarySystems, PlanetCountsFollowTheStarKind) {
    const auto& s = sharedSector();
    std::map<int, std::pair<double, int>> byKind;  // kind -> (planets, stars)
    for (const TSystemRec& sys : s.systems) {
        for (std::size_t i = 0; i < sys.starCount; ++i) {
            auto& [planets, stars] = byKind[sys.starKind[i]];
            planets += sys.planetCount[i];
            ++stars;
        }
    }
    auto mean = [&](int kind) { return byKind[kind].first / byKind[kind].second; };
    for (const auto& [kind, tally] : byKind) {
        if (kind < 4 || kind > 7) {
            EXPECT_EQ(tally.first, 0) << "kind " << kind;
        }
    }
    // G V (3d6) > K V (2d6) > F V (d10) > M V (d6), each cut short by gaps,
    // reach and companions (about 4.5, 3.8, 3.4 and 2.6 in this sector).
    EXPECT_GT(mean(5), mean(6) + 0.4);
    EXPECT_GT(mean(6), mean(4));
    EXPECT_GT(mean(4), mean(7) + 0.4);
    EXPECT_GT(mean(5), 4.0);
    EXPECT_LT(mean(5), 5.2);
    EXPECT_GT(mean(7), 2.0);
    EXPECT_LT(mean(7), 3.2);
}

TEST(PlanetarySystems, BeltsMoonsAndRacesInProportion) {
    const auto& s = sharedSector();
    std::size_t belts = 0, giants = 0, giantMoons = 0, races = 0;
    for (const TPlanetRec& p : s.planets) {
        belts += isBelt(p.worldType);
        if (p.worldType == world::kGasGiant) {
            ++giants;
            giantMoons += p.moonCount;
        }
        races += testFlag(p.features.data(), 19);
    }
    const double bodies = static_cast<double>(s.planets.size());
    // One orbit in 15 after the first is a belt (d10 = 1, then d6 >= 3).
    EXPECT_GT(belts / bodies, 0.03);
    EXPECT_LT(belts / bodies, 0.07);
    EXPECT_NEAR(static_cast<double>(giantMoons) / static_cast<double>(giants), 7.0, 0.15);
    EXPECT_EQ(races, s.races.size());
    EXPECT_GT(races / bodies, 0.002);
    EXPECT_LT(races / bodies, 0.03);
    EXPECT_GT(s.moons.size(), s.planets.size());
}

TEST(PlanetarySystems, SeededRunsAreByteIdentical) {
    const std::string a = (freshGenerationDir("same-a") / "s").string();
    const std::string b = (freshGenerationDir("same-b") / "s").string();
    makeSector(a, 99, 12, 30);
    makeSector(b, 99, 12, 30);
    for (const char* ext : {".sun", ".pln", ".mon", ".aln", ".nam"}) {
        EXPECT_EQ(fileBytes(a + ext), fileBytes(b + ext)) << ext;
    }
    const std::string c = (freshGenerationDir("same-c") / "s").string();
    makeSector(c, 100, 12, 30);
    EXPECT_NE(fileBytes(a + ".pln"), fileBytes(c + ".pln"));
}

TEST(PlanetarySystems, AppendedRunContinuesEveryNumbering) {
    const std::string base = (freshGenerationDir("append") / "s").string();
    makeSector(base, 5, 10, 30);
    const auto first = testing::readSector(base);
    std::map<std::string, std::string> before;
    for (const char* ext : {".sun", ".pln", ".mon", ".aln", ".nam"}) before[ext] = fileBytes(base + ext);

    makeSector(base, 6, 10, 30, /*newFile=*/false, /*x=*/100);  // checked sound inside
    const auto both = testing::readSector(base);
    ASSERT_GT(both.systems.size(), first.systems.size());
    ASSERT_GT(both.moons.size(), first.moons.size());
    ASSERT_GT(both.races.size(), first.races.size());
    // The first run's records stay as they were, the second's follow them.
    for (const auto& [ext, bytes] : before) EXPECT_EQ(fileBytes(base + ext).substr(0, bytes.size()), bytes) << ext;
    const TSystemRec& next = both.systems[first.systems.size()];
    EXPECT_EQ(next.x, 100);
    EXPECT_EQ(next.firstPlanetId[0], static_cast<std::int32_t>(first.planets.size()));
    // The first new planet names a new system (perhaps not the first new
    // one: a star may have no planets), which names it as its first.
    const TPlanetRec& planet = both.planets[first.planets.size()];
    ASSERT_GE(planet.systemId, static_cast<std::int32_t>(first.systems.size()));
    const TSystemRec& owner = both.systems[static_cast<std::size_t>(planet.systemId)];
    EXPECT_EQ(owner.firstPlanetId[0], static_cast<std::int32_t>(first.planets.size()));
    for (std::size_t id = first.planets.size(); id < both.planets.size(); ++id) {
        const TPlanetRec& p = both.planets[id];
        if (p.moonCount > 0) {
            EXPECT_GE(p.firstMoonId, static_cast<std::int32_t>(first.moons.size()));
            break;
        }
    }
    EXPECT_EQ(both.races[first.races.size()].worldId >= static_cast<std::int32_t>(first.planets.size()), true);
}

}  // namespace
}  // namespace orrimar

#include "generation/orbits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>

#include "common/random.h"
#include "generation/physics.h"
#include "world_rules_support.h"

namespace orrimar {
namespace {

using testing::seedWhere;

TSystemRec singleStar(std::uint8_t kind, float mass) {
    TSystemRec s;
    s.starCount = 1;
    s.starKind[0] = kind;
    s.mass[0] = mass;
    return s;
}

int magnitude(std::int16_t entry) { return std::abs(static_cast<int>(entry)); }

TEST(PlaceOrbits, StarsOfOtherKindsGetNoPlanetsButKeepTheirFirstOrbit) {
    for (std::uint8_t kind : {1, 2, 3, 8, 9, 10, 13, 15, 16, 22}) {
        for (std::uint64_t seed = 1; seed <= 50; ++seed) {
            seedRandom(seed);
            TSystemRec s = singleStar(kind, 2.0F);
            PlaceOrbits(s, 0, 5.0F);
            EXPECT_EQ(s.planetCount[0], 0) << int(kind);
            EXPECT_GE(s.orbit[0][0], 1);
        }
    }
}

TEST(PlaceOrbits, FirstOrbitKeepsClearOfGlareAndBulk) {
    // A Sun: d9 of 1..3 lies inside 3.8 × M^(1/3) and becomes 3; 4..9 stand.
    std::map<int, int> seen;
    for (std::uint64_t seed = 1; seed <= 9000; ++seed) {
        seedRandom(seed);
        TSystemRec s = singleStar(16, 1.0F);
        PlaceOrbits(s, 0, 1.0F);
        ++seen[s.orbit[0][0]];
    }
    EXPECT_EQ(seen.begin()->first, 3);
    EXPECT_EQ(seen.rbegin()->first, 9);
    EXPECT_NEAR(seen[3] / 9000.0, 3.0 / 9, 0.02);
    EXPECT_NEAR(seen[6] / 9000.0, 1.0 / 9, 0.015);

    // L = 10000: every d9 lies inside sqrt(L) × 0.1 = 10, so orbit 1 is 11.
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        seedRandom(seed);
        TSystemRec s = singleStar(16, 0.0F);
        PlaceOrbits(s, 0, 10000.0F);
        EXPECT_EQ(s.orbit[0][0], 11);
    }
    // A massless, dark star keeps its d9 (never 0).
    std::map<int, int> dark;
    for (std::uint64_t seed = 1; seed <= 900; ++seed) {
        seedRandom(seed);
        TSystemRec s = singleStar(16, 0.0F);
        PlaceOrbits(s, 0, 0.0F);
        ++dark[s.orbit[0][0]];
    }
    EXPECT_EQ(dark.begin()->first, 1);
    EXPECT_EQ(dark.rbegin()->first, 9);
}

TEST(RollPlanetCount, DiceByStarKind) {
    struct Expect {
        std::uint8_t kind;
        int low, high;
        double mean;
    };
    for (const Expect e : {Expect{4, 1, 10, 5.5}, Expect{5, 3, 18, 10.5}, Expect{6, 2, 12, 7.0}, Expect{7, 1, 6, 3.5},
                           Expect{1, 0, 0, 0}, Expect{9, 0, 0, 0}}) {
        seedRandom(7);
        int low = 99, high = -1;
        double sum = 0;
        constexpr int kRolls = 20000;
        for (int i = 0; i < kRolls; ++i) {
            const int n = RollPlanetCount(e.kind);
            low = std::min(low, n);
            high = std::max(high, n);
            sum += n;
        }
        EXPECT_EQ(low, e.low) << int(e.kind);
        EXPECT_EQ(high, e.high) << int(e.kind);
        EXPECT_NEAR(sum / kRolls, e.mean, 0.08) << int(e.kind);
    }
}

TEST(PlaceOrbits, GapRollEndsPlacementWithThePreviousOrbit) {
    // An M V star: d9, d6 planets (at least 2), then d10 = 1 and d6 = 1 or 2.
    seedWhere([] {
        d(9);
        const int planets = d(6);
        const int spacing = d(10);
        const int gap = d(6);
        return planets >= 2 && spacing == 1 && gap <= 2;
    });
    TSystemRec s = singleStar(7, 0.4F);
    PlaceOrbits(s, 0, 0.04F);
    EXPECT_EQ(s.planetCount[0], 1);
}

TEST(PlaceOrbits, BeltEntryIsNegatedAndFollowingOrbitsSpaceFromItsRadius) {
    // Orbit 2 a belt (d10 = 1, d6 >= 3, d9 = w), orbit 3 a planet (d10 = r).
    int width = 0, spacing = 0;
    seedWhere([&] {
        d(9);
        const int planets = d(6);
        const int first = d(10);
        const int gap = d(6);
        width = d(9);
        spacing = d(10);
        return planets >= 3 && first == 1 && gap >= 3 && spacing != 1;
    });
    TSystemRec s = singleStar(7, 1.0F);
    PlaceOrbits(s, 0, 1.0F);
    ASSERT_GE(s.planetCount[0], 3);
    const long double r1 = s.orbit[0][0];
    const long long belt = roundEven(r1 * (width * 0.1L + 1.1L));
    EXPECT_EQ(s.orbit[1][0], -belt);
    EXPECT_EQ(s.orbit[2][0], roundEven((spacing * 0.1L + 1.1L) * belt));
}

TEST(PlaceOrbits, OrbitsStayWithinReachOfTheStar) {
    // A light M V star: nothing kept beyond 400 × M tenths of an AU.
    int stopped = 0;
    for (std::uint64_t seed = 1; seed <= 20000; ++seed) {
        seedRandom(seed);
        TSystemRec s = singleStar(5, 0.12F);
        PlaceOrbits(s, 0, 1.0F);
        for (int j = 0; j < s.planetCount[0]; ++j) EXPECT_LE(magnitude(s.orbit[j][0]), 48);
        // The orbit that ended placement stays in the table, beyond the count.
        if (s.planetCount[0] < 18 && s.planetCount[0] >= 1 && magnitude(s.orbit[s.planetCount[0]][0]) > 48) {
            ++stopped;
        }
    }
    EXPECT_GT(stopped, 1000);
}

TEST(PlaceOrbits, CompanionClearsOrbitsBeyondAThirdOfItsSeparation) {
    int longest = 0;
    double keptTwo = 0, keptAlone = 0;
    for (std::uint64_t seed = 1; seed <= 5000; ++seed) {
        seedRandom(seed);
        TSystemRec two = singleStar(5, 1.0F);
        two.starCount = 2;
        two.separation = {30, 0};
        PlaceOrbits(two, 0, 1.0F);
        for (int j = 1; j < two.planetCount[0]; ++j) EXPECT_LE(magnitude(two.orbit[j][0]), 10);
        longest = std::max<int>(longest, two.planetCount[0]);
        keptTwo += two.planetCount[0];

        // Three stars: the nearer of the two companions counts.
        TSystemRec three = singleStar(5, 1.0F);
        three.starCount = 3;
        three.separation = {600, 45};
        PlaceOrbits(three, 0, 1.0F);
        for (int j = 1; j < three.planetCount[0]; ++j) EXPECT_LE(magnitude(three.orbit[j][0]), 15);

        // The same star alone keeps far more.
        TSystemRec alone = singleStar(5, 1.0F);
        alone.starCount = 1;
        alone.separation = {30, 45};
        PlaceOrbits(alone, 0, 1.0F);
        keptAlone += alone.planetCount[0];
    }
    // From orbit 3 at the least, spacings of 1.2 reach 10 within seven orbits.
    EXPECT_GE(longest, 2);
    EXPECT_LE(longest, 7);
    EXPECT_GT(keptAlone, 1.5 * keptTwo);
}

}  // namespace
}  // namespace orrimar

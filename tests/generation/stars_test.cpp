#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "common/message_sink.h"
#include "common/random.h"
#include "generation/stars.h"
#include "records/star_light.h"

namespace orrimar {
namespace {

StellarThresholds thresholds(std::array<std::uint16_t, 10> t) {
    StellarThresholds s;
    s.t = t;
    return s;
}

TEST(StarKind, DefaultBandsAndTheirEdges) {
    const StellarThresholds t;
    const std::pair<int, int> edges[] = {{7, 1},   {15, 1},  {16, 2},  {35, 2},  {36, 3},  {65, 3},
                                         {66, 4},  {180, 4}, {181, 5}, {430, 5}, {431, 6}, {690, 6},
                                         {691, 7}, {950, 7}, {951, 9}, {999, 9}, {1000, 9}};
    for (auto [roll, kind] : edges) EXPECT_EQ(starKindFromRoll(roll, t), kind) << roll;
    seedRandom(5);
    std::map<int, int> pheno;
    std::map<int, int> misc;
    for (int i = 0; i < 20000; ++i) {
        ++pheno[starKindFromRoll(1, t)];
        ++misc[starKindFromRoll(2 + i % 5, t)];
    }
    // d10: 1 → 22, 2 → 16, 3 → 17, 4 → 18, 5..7 → 19, 8..10 → 15.
    EXPECT_EQ(pheno.size(), 6U);
    for (int k : {22, 16, 17, 18}) EXPECT_NEAR(pheno[k], 2000, 250) << k;
    for (int k : {19, 15}) EXPECT_NEAR(pheno[k], 6000, 350) << k;
    // d5: 10, 11, 12, 13, 8.
    EXPECT_EQ(misc.size(), 5U);
    for (int k : {10, 11, 12, 13, 8}) EXPECT_NEAR(misc[k], 4000, 300) << k;
}

TEST(StarKind, ThresholdsMoveTheBands) {
    // "G_V" at 0: kind 5 never comes; 6 takes 181..440, 7 441..700, 9 the rest.
    const auto noG = thresholds({1, 6, 15, 35, 65, 180, 180, 440, 700, 750});
    std::set<int> kinds;
    for (int roll = 7; roll <= 1000; ++roll) kinds.insert(starKindFromRoll(roll, noG));
    EXPECT_EQ(kinds.count(5), 0U);
    EXPECT_EQ(starKindFromRoll(181, noG), 6);
    EXPECT_EQ(starKindFromRoll(440, noG), 6);
    EXPECT_EQ(starKindFromRoll(441, noG), 7);
    EXPECT_EQ(starKindFromRoll(701, noG), 9);
    // Weights beyond 1000 starve the last bands; T10 is never compared.
    const auto heavy = thresholds({1, 6, 15, 35, 65, 1180, 1430, 1690, 1950, 2000});
    for (int roll = 66; roll <= 1000; ++roll) ASSERT_EQ(starKindFromRoll(roll, heavy), 4);
}

TEST(Stars, KindFifteenHasAMassFromItsLight) {
    EXPECT_FLOAT_EQ(kind15Mass(1.0F), 1.0F);
    EXPECT_NEAR(kind15Mass(20.0F), 2.353F, 0.001F);
}

class CountingSink final : public MessageSink {
public:
    void message(std::string_view, std::string_view) override { ++count; }
    int count = 0;
};

float tableMass(int kind, int digit) {
    const auto& k = kStarKinds[static_cast<std::size_t>(kind)];
    return static_cast<float>(k.massBase + k.massStep * digit);
}
float tableLight(int kind, int digit) {
    const auto& k = kStarKinds[static_cast<std::size_t>(kind)];
    return static_cast<float>(k.luminosityBase + k.luminosityStep * digit);
}

TEST(Stars, InvariantsOverManySystems) {
    CountingSink sink;
    setMessageSink(&sink);
    seedRandom(2024);
    std::map<int, int> primaries;
    std::map<int, int> counts;
    bool sawIgnoredCompanions = false;
    constexpr int kSystems = 40000;
    const StellarThresholds defaults;
    for (int n = 0; n < kSystems; ++n) {
        TSystemRec s;
        GenerateStars(n % 2 == 0, s, defaults);
        const int k1 = s.starKind[0];
        ++primaries[k1];
        ++counts[s.starCount];
        ASSERT_TRUE(s.starCount >= 1 && s.starCount <= 3);
        if (k1 == 1 || k1 > 7) {
            ASSERT_EQ(s.starCount, 1) << k1;
        }
        sawIgnoredCompanions = sawIgnoredCompanions || (k1 == 9 && s.starKind[2] != 0);
        for (int i = 0; i < 3; ++i) {
            const auto si = static_cast<std::size_t>(i);
            const int kind = s.starKind[si];
            if (kind == 0) {
                ASSERT_EQ(s.luminosity[si], 0.0F);  // never rolled
                continue;
            }
            if (i > 0) {
                // A companion is never of a smaller kind than the primary; from
                // its own raised roll it can only be 5, 6, 7 or 9.
                ASSERT_GE(kind, k1);
                ASSERT_TRUE(kind == 5 || kind == 6 || kind == 7 || kind == 9 || kind == k1 + 1) << kind;
                const int sep = s.separation[si - 1];
                ASSERT_TRUE(sep >= 11 && sep <= 1000) << sep;
                if (s.mass[0] > 2.0F) {
                    ASSERT_GE(sep, 51);
                }
                if (s.mass[0] > 10.0F) {
                    ASSERT_GE(sep, 301);
                }
            }
            const int digit = s.spectralDigit[si];
            ASSERT_LE(digit, 9);
            if (kind == 15) {
                ASSERT_EQ(s.luminosity[si], std::floor(s.luminosity[si]));
                ASSERT_TRUE(s.luminosity[si] >= 1.0F && s.luminosity[si] <= 20.0F);
                ASSERT_EQ(s.mass[si], kind15Mass(s.luminosity[si]));
            } else {
                if (kind == 9 || tableMass(kind, 0) == 0.0F) {
                    ASSERT_EQ(digit, 0) << kind;
                }
                ASSERT_EQ(s.mass[si], tableMass(kind, digit)) << kind;
                ASSERT_EQ(s.luminosity[si], tableLight(kind, digit)) << kind;
            }
        }
        const int age = s.systemAge;
        if (k1 == 13) {
            ASSERT_TRUE(age >= 1 && age <= 3);
        } else if (k1 == 15) {
            ASSERT_TRUE(age >= 1 && age <= 5);
        } else if (k1 > 12) {
            ASSERT_TRUE(age >= 1 && age <= 10);
        } else if (s.mass[0] / s.luminosity[0] * 1000.0F >= 6.0F) {
            ASSERT_TRUE(age >= 10 && age <= 59) << age;
        } else {
            ASSERT_TRUE(age >= 1 && age <= 10) << age;
        }
    }
    setMessageSink(nullptr);
    EXPECT_EQ(sink.count, 0);  // no negative luminosity from the table
    EXPECT_TRUE(sawIgnoredCompanions);
    // The primary's roll follows the default per-mille weights.
    EXPECT_NEAR(primaries[5], kSystems * 0.250, 500);
    EXPECT_NEAR(primaries[9], kSystems * 0.050, 250);
    EXPECT_NEAR(primaries[1], kSystems * 0.009, 80);
    // Rolled counts are 40/40/20 %; the single-star rule moves some to 1.
    EXPECT_GT(counts[1], kSystems * 0.40);
    EXPECT_GT(counts[3], kSystems * 0.12);
}

TEST(Stars, ASeedGivesTheSameSystem) {
    TSystemRec a;
    TSystemRec b;
    seedRandom(99);
    GenerateStars(false, a);
    seedRandom(99);
    GenerateStars(true, b);  // Gaia changes nothing
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

TEST(Stars, EffectiveLuminosity) {
    TSystemRec s;
    s.starCount = 2;
    s.luminosity = {1.0F, 1.0F, 0.0F};
    s.separation = {40, 0};  // 4 AU: each gets half the other's light
    EXPECT_FLOAT_EQ(effectiveLuminosity(s, 0), 1.5F);
    EXPECT_FLOAT_EQ(effectiveLuminosity(s, 1), 1.5F);

    s.starCount = 3;
    s.luminosity = {2.0F, 0.5F, 8.0F};
    s.separation = {90, 160};  // 9 AU and 16 AU; stars 2 and 3 are 25 AU apart
    EXPECT_FLOAT_EQ(effectiveLuminosity(s, 0), 2.0F + 0.5F / 3 + 8.0F / 4);
    EXPECT_FLOAT_EQ(effectiveLuminosity(s, 1), 0.5F + 2.0F / 3 + 8.0F / 5);
    EXPECT_FLOAT_EQ(effectiveLuminosity(s, 2), 8.0F + 2.0F / 4 + 0.5F / 5);

    s.starCount = 1;  // companions that no longer count give no light
    EXPECT_FLOAT_EQ(effectiveLuminosity(s, 0), 2.0F);
}

// Round a primary of at most 2 solar masses, five companions in six lie at
// 10 + d90 tenths of an AU (11..100), the rest at 50 + d950 (51..1000).
// Beyond 100 only the wide roll reaches, so the count of every tenth drops
// about fifty-fold between 100 and 101.
TEST(Stars, CloseCompanionsLieElevenToAHundredTenthsOut) {
    seedRandom(4711);
    std::map<int, int> seen;
    int companions = 0;
    const StellarThresholds defaults;
    for (int n = 0; n < 60000; ++n) {
        TSystemRec s;
        GenerateStars(false, s, defaults);
        if (s.mass[0] > 2.0F) continue;
        for (std::size_t i = 1; i < 3; ++i) {
            if (s.starKind[i] == 0) continue;
            ++companions;
            ++seen[s.separation[i - 1]];
        }
    }
    ASSERT_GT(companions, 10000);
    EXPECT_EQ(seen.begin()->first, 11);
    EXPECT_EQ(seen.rbegin()->first, 1000);
    auto between = [&](int lo, int hi) {
        int count = 0;
        for (int v = lo; v <= hi; ++v) count += seen.count(v) != 0 ? seen.at(v) : 0;
        return count;
    };
    // Every tenth from 11 to 100 about equally often: 5/6 of 1/90 each.
    for (int v = 11; v <= 100; ++v) {
        EXPECT_GT(seen.count(v) != 0 ? seen.at(v) : 0, companions / 200) << v;
    }
    const int lastCloseTen = between(91, 100);
    const int firstWideTen = between(101, 110);
    EXPECT_NEAR(lastCloseTen, companions * (10 * (5.0 / 6 / 90 + 1.0 / 6 / 950)), companions * 0.012);
    EXPECT_NEAR(firstWideTen, companions * (10 * (1.0 / 6 / 950)), companions * 0.0025);
    EXPECT_GT(lastCloseTen, 10 * firstWideTen);
}

}  // namespace
}  // namespace orrimar

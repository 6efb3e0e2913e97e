#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "common/errors.h"
#include "common/random.h"

namespace orrimar {
namespace {

TEST(Dice, EdgeCases) {
    seedRandom(1);
    EXPECT_EQ(dice(6, 0), 0);
    EXPECT_EQ(dice(1, 5), 5);
    EXPECT_EQ(dice(0, 3), 3);  // zero sides: every roll is 1
    EXPECT_EQ(randomBelow(0), 0U);
    EXPECT_EQ(randomBelow(1), 0U);
    EXPECT_EQ(d(1), 1);
    EXPECT_THROW(dice(65535, 100), RangeError);
}

TEST(Dice, SingleDieIsUniformOverItsFaces) {
    seedRandom(7);
    constexpr int kRolls = 60000;
    std::array<int, 7> seen{};
    for (int i = 0; i < kRolls; ++i) {
        const int roll = d(6);
        ASSERT_GE(roll, 1);
        ASSERT_LE(roll, 6);
        ++seen[static_cast<std::size_t>(roll)];
    }
    for (int face = 1; face <= 6; ++face) EXPECT_NEAR(seen[static_cast<std::size_t>(face)], kRolls / 6, 400) << face;
    // A die of 1000 reaches both ends.
    bool low = false;
    bool high = false;
    for (int i = 0; i < 20000; ++i) {
        const int roll = d(1000);
        low = low || roll == 1;
        high = high || roll == 1000;
        ASSERT_TRUE(roll >= 1 && roll <= 1000);
    }
    EXPECT_TRUE(low && high);
}

TEST(Dice, TwoDiceFollowTheTriangle) {
    seedRandom(11);
    constexpr int kRolls = 72000;
    std::array<int, 13> seen{};
    for (int i = 0; i < kRolls; ++i) {
        const int roll = d(2, 6);
        ASSERT_GE(roll, 2);
        ASSERT_LE(roll, 12);
        ++seen[static_cast<std::size_t>(roll)];
    }
    for (int sum = 2; sum <= 12; ++sum) {
        const double expected = kRolls * (6 - std::abs(sum - 7)) / 36.0;
        EXPECT_NEAR(seen[static_cast<std::size_t>(sum)], expected, 5 * std::sqrt(expected)) << sum;
    }
}

TEST(Dice, BoundedDrawHasNoModuloBias) {
    // 3 does not divide 2^32: a plain modulo would favour 0 slightly; with
    // a huge n the bias would be gross.
    Xoshiro256 g(3);
    constexpr std::uint32_t n = 3000000000U;
    int below = 0;
    for (int i = 0; i < 30000; ++i) {
        const auto v = g.below(n);
        ASSERT_LT(v, n);
        below += v < n / 2 ? 1 : 0;
    }
    EXPECT_NEAR(below, 15000, 450);
}

TEST(Dice, ASeedRepeatsItsRolls) {
    seedRandom(123456789);
    std::array<int, 50> first{};
    for (auto& r : first) r = d(1000);
    seedRandom(123456789);
    for (int r : first) EXPECT_EQ(d(1000), r);
    seedRandom(123456790);
    int same = 0;
    for (int r : first) same += d(1000) == r ? 1 : 0;
    EXPECT_LT(same, 5);
}

}  // namespace
}  // namespace orrimar

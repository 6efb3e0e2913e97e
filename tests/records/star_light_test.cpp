#include "records/star_light.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace orrimar {
namespace {

TSystemRec stars(std::uint8_t count, std::array<float, 3> light, std::int16_t s2, std::int16_t s3) {
    TSystemRec s;
    s.starCount = count;
    s.luminosity = light;
    s.separation = {s2, s3};
    return s;
}

TEST(EffectiveLuminosity, EachStarOfEachCountNumberedFromZero) {
    // 4, 9 and 16 AU: companions' light is dimmed by 2, 3 and 4 (and 5 for
    // stars 2 and 3, taken to lie 25 AU apart).
    const std::array<float, 3> light = {2.0F, 0.5F, 8.0F};
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(1, light, 40, 160), 0), 2.0F);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(2, light, 40, 160), 0), 2.0F + 0.5F / 2);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(2, light, 40, 160), 1), 0.5F + 2.0F / 2);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(3, light, 90, 160), 0), 2.0F + 0.5F / 3 + 8.0F / 4);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(3, light, 90, 160), 1), 0.5F + 2.0F / 3 + 8.0F / 5);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(3, light, 90, 160), 2), 8.0F + 2.0F / 4 + 0.5F / 5);
    // A count no sound record holds: none reads as one star, more than
    // three as three.
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(0, light, 90, 160), 0), 2.0F);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(7, light, 90, 160), 2), 8.0F + 2.0F / 4 + 0.5F / 5);
}

TEST(EffectiveLuminosity, ACompanionAtNoDistanceAddsNoLight) {
    const std::array<float, 3> light = {2.0F, 0.5F, 8.0F};
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(2, light, 0, 0), 0), 2.0F);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(2, light, 0, 0), 1), 0.5F);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(2, light, -40, 0), 1), 0.5F);
    // Star 2 at no distance, star 3 at 16 AU: stars 2 and 3 lie 16 AU apart.
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(3, light, 0, 160), 0), 2.0F + 8.0F / 4);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(3, light, 0, 160), 1), 0.5F + 8.0F / 4);
    EXPECT_FLOAT_EQ(effectiveLuminosity(stars(3, light, 0, 160), 2), 8.0F + 2.0F / 4 + 0.5F / 4);
    // Both at no distance: each star has its own light only.
    for (int star = 0; star < 3; ++star) {
        EXPECT_FLOAT_EQ(effectiveLuminosity(stars(3, light, 0, 0), star), light[static_cast<std::size_t>(star)]);
        EXPECT_TRUE(std::isfinite(effectiveLuminosity(stars(3, {0.0F, 0.0F, 0.0F}, 0, 0), star)));
    }
}

TEST(DayNightSwing, EveryAtmosphereClassByte) {
    // q = 1 (a luminosity of 1 at 1 AU), 301 K. A day of 101 hours shows the
    // per-hour factor (A × 50.5); a day of 100000 hours the cap (B × 301).
    // Classes outside 1..6 take the nearest class's factors.
    constexpr std::array<int, 6> kShortDay = {10, 20, 25, 30, 40, 30};  // class 6: the cap binds first
    constexpr std::array<int, 6> kLongDay = {1505, 1204, 752, 451, 240, 30};
    for (int code = 0; code <= 255; ++code) {
        const auto cls = static_cast<std::size_t>(std::clamp(code, 1, 6) - 1);
        const auto atmosphere = static_cast<std::uint8_t>(code);
        EXPECT_EQ(dayNightSwing(1.0F, 10, 28, atmosphere, 101), kShortDay[cls]) << code;
        EXPECT_EQ(dayNightSwing(1.0F, 10, 28, atmosphere, 100000), kLongDay[cls]) << code;
    }
}

TEST(DayNightSwing, OrbitEdgesAndTheHottestDay) {
    // Four times as far: half the light (q = 1/2).
    EXPECT_EQ(dayNightSwing(1.0F, 40, 28, 6, 100000), 15);
    // An orbit radius of zero or less is read as a tenth of an AU.
    EXPECT_EQ(dayNightSwing(1.0F, 0, 28, 6, 100000), dayNightSwing(1.0F, 1, 28, 6, 100000));
    EXPECT_EQ(dayNightSwing(1.0F, -5, 28, 6, 100000), dayNightSwing(1.0F, 1, 28, 6, 100000));
    // The day side of a 301 K world stops at 2000 K: a swing of 1699. At
    // q = 2 and class 1 the day's figure (0.2 × hours) binds below the cap
    // (5 × 301 × 2) until it passes that.
    EXPECT_EQ(dayNightSwing(2.0F, 10, 28, 1, 8492), 1698);
    EXPECT_EQ(dayNightSwing(2.0F, 10, 28, 1, 8497), 1699);
    EXPECT_EQ(dayNightSwing(2.0F, 10, 28, 1, 8503), 1699);
    EXPECT_EQ(dayNightSwing(std::numeric_limits<float>::infinity(), 10, 28, 1, 24), 1699);
    EXPECT_EQ(dayNightSwing(std::numeric_limits<float>::quiet_NaN(), 10, 28, 1, 24), 0);
}

}  // namespace
}  // namespace orrimar

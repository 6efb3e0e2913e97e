#include <gtest/gtest.h>

#include "generation/physics.h"

namespace orrimar {
namespace {

TEST(Physics, RoundIsTiesToEvenAndTruncateIsTowardZero) {
    EXPECT_EQ(roundEven(2.5L), 2);
    EXPECT_EQ(roundEven(3.5L), 4);
    EXPECT_EQ(roundEven(-2.5L), -2);
    EXPECT_EQ(roundEven(2.6L), 3);
    EXPECT_EQ(truncate(2.9L), 2);
    EXPECT_EQ(truncate(-2.9L), -2);
}

TEST(Physics, PowerGuardsNonPositiveBases) {
    EXPECT_EQ(power(0.0F, 3.0F), 0.0F);
    EXPECT_EQ(power(-8.0F, 1.0F / 3.0F), 0.0F);
    EXPECT_NEAR(power(2.0F, 0.5F), 1.41421F, 1e-5F);
    EXPECT_NEAR(power(10.0F, 3.0F), 1000.0F, 1e-3F);
}

TEST(Physics, TheEarth) {
    EXPECT_NEAR(escapeVelocity(12756, 1.0F), 1.1165e6F, 1e3F);
    EXPECT_EQ(escapeVelocity(0, 1.0F), 0.0F);
    EXPECT_EQ(escapeVelocity(-5, 1.0F), 0.0F);
    const Bulk earth = bulkProperties(10, 12756);
    EXPECT_NEAR(earth.gravity, 1.00F, 0.005F);
    EXPECT_NEAR(earth.mass, 1.00F, 0.005F);
    EXPECT_NEAR(earth.escapeVelocity, 1.12e6F, 0.005e6F);
    // The escape velocity is taken from the single-precision mass.
    EXPECT_EQ(earth.escapeVelocity, escapeVelocity(12756, earth.mass));
    const Bulk none = bulkProperties(55, 0);
    EXPECT_EQ(none.mass, 0.0F);
    EXPECT_EQ(none.gravity, 0.0F);
    EXPECT_EQ(none.escapeVelocity, 0.0F);
}

TEST(Physics, OrbitalPeriods) {
    EXPECT_EQ(orbitalPeriod(10, 1.0F), 365);
    EXPECT_EQ(orbitalPeriod(40, 1.0F), 2920);  // 8^0.5 years
    EXPECT_EQ(orbitalPeriod(10, 4.0F), 182);   // 182.5 rounds to even
}

TEST(Physics, ZoneRadii) {
    const ZoneRadii dark = zoneRadii(0.0F);
    EXPECT_EQ(dark.inner, 0);
    EXPECT_EQ(dark.middle, 1);
    EXPECT_EQ(dark.outer, 0);
    const ZoneRadii sun = zoneRadii(1.0F);
    EXPECT_EQ(sun.inner, 8);
    EXPECT_EQ(sun.middle, 10);
    EXPECT_EQ(sun.outer, 12);
    // sqrt = 0.25 and 0.75: the middle radii 2.5 and 7.5 round to even.
    EXPECT_EQ(zoneRadii(0.0625F).middle, 2);
    const ZoneRadii z = zoneRadii(0.5625F);
    EXPECT_EQ(z.inner, 6);
    EXPECT_EQ(z.middle, 8);
    EXPECT_EQ(z.outer, 9);
}

}  // namespace
}  // namespace orrimar

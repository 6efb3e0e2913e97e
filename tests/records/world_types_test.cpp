#include "records/world_types.h"

#include <gtest/gtest.h>

namespace orrimar {
namespace {

TEST(WorldTypeNames, ThirteenCharactersEachAndOutOfRangeCodesRefused) {
    for (int code = 1; code <= world::kCount; ++code) EXPECT_EQ(worldTypeName(code).size(), kWorldTypeNameLength);
    EXPECT_EQ(worldTypeName(world::kIceBall), "Ice Ball     ");
    EXPECT_EQ(worldTypeName(world::kAsteroidBelt), "Asteroid Belt");
    EXPECT_EQ(worldTypeName(world::kCarbonaceous), "Carbonaceous ");
    EXPECT_EQ(worldTypeName(world::kTundra), "Tundra       ");
    static_assert(worldTypeName(world::kNickelIron) == "Nickel-Iron  ");
    EXPECT_THROW(static_cast<void>(worldTypeName(0)), RangeError);
    EXPECT_THROW(static_cast<void>(worldTypeName(24)), RangeError);
}

TEST(WorldTypes, OnlyTheFourBeltKindsAreBelts) {
    // Every byte a record's world type can hold: 15..18 are belts; 6, whose
    // name says "Asteroid Belt", is not, nor are the codes either side.
    for (int code = 0; code <= 255; ++code) {
        const bool belt = code == 15 || code == 16 || code == 17 || code == 18;
        EXPECT_EQ(isBelt(code), belt) << code;
    }
    static_assert(isBelt(world::kNickelIron) && isBelt(world::kIcy));
    static_assert(!isBelt(world::kAsteroidBelt) && !isBelt(world::kGlacier) && !isBelt(world::kRing));
}

}  // namespace
}  // namespace orrimar

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

}  // namespace
}  // namespace orrimar

// The small rules of records.h every layer asks instead of reading the
// bytes itself: the native-race feature bit, the stars a system counts and
// the race id that names no race.
#include "records/records.h"

#include <gtest/gtest.h>

namespace orrimar {
namespace {

TEST(NativeRace, OnlyBit3OfFeatureByte3ForEveryByte) {
    for (int byte = 0; byte <= 255; ++byte) {
        TPlanetRec planet;
        planet.features[2] = static_cast<std::uint8_t>(byte);
        EXPECT_EQ(hasNativeRace(planet), (byte & 0x04) != 0) << byte;
        EXPECT_EQ(hasNativeRace(planet.features), (byte & 0x04) != 0) << byte;
        // The other feature bytes say nothing about it.
        TPlanetRec elsewhere;
        for (std::size_t other : {0U, 1U, 3U, 4U}) elsewhere.features[other] = static_cast<std::uint8_t>(byte);
        EXPECT_FALSE(hasNativeRace(elsewhere)) << byte;
    }
    TPlanetRec marked;
    marked.features = {0xFF, 0xFF, 0xF3, 0xFF, 0xFF};
    markNativeRace(marked);
    EXPECT_EQ(marked.features, (std::array<std::uint8_t, 5>{0xFF, 0xFF, 0xF7, 0xFF, 0xFF}));
    EXPECT_EQ(kNativeRaceFeature, 19);
}

TEST(StarCount, EveryByteReadsAsOneToThreeStars) {
    for (int count = 0; count <= 255; ++count) {
        TSystemRec system;
        system.starCount = static_cast<std::uint8_t>(count);
        const int expected = count <= 1 ? 1 : (count >= 3 ? 3 : 2);
        EXPECT_EQ(starCountOf(system), expected) << count;
    }
}

TEST(NoRace, AllSixteenBitsSetAndTheDefaultOfASystem) {
    EXPECT_EQ(kNoRace, 0xFFFF);
    EXPECT_EQ(TSystemRec{}.systemRaceId, kNoRace);
}

}  // namespace
}  // namespace orrimar

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aliens/alien_race.h"
#include "aliens/race_to_order.h"
#include "common/errors.h"
#include "common/random.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_files.h"
#include "settings/probabilities.h"
#include "support/file_text.h"
#include "support/refusal.h"
#include "support/record_bytes.h"
#include "support/test_dir.h"

namespace orrimar {
namespace {

using testing::messageOf;

TEST(RaceOrderFields, TemperatureRangeAndText) {
    EXPECT_EQ(parseTemperature("-50"), -50);
    EXPECT_EQ(parseTemperature("100"), 100);
    EXPECT_EQ(parseTemperature("  15"), 15);
    EXPECT_EQ(parseTemperature("+7"), 7);
    EXPECT_EQ(parseTemperature("$1F"), 31);  // the standard conversion reads "$" hexadecimal
    for (const char* bad : {"101", "-51", "abc", "", " ", "15x", "1.5", "15 ", "$", "-", "99999999999999999999"}) {
        EXPECT_EQ(messageOf([&] { parseTemperature(bad); }), "Temperature must be between -50 and 100") << bad;
    }
}

TEST(RaceOrderFields, GravityRangeAndText) {
    EXPECT_FLOAT_EQ(parseGravity("0.5"), 0.5F);
    EXPECT_FLOAT_EQ(parseGravity("3.0"), 3.0F);
    EXPECT_FLOAT_EQ(parseGravity("3"), 3.0F);
    EXPECT_FLOAT_EQ(parseGravity(" 1.00 "), 1.0F);
    EXPECT_FLOAT_EQ(parseGravity(".75"), 0.75F);
    EXPECT_FLOAT_EQ(parseGravity("2e0"), 2.0F);
    for (const char* bad : {"0.49", "3.01", "abc", "", "1,5", "nan", "inf", "-1", "1.0g", ".", "0x1p1", "1e"}) {
        EXPECT_EQ(messageOf([&] { parseGravity(bad); }), "Gravity must be between 0.5 and 3.0") << bad;
    }
}

TEST(RaceOrderFields, ListsMapToTheirCodesAndAnInvalidSelectionToTheDefaults) {
    const std::vector<int> worlds = {10, 8, 9, 11, 12, 23};
    const std::vector<int> atmospheres = {2, 4, 12, 15, 19, 7};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(worldTypeForIndex(i), worlds[static_cast<std::size_t>(i)]);
        EXPECT_EQ(atmosphereForIndex(i), atmospheres[static_cast<std::size_t>(i)]);
    }
    for (int bad : {-1, 6, 100}) {
        EXPECT_EQ(worldTypeForIndex(bad), 10);
        EXPECT_EQ(atmosphereForIndex(bad), 2);
    }
}

// The one-world sector holds exactly what the race and its log are made
// from: an empty name file, one planet with the three fields, race 0 for it.
TEST(RaceToOrder, WritesTheOneWorldSectorAndRace0) {
    alienThresholds() = AlienThresholds{};
    const auto folder = testing::freshTestDir("order");
    RaceOrder order;
    order.temperature = -12;
    order.composition = 19;
    order.worldType = 23;
    order.gravity = 2.5F;
    seedRandom(7);
    const std::string base = MakeRaceToOrder(order, folder);
    EXPECT_EQ(base, (folder / "temp0").string());
    EXPECT_EQ(testing::fileSize(base + ".nam"), 0);

    TPlanetRec planet;
    planet.systemId = -1;
    planet.colonisingRaceId = 0;
    planet.composition = 19;
    planet.temperature = -12;
    planet.pressure = 2.5F;
    EXPECT_EQ(testing::fileBytes(base + ".pln"), testing::bytesOf(planet));

    const auto races = testing::readAll<TAlienRec>(base + ".aln");
    ASSERT_EQ(races.size(), 1U);
    EXPECT_EQ(races[0].worldId, 0);
    // The same dice give the same race, byte for byte.
    seedRandom(7);
    EXPECT_EQ(testing::fileBytes(base + ".aln"),
              testing::bytesOf(RollAlienRace({-12, 19, 23, 2.5F}, 0, false, kGeneratorMaxSpatialAge)));
    // A second order replaces the race rather than adding one.
    MakeRaceToOrder(order, folder);
    EXPECT_EQ(testing::readAll<TAlienRec>(base + ".aln").size(), 1U);
}

TEST(RaceToOrder, AFolderThatIsNotThereIsAnInputOutputError) {
    const auto folder = testing::freshTestDir("order") / "missing";
    EXPECT_THROW(MakeRaceToOrder(RaceOrder{}, folder), IoError);
}

}  // namespace
}  // namespace orrimar

#include <gtest/gtest.h>

#include <algorithm>

#include "common/errors.h"
#include "reading/sector_reader.h"
#include "support/test_dir.h"
#include "support/fixture_sector.h"
#include "sheets/system_sheet.h"

namespace orrimar {
namespace {

using sheets::Audience;
using sheets::SheetOptions;
using sheets::SystemSheet;

struct Sheets : ::testing::Test {
    std::string dir = testing::testDir("sheets");
    logtest::FixtureSector sector = logtest::makeFixtureSector(dir);
};

TEST_F(Sheets, AGameMastersSheetListsStarsAndWorldsInOrbitOrderWithTheirMoons) {
    const std::vector<SystemSheet> all = sheets::gatherSheets(sector.base, {}, SheetOptions{});
    ASSERT_EQ(all.size(), 2U);
    const SystemSheet& first = all[0];
    EXPECT_EQ(first.id, 0);
    EXPECT_EQ(first.title, "System 0");
    EXPECT_EQ(first.sector, "Fixture Reach");
    EXPECT_EQ(first.place, "x 3, y -4, z 7 parsecs");
    EXPECT_EQ(first.age, "4.6 billion years");
    ASSERT_EQ(first.stars.size(), 1U);
    EXPECT_EQ(first.stars[0].letter, "A");
    EXPECT_EQ(first.stars[0].designation, "G2 V");

    ASSERT_EQ(first.worlds.size(), 3U);
    const sheets::SheetWorld& terran = first.worlds[0];
    EXPECT_EQ(terran.place, "A1");
    EXPECT_EQ(terran.orbit, "1.0 AU");
    EXPECT_EQ(terran.kind, "Terran");
    EXPECT_EQ(terran.size, "12,756 km");
    EXPECT_EQ(terran.air.rfind("Standard", 0), 0U) << terran.air;
    EXPECT_EQ(terran.temperature, "15 °C");
    EXPECT_EQ(terran.gravity.back(), 'g');
    EXPECT_NE(terran.race.find("Race 0"), std::string::npos) << terran.race;
    ASSERT_EQ(terran.moons.size(), 1U);
    EXPECT_EQ(terran.moons[0].kind, "Terran") << "the twin is a world of its planet's kind";

    // A belt has no air, gravity or moons: the cells stay empty, not "None".
    const sheets::SheetWorld& belt = first.worlds[1];
    EXPECT_EQ(belt.place, "A2");
    EXPECT_EQ(belt.orbit, "2.5 AU");
    EXPECT_TRUE(belt.air.empty());
    EXPECT_TRUE(belt.gravity.empty());
    EXPECT_TRUE(belt.moons.empty());

    // The giant's ring is a ring, without a size.
    const sheets::SheetWorld& giant = first.worlds[2];
    EXPECT_EQ(giant.kind, "Gas Giant");
    ASSERT_EQ(giant.moons.size(), 2U);
    EXPECT_EQ(giant.moons[1].kind, "Ring");
    EXPECT_TRUE(giant.moons[1].size.empty());
    EXPECT_EQ(giant.moons[0].name, "A3 a") << "an unnamed moon is called by its place";

    // The pair: star B's world is placed under B.
    const SystemSheet& pair = all[1];
    ASSERT_EQ(pair.stars.size(), 2U);
    EXPECT_EQ(pair.stars[1].letter, "B");
    ASSERT_EQ(pair.worlds.size(), 1U);
    EXPECT_EQ(pair.worlds[0].place, "B1");
    EXPECT_TRUE(pair.worlds[0].extraLines.empty());
    EXPECT_TRUE(pair.extraLines.empty());
}

TEST_F(Sheets, PlayersSeeNoRecordIdsAndNoRaceDetails) {
    SheetOptions players;
    players.audience = Audience::Players;
    const std::vector<SystemSheet> all = sheets::gatherSheets(sector.base, {1, 0}, players);
    ASSERT_EQ(all.size(), 2U);
    EXPECT_EQ(all[0].id, 1) << "sheets come in the order asked for";
    EXPECT_EQ(all[1].title, "Unnamed system at 3, -4, 7");
    for (const SystemSheet& sheet : all) {
        EXPECT_EQ(sheet.title.find("system 1"), std::string::npos);
        for (const sheets::SheetWorld& w : sheet.worlds) EXPECT_TRUE(w.race.empty()) << w.place;
    }
}

TEST_F(Sheets, ASystemOutsideTheSectorIsRefusedNamingIt) {
    try {
        sheets::gatherSheets(sector.base, {0, 2}, SheetOptions{});
        FAIL() << "system 2 is not in a sector of two";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("System id 2"), std::string::npos) << e.what();
    }
    EXPECT_THROW(sheets::gatherSheets(sector.base, {-1}, SheetOptions{}), InputError);
    EXPECT_ANY_THROW(sheets::gatherSheets(dir + "/nowhere", {}, SheetOptions{}));
}

}  // namespace
}  // namespace orrimar

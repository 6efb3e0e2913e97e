// Settled space in the logs and the sector report: the words of a colony's
// government, each colony of a system in its log (exact text), the star
// summary's colonies, the alien log's holdings, the report's empire list and
// the territories on its map; and that a sector nobody settled reads as it
// always did.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "engine/engine.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/well_formed.h"
#include "support/settled_fixture.h"
#include "support/hand_made_sector.h"
#include "logs/sector_map_svg.h"
#include "logs/star_summary.h"
#include "vocabulary/colony_words.h"

using namespace orrimar;
using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::logs;
using namespace orrimar::engine;
using orrimar::logtest::checkWellFormed;
using orrimar::logtest::makeEmptySector;
using orrimar::logtest::makeSettledFixture;
using orrimar::testing::fileBytes;
using orrimar::testing::testDir;

namespace {

std::string systemLog(const std::string& base, std::int32_t system, LogDetail detail,
                      LogFormat format = LogFormat::Text) {
    std::ostringstream out;
    main_starlog(base, out, system, detail, format);
    return out.str();
}

std::string raceLog(const std::string& base, std::int32_t race) {
    std::ostringstream out;
    main_alienlog(base, race, 0, LogFormat::Text, out);
    return out.str();
}

}  // namespace

// Both ends of each scale, and a level another program wrote past it.
TEST(ColonyWords, ScalesEndsAndBeyond) {
    EXPECT_EQ(lawWord(0), "no law");
    EXPECT_EQ(lawWord(9), "total control");
    EXPECT_EQ(stabilityWord(0), "chaos");
    EXPECT_EQ(stabilityWord(9), "unshakeable");
    EXPECT_EQ(crimeWord(0), "none");
    EXPECT_EQ(crimeWord(9), "rampant");
    EXPECT_EQ(lawWord(10), "off the scale");
    EXPECT_EQ(crimeWord(255), "off the scale");
    EXPECT_EQ(stabilityWord(-1), "off the scale");
    TColonyRec colony;
    colony.lawLevel = 5;
    colony.stability = 7;
    colony.crimeLevel = 2;
    EXPECT_EQ(governmentText(colony), "law 5 (firm), stability 7 (stable), crime 2 (petty)");
    EXPECT_EQ(colourHex({255, 0, 16}), "#ff0010");
    EXPECT_EQ(colourHex({0, 0, 0}), "#000000");
    EXPECT_EQ(facilitiesText(colony), "");
    colony.facilities[0] = 0x81;  // facilities 1 and 8
    EXPECT_EQ(facilitiesText(colony), "Military Base, Orbital tower");
}

// Each colony of the system with every field in words, the controlling race
// and its empire in the head; the vacant record and the colonies of other
// systems stay out.
TEST(SettledSystemLog, EveryColonyOfTheSystemInWords) {
    const auto f = makeSettledFixture(testDir("settled_starlog"));
    const std::string log = systemLog(f.base, 0, LogDetail::OrbitTables);
    EXPECT_NE(log.find("Controlled by:   race 0, Kethri Dominion\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Colonies\r\n--------\r\n"
                       "Colony 0 on orbit 1 of star A\r\n"
                       "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\r\n"
                       "People:        60 million of race 0\r\n"
                       "Colony type:   Homeworld\r\n"
                       "Owner:         race 0\r\n"
                       "Starport:      Good\r\n"
                       "Government:    law 5 (firm), stability 7 (stable), crime 2 (petty)\r\n"
                       "Gross product: 1,200 million credits a year\r\n"
                       "Power:         300 points\r\n"
                       "Facilities:    Military Base, University\r\n"
                       "\r\n"
                       "Moon base 2 on moon 1 of orbit 3 of star A\r\n"
                       "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\r\n"
                       "People:        10,000 of race 0\r\n"
                       "Colony type:   Mining\r\n"
                       "Owner:         independent\r\n"
                       "Starport:      Primitive\r\n"
                       "Government:    law 0 (no law), stability 9 (unshakeable), crime 9 (rampant)\r\n"
                       "Gross product: 0 million credits a year\r\n"
                       "Power:         0 points\r\n"
                       "Facilities:    none\r\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Colony 1"), std::string::npos);
    EXPECT_EQ(log.find("Colony 3"), std::string::npos);

    const std::string other = systemLog(f.base, 1, LogDetail::EveryBody);
    EXPECT_NE(other.find("Colony 3 on orbit 1 of star B\r\n"), std::string::npos) << other;
    EXPECT_NE(other.find("Power:         65,535 points\r\n"), std::string::npos);
    EXPECT_NE(other.find("Government:    law 9 (total control), stability 0 (chaos), crime 0 (none)\r\n"),
              std::string::npos);
    EXPECT_NE(other.find("Colonised by:"), std::string::npos) << "the writer marks the owned planet";
    EXPECT_NE(other.find("Colonised by:    race 0\r\n"), std::string::npos) << other;

    const std::string html = systemLog(f.base, 0, LogDetail::EveryBody, LogFormat::Html);
    EXPECT_EQ(checkWellFormed(html), "");
    EXPECT_NE(html.find("<h3>Colony 0 on orbit 1 of star A</h3>"), std::string::npos);
}

// The summary's colonies under its worlds table, one row each.
TEST(SettledStarSummary, OneRowPerColony) {
    const auto f = makeSettledFixture(testDir("settled_summary"));
    std::ostringstream out;
    writeStarSummary(f.base, 0, DocFormat::Text, out);
    const std::string text = out.str();
    const std::size_t at = text.find("Colonies\r\n~~~~~~~~\r\n");
    ASSERT_NE(at, std::string::npos) << text;
    const std::string table = text.substr(at);
    EXPECT_NE(
        table.find("A1            60 million  Homeworld  race 0       Good       law 5 (firm), stability 7 (stable), "
                   "crime 2 (petty)\r\n"),
        std::string::npos)
        << table;
    EXPECT_NE(table.find("moon 1 of A3      10,000  Mining     independent  Primitive"), std::string::npos) << table;
}

// What the race holds: its empire, colonies, people and controlled systems;
// the independent base of its people counts apart.
TEST(SettledAlienLog, HoldingsOfTheRace) {
    const auto f = makeSettledFixture(testDir("settled_alienlog"));
    const std::string log = raceLog(f.base, 0);
    EXPECT_NE(log.find("Colonies and empire\r\n-------------------\r\n"
                       "Empire:                             Kethri Dominion (empire 1)\r\n"
                       "Colour:                             #c82810\r\n"
                       "Capital:                            system 0\r\n"
                       "Colonies owned:                     2 on planets, 0 moon bases\r\n"
                       "People:                             61 million\r\n"
                       "Systems controlled:                 2: 0, 1\r\n"
                       "Independent colonies of its people: 1\r\n"),
              std::string::npos)
        << log;
}

// A race without an empire shows "none" for it; a race of a sector nobody
// settled gets no section at all, so its log reads as before.
TEST(SettledAlienLog, NoEmpireAndNothingHeld) {
    const auto f = logtest::makeFixtureSector(testDir("settled_alienlog_plain"));
    const std::string log = raceLog(f.base, 0);
    EXPECT_NE(log.find("Empire:                             none\r\n"), std::string::npos) << log;
    const std::string hand = testDir("settled_alienlog_hand") + "/hand";
    orrimar::testing::writeSector(hand, orrimar::testing::soundSector(3, 0));
    EXPECT_EQ(raceLog(hand, 0).find("Colonies and empire"), std::string::npos);
}

// The report's empire list, and each controlled system boxed in its
// owner's colour on the map with the empire in the legend.
TEST(SettledSectorReport, EmpireListAndTerritories) {
    const std::string dir = testDir("settled_report");
    const auto f = makeSettledFixture(dir);
    main_map(f.base, dir + "/r", false, false, false, true);
    const std::string text = fileBytes(dir + "/r.map");
    EXPECT_NE(text.find("Empire list\r\n~~~~~~~~~~~\r\n"
                        "Empire           Race    Capital  Systems  Colonies      People  Colour\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Kethri Dominion  race 0  0              2         2  61 million  #c82810\r\n"),
              std::string::npos)
        << text;
    const std::string html = fileBytes(dir + "/r.html");
    EXPECT_EQ(checkWellFormed(html), "");
    // Both systems are race 0's: two tinted boxes and the legend's swatch.
    std::size_t boxes = 0;
    for (std::size_t at = html.find("fill=\"#c82810\""); at != std::string::npos;
         at = html.find("fill=\"#c82810\"", at + 1)) {
        ++boxes;
    }
    EXPECT_EQ(boxes, 3U) << html;
    EXPECT_NE(html.find(">Kethri Dominion</text>"), std::string::npos);
}

// A sector without colonies: no empire list, no territory, no colony line
// in any log (the report's text is compared whole by the report tests).
TEST(SettledSectorReport, UnsettledSectorShowsNoSettledSpace) {
    const std::string dir = testDir("unsettled_report");
    const std::string base = makeEmptySector(dir);
    main_map(base, dir + "/r", true, true, true, true);
    EXPECT_EQ(fileBytes(dir + "/r.map").find("Empire list"), std::string::npos);
    EXPECT_EQ(fileBytes(dir + "/r.html").find("fill-opacity=\"0.3\""), std::string::npos);
}

// The map alone: a territory tints its box and names its owner in the
// legend; past the legend's room the rest share one line.
TEST(SectorMapTerritory, TintedBoxesAndLegend) {
    SectorMap map(2, 0, 10, 0, 10, 0, 0);
    map.add({1, 1, 0, 5, false, true, 0, "", 1.0F, std::array<std::uint8_t, 3>{1, 2, 3}});
    map.add({5, 5, 0, 5, false, true, 1, "", 1.0F});
    for (std::size_t i = 0; i <= kMapLegendTerritories; ++i) map.addTerritory("Empire " + std::to_string(i), {1, 2, 3});
    const std::string svg = map.svg();
    EXPECT_NE(svg.find("fill=\"#010203\" fill-opacity=\"0.3\" stroke=\"#010203\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("stroke=\"#ff5577\""), std::string::npos) << "a system without a known owner stays red";
    EXPECT_NE(svg.find(">Empire 11</text>"), std::string::npos);
    EXPECT_EQ(svg.find(">Empire 12</text>"), std::string::npos);
    EXPECT_NE(svg.find(">and 1 more territories</text>"), std::string::npos);
}

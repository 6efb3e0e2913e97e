#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/errors.h"
#include "engine/engine.h"
#include "logs/sector_report.h"
#include "logs/sector_map_svg.h"
#include "records/colony_codes.h"
#include "vocabulary/colony_words.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/well_formed.h"
#include "records/record_file.h"
#include <cctype>
#include "exports/sector_export.h"
#include "support/hand_made_sector.h"

using namespace orrimar;
using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::reading;
using namespace orrimar::logs;
using namespace orrimar::exports;
using namespace orrimar::engine;
using orrimar::logtest::checkWellFormed;
using orrimar::logtest::makeEmptySector;
using orrimar::logtest::makeFixtureSector;
using orrimar::testing::fileBytes;
using orrimar::testing::testDir;

namespace {

struct Report {
    std::string text;
    std::string html;
};

Report report(const std::string& base, const std::string& out, bool systems, bool aliens, bool summary, bool empires) {
    main_map(base, out, systems, aliens, summary, empires);
    return {fileBytes(out + ".map"), fileBytes(out + ".html")};
}

bool hasSection(const std::string& text, const std::string& name) {
    return text.find("\r\n" + name + "\r\n" + std::string(name.size(), '-') + "\r\n") != std::string::npos;
}
bool hasHtmlSection(const std::string& html, const std::string& name) {
    return html.find("<h2>" + name + "</h2>") != std::string::npos;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(SectorReport, EachFlagChoosesItsSectionInBothFiles) {
    const std::string dir = testDir("map_flags");
    const auto sector = makeFixtureSector(dir);
    const std::array<std::string, 4> names = {"Systems", "Alien races", "Summary", "Empires"};
    for (int chosen = 0; chosen < 4; ++chosen) {
        const Report r = report(sector.base, dir + "/r" + std::to_string(chosen), chosen == 0, chosen == 1, chosen == 2,
                                chosen == 3);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(hasSection(r.text, names[k]), k == chosen) << names[k] << " with flag " << chosen;
            EXPECT_EQ(hasHtmlSection(r.html, names[k]), k == chosen) << names[k] << " with flag " << chosen;
        }
        EXPECT_EQ(checkWellFormed(r.html), "");
        EXPECT_NE(r.html.find("<svg"), std::string::npos);
    }
    const Report none = report(sector.base, dir + "/none", false, false, false, false);
    EXPECT_NE(none.text.find("No section was chosen for this report."), std::string::npos);
    EXPECT_NE(none.html.find("<svg"), std::string::npos);
}

TEST(SectorReport, SectionsHoldTheSectorsFigures) {
    const std::string dir = testDir("map_content");
    const auto sector = makeFixtureSector(dir, "Fixture Reach");
    const Report r = report(sector.base, dir + "/all", true, true, true, true);
    // Systems: one row each, colonies placed by world (planet 0 and moon 1
    // both lie in system 0), owners listed.
    EXPECT_NE(r.text.find("      0       3      -4       7  G2 V                          2      1      3  Sentient"
                          "                    2  0\r\n"),
              std::string::npos)
        << r.text;
    EXPECT_NE(r.text.find("      1      -2       5       0  K0 V + M4 V                   1      0      0\r\n"),
              std::string::npos);
    // Alien races: home world, system and position.
    EXPECT_NE(r.text.find("     0           0        0  3, -4, 7          Terran"), std::string::npos) << r.text;
    // Summary.
    for (const char* line :
         {"Systems:         2", "Single stars:    1", "Binary systems:  1", "Trinary systems: 0", "Planets:         3",
          "Asteroid belts:  1", "Moons:           3", "Extent:          x -2 to 3, y -4 to 5, z 0 to 7 parsecs"}) {
        EXPECT_NE(r.text.find(std::string(line) + "\r\n"), std::string::npos) << line;
    }
    EXPECT_NE(r.text.find("   5  yellow dwarf  G V        1\r\n"), std::string::npos) << r.text;
    EXPECT_NE(r.text.find("Terran             1      1\r\n"), std::string::npos);
    EXPECT_NE(r.text.find("Ring               0      1\r\n"), std::string::npos);
    EXPECT_NE(r.text.find("Stony              1      0\r\n"), std::string::npos);
    EXPECT_NE(r.text.find("Sentient                   1\r\n"), std::string::npos);
    EXPECT_NE(r.text.find("None                       2\r\n"), std::string::npos);
    // Empires: the owned colony of 60 million people, the independent base.
    EXPECT_NE(r.text.find("Control records: 2\r\n"), std::string::npos);
    EXPECT_NE(r.text.find("Empire records:  0\r\n"), std::string::npos);
    EXPECT_NE(r.text.find("Race 0                     1           0                   1  60,000,000\r\n"),
              std::string::npos)
        << r.text;
    EXPECT_NE(r.text.find("Independent                0           1                          10,000\r\n"),
              std::string::npos);
    // The map rings the system with a race and boxes the controlled one
    // (plus one of each in the legend): in race 0's colour, which has no
    // empire to give one, and in the legend under its name.
    EXPECT_EQ(occurrences(r.html, "stroke=\"#7dffb0\""), 2U);
    EXPECT_EQ(occurrences(r.html, "stroke=\"#ff5577\""), 1U);
    const std::string territory = colourHex(empireColourFor(0));
    EXPECT_EQ(occurrences(r.html, "fill=\"" + territory + "\" fill-opacity=\"0.3\" stroke=\"" + territory + "\""), 2U);
    EXPECT_NE(r.html.find(">race 0</text>"), std::string::npos);
    EXPECT_NE(r.html.find("x (parsecs)"), std::string::npos);
    EXPECT_EQ(checkWellFormed(r.html), "");
}

TEST(SectorReport, EmptySector) {
    const std::string dir = testDir("map_empty");
    const std::string base = makeEmptySector(dir);
    const Report r = report(base, dir + "/e", true, true, true, true);
    EXPECT_NE(r.text.find("The sector holds no systems."), std::string::npos);
    EXPECT_NE(r.text.find("The sector holds no alien races."), std::string::npos);
    EXPECT_NE(r.text.find("No race owns a colony in this sector."), std::string::npos);
    EXPECT_NE(r.html.find("the map is empty"), std::string::npos);
    EXPECT_EQ(checkWellFormed(r.html), "");
}

TEST(SectorReport, ByteIdenticalRunToRun) {
    const std::string dir = testDir("map_repeat");
    const auto sector = makeFixtureSector(dir);
    const Report a = report(sector.base, dir + "/a", true, true, true, true);
    const Report b = report(sector.base, dir + "/b", true, true, true, true);
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.html, b.html);
}

TEST(SectorReport, RefusesWithoutAPathAndLeavesNothingOnFailure) {
    const std::string dir = testDir("map_refused");
    const auto sector = makeFixtureSector(dir);
    try {
        main_map(sector.base, "", true, true, true, true);
        FAIL() << "an empty report path was accepted";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("choose a file"), std::string::npos);
    }
    EXPECT_THROW(main_map(dir + "/nowhere", dir + "/x", true, true, true, true), IoError);
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.map"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.html"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.map.part"));
}

TEST(SectorMapSvg, LargeSectorsAreAggregatedAndSaySo) {
    const std::int64_t count = static_cast<std::int64_t>(kMapPointLimit) + 1;
    SectorMap map(count, 0, 199, 0, 199, 0, 199);
    EXPECT_TRUE(map.aggregated());
    for (std::int64_t i = 0; i < count; ++i) {
        map.add({static_cast<std::int16_t>(i % 200), static_cast<std::int16_t>(i / 200 % 200), 0, 5, i == 7, false});
    }
    const std::string svg = map.svg();
    EXPECT_EQ(occurrences(svg, "<circle cx"), 1U);  // the legend's race ring only: no system drawn one by one
    EXPECT_NE(map.caption().find("20,001 systems"), std::string::npos);
    EXPECT_LT(svg.size(), 2'000'000U);

    SectorMap small(2, -5, 5, -5, 5, 0, 10);
    EXPECT_FALSE(small.aggregated());
    small.add({-5, -5, 0, 7, false, false});
    small.add({5, 5, 10, 5, true, true});
    const std::string picture = small.svg();
    EXPECT_NE(picture.find("fill-opacity=\"0.35\""), std::string::npos);  // lowest z dimmest
    EXPECT_NE(picture.find("fill-opacity=\"1.00\""), std::string::npos);  // highest z brightest
    EXPECT_NE(picture.find("red dwarf (M0 V)"), std::string::npos);
    EXPECT_EQ(picture.find("orange dwarf"), std::string::npos);  // legend lists the kinds present
}

// Above the listing limit the HTML page keeps the map and the summary and
// leaves the systems table to the text; at the limit the table stays.
TEST(SectorReport, HtmlLeavesLongTablesToTheText) {
    const std::string dir = testDir("long");
    for (const std::int64_t systems : {kFullListingLimit, kFullListingLimit + 1}) {
        orrimar::testing::SectorContent content;
        for (std::int64_t id = 0; id < systems; ++id) {
            TSystemRec sys;
            sys.starCount = 1;
            sys.starKind = {5, 0, 0};
            sys.x = static_cast<std::int16_t>(id % 150);
            sys.y = static_cast<std::int16_t>(id / 150);
            content.systems.push_back(sys);
        }
        const std::string base = dir + "/s" + std::to_string(systems);
        orrimar::testing::writeSector(base, content);
        main_map(base, base + "-report", true, true, true, true);
        const std::string html = fileBytes(base + "-report.html");
        const std::string text = fileBytes(base + "-report.map");
        const std::string lastRow = "<td class=\"r\">" + std::to_string(systems - 1) + "</td>";
        const bool limited = systems > kFullListingLimit;
        EXPECT_EQ(html.find(lastRow) == std::string::npos, limited) << systems;
        EXPECT_EQ(html.find("this page leaves out their table") != std::string::npos, limited) << systems;
        EXPECT_NE(html.find("<svg"), std::string::npos);
        EXPECT_NE(html.find("<h2>Summary</h2>"), std::string::npos);
        EXPECT_LT(html.size(), 10U * 1000 * 1000);
        EXPECT_EQ(checkWellFormed(html), "");
        // The text keeps every row.
        EXPECT_NE(text.find("\r\n  " + std::to_string(systems - 1) + "  "), std::string::npos) << systems;
    }
}

namespace orrimar::logs {

namespace {

// Every habitat, body form and kind name fits its column: the level that
// follows starts at the same place on every row ("Shore (amphibious)" once
// pushed it right).
TEST(SectorReport, AlienTableColumnsHoldEveryName) {
    const std::string dir = orrimar::testing::testDir("map_widths");
    const auto sector = orrimar::logtest::makeFixtureSector(dir);
    {
        RecordFile<TAlienRec> races(sector.base + ".aln", RawRecordFile::Mode::OpenExisting);
        const TAlienRec model = races.read(0);
        for (int code = 1; code <= 40; ++code) {
            TAlienRec race = model;
            race.habitat = static_cast<std::uint8_t>(code % 5 + 1);
            race.bodyForm = static_cast<std::uint8_t>(code % 9 + 1);
            race.subtype = static_cast<std::uint8_t>(code % 12 + 1);
            race.techLevel = 7;
            // Races of other programs, their worlds negated: no planet of
            // the sector names them, and the sector still ends whole.
            race.worldId = -1;
            races.append(race);
        }
        races.close();
    }
    const std::string text =
        orrimar::testing::fileBytes((main_map(sector.base, dir + "/r", false, true, false, false), dir + "/r.map"));
    const std::size_t table = text.find("Alien races\r\n-----------\r\n");
    ASSERT_NE(table, std::string::npos);
    std::size_t at = table + 26;
    const std::size_t headerEnd = text.find("\r\n", at);
    const std::string header = text.substr(at, headerEnd - at);
    const std::size_t levelEnd = header.find("Level") + 5;
    ASSERT_NE(header.find("Level"), std::string::npos);
    at = text.find("\r\n", headerEnd + 2) + 2;  // past the dashes
    int rows = 0;
    for (std::size_t end = text.find("\r\n", at); end != std::string::npos && end > at; end = text.find("\r\n", at)) {
        const std::string row = text.substr(at, end - at);
        if (row.size() < levelEnd) break;
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(row[levelEnd - 1]))) << row;
        EXPECT_EQ(row[levelEnd], ' ') << row;
        ++rows;
        at = end + 2;
    }
    EXPECT_EQ(rows, 41);
}

}  // namespace
}  // namespace orrimar::logs

// Names beside ids in the system log, the alien log and the sector report,
// and a sector without names reading exactly as it always did.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "engine/engine.h"
#include "logs/star_summary.h"
#include "logs/sector_map_svg.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/well_formed.h"
#include "names/sector_names.h"
#include "records/record_file.h"
#include "records/sector_files.h"

using namespace orrimar;
using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::reading;
using namespace orrimar::logs;
using namespace orrimar::engine;
using orrimar::logtest::checkWellFormed;
using orrimar::logtest::makeFixtureSector;
using orrimar::testing::fileBytes;
using orrimar::testing::testDir;

namespace {

bool has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

class NamesInLogs : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testDir("names_in_logs");
        sector = makeFixtureSector(dir, "Fixture Reach");
    }
    // Appends name records as renaming does.
    void name(NameKind kind, std::int32_t id, const std::string& ansi) {
        RecordFile<TNameRec> names(sectorPath(sector.base, ".nam"), RawRecordFile::Mode::OpenExisting);
        names.append(makeNameRecord(kind, id, ansi));
        names.close();
    }
    // System 0 "Vessane" (its giant renamed "Cinder", the giant's ring
    // "Pale Ring"), system 1 "Kethra", race 0 "Krai".
    void nameTheFixture() {
        name(NameKind::System, 0, "Vessane");
        name(NameKind::System, 1, "Kethra");
        name(NameKind::Race, 0, "Krai");
        name(NameKind::Planet, 2, "Cinder");
        name(NameKind::Moon, 2, "Pale Ring");
    }
    std::string starlog(std::int32_t system, LogFormat format = LogFormat::Text) {
        const std::string path = dir + (format == LogFormat::Text ? "/sys.log" : "/sys.html");
        main_starlog(sector.base, path, system, 1, format);
        return fileBytes(path);
    }
    std::string alienlog(LogFormat format = LogFormat::Text) {
        std::ostringstream log;
        main_alienlog(sector.base, 0, 0, format, log);
        return log.str();
    }
    std::string report() {
        main_map(sector.base, dir + "/rep", true, true, true, true);
        return fileBytes(dir + "/rep.map") + fileBytes(dir + "/rep.html");
    }
    // Every output a person reads, in both formats.
    std::string everything() {
        return starlog(0) + starlog(1) + starlog(0, LogFormat::Html) + alienlog() + alienlog(LogFormat::Html) +
               report();
    }
    std::string dir;
    logtest::FixtureSector sector;
};

}  // namespace

TEST_F(NamesInLogs, SystemLogNamesTheSystemItsWorldsMoonsAndRaces) {
    nameTheFixture();
    const std::string log = starlog(0);
    EXPECT_TRUE(log.starts_with("System Vessane (0) of sector Fixture Reach\r\n")) << log.substr(0, 80);
    EXPECT_TRUE(has(log, "Name:")) << log;
    EXPECT_TRUE(has(log, "Vessane\r\n"));
    EXPECT_TRUE(has(log, "race Krai (0) on planet I\r\n")) << log;
    // The orbit table's Name column: the conventional names, the override.
    EXPECT_TRUE(has(log, " Name ")) << log;
    EXPECT_TRUE(has(log, " Vessane I ")) << log;
    EXPECT_TRUE(has(log, " Vessane belt 1 ")) << log;
    EXPECT_TRUE(has(log, " Cinder ")) << log;
    EXPECT_TRUE(has(log, "Orbit 1: Vessane I, ")) << log;
    EXPECT_TRUE(has(log, "Orbit 3: Cinder, ")) << log;
    // Moons: their planet's name and a letter, or their own override.
    EXPECT_TRUE(has(log, "Moon 1: Vessane I a\r\n")) << log;
    EXPECT_TRUE(has(log, "Moon 1: Cinder a\r\n")) << log;
    EXPECT_TRUE(has(log, "Moon 2: Pale Ring\r\n")) << log;
    EXPECT_TRUE(has(log, "Krai. ")) << log;  // the native race's brief

    // A companion's planets carry its letter.
    const std::string binary = starlog(1);
    EXPECT_TRUE(binary.starts_with("System Kethra (1) of sector")) << binary.substr(0, 80);
    EXPECT_TRUE(has(binary, " Kethra B I ")) << binary;

    const std::string page = starlog(0, LogFormat::Html);
    EXPECT_EQ(checkWellFormed(page), "");
    EXPECT_TRUE(has(page, "<td>Vessane belt 1</td>")) << page;
}

// The Atlas's one-screen summary calls a race by its name beside its id.
TEST_F(NamesInLogs, TheSummaryCallsARaceByItsName) {
    std::ostringstream before;
    writeStarSummary(sector.base, 0, LogFormat::Text, before);
    EXPECT_TRUE(has(before.str(), "race 0: ")) << before.str();
    nameTheFixture();
    std::ostringstream after;
    writeStarSummary(sector.base, 0, LogFormat::Text, after);
    EXPECT_TRUE(has(after.str(), "Krai (race 0): ")) << after.str();
}

TEST_F(NamesInLogs, AlienLogNamesTheRaceAndItsHomeWorld) {
    nameTheFixture();
    const std::string log = alienlog();
    EXPECT_TRUE(log.starts_with("Alien race Krai (0) of Fixture Reach\r\n")) << log.substr(0, 80);
    EXPECT_TRUE(has(log, "Krai: a ")) << log;
    EXPECT_TRUE(has(log, ", from Vessane I, a ")) << log;
    EXPECT_TRUE(has(log, "planet Vessane I (0)\r\n")) << log;
    EXPECT_TRUE(has(log, "Vessane (0) at x 3, y -4, z 7 pc\r\n")) << log;
    const std::string page = alienlog(LogFormat::Html);
    EXPECT_EQ(checkWellFormed(page), "");
    EXPECT_TRUE(has(page, "Krai")) << page;

    // An override of the home world wins over its conventional name.
    name(NameKind::Planet, 0, "Greenhold");
    EXPECT_TRUE(has(alienlog(), "planet Greenhold (0)\r\n"));
}

TEST_F(NamesInLogs, ReportHasNameColumnsAndMapLabels) {
    nameTheFixture();
    main_map(sector.base, dir + "/rep", true, true, false, false);
    const std::string text = fileBytes(dir + "/rep.map");
    const std::string html = fileBytes(dir + "/rep.html");
    // Systems: "Id" then "Name", as wide as the longest name (7: "Vessane").
    EXPECT_TRUE(has(text, "\r\n     Id  Name       ")) << text;
    EXPECT_TRUE(has(text, "\r\n      0  Vessane  ")) << text;
    EXPECT_TRUE(has(text, "\r\n      1  Kethra   ")) << text;
    // Races: the name after the id.
    EXPECT_TRUE(has(text, "    Id  Name  Home world")) << text;
    EXPECT_TRUE(has(text, "     0  Krai           0")) << text;
    EXPECT_EQ(checkWellFormed(html), "");
    EXPECT_TRUE(has(html, "<td>Vessane</td>"));
    EXPECT_TRUE(has(html, "<td>Krai</td>"));
    // Both systems fit a label on the map; the caption says what they are.
    EXPECT_TRUE(has(html, "<g class=\"labels\""));
    EXPECT_TRUE(has(html, ">Vessane</text>"));
    EXPECT_TRUE(has(html, ">Kethra</text>"));
    EXPECT_TRUE(has(html, "Names mark the inhabited and the brightest systems"));
}

// No name records, records of another program's kind only, or every name
// taken away again: the logs and the report are byte for byte as they were
// before names existed, with no Name column and no labels.
TEST_F(NamesInLogs, ASectorWithoutNamesReadsAsItAlwaysDid) {
    const std::string plain = everything();
    // (The test's own folder name holds "Names": look for the column and line.)
    EXPECT_FALSE(has(plain, "Name:"));
    EXPECT_FALSE(has(plain, "  Name  "));
    EXPECT_FALSE(has(plain, "<th>Name</th>"));
    EXPECT_FALSE(has(plain, "class=\"labels\""));
    EXPECT_TRUE(has(plain, "System 0 of sector Fixture Reach\r\n"));
    EXPECT_TRUE(has(plain, "Alien race 0 of Fixture Reach\r\n"));

    TNameRec foreign = makeNameRecord(NameKind::System, 0, "Theirs");
    foreign.kind = 9;
    {
        RecordFile<TNameRec> names(sectorPath(sector.base, ".nam"), RawRecordFile::Mode::OpenExisting);
        names.append(foreign);
    }
    EXPECT_EQ(everything(), plain);

    nameTheFixture();
    EXPECT_NE(everything(), plain);
    for (const auto kind : {NameKind::System, NameKind::Race, NameKind::Planet, NameKind::Moon}) {
        for (std::int32_t id = 0; id < 4; ++id) name(kind, id, "");
    }
    EXPECT_EQ(everything(), plain);
}

TEST(SectorMapLabels, InhabitedFirstThenTheBrightestAndNeverOverlapping) {
    SectorMap map(4, 0, 100, 0, 100, 0, 0);
    // Two systems a parsec apart at the map's left edge: the dimmer one is
    // inhabited and takes the room right of it; the brighter one's name fits
    // neither right (the other dot) nor left (the edge) of it.
    map.add({1, 50, 0, 5, false, false, 0, "Brightstar", 50.0F});
    map.add({2, 50, 0, 5, true, false, 1, "Homeworld", 0.5F});
    map.add({80, 20, 0, 5, false, false, 2, "Faraway", 1.0F});
    map.add({80, 80, 0, 5, false, false, 3, "", 99.0F});  // no name: no label
    const std::string svg = map.svg();
    EXPECT_TRUE(has(svg, ">Homeworld</text>")) << svg;
    EXPECT_FALSE(has(svg, ">Brightstar</text>")) << svg;
    EXPECT_TRUE(has(svg, ">Faraway</text>")) << svg;
    EXPECT_TRUE(has(map.caption(), "Names mark"));

    // Names are escaped; a map of unnamed systems has no label group.
    SectorMap escaped(1, 0, 10, 0, 10, 0, 0);
    escaped.add({5, 5, 0, 5, true, false, 0, "A&B <c>", 1.0F});
    EXPECT_TRUE(has(escaped.svg(), ">A&amp;B &lt;c&gt;</text>"));
    SectorMap unnamed(1, 0, 10, 0, 10, 0, 0);
    unnamed.add({5, 5, 0, 5, true, false, 0, "", 1.0F});
    EXPECT_FALSE(has(unnamed.svg(), "labels"));
    EXPECT_FALSE(has(unnamed.caption(), "Names"));
}

TEST(SectorMapLabels, AtMostTheLimitAndOnlyTheBrightestOfTheUninhabited) {
    // 400 named systems spread on a 20 x 20 grid, 5 parsecs apart: room
    // for many labels, but no more than the limit, and none for the dimmer
    // systems past the brightest kMapBrightLabels.
    SectorMap map(400, 0, 100, 0, 100, 0, 0);
    for (int i = 0; i < 400; ++i) {
        map.add({static_cast<std::int16_t>(i % 20 * 5), static_cast<std::int16_t>(i / 20 * 5), 0, 5, false, false, i,
                 "S" + std::to_string(i), static_cast<float>(i)});
    }
    const std::string svg = map.svg();
    const std::size_t start = svg.find("class=\"labels\"");
    ASSERT_NE(start, std::string::npos);
    const std::string group = svg.substr(start, svg.find("</g>", start) - start);
    std::size_t labels = 0;
    for (std::size_t at = group.find("</text>"); at != std::string::npos; at = group.find("</text>", at + 1)) ++labels;
    EXPECT_GT(labels, 0U);
    EXPECT_LE(labels, kMapBrightLabels);
    EXPECT_TRUE(has(svg, ">S399</text>"));  // the brightest
    EXPECT_FALSE(has(svg, ">S0</text>"));   // the dimmest
}

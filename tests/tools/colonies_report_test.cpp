#include "tools/colonies_report.h"

#include <gtest/gtest.h>

#include "common/errors.h"
#include "records/colony_codes.h"
#include "support/hand_made_sector.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

constexpr std::uint16_t kIndependent = 65535;

TPlanetRec planet(std::int32_t system, std::uint8_t worldType, std::int16_t colonisingRace) {
    TPlanetRec p;
    p.systemId = system;
    p.worldType = worldType;
    p.colonisingRaceId = colonisingRace;
    return p;
}

TMoonRec moon(std::int32_t planetId, std::uint8_t worldType) {
    TMoonRec m;
    m.planetId = planetId;
    m.worldType = worldType;
    return m;
}

struct ColonyFields {
    std::int32_t world;
    std::uint16_t race;
    std::uint16_t allegiance;
    std::uint8_t kind;
    std::uint8_t population;
    std::uint8_t type;
    std::uint8_t crime, law, stability;
    std::uint8_t starport;
    std::uint16_t gnp, power;
    std::uint8_t facilities;
};

TColonyRec colony(const ColonyFields& f) {
    TColonyRec c;
    c.worldId = f.world;
    c.race = f.race;
    c.allegiance = f.allegiance;
    c.kind = f.kind;
    c.populationCode = f.population;
    c.colonyType = f.type;
    c.crimeLevel = f.crime;
    c.lawLevel = f.law;
    c.stability = f.stability;
    c.starport = f.starport;
    c.gnp = f.gnp;
    c.power = f.power;
    c.facilities[0] = f.facilities;
    return c;
}

// Systems 0..7; 0, 5 and 7 get the colonies of race 2, system 3 only an
// independent colony of that race.
SectorContent colonisedSector() {
    SectorContent s;
    s.systems.resize(8);
    s.systems[0].x = -3;
    s.systems[0].z = 12;
    s.systems[3].x = 4;
    s.systems[5].x = 10188;
    s.systems[5].y = -32768;
    s.systems[5].z = 32767;
    s.systems[7].x = 1;
    s.systems[7].y = 2;
    s.systems[7].z = 3;
    s.planets = {planet(7, 10, 2), planet(7, 3, -1), planet(3, 12, -1), planet(5, 13, 2), planet(0, 23, 7)};
    s.moons = {moon(1, 1), moon(3, 19)};
    s.colonies = {
        colony({0, 2, 2, 1, 35, 3, 4, 5, 7, 2, 1200, 300, 0x81}),
        // Another race's colony, with codes no table holds: never looked at.
        colony({2, 4, 4, 1, 99, 0, 0, 0, 0, 0, 0, 0, 0}),
        colony({0, 2, 2, 2, 0, 10, 0, 0, 0, 5, 0, 0, 0x00}),
        colony({2, 2, kIndependent, 1, 9, 9, 1, 2, 12, 4, 5, 6, 0x10}),
        colony({4, 5, kIndependent, 1, 20, 1, 0, 0, 0, 1, 0, 0, 0}),
        colony({3, 1, 2, 1, 10, 11, 9, 8, 3, 1, 65535, 7, 0x7E}),
        colony({1, 2, 2, 0, 19, 7, 3, 3, 99, 3, 10, 20, 0x02}),
        colony({4, 2, 2, 1, 60, 8, 0, 1, 5, 2, 0, 0, 0x00}),
        colony({4, 2, 2, 1, 69, 2, 0, 0, 0, 1, 0, 0, 0x04}),
    };
    s.colonies[6].facilities[1] = 0xFF;  // the second facility byte means nothing here
    return s;
}

// What the report of race 2 on colonisedSector() must say, line by line.
const std::vector<std::string> kRace2Report = {
    "   Colonies owned by Race [     2 ]",
    "   --------------------------------",
    "",
    "",
    "Colony: 0",
    "world id  : 0",
    "system    : 7",
    "world     : Terran       ",
    "type      : Industrial",
    "race      : 2",
    "allegiance: 2",
    "Plan alleg: 2",
    "Population: 60 millions",
    "starport  : Good",
    "law       : 5     stability :  7     crime     : 4",
    "gnp       : 1200",
    "power     : 300",
    "  Facilities: ",
    "    -Military Base",
    "    -Orbital tower",
    "",
    "Moon base: 2",
    "world id  : 0",
    "system    : 7",
    "world     : Ice Ball     ",
    "type      : Military",
    "race      : 2",
    "allegiance: 2",
    "Plan alleg: 65535",
    "Population: 10 thousands",
    "starport  : None",
    "law       : 0     stability :  0     crime     : 0",
    "gnp       : 0",
    "power     : 0",
    "  Facilities: ",
    "    -None",
    "",
    "Colony: 3",
    "world id  : 2",
    "system    : 3",
    "world     : Ocean        ",
    "type      : Settlement",
    "race      : 2",
    "allegiance: Independant",
    "Plan alleg: 65535",
    "Population: 100 thousands",
    "starport  : Primitive",
    "law       : 2     stability : 12     crime     : 1",
    "gnp       : 5",
    "power     : 6",
    "  Facilities: ",
    "    -University",
    "",
    "Colony: 5",
    "world id  : 3",
    "system    : 5",
    "world     : Desert       ",
    "type      : Research",
    "race      : 1",
    "allegiance: 2",
    "Plan alleg: 2",
    "Population: 100 thousands",
    "starport  : Excellent",
    "law       : 8     stability :  3     crime     : 9",
    "gnp       : 65535",
    "power     : 7",
    "  Facilities: ",
    "    -Naval Base",
    "    -Prison Camp",
    "    -Exile Camp",
    "    -University",
    "    -Military Academy",
    "    -Arcology",
    "",
    "Moon base: 6",
    "world id  : 1",
    "system    : 5",
    "world     : Ring         ",
    "type      : Capital",
    "race      : 2",
    "allegiance: 2",
    "Plan alleg: 2",
    "Population: 1 millions",
    "starport  : Fair",
    "law       : 3     stability : 99     crime     : 3",
    "gnp       : 10",
    "power     : 20",
    "  Facilities: ",
    "    -Naval Base",
    "",
    "Colony: 7",
    "world id  : 4",
    "system    : 0",
    "world     : Tundra       ",
    "type      : Homeworld",
    "race      : 2",
    "allegiance: 2",
    "Plan alleg: 7",
    "Population: 10000 millions",
    "starport  : Good",
    "law       : 1     stability :  5     crime     : 0",
    "gnp       : 0",
    "power     : 0",
    "  Facilities: ",
    "    -None",
    "",
    "Colony: 8",
    "world id  : 4",
    "system    : 0",
    "world     : Tundra       ",
    "type      : High population",
    "race      : 2",
    "allegiance: 2",
    "Plan alleg: 7",
    "Population: 19000 millions",
    "starport  : Excellent",
    "law       : 0     stability :  0     crime     : 0",
    "gnp       : 0",
    "power     : 0",
    "  Facilities: ",
    "    -Prison Camp",
    "",
    "",
    "",
    "Systems controlled: 3",
    "",
    "    Id     X     Y     Z  ",
    "--------------------------",
    "",
    "     0    -3     0    12    ",
    "     5 10188 -32768 32767    ",
    "     7     1     2     3    ",
};

// The lines of a report; every line must end with CR LF.
std::vector<std::string> reportLines(const fs::path& path) {
    const std::string text = fileBytes(path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "last line without CR LF: '" << text.substr(start) << "'";
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    for (const auto& line : lines) {
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break in '" << line << "'";
    }
    return lines;
}

void expectLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
        EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
    }
    EXPECT_EQ(actual.size(), expected.size());
}

struct ColoniesReportTest : ::testing::Test {
    fs::path dir;
    std::string sector;
    std::string log;

    void SetUp() override {
        dir = freshDir(std::string("colonies_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        sector = (dir / "sector").string();
        log = (dir / "report").string();
    }
};

TEST_F(ColoniesReportTest, ListsTheRacesColoniesAndTheSystemsItControls) {
    writeSector(sector, colonisedSector());
    WriteColoniesReport(sector, 2, log);
    expectLines(reportLines(log + ".log"), kRace2Report);
    EXPECT_FALSE(fs::exists(log + ".log.tmp"));
}

TEST_F(ColoniesReportTest, IndependentColoniesAloneControlNothing) {
    writeSector(sector, colonisedSector());
    WriteColoniesReport(sector, 5, log);  // race 5 has one independent colony
    const auto lines = reportLines(log + ".log");
    ASSERT_EQ(lines.size(), 4U + 16U + 7U);
    EXPECT_EQ(lines[0], "   Colonies owned by Race [     5 ]");
    EXPECT_EQ(lines[4], "Colony: 4");
    EXPECT_EQ(lines[10], "allegiance: Independant");
    EXPECT_EQ(lines[22], "Systems controlled: 0");
    EXPECT_EQ(lines.back(), "");
}

TEST_F(ColoniesReportTest, SectorWithoutColoniesGivesTheHeadingsOnly) {
    SectorContent empty = colonisedSector();
    empty.colonies.clear();
    writeSector(sector, empty);
    WriteColoniesReport(sector, 65534, log);
    expectLines(reportLines(log + ".log"), {
                                               "   Colonies owned by Race [ 65534 ]",
                                               "   --------------------------------",
                                               "",
                                               "",
                                               "",
                                               "",
                                               "Systems controlled: 0",
                                               "",
                                               "    Id     X     Y     Z  ",
                                               "--------------------------",
                                               "",
                                           });
}

TEST_F(ColoniesReportTest, ReplacesAnEarlierLog) {
    writeSector(sector, colonisedSector());
    writeFileBytes(log + ".log", std::string(100000, 'x'));
    WriteColoniesReport(sector, 2, log);
    expectLines(reportLines(log + ".log"), kRace2Report);
}

// ---------------------------------------------------------------- failures
// A report that stops leaves the previous log untouched and no stray file.

struct ColoniesReportFailure : ColoniesReportTest {
    const std::string oldLog = "the previous report\r\n";

    template <typename Error>
    std::string expectFailure(const SectorContent& content, long race, const char* missing = nullptr) {
        writeSector(sector, content);
        if (missing != nullptr) fs::remove(sector + missing);
        writeFileBytes(log + ".log", oldLog);
        std::string message;
        try {
            WriteColoniesReport(sector, race, log);
            ADD_FAILURE() << "the report did not stop";
        } catch (const Error& e) {
            message = e.what();
        }
        EXPECT_EQ(fileBytes(log + ".log"), oldLog);
        EXPECT_FALSE(fs::exists(log + ".log.tmp"));
        return message;
    }
};

TEST_F(ColoniesReportFailure, RaceOutsideTheSixteenBitRaceNumbersIsRefused) {
    for (const long race : {-1L, 65535L, 65536L, -70000L}) {
        const std::string message = expectFailure<InputError>(colonisedSector(), race);
        EXPECT_NE(message.find("between 0 and 65534"), std::string::npos) << message;
    }
    // Refused before anything is written: no log appears where there was none.
    fs::remove(log + ".log");
    EXPECT_THROW(WriteColoniesReport(sector, -1, log), InputError);
    EXPECT_FALSE(fs::exists(log + ".log"));
}

TEST_F(ColoniesReportFailure, OutOfRangeCodesStopTheReport) {
    // The runtime's words first, then the file, the record and the field.
    struct Case {
        const char* what;
        void (*spoil)(SectorContent&);
    };
    const Case cases[] = {
        {".col record 8: colony type 0 outside 1..11", [](SectorContent& s) { s.colonies[8].colonyType = 0; }},
        {".col record 8: colony type 12 outside 1..11", [](SectorContent& s) { s.colonies[8].colonyType = 12; }},
        {".col record 8: starport class 0 outside 1..5", [](SectorContent& s) { s.colonies[8].starport = 0; }},
        {".col record 8: starport class 6 outside 1..5", [](SectorContent& s) { s.colonies[8].starport = 6; }},
        {".col record 8: population code 70 outside 0..69",
         [](SectorContent& s) { s.colonies[8].populationCode = 70; }},
        {".col record 8: population code 255 outside 0..69",
         [](SectorContent& s) { s.colonies[8].populationCode = 255; }},
        {".pln record 4: world type 0 outside 1..23", [](SectorContent& s) { s.planets[4].worldType = 0; }},
        {".mon record 1: world type 24 outside 1..23", [](SectorContent& s) { s.moons[1].worldType = 24; }},
        {".pln record 4: system id 65536 outside the 16-bit system ids 0..65535",
         [](SectorContent& s) { s.planets[4].systemId = 65536; }},
        {".pln record 3: system id -1 outside the 16-bit system ids 0..65535",
         [](SectorContent& s) { s.planets[3].systemId = -1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SectorContent content = colonisedSector();
        c.spoil(content);
        const std::string message = expectFailure<RangeError>(content, 2);
        EXPECT_EQ(message, "Range check error: " + sector + c.what);
    }
}

TEST_F(ColoniesReportFailure, IdsBeyondTheirFilesAreInputOutputErrors) {
    const std::pair<const char*, void (*)(SectorContent&)> cases[] = {
        {".col record 0: world id 5 beyond the planet file's 5 records",
         [](SectorContent& s) { s.colonies[0].worldId = 5; }},
        {".col record 2: world id 2 beyond the moon file's 2 records",
         [](SectorContent& s) { s.colonies[2].worldId = 2; }},
        {".col record 0: world id -1 beyond the planet file's 5 records",
         [](SectorContent& s) { s.colonies[0].worldId = -1; }},
        {".mon record 0: planet id 9 beyond the planet file's 5 records",
         [](SectorContent& s) { s.moons[0].planetId = 9; }},
        {".pln record 0: system id 7 beyond the system file's 6 records",
         [](SectorContent& s) { s.systems.resize(6); }},
    };
    for (const auto& [what, spoil] : cases) {
        SCOPED_TRACE(what);
        SectorContent content = colonisedSector();
        spoil(content);
        const std::string message = expectFailure<IoError>(content, 2);
        EXPECT_EQ(message, "Read beyond end of file: " + sector + what);
    }
}

TEST_F(ColoniesReportFailure, MissingSectorFileStopsTheReport) {
    // The control and race files are never read, but must be there.
    for (const char* missing : {".pln", ".mon", ".col", ".con", ".aln", ".sun"}) {
        SCOPED_TRACE(missing);
        const std::string message = expectFailure<IoError>(colonisedSector(), 2, missing);
        // A missing system file means there is no sector there at all.
        if (std::string(missing) == ".sun")
            EXPECT_EQ(message.rfind("No sector at ", 0), 0U) << message;
        else
            EXPECT_NE(message.find("File not found"), std::string::npos) << message;
    }
}

TEST_F(ColoniesReportFailure, UnwritableLogFolderIsAnInputOutputError) {
    writeSector(sector, colonisedSector());
    EXPECT_THROW(WriteColoniesReport(sector, 2, (dir / "no folder" / "report").string()), IoError);
}

TEST(PopulationText, ThousandsBelowOneMillionPeopleMillionsFromThere) {
    const std::pair<int, const char*> cases[] = {
        {0, "10 thousands"},    {9, "100 thousands"},   {10, "100 thousands"},  {18, "900 thousands"},
        {19, "1 millions"},     {20, "1 millions"},     {29, "10 millions"},    {35, "60 millions"},
        {59, "10000 millions"}, {60, "10000 millions"}, {69, "19000 millions"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(populationText(code), text) << "code " << code;
    // Codes 9 and 10, 19 and 20 ... name the same population.
    for (int d = 0; d < 6; ++d) EXPECT_EQ(populationPeople(10 * d + 9), populationPeople(10 * d + 10));
    EXPECT_EQ(populationPeople(69), 19'000'000'000ULL);
    EXPECT_THROW(populationPeople(70), RangeError);
    EXPECT_THROW(populationPeople(-1), RangeError);
}

}  // namespace
}  // namespace orrimar

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>

#include <fmt/format.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/bit_flags.h"
#include "common/errors.h"
#include "vocabulary/alien_names.h"
#include "engine/engine.h"
#include "support/test_dir.h"
#include "support/fixture_sector.h"
#include "support/well_formed.h"
#include "logs/rule_systems.h"
#include "generation/physics.h"
#include "records/record_file.h"
#include "records/sector_files.h"

namespace orrimar::logs {

using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::reading;
using namespace orrimar::engine;

namespace {

namespace fixtures = orrimar::logtest;

// Every field of the record set to a value the log must show.
TAlienRec fullRace() {
    TAlienRec r;
    r.worldId = 0;
    r.habitat = 3;
    r.bodyForm = 3;
    r.appendageCount = 4;
    r.appendageTypes = {5, 3, 2, 4, 1, 0, 0, 0, 0, 0, 0, 0};  // entry 5 is beyond the count
    r.aspectA = 3;
    r.aspectB = 2;
    r.aspectC = 2;
    r.aspectD = 6;
    r.aspectE = 4;
    r.aspectF = 7;
    r.orderCode = 13;
    r.subtype = 5;
    r.formCode = 21;
    r.mass = 85;
    r.height = 180;
    r.attributes = {2, 20, 11, 15, 9, 12, 4};
    r.techLevel = 8;
    r.massClass = 13;
    r.ratingA = 14;
    r.ratingB = 11;
    r.ratingC = 120;
    r.ratingD = 3;
    r.ratingE = 17;
    r.spatialAge = 33;
    const auto setTrait = [&](int t) {
        setBit(r.traits[static_cast<std::size_t>((t - 1) / 8)], static_cast<std::uint8_t>((t - 1) % 8 + 1));
    };
    setTrait(9);
    setTrait(53);
    setTrait(96);
    setBit(r.flagSet1[0], 1);  // flag 1
    setBit(r.flagSet1[1], 2);  // flag 10
    setBit(r.flagSet2[1], 8);  // flag 16
    setBit(r.flagSet3[0], 6);
    setBit(r.flagSet3[1], 4);  // flag 12
    setBit(r.flagSet3[1], 7);  // flag 15
    setBit(r.flagSet4[1], 1);  // flag 9
    setBit(r.flagSet5[0], 8);
    setBit(r.flagSet5[1], 3);  // flag 11
    return r;
}

class AlienLog : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testing::testDir(std::string("alienlog_") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        sector = fixtures::makeFixtureSector(dir, "Fixture <Reach>");
        RecordFile<TAlienRec> races(sectorPath(sector.base, ".aln"), RawRecordFile::Mode::Create);
        races.append(fullRace());
        races.close();
    }
    std::string write(int system, LogFormat format = LogFormat::Text, std::int32_t id = 0) {
        std::ostringstream log;
        main_alienlog(sector.base, id, static_cast<std::uint8_t>(system), format, log);
        return log.str();
    }

    std::string dir;
    fixtures::FixtureSector sector;
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) break;
        out.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

// The values of every "Key: value" line with that key, in order.
std::vector<std::string> valuesOf(const std::string& log, const std::string& key) {
    std::vector<std::string> out;
    for (const std::string& line : lines(log)) {
        if (line.rfind(key + ":", 0) != 0) continue;
        std::string value = line.substr(key.size() + 1);
        value.erase(0, value.find_first_not_of(' '));
        out.push_back(value);
    }
    return out;
}
std::string valueOf(const std::string& log, const std::string& key) {
    const auto all = valuesOf(log, key);
    return all.empty() ? std::string("<missing " + key + ">") : all.front();
}

// The cells of a text table row (columns are two or more spaces apart).
std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    std::size_t i = line.find_first_not_of(' ');
    while (i != std::string::npos && i < line.size()) {
        std::size_t end = line.find("  ", i);
        out.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
        i = end == std::string::npos ? end : line.find_first_not_of(' ', end);
    }
    return out;
}
// The first table row whose first cell is `first`, looking below the line
// that starts with `below` when it is given.
std::vector<std::string> rowStarting(const std::string& log, const std::string& first, const std::string& below = "") {
    bool searching = below.empty();
    for (const std::string& line : lines(log)) {
        if (!searching) {
            searching = line.rfind(below, 0) == 0;
            continue;
        }
        auto row = cells(line);
        if (!row.empty() && row[0] == first) return row;
    }
    return {};
}
// Cell `column` of the row that `first` starts, or a marker naming what is
// missing: a row that is not there fails the case instead of indexing past
// an empty list.
std::string cellOf(const std::string& log, const std::string& first, std::size_t column) {
    const auto row = rowStarting(log, first);
    return column < row.size() ? row[column] : "<no cell " + std::to_string(column) + " in row " + first + ">";
}

TEST_F(AlienLog, EveryFieldOfTheRaceAppearsWithItsValue) {
    const std::string log = write(0);
    const auto logLines = lines(log);
    // A log without CRLF line ends gives no lines: a failed case, not a crash.
    ASSERT_FALSE(logLines.empty());
    EXPECT_EQ(logLines.front(), "Alien race 0 of Fixture <Reach>");

    // Home world: planet 0 of the fixture, a Terran world in system 0.
    EXPECT_EQ(valueOf(log, "World"), "planet 0");
    EXPECT_EQ(valueOf(log, "System"), "0 at x 3, y -4, z 7 pc");
    EXPECT_EQ(valueOf(log, "World type"), "Terran");
    EXPECT_EQ(valueOf(log, "Diameter"), "12,756 km");
    const Bulk bulk = bulkProperties(10, 12756);
    EXPECT_EQ(valueOf(log, "Gravity"), fmt::format("{:.2f} g", bulk.gravity));
    EXPECT_EQ(valueOf(log, "Temperature"), "15 °C");
    EXPECT_EQ(valueOf(log, "Atmosphere").rfind("Nitrogen/Oxygen, ", 0), 0U);
    EXPECT_EQ(valueOf(log, "Water cover"), "70 %");

    EXPECT_EQ(valuesOf(log, "Habitat"), (std::vector<std::string>{"Shore (amphibious)", "3"}));
    EXPECT_EQ(valueOf(log, "Type"), "Reptilian");
    EXPECT_EQ(valueOf(log, "Form"), "Multi-limbed");
    EXPECT_EQ(valueOf(log, "Body chemistry"), "Silicon-based");
    EXPECT_EQ(valueOf(log, "Appendages"), "4: Legs, Arms, Fins, Tentacles");
    EXPECT_EQ(valueOf(log, "Height"), "1.80 m (180 cm)");
    EXPECT_EQ(valueOf(log, "Mass"), "85 kg");
    EXPECT_EQ(valueOf(log, "Size class"), "13");
    EXPECT_EQ(valueOf(log, "Covering"), "Fur");
    EXPECT_EQ(valueOf(log, "Colours"), "Black, Blue");
    EXPECT_EQ(valueOf(log, "Covering colours"), "Translucent");
    EXPECT_EQ(valueOf(log, "Eye colours"), "Green");
    EXPECT_EQ(valueOf(log, "Body features"), "Claws, Patterned, Striped");
    EXPECT_EQ(valueOf(log, "Physiology"), "Echolocation, Red blood");

    EXPECT_EQ(valueOf(log, "Diet"), "Carnivore");
    EXPECT_EQ(valueOf(log, "Reproduction"), "Hermaphrodite");
    EXPECT_EQ(valueOf(log, "Young"), "Eggs");
    EXPECT_EQ(valueOf(log, "Life span"), "120 years");
    EXPECT_EQ(valueOf(log, "Speed"), "11");
    EXPECT_EQ(valueOf(log, "Instinct"), "3 of 20");
    EXPECT_EQ(valueOf(log, "Hostility"), "17 of 20");

    EXPECT_EQ(valueOf(log, "Development level"), "8");
    EXPECT_EQ(valueOf(log, "Spatial age"), "33 years in space");
    EXPECT_EQ(valueOf(log, "Society"), "Federation");
    EXPECT_EQ(valueOf(log, "Civilisation"), "14");
    EXPECT_EQ(valueOf(log, "Belief"), "Polytheism");
    EXPECT_EQ(valueOf(log, "Devotion"), "7 of 10");

    EXPECT_EQ(rowStarting(log, "9"), (std::vector<std::string>{"9", "Cold adaptation"}));
    EXPECT_EQ(rowStarting(log, "53"), (std::vector<std::string>{"53", "Swimmer"}));
    EXPECT_EQ(rowStarting(log, "96"), (std::vector<std::string>{"96", "Musical"}));

    EXPECT_EQ(valueOf(log, "Home world id"), "0");
    EXPECT_EQ(valueOf(log, "Body form"), "3");
    EXPECT_EQ(valueOf(log, "Subtype"), "5");
    EXPECT_EQ(valueOf(log, "Form code"), "21");
    EXPECT_EQ(valueOf(log, "Order code"), "13");
    EXPECT_EQ(valueOf(log, "Aspects"), "A 3, B 2, C 2, D 6, E 4, F 7");

    // Nothing the record does not hold: no wings beyond the count, no other trait.
    EXPECT_EQ(log.find("Wings"), std::string::npos);
    for (int t = 1; t <= kTraitCount; ++t) {
        if (t == 9 || t == 53 || t == 96) continue;
        EXPECT_TRUE(rowStarting(log, std::to_string(t)).empty()) << "trait " << t;
    }
}

TEST_F(AlienLog, EachOutputSystemShowsItsOwnAttributes) {
    const TAlienRec race = fullRace();
    const std::vector<std::string> development = {"8", "8 (Progress Level 7)", "8", "8 (TL 10)", "8", "8"};
    for (int system = 0; system < kRuleSystemCount; ++system) {
        SCOPED_TRACE(kOutputSystems[system]);
        const std::string log = write(system);
        EXPECT_NE(log.find(fmt::format("Attributes ({})", kOutputSystems[system])), std::string::npos);
        EXPECT_NE(log.find(fmt::format("Output system: {}.", kOutputSystems[system])), std::string::npos);
        for (const ConvertedAttribute& a : convertAttributes(system, race)) {
            const auto row = rowStarting(log, std::string(a.name), "Attributes (");
            ASSERT_GE(row.size(), 3U) << a.name;
            EXPECT_EQ(row[1], a.abbreviation);
            EXPECT_EQ(row[2], a.text);
        }
        EXPECT_EQ(valueOf(log, "Development level"), development[static_cast<std::size_t>(system)]);
        // The body is the same whatever the rule system.
        EXPECT_EQ(valueOf(log, "Appendages"), "4: Legs, Arms, Fins, Tentacles");
    }
    // A few values worked out by hand: strength 2, dexterity 20, constitution 11.
    EXPECT_EQ(cellOf(write(0), "Strength", 2), "2");
    EXPECT_EQ(cellOf(write(3), "Dexterity", 2), "15");
    EXPECT_EQ(cellOf(write(4), "Constitution", 2), "50");
    EXPECT_EQ(cellOf(write(2), "Aggression", 2), "85");  // hostility 17
    EXPECT_EQ(cellOf(write(5), "Movement", 2), "4");     // speed 11
}

TEST_F(AlienLog, TextUsesCrlfAndHtmlIsOneWellFormedEscapedPage) {
    for (int system = 0; system < kRuleSystemCount; ++system) {
        const std::string text = write(system);
        for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at " << i;
        const std::string html = write(system, LogFormat::Html);
        EXPECT_EQ(fixtures::checkWellFormed(html), "") << kOutputSystems[system];
        EXPECT_NE(html.find("Fixture &lt;Reach&gt;"), std::string::npos);
        EXPECT_EQ(html.find("<Reach>"), std::string::npos);
        EXPECT_EQ(html.find("<script"), std::string::npos);
        EXPECT_NE(html.find("<td>Cold adaptation</td>"), std::string::npos);
    }
    EXPECT_EQ(write(1), write(1));
}

TEST_F(AlienLog, ARaceIdBeyondTheFileIsAClearError) {
    std::ostringstream log;
    try {
        main_alienlog(sector.base, 1, 0, LogFormat::Text, log);
        FAIL() << "race 1 was logged";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), "Race 1 is not in " + sector.base + " (1 race)");
    }
    EXPECT_TRUE(log.str().empty());
    EXPECT_THROW(main_alienlog(sector.base, -1, 0, LogFormat::Text, log), InputError);

    RecordFile<TAlienRec>(sectorPath(sector.base, ".aln"), RawRecordFile::Mode::Create).close();
    try {
        main_alienlog(sector.base, 0, 0, LogFormat::Text, log);
        FAIL() << "a race was logged from an empty file";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), "Race 0 is not in " + sector.base + " (0 races)");
    }
    EXPECT_THROW(main_alienlog(dir + "/nowhere", 0, 0, LogFormat::Text, log), IoError);
    EXPECT_TRUE(log.str().empty());
}

TEST_F(AlienLog, OpensWithAPortraitOfTheRace) {
    const std::string html = write(0, LogFormat::Html);
    const Bulk bulk = bulkProperties(10, 12756);
    EXPECT_NE(html.find(fmt::format("<p>A silicon-based reptilian race (multi-limbed), at home on the shore, in and "
                                    "out of water, 1.80 m (180 cm) tall and 85 kg, from a Terran world of 15 °C and "
                                    "{:.2f} g. Development level 8; in space for 33 years.</p>",
                                    bulk.gravity)),
              std::string::npos);
    TAlienRec energy = fullRace();
    energy.bodyForm = 5;
    energy.spatialAge = 0;
    RecordFile<TAlienRec> races(sectorPath(sector.base, ".aln"), RawRecordFile::Mode::OpenExisting);
    races.append(energy);
    races.close();
    const std::string second = write(0, LogFormat::Html, 1);
    EXPECT_NE(second.find("<p>An energy reptilian race"), std::string::npos);
    EXPECT_NE(second.find("Development level 8; not spacefaring.</p>"), std::string::npos);
    EXPECT_NE(second.find("<td>none: not spacefaring</td>"), std::string::npos);
}

// The portrait's article follows the home world's type: "from a Terran
// world" above, "from an Arid world" here.
TEST_F(AlienLog, TheHomeWorldTakesTheArticleOfItsType) {
    {
        std::fstream pln(sectorPath(sector.base, ".pln"), std::ios::binary | std::ios::in | std::ios::out);
        pln.seekp(static_cast<std::streamoff>(offsetof(TPlanetRec, worldType)));  // planet 0, the home world
        pln.put(static_cast<char>(8));                                            // Arid
    }
    const std::string html = write(0, LogFormat::Html);
    EXPECT_NE(html.find("from an Arid world of 15 °C and "), std::string::npos);
    EXPECT_EQ(html.find("a Arid"), std::string::npos);
}

TEST_F(AlienLog, UnknownOutputSystemOrFormatIsRefused) {
    std::ostringstream log;
    EXPECT_THROW(main_alienlog(sector.base, 0, 6, LogFormat::Text, log), InputError);
    EXPECT_TRUE(log.str().empty());
}

TEST_F(AlienLog, ADamagedRaceOrHomeWorldIsRefusedNamingFileRecordAndField) {
    const std::string races = sectorPath(sector.base, ".aln");
    const std::string planets = sectorPath(sector.base, ".pln");
    TAlienRec race = fullRace();
    race.attributes[3] = 198;  // no "Instinct: 198 of 20"
    TAlienRec many = fullRace();
    many.appendageCount = 183;  // no "Appendages: 183"
    {
        RecordFile<TAlienRec> file(races, RawRecordFile::Mode::OpenExisting);
        file.append(race);
        file.append(many);
        file.close();
    }
    std::ostringstream log;
    try {
        main_alienlog(sector.base, 1, 0, LogFormat::Text, log);
        FAIL() << "logged";
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()), races + " record 1: attribute 4 rating 198 beyond 20");
    }
    try {
        main_alienlog(sector.base, 2, 0, LogFormat::Text, log);
        FAIL() << "logged";
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()), races + " record 2: appendage count 183 outside 0..12");
    }
    // The home world's record is checked as every sector reader checks it.
    {
        std::fstream file(planets, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(15);  // planet 0's world type
        file.put(static_cast<char>(40));
    }
    try {
        main_alienlog(sector.base, 0, 0, LogFormat::Text, log);
        FAIL() << "logged";
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()), planets + " record 0: world type 40 outside 1..23");
    }
    EXPECT_TRUE(log.str().empty());
}

TEST_F(AlienLog, AHomeWorldMissingFromThePlanetFileIsSaidSo) {
    TAlienRec race = fullRace();
    race.worldId = 99;
    RecordFile<TAlienRec> races(sectorPath(sector.base, ".aln"), RawRecordFile::Mode::OpenExisting);
    races.append(race);
    races.close();
    const std::string log = write(0, LogFormat::Text, 1);
    EXPECT_EQ(valueOf(log, "World"), "planet 99 (not in this sector's planet file)");
    EXPECT_EQ(valueOf(log, "Home world id"), "99");
}

TEST(AlienNames, EveryCodeHasItsOwnName) {
    const auto check = [](auto name, int count, const char* table) {
        std::set<std::string> seen;
        for (int code = 1; code <= count; ++code) {
            const std::string text = name(code);
            EXPECT_FALSE(text.empty()) << table << " " << code;
            EXPECT_EQ(text.find("unknown"), std::string::npos) << table << " " << code;
            EXPECT_TRUE(seen.insert(text).second) << table << " names two codes \"" << text << "\"";
        }
        EXPECT_EQ(name(0), "unknown (0)") << table;
        EXPECT_EQ(name(count + 1), fmt::format("unknown ({})", count + 1)) << table;
    };
    check(habitatName, kHabitatCount, "habitat");
    check(bodyFormName, kBodyFormCount, "body form");
    check(appendageName, kAppendageTypeCount, "appendage");
    check(subtypeName, kSubtypeCount, "subtype");
    check(formCodeName, kFormCodeCount, "form code");
    check(orderName, kOrderCodeCount, "order");
    check(traitName, kTraitCount, "trait");
    for (int set = 1; set <= kFlagSetCount; ++set) {
        check([set](int f) { return flagName(set, f); }, kFlagsPerSet, "flag set");
    }
    for (const Aspect a : {Aspect::A, Aspect::B, Aspect::C, Aspect::D, Aspect::E}) {
        check([a](int code) { return aspectName(a, code); }, aspectMaxCode(a), "aspect");
    }
    EXPECT_EQ(aspectName(Aspect::F, 0), "None");
    EXPECT_EQ(aspectName(Aspect::F, 10), "10 of 10");
}

TEST(AlienNames, NamesFollowTheRulesThatSetTheCodes) {
    EXPECT_EQ(traitName(9), "Cold adaptation");   // set below -5 degrees
    EXPECT_EQ(traitName(12), "Heat adaptation");  // set above 30 degrees
    EXPECT_EQ(traitName(51), "Cold-blooded");     // warm worlds; clears the cold adaptation
    EXPECT_EQ(traitName(52), "Flies with wings");
    EXPECT_EQ(traitName(53), "Swimmer");           // every shore or water race
    EXPECT_EQ(traitName(32), "Sessile");           // speed 0
    EXPECT_EQ(habitatName(5), "Air (flying)");     // never above 2 g, always winged
    EXPECT_EQ(habitatName(4), "Water (aquatic)");  // ocean worlds, fins
    EXPECT_EQ(appendageName(1), "Wings");
    EXPECT_EQ(appendageName(2), "Fins");
    EXPECT_EQ(subtypeName(10), "Machine");  // form code 18, level 6 at least
    EXPECT_EQ(ratingTitle('B'), "Speed");
}

}  // namespace
}  // namespace orrimar::logs

#include <gtest/gtest.h>

#include <sstream>

#include <filesystem>
#include <string>
#include <limits>

#include "common/errors.h"
#include "vocabulary/body_names.h"
#include "engine/engine.h"
#include "reading/sector_reader.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/well_formed.h"
#include "records/record_file.h"
#include "records/star_light.h"

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

// The lines of a log between the heading `from` and the next blank line.
std::string block(const std::string& log, const std::string& from) {
    const std::size_t start = log.find(from);
    if (start == std::string::npos) return {};
    const std::size_t end = log.find("\r\n\r\n", start);
    return log.substr(start, end == std::string::npos ? std::string::npos : end - start + 2);
}

void expectLines(const std::string& text, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        EXPECT_NE(text.find(line + "\r\n"), std::string::npos) << "missing line: " << line << "\nin:\n" << text;
    }
}

class StarLog : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testDir("starlog");
        sector = makeFixtureSector(dir, "Fixture <Reach>");
    }
    std::string write(std::int32_t system, LogFormat format = LogFormat::Text, const std::string& name = "sys.log") {
        const std::string path = dir + "/" + name;
        main_starlog(sector.base, path, system, 1, format);
        return fileBytes(path);
    }
    std::string dir;
    logtest::FixtureSector sector;
};

}  // namespace

TEST_F(StarLog, SystemAndStarFields) {
    const std::string log = write(0);
    expectLines(log, {
                         "System 0 of sector Fixture <Reach>",
                         "Sector:          Fixture <Reach>",
                         "System id:       0",
                         "Coordinates:     x 3, y -4, z 7 parsecs",
                         "Age:             4.6 billion years (age code 46)",
                         "Stars:           1 (A G2 V)",
                         "Bodies in orbit: 3",
                         "Native races:    race 0 on planet I",
                         "Star A: G2 V, yellow dwarf",
                         "Spectral class: G2 V",
                         "Kind:           yellow dwarf (star kind 5)",
                         "Mass:           1.00 solar masses",
                         "Luminosity:     1.00 solar luminosities",
                         "Zones:          inner 0.8 AU, middle 1.0 AU, outer 1.2 AU",
                         "Orbits:         3",
                     });
}

TEST_F(StarLog, SystemRaceOnlyWhenTheRecordNamesOne) {
    // No system race set: no line that could read as "no race lives here".
    EXPECT_EQ(write(0).find("System race"), std::string::npos);
    EXPECT_EQ(write(1).find("Native races"), std::string::npos);
}

TEST_F(StarLog, EveryPlanetFieldWithItsUnit) {
    const std::string planet = block(write(0), "Orbit 1: Terran planet at 1.0 AU");
    // Derived figures: the Earth's diameter and density give 1.00 Earth
    // masses, 1.00 g and sqrt(1.59e16 × 1.0015 / 12756) cm/s; 1 AU round one solar
    // mass is 365 days; the swing at class 3, one solar luminosity at 1 AU
    // and a 24-hour day is min(0.5 × 24 × 0.5, 288 × 2.5) = 6.
    expectLines(
        planet,
        {
            "World type:      Terran (type 10)",
            "Planet id:       0",
            "Distance:        1.0 AU",
            "Eccentricity:    0.017",
            "Year:            365 days (1.00 years)",
            "Day:             24 hours, locked to the orbit",
            "Axial tilt:      23°",
            "Diameter:        12,756 km",
            "Density:         1.0 × Earth (5.5 g/cm³)",
            "Mass:            1.00 Earth masses",
            "Surface gravity: 1.00 g",
            "Escape velocity: 11.17 km/s",
            "Atmosphere:      Standard (class 3: 0.65 to 1.5 atm)",
            "Pressure:        1.00 atm",
            "Composition:     Nitrogen/Oxygen (code 2, main gas of molecular weight 28)",
            "Gases held:      molecular weight 14 and heavier",
            "Temperature:     15 °C mean, day-night swing 6 °C",
            "Surface:         Wet (class 5)",
            "Water cover:     70 %",
            "Ice cover:       5 %",
            "Cloud cover:     40 %",
            "Albedo:          30 %",
            "Resources:       Metals 45/100, Radioactives 12/100, Precious metals 3/100, "
            "Crystals and gems 20/100, Exotic minerals 5/100",
            "Feature rating:  3",
            "Features:        Calm, stable world, Native sentient race, Twin world",
            "Life:            Sentient",
            "Native race:     Race 0: Humanoid, Carbon-based, living on land; development level 7, spatial age 40, "
            "80 kg, 170 cm tall",
            "Flags:           Rotation locked to the orbit",
            "Moons:           1",
        });
}

TEST_F(StarLog, TwinMoonBeltRingAndOrdinaryMoon) {
    const std::string log = write(0);
    const std::string twin = block(log, "Moon 1\r\nWorld type:      Terran");
    expectLines(twin, {
                          "World type:      Terran (type 10)",
                          "Moon id:         0",
                          "Twin:            a twin of its planet",
                          "Distance:        384,000 km from the planet",
                          "Diameter:        12,756 km",
                          "Surface gravity: 1.00 g",
                          "Temperature:     15 °C mean",
                          "Resources:       Metals 44/100, Radioactives 11/100, Precious metals 2/100, "
                          "Crystals and gems 19/100, Exotic minerals 4/100",
                          "Flags:           none",
                      });
    const std::string belt = block(log, "Orbit 2: Stony asteroid belt at 2.5 AU");
    expectLines(belt, {
                          "Belt kind:   Stony (type 16)",
                          "Planet id:   1",
                          "Distance:    2.5 AU",
                          "Year:        1,443 days (3.95 years)",
                          "Belt size:   5 (on a scale of 1 to 11)",
                          "Density:     0.6 × Earth (3.3 g/cm³)",
                          "Axial tilt:  4°",
                          "Atmosphere:  None (class 6: under 0.001 atm)",
                          "Temperature: -80 °C mean",
                          "Surface:     Barren (class 1)",
                          "Albedo:      10 %",
                      });
    const std::string giant = block(log, "Orbit 3: Gas Giant at 5.2 AU");
    expectLines(giant, {"Resources:       none", "Gases held:      all gases, even the lightest",
                        "Flags:           Volatile-rich (formed beyond the snow line)", "Moons:           2"});
    const std::string ice = block(log, "Moon 1\r\nWorld type:      Ice Ball");
    expectLines(ice, {"Moon id:         1", "Distance:        671,000 km from the planet", "Diameter:        3,122 km",
                      "Ice cover:       90 %", "Flags:           Volatile-rich (formed beyond the snow line)"});
    EXPECT_EQ(ice.find("Twin"), std::string::npos);
    const std::string ring = block(log, "Moon 2\r\nWorld type:  Ring");
    expectLines(ring,
                {"Moon id:     2", "Diameter:    none: a ring", "Pressure:    0 atm", "Composition: None (code 1)"});
    EXPECT_EQ(ring.find("Surface gravity"), std::string::npos);
}

TEST_F(StarLog, CompanionStarLightAndSeparation) {
    const std::string log = write(1);
    // Two stars of luminosity 1 at 4 AU light each other's planets by
    // 1 / sqrt(4): 1.5 each.
    expectLines(block(log, "Star B: M4 V, red dwarf"),
                {"Light on its planets: 1.50 solar luminosities (with its companions)",
                 "Separation:           4.0 AU from star A", "Orbits:               1"});
    EXPECT_NE(log.find("No planets or belts orbit this star."), std::string::npos);
    expectLines(block(log, "Orbit 1: Rock planet at 0.3 AU"),
                {"Gases held:      none (holds no gas)", "Day:             300 hours (12.5 days)"});
}

// Each star's light is its own plus its companion's, the same figure the
// generator placed its planets by: star A is the first star, not the second.
TEST_F(StarLog, EachStarIsLitAsTheGeneratorLitIt) {
    {
        RecordFile<TSystemRec> systems(sector.base + ".sun", RawRecordFile::Mode::OpenExisting);
        TSystemRec binary = systems.read(1);
        binary.luminosity = {1.0F, 4.0F, 0.0F};  // 4 AU apart: each companion's light halved
        systems.truncate(1);                     // the binary is the last system: written again
        systems.append(binary);
        systems.close();
        EXPECT_FLOAT_EQ(effectiveLuminosity(binary, 0), 3.0F);
        EXPECT_FLOAT_EQ(effectiveLuminosity(binary, 1), 4.5F);
    }
    const std::string log = write(1);
    expectLines(block(log, "Star A: "), {"Light on its planets: 3.00 solar luminosities (with its companions)"});
    expectLines(block(log, "Star B: "), {"Light on its planets: 4.50 solar luminosities (with its companions)"});
}

TEST_F(StarLog, HtmlPageIsWellFormedAndEscaped) {
    const std::string page = write(0, LogFormat::Html, "sys.html");
    EXPECT_EQ(checkWellFormed(page), "");
    EXPECT_NE(page.find("<title>System 0 of sector Fixture &lt;Reach&gt;</title>"), std::string::npos);
    EXPECT_NE(page.find("<tr><th>Escape velocity</th><td>11.17 km/s</td></tr>"), std::string::npos);
    EXPECT_NE(page.find("<h4>Moon 2</h4>"), std::string::npos);
}

TEST_F(StarLog, ByteIdenticalRunToRun) {
    EXPECT_EQ(write(0, LogFormat::Text, "a.log"), write(0, LogFormat::Text, "b.log"));
    EXPECT_EQ(write(0, LogFormat::Html, "a.html"), write(0, LogFormat::Html, "b.html"));
}

// The Atlas reads the log from a stream: the same bytes as the file, in
// both formats and both details.
TEST_F(StarLog, TheStreamedLogIsTheFileToTheByte) {
    for (const LogFormat format : {LogFormat::Text, LogFormat::Html}) {
        for (const std::uint8_t one : {0, 1}) {
            const std::string path = dir + "/file.log";
            main_starlog(sector.base, path, 0, one, format);
            std::ostringstream streamed;
            main_starlog(sector.base, streamed, 0, one != 0 ? LogDetail::EveryBody : LogDetail::OrbitTables, format);
            EXPECT_EQ(streamed.str(), fileBytes(path)) << static_cast<int>(format) << " " << int{one};
        }
    }
}

TEST_F(StarLog, BriefLogKeepsTheOrbitTablesOnly) {
    const std::string path = dir + "/brief.log";
    main_starlog(sector.base, path, 0, 0, LogFormat::Text);
    const std::string log = fileBytes(path);
    EXPECT_NE(log.find("Gas Giant"), std::string::npos);
    EXPECT_EQ(log.find("Orbit 1: Terran"), std::string::npos);
}

TEST_F(StarLog, RefusesWhatItCannotLogAndLeavesNoFile) {
    const std::string path = dir + "/refused.log";
    try {
        main_starlog(sector.base, "", 0, 1, LogFormat::Text);
        FAIL() << "an empty log path was accepted";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("choose a file"), std::string::npos);
    }
    for (const std::int32_t id : {2, -1, 1000000}) {
        try {
            main_starlog(sector.base, path, id, 1, LogFormat::Text);
            FAIL() << "system id " << id << " was accepted";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "System " + std::to_string(id) + " is not in " + sector.base + " (2 systems)");
        }
    }
    // The save dialog's second filter is the HTML log, any other plain text.
    EXPECT_EQ(logFormatOfFilter(2), LogFormat::Html);
    EXPECT_EQ(logFormatOfFilter(1), LogFormat::Text);
    EXPECT_THROW(main_starlog(dir + "/nowhere", path, 0, 1, LogFormat::Text), IoError);
    EXPECT_FALSE(std::filesystem::exists(path));
    // An unwritable path fails without a partial file beside it.
    EXPECT_THROW(main_starlog(sector.base, dir + "/no/such/dir/x.log", 0, 1, LogFormat::Text), IoError);
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        EXPECT_NE(entry.path().extension(), ".part") << entry.path();
    }
}

TEST(BodyNames, TablesFollowTheRules) {
    EXPECT_EQ(spectralDesignation(1, 3), "A3 II");
    EXPECT_EQ(spectralDesignation(2, 9), "M9 III");
    EXPECT_EQ(spectralDesignation(7, 0), "M0 V");
    EXPECT_EQ(spectralDesignation(9, 5), "F0 VII");  // white dwarfs always carry digit 0
    EXPECT_EQ(spectralDesignation(18, 0), "Black hole");
    EXPECT_EQ(spectralDesignation(99, 0), "Unknown object");
    // A composition's name never claims a gas other than its weight allows.
    EXPECT_EQ(compositionWeight(2), 28);
    EXPECT_EQ(compositionWeight(6), 2);
    EXPECT_EQ(compositionWeight(14), 34);
    EXPECT_EQ(compositionWeight(21), 16);
    EXPECT_EQ(compositionName(1), "None");
    EXPECT_EQ(featureName(3, 3), "Native sentient race");
    EXPECT_EQ(featureName(4, 5), "Feature 4.5");  // no roll sets it
    EXPECT_EQ(featureName(6, 1), "Feature 6.1");
    EXPECT_EQ(worldTypeText(17), "Carbonaceous");
    EXPECT_EQ(worldTypeText(0), "Unknown type 0");
    std::array<std::uint8_t, 5> features{};
    EXPECT_EQ(lifeLevel(features), LifeLevel::None);
    features[4] = 2;  // 5.2
    EXPECT_EQ(lifeLevel(features), LifeLevel::Prebiotic);
    features[4] = 4;  // 5.3
    EXPECT_EQ(lifeLevel(features), LifeLevel::Microbial);
    features[2] = 8;  // 3.4
    EXPECT_EQ(lifeLevel(features), LifeLevel::Complex);
    features[2] = 4 | 8;  // 3.3 wins
    EXPECT_EQ(lifeLevel(features), LifeLevel::Sentient);
}

// Figures no sound sector holds must still format without undefined
// behaviour (the sanitizer build fails on it).
TEST(LogNumbers, ExtremesFormatWithoutOverflow) {
    using namespace orrimar::engine;
    EXPECT_EQ(grouped(std::numeric_limits<long long>::min()), "-9,223,372,036,854,775,808");
    EXPECT_EQ(magnitude(1e30), "1e+30");
    EXPECT_EQ(magnitude(-1e30), "-1e+30");
    orrimar::TPlanetRec planet;
    planet.rotation = std::numeric_limits<std::int32_t>::min();
    planet.atmosphereClass = 3;
    const auto swing = [&](float light) {
        return orrimar::dayNightSwing(light, planet.orbitRadius, planet.temperature, planet.atmosphereClass,
                                      planet.rotation);
    };
    EXPECT_LE(swing(1.0F), 2000);
    EXPECT_EQ(swing(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_LE(swing(std::numeric_limits<float>::infinity()), 2000);
}

// The JSON and CSV exports: a hand-made sector exported and compared field
// by field with its records (units converted), the schema that ships with
// the program checked against every export, CSV quoting, and the promise
// that a failed or cancelled export leaves nothing behind.
#include <fstream>
#include <gtest/gtest.h>

#include <fmt/format.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "engine/engine.h"
#include "exports/export_fields.h"
#include "common/file_io.h"
#include "exports/export_output.h"
#include "exports/sector_export.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "common/errors.h"
#include "names/sector_names.h"
#include "records/record_file.h"
#include "records/sector_base.h"
#include "tools/sector_check.h"
#include "support/hand_made_sector.h"

namespace orrimar::exports {

using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::reading;
using namespace orrimar::logs;
using namespace orrimar::engine;

namespace {

namespace fs = std::filesystem;
using logtest::FixtureSector;
using logtest::makeFixtureSector;
using testing::fileBytes;
using testing::testDir;
using Json = nlohmann::json;

Json exportJson(const FixtureSector& f, const std::string& out) {
    const ExportResult result = ExportSector(f.base, ExportFormat::Json, out);
    EXPECT_EQ(result.systems, 2);
    EXPECT_EQ(result.planets, 4);
    EXPECT_EQ(result.moons, 3);
    EXPECT_EQ(result.races, 1);
    return Json::parse(fileBytes(out));
}

// An RFC 4180 reader: quoted cells may hold commas, doubled quotes and
// line breaks; rows end in CRLF.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(std::move(cell));
            cell.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.back().push_back(std::move(cell));
            cell.clear();
            rows.emplace_back();
            ++i;
        } else {
            cell += c;
        }
    }
    if (rows.back().empty()) rows.pop_back();
    return rows;
}

// A CSV file as one map of header name to cell per row.
std::vector<std::map<std::string, std::string>> readTable(const fs::path& file) {
    const auto rows = parseCsv(fileBytes(file.string()));
    std::vector<std::map<std::string, std::string>> table;
    EXPECT_FALSE(rows.empty()) << file;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].size(), rows[0].size()) << file << " row " << r;
        std::map<std::string, std::string> row;
        for (std::size_t c = 0; c < rows[0].size() && c < rows[r].size(); ++c) row[rows[0][c]] = rows[r][c];
        table.push_back(std::move(row));
    }
    return table;
}

// A JSON value as the CSV writes it.
std::string asCell(const Json& value) {
    if (value.is_null()) return "";
    if (value.is_string()) return value.get<std::string>();
    if (value.is_array()) {
        std::string text;
        for (std::size_t i = 0; i < value.size(); ++i) text += (i > 0 ? "; " : "") + value[i].get<std::string>();
        return text;
    }
    if (value.is_number_float()) return fmt::format("{}", value.get<double>());
    return value.dump();
}

std::map<std::string, std::string> snapshot(const fs::path& dir) { return testing::snapshot(dir); }

TEST(ExportJson, HandMadeSectorFieldByField) {
    const std::string dir = testDir("json");
    const FixtureSector f = makeFixtureSector(dir, "Fixture, \"Reach\"");
    const Json doc = exportJson(f, dir + "/sector.json");

    EXPECT_EQ(doc["format"], "orrimar-sector");
    EXPECT_EQ(doc["sector"]["name"], "Fixture, \"Reach\"");
    EXPECT_EQ(doc["counts"], Json({{"systems", 2}, {"planets", 4}, {"moons", 3}, {"races", 1}}));
    ASSERT_EQ(doc["systems"].size(), 2U);

    const Json& single = doc["systems"][0];
    EXPECT_EQ(single["id"], 0);
    EXPECT_EQ(single["x_pc"], 3);
    EXPECT_EQ(single["y_pc"], -4);
    EXPECT_EQ(single["z_pc"], 7);
    EXPECT_EQ(single["age_code"], 46);
    EXPECT_DOUBLE_EQ(single["age_gyr"].get<double>(), 4.6);
    EXPECT_TRUE(single["system_race_id"].is_null());  // 65535 in the record
    ASSERT_EQ(single["stars"].size(), 1U);
    const Json& sun = single["stars"][0];
    EXPECT_EQ(sun["star"], "A");
    EXPECT_EQ(sun["kind_code"], 5);
    EXPECT_EQ(sun["spectral_class"], "G2 V");
    EXPECT_DOUBLE_EQ(sun["mass_solar"].get<double>(), 1.0);
    EXPECT_TRUE(sun["separation_au"].is_null());
    ASSERT_EQ(sun["orbits"].size(), 3U);

    // Planet 0: units converted from tenths of an AU, thousandths, tenths
    // of the Earth's density.
    const Json& terran = sun["orbits"][0];
    EXPECT_EQ(terran["id"], 0);
    EXPECT_EQ(terran["kind"], "planet");
    EXPECT_EQ(terran["orbit"], 1);
    EXPECT_DOUBLE_EQ(terran["distance_au"].get<double>(), 1.0);
    EXPECT_DOUBLE_EQ(terran["eccentricity"].get<double>(), 0.017);
    EXPECT_EQ(terran["world_type_code"], 10);
    EXPECT_EQ(terran["world_type_name"], "Terran");
    EXPECT_EQ(terran["diameter_km"], 12756);
    EXPECT_TRUE(terran["belt_size_code"].is_null());
    EXPECT_DOUBLE_EQ(terran["density_earth"].get<double>(), 1.0);
    EXPECT_NEAR(terran["gravity_g"].get<double>(), 1.0, 0.01);
    EXPECT_NEAR(terran["escape_velocity_km_s"].get<double>(), 11.2, 0.1);
    EXPECT_DOUBLE_EQ(terran["pressure_atm"].get<double>(), 1.0);
    EXPECT_EQ(terran["atmosphere_class_code"], 3);
    EXPECT_EQ(terran["composition_code"], 2);
    EXPECT_EQ(terran["temperature_c"], 15);
    EXPECT_EQ(terran["water_percent"], 70);
    EXPECT_EQ(terran["ice_percent"], 5);
    EXPECT_EQ(terran["cloud_percent"], 40);
    EXPECT_EQ(terran["albedo_percent"], 30);
    EXPECT_EQ(terran["day_hours"], 24);
    EXPECT_EQ(terran["year_days"], 365);
    EXPECT_EQ(terran["resource_metals"], 45);
    EXPECT_EQ(terran["resource_exotic_minerals"], 5);
    EXPECT_EQ(terran["native_race_id"], 0);
    EXPECT_TRUE(terran["colonising_race_id"].is_null());
    EXPECT_EQ(terran["flags"], Json::array({"Rotation locked to the orbit"}));
    EXPECT_EQ(terran["features"].size(), 3U);  // three feature bits set
    EXPECT_EQ(terran["first_moon_id"], 0);
    ASSERT_EQ(terran["moons"].size(), 1U);
    const Json& twin = terran["moons"][0];
    EXPECT_EQ(twin["planet_id"], 0);
    EXPECT_EQ(twin["number"], 1);
    EXPECT_TRUE(twin["twin"].get<bool>());
    EXPECT_EQ(twin["distance_km"], 384000);  // thousands of km in the record

    // Planet 1: a belt keeps its size code apart from diameters.
    const Json& belt = sun["orbits"][1];
    EXPECT_EQ(belt["kind"], "belt");
    EXPECT_TRUE(belt["diameter_km"].is_null());
    EXPECT_EQ(belt["belt_size_code"], 5);
    EXPECT_TRUE(belt["mass_earth"].is_null());
    EXPECT_DOUBLE_EQ(belt["distance_au"].get<double>(), 2.5);
    EXPECT_EQ(belt["temperature_c"], -80);
    EXPECT_TRUE(belt["first_moon_id"].is_null());

    // Planet 2: a gas giant with a moon and a ring; a ring has no bulk.
    const Json& giant = sun["orbits"][2];
    EXPECT_DOUBLE_EQ(giant["pressure_atm"].get<double>(), 900.0);
    ASSERT_EQ(giant["moons"].size(), 2U);
    EXPECT_EQ(giant["moons"][0]["id"], 1);
    EXPECT_FALSE(giant["moons"][0]["twin"].get<bool>());
    EXPECT_EQ(giant["moons"][0]["flags"].size(), 1U);
    EXPECT_EQ(giant["moons"][1]["world_type_name"], "Ring");
    EXPECT_EQ(giant["moons"][1]["diameter_km"], 0);
    EXPECT_TRUE(giant["moons"][1]["gravity_g"].is_null());
    EXPECT_EQ(giant["moons"][1]["distance_km"], 286000);

    // System 1: a binary whose planets circle star B.
    const Json& binary = doc["systems"][1];
    ASSERT_EQ(binary["stars"].size(), 2U);
    EXPECT_TRUE(binary["stars"][0]["orbits"].empty());
    EXPECT_DOUBLE_EQ(binary["stars"][1]["separation_au"].get<double>(), 4.0);
    EXPECT_DOUBLE_EQ(binary["stars"][1]["mass_solar"].get<double>(), 0.372);  // the float's shortest decimal
    ASSERT_EQ(binary["stars"][1]["orbits"].size(), 1U);
    EXPECT_EQ(binary["stars"][1]["orbits"][0]["star"], "B");
    EXPECT_EQ(binary["stars"][1]["orbits"][0]["id"], 3);

    ASSERT_EQ(doc["races"].size(), 1U);
    const Json& race = doc["races"][0];
    EXPECT_EQ(race["home_world_id"], 0);
    EXPECT_EQ(race["home_system_id"], 0);
    EXPECT_EQ(race["tech_level"], 7);
    EXPECT_EQ(race["spatial_age"], 40);
    EXPECT_EQ(race["mass_kg"], 80);
    EXPECT_EQ(race["height_cm"], 170);
    EXPECT_EQ(race["habitat_code"], 1);
    EXPECT_FALSE(race["habitat_name"].get<std::string>().empty());
}

TEST(ExportCsv, SameFieldsAsJsonAndIdsThatJoin) {
    const std::string dir = testDir("csv");
    const FixtureSector f = makeFixtureSector(dir);
    const Json doc = exportJson(f, dir + "/sector.json");
    const ExportResult result = ExportSector(f.base, ExportFormat::Csv, dir + "/tables");
    EXPECT_EQ(result.files, 8);  // the five record tables and colonies, control, empires

    const auto systems = readTable(dir + "/tables/systems.csv");
    const auto stars = readTable(dir + "/tables/stars.csv");
    const auto bodies = readTable(dir + "/tables/bodies.csv");
    const auto moons = readTable(dir + "/tables/moons.csv");
    const auto races = readTable(dir + "/tables/races.csv");
    ASSERT_EQ(systems.size(), 2U);
    ASSERT_EQ(stars.size(), 3U);
    ASSERT_EQ(bodies.size(), 4U);
    ASSERT_EQ(moons.size(), 3U);
    ASSERT_EQ(races.size(), 1U);

    // Every cell equals the JSON value of the same name, nested arrays aside.
    const auto sameAsJson = [](const std::map<std::string, std::string>& row, const Json& object, const char* what) {
        std::size_t compared = 0;
        for (const auto& [key, value] : object.items()) {
            if (key == "stars" || key == "orbits" || key == "moons") continue;
            ASSERT_TRUE(row.count(key)) << what << " lacks " << key;
            EXPECT_EQ(row.at(key), asCell(value)) << what << " " << key;
            ++compared;
        }
        EXPECT_EQ(compared, row.size()) << what << ": the CSV has columns the JSON lacks";
    };
    std::size_t star = 0, body = 0, moon = 0;
    for (std::size_t s = 0; s < 2; ++s) {
        sameAsJson(systems[s], doc["systems"][s], "system");
        for (const Json& js : doc["systems"][s]["stars"]) {
            sameAsJson(stars[star++], js, "star");
            for (const Json& jb : js["orbits"]) {
                sameAsJson(bodies[body], jb, "body");
                EXPECT_EQ(bodies[body].at("system_id"), systems[s].at("id"));  // joins systems.csv
                ++body;
                for (const Json& jm : jb["moons"]) {
                    sameAsJson(moons[moon], jm, "moon");
                    EXPECT_EQ(moons[moon].at("planet_id"), jb["id"].dump());  // joins bodies.csv
                    ++moon;
                }
            }
        }
    }
    sameAsJson(races[0], doc["races"][0], "race");
    EXPECT_NE(bodies[0].at("features").find("; "), std::string::npos);  // a list is one cell
    // Rows end in CRLF, the header row first.
    EXPECT_EQ(fileBytes(dir + "/tables/systems.csv").rfind("id,name,x_pc,y_pc,z_pc,", 0), 0U);
}

// Names from the name file, in Windows ANSI there, reach both exports in
// UTF-8; worlds of a named system take its conventional names; the CSV
// quotes a name with a comma and quotes.
TEST(ExportNames, StoredAndConventionalNamesInBothFormats) {
    const std::string dir = testDir("names");
    const FixtureSector f = makeFixtureSector(dir);
    auto records = testing::readRecords<TNameRec>(f.base + ".nam");
    records.push_back(makeNameRecord(NameKind::System, 0, "Vess\xE9ne, the \"Old\" Reach"));
    records.push_back(makeNameRecord(NameKind::Race, 0, "Kethri"));
    records.push_back(makeNameRecord(NameKind::Moon, 2, "Halo"));
    testing::writeRecords(f.base + ".nam", records);

    const Json doc = exportJson(f, dir + "/named.json");
    const std::string system = "Vess\u00e9ne, the \"Old\" Reach";
    EXPECT_EQ(doc["systems"][0]["name"], system);
    const Json& orbits = doc["systems"][0]["stars"][0]["orbits"];
    EXPECT_EQ(orbits[0]["name"], system + " I");
    EXPECT_EQ(orbits[1]["name"], system + " belt 1");
    EXPECT_EQ(orbits[2]["name"], system + " II");
    EXPECT_EQ(orbits[0]["moons"][0]["name"], system + " I a");
    EXPECT_EQ(orbits[2]["moons"][0]["name"], system + " II a");
    EXPECT_EQ(orbits[2]["moons"][1]["name"], "Halo");  // the override wins
    EXPECT_TRUE(doc["systems"][1]["name"].is_null());  // an unnamed system names none of its worlds
    EXPECT_TRUE(doc["systems"][1]["stars"][1]["orbits"][0]["name"].is_null());
    EXPECT_EQ(doc["races"][0]["name"], "Kethri");

    ExportSector(f.base, ExportFormat::Csv, dir + "/tables");
    const std::string systems = fileBytes(dir + "/tables/systems.csv");
    EXPECT_NE(systems.find("\r\n0,\"Vess\u00e9ne, the \"\"Old\"\" Reach\",3,-4,7,"), std::string::npos) << systems;
    EXPECT_EQ(readTable(dir + "/tables/bodies.csv")[2].at("name"), system + " II");
    EXPECT_EQ(readTable(dir + "/tables/races.csv")[0].at("name"), "Kethri");
}

TEST(ExportNames, StoredNamesReachEveryFormatInUtf8) {
    const std::string dir = testDir("names");
    const FixtureSector f = makeFixtureSector(dir);
    const Json before = exportJson(f, dir + "/before.json");
    const std::int64_t planet = before["systems"][0]["stars"][0]["orbits"][0]["id"].get<std::int64_t>();
    {
        // The name file in Windows ANSI: 0xE9 is e acute. Renaming appends;
        // the last record of a thing wins, an empty one takes the name away.
        RecordFile<TNameRec> names(dir + "/fix.nam", RawRecordFile::Mode::OpenExisting);
        names.append(makeNameRecord(NameKind::System, 0, "Vessane, the \"Old\" Reach"));
        names.append(makeNameRecord(NameKind::System, 1, "Caf\xE9"));
        names.append(makeNameRecord(NameKind::Race, 0, "Kth'ri"));
        names.append(makeNameRecord(NameKind::Planet, static_cast<std::int32_t>(planet), "Hearth"));
        names.append(makeNameRecord(NameKind::Moon, 0, "Lantern"));
        names.append(makeNameRecord(NameKind::Moon, 0, ""));
        names.close();
    }
    const Json doc = exportJson(f, dir + "/sector.json");
    EXPECT_EQ(doc["systems"][0]["name"], "Vessane, the \"Old\" Reach");
    EXPECT_EQ(doc["systems"][1]["name"], "Caf\xC3\xA9");
    EXPECT_EQ(doc["races"][0]["name"], "Kth'ri");
    EXPECT_EQ(doc["systems"][0]["stars"][0]["orbits"][0]["name"], "Hearth");
    // Not renamed, or renamed and then unnamed again: the conventional name.
    EXPECT_EQ(doc["systems"][0]["stars"][0]["orbits"][1]["name"], "Vessane, the \"Old\" Reach belt 1");
    bool sawMoon = false;
    for (const Json& star : doc["systems"][0]["stars"]) {
        for (const Json& orbit : star["orbits"]) {
            for (const Json& moon : orbit["moons"]) {
                if (moon["id"] == 0) {
                    sawMoon = true;
                    EXPECT_EQ(moon["name"], "Hearth a");
                }
            }
        }
    }
    EXPECT_TRUE(sawMoon);

    ExportSector(f.base, ExportFormat::Csv, dir + "/tables");
    const auto systems = readTable(dir + "/tables/systems.csv");
    ASSERT_EQ(systems.size(), 2U);
    EXPECT_EQ(systems[0].at("name"), "Vessane, the \"Old\" Reach");
    EXPECT_EQ(systems[1].at("name"), "Caf\xC3\xA9");
    EXPECT_EQ(readTable(dir + "/tables/races.csv")[0].at("name"), "Kth'ri");

    // The atlas's systems table and the system's page carry the name, escaped.
    ExportSector(f.base, ExportFormat::Atlas, dir + "/atlas");
    const std::string index = fileBytes(dir + "/atlas/index.html");
    EXPECT_NE(index.find("Vessane, the &quot;Old&quot; Reach"), std::string::npos);
    EXPECT_NE(index.find("Caf\xC3\xA9"), std::string::npos);
}

TEST(ExportNames, UndefinedCodePageBytesReadTheSameInALogAndAnExport) {
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character in the code page;
    // each is read as the C1 code point of its own value, in every output.
    // A renamed thing may not hold them (they are control characters), but
    // a sector's own name, written by the program that made it, may.
    const std::string dir = testDir("names");
    const FixtureSector f = makeFixtureSector(dir, "V\x81\x8D\x8F\x90\x9Dss");
    const std::string utf8 = "V\u0081\u008D\u008F\u0090\u009Dss";
    const Json doc = exportJson(f, dir + "/sector.json");
    EXPECT_EQ(doc["sector"]["name"], utf8);
    main_starlog(f.base, dir + "/sys.log", 0, 1, LogFormat::Text);
    const std::string log = fileBytes(dir + "/sys.log");
    EXPECT_TRUE(log.starts_with("System 0 of sector " + utf8 + "\r\n")) << log.substr(0, 80);
    main_starlog(f.base, dir + "/sys.html", 0, 1, LogFormat::Html);
    EXPECT_NE(fileBytes(dir + "/sys.html").find("<title>System 0 of sector " + utf8 + "</title>"), std::string::npos);
}

TEST(ExportCsv, QuotesCommasQuotesAndLineBreaks) {
    const auto cell = [](const FieldValue& value) {
        std::string row;
        appendCsvCell(row, value);
        return row;
    };
    EXPECT_EQ(cell(std::string("Vessane")), "Vessane");
    EXPECT_EQ(cell(std::string("Vessane, the \"Old\" Reach")), "\"Vessane, the \"\"Old\"\" Reach\"");
    EXPECT_EQ(cell(std::string("two\r\nlines")), "\"two\r\nlines\"");
    EXPECT_EQ(cell(std::string("\"")), "\"\"\"\"");
    EXPECT_EQ(cell(FieldList{"Severe quakes", "Rugged, broken terrain"}), "\"Severe quakes; Rugged, broken terrain\"");
    EXPECT_EQ(cell(FieldList{}), "");
    EXPECT_EQ(cell(FieldNull{}), "");
    EXPECT_EQ(cell(std::int64_t{-42}), "-42");
    EXPECT_EQ(cell(0.1), "0.1");
    EXPECT_EQ(cell(true), "true");
    // What a quoted cell holds comes back whole through a strict reader.
    const std::string name = "A, \"B\"\r\nC";
    EXPECT_EQ(parseCsv(cell(name) + "\r\n"), (std::vector<std::vector<std::string>>{{name}}));
}

TEST(ExportFields, FloatsKeepTheirShortestDecimal) {
    EXPECT_EQ(floatValue(0.3F), 0.3);
    EXPECT_EQ(floatValue(0.372F), 0.372);
    EXPECT_EQ(floatValue(1.0e-6F), 1.0e-6);
    EXPECT_EQ(floatValue(900.0F), 900.0);
}

// The schema shipped in docs/ accepts every export, and refuses a document
// with a field it does not know (so a new field cannot slip past it).
TEST(ExportSchema, ValidatesEveryExport) {
    const std::string dir = testDir("schema");
    const FixtureSector f = makeFixtureSector(dir);
    ExportSector(f.base, ExportFormat::Json, dir + "/fixture.json");
    const std::string empty = logtest::makeEmptySector(dir);
    ExportSector(empty, ExportFormat::Json, dir + "/empty.json");
    const std::string hand = dir + "/hand";
    testing::writeSector(hand, testing::soundSector(12, -5));
    ExportSector(hand, ExportFormat::Json, dir + "/hand.json");

    Json wrong = Json::parse(fileBytes(dir + "/fixture.json"));
    wrong["systems"][0]["stars"][0]["orbits"][0]["diameter_m"] = 1;
    std::ofstream(dir + "/wrong.json") << wrong.dump();

    const std::string validator = std::string(ORRIMAR_SOURCE_DIR) + "/scripts/validate-json";
    const std::string schema = std::string(ORRIMAR_SOURCE_DIR) + "/docs/sector.schema.json";
    const auto run = [&](const std::string& files) {
        return std::system(
            ("python3 " + validator + " " + schema + " " + files + " > " + dir + "/validate.log 2>&1").c_str());
    };
    EXPECT_EQ(run(dir + "/fixture.json " + dir + "/empty.json " + dir + "/hand.json"), 0)
        << fileBytes(dir + "/validate.log");
    EXPECT_NE(run(dir + "/wrong.json"), 0);
    EXPECT_NE(fileBytes(dir + "/validate.log").find("diameter_m"), std::string::npos)
        << fileBytes(dir + "/validate.log");
}

class ExportFailure : public ::testing::TestWithParam<ExportFormat> {
protected:
    void TearDown() override { clearFaultPlan(); }
    std::string destination(const std::string& dir) const {
        return GetParam() == ExportFormat::Json ? dir + "/out/sector.json" : dir + "/out/sector";
    }
};

// A full disk at every block write in turn: the export fails with the
// system's message, nothing new is left, and an earlier export of the same
// name stays whole.
TEST_P(ExportFailure, FullDiskAtEveryWriteLeavesNothing) {
    const std::string dir = testDir("full");
    const FixtureSector f = makeFixtureSector(dir);
    fs::create_directories(dir + "/out");
    const std::string out = destination(dir);
    ExportSector(f.base, GetParam(), out);  // the earlier export
    const auto before = snapshot(dir);
    int failures = 0;
    for (int n = 1; n <= 40; ++n) {
        setFaultPlan({FaultKind::NoSpace, n, false});
        try {
            ExportSector(f.base, GetParam(), out);
            clearFaultPlan();
            break;  // fewer writes than n: the export went through
        } catch (const IoError& e) {
            ++failures;
            EXPECT_NE(std::string(e.what()).find("Disk full"), std::string::npos) << e.what();
        }
        EXPECT_EQ(snapshot(dir), before) << "after a failure at write " << n;
    }
    EXPECT_GE(failures, 1);
}

// A destination in a folder that cannot be written (a file stands where
// the folder should be): refused, nothing left, the sector untouched.
TEST_P(ExportFailure, UnwritableFolderLeavesNothing) {
    const std::string dir = testDir("unwritable");
    const FixtureSector f = makeFixtureSector(dir);
    testing::writeFileBytes(dir + "/out", "a file, not a folder");
    const auto before = snapshot(dir);
    EXPECT_THROW(ExportSector(f.base, GetParam(), destination(dir)), IoError);
    EXPECT_EQ(snapshot(dir), before);
}

class CancelAt final : public ExportProgress {
public:
    explicit CancelAt(std::int64_t step) : step_(step) {}
    void setMaximum(std::int64_t steps) override { maximum = steps; }
    void setProgress(std::int64_t done) override { last = done; }
    bool cancelRequested() override { return last >= step_; }
    std::int64_t maximum = 0;
    std::int64_t last = 0;

private:
    std::int64_t step_;
};

TEST_P(ExportFailure, CancelLeavesNothing) {
    const std::string dir = testDir("cancel");
    const FixtureSector f = makeFixtureSector(dir);
    fs::create_directories(dir + "/out");
    const auto before = snapshot(dir);
    CancelAt cancel(2);
    const ExportResult result = ExportSector(f.base, GetParam(), destination(dir), &cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(cancel.maximum, 3);  // two systems, one race
    EXPECT_EQ(cancel.last, 2);
    EXPECT_EQ(snapshot(dir), before);
}

TEST_P(ExportFailure, DamagedSectorRefusedWithTheChecksMessage) {
    const std::string dir = testDir("damaged");
    FixtureSector f = makeFixtureSector(dir);
    // The planet file loses its last record but one byte: a torn tail.
    const std::string pln = f.base + ".pln";
    fs::resize_file(pln, fs::file_size(pln) - sizeof(TPlanetRec) + 1);
    const SectorCheckReport check = CheckSector(f.base);
    ASSERT_FALSE(check.sound());
    fs::create_directories(dir + "/out");
    const auto before = snapshot(dir);
    try {
        ExportSector(f.base, GetParam(), destination(dir));
        FAIL() << "a damaged sector was exported";
    } catch (const InputError&) {
        FAIL() << "a damaged sector is a runtime error, not malformed input";
    } catch (const OrrError& e) {
        EXPECT_NE(std::string(e.what()).find(check.problems.front()), std::string::npos) << e.what();
    }
    EXPECT_EQ(snapshot(dir), before);
}

TEST_P(ExportFailure, SectorFileAsDestinationRefused) {
    const std::string dir = testDir("own");
    const FixtureSector f = makeFixtureSector(dir);
    const auto before = snapshot(dir);
    EXPECT_THROW(ExportSector(f.base, GetParam(), f.base + ".sun"), InputError);
    // No sector there: a missing input, as for every reader.
    EXPECT_THROW(ExportSector(dir + "/nothing", GetParam(), dir + "/x"), MissingError);
    EXPECT_EQ(snapshot(dir), before);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExportFailure,
                         ::testing::Values(ExportFormat::Json, ExportFormat::Csv, ExportFormat::Atlas),
                         [](const auto& info) {
                             return std::string(info.param == ExportFormat::Json  ? "Json"
                                                : info.param == ExportFormat::Csv ? "Csv"
                                                                                  : "Atlas");
                         });

TEST(ExportFormats, NamesAndRefusals) {
    EXPECT_EQ(exportFormatFromName("json"), ExportFormat::Json);
    EXPECT_EQ(exportFormatFromName("csv"), ExportFormat::Csv);
    EXPECT_EQ(exportFormatFromName("atlas"), ExportFormat::Atlas);
    EXPECT_EQ(exportFormatFromName("html"), ExportFormat::Atlas);
    try {
        exportFormatFromName("xml");
        FAIL();
    } catch (const InputError& e) {
        EXPECT_STREQ(e.what(), "Unknown export format 'xml': use json, csv or atlas");
    }
}

}  // namespace
}  // namespace orrimar::exports

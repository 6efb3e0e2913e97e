// Settled space in the JSON and CSV exports: the colonies, control and
// empires tables field by field against the records, the same rows in both
// formats, the schema accepting a settled sector, and the colonies report of
// a settled sector naming for each race exactly the colonies and controlled
// systems the JSON export gives it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/settled_fixture.h"
#include "exports/sector_export.h"
#include "generation/create_sector.h"
#include "settling/settle_sector.h"
#include "tools/colonies_report.h"
#include "support/sector_maker.h"

namespace orrimar::exports {
namespace {

using testing::fileBytes;
using testing::testDir;
using Json = nlohmann::ordered_json;

Json exported(const std::string& base, const std::string& out) {
    ExportSector(base, ExportFormat::Json, out);
    return Json::parse(fileBytes(out));
}

// CSV rows split at commas (the settled tables hold no quoted cells but
// the facilities list, which has no comma of its own).
std::vector<std::string> csvLines(const std::string& file) {
    std::vector<std::string> lines;
    std::istringstream in(fileBytes(file));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(SettledExport, JsonTablesFieldByField) {
    const std::string dir = testDir("settled_json");
    const auto f = logtest::makeSettledFixture(dir);
    const Json doc = exported(f.base, dir + "/s.json");

    // The vacant colony 1 and empire 0 are left out; the rest keep their ids.
    ASSERT_EQ(doc["colonies"].size(), 3U);
    const Json& home = doc["colonies"][0];
    EXPECT_EQ(home.dump(),
              "{\"id\":0,\"kind\":\"planet\",\"world_id\":0,\"planet_id\":0,\"system_id\":0,\"race_id\":0,"
              "\"owner_id\":0,\"population_code\":35,\"population_people\":60000000,\"colony_type_code\":8,"
              "\"colony_type_name\":\"Homeworld\",\"starport_code\":2,\"starport_name\":\"Good\",\"law_level\":5,"
              "\"law_name\":\"firm\",\"stability_level\":7,\"stability_name\":\"stable\",\"crime_level\":2,"
              "\"crime_name\":\"petty\",\"gnp_mcr_per_year\":1200,\"power_points\":300,"
              "\"facilities\":[\"Military Base\",\"University\"]}");
    const Json& base = doc["colonies"][1];
    EXPECT_EQ(base["id"], 2);
    EXPECT_EQ(base["kind"], "moon_base");
    EXPECT_EQ(base["world_id"], 1);  // a moon id
    EXPECT_EQ(base["planet_id"], 2);
    EXPECT_EQ(base["system_id"], 0);
    EXPECT_TRUE(base["owner_id"].is_null()) << "independent";
    EXPECT_EQ(base["facilities"], Json::array());
    EXPECT_EQ(doc["colonies"][2]["id"], 3);
    EXPECT_EQ(doc["colonies"][2]["system_id"], 1);
    EXPECT_EQ(doc["colonies"][2]["power_points"], 65535);

    EXPECT_EQ(doc["control"].dump(), "[{\"system_id\":0,\"race_id\":0},{\"system_id\":1,\"race_id\":0}]");
    EXPECT_EQ(doc["empires"].dump(),
              "[{\"id\":1,\"name\":\"Kethri Dominion\",\"race_id\":0,\"capital_system_id\":0,\"colour\":\"#c82810\"}]");
}

TEST(SettledExport, CsvHoldsTheSameRows) {
    const std::string dir = testDir("settled_csv");
    const auto f = logtest::makeSettledFixture(dir);
    const ExportResult result = ExportSector(f.base, ExportFormat::Csv, dir + "/tables");
    EXPECT_EQ(result.files, 8);
    const auto colonies = csvLines(dir + "/tables/colonies.csv");
    ASSERT_EQ(colonies.size(), 4U);
    EXPECT_EQ(colonies[0],
              "id,kind,world_id,planet_id,system_id,race_id,owner_id,population_code,population_people,"
              "colony_type_code,colony_type_name,starport_code,starport_name,law_level,law_name,stability_level,"
              "stability_name,crime_level,crime_name,gnp_mcr_per_year,power_points,facilities");
    EXPECT_EQ(colonies[1],
              "0,planet,0,0,0,0,0,35,60000000,8,Homeworld,2,Good,5,firm,7,stable,2,petty,1200,300,"
              "Military Base; University");
    EXPECT_EQ(colonies[2], "2,moon_base,1,2,0,0,,0,10000,4,Mining,4,Primitive,0,no law,9,unshakeable,9,rampant,0,0,");
    EXPECT_EQ(csvLines(dir + "/tables/control.csv"), (std::vector<std::string>{"system_id,race_id", "0,0", "1,0"}));
    EXPECT_EQ(csvLines(dir + "/tables/empires.csv"),
              (std::vector<std::string>{"id,name,race_id,capital_system_id,colour", "1,Kethri Dominion,0,0,#c82810"}));

    // A sector nobody settled still gets the three tables, header only.
    const std::string empty = logtest::makeEmptySector(dir);
    ExportSector(empty, ExportFormat::Csv, dir + "/empty");
    EXPECT_EQ(csvLines(dir + "/empty/empires.csv").size(), 1U);
    EXPECT_EQ(csvLines(dir + "/empty/colonies.csv").size(), 1U);
}

// A sector made and settled by the program's own rules.
class SettledSector : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new std::string(testDir("settled_sector"));
        base_ = new std::string(*dir_ + "/s");
        testing::makeSector(*base_, {.seed = 11, .lastIndex = 13, .density = 60, .maxSpatialAge = 120});
        SettleParams settle;
        settle.seed = 7;
        SettleSector(*base_, settle);
    }
    static void TearDownTestSuite() {
        delete dir_;
        delete base_;
    }
    static std::string* dir_;
    static std::string* base_;
};
std::string* SettledSector::dir_ = nullptr;
std::string* SettledSector::base_ = nullptr;

// The schema shipped in docs/ accepts a settled sector's export and refuses
// a colony with a field it does not know.
TEST_F(SettledSector, SchemaAcceptsTheExport) {
    const Json doc = exported(*base_, *dir_ + "/s.json");
    ASSERT_FALSE(doc["colonies"].empty());
    ASSERT_FALSE(doc["empires"].empty());
    Json wrong = doc;
    wrong["colonies"][0]["owner"] = 1;
    std::ofstream(*dir_ + "/wrong.json") << wrong.dump();
    const std::string validator = std::string(ORRIMAR_SOURCE_DIR) + "/scripts/validate-json";
    const std::string schema = std::string(ORRIMAR_SOURCE_DIR) + "/docs/sector.schema.json";
    const auto run = [&](const std::string& file) {
        return std::system(
            ("python3 " + validator + " " + schema + " " + file + " > " + *dir_ + "/validate.log 2>&1").c_str());
    };
    EXPECT_EQ(run(*dir_ + "/s.json"), 0) << fileBytes(*dir_ + "/validate.log");
    EXPECT_NE(run(*dir_ + "/wrong.json"), 0);
}

// For every race that owns or peoples a colony: the colonies report lists
// exactly the colonies the JSON gives it (owned, or independent of its
// people), and its table exactly the systems the JSON's control gives it.
TEST_F(SettledSector, ColoniesReportAgreesWithTheJsonExport) {
    const Json doc = exported(*base_, *dir_ + "/s.json");
    std::map<long, std::set<long>> coloniesOf;
    std::map<long, std::set<long>> systemsOf;
    for (const Json& colony : doc["colonies"]) {
        const long race = colony["owner_id"].is_null() ? colony["race_id"].get<long>() : colony["owner_id"].get<long>();
        coloniesOf[race].insert(colony["id"].get<long>());
    }
    for (const Json& control : doc["control"]) {
        systemsOf[control["race_id"].get<long>()].insert(control["system_id"].get<long>());
    }
    ASSERT_GE(coloniesOf.size(), 2U) << "the sector should hold several settling races";

    for (const auto& [race, colonies] : coloniesOf) {
        const std::string log = *dir_ + "/race" + std::to_string(race);
        WriteColoniesReport(*base_, race, log);
        std::istringstream in(fileBytes(log + ".log"));
        std::set<long> listed;
        std::set<long> controlled;
        bool table = false;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("Colony: ", 0) == 0) listed.insert(std::stol(line.substr(8)));
            if (line.rfind("Moon base: ", 0) == 0) listed.insert(std::stol(line.substr(11)));
            if (line == "--------------------------") table = true;
            if (table && line.size() >= 6 && line != "--------------------------") {
                controlled.insert(std::stol(line.substr(0, 6)));
            }
        }
        EXPECT_EQ(listed, colonies) << "race " << race;
        EXPECT_EQ(controlled, systemsOf[race]) << "race " << race;
    }
}

}  // namespace
}  // namespace orrimar::exports

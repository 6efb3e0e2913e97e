#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/record_bytes.h"
#include "support/fixture_sector.h"
#include "support/well_formed.h"
#include "names/sector_names.h"
#include "records/records.h"
#include "records/sector_files.h"

namespace orrimar {
namespace {

using logtest::checkWellFormed;
using logtest::makeFixtureSector;
using testing::fileBytes;
using testing::testDir;

// The fixture: system 0 at (3, -4, 7), a G2 V with a breathable Terran world
// (15 degrees, 70 % water) home to race 0 and an owned colony, a belt and a
// gas giant at -150 degrees; system 1 at (-2, 5, 0), a K0 V + M4 V pair
// with one Rock at 120 degrees, 12.45 parsecs away.
struct AtlasCommands : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    std::string dir;
    logtest::FixtureSector sector;

    void SetUp() override {
        dir = testDir("atlas_cli");
        sector = makeFixtureSector(dir);
    }
    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        ctx.exitCode = cli::kExitOk;
        return cli::runCli(args, ctx);
    }
    std::vector<int> jsonIds(const std::vector<std::string>& args) {
        std::vector<std::string> all = {"find", sector.base, "--json"};
        all.insert(all.end(), args.begin(), args.end());
        EXPECT_EQ(run(all), cli::kExitOk) << err.str();
        std::vector<int> ids;
        const auto doc = nlohmann::json::parse(out.str());
        for (const auto& m : doc["matches"]) ids.push_back(m["id"].get<int>());
        return ids;
    }
};

TEST_F(AtlasCommands, FindPrintsATableOfTheMatches) {
    EXPECT_EQ(run({"find", sector.base, "--life", "sentient", "--breathable", "--within", "5", "--of", "0"}),
              cli::kExitOk)
        << err.str();
    const std::string table = out.str();
    EXPECT_NE(table.find("Id  Name"), std::string::npos) << table;
    EXPECT_NE(
        table.find("      0             3     -4      7  yellow dwarf                   3  Sentient   race, colony"),
        std::string::npos)
        << table;
    EXPECT_NE(table.find("1 of 2 systems match\n"), std::string::npos) << table;
    EXPECT_NE(table.find("0.00"), std::string::npos) << "a --within table gives the distance";
}

TEST_F(AtlasCommands, FindCriteriaAsJson) {
    EXPECT_EQ(jsonIds({}), (std::vector<int>{0, 1}));
    EXPECT_EQ(jsonIds({"--star", "K"}), (std::vector<int>{1}));
    EXPECT_EQ(jsonIds({"--star", "5"}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--world", "rock"}), (std::vector<int>{1}));
    EXPECT_EQ(jsonIds({"--world", "Gas_Giant,stony"}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--temp", "100..200"}), (std::vector<int>{1}));
    EXPECT_EQ(jsonIds({"--temp", "..-100"}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--temp", "0..30", "--world", "gas-giant"}), (std::vector<int>{}));  // not on one world
    EXPECT_EQ(jsonIds({"--water", "50.."}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--colony"}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--race"}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--name", "1"}), (std::vector<int>{1}));
    EXPECT_EQ(jsonIds({"--within", "12", "--of", "1"}), (std::vector<int>{1}));
    EXPECT_EQ(jsonIds({"--within", "12.5", "--of", "1"}), (std::vector<int>{1, 0}));  // nearest first
    const auto doc =
        nlohmann::json::parse((run({"find", sector.base, "--json", "--within", "13", "--of", "1"}), out.str()));
    EXPECT_EQ(doc["count"], 2);
    EXPECT_EQ(doc["systems"], 2);
    EXPECT_NEAR(doc["matches"][1]["parsecs"].get<double>(), 12.4499, 1e-3);
    EXPECT_EQ(doc["matches"][1]["life"], "Sentient");
}

TEST_F(AtlasCommands, FindRefusesMalformedCriteriaBeforeReading) {
    const std::string nowhere = dir + "/nowhere";
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{"--star", "Q"},
                                                                                     {"--star", "24"},
                                                                                     {"--world", "swamp"},
                                                                                     {"--life", "plants"},
                                                                                     {"--temp", "30..0"},
                                                                                     {"--temp", "warm"},
                                                                                     {"--gravity", "..x"},
                                                                                     {"--within", "3"},
                                                                                     {"--of", "2"},
                                                                                     {"--within", "-1", "--of", "0"}}) {
        std::vector<std::string> args = {"find", nowhere};
        args.insert(args.end(), bad.begin(), bad.end());
        EXPECT_EQ(run(args), cli::kExitUsage) << bad[0] << " " << bad[1];
        EXPECT_NE(err.str().find(bad[0].substr(0, 6)), std::string::npos) << err.str();
    }
    // A well-formed query on a missing sector is a runtime error naming the file.
    EXPECT_EQ(run({"find", nowhere}), cli::kExitRuntime);
    EXPECT_NE(err.str().find("nowhere.sun"), std::string::npos) << err.str();
    EXPECT_EQ(run({"find", sector.base, "--within", "3", "--of", "7"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("no system 7"), std::string::npos) << err.str();
}

TEST_F(AtlasCommands, RouteListsEveryLegOrSaysThereIsNone) {
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "13"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(),
              "Route from 0 (3, -4, 7) to 1 (-2, 5, 0) with jumps of at most 13 parsecs: 1 jump, 12.45 parsecs\n"
              "   1. 0 (3, -4, 7) -> 1 (-2, 5, 0): 12.45 parsecs (total 12.45)\n");
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "12"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "No route from 0 (3, -4, 7) to 1 (-2, 5, 0) with jumps of at most 12 parsecs\n");
    EXPECT_EQ(run({"route", sector.base, "1", "1", "--jump", "1", "--via", "gas-giant"}), cli::kExitOk);
    EXPECT_NE(out.str().find("where there is a gas giant: 0 jumps"), std::string::npos) << out.str();
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "20", "--json"}), cli::kExitOk);
    const auto doc = nlohmann::json::parse(out.str());
    EXPECT_TRUE(doc["found"].get<bool>());
    EXPECT_EQ(doc["systems"], nlohmann::json::parse("[0, 1]"));
    EXPECT_EQ(run({"route", sector.base, "0", "2", "--jump", "3"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("TO: there is no system 2: the ids go from 0 to 1"), std::string::npos) << err.str();
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "-2"}), cli::kExitUsage);
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "3", "--via", "fuel"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("--via: 'fuel' is no property"), std::string::npos) << err.str();
    EXPECT_EQ(run({"route", sector.base, "0", "Sol", "--jump", "3"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("no system is named 'Sol'"), std::string::npos) << err.str();
}

TEST_F(AtlasCommands, RouteViaOneEmpireNamesItAndRefusesAnEmpireItCannotFind) {
    TEmpireRec realm;
    realm.race = 5;
    realm.colour = {1, 2, 3};
    realm.capitalSystemId = 0;
    realm.name.assign("Fifth Realm");
    {
        std::ofstream con(sectorPath(sector.base, ".con"), std::ios::binary | std::ios::trunc);
        con << testing::bytesOf(TConRec{0, 5}) << testing::bytesOf(TConRec{1, 5});
        std::ofstream emp(sectorPath(sector.base, ".emp"), std::ios::binary | std::ios::trunc);
        emp << testing::bytesOf(realm);
    }
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "13", "--via", "empire:fifth"}), cli::kExitOk)
        << err.str();
    EXPECT_NE(out.str().find("with jumps of at most 13 parsecs, stopping only at systems of the Fifth Realm: 1 jump"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "13", "--via", "empire:5", "--json"}), cli::kExitOk);
    EXPECT_EQ(nlohmann::json::parse(out.str())["via"], "empire:5");
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "13", "--via", "empire:Zorn"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("--via: no race is named 'Zorn'"), std::string::npos) << err.str();
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "13", "--via", "empire"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("--via: say whose empire"), std::string::npos) << err.str();
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "3", "--via", "fuel"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("empire:NAME"), std::string::npos) << err.str();
}

TEST_F(AtlasCommands, FindBySettledSpaceReadsOwnersPeopleStarportsAndTypes) {
    // The fixture's owned homeworld of 60 million with a good starport on
    // system 0, controlled by race 0; a primitive mining base of 10,000.
    {
        std::ofstream con(sectorPath(sector.base, ".con"), std::ios::binary | std::ios::trunc);
        con << testing::bytesOf(TConRec{0, 0});
    }
    EXPECT_EQ(jsonIds({"--owner", "0"}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--colony-type", "homeworld,research"}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--starport", "Good"}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--starport", "1"}), (std::vector<int>{}));
    EXPECT_EQ(jsonIds({"--min-people", "60000000"}), (std::vector<int>{0}));
    EXPECT_TRUE(jsonIds({"--min-people", "70000000", "--owner", "0"}).empty());
    EXPECT_EQ(run({"find", sector.base, "--starport", "superb"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("--starport: 'superb' is no starport"), std::string::npos) << err.str();
    EXPECT_EQ(run({"find", sector.base, "--colony-type", "mining,farm"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("--colony-type: 'farm' is no colony type"), std::string::npos) << err.str();
    EXPECT_EQ(run({"find", sector.base, "--owner", "Nobody"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("--owner: no race is named 'Nobody'"), std::string::npos) << err.str();
}

TEST_F(AtlasCommands, StarlogSummaryIsOneLinePerOrbitWithMoonsFolded) {
    EXPECT_EQ(run({"starlog", sector.base, "--system", "0", "--summary", "--out", dir + "/s.txt"}), cli::kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "Wrote system summary of system 0 to " + dir + "/s.txt\n");
    const std::string text = fileBytes(dir + "/s.txt");
    EXPECT_NE(text.find("Sector Fixture Reach, x 3, y -4, z 7. Stars: A G2 V yellow dwarf. Age 4.6\r\nbillion years."),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("A1     1.0  Terran"), std::string::npos) << text;
    EXPECT_NE(text.find("Standard, Nitrogen/Oxygen"), std::string::npos) << text;
    EXPECT_NE(text.find("race 0: "), std::string::npos) << text;
    EXPECT_NE(text.find("1: Terran"), std::string::npos) << "the twin moon, folded: " << text;
    EXPECT_NE(text.find("2: Ice Ball, ring"), std::string::npos) << text;
    EXPECT_NE(text.find("A2     2.5  Stony asteroid belt"), std::string::npos) << text;
    // One screen: a line per orbit and a few of heading, then a line per
    // colony (the fixture's planet colony and moon base) under a table head.
    const std::size_t colonies = text.find("Colonies\r\n");
    ASSERT_NE(colonies, std::string::npos) << text;
    int lines = 0;
    for (std::size_t i = 0; i < colonies; ++i) lines += text[i] == '\n';
    EXPECT_LE(lines, 12) << text;
    int colonyLines = 0;
    for (std::size_t i = colonies; i < text.size(); ++i) colonyLines += text[i] == '\n';
    EXPECT_LE(colonyLines, 4 + 2 + 2) << text;  // heading, rule, table head and rule, two rows, ends
    EXPECT_EQ(run({"starlog", sector.base, "--system", "1", "--summary", "--html", "--out", dir + "/s.html"}),
              cli::kExitOk);
    const std::string page = fileBytes(dir + "/s.html");
    EXPECT_EQ(checkWellFormed(page), "");
    EXPECT_NE(page.find("B1"), std::string::npos);
    EXPECT_NE(page.find("K0 V orange dwarf; B M4 V red dwarf"), std::string::npos) << page;
    EXPECT_EQ(run({"starlog", sector.base, "--system", "2", "--summary", "--out", dir + "/x.txt"}), cli::kExitUsage);
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.txt"));
}

}  // namespace
}  // namespace orrimar

namespace orrimar {
namespace {

// Names from the sector's name file: the last record for an id wins; world
// names follow the system's unless overridden.
TEST_F(AtlasCommands, NamesComeFromTheNameFile) {
    {
        std::ofstream nam(sectorPath(sector.base, ".nam"), std::ios::binary | std::ios::app);
        nam << testing::bytesOf(makeNameRecord(NameKind::System, 0, "Old name"))
            << testing::bytesOf(makeNameRecord(NameKind::System, 0, "Vessan\xe9"))
            << testing::bytesOf(makeNameRecord(NameKind::Planet, 2, "Big Blue"));
    }
    EXPECT_EQ(jsonIds({"--name", "VESSAN"}), (std::vector<int>{0}));
    EXPECT_EQ(jsonIds({"--name", "old"}), (std::vector<int>{}));
    EXPECT_EQ(run({"find", sector.base, "--name", "vess"}), cli::kExitOk);
    EXPECT_NE(out.str().find("      0  Vessan\xc3\xa9 "), std::string::npos) << out.str();
    EXPECT_EQ(run({"route", sector.base, "Vessan\xc3\xa9", "1", "--jump", "13"}), cli::kExitOk) << err.str();
    EXPECT_NE(out.str().find("Route from 0 Vessan\xc3\xa9 (3, -4, 7) to 1 (-2, 5, 0)"), std::string::npos) << out.str();
    EXPECT_EQ(run({"starlog", sector.base, "--system", "0", "--summary", "--out", dir + "/n.txt"}), cli::kExitOk);
    const std::string text = fileBytes(dir + "/n.txt");
    EXPECT_NE(text.find("Vessan\xc3\xa9 (system 0)"), std::string::npos) << text;
    EXPECT_NE(text.find("Vessan\xc3\xa9 I "), std::string::npos) << text;
    EXPECT_NE(text.find("Vessan\xc3\xa9 belt 1 "), std::string::npos) << text;
    EXPECT_NE(text.find("Big Blue "), std::string::npos) << text;
}

}  // namespace
}  // namespace orrimar

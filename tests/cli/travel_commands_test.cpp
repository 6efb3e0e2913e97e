#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <map>

#include "atlas/atlas_model.h"
#include "atlas/jump_search.h"
#include "atlas/route_stops.h"
#include "cli/cli.h"
#include "cli_runner.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/test_dir.h"
#include "support/well_formed.h"
#include "support/record_bytes.h"

namespace orrimar {
namespace {

// The fixture of the atlas commands: system 0 at (3, -4, 7) with a
// sentient native race and a gas giant, system 1 at (-2, 5, 0), a K0 V
// pair with one Rock, 12.45 parsecs away.
struct TravelCommands : ::testing::Test {
    testing::CliRunner cli;
    std::string dir;
    logtest::FixtureSector sector;

    void SetUp() override {
        dir = testing::testDir("travel_cli");
        sector = logtest::makeFixtureSector(dir);
    }
    int run(const std::vector<std::string>& args) { return cli.run(args); }
    std::string out() const { return cli.out.str(); }
    std::string err() const { return cli.err.str(); }
};

TEST_F(TravelCommands, FindWithinJumpsPrintsEachSystemsJumps) {
    EXPECT_EQ(run({"find", sector.base, "--jumps", "1", "--of", "1", "--jump", "13"}), cli::kExitOk) << err();
    EXPECT_EQ(out(),
              "     Id  Name       X      Y      Z  Primary star              Worlds  Life       Marks               "
              "Parsecs  Jumps\n"
              "      1            -2      5      0  orange dwarf                   1                                  "
              "  0.00      0\n"
              "      0             3     -4      7  yellow dwarf                   3  Sentient   race, colony         "
              " 12.45      1\n"
              "2 of 2 systems match\n");
    // One jump is the start alone when the other lies a jump too far.
    EXPECT_EQ(run({"find", sector.base, "--jumps", "5", "--of", "1", "--jump", "12.44", "--json"}), cli::kExitOk);
    auto doc = nlohmann::json::parse(out());
    ASSERT_EQ(doc["count"], 1);
    EXPECT_EQ(doc["matches"][0]["id"], 1);
    EXPECT_EQ(doc["matches"][0]["jumps"], 0);
    EXPECT_EQ(run({"find", sector.base, "--jumps", "0", "--of", "0", "--jump", "100", "--json"}), cli::kExitOk);
    EXPECT_EQ(nlohmann::json::parse(out())["count"], 1);
    // With the other criteria: all must hold.
    EXPECT_EQ(run({"find", sector.base, "--jumps", "1", "--of", "1", "--jump", "13", "--life", "sentient", "--json"}),
              cli::kExitOk);
    doc = nlohmann::json::parse(out());
    ASSERT_EQ(doc["count"], 1);
    EXPECT_EQ(doc["matches"][0]["id"], 0);
    EXPECT_EQ(doc["matches"][0]["jumps"], 1);
    EXPECT_NEAR(doc["matches"][0]["parsecs"].get<double>(), 12.4499, 1e-3);
    EXPECT_EQ(run({"find", sector.base, "--jumps", "1", "--of", "1", "--jump", "13", "--within", "12", "--json"}),
              cli::kExitOk);
    EXPECT_EQ(nlohmann::json::parse(out())["count"], 1);
    // Only through gas giants: the last system needs none.
    EXPECT_EQ(run({"find", sector.base, "--jumps", "3", "--of", "0", "--jump", "13", "--via", "gas-giant", "--json"}),
              cli::kExitOk)
        << err();
    EXPECT_EQ(nlohmann::json::parse(out())["count"], 2);
}

TEST_F(TravelCommands, FindWithinJumpsRefusesMalformedValuesNamingTheOption) {
    const std::string nowhere = dir + "/nowhere";
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--jumps", "-1", "--of", "0", "--jump", "3"}, "--jumps: '-1' is no number of jumps"},
        {{"--jumps", "2.5", "--of", "0", "--jump", "3"}, "--jumps: '2.5' is no number of jumps"},
        {{"--jumps", "x", "--of", "0", "--jump", "3"}, "--jumps: 'x' is no number"},
        {{"--jumps", "99999999999", "--of", "0", "--jump", "3"}, "--jumps: 99999999999 jumps is too many"},
        {{"--jumps", "2", "--of", "0", "--jump", "0"}, "--jump: '0' is no jump"},
        {{"--jumps", "2", "--of", "0", "--jump", "-3"}, "--jump: '-3' is no jump"},
        {{"--jumps", "2", "--of", "0", "--jump", "inf"}, "--jump: 'inf' is no jump"},
        {{"--jumps", "2", "--of", "0", "--jump", "3pc"}, "--jump: '3pc' is no jump"},
        {{"--jumps", "2", "--of", "0"}, "--jumps, --jump and --of go together"},
        {{"--jumps", "2", "--jump", "3"}, "--jumps, --jump and --of go together"},
        {{"--jump", "3", "--of", "0"}, "--jumps, --jump and --of go together"},
        {{"--via", "gas-giant"}, "--via limits where jumps stop"},
        {{"--of", "0"}, "--of measures from a system"},
    };
    for (const auto& [args, words] : bad) {
        std::vector<std::string> all = {"find", nowhere};
        all.insert(all.end(), args.begin(), args.end());
        // Refused before the sector is read: the missing one is not reported.
        EXPECT_EQ(run(all), cli::kExitUsage) << words;
        EXPECT_NE(err().find(words), std::string::npos) << err();
        EXPECT_EQ(out(), "");
    }
    // An unknown system or stopping rule: usage, as in every command.
    EXPECT_EQ(run({"find", sector.base, "--jumps", "2", "--of", "Sol", "--jump", "3"}), cli::kExitUsage);
    EXPECT_NE(err().find("no system is named 'Sol'"), std::string::npos) << err();
    EXPECT_NE(err().find("--of"), std::string::npos) << err();
    EXPECT_EQ(run({"find", sector.base, "--jumps", "2", "--of", "7", "--jump", "3"}), cli::kExitUsage);
    EXPECT_NE(err().find("no system 7"), std::string::npos) << err();
    EXPECT_EQ(run({"find", sector.base, "--jumps", "2", "--of", "0", "--jump", "3", "--via", "fuel"}), cli::kExitUsage);
    EXPECT_NE(err().find("--via: 'fuel' is no property"), std::string::npos) << err();
    // A missing sector is a runtime error.
    EXPECT_EQ(run({"find", nowhere, "--jumps", "2", "--of", "0", "--jump", "3"}), cli::kExitRuntime);
}

TEST_F(TravelCommands, FindAgreesWithTheSearchOnAGeneratedSectorFewestJumpsFirst) {
    const std::string base = dir + "/made";
    ASSERT_EQ(run({"create", "--file", base, "--seed", "12", "--size", "9", "--density", "30"}), cli::kExitOk) << err();
    const atlas::AtlasModel model = atlas::AtlasModel::open(base);
    const atlas::SystemId of = model.size() / 3;
    const std::vector<std::int32_t> want =
        atlas::jumpsFrom(model, of, 3, 2.2, atlas::routeStopRule(model, atlas::RouteStop::Water));
    ASSERT_EQ(
        run({"find", base, "--jumps", "3", "--of", std::to_string(of), "--jump", "2.2", "--via", "water", "--json"}),
        cli::kExitOk)
        << err();
    const auto doc = nlohmann::json::parse(out());
    std::map<int, int> got;
    int lastJumps = 0;
    double lastParsecs = 0;
    for (const auto& m : doc["matches"]) {
        const int jumps = m["jumps"].get<int>();
        const double parsecs = m["parsecs"].get<double>();
        got[m["id"].get<int>()] = jumps;
        // Fewest jumps first, then nearest.
        EXPECT_TRUE(jumps > lastJumps || (jumps == lastJumps && parsecs >= lastParsecs)) << m.dump();
        lastJumps = jumps;
        lastParsecs = parsecs;
    }
    std::map<int, int> reached;
    for (std::size_t id = 0; id < want.size(); ++id) {
        if (want[id] != atlas::kNotReached) reached[static_cast<int>(id)] = want[id];
    }
    EXPECT_EQ(got, reached);
    EXPECT_GT(reached.size(), 3U);
}

TEST_F(TravelCommands, RouteTimesEachLegAndTheWholeWay) {
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "13", "--jump-time", "2w3d"}), cli::kExitOk) << err();
    EXPECT_EQ(
        out(),
        "Route from 0 (3, -4, 7) to 1 (-2, 5, 0) with jumps of at most 13 parsecs: 1 jump, 12.45 parsecs, "
        "2 weeks 3 days\n"
        "   1. 0 (3, -4, 7) -> 1 (-2, 5, 0): 12.45 parsecs (total 12.45); 2 weeks 3 days (total 2 weeks 3 days)\n");
    EXPECT_EQ(run({"route", sector.base, "0", "0", "--jump", "1", "--jump-time", "1d"}), cli::kExitOk);
    EXPECT_EQ(out(),
              "Route from 0 (3, -4, 7) to 0 (3, -4, 7) with jumps of at most 1 parsec: 0 jumps, 0.00 parsecs, "
              "0 hours\n");
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "13", "--jump-time", "168h", "--json"}), cli::kExitOk);
    const auto doc = nlohmann::json::parse(out());
    EXPECT_EQ(doc["jumpHours"], 168);
    EXPECT_EQ(doc["jumpTime"], "1 week");
    EXPECT_EQ(doc["hours"], 168);
    EXPECT_EQ(doc["time"], "1 week");
    ASSERT_EQ(doc["legs"].size(), 1U);
    EXPECT_EQ(doc["legs"][0]["hours"], 168);
    EXPECT_EQ(doc["legs"][0]["time"], "1 week");
    // Untimed, the JSON has no time fields.
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "13", "--json"}), cli::kExitOk);
    EXPECT_FALSE(nlohmann::json::parse(out()).contains("hours"));
    // No route: nothing to time.
    EXPECT_EQ(run({"route", sector.base, "0", "1", "--jump", "12", "--jump-time", "1w"}), cli::kExitOk);
    EXPECT_EQ(out(), "No route from 0 (3, -4, 7) to 1 (-2, 5, 0) with jumps of at most 12 parsecs\n");
}

TEST_F(TravelCommands, RouteRefusesATimeThatIsNoneBeforeReading) {
    const std::string nowhere = dir + "/nowhere";
    for (const std::string bad : {"1x", "0h", "1.5w", "w", "1w1w"}) {
        EXPECT_EQ(run({"route", nowhere, "0", "1", "--jump", "3", "--jump-time", bad}), cli::kExitUsage) << bad;
        EXPECT_NE(err().find("--jump-time: '" + bad + "' is no time"), std::string::npos) << err();
    }
    EXPECT_EQ(run({"route", nowhere, "0", "1", "--jump", "3", "--jump-time", "10001w"}), cli::kExitUsage);
    EXPECT_NE(err().find("--jump-time: '10001w' is too long"), std::string::npos) << err();
    EXPECT_EQ(run({"route", nowhere, "0", "1", "--jump", "3", "--jump-time", ""}), cli::kExitUsage);
}

}  // namespace
}  // namespace orrimar

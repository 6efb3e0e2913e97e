#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aliens/alien_race.h"
#include "cli/cli.h"
#include "common/random.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/well_formed.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;
namespace fixtures = orrimar::logtest;

struct AlienCommands : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    std::string dir;

    void SetUp() override {
        dir = testing::testDir(std::string("cli_alien_") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        // Empty: the default tables, whatever lies beside the program.
        testing::writeFileBytes(settings(), "");
    }
    // Beside the scratch folder, so that the folder holds only what a command wrote.
    static std::string settings() { return testing::testTmp() + "/orrwin.ini"; }
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        ctx.exitCode = cli::kExitOk;
        return cli::runCli(args, ctx);
    }
    // The generator's command with the settings kept out of the program folder.
    int alien(std::vector<std::string> extra) {
        std::vector<std::string> args = {"alien", "--settings", settings(), "--seed", "11"};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }
    std::string path(const std::string& name) const { return dir + "/" + name; }
};

TEST_F(AlienCommands, AlienWritesTheLogAndSaysSo) {
    ASSERT_EQ(alien({"--temperature", "-50", "--gravity", "0.5", "--world", "ocean", "--atmosphere", "Ammonia",
                     "--output", "battlelords", "--total-alien-disable", "--out", path("race.log")}),
              cli::kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "Wrote alien log of a race made to order to " + path("race.log") + "\n");
    const std::string log = testing::fileBytes(path("race.log"));
    EXPECT_NE(log.find("Temperature: -50 °C"), std::string::npos);
    EXPECT_NE(log.find("Gravity:     0.50 g"), std::string::npos);
    EXPECT_NE(log.find("Atmosphere:  Ammonia"), std::string::npos);
    EXPECT_NE(log.find("Attributes (Battlelords)"), std::string::npos);
    // An ocean world's race lives on the shore or in the water.
    EXPECT_TRUE(log.find("Habitat:          Shore") != std::string::npos ||
                log.find("Habitat:          Water") != std::string::npos);
}

TEST_F(AlienCommands, AlienHtmlIsWellFormedAndSeededRunsRepeat) {
    ASSERT_EQ(alien({"--html", "--out", path("a.html")}), cli::kExitOk) << err.str();
    ASSERT_EQ(alien({"--html", "--out", path("b.html")}), cli::kExitOk) << err.str();
    const std::string a = testing::fileBytes(path("a.html"));
    EXPECT_EQ(fixtures::checkWellFormed(a), "");
    EXPECT_EQ(a, testing::fileBytes(path("b.html")));
}

TEST_F(AlienCommands, AlienRefusesWhatTheDialogRefuses) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--temperature=-51"}, "Temperature must be between -50 and 100"},
        {{"--gravity", "3.01"}, "Gravity must be between 0.5 and 3.0"},
        {{"--world", "Mars"}, "--world: unknown entry 'Mars'"},
        {{"--atmosphere", "Oxygen"}, "--atmosphere: unknown entry 'Oxygen'"},
        {{"--output", "D&D"}, "--output: unknown output system 'D&D'"},
    };
    for (const auto& [extra, message] : cases) {
        std::vector<std::string> args = extra;
        args.insert(args.end(), {"--out", path("race.log")});
        EXPECT_EQ(alien(args), cli::kExitUsage) << message;
        EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
    }
    EXPECT_EQ(run({"alien", "--seed", "-3", "--out", path("race.log")}), cli::kExitUsage);
    EXPECT_NE(err.str().find("--seed: not a seed"), std::string::npos) << err.str();
    EXPECT_EQ(alien({"--out", ""}), cli::kExitUsage);
    EXPECT_NE(err.str().find("No log file chosen"), std::string::npos) << err.str();
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(AlienCommands, AlienLogOfARaceInASector) {
    const std::string base = path("sector");
    seedRandom(5);
    GenerateAlienRace(20, 2, 10, 1.0F, true, base, 0, false, 50);
    GenerateAlienRace(-20, 2, 23, 1.2F, false, base, 1, false, 50);
    ASSERT_EQ(run({"alienlog", base, "--race", "1", "--output", "fuzion", "--out", path("race.log")}), cli::kExitOk)
        << err.str();
    const std::string log = testing::fileBytes(path("race.log"));
    EXPECT_EQ(log.rfind("Alien race 1 of sector\r\n", 0), 0U);
    EXPECT_NE(log.find("Attributes (Fuzion)"), std::string::npos);
    EXPECT_NE(log.find("Home world id: 1"), std::string::npos);
    ASSERT_EQ(run({"alienlog", base, "--race", "0", "--output", "3", "--html", "--out", path("race.html")}),
              cli::kExitOk);
    EXPECT_EQ(fixtures::checkWellFormed(testing::fileBytes(path("race.html"))), "");
}

TEST_F(AlienCommands, AlienLogRefusalsLeaveNoLog) {
    const std::string base = path("sector");
    GenerateAlienRace(20, 2, 10, 1.0F, true, base, 0, false, 50);
    EXPECT_EQ(run({"alienlog", base, "--race", "1", "--out", path("race.log")}), cli::kExitUsage);
    EXPECT_NE(err.str().find("Race 1 is not in"), std::string::npos) << err.str();
    EXPECT_EQ(run({"alienlog", base, "--race", "x", "--out", path("race.log")}), cli::kExitUsage);
    EXPECT_EQ(run({"alienlog", base, "--output", "6", "--out", path("race.log")}), cli::kExitUsage);
    EXPECT_EQ(run({"alienlog", base, "--out", ""}), cli::kExitUsage);
    EXPECT_EQ(run({"alienlog", path("nowhere"), "--out", path("race.log")}), cli::kExitRuntime);
    EXPECT_EQ(fs::directory_iterator(dir)->path().filename(), "sector.aln");
    EXPECT_FALSE(fs::exists(path("race.log")));
}

}  // namespace
}  // namespace orrimar

#include <sstream>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "tools/hand_made_sector.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct CheckCommand : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    fs::path dir;
    std::string base;

    void SetUp() override {
        dir = freshDir(std::string("cli_check_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        base = (dir / "s").string();
    }
    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        ctx.exitCode = cli::kExitOk;
        return cli::runCli(args, ctx);
    }
};

TEST_F(CheckCommand, SoundSectorExitsZeroWithASummary) {
    const SectorContent s = soundSector(5, 0);
    writeSector(base, s);
    EXPECT_EQ(run({"check", base}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), base + ": sound (5 systems, " + std::to_string(s.planets.size()) + " planets, " +
                             std::to_string(s.moons.size()) + " moons, " + std::to_string(s.aliens.size()) +
                             " races)\n");
}

TEST_F(CheckCommand, DamagedSectorListsEachProblemAndExitsOne) {
    SectorContent s = soundSector(5, 0);
    const int owner = s.planets[1].systemId;
    const int moonOwner = s.moons[0].planetId;
    s.planets[1].systemId = owner + 2;
    s.moons[0].planetId = moonOwner + 1;
    writeSector(base, s);
    EXPECT_EQ(run({"check", base}), cli::kExitRuntime);
    const std::string text = out.str();
    EXPECT_NE(text.find("planet 1: system id " + std::to_string(owner + 2) + ", expected " + std::to_string(owner) +
                        "\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("moon 0: planet id " + std::to_string(moonOwner + 1) + ", expected " +
                        std::to_string(moonOwner) + "\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(base + ": damaged, 2 problems ("), std::string::npos) << text;
}

TEST_F(CheckCommand, MissingSectorOrArgument) {
    EXPECT_EQ(run({"check", (dir / "nothing").string()}), cli::kExitUsage);
    EXPECT_NE(err.str().find("No sector at"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(run({"check"}), cli::kExitUsage);
}

TEST_F(CheckCommand, CreatedAndAppendedSectorsAreSound) {
    ASSERT_EQ(run({"create", "--file", base, "--seed", "3", "--size", "6", "--density", "50"}), cli::kExitOk)
        << err.str();
    EXPECT_EQ(run({"check", base}), cli::kExitOk) << out.str();
    const auto firstPlanets = readRecords<TPlanetRec>(base + ".pln").size();
    ASSERT_EQ(run({"create", "--file", base, "--seed", "4", "--size", "6", "--density", "50", "--append", "-x",
                   "10"}),
              cli::kExitOk)
        << err.str();
    EXPECT_EQ(run({"check", base}), cli::kExitOk) << out.str();
    EXPECT_GT(readRecords<TPlanetRec>(base + ".pln").size(), firstPlanets);

    // Cut the moon file mid-record: damaged.
    fs::resize_file(base + ".mon", fs::file_size(base + ".mon") - 1);
    EXPECT_EQ(run({"check", base}), cli::kExitRuntime);
    EXPECT_NE(out.str().find("s.mon: not a whole number of 60-byte records (59 bytes over)"), std::string::npos)
        << out.str();
}

}  // namespace
}  // namespace orrimar

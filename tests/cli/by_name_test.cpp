// Systems and races given by name wherever the command line takes an id:
// the same text picks the same thing in every command.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "cli/cli_runner.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"

namespace orrimar {
namespace {

using logtest::makeFixtureSector;
using testing::fileBytes;
using testing::testDir;

struct ByName : ::testing::Test, testing::CliRunner {
    std::string dir;
    logtest::FixtureSector sector;

    void SetUp() override {
        dir = testDir(std::string("cli_by_name_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        sector = makeFixtureSector(dir);
        ctx.programDir = dir;
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"--system", "0", "Vessane"}, {"--system", "1", "Vesper"}, {"--race", "0", "Krai"}}) {
            std::vector<std::string> full{"name", sector.base};
            full.insert(full.end(), args.begin(), args.end());
            EXPECT_EQ(run(full), cli::kExitOk) << err.str();
        }
    }
};

TEST_F(ByName, EveryCommandTakesANameOrItsStartWhereItTakesAnId) {
    EXPECT_EQ(run({"starlog", sector.base, "--system", "vessane", "--out", dir + "/s.log"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote system log of system 0 (Vessane) to " + dir + "/s.log\n");
    EXPECT_EQ(run({"starlog", sector.base, "--system", "Vesp", "--summary", "--out", dir + "/s.log"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "Wrote system summary of system 1 (Vesper) to " + dir + "/s.log\n");
    EXPECT_EQ(run({"alienlog", sector.base, "--race", "kr", "--out", dir + "/a.log"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote alien log of race 0 (Krai) to " + dir + "/a.log\n");
    EXPECT_EQ(run({"colonies", sector.base, "--race", "Krai", "--out", dir + "/c"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote colonies report of race 0 (Krai) to " + dir + "/c.log\n");
    EXPECT_EQ(run({"route", sector.base, "Vessane", "vesp", "--jump", "50"}), cli::kExitOk) << err.str();
    EXPECT_TRUE(out.str().starts_with("Route from 0 Vessane (3, -4, 7) to 1 Vesper")) << out.str();
    EXPECT_EQ(run({"find", sector.base, "--within", "0", "--of", "VESPER"}), cli::kExitOk) << err.str();
    EXPECT_TRUE(out.str().ends_with("\n1 of 2 systems match\n")) << out.str();
    // A rename finds the thing by its current name.
    EXPECT_EQ(run({"name", sector.base, "--system", "Vesper", "Orl"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote the name \"Orl\" of system 1 to " + sector.base + ".nam (record 4)\n");
    EXPECT_EQ(run({"name", sector.base, "--race", "Kr", "Kraith"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote the name \"Kraith\" of race 0 to " + sector.base + ".nam (record 5)\n");
}

TEST_F(ByName, AnAmbiguousOrUnknownTextIsRefusedTheSameWayEverywhere) {
    const std::string several =
        "'Ves' begins the names of 2 systems: Vessane (0), Vesper (1); give more of the "
        "name, or the id\n";
    EXPECT_EQ(run({"starlog", sector.base, "--system", "Ves", "--out", dir + "/s.log"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: --system: " + several);
    EXPECT_EQ(run({"route", sector.base, "Ves", "1", "--jump", "50"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: FROM: " + several);
    EXPECT_EQ(run({"find", sector.base, "--within", "3", "--of", "Ves"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: --of: " + several);
    const std::string names = fileBytes(sector.base + ".nam");
    EXPECT_EQ(run({"name", sector.base, "--system", "Ves", "Orl"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: --system: " + several);
    EXPECT_EQ(run({"colonies", sector.base, "--race", "Zorg", "--out", dir + "/c"}), cli::kExitUsage);
    EXPECT_EQ(err.str(),
              "orrimar-cli: --race: no race is named 'Zorg' or has a name beginning so: give its id or its name\n");
    EXPECT_EQ(fileBytes(sector.base + ".nam"), names);
    EXPECT_FALSE(std::filesystem::exists(dir + "/s.log"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/c.log"));
    // A name in a sector that is not there: the sector is what is missing.
    EXPECT_EQ(run({"starlog", dir + "/gone", "--system", "Vessane", "--out", dir + "/s.log"}), cli::kExitRuntime);
    EXPECT_EQ(err.str(), "orrimar-cli: No sector at " + dir + "/gone (" + dir + "/gone.sun not found)\n");
}

}  // namespace
}  // namespace orrimar

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;
using logtest::makeFixtureSector;
using testing::fileBytes;
using testing::testDir;

struct ExportCommands : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    std::string dir;

    void SetUp() override {
        dir = testDir(std::string("cli_export_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return cli::runCli(args, ctx);
    }
};

TEST_F(ExportCommands, EachFormatWritesOneSuccessLine) {
    const auto sector = makeFixtureSector(dir);
    EXPECT_EQ(run({"export", sector.base, "--format", "json", "--out", dir + "/s.json"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote the JSON export of " + sector.base + " (2 systems, 1 race) to " + dir + "/s.json\n");
    EXPECT_EQ(fileBytes(dir + "/s.json").rfind("{\"format\":\"orrimar-sector\"", 0), 0U);

    EXPECT_EQ(run({"export", sector.base, "--format", "csv", "--out", dir + "/tables"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote the CSV export of " + sector.base + " (2 systems, 1 race) to " + dir + "/tables\n");
    for (const char* table : {"systems", "stars", "bodies", "moons", "races"}) {
        EXPECT_TRUE(fs::exists(dir + "/tables/" + table + ".csv")) << table;
    }

    EXPECT_EQ(run({"atlas", sector.base, "--out", dir + "/atlas"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote the atlas of " + sector.base + " (2 systems, 1 race) to " + dir + "/atlas\n");
    EXPECT_TRUE(fs::exists(dir + "/atlas/index.html"));
    EXPECT_EQ(run({"export", sector.base, "--format", "atlas", "--out", dir + "/atlas2", "--quiet"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(fs::exists(dir + "/atlas2/index.html"));
}

TEST_F(ExportCommands, RefusalsAndTheirExitStatus) {
    const auto sector = makeFixtureSector(dir);
    EXPECT_EQ(run({"export", sector.base, "--format", "xml", "--out", dir + "/x"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("Unknown export format 'xml'"), std::string::npos) << err.str();
    EXPECT_EQ(run({"export", sector.base, "--out", dir + "/x"}), cli::kExitUsage);  // --format is required
    EXPECT_EQ(run({"export", dir + "/missing", "--format", "json", "--out", dir + "/x"}), cli::kExitRuntime);
    EXPECT_EQ(run({"export", sector.base, "--format", "json", "--out", sector.base + ".pln"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("is a file of sector"), std::string::npos) << err.str();
    // A damaged sector is a runtime error, as for the check.
    fs::resize_file(sector.base + ".mon", fs::file_size(sector.base + ".mon") - 1);
    EXPECT_EQ(run({"atlas", sector.base, "--out", dir + "/atlas"}), cli::kExitRuntime);
    EXPECT_NE(err.str().find("is damaged and was not exported"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(dir + "/x"));
    EXPECT_FALSE(fs::exists(dir + "/atlas"));
}

}  // namespace
}  // namespace orrimar

namespace orrimar {
namespace {

// The players' atlas from the command line: by atlas and by export, only
// the systems the players know (system 1 hidden here), the success line
// saying which atlas it wrote; refused for the game master's formats.
TEST_F(ExportCommands, PlayersAtlasLeavesHiddenSystemsOut) {
    const auto sector = makeFixtureSector(dir);
    ASSERT_EQ(run({"hide", sector.base, "--system", "1"}), cli::kExitOk) << err.str();
    EXPECT_EQ(run({"atlas", sector.base, "--out", dir + "/players", "--players"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote the players' atlas of " + sector.base + " (1 system, 1 race) to " + dir + "/players\n");
    EXPECT_TRUE(fs::exists(dir + "/players/systems/000/system-0.html"));
    EXPECT_FALSE(fs::exists(dir + "/players/systems/000/system-1.html"));
    // Its people hold a colony in the known system: the players have met them.
    EXPECT_TRUE(fs::exists(dir + "/players/races/000/race-0.html"));

    EXPECT_EQ(run({"export", sector.base, "--format", "atlas", "--players", "--out", dir + "/p2", "--quiet"}),
              cli::kExitOk)
        << err.str();
    EXPECT_TRUE(fs::exists(dir + "/p2/index.html"));

    EXPECT_EQ(run({"export", sector.base, "--format", "json", "--players", "--out", dir + "/p.json"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("only the atlas has a players' edition"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(dir + "/p.json"));
}

}  // namespace
}  // namespace orrimar

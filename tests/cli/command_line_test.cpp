// What every command shares: an unknown command, a missing sector, where
// --out writes.
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

namespace fs = std::filesystem;
using logtest::makeFixtureSector;
using testing::fileBytes;
using testing::testDir;

struct CommandLine : ::testing::Test, testing::CliRunner {
    std::string dir;

    void SetUp() override {
        dir = testDir(std::string("cli_line_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ctx.programDir = dir;
    }
    // The names in `dir`, sorted.
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(CommandLine, AnUnknownCommandIsRefusedWithTheNearestOne) {
    EXPECT_EQ(run({"creat", "--file", dir + "/a"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: unknown command creat; did you mean create?\n");
    EXPECT_EQ(run({"-q", "starlgo", "x"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: unknown command starlgo; did you mean starlog?\n");
    EXPECT_EQ(run({"xyzzy"}), cli::kExitUsage);
    EXPECT_TRUE(err.str().starts_with("orrimar-cli: unknown command xyzzy; the commands are create, check, "))
        << err.str();
    EXPECT_TRUE(files().empty());
}

TEST_F(CommandLine, AMissingSectorIsARuntimeErrorInEveryCommand) {
    const std::string gone = dir + "/gone";
    const std::string missing = "orrimar-cli: No sector at " + gone + " (" + gone + ".sun not found)\n";
    const std::vector<std::vector<std::string>> commands = {
        {"check", gone},
        {"info", gone},
        {"repair", gone},
        {"starlog", gone, "--system", "0", "--out", dir + "/s.log"},
        {"report", gone, "--out", dir + "/r"},
        {"colonies", gone, "--out", dir + "/c"},
        {"export", gone, "--format", "json", "--out", dir + "/e.json"},
        {"atlas", gone, "--out", dir + "/atlas"},
        {"name", gone, "--system", "Vessane", "Orl"},
    };
    for (const auto& command : commands) {
        EXPECT_EQ(run(command), cli::kExitRuntime) << command.front() << ": " << err.str();
        EXPECT_EQ(err.str(), missing) << command.front();
    }
    for (const auto& command :
         std::vector<std::vector<std::string>>{{"find", gone}, {"route", gone, "0", "1", "--jump", "3"}}) {
        EXPECT_EQ(run(command), cli::kExitRuntime) << command.front() << ": " << err.str();
    }
    EXPECT_TRUE(files().empty());
}

TEST_F(CommandLine, AFolderGivenAsAFileIsRefusedAndAnExtensionIsNotDoubled) {
    const auto sector = makeFixtureSector(dir);
    fs::create_directory(dir + "/log");
    const auto before = files();
    for (const std::string& folder : {dir + "/log/", dir + "/log", dir + "/log/."}) {
        EXPECT_EQ(run({"report", sector.base, "--out", folder}), cli::kExitUsage) << folder;
        EXPECT_TRUE(
            err.str().starts_with("orrimar-cli: --out: " + folder + " is a folder: give the file to write in it"))
            << err.str();
        EXPECT_EQ(run({"starlog", sector.base, "--system", "0", "--out", folder}), cli::kExitUsage) << folder;
        EXPECT_EQ(run({"alienlog", sector.base, "--out", folder}), cli::kExitUsage) << folder;
        EXPECT_EQ(run({"colonies", sector.base, "--out", folder}), cli::kExitUsage) << folder;
        EXPECT_EQ(run({"export", sector.base, "--format", "json", "--out", folder}), cli::kExitUsage) << folder;
        EXPECT_EQ(run({"alien", "--seed", "1", "--out", folder}), cli::kExitUsage) << folder;
    }
    EXPECT_EQ(err.str(), "orrimar-cli: --out: " + dir + "/log/. is a folder: give the file to write in it, e.g. " +
                             dir + "/log/./race.log\n");
    EXPECT_TRUE(fs::is_empty(dir + "/log"));
    EXPECT_EQ(files(), before);
    EXPECT_EQ(run({"report", sector.base, "--out", dir + "/log/.HTML"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: --out: " + dir +
                             "/log/.HTML names no file, only an extension: give a name "
                             "such as " +
                             dir + "/log/report\n");

    EXPECT_EQ(run({"report", sector.base, "--out", dir + "/log/x.html"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote sector report to " + dir + "/log/x.map and " + dir + "/log/x.html\n");
    EXPECT_EQ(run({"report", sector.base, "--out", dir + "/log/y.MAP"}), cli::kExitOk) << err.str();
    EXPECT_EQ(run({"colonies", sector.base, "--out", dir + "/log/c.log"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote colonies report of race 0 to " + dir + "/log/c.log\n");
    // Another extension is part of the name.
    EXPECT_EQ(run({"colonies", sector.base, "--out", dir + "/log/c.txt"}), cli::kExitOk) << err.str();
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(dir + "/log")) written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"c.log", "c.txt.log", "x.html", "x.map", "y.html", "y.map"}));
}

TEST_F(CommandLine, CountsAreGroupedInEveryLine) {
    const std::string base = dir + "/big";
    ASSERT_EQ(run({"create", "--file", base, "--seed", "5", "--size", "12", "--density", "100"}), cli::kExitOk)
        << err.str();
    EXPECT_EQ(run({"info", base}), cli::kExitOk) << err.str();
    const std::string info = out.str();
    EXPECT_EQ(run({"check", base}), cli::kExitOk) << err.str();
    const std::string counts = out.str().substr(out.str().find('(') + 1);
    ASSERT_NE(counts.find(','), std::string::npos) << counts;  // over a thousand systems
    EXPECT_EQ(info.substr(0, info.find('\n')), base + ": " + counts.substr(0, counts.find(')')));
    EXPECT_EQ(run({"find", base}), cli::kExitOk) << err.str();
    const std::string systems = counts.substr(0, counts.find(' '));
    EXPECT_TRUE(out.str().ends_with("\n" + systems + " of " + systems + " systems match\n")) << systems;
    EXPECT_EQ(run({"export", base, "--format", "json", "--out", dir + "/big.json"}), cli::kExitOk) << err.str();
    EXPECT_NE(out.str().find("(" + systems + " systems, "), std::string::npos) << out.str();
}

}  // namespace
}  // namespace orrimar

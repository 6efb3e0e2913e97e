// Values given on the command line: a blank one is refused naming its
// option (never read as 0 or as the default), so is one out of its range,
// and a settings file that is not there; -q is taken by every command.
#include <fstream>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
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

struct OptionValues : ::testing::Test, testing::CliRunner {
    std::string dir;
    logtest::FixtureSector sector;

    void SetUp() override {
        dir = testDir("options");
        sector = makeFixtureSector(dir);
        ctx.programDir = dir;  // no orrwin.ini there: the default tables
    }
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> all;
        for (const auto& e : fs::recursive_directory_iterator(dir)) {
            if (e.is_regular_file()) all[e.path().string()] = fileBytes(e.path().string());
        }
        return all;
    }
    // Runs `args`, expecting exit 2, a message that starts with `option`'s name,
    // and every file as it was.
    void expectRefused(const std::vector<std::string>& args, const std::string& option) {
        const auto before = files();
        EXPECT_EQ(run(args), cli::kExitUsage) << args[0] << " " << option;
        EXPECT_EQ(err.str().rfind("orrimar-cli: " + option, 0), 0U) << err.str();
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(files(), before) << args[0] << " " << option;
    }
};

TEST_F(OptionValues, BlankValuesAreRefusedNamingTheOption) {
    const std::string& s = sector.base;
    const std::string log = dir + "/x.log";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"find", s, "--temp", ""}, "--temp"},
        {{"find", s, "--star", ""}, "--star"},
        {{"find", s, "--world", " "}, "--world"},
        {{"find", s, "--water", ""}, "--water"},
        {{"find", s, "--gravity", ""}, "--gravity"},
        {{"find", s, "--life", ""}, "--life"},
        {{"find", s, "--name", ""}, "--name"},
        {{"find", s, "--within", "", "--of", "0"}, "--within"},
        {{"find", s, "--within", "3", "--of", ""}, "--of"},
        {{"find", ""}, "SECTOR"},
        {{"route", s, "0", "1", "--jump", ""}, "--jump"},
        {{"route", s, "0", "1", "--jump", "3", "--via", ""}, "--via"},
        {{"route", s, "", "1", "--jump", "3"}, "FROM"},
        {{"create", "--file", dir + "/new", "--threads", ""}, "--threads"},
        {{"create", "--file", dir + "/new", "--settings", ""}, "--settings"},
        {{"alien", "--temperature", "", "--out", log}, "--temperature"},
        {{"alien", "--gravity", "", "--out", log}, "--gravity"},
        {{"alien", "--seed", "", "--out", log}, "--seed"},
        {{"alienlog", s, "--race", "", "--out", log}, "--race"},
        {{"colonies", s, "--race", "", "--out", dir + "/c"}, "--race"},
        {{"colonies", s, "--out", ""}, "--out"},
        {{"name", s, "--system", "", "Vessane"}, "--system"},
        {{"name", s, "--moon", "", "Vessane"}, "--moon"},
        {{"export", s, "--format", "", "--out", dir + "/e"}, "--format"},
        {{"atlas", "", "--out", dir + "/e"}, "SECTOR"},
        {{"starlog", "", "--system", "0", "--out", log}, "SECTOR"},
        {{"merge", s, ""}, "ADDED"},
        {{"check", ""}, "BASE"},
        {{"info", ""}, "BASE"},
        {{"repair", ""}, "BASE"},
    };
    for (const auto& [args, option] : cases) expectRefused(args, option);
    EXPECT_FALSE(fs::exists(dir + "/new.sun"));
}

TEST_F(OptionValues, ValuesOutsideTheirRangeAreRefused) {
    const std::string& s = sector.base;
    for (const char* water : {"0..150", "101", "-5..", "..101"}) {
        expectRefused({"find", s, "--water", water}, "--water");
    }
    expectRefused({"find", s, "--temp", "-300..0"}, "--temp");
    expectRefused({"find", s, "--gravity", "-1..2"}, "--gravity");
    for (const char* jump : {"inf", "nan", "-0.5"}) expectRefused({"route", s, "0", "1", "--jump", jump}, "--jump");
    expectRefused({"create", "--file", dir + "/new", "--threads", "0"}, "--threads");
    // The ends themselves are in range.
    EXPECT_EQ(run({"find", s, "--water", "0..100", "--temp", "-273..", "--gravity", "0.."}), cli::kExitOk) << err.str();
    EXPECT_EQ(run({"route", s, "0", "1", "--jump", "0"}), cli::kExitOk) << err.str();
}

TEST_F(OptionValues, ASettingsFileThatIsNotThereIsNamed) {
    const auto before = files();
    EXPECT_EQ(run({"create", "--file", dir + "/new", "--size", "1", "--settings", dir + "/missing.ini"}),
              cli::kExitUsage);
    EXPECT_EQ(err.str().rfind("orrimar-cli: --settings: " + dir + "/missing.ini does not exist", 0), 0U) << err.str();
    EXPECT_EQ(run({"alien", "--settings", dir, "--out", dir + "/a.log"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: --settings: " + dir + " is not a file: give the settings file to read\n");
    EXPECT_EQ(files(), before);
    // Named and there, it is read; not named, the missing one beside the program means the default tables.
    std::ofstream(dir + "/mine.ini") << "[Stellar Probabilities]\n";
    EXPECT_EQ(run({"create", "--file", dir + "/new", "--size", "1", "--settings", dir + "/mine.ini"}), cli::kExitOk)
        << err.str();
    EXPECT_EQ(run({"alien", "--seed", "3", "--out", dir + "/a.log"}), cli::kExitOk) << err.str();
}

TEST_F(OptionValues, DashQIsTakenByEveryCommand) {
    const std::string& s = sector.base;
    // Commands that write: -q drops their one line.
    const std::vector<std::vector<std::string>> writers = {
        {"create", "--file", dir + "/b", "--size", "2", "--density", "50", "--seed", "4"},
        {"starlog", s, "--system", "0", "--out", dir + "/s.log"},
        {"report", s, "--out", dir + "/r"},
        {"alienlog", s, "--race", "0", "--out", dir + "/a.log"},
        {"alien", "--seed", "5", "--out", dir + "/m.log"},
        {"colonies", s, "--race", "0", "--out", dir + "/c"},
        {"name", s, "--system", "0", "Vessane"},
        {"merge", s, dir + "/b"},
        {"export", s, "--format", "json", "--out", dir + "/e.json"},
        {"atlas", s, "--out", dir + "/atlas"},
    };
    for (std::vector<std::string> args : writers) {
        args.push_back("-q");
        EXPECT_EQ(run(args), cli::kExitOk) << args[0] << ": " << err.str();
        EXPECT_EQ(out.str(), "") << args[0];
    }
    // Commands whose output is the answer: -q is taken, the answer stays.
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {"check", s}, {"info", s}, {"repair", s}, {"find", s}, {"route", s, "0", "1", "--jump", "20"}}) {
        args.push_back("-q");
        EXPECT_EQ(run(args), cli::kExitOk) << args[0] << ": " << err.str();
        EXPECT_NE(out.str(), "") << args[0];
    }
}

}  // namespace
}  // namespace orrimar

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/well_formed.h"
#include "records/record_file.h"
#include "records/records.h"

namespace orrimar {
namespace {

using logtest::checkWellFormed;
using logtest::makeFixtureSector;
using testing::fileBytes;
using testing::testDir;

struct LogCommands : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    std::string dir;

    void SetUp() override {
        dir = testDir(std::string("cli_logs_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return cli::runCli(args, ctx);
    }
};

TEST_F(LogCommands, StarlogWritesTextOrHtml) {
    const auto sector = makeFixtureSector(dir);
    EXPECT_EQ(run({"starlog", sector.base, "--system", "1", "--out", dir + "/s.log"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote system log of system 1 to " + dir + "/s.log\n");
    EXPECT_NE(fileBytes(dir + "/s.log").find("Star B: M4 V, red dwarf\r\n"), std::string::npos);
    EXPECT_EQ(run({"starlog", sector.base, "--system", "0", "--out", dir + "/s.html", "--html"}), cli::kExitOk);
    const std::string page = fileBytes(dir + "/s.html");
    EXPECT_EQ(checkWellFormed(page), "");
    EXPECT_NE(page.find("<h2>Star A: G2 V, yellow dwarf</h2>"), std::string::npos);
}

TEST_F(LogCommands, ASectorGivenWithAMemberExtensionIsItsBaseName) {
    const auto sector = makeFixtureSector(dir);
    for (const char* ext : {".sun", ".pln", ".CMT"}) {
        EXPECT_EQ(run({"starlog", sector.base + ext, "--system", "1", "--out", dir + "/s.log", "-q"}), cli::kExitOk)
            << ext << ": " << err.str();
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_EQ(run({"report", sector.base + ".sun", "--out", dir + "/r"}), cli::kExitOk) << err.str();
    EXPECT_NE(fileBytes(dir + "/r.map").find(sector.base), std::string::npos);
    EXPECT_EQ(fileBytes(dir + "/r.map").find(sector.base + ".sun"), std::string::npos);
}

TEST_F(LogCommands, StarlogRefusals) {
    const auto sector = makeFixtureSector(dir);
    const std::string log = dir + "/s.log";
    EXPECT_EQ(run({"starlog", sector.base, "--system", "abc", "--out", log}), cli::kExitUsage);
    EXPECT_NE(err.str().find("--system: no system is named 'abc'"), std::string::npos) << err.str();
    EXPECT_EQ(run({"starlog", sector.base, "--system", "2", "--out", log}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: System 2 is not in " + sector.base + " (2 systems)\n");
    EXPECT_EQ(run({"starlog", sector.base, "--system", "0", "--out", ""}), cli::kExitUsage);
    EXPECT_NE(err.str().find("no file chosen"), std::string::npos);
    EXPECT_EQ(run({"starlog", dir + "/missing", "--system", "0", "--out", log}), cli::kExitRuntime);
    EXPECT_EQ(err.str(), "orrimar-cli: No sector at " + dir + "/missing (" + dir + "/missing.sun not found)\n");
    EXPECT_EQ(run({"starlog", dir + "/nodir/s", "--system", "0", "--out", log}), cli::kExitRuntime);
    EXPECT_EQ(err.str(), "orrimar-cli: Folder " + dir + "/nodir does not exist\n");
    EXPECT_EQ(run({"starlog", sector.base, "--system", "0", "--out", dir + "/nodir/s.log"}), cli::kExitRuntime);
    EXPECT_EQ(err.str(), "orrimar-cli: Folder " + dir + "/nodir does not exist\n");
    EXPECT_EQ(run({"starlog", sector.base, "--out", log}), cli::kExitUsage);  // --system is required
    EXPECT_FALSE(std::filesystem::exists(log));
}

TEST_F(LogCommands, ReportFlagsLeaveSectionsOut) {
    const auto sector = makeFixtureSector(dir);
    EXPECT_EQ(run({"report", sector.base, "--out", dir + "/r", "--no-systems", "--no-empires"}), cli::kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "Wrote sector report to " + dir + "/r.map and " + dir + "/r.html\n");
    const std::string text = fileBytes(dir + "/r.map");
    EXPECT_EQ(text.find("\r\nSystems\r\n-------"), std::string::npos);
    EXPECT_EQ(text.find("\r\nEmpires\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nAlien races\r\n-----------"), std::string::npos);
    EXPECT_NE(text.find("\r\nSummary\r\n-------"), std::string::npos);
    EXPECT_EQ(run({"report", sector.base, "--out", ""}), cli::kExitUsage);
    EXPECT_EQ(run({"report", dir + "/missing", "--out", dir + "/m"}), cli::kExitRuntime);
    EXPECT_FALSE(std::filesystem::exists(dir + "/m.map"));
}

// A generated sector: every system's log and the report, twice, byte for
// byte the same, and every page well-formed.
TEST_F(LogCommands, GeneratedSectorLogsAreRepeatableAndWellFormed) {
    const std::string base = dir + "/gen";
    ASSERT_EQ(run({"create", "--seed", "7", "--size", "6", "--density", "30", "--file", base, "--name", "Gen & Co"}),
              cli::kExitOk)
        << err.str();
    RecordFile<TSystemRec> systems(base + ".sun", RawRecordFile::Mode::ReadOnly);
    const std::int64_t count = systems.count();
    ASSERT_GT(count, 0);
    for (std::int64_t id = 0; id < count; ++id) {
        for (const bool html : {false, true}) {
            const std::string a = dir + "/a" + (html ? ".html" : ".log");
            const std::string b = dir + "/b" + (html ? ".html" : ".log");
            std::vector<std::string> args = {"starlog", base, "--system", std::to_string(id), "--out", a};
            if (html) args.push_back("--html");
            ASSERT_EQ(run(args), cli::kExitOk) << err.str();
            args[5] = b;
            ASSERT_EQ(run(args), cli::kExitOk) << err.str();
            const std::string first = fileBytes(a);
            ASSERT_EQ(first, fileBytes(b)) << "system " << id;
            if (html) {
                ASSERT_EQ(checkWellFormed(first), "") << "system " << id;
            }
        }
    }
    ASSERT_EQ(run({"report", base, "--out", dir + "/r1"}), cli::kExitOk) << err.str();
    ASSERT_EQ(run({"report", base, "--out", dir + "/r2"}), cli::kExitOk) << err.str();
    EXPECT_EQ(fileBytes(dir + "/r1.map"), fileBytes(dir + "/r2.map"));
    const std::string page = fileBytes(dir + "/r1.html");
    EXPECT_EQ(page, fileBytes(dir + "/r2.html"));
    EXPECT_EQ(checkWellFormed(page), "");
    EXPECT_NE(page.find("<svg"), std::string::npos);
    EXPECT_NE(page.find("Gen &amp; Co"), std::string::npos);
}

}  // namespace
}  // namespace orrimar

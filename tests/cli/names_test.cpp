// orrimar-cli and names: the name command, and names in the success lines
// of the commands that write about one system or race.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <tuple>

#include "cli/cli.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "names/sector_names.h"

namespace orrimar {
namespace {

using logtest::makeFixtureSector;
using testing::fileBytes;
using testing::testDir;

struct NameCommands : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    std::string dir;
    logtest::FixtureSector sector;

    void SetUp() override {
        dir = testDir(std::string("cli_names_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        sector = makeFixtureSector(dir);
        ctx.programDir = dir;  // no orrwin.ini there: the default tables
    }
    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return cli::runCli(args, ctx);
    }
    std::string names() const { return fileBytes(sector.base + ".nam"); }
};

TEST_F(NameCommands, NamesRenamesAndRemovesWithOneLineEach) {
    ASSERT_EQ(run({"name", sector.base, "--system", "0", "Vessane"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote the name \"Vessane\" of system 0 to " + sector.base + ".nam (record 1)\n");
    ASSERT_EQ(run({"name", sector.base, "--race", "0", "Krai"}), cli::kExitOk) << err.str();
    ASSERT_EQ(run({"name", sector.base, "--planet", "3", "Cinder"}), cli::kExitOk) << err.str();
    ASSERT_EQ(run({"name", sector.base, "--moon", "2", "Pâle"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote the name \"Pâle\" of moon 2 to " + sector.base + ".nam (record 4)\n");

    // The commands that write about one system or race name it.
    ASSERT_EQ(run({"starlog", sector.base, "--system", "0", "--out", dir + "/s.log"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote system log of system 0 (Vessane) to " + dir + "/s.log\n");
    EXPECT_TRUE(fileBytes(dir + "/s.log").starts_with("System Vessane (0) of sector"));
    ASSERT_EQ(run({"starlog", sector.base, "--system", "0", "--summary", "--out", dir + "/sum.log"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "Wrote system summary of system 0 (Vessane) to " + dir + "/sum.log\n");
    EXPECT_NE(fileBytes(dir + "/sum.log").find("Vessane (system 0)"), std::string::npos);
    ASSERT_EQ(run({"alienlog", sector.base, "--race", "0", "--out", dir + "/a.log"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote alien log of race 0 (Krai) to " + dir + "/a.log\n");

    // The last record wins; an empty name takes the name away.
    ASSERT_EQ(run({"name", sector.base + ".sun", "--system", "0", "Haven"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote the name \"Haven\" of system 0 to " + sector.base + ".nam (record 5)\n");
    ASSERT_EQ(run({"starlog", sector.base + ".sun", "--system", "0", "--out", dir + "/s.log"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "Wrote system log of system 0 (Haven) to " + dir + "/s.log\n");
    ASSERT_EQ(run({"name", sector.base, "--system", "0", ""}), cli::kExitOk);
    EXPECT_EQ(out.str(), "Wrote the removal of system 0's name to " + sector.base + ".nam (record 6)\n");
    ASSERT_EQ(run({"starlog", sector.base, "--system", "0", "--out", dir + "/s.log"}), cli::kExitOk);
    EXPECT_EQ(out.str(), "Wrote system log of system 0 to " + dir + "/s.log\n");
    EXPECT_EQ(SectorNames::load(sector.base).planetOverride(3), "Cinder");
    EXPECT_EQ(names().size(), 7U * 60U);
}

TEST_F(NameCommands, RefusedNamesExitTwoAndLeaveTheNameFileByteIdentical) {
    ASSERT_EQ(run({"name", sector.base, "--system", "1", "Kethra"}), cli::kExitOk);
    const std::string before = names();
    const std::vector<std::vector<std::string>> refused = {
        {"--system", "0", std::string(51, 'x')},
        {"--system", "0", "Line\nbreak"},
        {"--system", "0", "\xE2\x98\x85 Star"},  // U+2605, outside the code page
        {"--system", "2", "Nowhere"},
        {"--race", "1", "Nobody"},
        {"Nothing named"},
        {"--system", "0", "--race", "0", "Both"},
        {"--system", "zero", "Vessane"},
    };
    for (const auto& args : refused) {
        std::vector<std::string> full = {"name", sector.base};
        full.insert(full.end(), args.begin(), args.end());
        SCOPED_TRACE(full.back());
        EXPECT_EQ(run(full), cli::kExitUsage) << out.str();
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str(), "");
        EXPECT_EQ(names(), before);
    }
    // A missing sector is a runtime error; nothing is created.
    EXPECT_EQ(run({"name", dir + "/none", "--system", "0", "Vessane"}), cli::kExitRuntime);
    EXPECT_FALSE(std::filesystem::exists(dir + "/none.nam"));
}

// The colonies report is read by other tools: names change its screen line,
// never its text.
TEST_F(NameCommands, TheColoniesReportStaysByteForByteWithNames) {
    ASSERT_EQ(run({"colonies", sector.base, "--race", "0", "--out", dir + "/plain"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote colonies report of race 0 to " + dir + "/plain.log\n");
    for (const auto& [kind, id, name] :
         std::vector<std::tuple<std::string, std::string, std::string>>{{"--system", "0", "Vessane"},
                                                                        {"--race", "0", "Krai"},
                                                                        {"--planet", "0", "Greenhold"},
                                                                        {"--moon", "1", "Io"}}) {
        ASSERT_EQ(run({"name", sector.base, kind, id, name}), cli::kExitOk) << err.str();
    }
    ASSERT_EQ(run({"colonies", sector.base, "--race", "0", "--out", dir + "/named"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote colonies report of race 0 (Krai) to " + dir + "/named.log\n");
    EXPECT_EQ(fileBytes(dir + "/named.log"), fileBytes(dir + "/plain.log"));
}

// A sector written with --no-names holds only its name header, reads in
// every command, and checks sound; its logs carry no names.
TEST_F(NameCommands, ASectorWrittenWithoutNamesStillReads) {
    const std::string base = dir + "/bare";
    ASSERT_EQ(run({"create", "--file", base, "--size", "4", "--density", "100", "--seed", "2", "--no-names"}),
              cli::kExitOk)
        << err.str();
    EXPECT_EQ(fileBytes(base + ".nam").size(), 60U);
    EXPECT_EQ(run({"check", base}), cli::kExitOk) << out.str() << err.str();
    ASSERT_EQ(run({"starlog", base, "--system", "3", "--out", dir + "/b.log"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote system log of system 3 to " + dir + "/b.log\n");
    EXPECT_EQ(fileBytes(dir + "/b.log").find("Name:"), std::string::npos);  // (the folder's name holds "Names")
    EXPECT_EQ(fileBytes(dir + "/b.log").find("  Name  "), std::string::npos);
    ASSERT_EQ(run({"alienlog", base, "--race", "0", "--out", dir + "/a.log"}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote alien log of race 0 to " + dir + "/a.log\n");
    ASSERT_EQ(run({"report", base, "--out", dir + "/r"}), cli::kExitOk) << err.str();
    EXPECT_EQ(fileBytes(dir + "/r.map").find("  Name  "), std::string::npos);

    // The same run with names: the same systems, and names everywhere.
    const std::string named = dir + "/named";
    ASSERT_EQ(run({"create", "--file", named, "--size", "4", "--density", "100", "--seed", "2"}), cli::kExitOk);
    EXPECT_EQ(fileBytes(named + ".sun"), fileBytes(base + ".sun"));
    EXPECT_GT(fileBytes(named + ".nam").size(), 60U * 64U);
    EXPECT_EQ(run({"check", named}), cli::kExitOk) << out.str() << err.str();
    ASSERT_EQ(run({"starlog", named, "--system", "3", "--out", dir + "/n.log"}), cli::kExitOk) << err.str();
    const auto name = SectorNames::load(named).system(3);
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(out.str(), "Wrote system log of system 3 (" + *name + ") to " + dir + "/n.log\n");
}

}  // namespace
}  // namespace orrimar

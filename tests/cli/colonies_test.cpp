#include <sstream>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "support/hand_made_sector.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct ColoniesCommand : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    fs::path dir;
    std::string sector;
    std::string log;

    void SetUp() override {
        dir = freshDir(std::string("cli_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        sector = (dir / "sector").string();
        log = (dir / "colonies").string();
        SectorContent s;
        s.systems.resize(1);
        TPlanetRec p;
        p.worldType = 10;
        s.planets = {p};
        TColonyRec c;
        c.race = 0;
        c.allegiance = 0;
        c.kind = 1;
        c.colonyType = 1;
        c.starport = 1;
        s.colonies = {c};
        writeSector(sector, s);
    }
    int run(const std::vector<std::string>& args) { return cli::runCli(args, ctx); }
};

TEST_F(ColoniesCommand, WritesTheLogAndSaysWhere) {
    // Race 0 by default, as the dialog's field.
    EXPECT_EQ(run({"colonies", sector, "--out", log}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Wrote colonies report of race 0 to " + log + ".log\n");
    const std::string text = fileBytes(log + ".log");
    EXPECT_EQ(text.rfind("   Colonies owned by Race [     0 ]\r\n", 0), 0U) << text;
    EXPECT_NE(text.find("Systems controlled: 1\r\n"), std::string::npos) << text;

    EXPECT_EQ(run({"colonies", sector, "--race", "7", "--out", log}), cli::kExitOk) << err.str();
    EXPECT_NE(fileBytes(log + ".log").find("Systems controlled: 0\r\n"), std::string::npos);
}

TEST_F(ColoniesCommand, AMissingSectorOrFolderIsNamed) {
    EXPECT_EQ(run({"colonies", sector + "x", "--out", log}), cli::kExitRuntime);
    EXPECT_EQ(err.str(), "orrimar-cli: No sector at " + sector + "x (" + sector + "x.sun not found)\n");
    err.str("");
    EXPECT_EQ(run({"colonies", sector, "--out", log + "dir/r"}), cli::kExitRuntime);
    EXPECT_EQ(err.str(), "orrimar-cli: Folder " + log + "dir does not exist\n");
    err.str("");
    EXPECT_EQ(run({"colonies", sector + ".col", "--out", log}), cli::kExitOk) << err.str();
}

TEST_F(ColoniesCommand, RefusalsAndFailuresKeepThePreviousLog) {
    writeFileBytes(log + ".log", "old\r\n");
    EXPECT_EQ(run({"colonies", sector, "--race", "65535", "--out", log}), cli::kExitUsage);
    EXPECT_NE(err.str().find("between 0 and 65534"), std::string::npos) << err.str();
    EXPECT_EQ(run({"colonies", sector, "--race", "-1", "--out", log}), cli::kExitUsage);
    EXPECT_EQ(run({"colonies", sector, "--race", "two", "--out", log}), cli::kExitUsage);
    EXPECT_EQ(run({"colonies", sector, "--race", "0"}), cli::kExitUsage);  // --out is required

    err.str("");
    fs::remove(sector + ".con");
    EXPECT_EQ(run({"colonies", sector, "--out", log}), cli::kExitRuntime);
    EXPECT_NE(err.str().find("File not found"), std::string::npos) << err.str();
    EXPECT_EQ(fileBytes(log + ".log"), "old\r\n");
}

}  // namespace
}  // namespace orrimar

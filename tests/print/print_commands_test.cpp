#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/cli_runner.h"
#include "support/test_dir.h"
#include "names/sector_names.h"
#include "print_test_support.h"

namespace orrimar {
namespace {

using printtest::pdfInfo;
using printtest::pdfText;

// A generated sector of named systems, made once for the suite.
struct PrintCommands : ::testing::Test {
    static std::string dir;
    static std::string base;
    testing::CliRunner cli;

    static void SetUpTestSuite() {
        dir = testing::testDir("print_commands");
        base = dir + "/gen";
        testing::CliRunner make;
        ASSERT_EQ(make.run({"create", "--file", base, "--seed", "11", "--size", "6", "--density", "8", "--name",
                            "Print Reach"}),
                  cli::kExitOk)
            << make.err.str();
    }
    std::vector<std::string> systemNames() const {
        std::vector<std::string> names;
        SectorNames::load(base).forEach(NameKind::System,
                                        [&](std::int64_t, const std::string& name) { names.push_back(name); });
        return names;
    }
};
std::string PrintCommands::dir;
std::string PrintCommands::base;

TEST_F(PrintCommands, APosterIsOneLandscapePageOfThePaperWithTitleAndLegend) {
    const std::string pdf = dir + "/poster.pdf";
    ASSERT_EQ(cli.run({"poster", base, "--out", pdf, "--paper", "a4"}), cli::kExitOk) << cli.err.str();
    EXPECT_NE(cli.out.str().find("on 1 A4 page to"), std::string::npos) << cli.out.str();
    const auto info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 1);
    EXPECT_EQ(info.pageSize, "842 x 595 pts (A4)") << info.pageSize;
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find("Print Reach"), std::string::npos) << text;
    EXPECT_NE(text.find("Legend"), std::string::npos);
    EXPECT_NE(text.find("parsecs"), std::string::npos) << "the scale bar and the grid say their unit";
    EXPECT_NE(text.find("Top view"), std::string::npos);
}

TEST_F(PrintCommands, ATiledPosterHasOnePagePerTileEachSayingWhichItIs) {
    const std::string pdf = dir + "/tiled.pdf";
    ASSERT_EQ(cli.run({"poster", base, "--out", pdf, "--paper", "Letter", "--tiles", "2x2", "--view", "cube"}),
              cli::kExitOk)
        << cli.err.str();
    const auto info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 4);
    EXPECT_EQ(info.pageSize, "792 x 612 pts (letter)") << info.pageSize;
    EXPECT_NE(pdfText(pdf, 3).find("tile 3 of 4 (column 1, row 2)"), std::string::npos) << pdfText(pdf, 3);
    // The legend lies along the bottom of the picture: on the lower tiles.
    EXPECT_NE(pdfText(pdf, 3).find("Legend"), std::string::npos);
    EXPECT_EQ(pdfText(pdf, 1).find("Legend"), std::string::npos);

    ASSERT_EQ(
        cli.run({"poster", base, "--out", pdf, "--paper", "A2", "--tiles", "3x1", "--slab", "0..2", "--view", "front"}),
        cli::kExitOk)
        << cli.err.str();
    EXPECT_EQ(pdfInfo(pdf).pages, 3);
    EXPECT_EQ(pdfInfo(pdf).pageSize, "1684 x 1191 pts (A2)");
    EXPECT_NE(pdfText(pdf, 1).find("slab y 0..2"), std::string::npos) << pdfText(pdf, 1);
}

TEST_F(PrintCommands, SheetsGiveEverySystemItsPageUnderItsName) {
    const std::string pdf = dir + "/sheets.pdf";
    ASSERT_EQ(cli.run({"sheets", base, "--out", pdf}), cli::kExitOk) << cli.err.str();
    const std::vector<std::string> names = systemNames();
    ASSERT_GE(names.size(), 5U);
    const auto info = pdfInfo(pdf);
    EXPECT_GE(info.pages, static_cast<int>(names.size()));
    EXPECT_EQ(info.pageSize, "595 x 842 pts (A4)") << info.pageSize;
    const std::string text = pdfText(pdf);
    for (const std::string& name : names) EXPECT_NE(text.find(name), std::string::npos) << name;
    EXPECT_NE(text.find("Gravity"), std::string::npos);
    EXPECT_NE(text.find("(system 0)"), std::string::npos);
}

TEST_F(PrintCommands, SheetsOfChosenSystemsByIdAndNameForPlayers) {
    const std::vector<std::string> names = systemNames();
    ASSERT_GE(names.size(), 3U);
    const std::string pdf = dir + "/chosen.pdf";
    ASSERT_EQ(cli.run({"sheets", base, "--out", pdf, "--systems", "1," + names[2], "--players"}), cli::kExitOk)
        << cli.err.str();
    EXPECT_NE(cli.out.str().find("Wrote 2 system sheets"), std::string::npos) << cli.out.str();
    const std::string text = pdfText(pdf);
    EXPECT_NE(text.find(names[2]), std::string::npos);
    EXPECT_NE(text.find(names[1]), std::string::npos);
    EXPECT_EQ(text.find("(system"), std::string::npos) << "players read no record ids";
    EXPECT_EQ(text.find("Native race"), std::string::npos);
    EXPECT_EQ(text.find(names[0] + " "), std::string::npos);
}

TEST_F(PrintCommands, MalformedOptionsExitTwoAndWriteNothing) {
    const std::string pdf = dir + "/never.pdf";
    const std::vector<std::vector<std::string>> bad = {
        {"poster", base, "--out", pdf, "--view", "diagonal"},
        {"poster", base, "--out", pdf, "--paper", "B5"},
        {"poster", base, "--out", pdf, "--tiles", "2by2"},
        {"poster", base, "--out", pdf, "--tiles", "0x2"},
        {"poster", base, "--out", pdf, "--tiles", "9x1"},
        {"poster", base, "--out", pdf, "--slab", "5..1"},
        {"poster", base, "--out", dir + "/"},
        {"sheets", base, "--out", pdf, "--systems", "No Such Star"},
        {"sheets", base, "--out", pdf, "--systems", "9999"},
        {"sheets", base, "--out", pdf, "--paper", "A9"},
        {"sheets", base, "--out", dir},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(cli.run(args), cli::kExitUsage) << args[3] << " " << (args.size() > 4 ? args[5] : "");
        EXPECT_FALSE(cli.err.str().empty());
        EXPECT_FALSE(std::filesystem::exists(pdf));
    }
}

TEST_F(PrintCommands, AMissingSectorIsARuntimeErrorAndNoOutputReplacesAFolder) {
    EXPECT_EQ(cli.run({"poster", dir + "/nowhere", "--out", dir + "/x.pdf"}), cli::kExitRuntime);
    EXPECT_EQ(cli.run({"sheets", dir + "/nowhere", "--out", dir + "/x.pdf"}), cli::kExitRuntime);
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.pdf"));
    // A sector's own file is no place for a poster.
    const auto before = std::filesystem::file_size(base + ".sun");
    EXPECT_EQ(cli.run({"poster", base, "--out", base + ".sun"}), cli::kExitUsage);
    EXPECT_EQ(std::filesystem::file_size(base + ".sun"), before);
}

}  // namespace
}  // namespace orrimar

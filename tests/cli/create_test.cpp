#include <gtest/gtest.h>
#include "support/test_dir.h"
#include "support/file_text.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "cli/cli.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;

using testing::fileBytes;

struct CreateCommand : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, "", false, cli::kExitOk};
    std::string dir;
    std::string base;

    void SetUp() override {
        dir = (fs::path(orrimar::testing::testTmp()) / "cli_create" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name())
                  .string();
        fs::remove_all(dir);
        fs::create_directories(dir);
        ctx.programDir = dir;  // no orrwin.ini there: the default tables
        base = dir + "/sec";
    }
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        args.insert(args.begin(), "create");
        return cli::runCli(args, ctx);
    }
};

TEST_F(CreateCommand, WritesTheSectorAndPrintsSeedAndSummary) {
    ASSERT_EQ(run({"--file", base, "--size", "3", "--flat", "--density", "100", "--seed", "42", "--name", "Rim"}),
              cli::kExitOk)
        << err.str();
    // One success line, and nothing else on the output stream.
    EXPECT_TRUE(out.str().starts_with("Wrote sector " + base + ": 9 systems, ")) << out.str();
    EXPECT_TRUE(out.str().ends_with(" races in 9 cells (seed 42)\n")) << out.str();
    const std::string printed = out.str();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1);
    EXPECT_EQ(fs::file_size(base + ".sun"), 9U * 196U);
    EXPECT_EQ(fileBytes(base + ".nam").substr(8, 4), std::string("\x03Rim", 4));
    EXPECT_EQ(err.str(), "");  // no progress bar off a terminal

    const std::string first = fileBytes(base + ".sun") + fileBytes(base + ".pln") + fileBytes(base + ".mon");
    // Again over it: refused unless asked to replace it, then the same bytes.
    EXPECT_EQ(run({"--file", base, "--size", "3", "--flat", "--density", "100", "--seed", "43", "--name", "Rim"}),
              cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: A sector is already at " + base +
                             " (9 systems); it is replaced only when asked to: give --replace to replace it, or "
                             "--append to add systems to it\n");
    EXPECT_EQ(fileBytes(base + ".sun") + fileBytes(base + ".pln") + fileBytes(base + ".mon"), first);
    ASSERT_EQ(run({"--file", base, "--size", "3", "--flat", "--density", "100", "--seed", "42", "--name", "Rim",
                   "--replace"}),
              cli::kExitOk);
    EXPECT_EQ(fileBytes(base + ".sun") + fileBytes(base + ".pln") + fileBytes(base + ".mon"), first);

    ASSERT_EQ(run({"--file", base, "--size", "2", "--flat", "--density", "100", "--append", "-x", "-7"}), cli::kExitOk);
    EXPECT_NE(out.str().find("Appended to sector " + base + ": 4 systems"), std::string::npos) << out.str();
    EXPECT_EQ(fs::file_size(base + ".sun"), 13U * 196U);
}

TEST_F(CreateCommand, AnyNumberOfThreadsMakesTheSameSector) {
    ASSERT_EQ(run({"--file", base, "--size", "6", "--density", "40", "--seed", "8", "--threads", "1"}), cli::kExitOk)
        << err.str();
    const std::string line = out.str();
    const std::string one = fileBytes(base + ".sun") + fileBytes(base + ".pln") + fileBytes(base + ".mon") +
                            fileBytes(base + ".aln") + fileBytes(base + ".nam");
    ASSERT_EQ(run({"--file", base, "--size", "6", "--density", "40", "--seed", "8", "--threads", "5", "--replace"}),
              cli::kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), line);
    EXPECT_EQ(fileBytes(base + ".sun") + fileBytes(base + ".pln") + fileBytes(base + ".mon") +
                  fileBytes(base + ".aln") + fileBytes(base + ".nam"),
              one);
}

TEST_F(CreateCommand, AClockSeedIsPrintedAndRepeatsTheRun) {
    ASSERT_EQ(run({"--file", base, "--size", "4", "--density", "30"}), cli::kExitOk) << err.str();
    std::smatch m;
    const std::string printed = out.str();
    ASSERT_TRUE(std::regex_search(printed, m, std::regex("\\(seed ([0-9]+)\\)\n$")));
    const std::string sun = fileBytes(base + ".sun");
    ASSERT_EQ(run({"--file", base, "--size", "4", "--density", "30", "--seed", m[1].str(), "--replace"}), cli::kExitOk);
    EXPECT_EQ(fileBytes(base + ".sun"), sun);
}

TEST_F(CreateCommand, MalformedInputIsRefusedWithStatusTwoAndTouchesNothing) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--size", "201"}, "Size should be inferior to 201"},
        {{"--size", "0"}, "Size should be superior to 1"},
        {{"--size", "ten"}, "--size: not a whole number: 'ten'"},
        {{"--density", "101"}, "Density should be between 0 and 100"},
        {{"--density", "-1"}, "Density should be between 0 and 100"},
        {{"--density", "5%"}, "--density: not a whole number: '5%'"},
        {{"-x", "32768"}, "X should be between -32768 and 32767"},
        {{"-z", "-40000"}, "Z should be between -32768 and 32767"},
        {{"--max-spatial-age", "256"}, "Max Spatial Age should be between 0 and 255"},
        {{"--seed", "-3"}, "--seed: not a seed"},
        {{"--name", std::string(51, 'n')},
         "--name: The sector name is 51 characters long; at most 50 fit in its record"},
        {{"--threads", "0"}, "--threads should be between 1 and 256"},
        {{"--threads", "257"}, "--threads should be between 1 and 256"},
        {{"--threads", "two"}, "--threads: not a whole number: 'two'"},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> full{"--file", base};
        full.insert(full.end(), args.begin(), args.end());
        EXPECT_EQ(run(full), cli::kExitUsage) << message;
        EXPECT_NE(err.str().find(message), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "");
    }
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_EQ(run({"--file", base, "--size", "$A", "--density", "0", "-y", "-32768", "--seed", "1"}), cli::kExitOk)
        << err.str();
}

TEST_F(CreateCommand, EmptyOrFolderOnlyBaseNamesAndEmptySeedsAreRefused) {
    std::ofstream(dir + "/keep.txt") << "kept";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--file", ""}, "orrimar-cli: --file: The sector's base name is empty: give one such as data/alpha\n"},
        {{"--file", dir + "/"},
         "orrimar-cli: --file: " + dir + "/ is a folder, not a sector's base name: give one such as " + dir +
             "/alpha\n"},
        {{"--file", dir + "/."},
         "orrimar-cli: --file: " + dir + "/. is a folder, not a sector's base name: give one such as " + dir +
             "/./alpha\n"},
        {{"--file", base, "--seed", ""},
         "orrimar-cli: --seed is empty: give a number (0..18446744073709551615), or leave --seed out to seed from "
         "the clock\n"},
    };
    for (const auto& [args, message] : cases) {
        std::vector<std::string> full = args;
        full.insert(full.end(), {"--size", "1", "--density", "100"});
        EXPECT_EQ(run(full), cli::kExitUsage) << message;
        EXPECT_EQ(err.str(), message);
        EXPECT_EQ(out.str(), "");
    }
    // Nothing written: not in the folder, not as its hidden ".sun".
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(CreateCommand, ANameTooLongForAFileSaysSo) {
    // 251 bytes + ".sun" is the longest file name; one more is refused by name.
    const std::string longest(251, 'n');
    ASSERT_EQ(run({"--file", dir + "/" + longest, "--size", "1", "--density", "100"}), cli::kExitOk) << err.str();
    EXPECT_TRUE(fs::exists(dir + "/" + longest + ".sun"));
    const std::string tooLong(252, 'n');
    EXPECT_EQ(run({"--file", dir + "/" + tooLong, "--size", "1", "--density", "100"}), cli::kExitUsage);
    EXPECT_EQ(err.str(),
              "orrimar-cli: --file: The sector's name is too long: its files would be named with 256 bytes "
              "(nnnnnnnnnnnnnnnnnnnn....sun), and a file name may have at most 255\n");
    // Counted in bytes: 126 two-byte letters are 252 bytes.
    std::string accented;
    for (int i = 0; i < 126; ++i) accented += "\xC3\xA9";
    EXPECT_EQ(run({"--file", dir + "/" + accented, "--size", "1", "--density", "100"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("256 bytes"), std::string::npos) << err.str();
    // Nothing beside the one sector of the longest name.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 9);
}

TEST_F(CreateCommand, SectorNamesCountCharactersOfTheCodePageTheyAreStoredIn) {
    // 50 "é" are 100 bytes of UTF-8 but 50 characters of the name record.
    std::string fifty;
    for (int i = 0; i < 50; ++i) fifty += "\xC3\xA9";
    ASSERT_EQ(run({"--file", base, "--size", "1", "--density", "100", "--name", fifty}), cli::kExitOk) << err.str();
    EXPECT_EQ(fileBytes(base + ".nam").substr(8, 51), "\x32" + std::string(50, '\xE9'));
    // The euro sign is one byte of the code page (0x80).
    ASSERT_EQ(run({"--file", base, "--size", "1", "--density", "100", "--name", "5 \xE2\x82\xAC", "--replace"}),
              cli::kExitOk);
    EXPECT_EQ(fileBytes(base + ".nam").substr(8, 4), std::string("\x03"
                                                                 "5 \x80",
                                                                 4));

    const std::string before = fileBytes(base + ".nam") + fileBytes(base + ".sun");
    EXPECT_EQ(run({"--file", base, "--size", "1", "--density", "100", "--name", fifty + "\xC3\xA9"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: --name: The sector name is 51 characters long; at most 50 fit in its record\n");
    // A character the code page lacks is named.
    EXPECT_EQ(run({"--file", base, "--size", "1", "--density", "100", "--name", "\xCE\xA9mega"}), cli::kExitUsage);
    EXPECT_EQ(err.str(),
              "orrimar-cli: --name: The sector name cannot be stored: '\xCE\xA9' (U+03A9) is not in the Windows ANSI "
              "code page\n");
    EXPECT_EQ(run({"--file", base, "--size", "1", "--density", "100", "--name", "a\xFF"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: --name: The sector name cannot be stored: byte 2 is not well-formed UTF-8\n");
    EXPECT_EQ(fileBytes(base + ".nam") + fileBytes(base + ".sun"), before);
}

TEST_F(CreateCommand, RuntimeErrorsExitOneWithTheSystemsMessage) {
    // The missing folder is named, and not made.
    EXPECT_EQ(run({"--file", dir + "/no/such/place", "--size", "1", "--density", "100"}), cli::kExitRuntime);
    EXPECT_EQ(err.str(), "orrimar-cli: Folder " + dir + "/no/such does not exist\n");
    EXPECT_FALSE(fs::exists(dir + "/no"));

    std::ofstream(dir + "/bad.ini") << "[Stellar Probabilities]\nPheno=65535\n";
    EXPECT_EQ(run({"--file", base, "--settings", dir + "/bad.ini"}), cli::kExitRuntime);
    EXPECT_EQ(err.str(), "orrimar-cli: Range check error: " + dir +
                             "/bad.ini [Stellar Probabilities] Misc: the running sum 65540 is out of range 0..65535\n");

    // A fixed seed whose one system holds no race: with a race, the missing
    // race file would be a torn tail (exit 2) instead of a missing member.
    ASSERT_EQ(run({"--file", base, "--size", "1", "--density", "100", "--seed", "1"}), cli::kExitOk);
    ASSERT_EQ(fs::file_size(base + ".aln"), 0U);
    fs::remove(base + ".aln");
    EXPECT_EQ(run({"--file", base, "--size", "1", "--density", "100", "--append"}), cli::kExitRuntime);
    EXPECT_NE(err.str().find("Damaged sector: " + base + ".aln"), std::string::npos) << err.str();
}

TEST_F(CreateCommand, ATerminalGetsAProgressBarOnTheErrorStream) {
    ctx.interactive = true;
    ASSERT_EQ(run({"--file", base, "--size", "10", "--density", "0"}), cli::kExitOk);
    EXPECT_NE(err.str().find("] 100%"), std::string::npos);
    EXPECT_EQ(out.str().find('%'), std::string::npos);
}

TEST(CreateProgram, RunsFromTheCommandLine) {
    const fs::path dir = fs::path(orrimar::testing::testTmp()) / "cli_create" / "program";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string command = std::string(ORRIMAR_CLI_PATH) + " create --file " + (dir / "s").string() +
                                " --size 2 --density 100 --seed 9 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[512] = {};
    ASSERT_NE(fgets(line, static_cast<int>((dir / "s").string().size()) + 27, pipe), nullptr);
    EXPECT_STREQ(line, ("Wrote sector " + (dir / "s").string() + ": 8 systems, ").c_str());
    while (fgets(line, sizeof line, pipe) != nullptr) {
    }
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(fs::file_size(dir / "s.sun"), 8U * 196U);
}

}  // namespace
}  // namespace orrimar

namespace orrimar {
namespace {

TEST_F(CreateCommand, EveryRunLeavesItsSeedInTheCommentFileAndInfoShowsThem) {
    ASSERT_EQ(run({"--file", base, "--size", "3", "--flat", "--density", "100", "--seed", "42"}), cli::kExitOk);
    ASSERT_EQ(run({"--file", base, "--size", "2", "--density", "100", "--seed", "7", "--append", "-x", "5"}),
              cli::kExitOk)
        << err.str();
    out.str("");
    ASSERT_EQ(cli::runCli({"info", base}, ctx), cli::kExitOk) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find(base + ": 17 systems, "), std::string::npos) << text;
    const auto first = text.find("run: seed 42, corner 0,0,0, size 3, density 100, 2-D, aliens on");
    const auto second = text.find("run: seed 7, corner 5,0,0, size 2, density 100, 3-D, aliens on");
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_NE(second, std::string::npos) << text;
    EXPECT_LT(first, second);
    EXPECT_TRUE(text.find("Orrimar ") != std::string::npos);

    out.str("");
    EXPECT_EQ(cli::runCli({"info", dir + "/nothing"}, ctx), cli::kExitRuntime);
}

TEST_F(CreateCommand, AMemberExtensionNamesTheBaseAndQuietDropsTheLine) {
    ASSERT_EQ(run({"--file", base + ".sun", "--size", "2", "--density", "100", "--seed", "1", "--quiet"}), cli::kExitOk)
        << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(fs::exists(base + ".sun"));
    EXPECT_TRUE(fs::exists(base + ".pln"));
    EXPECT_FALSE(fs::exists(base + ".sun.sun"));
    EXPECT_FALSE(fs::exists(base + ".sun.pln"));
    // The global flag, before the subcommand, does the same.
    out.str("");
    ASSERT_EQ(cli::runCli(
                  {"--quiet", "create", "--file", base + ".PLN", "--size", "1", "--density", "100", "--replace"}, ctx),
              cli::kExitOk);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace orrimar

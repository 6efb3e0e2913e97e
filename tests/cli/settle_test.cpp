// orrimar-cli settle: its exit codes and refusals, and a settle killed at
// every write, each time finished by the next program to take the sector.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <fmt/format.h>

#include "cli/child_process.h"
#include "cli/cli_runner.h"
#include "common/file_io.h"
#include "records/sector_base.h"
#include "support/test_dir.h"
#include "support/file_text.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;
using testing::CliRunner;
using testing::fileBytes;

std::map<std::string, std::string> sectorFiles(const std::string& base) {
    std::map<std::string, std::string> files;
    for (const auto ext : kSectorMemberExtensions) files[std::string(ext)] = fileBytes(base + std::string(ext));
    return files;
}

class SettleCommand : public ::testing::Test {
protected:
    CliRunner cli;
    std::string base;

    void SetUp() override {
        base = (testing::freshTestDir("settle") / "s").string();
        ASSERT_EQ(cli.run({"create", "--file", base, "--seed", "4", "--size", "9", "--density", "60",
                           "--max-spatial-age", "100", "-q"}),
                  cli::kExitOk)
            << cli.err.str();
    }
};

TEST_F(SettleCommand, SettlesOnceAndAgainOnlyWhenAsked) {
    const auto generated = sectorFiles(base);
    ASSERT_EQ(cli.run({"settle", base, "--seed", "12"}), cli::kExitOk) << cli.err.str();
    EXPECT_NE(cli.out.str().find("Settled " + base + " (seed 12): "), std::string::npos) << cli.out.str();
    const auto settled = sectorFiles(base);
    EXPECT_NE(settled.at(".col"), generated.at(".col"));

    EXPECT_EQ(cli.run({"settle", base, "--seed", "12"}), cli::kExitUsage);
    EXPECT_NE(cli.err.str().find("is already settled"), std::string::npos) << cli.err.str();
    EXPECT_NE(cli.err.str().find("--replace"), std::string::npos);
    EXPECT_EQ(sectorFiles(base), settled);

    EXPECT_EQ(cli.run({"settle", base, "--seed", "x12"}), cli::kExitUsage);
    EXPECT_NE(cli.err.str().find("--seed"), std::string::npos);
    EXPECT_EQ(cli.run({"settle", base + "-none", "--seed", "1"}), cli::kExitRuntime);
    EXPECT_EQ(sectorFiles(base), settled);

    ASSERT_EQ(cli.run({"settle", base, "--seed", "12", "--replace"}), cli::kExitOk) << cli.err.str();
    EXPECT_EQ(sectorFiles(base), settled) << "one seed, one settled layer";
    ASSERT_EQ(cli.run({"check", base}), cli::kExitOk) << cli.out.str();
}

// Killed at each of its writes, a settle leaves the old settled layer or
// the new one once the next program (here repair) has taken the sector.
TEST_F(SettleCommand, KilledAtEveryWriteLeavesTheOldOrTheNewLayer) {
    ASSERT_EQ(cli.run({"settle", base, "--seed", "1"}), cli::kExitOk);
    const auto before = sectorFiles(base);
    const std::vector<std::string> command = {"settle", base, "--seed", "2", "--replace"};
    clearFaultPlan();
    ASSERT_EQ(testing::runProcess(command, "", {}), 0);
    const auto after = sectorFiles(base);
    ASSERT_NE(after, before);

    int stopped = 0;
    for (std::int64_t n = 1; n < 100; ++n) {
        for (const auto& [ext, bytes] : before) testing::writeFileBytes(base + ext, bytes);
        const int status = testing::runProcess(command, fmt::format("exit:{}", n), {});
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) break;
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kFaultExitStatus) << "write " << n;
        ++stopped;
        ASSERT_EQ(cli.run({"repair", base}), cli::kExitOk) << cli.err.str();
        EXPECT_FALSE(fs::exists(base + ".jnl"));
        const auto now = sectorFiles(base);
        EXPECT_TRUE(now == before || now == after) << "settle stopped at write " << n << " left half a layer";
    }
    EXPECT_GE(stopped, 5);
}

}  // namespace
}  // namespace orrimar

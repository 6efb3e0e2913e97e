// Two programs on one sector at once: real orrimar-cli processes append,
// rename and merge side by side. The sector's lock makes them take turns,
// so every system and every rename reaches the disk and the sector stays
// sound; a program that cannot get its turn in time says so and changes
// nothing.
#include <algorithm>
#include <atomic>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "cli/child_process.h"
#include "cli/cli.h"
#include "common/file_lock.h"
#include "names/sector_names.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_lock.h"
#include "support/hand_made_sector.h"
#include "tools/sector_check.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;
using Files = std::map<std::string, std::string>;

struct ConcurrentWriters : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = freshDir(std::string("concurrent_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::vector<std::string> create(const std::string& base, const char* seed, const char* x, bool append) const {
        std::vector<std::string> args = {"create", "--file", base, "--size", "12", "--density",
                                         "30",     "--seed", seed, "-x",     x};
        args.push_back(append ? "--append" : "--replace");
        return args;
    }
    static std::int64_t systemsIn(const std::string& base) {
        return recordCountOnDisk(base + ".sun", sizeof(TSystemRec));
    }
    // Kind 1 records (system names) in the name file.
    static std::vector<std::string> systemNameRecords(const std::string& base) {
        std::vector<std::string> names;
        for (const TNameRec& r : readRecords<TNameRec>(base + ".nam")) {
            if (r.kind == 1) names.push_back(r.name.str());
        }
        return names;
    }
};

TEST_F(ConcurrentWriters, TwoAppendsAtOnceKeepEverySystem) {
    // What each append adds on its own.
    const std::string alone = path("alone");
    ASSERT_EQ(waitFor(startCli(create(alone, "1", "0", false))), 0);
    const std::int64_t first = systemsIn(alone);
    ASSERT_EQ(waitFor(startCli(create(alone, "2", "100", true))), 0);
    const std::int64_t second = systemsIn(alone) - first;
    ASSERT_EQ(waitFor(startCli(create(alone, "3", "200", true))), 0);
    const std::int64_t third = systemsIn(alone) - first - second;

    for (int trial = 0; trial < 3; ++trial) {
        const std::string base = path(fmt::format("s{}", trial));
        ASSERT_EQ(waitFor(startCli(create(base, "1", "0", false))), 0);
        const pid_t a = startCli(create(base, "2", "100", true));
        const pid_t b = startCli(create(base, "3", "200", true));
        EXPECT_EQ(waitFor(a), 0);
        EXPECT_EQ(waitFor(b), 0);
        EXPECT_EQ(systemsIn(base), first + second + third) << "trial " << trial;
        EXPECT_EQ(systemNameRecords(base).size(), static_cast<std::size_t>(first + second + third));
        const SectorCheckReport report = CheckSector(base);
        EXPECT_TRUE(report.sound()) << (report.problems.empty() ? "" : report.problems[0]);
        EXPECT_FALSE(fs::exists(base + ".lck"));
        EXPECT_FALSE(fs::exists(base + ".jnl"));
    }
}

TEST_F(ConcurrentWriters, RenamesBesideAnAppendAndEachOtherAllReachTheDisk) {
    const std::string base = path("sec");
    ASSERT_EQ(waitFor(startCli(create(base, "1", "0", false))), 0);
    const std::int64_t systems = systemsIn(base);
    ASSERT_GT(systems, 10);

    const pid_t append = startCli(create(base, "2", "100", true));
    // Two loops of renames, each a program of its own, while the append runs.
    constexpr int kEach = 15;
    std::vector<std::thread> loops;
    std::atomic<int> failed{0};
    for (int loop = 0; loop < 2; ++loop) {
        loops.emplace_back([&, loop] {
            for (int i = 0; i < kEach; ++i) {
                const std::string id = std::to_string((loop * kEach + i) % systems);
                const std::string name = fmt::format("Loop{} Rename{}", loop, i);
                if (waitFor(startCli({"name", base, "--system", id, name})) != 0) ++failed;
            }
        });
    }
    for (auto& t : loops) t.join();
    EXPECT_EQ(waitFor(append), 0);
    EXPECT_EQ(failed.load(), 0);

    const std::vector<std::string> names = systemNameRecords(base);
    for (int loop = 0; loop < 2; ++loop) {
        for (int i = 0; i < kEach; ++i) {
            const std::string name = fmt::format("Loop{} Rename{}", loop, i);
            EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name << " lost";
        }
    }
    EXPECT_GT(systemsIn(base), systems);
    EXPECT_TRUE(CheckSector(base).sound());
}

TEST_F(ConcurrentWriters, AWriterThatCannotGetItsTurnSaysWhoHoldsItAndChangesNothing) {
    const std::string base = path("sec");
    ASSERT_EQ(waitFor(startCli(create(base, "1", "0", false))), 0);
    const Files before = snapshot(dir);
    // This process holds the sector as another program would.
    const SectorLock held = SectorLock::forChange(base);
    setLockWait(std::chrono::milliseconds(200));
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, dir.string(), false, cli::kExitOk};
    for (const std::vector<std::string>& command :
         {create(base, "2", "100", true), std::vector<std::string>{"name", base, "--system", "0", "Held"},
          std::vector<std::string>{"repair", base}}) {
        err.str("");
        EXPECT_EQ(cli::runCli(command, ctx), cli::kExitRuntime) << command[0];
        EXPECT_NE(err.str().find(fmt::format("{} is being changed by another program (process {}); try again when "
                                             "it has finished",
                                             base, ::getpid())),
                  std::string::npos)
            << err.str();
    }
    setLockWait(std::chrono::milliseconds(-1));
    Files now = snapshot(dir);
    now.erase(base + ".lck");  // the lock this test holds
    Files expected = before;
    EXPECT_EQ(now, expected);
}

}  // namespace
}  // namespace orrimar

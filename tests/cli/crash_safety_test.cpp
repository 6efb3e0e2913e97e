// Sectors, logs and reports under faults: every write and rename of a
// command fails in turn (a full disk, a failing disk), and real processes
// are stopped part-way. Afterwards the error was reported, the sector is
// sound or only torn at its tail (which repair removes), and nothing that
// existed before the command is lost or changed.
#include <chrono>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "cli/child_process.h"
#include "cli/cli.h"
#include "common/file_io.h"
#include "support/hand_made_sector.h"
#include "tools/sector_check.h"
#include "tools/sector_repair.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;
using Files = std::map<std::string, std::string>;

struct PlanGuard {
    ~PlanGuard() { clearFaultPlan(); }
};

struct CrashSafety : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    fs::path dir;
    PlanGuard guard;

    void SetUp() override {
        dir = freshDir(std::string("crash_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ctx.programDir = dir.string();  // no orrwin.ini there: the default tables
        // An empty settings file beside the scratch folder: the default
        // tables for child processes too, whatever lies beside the program.
        writeFileBytes(settings(), "");
    }
    std::string settings() const { return (dir.parent_path() / "default.ini").string(); }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        ctx.exitCode = cli::kExitOk;
        return cli::runCli(args, ctx);
    }
    // Runs a command once without faults and returns how many writes and
    // renames it made.
    std::int64_t operationsOf(const std::vector<std::string>& args) {
        clearFaultPlan();
        EXPECT_EQ(run(args), cli::kExitOk) << err.str();
        return fileOperationCount();
    }
    std::vector<std::string> create(const std::string& base, const char* seed, bool append = false, const char* x = "0",
                                    const char* size = "5") {
        std::vector<std::string> args = {"create", "--file", base, "--size", size,         "--density", "100",
                                         "--seed", seed,     "-x", x,        "--settings", settings()};
        args.push_back(append ? "--append" : "--replace");
        return args;
    }
};

// The sector is sound, or repair cuts it back to a sound one; the records
// of `before` (the same sector before the command) are still its first
// records, and the other members are as they were unless `sideMayGrow`.
void expectSoundOrRepairable(const std::string& base, const Files& before, const std::string& context) {
    SCOPED_TRACE(context);
    SectorCheckReport report = CheckSector(base);
    if (!report.sound()) {
        try {
            RepairSector(base);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "not repairable: " << e.what() << "\nfirst problem: " << report.problems.front();
            return;
        }
        report = CheckSector(base);
        EXPECT_TRUE(report.sound()) << (report.problems.empty() ? "" : report.problems.front());
    }
    for (const auto& [file, bytes] : before) {
        const std::string now = fileBytes(file);
        const std::string ext = fs::path(file).extension().string();
        // The comment file grows by the run's own line once its systems are
        // down, the name file by the names of systems already on disk.
        const bool family =
            ext == ".sun" || ext == ".pln" || ext == ".mon" || ext == ".aln" || ext == ".cmt" || ext == ".nam";
        if (family) {
            EXPECT_EQ(now.substr(0, bytes.size()), bytes) << file << ": an earlier record changed";
        } else {
            EXPECT_EQ(now, bytes) << file;
        }
    }
}

Files sectorFiles(const std::string& base) {
    Files files;
    for (const char* ext : {".sun", ".pln", ".mon", ".aln", ".nam", ".col", ".con", ".emp", ".cmt"}) {
        if (fs::exists(base + ext)) files[base + ext] = fileBytes(base + ext);
    }
    return files;
}

TEST_F(CrashSafety, EveryFailedWriteOfACreateIsReportedAndLeavesARepairableSector) {
    const std::string base = path("sec");
    const std::int64_t operations = operationsOf(create(base, "7"));
    ASSERT_GE(operations, 5);
    for (std::int64_t n = 1; n <= operations; ++n) {
        for (const FaultKind kind : {FaultKind::NoSpace, FaultKind::IoError}) {
            const std::string context =
                fmt::format("write {} of {}, {}", n, operations, kind == FaultKind::NoSpace ? "ENOSPC" : "EIO");
            fs::remove_all(dir);
            fs::create_directories(dir);
            setFaultPlan({kind, n, false});
            EXPECT_EQ(run(create(base, "7")), cli::kExitRuntime) << context;
            clearFaultPlan();
            EXPECT_NE(err.str().find(kind == FaultKind::NoSpace ? "Disk full" : "I/O error 5"), std::string::npos)
                << context << ": " << err.str();
            expectSoundOrRepairable(base, {}, context);
        }
    }
}

TEST_F(CrashSafety, EveryFailedWriteOfAnAppendKeepsTheEarlierSystems) {
    const std::string base = path("sec");
    ASSERT_EQ(run(create(base, "7")), cli::kExitOk) << err.str();
    const Files original = sectorFiles(base);
    const std::int64_t operations = operationsOf(create(base, "8", true, "40"));
    ASSERT_GE(operations, 4);
    for (std::int64_t n = 1; n <= operations; ++n) {
        for (const FaultKind kind : {FaultKind::NoSpace, FaultKind::IoError}) {
            const std::string context = fmt::format("write {} of {}", n, operations);
            for (const auto& [file, bytes] : original) writeFileBytes(file, bytes);
            setFaultPlan({kind, n, false});
            EXPECT_EQ(run(create(base, "8", true, "40")), cli::kExitRuntime) << context;
            clearFaultPlan();
            expectSoundOrRepairable(base, original, context);
        }
    }
}

TEST_F(CrashSafety, EveryFailedWriteOfAMergeLeavesBothSectorsAsTheyWere) {
    const std::string mainBase = path("main");
    const std::string addedBase = path("added");
    ASSERT_EQ(run(create(mainBase, "7")), cli::kExitOk) << err.str();
    ASSERT_EQ(run(create(addedBase, "9")), cli::kExitOk) << err.str();
    const Files before = snapshot(dir);
    const std::int64_t operations = operationsOf({"merge", mainBase, addedBase});
    ASSERT_GE(operations, 5);
    for (std::int64_t n = 1; n <= operations; ++n) {
        for (const auto& [file, bytes] : before) writeFileBytes(file, bytes);
        setFaultPlan({FaultKind::NoSpace, n, false});
        EXPECT_EQ(run({"merge", mainBase, addedBase}), cli::kExitRuntime) << "write " << n;
        clearFaultPlan();
        EXPECT_EQ(snapshot(dir), before) << "write " << n;
    }
}

// A log or report that fails leaves the old one of that name as it was
// (or, for the report's second file, either the old or the whole new one).
TEST_F(CrashSafety, EveryFailedWriteOfALogOrReportKeepsTheOldOne) {
    const std::string base = path("sec");
    ASSERT_EQ(run(create(base, "7")), cli::kExitOk) << err.str();
    const std::vector<std::vector<std::string>> commands = {
        {"starlog", base, "--system", "0", "--out", path("log.txt")},
        {"report", base, "--out", path("rep")},
    };
    for (const auto& command : commands) {
        const std::int64_t operations = operationsOf(command);
        ASSERT_GE(operations, 2) << command[0];
        Files whole;
        for (const char* name : {"log.txt", "rep.map", "rep.html"}) {
            if (fs::exists(path(name))) whole[path(name)] = fileBytes(path(name));
        }
        for (std::int64_t n = 1; n <= operations; ++n) {
            for (const auto& [file, bytes] : whole) writeFileBytes(file, "an old log\r\n");
            setFaultPlan({FaultKind::NoSpace, n, false});
            EXPECT_EQ(run(command), cli::kExitRuntime) << command[0] << " write " << n;
            clearFaultPlan();
            for (const auto& [file, bytes] : whole) {
                const std::string now = fileBytes(file);
                EXPECT_TRUE(now == "an old log\r\n" || now == bytes) << file << " after write " << n;
                EXPECT_FALSE(fs::exists(file + ".part")) << file;
            }
        }
    }
}

TEST_F(CrashSafety, AMergeOfADamagedAddedSectorIsRefusedAndTouchesNothing) {
    const std::string mainBase = path("main");
    const std::string addedBase = path("added");
    ASSERT_EQ(run(create(mainBase, "7")), cli::kExitOk) << err.str();
    ASSERT_EQ(run(create(addedBase, "9")), cli::kExitOk) << err.str();
    const Files sound = snapshot(dir);
    // An emptied planet file; a moon file cut by half; a planet naming
    // a system that is not there.
    const auto damages = std::vector<std::function<void()>>{
        [&] { writeFileBytes(addedBase + ".pln", ""); },
        [&] {
            const std::string moons = fileBytes(addedBase + ".mon");
            writeFileBytes(addedBase + ".mon", moons.substr(0, moons.size() / 2));
        },
        [&] {
            std::string planets = fileBytes(addedBase + ".pln");
            planets[0] = '\x7f';  // system id of planet 0
            writeFileBytes(addedBase + ".pln", planets);
        },
    };
    for (std::size_t i = 0; i < damages.size(); ++i) {
        for (const auto& [file, bytes] : sound) writeFileBytes(file, bytes);
        damages[i]();
        const Files before = snapshot(dir);
        EXPECT_EQ(run({"merge", mainBase, addedBase}), cli::kExitUsage) << "damage " << i;
        EXPECT_NE(err.str().find("is not whole"), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(snapshot(dir), before) << "damage " << i;
    }
}

TEST_F(CrashSafety, AnAppendOntoATornSectorIsRefusedWithTheRepairHint) {
    const std::string base = path("sec");
    ASSERT_EQ(run(create(base, "7")), cli::kExitOk) << err.str();
    ASSERT_EQ(run(create(path("other"), "9")), cli::kExitOk) << err.str();
    const std::string races = fileBytes(base + ".aln");
    ASSERT_FALSE(races.empty());
    const std::string planets = fileBytes(base + ".pln");
    // A torn record at the end of the planets; records no system names yet.
    writeFileBytes(base + ".pln", planets + planets.substr(0, 60));
    Files before = snapshot(dir);
    EXPECT_EQ(run(create(base, "8", true, "40")), cli::kExitUsage);
    EXPECT_NE(err.str().find("Run \"orrimar-cli repair " + base + "\""), std::string::npos) << err.str();
    EXPECT_EQ(snapshot(dir), before);

    writeFileBytes(base + ".pln", planets);
    writeFileBytes(base + ".mon", fileBytes(base + ".mon") + std::string(64, '\0'));
    writeFileBytes(base + ".aln", races + races.substr(0, sizeof(TAlienRec)));
    before = snapshot(dir);
    EXPECT_EQ(run(create(base, "8", true, "40")), cli::kExitUsage);
    EXPECT_NE(err.str().find("repair"), std::string::npos) << err.str();
    EXPECT_EQ(run({"merge", base, path("other")}), cli::kExitUsage);  // the main sector too
    EXPECT_EQ(snapshot(dir), before);

    // Repair cuts it back and says what it removed; the append then runs.
    EXPECT_EQ(run({"repair", base}), cli::kExitOk) << err.str();
    EXPECT_NE(out.str().find("removed 1 moons"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("removed 1 races"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Repaired " + base), std::string::npos) << out.str();
    EXPECT_EQ(fileBytes(base + ".aln"), races);
    EXPECT_EQ(run(create(base, "8", true, "40")), cli::kExitOk) << err.str();
    EXPECT_TRUE(CheckSector(base).sound());
}

TEST_F(CrashSafety, RepairRefusesWorseThanATornTailAndTouchesNothing) {
    const std::string base = path("sec");
    ASSERT_EQ(run(create(base, "7")), cli::kExitOk) << err.str();
    EXPECT_EQ(run({"repair", base}), cli::kExitOk);
    EXPECT_NE(out.str().find("whole, nothing to repair"), std::string::npos) << out.str();

    // A system in the middle whose planets overlap those of the systems
    // after it: no stopped write leaves that, and cutting would lose them.
    std::string systems = fileBytes(base + ".sun");
    TSystemRec second =
        decodeRecord<TSystemRec>(reinterpret_cast<const unsigned char*>(systems.data()) + sizeof(TSystemRec));
    second.firstPlanetId[0] = 1'000'000;
    second.planetCount[0] = 1;
    systems.replace(sizeof(TSystemRec), sizeof(TSystemRec), bytesOf(second));
    writeFileBytes(base + ".sun", systems);
    Files before = snapshot(dir);
    EXPECT_EQ(run({"repair", base}), cli::kExitUsage);
    EXPECT_NE(err.str().find("worse than a torn tail"), std::string::npos) << err.str();
    EXPECT_EQ(snapshot(dir), before);

    // The planets all gone is what a power cut early in a run leaves:
    // repair cuts the systems that name them.
    ASSERT_EQ(run(create(base, "7")), cli::kExitOk) << err.str();
    writeFileBytes(base + ".pln", "");
    EXPECT_EQ(run({"repair", base}), cli::kExitOk) << err.str();
    EXPECT_TRUE(CheckSector(base).sound());

    // Damage inside the whole systems.
    ASSERT_EQ(run(create(base, "7")), cli::kExitOk) << err.str();
    std::string moons = fileBytes(base + ".mon");
    moons[0] = '\x55';  // planet id of moon 0
    writeFileBytes(base + ".mon", moons);
    before = snapshot(dir);
    EXPECT_EQ(run({"repair", base}), cli::kExitUsage);
    EXPECT_NE(err.str().find("worse than a torn tail"), std::string::npos) << err.str();
    EXPECT_EQ(snapshot(dir), before);

    EXPECT_EQ(run({"repair", path("nothing")}), cli::kExitRuntime);  // no sector: a missing input
}

// ---------------------------------------------------------------- real processes

// Stops real create --append and merge processes at every write in turn,
// and kills them at random moments. The next command to take the sector
// finishes what the stopped one left: a merge is undone to the byte, an
// append keeps its whole systems and every earlier one.
TEST_F(CrashSafety, StoppedProcessesAreFinishedByTheNextCommand) {
    const std::string base = path("sec");
    const std::string addedBase = path("added");
    ASSERT_EQ(run(create(base, "7")), cli::kExitOk) << err.str();
    ASSERT_EQ(run(create(addedBase, "9")), cli::kExitOk) << err.str();
    const Files original = sectorFiles(base);
    const Files added = sectorFiles(addedBase);
    const auto restore = [&] {
        for (const auto& [file, bytes] : original) writeFileBytes(file, bytes);
        fs::remove(base + ".jnl");
    };

    const std::vector<std::string> append = create(base, "8", true, "40", "7");  // several batches
    const std::vector<std::string> merge = {"merge", base, addedBase};
    const std::vector<std::vector<std::string>> commands = {append, merge};

    std::mt19937 random(20261208);
    int stopped = 0;
    for (const auto& command : commands) {
        const bool isMerge = command == merge;
        const std::int64_t operations = operationsOf(command);
        restore();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(runProcess(command, "", {}), 0);
        const auto took =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        const Files whole = sectorFiles(base);
        const auto expectFinished = [&](const std::string& context, bool mayHaveFinished) {
            // Any command that takes the sector finishes the stopped one;
            // repair is one, and says what it did.
            EXPECT_EQ(run({"repair", base}), cli::kExitOk) << context << ": " << err.str();
            EXPECT_FALSE(fs::exists(base + ".jnl")) << context;
            if (isMerge) {
                // Killed after its last sync, it stands whole.
                const Files now = sectorFiles(base);
                EXPECT_TRUE(now == original || (mayHaveFinished && now == whole)) << context << ": half a merge";
            } else {
                expectSoundOrRepairable(base, original, context);
            }
            EXPECT_TRUE(CheckSector(base).sound()) << context;
            EXPECT_EQ(sectorFiles(addedBase), added) << context;
        };

        for (std::int64_t n = 1; n <= operations; ++n) {
            restore();
            const int status = runProcess(command, fmt::format("exit:{}", n), {});
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kFaultExitStatus) << command[0] << " " << n;
            ++stopped;
            expectFinished(fmt::format("{} stopped at write {}", command[0], n), false);
        }
        for (int i = 0; i < 12; ++i) {
            restore();
            const auto delay = std::chrono::microseconds(
                1 + std::uniform_int_distribution<std::int64_t>(0, std::max<std::int64_t>(took.count(), 2))(random));
            const int status = runProcess(command, "", delay);
            ++stopped;
            const std::string context = fmt::format("{} killed after {} us", command[0], delay.count());
            (void)status;
            expectFinished(context, true);
        }
    }
    EXPECT_GE(stopped, 24);
}

}  // namespace
}  // namespace orrimar

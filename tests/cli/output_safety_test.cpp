// Exports never destroy what they did not write: a folder of the user's
// (a sector, notes) or something that is not a regular file is refused with
// exit 2 and left byte for byte; an earlier export of the same kind is
// replaced, of another kind refused; leftovers of a killed export are
// cleared; two exports into one place never both write it.
#include <fstream>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "cli/child_process.h"
#include "cli/cli.h"
#include "cli/cli_runner.h"
#include "common/file_lock.h"
#include "common/output_destination.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;
using logtest::makeFixtureSector;
using testing::fileBytes;
using testing::testDir;
using Files = std::map<std::string, std::string>;

// Every file below `root` with its bytes.
Files filesUnder(const std::string& root) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) files[entry.path().string()] = fileBytes(entry.path().string());
    }
    return files;
}

struct OutputSafety : ::testing::Test, testing::CliRunner {
    std::string dir;
    logtest::FixtureSector sector;

    void SetUp() override {
        dir = testDir("outputs");
        fs::create_directories(dir + "/data");
        sector = makeFixtureSector(dir + "/data");
    }
};

TEST_F(OutputSafety, AtlasAndCsvIntoAFolderHoldingASectorAreRefusedAndTouchNothing) {
    std::ofstream(dir + "/data/notes.txt") << "the party owes the guild 300 credits";
    const Files before = filesUnder(dir);
    const std::vector<std::vector<std::string>> commands = {
        {"atlas", sector.base, "--out", dir + "/data"},
        {"export", sector.base, "--format", "csv", "--out", dir + "/data"},
        {"export", sector.base, "--format", "atlas", "--out", dir + "/data/"},
    };
    for (const auto& command : commands) {
        EXPECT_EQ(run(command), cli::kExitUsage) << command[0];
        EXPECT_NE(err.str().find(dir + "/data/ holds a sector"), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(filesUnder(dir), before) << command[0];
    }
    // The same folder without the sector still holds files of the user's.
    for (const char* ext : {".sun", ".pln", ".mon", ".aln", ".nam", ".col", ".con", ".emp", ".cmt"}) {
        fs::remove(sector.base + ext);
    }
    fs::create_directories(dir + "/elsewhere");
    logtest::makeFixtureSector(dir + "/elsewhere");
    EXPECT_EQ(run({"atlas", dir + "/elsewhere/fix", "--out", dir + "/data"}), cli::kExitUsage);
    EXPECT_EQ(err.str(),
              "orrimar-cli: " + dir + "/data/ holds files this program did not write; choose an empty or new folder\n");
    EXPECT_EQ(fileBytes(dir + "/data/notes.txt"), "the party owes the guild 300 credits");
    EXPECT_FALSE(fs::exists(dir + "/data.part"));
    EXPECT_FALSE(fs::exists(dir + "/data.old"));
    EXPECT_FALSE(fs::exists(dir + "/data.part.lock"));
}

TEST_F(OutputSafety, NothingButARegularFileIsReplaced) {
    ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0644), 0);
    fs::create_directories(dir + "/folder");
    for (const std::string& target : {dir + "/pipe", dir + "/folder"}) {
        EXPECT_EQ(run({"export", sector.base, "--format", "json", "--out", target}), cli::kExitUsage) << target;
        EXPECT_NE(err.str().find(target + " is a"), std::string::npos) << err.str();
        EXPECT_EQ(run({"starlog", sector.base, "--system", "0", "--out", target}), cli::kExitUsage) << target;
    }
    EXPECT_EQ(run({"atlas", sector.base, "--out", dir + "/pipe"}), cli::kExitUsage);
    EXPECT_NE(err.str().find(dir + "/pipe is a pipe, which an output never replaces"), std::string::npos) << err.str();
    EXPECT_TRUE(fs::is_fifo(dir + "/pipe"));
    EXPECT_TRUE(fs::is_empty(dir + "/folder"));
    EXPECT_EQ(run({"export", sector.base, "--format", "json", "--out", "/dev/null"}), cli::kExitUsage);
    EXPECT_NE(err.str().find("/dev/null is a device"), std::string::npos) << err.str();
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    // A log over a pipe, and a report whose .map is a folder.
    ASSERT_EQ(::mkfifo((dir + "/r.map").c_str(), 0644), 0);
    EXPECT_EQ(run({"report", sector.base, "--out", dir + "/r"}), cli::kExitUsage);
    EXPECT_TRUE(fs::is_fifo(dir + "/r.map"));
    EXPECT_FALSE(fs::exists(dir + "/r.html"));
    fs::create_directories(dir + "/c.log");
    EXPECT_EQ(run({"colonies", sector.base, "--race", "0", "--out", dir + "/c"}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: " + dir + "/c.log is a folder; choose a file name for the output\n");
    EXPECT_TRUE(fs::is_empty(dir + "/c.log"));
}

TEST_F(OutputSafety, AnEarlierExportOfTheSameKindIsReplacedAndOfAnotherKindRefused) {
    const std::string atlas = dir + "/atlas";
    ASSERT_EQ(run({"atlas", sector.base, "--out", atlas}), cli::kExitOk) << err.str();
    EXPECT_EQ(fileBytes(atlas + "/.orrimar-output"), "atlas\n");
    ASSERT_EQ(run({"export", sector.base, "--format", "atlas", "--out", atlas}), cli::kExitOk) << err.str();
    EXPECT_TRUE(fs::exists(atlas + "/index.html"));

    const std::string tables = dir + "/tables";
    ASSERT_EQ(run({"export", sector.base, "--format", "csv", "--out", tables}), cli::kExitOk) << err.str();
    EXPECT_EQ(fileBytes(tables + "/.orrimar-output"), "csv\n");
    const Files before = filesUnder(dir);
    EXPECT_EQ(run({"atlas", sector.base, "--out", tables}), cli::kExitUsage);
    EXPECT_EQ(err.str(), "orrimar-cli: " + tables +
                             "/ holds an output of another kind (csv, not atlas); choose an empty or new folder\n");
    EXPECT_EQ(run({"export", sector.base, "--format", "csv", "--out", atlas}), cli::kExitUsage);
    EXPECT_EQ(run({"export", sector.base, "--format", "json", "--out", atlas}), cli::kExitUsage);
    EXPECT_EQ(filesUnder(dir), before);
    // An empty folder made for the export is taken.
    fs::create_directories(dir + "/made");
    EXPECT_EQ(run({"export", sector.base, "--format", "csv", "--out", dir + "/made"}), cli::kExitOk) << err.str();
    EXPECT_TRUE(fs::exists(dir + "/made/systems.csv"));
}

TEST_F(OutputSafety, LeftoversOfAKilledExportAreClearedOnlyWhenOurs) {
    const std::string atlas = dir + "/atlas";
    ASSERT_EQ(run({"atlas", sector.base, "--out", atlas}), cli::kExitOk) << err.str();
    // As a kill between the two renames leaves them: the old atlas aside,
    // a half-built one beside it.
    fs::rename(atlas, atlas + ".old");
    fs::create_directories(atlas + ".part/systems");
    std::ofstream(atlas + ".part/.orrimar-output") << "atlas\n";
    std::ofstream(dir + "/s.json.part") << "{\"format\":";
    ASSERT_EQ(run({"atlas", sector.base, "--out", atlas}), cli::kExitOk) << err.str();
    ASSERT_EQ(run({"export", sector.base, "--format", "json", "--out", dir + "/s.json"}), cli::kExitOk) << err.str();
    for (const char* left : {"/atlas.old", "/atlas.part", "/s.json.part", "/atlas.part.lock", "/s.json.part.lock"}) {
        EXPECT_FALSE(fs::exists(dir + left)) << left;
    }
    EXPECT_TRUE(fs::exists(atlas + "/index.html"));

    // A ".part" folder of the user's is in the way, and stays.
    fs::create_directories(dir + "/csv.part");
    std::ofstream(dir + "/csv.part/draft.txt") << "mine";
    EXPECT_EQ(run({"export", sector.base, "--format", "csv", "--out", dir + "/csv"}), cli::kExitUsage);
    EXPECT_NE(err.str().find(dir + "/csv.part is in the way"), std::string::npos) << err.str();
    EXPECT_EQ(fileBytes(dir + "/csv.part/draft.txt"), "mine");
    EXPECT_FALSE(fs::exists(dir + "/csv"));
}

// Runs orrimar-cli with `args`, its error stream into `errFile`, waiting
// `lockWaitMs` for a busy destination. Returns the process id.
pid_t startCli(const std::vector<std::string>& args, const std::string& errFile, int lockWaitMs) {
    return testing::startCli(args, {{}, errFile, {"ORRIMAR_LOCK_WAIT_MS=" + std::to_string(lockWaitMs)}});
}

int exitStatusOf(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(OutputSafety, AnExportIntoADestinationBeingWrittenWaitsThenIsRefused) {
    const std::string atlas = dir + "/atlas";
    ASSERT_EQ(run({"atlas", sector.base, "--out", atlas}), cli::kExitOk) << err.str();
    const Files before = filesUnder(atlas);
    {
        // Another program writing there.
        const FileLock held(atlas + ".part.lock", LockMode::Exclusive, atlas);
        const pid_t pid = startCli({"atlas", sector.base, "--out", atlas}, dir + "/err.txt", 100);
        EXPECT_EQ(exitStatusOf(pid), cli::kExitRuntime);
    }
    EXPECT_EQ(fileBytes(dir + "/err.txt"), "orrimar-cli: " + atlas + " is being changed by another program (process " +
                                               std::to_string(::getpid()) + "); try again when it has finished\n");
    EXPECT_EQ(filesUnder(atlas), before);
}

TEST_F(OutputSafety, ConcurrentExportsIntoOnePlaceEachFinishOrAreRefusedAndTheResultIsWhole) {
    const std::string atlas = dir + "/atlas";
    ASSERT_EQ(run({"atlas", sector.base, "--out", dir + "/alone"}), cli::kExitOk) << err.str();
    Files expected;
    for (const auto& [path, bytes] : filesUnder(dir + "/alone")) expected[path.substr((dir + "/alone").size())] = bytes;

    for (int round = 0; round < 3; ++round) {
        // A short wait in one of them makes a refusal likely; either outcome is sound.
        std::vector<pid_t> pids;
        for (int i = 0; i < 4; ++i) {
            pids.push_back(startCli({"atlas", sector.base, "--out", atlas}, dir + "/err" + std::to_string(i) + ".txt",
                                    i == 0 ? 0 : 5000));
        }
        for (std::size_t i = 0; i < pids.size(); ++i) {
            const int status = exitStatusOf(pids[i]);
            const std::string message = fileBytes(dir + "/err" + std::to_string(i) + ".txt");
            if (status == cli::kExitOk) {
                EXPECT_EQ(message, "");
            } else {
                EXPECT_EQ(status, cli::kExitRuntime) << message;
                EXPECT_NE(message.find(atlas + " is being changed by another program"), std::string::npos) << message;
            }
        }
        Files got;
        for (const auto& [path, bytes] : filesUnder(atlas)) got[path.substr(atlas.size())] = bytes;
        EXPECT_EQ(got, expected) << "round " << round;
        for (const char* left : {"/atlas.part", "/atlas.old", "/atlas.part.lock"}) EXPECT_FALSE(fs::exists(dir + left));
    }
}

}  // namespace
}  // namespace orrimar

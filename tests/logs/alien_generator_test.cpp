#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/errors.h"
#include "engine/alien_generator.h"
#include "vocabulary/body_names.h"
#include "engine/engine.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/refusal.h"
#include "support/well_formed.h"
#include "records/record_file.h"
#include "records/sector_files.h"
#include "settings/probabilities.h"

namespace orrimar::engine {

using namespace orrimar::vocabulary;
namespace {

namespace fs = std::filesystem;
namespace fixtures = orrimar::logtest;

std::vector<std::string> entries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    return names;
}

using testing::messageOf;

TEST(AlienGeneratorFields, TheLogsNameEveryAtmosphereOfTheList) {
    // The logs name every atmosphere of the list as the list does.
    for (const ListEntry& entry : kAtmosphereList) EXPECT_EQ(compositionName(entry.code), entry.text);
}

// Each run works from a current folder of its own, with the scratch folder
// made under a root we can inspect.
class AlienGenerator : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testing::testDir(std::string("alien_generator_") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        work = dir + "/work";
        scratch = dir + "/scratch";
        logs = dir + "/logs";
        fs::create_directories(work);
        fs::create_directories(scratch);
        fs::create_directories(logs);
        previous = fs::current_path();
        fs::current_path(work);
    }
    void TearDown() override {
        fs::current_path(previous);
        alienThresholds() = AlienThresholds{};
    }
    AlienGeneratorParams params(const std::string& log) const {
        AlienGeneratorParams p;
        p.logPath = log.empty() ? log : logs + "/" + log;
        p.scratchRoot = scratch;
        p.seed = 42;
        return p;
    }

    std::string dir, work, scratch, logs;
    fs::path previous;
};

TEST_F(AlienGenerator, WritesTheLogAndLeavesNoScratchBehind) {
    AlienGeneratorParams p = params("race.log");
    p.temperature = "-50";
    p.gravity = "3.0";
    p.atmosphereIndex = 4;
    p.outputIndex = 3;
    const AlienGeneratorResult result = runAlienGenerator(p);
    EXPECT_EQ(result.title, "Info");
    EXPECT_EQ(result.message, "Alien Logfile Done");
    EXPECT_EQ(result.outputSystem, 3);

    const std::string log = testing::fileBytes(logs + "/race.log");
    EXPECT_EQ(log.rfind("Alien race made to order\r\n", 0), 0U);
    EXPECT_NE(log.find("Temperature: -50 °C"), std::string::npos);
    EXPECT_NE(log.find("Gravity:     3.00 g"), std::string::npos);
    EXPECT_NE(log.find("Atmosphere:  Nitrogen/Sulfuric Acid"), std::string::npos);
    EXPECT_NE(log.find("Attributes (Gurps)"), std::string::npos);
    // Below -5 degrees every race is cold-adapted.
    EXPECT_NE(log.find("Cold adaptation"), std::string::npos);

    EXPECT_TRUE(entries(scratch).empty());
    EXPECT_TRUE(entries(work).empty());
    EXPECT_EQ(entries(logs), std::vector<std::string>{"race.log"});
}

TEST_F(AlienGenerator, TheDefaultScratchFolderIsInTheSystemsTempFolderAndGoesAway) {
    const std::string temp = dir + "/tmp";
    fs::create_directories(temp);
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", temp.c_str(), 1);
    AlienGeneratorParams p = params("race.log");
    p.scratchRoot.clear();
    runAlienGenerator(p);
    p.logPath = logs + "/no-folder/race.log";
    EXPECT_THROW(runAlienGenerator(p), IoError);
    if (old) {
        ::setenv("TMPDIR", saved.c_str(), 1);
    } else {
        ::unsetenv("TMPDIR");
    }
    EXPECT_TRUE(entries(temp).empty());
    EXPECT_TRUE(entries(work).empty());
}

TEST_F(AlienGenerator, LeavesTheUsersOwnTemp0SectorAlone) {
    for (const char* ext : {".nam", ".pln", ".aln"}) std::ofstream(work + "/temp0" + ext) << "mine";
    runAlienGenerator(params("race.log"));
    for (const char* ext : {".nam", ".pln", ".aln"}) EXPECT_EQ(testing::fileBytes(work + "/temp0" + ext), "mine");
}

TEST_F(AlienGenerator, SeededRunsGiveByteIdenticalLogs) {
    for (int filter : {1, 2}) {
        AlienGeneratorParams p = params("a.log");
        p.filterIndex = filter;
        runAlienGenerator(p);
        p.logPath = logs + "/b.log";
        runAlienGenerator(p);
        const std::string a = testing::fileBytes(logs + "/a.log");
        EXPECT_FALSE(a.empty());
        EXPECT_EQ(a, testing::fileBytes(logs + "/b.log"));
        if (filter == 2) {
            EXPECT_EQ(fixtures::checkWellFormed(a), "");
        }
    }
    AlienGeneratorParams other = params("c.log");
    other.seed = 43;
    runAlienGenerator(other);
    EXPECT_NE(testing::fileBytes(logs + "/a.log"), testing::fileBytes(logs + "/c.log"));
}

TEST_F(AlienGenerator, RefusalsWriteNothing) {
    AlienGeneratorParams p = params("race.log");
    p.temperature = "101";
    EXPECT_EQ(messageOf([&] { runAlienGenerator(p); }), "Temperature must be between -50 and 100");
    p = params("race.log");
    p.gravity = "0.49";
    EXPECT_EQ(messageOf([&] { runAlienGenerator(p); }), "Gravity must be between 0.5 and 3.0");
    // No log path chosen yet: say so rather than write under an empty name.
    p = params("");
    EXPECT_EQ(messageOf([&] { runAlienGenerator(p); }), std::string(kNoLogMessage));
    p = params("race.log");
    p.outputIndex = -1;
    EXPECT_EQ(messageOf([&] { runAlienGenerator(p); }), std::string(kNoOutputMessage));
    EXPECT_TRUE(entries(scratch).empty());
    EXPECT_TRUE(entries(work).empty());
    EXPECT_TRUE(entries(logs).empty());
}

TEST_F(AlienGenerator, AFailedLogLeavesNeitherScratchNorAHalfLog) {
    AlienGeneratorParams p = params("race.log");
    p.logPath = logs + "/missing-folder/race.log";
    EXPECT_THROW(runAlienGenerator(p), IoError);
    EXPECT_TRUE(entries(scratch).empty());
    EXPECT_TRUE(entries(work).empty());
    EXPECT_TRUE(entries(logs).empty());
    // A scratch root that cannot hold a folder is an input/output error too.
    p = params("race.log");
    p.scratchRoot = logs + "/no-such-root";
    EXPECT_THROW(runAlienGenerator(p), IoError);
    EXPECT_TRUE(entries(logs).empty());
}

TEST_F(AlienGenerator, ReloadsTheAlienThresholdsFromTheSettingsFile) {
    std::ofstream(dir + "/orrwin.ini") << "[Alien Probabilities]\r\nHuman=100\r\nAnimal=0\r\nReptile=0\r\n"
                                          "Insect=0\r\nMisc=0\r\nExotic=0\r\n";
    alienThresholds().t = {1, 2, 3, 4, 5, 6};
    AlienGeneratorParams p = params("race.log");
    p.settingsPath = dir + "/orrwin.ini";
    runAlienGenerator(p);
    EXPECT_EQ(alienThresholds().t, (std::array<std::uint8_t, 6>{100, 100, 100, 100, 100, 100}));
    // Without a settings file the defaults stand.
    p.settingsPath.clear();
    runAlienGenerator(p);
    EXPECT_EQ(alienThresholds().t, AlienThresholds{}.t);
}

TEST_F(AlienGenerator, TheScratchPlanetHoldsWhatTheRaceIsMadeFrom) {
    // main_alien on a scratch base of our own: one race for world 0, a new file each time.
    const std::string base = dir + "/own";
    RecordFile<TAlienRec>(sectorPath(base, ".aln"), RawRecordFile::Mode::Create).close();
    main_alien(20, 2, 12, 1.0F, 1, base, 0, 0, 100);
    main_alien(20, 2, 12, 1.0F, 1, base, 0, 0, 100);
    RecordFile<TAlienRec> races(sectorPath(base, ".aln"), RawRecordFile::Mode::ReadOnly);
    ASSERT_EQ(races.count(), 1);
    const TAlienRec race = races.read(0);
    EXPECT_EQ(race.worldId, 0);
    EXPECT_TRUE(race.habitat == 3 || race.habitat == 4);  // an ocean world
    EXPECT_LE(race.spatialAge, 127);
}

}  // namespace
}  // namespace orrimar::engine

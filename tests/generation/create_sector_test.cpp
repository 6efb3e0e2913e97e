#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "common/errors.h"
#include "common/file_io.h"
#include "generation/create_sector.h"
#include "records/sector_base.h"
#include "records/record_file.h"
#include "sector_test_support.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;
namespace fs = std::filesystem;
using Mode = RawRecordFile::Mode;

CreateSectorParams params(const std::string& dir, int size, int density, bool flat) {
    CreateSectorParams p;
    p.baseName = dir + "/sec";
    p.sectorName = "Test sector";
    p.lastIndex = size - 1;
    p.density = static_cast<std::uint8_t>(density);
    p.flat = flat;
    p.seed = 17;
    p.settingsPath = dir + "/orrwin.ini";  // absent: the default tables
    return p;
}

std::vector<TSystemRec> systems(const std::string& base) {
    RecordFile<TSystemRec> f(base + ".sun", Mode::ReadOnly);
    std::vector<TSystemRec> out;
    for (std::int64_t i = 0; i < f.count(); ++i) out.push_back(f.read(i));
    return out;
}

class Recorder final : public SectorProgress {
public:
    void setMaximum(std::int64_t cells) override { maximum = cells; }
    void setProgress(std::int64_t cells) override { seen.push_back(cells); }
    bool cancelRequested() override { return cancelAfter > 0 && seen.back() >= cancelAfter; }
    void clearCancel() override { ++cleared; }
    std::int64_t maximum = -1;
    std::vector<std::int64_t> seen;
    std::int64_t cancelAfter = 0;
    int cleared = 0;
};

TEST(CreateSector, FlatBlockAtFullDensityFillsEveryCellInXThenYOrder) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 3, 100, true);
    p.x = -4;
    p.y = 7;
    p.z = 2;
    Recorder progress;
    const auto result = CreateSector(p, &progress);
    EXPECT_EQ(result.cellsVisited, 9);
    EXPECT_EQ(result.systems, 9);
    EXPECT_EQ(result.seed, 17U);
    EXPECT_EQ(progress.maximum, 9);
    EXPECT_EQ(progress.seen, (std::vector<std::int64_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(progress.cleared, 1);
    const auto s = systems(p.baseName);
    ASSERT_EQ(s.size(), 9U);
    for (int n = 0; n < 9; ++n) {
        EXPECT_EQ(s[static_cast<std::size_t>(n)].x, -4 + n / 3);
        EXPECT_EQ(s[static_cast<std::size_t>(n)].y, 7 + n % 3);
        EXPECT_EQ(s[static_cast<std::size_t>(n)].z, 2);
    }
}

TEST(CreateSector, CubeOrderZFastestAndOneCellBlocks) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 2, 100, false);
    CreateSector(p);
    const auto s = systems(p.baseName);
    ASSERT_EQ(s.size(), 8U);
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(s[static_cast<std::size_t>(n)].x, n / 4);
        EXPECT_EQ(s[static_cast<std::size_t>(n)].y, n / 2 % 2);
        EXPECT_EQ(s[static_cast<std::size_t>(n)].z, n % 2);
    }
    p.replace = true;
    p.lastIndex = 0;
    p.x = 20000;
    p.y = -20000;
    p.z = 9989;
    EXPECT_EQ(CreateSector(p).systems, 1);
    const auto one = systems(p.baseName);
    ASSERT_EQ(one.size(), 1U);
    EXPECT_EQ(one[0].x, 9989);
    EXPECT_EQ(one[0].y, -9989);
    EXPECT_EQ(one[0].z, 9989);
    EXPECT_EQ(one[0].systemRaceId, 65535);
}

TEST(CreateSector, DensityIsTheChanceOfASystemPlusOnePercent) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 100, 0, true);
    EXPECT_NEAR(static_cast<double>(CreateSector(p).systems), 100, 35);  // 1 %
    p.density = 49;
    p.replace = true;
    EXPECT_NEAR(static_cast<double>(CreateSector(p).systems), 5000, 200);  // 50 %
}

TEST(CreateSector, ARunThatPlacesNoSystemTouchesNothing) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 1, 0, true);
    writeFileBytes(p.baseName + ".sun", "old");
    p.replace = true;
    for (std::uint64_t seed = 1;; ++seed) {
        p.seed = seed;
        if (CreateSector(p).systems == 0) break;
    }
    EXPECT_EQ(fileBytes(p.baseName + ".sun"), "old");
    EXPECT_FALSE(fs::exists(p.baseName + ".nam"));
}

// A new sector over an existing one is refused, naming it and its systems,
// before any file is touched; asked to replace it, the run does.
TEST(CreateSector, ASectorIsReplacedOnlyWhenAsked) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 2, 100, true);
    CreateSector(p);
    const std::string sun = fileBytes(p.baseName + ".sun");
    const std::string names = fileBytes(p.baseName + ".nam");
    p.seed = 99;
    try {
        CreateSector(p);
        FAIL() << "an existing sector was replaced unasked";
    } catch (const SectorExistsError& e) {
        EXPECT_EQ(e.systems(), 4);
        EXPECT_EQ(e.baseName(), p.baseName);
    }
    EXPECT_EQ(fileBytes(p.baseName + ".sun"), sun);
    EXPECT_EQ(fileBytes(p.baseName + ".nam"), names);
    EXPECT_FALSE(fs::exists(p.baseName + ".jnl"));
    EXPECT_FALSE(fs::exists(p.baseName + ".lck"));
    p.replace = true;
    EXPECT_EQ(CreateSector(p).systems, 4);
    EXPECT_NE(fileBytes(p.baseName + ".sun"), sun);
}

// The run's note goes beside the sector's own base name, also when the
// name is given with a member's extension.
TEST(CreateSector, TheRunNoteGoesBesideTheBaseName) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 2, 100, true);
    p.baseName += ".sun";
    CreateSector(p);
    const std::string base = p.baseName.substr(0, p.baseName.size() - 4);
    EXPECT_NE(fileBytes(base + ".cmt").find("run: seed"), std::string::npos);
    EXPECT_FALSE(fs::exists(p.baseName + ".cmt"));
}

TEST(CreateSector, AppendRunsContinueIdsAndCrossReferencesHold) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 2, 100, true);
    CreateSector(p);
    p.newFile = false;
    p.x = 50;
    p.seed = 18;
    const auto second = CreateSector(p);
    EXPECT_EQ(second.systems, 4);
    const auto s = systems(p.baseName);
    ASSERT_EQ(s.size(), 8U);
    EXPECT_EQ(s[4].x, 50);
    RecordFile<TPlanetRec> planets(p.baseName + ".pln", Mode::ReadOnly);
    std::int64_t next = 0;
    for (std::size_t id = 0; id < s.size(); ++id) {
        for (int star = 0; star < s[id].starCount; ++star) {
            const auto st = static_cast<std::size_t>(star);
            // Each star's planets follow the previous star's, and name their system.
            EXPECT_EQ(s[id].firstPlanetId[st], next);
            for (int k = 0; k < s[id].planetCount[st]; ++k) EXPECT_EQ(planets.read(next + k).systemId, id);
            next += s[id].planetCount[st];
        }
    }
    EXPECT_EQ(next, planets.count());
}

TEST(CreateSector, SameSeedSameBytes) {
    const std::string a = freshSectorDir();
    auto p = params(a, 4, 60, false);
    p.seed = 4242;
    CreateSector(p);
    const std::string b = a + "/again";
    fs::create_directories(b);
    auto q = p;
    q.baseName = b + "/sec";
    CreateSector(q);
    for (const char* ext : {".sun", ".pln", ".mon", ".aln", ".nam"}) {
        EXPECT_EQ(fileBytes(p.baseName + ext), fileBytes(q.baseName + ext)) << ext;
    }
}

TEST(CreateSector, CancelStopsAfterTheCellWithWholeSystems) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 5, 100, true);
    Recorder progress;
    progress.cancelAfter = 4;
    const auto result = CreateSector(p, &progress);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.cellsVisited, 4);
    EXPECT_EQ(systems(p.baseName).size(), 4U);
}

TEST(CreateSector, ThresholdsComeFromTheSettingsOfTheRun) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 3, 100, true);
    writeFileBytes(p.settingsPath,
                   "[Stellar Probabilities]\r\nPheno=0\r\nMisc=0\r\nA_II=0\r\nM_III=0\r\nF_IV=0\r\nF_V=0\r\n"
                   "G_V=0\r\nK_V=0\r\nM_V=0\r\n");
    CreateSector(p);
    for (const auto& s : systems(p.baseName)) {
        EXPECT_EQ(s.starKind[0], 9);  // every roll lies above T9 = 0
        EXPECT_EQ(s.starCount, 1);
    }
    writeFileBytes(p.settingsPath, "[Stellar Probabilities]\r\nMisc=$FFFF\r\n");
    p.baseName = dir + "/other";
    EXPECT_THROW(CreateSector(p), RangeError);
    EXPECT_FALSE(fs::exists(p.baseName + ".sun"));
}

TEST(CreateSector, AFailedWriteLeavesWholeSystemsAndReportsTheError) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 3, 100, true);
    CreateSector(p);
    const std::string before = fileBytes(p.baseName + ".sun");
    p.newFile = false;
    setFaultPlan({FaultKind::NoSpace, 1, true});  // the disk is full
    try {
        CreateSector(p);
        ADD_FAILURE() << "the run did not fail";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("Disk full"), std::string::npos);
    }
    clearFaultPlan();
    EXPECT_EQ(fileBytes(p.baseName + ".sun"), before);
}

TEST(CreateSector, BlocksBeyondTwoHundredAreRefused) {
    const std::string dir = freshSectorDir();
    auto p = params(dir, 201, 100, true);
    EXPECT_THROW(CreateSector(p), InputError);
    p.lastIndex = -1;
    EXPECT_THROW(CreateSector(p), InputError);
    EXPECT_FALSE(fs::exists(p.baseName + ".sun"));
}

}  // namespace
}  // namespace orrimar

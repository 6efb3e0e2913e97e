// The last whole system and the tail test, on generated sectors cut and
// padded the ways a stopped write (or a careless hand) leaves them.
#include "records/sector_tail.h"

#include <gtest/gtest.h>

#include "generation/create_sector.h"
#include "records/sector_base.h"
#include "support/hand_made_sector.h"
#include "tools/sector_check.h"
#include "tools/sector_repair.h"
#include "support/sector_maker.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct SectorTailTest : ::testing::Test {
    fs::path dir;
    std::string base;
    SectorExtent made;

    void SetUp() override {
        dir = freshDir(std::string("tail_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        base = (dir / "sec").string();
        const CreateSectorResult result = makeSector(base, {.seed = 2, .lastIndex = 3, .density = 100});
        made = {result.systems, result.planets, result.moons, result.races};
        ASSERT_GT(made.races, 0);
        ASSERT_GT(made.moons, 0);
    }
    void cutFile(const char* ext, std::size_t bytes) {
        const std::string text = fileBytes(base + ext);
        writeFileBytes(base + ext, text.substr(0, text.size() - bytes));
    }
    void padFile(const char* ext, std::size_t bytes) {
        writeFileBytes(base + ext, fileBytes(base + ext) + std::string(bytes, '\0'));
    }
};

TEST_F(SectorTailTest, AGeneratedSectorIsWholeToItsLastSystem) {
    const SectorTail tail = FindLastWholeSystem(base);
    EXPECT_TRUE(tail.isWhole());
    EXPECT_EQ(tail.whole, made);
    EXPECT_TRUE(SectorTailProblems(base).empty());
    EXPECT_TRUE(SectorReferenceProblems(base).empty());
}

// What a stopped write leaves: records no system names, torn records. The
// systems stay whole; the tail test and repair see the rest.
TEST_F(SectorTailTest, RecordsNoSystemNamesAreATornTail) {
    padFile(".aln", sizeof(TAlienRec));
    padFile(".mon", 2 * sizeof(TMoonRec) + 3);
    padFile(".pln", sizeof(TPlanetRec));
    padFile(".sun", sizeof(TSystemRec) / 2);
    const SectorTail tail = FindLastWholeSystem(base);
    EXPECT_EQ(tail.whole, made);
    EXPECT_EQ(tail.onDisk, (SectorExtent{made.systems, made.planets + 1, made.moons + 2, made.races + 1}));
    EXPECT_EQ(tail.tornFiles.size(), 2U);
    EXPECT_FALSE(tail.isWhole());
    EXPECT_GE(SectorTailProblems(base).size(), 3U);

    const SectorRepair repair = RepairSector(base);
    EXPECT_EQ(repair.after, made);
    EXPECT_EQ(repair.actions.size(), 5U);  // races, moons and their torn record, planets, half a system
    EXPECT_TRUE(CheckSector(base).sound());
    EXPECT_TRUE(SectorTailProblems(base).empty());
}

// The damage the tail test exists for: a cheap look at the end catches each.
TEST_F(SectorTailTest, TheTailTestCatchesEmptiedAndCutFiles) {
    const auto original = snapshot(dir);
    const auto restore = [&] {
        for (const auto& [file, bytes] : original) writeFileBytes(file, bytes);
    };
    for (const char* ext : {".mon", ".aln", ".pln"}) {
        SCOPED_TRACE(ext);
        restore();
        writeFileBytes(base + ext, "");
        EXPECT_FALSE(SectorTailProblems(base).empty());
        restore();
        cutFile(ext, ext == std::string(".mon")   ? sizeof(TMoonRec)
                     : ext == std::string(".aln") ? sizeof(TAlienRec)
                                                  : sizeof(TPlanetRec));
        EXPECT_FALSE(SectorTailProblems(base).empty());
    }
    restore();
    cutFile(".sun", sizeof(TSystemRec) + 1);  // half a system and one more
    EXPECT_FALSE(SectorTailProblems(base).empty());
    EXPECT_THROW(RequireWholeSectorTail(base), DamagedSectorError);
}

// A power cut can leave the last systems without their planets: they are
// the tail, and repair cuts them with what they name. A system in the
// middle naming records that are not there is damage instead: cutting would
// lose every system after it, so repair refuses and touches nothing.
TEST_F(SectorTailTest, TheLastWholeSystemEndsWhereRecordsGoMissing) {
    const auto original = snapshot(dir);
    const auto restore = [&] {
        for (const auto& [file, bytes] : original) writeFileBytes(file, bytes);
    };
    const std::string planets = fileBytes(base + ".pln");
    cutFile(".pln", sizeof(TPlanetRec));
    const SectorTail tail = FindLastWholeSystem(base);
    EXPECT_EQ(tail.whole.systems, made.systems - 1);
    EXPECT_LT(tail.whole.planets, made.planets);
    EXPECT_TRUE(tail.tailOnly);
    const SectorRepair repair = RepairSector(base);
    EXPECT_EQ(repair.after.systems, made.systems - 1);
    EXPECT_EQ(FindLastWholeSystem(base).onDisk, tail.whole);
    EXPECT_TRUE(CheckSector(base).sound());

    // System 1's first planet moved past the end, with systems after it.
    restore();
    std::string systems = fileBytes(base + ".sun");
    TSystemRec second =
        decodeRecord<TSystemRec>(reinterpret_cast<const unsigned char*>(systems.data()) + sizeof(TSystemRec));
    second.firstPlanetId[0] = static_cast<std::int32_t>(made.planets + 5);
    second.planetCount[0] = std::max<std::uint8_t>(second.planetCount[0], 1);
    systems.replace(sizeof(TSystemRec), sizeof(TSystemRec), bytesOf(second));
    writeFileBytes(base + ".sun", systems);
    EXPECT_FALSE(FindLastWholeSystem(base).tailOnly);
    EXPECT_THROW(RepairSector(base), DamagedSectorError);
    EXPECT_EQ(fileBytes(base + ".sun"), systems);  // untouched
    EXPECT_EQ(fileBytes(base + ".pln"), planets);
}

// A stop between the last system's race and the rest of its records: its
// planets are on disk but the race one of them (or the system itself) names
// is not, so the last whole system is the one before it.
TEST(SectorTailRaces, TheLastSystemWithoutItsRaceIsNotWhole) {
    const fs::path dir = freshDir("tail_races");
    const std::string base = (dir / "h").string();
    SectorContent sound = soundSector(4, 0);
    sound.systems.back().systemRaceId = kNoRace;  // as generation writes it
    const auto races = static_cast<std::int64_t>(sound.aliens.size());
    const std::int64_t lastFirstPlanet = sound.systems.back().firstPlanetId[0];
    // The last race's home world is one of the last system's planets.
    const auto home = static_cast<std::int64_t>(sound.aliens.back().worldId);
    ASSERT_GE(home, lastFirstPlanet);
    ASSERT_TRUE(hasNativeRace(sound.planets[static_cast<std::size_t>(home)]));

    writeSector(base, sound);
    EXPECT_EQ(FindLastWholeSystem(base).whole.systems, 4);

    // The native race missing.
    SectorContent content = sound;
    content.aliens.pop_back();
    writeSector(base, content);
    SectorTail tail = FindLastWholeSystem(base);
    EXPECT_EQ(tail.whole.systems, 3);
    EXPECT_EQ(tail.whole.planets, lastFirstPlanet);
    EXPECT_EQ(tail.whole.races, races - 1);
    EXPECT_TRUE(tail.tailOnly);
    EXPECT_FALSE(tail.isWhole());

    // Every race on disk, but the system names one past them.
    content = sound;
    content.systems.back().systemRaceId = static_cast<std::uint16_t>(races);
    writeSector(base, content);
    tail = FindLastWholeSystem(base);
    EXPECT_EQ(tail.whole.systems, 3);
    EXPECT_EQ(tail.whole.races, races - 1);
    EXPECT_TRUE(tail.tailOnly);
}

TEST_F(SectorTailTest, NoSectorAtAllIsNotDamaged) {
    const std::string none = (dir / "none").string();
    EXPECT_TRUE(SectorTailProblems(none).empty());
    EXPECT_NO_THROW(RequireWholeSectorTail(none));
    EXPECT_THROW(RepairSector(none), MissingError);
}

}  // namespace
}  // namespace orrimar

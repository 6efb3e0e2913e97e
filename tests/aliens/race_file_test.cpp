// The race record on disk: its bytes, seeded repeatability, and how the
// race file is created, appended to and numbered.
#include <gtest/gtest.h>
#include "support/test_dir.h"
#include "support/file_text.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "aliens/alien_race.h"
#include "common/random.h"
#include "race_test_support.h"
#include "records/record_codec.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;

using testing::fileBytes;

class RaceFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        alienThresholds() = AlienThresholds{};
        dir_ = fs::path(orrimar::testing::testTmp()) / "aliens" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    std::string base(const char* name) const { return (dir_ / name).string(); }

    fs::path dir_;
    test::ThresholdGuard guard_;
};

TEST_F(RaceFileTest, RecordBytesSitAtTheirOffsets) {
    TAlienRec race{};
    race.worldId = -2;
    race.habitat = 5;
    race.bodyForm = 9;
    race.appendageCount = 10;
    race.aspectA = 8;
    race.aspectB = 5;
    race.aspectC = 4;
    race.orderCode = 25;
    race.subtype = 12;
    race.formCode = 26;
    race.mass = 1100;
    race.height = 0x0384;  // 900
    race.appendageTypes[0] = 7;
    race.appendageTypes[11] = 6;
    race.attributes[0] = 3;
    race.attributes[6] = 20;
    race.techLevel = 10;
    race.massClass = 26;
    race.ratingA = 22;
    race.ratingB = 17;
    race.ratingC = 250;
    race.ratingD = 19;
    race.ratingE = 18;
    race.spatialAge = 127;
    race.traits[0] = 0x01;   // trait 1
    race.traits[11] = 0x80;  // trait 96
    race.flagSet1 = {0x02, 0x80};
    race.flagSet2 = {0x03, 0x00};
    race.flagSet3 = {0x00, 0x40};
    race.flagSet4 = {0x10, 0x01};
    race.flagSet5 = {0x01, 0x20};
    race.aspectD = 8;
    race.aspectE = 11;
    race.aspectF = 10;

    unsigned char bytes[sizeof(TAlienRec)];
    encodeRecord(race, bytes);
    ASSERT_EQ(sizeof(bytes), 92U);
    const unsigned char head[] = {0xFE, 0xFF, 0xFF, 0xFF, 5, 9, 10, 8, 5, 4, 25, 12, 26, 0, 0x4C, 0x04, 0x84, 0x03};
    EXPECT_EQ(0, std::memcmp(bytes, head, sizeof(head)));
    EXPECT_EQ(bytes[18], 7);
    EXPECT_EQ(bytes[29], 6);
    EXPECT_EQ(bytes[30], 3);
    EXPECT_EQ(bytes[36], 20);
    const unsigned char ratings[] = {10, 26, 22, 17, 250, 19, 18, 127};
    EXPECT_EQ(0, std::memcmp(bytes + 37, ratings, sizeof(ratings)));
    EXPECT_EQ(bytes[45], 0x01);
    EXPECT_EQ(bytes[56], 0x80);
    const unsigned char flags[] = {0x02, 0x80, 0x03, 0x00, 0x00, 0x40, 0x10, 0x01, 0x01, 0x20, 8, 11, 10};
    EXPECT_EQ(0, std::memcmp(bytes + 57, flags, sizeof(flags)));
    for (std::size_t i = 70; i < 92; ++i) EXPECT_EQ(bytes[i], 0) << "reserved byte " << i;
}

TEST_F(RaceFileTest, SeededRunRepeatsByteForByte) {
    auto run = [&](const char* name) {
        seedRandom(4711);
        std::mt19937 worlds(99);
        for (int i = 0; i < 200; ++i) {
            const AlienWorld w = test::variedWorld(worlds);
            GenerateAlienRace(w.temperature, w.composition, w.worldType, w.gravity, i == 0, base(name), i, (i % 3) == 0,
                              50);
        }
        return fileBytes(base(name) + ".aln");
    };
    const auto first = run("first");
    const auto second = run("second");
    ASSERT_EQ(first.size(), 200U * 92U);
    EXPECT_EQ(first, second);

    // The file holds exactly what RollAlienRace yields for the same dice.
    seedRandom(4711);
    std::mt19937 worlds(99);
    const AlienWorld w = test::variedWorld(worlds);
    const TAlienRec race = RollAlienRace(w, 0, true, 50);
    unsigned char bytes[sizeof(TAlienRec)];
    encodeRecord(race, bytes);
    EXPECT_EQ(0, std::memcmp(first.data(), bytes, sizeof(bytes)));
}

TEST_F(RaceFileTest, ByNameAppendsAndNumbersFromTheRecordCount) {
    const std::string name = base("sector");
    seedRandom(1);
    // A missing file is created; the first race is id 0.
    EXPECT_EQ(GenerateAlienRace(15, 2, 10, 1.0F, false, name, 7, false, 50), 0);
    EXPECT_EQ(GenerateAlienRace(15, 2, 10, 1.0F, false, name, 8, false, 50), 1);
    EXPECT_EQ(GenerateAlienRace(15, 2, 10, 1.0F, false, name, 9, false, 50), 2);
    EXPECT_EQ(fs::file_size(name + ".aln"), 3U * 92U);

    RecordFile<TAlienRec> races(name + ".aln", RawRecordFile::Mode::ReadOnly);
    ASSERT_EQ(races.count(), 3);
    EXPECT_EQ(races.read(0).worldId, 7);
    EXPECT_EQ(races.read(2).worldId, 9);
}

TEST_F(RaceFileTest, NewFileStartsTheRaceFileAfresh) {
    const std::string name = base("sector");
    seedRandom(2);
    for (int i = 0; i < 4; ++i) GenerateAlienRace(15, 2, 10, 1.0F, false, name, i, false, 50);
    EXPECT_EQ(GenerateAlienRace(15, 2, 10, 1.0F, true, name, 42, false, 50), 0);
    EXPECT_EQ(fs::file_size(name + ".aln"), 92U);
    RecordFile<TAlienRec> races(name + ".aln", RawRecordFile::Mode::ReadOnly);
    EXPECT_EQ(races.read(0).worldId, 42);
}

TEST_F(RaceFileTest, AnEmptyFileGivesIdZeroAndATrailingFragmentIsOverwritten) {
    const std::string name = base("sector");
    { std::ofstream(name + ".aln", std::ios::binary); }
    seedRandom(3);
    EXPECT_EQ(GenerateAlienRace(15, 2, 10, 1.0F, false, name, 1, false, 50), 0);
    {
        std::ofstream out(name + ".aln", std::ios::binary | std::ios::app);
        out << "junk";
    }
    EXPECT_EQ(GenerateAlienRace(15, 2, 10, 1.0F, false, name, 2, false, 50), 1);
    EXPECT_EQ(fs::file_size(name + ".aln"), 2U * 92U);
}

TEST_F(RaceFileTest, OpenFileVariantReturnsTheCountBeforeTheWrite) {
    RecordFile<TAlienRec> races(base("open") + ".aln", RawRecordFile::Mode::Create);
    seedRandom(5);
    const AlienWorld world{};
    EXPECT_EQ(GenerateAlienRace(races, world, 3, false, 50), 0);
    EXPECT_EQ(GenerateAlienRace(races, world, 4, false, 50), 1);
    EXPECT_EQ(races.count(), 2);
    EXPECT_EQ(races.read(1).worldId, 4);
}

TEST_F(RaceFileTest, AFileThatCannotBeOpenedIsAnErrorAndLeftAlone) {
    // A folder in the file's place: neither opened nor replaced.
    const std::string name = base("blocked");
    fs::create_directories(name + ".aln");
    EXPECT_THROW(GenerateAlienRace(15, 2, 10, 1.0F, false, name, 1, false, 50), IoError);
    EXPECT_TRUE(fs::is_directory(name + ".aln"));
}

}  // namespace
}  // namespace orrimar

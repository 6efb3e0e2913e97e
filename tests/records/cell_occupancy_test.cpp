#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "records/cell_occupancy.h"
#include "records/sector_base.h"
#include "test_dir.h"
#include "support/hand_made_sector.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

// A sector whose systems stand at `cells`, in id order.
std::string sectorAt(const std::string& name, const std::vector<SectorCell>& cells) {
    const std::string base = freshTestDir("cells-" + name).string() + "/" + name;
    SectorContent content;
    for (const SectorCell& cell : cells) {
        TSystemRec system;
        system.starCount = 1;
        system.x = cell.x;
        system.y = cell.y;
        system.z = cell.z;
        content.systems.push_back(system);
    }
    writeSector(base, content);
    return base;
}

TEST(CellOccupancy, TheCornerClampStopsAtTheLimitWhateverTheInput) {
    EXPECT_EQ(clampCorner(0), 0);
    EXPECT_EQ(clampCorner(9988), 9988);
    EXPECT_EQ(clampCorner(9989), 9989);
    EXPECT_EQ(clampCorner(9990), 9989);
    EXPECT_EQ(clampCorner(-9989), -9989);
    EXPECT_EQ(clampCorner(-9990), -9989);
    EXPECT_EQ(clampCorner(32767), 9989);
    EXPECT_EQ(clampCorner(32768), 9989);
    EXPECT_EQ(clampCorner(-32768), -9989);
    EXPECT_EQ(clampCorner(-32769), -9989);
    EXPECT_EQ(clampCorner(std::numeric_limits<std::int64_t>::max()), 9989);
    EXPECT_EQ(clampCorner(std::numeric_limits<std::int64_t>::min()), -9989);
}

TEST(CellOccupancy, CellKeysAreFortyEightBitsAndTellSignsAndAxesApart) {
    EXPECT_EQ(cellKey(1, 2, 3), 0x000100020003ULL);
    EXPECT_EQ(cellKey(-1, -1, -1), 0xFFFFFFFFFFFFULL);
    EXPECT_EQ(cellKey(-32768, 0, 32767), 0x800000007FFFULL);
    const std::vector<std::uint64_t> keys{cellKey(-1, 0, 0), cellKey(0, -1, 0), cellKey(0, 0, -1),
                                          cellKey(1, 0, 0),  cellKey(0, 1, 0),  cellKey(0, 0, 1)};
    CellSet set;
    for (const std::uint64_t key : keys) EXPECT_TRUE(set.insert(key));
    EXPECT_EQ(set.size(), keys.size());
}

TEST(CellOccupancy, TheCellSetKeepsEveryKeyOnceThroughItsGrowth) {
    CellSet set;  // starts small: grows many times on the way
    std::int64_t added = 0;
    for (int x = -50; x < 50; ++x) {
        for (int y = -50; y < 50; ++y) {
            for (int z = 0; z < 20; ++z) {
                added += set.insert(
                    cellKey(static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), static_cast<std::int16_t>(z)));
            }
        }
    }
    EXPECT_EQ(added, 200000);
    EXPECT_EQ(set.size(), 200000U);
    EXPECT_FALSE(set.insert(cellKey(-50, 49, 19)));
    EXPECT_TRUE(set.contains(cellKey(0, 0, 0)));
    EXPECT_FALSE(set.contains(cellKey(0, 0, 20)));
    EXPECT_FALSE(set.contains(cellKey(50, 0, 0)));
    EXPECT_EQ(set.size(), 200000U);
}

TEST(CellOccupancy, OccupiedCellsInABlockCountEachCellOnceWithinItsEdges) {
    // (1,0,0) already holds two systems: one cell.
    const std::string base = sectorAt("block", {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {4, 4, 0}, {-3, 0, 0}, {5, 0, 2}});
    EXPECT_EQ(OccupiedCells(base).size(), 5U);
    EXPECT_EQ(OccupiedCellsInBlock(base, 0, 0, 0, 5, 1), 3);
    EXPECT_EQ(OccupiedCellsInBlock(base, 0, 0, 0, 4, 1), 2) << "x and y stop at corner + edge - 1";
    EXPECT_EQ(OccupiedCellsInBlock(base, 0, 0, 0, 6, 2), 3) << "z stops at corner + depth - 1";
    EXPECT_EQ(OccupiedCellsInBlock(base, 0, 0, 0, 6, 3), 4);
    EXPECT_EQ(OccupiedCellsInBlock(base, -3, 0, 0, 1, 1), 1);
    EXPECT_EQ(OccupiedCellsInBlock(base, 6, 0, 0, 10, 10), 0);
    EXPECT_EQ(OccupiedCellsInBlock(base, 0, 0, 0, 0, 1), 0) << "an empty block";
    EXPECT_EQ(OccupiedCellsInBlock(base + "-none", 0, 0, 0, 5, 1), 0) << "no sector yet";
}

TEST(CellOccupancy, ABlockBeyondTheLimitIsCountedWhereTheLoopWouldPutIt) {
    const std::string base =
        sectorAt("edges", {{9989, -9989, 9989}, {10188, -9790, 9989}, {10189, -9989, 9989}, {-9990, 0, 0}});
    EXPECT_EQ(OccupiedCellsInBlock(base, 32767, -32768, 20000, 1, 1), 1);
    // The largest block from the clamped corner reaches 10188 but not 10189.
    EXPECT_EQ(OccupiedCellsInBlock(base, 32768, -32768, 9989, 200, 1), 2);
    // Nothing below the clamped corner counts, though a system is there.
    EXPECT_EQ(OccupiedCellsInBlock(base, -32768, 0, 0, 1, 1), 0);
}

TEST(CellOccupancy, AMergeCountsEveryAddedSystemOverAHeldCell) {
    const std::string main = sectorAt("main", {{0, 0, 0}, {2, 0, 0}, {2, 0, 0}});
    // Two added systems share (0,0,0): both land on it.
    const std::string added = sectorAt("added", {{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 0, 1}});
    EXPECT_EQ(DoubledCellsOnMerge(main, added), 3);
    EXPECT_EQ(DoubledCellsOnMerge(added, main), 3);
    const std::string apart = sectorAt("apart", {{-1, -1, -1}, {0, 0, 2}});
    EXPECT_EQ(DoubledCellsOnMerge(main, apart), 0);
    EXPECT_THROW(DoubledCellsOnMerge(main, main + "-none"), MissingError);
    EXPECT_THROW(DoubledCellsOnMerge(main + "-none", added), MissingError);
}

TEST(CellOccupancy, DoubledCellsListTheirSystemsInFileOrderAndSkipATornTail) {
    const std::string base =
        sectorAt("doubled", {{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {2, 2, 2}, {1, 0, 0}, {0, 0, 0}, {-1, 0, 0}});
    // Half a system record standing on (-1,0,0) again: not a system.
    writeFileBytes(base + ".sun", fileBytes(base + ".sun") + fileBytes(base + ".sun").substr(6 * 196, 170));
    const std::vector<DoubledCell> doubled = DoubledCells(base);
    ASSERT_EQ(doubled.size(), 2U);
    EXPECT_EQ(doubled[0].cell.x, 0);
    EXPECT_EQ(doubled[0].systemIds, (std::vector<std::int64_t>{0, 2, 5}));
    EXPECT_EQ(doubled[1].cell.x, 1);
    EXPECT_EQ(doubled[1].systemIds, (std::vector<std::int64_t>{1, 4}));
    EXPECT_TRUE(DoubledCells(sectorAt("single", {{0, 0, 0}, {0, 0, 1}, {0, 1, 0}})).empty());
    EXPECT_TRUE(DoubledCells(sectorAt("empty", {})).empty());
    EXPECT_THROW(DoubledCells(base + "-none"), MissingError);
}

}  // namespace
}  // namespace orrimar

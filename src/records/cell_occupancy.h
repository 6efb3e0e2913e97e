// Which one-parsec cells of a sector hold systems. The sector loop puts at
// most one system in a cell, but a block appended over an earlier one, or a
// merge of two sectors covering the same space, can put a second system in
// a cell: two systems at one place, which maps, routes and distances cannot
// tell apart. These are the counts a front end asks about before such a
// run, and that the checker reports after one.
//
// Only whole system records are read: a torn tail is the repair's business.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orrimar {

// The first corner of a block stays within this distance of the origin on
// every axis, so that the cells of the largest block keep to their 16-bit
// fields.
inline constexpr std::int16_t kCornerLimit = 9989;

// A first corner as the sector loop uses it: clamped to -9989..9989.
std::int16_t clampCorner(std::int64_t value);

// A cell packed in 48 bits, x in the high 16, then y, then z, each as its
// 16-bit two's complement: every cell has one key and no two share one.
std::uint64_t cellKey(std::int16_t x, std::int16_t y, std::int16_t z);

struct SectorCell {
    std::int16_t x = 0;  // parsecs
    std::int16_t y = 0;
    std::int16_t z = 0;
};

// A set of cell keys, open-addressed: a million cells go in and out in a
// few tens of milliseconds, where a node per key would take many times that.
class CellSet {
public:
    explicit CellSet(std::size_t expected = 0);
    // False when the cell was already in.
    bool insert(std::uint64_t key);
    bool contains(std::uint64_t key) const;
    std::size_t size() const { return size_; }

private:
    std::size_t slotOf(std::uint64_t key) const;
    void grow();

    std::vector<std::uint64_t> slots_;
    std::size_t size_ = 0;
};

// The cell of every whole system of the sector, by system id. MissingError
// when no sector is at `baseName`.
std::vector<SectorCell> SystemCells(const std::string& baseName);

// The cells of the sector that hold at least one system.
CellSet OccupiedCells(const std::string& baseName);

// How many cells of the block a create or append would fill already hold a
// system: the block of `edge` x `edge` x `depth` cells from the corner
// (x0, y0, z0), clamped as the loop clamps it. 0 when no sector is at
// `baseName` yet (appending starts one) or the block is empty.
std::int64_t OccupiedCellsInBlock(const std::string& baseName, std::int64_t x0, std::int64_t y0, std::int64_t z0,
                                  std::int64_t edge, std::int64_t depth);

// How many systems of the added sector would land in a cell the main
// sector already holds. MissingError when either sector is missing.
std::int64_t DoubledCellsOnMerge(const std::string& mainBase, const std::string& addedBase);

// A cell holding two or more systems, and their ids in file order.
struct DoubledCell {
    SectorCell cell;
    std::vector<std::int64_t> systemIds;
};

// Every cell of the sector holding two or more systems, in the order of
// each cell's first system. MissingError when no sector is at `baseName`.
std::vector<DoubledCell> DoubledCells(const std::string& baseName);

}  // namespace orrimar

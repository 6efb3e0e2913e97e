#include "records/cell_occupancy.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

#include "records/record_file.h"
#include "records/record_reader.h"
#include "records/sector_base.h"
#include "records/sector_files.h"

namespace orrimar {

namespace {

// No cell key has bits above 48 set: the empty slot cannot be a cell.
constexpr std::uint64_t kEmptySlot = ~std::uint64_t{0};

std::uint64_t keyOf(const SectorCell& cell) { return cellKey(cell.x, cell.y, cell.z); }

}  // namespace

std::int16_t clampCorner(std::int64_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, -kCornerLimit, kCornerLimit));
}

std::uint64_t cellKey(std::int16_t x, std::int16_t y, std::int16_t z) {
    return (std::uint64_t{static_cast<std::uint16_t>(x)} << 32) | (std::uint64_t{static_cast<std::uint16_t>(y)} << 16) |
           std::uint64_t{static_cast<std::uint16_t>(z)};
}

// ------------------------------------------------------------ CellSet

CellSet::CellSet(std::size_t expected) {
    // At most half full, so that probes stay short.
    slots_.assign(std::bit_ceil(std::max<std::size_t>(16, 2 * expected)), kEmptySlot);
}

std::size_t CellSet::slotOf(std::uint64_t key) const {
    // Neighbouring cells differ in their low bits only; the multiply spreads
    // them over the product's high bits, which pick the slot.
    const std::size_t mask = slots_.size() - 1;
    const int shift = 64 - std::countr_zero(slots_.size());
    std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> shift);
    while (slots_[slot] != kEmptySlot && slots_[slot] != key) slot = (slot + 1) & mask;
    return slot;
}

void CellSet::grow() {
    std::vector<std::uint64_t> old(slots_.size() * 2, kEmptySlot);
    old.swap(slots_);
    for (const std::uint64_t key : old) {
        if (key != kEmptySlot) slots_[slotOf(key)] = key;
    }
}

bool CellSet::insert(std::uint64_t key) {
    if (2 * (size_ + 1) > slots_.size()) grow();
    const std::size_t slot = slotOf(key);
    if (slots_[slot] == key) return false;
    slots_[slot] = key;
    ++size_;
    return true;
}

bool CellSet::contains(std::uint64_t key) const { return slots_[slotOf(key)] == key; }

// ------------------------------------------------------------- sectors

std::vector<SectorCell> SystemCells(const std::string& baseName) {
    requireSector(baseName);
    RecordReader<TSystemRec> systems(sectorPath(baseName, ".sun"));
    std::vector<SectorCell> cells;
    cells.reserve(static_cast<std::size_t>(systems.count()));
    systems.forEach([&cells](std::int64_t, const TSystemRec& system) {
        cells.push_back(SectorCell{system.x, system.y, system.z});
    });
    return cells;
}

CellSet OccupiedCells(const std::string& baseName) {
    const std::vector<SectorCell> cells = SystemCells(baseName);
    CellSet set(cells.size());
    for (const SectorCell& cell : cells) set.insert(keyOf(cell));
    return set;
}

std::int64_t OccupiedCellsInBlock(const std::string& baseName, std::int64_t x0, std::int64_t y0, std::int64_t z0,
                                  std::int64_t edge, std::int64_t depth) {
    if (edge <= 0 || depth <= 0) return 0;
    if (recordCountOnDisk(sectorPath(baseName, ".sun"), sizeof(TSystemRec)) < 0) return 0;
    const std::int64_t lowest[3] = {clampCorner(x0), clampCorner(y0), clampCorner(z0)};
    const std::int64_t extent[3] = {edge, edge, depth};
    CellSet inBlock;
    for (const SectorCell& cell : SystemCells(baseName)) {
        const std::int64_t at[3] = {cell.x, cell.y, cell.z};
        bool inside = true;
        for (int axis = 0; axis < 3; ++axis) {
            inside = inside && at[axis] >= lowest[axis] && at[axis] < lowest[axis] + extent[axis];
        }
        if (inside) inBlock.insert(keyOf(cell));
    }
    return static_cast<std::int64_t>(inBlock.size());
}

std::int64_t DoubledCellsOnMerge(const std::string& mainBase, const std::string& addedBase) {
    requireSector(addedBase);
    const CellSet held = OccupiedCells(mainBase);
    std::int64_t doubled = 0;
    for (const SectorCell& cell : SystemCells(addedBase)) {
        if (held.contains(keyOf(cell))) ++doubled;
    }
    return doubled;
}

std::vector<DoubledCell> DoubledCells(const std::string& baseName) {
    const std::vector<SectorCell> cells = SystemCells(baseName);
    // First pass: the cells met a second time. Doubled cells are rare, so
    // only they get a list of ids in the second.
    CellSet seen(cells.size());
    CellSet doubled;
    for (const SectorCell& cell : cells) {
        if (!seen.insert(keyOf(cell))) doubled.insert(keyOf(cell));
    }
    std::vector<DoubledCell> result;
    if (doubled.size() == 0) return result;
    std::unordered_map<std::uint64_t, std::size_t> entryOf;
    for (std::size_t id = 0; id < cells.size(); ++id) {
        const std::uint64_t key = keyOf(cells[id]);
        if (!doubled.contains(key)) continue;
        const auto [entry, fresh] = entryOf.emplace(key, result.size());
        if (fresh) result.push_back(DoubledCell{cells[id], {}});
        result[entry->second].systemIds.push_back(static_cast<std::int64_t>(id));
    }
    return result;
}

}  // namespace orrimar

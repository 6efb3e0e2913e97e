#include "atlas/territory.h"

#include <algorithm>
#include <tuple>

namespace orrimar::atlas {

namespace {

// A cell's place in one 64-bit key, ordered by layer, then v, then u; each
// coordinate offset into 18 bits so that a neighbour of the outermost cell
// (int16 +- 1) still fits.
constexpr std::int64_t kOffset = 1 << 17;
constexpr int kBits = 18;

std::int64_t keyOf(int u, int v, int layer) {
    return ((static_cast<std::int64_t>(layer) + kOffset) << (2 * kBits)) |
           ((static_cast<std::int64_t>(v) + kOffset) << kBits) | (static_cast<std::int64_t>(u) + kOffset);
}

struct Claim {
    std::int64_t key = 0;
    std::uint16_t owner = 0;
    std::uint16_t weight = 0;
    int u = 0, v = 0, layer = 0;
};

int along(const SystemEntry& e, Axis axis) {
    switch (axis) {
        case Axis::X: return e.x;
        case Axis::Y: return e.y;
        case Axis::Z: return e.z;
    }
    return e.z;
}

// The two axes across `layer`, in x, y, z order.
std::pair<Axis, Axis> acrossOf(Axis layer) {
    switch (layer) {
        case Axis::X: return {Axis::Y, Axis::Z};
        case Axis::Y: return {Axis::X, Axis::Z};
        case Axis::Z: return {Axis::X, Axis::Y};
    }
    return {Axis::X, Axis::Y};
}

// Lookups in the grid's cells (ordered by key).
class CellIndex {
public:
    explicit CellIndex(const std::vector<HeldCell>& cells) {
        keys_.reserve(cells.size());
        for (const HeldCell& c : cells) keys_.push_back({keyOf(c.u, c.v, c.layer), c.owner});
    }
    // The holder of a cell; kNoRace when no one holds it.
    std::uint16_t holder(int u, int v, int layer) const {
        const std::int64_t key = keyOf(u, v, layer);
        const auto it = std::lower_bound(
            keys_.begin(), keys_.end(), key,
            [](const std::pair<std::int64_t, std::uint16_t>& k, std::int64_t wanted) { return k.first < wanted; });
        return it != keys_.end() && it->first == key ? it->second : kNoRace;
    }

private:
    std::vector<std::pair<std::int64_t, std::uint16_t>> keys_;
};

// A stretch of border in eighths of a parsec on the grid: along u (a side
// at the bottom or top of a row) or along v, at `fixed` across, from
// `start` to `end`.
struct Stretch {
    int layer = 0;
    bool alongU = true;
    std::uint16_t owner = 0;
    int fixed = 0;
    int start = 0;
    int end = 0;
};

constexpr int kEighths = 8;
constexpr int kHalf = kEighths / 2;
constexpr int kInset = static_cast<int>(kBorderInset * kEighths);

}  // namespace

TerritoryGrid territoryGrid(const AtlasModel& model, View view, const Slab& slab) {
    TerritoryGrid grid;
    grid.flattened = view != View::Cube;
    grid.layerAxis = grid.flattened ? depthAxis(view) : (slab.enabled ? slab.axis : Axis::Z);
    std::tie(grid.uAxis, grid.vAxis) = acrossOf(grid.layerAxis);
    const SettledLayer& settled = model.settled();
    if (!settled.hasControl()) return grid;

    // Every system's claims: its own cell, then its six face neighbours.
    constexpr std::array<std::array<int, 3>, 7> kReach = {{
        {0, 0, 0},
        {-1, 0, 0},
        {1, 0, 0},
        {0, -1, 0},
        {0, 1, 0},
        {0, 0, -1},
        {0, 0, 1},
    }};
    std::vector<Claim> claims;
    for (SystemId id = 0; id < model.size(); ++id) {
        const std::uint16_t owner = settled.owner(id);
        if (owner == kNoRace) continue;
        const SystemEntry& e = model.entry(id);
        if (!slab.contains(e)) continue;
        const int u = along(e, grid.uAxis), v = along(e, grid.vAxis), layer = along(e, grid.layerAxis);
        const int slabAt = along(e, slab.axis);
        for (std::size_t r = 0; r < kReach.size(); ++r) {
            const auto& step = kReach[r];
            // A claim across the slab's edge is a cell the slab does not show.
            if (slab.enabled) {
                const int stepOnSlabAxis =
                    slab.axis == grid.uAxis ? step[0] : (slab.axis == grid.vAxis ? step[1] : step[2]);
                const int at = slabAt + stepOnSlabAxis;
                if (at < slab.from || at > slab.to) continue;
            }
            Claim c;
            c.owner = owner;
            c.weight = static_cast<std::uint16_t>(r == 0 ? kOwnCellWeight : 1);
            c.u = u + step[0];
            c.v = v + step[1];
            c.layer = grid.flattened ? 0 : layer + step[2];
            c.key = keyOf(c.u, c.v, c.layer);
            claims.push_back(c);
        }
    }
    std::sort(claims.begin(), claims.end(),
              [](const Claim& a, const Claim& b) { return a.key != b.key ? a.key < b.key : a.owner < b.owner; });
    // Each cell to the heaviest claim; owners come in ascending order, so
    // a strictly heavier one is needed to take a cell from a lower id.
    for (std::size_t i = 0; i < claims.size();) {
        std::uint16_t best = kNoRace;
        std::uint32_t bestWeight = 0;
        std::size_t j = i;
        while (j < claims.size() && claims[j].key == claims[i].key) {
            const std::uint16_t owner = claims[j].owner;
            std::uint32_t weight = 0;
            for (; j < claims.size() && claims[j].key == claims[i].key && claims[j].owner == owner; ++j)
                weight += claims[j].weight;
            if (weight > bestWeight) {
                best = owner;
                bestWeight = weight;
            }
        }
        grid.cells.push_back(HeldCell{claims[i].u, claims[i].v, claims[i].layer, best});
        i = j;
    }
    return grid;
}

std::vector<BorderLine> territoryBorders(const TerritoryGrid& grid, double flatDepth) {
    const CellIndex index(grid.cells);
    std::vector<Stretch> stretches;
    for (const HeldCell& c : grid.cells) {
        const std::uint16_t me = c.owner;
        auto mine = [&](int du, int dv) { return index.holder(c.u + du, c.v + dv, c.layer) == me; };
        const int u8 = c.u * kEighths, v8 = c.v * kEighths;
        // One end of a side: at a corner going out (the next cell along is
        // not ours) the line turns inside the cell; along a straight run it
        // meets the next cell's line at the cells' edge; at a corner going
        // in (next ours, the one diagonally beyond ours too) it reaches
        // across to meet the line coming round that cell.
        auto end = [&](bool nextMine, bool diagonalMine, int edge, int sign) {
            if (!nextMine) return edge - sign * kInset;
            return diagonalMine ? edge + sign * kInset : edge;
        };
        // Sides along u (below: v - 1/2, above: v + 1/2), then along v.
        for (const int side : {-1, 1}) {
            if (!mine(0, side)) {
                Stretch s{c.layer, true, me, v8 + side * (kHalf - kInset), 0, 0};
                s.start = end(mine(-1, 0), mine(-1, side), u8 - kHalf, -1);
                s.end = end(mine(1, 0), mine(1, side), u8 + kHalf, 1);
                stretches.push_back(s);
            }
            if (!mine(side, 0)) {
                Stretch s{c.layer, false, me, u8 + side * (kHalf - kInset), 0, 0};
                s.start = end(mine(0, -1), mine(side, -1), v8 - kHalf, -1);
                s.end = end(mine(0, 1), mine(side, 1), v8 + kHalf, 1);
                stretches.push_back(s);
            }
        }
    }
    // Join the stretches that run on into one line each.
    std::sort(stretches.begin(), stretches.end(), [](const Stretch& a, const Stretch& b) {
        return std::tie(a.layer, a.alongU, a.owner, a.fixed, a.start) <
               std::tie(b.layer, b.alongU, b.owner, b.fixed, b.start);
    });
    std::vector<BorderLine> lines;
    auto world = [&](bool alongU, int layer, int fixed, int at) {
        std::array<float, 3> p{};
        const float u = static_cast<float>(alongU ? at : fixed) / kEighths;
        const float v = static_cast<float>(alongU ? fixed : at) / kEighths;
        p[static_cast<std::size_t>(grid.uAxis)] = u;
        p[static_cast<std::size_t>(grid.vAxis)] = v;
        p[static_cast<std::size_t>(grid.layerAxis)] =
            grid.flattened ? static_cast<float>(flatDepth) : static_cast<float>(layer);
        return p;
    };
    for (std::size_t i = 0; i < stretches.size();) {
        Stretch run = stretches[i];
        std::size_t j = i + 1;
        for (; j < stretches.size(); ++j) {
            const Stretch& next = stretches[j];
            if (next.layer != run.layer || next.alongU != run.alongU || next.owner != run.owner ||
                next.fixed != run.fixed || next.start > run.end) {
                break;
            }
            run.end = std::max(run.end, next.end);
        }
        lines.push_back(BorderLine{world(run.alongU, run.layer, run.fixed, run.start),
                                   world(run.alongU, run.layer, run.fixed, run.end), run.owner});
        i = j;
    }
    return lines;
}

std::vector<BorderLine> territoryBorders(const AtlasModel& model, View view, const Slab& slab) {
    const Bounds& b = model.bounds();
    const TerritoryGrid grid = territoryGrid(model, view, slab);
    const auto layer = static_cast<std::size_t>(grid.layerAxis);
    return territoryBorders(grid, (b.min[layer] + b.max[layer]) / 2.0);
}

}  // namespace orrimar::atlas

// The territories of settled space as the map draws them: the cells each
// controlling race holds and the borders round them.
//
// A race holds the cells within 1 parsec of the systems it controls: the
// system's own cell and its six face neighbours. Where claims meet, a cell
// goes to the race with the most weight in it, a system's own cell weighing
// kOwnCellWeight and a neighbour's claim 1 (so a system's cell is always
// its controller's); equal weights go to the lower race id. The border runs
// along the sides between cells of different holders (or none), drawn
// kBorderInset inside each holder's cells so that two touching empires show
// two lines side by side, each in its own colour.
//
// Only the systems the slab keeps count, and only cells inside the slab.
// The cube draws the border of every layer across the slab's axis (z
// unless the slab says otherwise) as a contour at that layer's height; a
// flat view looks along its depth axis, so the cells of each column are
// added up (the same weights, summed over the slab's depth) and one outline
// is drawn per column set.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "atlas/atlas_model.h"
#include "atlas/camera.h"

namespace orrimar::atlas {

inline constexpr int kOwnCellWeight = 8;
inline constexpr double kBorderInset = 0.125;  // parsecs

// One straight stretch of a border, in world coordinates (parsecs; cell
// centres are whole numbers), with the race whose cells it closes.
struct BorderLine {
    std::array<float, 3> from{};
    std::array<float, 3> to{};
    std::uint16_t owner = 0;
};

// A held cell of the flat or layered grid the borders are drawn on: (u, v)
// across the view, `layer` along the layer axis (0 in a flat view).
struct HeldCell {
    int u = 0, v = 0, layer = 0;
    std::uint16_t owner = 0;
};

struct TerritoryGrid {
    Axis uAxis = Axis::X;  // the grid's axes in the world
    Axis vAxis = Axis::Y;
    Axis layerAxis = Axis::Z;  // across the grid: layers in the cube, collapsed in a flat view
    bool flattened = false;
    std::vector<HeldCell> cells;  // ordered by layer, v, u
};

// The held cells as `view` sees them through `slab`.
TerritoryGrid territoryGrid(const AtlasModel& model, View view, const Slab& slab);

// The borders of the grid: straight stretches, each side of a cell that
// meets another holder's (or no one's) cell, joined where they run on. A
// flat grid's lines lie at `flatDepth` along the layer axis.
std::vector<BorderLine> territoryBorders(const TerritoryGrid& grid, double flatDepth = 0.0);

// Both at once: what the map asks for.
std::vector<BorderLine> territoryBorders(const AtlasModel& model, View view, const Slab& slab);

}  // namespace orrimar::atlas

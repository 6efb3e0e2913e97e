// Territories: the cells each race holds and the borders drawn round them,
// on shapes whose outlines are known by hand.
#include <gtest/gtest.h>

#include <algorithm>

#include "atlas/territory.h"
#include "atlas_fixture.h"

namespace orrimar::atlas {
namespace {

using atlastest::modelOf;

// A model of the given cells, each controlled by the race beside it.
AtlasModel settledModel(const std::vector<std::pair<std::array<int, 3>, std::uint16_t>>& systems) {
    std::vector<std::array<int, 3>> cells;
    SettledLayer::Parts parts;
    for (std::size_t i = 0; i < systems.size(); ++i) {
        cells.push_back(systems[i].first);
        parts.controls.push_back(TConRec{static_cast<std::int32_t>(i), systems[i].second});
    }
    AtlasModel model = modelOf(cells);
    std::vector<std::string> warnings;
    model.setSettled(SettledLayer::build(
        std::move(parts), model.size(), [](std::uint16_t) { return std::string(); }, warnings));
    EXPECT_TRUE(warnings.empty());
    return model;
}

Slab slabOf(Axis axis, int from, int to) { return Slab{true, axis, from, to}; }

std::uint16_t holderAt(const TerritoryGrid& grid, int u, int v, int layer = 0) {
    for (const HeldCell& c : grid.cells) {
        if (c.u == u && c.v == v && c.layer == layer) return c.owner;
    }
    return kNoRace;
}

bool hasLine(const std::vector<BorderLine>& lines, std::uint16_t owner, std::array<float, 3> from,
             std::array<float, 3> to) {
    return std::any_of(lines.begin(), lines.end(), [&](const BorderLine& l) {
        return l.owner == owner && ((l.from == from && l.to == to) || (l.from == to && l.to == from));
    });
}

TEST(Territory, OneSystemFromAboveHoldsAPlusOfFiveCellsOutlinedByTwelveSides) {
    const AtlasModel model = settledModel({{{0, 0, 0}, 4}});
    const TerritoryGrid grid = territoryGrid(model, View::Top, Slab{});
    EXPECT_EQ(grid.cells.size(), 5U);
    EXPECT_EQ(holderAt(grid, 0, 0), 4);
    EXPECT_EQ(holderAt(grid, 1, 0), 4);
    EXPECT_EQ(holderAt(grid, 1, 1), kNoRace);
    const auto lines = territoryBorders(model, View::Top, Slab{});
    ASSERT_EQ(lines.size(), 12U);
    // The right arm's far side, inset an eighth of a parsec, closing the
    // arm's top and bottom sides at their turns.
    EXPECT_TRUE(hasLine(lines, 4, {1.375F, -0.375F, 0.0F}, {1.375F, 0.375F, 0.0F}));
    // The arm's top side reaches across the turn into the centre column,
    // to meet the column's side there.
    EXPECT_TRUE(hasLine(lines, 4, {0.375F, 0.375F, 0.0F}, {1.375F, 0.375F, 0.0F}));
    EXPECT_TRUE(hasLine(lines, 4, {0.375F, 0.375F, 0.0F}, {0.375F, 1.375F, 0.0F}));
    for (const BorderLine& l : lines) {
        EXPECT_LE(std::max({std::abs(l.from[0]), std::abs(l.from[1]), std::abs(l.to[0]), std::abs(l.to[1])}), 1.375F);
    }
}

TEST(Territory, TheCubeDrawsALayerAboveAndBelowAsSquares) {
    const AtlasModel model = settledModel({{{0, 0, 0}, 4}});
    const auto lines = territoryBorders(model, View::Cube, Slab{});
    ASSERT_EQ(lines.size(), 12U + 4U + 4U);
    EXPECT_TRUE(hasLine(lines, 4, {-0.375F, -0.375F, 1.0F}, {0.375F, -0.375F, 1.0F}));
    EXPECT_TRUE(hasLine(lines, 4, {-0.375F, 0.375F, -1.0F}, {0.375F, 0.375F, -1.0F}));
}

TEST(Territory, RunsOfOneOwnerJoinIntoOneLine) {
    const AtlasModel model = settledModel({{{0, 0, 0}, 1}, {{1, 0, 0}, 1}});
    const auto lines = territoryBorders(model, View::Top, Slab{});
    // Below the pair: the two cells under them, one line across both.
    EXPECT_TRUE(hasLine(lines, 1, {-0.375F, -1.375F, 0.0F}, {1.375F, -1.375F, 0.0F}));
    // A row of four with two cells above and below the middle: 12 sides.
    EXPECT_EQ(lines.size(), 12U);
}

TEST(Territory, TwoTouchingEmpiresEachDrawTheirSideOfTheSeam) {
    const AtlasModel model = settledModel({{{0, 0, 0}, 1}, {{1, 0, 0}, 2}});
    const TerritoryGrid grid = territoryGrid(model, View::Top, Slab{});
    // Each system's own cell is its controller's, though the other claims it.
    EXPECT_EQ(holderAt(grid, 0, 0), 1);
    EXPECT_EQ(holderAt(grid, 1, 0), 2);
    EXPECT_EQ(holderAt(grid, 0, 1), 1);
    EXPECT_EQ(holderAt(grid, 1, 1), 2);
    const auto lines = territoryBorders(model, View::Top, Slab{});
    EXPECT_TRUE(hasLine(lines, 1, {0.375F, -0.375F, 0.0F}, {0.375F, 0.375F, 0.0F}) ||
                std::any_of(lines.begin(), lines.end(), [](const BorderLine& l) {
                    return l.owner == 1 && l.from[0] == 0.375F && l.to[0] == 0.375F;
                }));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const BorderLine& l) {
        return l.owner == 2 && l.from[0] == 0.625F && l.to[0] == 0.625F;
    }));
    EXPECT_FALSE(std::any_of(lines.begin(), lines.end(),
                             [](const BorderLine& l) { return l.from[0] == 0.5F && l.to[0] == 0.5F; }));
}

TEST(Territory, AnEvenClaimGoesToTheLowerRaceAndMoreWeightWins) {
    // Cell (1, 0) lies between a race-3 and a race-1 system: 1 each.
    const AtlasModel even = settledModel({{{0, 0, 0}, 3}, {{2, 0, 0}, 1}});
    EXPECT_EQ(holderAt(territoryGrid(even, View::Cube, Slab{}), 1, 0, 0), 1);
    // From above, race 3's second system in the column (0, 0) adds to its
    // weight there; its neighbour claim on (1, 0) still ties with race 1's.
    const AtlasModel stacked = settledModel({{{0, 0, 0}, 3}, {{0, 0, 5}, 3}, {{2, 0, 0}, 1}, {{1, 1, 0}, 3}});
    const TerritoryGrid top = territoryGrid(stacked, View::Top, Slab{});
    EXPECT_EQ(holderAt(top, 1, 0), 3);  // 1 + 1 + 1 from race 3 against 1 from race 1
    EXPECT_EQ(holderAt(top, 2, 0), 1);
}

TEST(Territory, ASlabKeepsOnlyItsSystemsAndCutsTheirClaimsAtItsFaces) {
    const AtlasModel model = settledModel({{{0, 0, 5}, 2}, {{10, 0, 7}, 3}});
    const auto lines = territoryBorders(model, View::Cube, slabOf(Axis::Z, 5, 5));
    ASSERT_EQ(lines.size(), 12U);  // the plus of layer 5 alone
    for (const BorderLine& l : lines) {
        EXPECT_EQ(l.owner, 2);
        EXPECT_EQ(l.from[2], 5.0F);
    }
    EXPECT_TRUE(territoryBorders(model, View::Top, slabOf(Axis::Z, 0, 4)).empty());
    // Layers 4..6 show system 0's layer 4 and 6 squares as well; system 1
    // at z 7 stays out, though its claim on layer 6 lies inside.
    EXPECT_EQ(territoryBorders(model, View::Cube, slabOf(Axis::Z, 4, 6)).size(), 12U + 4U + 4U);
}

TEST(Territory, AFlatViewCollapsesItsDepthAxisAndDrawsAtTheGivenDepth) {
    const AtlasModel model = settledModel({{{0, 0, 0}, 6}, {{0, 5, 0}, 6}});
    const TerritoryGrid front = territoryGrid(model, View::Front, Slab{});
    EXPECT_EQ(front.layerAxis, Axis::Y);
    EXPECT_EQ(front.cells.size(), 5U);  // both systems in one column
    const auto lines = territoryBorders(front, 2.5);
    ASSERT_EQ(lines.size(), 12U);
    for (const BorderLine& l : lines) EXPECT_EQ(l.from[1], 2.5F);
    // Nothing controlled, nothing drawn.
    EXPECT_TRUE(territoryBorders(modelOf({{0, 0, 0}}), View::Top, Slab{}).empty());
}

}  // namespace
}  // namespace orrimar::atlas

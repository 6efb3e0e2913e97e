#include <gtest/gtest.h>

#include <random>

#include "atlas_fixture.h"

#include "atlas/labels.h"

namespace orrimar::atlas {
namespace {

TEST(AtlasLabels, PlacedLabelsNeverOverlapAndStayInside) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> x(-20, 420), y(-20, 320);
    std::vector<LabelCandidate> candidates;
    for (int i = 0; i < 600; ++i) candidates.push_back({i, x(rng), y(rng), i % 7});
    LabelOptions o;
    o.width = 400;
    o.height = 300;
    const auto placed = placeLabels(
        candidates,
        [](SystemId id) {
            return LabelSize{30.0 + id % 40, 12};
        },
        o);
    ASSERT_GT(placed.size(), 20U);
    ASSERT_LT(placed.size(), 600U);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const LabelRect& a = placed[i].box;
        EXPECT_GE(a.left, 0);
        EXPECT_GE(a.top, 0);
        EXPECT_LE(a.left + a.width, 400);
        EXPECT_LE(a.top + a.height, 300);
        for (std::size_t j = i + 1; j < placed.size(); ++j) ASSERT_FALSE(a.overlaps(placed[j].box)) << i << " " << j;
        // No label covers the dot of another labelled system.
        for (const PlacedLabel& other : placed) {
            if (other.id == placed[i].id) continue;
            const LabelCandidate& c = candidates[static_cast<std::size_t>(other.id)];
            EXPECT_FALSE(a.overlaps({c.x - o.dotRadius, c.y - o.dotRadius, 2 * o.dotRadius, 2 * o.dotRadius}));
        }
    }
}

TEST(AtlasLabels, HigherPriorityWinsAContestedPlace) {
    // Two dots so close that only one label fits between the walls.
    std::vector<LabelCandidate> c = {{1, 50, 10, 0}, {2, 52, 12, 5}};
    LabelOptions o;
    o.width = 100;
    o.height = 24;
    auto placed = placeLabels(
        c,
        [](SystemId) {
            return LabelSize{40, 10};
        },
        o);
    ASSERT_EQ(placed.size(), 1U);
    EXPECT_EQ(placed[0].id, 2);
    // Equal priority: the lower id.
    c[1].priority = 0;
    placed = placeLabels(
        c,
        [](SystemId) {
            return LabelSize{40, 10};
        },
        o);
    ASSERT_EQ(placed.size(), 1U);
    EXPECT_EQ(placed[0].id, 1);
    // A nameless system gets no label and takes no room.
    placed = placeLabels(
        c,
        [](SystemId id) {
            return id == 1 ? LabelSize{} : LabelSize{40, 10};
        },
        o);
    ASSERT_EQ(placed.size(), 1U);
    EXPECT_EQ(placed[0].id, 2);
}

TEST(AtlasLabels, PlaceBesideTakesTheFirstFreeSideOrNone) {
    LabelOptions o;  // gap 4, dot radius 3
    o.width = 100;
    o.height = 60;
    const LabelSize size{20, 10};
    // Nothing taken: right of the point, 7 pixels off, centred on it.
    auto box = placeBeside(50, 30, size, {}, o);
    ASSERT_TRUE(box.has_value());
    EXPECT_DOUBLE_EQ(box->left, 57);
    EXPECT_DOUBLE_EQ(box->top, 25);
    // The right taken: left; both taken: above; three taken: below.
    std::vector<LabelRect> taken = {{57, 25, 20, 10}};
    box = placeBeside(50, 30, size, taken, o);
    ASSERT_TRUE(box.has_value());
    EXPECT_DOUBLE_EQ(box->left, 23);
    taken.push_back({23, 25, 20, 10});
    box = placeBeside(50, 30, size, taken, o);
    ASSERT_TRUE(box.has_value());
    EXPECT_DOUBLE_EQ(box->top, 13);
    taken.push_back({40, 13, 20, 10});
    box = placeBeside(50, 30, size, taken, o);
    ASSERT_TRUE(box.has_value());
    EXPECT_DOUBLE_EQ(box->top, 37);
    taken.push_back({40, 37, 20, 10});
    EXPECT_FALSE(placeBeside(50, 30, size, taken, o).has_value());
    // Boxes that only touch an edge do not overlap; the viewport's edge is a wall.
    EXPECT_TRUE(placeBeside(50, 30, size, {{77, 25, 5, 10}}, o).has_value());
    EXPECT_DOUBLE_EQ(placeBeside(95, 30, size, {}, o)->left, 68);  // no room on the right
    EXPECT_FALSE(placeBeside(50, 30, LabelSize{120, 10}, {}, o).has_value());
}

TEST(AtlasAggregate, SquaresCountEverySystemOnceWithTheCommonestKind) {
    std::vector<SystemEntry> entries(7);
    const std::uint8_t kinds[] = {5, 7, 7, 5, 7, 2, 9};
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i].starKind = kinds[i];
    const AtlasModel m = AtlasModel::fromEntries(entries);
    const std::vector<ProjectedSystem> p = {
        {0, 1, 1, 0, 1},     {1, 2, 3, 5, 1},  {2, 9.9F, 9.9F, -1, 1},  // square (0, 0)
        {3, 10, 0, 0, 1},    {4, 15, 5, 0, 1},                          // square (1, 0)
        {5, 5, 25, 2, 1},                                               // square (0, 2)
        {6, 500, 500, 9, 1},                                            // off screen
    };
    const auto marks = aggregate(p, m, 10, 100, 100);
    ASSERT_EQ(marks.size(), 3U);
    EXPECT_EQ(marks[0].count, 3U);
    EXPECT_EQ(marks[0].dominantKind, 7);
    EXPECT_EQ(marks[0].nearest, 1);
    EXPECT_NEAR(marks[0].x, (1 + 2 + 9.9) / 3, 1e-5);
    EXPECT_EQ(marks[1].count, 2U);
    EXPECT_EQ(marks[1].dominantKind, 5);  // a tie: the lower kind
    EXPECT_EQ(marks[1].nearest, 3);       // equal depth: the lower id
    EXPECT_EQ(marks[2].count, 1U);
    EXPECT_EQ(marks[2].x, 5);
    EXPECT_EQ(marks[2].nearest, 5);
}

}  // namespace
}  // namespace orrimar::atlas

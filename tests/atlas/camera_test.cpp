#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "atlas_fixture.h"

#include "atlas/camera.h"

namespace orrimar::atlas {
namespace {

using atlastest::modelOf;

std::vector<Camera> everyView(const Bounds& bounds) {
    std::vector<Camera> cams;
    for (const View v : {View::Top, View::Front, View::Side, View::Cube}) {
        for (const Projection p : {Projection::Perspective, Projection::Parallel}) {
            Camera c;
            c.view = v;
            c.projection = p;
            c.width = 640;
            c.height = 480;
            c.fit(bounds);
            cams.push_back(c);
            if (v != View::Cube) break;
        }
    }
    // The cube after turning: several drags, one past straight down.
    Camera turned = cams.back();
    for (const auto& [dx, dy] : std::vector<std::pair<double, double>>{{120, 40}, {-300, 10}, {45, 200}, {10, -400}}) {
        turned.turn(dx, dy);
        cams.push_back(turned);
    }
    // Zoomed in on a point and panned.
    Camera zoomed = cams[0];
    zoomed.zoomAt(2.5, 100, 200);
    zoomed.panBy(-30, 12);
    cams.push_back(zoomed);
    return cams;
}

TEST(AtlasCamera, FlatViewsLookAlongTheirAxes) {
    Camera c;
    c.width = 200;
    c.height = 100;
    c.zoom = 10;
    c.view = View::Top;
    ScreenPoint p = project(c, {1, 2, 3});
    EXPECT_DOUBLE_EQ(p.x, 110);  // +x to the right
    EXPECT_DOUBLE_EQ(p.y, 30);   // +y up
    EXPECT_DOUBLE_EQ(p.depth, 3);
    c.view = View::Front;
    p = project(c, {1, 2, 3});
    EXPECT_DOUBLE_EQ(p.x, 110);
    EXPECT_DOUBLE_EQ(p.y, 20);      // +z up
    EXPECT_DOUBLE_EQ(p.depth, -2);  // nearer = lower y
    c.view = View::Side;
    p = project(c, {1, 2, 3});
    EXPECT_DOUBLE_EQ(p.x, 120);    // +y to the right
    EXPECT_DOUBLE_EQ(p.depth, 1);  // nearer = higher x
    EXPECT_EQ(depthAxis(View::Top), Axis::Z);
    EXPECT_EQ(depthAxis(View::Front), Axis::Y);
    EXPECT_EQ(depthAxis(View::Side), Axis::X);
    // The cube at yaw 0 and pitch 0 is the front view; at pitch pi/2 the top view.
    c.view = View::Cube;
    c.projection = Projection::Parallel;
    c.yaw = 0;
    c.pitch = 0;
    p = project(c, {1, 2, 3});
    EXPECT_NEAR(p.x, 110, 1e-9);
    EXPECT_NEAR(p.y, 20, 1e-9);
    c.pitch = std::numbers::pi / 2;
    p = project(c, {1, 2, 3});
    EXPECT_NEAR(p.y, 30, 1e-9);
    EXPECT_NEAR(p.depth, 3, 1e-9);
}

TEST(AtlasCamera, PerspectiveShrinksTheFarAndHidesWhatIsBehindTheEye) {
    Camera c;
    c.view = View::Cube;
    c.pitch = std::numbers::pi / 2;
    c.yaw = 0;
    c.eyeDistance = 20;
    const ScreenPoint nearP = project(c, {5, 0, 10});
    const ScreenPoint farP = project(c, {5, 0, -10});
    EXPECT_GT(nearP.scale, 1.0);
    EXPECT_LT(farP.scale, 1.0);
    EXPECT_GT(std::abs(nearP.x - 400), std::abs(farP.x - 400));
    EXPECT_FALSE(project(c, {0, 0, 25}).visible);
    EXPECT_EQ(depthFactor(c, Bounds{{-10, -10, -10}, {10, 10, 10}}, 100), 1.0);
    EXPECT_EQ(depthFactor(c, Bounds{{-10, -10, -10}, {10, 10, 10}}, -100), 0.0);
}

TEST(AtlasCamera, UnprojectInvertsProjectInEveryViewAndAfterTurning) {
    const Bounds bounds{{-12, -5, 0}, {20, 30, 9}};
    std::mt19937 rng(4);
    std::uniform_real_distribution<double> u(-10, 25);
    for (const Camera& c : everyView(bounds)) {
        for (int i = 0; i < 50; ++i) {
            const Vec3 w{u(rng), u(rng), u(rng) / 3};
            const ScreenPoint s = project(c, w);
            if (s.scale <= 0) continue;
            const Vec3 back = unproject(c, s.x, s.y, s.depth);
            EXPECT_NEAR(back.x, w.x, 1e-6);
            EXPECT_NEAR(back.y, w.y, 1e-6);
            EXPECT_NEAR(back.z, w.z, 1e-6);
        }
    }
}

TEST(AtlasCamera, ZoomKeepsThePointUnderTheCursorAndFitShowsEverySystem) {
    const Bounds bounds{{-12, -5, 0}, {20, 30, 9}};
    for (Camera c : everyView(bounds)) {
        const Vec3 before = unproject(c, 123, 321, 0);
        c.zoomAt(1.7, 123, 321);
        const ScreenPoint after = project(c, before);
        EXPECT_NEAR(after.x, 123, 1e-6);
        EXPECT_NEAR(after.y, 321, 1e-6);
        c.fit(bounds);
        for (int x : {bounds.min[0], bounds.max[0]}) {
            for (int y : {bounds.min[1], bounds.max[1]}) {
                for (int z : {bounds.min[2], bounds.max[2]}) {
                    const ScreenPoint s = project(c, {double(x), double(y), double(z)});
                    EXPECT_TRUE(s.visible) << x << "," << y << "," << z << " view " << int(c.view);
                }
            }
        }
    }
}

// The heart of it: every system drawn is picked by a click on its pixel, or
// by one drawn over it there, in every view, turned, zoomed and panned.
TEST(AtlasCamera, AClickOnAProjectedSystemPicksIt) {
    std::vector<std::array<int, 3>> cells;
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> c(-15, 15);
    for (int i = 0; i < 400; ++i) cells.push_back({c(rng), c(rng), c(rng)});
    const AtlasModel model = modelOf(cells);
    for (const Camera& cam : everyView(model.bounds())) {
        const auto projected = projectSystems(cam, model);
        ASSERT_FALSE(projected.empty());
        for (std::size_t i = 1; i < projected.size(); ++i) ASSERT_LE(projected[i - 1].depth, projected[i].depth);
        int alone = 0;
        for (const ProjectedSystem& p : projected) {
            const double sx = std::round(p.x), sy = std::round(p.y);
            const SystemId got = pick(projected, sx, sy, 6.0);
            ASSERT_NE(got, kNoSystem);
            // A dot with no other within three pixels is picked itself.
            bool crowded = false;
            for (const ProjectedSystem& q : projected) {
                crowded = crowded || (q.id != p.id && std::hypot(q.x - p.x, q.y - p.y) < 3.0);
            }
            if (!crowded) {
                ++alone;
                EXPECT_EQ(got, p.id) << "view " << int(cam.view);
            }
            if (got == p.id) continue;
            // Another dot won: it must lie on the click as closely and be drawn on top.
            const ScreenPoint q =
                project(cam, {double(model.entry(got).x), double(model.entry(got).y), double(model.entry(got).z)});
            const double dq = std::hypot(q.x - sx, q.y - sy);
            const double dp = std::hypot(p.x - sx, p.y - sy);
            EXPECT_LE(dq, dp + 1.0 + 1e-9);
            EXPECT_GE(q.depth, p.depth - 1.0 - 1e-9);
        }
        EXPECT_GT(alone, 20) << "view " << int(cam.view);
        // Far from every dot there is nothing to pick.
        EXPECT_EQ(pick(projected, -100, -100, 6.0), kNoSystem);
    }
}

TEST(AtlasCamera, TheFrontMostOfStackedSystemsIsPicked) {
    // Three systems on one line of sight of the top view.
    const AtlasModel model = modelOf({{2, 2, -4}, {2, 2, 7}, {2, 2, 1}, {9, 9, 9}});
    Camera c;
    c.view = View::Top;
    c.fit(model.bounds());
    const ScreenPoint s = project(c, {2, 2, 0});
    EXPECT_EQ(pick(c, model, s.x, s.y), 1);
    c.view = View::Front;  // now they lie side by side in z, and the click picks the one under it
    c.fit(model.bounds());
    const ScreenPoint f = project(c, {2, 2, 1});
    EXPECT_EQ(pick(c, model, f.x, f.y), 2);
}

TEST(AtlasCamera, TheSlabKeepsOnlyItsLayersForDrawingAndPicking) {
    std::vector<std::array<int, 3>> cells;
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 6; ++y) {
            for (int z = 0; z < 6; ++z) cells.push_back({x, y, z});
        }
    }
    const AtlasModel model = modelOf(cells);
    for (const View v : {View::Top, View::Front, View::Side, View::Cube}) {
        Camera c;
        c.view = v;
        c.fit(model.bounds());
        c.slab = {true, depthAxis(v), 2, 3};
        const auto projected = projectSystems(c, model);
        EXPECT_EQ(projected.size(), 72U);
        for (const ProjectedSystem& p : projected) {
            EXPECT_TRUE(c.slab.contains(model.entry(p.id)));
        }
        // A system outside the slab is never picked, even where it is drawn.
        const SystemId outside = model.atCell(5, 5, 5);
        const ScreenPoint s = project(c, {5, 5, 5});
        const SystemId got = pick(c, model, s.x, s.y);
        EXPECT_NE(got, outside);
        if (got != kNoSystem) {
            EXPECT_TRUE(c.slab.contains(model.entry(got)));
        }
    }
    // An explicit keep-mask (the filter's matches) narrows further.
    std::vector<std::uint8_t> keep(static_cast<std::size_t>(model.size()), 0);
    keep[7] = 1;
    Camera c;
    c.fit(model.bounds());
    const auto only = projectSystems(c, model, &keep);
    ASSERT_EQ(only.size(), 1U);
    EXPECT_EQ(only[0].id, 7);
}

// Far to near as the stable sort orders them, on lists either side of the
// size where the sort by bits takes over: negative, positive and zero
// depths (both signs of zero), many exact ties whose given order must stay,
// and values that differ only in their lowest bits.
TEST(AtlasCamera, SortFarToNearIsTheStableSortByDepth) {
    std::mt19937 rng(3);
    for (std::size_t n : {0U, 1U, 7U, 1023U, 1024U, 5000U, 100000U}) {
        std::vector<ProjectedSystem> list(n);
        std::uniform_int_distribution<int> pickKind(0, 5);
        std::uniform_real_distribution<float> wide(-1e6F, 1e6F);
        std::uniform_int_distribution<int> few(-20, 20);
        for (std::size_t i = 0; i < n; ++i) {
            float depth = 0;
            switch (pickKind(rng)) {
                case 0: depth = wide(rng); break;
                case 1: depth = static_cast<float>(few(rng)); break;  // ties
                case 2: depth = -0.0F; break;
                case 3: depth = 0.0F; break;
                case 4: depth = std::nextafter(1.0F, 2.0F); break;
                default: depth = static_cast<float>(few(rng)) / 7.0F; break;
            }
            list[i] = {static_cast<SystemId>(i), 0, 0, depth, 1};
        }
        std::vector<ProjectedSystem> want = list;
        std::stable_sort(want.begin(), want.end(),
                         [](const ProjectedSystem& a, const ProjectedSystem& b) { return a.depth < b.depth; });
        sortFarToNear(list);
        ASSERT_EQ(list.size(), want.size());
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_EQ(list[i].id, want[i].id) << "n " << n << " at " << i;
        }
    }
}

}  // namespace
}  // namespace orrimar::atlas

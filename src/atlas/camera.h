// How the map looks at the sector: the view (three flat ones and the turning
// cube), zoom, pan, viewport and depth slab, with world <-> screen mapping
// and picking. Everything here is a pure function of a Camera value, so the
// window keeps one Camera, changes it on input and redraws.
//
// Screen coordinates are pixels, x to the right, y downwards, (0, 0) the
// viewport's top-left corner. World coordinates are parsecs (cell centres
// are the integer coordinates).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "atlas/atlas_model.h"

namespace orrimar::atlas {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

enum class View : std::uint8_t {
    Top,    // looking down the z axis: screen right = +x, screen up = +y; nearest = highest z
    Front,  // looking along +y: screen right = +x, screen up = +z; nearest = lowest y
    Side,   // looking along -x: screen right = +y, screen up = +z; nearest = highest x
    Cube,   // turned by yaw (about z) and pitch (about screen x); nearest = towards the viewer
};

enum class Projection : std::uint8_t {
    Perspective,  // far systems shrink towards the centre (cube view only)
    Parallel,     // no foreshortening; depth shows only by size and shading
};

enum class Axis : std::uint8_t { X, Y, Z };

// Only systems whose coordinate on `axis` lies in from..to (inclusive) are
// drawn and picked. The natural slab axis of a flat view is its depth axis
// (depthAxis()); the cube is read layer by layer along z.
struct Slab {
    bool enabled = false;
    Axis axis = Axis::Z;
    int from = 0;
    int to = 0;
    bool contains(const SystemEntry& e) const;
};

// The depth axis of a view: z for Top and Cube, y for Front, x for Side.
Axis depthAxis(View view);

struct Camera {
    View view = View::Top;
    Projection projection = Projection::Perspective;
    double yaw = 0.6;    // radians about z, cube view only
    double pitch = 0.5;  // radians, 0 = looking along the horizon, clamped to [-pi/2, pi/2]
    double zoom = 8.0;   // pixels per parsec at the centre's depth
    Vec3 centre;         // world point shown at the viewport centre (before pan)
    double panX = 0.0;   // screen offset of the centre, pixels
    double panY = 0.0;
    int width = 800;  // viewport, pixels
    int height = 600;
    // Distance of the eye from the centre, in parsecs, for Perspective; set
    // by fit() to twice the sector's radius.
    double eyeDistance = 100.0;
    Slab slab;

    // Turns the cube by a mouse drag of (dx, dy) pixels (0.01 radian a pixel).
    void turn(double dxPixels, double dyPixels);
    // Moves the picture by (dx, dy) pixels.
    void panBy(double dxPixels, double dyPixels);
    // Multiplies the zoom by `factor`, keeping the world point under the
    // screen point (sx, sy) in place (exactly in flat views and for points at
    // the centre's depth in the cube).
    void zoomAt(double factor, double sx, double sy);
    // Frames the bounds in the viewport: centre on the box, zoom so that the
    // box fills about 90 % of the shorter side, pan cleared.
    void fit(const Bounds& bounds);
};

// A world point as seen through the camera.
struct ScreenPoint {
    double x = 0, y = 0;   // pixels
    double depth = 0;      // parsecs towards the viewer from the centre's depth; larger = nearer
    double scale = 1;      // perspective factor (1 in flat views and Parallel)
    bool visible = false;  // in front of the eye (perspective) and inside the viewport
};

ScreenPoint project(const Camera& camera, const Vec3& world);
// The same for many points: the camera's turn worked out once, not per
// point. The camera must outlive the projector and not change meanwhile.
class Projector {
public:
    explicit Projector(const Camera& camera);
    ScreenPoint operator()(const Vec3& world) const;

private:
    const Camera* camera_;
    Vec3 right_, up_, toward_;
};
// The world point at screen (sx, sy) and the given depth (as ScreenPoint::depth).
Vec3 unproject(const Camera& camera, double sx, double sy, double depth = 0.0);

// Depth shading: 1 for the nearest drawn system, 0 for the farthest, from the
// depth range of the current picture (from the bounds of the sector).
double depthFactor(const Camera& camera, const Bounds& bounds, double depth);

// One projected system, what the window draws and picks from.
struct ProjectedSystem {
    SystemId id = kNoSystem;
    float x = 0, y = 0;  // pixels
    float depth = 0;     // larger = nearer
    float scale = 1;
};

// Projects every system the slab keeps and `keep` (if given) accepts and that
// lands inside the viewport (plus `margin` pixels), sorted far to near, so
// that drawing in order paints the nearest last.
std::vector<ProjectedSystem> projectSystems(const Camera& camera, const AtlasModel& model,
                                            const std::vector<std::uint8_t>* keep = nullptr, double margin = 8.0);

// Orders projected systems far to near (by depth, ascending), keeping the
// given order among equal depths: what std::stable_sort by depth gives.
void sortFarToNear(std::vector<ProjectedSystem>& projected);

// The system drawn under screen point (sx, sy): the one whose projection is
// nearest to it within `radius` pixels; among those within one pixel of the
// nearest, the front-most wins (so a click on a dot drawn over another picks
// the one on top). kNoSystem when none is within the radius.
SystemId pick(const std::vector<ProjectedSystem>& projected, double sx, double sy, double radius = 6.0);
SystemId pick(const Camera& camera, const AtlasModel& model, double sx, double sy, double radius = 6.0,
              const std::vector<std::uint8_t>* keep = nullptr);

}  // namespace orrimar::atlas

#include "atlas/camera.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <numbers>

namespace orrimar::atlas {

namespace {

// The camera's axes in world coordinates: screen right, screen up, and
// towards the viewer.
struct Basis {
    Vec3 right, up, toward;
};

Basis basis(const Camera& c) {
    switch (c.view) {
        case View::Top: return {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        case View::Front: return {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
        case View::Side: return {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}};
        case View::Cube: break;
    }
    // Yaw turns the sector about z; pitch then tilts the line of sight from
    // the horizon (pitch 0: the Front view turned by yaw) to straight down
    // (pitch pi/2: the Top view turned by yaw).
    const double cy = std::cos(c.yaw), sy = std::sin(c.yaw);
    const double cp = std::cos(c.pitch), sp = std::sin(c.pitch);
    return {{cy, -sy, 0}, {sp * sy, sp * cy, cp}, {-cp * sy, -cp * cy, sp}};
}

double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

bool perspective(const Camera& c) { return c.view == View::Cube && c.projection == Projection::Perspective; }

// Perspective factor at a depth; 0 at or behind the eye.
double scaleAt(const Camera& c, double depth) {
    if (!perspective(c)) return 1.0;
    const double gap = c.eyeDistance - depth;
    return gap > 1e-6 ? c.eyeDistance / gap : 0.0;
}

int coordinate(const SystemEntry& e, Axis axis) {
    switch (axis) {
        case Axis::X: return e.x;
        case Axis::Y: return e.y;
        case Axis::Z: return e.z;
    }
    return e.z;
}

double halfDiagonal(const Bounds& b) {
    double sum = 0;
    for (std::size_t a = 0; a < 3; ++a) {
        const double d = b.max[a] - b.min[a] + 1.0;
        sum += d * d;
    }
    return std::sqrt(sum) / 2.0;
}

}  // namespace

bool Slab::contains(const SystemEntry& e) const {
    if (!enabled) return true;
    const int v = coordinate(e, axis);
    return v >= from && v <= to;
}

Axis depthAxis(View view) {
    switch (view) {
        case View::Front: return Axis::Y;
        case View::Side: return Axis::X;
        case View::Top:
        case View::Cube: return Axis::Z;
    }
    return Axis::Z;
}

void Camera::turn(double dxPixels, double dyPixels) {
    yaw = std::remainder(yaw + dxPixels * 0.01, 2.0 * std::numbers::pi);
    pitch = std::clamp(pitch + dyPixels * 0.01, -std::numbers::pi / 2, std::numbers::pi / 2);
}

void Camera::panBy(double dxPixels, double dyPixels) {
    panX += dxPixels;
    panY += dyPixels;
}

void Camera::zoomAt(double factor, double sx, double sy) {
    if (!(factor > 0.0) || !std::isfinite(factor)) return;
    // Keep the point under the cursor: its offset from the centre's screen
    // position scales with the zoom, so the pan takes up the difference.
    const double cx = width / 2.0 + panX;
    const double cy = height / 2.0 + panY;
    zoom = std::clamp(zoom * factor, 1e-4, 1e5);
    const double applied = zoom / (zoom / factor);
    panX = sx - (sx - cx) * applied - width / 2.0;
    panY = sy - (sy - cy) * applied - height / 2.0;
}

void Camera::fit(const Bounds& bounds) {
    centre = {(bounds.min[0] + bounds.max[0]) / 2.0, (bounds.min[1] + bounds.max[1]) / 2.0,
              (bounds.min[2] + bounds.max[2]) / 2.0};
    panX = panY = 0;
    const double radius = std::max(halfDiagonal(bounds), 1.0);
    eyeDistance = 2.0 * radius + 2.0;
    // The cube may show any diagonal; a flat view shows two axes' extents.
    double w = 2.0 * radius;
    double h = 2.0 * radius;
    if (view != View::Cube) {
        const Basis b = basis(*this);
        const Vec3 extent{bounds.max[0] - bounds.min[0] + 1.0, bounds.max[1] - bounds.min[1] + 1.0,
                          bounds.max[2] - bounds.min[2] + 1.0};
        w = std::abs(dot(b.right, extent));
        h = std::abs(dot(b.up, extent));
    }
    zoom = 0.9 * std::min(std::max(width, 1) / w, std::max(height, 1) / h);
}

ScreenPoint project(const Camera& camera, const Vec3& world) { return Projector(camera)(world); }

Projector::Projector(const Camera& camera) : camera_(&camera) {
    const Basis b = basis(camera);
    right_ = b.right;
    up_ = b.up;
    toward_ = b.toward;
}

ScreenPoint Projector::operator()(const Vec3& world) const {
    const Camera& camera = *camera_;
    const Vec3 p{world.x - camera.centre.x, world.y - camera.centre.y, world.z - camera.centre.z};
    ScreenPoint s;
    s.depth = dot(p, toward_);
    s.scale = scaleAt(camera, s.depth);
    s.x = camera.width / 2.0 + camera.panX + camera.zoom * s.scale * dot(p, right_);
    s.y = camera.height / 2.0 + camera.panY - camera.zoom * s.scale * dot(p, up_);
    s.visible = s.scale > 0.0 && s.x >= 0 && s.y >= 0 && s.x < camera.width && s.y < camera.height;
    return s;
}

Vec3 unproject(const Camera& camera, double sx, double sy, double depth) {
    const Basis b = basis(camera);
    double scale = scaleAt(camera, depth);
    if (scale <= 0.0) scale = 1.0;
    const double k = camera.zoom * scale;
    const double r = (sx - camera.width / 2.0 - camera.panX) / k;
    const double u = -(sy - camera.height / 2.0 - camera.panY) / k;
    return {camera.centre.x + r * b.right.x + u * b.up.x + depth * b.toward.x,
            camera.centre.y + r * b.right.y + u * b.up.y + depth * b.toward.y,
            camera.centre.z + r * b.right.z + u * b.up.z + depth * b.toward.z};
}

double depthFactor(const Camera& camera, const Bounds& bounds, double depth) {
    (void)camera;
    const double r = std::max(halfDiagonal(bounds), 0.5);
    return std::clamp((depth + r) / (2.0 * r), 0.0, 1.0);
}

std::vector<ProjectedSystem> projectSystems(const Camera& camera, const AtlasModel& model,
                                            const std::vector<std::uint8_t>* keep, double margin) {
    const Basis b = basis(camera);
    const double cx = camera.width / 2.0 + camera.panX;
    const double cy = camera.height / 2.0 + camera.panY;
    std::vector<ProjectedSystem> out;
    const SystemId n = model.size();
    for (SystemId id = 0; id < n; ++id) {
        const SystemEntry& e = model.entry(id);
        if (!camera.slab.contains(e)) continue;
        if (keep != nullptr &&
            (static_cast<std::size_t>(id) >= keep->size() || (*keep)[static_cast<std::size_t>(id)] == 0)) {
            continue;
        }
        const Vec3 p{e.x - camera.centre.x, e.y - camera.centre.y, e.z - camera.centre.z};
        const double depth = dot(p, b.toward);
        const double scale = scaleAt(camera, depth);
        if (scale <= 0.0) continue;
        const double x = cx + camera.zoom * scale * dot(p, b.right);
        const double y = cy - camera.zoom * scale * dot(p, b.up);
        if (x < -margin || y < -margin || x >= camera.width + margin || y >= camera.height + margin) continue;
        out.push_back(
            {id, static_cast<float>(x), static_cast<float>(y), static_cast<float>(depth), static_cast<float>(scale)});
    }
    sortFarToNear(out);
    return out;
}

void sortFarToNear(std::vector<ProjectedSystem>& projected) {
    // Small lists go to the library's sort. Large ones (every frame of a
    // turning cube sorts up to a hundred thousand) are sorted by their
    // depth's bits, three passes of 11 bits from the lowest: each pass is
    // stable, so the result is the stable sort's, in about a tenth of the
    // time (1 ms instead of 9 at 100,000 systems).
    const auto byDepth = [](const ProjectedSystem& a, const ProjectedSystem& c) { return a.depth < c.depth; };
    if (projected.size() < 1024) {
        std::stable_sort(projected.begin(), projected.end(), byDepth);
        return;
    }
    // A float's bits ordered as the float: negative numbers flipped whole,
    // positive ones with the sign bit set; -0 counts as +0, as it compares.
    const auto key = [](float depth) {
        const auto bits = std::bit_cast<std::uint32_t>(depth == 0.0F ? 0.0F : depth);
        return (bits & 0x80000000U) != 0 ? ~bits : bits | 0x80000000U;
    };
    constexpr int kBits = 11;
    constexpr std::uint32_t kBuckets = 1U << kBits;
    std::vector<ProjectedSystem> other(projected.size());
    std::vector<std::uint32_t> count(kBuckets);
    for (int shift = 0; shift < 32; shift += kBits) {
        std::fill(count.begin(), count.end(), 0U);
        for (const ProjectedSystem& p : projected) ++count[(key(p.depth) >> shift) & (kBuckets - 1)];
        std::uint32_t start = 0;
        for (std::uint32_t& c : count) {
            const std::uint32_t n = c;
            c = start;
            start += n;
        }
        for (const ProjectedSystem& p : projected) other[count[(key(p.depth) >> shift) & (kBuckets - 1)]++] = p;
        projected.swap(other);
    }
}

SystemId pick(const std::vector<ProjectedSystem>& projected, double sx, double sy, double radius) {
    double best = radius * radius;
    bool any = false;
    for (const ProjectedSystem& p : projected) {
        const double dx = p.x - sx, dy = p.y - sy;
        const double d2 = dx * dx + dy * dy;
        if (d2 <= best) {
            best = d2;
            any = true;
        }
    }
    if (!any) return kNoSystem;
    // Within one pixel of the nearest, the dot on top is the one the user sees.
    const double reach = std::sqrt(best) + 1.0;
    const double reach2 = reach * reach;
    SystemId chosen = kNoSystem;
    float chosenDepth = 0;
    for (const ProjectedSystem& p : projected) {
        const double dx = p.x - sx, dy = p.y - sy;
        if (dx * dx + dy * dy > reach2 || dx * dx + dy * dy > radius * radius) continue;
        if (chosen == kNoSystem || p.depth > chosenDepth || (p.depth == chosenDepth && p.id < chosen)) {
            chosen = p.id;
            chosenDepth = p.depth;
        }
    }
    return chosen;
}

SystemId pick(const Camera& camera, const AtlasModel& model, double sx, double sy, double radius,
              const std::vector<std::uint8_t>* keep) {
    return pick(projectSystems(camera, model, keep, radius + 1.0), sx, sy, radius);
}

}  // namespace orrimar::atlas

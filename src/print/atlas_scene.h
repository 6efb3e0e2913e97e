// What one frame of the atlas map shows, already projected to pixels: the
// dots, the marks where dots merged, the labels that fit, the route and the
// sector's frame. Built from the atlas core's model and camera by
// the Atlas window's session (on screen) and by the poster (on paper),
// from the shared parts of print/scene_parts.h; drawn by AtlasPainter onto
// any paint device. Plain data, so a frame can be drawn twice (screen and file)
// without asking the core again.
#pragma once

#include <QColor>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

namespace orrimar::print {

// Marks drawn round a dot.
enum AtlasMark : std::uint8_t {
    kMarkLife = 1,    // native life on a world of the system
    kMarkRace = 2,    // a native race
    kMarkColony = 4,  // a colony owned by a race
};

struct AtlasDot {
    QPointF at;                // pixels
    float radius = 1.5F;       // pixels, from the primary's brightness class and the depth
    QRgb colour = 0xffffffff;  // the primary star's map colour
    std::uint8_t shade = 0;    // 0 nearest .. kShadeLevels-1 farthest (cube view)
    std::uint8_t marks = 0;    // AtlasMark bits
    bool lit = true;           // false: dimmed by the active filter
    std::int32_t id = -1;      // system id
    QRgb tint = 0;             // the controlling race's territory colour; 0 = none controls it
};

// A stretch of a territory's border, in its race's colour.
struct AtlasBorder {
    QLineF line;
    QRgb colour = 0xffffffff;
};

// Dots closer together than a few pixels drawn as one mark with a count.
struct AtlasCluster {
    QPointF at;
    int count = 0;
    bool lit = true;  // some member matches the active filter
};

struct AtlasLabel {
    QRectF box;  // where the text goes, pixels (placed so labels never overlap)
    QString text;
    bool lit = true;
};

inline constexpr int kShadeLevels = 4;

struct AtlasScene {
    std::vector<AtlasDot> dots;  // farthest first
    std::vector<AtlasCluster> clusters;
    std::vector<AtlasLabel> labels;
    std::vector<QLineF> frame;          // edges of the sector's cube or square; the slab's bounds
    std::vector<QLineF> frameBack;      // edges behind the dots (drawn fainter)
    std::vector<AtlasBorder> borders;   // territories' borders, under the dots
    std::vector<QPointF> route;         // the stops of the route, in order
    std::vector<AtlasLabel> routeLegs;  // "3.2 pc" beside a leg where no name is; may be fewer than the legs
    bool hasSelection = false;
    QPointF selected;
    float selectedRadius = 0.0F;
    bool filterActive = false;
    QString caption;             // bottom-left line: view, slab, counts
    QString message;             // shown in the middle when there is nothing to draw
    std::uint64_t revision = 0;  // bumped by the builder whenever the content changes
};

}  // namespace orrimar::print

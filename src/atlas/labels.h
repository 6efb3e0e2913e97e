// What the map draws besides dots: labels that never overlap, and aggregated
// marks where many systems fall into one small square of the screen (so a
// million systems draw as a few thousand marks).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "atlas/camera.h"

namespace orrimar::atlas {

struct LabelSize {
    double width = 0, height = 0;  // pixels
};

struct LabelRect {
    double left = 0, top = 0, width = 0, height = 0;  // pixels
    bool overlaps(const LabelRect& other) const;
};

struct LabelCandidate {
    SystemId id = kNoSystem;
    double x = 0, y = 0;  // the dot, pixels
    int priority = 0;     // higher is placed first (selection, matches, bright stars...)
};

struct PlacedLabel {
    SystemId id = kNoSystem;
    LabelRect box;  // where the text goes
};

struct LabelOptions {
    double gap = 4.0;        // pixels between the dot and its text
    double dotRadius = 3.0;  // the dots of placed labels are kept clear too
    int width = 800;         // viewport: labels must lie wholly inside
    int height = 600;
};

// Greedy placement: candidates in order of falling priority (then id), each
// tried right of its dot, left, above, below; the first place that overlaps
// no placed label and no placed label's dot, and lies inside the viewport,
// is taken; a candidate with no free place gets no label. `extent(id)` gives
// the text's size (zero width = no label). An occupancy grid of 32-pixel
// cells keeps each test local.
std::vector<PlacedLabel> placeLabels(const std::vector<LabelCandidate>& candidates,
                                     const std::function<LabelSize(SystemId)>& extent, const LabelOptions& options);

// A box of `size` beside the point (x, y), tried as labels are (right,
// left, above, below, `options.gap` from a point of `options.dotRadius`),
// that overlaps none of `taken` and lies inside the viewport; nothing when
// every place is taken. For the route's leg distances, placed after the
// system labels so that they never cover a name.
std::optional<LabelRect> placeBeside(double x, double y, LabelSize size, const std::vector<LabelRect>& taken,
                                     const LabelOptions& options);

// All projected systems falling into one cell x cell square of the screen.
struct AggregateMark {
    float x = 0, y = 0;             // the mean position of the systems, pixels
    std::uint32_t count = 0;        // systems in the square
    std::uint8_t dominantKind = 0;  // commonest primary star kind (lowest kind on a tie)
    SystemId nearest = kNoSystem;   // the front-most system, for picking and hover
    float depth = 0;                // its depth
};

// Folds projected systems into one mark per occupied square of `cellPixels`;
// marks come in the order of their squares (row by row). A square holding a
// single system gives a mark of count 1 at that system's point.
std::vector<AggregateMark> aggregate(const std::vector<ProjectedSystem>& projected, const AtlasModel& model,
                                     double cellPixels, int width, int height);

}  // namespace orrimar::atlas

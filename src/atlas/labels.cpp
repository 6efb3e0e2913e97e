#include "atlas/labels.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace orrimar::atlas {

bool LabelRect::overlaps(const LabelRect& o) const {
    return left < o.left + o.width && o.left < left + width && top < o.top + o.height && o.top < top + height;
}

namespace {

// Placed boxes filed under every 32-pixel cell they touch, so that a test
// looks only at boxes nearby instead of every label placed so far.
class Occupancy {
public:
    Occupancy(int width, int height)
        : cols_(std::max(1, (width + kCell - 1) / kCell)), rows_(std::max(1, (height + kCell - 1) / kCell)) {
        cells_.resize(static_cast<std::size_t>(cols_ * rows_));
    }
    bool free(const LabelRect& r) const {
        bool clear = true;
        forCells(r, [&](std::size_t cell) {
            for (std::size_t b : cells_[cell]) {
                if (boxes_[b].overlaps(r)) clear = false;
            }
        });
        return clear;
    }
    void add(const LabelRect& r) {
        const std::size_t index = boxes_.size();
        boxes_.push_back(r);
        forCells(r, [&](std::size_t cell) { cells_[cell].push_back(index); });
    }

private:
    static constexpr int kCell = 32;
    // The cell of a screen coordinate, clamped to the grid while still a
    // floating-point figure: a label far off the screen (or not a number)
    // would not fit an int.
    static int cellOf(double coordinate, int cells) {
        const double cell = std::floor(coordinate / kCell);
        if (!(cell >= 0.0)) return 0;
        return cell >= static_cast<double>(cells - 1) ? cells - 1 : static_cast<int>(cell);
    }
    template <typename F>
    void forCells(const LabelRect& r, F f) const {
        const int c0 = cellOf(r.left, cols_);
        const int c1 = cellOf(r.left + r.width, cols_);
        const int r0 = cellOf(r.top, rows_);
        const int r1 = cellOf(r.top + r.height, rows_);
        for (int y = r0; y <= r1; ++y) {
            for (int x = c0; x <= c1; ++x) f(static_cast<std::size_t>(y * cols_ + x));
        }
    }
    int cols_;
    int rows_;
    std::vector<LabelRect> boxes_;
    std::vector<std::vector<std::size_t>> cells_;
};

}  // namespace

std::vector<PlacedLabel> placeLabels(const std::vector<LabelCandidate>& candidates,
                                     const std::function<LabelSize(SystemId)>& extent, const LabelOptions& options) {
    std::vector<const LabelCandidate*> order;
    order.reserve(candidates.size());
    for (const LabelCandidate& c : candidates) {
        if (c.x >= 0 && c.y >= 0 && c.x < options.width && c.y < options.height) order.push_back(&c);
    }
    std::stable_sort(order.begin(), order.end(), [](const LabelCandidate* a, const LabelCandidate* b) {
        return a->priority != b->priority ? a->priority > b->priority : a->id < b->id;
    });

    Occupancy occupied(options.width, options.height);
    std::vector<PlacedLabel> placed;
    const double r = options.dotRadius;
    for (const LabelCandidate* c : order) {
        const LabelSize size = extent(c->id);
        if (size.width <= 0 || size.height <= 0) continue;
        const double g = options.gap;
        const LabelRect tries[4] = {
            {c->x + r + g, c->y - size.height / 2, size.width, size.height},               // right
            {c->x - r - g - size.width, c->y - size.height / 2, size.width, size.height},  // left
            {c->x - size.width / 2, c->y - r - g - size.height, size.width, size.height},  // above
            {c->x - size.width / 2, c->y + r + g, size.width, size.height},                // below
        };
        const LabelRect dot{c->x - r, c->y - r, 2 * r, 2 * r};
        for (const LabelRect& t : tries) {
            if (t.left < 0 || t.top < 0 || t.left + t.width > options.width || t.top + t.height > options.height)
                continue;
            if (!occupied.free(t)) continue;
            // The labelled dot itself must not sit under an earlier label.
            if (!occupied.free(dot)) break;
            occupied.add(t);
            occupied.add(dot);
            placed.push_back({c->id, t});
            break;
        }
    }
    return placed;
}

std::optional<LabelRect> placeBeside(double x, double y, LabelSize size, const std::vector<LabelRect>& taken,
                                     const LabelOptions& options) {
    const double r = options.dotRadius;
    const double g = options.gap;
    const LabelRect tries[4] = {
        {x + r + g, y - size.height / 2, size.width, size.height},
        {x - r - g - size.width, y - size.height / 2, size.width, size.height},
        {x - size.width / 2, y - r - g - size.height, size.width, size.height},
        {x - size.width / 2, y + r + g, size.width, size.height},
    };
    for (const LabelRect& t : tries) {
        if (t.left < 0 || t.top < 0 || t.left + t.width > options.width || t.top + t.height > options.height) continue;
        // A route has a few legs and the labels are at most a few thousand:
        // a plain scan costs less than building the occupancy grid again.
        if (std::none_of(taken.begin(), taken.end(), [&t](const LabelRect& box) { return box.overlaps(t); })) return t;
    }
    return std::nullopt;
}

std::vector<AggregateMark> aggregate(const std::vector<ProjectedSystem>& projected, const AtlasModel& model,
                                     double cellPixels, int width, int height) {
    if (!(cellPixels > 0)) cellPixels = 1;
    const int cols = std::max(1, static_cast<int>(std::ceil(width / cellPixels)));
    const int rows = std::max(1, static_cast<int>(std::ceil(height / cellPixels)));
    struct Acc {
        double sx = 0, sy = 0;
        std::uint32_t count = 0;
        SystemId nearest = kNoSystem;
        float depth = 0;
        std::array<std::uint32_t, 24> kinds{};
    };
    // Only occupied squares get an accumulator: a million systems zoomed out
    // fill a few thousand squares, a zoomed-in view few systems anyway.
    std::unordered_map<std::int64_t, Acc> cells;
    for (const ProjectedSystem& p : projected) {
        const int cx = static_cast<int>(std::floor(p.x / cellPixels));
        const int cy = static_cast<int>(std::floor(p.y / cellPixels));
        if (cx < 0 || cy < 0 || cx >= cols || cy >= rows) continue;
        Acc& a = cells[static_cast<std::int64_t>(cy) * cols + cx];
        a.sx += p.x;
        a.sy += p.y;
        ++a.count;
        if (a.nearest == kNoSystem || p.depth > a.depth || (p.depth == a.depth && p.id < a.nearest)) {
            a.nearest = p.id;
            a.depth = p.depth;
        }
        const std::uint8_t kind = model.entry(p.id).starKind;
        ++a.kinds[kind < a.kinds.size() ? kind : 0];
    }
    std::vector<std::pair<std::int64_t, const Acc*>> sorted;
    sorted.reserve(cells.size());
    for (const auto& [key, acc] : cells) sorted.emplace_back(key, &acc);
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<AggregateMark> marks;
    marks.reserve(sorted.size());
    for (const auto& [key, acc] : sorted) {
        AggregateMark m;
        m.count = acc->count;
        m.x = static_cast<float>(acc->sx / acc->count);
        m.y = static_cast<float>(acc->sy / acc->count);
        m.nearest = acc->nearest;
        m.depth = acc->depth;
        std::uint32_t most = 0;
        for (std::size_t k = 0; k < acc->kinds.size(); ++k) {
            if (acc->kinds[k] > most) {
                most = acc->kinds[k];
                m.dominantKind = static_cast<std::uint8_t>(k);
            }
        }
        marks.push_back(m);
    }
    return marks;
}

}  // namespace orrimar::atlas

#include "logs/sector_map_svg.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "vocabulary/body_names.h"
#include "vocabulary/colony_words.h"
#include "documents/document.h"
#include "reading/sector_reader.h"

namespace orrimar::logs {

using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::reading;

namespace {

// Plot area in SVG units, with room for the axes and the legend.
constexpr double kPlot = 640.0;
constexpr double kLeft = 60.0;
constexpr double kTop = 20.0;
// Room for the longest entry, "spatial anomaly (Spatial anomaly)", beside
// its swatch.
constexpr double kLegendWidth = 250.0;
constexpr double kWidth = kLeft + kPlot + 20.0 + kLegendWidth;
constexpr double kHeight = kTop + kPlot + 50.0;

constexpr const char* kRaceColour = "#7dffb0";
constexpr const char* kControlColour = "#ff5577";
constexpr const char* kAxisColour = "#9aa7c4";

std::string num(double v) { return fmt::format("{:.1f}", v); }

// A tick step of 1, 2 or 5 times a power of ten giving about eight ticks.
int tickStep(int span) {
    const double raw = std::max(1.0, span / 8.0);
    const double base = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (base * m >= raw) return static_cast<int>(base * m);
    }
    return static_cast<int>(base * 10.0);
}

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Label text: 10 units high; a character is about 0.6 of that wide in the
// sans-serif faces browsers pick, and the box is the label's whole ink.
constexpr double kLabelFont = 10.0;
constexpr double kLabelCharWidth = 6.0;
constexpr double kLabelHeight = 11.0;

struct Box {
    double x0, y0, x1, y1;
    bool overlaps(const Box& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

}  // namespace

SectorMap::SectorMap(std::int64_t systemCount, int minX, int maxX, int minY, int maxY, int minZ, int maxZ)
    : systemCount_(systemCount),
      minX_(minX),
      maxX_(std::max(maxX, minX)),
      minY_(minY),
      maxY_(std::max(maxY, minY)),
      minZ_(minZ),
      maxZ_(std::max(maxZ, minZ)),
      aggregated_(systemCount > static_cast<std::int64_t>(kMapPointLimit)),
      kindsSeen_(24, false) {
    // A square view, one parsec of margin round the systems.
    const int span = std::max(maxX_ - minX_, maxY_ - minY_) + 2;
    minX_ -= 1;
    minY_ -= 1;
    maxX_ = minX_ + span;
    maxY_ = minY_ + span;
    if (aggregated_) {
        cells_.resize(static_cast<std::size_t>(kMapGridCells * kMapGridCells));
    } else {
        points_.reserve(static_cast<std::size_t>(std::max<std::int64_t>(systemCount, 0)));
    }
}

double SectorMap::px(double x) const { return kLeft + (x - minX_) / (maxX_ - minX_) * kPlot; }
double SectorMap::py(double y) const { return kTop + kPlot - (y - minY_) / (maxY_ - minY_) * kPlot; }

void SectorMap::add(const MapSystem& system) {
    if (system.primaryKind < kindsSeen_.size()) kindsSeen_[system.primaryKind] = true;
    if (!aggregated_) {
        points_.push_back(system);
        return;
    }
    const auto cellOf = [](int v, int lo, int hi) {
        const int c = static_cast<int>((static_cast<long long>(v - lo) * kMapGridCells) / (hi - lo));
        return std::clamp(c, 0, kMapGridCells - 1);
    };
    Cell& cell = cells_[static_cast<std::size_t>(cellOf(system.y, minY_, maxY_) * kMapGridCells +
                                                 cellOf(system.x, minX_, maxX_))];
    ++cell.systems;
    if (system.nativeRace) ++cell.races;
    if (system.controlled) ++cell.controlled;
    if (system.territory && !cell.territory) cell.territory = system.territory;
}

std::string SectorMap::axes() const {
    std::string out;
    out += fmt::format("<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" fill=\"none\" stroke=\"{}\" />\n",
                       num(kLeft), num(kTop), num(kPlot), num(kPlot), kAxisColour);
    const int step = tickStep(maxX_ - minX_);
    for (int t = floorDiv(minX_, step) * step; t <= maxX_; t += step) {
        if (t < minX_) continue;
        out += fmt::format(
            "<line x1=\"{0}\" y1=\"{1}\" x2=\"{0}\" y2=\"{2}\" stroke=\"{3}\" />"
            "<text x=\"{0}\" y=\"{4}\" fill=\"{3}\" font-size=\"11\" text-anchor=\"middle\">{5}</text>\n",
            num(px(t)), num(kTop + kPlot), num(kTop + kPlot + 5), kAxisColour, num(kTop + kPlot + 18), t);
    }
    for (int t = floorDiv(minY_, step) * step; t <= maxY_; t += step) {
        if (t < minY_) continue;
        out += fmt::format(
            "<line x1=\"{0}\" y1=\"{1}\" x2=\"{2}\" y2=\"{1}\" stroke=\"{3}\" />"
            "<text x=\"{4}\" y=\"{5}\" fill=\"{3}\" font-size=\"11\" text-anchor=\"end\">{6}</text>\n",
            num(kLeft - 5), num(py(t)), num(kLeft), kAxisColour, num(kLeft - 8), num(py(t) + 4), t);
    }
    out +=
        fmt::format("<text x=\"{}\" y=\"{}\" fill=\"{}\" font-size=\"12\" text-anchor=\"middle\">x (parsecs)</text>\n",
                    num(kLeft + kPlot / 2), num(kTop + kPlot + 38), kAxisColour);
    out += fmt::format(
        "<text x=\"14\" y=\"{0}\" fill=\"{1}\" font-size=\"12\" text-anchor=\"middle\" "
        "transform=\"rotate(-90 14 {0})\">y (parsecs)</text>\n",
        num(kTop + kPlot / 2), kAxisColour);
    return out;
}

std::string SectorMap::legend() const {
    std::string out;
    const double x = kLeft + kPlot + 30.0;
    double y = kTop + 10.0;
    const auto line = [&](const std::string& mark, const std::string& text) {
        out += mark;
        out += fmt::format("<text x=\"{}\" y=\"{}\" fill=\"#dde3f0\" font-size=\"12\">{}</text>\n", num(x + 16),
                           num(y + 4), escapeHtml(text));
        y += 18.0;
    };
    if (aggregated_) {
        line(fmt::format("<rect x=\"{}\" y=\"{}\" width=\"10\" height=\"10\" fill=\"#ffe066\" />", num(x), num(y - 5)),
             "cell with systems (brighter: more)");
    } else {
        for (std::size_t kind = 1; kind < kindsSeen_.size(); ++kind) {
            if (!kindsSeen_[kind]) continue;
            const int k = static_cast<int>(kind);
            line(fmt::format("<circle cx=\"{}\" cy=\"{}\" r=\"4\" fill=\"{}\" />", num(x + 5), num(y),
                             starKindInfo(k).colour),
                 fmt::format("{} ({})", starPlainName(k), spectralDesignation(k, 0)));
        }
        line(fmt::format("<circle cx=\"{}\" cy=\"{}\" r=\"4\" fill=\"#ffffff\" fill-opacity=\"0.35\" />", num(x + 5),
                         num(y)),
             fmt::format("dimmer: lower z (z {} to {})", minZ_, maxZ_));
    }
    line(fmt::format("<circle cx=\"{}\" cy=\"{}\" r=\"6\" fill=\"none\" stroke=\"{}\" />", num(x + 5), num(y),
                     kRaceColour),
         "native race");
    line(fmt::format("<rect x=\"{}\" y=\"{}\" width=\"12\" height=\"12\" fill=\"none\" stroke=\"{}\" />", num(x - 1),
                     num(y - 6), kControlColour),
         "controlled (owned colony)");
    for (std::size_t i = 0; i < territories_.size() && i < kMapLegendTerritories; ++i) {
        const std::string colour = colourHex(territories_[i].second);
        line(fmt::format("<rect x=\"{}\" y=\"{}\" width=\"12\" height=\"12\" fill=\"{}\" fill-opacity=\"0.3\" "
                         "stroke=\"{}\" />",
                         num(x - 1), num(y - 6), colour, colour),
             territories_[i].first);
    }
    if (territories_.size() > kMapLegendTerritories) {
        line("", fmt::format("and {} more territories", territories_.size() - kMapLegendTerritories));
    }
    return out;
}

double SectorMap::radius() const { return points_.size() > 2000 ? 1.6 : (points_.size() > 300 ? 2.5 : 3.5); }

std::string SectorMap::labels(std::size_t& drawn) const {
    drawn = 0;
    const double radius = this->radius();
    // Inhabited systems first (a native race, then an owned colony), then
    // the brightest; ties go to the lower id, so a map is the same each time.
    std::vector<std::size_t> inhabited;
    std::vector<std::size_t> bright;
    for (std::size_t k = 0; k < points_.size(); ++k) {
        const MapSystem& s = points_[k];
        if (s.name.empty()) continue;
        (s.nativeRace || s.controlled ? inhabited : bright).push_back(k);
    }
    if (inhabited.empty() && bright.empty()) return {};
    const auto before = [&](std::size_t a, std::size_t b) {
        const MapSystem& p = points_[a];
        const MapSystem& q = points_[b];
        if (p.nativeRace != q.nativeRace) return p.nativeRace;
        if (p.brightness != q.brightness) return p.brightness > q.brightness;
        return a < b;
    };
    std::sort(inhabited.begin(), inhabited.end(), before);
    const std::size_t brightest = std::min(bright.size(), kMapBrightLabels);
    std::partial_sort(bright.begin(), bright.begin() + static_cast<std::ptrdiff_t>(brightest), bright.end(), before);
    bright.resize(brightest);
    inhabited.insert(inhabited.end(), bright.begin(), bright.end());

    // Every dot is an obstacle too, so that no name covers another system.
    std::vector<Box> taken;
    for (const MapSystem& s : points_) {
        taken.push_back({px(s.x) - radius, py(s.y) - radius, px(s.x) + radius, py(s.y) + radius});
    }
    const std::size_t dots = taken.size();
    std::string out;
    for (const std::size_t k : inhabited) {
        if (drawn == kMapLabelLimit) break;
        const MapSystem& s = points_[k];
        const double width = kLabelCharWidth * static_cast<double>(displayWidth(s.name));
        // Right of the dot, else left of it.
        for (const bool right : {true, false}) {
            const double x0 = right ? px(s.x) + radius + 3.0 : px(s.x) - radius - 3.0 - width;
            const Box box{x0, py(s.y) - kLabelHeight / 2, x0 + width, py(s.y) + kLabelHeight / 2};
            if (box.x0 < kLeft || box.x1 > kLeft + kPlot || box.y0 < kTop || box.y1 > kTop + kPlot) continue;
            bool clear = true;
            for (std::size_t t = 0; t < taken.size() && clear; ++t) {
                // The system's own dot is not in the way of its own name.
                if (t < dots && t == k) continue;
                clear = !box.overlaps(taken[t]);
            }
            if (!clear) continue;
            taken.push_back(box);
            out +=
                fmt::format("<text x=\"{}\" y=\"{}\">{}</text>\n", num(box.x0), num(box.y1 - 2.5), escapeHtml(s.name));
            ++drawn;
            break;
        }
    }
    if (out.empty()) return out;
    return fmt::format("<g class=\"labels\" fill=\"#dde3f0\" font-size=\"{}\" font-family=\"sans-serif\">\n{}</g>\n",
                       num(kLabelFont), out);
}

std::string SectorMap::svg() const {
    std::string out = fmt::format(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"{0}\" height=\"{1}\" viewBox=\"0 0 {0} {1}\" "
        "role=\"img\" aria-label=\"Map of the sector\">\n",
        num(kWidth), num(kHeight));
    out += axes();
    const double cellSize = kPlot / kMapGridCells;
    if (aggregated_) {
        std::uint32_t busiest = 1;
        for (const Cell& cell : cells_) busiest = std::max(busiest, cell.systems);
        for (int cy = 0; cy < kMapGridCells; ++cy) {
            for (int cx = 0; cx < kMapGridCells; ++cx) {
                const Cell& cell = cells_[static_cast<std::size_t>(cy * kMapGridCells + cx)];
                if (cell.systems == 0) continue;
                const double opacity = 0.15 + 0.85 * std::sqrt(static_cast<double>(cell.systems) / busiest);
                const double x = kLeft + cx * cellSize;
                const double y = kTop + kPlot - (cy + 1) * cellSize;
                const std::string stroke = cell.races > 0
                                               ? kRaceColour
                                               : (cell.territory ? colourHex(*cell.territory)
                                                                 : (cell.controlled > 0 ? kControlColour : "none"));
                out += fmt::format(
                    "<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" fill=\"#ffe066\" "
                    "fill-opacity=\"{:.2f}\" stroke=\"{}\" stroke-width=\"0.6\" />\n",
                    num(x), num(y), num(cellSize), num(cellSize), opacity, stroke);
            }
        }
    } else {
        const double radius = this->radius();
        const double zSpan = std::max(1, maxZ_ - minZ_);
        for (const MapSystem& s : points_) {
            const double opacity = maxZ_ == minZ_ ? 1.0 : 0.35 + 0.65 * (s.z - minZ_) / zSpan;
            const double x = px(s.x);
            const double y = py(s.y);
            const std::string href = href_ && s.id >= 0 ? href_(s.id) : std::string();
            if (!href.empty()) {
                const std::string who = !hideIds_        ? fmt::format("System {}", s.id)
                                        : s.name.empty() ? std::string("A system")
                                                         : escapeHtml(s.name);
                out +=
                    fmt::format("<a href=\"{}\"><title>{} at {}, {}, {}</title>", escapeHtml(href), who, s.x, s.y, s.z);
            }
            out += fmt::format("<circle cx=\"{}\" cy=\"{}\" r=\"{}\" fill=\"{}\" fill-opacity=\"{:.2f}\" />", num(x),
                               num(y), num(radius), starKindInfo(s.primaryKind).colour, opacity);
            if (s.nativeRace) {
                out += fmt::format("<circle cx=\"{}\" cy=\"{}\" r=\"{}\" fill=\"none\" stroke=\"{}\" />", num(x),
                                   num(y), num(radius + 2.5), kRaceColour);
            }
            if (s.territory) {
                // Tinted beneath the star's dot would hide it: the box is
                // drawn over it, its fill faint enough to show the star.
                const double half = radius + 4.0;
                const std::string colour = colourHex(*s.territory);
                out += fmt::format(
                    "<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" fill=\"{}\" "
                    "fill-opacity=\"0.3\" stroke=\"{}\" />",
                    num(x - half), num(y - half), num(2 * half), num(2 * half), colour, colour);
            } else if (s.controlled) {
                const double half = radius + 4.0;
                out += fmt::format("<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" fill=\"none\" stroke=\"{}\" />",
                                   num(x - half), num(y - half), num(2 * half), num(2 * half), kControlColour);
            }
            if (!href.empty()) out += "</a>";
            out += "\n";
        }
        std::size_t drawn = 0;
        out += labels(drawn);
    }
    out += legend();
    out += "</svg>";
    return out;
}

std::string SectorMap::caption() const {
    if (systemCount_ == 0) return "The sector holds no systems: the map is empty.";
    if (aggregated_) {
        const double cell = static_cast<double>(maxX_ - minX_) / kMapGridCells;
        return fmt::format(
            "Seen from above, x to the right and y upwards. The sector holds {} systems, more than the map draws one "
            "by one (at most {}): each square is a cell of {} by {} parsecs, brighter for more systems, outlined "
            "when it holds a native race or an owned colony.",
            grouped(systemCount_), grouped(static_cast<long long>(kMapPointLimit)), fixed(cell, 1), fixed(cell, 1));
    }
    std::size_t drawn = 0;
    (void)labels(drawn);
    return fmt::format(
        "Seen from above, x to the right and y upwards; each of the {} systems is drawn in the colour of its primary "
        "star, brighter the higher its z.{}",
        grouped(systemCount_), drawn == 0 ? "" : " Names mark the inhabited and the brightest systems where they fit.");
}

}  // namespace orrimar::logs

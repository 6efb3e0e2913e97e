#include <QColor>
#include <QFont>
#include <QFontMetricsF>

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "atlas/atlas_model.h"
#include "atlas/camera.h"
#include "atlas/labels.h"
#include "atlas/players_sight.h"
#include "vocabulary/body_names.h"
#include "engine/engine.h"
#include "print/scene_parts.h"
#include "ui/atlas_session_state.h"

// The frames of the map: the dots, labels, marks and frame of the open
// sector as the camera sees it, and what lies under the pointer.

namespace orrimar::ui {

using namespace print;

namespace {

// Above this many systems in the picture, dots that share a few pixels are
// drawn as one mark: the eye cannot tell them apart, and a million systems
// then cost a few hundred thousand points instead of a million.
constexpr std::size_t kDotBudget = 200000;
constexpr double kMergePixels = 3.0;
// Systems drawn while a sector above the dot budget moves.
constexpr std::size_t kMovingSystems = 100000;
// Above this many systems in the picture dots shrink.
constexpr std::size_t kCrowded = 20000;
// Labels are tried for at most this many systems (the brightest, the
// selected, the matches and the route first): placing more only fills the
// screen with text that cannot fit anyway.
constexpr std::size_t kLabelCandidates = 2000;
// Pixels from the pointer within which hover lists names.
constexpr double kHoverRadius = 6.0;
constexpr int kHoverLines = 12;

}  // namespace

AtlasScene AtlasSession::scene(QSize size, bool withLabels) const {
    State& s = *state_;
    AtlasScene scene;
    scene.revision = s.revision * 1000003ULL + static_cast<std::uint64_t>(size.width()) * 4099ULL +
                     static_cast<std::uint64_t>(size.height());
    if (!s.model) {
        scene.message = QStringLiteral("Open a sector to see it here (File > Open sector, or Ctrl+O).");
        return scene;
    }
    const atlas::AtlasModel& model = s.shown();
    // While the view moves, a sector too big to draw dot by dot is drawn
    // from an even sample of its systems (a million turn as a hundred
    // thousand); the settled frame draws them all.
    std::vector<atlas::ProjectedSystem> sampled;
    if (!withLabels && model.size() > static_cast<SystemId>(kDotBudget)) {
        s.fitTo(size);
        if (s.sample.size() != static_cast<std::size_t>(model.size())) {
            const std::size_t step = (static_cast<std::size_t>(model.size()) + kMovingSystems - 1) / kMovingSystems;
            s.sample.assign(static_cast<std::size_t>(model.size()), 0);
            for (std::size_t id = 0; id < s.sample.size(); id += step) s.sample[id] = 1;
        }
        sampled = atlas::projectSystems(s.camera, model, &s.sample);
    }
    const std::vector<atlas::ProjectedSystem>& projected = sampled.empty() ? s.projectFor(size) : sampled;
    const atlas::Bounds& bounds = model.bounds();
    scene.filterActive = s.filterActive;
    const auto isLit = [&](SystemId id) {
        return !s.filterActive || (static_cast<std::size_t>(id) < s.lit.size() && s.lit[static_cast<std::size_t>(id)]);
    };

    // A crowded picture gets smaller dots, down to 60 %, so that the
    // systems stay apart and the frame has fewer pixels to blend.
    const float crowd = projected.size() > kCrowded
                            ? std::max(0.6F, static_cast<float>(std::sqrt(double(kCrowded) / double(projected.size()))))
                            : 1.0F;
    if (projected.size() <= kDotBudget) {
        scene.dots.reserve(projected.size());
        for (const atlas::ProjectedSystem& p : projected) {
            const atlas::SystemEntry& e = model.entry(p.id);
            AtlasDot dot;
            dot.at = QPointF(p.x, p.y);
            dot.radius = dotRadius(e.brightness, p.scale) * crowd;
            dot.colour = starColour(e.starKind);
            dot.shade = shadeOf(atlas::depthFactor(s.camera, bounds, p.depth));
            dot.marks = marksOf(e);
            dot.lit = isLit(p.id);
            dot.id = p.id;
            dot.tint = territoryTint(p.id);
            scene.dots.push_back(dot);
        }
    } else {
        const auto marks = atlas::aggregate(projected, model, kMergePixels, s.camera.width, s.camera.height);
        scene.dots.reserve(marks.size());
        for (const atlas::AggregateMark& mark : marks) {
            const atlas::SystemEntry& e = model.entry(mark.nearest);
            AtlasDot dot;
            dot.at = QPointF(mark.x, mark.y);
            dot.radius =
                dotRadius(e.brightness, 1.0F) + static_cast<float>(std::log2(static_cast<double>(mark.count))) * 0.3F;
            dot.colour = starColour(mark.dominantKind);
            dot.shade = shadeOf(atlas::depthFactor(s.camera, bounds, mark.depth));
            dot.lit = isLit(mark.nearest);
            dot.id = mark.nearest;
            dot.tint = territoryTint(mark.nearest);
            scene.dots.push_back(dot);
            if (mark.count >= 2) scene.clusters.push_back(AtlasCluster{dot.at, static_cast<int>(mark.count), dot.lit});
        }
        // Counts are drawn only where they are large enough to read.
        std::erase_if(scene.clusters, [](const AtlasCluster& c) { return c.count < 64; });
    }

    addFrame(s.camera, bounds, scene);
    addTerritories(scene);

    // Labels: selection first, then the route, the matches, the brightest.
    // Left out while the view moves: placing them is a third of a frame.
    std::vector<atlas::LabelCandidate> candidates;
    if (withLabels) {
        candidates.reserve(std::min(projected.size(), kLabelCandidates) + 16);
        const auto onRoute = [&](SystemId id) {
            return std::find(s.route.systems.begin(), s.route.systems.end(), id) != s.route.systems.end();
        };
        for (const atlas::ProjectedSystem& p : projected) {
            if (s.players && !atlas::PlayersSight::labelled(model, p.id)) continue;
            const atlas::SystemEntry& e = model.entry(p.id);
            int priority = e.brightness;
            if (!model.name(p.id).empty()) priority += 20;
            if (s.filterActive && isLit(p.id)) priority += 40;
            if (onRoute(p.id)) priority += 80;
            if (s.selected && *s.selected == p.id) priority += 1000;
            candidates.push_back(atlas::LabelCandidate{p.id, p.x, p.y, priority});
        }
        if (candidates.size() > kLabelCandidates) {
            std::nth_element(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(kLabelCandidates),
                             candidates.end(), [](const auto& a, const auto& b) { return a.priority > b.priority; });
            candidates.resize(kLabelCandidates);
        }
        QFont font;
        font.setPointSizeF(8.0);
        const QFontMetricsF metrics(font);
        atlas::LabelOptions options;
        options.width = s.camera.width;
        options.height = s.camera.height;
        const auto placed = atlas::placeLabels(
            candidates,
            [&](SystemId id) {
                auto known = s.labelWidths.find(id);
                if (known == s.labelWidths.end()) {
                    const QString text = QString::fromStdString(s.label(id));
                    known = s.labelWidths.emplace(id, static_cast<float>(metrics.horizontalAdvance(text) + 2.0)).first;
                }
                return atlas::LabelSize{known->second, metrics.height()};
            },
            options);
        scene.labels.reserve(placed.size());
        for (const atlas::PlacedLabel& label : placed) {
            scene.labels.push_back(AtlasLabel{QRectF(label.box.left, label.box.top, label.box.width, label.box.height),
                                              QString::fromStdString(s.label(label.id)), isLit(label.id)});
        }
    }

    if (s.route.found) {
        for (const SystemId id : s.route.systems) {
            const atlas::SystemEntry& e = model.entry(id);
            const atlas::ScreenPoint p = atlas::project(s.camera, atlas::Vec3{double(e.x), double(e.y), double(e.z)});
            scene.route.emplace_back(p.x, p.y);
        }
        // Each leg's distance goes beside its middle where it covers no
        // name, no other distance and no stop; a leg with no such place
        // keeps its distance in the list of legs only.
        QFont font;
        font.setPointSizeF(8.0);
        const QFontMetricsF metrics(font);
        std::vector<atlas::LabelRect> taken;
        taken.reserve(scene.labels.size() + 2 * scene.route.size());
        for (const AtlasLabel& label : scene.labels)
            taken.push_back({label.box.left(), label.box.top(), label.box.width(), label.box.height()});
        for (const QPointF& stop : scene.route) taken.push_back({stop.x() - 4, stop.y() - 4, 8, 8});
        atlas::LabelOptions options;
        options.width = s.camera.width;
        options.height = s.camera.height;
        options.gap = 2.0;
        options.dotRadius = 2.0;
        for (std::size_t i = 0; i < s.route.legs.size() && i + 1 < scene.route.size(); ++i) {
            const QString text = QString::number(s.route.legs[i].parsecs, 'f', 1) + QStringLiteral(" pc");
            const QPointF middle = (scene.route[i] + scene.route[i + 1]) / 2.0;
            const auto box = atlas::placeBeside(
                middle.x(), middle.y(), atlas::LabelSize{metrics.horizontalAdvance(text) + 2.0, metrics.height()},
                taken, options);
            if (!box) continue;
            taken.push_back(*box);
            scene.routeLegs.push_back(AtlasLabel{QRectF(box->left, box->top, box->width, box->height), text, true});
        }
    }
    if (s.selected) {
        const atlas::SystemEntry& e = model.entry(*s.selected);
        const atlas::ScreenPoint p = atlas::project(s.camera, atlas::Vec3{double(e.x), double(e.y), double(e.z)});
        scene.hasSelection = true;
        scene.selected = QPointF(p.x, p.y);
        scene.selectedRadius = dotRadius(e.brightness, static_cast<float>(p.scale));
    }

    QString caption = viewTitle(s.camera.view);
    if (s.camera.slab.enabled) {
        caption += QStringLiteral(", slab %1 %2..%3")
                       .arg(QLatin1Char("xyz"[static_cast<int>(s.camera.slab.axis)]))
                       .arg(s.camera.slab.from)
                       .arg(s.camera.slab.to);
    }
    caption += QStringLiteral(": %1 of %2 systems").arg(projected.size()).arg(model.size());
    if (s.filterActive) {
        const auto matching = std::count(s.lit.begin(), s.lit.end(), std::uint8_t{1});
        caption += QStringLiteral(", %1 matching").arg(matching);
    }
    if (s.route.found) {
        caption += QStringLiteral(", route of %1 jumps, %2 pc").arg(s.route.jumps()).arg(s.route.parsecs, 0, 'f', 1);
    }
    scene.caption = caption;
    return scene;
}

std::optional<std::int32_t> AtlasSession::pick(QPointF at, QSize size) const {
    if (!state_->model) return std::nullopt;
    const SystemId id = atlas::pick(state_->projectFor(size), at.x(), at.y());
    if (id == atlas::kNoSystem) return std::nullopt;
    return id;
}

std::string AtlasSession::namesNear(QPointF at, QSize size) const {
    const State& s = *state_;
    if (!s.model) return {};
    const auto& projected = state_->projectFor(size);
    std::vector<std::pair<double, SystemId>> near;
    for (const atlas::ProjectedSystem& p : projected) {
        const double d = std::hypot(p.x - at.x(), p.y - at.y());
        if (d <= kHoverRadius) near.emplace_back(d, p.id);
    }
    std::sort(near.begin(), near.end());
    std::string text;
    int lines = 0;
    for (const auto& [d, id] : near) {
        if (lines == kHoverLines) {
            text += fmt::format("\n... and {} more", near.size() - static_cast<std::size_t>(lines));
            break;
        }
        const atlas::SystemEntry& e = s.shown().entry(id);
        if (!text.empty()) text += '\n';
        text += fmt::format("{} ({}, {}, {}) {}", systemName(id), e.x, e.y, e.z, vocabulary::starPlainName(e.starKind));
        ++lines;
    }
    return text;
}

}  // namespace orrimar::ui

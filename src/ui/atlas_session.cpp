#include "ui/atlas_session.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QTemporaryDir>

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <unordered_map>

#include "atlas/atlas_model.h"
#include "atlas/camera.h"
#include "atlas/filters.h"
#include "atlas/labels.h"
#include "atlas/routes.h"
#include "engine/body_names.h"
#include "engine/engine.h"
#include "engine/engine_files.h"
#include "engine/star_summary.h"
#include "common/bit_flags.h"
#include "records/world_types.h"
#include "names/sector_names.h"
#include "common/ansi_text.h"
#include "common/errors.h"
#include "names/rename.h"
#include "ui/atlas_session_state.h"

namespace orrimar::ui {

namespace {

using atlas::SystemId;

constexpr std::array<atlas::View, 4> kViews = {atlas::View::Cube, atlas::View::Top, atlas::View::Front,
                                              atlas::View::Side};

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
// Rows listed in the search table; the map lights every match.
constexpr std::size_t kListedMatches = 5000;
// Pixels from the pointer within which hover lists names.
constexpr double kHoverRadius = 6.0;
constexpr int kHoverLines = 12;

struct Band {
    const char* text;
    double min;
    double max;
};
constexpr std::array<Band, 5> kTemperatureBands = {{
    {"Frozen (below -50 °C)", -10000, -51},
    {"Cold (-50 to -1 °C)", -50, -1},
    {"Temperate (0 to 30 °C)", 0, 30},
    {"Hot (31 to 80 °C)", 31, 80},
    {"Scorching (above 80 °C)", 81, 10000},
}};
constexpr std::array<Band, 4> kWaterBands = {{
    {"Dry (none)", 0, 0},
    {"Some (1 to 30 %)", 1, 30},
    {"Much (31 to 70 %)", 31, 70},
    {"Ocean (71 to 100 %)", 71, 100},
}};
constexpr std::array<Band, 3> kGravityBands = {{
    {"Low (below 0.5 g)", 0.0, 0.49},
    {"Earth-like (0.5 to 1.5 g)", 0.5, 1.5},
    {"High (above 1.5 g)", 1.51, 1000.0},
}};
// Kinds a primary star can be: the companion-only kinds are left out.
constexpr std::array<int, 19> kPrimaryKinds = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 19, 22};
enum class Via { Any, GasGiant, Breathable, NativeRace, Colony };
const QStringList kViaNames = {QStringLiteral("any system"), QStringLiteral("systems with a gas giant"),
                               QStringLiteral("systems with a breathable world"),
                               QStringLiteral("systems with a native race"), QStringLiteral("systems with a colony")};

QString any() { return QStringLiteral("any"); }

// The engine's map colours of the star kinds, parsed once: parsing per dot
// was a tenth of a 100,000-system frame.
QRgb starColour(int kind) {
    static const std::array<QRgb, 256> colours = [] {
        std::array<QRgb, 256> table{};
        for (int k = 0; k < 256; ++k) {
            const std::string_view colour = engine::starKindInfo(k).colour;
            table[static_cast<std::size_t>(k)] =
                QColor::fromString(QLatin1StringView(colour.data(), static_cast<qsizetype>(colour.size()))).rgb();
        }
        return table;
    }();
    return colours[static_cast<std::size_t>(kind & 0xff)];
}

// The engine writes a system log to a file; the atlas shows it in the
// window, so it goes through a private scratch folder.
std::string starlogHtml(const std::string& base, std::int32_t id) {
    QTemporaryDir scratch;
    if (!scratch.isValid()) throw IoError("No scratch folder for the system log");
    const std::string path = QFile::encodeName(scratch.filePath(QStringLiteral("system.html"))).toStdString();
    engine::main_starlog(base, path, id, 1, engine::kFormatHtml);
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) throw IoError("The system log could not be read back");
    return file.readAll().toStdString();
}

}  // namespace

AtlasSession::AtlasSession() : state_(std::make_unique<State>()) {}
AtlasSession::~AtlasSession() = default;

// ------------------------------------------------------------- choices

QStringList AtlasSession::starKindChoices() {
    QStringList list{any()};
    for (const int kind : kPrimaryKinds) {
        const engine::StarKindInfo& info = engine::starKindInfo(kind);
        QString text = QString::fromUtf8(info.plainName.data(), static_cast<qsizetype>(info.plainName.size()));
        text[0] = text[0].toUpper();
        if (!info.spectralClass.empty())
            text += QStringLiteral(" (%1 %2)").arg(QString::fromStdString(std::string(info.spectralClass)),
                                                   QString::fromStdString(std::string(info.luminosityClass)));
        list << text;
    }
    return list;
}

QStringList AtlasSession::worldTypeChoices() {
    QStringList list{any()};
    for (int type = 1; type <= world::kCount; ++type) list << QString::fromStdString(engine::worldTypeText(type));
    return list;
}

QStringList AtlasSession::temperatureChoices() {
    QStringList list{any()};
    for (const Band& band : kTemperatureBands) list << QString::fromUtf8(band.text);
    return list;
}

QStringList AtlasSession::waterChoices() {
    QStringList list{any()};
    for (const Band& band : kWaterBands) list << QString::fromUtf8(band.text);
    return list;
}

QStringList AtlasSession::gravityChoices() {
    QStringList list{any()};
    for (const Band& band : kGravityBands) list << QString::fromUtf8(band.text);
    return list;
}

QStringList AtlasSession::lifeChoices() {
    QStringList list{any()};
    for (int level = 1; level < engine::kLifeLevelCount; ++level) {
        const std::string_view name = engine::lifeLevelName(static_cast<engine::LifeLevel>(level));
        list << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) + QStringLiteral(" or more");
    }
    return list;
}

QStringList AtlasSession::viaChoices() { return kViaNames; }


// ------------------------------------------------------------- sector

atlas::AtlasModel loadSectorModel(const std::string& baseName) {
    atlas::AtlasModel model = atlas::AtlasModel::open(baseName);
    // The systems' names, from the sector's name records.
    const SectorNames names = SectorNames::load(baseName);
    names.forEach(NameKind::System, [&model](std::int64_t id, const std::string& name) {
        if (id >= 0 && id < model.size()) model.setName(static_cast<SystemId>(id), ansiToUtf8(name));
    });
    return model;
}

void AtlasSession::open(const std::string& baseName) { adopt(loadSectorModel(baseName)); }

void AtlasSession::adopt(atlas::AtlasModel model) {
    State& s = *state_;
    s.model = std::move(model);
    s.labelWidths.clear();
    s.sample.clear();
    s.lit.clear();
    s.filterActive = false;
    s.selected.reset();
    s.route = atlas::Route{};
    const atlas::Bounds& bounds = s.model->bounds();
    // A flat sector reads best from above; a cube as a cube.
    s.view = bounds.max[2] > bounds.min[2] ? 0 : 1;
    s.camera = atlas::Camera{};
    s.camera.view = kViews[static_cast<std::size_t>(s.view)];
    s.needsFit = true;
    s.changed();
}

bool AtlasSession::isOpen() const { return state_->model.has_value(); }
std::string AtlasSession::sectorName() const { return isOpen() ? state_->model->sectorName() : std::string(); }
std::int32_t AtlasSession::systemCount() const { return isOpen() ? state_->model->size() : 0; }

// --------------------------------------------------------------- view

int AtlasSession::view() const { return state_->view; }

void AtlasSession::setView(int view) {
    State& s = *state_;
    if (view < 0 || view >= static_cast<int>(kViews.size()) || view == s.view) return;
    s.view = view;
    s.camera.view = kViews[static_cast<std::size_t>(view)];
    // Each view reads its own depth axis: a slab across z means nothing
    // seen from the side.
    s.camera.slab.enabled = false;
    s.camera.slab.axis = atlas::depthAxis(s.camera.view);
    s.needsFit = true;
    s.changed();
}

AtlasSession::SlabRange AtlasSession::slab() const {
    const State& s = *state_;
    SlabRange range;
    const atlas::Axis axis = atlas::depthAxis(s.camera.view);
    const int a = static_cast<int>(axis);
    range.axis = "xyz"[a];
    if (!s.model) return range;
    range.lowest = s.model->bounds().min[static_cast<std::size_t>(a)];
    range.highest = s.model->bounds().max[static_cast<std::size_t>(a)];
    range.from = s.camera.slab.enabled ? s.camera.slab.from : range.lowest;
    range.to = s.camera.slab.enabled ? s.camera.slab.to : range.highest;
    return range;
}

void AtlasSession::setSlab(int from, int to) {
    State& s = *state_;
    if (!s.model) return;
    const SlabRange range = slab();
    from = std::clamp(from, range.lowest, range.highest);
    to = std::clamp(to, range.lowest, range.highest);
    if (from > to) std::swap(from, to);
    s.camera.slab.axis = atlas::depthAxis(s.camera.view);
    s.camera.slab.from = from;
    s.camera.slab.to = to;
    s.camera.slab.enabled = from > range.lowest || to < range.highest;
    s.changed();
}

void AtlasSession::stepSlab(int step) {
    const SlabRange range = slab();
    if (!state_->camera.slab.enabled) {
        // The first step from the whole sector reads one layer from the
        // side it moves from.
        const int layer = step > 0 ? range.lowest : range.highest;
        setSlab(layer, layer);
        return;
    }
    const int width = range.to - range.from;
    int from = std::clamp(range.from + step, range.lowest, range.highest - width);
    setSlab(from, from + width);
}

void AtlasSession::turn(QPointF dragPixels) {
    if (state_->camera.view != atlas::View::Cube) return;
    state_->camera.turn(dragPixels.x(), dragPixels.y());
    state_->changed();
}

void AtlasSession::pan(QPointF pixels) {
    state_->camera.panBy(pixels.x(), pixels.y());
    state_->changed();
}

void AtlasSession::zoom(double factor, QPointF about) {
    state_->camera.zoomAt(factor, about.x(), about.y());
    state_->changed();
}

void AtlasSession::resetCamera() {
    State& s = *state_;
    const atlas::View view = s.camera.view;
    const int width = s.camera.width;
    const int height = s.camera.height;
    s.camera = atlas::Camera{};
    s.camera.view = view;
    s.camera.slab.axis = atlas::depthAxis(view);
    s.camera.width = width;
    s.camera.height = height;
    s.needsFit = true;
    s.changed();
}

// -------------------------------------------------------------- scene

namespace {

float dotRadius(std::uint8_t brightness, float scale) {
    // Brightness classes 0..7 span a dim red dwarf to a hypergiant: one to
    // four pixels, then the perspective's shrinking with distance.
    const float radius = 1.0F + 0.42F * static_cast<float>(brightness);
    return radius * std::clamp(scale, 0.5F, 2.0F);
}

std::uint8_t shadeOf(double nearness) {
    const double level = std::round((1.0 - std::clamp(nearness, 0.0, 1.0)) * (kShadeLevels - 1));
    return static_cast<std::uint8_t>(level);
}

void addFrame(const atlas::Camera& camera, const atlas::Bounds& bounds, AtlasScene& scene) {
    std::array<double, 3> lo{};
    std::array<double, 3> hi{};
    for (std::size_t a = 0; a < 3; ++a) {
        lo[a] = bounds.min[a] - 0.5;
        hi[a] = bounds.max[a] + 0.5;
    }
    if (camera.slab.enabled) {
        const auto a = static_cast<std::size_t>(camera.slab.axis);
        lo[a] = camera.slab.from - 0.5;
        hi[a] = camera.slab.to + 0.5;
    }
    std::array<atlas::ScreenPoint, 8> corner;
    for (int c = 0; c < 8; ++c) {
        const atlas::Vec3 world{(c & 1) ? hi[0] : lo[0], (c & 2) ? hi[1] : lo[1], (c & 4) ? hi[2] : lo[2]};
        corner[static_cast<std::size_t>(c)] = atlas::project(camera, world);
    }
    // The corner farthest from the eye: its three edges are behind the dots.
    int far = 0;
    for (int c = 1; c < 8; ++c)
        if (corner[static_cast<std::size_t>(c)].depth < corner[static_cast<std::size_t>(far)].depth) far = c;
    for (int c = 0; c < 8; ++c) {
        for (const int bit : {1, 2, 4}) {
            if (c & bit) continue;
            const int d = c | bit;
            const atlas::ScreenPoint& p = corner[static_cast<std::size_t>(c)];
            const atlas::ScreenPoint& q = corner[static_cast<std::size_t>(d)];
            const QLineF line(p.x, p.y, q.x, q.y);
            if (line.length() < 0.5) continue;  // an edge seen end on (flat views)
            const bool back = camera.view == atlas::View::Cube && (c == far || d == far);
            (back ? scene.frameBack : scene.frame).push_back(line);
        }
    }
}

const char* viewName(atlas::View view) {
    switch (view) {
        case atlas::View::Top: return "Top view";
        case atlas::View::Front: return "Front view";
        case atlas::View::Side: return "Side view";
        case atlas::View::Cube: return "Cube";
    }
    return "";
}

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
    const atlas::AtlasModel& model = *s.model;
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
            dot.marks = static_cast<std::uint8_t>(((e.marks & atlas::kMarkNativeLife) ? kMarkLife : 0) |
                                                  ((e.marks & atlas::kMarkNativeRace) ? kMarkRace : 0) |
                                                  ((e.marks & atlas::kMarkOwnedColony) ? kMarkColony : 0));
            dot.lit = isLit(p.id);
            dot.id = p.id;
            scene.dots.push_back(dot);
        }
    } else {
        const auto marks = atlas::aggregate(projected, model, kMergePixels, s.camera.width, s.camera.height);
        scene.dots.reserve(marks.size());
        for (const atlas::AggregateMark& mark : marks) {
            const atlas::SystemEntry& e = model.entry(mark.nearest);
            AtlasDot dot;
            dot.at = QPointF(mark.x, mark.y);
            dot.radius = dotRadius(e.brightness, 1.0F) +
                         static_cast<float>(std::log2(static_cast<double>(mark.count))) * 0.3F;
            dot.colour = starColour(mark.dominantKind);
            dot.shade = shadeOf(atlas::depthFactor(s.camera, bounds, mark.depth));
            dot.lit = isLit(mark.nearest);
            dot.id = mark.nearest;
            scene.dots.push_back(dot);
            if (mark.count >= 2) scene.clusters.push_back(AtlasCluster{dot.at, static_cast<int>(mark.count), dot.lit});
        }
        // Counts are drawn only where they are large enough to read.
        std::erase_if(scene.clusters, [](const AtlasCluster& c) { return c.count < 64; });
    }

    addFrame(s.camera, bounds, scene);

    // Labels: selection first, then the route, the matches, the brightest.
    // Left out while the view moves: placing them is a third of a frame.
    std::vector<atlas::LabelCandidate> candidates;
    if (withLabels) {
        candidates.reserve(std::min(projected.size(), kLabelCandidates) + 16);
        const auto onRoute = [&](SystemId id) {
            return std::find(s.route.systems.begin(), s.route.systems.end(), id) != s.route.systems.end();
        };
        for (const atlas::ProjectedSystem& p : projected) {
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
                             candidates.end(),
                             [](const auto& a, const auto& b) { return a.priority > b.priority; });
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
            const auto box = atlas::placeBeside(middle.x(), middle.y(),
                                                atlas::LabelSize{metrics.horizontalAdvance(text) + 2.0, metrics.height()},
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

    QString caption = QString::fromLatin1(viewName(s.camera.view));
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
        const atlas::SystemEntry& e = s.model->entry(id);
        if (!text.empty()) text += '\n';
        text += fmt::format("{} ({}, {}, {}) {}", systemName(id), e.x, e.y, e.z,
                            engine::starPlainName(e.starKind));
        ++lines;
    }
    return text;
}

// ---------------------------------------------------------- selection

void AtlasSession::select(std::int32_t id) {
    if (!isOpen() || id < 0 || id >= systemCount()) return;
    state_->selected = id;
    state_->changed();
}

std::optional<std::int32_t> AtlasSession::selected() const { return state_->selected; }

std::string AtlasSession::systemName(std::int32_t id) const {
    if (!isOpen() || id < 0 || id >= systemCount()) return fmt::format("System {}", id);
    const std::string_view name = state_->model->name(id);
    return name.empty() ? fmt::format("System {}", id) : fmt::format("{} ({})", name, id);
}

std::string AtlasSession::nameOf(std::int32_t id) const {
    if (!isOpen() || id < 0 || id >= systemCount()) return {};
    return std::string(state_->model->name(id));
}

std::optional<std::int32_t> AtlasSession::findSystem(const std::string& text) const {
    if (!isOpen() || text.empty()) return std::nullopt;
    const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits && text.size() < 10) {
        const std::int32_t id = std::stoi(text);
        if (id < systemCount()) return id;
        return std::nullopt;
    }
    const auto found = state_->model->findByName(text);
    if (found.empty()) return std::nullopt;
    // An exact name wins over one that merely contains the text.
    for (const SystemId id : found) {
        const std::string_view name = state_->model->name(id);
        if (name.size() == text.size() &&
            std::equal(name.begin(), name.end(), text.begin(),
                       [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                   std::tolower(static_cast<unsigned char>(b)); }))
            return id;
    }
    return found.front();
}

// --------------------------------------------------------------- logs

std::string AtlasSession::summaryHtml(std::int32_t id) const {
    if (!isOpen()) return {};
    std::ostringstream html;
    engine::writeStarSummary(state_->model->baseName(), id, engine::kFormatHtml, html,
                             std::string(state_->model->name(id)));
    return html.str();
}

std::string AtlasSession::systemLogHtml(std::int32_t id) const {
    if (!isOpen()) return {};
    return starlogHtml(state_->model->baseName(), id);
}

std::string AtlasSession::alienLogHtml(std::int32_t raceId) const {
    if (!isOpen()) return {};
    std::ostringstream log;
    engine::main_alienlog(state_->model->baseName(), raceId, 0, engine::kFormatHtml, log);
    return log.str();
}

std::vector<std::int32_t> AtlasSession::racesOf(std::int32_t id) const {
    std::vector<std::int32_t> races;
    if (!isOpen()) return races;
    engine::SectorReader sector(state_->model->baseName());
    const TSystemRec system = sector.system(id);
    const int stars = starCountOf(system);
    for (int star = 0; star < stars; ++star) {
        const auto i = static_cast<std::size_t>(star);
        for (int j = 0; j < system.planetCount[i]; ++j) {
            const std::int64_t planetId = static_cast<std::int64_t>(system.firstPlanetId[i]) + j;
            if (planetId < 0 || planetId >= sector.planets().count()) continue;
            const TPlanetRec planet = sector.planet(planetId);
            // Feature byte 3 bit 3: the world is home to a native race.
            if (!hasNativeRace(planet)) continue;
            if (planet.nativeRaceId < 0 || planet.nativeRaceId >= sector.aliens().count()) continue;
            if (std::find(races.begin(), races.end(), planet.nativeRaceId) == races.end())
                races.push_back(planet.nativeRaceId);
        }
    }
    return races;
}

// ------------------------------------------------------------- search

std::vector<AtlasSession::Match> AtlasSession::search(const Query& query) {
    State& s = *state_;
    std::vector<Match> matches;
    if (!s.model) return matches;
    atlas::Filter filter;
    filter.nameOrId = query.text;
    if (query.starKind > 0 && query.starKind <= static_cast<int>(kPrimaryKinds.size()))
        filter.starKinds = atlas::codeBit(kPrimaryKinds[static_cast<std::size_t>(query.starKind - 1)]);
    if (query.worldType > 0) filter.worldTypes = atlas::codeBit(query.worldType);
    filter.breathable = query.breathable;
    if (query.temperature > 0 && query.temperature <= static_cast<int>(kTemperatureBands.size())) {
        const Band& band = kTemperatureBands[static_cast<std::size_t>(query.temperature - 1)];
        filter.temperature = atlas::Range<int>{static_cast<int>(band.min), static_cast<int>(band.max)};
    }
    if (query.water > 0 && query.water <= static_cast<int>(kWaterBands.size())) {
        const Band& band = kWaterBands[static_cast<std::size_t>(query.water - 1)];
        filter.water = atlas::Range<int>{static_cast<int>(band.min), static_cast<int>(band.max)};
    }
    if (query.gravity > 0 && query.gravity <= static_cast<int>(kGravityBands.size())) {
        const Band& band = kGravityBands[static_cast<std::size_t>(query.gravity - 1)];
        filter.gravity = atlas::Range<double>{band.min, band.max};
    }
    if (query.life > 0 && query.life < engine::kLifeLevelCount)
        filter.minLife = static_cast<engine::LifeLevel>(query.life);
    filter.nativeRace = query.nativeRace;
    filter.colony = query.colonies;
    if (query.within > 0.0) {
        if (!s.selected) throw InputError("Select a system first: \"within\" counts from the selected system");
        filter.withinOf = *s.selected;
        filter.withinParsecs = query.within;
    }
    s.lit = atlas::matchSystems(*s.model, filter);
    s.filterActive = !filter.empty();
    s.changed();
    if (!s.filterActive) return matches;
    for (std::size_t id = 0; id < s.lit.size() && matches.size() < kListedMatches; ++id) {
        if (!s.lit[id]) continue;
        const auto sid = static_cast<SystemId>(id);
        const atlas::SystemEntry& e = s.model->entry(sid);
        Match match;
        match.id = sid;
        match.name = std::string(s.model->name(sid));
        match.x = e.x;
        match.y = e.y;
        match.z = e.z;
        match.primary = std::string(engine::starPlainName(e.starKind));
        if (s.selected) match.distance = atlas::distance(*s.model, *s.selected, sid);
        matches.push_back(std::move(match));
    }
    return matches;
}

void AtlasSession::clearFilter() {
    state_->lit.clear();
    state_->filterActive = false;
    state_->changed();
}

// -------------------------------------------------------------- route

std::optional<std::vector<AtlasSession::Leg>> AtlasSession::route(std::int32_t from, std::int32_t to, double jump,
                                                                  int via) {
    State& s = *state_;
    if (!s.model) return std::nullopt;
    const atlas::AtlasModel& model = *s.model;
    std::function<bool(SystemId)> stop;
    switch (static_cast<Via>(via)) {
        case Via::Any: break;
        case Via::GasGiant:
            stop = [&model](SystemId id) { return (model.worlds(id).worldTypes & atlas::codeBit(world::kGasGiant)) != 0; };
            break;
        case Via::Breathable: stop = [&model](SystemId id) { return model.worlds(id).breathable > 0; }; break;
        case Via::NativeRace:
            stop = [&model](SystemId id) { return (model.entry(id).marks & atlas::kMarkNativeRace) != 0; };
            break;
        case Via::Colony:
            stop = [&model](SystemId id) { return (model.entry(id).marks & atlas::kMarkColony) != 0; };
            break;
    }
    s.route = atlas::findRoute(model, from, to, jump, stop);
    s.changed();
    if (!s.route.found) return std::nullopt;
    std::vector<Leg> legs;
    for (const atlas::RouteLeg& leg : s.route.legs)
        legs.push_back(Leg{leg.from, leg.to, systemName(leg.from), systemName(leg.to), leg.parsecs});
    return legs;
}

void AtlasSession::rename(std::int32_t id, const std::string& name) {
    State& s = *state_;
    if (!s.model || id < 0 || id >= s.model->size()) throw InputError(fmt::format("No system {} to rename", id));
    // Blanks typed around a name are the box's, not the name's.
    std::string trimmed = name;
    trimmed.erase(0, trimmed.find_first_not_of(' '));
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    // The core's rename: its name check and its append, under the sector's lock.
    renameInSector(s.model->baseName(), NameKind::System, id, trimmed);
    s.model->setName(id, trimmed);
    s.labelWidths.erase(id);
    s.changed();
}

}  // namespace orrimar::ui

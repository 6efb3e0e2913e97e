#include "ui/atlas_session.h"

#include "names/find_by_text.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>

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
#include "vocabulary/body_names.h"
#include "engine/engine.h"
#include "reading/sector_reader.h"
#include "logs/star_summary.h"
#include "documents/document.h"
#include "exports/players_pages.h"
#include "sheets/system_sheet.h"
#include "common/bit_flags.h"
#include "records/world_types.h"
#include "names/sector_names.h"
#include "common/ansi_text.h"
#include "common/errors.h"
#include "names/rename.h"
#include "campaign/players_view.h"
#include "ui/atlas_session_state.h"

namespace orrimar::ui {

namespace {

using atlas::SystemId;

constexpr std::array<atlas::View, 4> kViews = {atlas::View::Cube, atlas::View::Top, atlas::View::Front,
                                               atlas::View::Side};

// Rows listed in the search table; the map lights every match.
constexpr std::size_t kListedMatches = 5000;

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

QString any() { return QStringLiteral("any"); }

// The system log as the Atlas shows it: every body, in HTML, in memory.
std::string starlogHtml(const std::string& base, std::int32_t id) {
    std::ostringstream log;
    engine::main_starlog(base, log, id, engine::LogDetail::EveryBody, engine::LogFormat::Html);
    return log.str();
}

}  // namespace

AtlasSession::AtlasSession() : state_(std::make_unique<State>()) {}
AtlasSession::~AtlasSession() = default;

// ------------------------------------------------------------- choices

QStringList AtlasSession::starKindChoices() {
    QStringList list{any()};
    for (const int kind : kPrimaryKinds) {
        const vocabulary::StarKindInfo& info = vocabulary::starKindInfo(kind);
        QString text = QString::fromUtf8(info.plainName.data(), static_cast<qsizetype>(info.plainName.size()));
        text[0] = text[0].toUpper();
        if (!info.spectralClass.empty())
            text += QStringLiteral(" (%1 %2)")
                        .arg(QString::fromStdString(std::string(info.spectralClass)),
                             QString::fromStdString(std::string(info.luminosityClass)));
        list << text;
    }
    return list;
}

QStringList AtlasSession::worldTypeChoices() {
    QStringList list{any()};
    for (int type = 1; type <= world::kCount; ++type) list << QString::fromStdString(vocabulary::worldTypeText(type));
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
    for (int level = 1; level < vocabulary::kLifeLevelCount; ++level) {
        const std::string_view name = vocabulary::lifeLevelName(static_cast<vocabulary::LifeLevel>(level));
        list << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) + QStringLiteral(" or more");
    }
    return list;
}

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
    // The players' view of the model before goes with it.
    const bool players = s.players != nullptr;
    s.players.reset();
    s.model = std::move(model);
    if (players && !s.model->baseName().empty())
        s.players = std::make_unique<atlas::PlayersSight>(*s.model, orrimar::playersView(s.model->baseName()));
    s.tookModel();
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

const atlas::AtlasModel* AtlasSession::model() const { return state_->model ? &*state_->model : nullptr; }

int AtlasSession::view() const { return state_->view; }

atlas::View AtlasSession::cameraView() const { return state_->camera.view; }

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

// ---------------------------------------------------------- selection

void AtlasSession::select(std::int32_t id) {
    if (!isOpen() || id < 0 || id >= systemCount()) return;
    state_->selected = id;
    state_->changed();
}

std::optional<std::int32_t> AtlasSession::selected() const { return state_->selected; }

std::string AtlasSession::systemName(std::int32_t id) const {
    if (!isOpen() || id < 0 || id >= systemCount()) return fmt::format("System {}", id);
    const std::string_view name = state_->shown().name(id);
    if (state_->players) {
        // The players know a system by its name or its place, never its record.
        const atlas::SystemEntry& e = state_->shown().entry(id);
        return sheets::playersSystemTitle(std::string(name), e.x, e.y, e.z);
    }
    return name.empty() ? fmt::format("System {}", id) : fmt::format("{} ({})", name, id);
}

std::string AtlasSession::nameOf(std::int32_t id) const {
    if (!isOpen() || id < 0 || id >= systemCount()) return {};
    return std::string(state_->shown().name(id));
}

std::int32_t AtlasSession::findSystem(const std::string& text, std::string_view field) const {
    const atlas::AtlasModel& model = state_->shown();
    const NameSource names = [&model](const std::function<void(std::int64_t, std::string_view)>& visit) {
        for (SystemId id = 0; id < model.size(); ++id) {
            if (!model.name(id).empty()) visit(id, model.name(id));
        }
    };
    return static_cast<std::int32_t>(findByText(text, names, model.size(), field, "system"));
}

// --------------------------------------------------------------- logs

std::string AtlasSession::summaryHtml(std::int32_t id) const {
    if (!isOpen()) return {};
    const State& s = *state_;
    if (s.players && !s.players->knows({ThingKind::System, id})) {
        // A star the players have only seen from afar: where it is, no more.
        const atlas::SystemEntry& e = s.model->entry(id);
        return fmt::format("<h2>Unknown system</h2><p>At x {}, y {}, z {} parsecs.</p>", e.x, e.y, e.z);
    }
    std::ostringstream html;
    if (s.players) {
        // The players read the words of their own sheets: no race they were
        // not told of, no colony table of the sector file, no record numbers.
        reading::SectorReader sector(s.model->baseName());
        const sheets::SystemSheet sheet = sheets::gatherSheet(sector, id, {Audience::Players});
        documents::Document doc(html, documents::DocFormat::Html, sheet.title);
        exports::writeSheet(doc, sheet);
        doc.rawHtml(colonySummaryHtml(id));
        doc.finish();
        return html.str();
    }
    logs::writeStarSummary(s.model->baseName(), id, engine::LogFormat::Html, html, std::string(s.shown().name(id)));
    // Settled space follows the orbits, inside the page's body.
    std::string page = html.str();
    const std::size_t end = page.rfind("</body>");
    page.insert(end == std::string::npos ? page.size() : end, colonySummaryHtml(id));
    return page;
}

std::string AtlasSession::systemLogHtml(std::int32_t id) const {
    if (!isOpen()) return {};
    return starlogHtml(state_->model->baseName(), id);
}

// ------------------------------------------------------------- search

std::vector<AtlasSession::Match> AtlasSession::search(const Query& query) {
    State& s = *state_;
    std::vector<Match> matches;
    if (!s.model) return matches;
    const atlas::AtlasModel& model = s.shown();
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
    if (query.life > 0 && query.life < vocabulary::kLifeLevelCount)
        filter.minLife = static_cast<vocabulary::LifeLevel>(query.life);
    filter.nativeRace = query.nativeRace;
    filter.colony = query.colonies;
    applySettledQuery(query, filter);
    if (query.within > 0.0) {
        if (!s.selected) throw InputError("Select a system first: \"within\" counts from the selected system");
        filter.withinOf = *s.selected;
        filter.withinParsecs = query.within;
    }
    if (query.jumps >= 0) {
        if (query.jumpsOf.empty() && !s.selected)
            throw InputError("Select a system first, or name one: \"within jumps\" counts from it");
        filter.jumpsOf = query.jumpsOf.empty() ? *s.selected : findSystem(query.jumpsOf, "Jumps of");
        filter.maxJumps = query.jumps;
        filter.jumpParsecs = query.jumpParsecs;
        filter.jumpVia = query.jumpVia;
    }
    std::vector<std::int32_t> jumps;
    s.lit = atlas::matchSystems(model, filter, &jumps);
    // The name field's words also find systems by their notes.
    std::vector<std::pair<std::int32_t, std::string>> byNotes = lightByNotes(query.text, filter);
    for (auto& [id, opening] : byNotes) {
        std::uint8_t& bit = s.lit[static_cast<std::size_t>(id)];
        // Found by its name, the note is no news.
        if (bit != 0) opening.clear();
        bit = 1;
    }
    s.filterActive = !filter.empty();
    s.changed();
    if (!s.filterActive) return matches;
    for (std::size_t id = 0; id < s.lit.size() && matches.size() < kListedMatches; ++id) {
        if (!s.lit[id]) continue;
        const auto sid = static_cast<SystemId>(id);
        const atlas::SystemEntry& e = model.entry(sid);
        Match match;
        match.id = sid;
        match.name = std::string(model.name(sid));
        match.x = e.x;
        match.y = e.y;
        match.z = e.z;
        match.primary = std::string(vocabulary::starPlainName(e.starKind));
        if (s.selected) match.distance = atlas::distance(model, *s.selected, sid);
        const auto note = std::lower_bound(byNotes.begin(), byNotes.end(), sid,
                                           [](const auto& hit, SystemId wanted) { return hit.first < wanted; });
        if (note != byNotes.end() && note->first == sid) match.note = note->second;
        if (!jumps.empty()) match.jumps = jumps[id];
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
                                                                  atlas::RouteStopChoice via) {
    State& s = *state_;
    if (!s.model) return std::nullopt;
    const atlas::AtlasModel& model = s.shown();
    const std::function<bool(SystemId)> stop = atlas::routeStopRule(model, via);
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
    // The players see the new name too (when they know the system).
    if (s.players) setPlayersView(true);
    s.labelWidths.erase(id);
    s.changed();
}

}  // namespace orrimar::ui

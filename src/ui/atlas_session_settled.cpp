#include <algorithm>

#include <fmt/format.h>

#include "atlas/colony_rows.h"
#include "atlas/filters.h"
#include "atlas/route_stops.h"
#include "atlas/territory.h"
#include "documents/document.h"
#include "print/atlas_scene.h"
#include "records/colony_codes.h"
#include "ui/atlas_session_state.h"

// Settled space in the atlas window: the territories on the map, the
// Empires panel, the colonies in the summary and the choices of the search
// and route lists that name owners. The rules are the atlas core's; this
// file turns their answers into what the window shows.

namespace orrimar::ui {

namespace {

QRgb rgbOf(const std::array<std::uint8_t, 3>& colour) { return qRgb(colour[0], colour[1], colour[2]); }

// Least people of the search's population entries (entry 0: any).
constexpr std::array<std::pair<const char*, std::uint64_t>, 6> kPopulationFloors = {{
    {"at least 10 thousand", 10'000ULL},
    {"at least 1 million", 1'000'000ULL},
    {"at least 100 million", 100'000'000ULL},
    {"at least 1 billion", 1'000'000'000ULL},
    {"at least 10 billion", 10'000'000'000ULL},
    {"at least 100 billion", 100'000'000'000ULL},
}};

}  // namespace

void AtlasSession::State::tookModel() {
    ++modelGeneration;
    raceColours.clear();
    if (!model) return;
    const atlas::SettledLayer& settled = model->settled();
    for (const std::uint16_t race : settled.rulingRaces()) {
        if (raceColours.size() <= race) raceColours.resize(static_cast<std::size_t>(race) + 1, 0);
        raceColours[race] = rgbOf(settled.colourOf(race));
    }
}

// The borders of the current view and slab, worked out again only when
// those (or the model) changed, then projected for this frame.
void AtlasSession::addTerritories(print::AtlasScene& scene) const {
    State& s = *state_;
    if (!s.model || !s.shown().settled().hasControl()) return;
    State::Borders& b = s.borders;
    const atlas::Slab& slab = s.camera.slab;
    const bool sameSlab =
        b.slab.enabled == slab.enabled &&
        (!slab.enabled || (b.slab.axis == slab.axis && b.slab.from == slab.from && b.slab.to == slab.to));
    if (b.generation != s.modelGeneration || b.view != s.camera.view || !sameSlab) {
        b.lines = atlas::territoryBorders(s.shown(), s.camera.view, slab);
        b.generation = s.modelGeneration;
        b.view = s.camera.view;
        b.slab = slab;
    }
    const bool cube = s.camera.view == atlas::View::Cube;
    scene.borders.reserve(b.lines.size());
    const atlas::Projector project(s.camera);
    for (const atlas::BorderLine& line : b.lines) {
        const atlas::ScreenPoint from = project(atlas::Vec3{line.from[0], line.from[1], line.from[2]});
        const atlas::ScreenPoint to = project(atlas::Vec3{line.to[0], line.to[1], line.to[2]});
        // In a flat view a line may cross the picture with both ends
        // outside it; the painter clips.
        if (cube && !from.visible && !to.visible) continue;
        const QRgb colour = line.owner < s.raceColours.size() ? s.raceColours[line.owner] : qRgb(200, 200, 200);
        scene.borders.push_back(print::AtlasBorder{QLineF(from.x, from.y, to.x, to.y), colour});
    }
}

QRgb AtlasSession::territoryTint(std::int32_t id) const {
    const State& s = *state_;
    const std::uint16_t owner = s.shown().owner(id);
    return owner < s.raceColours.size() ? s.raceColours[owner] : 0;
}

// ----------------------------------------------------------- empires

std::vector<AtlasSession::EmpireRow> AtlasSession::empires() const {
    std::vector<EmpireRow> rows;
    if (!isOpen()) return rows;
    const atlas::AtlasModel& model = state_->shown();
    const atlas::SettledLayer& settled = model.settled();
    for (const std::uint16_t race : settled.rulingRaces()) {
        EmpireRow row;
        row.race = race;
        // The players read no record numbers.
        row.raceName = state_->players ? settled.raceLabel(race) : raceName(race);
        row.colour = rgbOf(settled.colourOf(race));
        const atlas::EmpireEntry* empire = settled.empireOf(race);
        row.name = empire != nullptr && !empire->name.empty() ? empire->name : settled.raceLabel(race);
        if (empire != nullptr) row.capital = empire->capital;
        if (empire != nullptr) row.record = empire->record;
        if (row.capital >= 0) row.capitalName = systemName(row.capital);
        const atlas::RaceHoldings holdings = settled.holdingsOf(race);
        row.systems = holdings.systems;
        row.people = peopleWords(holdings.people);
        rows.push_back(std::move(row));
    }
    // Largest first: the empires a game master looks for.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const EmpireRow& a, const EmpireRow& b) { return a.systems > b.systems; });
    return rows;
}

// --------------------------------------------------------- summaries

std::string AtlasSession::colonySummaryHtml(std::int32_t id) const {
    if (!isOpen()) return {};
    const atlas::AtlasModel& model = state_->shown();
    const std::vector<atlas::ColonyRow> rows = atlas::colonyRows(model, id);
    const std::uint16_t owner = model.owner(id);
    std::string html;
    if (owner != kNoRace) {
        const atlas::EmpireEntry* empire = model.settled().empireOf(owner);
        html += fmt::format(
            "<p><b>Controlled by</b> {}{}</p>", documents::escapeHtml(model.settled().raceLabel(owner)),
            empire != nullptr && !empire->name.empty() ? " (" + documents::escapeHtml(empire->name) + ")" : "");
    } else if (!rows.empty()) {
        html += "<p><b>Controlled by</b> no race</p>";
    }
    if (rows.empty()) return html;
    html +=
        "<h3>Colonies</h3><table><tr><th>World</th><th>People</th><th>Race</th><th>Owner</th><th>Starport</th>"
        "<th>Type</th><th>Government</th></tr>";
    for (const atlas::ColonyRow& row : rows) {
        html += fmt::format(
            "<tr><td>{}</td><td class=\"r\">{}</td><td>{}</td><td>{}</td><td>{}</td><td>{}</td><td>{}"
            "</td></tr>",
            documents::escapeHtml(row.world), documents::escapeHtml(row.people), documents::escapeHtml(row.race),
            documents::escapeHtml(row.owner), documents::escapeHtml(row.starport), documents::escapeHtml(row.type),
            documents::escapeHtml(row.government));
    }
    html += "</table>";
    return html;
}

// ------------------------------------------------------------ choices

std::vector<std::pair<std::string, int>> AtlasSession::ownerChoices() const {
    std::vector<std::pair<std::string, int>> choices = {{"any", kAnyOwner}, {"independent", kIndependent}};
    if (!isOpen()) return choices;
    const atlas::SettledLayer& settled = state_->shown().settled();
    for (const std::uint16_t race : settled.rulingRaces()) {
        const atlas::EmpireEntry* empire = settled.empireOf(race);
        std::string label = settled.raceLabel(race);
        if (empire != nullptr && !empire->name.empty() && empire->name != label) label += " (" + empire->name + ")";
        choices.emplace_back(std::move(label), race);
    }
    return choices;
}

QStringList AtlasSession::populationChoices() {
    QStringList list{QStringLiteral("any")};
    for (const auto& floor : kPopulationFloors) list << QString::fromUtf8(floor.first);
    return list;
}

QStringList AtlasSession::starportChoices() {
    QStringList list{QStringLiteral("any")};
    for (const std::string_view name : kStarportNames) {
        list << QStringLiteral("%1 or better").arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    return list;
}

QStringList AtlasSession::colonyTypeChoices() {
    QStringList list{QStringLiteral("any")};
    for (const std::string_view name : kColonyTypeNames) {
        list << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    return list;
}

void AtlasSession::applySettledQuery(const Query& query, atlas::Filter& filter) {
    if (query.owner != AtlasSession::kAnyOwner) filter.owner = static_cast<std::uint16_t>(query.owner);
    if (query.population > 0 && query.population <= static_cast<int>(kPopulationFloors.size())) {
        filter.minPeople = kPopulationFloors[static_cast<std::size_t>(query.population - 1)].second;
    }
    if (query.starport > 0 && query.starport <= static_cast<int>(kStarportNames.size()))
        filter.starport = query.starport;
    if (query.colonyType > 0 && query.colonyType <= static_cast<int>(kColonyTypeNames.size())) {
        filter.colonyTypes = static_cast<std::uint16_t>(1U << query.colonyType);
    }
}

std::vector<std::pair<std::string, atlas::RouteStopChoice>> AtlasSession::viaChoices() const {
    std::vector<std::pair<std::string, atlas::RouteStopChoice>> choices;
    for (const atlas::RouteStop stop : atlas::kRouteStops) {
        if (stop == atlas::RouteStop::Empire) continue;  // one entry per race below
        choices.emplace_back(std::string(atlas::routeStopLabel(stop)), atlas::RouteStopChoice{stop, 0});
    }
    if (!isOpen()) return choices;
    for (const std::uint16_t race : state_->shown().settled().rulingRaces()) {
        const atlas::RouteStopChoice choice{atlas::RouteStop::Empire, race};
        choices.emplace_back(atlas::routeStopChoiceLabel(state_->shown(), choice), choice);
    }
    return choices;
}

}  // namespace orrimar::ui

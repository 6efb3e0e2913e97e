#include <fmt/format.h>

#include <algorithm>

#include "atlas/colony_rows.h"
#include "atlas/filters.h"
#include "atlas/notes_on_map.h"
#include "atlas/players_sight.h"
#include "campaign/players_view.h"
#include "names/world_names.h"
#include "reading/sector_reader.h"
#include "records/records.h"
#include "ui/atlas_session_state.h"

// The campaign in the atlas window: the players' view, what a notes box may
// be about, and the systems found by their notes. The rules are the atlas
// core's (players_sight.h, notes_on_map.h); this file asks and translates.

namespace orrimar::ui {

std::string AtlasSession::baseName() const { return isOpen() ? state_->model->baseName() : std::string(); }

void AtlasSession::setPlayersView(bool on) {
    State& s = *state_;
    if (on && !s.model) return;
    if (!on && !s.players) return;
    // Read before anything changes: a campaign file that cannot be read
    // leaves the view as it was.
    std::unique_ptr<atlas::PlayersSight> sight =
        on ? std::make_unique<atlas::PlayersSight>(*s.model, orrimar::playersView(s.model->baseName())) : nullptr;
    s.players = std::move(sight);
    // What was worked out on the other model goes: the borders, the labels'
    // widths, the matches and the route (they may name what the players
    // do not know).
    ++s.modelGeneration;
    s.labelWidths.clear();
    s.lit.clear();
    s.filterActive = false;
    s.route = atlas::Route{};
    s.changed();
}

void AtlasSession::rereadCampaign() {
    State& s = *state_;
    if (!s.model || !s.players) return;
    s.players = std::make_unique<atlas::PlayersSight>(*s.model, orrimar::playersView(s.model->baseName()));
    // A thing hidden again may be named by the borders, the labels, the
    // matches or the route: they are worked out anew, as on turning the
    // view on.
    ++s.modelGeneration;
    s.labelWidths.clear();
    s.lit.clear();
    s.filterActive = false;
    s.route = atlas::Route{};
    s.changed();
}

bool AtlasSession::playersView() const { return state_->players != nullptr; }

std::unique_ptr<atlas::PlayersSight> AtlasSession::playersSight() const {
    const State& s = *state_;
    if (!s.model) return nullptr;
    return std::make_unique<atlas::PlayersSight>(*s.model, orrimar::playersView(s.model->baseName()));
}

std::vector<AtlasSession::NoteSubject> AtlasSession::noteSubjects(std::int32_t id) const {
    std::vector<NoteSubject> subjects;
    const State& s = *state_;
    if (!s.model || id < 0 || id >= s.model->size()) return subjects;
    const auto known = [&](const Thing& thing) { return !s.players || s.players->knows(thing); };
    if (!known({ThingKind::System, id})) return subjects;
    const std::string& base = s.model->baseName();
    subjects.push_back({"System: " + systemName(id), {ThingKind::System, id}});
    reading::SectorReader sector(base);
    const TSystemRec system = sector.system(id);
    for (int star = 0; star < starCountOf(system); ++star) {
        const auto i = static_cast<std::size_t>(star);
        for (int j = 0; j < system.planetCount[i]; ++j) {
            const std::int64_t planetId = static_cast<std::int64_t>(system.firstPlanetId[i]) + j;
            if (planetId < 0 || planetId >= sector.planets().count()) continue;
            subjects.push_back({"World: " + worldLabel(base, {false, planetId}), {ThingKind::Planet, planetId}});
            const TPlanetRec planet = sector.planet(planetId);
            for (int k = 0; k < planet.moonCount; ++k) {
                const std::int64_t moonId = static_cast<std::int64_t>(planet.firstMoonId) + k;
                if (moonId < 0 || moonId >= sector.moons().count()) continue;
                subjects.push_back({"Moon: " + worldLabel(base, {true, moonId}), {ThingKind::Moon, moonId}});
            }
        }
    }
    for (const std::int32_t race : racesOf(id))
        subjects.push_back({"Race: " + raceName(race), {ThingKind::Race, race}});
    for (const atlas::ColonyRow& row : atlas::colonyRows(s.shown(), id)) {
        subjects.push_back(
            {fmt::format("Colony: {} ({})", row.world, row.race), {ThingKind::Colony, std::int64_t{row.record}}});
    }
    return subjects;
}

std::vector<std::pair<std::int32_t, std::string>> AtlasSession::lightByNotes(const std::string& words,
                                                                             atlas::Filter filter) {
    std::vector<std::pair<std::int32_t, std::string>> hits;
    const State& s = *state_;
    if (!s.model || s.model->baseName().empty()) return hits;
    if (words.find_first_not_of(" \t\r\n") == std::string::npos) return hits;
    const std::vector<atlas::NoteOnMap> found = atlas::notesOnMap(*s.model, words, s.players.get());
    if (found.empty()) return hits;
    // The other criteria still hold for a system found by its note.
    filter.nameOrId.clear();
    const atlas::AtlasModel& model = s.shown();
    const std::vector<std::uint8_t> rest =
        filter.empty() ? std::vector<std::uint8_t>{} : atlas::matchSystems(model, filter);
    for (const atlas::NoteOnMap& hit : found) {
        if (!rest.empty() && rest[static_cast<std::size_t>(hit.system)] == 0) continue;
        // A note on a race the players know must not light a home they do not.
        if (s.players && !s.players->knows({ThingKind::System, hit.system})) continue;
        hits.emplace_back(hit.system, "note: " + atlas::noteOpening(hit.note.text));
    }
    // One entry a system: its first note (by kind, so the system's own first).
    std::stable_sort(hits.begin(), hits.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    hits.erase(std::unique(hits.begin(), hits.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
               hits.end());
    return hits;
}

}  // namespace orrimar::ui

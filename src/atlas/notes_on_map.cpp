#include "atlas/notes_on_map.h"

#include "atlas/players_sight.h"
#include "records/sector_files.h"

namespace orrimar::atlas {

ThingPlaces::ThingPlaces(const AtlasModel& model) : model_(model) {}
ThingPlaces::~ThingPlaces() = default;

SystemId ThingPlaces::systemOfPlanet(std::int64_t planet) {
    if (model_.baseName().empty()) return kNoSystem;
    if (!planets_) planets_ = std::make_unique<RecordReader<TPlanetRec>>(sectorPath(model_.baseName(), ".pln"));
    if (planet < 0 || planet >= planets_->count()) return kNoSystem;
    const std::int32_t system = planets_->read(planet).systemId;
    return system >= 0 && system < model_.size() ? system : kNoSystem;
}

SystemId ThingPlaces::systemOf(const Thing& thing) {
    switch (thing.kind) {
        case ThingKind::Sector: return kNoSystem;
        case ThingKind::System:
            return thing.id >= 0 && thing.id < model_.size() ? static_cast<SystemId>(thing.id) : kNoSystem;
        case ThingKind::Planet: return systemOfPlanet(thing.id);
        case ThingKind::Moon: {
            if (model_.baseName().empty()) return kNoSystem;
            if (!moons_) moons_ = std::make_unique<RecordReader<TMoonRec>>(sectorPath(model_.baseName(), ".mon"));
            if (thing.id < 0 || thing.id >= moons_->count()) return kNoSystem;
            return systemOfPlanet(moons_->read(thing.id).planetId);
        }
        case ThingKind::Race: {
            if (model_.baseName().empty()) return kNoSystem;
            if (!races_) races_ = std::make_unique<RecordReader<TAlienRec>>(sectorPath(model_.baseName(), ".aln"));
            if (thing.id < 0 || thing.id >= races_->count()) return kNoSystem;
            return systemOfPlanet(races_->read(thing.id).worldId);
        }
        case ThingKind::Colony:
            for (const ColonyEntry& c : model_.settled().colonies()) {
                if (c.record == thing.id) return c.system;
            }
            return kNoSystem;
        case ThingKind::Empire:
            for (const EmpireEntry& e : model_.settled().empires()) {
                if (e.record == thing.id) return e.capital;
            }
            return kNoSystem;
    }
    return kNoSystem;
}

std::vector<NoteOnMap> notesOnMap(const AtlasModel& model, std::string_view words, const PlayersSight* sight) {
    std::vector<NoteOnMap> found;
    ThingPlaces places(model);
    for (Note& note : searchNotes(model.baseName(), words)) {
        if (sight != nullptr && !sight->reads(note)) continue;
        const SystemId system = places.systemOf(note.thing);
        if (system == kNoSystem) continue;
        found.push_back(NoteOnMap{system, std::move(note)});
    }
    return found;
}

std::string noteOpening(std::string_view text, std::size_t words) {
    std::string opening;
    std::size_t taken = 0;
    std::size_t i = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (i < text.size()) {
        while (i < text.size() && blank(text[i])) ++i;
        if (i == text.size()) break;
        if (taken == words) return opening + "\u2026";
        std::size_t end = i;
        while (end < text.size() && !blank(text[end])) ++end;
        if (!opening.empty()) opening += ' ';
        opening.append(text.substr(i, end - i));
        ++taken;
        i = end;
    }
    return opening;
}

}  // namespace orrimar::atlas

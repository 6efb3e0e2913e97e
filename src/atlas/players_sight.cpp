#include "atlas/players_sight.h"

#include <utility>
#include <vector>

#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_files.h"

namespace orrimar::atlas {

namespace {

bool systemKnown(const PlayersView& view, SystemId id) { return view.knows({ThingKind::System, id}); }

// The systems holding the home world of a race the players know.
std::vector<bool> knownHomes(const AtlasModel& model, const PlayersView& view) {
    std::vector<bool> homes(static_cast<std::size_t>(model.size()), false);
    if (model.baseName().empty()) return homes;
    RecordReader<TAlienRec> races(sectorPath(model.baseName(), ".aln"), IfMissing::Empty);
    RecordReader<TPlanetRec> planets(sectorPath(model.baseName(), ".pln"), IfMissing::Empty);
    const std::vector<bool>& known = view.races();
    for (std::size_t race = 0; race < known.size() && static_cast<std::int64_t>(race) < races.count(); ++race) {
        if (!known[race]) continue;
        const std::int32_t world = races.read(static_cast<std::int64_t>(race)).worldId;
        if (world < 0 || world >= planets.count()) continue;
        const std::int32_t system = planets.read(world).systemId;
        if (system >= 0 && system < model.size()) homes[static_cast<std::size_t>(system)] = true;
    }
    return homes;
}

}  // namespace

bool PlayersSight::rulerKnown(const SettledLayer& settled, std::uint16_t race) const {
    const EmpireEntry* empire = settled.empireOf(race);
    return empire != nullptr && view_.knows({ThingKind::Empire, empire->record});
}

PlayersSight::PlayersSight(const AtlasModel& model, PlayersView view)
    : view_(std::move(view)), seen_(model), places_(model) {
    const SettledLayer& settled = model.settled();
    SettledLayer::Keep keep;
    keep.colony = [&](const ColonyEntry& c) {
        return systemKnown(view_, c.system) && view_.knows({ThingKind::Colony, c.record});
    };
    keep.control = [&](SystemId id, std::uint16_t race) { return systemKnown(view_, id) && rulerKnown(settled, race); };
    keep.empire = [&](const EmpireEntry& e) { return view_.knows({ThingKind::Empire, e.record}); };
    keep.race = [&](std::uint16_t race) { return view_.knows({ThingKind::Race, race}); };
    seen_.setSettled(settled.narrowed(keep));

    const std::vector<bool> homes = knownHomes(model, view_);
    const SettledLayer& seenSettled = seen_.settled();
    for (SystemId id = 0; id < seen_.size(); ++id) {
        if (!systemKnown(view_, id)) {
            seen_.veil(id);
            continue;
        }
        std::uint8_t marks = static_cast<std::uint8_t>(model.entry(id).marks & kMarkNativeLife);
        if (homes[static_cast<std::size_t>(id)]) marks = static_cast<std::uint8_t>(marks | kMarkNativeRace);
        for (const ColonyEntry& c : seenSettled.coloniesOf(id)) {
            marks = static_cast<std::uint8_t>(marks | kMarkColony);
            if (c.colony.allegiance != kNoRace) marks = static_cast<std::uint8_t>(marks | kMarkOwnedColony);
        }
        seen_.setMarks(id, marks);
    }
}

bool PlayersSight::knows(const Thing& thing) const {
    if (thing.kind == ThingKind::Planet || thing.kind == ThingKind::Moon) {
        const SystemId system = places_.systemOf(thing);
        return system != kNoSystem && systemKnown(view_, system);
    }
    return view_.knows(thing);
}

bool PlayersSight::reads(const Note& note) const { return note.audience == NoteAudience::Players && knows(note.thing); }

}  // namespace orrimar::atlas

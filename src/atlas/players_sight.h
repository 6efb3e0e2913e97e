// What the players see of a sector, the one rule behind the Atlas's
// players' view and the players' posters: a copy of the atlas model in
// which
//
// - a system the players do not know is a neutral point of light: a dot of
//   no star kind and a middling size, and nothing else (no name, no worlds,
//   no life, no marks, no control, no colonies);
// - only the colonies they know, in systems they know, are there (and mark
//   their systems);
// - a native race's mark shows where a race they know has its home;
// - a race controls a known system on their map only when they know its
//   empire (a race ruling without an empire record is nothing they were
//   told of): only those territories are drawn, only those empires listed;
// - a race they do not know reads "unknown race".
//
// Everything that works on a model (the map's frames, search and filters,
// routes and their stops, territories, the colony rows, the poster) works
// on the copy unchanged, so no front end repeats the rule.
#pragma once

#include <cstdint>
#include <string_view>

#include "atlas/atlas_model.h"
#include "atlas/notes_on_map.h"
#include "campaign/notes.h"
#include "campaign/players_view.h"

namespace orrimar::atlas {

class PlayersSight {
public:
    // Reads the home worlds of the races the players know from the sector's
    // race and planet files (an in-memory model has none: no race marks).
    // `model` is the game master's and must outlive the sight.
    PlayersSight(const AtlasModel& model, PlayersView view);

    // The sector as the players see it.
    const AtlasModel& model() const { return seen_; }
    const PlayersView& view() const { return view_; }

    // A thing the players know: systems, races, colonies and empires as
    // the view says, planets and moons with their system, the sector always.
    bool knows(const Thing& thing) const;
    // A note the players may read: public, on a thing they know.
    bool reads(const Note& note) const;

    // Whether a system of the players' model gets a label: only by its
    // name (the players read no record numbers), so never an unknown one.
    static bool labelled(const AtlasModel& seen, SystemId id) { return !seen.name(id).empty(); }

private:
    bool rulerKnown(const SettledLayer& settled, std::uint16_t race) const;

    PlayersView view_;
    AtlasModel seen_;
    mutable ThingPlaces places_;
};

}  // namespace orrimar::atlas

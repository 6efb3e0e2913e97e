// Campaign notes on the map: the system each noted thing lies in, so that a
// note found by its words lights a system, and the first words of a note
// that a list shows beside what it found.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "atlas/atlas_model.h"
#include "campaign/notes.h"
#include "campaign/things.h"
#include "records/record_reader.h"
#include "records/records.h"

namespace orrimar::atlas {

class PlayersSight;

// Where things lie: a system is itself, a planet or belt lies in its
// system, a moon in its planet's, a race in its home world's, a colony in
// its world's, an empire in its capital. The planet, moon and race files
// are opened on first need and read a record at a time. The model must
// outlive the places.
class ThingPlaces {
public:
    explicit ThingPlaces(const AtlasModel& model);
    ~ThingPlaces();
    ThingPlaces(const ThingPlaces&) = delete;
    ThingPlaces& operator=(const ThingPlaces&) = delete;

    // kNoSystem for the sector itself, a race without a home world, an
    // empire without a capital, or an id outside its file.
    SystemId systemOf(const Thing& thing);

private:
    SystemId systemOfPlanet(std::int64_t planet);

    const AtlasModel& model_;
    std::unique_ptr<RecordReader<TPlanetRec>> planets_;
    std::unique_ptr<RecordReader<TMoonRec>> moons_;
    std::unique_ptr<RecordReader<TAlienRec>> races_;
};

// A note found by its words, and the system it lights.
struct NoteOnMap {
    SystemId system = kNoSystem;
    Note note;
};

// The notes holding every word of `words` (notes.h's search: prefixes,
// case and accents ignored) on things that lie in a system, in the order
// of the search. With `sight`, only the notes the players may read.
std::vector<NoteOnMap> notesOnMap(const AtlasModel& model, std::string_view words, const PlayersSight* sight = nullptr);

// The first `words` words of a note on one line, "…" after them when more
// follow: "The pirates' base, behind the gas…".
std::string noteOpening(std::string_view text, std::size_t words = 8);

}  // namespace orrimar::atlas

// Editing settled space by hand: adding a colony on a world, changing one,
// removing one. Every value is checked before anything is written, and a
// refused one is a FieldError naming its field ("world", "race", "owner",
// "population", "people", "type", "starport", "law", "stability", "crime",
// "gnp", "power", "facilities", "colony"). An accepted edit is one write of
// the settled layer under the sector's change lock, with the control
// records recomputed and the planets' colonising races kept in step.
//
// A removed colony stays as a vacant record: notes and players' marks refer
// to colonies by number, so no later colony may change its number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "names/world_names.h"
#include "records/colony_codes.h"
#include "records/records.h"

namespace orrimar {

// The values an edit gives. An absent one keeps the colony's value (set) or
// takes the new colony's default (add). Numbers are wide, so that a value
// out of its field's range is refused rather than cut to fit.
struct ColonyFields {
    std::optional<WorldRef> world;
    std::optional<std::int64_t> race;                 // the people living there
    std::optional<std::int64_t> owner;                // the owning race
    bool independent = false;                         // owned by no race (instead of owner)
    std::optional<std::int64_t> populationCode;       // 0..69
    std::optional<std::uint64_t> people;              // instead of the code: the code nearest below
    std::optional<std::int64_t> type;                 // ColonyType code
    std::optional<std::int64_t> starport;             // Starport code
    std::optional<std::int64_t> law;                  // 0..kLastLevel
    std::optional<std::int64_t> stability;            // 0..kLastLevel
    std::optional<std::int64_t> crime;                // 0..kLastLevel
    std::optional<std::int64_t> gnp;                  // millions of credits a year, 0..65535
    std::optional<std::int64_t> power;                // points, 0..65535
    std::optional<std::vector<Facility>> facilities;  // all of them: the others are cleared
};

// What a new colony is unless the edit says otherwise: owned by its own
// people, a settlement of 10,000 with no starport and middling order.
inline constexpr ColonyType kNewColonyType = ColonyType::Settlement;
inline constexpr Starport kNewColonyStarport = Starport::None;
inline constexpr int kNewColonyLevel = kLastLevel / 2;

// The colony an edit left, for the front end to say what it did.
struct ColonyEditResult {
    std::int64_t colonyId = 0;
    TColonyRec colony;
};

// Adds a colony at the end of the colony file. `fields.world` and
// `fields.race` are required; the owner is the race itself unless `owner`
// or `independent` says otherwise.
ColonyEditResult AddColony(const std::string& baseName, const ColonyFields& fields);
// Changes the fields given of colony `colonyId`.
ColonyEditResult SetColony(const std::string& baseName, std::int64_t colonyId, const ColonyFields& fields);
// Vacates colony `colonyId`; returns the colony as it was.
ColonyEditResult RemoveColony(const std::string& baseName, std::int64_t colonyId);

// Text as a user types it, each a FieldError naming `field` when it names
// nothing: a colony type or starport by name, facilities as a comma list
// ("Naval Base, University"; an empty list is none).
ColonyType colonyTypeFromText(std::string_view text, const char* field);
Starport starportFromText(std::string_view text, const char* field);
std::vector<Facility> facilitiesFromText(std::string_view text, const char* field);

// The world a colony lives on.
inline WorldRef colonyWorld(const TColonyRec& colony) { return WorldRef{isMoonBase(colony), colony.worldId}; }

// Facilities present, in facility order.
std::vector<Facility> facilitiesOf(const TColonyRec& colony);

}  // namespace orrimar

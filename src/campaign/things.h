// The things of a sector a game master keeps notes on and tells the players
// about: the sector itself, and its systems, planets (worlds and belts),
// moons, races, colonies and empires, each by its record number in its file.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace orrimar {

// Stored in the campaign file as these numbers: they never change.
enum class ThingKind : int {
    Sector = 0,
    System = 1,
    Planet = 2,
    Moon = 3,
    Race = 4,
    Colony = 5,
    Empire = 6,
};

inline constexpr std::array<ThingKind, 7> kThingKinds = {ThingKind::Sector, ThingKind::System, ThingKind::Planet,
                                                         ThingKind::Moon,   ThingKind::Race,   ThingKind::Colony,
                                                         ThingKind::Empire};

struct Thing {
    ThingKind kind = ThingKind::Sector;
    std::int64_t id = 0;  // record number in the kind's file; 0 for the sector

    auto operator<=>(const Thing&) const = default;
};

inline constexpr Thing kWholeSector{ThingKind::Sector, 0};

// "system", "planet", ... "sector".
std::string_view thingWord(ThingKind kind);
// "systems", "colonies", ...
std::string_view thingPlural(ThingKind kind);
// The member file whose records the kind's ids count (".sun", ".col" ...);
// empty for the sector.
std::string_view thingExtension(ThingKind kind);
// The kind a stored number names; false (kind untouched) when it names none.
bool thingKindFromNumber(std::int64_t number, ThingKind& kind);

// "system 12", "the sector".
std::string describeThing(const Thing& thing);

// Records in the files of each kind (by the kind's number; 1 for the
// sector). A missing colony or empire file holds none; a missing system,
// planet, moon or race file is the sector's MissingError.
struct ThingCounts {
    std::array<std::int64_t, kThingKinds.size()> count{};
    std::int64_t of(ThingKind kind) const { return count[static_cast<std::size_t>(kind)]; }
};
ThingCounts thingCountsOf(const std::string& baseName);

// InputError "Colony 9 is not in data/alpha.col (3 colonies)" when the
// thing is not a record of its file; the sector (id 0) is always there.
void requireThing(const Thing& thing, const ThingCounts& counts, const std::string& baseName);

}  // namespace orrimar

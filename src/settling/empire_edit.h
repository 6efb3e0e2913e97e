// Editing empires by hand: adding one for a race, renaming, recolouring,
// moving its capital, removing it. Values are checked first (FieldError
// naming "race", "name", "capital", "colour" or "empire"); an accepted edit
// is one write of the settled layer under the sector's change lock. A
// removed empire stays as a vacant record, so later empires keep their
// numbers (notes refer to them).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/records.h"

namespace orrimar {

using EmpireColour = std::array<std::uint8_t, 3>;  // red, green, blue 0..255

struct EmpireFields {
    std::optional<std::int64_t> race;
    std::optional<std::string> name;      // UTF-8, 1..39 characters of the name file's code page
    std::optional<std::int64_t> capital;  // system id
    std::optional<EmpireColour> colour;
};

// An empire's name holds this many characters at most.
inline constexpr std::size_t kMaxEmpireNameLength = 39;

struct EmpireEditResult {
    std::int64_t empireId = 0;
    TEmpireRec empire;
};

// Adds an empire at the end of the empire file. `race` and `name` are
// required; the capital is the race's home system (none when its home world
// is not in the sector) and the colour one of a fixed set, by race, unless
// given. Refused for a race that already has an empire.
EmpireEditResult AddEmpire(const std::string& baseName, const EmpireFields& fields);
EmpireEditResult SetEmpire(const std::string& baseName, std::int64_t empireId, const EmpireFields& fields);
// Vacates the empire; returns it as it was.
EmpireEditResult RemoveEmpire(const std::string& baseName, std::int64_t empireId);

// "#RRGGBB" (either case of the hex digits); FieldError naming `field` otherwise.
EmpireColour colourFromText(std::string_view text, const char* field);
// "#1E90FF".
std::string colourText(const EmpireColour& colour);

// The colour a new empire of `race` gets when none is given.
EmpireColour defaultEmpireColour(std::int64_t race);

}  // namespace orrimar

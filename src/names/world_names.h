// A world (a planet or a moon) as a front end names it: picked from what a
// user typed ("planet:40", "moon:7", "Vessane III"), and called by its name
// beside its id in what a command says ("Vessane III (planet 40)"). Colonies
// live on worlds, so the colony editor, its command and its dialog go
// through here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orrimar {

// A world of the sector: a planet-file record, or a moon-file record.
struct WorldRef {
    bool moon = false;
    std::int64_t id = 0;

    friend bool operator==(const WorldRef&, const WorldRef&) = default;
};

// "planet" or "moon".
std::string_view worldWord(const WorldRef& world);

// The world's name in UTF-8 (its override, else the conventional name from
// its system's); nullopt when it has none, or is not in the sector.
std::optional<std::string> worldName(const std::string& baseName, const WorldRef& world);

// "Vessane III (planet 40)", or "planet 40" for a world without a name.
std::string worldLabel(const std::string& baseName, const WorldRef& world);

// The world `text` picks: "planet:ID" or "moon:ID" (the id taken as it is:
// the command that uses it says when it is not there), else a world's name,
// matched whole without regard to the case of A-Z. InputError naming
// `option` for a text that is blank, malformed, names no world or names
// several (listed, never picked by chance).
WorldRef findWorldByText(const std::string& baseName, std::string_view text, std::string_view option);

}  // namespace orrimar

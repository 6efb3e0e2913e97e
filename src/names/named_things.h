// What a success line or status line calls a system or race: "system 19
// (Vessane)" when the sector names it, "system 19" when it does not.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "names/sector_names.h"

namespace orrimar {

// "system 19 (Vessane)", or "system 19" when the sector gives it no name:
// how the front ends name a system, planet, moon or race of `sector` once a
// command has written something about it.
std::string namedThing(const std::string& sector, NameKind kind, std::int64_t id);
// The name alone (UTF-8); nullopt when there is none or the name file cannot
// be read (never throws: the names only decorate what a command wrote).
std::optional<std::string> storedName(const std::string& sector, NameKind kind, std::int64_t id);

}  // namespace orrimar

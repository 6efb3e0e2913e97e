// Renaming: a name record appended to the name file overrides every earlier
// one for the same system, world or race; nothing is rewritten.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "names/sector_names.h"

namespace orrimar {

// A name typed by a user (UTF-8), in the code page of the name file. Refused
// with InputError, naming the problem: more than 50 characters, a character
// the Windows ANSI code page lacks, a control character, malformed UTF-8,
// or surrounding blanks. The empty name is accepted here (it removes an
// override); callers that need a name check for it.
std::string checkedName(std::string_view utf8);

// What `kind` names, for messages: "system", "planet", "race", "moon".
std::string_view nameKindWord(NameKind kind);

// Appends a record naming system, planet, race or moon `id` of the sector;
// an empty name takes the name (or override) away. Refused before the file
// is touched, with InputError, when the name fails checkedName or the id
// names no record of the sector; IoError when the sector's files are missing.
// Returns the record's position in the name file.
std::int64_t renameInSector(const std::string& baseName, NameKind kind, std::int64_t id, std::string_view utf8Name);

}  // namespace orrimar

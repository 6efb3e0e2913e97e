// The system summary: one screen about a star system for a game master at
// the table. Name, place and stars on top, then one line per orbit (world,
// type, size, atmosphere, temperature, gravity, life, native race) with the
// moons folded into a count and their kinds; the full system log holds the
// rest.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "documents/document.h"

namespace orrimar::logs {

// Writes the summary of system `systemId` of the sector to `out`, as plain
// text or one HTML page. `systemName` (UTF-8)
// is the system's name when the caller knows it (the Atlas's model does):
// then the worlds take their conventional names from it and the name file
// is not read. Empty: names, world-name overrides included, come from the
// sector's name file. Worlds without a name show their place ("B2").
// Throws InputError for an id outside the sector, IoError / RangeError for
// unreadable or damaged files.
void writeStarSummary(const std::string& sectorBase, std::int32_t systemId, documents::DocFormat format,
                      std::ostream& out, const std::string& systemName = {});

}  // namespace orrimar::logs

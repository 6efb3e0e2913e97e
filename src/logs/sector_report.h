// The sector report: report path + ".map" as plain text and + ".html" with
// the same sections and a map of the sector.
#pragma once

#include <cstdint>
#include <string>

namespace orrimar::logs {

// Above this many systems the sector report leaves out its systems table,
// and the atlas writes pages only for systems with bodies in orbit.
inline constexpr std::int64_t kFullListingLimit = 20000;

// Writes both pages, each moved into place only when whole. InputError for
// an empty report path, MissingError / IoError / RangeError for a sector
// that cannot be read or pages that cannot be written.
void writeSectorReport(const std::string& sectorBase, const std::string& reportPath, bool systems, bool aliens,
                       bool summary, bool empires);

}  // namespace orrimar::logs

// The body of a system log, for the log command and the atlas's system
// pages alike: the system's head lines, then each star with its orbit table
// and, when `full`, every body with its moons.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "documents/document.h"
#include "reading/sector_reader.h"

namespace orrimar::logs {

// What a system log holds.
enum class LogDetail { OrbitTables, EveryBody };

void writeSystemLog(documents::Document& doc, reading::SectorReader& sector, std::int64_t systemId, bool full);

// The whole log of system `systemId` as one page. Throws InputError for an
// id outside the sector, IoError / RangeError for unreadable or damaged files.
void writeSystemLogPage(reading::SectorReader& sector, std::int32_t systemId, LogDetail detail,
                        documents::DocFormat format, std::ostream& out);

}  // namespace orrimar::logs

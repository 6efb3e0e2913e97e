// Our engine library: the five operations that write logs and reports and
// make a race to order. Sectors are read by base name.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "documents/document.h"
#include "logs/system_log.h"
#include "vocabulary/output_systems.h"

namespace orrimar::engine {

// Log formats: plain text (CRLF line ends) or one self-contained HTML page.
using LogFormat = documents::DocFormat;
// The save dialog's filter: 2 is the HTML log, any other plain text. The
// one place a front end's choice becomes a format.
LogFormat logFormatOfFilter(int filterIndex);

// Output systems, in list order.
using vocabulary::kOutputSystems;

// What a system log holds.
using logs::LogDetail;

void orrdll_ini();
void main_alien(std::int16_t temperature, std::uint8_t composition, std::uint8_t worldType, float gravity,
                std::uint8_t newFile, const std::string& baseName, std::int32_t worldId, std::uint8_t totalAlienDisable,
                std::uint8_t maxSpatialAge);
void main_alienlog(const std::string& alienBase, std::int32_t raceId, std::uint8_t outputSystem, LogFormat format,
                   std::ostream& log);
// The same log into a file, moved into place only when whole.
void main_alienlog(const std::string& alienBase, std::int32_t raceId, std::uint8_t outputSystem, LogFormat format,
                   const std::string& logPath);
// `one` chooses the detail, as the launch pad's call has it: 0 the orbit
// tables alone, anything else every body with its moons.
void main_starlog(const std::string& sectorBase, const std::string& logPath, std::int32_t systemId, std::uint8_t one,
                  LogFormat format);
// The same log written to a stream (the Atlas shows it in its window).
void main_starlog(const std::string& sectorBase, std::ostream& log, std::int32_t systemId, LogDetail detail,
                  LogFormat format);
// The system summary (logs/star_summary.h) into a file: written beside
// `logPath` and moved into place when whole, so a failure leaves no
// half-written summary.
void main_starsummary(const std::string& sectorBase, const std::string& logPath, std::int32_t systemId,
                      LogFormat format, const std::string& systemName = {});
void main_map(const std::string& sectorBase, const std::string& reportPath, bool systems, bool aliens, bool summary,
              bool empires);

}  // namespace orrimar::engine

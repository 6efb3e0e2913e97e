// Our engine library: the five operations that write logs and reports and
// make a race to order. Sectors are read by base name.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace orrimar::engine {

// Log formats, chosen by the save dialog's filter.
constexpr std::uint8_t kFormatText = 0;  // plain text, CRLF line ends
constexpr std::uint8_t kFormatHtml = 2;  // one self-contained HTML page

// Output systems, in list order.
constexpr const char* kOutputSystems[] = {"Standard", "Alternity", "Battlelords", "Gurps", "SpaceMaster", "Fuzion"};

void orrdll_ini();
void main_alien(std::int16_t temperature, std::uint8_t composition, std::uint8_t worldType, float gravity,
                std::uint8_t newFile, const std::string& baseName, std::int32_t worldId,
                std::uint8_t totalAlienDisable, std::uint8_t maxSpatialAge);
void main_alienlog(const std::string& alienBase, std::int32_t raceId, std::uint8_t outputSystem,
                   std::uint8_t format, std::ostream& log);
// `one` chooses the detail, as the launch pad's call has it: 0 the orbit
// tables alone, anything else every body with its moons.
void main_starlog(const std::string& sectorBase, const std::string& logPath, std::int32_t systemId,
                  std::uint8_t one, std::uint8_t format);
// What a system log holds.
enum class LogDetail { OrbitTables, EveryBody };
// The same log written to a stream (the Atlas shows it in its window).
void main_starlog(const std::string& sectorBase, std::ostream& log, std::int32_t systemId, LogDetail detail,
                  std::uint8_t format);
void main_map(const std::string& sectorBase, const std::string& reportPath, bool systems, bool aliens,
              bool summary, bool empires);

}  // namespace orrimar::engine

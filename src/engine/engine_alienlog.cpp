// main_alienlog: one race's log, into a stream the caller has opened or
// into a file.
#include <string>

#include "engine/engine.h"
#include "logs/alien_log.h"

namespace orrimar::engine {

void main_alienlog(const std::string& alienBase, std::int32_t raceId, std::uint8_t outputSystem, LogFormat format,
                   std::ostream& log) {
    logs::writeRaceLog(alienBase, raceId, outputSystem, format, log);
}

void main_alienlog(const std::string& alienBase, std::int32_t raceId, std::uint8_t outputSystem, LogFormat format,
                   const std::string& logPath) {
    logs::writeRaceLogFile(alienBase, raceId, outputSystem, format, logPath);
}

}  // namespace orrimar::engine

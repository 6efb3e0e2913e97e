// main_starlog: one system's log, into a file or a stream.
#include <string>

#include "common/errors.h"
#include "engine/engine.h"
#include "logs/system_log.h"
#include "reading/sector_reader.h"
#include "records/sector_base.h"

namespace orrimar::engine {

void main_starlog(const std::string& sectorBase, const std::string& logPath, std::int32_t systemId, std::uint8_t one,
                  LogFormat format) {
    if (logPath.empty()) {
        throw InputError("No log file chosen: choose a file to save the system log to");
    }
    reading::SectorReader sector(sectorBase);
    requireRecordId(systemId, sector.systems().count(), sector.baseName(), "System", "systems");
    reading::OutputFile output(logPath);
    logs::writeSystemLogPage(sector, systemId, one != 0 ? LogDetail::EveryBody : LogDetail::OrbitTables, format,
                             output.stream());
    output.commit();
}

void main_starlog(const std::string& sectorBase, std::ostream& log, std::int32_t systemId, LogDetail detail,
                  LogFormat format) {
    reading::SectorReader sector(sectorBase);
    requireRecordId(systemId, sector.systems().count(), sector.baseName(), "System", "systems");
    logs::writeSystemLogPage(sector, systemId, detail, format, log);
}

}  // namespace orrimar::engine

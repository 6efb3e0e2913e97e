// main_starsummary: one system's summary into a file.
#include <string>

#include "common/errors.h"
#include "engine/engine.h"
#include "logs/star_summary.h"
#include "reading/sector_reader.h"

namespace orrimar::engine {

void main_starsummary(const std::string& sectorBase, const std::string& logPath, std::int32_t systemId,
                      LogFormat format, const std::string& systemName) {
    if (logPath.empty()) throw InputError("No log file chosen: choose a file to save the system summary to");
    reading::OutputFile output(logPath);
    logs::writeStarSummary(sectorBase, systemId, format, output.stream(), systemName);
    output.commit();
}

}  // namespace orrimar::engine

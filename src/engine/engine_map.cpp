// main_map: the sector report.
#include <string>

#include "engine/engine.h"
#include "logs/sector_report.h"

namespace orrimar::engine {

void main_map(const std::string& sectorBase, const std::string& reportPath, bool systems, bool aliens, bool summary,
              bool empires) {
    logs::writeSectorReport(sectorBase, reportPath, systems, aliens, summary, empires);
}

}  // namespace orrimar::engine

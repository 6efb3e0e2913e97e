#include "support/sector_maker.h"

namespace orrimar::testing {

CreateSectorResult makeSector(const std::string& base, const SeededSector& order) {
    CreateSectorParams p;
    p.baseName = base;
    p.sectorName = order.name;
    p.seed = order.seed;
    p.lastIndex = order.lastIndex;
    p.density = static_cast<std::uint8_t>(order.density);
    p.x = order.x;
    p.y = order.y;
    p.z = order.z;
    p.flat = order.flat;
    p.newFile = order.newFile;
    p.replace = order.replace;
    p.maxSpatialAge = order.maxSpatialAge;
    p.threads = order.threads;
    // Never there: the default tables, whatever a user's settings say.
    p.settingsPath = base + "-no-settings.ini";
    return CreateSector(p);
}

}  // namespace orrimar::testing

// Interim planetary generation: orbit 1 of the column only, no planets.
// Replaced by the full planetary generator.
#include "generation/planets.h"

namespace orrimar {

void GeneratePlanets(SectorFiles& files, TSystemRec& system, int star, std::int32_t systemId,
                     float effectiveLuminosity, bool totalAlienDisable, std::uint8_t maxSpatialAge) {
    (void)systemId;
    (void)effectiveLuminosity;
    (void)totalAlienDisable;
    (void)maxSpatialAge;
    system.planetCount[static_cast<std::size_t>(star)] = 0;
    system.firstPlanetId[static_cast<std::size_t>(star)] = static_cast<std::int32_t>(files.planets().count());
}

}  // namespace orrimar

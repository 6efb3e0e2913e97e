#include "generation/planets.h"

#include "generation/asteroid_belt.h"
#include "generation/body_context.h"
#include "generation/orbits.h"
#include "generation/planet_body.h"

namespace orrimar {

void GeneratePlanets(BodyRecords& records, TSystemRec& system, int star, std::int32_t systemId,
                     float effectiveLuminosity, bool totalAlienDisable, std::uint8_t maxSpatialAge) {
    const auto s = static_cast<std::size_t>(star);
    StarSurroundings surroundings;
    surroundings.zones = zoneRadii(effectiveLuminosity);
    surroundings.luminosity = effectiveLuminosity;
    surroundings.starMass = system.mass[s];
    surroundings.systemId = systemId;
    surroundings.totalAlienDisable = totalAlienDisable;
    surroundings.maxSpatialAge = maxSpatialAge;

    PlaceOrbits(system, star, effectiveLuminosity);
    system.firstPlanetId[s] = static_cast<std::int32_t>(records.planets.count());

    for (std::size_t j = 0; j < system.planetCount[s]; ++j) {
        const std::int16_t entry = system.orbit[j][s];
        if (entry < 0) {
            GenerateAsteroidBelt(records.planets, surroundings, entry);
        } else {
            GeneratePlanetBody(records, surroundings, entry);
        }
    }
}

}  // namespace orrimar

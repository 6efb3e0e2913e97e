// The moons of one planet: ordinary moons, rings, and the rare twin.
#pragma once

#include <cstdint>

#include "generation/physics.h"
#include "records/record_list.h"
#include "records/records.h"

namespace orrimar {

// What the feature roll learns about a planet's moons. A twin is only
// possible for a planet with exactly one moon.
struct TwinFlags {
    bool twin = false;       // a twin at an ordinary distance
    bool closeTwin = false;  // a twin at 1.225 planet diameters
};

// Rolls planet.moonCount moons and appends them to `moons`, each naming
// `planetId` (the id the planet record is about to get). `planet` is the
// finished planet apart from its moons and features; `zones` the star's zone
// radii; `effectiveLuminosity` the light that reaches the planet, which
// a Brown Dwarf (over 3180 Earth masses, `planetMass`) raises by 0.1 after
// each moon. Returns the twin flags of the last moon.
TwinFlags GenerateMoons(RecordList<TMoonRec>& moons, const TPlanetRec& planet, const ZoneRadii& zones,
                        std::int32_t planetId, float effectiveLuminosity, float planetMass);

// Halves a moon's diameter until 1.3 moons fit across the planet.
std::int32_t FitMoonDiameter(std::int32_t diameter, std::int32_t planetDiameter);

// Distance of a moon from its planet in planet diameters: close (4..10, a
// ring 1..3), middling (15..60) or far (70..160).
int RollDistanceMultiple(std::int32_t moonDiameter);

}  // namespace orrimar

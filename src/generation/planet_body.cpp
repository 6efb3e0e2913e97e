#include "generation/planet_body.h"

#include "aliens/alien_race.h"
#include "common/bit_flags.h"
#include "common/random.h"
#include "generation/atmosphere.h"
#include "generation/climate.h"
#include "generation/moons.h"
#include "generation/planet_rolls.h"
#include "generation/resources.h"
#include "generation/rotation.h"
#include "generation/world_features.h"
#include "records/star_light.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

constexpr int kVolatileRichBit = 1;
constexpr int kLockedBit = 2;
constexpr int kWetAirBit = 3;

bool isGasBall(std::uint8_t worldType) { return worldType == world::kGasGiant || worldType == world::kBrownDwarf; }

}  // namespace

TPlanetRec GeneratePlanetBody(BodyRecords& files, const StarSurroundings& star, std::int16_t orbitEntry) {
    const ZoneRadii& z = star.zones;
    TPlanetRec p;
    const std::int16_t radius = orbitEntry == 0 ? std::int16_t{1} : orbitEntry;
    p.orbitRadius = radius;

    const PlanetSize size = RollPlanetSize(radius, z.outer);
    if (size.volatileRich) setBit(p.worldFlags, kVolatileRichBit);
    p.diameter = size.diameter;
    p.density = size.density;

    const Bulk bulk = bulkProperties(p.density, p.diameter);

    float volatileInventory = 0.0F;
    RollAtmosphere(p.atmosphereClass, z.inner, z.middle, z.outer, radius, bulk.mass, bulk.gravity, p.pressure,
                   volatileInventory, p.diameter, size.volatileRich, bulk.escapeVelocity, p.retainedWeight);
    ClassifyWorld(p.atmosphereClass, p.worldType, z.inner, z.outer, z.middle, radius, p.diameter, size.volatileRich);
    ComputeClimate(z.inner, z.outer, radius, p.worldType, p.surfaceClass, p.waterCover, p.iceCover, p.cloudCover,
                   p.albedo, volatileInventory, star.luminosity, bulk.gravity, p.pressure, p.diameter,
                   p.atmosphereClass, p.temperature, bulk.escapeVelocity);
    p.composition = ChooseComposition(p.atmosphereClass, p.worldType, z.middle, bulk.gravity, p.pressure,
                                      bulk.escapeVelocity, radius, p.retainedWeight);

    p.eccentricity = RollEccentricity();
    const std::int32_t periodDays = orbitalPeriod(radius, star.starMass);
    if (bulk.mass > world::kBrownDwarfMass) p.worldType = world::kBrownDwarf;
    p.moonCount = RollMoonCount(p.worldType);

    const Rotation rotation = RotationOf(radius, p.diameter, p.moonCount, p.worldType, periodDays, p.surfaceClass,
                                         p.eccentricity, star.starMass, bulk.gravity, bulk.mass);
    p.rotation = rotation.hours;
    if (rotation.locked) setBit(p.worldFlags, kLockedBit);

    p.resources = RollResourceRatings(p.diameter, p.density);
    p.axialTilt = RollAxialTilt(radius);
    p.featureRating = RollFeatureRating();
    // A gas ball has no surface to mine.
    if (isGasBall(p.worldType)) p.resources = {};

    if (p.composition > 2 && p.waterCover > 0) {
        const int roll = d(2, 6);
        if (roll >= 11) {
            setBit(p.worldFlags, kWetAirBit);
        } else {
            clearBit(p.worldFlags, kWetAirBit);
        }
    }
    const int swing = dayNightSwing(star.luminosity, radius, p.temperature, p.atmosphereClass, p.rotation);

    const auto planetId = static_cast<std::int32_t>(files.planets.count());
    TwinFlags twins;
    if (p.moonCount > 0) {
        p.firstMoonId = static_cast<std::int32_t>(files.moons.count());
        twins = GenerateMoons(files.moons, p, z, planetId, star.luminosity, bulk.mass);
    }

    RollWorldFeatures(p.atmosphereClass, p.worldType, p.moonCount, p.surfaceClass, p.waterCover, p.featureRating,
                      p.density, p.composition, p.resources, p.rotation, p.worldFlags, twins.twin, twins.closeTwin,
                      p.eccentricity, p.temperature, swing, bulk.gravity, bulk.mass, p.features, p.resources[1],
                      p.cloudCover);

    if (hasNativeRace(p)) {
        const AlienWorld home{p.temperature, p.composition, p.worldType, bulk.gravity};
        p.nativeRaceId = static_cast<std::int32_t>(
            files.aliens.append(RollAlienRace(home, planetId, star.totalAlienDisable, star.maxSpatialAge)));
    }

    p.systemId = star.systemId;
    files.planets.append(p);
    return p;
}

}  // namespace orrimar

#include "generation/moons.h"

#include "common/bit_flags.h"
#include "common/errors.h"
#include "common/random.h"
#include "generation/atmosphere.h"
#include "generation/climate.h"
#include "generation/resources.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

// A body this heavy (Earth masses) glows: each moon rolled warms the next.
constexpr long double kBrownDwarfGlow = 0.1L;

constexpr int kVolatileRichBit = 1;
constexpr std::uint8_t kAirless = 6;
constexpr std::uint8_t kNoAtmosphere = 1;

std::uint16_t moonDistance(int multiple, std::int32_t planetDiameter) {
    const long long thousands = truncate(multiple * static_cast<long double>(planetDiameter) * 0.001L);
    if (thousands < 0 || thousands > 65535) throw RangeError();
    return static_cast<std::uint16_t>(thousands);
}

// The planet's own double: the same world, with its own resources.
TMoonRec twinMoon(const TPlanetRec& planet, TwinFlags& flags) {
    TMoonRec moon;
    if (testBit(planet.worldFlags, kVolatileRichBit)) setBit(moon.moonFlags, kVolatileRichBit);
    moon.diameter = planet.diameter;
    moon.density = planet.density;
    moon.pressure = planet.pressure;
    moon.atmosphereClass = planet.atmosphereClass;
    moon.worldType = planet.worldType;
    moon.surfaceClass = planet.surfaceClass;
    moon.composition = planet.composition;
    moon.temperature = planet.temperature;
    moon.waterCover = planet.waterCover;
    moon.iceCover = planet.iceCover;
    moon.cloudCover = planet.cloudCover;
    moon.albedo = planet.albedo;
    moon.reserved14 = planet.pad29[0];
    moon.resources = RollResourceRatings(moon.diameter, moon.density);

    const int closeness = d(10);
    if (closeness != 1) {
        const int multiple = RollDistanceMultiple(moon.diameter);
        moon.distance = moonDistance(multiple, planet.diameter);
        flags = {true, false};
    } else {
        moon.distance = static_cast<std::uint16_t>(truncate(planet.diameter * 1.225L * 0.001L));
        flags = {false, true};
    }
    return moon;
}

TMoonRec ordinaryMoon(const TPlanetRec& planet, const ZoneRadii& zones, float luminosity) {
    TMoonRec moon;
    const std::int16_t orbitRadius = planet.orbitRadius;

    const int iceRoll = d(6);
    const bool volatileRich = iceRoll >= 2 && orbitRadius > zones.outer;
    if (volatileRich) setBit(moon.moonFlags, kVolatileRichBit);

    const int sizeRoll = d(19);
    const int thousands = (sizeRoll - 6) * 1000;
    std::int32_t diameter = 0;  // a ring
    if (thousands < 0) {
        diameter = d(1000);
    } else if (thousands > 0) {
        const int km = d(999);
        diameter = thousands + km;
    }
    diameter = FitMoonDiameter(diameter, planet.diameter);
    moon.diameter = diameter;

    const int densityRoll = volatileRich ? d(6) : d(10);
    moon.density = static_cast<std::uint8_t>(volatileRich ? densityRoll : densityRoll + 3);

    const Bulk bulk = bulkProperties(moon.density, diameter);

    // A ring holds no gas; these stand until the ring is classified.
    moon.atmosphereClass = kAirless;
    float volatileInventory = 0.0F;
    std::uint8_t retainedWeight = 121;
    if (diameter != 0) {
        RollAtmosphere(moon.atmosphereClass, zones.inner, zones.middle, zones.outer, orbitRadius, bulk.mass,
                       bulk.gravity, moon.pressure, volatileInventory, diameter, volatileRich, bulk.escapeVelocity,
                       retainedWeight);
    }
    ClassifyWorld(moon.atmosphereClass, moon.worldType, zones.inner, zones.outer, zones.middle, orbitRadius, diameter,
                  volatileRich);
    if (moon.worldType == world::kRing) {
        moon.pressure = 0.0F;
        moon.atmosphereClass = kAirless;
        moon.composition = kNoAtmosphere;
    }
    ComputeClimate(zones.inner, zones.outer, orbitRadius, moon.worldType, moon.surfaceClass, moon.waterCover,
                   moon.iceCover, moon.cloudCover, moon.albedo, volatileInventory, luminosity, bulk.gravity,
                   moon.pressure, diameter, moon.atmosphereClass, moon.temperature, bulk.escapeVelocity);

    const int multiple = RollDistanceMultiple(diameter);
    moon.distance = moonDistance(multiple, planet.diameter);

    moon.composition = ChooseComposition(moon.atmosphereClass, moon.worldType, zones.middle, bulk.gravity,
                                         moon.pressure, bulk.escapeVelocity, orbitRadius, retainedWeight);
    moon.resources = RollResourceRatings(diameter, moon.density);
    return moon;
}

}  // namespace

std::int32_t FitMoonDiameter(std::int32_t diameter, std::int32_t planetDiameter) {
    while (diameter * 1.3L > planetDiameter) diameter = static_cast<std::int32_t>(roundEven(diameter * 0.5L));
    return diameter;
}

int RollDistanceMultiple(std::int32_t moonDiameter) {
    const int zoneRoll = d(10);
    int zone = zoneRoll <= 3 ? 1 : (zoneRoll <= 6 ? 2 : 3);
    if (moonDiameter == 0) zone = 1;
    if (zone == 1) {
        if (moonDiameter == 0) return d(3);
        return d(7) + 3;
    }
    const int roll = d(10);
    if (zone == 2) return roll * 5 + 10;
    return roll * 10 + 60;
}

TwinFlags GenerateMoons(RecordList<TMoonRec>& moons, const TPlanetRec& planet, const ZoneRadii& zones,
                        std::int32_t planetId, float effectiveLuminosity, float planetMass) {
    TwinFlags flags;
    float luminosity = effectiveLuminosity;
    for (int i = 0; i < planet.moonCount; ++i) {
        TMoonRec moon;
        const int twinRoll = d(1000);
        if (twinRoll == 1 && planet.moonCount == 1) {
            moon = twinMoon(planet, flags);
        } else {
            flags = {};
            moon = ordinaryMoon(planet, zones, luminosity);
            if (planetMass > world::kBrownDwarfMass) luminosity = static_cast<float>(luminosity + kBrownDwarfGlow);
        }
        moon.reserved36 = 0;
        moon.planetId = planetId;
        moons.append(moon);
    }
    return flags;
}

}  // namespace orrimar

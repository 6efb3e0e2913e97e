#include "logs/body_details.h"

#include "records/colony_codes.h"

#include <fmt/format.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "common/bit_flags.h"
#include "vocabulary/alien_names.h"
#include "vocabulary/body_names.h"
#include "reading/sector_reader.h"
#include "generation/physics.h"
#include "records/star_light.h"
#include "records/world_types.h"

namespace orrimar::logs {

using namespace orrimar::documents;
using namespace orrimar::vocabulary;
using namespace orrimar::reading;

namespace {

// The Earth's mean density, g/cm³, that the density field counts in tenths of.
constexpr double kEarthDensity = 5.514;
// A retained molecular weight of 121 means the body holds no gas at all.
constexpr int kHoldsNoGas = 121;
constexpr double kDaysPerYear = 365.25;

std::string percent(int value) { return fmt::format("{} %", value); }

std::string temperatureText(int celsius) { return fmt::format("{} °C", celsius); }

std::string densityText(int densityTenths) {
    return fmt::format("{} × Earth ({} g/cm³)", tenths(densityTenths), fixed(densityTenths * 0.1 * kEarthDensity, 1));
}

std::string atmosphereText(int atmosphereClass) {
    return fmt::format("{} (class {}: {})", atmosphereClassName(atmosphereClass), atmosphereClass,
                       atmosphereClassBand(atmosphereClass));
}

std::string compositionText(int composition) {
    if (composition == 1) return fmt::format("{} (code 1)", compositionName(1));
    return fmt::format("{} (code {}, main gas of molecular weight {})", compositionName(composition), composition,
                       compositionWeight(composition));
}

std::string pressureText(float pressure) {
    if (pressure <= 0.0F) return "0 atm";
    return fmt::format("{} atm", magnitude(pressure));
}

std::string surfaceText(int surfaceClass) {
    return fmt::format("{} (class {})", surfaceClassName(surfaceClass), surfaceClass);
}

std::string resourcesText(const std::array<std::uint8_t, 5>& ratings) {
    bool any = false;
    std::string text;
    for (int r = 1; r <= kResourceCount; ++r) {
        const int rating = ratings[static_cast<std::size_t>(r - 1)];
        if (rating != 0) any = true;
        if (r > 1) text += ", ";
        text += fmt::format("{} {}/100", resourceName(r), rating);
    }
    return any ? text : "none";
}

std::string yearText(std::int16_t orbitRadius, float starMass) {
    if (!(starMass > 0.0F) || !std::isfinite(starMass)) return "unknown (the star's mass is not known)";
    const std::int32_t days = orbitalPeriod(orbitRadius, starMass);
    return fmt::format("{} days ({} years)", grouped(days), fixed(days / kDaysPerYear, 2));
}

std::string dayText(std::int32_t hours, bool locked) {
    std::string text = fmt::format("{} hours", grouped(hours));
    // Widened before the magnitude: -INT32_MIN does not fit an int32.
    if (std::abs(static_cast<long long>(hours)) >= 48) text += fmt::format(" ({} days)", fixed(hours / 24.0, 1));
    if (locked) text += ", locked to the orbit";
    return text;
}

std::string featuresText(const std::array<std::uint8_t, 5>& features) {
    std::string text;
    for (int byte = 1; byte <= 5; ++byte) {
        for (int bit = 1; bit <= 8; ++bit) {
            if (!testBit(features[static_cast<std::size_t>(byte - 1)], bit)) continue;
            if (!text.empty()) text += ", ";
            text += featureName(byte, bit);
        }
    }
    return text.empty() ? "none" : text;
}

std::string flagsText(std::uint8_t flags, int bits) {
    std::string text;
    for (int bit = 1; bit <= bits; ++bit) {
        if (!testBit(flags, bit)) continue;
        if (!text.empty()) text += ", ";
        text += worldFlagName(bit);
    }
    return text.empty() ? "none" : text;
}

std::string gasHeldText(int retainedWeight) {
    if (retainedWeight >= kHoldsNoGas) return "none (holds no gas)";
    if (retainedWeight <= 1) return "all gases, even the lightest";
    return fmt::format("molecular weight {} and heavier", retainedWeight);
}

void addBulk(KeyValues& kv, std::uint8_t density, std::int32_t diameter) {
    const Bulk bulk = bulkProperties(density, diameter);
    kv.emplace_back("Mass", fmt::format("{} Earth masses", magnitude(bulk.mass)));
    kv.emplace_back("Surface gravity", fmt::format("{} g", fixed(bulk.gravity, 2)));
    kv.emplace_back("Escape velocity", fmt::format("{} km/s", fixed(bulk.escapeVelocity / 1.0e5, 2)));
}

}  // namespace

char starLetter(int star) { return static_cast<char>('A' + (star - 1)); }

std::string bodyTitle(const TPlanetRec& planet) {
    const std::string type = worldTypeText(planet.worldType);
    if (isBelt(planet.worldType)) return type + " asteroid belt";
    if (planet.worldType == world::kGasGiant || planet.worldType == world::kBrownDwarf ||
        planet.worldType == world::kChunk || planet.worldType == world::kRing) {
        return type;
    }
    return type + " planet";
}

std::string raceBrief(const TAlienRec& race, std::int64_t raceId) {
    std::string text =
        fmt::format("Race {}: {}, {}, living {}; development level {}", raceId, subtypeName(race.subtype),
                    bodyFormName(race.bodyForm), habitatPhrase(race.habitat), race.techLevel);
    if (race.spatialAge > 0) text += fmt::format(", spatial age {}", race.spatialAge);
    text += fmt::format(", {} kg, {} cm tall", race.mass, race.height);
    return text;
}

KeyValues starDetails(const TSystemRec& system, int star) {
    const std::size_t i = static_cast<std::size_t>(star - 1);
    const int kind = system.starKind[i];
    KeyValues kv;
    kv.emplace_back("Spectral class", spectralDesignation(kind, system.spectralDigit[i]));
    kv.emplace_back("Kind", fmt::format("{} (star kind {})", starPlainName(kind), kind));
    const float mass = system.mass[i];
    kv.emplace_back("Mass", mass > 0.0F && std::isfinite(mass) ? fmt::format("{} solar masses", magnitude(mass))
                                                               : std::string("unknown"));
    kv.emplace_back("Luminosity", fmt::format("{} solar luminosities", magnitude(system.luminosity[i])));
    const float effective = effectiveLuminosity(system, star - 1);
    if (system.starCount > 1) {
        kv.emplace_back("Light on its planets",
                        fmt::format("{} solar luminosities (with its companions)", magnitude(effective)));
    }
    if (star > 1) {
        kv.emplace_back("Separation", fmt::format("{} AU from star A", tenths(system.separation[i - 1])));
    }
    const ZoneRadii zones = zoneRadii(effective);
    kv.emplace_back("Zones", fmt::format("inner {} AU, middle {} AU, outer {} AU", tenths(zones.inner),
                                         tenths(zones.middle), tenths(zones.outer)));
    kv.emplace_back("Orbits", std::to_string(system.planetCount[i]));
    return kv;
}

KeyValues planetDetails(const TPlanetRec& planet, const BodyContext& context) {
    KeyValues kv;
    kv.emplace_back("World type", fmt::format("{} (type {})", worldTypeText(planet.worldType), planet.worldType));
    kv.emplace_back("Planet id", std::to_string(context.id));
    kv.emplace_back("Distance", fmt::format("{} AU", tenths(planet.orbitRadius)));
    kv.emplace_back("Eccentricity", fixed(planet.eccentricity * 0.001, 3));
    kv.emplace_back("Year", yearText(planet.orbitRadius, context.starMass));
    kv.emplace_back("Day", dayText(planet.rotation, testBit(planet.worldFlags, 2)));
    kv.emplace_back("Axial tilt", fmt::format("{}°", planet.axialTilt));
    kv.emplace_back("Diameter", fmt::format("{} km", grouped(planet.diameter)));
    kv.emplace_back("Density", densityText(planet.density));
    addBulk(kv, planet.density, planet.diameter);
    kv.emplace_back("Atmosphere", atmosphereText(planet.atmosphereClass));
    kv.emplace_back("Pressure", pressureText(planet.pressure));
    kv.emplace_back("Composition", compositionText(planet.composition));
    kv.emplace_back("Gases held", gasHeldText(planet.retainedWeight));
    const int swing = dayNightSwing(context.effectiveLuminosity, planet.orbitRadius, planet.temperature,
                                    planet.atmosphereClass, planet.rotation);
    kv.emplace_back("Temperature",
                    fmt::format("{} mean, day-night swing {} °C", temperatureText(planet.temperature), swing));
    kv.emplace_back("Surface", surfaceText(planet.surfaceClass));
    kv.emplace_back("Water cover", percent(planet.waterCover));
    kv.emplace_back("Ice cover", percent(planet.iceCover));
    kv.emplace_back("Cloud cover", percent(planet.cloudCover));
    kv.emplace_back("Albedo", percent(planet.albedo));
    kv.emplace_back("Resources", resourcesText(planet.resources));
    kv.emplace_back("Feature rating", std::to_string(planet.featureRating));
    kv.emplace_back("Features", featuresText(planet.features));
    kv.emplace_back("Life", std::string(lifeLevelName(lifeLevel(planet.features))));
    if (context.nativeRace) kv.emplace_back("Native race", *context.nativeRace);
    kv.emplace_back("Flags", flagsText(planet.worldFlags, 4));
    if (colonisingRace(planet) != kNoRace) {
        kv.emplace_back("Colonised by", context.colonisingRace ? *context.colonisingRace
                                                               : fmt::format("race {}", colonisingRace(planet)));
    }
    kv.emplace_back("Moons", std::to_string(planet.moonCount));
    return kv;
}

KeyValues beltDetails(const TPlanetRec& belt, const BodyContext& context) {
    KeyValues kv;
    kv.emplace_back("Belt kind", fmt::format("{} (type {})", worldTypeText(belt.worldType), belt.worldType));
    kv.emplace_back("Planet id", std::to_string(context.id));
    kv.emplace_back("Distance", fmt::format("{} AU", tenths(belt.orbitRadius)));
    kv.emplace_back("Year", yearText(belt.orbitRadius, context.starMass));
    kv.emplace_back("Belt size", fmt::format("{} (on a scale of 1 to 11)", belt.diameter));
    kv.emplace_back("Density", densityText(belt.density));
    kv.emplace_back("Axial tilt", fmt::format("{}°", belt.axialTilt));
    kv.emplace_back("Atmosphere", atmosphereText(belt.atmosphereClass));
    kv.emplace_back("Temperature", temperatureText(belt.temperature) + " mean");
    kv.emplace_back("Surface", surfaceText(belt.surfaceClass));
    kv.emplace_back("Albedo", percent(belt.albedo));
    kv.emplace_back("Resources", resourcesText(belt.resources));
    return kv;
}

KeyValues moonDetails(const TMoonRec& moon, std::int64_t moonId, bool twin) {
    KeyValues kv;
    kv.emplace_back("World type", fmt::format("{} (type {})", worldTypeText(moon.worldType), moon.worldType));
    kv.emplace_back("Moon id", std::to_string(moonId));
    if (twin) kv.emplace_back("Twin", "a twin of its planet");
    kv.emplace_back("Distance",
                    fmt::format("{} km from the planet", grouped(static_cast<long long>(moon.distance) * 1000)));
    if (moon.diameter == 0) {
        kv.emplace_back("Diameter", "none: a ring");
    } else {
        kv.emplace_back("Diameter", fmt::format("{} km", grouped(moon.diameter)));
    }
    kv.emplace_back("Density", densityText(moon.density));
    if (moon.diameter != 0) addBulk(kv, moon.density, moon.diameter);
    kv.emplace_back("Atmosphere", atmosphereText(moon.atmosphereClass));
    kv.emplace_back("Pressure", pressureText(moon.pressure));
    kv.emplace_back("Composition", compositionText(moon.composition));
    kv.emplace_back("Temperature", temperatureText(moon.temperature) + " mean");
    kv.emplace_back("Surface", surfaceText(moon.surfaceClass));
    kv.emplace_back("Water cover", percent(moon.waterCover));
    kv.emplace_back("Ice cover", percent(moon.iceCover));
    kv.emplace_back("Cloud cover", percent(moon.cloudCover));
    kv.emplace_back("Albedo", percent(moon.albedo));
    kv.emplace_back("Resources", resourcesText(moon.resources));
    kv.emplace_back("Flags", flagsText(moon.moonFlags, 1));
    return kv;
}

}  // namespace orrimar::logs

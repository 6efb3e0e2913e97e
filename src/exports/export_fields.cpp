#include "exports/export_fields.h"

#include "records/colony_codes.h"

// GCC 12 takes the list alternative of a FieldValue built in place for
// maybe uninitialised when another alternative is chosen, a false positive
// of its variant analysis once everything is inlined; nothing here reads an
// unset member.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "vocabulary/alien_names.h"
#include "logs/body_details.h"
#include "vocabulary/body_names.h"
#include "common/bit_flags.h"
#include "generation/physics.h"
#include "records/world_types.h"

namespace orrimar::exports {

using namespace orrimar::vocabulary;
using namespace orrimar::logs;

namespace {

constexpr std::array<std::string_view, kResourceCount> kResourceFields = {
    "resource_metals", "resource_radioactives", "resource_precious_metals", "resource_crystals_and_gems",
    "resource_exotic_minerals"};
constexpr std::array<std::string_view, 7> kAttributeFields = {
    "attribute_1", "attribute_2", "attribute_3", "attribute_4", "attribute_5", "attribute_6", "attribute_7"};
constexpr std::array<std::string_view, kFlagSetCount> kFlagSetFields = {"flag_set_1", "flag_set_2", "flag_set_3",
                                                                        "flag_set_4", "flag_set_5"};

FieldValue integer(long long v) { return FieldValue(static_cast<std::int64_t>(v)); }
FieldValue text(std::string_view v) { return FieldValue(std::string(v)); }
FieldValue nameOrNull(const OptionalName& name) { return name ? FieldValue(*name) : FieldValue(FieldNull{}); }

// Values stored in tenths (of an AU, of the Earth's density) as decimals.
double tenthsValue(long long v) { return static_cast<double>(v) / 10.0; }

FieldValue massOrNull(float solarMasses) {
    if (!(solarMasses > 0.0F) || !std::isfinite(solarMasses)) return FieldNull{};
    return floatValue(solarMasses);
}

FieldList featureList(const std::array<std::uint8_t, 5>& features) {
    FieldList names;
    for (int byte = 1; byte <= 5; ++byte) {
        for (int bit = 1; bit <= 8; ++bit) {
            if (testBit(features[static_cast<std::size_t>(byte - 1)], bit)) names.push_back(featureName(byte, bit));
        }
    }
    return names;
}

FieldList flagList(std::uint8_t flags, int bits) {
    FieldList names;
    for (int bit = 1; bit <= bits; ++bit) {
        if (testBit(flags, bit)) names.emplace_back(worldFlagName(bit));
    }
    return names;
}

void addResources(Fields& f, const std::array<std::uint8_t, 5>& ratings) {
    for (std::size_t r = 0; r < kResourceFields.size(); ++r) f.push_back({kResourceFields[r], integer(ratings[r])});
}

// Mass, gravity and escape velocity follow from density and diameter; a
// body of no diameter (a ring, a belt) has none.
void addBulk(Fields& f, std::uint8_t density, std::int32_t diameterKm, bool solid) {
    if (!solid) {
        f.push_back({"mass_earth", FieldNull{}});
        f.push_back({"gravity_g", FieldNull{}});
        f.push_back({"escape_velocity_km_s", FieldNull{}});
        return;
    }
    const Bulk bulk = bulkProperties(density, diameterKm);
    f.push_back({"mass_earth", floatValue(bulk.mass)});
    f.push_back({"gravity_g", floatValue(bulk.gravity)});
    // The record's unit is centimetres per second.
    f.push_back({"escape_velocity_km_s", floatValue(bulk.escapeVelocity) / 1.0e5});
}

void addAtmosphere(Fields& f, int atmosphereClass, float pressure, int composition) {
    f.push_back({"atmosphere_class_code", integer(atmosphereClass)});
    f.push_back({"atmosphere_class_name", text(atmosphereClassName(atmosphereClass))});
    f.push_back({"pressure_atm", floatValue(pressure)});
    f.push_back({"composition_code", integer(composition)});
    f.push_back({"composition_name", text(compositionName(composition))});
}

void addSurface(Fields& f, int temperature, int water, int ice, int cloud, int albedo, int surfaceClass) {
    f.push_back({"temperature_c", integer(temperature)});
    f.push_back({"water_percent", integer(water)});
    f.push_back({"ice_percent", integer(ice)});
    f.push_back({"cloud_percent", integer(cloud)});
    f.push_back({"albedo_percent", integer(albedo)});
    f.push_back({"surface_class_code", integer(surfaceClass)});
    f.push_back({"surface_class_name", text(surfaceClassName(surfaceClass))});
}

FieldList raceFlags(const std::array<std::uint8_t, 2>& bytes, int set) {
    FieldList names;
    for (int flag = 1; flag <= kFlagsPerSet; ++flag) {
        if (testFlag(bytes.data(), flag)) names.push_back(flagName(set, flag));
    }
    return names;
}

}  // namespace

double floatValue(float value) {
    if (!std::isfinite(value)) return 0.0;
    char digits[32];
    // The shortest digits that round-trip the float, read back as a double.
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    double out = 0.0;
    std::from_chars(digits, written.ptr, out);
    return out;
}

Fields systemFields(const TSystemRec& system, std::int64_t id, const OptionalName& name) {
    const int stars = starCountOf(system);
    int bodies = 0;
    for (int s = 0; s < stars; ++s) bodies += system.planetCount[static_cast<std::size_t>(s)];
    Fields f;
    f.reserve(11);
    f.push_back({"id", integer(id)});
    f.push_back({"name", nameOrNull(name)});
    f.push_back({"x_pc", integer(system.x)});
    f.push_back({"y_pc", integer(system.y)});
    f.push_back({"z_pc", integer(system.z)});
    f.push_back({"age_code", integer(system.systemAge)});
    // The age code counts hundreds of millions of years.
    f.push_back({"age_gyr", tenthsValue(system.systemAge)});
    f.push_back({"star_count", integer(stars)});
    f.push_back({"body_count", integer(bodies)});
    f.push_back(
        {"system_race_id", system.systemRaceId == kNoRace ? FieldValue(FieldNull{}) : integer(system.systemRaceId)});
    return f;
}

Fields starFields(const TSystemRec& system, std::int64_t systemId, int star) {
    const auto i = static_cast<std::size_t>(star - 1);
    const int kind = system.starKind[i];
    Fields f;
    f.reserve(12);
    f.push_back({"system_id", integer(systemId)});
    f.push_back({"star", text(std::string(1, starLetter(star)))});
    f.push_back({"kind_code", integer(kind)});
    f.push_back({"kind_name", text(starPlainName(kind))});
    f.push_back({"spectral_class", text(spectralDesignation(kind, system.spectralDigit[i]))});
    f.push_back({"spectral_digit", integer(system.spectralDigit[i])});
    f.push_back({"mass_solar", massOrNull(system.mass[i])});
    f.push_back({"luminosity_solar", floatValue(system.luminosity[i])});
    f.push_back({"separation_au", star == 1 ? FieldValue(FieldNull{}) : tenthsValue(system.separation[i - 1])});
    f.push_back({"planet_count", integer(system.planetCount[i])});
    f.push_back({"first_planet_id", integer(system.firstPlanetId[i])});
    return f;
}

Fields bodyFields(const TPlanetRec& body, const BodyPlace& place, const OptionalName& name) {
    const bool belt = isBelt(body.worldType);
    Fields f;
    f.reserve(52);
    f.push_back({"id", integer(place.id)});
    f.push_back({"system_id", integer(body.systemId)});
    f.push_back({"star", text(std::string(1, starLetter(place.star)))});
    f.push_back({"orbit", integer(place.orbit)});
    f.push_back({"kind", text(belt ? "belt" : "planet")});
    f.push_back({"name", nameOrNull(name)});
    f.push_back({"distance_au", tenthsValue(body.orbitRadius)});
    f.push_back({"eccentricity", static_cast<double>(body.eccentricity) / 1000.0});
    if (place.starMass > 0.0F && std::isfinite(place.starMass)) {
        f.push_back({"year_days", integer(orbitalPeriod(body.orbitRadius, place.starMass))});
    } else {
        f.push_back({"year_days", FieldNull{}});
    }
    f.push_back({"day_hours", integer(body.rotation)});
    f.push_back({"axial_tilt_deg", integer(body.axialTilt)});
    f.push_back({"world_type_code", integer(body.worldType)});
    f.push_back({"world_type_name", text(worldTypeText(body.worldType))});
    // A belt's diameter field holds its size code instead.
    f.push_back({"diameter_km", belt ? FieldValue(FieldNull{}) : integer(body.diameter)});
    f.push_back({"belt_size_code", belt ? integer(body.diameter) : FieldValue(FieldNull{})});
    f.push_back({"density_earth", tenthsValue(body.density)});
    addBulk(f, body.density, body.diameter, !belt && body.diameter > 0);
    addAtmosphere(f, body.atmosphereClass, body.pressure, body.composition);
    f.push_back({"retained_molecular_weight", integer(body.retainedWeight)});
    addSurface(f, body.temperature, body.waterCover, body.iceCover, body.cloudCover, body.albedo, body.surfaceClass);
    addResources(f, body.resources);
    f.push_back({"feature_rating", integer(body.featureRating)});
    f.push_back({"features", featureList(body.features)});
    f.push_back({"flags", flagList(body.worldFlags, 4)});
    f.push_back({"life_level", text(lifeLevelName(lifeLevel(body.features)))});
    f.push_back({"native_race_id", hasNativeRace(body) ? integer(body.nativeRaceId) : FieldValue(FieldNull{})});
    f.push_back({"colonising_race_id",
                 colonisingRace(body) != kNoRace ? integer(colonisingRace(body)) : FieldValue(FieldNull{})});
    f.push_back({"moon_count", integer(body.moonCount)});
    f.push_back({"first_moon_id", body.moonCount > 0 ? integer(body.firstMoonId) : FieldValue(FieldNull{})});
    return f;
}

Fields moonFields(const TMoonRec& moon, std::int64_t id, int number, bool twin, const OptionalName& name) {
    Fields f;
    f.reserve(34);
    f.push_back({"id", integer(id)});
    f.push_back({"planet_id", integer(moon.planetId)});
    f.push_back({"number", integer(number)});
    f.push_back({"name", nameOrNull(name)});
    // The record counts thousands of kilometres.
    f.push_back({"distance_km", integer(static_cast<long long>(moon.distance) * 1000)});
    f.push_back({"twin", twin});
    f.push_back({"world_type_code", integer(moon.worldType)});
    f.push_back({"world_type_name", text(worldTypeText(moon.worldType))});
    f.push_back({"diameter_km", integer(moon.diameter)});
    f.push_back({"density_earth", tenthsValue(moon.density)});
    addBulk(f, moon.density, moon.diameter, moon.diameter > 0);
    addAtmosphere(f, moon.atmosphereClass, moon.pressure, moon.composition);
    addSurface(f, moon.temperature, moon.waterCover, moon.iceCover, moon.cloudCover, moon.albedo, moon.surfaceClass);
    addResources(f, moon.resources);
    f.push_back({"flags", flagList(moon.moonFlags, 1)});
    return f;
}

Fields raceFields(const TAlienRec& race, std::int64_t id, std::optional<std::int64_t> homeSystemId,
                  const OptionalName& name) {
    Fields f;
    f.reserve(56);
    f.push_back({"id", integer(id)});
    f.push_back({"name", nameOrNull(name)});
    f.push_back({"home_world_id", integer(race.worldId)});
    f.push_back({"home_system_id", homeSystemId ? integer(*homeSystemId) : FieldValue(FieldNull{})});
    f.push_back({"habitat_code", integer(race.habitat)});
    f.push_back({"habitat_name", text(habitatName(race.habitat))});
    f.push_back({"body_form_code", integer(race.bodyForm)});
    f.push_back({"body_form_name", text(bodyFormName(race.bodyForm))});
    f.push_back({"subtype_code", integer(race.subtype)});
    f.push_back({"subtype_name", text(subtypeName(race.subtype))});
    f.push_back({"form_code", integer(race.formCode)});
    f.push_back({"form_name", text(formCodeName(race.formCode))});
    f.push_back({"order_code", integer(race.orderCode)});
    f.push_back({"order_name", text(orderName(race.orderCode))});
    f.push_back({"mass_kg", integer(race.mass)});
    f.push_back({"height_cm", integer(race.height)});
    f.push_back({"mass_class", integer(race.massClass)});
    f.push_back({"appendage_count", integer(race.appendageCount)});
    FieldList appendages;
    const int used = std::min<int>(race.appendageCount, static_cast<int>(race.appendageTypes.size()));
    for (int a = 0; a < used; ++a)
        appendages.push_back(appendageName(race.appendageTypes[static_cast<std::size_t>(a)]));
    f.push_back({"appendages", std::move(appendages)});
    for (std::size_t a = 0; a < kAttributeFields.size(); ++a)
        f.push_back({kAttributeFields[a], integer(race.attributes[a])});
    f.push_back({"tech_level", integer(race.techLevel)});
    f.push_back({"spatial_age", integer(race.spatialAge)});
    f.push_back({"rating_a", integer(race.ratingA)});
    f.push_back({"rating_b", integer(race.ratingB)});
    f.push_back({"rating_c", integer(race.ratingC)});
    f.push_back({"rating_d", integer(race.ratingD)});
    f.push_back({"rating_e", integer(race.ratingE)});
    const struct {
        Aspect aspect;
        std::uint8_t code;
        std::string_view codeField;
        std::string_view nameField;
    } aspects[] = {
        {Aspect::A, race.aspectA, "aspect_a_code", "aspect_a_name"},
        {Aspect::B, race.aspectB, "aspect_b_code", "aspect_b_name"},
        {Aspect::C, race.aspectC, "aspect_c_code", "aspect_c_name"},
        {Aspect::D, race.aspectD, "aspect_d_code", "aspect_d_name"},
        {Aspect::E, race.aspectE, "aspect_e_code", "aspect_e_name"},
        {Aspect::F, race.aspectF, "aspect_f_code", "aspect_f_name"},
    };
    for (const auto& a : aspects) {
        f.push_back({a.codeField, integer(a.code)});
        f.push_back({a.nameField, text(aspectName(a.aspect, a.code))});
    }
    FieldList traits;
    for (int t = 1; t <= kTraitCount; ++t) {
        if (testFlag(race.traits.data(), t)) traits.push_back(traitName(t));
    }
    f.push_back({"traits", std::move(traits)});
    const std::array<const std::array<std::uint8_t, 2>*, kFlagSetCount> sets = {
        &race.flagSet1, &race.flagSet2, &race.flagSet3, &race.flagSet4, &race.flagSet5};
    for (int s = 1; s <= kFlagSetCount; ++s) {
        f.push_back(
            {kFlagSetFields[static_cast<std::size_t>(s - 1)], raceFlags(*sets[static_cast<std::size_t>(s - 1)], s)});
    }
    return f;
}

}  // namespace orrimar::exports

// The colony record's codes: colony types, starport classes, facilities and
// population codes, with their display texts and the conversions every
// reader and writer of colonies shares (the colonies report, the logs, the
// exports, the Atlas, settling and the colony editor).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "records/records.h"

namespace orrimar {

enum class ColonyType : std::uint8_t {
    Agricultural = 1,
    HighPopulation,
    Industrial,
    Mining,
    Fluid,
    Recreational,
    Capital,
    Homeworld,
    Settlement,
    Military,
    Research,
};

enum class Starport : std::uint8_t { Excellent = 1, Good, Fair, Primitive, None };

enum class Facility : std::uint8_t {
    MilitaryBase = 1,
    NavalBase,
    PrisonCamp,
    ExileCamp,
    University,
    MilitaryAcademy,
    Arcology,
    OrbitalTower,
};

inline constexpr std::array<std::string_view, 11> kColonyTypeNames = {
    "Agricultural", "High population", "Industrial", "Mining",   "Fluid",    "Recreational",
    "Capital",      "Homeworld",       "Settlement", "Military", "Research",
};

inline constexpr std::array<std::string_view, 5> kStarportNames = {
    "Excellent", "Good", "Fair", "Primitive", "None",
};

// Facility k (1..8) is bit k of the colony's first facility byte.
inline constexpr std::array<std::string_view, 8> kFacilityNames = {
    "Military Base", "Naval Base",       "Prison Camp", "Exile Camp",
    "University",    "Military Academy", "Arcology",    "Orbital tower",
};

// Population codes run 0..69: magnitude code / 10, mantissa code % 10.
inline constexpr int kPopulationCodeCount = 70;

// The scales of law, crime and stability this program writes: 0..9.
inline constexpr int kLastLevel = 9;

// Each lookup throws RangeError ("Range check error ...") for a code
// outside its table.
std::string_view colonyTypeName(int code);
std::string_view starportName(int code);

// The code of a name, matched without regard to case or blanks at either
// end ("high population", "Orbital Tower"); nothing for an unknown name.
std::optional<ColonyType> colonyTypeByName(std::string_view name);
std::optional<Starport> starportByName(std::string_view name);
std::optional<Facility> facilityByName(std::string_view name);

bool hasFacility(const TColonyRec& colony, Facility facility);
void setFacility(TColonyRec& colony, Facility facility, bool present);

// People living in a colony of population code `code`.
std::uint64_t populationPeople(int code);
// The largest code whose population is at most `people` (code 0 for fewer
// than 10,000); several codes name one population, and the lowest is chosen.
int populationCodeFor(std::uint64_t people);

// The population as the colonies report prints it: in thousands below one
// million people ("60 thousands"), in millions from there ("60 millions").
std::string populationText(int code);
// The population in plain words for the logs and the Atlas: "60 million",
// "1.2 billion", "40,000".
std::string populationWords(int code);
// Any number of people in the same words (a sum over colonies).
std::string peopleWords(std::uint64_t people);

// The colour a race's territory takes on maps when no empire record gives
// one, and the colour settling gives a new empire: hues spread by the golden
// angle, so that neighbouring race ids never look alike. Red, green, blue.
std::array<std::uint8_t, 3> empireColourFor(std::uint16_t race);

// ---------------------------------------------------------------- worlds
inline constexpr std::uint8_t kPlanetColony = 1;  // any other kind is a moon base
inline constexpr std::uint8_t kMoonBase = 2;      // the kind this program writes for one

inline bool isMoonBase(const TColonyRec& colony) { return colony.kind != kPlanetColony; }

// A removed colony keeps its number, so that notes and marks referring to
// later colonies stay right: it lives nowhere, of no race, owned by none.
inline bool isVacant(const TColonyRec& colony) { return colony.race == kNoRace && colony.allegiance == kNoRace; }
TColonyRec vacantColony();

inline bool isVacant(const TEmpireRec& empire) { return empire.race == kNoRace; }
TEmpireRec vacantEmpire();

// World flag bit 4: the planet holds a colony, and colonisingRaceId names
// the race that owns it.
inline constexpr std::uint8_t kColonisedWorldFlag = 1U << 3;
inline bool isColonised(const TPlanetRec& planet) { return (planet.worldFlags & kColonisedWorldFlag) != 0; }
// The owning race of a colonised planet; kNoRace when it is not colonised
// (or its owner is not given).
inline std::uint16_t colonisingRace(const TPlanetRec& planet) {
    return isColonised(planet) ? static_cast<std::uint16_t>(planet.colonisingRaceId) : kNoRace;
}
// Marks the planet as colonised by `race`, or (kNoRace) as not colonised,
// the colonising race id then -1 as generation leaves it.
void setColonisingRace(TPlanetRec& planet, std::uint16_t race);

// The planet a colony's world is or orbits, and the system it lies in, as
// looked up through the caller's own readers (the record files, an
// in-memory copy): `planetAt(id)` and `moonAt(id)` return the records, the
// counts bound the ids. -1 when the world is not in the sector (a vacant
// record's included).
struct WorldCounts {
    std::int64_t systems = 0;
    std::int64_t planets = 0;
    std::int64_t moons = 0;
};

template <typename MoonAt>
std::int64_t colonyPlanet(const TColonyRec& colony, const WorldCounts& counts, MoonAt&& moonAt) {
    std::int64_t planetId = colony.worldId;
    if (isMoonBase(colony)) {
        if (colony.worldId < 0 || colony.worldId >= counts.moons) return -1;
        planetId = moonAt(colony.worldId).planetId;
    }
    return planetId >= 0 && planetId < counts.planets ? planetId : -1;
}

template <typename PlanetAt, typename MoonAt>
std::int64_t colonySystem(const TColonyRec& colony, const WorldCounts& counts, PlanetAt&& planetAt, MoonAt&& moonAt) {
    const std::int64_t planetId = colonyPlanet(colony, counts, moonAt);
    if (planetId < 0) return -1;
    const std::int64_t systemId = planetAt(planetId).systemId;
    return systemId >= 0 && systemId < counts.systems ? systemId : -1;
}

}  // namespace orrimar

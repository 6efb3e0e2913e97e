// Search and filter: one Filter value holds every criterion a game master can
// set; the criteria left unset accept everything, the set ones must all hold
// (AND). World criteria (world type, breathable air, temperature, water,
// gravity, life, native race) are met by one and the same planet: the
// per-system summary rules systems out quickly, and when the summary cannot
// decide (more than one world criterion, or a temperature, water or gravity
// band) the planet records of the systems that pass it are read to confirm:
// one by one when few pass, else in one pass over the planet file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "atlas/atlas_model.h"
#include "atlas/route_stops.h"
#include "vocabulary/body_names.h"

namespace orrimar::atlas {

template <typename T>
struct Range {
    T min{};
    T max{};  // inclusive
    bool contains(T v) const { return v >= min && v <= max; }
};

struct Filter {
    // A whole number is a system id; any other text a part of a name (case
    // ignored). Empty = any system.
    std::string nameOrId;
    // Primary star kinds 1..23 as bit k; 0 = any.
    std::uint32_t starKinds = 0;
    // World types 1..23 as bit t: some body (planet or belt) of one of these types.
    std::uint32_t worldTypes = 0;
    bool breathable = false;                                      // a planet with breathable air
    std::optional<Range<int>> temperature;                        // degrees Celsius, a planet's mean
    std::optional<Range<int>> water;                              // percent of a planet's surface
    std::optional<Range<double>> gravity;                         // g, a planet's surface gravity
    vocabulary::LifeLevel minLife = vocabulary::LifeLevel::None;  // a planet with at least this life
    bool nativeRace = false;                                      // a planet home to a native race
    bool colony = false;                                          // a colony or moon base in the system
    // Settled space: the controlling race (kNoRace: systems with colonies
    // that no race controls, "independent"), the people of all the
    // system's colonies together, a starport at least this good (Starport
    // code, 1 the best; 0 any) and colony types (ColonyType t as bit t; a
    // colony of one of them).
    std::optional<std::uint16_t> owner;
    std::uint64_t minPeople = 0;
    int starport = 0;
    std::uint16_t colonyTypes = 0;
    // Within `parsecs` of system `of` (the system itself included).
    SystemId withinOf = kNoSystem;
    double withinParsecs = 0.0;
    // Within `maxJumps` jumps of at most `jumpParsecs` each of system
    // `jumpsOf` (the system itself included, at no jumps), stopping on the
    // way only where `jumpVia` allows (jump_search.h).
    SystemId jumpsOf = kNoSystem;
    int maxJumps = 0;
    double jumpParsecs = 0.0;
    RouteStopChoice jumpVia;

    bool empty() const;
    bool hasWorldCriterion() const;
    // The summary alone cannot decide: the planets must be read to confirm.
    bool needsPlanets() const;
};

// Bit for world type / star kind code `code` in Filter's masks.
constexpr std::uint32_t codeBit(int code) { return code >= 1 && code <= 31 ? (1U << code) : 0U; }

// The criteria a system's own entry and summary can decide. It never rejects
// a matching system; it is the exact answer unless needsPlanets(filter) or
// the filter counts jumps (a search of its own, which matchSystems runs).
bool passesSummary(const AtlasModel& model, SystemId id, const Filter& filter);

// One bit per system (1 = matches), for lighting and dimming the map; reads
// planet records only when needsPlanets() (and never for an in-memory model).
// Throws InputError for a withinOf or jumpsOf that is not a system of the
// sector. When the filter counts jumps and `jumps` is given, it receives
// each system's fewest jumps from jumpsOf (kNotReached beyond reach).
std::vector<std::uint8_t> matchSystems(const AtlasModel& model, const Filter& filter,
                                       std::vector<std::int32_t>* jumps = nullptr);
// The matching ids in id order.
std::vector<SystemId> matchingIds(const AtlasModel& model, const Filter& filter);

// World-level test of one planet record against the filter's world criteria
// (what matchSystems uses to confirm).
struct PlanetFacts {
    std::uint8_t worldType = 0;
    bool breathable = false;
    bool belt = false;
    std::int16_t temperature = 0;
    std::uint8_t water = 0;
    std::uint16_t gravity = 0;  // hundredths of a g
    vocabulary::LifeLevel life = vocabulary::LifeLevel::None;
    bool nativeRace = false;
};
bool planetMatches(const PlanetFacts& planet, const Filter& filter);

// The planets of a system as PlanetFacts, read from the sector's planet file
// (empty for an in-memory model).
std::vector<PlanetFacts> readPlanets(const AtlasModel& model, SystemId id);

}  // namespace orrimar::atlas

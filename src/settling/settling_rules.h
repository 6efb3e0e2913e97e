// The rules that settle a sector: how far a race reaches, how many worlds
// it takes, which worlds it likes, and what its colonies become. Each rule
// is a small function of the race, the world and the distance from home, so
// that the README can state it and a test can hold it to its bands. The
// dice are rolled in the order the functions are called, one per statement.
#pragma once

#include <cstdint>
#include <string>

#include "records/records.h"

namespace orrimar {

// The race's standing among the races: its development level (1..10) and
// how long it has travelled between the stars (spatial age, 0..127).
struct RaceStanding {
    int level = 1;
    int spatialAge = 0;
};

// Races of this level and above travel between the stars and settle beyond
// their home system; below it a race holds its home world only.
inline constexpr int kFirstSpacefaringLevel = 6;

// Reach in parsecs from the home system: 1 at level 6, one more per level
// above it, one more per 10 years of spatial age, at most 12. 0 for a race
// that does not travel.
double reachParsecs(const RaceStanding& race);

// Colonies beyond the home world: 2 at level 6, 3 more per level above it,
// one more per 5 of spatial age, at most 40. 0 for a race that does not travel.
int colonyBudget(const RaceStanding& race);

// The older and stronger race first: higher level, then greater spatial
// age, then the lower race id.
bool strongerThan(const RaceStanding& a, std::uint16_t aId, const RaceStanding& b, std::uint16_t bId);

// What settling needs to know of a planet or a moon.
struct WorldFacts {
    std::int32_t id = 0;        // .pln id, or .mon id for a moon
    std::int32_t planetId = 0;  // the planet itself, or the one a moon orbits
    bool moon = false;
    std::uint8_t worldType = 0;  // 1..23
    std::uint8_t atmosphereClass = 0;
    std::uint8_t composition = 0;
    std::uint8_t waterCover = 0;    // percent
    std::uint8_t bestResource = 0;  // highest of the five resource ratings
    std::int16_t temperature = 0;   // degrees Celsius
    float gravity = 0.0F;           // g
};

WorldFacts planetFacts(std::int64_t id, const TPlanetRec& planet);
WorldFacts moonFacts(std::int64_t id, const TMoonRec& moon);

// How a world serves a race, by what it is.
enum class WorldUse {
    Living,   // people can live there, the more like home the better
    Mining,   // an asteroid belt
    Fluid,    // a gas giant or brown dwarf, skimmed for fuel
    Outpost,  // anything else: a station for research or the fleet
};
WorldUse worldUse(const WorldFacts& world);

// How much a world is like the race's home, 0..1 (1 = the home itself):
// 1 / (1 + gravity difference as a share of home gravity + temperature
// difference / 25 °C + air (0 same composition, 0.6 same pressure band,
// 1.5 otherwise) + water difference / 40 %).
double likeness(const WorldFacts& world, const WorldFacts& home);

// A world's worth to a race for settling, 0..1: its likeness for a world to
// live on, 0.35 for a belt, 0.3 for a gas giant, 0.15 for an outpost.
double worldWorth(const WorldFacts& world, const WorldFacts& home);

// Worlds worth less are left alone.
inline constexpr double kLeastWorth = 0.15;

// The system's worth is its best world's worth less up to half of it with
// the distance: the race prefers near worlds to far ones of the same worth.
double systemWorth(double bestWorldWorth, double distance, double reach);

// A colony's type by the world it is on (rolls a d6 for an outpost).
std::uint8_t colonyTypeFor(const WorldFacts& world, const WorldFacts& home, double distance, double reach);

// The government a race carries from home to its colonies, rolled once.
struct HomeGovernment {
    int law = 0;        // 0..9
    int stability = 0;  // 0..9
};
HomeGovernment rollHomeGovernment();

// The home world: its colony, the race's capital.
TColonyRec rollHomeColony(std::uint16_t race, std::int32_t homePlanet, const RaceStanding& standing,
                          const HomeGovernment& government);

// A colony beyond home on `world`, `distance` parsecs from home.
TColonyRec rollColony(std::uint16_t race, const WorldFacts& world, const WorldFacts& home, double distance,
                      double reach, const RaceStanding& standing, const HomeGovernment& government);

// An empire's name: the race's name and a word for its government,
// cut to fit the record's 39 characters ("Kethri Hegemony").
std::string empireName(const std::string& raceName, const HomeGovernment& government);

}  // namespace orrimar

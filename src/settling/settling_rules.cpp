#include "settling/settling_rules.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/random.h"
#include "generation/physics.h"
#include "records/colony_codes.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

constexpr double kMaxReach = 12.0;  // parsecs
constexpr int kMaxBudget = 40;

int clampLevel(int value) { return std::clamp(value, 0, kLastLevel); }

std::uint8_t code(int value) { return static_cast<std::uint8_t>(value); }

std::uint16_t clamp16(double value) { return static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 65535L)); }

// Starport of a home world by level: none before level 3, primitive at 3
// and 4, fair at 5 and 6, good at 7 and 8, excellent at 9 and 10.
Starport homeStarport(int level) {
    if (level <= 2) return Starport::None;
    if (level <= 4) return Starport::Primitive;
    if (level <= 6) return Starport::Fair;
    if (level <= 8) return Starport::Good;
    return Starport::Excellent;
}

// Gross product in millions of credits a year: half a credit a year per
// person and level, twice that where people mine or build.
std::uint16_t grossProduct(int populationCode, int level, std::uint8_t colonyType) {
    const double millions = static_cast<double>(populationPeople(populationCode)) / 1.0e6;
    const auto type = static_cast<ColonyType>(colonyType);
    const double factor = type == ColonyType::Mining || type == ColonyType::Industrial ? 1.0 : 0.5;
    return std::max<std::uint16_t>(1, clamp16(millions * level * factor));
}

// Armed strength: a tenth of the product, four times that at a military
// colony, 500 more for a naval base.
std::uint16_t armedPower(const TColonyRec& colony) {
    double power = colony.gnp / 10.0;
    if (static_cast<ColonyType>(colony.colonyType) == ColonyType::Military) power *= 4.0;
    if (hasFacility(colony, Facility::NavalBase)) power += 500.0;
    return clamp16(power);
}

}  // namespace

double reachParsecs(const RaceStanding& race) {
    if (race.level < kFirstSpacefaringLevel) return 0.0;
    return std::min(kMaxReach, 1.0 + (race.level - kFirstSpacefaringLevel) + race.spatialAge / 10.0);
}

int colonyBudget(const RaceStanding& race) {
    if (race.level < kFirstSpacefaringLevel) return 0;
    return std::min(kMaxBudget, 2 + 3 * (race.level - kFirstSpacefaringLevel) + race.spatialAge / 5);
}

bool strongerThan(const RaceStanding& a, std::uint16_t aId, const RaceStanding& b, std::uint16_t bId) {
    if (a.level != b.level) return a.level > b.level;
    if (a.spatialAge != b.spatialAge) return a.spatialAge > b.spatialAge;
    return aId < bId;
}

WorldFacts planetFacts(std::int64_t id, const TPlanetRec& planet) {
    WorldFacts w;
    w.id = static_cast<std::int32_t>(id);
    w.planetId = w.id;
    w.worldType = planet.worldType;
    w.atmosphereClass = planet.atmosphereClass;
    w.composition = planet.composition;
    w.waterCover = planet.waterCover;
    w.bestResource = *std::max_element(planet.resources.begin(), planet.resources.end());
    w.temperature = planet.temperature;
    // A belt's diameter field holds its size code, not kilometres: no gravity.
    w.gravity = isBelt(planet.worldType) ? 0.0F : bulkProperties(planet.density, planet.diameter).gravity;
    return w;
}

WorldFacts moonFacts(std::int64_t id, const TMoonRec& moon) {
    WorldFacts w;
    w.id = static_cast<std::int32_t>(id);
    w.planetId = moon.planetId;
    w.moon = true;
    w.worldType = moon.worldType;
    w.atmosphereClass = moon.atmosphereClass;
    w.composition = moon.composition;
    w.waterCover = moon.waterCover;
    w.bestResource = *std::max_element(moon.resources.begin(), moon.resources.end());
    w.temperature = moon.temperature;
    w.gravity = bulkProperties(moon.density, moon.diameter).gravity;
    return w;
}

WorldUse worldUse(const WorldFacts& world) {
    if (isBelt(world.worldType)) return WorldUse::Mining;
    if (world.worldType == world::kGasGiant || world.worldType == world::kBrownDwarf) return WorldUse::Fluid;
    if (world.worldType == world::kRing || world.worldType == world::kChunk) return WorldUse::Outpost;
    return WorldUse::Living;
}

double likeness(const WorldFacts& world, const WorldFacts& home) {
    const double homeGravity = std::max(0.2, static_cast<double>(home.gravity));
    const double gravity = std::abs(world.gravity - home.gravity) / homeGravity;
    const double temperature = std::abs(world.temperature - home.temperature) / 25.0;
    double air = 1.5;
    if (world.composition == home.composition) {
        air = 0.0;
    } else if (world.atmosphereClass == home.atmosphereClass) {
        air = 0.6;
    }
    const double water = std::abs(world.waterCover - home.waterCover) / 40.0;
    return 1.0 / (1.0 + gravity + temperature + air + water);
}

double worldWorth(const WorldFacts& world, const WorldFacts& home) {
    switch (worldUse(world)) {
        case WorldUse::Mining: return 0.35;
        case WorldUse::Fluid: return 0.3;
        case WorldUse::Outpost: return kLeastWorth;
        case WorldUse::Living: break;
    }
    return std::max(likeness(world, home), kLeastWorth);
}

double systemWorth(double bestWorldWorth, double distance, double reach) {
    const double share = reach > 0.0 ? std::min(distance / reach, 1.0) : 1.0;
    return bestWorldWorth * (1.0 - 0.5 * share);
}

std::uint8_t colonyTypeFor(const WorldFacts& world, const WorldFacts& home, double distance, double reach) {
    switch (worldUse(world)) {
        case WorldUse::Mining: return code(static_cast<int>(ColonyType::Mining));
        case WorldUse::Fluid: return code(static_cast<int>(ColonyType::Fluid));
        case WorldUse::Outpost: break;
        case WorldUse::Living: {
            const double like = likeness(world, home);
            if (like >= 0.5) {
                if (world.waterCover >= 40) return code(static_cast<int>(ColonyType::Agricultural));
                if (like >= 0.7 && distance <= reach / 3.0) return code(static_cast<int>(ColonyType::HighPopulation));
                return code(static_cast<int>(ColonyType::Settlement));
            }
            if (like >= 0.25) {
                if (world.bestResource >= 60) return code(static_cast<int>(ColonyType::Industrial));
                return code(static_cast<int>(ColonyType::Settlement));
            }
            break;
        }
    }
    // An outpost: a station for study, for the fleet or for industry.
    const int roll = d(6);
    if (roll <= 3) return code(static_cast<int>(ColonyType::Research));
    if (roll <= 5) return code(static_cast<int>(ColonyType::Military));
    return code(static_cast<int>(ColonyType::Industrial));
}

HomeGovernment rollHomeGovernment() {
    HomeGovernment government;
    const int law = d(10);
    government.law = law - 1;
    const int stability = d(6);
    government.stability = 3 + stability;
    return government;
}

TColonyRec rollHomeColony(std::uint16_t race, std::int32_t homePlanet, const RaceStanding& standing,
                          const HomeGovernment& government) {
    TColonyRec colony;
    colony.worldId = homePlanet;
    colony.race = race;
    colony.allegiance = race;
    colony.kind = kPlanetColony;
    colony.colonyType = code(static_cast<int>(ColonyType::Homeworld));
    // 30 + 2 x level + 0..9: tens of millions at level 1, billions at level 10.
    const int population = d(10);
    colony.populationCode = code(std::min(kPopulationCodeCount - 1, 30 + 2 * standing.level + population - 1));
    colony.starport = code(static_cast<int>(homeStarport(standing.level)));
    colony.lawLevel = code(government.law);
    colony.stability = code(government.stability);
    const int crime = d(3);
    colony.crimeLevel = code(clampLevel(kLastLevel - government.stability + crime - 2 - government.law / 3));
    setFacility(colony, Facility::MilitaryBase, standing.level >= 3);
    setFacility(colony, Facility::University, standing.level >= 4);
    setFacility(colony, Facility::NavalBase, standing.level >= kFirstSpacefaringLevel);
    setFacility(colony, Facility::MilitaryAcademy, standing.level >= 7);
    setFacility(colony, Facility::OrbitalTower, standing.level >= 9);
    setFacility(colony, Facility::Arcology, colony.populationCode >= 55);
    colony.gnp = grossProduct(colony.populationCode, standing.level, colony.colonyType);
    colony.power = armedPower(colony);
    return colony;
}

TColonyRec rollColony(std::uint16_t race, const WorldFacts& world, const WorldFacts& home, double distance,
                      double reach, const RaceStanding& standing, const HomeGovernment& government) {
    TColonyRec colony;
    colony.worldId = world.id;
    colony.race = race;
    colony.allegiance = race;
    colony.kind = world.moon ? std::uint8_t{2} : kPlanetColony;
    colony.colonyType = colonyTypeFor(world, home, distance, reach);
    const auto type = static_cast<ColonyType>(colony.colonyType);
    const double share = reach > 0.0 ? std::min(distance / reach, 1.0) : 1.0;

    // 10 + 25 x likeness + 2 per level above 6 - 5 x share of the reach,
    // give or take 2; a station (mine, skimmer, research, fleet) stays
    // below 10 million, a moon base is smaller, a high-population world
    // holds at least 100 million.
    const bool living = worldUse(world) == WorldUse::Living;
    const double like = living ? likeness(world, home) : 0.0;
    const int spread = d(6);
    int population = static_cast<int>(std::lround(10.0 + 25.0 * like + 2.0 * (standing.level - kFirstSpacefaringLevel) -
                                                  5.0 * share)) +
                     spread - 3;
    if (world.moon) population -= 5;
    if (type == ColonyType::Mining || type == ColonyType::Fluid || type == ColonyType::Research ||
        type == ColonyType::Military) {
        population = std::min(population, 25);
    }
    if (type == ColonyType::HighPopulation) population = std::max(population, 40);
    colony.populationCode = code(std::clamp(population, 0, kPopulationCodeCount - 1));

    // A port one class worse than home below 10 million people, two below
    // 100,000; a colony of star travellers always has one of some kind.
    int starport = static_cast<int>(homeStarport(standing.level));
    if (colony.populationCode < 30) ++starport;
    if (colony.populationCode < 10) ++starport;
    colony.starport = code(std::min(starport, static_cast<int>(Starport::Primitive)));

    const int law = d(3);
    colony.lawLevel = code(clampLevel(government.law + law - 2 - (share > 0.5 ? 1 : 0)));
    const int stability = d(3);
    colony.stability =
        code(clampLevel(government.stability - static_cast<int>(std::lround(3.0 * share)) + stability - 2));
    const int crime = d(3);
    colony.crimeLevel = code(clampLevel(kLastLevel - colony.stability + crime - 2 - colony.lawLevel / 3));

    setFacility(colony, Facility::MilitaryBase, type == ColonyType::Military);
    setFacility(colony, Facility::NavalBase, type == ColonyType::Military && standing.level >= 8);
    setFacility(colony, Facility::University, type == ColonyType::Research || colony.populationCode >= 40);
    const int camp = d(20);
    setFacility(colony, Facility::PrisonCamp, camp == 1);
    setFacility(colony, Facility::ExileCamp, camp == 2 && share >= 0.5);
    colony.gnp = grossProduct(colony.populationCode, standing.level, colony.colonyType);
    colony.power = armedPower(colony);

    // The farther and the less settled, the likelier a colony goes its own
    // way: 20 % at the edge of the reach, 25 % more where stability is 2 or less.
    const int chance = static_cast<int>(std::lround(20.0 * share)) + (colony.stability <= 2 ? 25 : 0);
    const int independence = d(100);
    if (independence <= chance) colony.allegiance = kNoRace;
    return colony;
}

std::string empireName(const std::string& raceName, const HomeGovernment& government) {
    // The stricter the law at home, the tighter the word for the realm.
    constexpr std::array<const char*, 5> kWords = {"Free Worlds", "League", "Republic", "Empire", "Hegemony"};
    const std::string word = kWords[static_cast<std::size_t>(std::clamp(government.law, 0, kLastLevel) / 2)];
    constexpr std::size_t kCapacity = 39;
    const std::size_t room = kCapacity - word.size() - 1;
    return raceName.substr(0, std::min(raceName.size(), room)) + " " + word;
}

}  // namespace orrimar

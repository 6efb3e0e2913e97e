// Settling runs in one thread, in passes over the sector's files: the
// systems and races once, the planets once in file order, the moons of the
// few planets that matter. Each race rolls from a generator seeded by the
// run seed and its own id, so the layer depends on the seed and the sector
// and on nothing else.
#include "settling/settle_sector.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "common/random.h"
#include "names/sector_names.h"
#include "records/colony_codes.h"
#include "records/record_reader.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/sector_lock.h"
#include "settling/settled_layer.h"
#include "settling/settling_rules.h"
#include "settling/sector_space.h"

namespace orrimar {

namespace {

constexpr std::int32_t kNobody = -1;

struct Race {
    std::uint16_t id = 0;
    RaceStanding standing;
    std::int32_t homePlanet = -1;
    std::int32_t homeSystem = -1;
    WorldFacts home;
};

// A system a race may settle, with the world it would take.
struct Prospect {
    std::int32_t system = 0;
    double distance = 0.0;
    double worth = 0.0;
    WorldFacts world;
};

std::uint64_t raceSeed(std::uint64_t runSeed, std::uint16_t race) {
    std::uint64_t x = runSeed ^ (0x5E77'1E00'0000'0000ULL + race);
    return splitMix64(x);
}

void requireUnsettled(const std::string& baseName) {
    const SettledLayer layer = ReadSettledLayer(baseName);
    const auto colonies =
        std::count_if(layer.colonies.begin(), layer.colonies.end(), [](const TColonyRec& c) { return !isVacant(c); });
    const auto empires =
        std::count_if(layer.empires.begin(), layer.empires.end(), [](const TEmpireRec& e) { return !isVacant(e); });
    if (colonies == 0 && empires == 0 && layer.control.empty()) return;
    throw SectorSettledError(
        fmt::format("{} is already settled ({} colonies, {} empires); give --replace to settle it "
                    "afresh (its colonies, control and empires are replaced, nothing else)",
                    baseName, colonies, empires));
}

// The races of the sector that can settle: 16-bit ids only (the colony
// file's fields), a home world in the sector.
std::vector<Race> readRaces(const std::string& baseName, const SectorSpace& space, SettleResult& result) {
    RecordReader<TAlienRec> races(sectorPath(baseName, ".aln"));
    RecordReader<TPlanetRec> planets(sectorPath(baseName, ".pln"));
    std::vector<Race> list;
    const std::int64_t usable = std::min<std::int64_t>(races.count(), kNoRace);
    result.unsettledRaces = races.count() - usable;
    for (std::int64_t id = 0; id < usable; ++id) {
        const TAlienRec alien = races.read(id);
        // Another program's home world id may be negated; its magnitude counts.
        const std::int64_t home = alien.worldId < 0 ? -static_cast<std::int64_t>(alien.worldId) : alien.worldId;
        if (home >= planets.count()) {
            ++result.homeless;
            continue;
        }
        const TPlanetRec planet = planets.read(home);
        if (planet.systemId < 0 || planet.systemId >= space.systemCount()) {
            ++result.homeless;
            continue;
        }
        Race race;
        race.id = static_cast<std::uint16_t>(id);
        race.standing = {alien.techLevel, alien.spatialAge};
        race.homePlanet = static_cast<std::int32_t>(home);
        race.homeSystem = planet.systemId;
        race.home = planetFacts(home, planet);
        list.push_back(race);
    }
    return list;
}

std::string raceNameFor(const SectorNames& names, std::uint16_t race) {
    if (auto name = names.race(race)) return *name;
    return fmt::format("Race {}", race);
}

}  // namespace

SettleResult SettleSector(const std::string& givenBase, const SettleParams& params) {
    const std::string baseName = sectorBaseName(givenBase);
    requireSector(baseName);
    const SectorLock lock = SectorLock::forChange(baseName);
    SettleResult result;
    result.recovered = lock.recovered();
    if (!params.replace) requireUnsettled(baseName);

    SectorSpace space = SectorSpace::load(baseName);
    std::vector<Race> races = readRaces(baseName, space, result);
    std::sort(races.begin(), races.end(),
              [](const Race& a, const Race& b) { return strongerThan(a.standing, a.id, b.standing, b.id); });

    // Home systems are their races' own: no other race settles there.
    std::vector<std::int32_t> sway(static_cast<std::size_t>(space.systemCount()), kNobody);
    for (const Race& race : races) sway[static_cast<std::size_t>(race.homeSystem)] = race.id;
    std::vector<bool> isHome(sway.size(), false);
    for (const Race& race : races) isHome[static_cast<std::size_t>(race.homeSystem)] = true;
    // Each system within some reach falls to the strongest race reaching it:
    // where two reaches meet, the border runs between them.
    for (const Race& race : races) {
        const double reach = reachParsecs(race.standing);
        if (reach <= 0.0) continue;
        space.forEachWithin(race.homeSystem, reach, [&](std::int32_t system, double) {
            auto& holder = sway[static_cast<std::size_t>(system)];
            if (holder == kNobody) holder = race.id;
        });
    }
    // Who would settle each system: its holder, unless it is someone's home.
    std::vector<std::int32_t> settler(sway.size(), kNobody);
    for (std::size_t s = 0; s < sway.size(); ++s) settler[s] = isHome[s] ? kNobody : sway[s];
    std::vector<const WorldFacts*> homeById;
    for (const Race& race : races) {
        if (race.id >= homeById.size()) homeById.resize(race.id + 1U, nullptr);
        homeById[race.id] = &race.home;
    }
    const SectorPicks picks = space.pickWorlds(baseName, settler, [&](std::int32_t race) -> const WorldFacts& {
        return *homeById[static_cast<std::size_t>(race)];
    });
    // The system of each colony, kept as it is made.
    std::vector<std::int64_t> colonySystems;

    SettledLayer layer;
    const SectorNames names =
        SectorNames::load(baseName, [](NameKind kind, std::int32_t) { return kind == NameKind::Race; });
    // Colonies in the order of the races' strength, each race's home first.
    for (const Race& race : races) {
        seedRandom(raceSeed(params.seed, race.id));
        const HomeGovernment government = rollHomeGovernment();
        layer.colonies.push_back(rollHomeColony(race.id, race.homePlanet, race.standing, government));
        colonySystems.push_back(race.homeSystem);
        const double reach = reachParsecs(race.standing);
        const int budget = colonyBudget(race.standing);
        if (budget == 0) continue;

        std::vector<Prospect> prospects;
        space.forEachWithin(race.homeSystem, reach, [&](std::int32_t system, double distance) {
            if (settler[static_cast<std::size_t>(system)] != race.id) return;
            const SystemPick& pick = picks.bySystem[static_cast<std::size_t>(system)];
            if (pick.worth < kLeastWorth) return;
            prospects.push_back(Prospect{system, distance, systemWorth(pick.worth, distance, reach), pick.world});
        });
        std::sort(prospects.begin(), prospects.end(), [](const Prospect& a, const Prospect& b) {
            if (a.worth != b.worth) return a.worth > b.worth;
            if (a.distance != b.distance) return a.distance < b.distance;
            return a.system < b.system;
        });
        if (prospects.size() > static_cast<std::size_t>(budget)) prospects.resize(static_cast<std::size_t>(budget));
        bool ownsBeyondHome = false;
        for (const Prospect& p : prospects) {
            TColonyRec colony = rollColony(race.id, p.world, race.home, p.distance, reach, race.standing, government);
            ownsBeyondHome = ownsBeyondHome || colony.allegiance != kNoRace;
            layer.colonies.push_back(colony);
            colonySystems.push_back(p.system);
        }
        if (ownsBeyondHome) {
            TEmpireRec empire;
            empire.race = race.id;
            empire.colour = empireColourFor(race.id);
            empire.capitalSystemId = race.homeSystem;
            empire.name.assign(empireName(raceNameFor(names, race.id), government));
            layer.empires.push_back(empire);
            ++result.settlingRaces;
        }
    }
    // Empires by race, as a reader expects to find them.
    std::sort(layer.empires.begin(), layer.empires.end(),
              [](const TEmpireRec& a, const TEmpireRec& b) { return a.race < b.race; });

    layer.control = deriveControl(layer.colonies, [&](const TColonyRec& colony) -> std::int64_t {
        return colonySystems[static_cast<std::size_t>(&colony - layer.colonies.data())];
    });
    WriteSettledLayer(baseName, layer, planetOwnersFor(layer.colonies, picks.colonised));

    for (const TColonyRec& colony : layer.colonies) {
        ++result.colonies;
        if (isMoonBase(colony)) ++result.moonBases;
        if (colony.allegiance == kNoRace) ++result.independents;
        result.people += populationPeople(colony.populationCode);
    }
    result.controlledSystems = static_cast<std::int64_t>(layer.control.size());
    result.empires = static_cast<std::int64_t>(layer.empires.size());
    return result;
}

}  // namespace orrimar

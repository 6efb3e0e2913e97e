#include "campaign/players_view.h"

#include <map>
#include <unordered_set>
#include <utility>

#include <fmt/format.h>

#include "campaign/campaign_file.h"
#include "campaign/campaign_merge.h"
#include "common/errors.h"
#include "records/colony_codes.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "records/sector_lock.h"

namespace orrimar {

namespace {

using Marks = std::map<Thing, bool>;

Marks readMarks(const std::string& baseName) {
    Marks marks;
    auto db = openCampaignForReading(baseName);
    if (!db) return marks;
    Statement query(*db, "SELECT kind, id, known FROM marks");
    while (query.step()) {
        ThingKind kind = ThingKind::Sector;
        if (!thingKindFromNumber(query.integer(0), kind)) continue;
        marks[{kind, query.integer(1)}] = query.integer(2) != 0;
    }
    return marks;
}

bool markable(ThingKind kind) {
    return kind == ThingKind::System || kind == ThingKind::Race || kind == ThingKind::Colony ||
           kind == ThingKind::Empire;
}

// What nobody marked is known by: systems known, colonies and empires not
// (races are worked out from the colonies).
bool plainDefault(ThingKind kind) { return kind == ThingKind::System || kind == ThingKind::Sector; }

// The sector's records a race's default is worked out from.
class ColonyWorlds {
public:
    ColonyWorlds(const std::string& baseName, std::int64_t systemCount)
        : systemCount_(systemCount),
          planets_(baseName + ".pln"),
          moons_(baseName + ".mon"),
          colonies_(baseName + ".col", IfMissing::Empty),
          races_(baseName + ".aln") {}

    // The system a planet lies in; -1 for an id outside the files.
    std::int64_t systemOfPlanet(std::int64_t planet) {
        if (planet < 0 || planet >= planets_.count()) return -1;
        return planets_.read(planet).systemId;
    }
    // The system of the world a colony is on; -1 for a vacant colony or a
    // world outside the files.
    std::int64_t systemOfColony(const TColonyRec& colony) {
        const WorldCounts counts{systemCount_, planets_.count(), moons_.count()};
        return colonySystem(
            colony, counts, [&](std::int64_t id) { return planets_.read(id); },
            [&](std::int64_t id) { return moons_.read(id); });
    }
    // visit(colony record) in file order.
    template <typename Visit>
    void forEachColony(Visit visit) {
        colonies_.forEach([&](std::int64_t, const TColonyRec& colony) { visit(colony); });
    }
    // The system of a race's home world; -1 when it has none in the sector.
    std::int64_t homeSystem(std::int64_t race) {
        if (race < 0 || race >= races_.count()) return -1;
        return systemOfPlanet(races_.read(race).worldId);
    }
    std::int64_t raceCount() const { return races_.count(); }

private:
    std::int64_t systemCount_;
    RecordReader<TPlanetRec> planets_;
    RecordReader<TMoonRec> moons_;
    RecordReader<TColonyRec> colonies_;
    RecordReader<TAlienRec> races_;
};

bool systemKnown(const Marks& marks, std::int64_t system) {
    const auto mark = marks.find({ThingKind::System, system});
    return mark == marks.end() ? true : mark->second;
}

}  // namespace

bool PlayersView::knows(const Thing& thing) const {
    const auto in = [&](const std::vector<bool>& bits) {
        return thing.id >= 0 && thing.id < static_cast<std::int64_t>(bits.size()) &&
               bits[static_cast<std::size_t>(thing.id)];
    };
    switch (thing.kind) {
        case ThingKind::Sector: return true;
        case ThingKind::System: return in(systems_);
        case ThingKind::Race: return in(races_);
        case ThingKind::Colony: return in(colonies_);
        case ThingKind::Empire: return in(empires_);
        case ThingKind::Planet:
        case ThingKind::Moon: return false;
    }
    return false;
}

PlayersView playersView(const std::string& givenBase) {
    const std::string baseName = sectorBaseName(givenBase);
    const SectorLock lock = SectorLock::forReading(baseName);
    const ThingCounts counts = thingCountsOf(baseName);
    const Marks marks = readMarks(baseName);
    const auto sized = [&](ThingKind kind) {
        return std::vector<bool>(static_cast<std::size_t>(counts.of(kind)), plainDefault(kind));
    };
    PlayersView view;
    view.systems_ = sized(ThingKind::System);
    view.races_ = sized(ThingKind::Race);
    view.colonies_ = sized(ThingKind::Colony);
    view.empires_ = sized(ThingKind::Empire);
    const auto apply = [&](ThingKind only) {
        for (const auto& [thing, known] : marks) {
            if (thing.kind != only) continue;
            std::vector<bool>* bits = only == ThingKind::System   ? &view.systems_
                                      : only == ThingKind::Race   ? &view.races_
                                      : only == ThingKind::Colony ? &view.colonies_
                                                                  : &view.empires_;
            if (thing.id >= 0 && thing.id < static_cast<std::int64_t>(bits->size())) {
                (*bits)[static_cast<std::size_t>(thing.id)] = known;
            }
        }
    };
    apply(ThingKind::System);
    apply(ThingKind::Colony);
    apply(ThingKind::Empire);

    ColonyWorlds worlds(baseName, counts.of(ThingKind::System));
    std::vector<bool> colonised(view.systems_.size(), false);
    bool anyColonised = false;
    worlds.forEachColony([&](const TColonyRec& colony) {
        const std::int64_t system = worlds.systemOfColony(colony);
        if (system < 0 || system >= static_cast<std::int64_t>(view.systems_.size())) return;
        if (!view.systems_[static_cast<std::size_t>(system)]) return;
        colonised[static_cast<std::size_t>(system)] = true;
        anyColonised = true;
        if (colony.race < view.races_.size()) view.races_[colony.race] = true;
    });
    // Races by their home worlds, in file order (the order their planets
    // were written in, so the planet file is read forward).
    if (anyColonised) {
        for (std::int64_t race = 0; race < worlds.raceCount(); ++race) {
            const std::int64_t home = worlds.homeSystem(race);
            if (home >= 0 && home < static_cast<std::int64_t>(colonised.size()) &&
                colonised[static_cast<std::size_t>(home)]) {
                view.races_[static_cast<std::size_t>(race)] = true;
            }
        }
    }
    apply(ThingKind::Race);
    return view;
}

bool isKnown(const std::string& givenBase, const Thing& thing) {
    const std::string baseName = sectorBaseName(givenBase);
    if (thing.kind == ThingKind::Sector) return true;
    if (!markable(thing.kind)) {
        throw InputError(fmt::format("The players know {} with its system: ask for the system", describeThing(thing)));
    }
    const SectorLock lock = SectorLock::forReading(baseName);
    const ThingCounts counts = thingCountsOf(baseName);
    requireThing(thing, counts, baseName);
    const Marks marks = readMarks(baseName);
    if (const auto mark = marks.find(thing); mark != marks.end()) return mark->second;
    if (thing.kind != ThingKind::Race) return plainDefault(thing.kind);

    ColonyWorlds worlds(baseName, counts.of(ThingKind::System));
    std::unordered_set<std::int64_t> colonised;
    bool found = false;
    worlds.forEachColony([&](const TColonyRec& colony) {
        const std::int64_t system = worlds.systemOfColony(colony);
        if (system < 0 || !systemKnown(marks, system)) return;
        colonised.insert(system);
        if (colony.race == thing.id) found = true;
    });
    return found || colonised.contains(worlds.homeSystem(thing.id));
}

void markForPlayers(const std::string& givenBase, std::span<const Thing> things, PlayersMark mark) {
    const std::string baseName = sectorBaseName(givenBase);
    const SectorLock lock = SectorLock::forReading(baseName);
    const ThingCounts counts = thingCountsOf(baseName);
    // Every thing is checked before the first is written.
    for (const Thing& thing : things) {
        if (!markable(thing.kind)) {
            throw InputError(fmt::format("Only systems, races, colonies and empires are revealed or hidden, not {}",
                                         describeThing(thing)));
        }
        requireThing(thing, counts, baseName);
    }
    if (things.empty()) return;
    // A sector without a campaign file has no mark to forget: none is made.
    if (mark == PlayersMark::Default && !openCampaignForReading(baseName)) return;
    finishCarriedCampaignRows(baseName);
    auto db = openCampaignForWriting(baseName);
    Transaction change(*db);
    Statement set(*db, "INSERT OR REPLACE INTO marks (kind, id, known) VALUES (?1, ?2, ?3)");
    Statement forget(*db, "DELETE FROM marks WHERE kind = ?1 AND id = ?2");
    for (const Thing& thing : things) {
        Statement& statement = mark == PlayersMark::Default ? forget : set;
        statement.bind(1, static_cast<std::int64_t>(thing.kind)).bind(2, thing.id);
        if (mark != PlayersMark::Default) statement.bind(3, mark == PlayersMark::Known ? 1 : 0);
        statement.run();
    }
    change.commit();
}

}  // namespace orrimar

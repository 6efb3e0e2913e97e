#include "logs/colony_tally.h"

#include "records/records.h"
#include "records/colony_codes.h"

namespace orrimar::logs {

using namespace orrimar::reading;

namespace {

// The system a colony lies in, or -1 when its world is not in the sector.
std::int32_t systemOfColony(SectorReader& sector, const TColonyRec& colony) {
    const WorldCounts counts{sector.systems().count(), sector.planets().count(), sector.moons().count()};
    return static_cast<std::int32_t>(colonySystem(
        colony, counts, [&](std::int64_t id) { return sector.planets().read(id); },
        [&](std::int64_t id) { return sector.moons().read(id); }));
}

}  // namespace

ColonyIndex indexColonies(SectorReader& sector) {
    ColonyIndex index;
    ValidatingReader<TColonyRec>* file = sector.colonies();
    if (file == nullptr) return index;
    index.fileExists = true;
    for (std::int64_t id = 0; id < file->count(); ++id) {
        const TColonyRec colony = file->read(id);
        if (isVacant(colony)) continue;  // a removed colony's place
        ++index.total;
        const std::int32_t systemId = systemOfColony(sector, colony);
        EmpireTally& tally = index.byOwner[colony.allegiance];
        if (!isMoonBase(colony)) {
            ++tally.planetColonies;
        } else {
            ++tally.moonBases;
        }
        if (colony.populationCode < kPopulationCodeCount) {
            tally.people += populationPeople(colony.populationCode);
        } else {
            ++tally.unknownPopulations;
        }
        if (systemId < 0) {
            ++index.unplaced;
            continue;
        }
        tally.systems.insert(systemId);
        SystemColonies& here = index.bySystem[systemId];
        ++here.colonies;
        if (colony.allegiance != kNoRace) here.owners.insert(colony.allegiance);
    }
    return index;
}

}  // namespace orrimar::logs

#include "logs/colony_tally.h"

#include "records/records.h"
#include "tools/colony_names.h"

namespace orrimar::logs {

using namespace orrimar::reading;

namespace {

// The system a colony lies in, or -1 when its world is not in the sector.
std::int32_t colonySystem(SectorReader& sector, const TColonyRec& colony) {
    std::int64_t planetId = colony.worldId;
    if (colony.kind != 1) {
        if (colony.worldId < 0 || colony.worldId >= sector.moons().count()) return -1;
        planetId = sector.moons().read(colony.worldId).planetId;
    }
    if (planetId < 0 || planetId >= sector.planets().count()) return -1;
    const std::int32_t systemId = sector.planets().read(planetId).systemId;
    return systemId >= 0 && systemId < sector.systems().count() ? systemId : -1;
}

}  // namespace

ColonyIndex indexColonies(SectorReader& sector) {
    ColonyIndex index;
    ValidatingReader<TColonyRec>* file = sector.colonies();
    if (file == nullptr) return index;
    index.fileExists = true;
    for (std::int64_t id = 0; id < file->count(); ++id) {
        const TColonyRec colony = file->read(id);
        ++index.total;
        const std::int32_t systemId = colonySystem(sector, colony);
        EmpireTally& tally = index.byOwner[colony.allegiance];
        if (colony.kind == 1) {
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

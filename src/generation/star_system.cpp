#include "generation/star_system.h"

#include "common/errors.h"
#include "generation/body_context.h"
#include "generation/planets.h"
#include "generation/stars.h"
#include "records/id_renumbering.h"
#include "records/star_light.h"

namespace orrimar {

void BuildStarSystem(BuiltSystem& into, bool gaia, std::int16_t x, std::int16_t y, std::int16_t z,
                     bool totalAlienDisable, std::uint8_t maxSpatialAge) {
    into.planets.clear();
    into.moons.clear();
    into.races.clear();
    TSystemRec& system = into.system;
    system = TSystemRec{};
    GenerateStars(gaia, system);
    system.x = x;
    system.y = y;
    system.z = z;
    system.planetCount[1] = 0;
    system.planetCount[2] = 0;
    system.reserved173 = 0;
    BodyRecords records{into.planets, into.moons, into.races};
    for (int star = 0; star < system.starCount; ++star) {
        system.planetCount[static_cast<std::size_t>(star)] = 0;
        const float light = effectiveLuminosity(system, star);
        // The system's own id is 0 until it is committed.
        GeneratePlanets(records, system, star, 0, light, totalAlienDisable, maxSpatialAge);
    }
    system.systemRaceId = kNoRace;
    system.reserved172 = 0;
}

std::int64_t CommitStarSystem(SectorFiles& files, const BuiltSystem& built) {
    // Ids are record positions: the system's is the system file's count.
    const std::int64_t systemId = files.systems().count();
    if (systemId > INT32_MAX) throw RangeError();
    const MergeOffsets offsets{systemId, files.planets().count(), files.moons().count(), files.aliens().count()};
    files.beginSystem();
    try {
        for (const TAlienRec& race : built.races) files.aliens().append(renumberAlien(race, offsets));
        for (const TMoonRec& moon : built.moons) files.moons().append(renumberMoon(moon, offsets));
        for (const TPlanetRec& planet : built.planets) files.planets().append(renumberPlanet(planet, offsets));
        TSystemRec system = renumberSystem(built.system, offsets);
        // A star the system lacks keeps the 0 it was built with, as the
        // sector loop has always written it: no planet id of its is real.
        for (std::size_t s = built.system.starCount; s < system.firstPlanetId.size(); ++s) {
            system.firstPlanetId[s] = built.system.firstPlanetId[s];
        }
        files.systems().append(system);
    } catch (...) {
        files.rollbackSystem();
        throw;
    }
    files.commitSystem();
    return systemId;
}

std::int64_t GenerateStarSystem(SectorFiles& files, bool gaia, std::int16_t x, std::int16_t y, std::int16_t z,
                                bool totalAlienDisable, std::uint8_t maxSpatialAge) {
    BuiltSystem built;
    BuildStarSystem(built, gaia, x, y, z, totalAlienDisable, maxSpatialAge);
    return CommitStarSystem(files, built);
}

}  // namespace orrimar

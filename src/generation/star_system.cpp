#include "generation/star_system.h"

#include "common/errors.h"
#include "generation/planets.h"
#include "generation/stars.h"

namespace orrimar {

namespace {

std::int64_t generateInto(SectorFiles& files, bool gaia, std::int16_t x, std::int16_t y, std::int16_t z,
                          bool totalAlienDisable, std::uint8_t maxSpatialAge) {
    // Ids are record positions: the system's is known before its record exists.
    const std::int64_t systemId = files.systems().count();
    if (systemId > INT32_MAX) throw RangeError();

    TSystemRec system;
    GenerateStars(gaia, system);
    system.x = x;
    system.y = y;
    system.z = z;
    system.planetCount[1] = 0;
    system.planetCount[2] = 0;
    system.reserved173 = 0;
    for (int star = 0; star < system.starCount; ++star) {
        system.planetCount[static_cast<std::size_t>(star)] = 0;
        const float light = effectiveLuminosity(system, star);
        GeneratePlanets(files, system, star, static_cast<std::int32_t>(systemId), light, totalAlienDisable,
                        maxSpatialAge);
    }
    system.systemRaceId = 65535;
    system.reserved172 = 0;
    return files.systems().append(system);
}

}  // namespace

std::int64_t GenerateStarSystem(SectorFiles& files, bool gaia, std::int16_t x, std::int16_t y, std::int16_t z,
                                bool totalAlienDisable, std::uint8_t maxSpatialAge) {
    files.beginSystem();
    std::int64_t id = 0;
    try {
        id = generateInto(files, gaia, x, y, z, totalAlienDisable, maxSpatialAge);
    } catch (...) {
        files.rollbackSystem();
        throw;
    }
    files.commitSystem();
    return id;
}

}  // namespace orrimar

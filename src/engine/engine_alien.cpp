// orrdll_ini and main_alien: a race made to order.
#include <string>

#include "aliens/alien_race.h"
#include "common/random.h"
#include "engine/engine.h"

namespace orrimar::engine {

// Prepares the engine for a new race: like every sector run, each race
// made to order starts from a fresh clock seed (a caller that wants a race
// repeated seeds the random source again after this call).
void orrdll_ini() { seedRandom(clockSeed()); }

void main_alien(std::int16_t temperature, std::uint8_t composition, std::uint8_t worldType, float gravity,
                std::uint8_t newFile, const std::string& baseName, std::int32_t worldId, std::uint8_t totalAlienDisable,
                std::uint8_t maxSpatialAge) {
    GenerateAlienRace(temperature, composition, worldType, gravity, newFile != 0, baseName, worldId,
                      totalAlienDisable != 0, maxSpatialAge);
}

}  // namespace orrimar::engine

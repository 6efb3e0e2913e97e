// One star system: its stars, the planets of every present star, and the
// system record, appended last so that its planets precede it.
#pragma once

#include <cstdint>

#include "records/records.h"
#include "records/sector_files.h"

namespace orrimar {

// Generates the system at (x, y, z) into the open file set and returns its
// id. The system is whole on return; if anything fails part-way, its
// records are dropped from every file before the error propagates.
std::int64_t GenerateStarSystem(SectorFiles& files, bool gaia, std::int16_t x, std::int16_t y, std::int16_t z,
                                bool totalAlienDisable, std::uint8_t maxSpatialAge);

}  // namespace orrimar

// Native race generation: one TAlienRec for a world.
#pragma once

#include <cstdint>
#include <string>

#include "records/record_file.h"
#include "records/records.h"
#include "settings/probabilities.h"

namespace orrimar {

// What the race generator is told about the home world.
struct AlienWorld {
    std::int16_t temperature = 15;  // degrees Celsius
    std::uint8_t composition = 2;   // atmosphere composition 1..21
    std::uint8_t worldType = 10;    // 1..23
    float gravity = 1.0F;           // g
};

// Rolls one race (all its dice, in order) with the process-wide alien
// thresholds, and returns it with worldId set; writes nothing.
TAlienRec RollAlienRace(const AlienWorld& world, std::int32_t worldId, bool totalAlienDisable,
                        std::uint8_t maxSpatialAge);

// Rolls one race and appends it to an open race file; returns its id.
std::int64_t GenerateAlienRace(RecordFile<TAlienRec>& races, const AlienWorld& world, std::int32_t worldId,
                               bool totalAlienDisable, std::uint8_t maxSpatialAge);

// By name, as the engine's main_alien does: base name + ".aln", created
// empty first when newFile is set or when it cannot be opened.
std::int64_t GenerateAlienRace(std::int16_t temperature, std::uint8_t composition, std::uint8_t worldType,
                               float gravity, bool newFile, const std::string& baseName, std::int32_t worldId,
                               bool totalAlienDisable, std::uint8_t maxSpatialAge);

}  // namespace orrimar

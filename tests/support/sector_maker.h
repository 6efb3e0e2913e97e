// Seeded sectors made through the real sector loop, with the default
// tables (no settings file), for any suite that wants a sector to read.
#pragma once

#include <cstdint>
#include <string>

#include "generation/create_sector.h"

namespace orrimar::testing {

struct SeededSector {
    std::uint64_t seed = 1;
    int lastIndex = 9;  // (lastIndex + 1)^3 cells, or (lastIndex + 1)^2 when flat
    int density = 10;   // percent
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t z = 0;
    bool flat = false;
    bool newFile = true;
    bool replace = false;  // with newFile: a sector already there is replaced
    std::uint8_t maxSpatialAge = 50;
    unsigned threads = 0;  // 0: one per core
    std::string name = "test sector";
};

// The sector `base` as ordered.
CreateSectorResult makeSector(const std::string& base, const SeededSector& order);

}  // namespace orrimar::testing

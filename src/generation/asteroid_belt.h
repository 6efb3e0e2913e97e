// An asteroid belt on an orbit that the orbit table marks with a negative
// radius.
#pragma once

#include <cstdint>

#include "generation/body_context.h"
#include "records/record_list.h"
#include "records/records.h"

namespace orrimar {

// Rolls the belt on the orbit of `-orbitEntry` tenths of an AU and appends
// its record; returns the record as appended. Its diameter field holds a
// size code 1..11, its world type is the belt's kind 15..18.
TPlanetRec GenerateAsteroidBelt(RecordList<TPlanetRec>& planets, const StarSurroundings& star, std::int16_t orbitEntry);

}  // namespace orrimar

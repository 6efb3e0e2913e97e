// The body of a system log, for the log command and the atlas's system
// pages alike: the system's head lines, then each star with its orbit table
// and, when `full`, every body with its moons.
#pragma once

#include <cstdint>

#include "engine/document.h"
#include "engine/engine_files.h"

namespace orrimar::engine {

void writeSystemLog(Document& doc, SectorReader& sector, std::int64_t systemId, bool full);

}  // namespace orrimar::engine

// Verifies that a sector on disk is whole: every file a whole number of
// records, the name header in place, every id in range, and the records
// linked as generation and the merger leave them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/sector_tail.h"

namespace orrimar {

struct SectorCheckReport {
    std::int64_t systems = 0;
    std::int64_t planets = 0;
    std::int64_t moons = 0;
    std::int64_t races = 0;
    // Problems in the order found, one line each; at most kMaxListedProblems
    // are kept, problemCount counts them all.
    std::vector<std::string> problems;
    std::int64_t problemCount = 0;
    // Not damage: cells holding two or more systems (an append over a
    // filled block, or a merge of overlapping sectors), one line each.
    std::vector<std::string> warnings;

    bool sound() const { return problemCount == 0; }
};

inline constexpr std::size_t kMaxListedProblems = 1000;

// Reads the sector `baseName` (path without extension). Throws MissingError
// when no sector is there at all; a sector with only some of its files is
// damaged. Reads sequentially in blocks, so memory stays flat whatever the
// sector's size.
SectorCheckReport CheckSector(const std::string& baseName);

// Checks only the systems, planets, moons and races within `extent`, as if
// the files ended there (what repair would keep); the side members and the
// name header are left out.
SectorCheckReport CheckSectorPrefix(const std::string& baseName, const SectorExtent& extent);

}  // namespace orrimar

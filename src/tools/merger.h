// The sector merger: appends a second sector's systems, planets, moons and
// races to a first, renumbering every id, and joins the comment files.
#pragma once

#include <cstdint>
#include <string>

namespace orrimar {

struct MergeResult {
    // Added systems that went into a cell the main sector already held.
    std::int64_t doubledCells = 0;
};

// Throws InputError (refused before anything is touched) or IoError /
// RangeError; a failed merge leaves both sectors exactly as they were, also
// when the program is killed or the power fails (the next program to take
// the main sector undoes it).
MergeResult MergeSectors(const std::string& mainBase, const std::string& addedBase);

}  // namespace orrimar

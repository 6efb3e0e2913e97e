// The sector merger: appends a second sector's systems, planets, moons and
// races to a first, renumbering every id, and joins the comment files and
// the campaign files (notes and what the players know).
#pragma once

#include <cstdint>
#include <string>

namespace orrimar {

struct MergeResult {
    // Added systems that went into a cell the main sector already held.
    std::int64_t doubledCells = 0;
    // Why the added sector's campaign notes could not join the main
    // sector's campaign file yet (they are kept beside it and join at its
    // next reading); empty when they did, or there were none.
    std::string campaignWaiting;
};

// Throws InputError (refused before anything is touched) or IoError /
// RangeError; a failed merge leaves both sectors exactly as they were, also
// when the program is killed or the power fails (the next program to take
// the main sector undoes it).
MergeResult MergeSectors(const std::string& mainBase, const std::string& addedBase);

}  // namespace orrimar

// The sector merger: appends a second sector's systems, planets, moons and
// races to a first, renumbering every id, and joins the comment files.
#pragma once

#include <string>

namespace orrimar {

// Throws InputError (refused before anything is touched) or IoError /
// RangeError; a failed merge leaves both sectors exactly as they were.
void MergeSectors(const std::string& mainBase, const std::string& addedBase);

}  // namespace orrimar

// What the Atlas remembers between runs, in the "Atlas" section of the
// program's settings file (orrwin.ini), beside the sections other parts of
// the program keep there, which are left as they were.
#pragma once

#include <string>

namespace orrimar {

struct AtlasSettings {
    // How long one jump takes, as the game master typed it ("1w", "2w3d");
    // empty: jumps are not timed. Kept as text: it is read where it is used.
    std::string jumpTime;
};

// The settings in `path`; defaults for a missing or unreadable file or key.
AtlasSettings readAtlasSettings(const std::string& path);

// Writes them into `path`, keeping the rest of the file; IoError when it
// cannot be written.
void writeAtlasSettings(const std::string& path, const AtlasSettings& settings);

}  // namespace orrimar

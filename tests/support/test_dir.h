// Scratch folders for the tests.
//
// ctest runs the cases of one suite as parallel processes, so every case
// gets a scratch folder of its own and no two cases ever write the same files.
#pragma once

#include <filesystem>
#include <string>

namespace orrimar::testing {

// The running case's own folder below the build's test-tmp folder.
std::string testTmp();

// A fresh, empty folder `name` inside the running case's folder.
std::filesystem::path freshTestDir(const std::string& name);

// The same folder's name, for tests that build paths as text.
inline std::string testDir(const std::string& name) { return freshTestDir(name).string(); }

}  // namespace orrimar::testing

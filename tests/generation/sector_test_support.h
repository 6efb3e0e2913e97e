// Fresh directories and whole-file reads for the sector loop tests.
#pragma once

#include <string>

#include "support/file_text.h"
#include "support/test_dir.h"

namespace orrimar::testing {

inline std::string freshSectorDir() { return freshTestDir("generation").string(); }

}  // namespace orrimar::testing

// A fresh directory per test under the build's test-tmp folder.
#pragma once

#include <string>

#include "support/file_text.h"
#include "support/test_dir.h"

namespace orrimar::testing {

inline std::string freshDir() { return freshTestDir("records").string(); }

}  // namespace orrimar::testing

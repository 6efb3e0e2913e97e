// Moved to the shared test-support library.
#pragma once

#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/test_dir.h"
#include "support/well_formed.h"

namespace orrimar::logtest {

using testing::testDir;
inline std::string readFile(const std::string& path) { return testing::fileBytes(path); }

}  // namespace orrimar::logtest

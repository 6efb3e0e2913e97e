// Fresh directories and whole-file reads for the sector loop tests.
#pragma once

#include <gtest/gtest.h>
#include "test_tmp.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace orrimar::testing {

inline std::string freshSectorDir() { return freshTestDir("generation").string(); }

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace orrimar::testing

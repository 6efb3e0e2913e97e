// A fresh directory per test under the build's test-tmp folder.
#pragma once

#include <gtest/gtest.h>
#include "test_tmp.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace orrimar::testing {

inline std::string freshDir() { return freshTestDir("records").string(); }

inline std::string slurp(const std::string& path) { return fileBytes(path); }

inline void spit(const std::string& path, const std::string& bytes) { writeFileBytes(path, bytes); }

inline long long sizeOf(const std::string& path) {
    std::error_code ec;
    const auto n = std::filesystem::file_size(path, ec);
    return ec ? -1 : static_cast<long long>(n);
}

}  // namespace orrimar::testing

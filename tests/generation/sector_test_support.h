// Fresh directories and whole-file reads for the sector loop tests.
#pragma once

#include <gtest/gtest.h>
#include "test_tmp.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace orrimar::testing {

inline std::string freshSectorDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto dir = std::filesystem::path(orrimar::testing::testTmp()) / "generation" /
                     (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace orrimar::testing

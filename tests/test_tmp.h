// Scratch folders and whole-file helpers shared by every test suite.
//
// ctest runs the cases of one suite as parallel processes, so every case
// gets a scratch folder of its own and no two cases ever write the same files.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "records/record_codec.h"

namespace orrimar::testing {

// The running case's own folder below the build's test-tmp folder.
inline std::string testTmp() {
    std::string dir = ORRIMAR_TEST_TMP;
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
        dir += std::string("/") + info->test_suite_name() + "." + info->name();
    } else {
        // A suite's shared set-up runs once in every process that ctest
        // starts for one of its cases, several at a time: each process gets
        // its own folder, or one would delete the sector another reads.
        dir += "/shared-" + std::to_string(::getpid());
    }
    return dir;
}

// A fresh, empty folder `name` inside the running case's folder.
inline std::filesystem::path freshTestDir(const std::string& name) {
    const auto dir = std::filesystem::path(testTmp()) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A record as it lies on disk.
template <typename T>
std::string bytesOf(const T& record) {
    unsigned char bytes[sizeof(T)];
    encodeRecord(record, bytes);
    return std::string(reinterpret_cast<const char*>(bytes), sizeof(T));
}

}  // namespace orrimar::testing

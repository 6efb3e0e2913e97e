#include "support/test_dir.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace orrimar::testing {

std::string testTmp() {
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

std::filesystem::path freshTestDir(const std::string& name) {
    const auto dir = std::filesystem::path(testTmp()) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace orrimar::testing

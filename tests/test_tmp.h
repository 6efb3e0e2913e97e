// The scratch folder of the running test. ctest runs the cases of one suite
// as parallel processes, so every case gets a folder of its own and no two
// cases ever write the same files.
#pragma once

#include <string>

#include <gtest/gtest.h>

namespace orrimar::testing {

inline std::string testTmp() {
    std::string dir = ORRIMAR_TEST_TMP;
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
        dir += std::string("/") + info->test_suite_name() + "." + info->name();
    }
    return dir;
}

}  // namespace orrimar::testing

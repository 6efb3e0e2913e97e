#include "settings/probabilities.h"
#include "support/test_dir.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "common/errors.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;

class ProbabilitiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(orrimar::testing::testTmp()) / "probabilities";
        fs::create_directories(dir_);
        path_ = (dir_ / "orrwin.ini").string();
        fs::remove(path_);
        stellarThresholds() = StellarThresholds{};
        alienThresholds() = AlienThresholds{};
    }
    void write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    fs::path dir_;
    std::string path_;
};

using Stellar = std::array<std::uint16_t, 10>;
using Alien = std::array<std::uint8_t, 6>;

TEST_F(ProbabilitiesTest, MissingFileGivesTheDefaultThresholds) {
    stellarThresholds().t.fill(0);
    alienThresholds().t.fill(0);
    LoadStellarProbabilities(path_);
    LoadAlienProbabilities(path_);
    EXPECT_EQ(stellarThresholds().t, (Stellar{1, 6, 15, 35, 65, 180, 430, 690, 950, 1000}));
    EXPECT_EQ(alienThresholds().t, (Alien{20, 50, 65, 80, 95, 100}));
}

TEST_F(ProbabilitiesTest, GVAtZeroShiftsTheLaterBands) {
    write("[Stellar Probabilities]\r\nG_V=0\r\n");
    LoadStellarProbabilities(path_);
    EXPECT_EQ(stellarThresholds().t, (Stellar{1, 6, 15, 35, 65, 180, 180, 440, 700, 750}));
}

TEST_F(ProbabilitiesTest, HexWeightsAreRead) {
    write("[Stellar Probabilities]\nPheno=$A\nMisc=0x14\n");
    LoadStellarProbabilities(path_);
    EXPECT_EQ(stellarThresholds().t[0], 10);
    EXPECT_EQ(stellarThresholds().t[1], 30);
}

TEST_F(ProbabilitiesTest, AnOverflowingStellarSumIsARangeErrorKeepingEarlierThresholds) {
    write("[Stellar Probabilities]\nF_V=65500\n");
    try {
        LoadStellarProbabilities(path_);
        FAIL() << "no range error";
    } catch (const RangeError& e) {
        // The runtime's text first, then the file, section and key that took the sum out.
        EXPECT_EQ(std::string(e.what()),
                  "Range check error: " + path_ +
                      " [Stellar Probabilities] F_V: the running sum 65565 is out of range 0..65535");
    }
    // T1..T5 took their new values; T6 onwards kept the old ones.
    EXPECT_EQ(stellarThresholds().t[4], 65);
    EXPECT_EQ(stellarThresholds().t[5], 180);
}

TEST_F(ProbabilitiesTest, ANegativeRunningSumIsARangeError) {
    write("[Stellar Probabilities]\nPheno=-2\n");
    try {
        LoadStellarProbabilities(path_);
        FAIL() << "no range error";
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Range check error: " + path_ +
                      " [Stellar Probabilities] Pheno: the running sum -2 is out of range 0..65535");
    }
}

TEST_F(ProbabilitiesTest, AByteOrderMarkKeepsTheFirstSection) {
    // Notepad's UTF-8 files begin with one; the first section is still read.
    write("\xEF\xBB\xBF[Alien Probabilities]\r\nHuman=0\r\n");
    LoadAlienProbabilities(path_);
    EXPECT_EQ(alienThresholds().t, (Alien{0, 30, 45, 60, 75, 80}));
}

TEST_F(ProbabilitiesTest, HumanWeightZeroLeavesTheTopTwentyUncovered) {
    write("[Alien Probabilities]\nHuman=0\n");
    LoadAlienProbabilities(path_);
    EXPECT_EQ(alienThresholds().t, (Alien{0, 30, 45, 60, 75, 80}));
}

TEST_F(ProbabilitiesTest, AlienThresholdsMustFitAByte) {
    write("[Alien Probabilities]\nExotic=161\n");
    try {
        LoadAlienProbabilities(path_);
        FAIL() << "no range error";
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Range check error: " + path_ +
                      " [Alien Probabilities] Exotic: the running sum 256 is out of range 0..255");
    }
    EXPECT_EQ(alienThresholds().t[4], 95);
    write("[Alien Probabilities]\nExotic=160\n");
    LoadAlienProbabilities(path_);
    EXPECT_EQ(alienThresholds().t[5], 255);
}

}  // namespace
}  // namespace orrimar

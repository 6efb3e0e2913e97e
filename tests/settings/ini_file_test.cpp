#include "settings/ini_file.h"
#include "support/file_text.h"
#include "support/test_dir.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "common/errors.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(orrimar::testing::testTmp()) /
               ("ini-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        path_ = (dir_ / "orrwin.ini").string();
    }
    void write(const std::string& text) { orrimar::testing::writeFileBytes(path_, text); }
    std::string read() const { return orrimar::testing::fileBytes(path_); }
    fs::path dir_;
    std::string path_;
};

TEST_F(IniFileTest, MissingFileAndKeysGiveDefaults) {
    const IniFile ini(path_);
    EXPECT_EQ(ini.readInteger("Settings", "Height", 324), 324);
    EXPECT_FALSE(ini.readString("Settings", "Height").has_value());
}

TEST_F(IniFileTest, IntegersInDecimalAndBothHexFormsWithSigns) {
    write("[Stellar Probabilities]\r\nPheno=12\r\nMisc=$1F\r\nA_II=0x10\r\nM_III=-7\r\nF_IV= 42 \r\nF_V=-$10\r\n");
    const IniFile ini(path_);
    EXPECT_EQ(ini.readInteger("Stellar Probabilities", "Pheno", 0), 12);
    EXPECT_EQ(ini.readInteger("Stellar Probabilities", "Misc", 0), 31);
    EXPECT_EQ(ini.readInteger("Stellar Probabilities", "A_II", 0), 16);
    EXPECT_EQ(ini.readInteger("Stellar Probabilities", "M_III", 0), -7);
    EXPECT_EQ(ini.readInteger("Stellar Probabilities", "F_IV", 0), 42);
    EXPECT_EQ(ini.readInteger("Stellar Probabilities", "F_V", 0), -16);
}

TEST_F(IniFileTest, AnythingElseGivesTheDefault) {
    write("[S]\nA=12abc\nB=\nC=$\nD=0x\nE=1.5\nF=99999999999\nG=ten\n");
    const IniFile ini(path_);
    for (const char* key : {"A", "B", "C", "D", "E", "F", "G"}) {
        EXPECT_EQ(ini.readInteger("S", key, 77), 77) << key;
    }
}

TEST_F(IniFileTest, SectionAndKeyNamesAreCaseInsensitive) {
    write("[stellar PROBABILITIES]\ng_v=3\n");
    const IniFile ini(path_);
    EXPECT_EQ(ini.readInteger("Stellar Probabilities", "G_V", 0), 3);
}

TEST_F(IniFileTest, KeysOfOtherSectionsAreNotRead) {
    write("[Alien Probabilities]\nMisc=9\n[Stellar Probabilities]\nPheno=2\n");
    const IniFile ini(path_);
    EXPECT_EQ(ini.readInteger("Stellar Probabilities", "Misc", 5), 5);
    EXPECT_EQ(ini.readInteger("Alien Probabilities", "Misc", 15), 9);
}

TEST_F(IniFileTest, WritingEditsInPlaceAndKeepsTheRestAsItWas) {
    write("; my notes\r\n[Settings]\r\nHeight=324\r\nWidth=513\r\n\r\n[Other Stuff]\r\nkey with spaces=a b\r\n");
    IniFile ini(path_);
    ini.writeInteger("settings", "WIDTH", 600);
    ini.writeInteger("Settings", "Left", 10);
    ini.save();
    EXPECT_EQ(read(),
              "; my notes\r\n[Settings]\r\nHeight=324\r\nWidth=600\r\nLeft=10\r\n\r\n[Other Stuff]\r\nkey with "
              "spaces=a b\r\n");
}

TEST_F(IniFileTest, NewSectionsGoAtTheEndInWritingOrder) {
    IniFile ini(path_);
    ini.writeInteger("Stellar Probabilities", "Pheno", 1);
    ini.writeInteger("Stellar Probabilities", "Misc", 5);
    ini.writeInteger("Alien Probabilities", "Human", 20);
    ini.save();
    EXPECT_EQ(read(), "[Stellar Probabilities]\r\nPheno=1\r\nMisc=5\r\n\r\n[Alien Probabilities]\r\nHuman=20\r\n");
    const IniFile again(path_);
    EXPECT_EQ(again.readInteger("Alien Probabilities", "Human", 0), 20);
}

TEST_F(IniFileTest, AByteOrderMarkIsSkippedAndNotWrittenBack) {
    write("\xEF\xBB\xBF[Settings]\r\nHeight=480\r\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.readInteger("Settings", "Height", 0), 480);
    ini.writeInteger("Settings", "Width", 640);
    ini.save();
    EXPECT_EQ(read(), "[Settings]\r\nHeight=480\r\nWidth=640\r\n");
    // Only at the very start: later the same bytes are text.
    write("[A]\r\n\xEF\xBB\xBFkey=1\r\n");
    EXPECT_EQ(IniFile(path_).readInteger("A", "key", 0), 0);

    // Found by fuzzing: a file beginning with two marks. The first is
    // skipped, so "[A]" behind the second is no header and a key written to
    // A goes to a new section at the end; saved without any mark, the next
    // reading would skip the second mark instead and find the old "[A]"
    // first. The save keeps one mark in front, and the file reads the same.
    write("\xEF\xBB\xBF\xEF\xBB\xBF[A]\r\nkey=1\r\n");
    IniFile twice(path_);
    EXPECT_EQ(twice.readInteger("A", "key", 0), 0);
    twice.writeInteger("A", "key", 2);
    twice.save();
    EXPECT_EQ(read(), "\xEF\xBB\xBF\xEF\xBB\xBF[A]\r\nkey=1\r\n\r\n[A]\r\nkey=2\r\n");
    EXPECT_EQ(IniFile(path_).readInteger("A", "key", 0), 2);
}

TEST_F(IniFileTest, SaveIntoAMissingFolderIsAnIoErrorAndLeavesNothing) {
    IniFile ini((dir_ / "no-such-folder" / "orrwin.ini").string());
    ini.writeInteger("Settings", "Top", 1);
    EXPECT_THROW(ini.save(), IoError);
    EXPECT_FALSE(fs::exists(dir_ / "no-such-folder"));
}

}  // namespace
}  // namespace orrimar

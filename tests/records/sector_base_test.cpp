#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "records/sector_base.h"
#include "test_dir.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;

TEST(SectorBaseName, DropsOneMemberExtensionInAnyCase) {
    EXPECT_EQ(sectorBaseName("data/reach.sun"), "data/reach");
    for (const char* ext : {".sun", ".pln", ".mon", ".aln", ".nam", ".col", ".con", ".emp", ".cmt"}) {
        EXPECT_EQ(sectorBaseName(std::string("y") + ext), "y") << ext;
    }
    EXPECT_EQ(sectorBaseName("Y.PLN"), "Y");
    EXPECT_EQ(sectorBaseName("a.sun.sun"), "a.sun");  // one extension only
    // Not a member's extension: left alone.
    EXPECT_EQ(sectorBaseName("data/reach"), "data/reach");
    EXPECT_EQ(sectorBaseName("x.log"), "x.log");
    EXPECT_EQ(sectorBaseName("x.aln1"), "x.aln1");
    EXPECT_EQ(sectorBaseName("x.sunny"), "x.sunny");
    EXPECT_EQ(sectorBaseName("data.sun/alpha"), "data.sun/alpha");
    // An extension with no name before it names no sector.
    EXPECT_EQ(sectorBaseName(".sun"), ".sun");
    EXPECT_EQ(sectorBaseName("data/.sun"), "data/.sun");
    EXPECT_EQ(sectorBaseName(""), "");
}

TEST(SectorBaseName, FolderOfAPath) {
    EXPECT_EQ(folderOf("data/alpha"), "data");
    EXPECT_EQ(folderOf("a/b//c"), "a/b");
    EXPECT_EQ(folderOf("alpha"), "");
    EXPECT_EQ(folderOf("/alpha"), "/");
    EXPECT_EQ(folderOf("a\\b"), "a");
}

TEST(SectorBaseName, MissingThingsAreNamed) {
    const std::string dir = testing::freshDir();
    const std::string base = dir + "/alpha";
    try {
        requireSector(dir + "/data/nosuch");
        FAIL();
    } catch (const MissingError& e) {
        EXPECT_EQ(std::string(e.what()), "Folder " + dir + "/data does not exist");
    }
    try {
        requireSector(base);
        FAIL();
    } catch (const MissingError& e) {
        EXPECT_EQ(std::string(e.what()), "No sector at " + base + " (" + base + ".sun not found)");
    }
    std::ofstream(base + ".sun").put('x');
    EXPECT_NO_THROW(requireSector(base));
    EXPECT_EQ(missingSectorMessage(base), "");
    // A file where the folder should be.
    try {
        requireFolderFor(base + ".sun/x.log");
        FAIL();
    } catch (const MissingError& e) {
        EXPECT_EQ(std::string(e.what()), base + ".sun is not a folder");
    }
    EXPECT_NO_THROW(requireFolderFor("alpha"));
    EXPECT_NO_THROW(requireFolderFor(dir + "/x.log"));
}

TEST(SectorBaseName, RecordIdsAtTheEdges) {
    EXPECT_NO_THROW(requireRecordId(0, 1, "a", "System", "systems"));
    EXPECT_NO_THROW(requireRecordId(1340, 1341, "a", "System", "systems"));
    try {
        requireRecordId(1341, 1341, "data/alpha", "System", "systems");
        FAIL();
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), "System 1341 is not in data/alpha (1,341 systems)");
    }
    try {
        requireRecordId(-1, 1, "b", "Race", "races");
        FAIL();
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), "Race -1 is not in b (1 race)");
    }
    try {
        requireRecordId(5, 1, "b.col", "Colony", "colonies");
        FAIL();
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), "Colony 5 is not in b.col (1 colony)");
    }
    EXPECT_EQ(groupedCount(0), "0");
    EXPECT_EQ(groupedCount(999), "999");
    EXPECT_EQ(groupedCount(1000), "1,000");
    EXPECT_EQ(groupedCount(1234567), "1,234,567");
    EXPECT_EQ(groupedCount(-12345), "-12,345");
}

}  // namespace
}  // namespace orrimar

#include <gtest/gtest.h>

#include <filesystem>

#include "records/sector_files.h"
#include "test_dir.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;
namespace fs = std::filesystem;

const char* const kNine[] = {".sun", ".pln", ".mon", ".aln", ".nam", ".col", ".con", ".emp", ".cmt"};

// One system with `planets` planets, written whole.
void writeSystem(SectorFiles& f, int planets) {
    f.beginSystem();
    TSystemRec s;
    s.firstPlanetId[0] = static_cast<std::int32_t>(f.planets().count());
    s.planetCount[0] = static_cast<std::uint8_t>(planets);
    for (int p = 0; p < planets; ++p) {
        TPlanetRec planet;
        planet.systemId = static_cast<std::int32_t>(f.systems().count());
        f.planets().append(planet);
    }
    f.systems().append(s);
    f.commitSystem();
}

TNameRec header(const std::string& base) {
    RecordFile<TNameRec> names(base + ".nam", RawRecordFile::Mode::ReadOnly);
    EXPECT_EQ(names.count(), 1);
    return names.read(0);
}

TEST(SectorFiles, CreateTruncatesTheNineWritesTheHeaderAndDeletesTheSiblings) {
    const std::string base = freshDir() + "/sec";
    for (const char* ext : kNine) writeFileBytes(base + ext, std::string(600, 'x'));
    for (const char* ext : {".aln1", ".csv", "_RP.csv"}) writeFileBytes(base + ext, "stale");
    writeFileBytes(base + ".txt", "kept");

    auto files = SectorFiles::create(base, std::string(55, 'N'));
    files->close();
    for (const char* ext : kNine) EXPECT_EQ(fileSize(base + ext), std::string(ext) == ".nam" ? 60 : 0) << ext;
    for (const char* ext : {".aln1", ".csv", "_RP.csv"}) EXPECT_FALSE(fs::exists(base + ext)) << ext;
    EXPECT_TRUE(fs::exists(base + ".txt"));
    const TNameRec h = header(base);
    EXPECT_EQ(h.kind, 0);
    EXPECT_EQ(h.value, 8);
    EXPECT_EQ(h.name.str(), std::string(50, 'N'));
}

TEST(SectorFiles, AppendContinuesTheIdsAndLeavesTheNameFileAlone) {
    const std::string base = freshDir() + "/sec";
    {
        auto files = SectorFiles::create(base, "First");
        for (int i = 0; i < 40; ++i) writeSystem(*files, 2);
        files->close();
    }
    const std::string nameBytes = fileBytes(base + ".nam");
    auto files = SectorFiles::append(base, "Other");
    EXPECT_EQ(files->systems().count(), 40);
    EXPECT_EQ(files->planets().count(), 80);
    writeSystem(*files, 1);
    files->close();
    RecordFile<TPlanetRec> planets(base + ".pln", RawRecordFile::Mode::ReadOnly);
    EXPECT_EQ(planets.count(), 81);
    EXPECT_EQ(planets.read(80).systemId, 40);
    EXPECT_EQ(fileBytes(base + ".nam"), nameBytes);
}

TEST(SectorFiles, AppendRecreatesOnlyMissingMembersAndKeepsRecords) {
    const std::string base = freshDir() + "/sec";
    {
        auto files = SectorFiles::create(base, "Kept");
        writeSystem(*files, 3);
        files->close();
    }
    for (const char* ext : {".cmt", ".nam", ".emp", ".col"}) fs::remove(base + ext);
    auto files = SectorFiles::append(base, "New name");
    files->close();
    EXPECT_EQ(fileSize(base + ".sun"), 196);
    EXPECT_EQ(fileSize(base + ".pln"), 3 * 84);
    EXPECT_EQ(fileSize(base + ".cmt"), 0);
    EXPECT_EQ(fileSize(base + ".emp"), 0);
    EXPECT_EQ(header(base).name.str(), "New name");
}

TEST(SectorFiles, AppendRefusesADamagedSectorAndChangesNothing) {
    const std::string base = freshDir() + "/sec";
    {
        auto files = SectorFiles::create(base, "S");
        writeSystem(*files, 1);
        files->close();
    }
    for (const char* missing : {".pln", ".mon", ".aln"}) {
        fs::rename(base + missing, base + ".hidden");
        fs::remove(base + ".cmt");
        try {
            SectorFiles::append(base, "S");
            FAIL() << missing;
        } catch (const IoError& e) {
            EXPECT_NE(std::string(e.what()).find(base + missing), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(base + missing));
        EXPECT_FALSE(fs::exists(base + ".cmt"));  // nothing was created either
        fs::rename(base + ".hidden", base + missing);
        writeFileBytes(base + ".cmt", "");
    }
    // An empty system file holds no systems to orphan.
    writeFileBytes(base + ".sun", "");
    fs::remove(base + ".pln");
    SectorFiles::append(base, "S")->close();
    EXPECT_EQ(fileSize(base + ".pln"), 0);
}

TEST(SectorFiles, AppendWithNoFilesCreatesTheSet) {
    const std::string base = freshDir() + "/sec";
    writeFileBytes(base + ".csv", "stale");
    SectorFiles::append(base, "Fresh")->close();
    for (const char* ext : kNine) EXPECT_TRUE(fs::exists(base + ext)) << ext;
    EXPECT_FALSE(fs::exists(base + ".csv"));
    EXPECT_EQ(header(base).name.str(), "Fresh");
}

TEST(SectorFiles, RollbackAndDestructionDropTheUnfinishedSystem) {
    const std::string base = freshDir() + "/sec";
    auto files = SectorFiles::create(base, "S");
    writeSystem(*files, 2);
    files->beginSystem();
    files->planets().append(TPlanetRec{});
    files->moons().append(TMoonRec{});
    files->aliens().append(TAlienRec{});
    files->rollbackSystem();
    EXPECT_EQ(files->planets().count(), 2);
    EXPECT_EQ(files->moons().count(), 0);
    EXPECT_EQ(files->aliens().count(), 0);
    EXPECT_NO_THROW(files->flush());  // back at a boundary
    files->beginSystem();
    files->planets().append(TPlanetRec{});
    EXPECT_THROW(files->flush(), std::logic_error);
    files.reset();  // abandoned mid-system
    EXPECT_EQ(fileSize(base + ".sun"), 196);
    EXPECT_EQ(fileSize(base + ".pln"), 2 * 84);
}

TEST(SectorFiles, CommittedSystemsGoOutInBatchesSoMemoryStaysBounded) {
    const std::string base = freshDir() + "/sec";
    auto files = SectorFiles::create(base, "S");
    writeSystem(*files, 1);
    EXPECT_EQ(fileSize(base + ".sun"), 0);  // held until a batch is full
    for (int i = 0; i < 3000; ++i) writeSystem(*files, 1);
    const std::size_t held = files->systems().pendingBytes() + files->planets().pendingBytes();
    EXPECT_LT(held, 256U * 1024U + 196U + 84U);
    EXPECT_GT(fileSize(base + ".sun"), 0);
    // What is on disk is whole systems: as many systems as their planets.
    EXPECT_EQ(fileSize(base + ".sun") / 196, fileSize(base + ".pln") / 84);
    files->close();
    EXPECT_EQ(fileSize(base + ".sun"), 3001 * 196);
}

TEST(SectorFiles, AFailedWriteCutsEveryFileBackToWholeSystems) {
    const std::string base = freshDir() + "/sec";
    SectorFiles::create(base, "S")->close();
    {
        auto files = SectorFiles::append(base, "S");
        writeSystem(*files, 0);
        files->close();
    }
    fs::remove(base + ".pln");
    fs::create_symlink("/dev/full", base + ".pln");
    auto files = SectorFiles::append(base, "S");
    writeSystem(*files, 2);
    writeSystem(*files, 0);
    EXPECT_THROW(files->close(), IoError);
    // Neither new system reached the system file: their planets could not.
    EXPECT_EQ(fileSize(base + ".sun"), 196);
}

}  // namespace
}  // namespace orrimar

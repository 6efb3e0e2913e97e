// Files a command makes beside the sector for a step after its commit: the
// journal names them, its undo removes them, and it never names (or
// removes) a file outside the sector's folder.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "common/errors.h"
#include "records/sector_journal.h"
#include "records/sector_lock.h"
#include "test_dir.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;
namespace fs = std::filesystem;

const char* const kMembers[] = {".sun", ".pln", ".mon", ".aln", ".nam", ".col", ".con", ".emp", ".cmt"};

struct MadeFiles : ::testing::Test {
    std::string base;
    void SetUp() override {
        base = freshDir() + "/alpha";
        for (const char* ext : kMembers) writeFileBytes(base + ext, "");
    }
};

TEST_F(MadeFiles, TheJournalKeepsThemAndItsUndoRemovesThem) {
    SectorJournal journal;
    journal.sizes = memberSizes(base);
    journal.madeFiles = {".cmp", ".cmq"};
    writeSectorJournal(base, journal);
    const auto read = readSectorJournal(base);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->madeFiles, journal.madeFiles);

    writeFileBytes(base + ".cmp", "rows");
    writeFileBytes(base + ".sun", std::string(196, 'x'));  // grown by the stopped command
    const auto done = recoverSector(base);
    EXPECT_FALSE(fs::exists(base + ".cmp"));
    EXPECT_EQ(fileSize(base + ".sun"), 0);
    EXPECT_FALSE(fs::exists(sectorJournalPath(base)));
    ASSERT_EQ(done.size(), 2U);
    EXPECT_NE(done[1].find(base + ".cmp"), std::string::npos) << done[1];
}

TEST_F(MadeFiles, AfterTheCommitTheyStay) {
    writeFileBytes(base + ".cmp", "rows");
    {
        JournalScope scope(base, JournalKind::AllOrNothing, false, {".cmp"});
        scope.commit();
    }
    EXPECT_EQ(fileBytes(base + ".cmp"), "rows");
    {
        // Dropped without a commit: undone at once, the made file with it.
        JournalScope scope(base, JournalKind::AllOrNothing, false, {".cmp"});
    }
    EXPECT_FALSE(fs::exists(base + ".cmp"));
}

TEST_F(MadeFiles, NothingOutsideTheSectorsFolderIsNamed) {
    SectorJournal journal;
    journal.sizes = memberSizes(base);
    journal.madeFiles = {"/../../victim"};
    EXPECT_THROW(writeSectorJournal(base, journal), InputError);
    EXPECT_FALSE(fs::exists(sectorJournalPath(base)));

    // A journal altered by hand to name one elsewhere is not acted on.
    const std::string victim = fs::path(base).parent_path().string() + "/victim";
    writeFileBytes(victim, "keep");
    journal.madeFiles = {".cmp"};
    writeSectorJournal(base, journal);
    std::string text = fileBytes(sectorJournalPath(base));
    text.replace(text.find("made .cmp"), 9, "made /../victim");
    writeFileBytes(sectorJournalPath(base), text);
    EXPECT_THROW(recoverSector(base), IoError);
    EXPECT_EQ(fileBytes(victim), "keep");
}

}  // namespace
}  // namespace orrimar

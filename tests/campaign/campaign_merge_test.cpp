// The campaign rows of a merged sector: shifted with the records, joined
// all or nothing with them through every failed write, and applied exactly
// once when a merge was stopped between its commit and the campaign file.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "campaign/campaign_merge.h"
#include "campaign/notes.h"
#include "campaign/players_view.h"
#include "campaign_fixture.h"
#include "common/errors.h"
#include "common/file_io.h"
#include "generation/create_sector.h"
#include "records/sector_journal.h"
#include "records/sector_base.h"
#include "records/sector_lock.h"
#include "tools/merger.h"
#include "support/sector_maker.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct PlanGuard {
    ~PlanGuard() { clearFaultPlan(); }
};

TColonyRec colonyOn(std::int32_t planet) {
    TColonyRec colony;
    colony.kind = 1;
    colony.worldId = planet;
    colony.race = kNoRace;
    colony.allegiance = kNoRace;
    colony.colonyType = 1;
    colony.starport = 1;
    return colony;
}

struct CampaignMerge : ::testing::Test {
    fs::path dir;
    std::string mainBase;
    std::string addedBase;
    ThingCounts mainCounts;
    PlanGuard guard;

    void SetUp() override {
        dir = freshDir("campaign_merge");
        mainBase = (dir / "main").string();
        addedBase = (dir / "added").string();
        makeSector(mainBase, {.seed = 21, .lastIndex = 4, .density = 40, .threads = 1});
        makeSector(addedBase, {.seed = 22, .lastIndex = 4, .density = 40, .x = 100, .threads = 1});
        writeRecords(mainBase + ".col", std::vector<TColonyRec>{colonyOn(0), colonyOn(1)});
        writeEmpires(mainBase, 3);
        writeRecords(addedBase + ".col", std::vector<TColonyRec>{colonyOn(0)});
        writeEmpires(addedBase, 1);
        mainCounts = thingCountsOf(mainBase);
        ASSERT_GT(thingCountsOf(addedBase).of(ThingKind::Moon), 0);
        ASSERT_GT(thingCountsOf(addedBase).of(ThingKind::Race), 0);
    }

    // The added sector's things, each with a note of its own.
    std::vector<Thing> notedInAdded() {
        const ThingCounts added = thingCountsOf(addedBase);
        std::vector<Thing> things;
        for (const ThingKind kind : kThingKinds) {
            if (kind != ThingKind::Sector) things.push_back({kind, added.of(kind) - 1});
        }
        return things;
    }
    void noteTheAddedSector() {
        setNote(mainBase, kWholeSector, "Main sector", NoteAudience::Players);
        setNote(mainBase, {ThingKind::System, 0}, "main system 0");
        setNote(addedBase, kWholeSector, "Added sector", NoteAudience::Players);
        for (const Thing& thing : notedInAdded()) {
            setNote(addedBase, thing, "added " + describeThing(thing),
                    thing.kind == ThingKind::Race ? NoteAudience::Players : NoteAudience::Secret);
        }
        markForPlayers(addedBase, std::vector<Thing>{{ThingKind::System, 0}}, PlayersMark::Unknown);
        markForPlayers(addedBase, std::vector<Thing>{{ThingKind::Race, 0}, {ThingKind::Colony, 0}}, PlayersMark::Known);
    }
    Thing shifted(const Thing& thing) const {
        const std::int64_t by = thing.kind == ThingKind::Sector ? 0 : mainCounts.of(thing.kind);
        return {thing.kind, thing.id + by};
    }
    // The folder's files but the locks (a lock file comes and goes with its takers).
    std::map<std::string, std::string> files() const {
        auto all = snapshot(dir);
        std::erase_if(all, [](const auto& entry) { return entry.first.ends_with(".lck"); });
        return all;
    }
};

TEST_F(CampaignMerge, NotesAndMarksMoveWithTheirThings) {
    noteTheAddedSector();
    const std::string addedCampaign = fileBytes(campaignPath(addedBase));
    MergeSectors(mainBase, addedBase);

    std::vector<Note> expected = {
        {kWholeSector, NoteAudience::Players, "Main sector\n\nAdded sector"},
        {{ThingKind::System, 0}, NoteAudience::Secret, "main system 0"},
    };
    for (const Thing& thing : notedInAdded()) {
        expected.push_back({shifted(thing),
                            thing.kind == ThingKind::Race ? NoteAudience::Players : NoteAudience::Secret,
                            "added " + describeThing(thing)});
    }
    std::sort(expected.begin(), expected.end(), [](const Note& a, const Note& b) { return a.thing < b.thing; });
    const std::vector<Note> notes = listNotes(mainBase);
    ASSERT_EQ(notes.size(), expected.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].thing, expected[i].thing) << i;
        EXPECT_EQ(notes[i].text, expected[i].text) << i;
        EXPECT_EQ(notes[i].audience, expected[i].audience) << i;
    }
    const PlayersView view = playersView(mainBase);
    EXPECT_FALSE(view.knows(shifted({ThingKind::System, 0})));
    EXPECT_TRUE(view.knows(shifted({ThingKind::System, 1})));
    EXPECT_TRUE(view.knows(shifted({ThingKind::Race, 0})));
    // The colonies came with the records: the revealed one is the added
    // sector's, behind the main sector's own, which stay unknown.
    EXPECT_TRUE(view.knows(shifted({ThingKind::Colony, 0})));
    EXPECT_FALSE(view.knows({ThingKind::Colony, 0}));
    EXPECT_TRUE(isKnown(mainBase, shifted({ThingKind::Colony, 0})));
    // The added sector is only read; nothing waits beside the main one.
    EXPECT_EQ(fileBytes(campaignPath(addedBase)), addedCampaign);
    EXPECT_FALSE(fs::exists(carriedRowsPath(mainBase)));
    EXPECT_FALSE(fs::exists(carriedRowsPartPath(mainBase)));

    // A secret note on either sector keeps the joined one secret.
    setNote(addedBase, kWholeSector, "Added again");
    mainCounts = thingCountsOf(mainBase);
    MergeSectors(mainBase, addedBase);
    const auto sector = getNote(mainBase, kWholeSector);
    EXPECT_EQ(sector->text, "Main sector\n\nAdded sector\n\nAdded again");
    EXPECT_EQ(sector->audience, NoteAudience::Secret);
    EXPECT_EQ(getNote(mainBase, shifted(notedInAdded()[0]))->text, "added " + describeThing(notedInAdded()[0]));
}

TEST_F(CampaignMerge, WithoutAnAddedCampaignTheMainOneIsUntouchedOrNotMade) {
    MergeSectors(mainBase, addedBase);
    EXPECT_FALSE(campaignFileExists(mainBase));
    setNote(mainBase, kWholeSector, "kept");
    const std::string before = fileBytes(campaignPath(mainBase));
    MergeSectors(mainBase, addedBase);
    EXPECT_EQ(fileBytes(campaignPath(mainBase)), before);
}

TEST_F(CampaignMerge, EveryFailedWriteLeavesBothCampaignsAsTheyWere) {
    noteTheAddedSector();
    const auto before = files();
    clearFaultPlan();
    MergeSectors(mainBase, addedBase);
    const std::int64_t operations = fileOperationCount();
    ASSERT_GT(operations, 3);
    const auto merged = files();
    for (std::int64_t n = 1; n <= operations; ++n) {
        for (const auto& [path, bytes] : before) writeFileBytes(path, bytes);
        for (const auto& [path, bytes] : merged) {
            if (!before.contains(path)) fs::remove(path);
        }
        for (const FaultKind kind : {FaultKind::NoSpace, FaultKind::IoError}) {
            setFaultPlan({kind, n, false});
            EXPECT_THROW(MergeSectors(mainBase, addedBase), IoError) << "write " << n;
            clearFaultPlan();
            EXPECT_EQ(files(), before) << "write " << n;
        }
    }
}

TEST_F(CampaignMerge, RowsLeftBesideTheSectorJoinOnceOrGoWithTheUndo) {
    noteTheAddedSector();
    const CampaignOffsets offsets{mainCounts.of(ThingKind::System), mainCounts.of(ThingKind::Planet),
                                  mainCounts.of(ThingKind::Moon),   mainCounts.of(ThingKind::Race),
                                  mainCounts.of(ThingKind::Colony), mainCounts.of(ThingKind::Empire)};
    const CarriedCampaignRows rows = readCarriedCampaignRows(addedBase, offsets);
    ASSERT_FALSE(rows.empty());

    // A merge stopped before its commit: the next taker undoes it, rows too.
    SectorJournal journal;
    journal.sizes = memberSizes(mainBase);
    journal.madeFiles = {kCarriedRowsSuffix, kCarriedRowsPartSuffix};
    writeSectorJournal(mainBase, journal);
    writeCarriedCampaignRows(mainBase, rows);
    writeFileBytes(carriedRowsPartPath(mainBase), "half");
    EXPECT_EQ(listNotes(mainBase).size(), 2U);  // only the main sector's own
    EXPECT_FALSE(fs::exists(carriedRowsPath(mainBase)));
    EXPECT_FALSE(fs::exists(carriedRowsPartPath(mainBase)));
    EXPECT_FALSE(fs::exists(sectorJournalPath(mainBase)));

    // Stopped after its commit: the next reader applies them.
    writeCarriedCampaignRows(mainBase, rows);
    const std::size_t all = 2 + notedInAdded().size();
    EXPECT_EQ(listNotes(mainBase).size(), all);
    EXPECT_FALSE(fs::exists(carriedRowsPath(mainBase)));
    // Stopped after applying them but before their file went: not twice.
    writeCarriedCampaignRows(mainBase, rows);
    EXPECT_EQ(getNote(mainBase, kWholeSector)->text, "Main sector\n\nAdded sector");
    EXPECT_EQ(listNotes(mainBase).size(), all);
    EXPECT_FALSE(fs::exists(carriedRowsPath(mainBase)));

    // Rows that are not a merge's are refused, not guessed at.
    writeFileBytes(carriedRowsPath(mainBase), "{\"not\": 1}");
    EXPECT_THROW(listNotes(mainBase), IoError);
}

TEST_F(CampaignMerge, AFreshSectorDropsTheCampaignAndAnAppendKeepsIt) {
    setNote(mainBase, {ThingKind::System, 1}, "the old war");
    CreateSectorParams params;
    params.density = 40;
    params.lastIndex = 2;
    params.settingsPath = (dir / "orrwin.ini").string();
    params.threads = 1;
    params.baseName = mainBase;
    params.seed = 5;
    params.x = 300;
    params.newFile = false;
    CreateSector(params);
    EXPECT_EQ(getNote(mainBase, {ThingKind::System, 1})->text, "the old war");

    // A new sector over it, refused: nothing is dropped.
    params.newFile = true;
    EXPECT_THROW(CreateSector(params), SectorExistsError);
    EXPECT_TRUE(campaignFileExists(mainBase));
    params.replace = true;
    writeFileBytes(carriedRowsPath(mainBase), "{}");
    CreateSector(params);
    EXPECT_FALSE(campaignFileExists(mainBase));
    EXPECT_FALSE(fs::exists(carriedRowsPath(mainBase)));
    EXPECT_TRUE(listNotes(mainBase).empty());
}

}  // namespace
}  // namespace orrimar

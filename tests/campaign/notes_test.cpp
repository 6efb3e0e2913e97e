#include <string>

#include <gtest/gtest.h>

#include "campaign/notes.h"
#include "campaign_fixture.h"
#include "common/errors.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct Notes : ::testing::Test {
    std::string base;
    void SetUp() override {
        base = (freshDir("notes") / "alpha").string();
        writeSector(base, smallCampaignSector());
        writeEmpires(base, 2);
    }
};

TEST_F(Notes, EveryKindOfThingKeepsItsNoteSecretOrPublic) {
    const std::vector<Thing> things = {kWholeSector,          {ThingKind::System, 3}, {ThingKind::Planet, 2},
                                       {ThingKind::Moon, 0},  {ThingKind::Race, 1},   {ThingKind::Colony, 1},
                                       {ThingKind::Empire, 1}};
    // Written out of order: the list comes back by kind, then id.
    for (auto it = things.rbegin(); it != things.rend(); ++it) {
        const bool players = it->kind == ThingKind::Planet || it->kind == ThingKind::Empire;
        setNote(base, *it, "On " + describeThing(*it), players ? NoteAudience::Players : NoteAudience::Secret);
    }
    const std::vector<Note> notes = listNotes(base);
    ASSERT_EQ(notes.size(), things.size());
    for (std::size_t i = 0; i < things.size(); ++i) {
        EXPECT_EQ(notes[i].thing, things[i]);
        EXPECT_EQ(notes[i].text, "On " + describeThing(things[i]));
        const bool players = things[i].kind == ThingKind::Planet || things[i].kind == ThingKind::Empire;
        EXPECT_EQ(notes[i].audience, players ? NoteAudience::Players : NoteAudience::Secret) << i;
    }
    // The default is secret; writing again replaces text and audience.
    setNote(base, {ThingKind::Planet, 2}, "second thoughts");
    const auto planet = getNote(base, {ThingKind::Planet, 2});
    ASSERT_TRUE(planet);
    EXPECT_EQ(planet->text, "second thoughts");
    EXPECT_EQ(planet->audience, NoteAudience::Secret);
    EXPECT_EQ(listNotes(base).size(), things.size());

    EXPECT_TRUE(removeNote(base, {ThingKind::Planet, 2}));
    EXPECT_FALSE(removeNote(base, {ThingKind::Planet, 2}));
    EXPECT_FALSE(getNote(base, {ThingKind::Planet, 2}));
    EXPECT_EQ(listNotes(base).size(), things.size() - 1);
}

TEST_F(Notes, TextOfAnyLengthAndScriptComesBackToTheByte) {
    const std::string unicode = "Zoë's ship «Ærø» — 宇宙港 🚀\nsecond line\r\n\ttabbed";
    setNote(base, {ThingKind::System, 0}, unicode);
    std::string longText;
    for (int i = 0; i < 20000; ++i) longText += "line " + std::to_string(i) + " of the old war\n";
    setNote(base, {ThingKind::System, 1}, longText);
    EXPECT_EQ(getNote(base, {ThingKind::System, 0})->text, unicode);
    EXPECT_EQ(getNote(base, {ThingKind::System, 1})->text, longText);
}

TEST_F(Notes, ANoteOnNothingIsRefusedNamingTheIdAndTheFile) {
    const auto refused = [&](const Thing& thing, const std::string& says) {
        try {
            setNote(base, thing, "text");
            ADD_FAILURE() << describeThing(thing) << " was taken";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << e.what();
        }
    };
    refused({ThingKind::System, 4}, "System 4 is not in " + base + ".sun (4 systems)");
    refused({ThingKind::Planet, -1}, "Planet -1 is not in " + base + ".pln");
    refused({ThingKind::Moon, 1}, "Moon 1 is not in " + base + ".mon (1 moon)");
    refused({ThingKind::Race, 4}, base + ".aln");
    refused({ThingKind::Colony, 2}, "Colony 2 is not in " + base + ".col (2 colonies)");
    refused({ThingKind::Empire, 2}, "Empire 2 is not in " + base + ".emp (2 empires)");
    // A sector without an empire file holds no empire.
    fs::remove(base + ".emp");
    refused({ThingKind::Empire, 0}, "(0 empires)");
    // Blank text and bytes that are not UTF-8.
    EXPECT_THROW(setNote(base, kWholeSector, " \n\t"), InputError);
    for (const std::string bad : {"\xff", "ab\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80"}) {
        EXPECT_THROW(setNote(base, kWholeSector, bad), InputError) << bad.size();
    }
    // Nothing was made by all that.
    EXPECT_FALSE(campaignFileExists(base));
    EXPECT_THROW(setNote((fs::path(base).parent_path() / "nosuch").string(), kWholeSector, "x"), IoError);
}

TEST_F(Notes, ReadingNeverMakesTheCampaignFile) {
    EXPECT_TRUE(listNotes(base).empty());
    EXPECT_FALSE(getNote(base, kWholeSector));
    EXPECT_FALSE(removeNote(base, kWholeSector));
    EXPECT_TRUE(searchNotes(base, "anything").empty());
    EXPECT_FALSE(campaignFileExists(base));
    setNote(base, kWholeSector, "first");
    EXPECT_TRUE(campaignFileExists(base));
    // At rest the file is alone: no journal or log beside it.
    EXPECT_FALSE(fs::exists(campaignPath(base) + "-journal"));
    EXPECT_FALSE(fs::exists(campaignPath(base) + "-wal"));
}

TEST_F(Notes, SearchFindsEveryWordIgnoringCaseAndAccents) {
    setNote(base, {ThingKind::System, 0}, "The Iotrosel pirates hide near the gas giant");
    setNote(base, {ThingKind::Race, 1}, "Zoë of the pirates speaks for them");
    setNote(base, {ThingKind::Colony, 0}, "A mining town, no pirates here");
    setNote(base, {ThingKind::Planet, 1}, "Quotes \"and\" dashes-in-words: AND OR NOT");
    const auto things = [&](const std::string& words) {
        std::vector<Thing> found;
        for (const Note& note : searchNotes(base, words)) found.push_back(note.thing);
        return found;
    };
    EXPECT_EQ(things("PIRATES"),
              (std::vector<Thing>{{ThingKind::System, 0}, {ThingKind::Race, 1}, {ThingKind::Colony, 0}}));
    EXPECT_EQ(things("zoe"), (std::vector<Thing>{{ThingKind::Race, 1}}));
    EXPECT_EQ(things("pirates mining"), (std::vector<Thing>{{ThingKind::Colony, 0}}));
    EXPECT_EQ(things("iotr"), (std::vector<Thing>{{ThingKind::System, 0}}));  // the start of a word
    EXPECT_TRUE(things("rosel").empty());                                     // not its middle
    // The search language's own characters are only text.
    EXPECT_EQ(things("\"and\" dashes-in-words: NOT"), (std::vector<Thing>{{ThingKind::Planet, 1}}));
    EXPECT_TRUE(things("OR pirates").empty());
    EXPECT_THROW(searchNotes(base, "  "), InputError);
    // The word index follows replaced and removed notes.
    setNote(base, {ThingKind::System, 0}, "Quiet now");
    removeNote(base, {ThingKind::Race, 1});
    EXPECT_EQ(things("pirates"), (std::vector<Thing>{{ThingKind::Colony, 0}}));
    EXPECT_EQ(things("quiet"), (std::vector<Thing>{{ThingKind::System, 0}}));
}

TEST_F(Notes, AFileThatIsNotACampaignIsRefusedAndLeftAlone) {
    writeFileBytes(campaignPath(base), "not a database at all, just words");
    EXPECT_THROW(listNotes(base), IoError);
    EXPECT_THROW(setNote(base, kWholeSector, "x"), IoError);
    EXPECT_EQ(fileBytes(campaignPath(base)), "not a database at all, just words");
}

}  // namespace
}  // namespace orrimar

// The game master's notes in the system log and the alien log: a Notes
// section naming each noted thing of the log (the system, a world, a moon,
// a colony; the race), each note labelled secret or public, its text
// whole; nothing at all where there is no note, and no note of another
// system or race.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "campaign/campaign_file.h"
#include "campaign/notes.h"
#include "engine/engine.h"
#include "support/settled_fixture.h"
#include "support/test_dir.h"

using namespace orrimar;
using namespace orrimar::logs;
using namespace orrimar::engine;
using orrimar::logtest::makeSettledFixture;
using orrimar::testing::testDir;

namespace {

std::string systemLog(const std::string& base, std::int32_t system) {
    std::ostringstream out;
    main_starlog(base, out, system, LogDetail::EveryBody, LogFormat::Text);
    return out.str();
}

std::string raceLog(const std::string& base, std::int32_t race) {
    std::ostringstream out;
    main_alienlog(base, race, 0, LogFormat::Text, out);
    return out.str();
}

}  // namespace

TEST(NotesInLogs, SystemLogListsEveryNotedThingLabelled) {
    const std::string dir = testDir("notes_system_log");
    const auto f = makeSettledFixture(dir);
    const std::string before = systemLog(f.base, 0);
    EXPECT_EQ(before.find("Notes"), std::string::npos);

    setNote(f.base, {ThingKind::System, 0}, "Pirates gather here.", NoteAudience::Players);
    setNote(f.base, {ThingKind::Planet, 2}, "The gas giant's storms\nhide a wreck.");
    setNote(f.base, {ThingKind::Moon, 1}, "Old listening post.");
    setNote(f.base, {ThingKind::Colony, 2}, "The miners owe money.");
    setNote(f.base, {ThingKind::System, 1}, "Not this system's.");
    setNote(f.base, {ThingKind::Race, 0}, "Not a system note.");
    const std::string after = systemLog(f.base, 0);
    // The notes close the log: all before them reads as it did.
    ASSERT_EQ(after.substr(0, before.size()), before);
    const std::string notes = after.substr(before.size());
    EXPECT_NE(notes.find("Notes"), std::string::npos) << notes;
    EXPECT_NE(notes.find("The system (public)"), std::string::npos) << notes;
    EXPECT_NE(notes.find("Pirates gather here."), std::string::npos);
    EXPECT_NE(notes.find("Orbit 3 of star A (secret)"), std::string::npos) << notes;
    EXPECT_NE(notes.find("The gas giant's storms"), std::string::npos);
    EXPECT_NE(notes.find("Moon 1 of orbit 3 of star A (secret)"), std::string::npos) << notes;
    EXPECT_NE(notes.find("Moon base 2 on moon 1 of orbit 3 of star A (secret)"), std::string::npos) << notes;
    EXPECT_NE(notes.find("The miners owe money."), std::string::npos);
    EXPECT_EQ(notes.find("Not this system's."), std::string::npos);
    EXPECT_EQ(notes.find("Not a system note."), std::string::npos);
    // The order of the log: the system, its colonies, then its worlds.
    EXPECT_LT(notes.find("Pirates"), notes.find("miners"));
    EXPECT_LT(notes.find("miners"), notes.find("storms"));
}

TEST(NotesInLogs, AlienLogClosesWithTheRacesNote) {
    const std::string dir = testDir("notes_alien_log");
    const auto f = makeSettledFixture(dir);
    const std::string before = raceLog(f.base, 0);
    EXPECT_EQ(before.find("Notes"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(campaignPath(f.base))) << "a log made a campaign file";
    setNote(f.base, {ThingKind::Race, 0}, "They never forget a debt.");
    setNote(f.base, {ThingKind::System, 0}, "Not a race note.");
    const std::string after = raceLog(f.base, 0);
    EXPECT_NE(after.find("The race (secret)"), std::string::npos) << after;
    EXPECT_NE(after.find("They never forget a debt."), std::string::npos);
    EXPECT_EQ(after.find("Not a race note."), std::string::npos);
    EXPECT_GT(after.find("They never forget"), after.find("Record codes")) << "the note closes the log";
}

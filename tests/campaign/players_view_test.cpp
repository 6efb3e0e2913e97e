#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "campaign/players_view.h"
#include "campaign_fixture.h"
#include "common/errors.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct PlayersKnow : ::testing::Test {
    std::string base;
    void SetUp() override {
        base = (freshDir("players") / "alpha").string();
        writeSector(base, smallCampaignSector());
        writeEmpires(base, 2);
    }
    // Every thing's state, by the view and by asking one at a time: the two
    // must always agree.
    std::vector<bool> known(ThingKind kind, int count) {
        const PlayersView view = playersView(base);
        std::vector<bool> states;
        for (int id = 0; id < count; ++id) {
            const bool state = view.knows({kind, id});
            EXPECT_EQ(isKnown(base, {kind, id}), state) << describeThing({kind, id});
            states.push_back(state);
        }
        return states;
    }
    void mark(std::vector<Thing> things, PlayersMark how) { markForPlayers(base, things, how); }
};

TEST_F(PlayersKnow, DefaultsFollowTheColonies) {
    EXPECT_EQ(known(ThingKind::System, 4), (std::vector<bool>{true, true, true, true}));
    // Systems 1 and 3 hold colonies: race 3 lives in colony 0, race 1's home
    // is system 1, race 0 lives in the moon base of system 3. Race 2's home
    // system has no colony.
    EXPECT_EQ(known(ThingKind::Race, 4), (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(known(ThingKind::Colony, 2), (std::vector<bool>{false, false}));
    EXPECT_EQ(known(ThingKind::Empire, 2), (std::vector<bool>{false, false}));
    // Nothing was written to answer.
    EXPECT_FALSE(campaignFileExists(base));
}

TEST_F(PlayersKnow, HiddenSystemsHideTheRacesOnlyTheyShowed) {
    mark({{ThingKind::System, 1}}, PlayersMark::Unknown);
    EXPECT_EQ(known(ThingKind::System, 4), (std::vector<bool>{true, false, true, true}));
    EXPECT_EQ(known(ThingKind::Race, 4), (std::vector<bool>{true, false, false, false}));
    mark({{ThingKind::System, 3}}, PlayersMark::Unknown);
    EXPECT_EQ(known(ThingKind::Race, 4), (std::vector<bool>{false, false, false, false}));
    // A sector without any colony shows no race.
    writeRecords<TColonyRec>(base + ".col", {});
    mark({{ThingKind::System, 1}, {ThingKind::System, 3}}, PlayersMark::Default);
    EXPECT_EQ(known(ThingKind::Race, 4), (std::vector<bool>{false, false, false, false}));
}

TEST_F(PlayersKnow, MarksOverrideTheDefaultAndForgettingReturnsIt) {
    mark({{ThingKind::Race, 2}, {ThingKind::Colony, 1}, {ThingKind::Empire, 0}}, PlayersMark::Known);
    mark({{ThingKind::Race, 0}, {ThingKind::System, 2}}, PlayersMark::Unknown);
    EXPECT_EQ(known(ThingKind::Race, 4), (std::vector<bool>{false, true, true, true}));
    EXPECT_EQ(known(ThingKind::Colony, 2), (std::vector<bool>{false, true}));
    EXPECT_EQ(known(ThingKind::Empire, 2), (std::vector<bool>{true, false}));
    EXPECT_EQ(known(ThingKind::System, 4), (std::vector<bool>{true, true, false, true}));
    // The last mark wins.
    mark({{ThingKind::Race, 2}}, PlayersMark::Unknown);
    EXPECT_FALSE(isKnown(base, {ThingKind::Race, 2}));
    mark({{ThingKind::Race, 0}, {ThingKind::Race, 2}, {ThingKind::Colony, 1}, {ThingKind::System, 2}},
         PlayersMark::Default);
    EXPECT_EQ(known(ThingKind::Race, 4), (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(known(ThingKind::Colony, 2), (std::vector<bool>{false, false}));
    EXPECT_TRUE(isKnown(base, kWholeSector));
}

TEST_F(PlayersKnow, ABadThingAmongManyMarksNone) {
    try {
        mark({{ThingKind::System, 0}, {ThingKind::Colony, 2}, {ThingKind::Race, 1}}, PlayersMark::Unknown);
        ADD_FAILURE() << "colony 2 was taken";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("Colony 2 is not in " + base + ".col"), std::string::npos) << e.what();
    }
    EXPECT_THROW(mark({{ThingKind::System, 0}, {ThingKind::Planet, 0}}, PlayersMark::Known), InputError);
    EXPECT_THROW(mark({kWholeSector}, PlayersMark::Known), InputError);
    EXPECT_FALSE(campaignFileExists(base));
    EXPECT_TRUE(isKnown(base, {ThingKind::System, 0}));
    EXPECT_THROW(isKnown(base, {ThingKind::System, 9}), InputError);
    EXPECT_THROW(isKnown(base, {ThingKind::Moon, 0}), InputError);
    // Forgetting marks on a sector without a campaign makes no file.
    mark({{ThingKind::System, 0}}, PlayersMark::Default);
    EXPECT_FALSE(campaignFileExists(base));
}

TEST_F(PlayersKnow, ColoniesPointingOutsideTheSectorAreLeftOut) {
    SectorContent s = smallCampaignSector();
    TColonyRec lost;
    lost.kind = 1;
    lost.worldId = 99;  // no such planet
    lost.race = 2;
    TColonyRec lostMoon;
    lostMoon.kind = 0;
    lostMoon.worldId = -4;
    lostMoon.race = 60000;  // no such race
    s.colonies.push_back(lost);
    s.colonies.push_back(lostMoon);
    writeSector(base, s);
    EXPECT_EQ(known(ThingKind::Race, 4), (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(known(ThingKind::Colony, 4), (std::vector<bool>{false, false, false, false}));
}

}  // namespace
}  // namespace orrimar

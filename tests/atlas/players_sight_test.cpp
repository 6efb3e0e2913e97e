// What the players see: the players' model hides unknown systems down to a
// plain star, keeps only known colonies, control and empires (and so only
// their territories), marks known races' homes; notes are placed on the map
// by their things, and the players read only public notes on known things.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "atlas/atlas_model.h"
#include "atlas/filters.h"
#include "atlas/notes_on_map.h"
#include "atlas/players_sight.h"
#include "atlas/territory.h"
#include "campaign/campaign_fixture.h"
#include "campaign/notes.h"
#include "campaign/players_view.h"

namespace orrimar::atlas {
namespace {

using namespace orrimar::testing;

// The campaign fixture's four systems (colony 0 in system 1, the moon base
// colony 1 in system 3), with race 0 controlling system 3 under empire 0
// ("Zero Realm", capital 3) and race 2 controlling system 0 under empire 1
// (capital 0).
struct PlayersSightTest : ::testing::Test {
    std::string base;
    void SetUp() override {
        base = (freshDir("atlas-players") / "alpha").string();
        writeSector(base, smallCampaignSector());
        writeRecords<TConRec>(base + ".con", {TConRec{3, 0}, TConRec{0, 2}});
        TEmpireRec zero;
        zero.race = 0;
        zero.colour = {10, 200, 10};
        zero.capitalSystemId = 3;
        zero.name.assign("Zero Realm");
        TEmpireRec second;
        second.race = 2;
        second.colour = {200, 10, 10};
        second.capitalSystemId = 0;
        second.name.assign("Second Crown");
        writeRecords<TEmpireRec>(base + ".emp", {zero, second});
    }
    AtlasModel open() const { return AtlasModel::open(base); }
    void mark(std::vector<Thing> things, PlayersMark how) const { markForPlayers(base, things, how); }
};

constexpr std::uint8_t kColonyMarks = kMarkColony | kMarkOwnedColony;

TEST_F(PlayersSightTest, ByDefaultNoColonyControlOrEmpireShowsAndOnlyKnownRacesMarkTheirHomes) {
    const AtlasModel model = open();
    ASSERT_EQ(model.entry(3).marks & kColonyMarks, kColonyMarks) << "the game master sees the owned moon base";
    ASSERT_EQ(model.owner(3), 0);
    const PlayersSight sight(model, playersView(base));
    const AtlasModel& seen = sight.model();
    ASSERT_EQ(seen.size(), model.size());
    EXPECT_TRUE(seen.settled().colonies().empty());
    EXPECT_TRUE(seen.settled().empires().empty());
    EXPECT_FALSE(seen.settled().hasControl());
    for (SystemId id = 0; id < seen.size(); ++id) {
        EXPECT_EQ(seen.entry(id).marks & kColonyMarks, 0) << "system " << id;
        EXPECT_EQ(seen.owner(id), kNoRace) << "system " << id;
        // The star itself is seen as it is.
        EXPECT_EQ(seen.entry(id).starKind, model.entry(id).starKind);
        EXPECT_EQ(seen.entry(id).x, model.entry(id).x);
    }
    EXPECT_TRUE(territoryBorders(seen, View::Top, Slab{}).empty());
    // Races 0 and 1 are known (they live where colonies are); race 2, at
    // home in the uncolonised system 2, is not; race 3 has no home world.
    EXPECT_NE(seen.entry(0).marks & kMarkNativeRace, 0);
    EXPECT_NE(seen.entry(1).marks & kMarkNativeRace, 0);
    EXPECT_EQ(seen.entry(2).marks & kMarkNativeRace, 0);
    EXPECT_EQ(seen.settled().raceLabel(0), "race 0");
    EXPECT_EQ(model.settled().raceLabel(2), "race 2");
    // A search for native races cannot find the unknown one's home.
    Filter raceHomes;
    raceHomes.nativeRace = true;
    for (const SystemId id : matchingIds(seen, raceHomes)) EXPECT_NE(id, 2);
}

TEST_F(PlayersSightTest, ARevealedEmpireAndColonyShowWithTheirTerritoryAndAnUnknownRulerStaysDark) {
    mark({{ThingKind::Empire, 0}, {ThingKind::Colony, 1}}, PlayersMark::Known);
    const AtlasModel model = open();
    const PlayersSight sight(model, playersView(base));
    const AtlasModel& seen = sight.model();
    EXPECT_EQ(seen.owner(3), 0);
    EXPECT_EQ(seen.owner(0), kNoRace) << "empire 1 is not known: its system shows no ruler";
    ASSERT_EQ(seen.settled().coloniesOf(3).size(), 1U);
    EXPECT_EQ(seen.settled().coloniesOf(3)[0].record, 1);
    EXPECT_TRUE(seen.settled().coloniesOf(1).empty()) << "colony 0 is still unknown";
    EXPECT_EQ(seen.entry(3).marks & kColonyMarks, kColonyMarks);
    EXPECT_EQ(seen.entry(1).marks & kColonyMarks, 0);
    ASSERT_EQ(seen.settled().empires().size(), 1U);
    EXPECT_EQ(seen.settled().empires()[0].record, 0);
    EXPECT_EQ(seen.settled().empires()[0].systems, 1);
    EXPECT_EQ(seen.settled().rulingRaces(), std::vector<std::uint16_t>{0});
    EXPECT_EQ(seen.settled().raceLabel(2), "unknown race");
    const std::vector<BorderLine> borders = territoryBorders(seen, View::Top, Slab{});
    ASSERT_FALSE(borders.empty());
    EXPECT_TRUE(std::all_of(borders.begin(), borders.end(), [](const BorderLine& b) { return b.owner == 0; }));
    // The search by owner or colony finds only what they know.
    Filter colonies;
    colonies.colony = true;
    EXPECT_EQ(matchingIds(seen, colonies), std::vector<SystemId>{3});
    EXPECT_EQ(matchingIds(model, colonies), (std::vector<SystemId>{1, 3}));
    Filter secondCrown;
    secondCrown.owner = 2;
    EXPECT_TRUE(matchingIds(seen, secondCrown).empty());
}

TEST_F(PlayersSightTest, AHiddenSystemIsAPlainStarEvenInsideAKnownEmpire) {
    mark({{ThingKind::Empire, 0}, {ThingKind::Colony, 1}}, PlayersMark::Known);
    mark({{ThingKind::System, 3}}, PlayersMark::Unknown);
    AtlasModel model = open();
    model.setName(3, "Hollow Gate");
    const PlayersSight sight(model, playersView(base));
    const AtlasModel& seen = sight.model();
    EXPECT_EQ(model.name(3), "Hollow Gate");
    EXPECT_EQ(seen.name(3), "");
    EXPECT_FALSE(PlayersSight::labelled(seen, 3));
    EXPECT_EQ(seen.entry(3).marks, 0);
    EXPECT_EQ(seen.entry(3).worldCount, 0);
    EXPECT_EQ(seen.worlds(3).planets, 0);
    EXPECT_EQ(seen.entry(3).starKind, 0) << "a neutral dot: its kind is not told";
    EXPECT_EQ(seen.entry(3).brightness, kVeiledBrightness);
    EXPECT_EQ(seen.entry(3).x, model.entry(3).x);
    Filter byKind;
    byKind.starKinds = codeBit(model.entry(3).starKind);
    EXPECT_EQ(std::ranges::count(matchingIds(model, byKind), 3), 1);
    EXPECT_EQ(std::ranges::count(matchingIds(seen, byKind), 3), 0) << "a search by kind cannot find it";
    EXPECT_EQ(seen.owner(3), kNoRace);
    EXPECT_TRUE(seen.settled().coloniesOf(3).empty());
    EXPECT_TRUE(territoryBorders(seen, View::Top, Slab{}).empty()) << "no known system of the empire is left";
    EXPECT_TRUE(seen.findByName("Hollow").empty());
    // Its worlds and its moon are unknown with it.
    EXPECT_FALSE(sight.knows({ThingKind::Planet, 3}));
    EXPECT_FALSE(sight.knows({ThingKind::Moon, 0}));
    EXPECT_TRUE(sight.knows({ThingKind::Planet, 2}));
    EXPECT_TRUE(sight.knows(kWholeSector));
}

TEST_F(PlayersSightTest, NotesLightTheSystemTheirThingLiesInAndPlayersReadOnlyPublicNotesOnKnownThings) {
    setNote(base, {ThingKind::Moon, 0}, "Smugglers hide on the ice moon", NoteAudience::Players);
    setNote(base, {ThingKind::Planet, 1}, "Smuggling port, secret", NoteAudience::Secret);
    setNote(base, {ThingKind::Race, 2}, "Smugglers' old masters", NoteAudience::Players);
    setNote(base, {ThingKind::Empire, 1}, "Smugglers pay the crown", NoteAudience::Players);
    setNote(base, {ThingKind::Race, 3}, "Smugglers without a home", NoteAudience::Players);
    setNote(base, kWholeSector, "Smugglers everywhere", NoteAudience::Players);
    const AtlasModel model = open();
    std::vector<std::pair<SystemId, Thing>> all;
    for (const NoteOnMap& n : notesOnMap(model, "smug")) all.emplace_back(n.system, n.note.thing);
    // By kind then id; the sector and the homeless race light nothing.
    EXPECT_EQ(all, (std::vector<std::pair<SystemId, Thing>>{{1, {ThingKind::Planet, 1}},
                                                            {3, {ThingKind::Moon, 0}},
                                                            {2, {ThingKind::Race, 2}},
                                                            {0, {ThingKind::Empire, 1}}}));
    EXPECT_EQ(notesOnMap(model, "smugglers ice").size(), 1U) << "every word must be there";
    EXPECT_TRUE(notesOnMap(model, "smugglersx").empty());

    mark({{ThingKind::Empire, 1}}, PlayersMark::Known);
    mark({{ThingKind::System, 3}}, PlayersMark::Unknown);
    const PlayersSight sight(model, playersView(base));
    std::vector<Thing> read;
    for (const NoteOnMap& n : notesOnMap(model, "smug", &sight)) read.push_back(n.note.thing);
    // The planet's note is secret, the moon's system hidden, race 2 unknown.
    EXPECT_EQ(read, (std::vector<Thing>{{ThingKind::Empire, 1}}));
}

TEST(ThingPlacesAndOpenings, EveryKindFindsItsSystemAndOpeningsCutAtWords) {
    const std::string base = (freshDir("atlas-places") / "alpha").string();
    writeSector(base, smallCampaignSector());
    const AtlasModel model = AtlasModel::open(base);
    ThingPlaces places(model);
    EXPECT_EQ(places.systemOf({ThingKind::System, 2}), 2);
    EXPECT_EQ(places.systemOf({ThingKind::System, 4}), kNoSystem);
    EXPECT_EQ(places.systemOf({ThingKind::Planet, 1}), 1);
    EXPECT_EQ(places.systemOf({ThingKind::Planet, 4}), kNoSystem);
    EXPECT_EQ(places.systemOf({ThingKind::Moon, 0}), 3);
    EXPECT_EQ(places.systemOf({ThingKind::Moon, 1}), kNoSystem);
    EXPECT_EQ(places.systemOf({ThingKind::Race, 1}), 1);
    EXPECT_EQ(places.systemOf({ThingKind::Race, 3}), kNoSystem);
    EXPECT_EQ(places.systemOf({ThingKind::Colony, 0}), 1);
    EXPECT_EQ(places.systemOf({ThingKind::Colony, 1}), 3);
    EXPECT_EQ(places.systemOf({ThingKind::Empire, 0}), kNoSystem) << "the sector has no empires";
    EXPECT_EQ(places.systemOf(kWholeSector), kNoSystem);

    EXPECT_EQ(noteOpening("  one\ttwo\n\nthree  "), "one two three");
    EXPECT_EQ(noteOpening("a b c d e f g h"), "a b c d e f g h");
    EXPECT_EQ(noteOpening("a b c d e f g h i"), "a b c d e f g h\u2026");
    EXPECT_EQ(noteOpening("a b c", 2), "a b\u2026");
    EXPECT_EQ(noteOpening(""), "");
}

}  // namespace
}  // namespace orrimar::atlas

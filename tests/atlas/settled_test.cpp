// Settled space in the atlas: the colony, control and empire files read
// once (vacant records skipped, damage warned about), the search by owner,
// people, starport and colony type, and routes through one empire only.
#include <gtest/gtest.h>

#include <fstream>

#include "atlas/colony_rows.h"
#include "atlas/filters.h"
#include "atlas/route_stops.h"
#include "atlas/routes.h"
#include "atlas_fixture.h"
#include "common/errors.h"
#include "records/colony_codes.h"
#include "vocabulary/colony_words.h"

namespace orrimar::atlas {
namespace {

using atlastest::makeSector;
using atlastest::modelOf;
using atlastest::readAll;

TColonyRec colonyOn(std::int32_t world, std::uint16_t race, std::uint16_t owner, int people, ColonyType type,
                    Starport port, std::uint8_t kind = kPlanetColony) {
    TColonyRec c;
    c.worldId = world;
    c.race = race;
    c.allegiance = owner;
    c.kind = kind;
    c.populationCode = static_cast<std::uint8_t>(people);
    c.colonyType = static_cast<std::uint8_t>(type);
    c.starport = static_cast<std::uint8_t>(port);
    c.lawLevel = 6;
    c.stability = 6;
    c.crimeLevel = 2;
    return c;
}

TEmpireRec empire(std::uint16_t race, std::array<std::uint8_t, 3> colour, std::int32_t capital, const char* name) {
    TEmpireRec e;
    e.race = race;
    e.colour = colour;
    e.capitalSystemId = capital;
    e.name.assign(name);
    return e;
}

template <typename T>
void writeAll(const std::string& path, const std::vector<T>& records) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const T& r : records) out << testing::bytesOf(r);
}

class SettledOpen : public ::testing::Test {};

TEST_F(SettledOpen, ControlColoniesAndEmpiresAreReadAndVacantRecordsSkipped) {
    const std::string base = makeSector("settled_read", 8, 4, 50);
    const auto planets = readAll<TPlanetRec>(sectorPath(base, ".pln"));
    const auto moons = readAll<TMoonRec>(sectorPath(base, ".mon"));
    ASSERT_GT(planets.size(), 10U);
    ASSERT_FALSE(moons.empty());
    const SystemId a = planets[3].systemId;
    const SystemId b = planets[static_cast<std::size_t>(moons[0].planetId)].systemId;
    writeAll<TColonyRec>(
        sectorPath(base, ".col"),
        {colonyOn(3, 1, kNoRace, 35, ColonyType::Mining, Starport::Fair), vacantColony(),
         colonyOn(0, 2, 2, 50, ColonyType::Capital, Starport::Excellent, 7),
         colonyOn(static_cast<std::int32_t>(moons[0].planetId), 2, 2, 20, ColonyType::Industrial, Starport::Good)});
    writeAll<TConRec>(sectorPath(base, ".con"), {TConRec{b, 2}});
    writeAll<TEmpireRec>(sectorPath(base, ".emp"), {vacantEmpire(), empire(2, {10, 20, 30}, b, "Second Realm")});

    const AtlasModel model = AtlasModel::open(base);
    EXPECT_TRUE(model.warnings().empty()) << model.warnings().front();
    const SettledLayer& settled = model.settled();
    EXPECT_EQ(model.owner(b), 2);
    if (a != b) {
        // Colonies but no control record: uncontrolled.
        EXPECT_EQ(model.owner(a), kNoRace);
        ASSERT_EQ(settled.coloniesOf(a).size(), 1U);
        EXPECT_EQ(settled.coloniesOf(a)[0].record, 0);
        EXPECT_EQ(settled.summaryOf(a).people, 60'000'000ULL);
        EXPECT_EQ(model.entry(a).marks & kMarkOwnedColony, 0);
    }
    // The moon base and the planet colony of system b, in file order; the
    // vacant record 1 is nowhere.
    const auto inB = settled.coloniesOf(b);
    ASSERT_EQ(inB.size(), a == b ? 3U : 2U);
    EXPECT_EQ(inB[inB.size() - 2].record, 2);
    EXPECT_EQ(inB.back().record, 3);
    const ColonySummary sb = settled.summaryOf(b);
    EXPECT_EQ(sb.bestStarport, static_cast<int>(Starport::Excellent));
    EXPECT_NE(sb.types & (1U << static_cast<int>(ColonyType::Capital)), 0U);
    EXPECT_NE(sb.types & (1U << static_cast<int>(ColonyType::Industrial)), 0U);
    EXPECT_NE(model.entry(b).marks & kMarkOwnedColony, 0);

    ASSERT_EQ(settled.empires().size(), 1U);
    const EmpireEntry& realm = settled.empires()[0];
    EXPECT_EQ(realm.record, 1);
    EXPECT_EQ(realm.name, "Second Realm");
    EXPECT_EQ(realm.capital, b);
    EXPECT_EQ(realm.systems, 1);
    EXPECT_EQ(realm.people, populationPeople(50) + populationPeople(20));
    EXPECT_EQ(settled.colourOf(2), (std::array<std::uint8_t, 3>{10, 20, 30}));
    EXPECT_EQ(settled.colourOf(1), empireColourFor(1));

    const auto rows = colonyRows(model, b);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back().people, "1 million");
    EXPECT_EQ(rows.back().owner, settled.raceLabel(2));
    EXPECT_FALSE(rows.back().owner.empty());
    EXPECT_EQ(rows.back().starport, "Good");
    EXPECT_EQ(rows.back().type, "Industrial");
    EXPECT_EQ(rows.back().government, "law 6 (strict), stability 6 (steady), crime 2 (petty)");
    EXPECT_EQ(rows[rows.size() - 2].world.rfind("moon base over planet ", 0), 0U) << rows[rows.size() - 2].world;
}

TEST_F(SettledOpen, DamagedControlAndEmpireRecordsAreWarningsAndLeftOut) {
    const std::string base = makeSector("settled_damage", 9, 3, 60);
    const SystemId systems = static_cast<SystemId>(readAll<TSystemRec>(sectorPath(base, ".sun")).size());
    ASSERT_GE(systems, 2);
    writeAll<TConRec>(sectorPath(base, ".con"), {TConRec{1, 4}, TConRec{99999, 4}, TConRec{1, 5}, TConRec{0, 5}});
    writeAll<TEmpireRec>(sectorPath(base, ".emp"), {empire(4, {1, 2, 3}, 99999, "Lost Crown")});
    {
        std::ofstream torn(sectorPath(base, ".con"), std::ios::binary | std::ios::app);
        torn << "abc";
    }
    const AtlasModel model = AtlasModel::open(base);
    ASSERT_EQ(model.warnings().size(), 4U);
    EXPECT_NE(model.warnings()[0].find("cut-off record (3 bytes)"), std::string::npos) << model.warnings()[0];
    EXPECT_NE(model.warnings()[1].find("Control record 1 names system 99999"), std::string::npos);
    EXPECT_NE(model.warnings()[2].find("already controlled by race 4; the first record stands"), std::string::npos);
    EXPECT_NE(model.warnings()[3].find("Empire record 0 (Lost Crown) names capital system 99999"), std::string::npos);
    EXPECT_EQ(model.owner(1), 4);
    EXPECT_EQ(model.owner(0), 5);
    ASSERT_EQ(model.settled().empires().size(), 1U);
    EXPECT_EQ(model.settled().empires()[0].capital, kNoSystem);
}

// ---------------------------------------------------------------- search

// Five systems in a row along x: 0 and 1 race 3's ("Vessari", empire
// "Vessari Hegemony"), 2 independent colonies, 3 race 8's, 4 unsettled.
AtlasModel searchModel() {
    AtlasModel model = modelOf({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    SettledLayer::Parts parts;
    auto place = [&](SystemId system, const TColonyRec& c) {
        parts.colonies.push_back(ColonyEntry{static_cast<std::int32_t>(parts.colonies.size()), system, system, c});
    };
    place(0, colonyOn(0, 3, 3, 59, ColonyType::Homeworld, Starport::Excellent));   // 10 billion
    place(1, colonyOn(1, 3, 3, 20, ColonyType::Mining, Starport::Primitive));      // 1 million
    place(1, colonyOn(1, 3, 3, 22, ColonyType::Research, Starport::Fair));         // 3 million
    place(2, colonyOn(2, 5, kNoRace, 5, ColonyType::Settlement, Starport::None));  // 60,000
    place(3, colonyOn(3, 8, 8, 30, ColonyType::Military, Starport::Good));         // 10 million
    parts.controls = {TConRec{0, 3}, TConRec{1, 3}, TConRec{3, 8}};
    parts.empires = {empire(3, {200, 0, 0}, 0, "Vessari Hegemony")};
    std::vector<std::string> warnings;
    model.setSettled(SettledLayer::build(
        std::move(parts), model.size(),
        [](std::uint16_t race) { return race == 3 ? std::string("Vessari") : std::string(); }, warnings));
    return model;
}

TEST(SettledSearch, ByOwnerPeopleStarportAndColonyType) {
    const AtlasModel model = searchModel();
    Filter f;
    f.owner = 3;
    EXPECT_FALSE(f.empty());
    EXPECT_EQ(matchingIds(model, f), (std::vector<SystemId>{0, 1}));
    f.owner = kNoRace;  // independent: colonies, no controller; not the empty system 4
    EXPECT_EQ(matchingIds(model, f), (std::vector<SystemId>{2}));

    Filter people;
    people.minPeople = 4'000'000;  // system 1's two colonies together: exactly 4 million
    EXPECT_EQ(matchingIds(model, people), (std::vector<SystemId>{0, 1, 3}));
    people.minPeople = 4'000'001;
    EXPECT_EQ(matchingIds(model, people), (std::vector<SystemId>{0, 3}));
    people.minPeople = 10'000'001;
    EXPECT_EQ(matchingIds(model, people), (std::vector<SystemId>{0}));

    Filter port;
    port.starport = static_cast<int>(Starport::Fair);  // Fair or better: system 1's best is Fair
    EXPECT_EQ(matchingIds(model, port), (std::vector<SystemId>{0, 1, 3}));
    port.starport = static_cast<int>(Starport::Excellent);
    EXPECT_EQ(matchingIds(model, port), (std::vector<SystemId>{0}));

    Filter type;
    type.colonyTypes = static_cast<std::uint16_t>(1U << static_cast<int>(ColonyType::Research));
    EXPECT_EQ(matchingIds(model, type), (std::vector<SystemId>{1}));
    type.owner = 8;
    EXPECT_TRUE(matchingIds(model, type).empty());
}

TEST(SettledSearch, AnOwnerIsNamedByIdRaceNameEmpireNameOrIndependent) {
    const AtlasModel model = searchModel();
    const SettledLayer& settled = model.settled();
    EXPECT_EQ(settled.ownerFromText("Independent", "--owner"), kNoRace);
    EXPECT_EQ(settled.ownerFromText("8", "--owner"), 8);
    EXPECT_EQ(settled.ownerFromText("vessari", "--owner"), 3);
    EXPECT_EQ(settled.ownerFromText("Vess", "--owner"), 3);
    EXPECT_EQ(settled.ownerFromText("Vessari Heg", "--owner"), 3);
    try {
        (void)settled.ownerFromText("Zorn", "--owner");
        FAIL() << "found";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("--owner"), std::string::npos) << e.what();
    }
    EXPECT_EQ(settled.raceLabel(3), "Vessari");
    EXPECT_EQ(settled.raceLabel(8), "race 8");
    EXPECT_EQ(settled.rulingRaces(), (std::vector<std::uint16_t>{3, 8}));
}

// ----------------------------------------------------------------- routes

TEST(SettledRoute, OnlyThroughOneEmpireTakesItsLongerWayOrNone) {
    // From S (0,0,0) to E (4,0,0) with jumps of 2: straight through X
    // (2,0,0), race 5's, or round through Y1 (1,1,0) and Y2 (3,1,0), race 7's.
    AtlasModel model = modelOf({{0, 0, 0}, {4, 0, 0}, {2, 0, 0}, {1, 1, 0}, {3, 1, 0}});
    SettledLayer::Parts parts;
    parts.controls = {TConRec{2, 5}, TConRec{3, 7}, TConRec{4, 7}};
    parts.empires = {empire(7, {0, 0, 200}, 3, "Azure League")};
    std::vector<std::string> warnings;
    model.setSettled(SettledLayer::build(
        std::move(parts), model.size(), [](std::uint16_t) { return std::string(); }, warnings));
    EXPECT_EQ(findRoute(model, 0, 1, 2.0).systems, (std::vector<SystemId>{0, 2, 1}));
    EXPECT_EQ(findRoute(model, 0, 1, 2.0, routeStopRule(model, RouteStop::Empire, 7)).systems,
              (std::vector<SystemId>{0, 3, 4, 1}));
    EXPECT_EQ(findRoute(model, 0, 1, 2.0, routeStopRule(model, RouteStop::Empire, 5)).systems,
              (std::vector<SystemId>{0, 2, 1}));
    EXPECT_FALSE(findRoute(model, 0, 1, 2.0, routeStopRule(model, RouteStop::Empire, 9)).found);

    // The typed spelling the command line and the Atlas share.
    const auto azure = routeStopFromText(model, "empire:Azure League", "--via");
    ASSERT_TRUE(azure);
    EXPECT_EQ(azure->stop, RouteStop::Empire);
    EXPECT_EQ(azure->race, 7);
    EXPECT_EQ(routeStopChoiceLabel(model, *azure), "systems of the Azure League");
    EXPECT_EQ(routeStopChoiceLabel(model, RouteStopChoice{RouteStop::Empire, 5}), "systems race 5 controls");
    EXPECT_EQ(routeStopFromText(model, "EMPIRE:5", "--via")->race, 5);
    EXPECT_EQ(routeStopFromText(model, "Gas giant", "--via")->stop, RouteStop::GasGiant);
    EXPECT_FALSE(routeStopFromText(model, "moons", "--via"));
    EXPECT_THROW((void)routeStopFromText(model, "empire", "--via"), InputError);
    EXPECT_THROW((void)routeStopFromText(model, "empire:independent", "--via"), InputError);
    EXPECT_THROW((void)routeStopFromText(model, "water:5", "--via"), InputError);
    EXPECT_THROW((void)routeStopFromText(model, "empire:Crimson", "--via"), InputError);
}

// ------------------------------------------------------------ the codes

TEST(SettledCodes, EmpireColoursAreFixedBrightAndApartForNeighbouringRaces) {
    EXPECT_EQ(empireColourFor(0), (std::array<std::uint8_t, 3>{230, 125, 80}));
    for (int race = 0; race < 400; ++race) {
        const auto c = empireColourFor(static_cast<std::uint16_t>(race));
        const auto d = empireColourFor(static_cast<std::uint16_t>(race + 1));
        EXPECT_EQ(std::max({c[0], c[1], c[2]}), 230);
        EXPECT_EQ(std::min({c[0], c[1], c[2]}), 80);
        const int apart = std::abs(c[0] - d[0]) + std::abs(c[1] - d[1]) + std::abs(c[2] - d[2]);
        EXPECT_GE(apart, 60) << race;
    }
    EXPECT_EQ(empireColourFor(65534), empireColourFor(65534));
}

TEST(SettledCodes, GovernmentWordsCoverTheScaleAndNameWhatLiesBeyondIt) {
    EXPECT_EQ(vocabulary::lawWord(0), "no law");
    EXPECT_EQ(vocabulary::lawWord(kLastLevel), "total control");
    EXPECT_EQ(vocabulary::stabilityWord(0), "chaos");
    EXPECT_EQ(vocabulary::stabilityWord(200), "off the scale");
    EXPECT_EQ(vocabulary::crimeWord(9), "rampant");
    EXPECT_EQ(peopleWords(0), "0");
    EXPECT_EQ(peopleWords(4'000'000), "4 million");
    EXPECT_EQ(peopleWords(6'100'000'000ULL), "6.1 billion");
}

}  // namespace
}  // namespace orrimar::atlas

// The colony editor: what an edit writes, byte for byte through the
// records and the colonies report; what it refuses (naming the field, and
// changing nothing); and that a failure at any write leaves the old layer
// or the new one whole.
#include <algorithm>

#include <gtest/gtest.h>

#include "common/file_io.h"
#include "records/sector_lock.h"
#include "settling/colony_edit.h"
#include "settling/edit_fixture.h"
#include "settling/field_error.h"
#include "tools/colonies_report.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct ColonyEdit : ::testing::Test {
    EditSector s{"colony_edit"};

    ColonyFields colonyOf(WorldRef world, std::int64_t race) {
        ColonyFields f;
        f.world = world;
        f.race = race;
        return f;
    }
    std::string report(std::int64_t race) {
        const std::string log = (s.dir / "report").string();
        WriteColoniesReport(s.base, static_cast<long>(race), log);
        return fileBytes(log + ".log");
    }
    // The refused edit names `field` and leaves every file as it was.
    template <typename Edit>
    void expectRefused(Edit edit, const std::string& field, const std::string& words = {}) {
        testing::expectFieldRefused(s.dir, edit, field, words);
    }
};

TEST_F(ColonyEdit, AddWritesEveryFieldAndTheReportShowsThem) {
    ColonyFields f = colonyOf({false, s.planetA1}, 0);
    f.owner = 1;
    f.populationCode = 35;
    f.type = static_cast<std::int64_t>(ColonyType::Mining);
    f.starport = static_cast<std::int64_t>(Starport::Good);
    f.law = 3;
    f.stability = 9;
    f.crime = 0;
    f.gnp = 65535;
    f.power = 60;
    f.facilities = std::vector<Facility>{Facility::University, Facility::NavalBase};
    const ColonyEditResult done = AddColony(s.base, f);
    EXPECT_EQ(done.colonyId, 0);

    const SettledLayer layer = s.layer();
    ASSERT_EQ(layer.colonies.size(), 1U);
    const TColonyRec c = layer.colonies[0];
    EXPECT_EQ(c.worldId, s.planetA1);
    EXPECT_EQ(c.kind, kPlanetColony);
    EXPECT_EQ(c.race, 0);
    EXPECT_EQ(c.allegiance, 1);
    EXPECT_EQ(c.populationCode, 35);
    EXPECT_EQ(c.colonyType, 4);
    EXPECT_EQ(c.starport, 2);
    EXPECT_EQ(c.lawLevel, 3);
    EXPECT_EQ(c.stability, 9);
    EXPECT_EQ(c.crimeLevel, 0);
    EXPECT_EQ(c.gnp, 65535);
    EXPECT_EQ(c.power, 60);
    EXPECT_EQ(c.facilities[0], 0b00010010);  // facilities 2 and 5
    EXPECT_EQ(bytesOf(c), bytesOf(done.colony));
    ASSERT_EQ(layer.control.size(), 1U);
    EXPECT_EQ(layer.control[0].systemId, s.systemA);
    EXPECT_EQ(layer.control[0].race, 1);
    EXPECT_EQ(colonisingRace(s.planets()[static_cast<std::size_t>(s.planetA1)]), 1);

    const std::string text = report(1);
    EXPECT_NE(text.find("Colony: 0\r\nworld id  : " + std::to_string(s.planetA1) +
                        "\r\nsystem    : " + std::to_string(s.systemA) + "\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("type      : Mining\r\nrace      : 0\r\nallegiance: 1\r\nPlan alleg: 1\r\n"
                        "Population: 60 millions\r\nstarport  : Good\r\n"
                        "law       : 3     stability :  9     crime     : 0\r\ngnp       : 65535\r\n"
                        "power     : 60\r\n  Facilities: \r\n    -Naval Base\r\n    -University\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Systems controlled: 1\r\n"), std::string::npos);
}

TEST_F(ColonyEdit, ANewColonyTakesTheDefaultsAndMoonBasesLeaveThePlanetAlone) {
    ColonyFields f = colonyOf({true, s.moonB}, 2);
    f.people = 60'000'000;
    const ColonyEditResult done = AddColony(s.base, f);
    const TColonyRec c = s.layer().colonies.at(0);
    EXPECT_EQ(c.kind, kMoonBase);
    EXPECT_EQ(c.worldId, s.moonB);
    EXPECT_EQ(c.allegiance, 2);  // owned by its own people
    EXPECT_EQ(c.populationCode, 35);
    EXPECT_EQ(c.colonyType, static_cast<int>(ColonyType::Settlement));
    EXPECT_EQ(c.starport, static_cast<int>(Starport::None));
    EXPECT_EQ(c.lawLevel, kNewColonyLevel);
    EXPECT_EQ(c.facilities[0], 0);
    EXPECT_EQ(bytesOf(c), bytesOf(done.colony));
    // A moon base controls its system but names no planet's owner.
    ASSERT_EQ(s.layer().control.size(), 1U);
    EXPECT_EQ(s.layer().control[0].systemId, s.systemOfMoonB);
    const auto planet = s.content.moons[static_cast<std::size_t>(s.moonB)].planetId;
    EXPECT_EQ(bytesOf(s.planets()[static_cast<std::size_t>(planet)]),
              bytesOf(s.content.planets[static_cast<std::size_t>(planet)]));
    EXPECT_NE(report(2).find("Moon base: 0\r\n"), std::string::npos);
}

TEST_F(ColonyEdit, ControlFollowsTheMostPopulousOwnedColonyOfASystem) {
    ColonyFields small = colonyOf({false, s.planetA1}, 0);
    small.populationCode = 20;
    ColonyFields large = colonyOf({false, s.planetA2}, 1);
    large.populationCode = 30;
    AddColony(s.base, small);
    AddColony(s.base, large);
    ASSERT_EQ(s.layer().control.size(), 1U);
    EXPECT_EQ(s.layer().control[0].race, 1);

    ColonyFields grow;
    grow.populationCode = 40;
    SetColony(s.base, 0, grow);
    ASSERT_EQ(s.layer().control.size(), 1U);
    EXPECT_EQ(s.layer().control[0].race, 0);
    EXPECT_NE(report(0).find("Systems controlled: 1\r\n"), std::string::npos);

    // The larger one gone independent controls nothing: the other holds the system.
    ColonyFields free;
    free.independent = true;
    grow.populationCode = 10;
    SetColony(s.base, 0, grow);
    SetColony(s.base, 1, free);
    ASSERT_EQ(s.layer().control.size(), 1U);
    EXPECT_EQ(s.layer().control[0].race, 0);
    EXPECT_EQ(colonisingRace(s.planets()[static_cast<std::size_t>(s.planetA2)]), kNoRace);
    EXPECT_NE(report(1).find("allegiance: Independant\r\n"), std::string::npos);
}

TEST_F(ColonyEdit, ThePlanetsColonisingRaceFollowsItsColonysOwner) {
    AddColony(s.base, colonyOf({false, s.planetA1}, 0));
    auto planet = [&] { return s.planets()[static_cast<std::size_t>(s.planetA1)]; };
    EXPECT_TRUE(isColonised(planet()));
    EXPECT_EQ(planet().colonisingRaceId, 0);

    ColonyFields owner;
    owner.owner = 2;
    SetColony(s.base, 0, owner);
    EXPECT_EQ(planet().colonisingRaceId, 2);

    // Moved to another world: the first is free again, the second owned.
    ColonyFields move;
    move.world = WorldRef{false, s.planetA2};
    SetColony(s.base, 0, move);
    EXPECT_FALSE(isColonised(planet()));
    EXPECT_EQ(planet().colonisingRaceId, -1);
    EXPECT_EQ(colonisingRace(s.planets()[static_cast<std::size_t>(s.planetA2)]), 2);
    // Everything else of the planet is as generation left it.
    TPlanetRec expected = s.content.planets[static_cast<std::size_t>(s.planetA1)];
    EXPECT_EQ(bytesOf(planet()), bytesOf(expected));
}

TEST_F(ColonyEdit, RemovedColoniesStayAsVacantRecordsAndIdsAreStable) {
    AddColony(s.base, colonyOf({false, s.planetA1}, 0));
    AddColony(s.base, colonyOf({false, s.planetA2}, 1));
    AddColony(s.base, colonyOf({true, s.moonB}, 2));
    const TColonyRec last = s.layer().colonies[2];

    const ColonyEditResult removed = RemoveColony(s.base, 1);
    EXPECT_EQ(removed.colony.worldId, s.planetA2);
    const SettledLayer layer = s.layer();
    ASSERT_EQ(layer.colonies.size(), 3U);
    EXPECT_EQ(bytesOf(layer.colonies[1]), bytesOf(vacantColony()));
    EXPECT_EQ(bytesOf(layer.colonies[2]), bytesOf(last));
    EXPECT_FALSE(isColonised(s.planets()[static_cast<std::size_t>(s.planetA2)]));
    ASSERT_EQ(layer.control.size(), 2U);
    EXPECT_EQ(layer.control[0].race, 0);  // system A is race 0's alone now

    // The freed world takes a new colony, numbered after every other.
    EXPECT_EQ(AddColony(s.base, colonyOf({false, s.planetA2}, 1)).colonyId, 3);
    expectRefused([&] { SetColony(s.base, 1, {}); }, "colony", "was removed");
    expectRefused([&] { RemoveColony(s.base, 1); }, "colony", "was removed");
    // The report skips the vacant record but counts it.
    EXPECT_NE(report(2).find("Moon base: 2\r\n"), std::string::npos);
}

TEST_F(ColonyEdit, EveryBadValueIsRefusedNamingItsFieldAndNothingChanges) {
    AddColony(s.base, colonyOf({false, s.planetA1}, 0));
    const auto planets = static_cast<std::int64_t>(s.content.planets.size());
    const auto moons = static_cast<std::int64_t>(s.content.moons.size());
    expectRefused([&] { AddColony(s.base, colonyOf({false, planets}, 0)); }, "world", "there is no planet");
    expectRefused([&] { AddColony(s.base, colonyOf({true, moons}, 0)); }, "world", "there is no moon");
    expectRefused([&] { AddColony(s.base, colonyOf({false, -1}, 0)); }, "world");
    expectRefused([&] { AddColony(s.base, colonyOf({false, s.planetA1}, 1)); }, "world", "already holds colony 0");
    expectRefused([&] { AddColony(s.base, colonyOf({false, s.planetA2}, s.races())); }, "race", "no race");
    expectRefused([&] { AddColony(s.base, colonyOf({false, s.planetA2}, kNoRace)); }, "race", "names no race");
    expectRefused([&] { AddColony(s.base, ColonyFields{}); }, "world");
    ColonyFields noRace;
    noRace.world = WorldRef{false, s.planetA2};
    expectRefused([&] { AddColony(s.base, noRace); }, "race");

    const auto refusedSet = [&](const char* field, auto change) {
        ColonyFields f;
        change(f);
        expectRefused([&] { SetColony(s.base, 0, f); }, field);
    };
    refusedSet("owner", [&](ColonyFields& f) { f.owner = kNoRace; });
    refusedSet("owner", [&](ColonyFields& f) { f.owner = s.races(); });
    refusedSet("owner", [&](ColonyFields& f) {
        f.owner = 1;
        f.independent = true;
    });
    refusedSet("population", [](ColonyFields& f) { f.populationCode = kPopulationCodeCount; });
    refusedSet("population", [](ColonyFields& f) { f.populationCode = -1; });
    refusedSet("people", [](ColonyFields& f) { f.people = populationPeople(0) - 1; });
    refusedSet("people", [](ColonyFields& f) { f.people = populationPeople(kPopulationCodeCount - 1) + 1; });
    refusedSet("people", [](ColonyFields& f) {
        f.people = 20'000;
        f.populationCode = 1;
    });
    refusedSet("type", [](ColonyFields& f) { f.type = 0; });
    refusedSet("type", [](ColonyFields& f) { f.type = 12; });
    refusedSet("starport", [](ColonyFields& f) { f.starport = 6; });
    refusedSet("law", [](ColonyFields& f) { f.law = kLastLevel + 1; });
    refusedSet("stability", [](ColonyFields& f) { f.stability = -1; });
    refusedSet("crime", [](ColonyFields& f) { f.crime = 10; });
    refusedSet("gnp", [](ColonyFields& f) { f.gnp = 65536; });
    refusedSet("power", [](ColonyFields& f) { f.power = -1; });
    expectRefused([&] { SetColony(s.base, 1, {}); }, "colony", "colonies are 0..0");
    expectRefused([&] { RemoveColony(s.base, -1); }, "colony");
}

TEST_F(ColonyEdit, TheBandEdgesOfEveryRangeAreTaken) {
    ColonyFields f = colonyOf({false, s.planetA1}, 0);
    f.populationCode = kPopulationCodeCount - 1;
    f.type = 11;
    f.starport = 5;
    f.law = kLastLevel;
    f.gnp = 0;
    AddColony(s.base, f);
    ColonyFields low;
    low.people = populationPeople(0);
    low.type = 1;
    low.starport = 1;
    low.law = 0;
    SetColony(s.base, 0, low);
    const TColonyRec c = s.layer().colonies[0];
    EXPECT_EQ(c.populationCode, 0);
    EXPECT_EQ(c.colonyType, 1);
    EXPECT_EQ(c.starport, 1);
    EXPECT_EQ(c.lawLevel, 0);
}

TEST_F(ColonyEdit, CodesAndFacilitiesAreTakenByName) {
    EXPECT_EQ(colonyTypeFromText(" high Population ", "type"), ColonyType::HighPopulation);
    EXPECT_EQ(starportFromText("none", "starport"), Starport::None);
    EXPECT_EQ(facilitiesFromText("Naval Base, orbital tower", "facilities"),
              (std::vector<Facility>{Facility::NavalBase, Facility::OrbitalTower}));
    EXPECT_TRUE(facilitiesFromText(" ", "facilities").empty());
    try {
        facilitiesFromText("Naval Base,,University", "facilities");
        ADD_FAILURE();
    } catch (const FieldError& e) {
        EXPECT_EQ(e.field(), "facilities");
        EXPECT_NE(std::string(e.what()).find("Military Base, Naval Base"), std::string::npos) << e.what();
    }
    EXPECT_THROW(colonyTypeFromText("Farm", "type"), FieldError);
    EXPECT_THROW(starportFromText("", "starport"), FieldError);
}

// Each write of an edit fails in turn; what the journal leaves once the
// sector is next taken is the old layer or the new one, byte for byte.
TEST_F(ColonyEdit, AFailureAtAnyWriteLeavesTheOldOrTheNewLayer) {
    AddColony(s.base, colonyOf({false, s.planetA1}, 0));
    AddColony(s.base, colonyOf({false, s.planetA2}, 1));
    const auto before = snapshot(s.dir);
    ColonyFields change;
    change.owner = 2;  // the colony, the planet and the control records all change
    change.populationCode = 50;
    clearFaultPlan();
    SetColony(s.base, 0, change);
    const std::int64_t writes = fileOperationCount();
    const auto after = snapshot(s.dir);
    ASSERT_NE(changedFiles(before, after), "");
    ASSERT_GE(writes, 4);

    for (std::int64_t n = 1; n <= writes; ++n) {
        for (const auto& [file, bytes] : before) writeFileBytes(file, bytes);
        for (const auto& [file, bytes] : after) {
            if (!before.contains(file)) fs::remove(file);
        }
        setFaultPlan({FaultKind::IoError, n, false});
        bool failed = false;
        try {
            SetColony(s.base, 0, change);
        } catch (const OrrError&) {
            failed = true;
        }
        clearFaultPlan();
        { const SectorLock lock = SectorLock::forChange(s.base); }  // finishes what the failure left
        const auto now = snapshot(s.dir);
        EXPECT_TRUE(now == before || now == after)
            << "write " << n << (failed ? " failed" : " passed") << ": from before" << changedFiles(before, now)
            << "; from after" << changedFiles(after, now);
        if (failed) {
            EXPECT_EQ(changedFiles(before, now), "") << "write " << n;
        }
    }
}

}  // namespace
}  // namespace orrimar

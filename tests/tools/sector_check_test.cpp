#include "tools/sector_check.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <functional>
#include <limits>

#include "common/errors.h"
#include "generation/create_sector.h"
#include "records/colony_codes.h"
#include "records/sector_base.h"
#include "support/hand_made_sector.h"
#include "support/sector_maker.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

bool mentions(const SectorCheckReport& report, const std::string& text) {
    for (const std::string& line : report.problems) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

std::string listed(const SectorCheckReport& report) {
    std::string all;
    for (const std::string& line : report.problems) all += line + "\n";
    return all;
}

struct SectorCheck : ::testing::Test {
    fs::path dir;
    std::string base;
    SectorContent content;

    void SetUp() override {
        dir = freshDir(std::string("check_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        base = (dir / "s").string();
        content = soundSector(12, 0);
    }
    // Writes the sector after `damage` and checks it.
    SectorCheckReport checkAfter(const std::function<void(SectorContent&)>& damage) {
        damage(content);
        writeSector(base, content);
        return CheckSector(base);
    }
    // Index of the first planet with a native race.
    std::size_t raceWorld() const {
        for (std::size_t i = 0; i < content.planets.size(); ++i) {
            if (hasNativeRace(content.planets[i])) return i;
        }
        return 0;
    }
};

TEST_F(SectorCheck, HandMadeSectorIsSound) {
    writeSector(base, content);
    const SectorCheckReport r = CheckSector(base);
    EXPECT_TRUE(r.sound()) << listed(r);
    EXPECT_EQ(r.systems, 12);
    EXPECT_EQ(r.planets, static_cast<std::int64_t>(content.planets.size()));
    EXPECT_EQ(r.moons, static_cast<std::int64_t>(content.moons.size()));
    EXPECT_EQ(r.races, static_cast<std::int64_t>(content.aliens.size()));
    ASSERT_GT(r.races, 0);
}

TEST_F(SectorCheck, GeneratedSectorsAreSound) {
    makeSector(base, {.seed = 77, .lastIndex = 7, .density = 60});
    makeSector(base, {.seed = 78, .lastIndex = 7, .density = 60, .x = 50, .newFile = false});
    const SectorCheckReport r = CheckSector(base);
    EXPECT_TRUE(r.sound()) << listed(r);
    EXPECT_GT(r.systems, 300);
    EXPECT_GT(r.moons, r.planets);
}

TEST_F(SectorCheck, NoSectorAtAllIsRefused) { EXPECT_THROW(CheckSector((dir / "nothing").string()), MissingError); }

TEST_F(SectorCheck, TruncatedFileIsDamaged) {
    writeSector(base, content);
    fs::resize_file(base + ".pln", fs::file_size(base + ".pln") - 10);
    const SectorCheckReport r = CheckSector(base);
    EXPECT_FALSE(r.sound());
    EXPECT_TRUE(mentions(r, "s.pln: not a whole number of 84-byte records (74 bytes over)")) << listed(r);
    // The lost last planet leaves its star's range beyond the file.
    EXPECT_TRUE(mentions(r, "outside the planet file")) << listed(r);
}

TEST_F(SectorCheck, MissingMemberIsDamaged) {
    writeSector(base, content);
    fs::remove(base + ".mon");
    const SectorCheckReport r = CheckSector(base);
    EXPECT_TRUE(mentions(r, "s.mon: missing")) << listed(r);
    // The empire file alone may be absent.
    writeSector(base, content);
    fs::remove(base + ".emp");
    EXPECT_TRUE(CheckSector(base).sound());
}

TEST_F(SectorCheck, NameHeader) {
    writeSector(base, content);
    writeRecords<TNameRec>(base + ".nam", {});
    EXPECT_TRUE(mentions(CheckSector(base), "no header record"));
    TNameRec wrong;
    wrong.kind = 1;
    wrong.value = 8;
    writeRecords<TNameRec>(base + ".nam", {wrong});
    EXPECT_TRUE(mentions(CheckSector(base), "header record has kind 1 and value 8, expected 0 and 8"));
}

TEST_F(SectorCheck, PlanetNamingTheWrongSystem) {
    const auto r = checkAfter([](SectorContent& s) { s.planets[4].systemId += 1; });
    EXPECT_EQ(r.problemCount, 1) << listed(r);
    EXPECT_TRUE(mentions(r, "planet 4: system id")) << listed(r);
    const auto out = checkAfter([](SectorContent& s) { s.planets[4].systemId = 999; });
    EXPECT_TRUE(mentions(out, "beyond the system file's 12 records")) << listed(out);
}

TEST_F(SectorCheck, StarsPlanetsMustBeConsecutive) {
    const auto r = checkAfter([](SectorContent& s) {
        for (auto& sys : s.systems) {
            if (sys.planetCount[0] > 0) {
                sys.firstPlanetId[0] += 1;
                break;
            }
        }
    });
    EXPECT_TRUE(mentions(r, "first planet id")) << listed(r);
}

TEST_F(SectorCheck, PlanetsBeyondEverySystem) {
    const auto r = checkAfter([](SectorContent& s) { s.planets.push_back(s.planets.back()); });
    const std::size_t last = content.planets.size() - 1;
    EXPECT_TRUE(mentions(r, "planets " + std::to_string(last) + ".." + std::to_string(last) + " belong to no system"))
        << listed(r);
}

TEST_F(SectorCheck, OrbitTableMustAgreeWithThePlanets) {
    // Find a planet and a belt orbit.
    std::size_t sysId = 0, star = 0;
    for (; sysId < content.systems.size(); ++sysId) {
        if (content.systems[sysId].planetCount[0] >= 3) break;
    }
    ASSERT_LT(sysId, content.systems.size());
    auto radius = checkAfter([&](SectorContent& s) { s.systems[sysId].orbit[0][star] += 1; });
    EXPECT_TRUE(mentions(radius, "orbit 1: the orbit table holds")) << listed(radius);

    content = soundSector(12, 0);
    auto notBelt = checkAfter([&](SectorContent& s) { s.systems[sysId].orbit[2][star] *= -1; });
    EXPECT_TRUE(mentions(notBelt, "orbit 3: the orbit table does not mark a belt")) << listed(notBelt);

    content = soundSector(12, 0);
    auto belt = checkAfter([&](SectorContent& s) { s.systems[sysId].orbit[0][star] *= -1; });
    EXPECT_TRUE(mentions(belt, "orbit 1: the orbit table marks a belt")) << listed(belt);
}

TEST_F(SectorCheck, MoonsMustNameTheirPlanet) {
    const auto r = checkAfter([](SectorContent& s) { s.moons[0].planetId += 1; });
    EXPECT_TRUE(mentions(r, "moon 0: planet id")) << listed(r);

    content = soundSector(12, 0);
    const auto extra = checkAfter([](SectorContent& s) { s.moons.push_back(TMoonRec{}); });
    EXPECT_TRUE(mentions(extra, "belong to no planet")) << listed(extra);

    content = soundSector(12, 0);
    const auto skipped = checkAfter([](SectorContent& s) {
        for (auto& p : s.planets) {
            if (p.moonCount > 0) {
                p.firstMoonId += 1;
                break;
            }
        }
    });
    EXPECT_TRUE(mentions(skipped, "first moon id")) << listed(skipped);
}

TEST_F(SectorCheck, NativeRacesNamedBothWays) {
    const std::size_t world = raceWorld();
    const auto wrongWorld = checkAfter(
        [&](SectorContent& s) { s.aliens[static_cast<std::size_t>(s.planets[world].nativeRaceId)].worldId = 0; });
    EXPECT_TRUE(mentions(wrongWorld, "planet " + std::to_string(world) + ": its native race")) << listed(wrongWorld);
    EXPECT_TRUE(mentions(wrongWorld, "its world 0 does not name it")) << listed(wrongWorld);

    content = soundSector(12, 0);
    const auto unnamed = checkAfter([&](SectorContent& s) { s.planets[world].features[2] = 0; });
    EXPECT_TRUE(mentions(unnamed, "its world " + std::to_string(world) + " does not name it")) << listed(unnamed);

    content = soundSector(12, 0);
    const auto beyond = checkAfter([&](SectorContent& s) { s.planets[world].nativeRaceId = 5000; });
    EXPECT_TRUE(mentions(beyond, "native race id 5000 beyond")) << listed(beyond);
}

// Two races claiming one world: the one the planet does not name is
// reported, from both sides.
TEST_F(SectorCheck, ARaceWhoseHomeNamesAnotherRace) {
    std::vector<std::size_t> homes;
    for (std::size_t i = 0; i < content.planets.size(); ++i) {
        if (hasNativeRace(content.planets[i])) homes.push_back(i);
    }
    ASSERT_GE(homes.size(), 2U);
    const std::size_t taken = homes[0];
    const std::size_t left = homes[1];
    const auto race = static_cast<std::size_t>(content.planets[left].nativeRaceId);
    ASSERT_NE(static_cast<std::int32_t>(race), content.planets[taken].nativeRaceId);
    const auto r = checkAfter([&](SectorContent& s) { s.aliens[race].worldId = static_cast<std::int32_t>(taken); });
    EXPECT_TRUE(mentions(r, fmt::format("race {}: its world {} does not name it", race, taken))) << listed(r);
    EXPECT_TRUE(mentions(r, fmt::format("planet {}: its native race {} names world {}", left, race, taken)))
        << listed(r);
    EXPECT_FALSE(r.sound());
}

TEST_F(SectorCheck, OtherIdsInRange) {
    const auto r = checkAfter([](SectorContent& s) {
        s.systems[1].systemRaceId = 400;
        s.systems[2].starCount = 0;
        s.planets[0].worldFlags = kColonised;
        s.planets[0].colonisingRaceId = 300;
        // The id is unsigned on disk: 40000 reads back as a negative int16.
        s.planets[1].worldFlags = kColonised;
        s.planets[1].colonisingRaceId = static_cast<std::int16_t>(40000 - 65536);
    });
    EXPECT_TRUE(mentions(r, "system 1: system race id 400 beyond")) << listed(r);
    EXPECT_TRUE(mentions(r, "system 2: star count 0")) << listed(r);
    EXPECT_TRUE(mentions(r, "planet 0: colonising race id 300 beyond")) << listed(r);
    EXPECT_TRUE(mentions(r, "planet 1: colonising race id 40000 beyond")) << listed(r);
}

// ---------------------------------------------------------------- one fault class each
// Each planted fault gives exactly one problem line, and that line names
// the record, the field and the value.

std::string onlyProblem(const SectorCheckReport& r) {
    EXPECT_EQ(r.problemCount, 1) << listed(r);
    return r.problems.empty() ? std::string() : r.problems.front();
}

TEST_F(SectorCheck, StarLightAndMassMustBeFiniteAndNotNegative) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(onlyProblem(checkAfter([&](SectorContent& s) { s.systems[0].luminosity[0] = nan; })),
              "system 0 star 1: luminosity nan is not a number");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([&](SectorContent& s) { s.systems[2].luminosity[2] = inf; })),
              "system 2 star 3: luminosity inf is infinite");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([&](SectorContent& s) { s.systems[1].mass[1] = -0.5F; })),
              "system 1 star 2: mass -0.5 is negative");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([&](SectorContent& s) { s.systems[1].mass[0] = -inf; })),
              "system 1 star 1: mass -inf is infinite");
    // A dark remnant: no light, no mass figure. Absent stars are not read.
    content = soundSector(12, 0);
    const auto remnant = checkAfter([&](SectorContent& s) {
        s.systems[0].luminosity[0] = 0.0F;
        s.systems[0].mass[0] = 0.0F;
        s.systems[0].luminosity[2] = nan;  // system 0 has one star
        s.systems[0].mass[1] = -1.0F;
    });
    EXPECT_TRUE(remnant.sound()) << listed(remnant);
}

TEST_F(SectorCheck, PlanetCodesInTheirTables) {
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) { s.planets[0].atmosphereClass = 7; })),
              "planet 0: atmosphere class 7 outside 1..6");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) { s.planets[1].composition = 22; })),
              "planet 1: atmosphere composition 22 outside 1..21");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) { s.planets[2].pressure = -0.001F; })),
              "planet 2: pressure -0.001 is negative");
}

TEST_F(SectorCheck, MoonWorldTypesAndCodes) {
    // 255 is no world type for a moon either.
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) { s.moons[0].worldType = 255; })),
              "moon 0: world type 255 outside 1..23");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) { s.moons[1].worldType = 0; })),
              "moon 1: world type 0 outside 1..23");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) { s.moons[1].atmosphereClass = 0; })),
              "moon 1: atmosphere class 0 outside 1..6");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) { s.moons[2].composition = 0; })),
              "moon 2: atmosphere composition 0 outside 1..21");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(
                  checkAfter([](SectorContent& s) { s.moons[0].pressure = std::numeric_limits<float>::quiet_NaN(); })),
              "moon 0: pressure nan is not a number");
    // The edges of the table are world types.
    content = soundSector(12, 0);
    const auto edges = checkAfter([](SectorContent& s) {
        s.moons[0].worldType = 1;
        s.moons[1].worldType = 23;
    });
    EXPECT_TRUE(edges.sound()) << listed(edges);
}

// A colony as another program writes it: on planet 0, people of race 0,
// independent, 60 million people, agricultural, an excellent starport.
TColonyRec soundColony() {
    TColonyRec c;
    c.kind = 1;
    c.worldId = 0;
    c.race = 0;
    c.allegiance = 65535;
    c.populationCode = 35;
    c.colonyType = 1;
    c.starport = 1;
    return c;
}

TEST_F(SectorCheck, ColoniesPointAtWorldsAndRaces) {
    const auto sound = checkAfter([](SectorContent& s) {
        s.colonies = {soundColony(), soundColony()};
        s.colonies[1].kind = 2;  // a moon base on the last moon, owned by the last race
        s.colonies[1].worldId = static_cast<std::int32_t>(s.moons.size() - 1);
        s.colonies[1].allegiance = static_cast<std::uint16_t>(s.aliens.size() - 1);
        s.colonies[1].populationCode = 69;
        s.colonies[1].colonyType = 11;
        s.colonies[1].starport = 5;
    });
    EXPECT_TRUE(sound.sound()) << listed(sound);
    const std::string planets = std::to_string(content.planets.size());
    const std::string moons = std::to_string(content.moons.size());
    const std::string races = std::to_string(content.aliens.size());

    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) {
                  s.colonies = {soundColony()};
                  s.colonies[0].worldId = 1'000'000;
              })),
              "colony 0: world id 1000000 beyond the planet file's " + planets + " records");
    // A moon base counts in the moon file: a planet id past it is wrong.
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) {
                  s.colonies = {soundColony()};
                  s.colonies[0].kind = 0;
                  s.colonies[0].worldId = static_cast<std::int32_t>(s.moons.size());
              })),
              "colony 0: world id " + moons + " beyond the moon file's " + moons + " records");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) {
                  s.colonies = {soundColony()};
                  s.colonies[0].worldId = -1;
              })),
              "colony 0: world id -1 beyond the planet file's " + planets + " records");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) {
                  s.colonies = {soundColony()};
                  s.colonies[0].race = static_cast<std::uint16_t>(s.aliens.size());
              })),
              "colony 0: race " + races + " beyond the race file's " + races + " records");
    content = soundSector(12, 0);
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) {
                  s.colonies = {soundColony()};
                  s.colonies[0].allegiance = 65534;
              })),
              "colony 0: allegiance 65534 beyond the race file's " + races + " records");
}

TEST_F(SectorCheck, ColonyCodesInTheReportsTables) {
    const auto one = [this](const std::function<void(TColonyRec&)>& damage) {
        content = soundSector(12, 0);
        return onlyProblem(checkAfter([&](SectorContent& s) {
            s.colonies = {soundColony(), soundColony()};
            damage(s.colonies[1]);
        }));
    };
    EXPECT_EQ(one([](TColonyRec& c) { c.colonyType = 0; }), "colony 1: colony type 0 outside 1..11");
    EXPECT_EQ(one([](TColonyRec& c) { c.colonyType = 12; }), "colony 1: colony type 12 outside 1..11");
    EXPECT_EQ(one([](TColonyRec& c) { c.populationCode = 70; }), "colony 1: population code 70 outside 0..69");
    EXPECT_EQ(one([](TColonyRec& c) { c.starport = 0; }), "colony 1: starport class 0 outside 1..5");
    EXPECT_EQ(one([](TColonyRec& c) { c.starport = 6; }), "colony 1: starport class 6 outside 1..5");
}

TEST_F(SectorCheck, ControlAndEmpireFilesHoldWholeRecords) {
    writeSector(base, content);
    // All-zero control records name system 0 and race 0: sound but for the tail.
    writeFileBytes(base + ".con", std::string(6 * 3 + 4, '\0'));
    EXPECT_EQ(onlyProblem(CheckSector(base)), base + ".con: not a whole number of 6-byte records (4 bytes over)");
    writeRecords<TConRec>(base + ".con", {TConRec{1, 0}, TConRec{0, 0}, TConRec{2, 0}});
    TEmpireRec empire;
    empire.race = 0;
    empire.capitalSystemId = 1;
    empire.name.assign("Hegemony");
    writeRecords<TEmpireRec>(base + ".emp", {empire, vacantEmpire()});
    EXPECT_TRUE(CheckSector(base).sound()) << listed(CheckSector(base));
    std::string withTail = fileBytes(base + ".emp");
    withTail.append(51, '\x01');
    writeFileBytes(base + ".emp", withTail);
    EXPECT_EQ(onlyProblem(CheckSector(base)), base + ".emp: not a whole number of 52-byte records (51 bytes over)");
}

// The settled layer's references: every control record names a system and a
// race, every empire a race and a capital, every empire a name; vacant
// records (removed ones keeping their numbers) are sound.
TEST_F(SectorCheck, SettledLayerReferencesAreChecked) {
    writeSector(base, content);
    const auto systems = static_cast<std::int32_t>(content.systems.size());
    const auto races = static_cast<std::uint16_t>(content.aliens.size());
    const std::string raceCount = std::to_string(races);
    const std::string systemCount = std::to_string(systems);

    writeRecords<TConRec>(base + ".con", {TConRec{systems, 0}});
    EXPECT_EQ(onlyProblem(CheckSector(base)),
              "control 0: system id " + systemCount + " beyond the system file's " + systemCount + " records");
    writeRecords<TConRec>(base + ".con", {TConRec{0, races}});
    EXPECT_EQ(onlyProblem(CheckSector(base)),
              "control 0: race " + raceCount + " beyond the race file's " + raceCount + " records");
    writeRecords<TConRec>(base + ".con", {});

    TEmpireRec empire;
    empire.race = races;
    empire.capitalSystemId = 0;
    empire.name.assign("Lost Realm");
    writeRecords<TEmpireRec>(base + ".emp", {empire});
    EXPECT_EQ(onlyProblem(CheckSector(base)),
              "empire 0: race " + raceCount + " beyond the race file's " + raceCount + " records");
    empire.race = 0;
    empire.capitalSystemId = -1;
    writeRecords<TEmpireRec>(base + ".emp", {empire});
    EXPECT_EQ(onlyProblem(CheckSector(base)),
              "empire 0: capital system id -1 beyond the system file's " + systemCount + " records");
    empire.capitalSystemId = 0;
    empire.name.length = 0;
    writeRecords<TEmpireRec>(base + ".emp", {empire});
    EXPECT_EQ(onlyProblem(CheckSector(base)), "empire 0: name length 0 outside 1..39");
    empire.name.length = 40;
    writeRecords<TEmpireRec>(base + ".emp", {empire});
    EXPECT_EQ(onlyProblem(CheckSector(base)), "empire 0: name length 40 outside 1..39");
    writeRecords<TEmpireRec>(base + ".emp", {vacantEmpire()});
    content.colonies.push_back(vacantColony());
    writeSector(base, content);
    writeRecords<TEmpireRec>(base + ".emp", {vacantEmpire()});
    EXPECT_TRUE(CheckSector(base).sound()) << listed(CheckSector(base));
}

TEST_F(SectorCheck, NegatedHomeWorldOfAPlanetIsSound) {
    // Other programs write a home world negated, and the merger keeps it so.
    const auto negated = checkAfter([](SectorContent& s) {
        TAlienRec settlers;
        settlers.worldId = -7;
        s.aliens.push_back(settlers);
        TAlienRec last;
        last.worldId = -static_cast<std::int32_t>(s.planets.size() - 1);
        s.aliens.push_back(last);
    });
    EXPECT_TRUE(negated.sound()) << listed(negated);
    // Its magnitude must still be a planet.
    content = soundSector(12, 0);
    const std::string planets = std::to_string(content.planets.size());
    const std::string race = std::to_string(content.aliens.size());
    EXPECT_EQ(onlyProblem(checkAfter([](SectorContent& s) {
                  TAlienRec beyond;
                  beyond.worldId = -static_cast<std::int32_t>(s.planets.size());
                  s.aliens.push_back(beyond);
              })),
              "race " + race + ": world id -" + planets + " beyond the planet file's " + planets + " records");
}

TEST_F(SectorCheck, NameRecordsPointAtRecords) {
    writeSector(base, content);
    TNameRec header;
    header.value = 8;
    header.name.assign("hand made");
    TNameRec system;
    system.kind = 1;
    system.value = 12;  // one past the last system
    system.name.assign("Nowhere");
    writeRecords<TNameRec>(base + ".nam", {header, system});
    EXPECT_EQ(onlyProblem(CheckSector(base)),
              base + ".nam: record 1 names system 12, but the sector has 12 system records");
}

TEST_F(SectorCheck, ListStopsButCountGoesOn) {
    content = soundSector(400, 0);
    const auto r = checkAfter([](SectorContent& s) {
        for (auto& p : s.planets) p.systemId = -1;
    });
    EXPECT_EQ(r.problems.size(), kMaxListedProblems);
    EXPECT_GT(r.problemCount, static_cast<std::int64_t>(kMaxListedProblems));
}

}  // namespace
}  // namespace orrimar

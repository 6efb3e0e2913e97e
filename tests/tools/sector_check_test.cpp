#include "tools/sector_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/errors.h"
#include "generation/create_sector.h"
#include "tools/hand_made_sector.h"

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
            if (content.planets[i].features[2] == kNativeRace) return i;
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
    CreateSectorParams p;
    p.baseName = base;
    p.seed = 77;
    p.lastIndex = 7;
    p.density = 60;
    p.settingsPath = (dir / "none.ini").string();
    CreateSector(p);
    p.newFile = false;
    p.seed = 78;
    p.x = 50;
    CreateSector(p);
    const SectorCheckReport r = CheckSector(base);
    EXPECT_TRUE(r.sound()) << listed(r);
    EXPECT_GT(r.systems, 300);
    EXPECT_GT(r.moons, r.planets);
}

TEST_F(SectorCheck, NoSectorAtAllIsRefused) {
    EXPECT_THROW(CheckSector((dir / "nothing").string()), InputError);
}

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
    EXPECT_TRUE(mentions(r, "planets " + std::to_string(last) + ".." + std::to_string(last) +
                                " belong to no system"))
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
    const auto wrongWorld = checkAfter([&](SectorContent& s) {
        s.aliens[static_cast<std::size_t>(s.planets[world].nativeRaceId)].worldId = 0;
    });
    EXPECT_TRUE(mentions(wrongWorld, "planet " + std::to_string(world) + ": its native race")) << listed(wrongWorld);
    EXPECT_TRUE(mentions(wrongWorld, "its world 0 does not name it")) << listed(wrongWorld);

    content = soundSector(12, 0);
    const auto unnamed = checkAfter([&](SectorContent& s) { s.planets[world].features[2] = 0; });
    EXPECT_TRUE(mentions(unnamed, "its world " + std::to_string(world) + " does not name it")) << listed(unnamed);

    content = soundSector(12, 0);
    const auto beyond = checkAfter([&](SectorContent& s) { s.planets[world].nativeRaceId = 5000; });
    EXPECT_TRUE(mentions(beyond, "native race id 5000 beyond")) << listed(beyond);
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

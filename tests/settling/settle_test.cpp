#include "settling/settle_sector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "common/file_io.h"
#include "generation/create_sector.h"
#include "records/colony_codes.h"
#include "records/record_reader.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "settling/settled_layer.h"
#include "settling/settling_rules.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "tools/sector_check.h"
#include "support/sector_maker.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::freshTestDir;
using testing::makeSector;

template <typename T>
std::vector<T> readAll(const std::string& path) {
    RecordReader<T> file(path, IfMissing::Empty);
    std::vector<T> records;
    file.forEach([&](std::int64_t, const T& r) { records.push_back(r); });
    return records;
}

std::map<std::string, std::string> memberBytes(const std::string& base) {
    std::map<std::string, std::string> bytes;
    for (const auto ext : kSectorMemberExtensions) bytes[std::string(ext)] = fileBytes(base + std::string(ext));
    return bytes;
}

double distance(const TSystemRec& a, const TSystemRec& b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    const double dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// A sector of some 1,700 systems and 70 races, a handful of them star travellers.
class Settle : public ::testing::Test {
protected:
    std::string base;

    void SetUp() override {
        const auto dir = freshTestDir("settle");
        base = (dir / "s").string();
        makeSector(base, {.seed = 11, .lastIndex = 13, .density = 60, .maxSpatialAge = 120});
    }

    SettleResult settle(std::uint64_t seed = 7, bool replace = false) {
        SettleParams p;
        p.seed = seed;
        p.replace = replace;
        return SettleSector(base, p);
    }
};

// Every rule of settling, held against the records it wrote.
TEST_F(Settle, EveryRuleHoldsInTheRecords) {
    const SettleResult result = settle();
    const auto systems = readAll<TSystemRec>(base + ".sun");
    const auto planets = readAll<TPlanetRec>(base + ".pln");
    const auto moons = readAll<TMoonRec>(base + ".mon");
    const auto races = readAll<TAlienRec>(base + ".aln");
    const SettledLayer layer = ReadSettledLayer(base);
    ASSERT_GT(result.settlingRaces, 0) << "the sector should hold star travellers";
    ASSERT_GT(result.moonBases + result.independents, 0);

    const WorldCounts counts{static_cast<std::int64_t>(systems.size()), static_cast<std::int64_t>(planets.size()),
                             static_cast<std::int64_t>(moons.size())};
    auto planetAt = [&](std::int64_t id) { return planets[static_cast<std::size_t>(id)]; };
    auto moonAt = [&](std::int64_t id) { return moons[static_cast<std::size_t>(id)]; };
    auto homeSystem = [&](std::uint16_t race) {
        return planets[static_cast<std::size_t>(races[race].worldId)].systemId;
    };
    auto standing = [&](std::uint16_t race) { return RaceStanding{races[race].techLevel, races[race].spatialAge}; };

    std::map<std::uint16_t, int> homes;
    std::map<std::uint16_t, int> beyondHome;
    std::set<std::pair<bool, std::int32_t>> worlds;
    std::map<std::int64_t, std::set<std::uint16_t>> racesBySystem;
    for (const TColonyRec& c : layer.colonies) {
        ASSERT_FALSE(isVacant(c));
        EXPECT_TRUE(worlds.insert({isMoonBase(c), c.worldId}).second) << "one colony per world";
        const std::int64_t system = colonySystem(c, counts, planetAt, moonAt);
        ASSERT_GE(system, 0);
        if (c.colonyType == static_cast<std::uint8_t>(ColonyType::Homeworld)) {
            ++homes[c.race];
            EXPECT_EQ(c.worldId, races[c.race].worldId);
            EXPECT_EQ(c.allegiance, c.race) << "a home world is its race's own";
            continue;
        }
        ++beyondHome[c.race];
        racesBySystem[system].insert(c.race);
        const RaceStanding mine = standing(c.race);
        EXPECT_GE(mine.level, kFirstSpacefaringLevel);
        const double d =
            distance(systems[static_cast<std::size_t>(system)], systems[static_cast<std::size_t>(homeSystem(c.race))]);
        EXPECT_LE(d, reachParsecs(mine) + 1e-9) << "colony beyond its race's reach";
        // No older, stronger race reaches the system: it would have taken it.
        for (std::uint16_t other = 0; other < races.size(); ++other) {
            if (other == c.race || !strongerThan(standing(other), other, mine, c.race)) continue;
            const double od = distance(systems[static_cast<std::size_t>(system)],
                                       systems[static_cast<std::size_t>(homeSystem(other))]);
            EXPECT_GT(od, reachParsecs(standing(other))) << "race " << other << " is stronger and reaches it";
        }
        // The world taken is the best of its system for the race, a planet
        // winning a tie over its moons.
        const WorldFacts home =
            planetFacts(races[c.race].worldId, planets[static_cast<std::size_t>(races[c.race].worldId)]);
        const WorldFacts taken =
            isMoonBase(c) ? moonFacts(c.worldId, moonAt(c.worldId)) : planetFacts(c.worldId, planetAt(c.worldId));
        for (std::size_t p = 0; p < planets.size(); ++p) {
            if (planets[p].systemId != system || hasNativeRace(planets[p])) continue;
            EXPECT_LE(worldWorth(planetFacts(static_cast<std::int64_t>(p), planets[p]), home),
                      worldWorth(taken, home) + (isMoonBase(c) ? -1e-12 : 1e-12));
        }
    }
    for (std::uint16_t r = 0; r < races.size(); ++r) {
        EXPECT_EQ(homes[r], 1) << "race " << r << " holds its home world";
        EXPECT_LE(beyondHome[r], colonyBudget(standing(r)));
    }
    for (const auto& [system, owners] : racesBySystem) EXPECT_EQ(owners.size(), 1U) << "system " << system;

    // An empire for every race owning a colony beyond home, its capital the home system.
    std::set<std::uint16_t> owningBeyondHome;
    for (const TColonyRec& c : layer.colonies) {
        if (c.colonyType != static_cast<std::uint8_t>(ColonyType::Homeworld) && c.allegiance != kNoRace) {
            owningBeyondHome.insert(c.allegiance);
        }
    }
    std::set<std::uint16_t> empireRaces;
    for (const TEmpireRec& e : layer.empires) {
        empireRaces.insert(e.race);
        EXPECT_EQ(e.capitalSystemId, homeSystem(e.race));
        EXPECT_GT(e.name.length, 0);
        EXPECT_EQ(e.colour, empireColourFor(e.race));
    }
    EXPECT_EQ(empireRaces, owningBeyondHome);

    // Control: one record per system with an owned colony; planets name their owners.
    std::set<std::int64_t> owned;
    for (const TColonyRec& c : layer.colonies) {
        if (c.allegiance != kNoRace) owned.insert(colonySystem(c, counts, planetAt, moonAt));
    }
    EXPECT_EQ(layer.control.size(), owned.size());
    for (const TConRec& con : layer.control) EXPECT_TRUE(owned.contains(std::int64_t{con.systemId}));
    std::map<std::int32_t, std::uint16_t> planetOwner;
    for (const TColonyRec& c : layer.colonies) {
        if (!isMoonBase(c) && c.allegiance != kNoRace) planetOwner[c.worldId] = c.allegiance;
    }
    for (std::size_t p = 0; p < planets.size(); ++p) {
        const auto at = planetOwner.find(static_cast<std::int32_t>(p));
        EXPECT_EQ(colonisingRace(planets[p]), at == planetOwner.end() ? kNoRace : at->second) << "planet " << p;
    }
    const SectorCheckReport check = CheckSector(base);
    EXPECT_TRUE(check.sound()) << (check.problems.empty() ? "" : check.problems.front());
    for (const std::string& w : check.warnings) EXPECT_EQ(w.find("colony"), std::string::npos) << w;
}

// The layer is a function of the seed and the sector; a second settle is
// refused without --replace, and with it only the settled layer and the
// planets' colonising race and flag change.
TEST_F(Settle, SeededRefusedTwiceAndReplacedInPlace) {
    const auto generated = memberBytes(base);
    settle(7);
    const auto first = memberBytes(base);
    EXPECT_THROW(settle(7), SectorSettledError);
    EXPECT_EQ(memberBytes(base), first) << "a refused settle touches nothing";

    settle(8, true);
    EXPECT_NE(memberBytes(base)[".col"], first.at(".col"));
    settle(7, true);
    EXPECT_EQ(memberBytes(base), first) << "the same seed settles the same way";

    const auto now = memberBytes(base);
    for (const char* ext : {".sun", ".mon", ".aln", ".nam", ".cmt"}) EXPECT_EQ(now.at(ext), generated.at(ext)) << ext;
    const std::string& before = generated.at(".pln");
    const std::string& after = now.at(".pln");
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::size_t at = i % sizeof(TPlanetRec);
        if (at == 12 || at == 13 || at == 57) continue;  // colonising race id, world flags
        ASSERT_EQ(before[i], after[i]) << "planet " << i / sizeof(TPlanetRec) << " byte " << at;
    }
}

// A settle that fails at any write (a full disk part-way through any of
// them) leaves the sector as it was, byte for byte, settled or not.
TEST_F(Settle, AFailureAtAnyWriteLeavesTheOldLayer) {
    settle(3);
    const auto old = memberBytes(base);
    int failures = 0;
    for (std::int64_t at = 1; at < 200; ++at) {
        setFaultPlan({FaultKind::NoSpace, at, false});
        try {
            settle(4, true);
            clearFaultPlan();
            break;
        } catch (const IoError&) {
            clearFaultPlan();
            ++failures;
            ASSERT_EQ(memberBytes(base), old) << "after a failure at write " << at;
            ASSERT_FALSE(fs::exists(base + ".jnl"));
        }
    }
    EXPECT_GT(failures, 4);
    EXPECT_NE(memberBytes(base).at(".col"), old.at(".col"));
}

}  // namespace
}  // namespace orrimar

// A system is a function of the run seed and its cell: runs that share a
// seed agree on every cell they share, whatever their blocks, densities or
// order of runs. Systems are compared decoded, with every id made relative
// to the system's own first records, so that their position in the files
// does not matter.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "common/random.h"
#include "generation/create_sector.h"
#include "records/record_codec.h"
#include "records/sector_files.h"
#include "records/records.h"
#include "sector_fixture.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;
using Cell = std::tuple<int, int, int>;

struct SectorRecords {
    std::vector<TSystemRec> systems;
    std::vector<TPlanetRec> planets;
    std::vector<TMoonRec> moons;
    std::vector<TAlienRec> races;
};

SectorRecords readSector(const std::string& base) {
    return {readAll<TSystemRec>(base + ".sun"), readAll<TPlanetRec>(base + ".pln"), readAll<TMoonRec>(base + ".mon"),
            readAll<TAlienRec>(base + ".aln")};
}

// The bytes of one system and everything it owns, ids relative to the
// system's first planet, moon and race: equal for the same system wherever
// it sits in a file.
std::string canonicalSystem(const SectorRecords& s, std::size_t systemId) {
    TSystemRec system = s.systems.at(systemId);
    const std::int32_t firstPlanet = system.firstPlanetId[0];
    std::vector<std::int32_t> planetIds;
    for (int star = 0; star < system.starCount; ++star) {
        const auto st = static_cast<std::size_t>(star);
        for (int i = 0; i < system.planetCount[st]; ++i) planetIds.push_back(system.firstPlanetId[st] + i);
        system.firstPlanetId[st] -= firstPlanet;
    }
    for (int star = system.starCount; star < 3; ++star) system.firstPlanetId[static_cast<std::size_t>(star)] = 0;
    std::string out = bytesOf(system);
    std::int32_t firstMoon = -1;
    std::int32_t firstRace = -1;
    for (const std::int32_t id : planetIds) {
        TPlanetRec planet = s.planets.at(static_cast<std::size_t>(id));
        EXPECT_EQ(planet.systemId, static_cast<std::int32_t>(systemId));
        planet.systemId = 0;
        if (planet.moonCount > 0) {
            if (firstMoon < 0) firstMoon = planet.firstMoonId;
            for (int m = 0; m < planet.moonCount; ++m) {
                TMoonRec moon = s.moons.at(static_cast<std::size_t>(planet.firstMoonId + m));
                EXPECT_EQ(moon.planetId, id);
                moon.planetId -= firstPlanet;
                out += bytesOf(moon);
            }
            planet.firstMoonId -= firstMoon;
        }
        if (hasNativeRace(planet)) {
            if (firstRace < 0) firstRace = planet.nativeRaceId;
            TAlienRec race = s.races.at(static_cast<std::size_t>(planet.nativeRaceId));
            EXPECT_EQ(race.worldId, id);
            race.worldId -= firstPlanet;
            out += bytesOf(race);
            planet.nativeRaceId -= firstRace;
        }
        out += bytesOf(planet);
    }
    return out;
}

std::map<Cell, std::string> systemsByCell(const std::string& base) {
    const SectorRecords s = readSector(base);
    std::map<Cell, std::string> out;
    for (std::size_t i = 0; i < s.systems.size(); ++i) {
        const Cell cell{s.systems[i].x, s.systems[i].y, s.systems[i].z};
        EXPECT_EQ(out.count(cell), 0U) << "two systems in one cell";
        out[cell] = canonicalSystem(s, i);
    }
    return out;
}

CreateSectorParams run(const std::string& base, int size, int density, std::int16_t x, std::int16_t y, std::int16_t z,
                       bool flat) {
    CreateSectorParams p;
    p.baseName = base;
    p.sectorName = "galaxy";
    p.seed = 42;
    p.lastIndex = size - 1;
    p.density = static_cast<std::uint8_t>(density);
    p.x = x;
    p.y = y;
    p.z = z;
    p.flat = flat;
    p.settingsPath = (fs::path(testTmp()) / "no-such-orrwin.ini").string();
    return p;
}

void create(const CreateSectorParams& p) {
    CreateSector(p);
    expectSound(p.baseName);
}

// Every cell of `small` holds exactly what the same cell of `large` holds
// (both present or both empty within small's block), and at least `minShared`
// systems were compared.
void expectSameOnSharedCells(const std::map<Cell, std::string>& small, const std::map<Cell, std::string>& large,
                             std::size_t minShared) {
    std::size_t shared = 0;
    for (const auto& [cell, bytes] : small) {
        const auto found = large.find(cell);
        ASSERT_NE(found, large.end()) << std::get<0>(cell) << "," << std::get<1>(cell) << "," << std::get<2>(cell);
        EXPECT_EQ(found->second, bytes);
        ++shared;
    }
    EXPECT_GE(shared, minShared);
}

TEST(SeededGalaxy, CellsSharedByBlocksOfAnySizeCornerOrDepthHoldTheSameSystems) {
    const fs::path dir = freshGenerationDir("galaxy-blocks");
    const auto large = run((dir / "large").string(), 8, 30, -3, -3, -3, false);
    create(large);
    const auto big = systemsByCell(large.baseName);

    // A smaller cube at another corner inside the large one.
    const auto inner = run((dir / "inner").string(), 4, 30, -1, 0, 1, false);
    create(inner);
    const auto small = systemsByCell(inner.baseName);
    expectSameOnSharedCells(small, big, 5);
    // Cells of the large block inside the small one are all in the small one.
    std::size_t inside = 0;
    for (const auto& [cell, bytes] : big) {
        const auto [x, y, z] = cell;
        if (x >= -1 && x <= 2 && y >= 0 && y <= 3 && z >= 1 && z <= 4) {
            ++inside;
            EXPECT_EQ(small.count(cell), 1U);
        }
    }
    EXPECT_EQ(inside, small.size());

    // A flat block is the layer z = corner of the cube.
    const auto flat = run((dir / "flat").string(), 6, 30, -3, -2, 0, true);
    create(flat);
    const auto layer = systemsByCell(flat.baseName);
    expectSameOnSharedCells(layer, big, 3);
}

TEST(SeededGalaxy, AnAppendedNeighbourBlockExtendsTheSameGalaxy) {
    const fs::path dir = freshGenerationDir("galaxy-append");
    const auto whole = run((dir / "whole").string(), 6, 40, 0, 0, 0, true);
    create(whole);

    // The same square made as a left half, then its right neighbour appended:
    // two 3-wide blocks cover columns 0..2 and 3..5 of the first 3 rows ...
    auto left = run((dir / "halves").string(), 3, 40, 0, 0, 0, true);
    create(left);
    auto right = left;
    right.x = 3;
    right.newFile = false;
    create(right);
    const auto halves = systemsByCell(left.baseName);
    expectSameOnSharedCells(halves, systemsByCell(whole.baseName), 4);
}

TEST(SeededGalaxy, AtAHigherDensityEverySystemStaysInItsCell) {
    const fs::path dir = freshGenerationDir("galaxy-density");
    const auto sparse = run((dir / "sparse").string(), 6, 10, 5, 5, 5, false);
    create(sparse);
    const auto dense = run((dir / "dense").string(), 6, 60, 5, 5, 5, false);
    create(dense);
    const auto few = systemsByCell(sparse.baseName);
    const auto many = systemsByCell(dense.baseName);
    expectSameOnSharedCells(few, many, 10);
    EXPECT_GT(many.size(), few.size() * 3);
}

TEST(SeededGalaxy, WithoutASeedTheClockSeedsTheRunAndDifferentSeedsDiffer) {
    const fs::path dir = freshGenerationDir("galaxy-clock");
    auto a = run((dir / "a").string(), 4, 100, 0, 0, 0, true);
    a.seed.reset();
    const auto first = CreateSector(a);
    auto b = run((dir / "b").string(), 4, 100, 0, 0, 0, true);
    b.seed.reset();
    const auto second = CreateSector(b);
    EXPECT_NE(first.seed, second.seed);
    EXPECT_NE(systemsByCell(a.baseName), systemsByCell(b.baseName));
    // The reported seed remakes the run exactly.
    auto again = run((dir / "again").string(), 4, 100, 0, 0, 0, true);
    again.seed = first.seed;
    create(again);
    EXPECT_EQ(fileBytes(again.baseName + ".sun"), fileBytes(a.baseName + ".sun"));
    EXPECT_EQ(fileBytes(again.baseName + ".pln"), fileBytes(a.baseName + ".pln"));
}

TEST(CellSeed, NeighbouringCellsAndSeedsGiveUnrelatedStreams) {
    // Each coordinate, and the seed, moves the cell seed; and the density
    // roll (the stream's first draw) is spread evenly over 0..99.
    const std::uint64_t base = cellSeed(42, 0, 0, 0);
    EXPECT_NE(base, cellSeed(42, 1, 0, 0));
    EXPECT_NE(base, cellSeed(42, 0, 1, 0));
    EXPECT_NE(base, cellSeed(42, 0, 0, 1));
    EXPECT_NE(base, cellSeed(43, 0, 0, 0));
    EXPECT_NE(cellSeed(42, 1, 0, 0), cellSeed(42, 0, 1, 0));
    EXPECT_NE(cellSeed(42, -1, 0, 0), cellSeed(42, 1, 0, 0));
    int counts[10] = {};
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 100; ++y) {
            seedRandom(cellSeed(7, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0));
            ++counts[randomBelow(100) / 10];
        }
    }
    for (const int c : counts) {
        EXPECT_GT(c, 880);  // 1000 expected per tenth; about 4 standard deviations
        EXPECT_LT(c, 1120);
    }
}

}  // namespace
}  // namespace orrimar

namespace orrimar {
namespace {

using namespace orrimar::testing;

TEST(SectorLoop, TheAfterCommitHookSeesEverySystemOnceInLoopOrderWithItsFinalId) {
    const fs::path dir = freshGenerationDir("after-commit");
    CreateSectorParams p;
    p.baseName = (dir / "sec").string();
    p.seed = 9;
    p.lastIndex = 3;
    p.density = 50;
    p.settingsPath = (dir / "no-orrwin.ini").string();
    std::vector<CommittedSystem> seen;
    p.afterCommit = [&](SectorFiles& files, const CommittedSystem& system) {
        // The system is already in the file when the hook runs.
        EXPECT_EQ(files.systems().count(), system.systemId + 1);
        EXPECT_EQ(files.systems().read(system.systemId).x, system.x);
        seen.push_back(system);
    };
    CreateSector(p);
    p.newFile = false;
    p.x = 4;
    CreateSector(p);
    expectSound(p.baseName);
    const auto systems = readAll<TSystemRec>(p.baseName + ".sun");
    ASSERT_EQ(seen.size(), systems.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].systemId, static_cast<std::int64_t>(i));
        EXPECT_EQ(seen[i].x, systems[i].x);
        EXPECT_EQ(seen[i].y, systems[i].y);
        EXPECT_EQ(seen[i].z, systems[i].z);
    }
}

}  // namespace
}  // namespace orrimar

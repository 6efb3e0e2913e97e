#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "atlas_fixture.h"

#include "atlas/atlas_model.h"
#include "common/ansi_text.h"
#include "names/sector_names.h"
#include "vocabulary/body_names.h"
#include "common/bit_flags.h"
#include "common/errors.h"
#include "records/record_file.h"

namespace orrimar::atlas {
namespace {

using atlastest::makeSector;
using atlastest::modelOf;
using atlastest::readAll;

TEST(AtlasModel, EntriesAndSummariesAgreeWithTheRecords) {
    const std::string base = makeSector("s", 5, 9, 30);
    const AtlasModel model = AtlasModel::open(base);
    const auto systems = readAll<TSystemRec>(sectorPath(base, ".sun"));
    ASSERT_GT(systems.size(), 100U);
    ASSERT_EQ(model.size(), static_cast<SystemId>(systems.size()));
    EXPECT_TRUE(model.warnings().empty());
    EXPECT_EQ(model.sectorName(), "Test Reach");
    const auto planets = atlastest::planetsBySystem(base, systems.size());
    const SectorNames names = SectorNames::load(base);
    int named = 0;
    for (SystemId id = 0; id < model.size(); ++id) {
        const auto name = names.system(id);
        EXPECT_EQ(model.name(id), name ? ansiToUtf8(*name) : std::string()) << id;
        named += name.has_value();
    }
    EXPECT_EQ(named, model.size()) << "a generated sector names every system";
    int sentient = 0;
    for (SystemId id = 0; id < model.size(); ++id) {
        const auto& s = systems[static_cast<std::size_t>(id)];
        const SystemEntry& e = model.entry(id);
        EXPECT_EQ(e.x, s.x);
        EXPECT_EQ(e.y, s.y);
        EXPECT_EQ(e.z, s.z);
        EXPECT_EQ(e.starKind, s.starKind[0]);
        EXPECT_EQ(e.starCount, s.starCount);
        EXPECT_EQ(e.brightness, brightnessClass(s.luminosity[0]));
        const auto& ps = planets[static_cast<std::size_t>(id)];
        EXPECT_EQ(e.worldCount, ps.size());
        std::uint8_t life = 0;
        bool race = false;
        std::uint32_t types = 0;
        int breathable = 0;
        for (const auto& p : ps) {
            types |= 1U << p.worldType;
            life = std::max(life, static_cast<std::uint8_t>(vocabulary::lifeLevel(p.features)));
            race = race || testBit(p.features[2], 3);
            if (p.composition == 2 && (p.atmosphereClass == 3 || p.atmosphereClass == 4)) ++breathable;
        }
        EXPECT_EQ(e.life, life) << id;
        EXPECT_EQ((e.marks & kMarkNativeRace) != 0, race) << id;
        EXPECT_EQ((e.marks & kMarkNativeLife) != 0, life != 0) << id;
        EXPECT_EQ(model.worlds(id).worldTypes, types) << id;
        EXPECT_EQ(model.worlds(id).breathable, breathable) << id;
        if (race) ++sentient;
    }
    EXPECT_GT(sentient, 0) << "the seed should give at least one native race";
    EXPECT_EQ(model.bounds().min, (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(model.bounds().max, (std::array<int, 3>{9, 9, 9}));
}

TEST(AtlasModel, BrightnessClassBandEdges) {
    EXPECT_EQ(brightnessClass(0.0F), 0);
    EXPECT_EQ(brightnessClass(0.0099F), 0);
    EXPECT_EQ(brightnessClass(0.01F), 1);
    EXPECT_EQ(brightnessClass(0.099F), 1);
    EXPECT_EQ(brightnessClass(1.0F), 3);
    EXPECT_EQ(brightnessClass(9.9F), 3);
    EXPECT_EQ(brightnessClass(10.0F), 4);
    EXPECT_EQ(brightnessClass(99999.0F), 7);
    EXPECT_EQ(brightnessClass(1e9F), 7);
    EXPECT_EQ(brightnessClass(std::nanf("")), 0);
    EXPECT_EQ(brightnessClass(-5.0F), 0);
}

TEST(AtlasModel, BreathableIsNitrogenOxygenAtStandardOrThinPressure) {
    EXPECT_TRUE(isBreathable(2, 3));
    EXPECT_TRUE(isBreathable(2, 4));
    EXPECT_FALSE(isBreathable(2, 2));  // dense
    EXPECT_FALSE(isBreathable(2, 5));  // trace
    EXPECT_FALSE(isBreathable(4, 3));  // nitrogen alone
    EXPECT_FALSE(isBreathable(15, 3));
}

// The spatial index against a scan of every system: spheres of several
// radii round many points, boxes, and single cells, on a dense cube with
// negative coordinates and on systems spread so far apart that the index
// keeps only its occupied buckets.
void checkIndexAgainstBruteForce(const AtlasModel& model, std::mt19937& rng) {
    const Bounds& b = model.bounds();
    std::uniform_int_distribution<int> pick(0, model.size() - 1);
    for (int round = 0; round < 60; ++round) {
        const SystemEntry& c = model.entry(pick(rng));
        const int cx = c.x + (round % 3) - 1, cy = c.y, cz = c.z - (round % 2);
        for (const double r : {0.0, 1.0, 1.5, std::sqrt(2.0), 3.0, 5.0, 7.9, 12.0}) {
            std::set<SystemId> got;
            model.forEachWithin(cx, cy, cz, r, [&](SystemId id, std::int64_t d2) {
                const SystemEntry& e = model.entry(id);
                const std::int64_t dx = e.x - cx, dy = e.y - cy, dz = e.z - cz;
                EXPECT_EQ(d2, dx * dx + dy * dy + dz * dz);
                EXPECT_TRUE(got.insert(id).second) << "visited twice";
            });
            std::set<SystemId> want;
            for (SystemId id = 0; id < model.size(); ++id) {
                const SystemEntry& e = model.entry(id);
                const double dx = e.x - cx, dy = e.y - cy, dz = e.z - cz;
                if (dx * dx + dy * dy + dz * dz <= r * r + 1e-9) want.insert(id);
            }
            ASSERT_EQ(got, want) << "r " << r << " at " << cx << "," << cy << "," << cz;
        }
        const std::array<int, 3> lo{cx - 3, cy - 1, cz - 4};
        const std::array<int, 3> hi{cx + 2, cy + 5, cz};
        std::set<SystemId> got;
        model.forEachInBox(lo, hi, [&](SystemId id) { got.insert(id); });
        std::set<SystemId> want;
        for (SystemId id = 0; id < model.size(); ++id) {
            const SystemEntry& e = model.entry(id);
            if (e.x >= lo[0] && e.x <= hi[0] && e.y >= lo[1] && e.y <= hi[1] && e.z >= lo[2] && e.z <= hi[2])
                want.insert(id);
        }
        ASSERT_EQ(got, want);
        EXPECT_LE(model.atCell(c.x, c.y, c.z), pick.b());
        EXPECT_EQ(model.entry(model.atCell(c.x, c.y, c.z)).x, c.x);
    }
    EXPECT_EQ(model.atCell(b.max[0] + 1, b.max[1], b.max[2]), kNoSystem);
    EXPECT_EQ(model.atCell(b.min[0] - 100, b.min[1], b.min[2]), kNoSystem);
}

TEST(AtlasModel, IndexMatchesBruteForceOnADenseSectorAcrossZero) {
    const std::string base = makeSector("s", 17, 11, 40, -6, -7, -5);
    const AtlasModel model = AtlasModel::open(base);
    EXPECT_EQ(model.bounds().min[0], -6);
    std::mt19937 rng(1);
    checkIndexAgainstBruteForce(model, rng);
}

TEST(AtlasModel, IndexMatchesBruteForceInASectorFullToEveryCell) {
    std::vector<std::array<int, 3>> cells;
    for (int x = -4; x < 6; ++x) {
        for (int y = 0; y < 9; ++y) {
            for (int z = 0; z < 7; ++z) cells.push_back({x, y, z});
        }
    }
    const AtlasModel model = modelOf(cells);
    EXPECT_EQ(model.bucketEdge(), 1);
    std::mt19937 rng(3);
    checkIndexAgainstBruteForce(model, rng);
}

TEST(AtlasModel, IndexMatchesBruteForceWhenSystemsLieFarApart) {
    std::mt19937 rng(2);
    std::vector<std::array<int, 3>> cells;
    std::uniform_int_distribution<int> near(-3, 3);
    // Clusters at the far ends of the coordinate range: the bucket box is
    // far too large to tabulate.
    for (const std::array<int, 3> corner : {std::array<int, 3>{-32000, -32000, -32000},
                                            std::array<int, 3>{32000, 0, 31990}, std::array<int, 3>{0, 0, 0}}) {
        for (int i = 0; i < 80; ++i)
            cells.push_back({corner[0] + near(rng), corner[1] + near(rng), corner[2] + near(rng)});
    }
    const AtlasModel model = modelOf(cells);
    EXPECT_EQ(model.bucketEdge(), 8);
    checkIndexAgainstBruteForce(model, rng);
    // Two systems in one cell (a merged sector): the first id answers.
    const AtlasModel twice = modelOf({{1, 2, 3}, {4, 4, 4}, {1, 2, 3}});
    EXPECT_EQ(twice.atCell(1, 2, 3), 0);
}

TEST(AtlasModel, NamesAreFoundByAnyPartIgnoringCase) {
    AtlasModel model = modelOf({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    model.setName(2, "New Harbour");
    model.setName(0, "harbourside");
    EXPECT_EQ(model.name(1), "");
    EXPECT_EQ(model.findByName("HARBOUR"), (std::vector<SystemId>{0, 2}));
    model.setName(0, "");
    EXPECT_EQ(model.findByName("harbour"), (std::vector<SystemId>{2}));
}

// ----------------------------------------------------------- damage

class AtlasOpen : public ::testing::Test {
protected:
    void SetUp() override { dir = testing::freshTestDir("d").string(); }
    std::string dir;
};

TEST_F(AtlasOpen, AMissingSectorNamesTheSystemFile) {
    try {
        AtlasModel::open(dir + "/nowhere");
        FAIL() << "opened a sector that is not there";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("nowhere.sun"), std::string::npos) << e.what();
    }
}

TEST_F(AtlasOpen, AnEmptySectorIsRefusedWithItsName) {
    const std::string base = dir + "/empty";
    SectorFiles::create(base, "Empty")->close();
    try {
        AtlasModel::open(base);
        FAIL();
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("holds no star systems"), std::string::npos) << e.what();
    }
    // Less than one record is no system either, and says so.
    testing::writeFileBytes(sectorPath(base, ".sun"), std::string(100, '\0'));
    try {
        AtlasModel::open(base);
        FAIL();
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("100 bytes"), std::string::npos) << e.what();
    }
}

TEST_F(AtlasOpen, AMissingPlanetFileIsAnErrorNamingIt) {
    const std::string base = makeSector("s", 3, 3, 50);
    std::filesystem::remove(sectorPath(base, ".pln"));
    try {
        AtlasModel::open(base);
        FAIL();
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("sector.pln"), std::string::npos) << e.what();
    }
}

TEST_F(AtlasOpen, TornTailsAndStrayRecordsAreWarnedAboutAndLeftOut) {
    const std::string base = makeSector("s", 3, 4, 50);
    const std::size_t systems = readAll<TSystemRec>(sectorPath(base, ".sun")).size();
    {
        std::ofstream sun(sectorPath(base, ".sun"), std::ios::binary | std::ios::app);
        sun << std::string(10, 'x');
        TPlanetRec stray;
        stray.systemId = 99999;
        stray.worldType = 10;
        std::ofstream pln(sectorPath(base, ".pln"), std::ios::binary | std::ios::app);
        pln << testing::bytesOf(stray);
        TColonyRec nowhere;
        nowhere.worldId = 1 << 30;
        nowhere.kind = 2;  // a moon base on a moon that does not exist
        std::ofstream col(sectorPath(base, ".col"), std::ios::binary | std::ios::app);
        col << testing::bytesOf(nowhere);
    }
    const AtlasModel model = AtlasModel::open(base);
    EXPECT_EQ(static_cast<std::size_t>(model.size()), systems);
    ASSERT_EQ(model.warnings().size(), 3U);
    EXPECT_NE(model.warnings()[0].find("cut-off record (10 bytes)"), std::string::npos) << model.warnings()[0];
    EXPECT_NE(model.warnings()[1].find("moon 1073741824"), std::string::npos) << model.warnings()[1];
    EXPECT_NE(model.warnings()[2].find("1 planet records"), std::string::npos) << model.warnings()[2];
}

// Overwrites `bytes` at `offset` of a sector file.
void patch(const std::string& path, std::streamoff offset, const std::string& bytes) {
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(offset);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(AtlasOpen, ADamagedRecordIsRefusedNamingFileRecordAndField) {
    const std::string base = makeSector("s", 3, 4, 50);
    ASSERT_GE(readAll<TSystemRec>(sectorPath(base, ".sun")).size(), 2U);
    const std::string sun = sectorPath(base, ".sun");
    const std::string pln = sectorPath(base, ".pln");
    // System 1's primary gives a light that is not a number (luminosity at offset 12).
    const std::string quietNan("\x00\x00\xC0\x7F", 4);
    patch(sun, 196 + 12, quietNan);
    try {
        (void)AtlasModel::open(base);
        FAIL() << "opened";
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()), sun + " record 1: star 1 luminosity is not a number");
    }
    patch(sun, 196 + 12, std::string("\x00\x00\x80\x3F", 4));  // 1.0
    // Planet 0's world type (offset 15) outside the table.
    patch(pln, 15, std::string(1, '\x00'));
    try {
        (void)AtlasModel::open(base);
        FAIL() << "opened";
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()), pln + " record 0: world type 0 outside 1..23");
    }
}

TEST_F(AtlasOpen, ColoniesMarkTheirSystemsAndOwnedOnesAreTold) {
    const std::string base = makeSector("s", 8, 4, 50);
    const auto planets = readAll<TPlanetRec>(sectorPath(base, ".pln"));
    const auto moons = readAll<TMoonRec>(sectorPath(base, ".mon"));
    ASSERT_GT(planets.size(), 10U);
    ASSERT_FALSE(moons.empty());
    TColonyRec independent;
    independent.worldId = 3;
    independent.kind = 1;
    independent.allegiance = 65535;
    TColonyRec base2;
    base2.worldId = 0;  // moon 0
    base2.kind = 7;
    base2.allegiance = 2;
    {
        std::ofstream col(sectorPath(base, ".col"), std::ios::binary | std::ios::trunc);
        col << testing::bytesOf(independent) << testing::bytesOf(base2);
    }
    const AtlasModel model = AtlasModel::open(base);
    const SystemId a = planets[3].systemId;
    const SystemId b = planets[static_cast<std::size_t>(moons[0].planetId)].systemId;
    EXPECT_NE(model.entry(a).marks & kMarkColony, 0);
    EXPECT_NE(model.entry(b).marks & kMarkOwnedColony, 0);
    if (a != b) {
        EXPECT_EQ(model.entry(a).marks & kMarkOwnedColony, 0);
    }
    int marked = 0;
    for (SystemId id = 0; id < model.size(); ++id) marked += (model.entry(id).marks & kMarkColony) != 0;
    EXPECT_EQ(marked, a == b ? 1 : 2);
}

}  // namespace
}  // namespace orrimar::atlas

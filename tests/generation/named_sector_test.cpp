// The names a run writes: their records, their order in the name file, and
// that they follow the run seed and the cell like the systems they name.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "generation/create_sector.h"
#include "names/sector_names.h"
#include "records/record_file.h"
#include "sector_test_support.h"
#include "support/record_bytes.h"
#include "tools/sector_check.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;
using Mode = RawRecordFile::Mode;

template <typename T>
std::vector<T> all(const std::string& path) {
    RecordFile<T> f(path, Mode::ReadOnly);
    std::vector<T> out;
    for (std::int64_t i = 0; i < f.count(); ++i) out.push_back(f.read(i));
    return out;
}

CreateSectorParams run(const std::string& dir, const std::string& file, std::uint64_t seed) {
    CreateSectorParams p;
    p.baseName = dir + "/" + file;
    p.sectorName = "Named";
    p.lastIndex = 3;
    p.density = 100;
    p.seed = seed;                         // 2: a 4-parsec cube at full density holds races
    p.settingsPath = dir + "/orrwin.ini";  // absent: the default tables
    return p;
}

std::string lowerCase(std::string s) {
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return s;
}

// Header, then each system's record (kind 1, its id) followed at once by
// one record for each race generated with it (kind 3, race ids in order):
// names always come after what they name, every name unique in the sector.
TEST(NamedSector, EverySystemAndRaceGetsOneRecordAfterItsSystem) {
    const std::string dir = freshSectorDir();
    const CreateSectorResult made = CreateSector(run(dir, "sec", 2));
    ASSERT_GT(made.races, 0);
    EXPECT_EQ(made.names, made.systems + made.races);

    const auto names = all<TNameRec>(dir + "/sec.nam");
    const auto planets = all<TPlanetRec>(dir + "/sec.pln");
    const auto races = all<TAlienRec>(dir + "/sec.aln");
    ASSERT_EQ(static_cast<std::int64_t>(names.size()), 1 + made.systems + made.races);
    EXPECT_EQ(names[0].kind, 0);
    EXPECT_EQ(names[0].value, 8);
    EXPECT_EQ(names[0].name.str(), "Named");

    std::int32_t nextSystem = 0;
    std::int32_t nextRace = 0;
    std::set<std::string> seen;
    for (std::size_t k = 1; k < names.size(); ++k) {
        const TNameRec& r = names[k];
        SCOPED_TRACE(::testing::Message() << "record " << k << " " << r.name.str());
        EXPECT_EQ(r.pad1, (std::array<std::uint8_t, 3>{}));
        EXPECT_EQ(r.pad59, 0);
        EXPECT_GE(r.name.length, 2);
        EXPECT_LE(r.name.length, 20);
        for (std::size_t c = r.name.length; c < r.name.chars.size(); ++c) EXPECT_EQ(r.name.chars[c], 0);
        EXPECT_TRUE(seen.insert(lowerCase(r.name.str())).second);
        if (r.kind == 1) {
            EXPECT_EQ(r.value, nextSystem++);
        } else {
            ASSERT_EQ(r.kind, 3);
            EXPECT_EQ(r.value, nextRace++);
            // The race's world belongs to the system named last.
            const TAlienRec& race = races[static_cast<std::size_t>(r.value)];
            EXPECT_EQ(planets[static_cast<std::size_t>(race.worldId)].systemId, nextSystem - 1);
        }
    }
    EXPECT_EQ(nextSystem, made.systems);
    EXPECT_EQ(nextRace, made.races);
    EXPECT_TRUE(CheckSector(dir + "/sec").sound());
}

// A cell's name is a function of the run seed and the cell: a larger sector
// from another corner names the cells it shares with a small one alike.
TEST(NamedSector, SameSeedAndCellGiveTheSameNameWhateverTheSectorsCornerAndSize) {
    const std::string dir = freshSectorDir();
    auto small = run(dir, "small", 31);
    small.density = 30;
    small.flat = true;
    small.lastIndex = 7;
    auto large = small;
    large.baseName = dir + "/large";
    large.x = -6;
    large.y = -3;
    large.lastIndex = 19;
    CreateSector(small);
    CreateSector(large);

    const auto namesByCell = [&](const std::string& base) {
        const SectorNames names = SectorNames::load(base);
        const auto systems = all<TSystemRec>(base + ".sun");
        std::map<std::tuple<int, int, int>, std::string> out;
        for (std::size_t id = 0; id < systems.size(); ++id) {
            out[{systems[id].x, systems[id].y, systems[id].z}] = names.system(static_cast<std::int64_t>(id)).value();
        }
        return out;
    };
    const auto a = namesByCell(small.baseName);
    const auto b = namesByCell(large.baseName);
    ASSERT_GT(a.size(), 5U);
    for (const auto& [cell, name] : a) {
        ASSERT_TRUE(b.count(cell));
        EXPECT_EQ(b.at(cell), name) << std::get<0>(cell) << "," << std::get<1>(cell);
    }
    // Another seed: other names for the same cells.
    auto reseeded = small;
    reseeded.baseName = dir + "/reseeded";
    reseeded.seed = 32;
    CreateSector(reseeded);
    EXPECT_NE(SectorNames::load(reseeded.baseName).system(0), SectorNames::load(small.baseName).system(0));
}

// Naming rolls none of the dice: a run without names writes the same
// systems, and its name file holds only the header; the sector reads.
TEST(NamedSector, ARunWithoutNamesWritesTheSameSystemsAndOnlyTheHeader) {
    const std::string dir = freshSectorDir();
    const auto named = run(dir, "named", 2);
    auto unnamed = run(dir, "unnamed", 2);
    unnamed.names = false;
    CreateSector(named);
    const CreateSectorResult result = CreateSector(unnamed);
    EXPECT_EQ(result.names, 0);
    for (const char* ext : {".sun", ".pln", ".mon", ".aln"}) {
        EXPECT_EQ(fileBytes(dir + "/named" + ext), fileBytes(dir + "/unnamed" + ext)) << ext;
    }
    EXPECT_EQ(fileBytes(dir + "/unnamed.nam"), bytesOf(makeNameRecord(NameKind::Header, kNameHeaderValue, "Named")));
    EXPECT_TRUE(SectorNames::load(dir + "/unnamed").empty());
    EXPECT_TRUE(CheckSector(dir + "/unnamed").sound());
}

// Appending names the new systems unique against every name already in
// the file, renamed ones included; an appended run over the same cells
// moves each system on to its next candidate.
TEST(NamedSector, AnAppendedRunNamesItsSystemsUniqueInTheWholeSector) {
    const std::string dir = freshSectorDir();
    auto p = run(dir, "sec", 2);
    p.lastIndex = 2;
    const CreateSectorResult first = CreateSector(p);
    p.newFile = false;
    const CreateSectorResult second = CreateSector(p);  // the same cells again
    EXPECT_EQ(second.systems, first.systems);
    const auto names = all<TNameRec>(dir + "/sec.nam");
    ASSERT_EQ(static_cast<std::int64_t>(names.size()), 1 + first.names + second.names);
    std::set<std::string> seen;
    for (std::size_t k = 1; k < names.size(); ++k) EXPECT_TRUE(seen.insert(lowerCase(names[k].name.str())).second);
    // The appended systems' ids follow on.
    EXPECT_EQ(names[static_cast<std::size_t>(1 + first.names)].kind, 1);
    EXPECT_EQ(names[static_cast<std::size_t>(1 + first.names)].value, first.systems);
    EXPECT_TRUE(CheckSector(dir + "/sec").sound());
}

}  // namespace
}  // namespace orrimar

// Names in the merger and the check: the added sector's names renumbered
// like the ids they name, all or nothing; name records judged by check.
#include <gtest/gtest.h>

#include <limits>

#include "common/errors.h"
#include "common/file_io.h"
#include "names/sector_names.h"
#include "support/hand_made_sector.h"
#include "tools/merge_names.h"
#include "tools/merger.h"
#include "tools/sector_check.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

TNameRec named(NameKind kind, std::int32_t value, const char* name) { return makeNameRecord(kind, value, name); }

TNameRec foreign(std::int32_t value) {
    TNameRec r = named(NameKind::System, value, "Theirs");
    r.kind = 9;
    return r;
}

struct NamedMerge : ::testing::Test {
    fs::path dir;
    std::string mainBase;
    std::string addedBase;
    SectorContent main = soundSector(7, 0);
    SectorContent added = soundSector(9, 50);
    std::vector<TNameRec> mainNames;
    std::vector<TNameRec> addedNames;

    void SetUp() override {
        dir = freshDir(std::string("names_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        mainBase = (dir / "main").string();
        addedBase = (dir / "added").string();
        ASSERT_GE(added.aliens.size(), 2U);
        ASSERT_GE(added.moons.size(), 2U);
        mainNames = {named(NameKind::Header, 8, "Home Reach"), named(NameKind::System, 0, "Vessane"),
                     named(NameKind::Race, 0, "Krai")};
        const auto lastRace = static_cast<std::int32_t>(added.aliens.size() - 1);
        addedNames = {
            named(NameKind::Header, 8, "Far Reach"),     named(NameKind::System, 0, "Vessane"),  // a clash is allowed
            named(NameKind::System, 8, "Tolmar"),        foreign(3),
            named(NameKind::Planet, 1, "Cinder"),        named(NameKind::Moon, 1, "Pale"),
            named(NameKind::Race, lastRace, "Skaelyst"), named(NameKind::System, 8, ""),  // a removal travels too
            named(NameKind::Header, 8, "Stray header")};
    }
    void write() {
        writeSector(mainBase, main);
        writeSector(addedBase, added);
        writeRecords(mainBase + ".nam", mainNames);
        writeRecords(addedBase + ".nam", addedNames);
    }
};

TEST_F(NamedMerge, AddedNamesAreAppendedWithTheirValuesRenumbered) {
    write();
    const std::string addedBytes = fileBytes(addedBase + ".nam");
    MergeSectors(mainBase, addedBase);

    const auto systems = static_cast<std::int32_t>(main.systems.size());
    const auto planets = static_cast<std::int32_t>(main.planets.size());
    const auto moons = static_cast<std::int32_t>(main.moons.size());
    const auto races = static_cast<std::int32_t>(main.aliens.size());
    const auto lastRace = static_cast<std::int32_t>(added.aliens.size() - 1);
    // The main header stays; the added header, the stray header and the
    // other program's record stay behind; the rest follow in file order.
    std::string expected;
    for (const TNameRec& r : mainNames) expected += bytesOf(r);
    for (const TNameRec& r :
         {named(NameKind::System, systems + 0, "Vessane"), named(NameKind::System, systems + 8, "Tolmar"),
          named(NameKind::Planet, planets + 1, "Cinder"), named(NameKind::Moon, moons + 1, "Pale"),
          named(NameKind::Race, races + lastRace, "Skaelyst"), named(NameKind::System, systems + 8, "")}) {
        expected += bytesOf(r);
    }
    EXPECT_EQ(fileBytes(mainBase + ".nam"), expected);
    EXPECT_EQ(fileBytes(addedBase + ".nam"), addedBytes);

    const SectorNames names = SectorNames::load(mainBase);
    EXPECT_EQ(names.sectorName(), "Home Reach");
    EXPECT_EQ(names.system(0), "Vessane");
    EXPECT_EQ(names.system(systems), "Vessane");
    EXPECT_EQ(names.system(systems + 8), std::nullopt);
    const SectorCheckReport check = CheckSector(mainBase);
    EXPECT_TRUE(check.sound()) << (check.problems.empty() ? "" : check.problems[0]);
}

TEST_F(NamedMerge, RenumberingKeepsNegativeValuesAndRefusesOverflow) {
    MergeOffsets offsets;
    offsets.systems = 10;
    offsets.planets = 20;
    offsets.moons = 30;
    offsets.races = 40;
    EXPECT_EQ(renumberName(named(NameKind::Moon, 2, "m"), offsets).value, 32);
    EXPECT_EQ(renumberName(named(NameKind::Planet, -1, "p"), offsets).value, -1);
    EXPECT_EQ(renumberName(named(NameKind::Race, std::numeric_limits<std::int32_t>::max() - 40, "r"), offsets).value,
              std::numeric_limits<std::int32_t>::max());
    EXPECT_THROW(renumberName(named(NameKind::Race, std::numeric_limits<std::int32_t>::max() - 39, "r"), offsets),
                 RangeError);
}

// A failed merge leaves both sectors byte for byte as they were: a name the
// renumbering cannot hold is refused before the first append, and every
// failing write of the merge, the names' among them, is rolled back.
TEST_F(NamedMerge, AFailedMergeLeavesBothSectorsUntouched) {
    addedNames.push_back(named(NameKind::System, std::numeric_limits<std::int32_t>::max() - 3, "Far out"));
    write();
    auto before = snapshot(dir);
    try {
        MergeSectors(mainBase, addedBase);
        ADD_FAILURE() << "merge did not fail";
    } catch (const OrrError& e) {
        EXPECT_NE(std::string(e.what()).find("added.nam"), std::string::npos) << e.what();
    }
    EXPECT_EQ(snapshot(dir), before);

    addedNames.pop_back();
    write();
    clearFaultPlan();
    MergeSectors(mainBase, addedBase);
    const std::int64_t operations = fileOperationCount();
    ASSERT_GE(operations, 5);  // four families and the names (the comment files are empty)
    for (std::int64_t n = 1; n <= operations; ++n) {
        SCOPED_TRACE(::testing::Message() << "operation " << n);
        write();
        before = snapshot(dir);
        setFaultPlan({FaultKind::NoSpace, n, false});
        EXPECT_THROW(MergeSectors(mainBase, addedBase), IoError);
        clearFaultPlan();
        EXPECT_EQ(snapshot(dir), before);
    }
}

// check: each of our kinds must name a record of the sector, fit its field
// and hold no control character; a second header is out of place; other
// programs' kinds are not judged.
TEST_F(NamedMerge, CheckJudgesEveryNameRecord) {
    writeSector(mainBase, main);
    const auto systems = static_cast<std::int32_t>(main.systems.size());
    TNameRec tooLong = named(NameKind::System, 1, "x");
    tooLong.name.length = 51;
    std::vector<TNameRec> records = {named(NameKind::Header, 8, "Home"),
                                     named(NameKind::System, systems - 1, "Last"),
                                     named(NameKind::System, systems, "Beyond"),
                                     named(NameKind::Planet, -1, "Before"),
                                     named(NameKind::Race, static_cast<std::int32_t>(main.aliens.size()), "Nobody"),
                                     named(NameKind::Moon, static_cast<std::int32_t>(main.moons.size()), "Nomoon"),
                                     named(NameKind::Header, 8, "Second"),
                                     named(NameKind::System, 0, "Bell\x07"),
                                     tooLong,
                                     foreign(999999)};
    writeRecords(mainBase + ".nam", records);
    const SectorCheckReport r = CheckSector(mainBase);
    std::string all;
    for (const std::string& line : r.problems) all += line + "\n";
    const std::string file = mainBase + ".nam: ";
    for (const std::string& expected :
         {file + "record 2 names system " + std::to_string(systems) + ", but the sector has " +
              std::to_string(systems) + " system records",
          file + "record 3 names planet -1, but the sector has",
          file + "record 4 names race " + std::to_string(main.aliens.size()),
          file + "record 5 names moon " + std::to_string(main.moons.size()),
          file + "record 6 is a second header (kind 0)", file + "record 7 (system 0) holds a control character",
          file + "record 8 has a name length of 51, more than 50"}) {
        EXPECT_NE(all.find(expected), std::string::npos) << expected << "\nin:\n" << all;
    }
    EXPECT_EQ(r.problems.size(), 7U) << all;  // record 1 and the foreign record 9 are sound
}

}  // namespace
}  // namespace orrimar

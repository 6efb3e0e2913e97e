// The record lists the colony and empire editors change by number: the
// exact words a bad or removed number is refused with, a change refused
// half-way writing nothing, and a removed record keeping its number.
#include <gtest/gtest.h>

#include <functional>

#include "records/colony_codes.h"
#include "settling/edit_fixture.h"
#include "settling/field_error.h"
#include "settling/settled_edit.h"
#include "support/record_bytes.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

std::string refusal(const std::function<void()>& edit, const std::string& field) {
    try {
        edit();
    } catch (const FieldError& e) {
        EXPECT_EQ(e.field(), field);
        return e.problem();
    }
    return "<accepted>";
}

TEST(SettledEditNumbers, EdgesOfTheListAreNamedExactly) {
    EXPECT_EQ(refusal([] { requireNumberIn(0, 0, "empire", "empires"); }, "empire"),
              "there is no empire 0: the sector has no empires");
    EXPECT_EQ(refusal([] { requireNumberIn(-1, 3, "colony", "colonies"); }, "colony"),
              "there is no colony -1: the sector's colonies are 0..2");
    EXPECT_EQ(refusal([] { requireNumberIn(3, 3, "colony", "colonies"); }, "colony"),
              "there is no colony 3: the sector's colonies are 0..2");
    EXPECT_EQ(refusal([] { requireNumberIn(0, 3, "colony", "colonies"); }, "colony"), "<accepted>");
    EXPECT_EQ(refusal([] { requireNumberIn(2, 3, "colony", "colonies"); }, "colony"), "<accepted>");
    EXPECT_EQ(refusal([] { refuseRemoved(7, "empire"); }, "empire"), "empire 7 was removed; its number stays empty");
}

struct SettledEditLists : ::testing::Test {
    EditSector s{"settled_edit"};

    std::int64_t addColony(std::int64_t planet) {
        SettledEdit edit(s.base);
        TColonyRec colony;
        colony.worldId = static_cast<std::int32_t>(planet);
        colony.race = 0;
        colony.allegiance = 0;
        colony.kind = kPlanetColony;
        return appendRecord(edit, kColonyList, colony);
    }
};

TEST_F(SettledEditLists, AppendedRecordsAreNumberedInOrder) {
    EXPECT_EQ(addColony(s.planetA1), 0);
    EXPECT_EQ(addColony(s.planetA2), 1);
    const SettledLayer layer = s.layer();
    ASSERT_EQ(layer.colonies.size(), 2U);
    EXPECT_EQ(layer.colonies[1].worldId, s.planetA2);
}

TEST_F(SettledEditLists, ARefusedChangeWritesNothing) {
    addColony(s.planetA1);
    const auto before = snapshot(s.dir);
    {
        SettledEdit edit(s.base);
        EXPECT_THROW(changeRecord(edit, kColonyList, 0,
                                  [](TColonyRec& colony) {
                                      colony.lawLevel = 9;
                                      throw FieldError("law", "refused after the change began");
                                  }),
                     FieldError);
    }
    EXPECT_EQ(changedFiles(before, snapshot(s.dir)), "");
}

TEST_F(SettledEditLists, RemovingLeavesTheVacantRecordInPlaceAndRefusesASecondRemoval) {
    addColony(s.planetA1);
    addColony(s.planetA2);
    TColonyRec was;
    {
        SettledEdit edit(s.base);
        was = removeRecord(edit, kColonyList, 0);
    }
    EXPECT_EQ(was.worldId, s.planetA1);
    const SettledLayer layer = s.layer();
    ASSERT_EQ(layer.colonies.size(), 2U);
    EXPECT_EQ(bytesOf(layer.colonies[0]), bytesOf(vacantColony()));
    EXPECT_EQ(layer.colonies[1].worldId, s.planetA2);

    const auto before = snapshot(s.dir);
    {
        SettledEdit again(s.base);
        EXPECT_EQ(refusal([&] { removeRecord(again, kColonyList, 0); }, "colony"),
                  "colony 0 was removed; its number stays empty");
        EXPECT_EQ(refusal([&] { removeRecord(again, kEmpireList, 0); }, "empire"),
                  "there is no empire 0: the sector has no empires");
    }
    EXPECT_EQ(changedFiles(before, snapshot(s.dir)), "");
}

}  // namespace
}  // namespace orrimar

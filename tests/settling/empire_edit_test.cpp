// The empire editor and the world names the colony editor takes: what is
// written, what is refused (naming the field, changing nothing), and that
// removed empires keep their numbers.
#include <gtest/gtest.h>

#include "names/world_names.h"
#include "settling/colony_edit.h"
#include "settling/edit_fixture.h"
#include "settling/empire_edit.h"
#include "settling/field_error.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct EmpireEdit : ::testing::Test {
    EditSector s{"empire_edit"};

    EmpireFields empire(std::int64_t race, const std::string& name) {
        EmpireFields f;
        f.race = race;
        f.name = name;
        return f;
    }
    template <typename Edit>
    void expectRefused(Edit edit, const std::string& field, const std::string& words = {}) {
        testing::expectFieldRefused(s.dir, edit, field, words);
    }
};

TEST_F(EmpireEdit, AddWritesTheRecordWithTheHomeSystemAsCapital) {
    const EmpireEditResult done = AddEmpire(s.base, empire(1, "Kethri Reach"));
    EXPECT_EQ(done.empireId, 0);
    const SettledLayer layer = s.layer();
    ASSERT_EQ(layer.empires.size(), 1U);
    const TEmpireRec e = layer.empires[0];
    EXPECT_EQ(e.race, 1);
    EXPECT_EQ(e.name.str(), "Kethri Reach");
    const auto home = s.content.planets[static_cast<std::size_t>(s.content.aliens[1].worldId)].systemId;
    EXPECT_EQ(e.capitalSystemId, home);
    EXPECT_EQ(e.colour, defaultEmpireColour(1));
    EXPECT_EQ(bytesOf(e), bytesOf(done.empire));
    // Unused name positions are zeros, as every writer leaves them.
    EXPECT_EQ(e.name.chars[12], '\0');
    // No colony changed: nothing is controlled, no planet touched.
    EXPECT_TRUE(layer.control.empty());
    EXPECT_EQ(fileBytes(s.base + ".pln"), [&] {
        std::string bytes;
        for (const TPlanetRec& p : s.content.planets) bytes += bytesOf(p);
        return bytes;
    }());
}

TEST_F(EmpireEdit, SetChangesOnlyWhatIsGivenAndRemoveKeepsTheNumbers) {
    AddEmpire(s.base, empire(0, "First"));
    AddEmpire(s.base, empire(1, "Second"));
    AddEmpire(s.base, empire(2, "Third"));
    EmpireFields change;
    change.colour = colourFromText("#1e90FF", "colour");
    change.capital = 5;
    SetEmpire(s.base, 1, change);
    TEmpireRec second = s.layer().empires[1];
    EXPECT_EQ(second.colour, (EmpireColour{0x1E, 0x90, 0xFF}));
    EXPECT_EQ(second.capitalSystemId, 5);
    EXPECT_EQ(second.name.str(), "Second");
    EXPECT_EQ(second.race, 1);

    const TEmpireRec third = s.layer().empires[2];
    EXPECT_EQ(RemoveEmpire(s.base, 1).empire.name.str(), "Second");
    const SettledLayer layer = s.layer();
    ASSERT_EQ(layer.empires.size(), 3U);
    EXPECT_EQ(bytesOf(layer.empires[1]), bytesOf(vacantEmpire()));
    EXPECT_EQ(bytesOf(layer.empires[2]), bytesOf(third));
    // The race is free for a new empire, numbered after every other.
    EXPECT_EQ(AddEmpire(s.base, empire(1, "Second again")).empireId, 3);
    expectRefused([&] { SetEmpire(s.base, 1, change); }, "empire", "was removed");
}

TEST_F(EmpireEdit, BadValuesAreRefusedNamingTheirField) {
    AddEmpire(s.base, empire(0, "First"));
    expectRefused([&] { AddEmpire(s.base, empire(0, "Again")); }, "race", "already has empire 0");
    expectRefused([&] { AddEmpire(s.base, empire(s.races(), "Nobody")); }, "race");
    expectRefused([&] { AddEmpire(s.base, empire(kNoRace, "Nobody")); }, "race", "names no race");
    expectRefused([&] { AddEmpire(s.base, empire(1, "")); }, "name");
    expectRefused([&] { AddEmpire(s.base, empire(1, std::string(40, 'x'))); }, "name", "at most 39");
    expectRefused([&] { AddEmpire(s.base, empire(1, "Tab\there")); }, "name", "control character");
    expectRefused([&] { AddEmpire(s.base, empire(1, " Blank")); }, "name");
    EmpireFields noRace;
    noRace.name = "No race";
    expectRefused([&] { AddEmpire(s.base, noRace); }, "race");
    EmpireFields far = empire(1, "Far");
    far.capital = static_cast<std::int64_t>(s.content.systems.size());
    expectRefused([&] { AddEmpire(s.base, far); }, "capital", "there is no system");
    EmpireFields clash;
    clash.race = 0;
    expectRefused([&] { SetEmpire(s.base, 0, empire(1, "")); }, "name");
    expectRefused([&] { SetEmpire(s.base, 1, clash); }, "empire", "empires are 0..0");
    // Its own race again is no clash.
    SetEmpire(s.base, 0, clash);
    // 39 characters are taken, as are letters of the code page.
    AddEmpire(s.base, empire(1, std::string(39, 'y')));
    EXPECT_EQ(AddEmpire(s.base, empire(2, "Émpire")).empire.name.str(), "\xC9mpire");

    for (const char* bad : {"1E90FF", "#1E90F", "#1E90FG", "#1E90FF0", "#+E90FF", ""}) {
        EXPECT_THROW(colourFromText(bad, "colour"), FieldError) << bad;
    }
    EXPECT_EQ(colourText(colourFromText("#00ff7f", "colour")), "#00FF7F");
}

TEST_F(EmpireEdit, WorldsArePickedByIdOrByTheirName) {
    const auto planets = s.planets();
    const TPlanetRec& a1 = planets[static_cast<std::size_t>(s.planetA1)];
    s.name(NameKind::System, static_cast<std::int32_t>(s.systemA), "Vessane");
    EXPECT_EQ(findWorldByText(s.base, "planet:7", "--world"), (WorldRef{false, 7}));
    EXPECT_EQ(findWorldByText(s.base, "Moon:3", "--world"), (WorldRef{true, 3}));
    for (const char* bad : {"planet:", "planet:x", "moon:-1", "planet:3b", " "}) {
        EXPECT_THROW(findWorldByText(s.base, bad, "--world"), InputError) << bad;
    }
    const std::string name = *worldName(s.base, {false, s.planetA1});
    EXPECT_EQ(name.rfind("Vessane ", 0), 0U) << name;
    EXPECT_EQ(findWorldByText(s.base, name, "--world"), (WorldRef{false, s.planetA1}));
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(findWorldByText(s.base, lower, "--world"), (WorldRef{false, s.planetA1}));
    EXPECT_EQ(worldLabel(s.base, {false, s.planetA1}), name + " (planet " + std::to_string(s.planetA1) + ")");
    EXPECT_EQ(worldLabel(s.base, {true, s.moonB}), "moon " + std::to_string(s.moonB));
    if (a1.moonCount > 0) {
        EXPECT_EQ(findWorldByText(s.base, name + " a", "--world"), (WorldRef{true, a1.firstMoonId}));
    }

    // An override names the world whatever its system; two worlds of one name are refused.
    s.name(NameKind::Moon, static_cast<std::int32_t>(s.moonB), "Hollow");
    EXPECT_EQ(findWorldByText(s.base, "hollow", "--world"), (WorldRef{true, s.moonB}));
    s.name(NameKind::Planet, static_cast<std::int32_t>(s.planetA2), "Hollow");
    try {
        findWorldByText(s.base, "Hollow", "--world");
        ADD_FAILURE();
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("2 worlds are called 'Hollow'"), std::string::npos) << e.what();
    }
    EXPECT_THROW(findWorldByText(s.base, "Nowhere", "--world"), InputError);
}

}  // namespace
}  // namespace orrimar

#include "names/find_by_text.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "common/errors.h"

namespace orrimar {
namespace {

using Named = std::vector<std::pair<std::int64_t, std::string>>;

NameSource sourceOf(const Named& named) {
    return [&named](const std::function<void(std::int64_t, std::string_view)>& visit) {
        for (const auto& [id, name] : named) visit(id, name);
    };
}

// The id the text picks, or the refusal's message.
std::string pick(const Named& named, std::string_view text, std::int64_t count = 10) {
    try {
        return std::to_string(findByText(text, sourceOf(named), count, "--system", "system"));
    } catch (const InputError& e) {
        return e.what();
    }
}

const Named kSystems = {{0, "Iotrosel"}, {1, "Iona"}, {2, "Vessane"}, {3, "Vessane Prime"},
                        {4, "ÉTOILE"},   {5, "Twin"}, {6, "twin"},    {7, "Twin"}};

TEST(FindByText, AnIdIsTakenFirstAndCheckedAgainstTheCount) {
    EXPECT_EQ(pick(kSystems, "3"), "3");
    EXPECT_EQ(pick(kSystems, "0"), "0");
    EXPECT_EQ(pick(kSystems, "10"), "--system: there is no system 10: the ids go from 0 to 9");
    EXPECT_EQ(pick(kSystems, "1500", 1341), "--system: there is no system 1500: the ids go from 0 to 1340");
    EXPECT_EQ(pick(kSystems, "1500", -1), "1500");  // count unknown: the caller checks
    EXPECT_EQ(pick({}, "0", 0), "--system: there is no system 0: there are no systems");
}

TEST(FindByText, AWholeNameBeatsAPrefixAndCaseIsIgnored) {
    EXPECT_EQ(pick(kSystems, "Vessane"), "2");  // though "Vessane Prime" begins so too
    EXPECT_EQ(pick(kSystems, "vessane prime"), "3");
    EXPECT_EQ(pick(kSystems, "iotr"), "0");
    EXPECT_EQ(pick(kSystems, "IONA"), "1");
    EXPECT_EQ(pick(kSystems, "twin"), "6");  // the one spelt exactly so
    EXPECT_EQ(pick(kSystems, "ÉTOI"), "4");
}

TEST(FindByText, SeveralOrNoneAreRefusedNamingTheCandidates) {
    EXPECT_EQ(pick(kSystems, "Io"),
              "--system: 'Io' begins the names of 2 systems: Iotrosel (0), Iona (1); give more of the name, or the id");
    EXPECT_EQ(pick(kSystems, "Twin"), "--system: 'Twin' is the name of 2 systems: Twin (5), Twin (7); give the id");
    EXPECT_EQ(pick(kSystems, "TWIN"),
              "--system: 'TWIN' is the name of 3 systems: Twin (5), twin (6), Twin (7); give the id");
    EXPECT_EQ(pick(kSystems, "Sol"),
              "--system: no system is named 'Sol' or has a name beginning so: give its id or its name");
    EXPECT_EQ(pick(kSystems, "-1"),
              "--system: no system is named '-1' or has a name beginning so: give its id or its name");
    EXPECT_EQ(pick(kSystems, "  "), "--system: no system given: give its id or its name");

    Named many;
    for (int i = 0; i < 12; ++i) many.emplace_back(i, "Ka" + std::to_string(i));
    EXPECT_EQ(pick(many, "ka", 12),
              "--system: 'ka' begins the names of 12 systems: Ka0 (0), Ka1 (1), Ka2 (2), Ka3 (3), Ka4 (4), Ka5 (5), "
              "Ka6 (6), Ka7 (7) and 4 more; give more of the name, or the id");
}

TEST(FindByText, ASectorsNamesAreReadInItsCodePage) {
    const SectorNames names = SectorNames::fromRecords(
        {makeNameRecord(NameKind::Header, kNameHeaderValue, "Reach"), makeNameRecord(NameKind::System, 0, "\xC9toile"),
         makeNameRecord(NameKind::Race, 0, "Krai"), makeNameRecord(NameKind::System, 1, "Krai Home")});
    EXPECT_EQ(findByText("Éto", nameSourceOf(names, NameKind::System), 2, "FROM", "system"), 0);
    EXPECT_EQ(findByText("krai", nameSourceOf(names, NameKind::System), 2, "FROM", "system"), 1);
    EXPECT_EQ(findByText("krai", nameSourceOf(names, NameKind::Race), 1, "--race", "race"), 0);
}

}  // namespace
}  // namespace orrimar

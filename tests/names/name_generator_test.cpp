#include "names/name_generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <unordered_set>
#include <vector>

namespace orrimar {
namespace {

std::string lower(std::string s) {
    for (char& c : s) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return s;
}

bool vowel(char c) { return std::string_view("aeiouy").find(c) != std::string_view::npos; }

// What every generated name must be: 2 to 20 plain letters, a capital and
// then lower case, one word, no letter three times running, no more than
// three consonants running and no more than two vowels.
::testing::AssertionResult wellFormed(const std::string& name) {
    if (name.size() < 2 || name.size() > kMaxGeneratedNameLength) {
        return ::testing::AssertionFailure() << name << ": " << name.size() << " letters";
    }
    if (name[0] < 'A' || name[0] > 'Z') return ::testing::AssertionFailure() << name << ": no capital";
    int consonants = 0;
    int vowels = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = i == 0 ? static_cast<char>(name[0] - 'A' + 'a') : name[i];
        if (c < 'a' || c > 'z') return ::testing::AssertionFailure() << name << ": '" << name[i] << "'";
        if (i >= 2 && c == name[i - 1] && c == name[i - 2]) return ::testing::AssertionFailure() << name << ": tripled";
        consonants = vowel(c) ? 0 : consonants + 1;
        vowels = vowel(c) ? vowels + 1 : 0;
        if (consonants > 3) return ::testing::AssertionFailure() << name << ": four consonants running";
        if (vowels > 2) return ::testing::AssertionFailure() << name << ": three vowels running";
    }
    return ::testing::AssertionSuccess();
}

TEST(NameCandidates, AFunctionOfTheRunSeedAndTheCellAlone) {
    const NameSubject cell{12, -40, 7, 0};
    NameCandidates a(2026, cell);
    NameCandidates b(2026, cell);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(a.next(), b.next()) << "candidate " << k;

    // Another seed, another cell, a race of the cell: other names.
    int same = 0;
    const std::string first = NameCandidates(2026, cell).next();
    for (const auto& [seed, subject] : std::vector<std::pair<std::uint64_t, NameSubject>>{{2027, cell},
                                                                                          {2026, {13, -40, 7, 0}},
                                                                                          {2026, {12, -39, 7, 0}},
                                                                                          {2026, {12, -40, 8, 0}},
                                                                                          {2026, {12, -40, 7, 1}},
                                                                                          {2026, {12, -40, 7, 2}}}) {
        if (NameCandidates(seed, subject).next() == first) ++same;
    }
    EXPECT_LE(same, 1);
}

// A cell's name does not depend on which other cells a run visits or in
// what order: generators walking two sectors of different corners and
// sizes give every shared cell the same name (no clash moves one on here).
TEST(SectorNameGenerator, SameSeedAndCellGiveTheSameNameInAnySector) {
    SectorNameGenerator small(99);
    SectorNameGenerator large(99);
    std::vector<std::string> smallNames;
    for (std::int16_t x = 0; x < 10; ++x)
        for (std::int16_t y = 0; y < 10; ++y) smallNames.push_back(small.take({x, y, 3, 0}));
    // The large sector starts further out and walks y before x.
    std::vector<std::string> largeNames(100);
    for (std::int16_t y = -20; y < 20; ++y)
        for (std::int16_t x = -20; x < 20; ++x) {
            const std::string name = large.take({x, y, 3, 0});
            if (x >= 0 && x < 10 && y >= 0 && y < 10) largeNames[static_cast<std::size_t>(x * 10 + y)] = name;
        }
    ASSERT_EQ(small.clashes(), 0);
    ASSERT_EQ(large.clashes(), 0);
    EXPECT_EQ(smallNames, largeNames);
}

TEST(SectorNameGenerator, ANameAlreadyInTheSectorMovesTheSystemToItsNextCandidate) {
    const NameSubject cell{1, 2, 3, 0};
    NameCandidates candidates(5, cell);
    const std::string first = candidates.next();
    const std::string second = candidates.next();

    SectorNameGenerator generator(5);
    generator.reserve(lower(first));  // case does not tell names apart
    EXPECT_TRUE(generator.taken(first));
    EXPECT_EQ(generator.take(cell), second);
    EXPECT_EQ(generator.clashes(), 1);
    // Taken now: the same cell named again (an appended run over it) moves on.
    EXPECT_NE(generator.take(cell), second);
}

// A hundred thousand systems: every name is different (regardless of
// case), well formed, and only a few systems had to move past a taken name.
TEST(SectorNameGenerator, AHundredThousandSystemsGetAHundredThousandNames) {
    SectorNameGenerator generator(424242);
    std::unordered_set<std::string> seen;
    std::size_t longest = 0;
    for (std::int16_t x = 0; x < 100; ++x) {
        for (std::int16_t y = 0; y < 100; ++y) {
            for (std::int16_t z = 0; z < 10; ++z) {
                const std::string name = generator.take({x, y, z, 0});
                ASSERT_TRUE(wellFormed(name));
                ASSERT_TRUE(seen.insert(lower(name)).second) << name << " twice";
                longest = std::max(longest, name.size());
            }
        }
    }
    EXPECT_EQ(seen.size(), 100000U);
    EXPECT_EQ(generator.size(), 100000U);
    // Tens of millions of names: at a hundred thousand, fewer than one
    // system in 150 passes over a taken name (this block of 16 regions
    // hears fewer styles than a wide sector, so it clashes more).
    EXPECT_LT(generator.clashes(), 650) << generator.clashes();
    EXPECT_GE(longest, 14U);  // four-syllable names are among them
}

// Each style is heard, and a region's own style gives about two names in
// three (2/3 + 1/3 of the other draws landing on it: 11/15 in all).
TEST(NameCandidates, StylesMixAndARegionHasItsOwnSound) {
    std::array<int, kNameStyles> styles{};
    std::array<int, kNameStyles> inRegion{};
    for (std::int16_t x = 0; x < 32; ++x) {
        for (std::int16_t y = 0; y < 32; ++y) {
            NameCandidates c(7, {x, y, 0, 0});
            (void)c.next();
            ++inRegion[static_cast<std::size_t>(c.lastStyle())];
        }
    }
    for (std::int16_t x = 0; x < 2000; x += 32) {
        NameCandidates c(7, {x, static_cast<std::int16_t>(x / 3), 0, 0});
        (void)c.next();
        ++styles[static_cast<std::size_t>(c.lastStyle())];
    }
    for (int s = 0; s < kNameStyles; ++s) EXPECT_GT(styles[static_cast<std::size_t>(s)], 0) << "style " << s;
    const int regional = *std::max_element(inRegion.begin(), inRegion.end());
    EXPECT_GT(regional, 1024 * 66 / 100);  // 751 expected of 1024
    EXPECT_LT(regional, 1024 * 81 / 100);
}

TEST(BuildName, EveryStyleMakesSayableNamesOfTwoToFourSyllables) {
    for (int style = 0; style < kNameStyles; ++style) {
        NameStream stream(static_cast<std::uint64_t>(style) * 1000 + 1);
        std::unordered_set<std::string> distinct;
        for (int k = 0; k < 2000; ++k) {
            const std::string name = buildName(stream, style);
            // Only the length limit is NameCandidates' to enforce.
            if (name.size() > kMaxGeneratedNameLength) continue;
            ASSERT_TRUE(wellFormed(name)) << "style " << style;
            distinct.insert(name);
        }
        EXPECT_GT(distinct.size(), 1500U) << "style " << style;
    }
}

}  // namespace
}  // namespace orrimar

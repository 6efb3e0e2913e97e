#include "names/sector_names.h"

#include <gtest/gtest.h>

#include <vector>

#include "records/record_file.h"
#include "records/sector_files.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/record_bytes.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

TNameRec header(std::string_view sector) { return makeNameRecord(NameKind::Header, kNameHeaderValue, sector); }

TEST(SectorNames, LastRecordWinsAndAnEmptyNameTakesItAway) {
    std::vector<TNameRec> recs = {
        header("Reach"),
        makeNameRecord(NameKind::System, 0, "Vessane"),
        makeNameRecord(NameKind::System, 1, "Orl"),
        makeNameRecord(NameKind::Race, 0, "Krai"),
        makeNameRecord(NameKind::System, 0, "Haven"),  // rename
        makeNameRecord(NameKind::Planet, 7, "Cinder"),
        makeNameRecord(NameKind::Planet, 7, ""),  // override removed
        makeNameRecord(NameKind::Moon, 3, "Pale"),
        makeNameRecord(NameKind::System, 1, ""),  // system unnamed
        makeNameRecord(NameKind::System, 1, "Orl Two"),
    };
    TNameRec foreign = makeNameRecord(NameKind::System, 5, "Theirs");
    foreign.kind = 9;
    recs.push_back(foreign);
    recs.push_back(makeNameRecord(NameKind::Header, 8, "late header"));  // not record 0: foreign too

    const SectorNames n = SectorNames::fromRecords(recs);
    EXPECT_EQ(n.sectorName(), "Reach");
    EXPECT_EQ(n.system(0), "Haven");
    EXPECT_EQ(n.system(1), "Orl Two");
    EXPECT_EQ(n.system(5), std::nullopt);
    EXPECT_EQ(n.race(0), "Krai");
    EXPECT_EQ(n.planetOverride(7), std::nullopt);
    EXPECT_EQ(n.moonOverride(3), "Pale");
    EXPECT_EQ(n.count(NameKind::System), 2U);
    EXPECT_EQ(n.count(NameKind::Planet), 0U);
    EXPECT_EQ(n.foreignRecords(), 2);
    EXPECT_FALSE(n.empty());

    std::vector<std::int64_t> ids;
    n.forEach(NameKind::System, [&](std::int64_t id, const std::string&) { ids.push_back(id); });
    EXPECT_EQ(ids, (std::vector<std::int64_t>{0, 1}));
}

TEST(SectorNames, LoadsFromDiskAndAMissingFileMeansNoNames) {
    const std::string base = (freshTestDir("names") / "s").string();
    EXPECT_TRUE(SectorNames::load(base).empty());
    EXPECT_EQ(SectorNames::load(base).sectorName(), std::nullopt);
    {
        RecordFile<TNameRec> f(sectorPath(base, ".nam"), RawRecordFile::Mode::Create);
        f.append(header("Reach"));
        // Out of id order, as a rename leaves it.
        f.append(makeNameRecord(NameKind::System, 4, "Tol"));
        f.append(makeNameRecord(NameKind::System, 2, "Ashe"));
        f.append(makeNameRecord(NameKind::System, 4, "Tolmar"));
    }
    // A torn tail is no record.
    writeFileBytes(sectorPath(base, ".nam"), fileBytes(sectorPath(base, ".nam")) + std::string(17, 'x'));
    const SectorNames n = SectorNames::load(base);
    EXPECT_EQ(n.sectorName(), "Reach");
    EXPECT_EQ(n.system(2), "Ashe");
    EXPECT_EQ(n.system(4), "Tolmar");
    EXPECT_EQ(n.count(NameKind::System), 2U);
}

TEST(SectorNames, RecordLayoutOfANameRecord) {
    const TNameRec r = makeNameRecord(NameKind::Race, 0x01020304, "Krai");
    unsigned char bytes[sizeof(TNameRec)];
    encodeRecord(r, bytes);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[1] | bytes[2] | bytes[3], 0);
    EXPECT_EQ(bytes[4], 0x04);
    EXPECT_EQ(bytes[7], 0x01);
    EXPECT_EQ(bytes[8], 4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + 9), 4), "Krai");
    EXPECT_EQ(bytes[13], 0);
}

// Every byte of a record of each of our kinds: kind, three zero bytes, the
// value little-endian, the name's length, its characters in the code page
// and zeros to the end of the 60 bytes.
TEST(SectorNames, ExactBytesOfEachKind) {
    const auto expected = [](std::uint8_t kind, std::string value, std::string name) {
        std::string bytes(1, static_cast<char>(kind));
        bytes += std::string(3, '\0') + value;
        bytes += static_cast<char>(name.size());
        bytes += name + std::string(50 - name.size(), '\0');
        bytes += '\0';
        return bytes;
    };
    EXPECT_EQ(bytesOf(header("Reach")), expected(0, std::string("\x08\0\0\0", 4), "Reach"));
    EXPECT_EQ(bytesOf(makeNameRecord(NameKind::System, 19, "Vessane")),
              expected(1, std::string("\x13\0\0\0", 4), "Vessane"));
    EXPECT_EQ(bytesOf(makeNameRecord(NameKind::Planet, 0x12345, "Cinder")),
              expected(2, std::string("\x45\x23\x01\0", 4), "Cinder"));
    EXPECT_EQ(bytesOf(makeNameRecord(NameKind::Race, 65534, "Krai")),
              expected(3, std::string("\xFE\xFF\0\0", 4), "Krai"));
    EXPECT_EQ(bytesOf(makeNameRecord(NameKind::Moon, 7, "P\xE2le")),
              expected(4, std::string("\x07\0\0\0", 4), "P\xE2le"));
    const std::string fifty(50, 'z');
    EXPECT_EQ(bytesOf(makeNameRecord(NameKind::System, 0, fifty)), expected(1, std::string(4, '\0'), fifty));
    EXPECT_EQ(sizeof(TNameRec), 60U);
}

// Only the names asked for are kept; the header always is.
TEST(SectorNames, LoadingOnlyTheNamesWanted) {
    const std::string base = (freshTestDir("names") / "s").string();
    {
        RecordFile<TNameRec> f(sectorPath(base, ".nam"), RawRecordFile::Mode::Create);
        f.append(header("Reach"));
        f.append(makeNameRecord(NameKind::System, 4, "Tol"));
        f.append(makeNameRecord(NameKind::Race, 4, "Krai"));
        f.append(makeNameRecord(NameKind::System, 5, "Ashe"));
        f.append(makeNameRecord(NameKind::System, 4, ""));
    }
    const SectorNames some = SectorNames::load(
        base, [](NameKind kind, std::int32_t value) { return kind == NameKind::System && value == 4; });
    EXPECT_EQ(some.sectorName(), "Reach");
    EXPECT_EQ(some.system(4), std::nullopt);  // its removal was kept too
    EXPECT_EQ(some.system(5), std::nullopt);
    EXPECT_EQ(some.race(4), std::nullopt);
    const SectorNames race =
        SectorNames::load(base, [](NameKind kind, std::int32_t) { return kind == NameKind::Race; });
    EXPECT_EQ(race.race(4), "Krai");
    EXPECT_EQ(race.count(NameKind::System), 0U);
    EXPECT_EQ(SectorNames::load(base).longest(NameKind::System), 4U);
    EXPECT_EQ(SectorNames::load(base).longest(NameKind::Moon), 0U);
}

TEST(ConventionalNames, RomanNumeralsAndMoonLetters) {
    EXPECT_EQ(romanNumeral(1), "I");
    EXPECT_EQ(romanNumeral(4), "IV");
    EXPECT_EQ(romanNumeral(9), "IX");
    EXPECT_EQ(romanNumeral(14), "XIV");
    EXPECT_EQ(romanNumeral(18), "XVIII");
    EXPECT_EQ(romanNumeral(1994), "MCMXCIV");
    EXPECT_EQ(romanNumeral(0), "");
    EXPECT_EQ(moonLetters(0), "a");
    EXPECT_EQ(moonLetters(25), "z");
    EXPECT_EQ(moonLetters(26), "aa");
    EXPECT_EQ(moonLetters(27), "ab");
    EXPECT_EQ(moonLetters(52), "ba");
}

// Two stars: star 1 has planet, belt, planet, planet (ids 10..13); star 2 has
// belt, planet (ids 14..15); star 3 is absent.
TSystemRec twoStarSystem() {
    TSystemRec s;
    s.starCount = 2;
    s.planetCount = {4, 2, 0};
    s.firstPlanetId = {10, 14, 16};
    s.orbit[0][0] = 3;
    s.orbit[1][0] = -8;
    s.orbit[2][0] = 15;
    s.orbit[3][0] = 40;
    s.orbit[0][1] = -2;
    s.orbit[1][1] = 5;
    return s;
}

TEST(ConventionalNames, PlanetsAndBeltsAreNumberedSeparatelyPerStar) {
    const TSystemRec s = twoStarSystem();
    const auto name = [&](std::int64_t id) { return conventionalWorldName("Vessane", *worldPlace(s, id)); };
    EXPECT_EQ(name(10), "Vessane I");
    EXPECT_EQ(name(11), "Vessane belt 1");
    EXPECT_EQ(name(12), "Vessane II");
    EXPECT_EQ(name(13), "Vessane III");
    EXPECT_EQ(name(14), "Vessane B belt 1");
    EXPECT_EQ(name(15), "Vessane B I");
    EXPECT_FALSE(worldPlace(s, 9).has_value());
    EXPECT_FALSE(worldPlace(s, 16).has_value());
    const auto p = *worldPlace(s, 13);
    EXPECT_EQ(p.star, 1);
    EXPECT_EQ(p.orbit, 4);
    EXPECT_FALSE(p.belt);
    EXPECT_EQ(p.number, 3);
}

TEST(ConventionalNames, SystemNamerAppliesOverridesThenConventions) {
    const TSystemRec s = twoStarSystem();
    const SectorNames names = SectorNames::fromRecords({
        header("Reach"),
        makeNameRecord(NameKind::System, 6, "Vessane"),
        makeNameRecord(NameKind::Planet, 13, "Haven"),
        makeNameRecord(NameKind::Moon, 41, "Pale"),
    });
    const SystemNamer namer(names, 6, s);
    EXPECT_EQ(namer.system(), "Vessane");
    EXPECT_EQ(namer.planet(12), "Vessane II");
    EXPECT_EQ(namer.planet(13), "Haven");
    EXPECT_EQ(namer.moon(12, 30, 31), "Vessane II b");
    EXPECT_EQ(namer.moon(13, 40, 40), "Haven a");  // moons follow their planet's override
    EXPECT_EQ(namer.moon(13, 40, 41), "Pale");
    EXPECT_EQ(namer.planet(99), std::nullopt);

    // An unnamed system: no conventional names, overrides still show.
    const SystemNamer unnamed(names, 7, s);
    EXPECT_EQ(unnamed.system(), std::nullopt);
    EXPECT_EQ(unnamed.planet(12), std::nullopt);
    EXPECT_EQ(unnamed.planet(13), "Haven");
    EXPECT_EQ(unnamed.moon(12, 30, 31), std::nullopt);

    EXPECT_EQ(withId(namer.system(), 6), "Vessane (6)");
    EXPECT_EQ(withId(std::nullopt, 6), "6");
}

}  // namespace
}  // namespace orrimar

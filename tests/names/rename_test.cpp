#include "names/rename.h"

#include <gtest/gtest.h>

#include <string>

#include "common/errors.h"
#include "records/record_file.h"
#include "records/sector_files.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/record_bytes.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

// A sector of 3 systems, 5 planets, 2 moons and 1 race: only the counts
// matter to renaming.
struct Renaming : ::testing::Test {
    std::string base;

    void SetUp() override {
        base = (freshTestDir("rename") / "s").string();
        fill<TSystemRec>(".sun", 3);
        fill<TPlanetRec>(".pln", 5);
        fill<TMoonRec>(".mon", 2);
        fill<TAlienRec>(".aln", 1);
        RecordFile<TNameRec> names(sectorPath(base, ".nam"), RawRecordFile::Mode::Create);
        names.append(makeNameRecord(NameKind::Header, kNameHeaderValue, "Reach"));
        names.append(makeNameRecord(NameKind::System, 0, "Vessane"));
    }
    template <typename T>
    void fill(const char* ext, int count) {
        RecordFile<T> f(sectorPath(base, ext), RawRecordFile::Mode::Create);
        for (int i = 0; i < count; ++i) f.append(T{});
    }
    std::string nameBytes() const { return fileBytes(sectorPath(base, ".nam")); }
};

TEST_F(Renaming, AppendsOneRecordThatWinsAndAnEmptyNameRemovesIt) {
    const std::string before = nameBytes();
    EXPECT_EQ(renameInSector(base, NameKind::System, 0, "Haven"), 2);
    // Exactly one 60-byte record more, the earlier ones untouched.
    EXPECT_EQ(nameBytes(), before + bytesOf(makeNameRecord(NameKind::System, 0, "Haven")));
    EXPECT_EQ(SectorNames::load(base).system(0), "Haven");

    EXPECT_EQ(renameInSector(base, NameKind::System, 0, "Tolmar"), 3);
    EXPECT_EQ(SectorNames::load(base).system(0), "Tolmar");  // the last one wins
    EXPECT_EQ(renameInSector(base, NameKind::System, 0, ""), 4);
    EXPECT_EQ(SectorNames::load(base).system(0), std::nullopt);

    // Each kind its own record, in the code page: "é" is one byte.
    renameInSector(base, NameKind::Planet, 4, "Cinder");
    renameInSector(base, NameKind::Moon, 1, "Pâle");
    renameInSector(base, NameKind::Race, 0, "Krai");
    const SectorNames n = SectorNames::load(base);
    EXPECT_EQ(n.planetOverride(4), "Cinder");
    EXPECT_EQ(n.moonOverride(1), "P\xE2le");
    EXPECT_EQ(n.race(0), "Krai");
    EXPECT_EQ(nameBytes().size(), 8U * sizeof(TNameRec));
}

TEST_F(Renaming, TheLongestNameFitsAtFiftyCharactersOfTheCodePage) {
    // 50 characters that take 100 bytes of UTF-8 but 50 of the code page.
    std::string accented;
    for (int i = 0; i < 50; ++i) accented += "é";
    renameInSector(base, NameKind::System, 1, accented);
    EXPECT_EQ(SectorNames::load(base).system(1), std::string(50, '\xE9'));
    renameInSector(base, NameKind::System, 2, std::string(50, 'a'));
    EXPECT_EQ(SectorNames::load(base).system(2)->size(), 50U);
    // Euro sign and curly quotes are in the code page (0x80, 0x93, 0x94).
    renameInSector(base, NameKind::System, 2, "\xE2\x82\xAC \xE2\x80\x9CQuoted\xE2\x80\x9D");
    EXPECT_EQ(SectorNames::load(base).system(2), "\x80 \x93Quoted\x94");
}

TEST_F(Renaming, RefusedNamesAndIdsLeaveTheNameFileByteIdentical) {
    const std::string before = nameBytes();
    struct Case {
        NameKind kind;
        std::int64_t id;
        std::string name;
        const char* says;
    };
    const Case cases[] = {
        {NameKind::System, 0, std::string(51, 'a'), "is 51 characters long; at most 50"},
        {NameKind::System, 0, std::string(51, 'a').replace(0, 1, "é"), "is 51 characters long"},
        {NameKind::System, 0, "Tab\there", "control character (code 9)"},
        {NameKind::System, 0, "Bell\x07", "control character (code 7)"},
        {NameKind::System, 0, "Del\x7F", "control character (code 127)"},
        {NameKind::System, 0, "C1 \xC2\x81", "control character (code 129)"},
        // The character the code page lacks is named, or the byte that is not UTF-8.
        {NameKind::System, 0, "Omega \xCE\xA9", "'\xCE\xA9' (U+03A9) is not in the Windows ANSI code page"},
        {NameKind::System, 0, "Star \xF0\x9F\x8C\x9F", "(U+1F31F) is not in the Windows ANSI code page"},
        {NameKind::System, 0, "Cut \xC3", "byte 5 is not well-formed UTF-8"},
        {NameKind::System, 0, " Vessane", "begins or ends with a blank"},
        {NameKind::System, 0, "Vessane ", "begins or ends with a blank"},
        {NameKind::System, 3, "Beyond", "No system 3 in"},
        {NameKind::System, -1, "Before", "No system -1 in"},
        {NameKind::Planet, 5, "Beyond", "No planet 5 in"},
        {NameKind::Moon, 2, "Beyond", "No moon 2 in"},
        {NameKind::Race, 1, "Beyond", "No race 1 in"},
        {NameKind::Header, 0, "New sector", "set when it is created"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            renameInSector(base, c.kind, c.id, c.name);
            ADD_FAILURE() << "accepted";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        EXPECT_EQ(nameBytes(), before);
    }
}

TEST_F(Renaming, ASectorWithoutItsFilesIsAnIoErrorAndNothingIsCreated) {
    const std::string other = base + "x";
    EXPECT_THROW(renameInSector(other, NameKind::System, 0, "Haven"), IoError);
    EXPECT_FALSE(std::filesystem::exists(other + ".nam"));
    std::filesystem::remove(sectorPath(base, ".nam"));
    EXPECT_THROW(renameInSector(base, NameKind::System, 0, "Haven"), IoError);
    EXPECT_FALSE(std::filesystem::exists(sectorPath(base, ".nam")));
}

}  // namespace
}  // namespace orrimar

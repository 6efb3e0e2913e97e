// The framing of fuzz inputs: what make_corpus writes must come back as the
// same files, and a cut or mutated input must still give files, never a
// read past the input.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "fuzz_support.h"

namespace orrimar::fuzz {
namespace {

const std::uint8_t* bytesOf(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

TEST(FuzzFraming, AFramedSectorPairIsWrittenBackFileForFile) {
    const Scratch& folder = scratch();
    folder.clear();
    writeFile(folder.path("m.sun"), std::string(196, 'S'));
    writeFile(folder.path("m.cmt"), "comment\r\n");
    writeFile(folder.path("n.pln"), std::string(84, '\0'));
    const std::string input =
        std::string("\x01\x02\x03\x04", 4) + encodeSector(folder.path("m")) + encodeSector(folder.path("n"), true);
    const FuzzInput parsed = parseInput(bytesOf(input), input.size());
    EXPECT_EQ(parsed.params[0], 1);
    EXPECT_EQ(parsed.params[3], 4);
    ASSERT_EQ(parsed.frames.size(), 3U);

    folder.writeSectors(parsed, "x", "y");
    EXPECT_FALSE(std::filesystem::exists(folder.path("m.sun")));  // cleared first
    EXPECT_EQ(readFile(folder.path("x.sun")), std::string(196, 'S'));
    EXPECT_EQ(readFile(folder.path("x.cmt")), "comment\r\n");
    EXPECT_EQ(readFile(folder.path("y.pln")), std::string(84, '\0'));
    EXPECT_FALSE(std::filesystem::exists(folder.path("x.pln")));
}

TEST(FuzzFraming, CutAndOversizedFramesStopAtTheEndOfTheInput) {
    // A length of 0xffffff with three bytes left: the frame holds those three.
    const std::string input = std::string("\0\0\0\0", 4) + std::string("\x02\xff\xff\xff", 4) + "abc";
    const FuzzInput parsed = parseInput(bytesOf(input), input.size());
    ASSERT_EQ(parsed.frames.size(), 1U);
    EXPECT_EQ(parsed.frames[0].bytes, "abc");

    // Cut inside the parameters, inside a length, right after a tag.
    for (std::size_t size : {0U, 2U, 4U, 5U, 6U}) {
        const FuzzInput cut = parseInput(bytesOf(input), size);
        for (const Frame& frame : cut.frames) EXPECT_TRUE(frame.bytes.empty()) << size;
    }
}

TEST(FuzzFraming, EveryTagNamesAMemberAndALaterFrameWins) {
    const Scratch& folder = scratch();
    // Tag 0x0b is member 11 mod 9 = 2, the moon file; 0x1b the second sector's.
    const std::string input =
        std::string(4, '\0') + encodeFrame(0x0b, "old") + encodeFrame(0x0b, "new") + encodeFrame(0x1b, "second");
    folder.writeSectors(parseInput(bytesOf(input), input.size()), "p", "q");
    EXPECT_EQ(readFile(folder.path("p.mon")), "new");
    EXPECT_EQ(readFile(folder.path("q.mon")), "second");
}

}  // namespace
}  // namespace orrimar::fuzz

#include "common/ansi_text.h"

#include <gtest/gtest.h>

#include <string>

namespace orrimar {
namespace {

TEST(AnsiText, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = ansiToUtf8(all);
    const auto back = utf8ToAnsi(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(AnsiText, TypographicBytesAndTheirEdges) {
    // 0x7F and 0xA0 are their own code points; 0x80 is the euro sign,
    // 0x9F the capital Y with diaeresis.
    EXPECT_EQ(ansiToUtf8("\x7F"), "\x7F");
    EXPECT_EQ(ansiToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(ansiToUtf8("\x9F"), "\xC5\xB8");
    EXPECT_EQ(ansiToUtf8("\xA0"), "\xC2\xA0");
    EXPECT_EQ(ansiToUtf8("\xFF"), "\xC3\xBF");
    EXPECT_EQ(ansiToUtf8("\x96\x93\x94"), "\xE2\x80\x93\xE2\x80\x9C\xE2\x80\x9D");
    EXPECT_EQ(ansiToUtf8("Caf\xE9"), "Caf\xC3\xA9");
    // Undefined bytes read as their C1 code points and map back.
    EXPECT_EQ(ansiToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(ansiToCodePoint(0x8D), U'\u008D');
    EXPECT_EQ(utf8ToAnsi("\xC5\xA0koda \xE2\x82\xAC"), std::string("\x8Akoda \x80"));
}

TEST(AnsiText, RefusesWhatTheCodePageCannotHold) {
    EXPECT_FALSE(utf8ToAnsi("\xC2\x80").has_value());          // U+0080, a C1 control the page maps elsewhere
    EXPECT_FALSE(utf8ToAnsi("\xC2\x9F").has_value());          // U+009F
    EXPECT_FALSE(utf8ToAnsi("\xC4\x80").has_value());          // U+0100
    EXPECT_FALSE(utf8ToAnsi("\xE6\x98\x9F").has_value());      // a CJK character
    EXPECT_FALSE(utf8ToAnsi("\xF0\x9F\x9A\x80").has_value());  // an emoji
    EXPECT_EQ(utf8ToAnsi(""), std::string());
}

TEST(AnsiText, RefusesMalformedUtf8) {
    EXPECT_FALSE(utf8ToAnsi("\x80").has_value());              // lone continuation
    EXPECT_FALSE(utf8ToAnsi("\xC3").has_value());              // cut off
    EXPECT_FALSE(utf8ToAnsi("a\xE2\x82").has_value());         // cut off after two of three
    EXPECT_FALSE(utf8ToAnsi("\xC3\x41").has_value());          // bad continuation
    EXPECT_FALSE(utf8ToAnsi("\xC0\xAF").has_value());          // overlong '/'
    EXPECT_FALSE(utf8ToAnsi("\xE0\x80\xAF").has_value());      // overlong three-byte
    EXPECT_FALSE(utf8ToAnsi("\xED\xA0\x80").has_value());      // surrogate
    EXPECT_FALSE(utf8ToAnsi("\xF4\x90\x80\x80").has_value());  // above U+10FFFF
    EXPECT_FALSE(utf8ToAnsi("\xFF").has_value());
}

TEST(AnsiText, ARefusalNamesTheCharacterOrTheByte) {
    EXPECT_EQ(convertUtf8ToAnsi("ab\xCE\xA9").problem, "'\xCE\xA9' (U+03A9) is not in the Windows ANSI code page");
    EXPECT_EQ(convertUtf8ToAnsi("\xF0\x9F\x9A\x80").problem,
              "'\xF0\x9F\x9A\x80' (U+1F680) is not in the Windows ANSI code page");
    EXPECT_EQ(convertUtf8ToAnsi("abc\xC3").problem, "byte 4 is not well-formed UTF-8");
    EXPECT_EQ(convertUtf8ToAnsi("\xC0\xAF").problem, "byte 1 is not well-formed UTF-8");
    // 26 "é" are 52 bytes of UTF-8 and 26 characters of the code page.
    std::string accents;
    for (int i = 0; i < 26; ++i) accents += "\xC3\xA9";
    const AnsiConversion converted = convertUtf8ToAnsi(accents);
    EXPECT_EQ(converted.text, std::string(26, '\xE9'));
    EXPECT_EQ(converted.problem, "");
}

}  // namespace
}  // namespace orrimar

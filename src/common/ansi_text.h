// Conversion between the Windows ANSI code page (Windows-1252), in which the
// sector files store every text, and UTF-8, which the command line, the
// exports and the user interface use.
//
// Bytes 0x00..0x7F and 0xA0..0xFF are the code points of the same value;
// 0x80..0x9F hold the twenty-seven typographic characters of the code page
// (euro sign, curly quotes, dashes, S and Z with caron ...). The five bytes
// the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) are read as
// the C1 control code points of the same value, U+0081 and so on, as
// Windows itself reads them; utf8ToAnsi maps those five code points back,
// so every byte string survives ansiToUtf8 followed by utf8ToAnsi.
//
// This is the one conversion every log, report, export and window uses, so a
// name reads the same everywhere. The C1 code point is chosen over U+FFFD
// because it keeps the byte: a name copied out of an export and typed back
// into a rename is the name the sector holds, where U+FFFD would have
// merged five different bytes into one character that maps back to none.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orrimar {

// The ANSI bytes of a UTF-8 text; nullopt when the text is not well-formed
// UTF-8 (overlong forms, surrogates, code points above U+10FFFF, cut-off
// sequences) or holds a character that the code page cannot represent.
std::optional<std::string> utf8ToAnsi(std::string_view utf8);

// utf8ToAnsi with the reason of a refusal: "'Ω' (U+03A9) is not in the
// Windows ANSI code page" or "byte 3 is not well-formed UTF-8".
struct AnsiConversion {
    std::optional<std::string> text;
    std::string problem;  // empty when text is set
};
AnsiConversion convertUtf8ToAnsi(std::string_view utf8);

// The UTF-8 text of ANSI bytes. Never fails.
std::string ansiToUtf8(std::string_view ansi);

// Appends the UTF-8 bytes of one code point (at most U+10FFFF).
void appendUtf8(std::string& out, char32_t cp);

// The code point of one ANSI byte (see above for the five undefined bytes).
char32_t ansiToCodePoint(unsigned char byte);

}  // namespace orrimar

#include "common/ansi_text.h"

#include <array>
#include <cstdint>
#include <utility>

#include <fmt/format.h>

namespace orrimar {

namespace {

// Code points of bytes 0x80..0x9F. The undefined bytes carry their own
// value (a C1 control code point), as Windows reads them.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// The byte of a code point, or -1 when the code page has none.
int codePointToAnsi(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    // 32 entries: a linear search costs less than building a reverse table.
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
    }
    return -1;
}

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t ansiToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[static_cast<std::size_t>(byte - 0x80)];
    return byte;
}

std::string ansiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (const char c : ansi) appendUtf8(out, ansiToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> utf8ToAnsi(std::string_view utf8) { return convertUtf8ToAnsi(utf8).text; }

AnsiConversion convertUtf8ToAnsi(std::string_view utf8) {
    const auto malformed = [](std::size_t at) {
        return AnsiConversion{std::nullopt, "byte " + std::to_string(at + 1) + " is not well-formed UTF-8"};
    };
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        std::size_t extra = 0;
        char32_t least = 0;  // smallest code point of this length: shorter forms are overlong
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1FU;
            extra = 1;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0FU;
            extra = 2;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07U;
            extra = 3;
            least = 0x10000;
        } else {
            return malformed(i);  // a continuation byte or 0xF8..0xFF as lead
        }
        if (utf8.size() - i <= extra) return malformed(i);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return malformed(i);
            cp = (cp << 6) | (next & 0x3FU);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return malformed(i);
        const int byte = codePointToAnsi(cp);
        if (byte < 0) {
            return AnsiConversion{std::nullopt, fmt::format("'{}' (U+{:04X}) is not in the Windows ANSI code page",
                                                            utf8.substr(i, extra + 1), static_cast<std::uint32_t>(cp))};
        }
        out += static_cast<char>(byte);
        i += extra + 1;
    }
    return AnsiConversion{std::move(out), {}};
}

}  // namespace orrimar

#include "common/number_text.h"

#include <charconv>
#include <system_error>

namespace orrimar {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

ConvertedInteger convertInteger(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const bool hex = pos < text.size() && text[pos] == '$';
    if (hex) ++pos;

    // Decimal numbers stop short of overflowing a 32-bit integer; hexadecimal
    // ones take 32 bits as they are, so "$FFFFFFFF" is -1.
    const std::uint64_t limit = hex ? 0xFFFFFFFFULL : (negative ? 2147483648ULL : 2147483647ULL);
    std::uint64_t magnitude = 0;
    bool anyDigit = false;
    bool stopped = false;
    for (; pos < text.size(); ++pos) {
        const int digit = hex ? hexDigitValue(text[pos]) : (isDigit(text[pos]) ? text[pos] - '0' : -1);
        if (digit < 0) {
            stopped = true;
            break;
        }
        const std::uint64_t next = magnitude * (hex ? 16U : 10U) + static_cast<std::uint64_t>(digit);
        if (next > limit) {
            stopped = true;
            break;
        }
        magnitude = next;
        anyDigit = true;
    }
    const auto bits = static_cast<std::uint32_t>(magnitude);
    const std::uint32_t signedBits = negative ? 0U - bits : bits;
    ConvertedInteger out;
    out.value = static_cast<std::int32_t>(signedBits);
    out.complete = anyDigit && !stopped;
    return out;
}

std::optional<double> decimalReal(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    // One sign at most; from_chars takes no '+' of its own.
    std::size_t i = 0;
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    } else if (!text.empty() && text.front() == '-') {
        i = 1;
    }
    std::size_t mantissaDigits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++mantissaDigits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < text.size() && isDigit(text[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace orrimar

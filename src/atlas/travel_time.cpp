#include "atlas/travel_time.h"

#include <fmt/format.h>

#include <array>

#include "common/errors.h"

namespace orrimar::atlas {

namespace {

struct TimeUnit {
    std::string_view letter;  // "w"
    std::string_view one;     // "week"
    std::string_view many;    // "weeks"
    std::int64_t hours;
};

// Largest first: the order durationText says them in.
constexpr std::array<TimeUnit, 3> kUnits = {{
    {"w", "week", "weeks", 168},
    {"d", "day", "days", 24},
    {"h", "hour", "hours", 1},
}};

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

Duration jumpTimeFromText(std::string_view text, std::string_view option) {
    auto malformed = [&]() {
        return InputError(fmt::format(
            "{}: '{}' is no time: give whole weeks, days or hours such as 1w, 7d, 168h or 2w3d", option, text));
    };
    auto tooLong = [&]() {
        return InputError(
            fmt::format("{}: '{}' is too long: a jump takes at most {} weeks", option, text, kLongestJumpHours / 168));
    };
    std::int64_t total = 0;
    std::array<bool, kUnits.size()> seen{};
    std::size_t i = 0;
    bool any = false;
    for (;;) {
        while (i < text.size() && isBlank(text[i])) ++i;
        if (i == text.size()) break;
        if (!isDigit(text[i])) throw malformed();
        std::int64_t count = 0;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            count = count * 10 + (text[i] - '0');
            // Past the longest jump already: the rest cannot bring it back.
            if (count > kLongestJumpHours) throw tooLong();
        }
        while (i < text.size() && isBlank(text[i])) ++i;
        std::string word;
        for (; i < text.size() && isLetter(text[i]); ++i) word += lower(text[i]);
        std::size_t unit = kUnits.size();
        for (std::size_t u = 0; u < kUnits.size(); ++u) {
            if (word == kUnits[u].letter || word == kUnits[u].one || word == kUnits[u].many) unit = u;
        }
        if (unit == kUnits.size() || seen[unit]) throw malformed();
        seen[unit] = true;
        any = true;
        total += count * kUnits[unit].hours;
        if (total > kLongestJumpHours) throw tooLong();
    }
    if (!any) throw malformed();
    if (total == 0) throw InputError(fmt::format("{}: '{}' is no time: a jump takes an hour or more", option, text));
    return Duration{total};
}

std::string durationText(Duration time) {
    std::string text;
    std::int64_t left = time.hours;
    for (const TimeUnit& unit : kUnits) {
        const std::int64_t count = left / unit.hours;
        left %= unit.hours;
        if (count == 0) continue;
        text += fmt::format("{}{} {}", text.empty() ? "" : " ", count, count == 1 ? unit.one : unit.many);
    }
    return text.empty() ? std::string("0 hours") : text;
}

}  // namespace orrimar::atlas

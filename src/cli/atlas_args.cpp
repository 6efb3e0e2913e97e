#include "cli/atlas_args.h"

#include "atlas/route_stops.h"
#include "records/colony_codes.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <charconv>
#include <sstream>
#include <vector>

#include "vocabulary/body_names.h"
#include "common/errors.h"

namespace orrimar::cli {

namespace {

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        const auto b = part.find_first_not_of(' ');
        const auto e = part.find_last_not_of(' ');
        if (b != std::string::npos) parts.push_back(part.substr(b, e - b + 1));
    }
    return parts;
}

// Lower case with '-', '_' and spaces dropped: "Gas Giant", "gas-giant" and
// "GAS_GIANT" all read "gasgiant".
std::string folded(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' || c == '-' || c == '_') continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

template <typename T>
bool parseNumber(std::string_view text, T& value) {
    if (text.empty()) return false;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

std::uint32_t starKindsFromText(const std::string& text) {
    std::uint32_t mask = 0;
    for (const std::string& part : splitList(text)) {
        int code = 0;
        if (parseNumber(part, code)) {
            if (code < 1 || code > 23)
                throw InputError(fmt::format("--star: no star kind {} (kinds are 1 to 23)", code));
            mask |= atlas::codeBit(code);
            continue;
        }
        const std::string letter = folded(part);
        std::uint32_t found = 0;
        for (int k = 1; k <= 23; ++k) {
            const auto& info = vocabulary::starKindInfo(k);
            if (!info.spectralClass.empty() && folded(info.spectralClass) == letter) found |= atlas::codeBit(k);
        }
        if (found == 0) {
            throw InputError(
                fmt::format("--star: '{}' is no spectral class: use O, B, A, F, G, K, M or kind codes 1 to 23", part));
        }
        mask |= found;
    }
    if (mask == 0) throw InputError("--star: no star kind given");
    return mask;
}

std::uint32_t worldTypesFromText(const std::string& text) {
    std::uint32_t mask = 0;
    for (const std::string& part : splitList(text)) {
        int code = 0;
        if (parseNumber(part, code)) {
            if (code < 1 || code > 23)
                throw InputError(fmt::format("--world: no world type {} (types are 1 to 23)", code));
            mask |= atlas::codeBit(code);
            continue;
        }
        int found = 0;
        for (int t = 1; t <= 23; ++t) {
            if (folded(vocabulary::worldTypeText(t)) == folded(part)) found = t;
        }
        if (found == 0) {
            std::string names;
            for (int t = 1; t <= 23; ++t) names += (t > 1 ? ", " : "") + vocabulary::worldTypeText(t);
            throw InputError(fmt::format("--world: '{}' is no world type; the types are {}", part, names));
        }
        mask |= atlas::codeBit(found);
    }
    if (mask == 0) throw InputError("--world: no world type given");
    return mask;
}

vocabulary::LifeLevel lifeFromText(const std::string& text) {
    for (int l = 1; l < vocabulary::kLifeLevelCount; ++l) {
        const auto level = static_cast<vocabulary::LifeLevel>(l);
        if (folded(vocabulary::lifeLevelName(level)) == folded(text)) return level;
    }
    throw InputError(
        fmt::format("--life: '{}' is no level of life: use prebiotic, microbial, complex or sentient", text));
}

atlas::Range<int> intRangeFromText(const std::string& text, const char* option, int lowest, int highest) {
    atlas::Range<int> r{lowest, highest};
    const auto dots = text.find("..");
    const std::string lo = dots == std::string::npos ? text : text.substr(0, dots);
    const std::string hi = dots == std::string::npos ? text : text.substr(dots + 2);
    const bool ok =
        (lo.empty() || parseNumber(lo, r.min)) && (hi.empty() || parseNumber(hi, r.max)) && !(lo.empty() && hi.empty());
    if (!ok || r.min > r.max) {
        throw InputError(
            fmt::format("{}: '{}' is no range: give MIN..MAX, MIN.., ..MAX or one whole number", option, text));
    }
    if (r.min < lowest || r.max > highest) {
        throw InputError(
            fmt::format("{}: '{}' is out of range: the values go from {} to {}", option, text, lowest, highest));
    }
    return r;
}

atlas::Range<double> realRangeFromText(const std::string& text, const char* option) {
    atlas::Range<double> r{0.0, 1e9};
    const auto dots = text.find("..");
    const std::string lo = dots == std::string::npos ? text : text.substr(0, dots);
    const std::string hi = dots == std::string::npos ? text : text.substr(dots + 2);
    auto real = [](const std::string& s, double& v) {
        try {
            std::size_t used = 0;
            v = std::stod(s, &used);
            return used == s.size();
        } catch (const std::exception&) {
            return false;
        }
    };
    const bool ok = (lo.empty() || real(lo, r.min)) && (hi.empty() || real(hi, r.max)) && !(lo.empty() && hi.empty());
    if (!ok || !(r.min <= r.max)) {
        throw InputError(fmt::format("{}: '{}' is no range: give MIN..MAX, MIN.., ..MAX or one number", option, text));
    }
    if (r.min < 0.0) throw InputError(fmt::format("{}: '{}' is out of range: the values are 0 or more", option, text));
    return r;
}

int starportFromText(const std::string& text) {
    int code = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (ec == std::errc() && end == text.data() + text.size() && code >= 1 &&
        code <= static_cast<int>(kStarportNames.size())) {
        return code;
    }
    if (const auto port = starportByName(text)) return static_cast<int>(*port);
    throw InputError(
        fmt::format("--starport: '{}' is no starport: use excellent, good, fair, primitive, none or 1..5", text));
}

std::uint16_t colonyTypesFromText(const std::string& text) {
    std::uint16_t bits = 0;
    for (std::string word : splitList(text)) {
        std::replace(word.begin(), word.end(), '-', ' ');
        std::replace(word.begin(), word.end(), '_', ' ');
        int code = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), code);
        if (!(ec == std::errc() && end == word.data() + word.size() && code >= 1 &&
              code <= static_cast<int>(kColonyTypeNames.size()))) {
            const auto type = colonyTypeByName(word);
            if (!type) {
                throw InputError(fmt::format("--colony-type: '{}' is no colony type: use {} or codes 1..{}", word,
                                             fmt::join(kColonyTypeNames, ", "), kColonyTypeNames.size()));
            }
            code = static_cast<int>(*type);
        }
        bits = static_cast<std::uint16_t>(bits | (1U << code));
    }
    if (bits == 0) throw InputError("--colony-type: give one type or more, such as mining,research");
    return bits;
}

atlas::RouteStopChoice viaFromText(const atlas::AtlasModel& model, const std::string& property) {
    const auto choice = atlas::routeStopFromText(model, property, "--via");
    if (choice && choice->stop != atlas::RouteStop::Any) return *choice;
    std::string words;
    for (const atlas::RouteStop stop : atlas::kRouteStops) {
        if (stop == atlas::RouteStop::Any) continue;
        words += (words.empty() ? "" : ", ") + std::string(atlas::routeStopWord(stop));
        if (stop == atlas::RouteStop::Empire) words += ":NAME";
    }
    throw InputError(fmt::format("--via: '{}' is no property: use one of {}", property, words));
}

}  // namespace orrimar::cli

#include "vocabulary/colony_words.h"

#include <fmt/format.h>

#include "records/colony_codes.h"

namespace orrimar::vocabulary {

namespace {

constexpr std::string_view kOffScale = "off the scale";

// Law runs from none to a state that watches every step.
constexpr std::array<std::string_view, kLastLevel + 1> kLawWords = {
    "no law", "lawless", "lax", "light", "moderate", "firm", "strict", "harsh", "oppressive", "total control",
};

// Stability runs from a colony in chaos to one nothing shakes.
constexpr std::array<std::string_view, kLastLevel + 1> kStabilityWords = {
    "chaos", "collapsing", "unrest", "shaky", "uneasy", "settled", "steady", "stable", "secure", "unshakeable",
};

// Crime runs from none at all to a colony the criminals run.
constexpr std::array<std::string_view, kLastLevel + 1> kCrimeWords = {
    "none", "rare", "petty", "low", "common", "high", "widespread", "organised", "endemic", "rampant",
};

std::string_view wordOf(const std::array<std::string_view, kLastLevel + 1>& words, int level) {
    if (level < 0 || level > kLastLevel) return kOffScale;
    return words[static_cast<std::size_t>(level)];
}

}  // namespace

std::string_view lawWord(int level) { return wordOf(kLawWords, level); }
std::string_view stabilityWord(int level) { return wordOf(kStabilityWords, level); }
std::string_view crimeWord(int level) { return wordOf(kCrimeWords, level); }

std::string governmentText(const TColonyRec& colony) {
    return fmt::format("law {} ({}), stability {} ({}), crime {} ({})", colony.lawLevel, lawWord(colony.lawLevel),
                       colony.stability, stabilityWord(colony.stability), colony.crimeLevel,
                       crimeWord(colony.crimeLevel));
}

std::vector<std::string> facilityNames(const TColonyRec& colony) {
    std::vector<std::string> names;
    for (std::size_t k = 0; k < kFacilityNames.size(); ++k) {
        if (hasFacility(colony, static_cast<Facility>(k + 1))) names.emplace_back(kFacilityNames[k]);
    }
    return names;
}

std::string facilitiesText(const TColonyRec& colony) {
    std::string text;
    for (const std::string& name : facilityNames(colony)) {
        if (!text.empty()) text += ", ";
        text += name;
    }
    return text;
}

std::string colourHex(const std::array<std::uint8_t, 3>& rgb) {
    return fmt::format("#{:02x}{:02x}{:02x}", rgb[0], rgb[1], rgb[2]);
}

}  // namespace orrimar::vocabulary

#include "records/colony_codes.h"

#include <algorithm>
#include <cctype>

#include <fmt/format.h>

#include "common/errors.h"

namespace orrimar {

namespace {

// Population of code c = (u + offset) x scale, with d = c / 10 and
// u = c % 10. Magnitudes 0..5 count (u + 1) x 10^(d+4) people; magnitude 6
// counts (1 + u/10) x 10^10, kept whole as (10 + u) x 10^9.
struct Magnitude {
    std::uint64_t offset;
    std::uint64_t scale;
};
constexpr std::array<Magnitude, 7> kMagnitudes = {{
    {1, 10'000ULL},
    {1, 100'000ULL},
    {1, 1'000'000ULL},
    {1, 10'000'000ULL},
    {1, 100'000'000ULL},
    {1, 1'000'000'000ULL},
    {10, 1'000'000'000ULL},
}};
static_assert(kMagnitudes.size() * 10 == kPopulationCodeCount);

constexpr std::uint64_t kOneMillion = 1'000'000ULL;

template <std::size_t N>
std::string_view lookup(const std::array<std::string_view, N>& table, int code, const char* what) {
    if (code < 1 || code > static_cast<int>(N)) {
        throw RangeError(fmt::format("Range check error ({} {})", what, code));
    }
    return table[static_cast<std::size_t>(code - 1)];
}

// Names compare without regard to case or to blanks at either end.
std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

template <typename Code, std::size_t N>
std::optional<Code> byName(const std::array<std::string_view, N>& table, std::string_view name) {
    name = trimmed(name);
    for (std::size_t i = 0; i < N; ++i) {
        if (sameName(table[i], name)) return static_cast<Code>(i + 1);
    }
    return std::nullopt;
}

std::uint8_t facilityMask(Facility facility) {
    return static_cast<std::uint8_t>(1U << (static_cast<unsigned>(facility) - 1));
}

}  // namespace

std::optional<ColonyType> colonyTypeByName(std::string_view name) { return byName<ColonyType>(kColonyTypeNames, name); }
std::optional<Starport> starportByName(std::string_view name) { return byName<Starport>(kStarportNames, name); }
std::optional<Facility> facilityByName(std::string_view name) { return byName<Facility>(kFacilityNames, name); }

bool hasFacility(const TColonyRec& colony, Facility facility) {
    return (colony.facilities[0] & facilityMask(facility)) != 0;
}

void setFacility(TColonyRec& colony, Facility facility, bool present) {
    const std::uint8_t mask = facilityMask(facility);
    colony.facilities[0] = static_cast<std::uint8_t>(present ? colony.facilities[0] | mask : colony.facilities[0] & ~mask);
}

TColonyRec vacantColony() {
    TColonyRec colony;
    colony.worldId = -1;
    colony.race = kNoRace;
    colony.allegiance = kNoRace;
    return colony;
}

TEmpireRec vacantEmpire() { return TEmpireRec{}; }

void setColonisingRace(TPlanetRec& planet, std::uint16_t race) {
    if (race == kNoRace) {
        planet.worldFlags = static_cast<std::uint8_t>(planet.worldFlags & ~kColonisedWorldFlag);
        planet.colonisingRaceId = -1;
        return;
    }
    planet.worldFlags = static_cast<std::uint8_t>(planet.worldFlags | kColonisedWorldFlag);
    planet.colonisingRaceId = static_cast<std::int16_t>(race);
}

std::string_view colonyTypeName(int code) { return lookup(kColonyTypeNames, code, "colony type"); }

std::string_view starportName(int code) { return lookup(kStarportNames, code, "starport class"); }

std::uint64_t populationPeople(int code) {
    if (code < 0 || code >= kPopulationCodeCount) {
        throw RangeError(fmt::format("Range check error (population code {})", code));
    }
    const Magnitude& m = kMagnitudes[static_cast<std::size_t>(code / 10)];
    const auto mantissa = static_cast<std::uint64_t>(code % 10);
    return (mantissa + m.offset) * m.scale;
}

int populationCodeFor(std::uint64_t people) {
    int best = 0;
    for (int code = 0; code < kPopulationCodeCount; ++code) {
        if (populationPeople(code) <= people && populationPeople(code) > populationPeople(best)) best = code;
    }
    return best;
}

std::string populationWords(int code) { return peopleWords(populationPeople(code)); }

std::string peopleWords(std::uint64_t people) {
    if (people < 1000) return fmt::format("{}", people);
    if (people >= 1'000'000'000ULL) {
        const std::uint64_t tenths = people / 100'000'000ULL;
        return tenths % 10 == 0 ? fmt::format("{} billion", tenths / 10)
                                : fmt::format("{}.{} billion", tenths / 10, tenths % 10);
    }
    if (people >= kOneMillion) return fmt::format("{} million", people / kOneMillion);
    return fmt::format("{},{:03}", people / 1000, people % 1000);
}

std::string populationText(int code) {
    const std::uint64_t people = populationPeople(code);
    if (people < kOneMillion) return fmt::format("{} thousands", people / 1000);
    return fmt::format("{} millions", people / kOneMillion);
}

// ------------------------------------------------------------- empires

std::array<std::uint8_t, 3> empireColourFor(std::uint16_t raceId) {
    // Hue in 1/3600 turns: 1 / golden ratio of a turn per race (2225 of
    // 3600), so any run of consecutive ids spreads over the wheel.
    const int hue = static_cast<int>((static_cast<std::uint32_t>(raceId) * 2225U + 300U) % 3600U);
    // Saturation 0.6 and value 0.95 as 0..255 channel levels.
    constexpr int kHigh = 242;
    constexpr int kLow = 97;
    const int sector = hue / 600;
    const int within = hue % 600;  // 0..599 across the sector
    const int rising = kLow + (kHigh - kLow) * within / 600;
    const int falling = kHigh - (kHigh - kLow) * within / 600;
    int r = kHigh, g = kLow, b = kLow;
    switch (sector) {
        case 0: r = kHigh, g = rising, b = kLow; break;
        case 1: r = falling, g = kHigh, b = kLow; break;
        case 2: r = kLow, g = kHigh, b = rising; break;
        case 3: r = kLow, g = falling, b = kHigh; break;
        case 4: r = rising, g = kLow, b = kHigh; break;
        default: r = kHigh, g = kLow, b = falling; break;
    }
    return {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

// --------------------------------------------------------- government

namespace {

constexpr std::array<std::string_view, kLastLevel + 1> kLawWords = {
    "no law",      "scarcely any law", "lax law",     "light law",   "moderate law",
    "firm law",    "strict law",       "harsh law",   "severe law",  "total control",
};
constexpr std::array<std::string_view, kLastLevel + 1> kStabilityWords = {
    "in chaos", "in turmoil", "unruly",  "restless",     "uneasy",
    "settled",  "stable",     "steady",  "very stable",  "unshakeable",
};
constexpr std::array<std::string_view, kLastLevel + 1> kCrimeWords = {
    "no crime",          "hardly any crime", "little crime", "some crime",     "moderate crime",
    "considerable crime", "much crime",      "heavy crime",  "rife crime",     "rampant crime",
};

std::string_view levelWords(const std::array<std::string_view, kLastLevel + 1>& table, int level) {
    return table[static_cast<std::size_t>(std::clamp(level, 0, kLastLevel))];
}

}  // namespace

std::string_view lawWords(int level) { return levelWords(kLawWords, level); }
std::string_view stabilityWords(int level) { return levelWords(kStabilityWords, level); }
std::string_view crimeWords(int level) { return levelWords(kCrimeWords, level); }

std::string governmentWords(const TColonyRec& colony) {
    return fmt::format("{}, {}, {}", lawWords(colony.lawLevel), stabilityWords(colony.stability),
                       crimeWords(colony.crimeLevel));
}

}  // namespace orrimar

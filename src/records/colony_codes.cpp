#include "records/colony_codes.h"

#include <algorithm>
#include <cctype>
#include <cmath>

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
    colony.facilities[0] =
        static_cast<std::uint8_t>(present ? colony.facilities[0] | mask : colony.facilities[0] & ~mask);
}

std::array<std::uint8_t, 3> empireColourFor(std::uint16_t race) {
    // Hue by the golden angle (in turns), at a saturation and value that
    // read on the dark screen and on paper alike.
    constexpr double kGoldenTurn = 0.381966011250105;
    const double hue = std::fmod(0.05 + race * kGoldenTurn, 1.0) * 6.0;
    constexpr double kValue = 0.9;
    constexpr double kSaturation = 0.65;
    const int sector = static_cast<int>(hue);
    const double f = hue - sector;
    const double p = kValue * (1.0 - kSaturation);
    const double q = kValue * (1.0 - kSaturation * f);
    const double t = kValue * (1.0 - kSaturation * (1.0 - f));
    double r = 0, g = 0, b = 0;
    switch (sector % 6) {
        case 0: r = kValue, g = t, b = p; break;
        case 1: r = q, g = kValue, b = p; break;
        case 2: r = p, g = kValue, b = t; break;
        case 3: r = p, g = q, b = kValue; break;
        case 4: r = t, g = p, b = kValue; break;
        default: r = kValue, g = p, b = q; break;
    }
    const auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255.0)); };
    return {byte(r), byte(g), byte(b)};
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

}  // namespace orrimar

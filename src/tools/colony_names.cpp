#include "tools/colony_names.h"

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

}  // namespace

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

std::string populationText(int code) {
    const std::uint64_t people = populationPeople(code);
    if (people < kOneMillion) return fmt::format("{} thousands", people / 1000);
    return fmt::format("{} millions", people / kOneMillion);
}

}  // namespace orrimar

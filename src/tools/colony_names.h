// Display texts of the colony record's codes: colony types, starport
// classes, facilities, and the population that a population code stands for.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orrimar {

inline constexpr std::array<std::string_view, 11> kColonyTypeNames = {
    "Agricultural", "High population", "Industrial", "Mining",   "Fluid",   "Recreational",
    "Capital",      "Homeworld",       "Settlement", "Military", "Research",
};

inline constexpr std::array<std::string_view, 5> kStarportNames = {
    "Excellent", "Good", "Fair", "Primitive", "None",
};

// Facility k (1..8) is bit k of the colony's first facility byte.
inline constexpr std::array<std::string_view, 8> kFacilityNames = {
    "Military Base", "Naval Base",       "Prison Camp", "Exile Camp",
    "University",    "Military Academy", "Arcology",    "Orbital tower",
};

// Population codes run 0..69: magnitude code / 10, mantissa code % 10.
inline constexpr int kPopulationCodeCount = 70;

// Each lookup throws RangeError ("Range check error ...") for a code
// outside its table.
std::string_view colonyTypeName(int code);
std::string_view starportName(int code);

// People living in a colony of population code `code`.
std::uint64_t populationPeople(int code);

// The population as the colonies report prints it: in thousands below one
// million people ("60 thousands"), in millions from there ("60 millions").
std::string populationText(int code);

}  // namespace orrimar

// Display names of the codes stored in system, planet and moon records, one
// table per kind of code. Each name follows from the rule that sets the
// code: a star kind from the stellar table it is rolled from, an atmosphere
// class from its pressure band, a composition from the weight of its main
// gas and the rules that pick it, a feature bit from the roll that sets it.
// World type names live with the records (records/world_types.h).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orrimar::vocabulary {

// ------------------------------------------------------------- star kinds
struct StarKindInfo {
    std::string_view spectralClass;    // letter(s) before the digit; empty = no spectral class
    std::string_view luminosityClass;  // Yerkes class after the digit
    std::string_view plainName;        // "yellow dwarf"
    std::string_view colour;           // map colour, #rrggbb
    bool hasDigit;                     // the spectral digit means something
};

// Kinds 1..23; any other code reads as an unclassified object.
const StarKindInfo& starKindInfo(int kind);
// "G2 V" from kind and spectral digit; the plain name for objects without a
// spectral class ("Black hole").
std::string spectralDesignation(int kind, int digit);
std::string_view starPlainName(int kind);
// Kinds listed in summaries, in the order of the stellar table.
inline constexpr std::array<std::uint8_t, 23> kStarKindOrder = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                                                13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};

// ---------------------------------------------------------- world records
// Pressure band of atmosphere class 1..6 ("Standard (0.65 to 1.5 atm)").
std::string_view atmosphereClassName(int atmosphereClass);
std::string_view atmosphereClassBand(int atmosphereClass);

// Atmosphere composition 1..21 and the molecular weight of its main gas.
std::string_view compositionName(int composition);
int compositionWeight(int composition);

// Surface class 1..6.
std::string_view surfaceClassName(int surfaceClass);

// Resource ratings 1..5 and their caps from the resource roll.
inline constexpr int kResourceCount = 5;
std::string_view resourceName(int resource);

// World flag bits 1..4 of a planet record (bit 1 alone on a moon).
std::string_view worldFlagName(int bit);

// Feature bit `bit` (1..8) of feature byte `byte` (1..5). Bits that no rule
// sets read as "Feature k.b".
std::string featureName(int byte, int bit);

// World type 1..23 without its padding ("Gas Giant"); "Unknown type n"
// outside the table.
std::string worldTypeText(int worldType);

// --------------------------------------------------------------- life
// How far life went on a world, from its feature bits.
enum class LifeLevel : std::uint8_t { None, Prebiotic, Microbial, Complex, Sentient };
inline constexpr int kLifeLevelCount = 5;
LifeLevel lifeLevel(const std::array<std::uint8_t, 5>& features);
std::string_view lifeLevelName(LifeLevel level);

}  // namespace orrimar::vocabulary

// The stars of one system: their kinds from the stellar thresholds, spectral
// digits, masses, luminosities, separations, the system age and the star
// count; and the light each star's planets receive.
#pragma once

#include <array>
#include <cstdint>

#include "records/records.h"
#include "settings/probabilities.h"

namespace orrimar {

// Mass and luminosity of a star kind as linear functions of the spectral
// digit d: base + step × d, in solar units.
struct StarKindTraits {
    long double massBase;
    long double massStep;
    long double luminosityBase;
    long double luminosityStep;
    bool keepsDigit;  // false: the digit is set to 0 (kind 9 and the massless kinds)
};

// Indexed by star kind 0..23; kinds without a row of their own (0, 14, 16..23)
// are massless and dark.
inline constexpr std::array<StarKindTraits, 24> kStarKinds{{
    {0L, 0L, 0L, 0L, false},                  // 0: not a kind
    {14L, -0.3L, 2200L, -160L, true},         // 1: A_II
    {6.3L, 0.31L, 470L, 22L, true},           // 2: M_III
    {2.5L, -0.05L, 19L, -0.7L, true},         // 3: F_IV
    {1.7L, -0.07L, 8.1L, -0.7L, true},        // 4: F_V
    {1.04L, -0.02L, 1.05L, -0.025L, true},    // 5: G_V
    {0.82L, -0.034L, 0.42L, -0.038L, true},   // 6: K_V
    {0.48L, -0.027L, 0.04L, -0.0039L, true},  // 7: M_V
    {0.15L, -0.01L, 0.011L, -0.0011L, true},  // 8: Misc
    {0.8L, 0L, 0.001L, 0L, false},            // 9: above the last threshold
    {16L, 1L, 46000L, 750L, true},            // 10: Misc
    {30L, -1.7L, 170000L, -16800L, true},     // 11: Misc
    {20L, 1L, 117000L, 2400L, true},          // 12: Misc
    {30L, 3L, 200000L, 30000L, true},         // 13: Misc
    {0L, 0L, 0L, 0L, false},                  // 14
    {0L, 0L, 0L, 0L, true},                   // 15: Pheno; luminosity rolled, mass from it
    {0L, 0L, 0L, 0L, false},                  // 16
    {0L, 0L, 0L, 0L, false},                  // 17
    {0L, 0L, 0L, 0L, false},                  // 18
    {0L, 0L, 0L, 0L, false},                  // 19
    {0L, 0L, 0L, 0L, false},                  // 20
    {0L, 0L, 0L, 0L, false},                  // 21
    {0L, 0L, 0L, 0L, false},                  // 22
    {0L, 0L, 0L, 0L, false},                  // 23
}};

// The kind of star that rolls d10 = n (1..10) in the "Pheno" band.
inline constexpr std::array<std::uint8_t, 10> kPhenoKinds{22, 16, 17, 18, 19, 19, 19, 15, 15, 15};
// The kind of star that rolls d5 = n (1..5) in the "Misc" band.
inline constexpr std::array<std::uint8_t, 5> kMiscKinds{10, 11, 12, 13, 8};
// Star count for d10 = n (1..10).
inline constexpr std::array<std::uint8_t, 10> kStarCounts{1, 1, 1, 1, 2, 2, 2, 2, 3, 3};

// The star kind for a kind roll (1..1000). May roll a second die for the
// two special bands.
std::uint8_t starKindFromRoll(int kindRoll, const StellarThresholds& thresholds);

// The mass of a kind-15 star, which its kind does not fix.
float kind15Mass(float luminosity);

// Fills the stellar fields of the record: kinds, digits, luminosities and
// masses of stars 1..3, separations of stars 2 and 3, the system age and the
// star count. Gaia changes nothing in the result.
void GenerateStars(bool gaia, TSystemRec& system, const StellarThresholds& thresholds = stellarThresholds());

}  // namespace orrimar

#include "generation/stars.h"

#include <cmath>

#include "common/message_sink.h"
#include "common/random.h"
#include "generation/physics.h"

namespace orrimar {

namespace {

// Companions are pushed up the table: a kind roll gains 200 per star after
// the primary, capped at 1000.
int kindRollFor(int star) {
    const int roll = d(1000);
    const int raised = roll + 200 * star;
    return raised > 1000 ? 1000 : raised;
}

// Uniform 10..59 or 1..10 from the primary's mass-to-light ratio: dense,
// dim primaries make old systems.
std::uint8_t ageFromRatio(const TSystemRec& system) {
    const float ratio = system.mass[0] / system.luminosity[0] * 1000.0F;
    if (ratio >= 6.0F) {
        const int roll = d(50);
        return static_cast<std::uint8_t>(roll + 9);
    }
    const int roll = d(10);
    return static_cast<std::uint8_t>(roll);
}

std::uint8_t systemAge(const TSystemRec& system) {
    const std::uint8_t primary = system.starKind[0];
    if (primary >= 1 && primary <= 12) return ageFromRatio(system);
    if (primary == 13) {
        const int roll = d(3);
        return static_cast<std::uint8_t>(roll);
    }
    if (primary == 15) {
        const int roll = d(5);
        return static_cast<std::uint8_t>(roll);
    }
    const int roll = d(10);
    return static_cast<std::uint8_t>(roll);
}

// Separation of a companion from the primary, tenths of an AU.
std::int16_t companionSeparation(const TSystemRec& system, int spreadRoll) {
    int separation = 0;
    if (spreadRoll == 1 || system.mass[0] > 2.0F) {
        const int roll = d(950);
        separation = 50 + roll;
    } else {
        const int roll = d(90);
        separation = 10 + roll;
    }
    if (system.mass[0] > 10.0F) {
        const int roll = d(700);
        separation = 300 + roll;
    }
    return static_cast<std::int16_t>(separation);
}

}  // namespace

std::uint8_t starKindFromRoll(int kindRoll, const StellarThresholds& thresholds) {
    const auto& t = thresholds.t;
    if (kindRoll <= t[0]) {
        const int roll = d(10);
        return kPhenoKinds[static_cast<std::size_t>(roll - 1)];
    }
    if (kindRoll <= t[1]) {
        const int roll = d(5);
        return kMiscKinds[static_cast<std::size_t>(roll - 1)];
    }
    // T3..T9 give kinds 1..7; T10 is never compared.
    for (std::size_t n = 2; n <= 8; ++n) {
        if (kindRoll <= t[n]) return static_cast<std::uint8_t>(n - 1);
    }
    return 9;
}

// The kind does not fix this mass. Planet generation needs a positive one
// for orbital periods, so it follows the main-sequence mass-luminosity
// relation L = M^3.5: M = L^(1/3.5), 1.0 to 2.353 solar masses for 1..20
// solar luminosities.
float kind15Mass(float luminosity) {
    return static_cast<float>(std::pow(static_cast<long double>(luminosity), 1.0L / 3.5L));
}

void GenerateStars(bool gaia, TSystemRec& system, const StellarThresholds& thresholds) {
    (void)gaia;  // handed down by the dialog; it has no effect on stars
    const int countRoll = d(10);
    const std::uint8_t rolledCount = kStarCounts[static_cast<std::size_t>(countRoll - 1)];
    system.starCount = rolledCount;
    system.luminosity = {0.0F, 0.0F, 0.0F};

    for (int i = 0; i < rolledCount; ++i) {
        const auto s = static_cast<std::size_t>(i);
        const int kindRoll = kindRollFor(i);
        std::uint8_t kind = starKindFromRoll(kindRoll, thresholds);
        // A companion is never of a smaller kind number than the primary.
        if (rolledCount >= 2 && kind < system.starKind[0]) kind = static_cast<std::uint8_t>(system.starKind[0] + 1);
        system.starKind[s] = kind;

        const int digitRoll = d(10);
        int digit = digitRoll - 1;
        const StarKindTraits& traits = kStarKinds[kind < kStarKinds.size() ? kind : 0];
        if (!traits.keepsDigit) digit = 0;
        system.spectralDigit[s] = static_cast<std::uint8_t>(digit);
        if (kind == 15) {
            const int luminosityRoll = d(20);
            system.luminosity[s] = static_cast<float>(luminosityRoll);
            system.mass[s] = kind15Mass(system.luminosity[s]);
        } else {
            system.mass[s] = static_cast<float>(traits.massBase + traits.massStep * digit);
            system.luminosity[s] = static_cast<float>(traits.luminosityBase + traits.luminosityStep * digit);
        }
        if (system.luminosity[s] < 0.0F) reportError("Error 3 (luminosity)");

        const int spreadRoll = d(6);
        if (i > 0) system.separation[s - 1] = companionSeparation(system, spreadRoll);
    }

    // Giants, supergiants and the special objects hold no companions.
    if (system.starKind[0] == 1 || system.starKind[0] > 7) system.starCount = 1;
    const int age = systemAge(system);
    system.systemAge = static_cast<std::uint8_t>(age);
}

}  // namespace orrimar

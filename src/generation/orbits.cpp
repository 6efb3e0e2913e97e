#include "generation/orbits.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/errors.h"
#include "common/random.h"
#include "generation/physics.h"

namespace orrimar {

namespace {

// Star kinds that have planets: F V, G V, K V and M V.
constexpr std::uint8_t kKindFV = 4;
constexpr std::uint8_t kKindGV = 5;
constexpr std::uint8_t kKindKV = 6;
constexpr std::uint8_t kKindMV = 7;

constexpr int kMaxOrbits = 18;

std::int16_t orbitEntry(long long v) {
    if (v < -32768 || v > 32767) throw RangeError();
    return static_cast<std::int16_t>(v);
}

// Separation of the nearer companion; only called for two or three stars.
long double nearerCompanion(const TSystemRec& system) {
    if (system.starCount == 2) return system.separation[0];
    return std::min(system.separation[0], system.separation[1]);
}

}  // namespace

int RollPlanetCount(std::uint8_t starKind) {
    switch (starKind) {
        case kKindFV: return d(10);
        case kKindGV: return d(3, 6);
        case kKindKV: return d(2, 6);
        case kKindMV: return d(6);
        default: return 0;
    }
}

void PlaceOrbits(TSystemRec& system, int star, float effectiveLuminosity) {
    const auto s = static_cast<std::size_t>(star);
    const float starMass = system.mass[s];

    // The first orbit lies outside the star's glare and beyond the reach of
    // its bulk: at least a tenth of sqrt(L) and 3.8 × the cube root of M.
    long long r1 = d(9);
    const long double glare = std::sqrt(static_cast<long double>(effectiveLuminosity)) * 0.1L;
    if (r1 < glare) r1 = truncate(glare) + 1;
    const long double bulk = static_cast<long double>(power(starMass, 1.0F / 3.0F)) * 3.8L;
    if (r1 < bulk) r1 = truncate(bulk);
    if (r1 == 0) r1 = 1;
    system.orbit[0][s] = orbitEntry(r1);

    int count = RollPlanetCount(system.starKind[s]);
    system.planetCount[s] = static_cast<std::uint8_t>(count);
    if (count < 2) return;

    long long prev = r1;
    for (int j = 2; j <= count && j <= kMaxOrbits; ++j) {
        long long entry = 0;
        const int spacing = d(10);
        if (spacing != 1) {
            entry = roundEven((spacing * 0.1L + 1.1L) * prev);
            if (entry == 1) entry = 2;
            prev = entry;
        } else {
            const int gap = d(6);
            if (gap <= 2) {
                count = j - 1;
                break;
            }
            const int width = d(9);
            entry = -roundEven(prev * (width * 0.1L + 1.1L));
            if (entry == -1 || entry == 0) entry = -2;
            prev = -entry;
        }
        system.orbit[static_cast<std::size_t>(j - 1)][s] = orbitEntry(entry);
        // Beyond 400 AU per solar mass the star no longer holds a body.
        if (prev > 400.0L * starMass) {
            count = j - 1;
            break;
        }
        // A companion sweeps clear everything beyond a third of its distance.
        if (system.starCount >= 2 && prev > nearerCompanion(system) / 3.0L) {
            count = j - 1;
            break;
        }
    }
    system.planetCount[s] = static_cast<std::uint8_t>(count);
}

}  // namespace orrimar

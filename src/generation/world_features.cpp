#include "generation/world_features.h"

#include <cmath>

#include "common/bit_flags.h"
#include "common/random.h"
#include "records/records.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

// Life score by world type (index 0 unused): the kind worlds invite life,
// the harsh ones all but forbid it; every other type takes -200.
constexpr std::array<int, 24> kLifeByWorldType = {
    -200, -200, -200, -200, -200, -45,  -200, -200, 10,   10,   25,  25,
    25,   -40,  -35,  -200, -200, -200, -200, -200, -200, -200, -60, 10,
};

// Feature k, bit b as one flag number of the 40-bit set.
constexpr int F(int byte, int bit) { return (byte - 1) * 8 + bit; }

long double tidalStress(std::uint8_t worldType, std::uint8_t density, float mass, std::int32_t rotationHours,
                        bool locked) {
    if (worldType == world::kGasGiant || worldType == world::kBrownDwarf) {
        return density * static_cast<long double>(mass) * 5.5L * 0.1L * (2.5L / rotationHours) * 0.1L;
    }
    const long double t = density * static_cast<long double>(mass) * 5.5L * 0.01L;
    if (locked) return t * t;
    return t * t * 24.0L / rotationHours;
}

// Composition after a great impact has stripped the atmosphere's lighter part.
std::uint8_t strippedComposition(std::uint8_t composition) {
    switch (composition) {
        case 3: return 11;
        case 5: return 18;
        case 9: return 14;
        default: return composition;
    }
}

}  // namespace

int RollWorldFeatures(std::uint8_t atmosphereClass, std::uint8_t worldType, std::uint8_t moonCount,
                      std::uint8_t surfaceClass, std::uint8_t waterCover, std::uint8_t featureRating,
                      std::uint8_t density, std::uint8_t& composition,
                      const std::array<std::uint8_t, 5>& /*resourceRatings*/, std::int32_t rotationHours,
                      std::uint8_t worldFlags, bool twin, bool closeTwin, std::uint16_t eccentricity,
                      std::int16_t temperature, int swing, float gravity, float mass,
                      std::array<std::uint8_t, 5>& features, std::uint8_t resourceRating2, std::uint8_t cloudCover) {
    std::uint8_t* f = features.data();
    features.fill(0);
    int score = 0;
    const bool volatileRich = testBit(worldFlags, 1);
    const bool locked = testBit(worldFlags, 2);
    const bool thinAir = atmosphereClass < 5;  // an atmosphere of some weight

    if (!volatileRich && moonCount >= 1) {
        const int roll = d(75);
        if (roll == 1) {
            setFlag(f, F(1, 1));
            if (thinAir) {
                const int strip = d(2, 10);
                if (strip < 7) {
                    setFlag(f, F(1, 2));
                    composition = strippedComposition(composition);
                }
            }
            const int second = d(2, 10);
            if (second < 5) setFlag(f, F(2, 4));
            score = -5;
        }
    }
    if (thinAir) {
        const int roll = d(75);
        if (roll == 1) {
            setFlag(f, F(1, 2));
            score -= 5;
        }
    }
    {
        const int roll = d(75);
        if (roll == 1) {
            setFlag(f, F(1, 3));
            score -= 5;
        }
    }
    {
        const int roll = d(50);
        if (roll == 1) setFlag(f, F(2, 1));
    }
    {
        bool hit = false;
        if (atmosphereClass >= 5) {
            const int roll = d(10);
            hit = roll == 1;
        }
        if (!hit) {
            const int roll = d(100);
            hit = roll < resourceRating2 / 3.0L;
            if (!hit) {
                const int rare = d(200);
                hit = rare == 1;
            }
        }
        if (hit) {
            setFlag(f, F(1, 4));
            score -= 15;
        }
    }
    if (thinAir) {
        const int roll = d(30);
        bool hit = roll == 1;
        if (!hit) {
            const int second = d(6);
            hit = second == 1 && featureRating < 5;
        }
        if (hit) {
            setFlag(f, F(1, 5));
            score -= 5;
        }
    }
    if (thinAir) {
        const int roll = d(50);
        if (roll == 1) {
            setFlag(f, F(1, 6));
            score -= 5;
        }
    }
    {
        const int roll = d(200);
        if (roll == 1) {
            setFlag(f, F(1, 7));
            score -= 20;
        }
    }
    if (!volatileRich && worldType != world::kOcean) {
        const int roll = d(50);
        if (roll == 1) setFlag(f, F(1, 8));
    }
    {
        const int roll = d(50);
        if (roll == 1 && thinAir) {
            setFlag(f, F(2, 2));
            score -= 10;
        }
    }
    if (cloudCover > 90) setFlag(f, F(2, 6));
    if (waterCover > 50 && surfaceClass == 5 && moonCount >= 1) {
        const int roll = d(6);
        if (roll == 1) {
            setFlag(f, F(2, 8));
            score -= 5;
        }
    }
    if (featureRating > 50) {
        score -= 15;
        setFlag(f, F(3, 2));
        const int roll = d(6);
        if (roll <= 3) setFlag(f, F(2, 5));
    }
    if (featureRating < 5) {
        setFlag(f, F(2, 7));
        score += 10;
    }
    if (locked) setFlag(f, F(3, 1));
    if (tidalStress(worldType, density, mass, rotationHours, locked) > 5.0L) {
        setFlag(f, F(2, 5));
        score -= 10;
    }
    if (twin) setFlag(f, F(4, 1));
    if (closeTwin) setFlag(f, F(4, 2));
    if (atmosphereClass < 3) {
        const int roll = d(10);
        if (roll == 1) setFlag(f, F(4, 3));
    }
    if (eccentricity > 250) {
        score -= 5;
        if (!volatileRich) {
            setFlag(f, F(1, 1));
            const int roll = d(2, 10);
            if (roll < 7 && atmosphereClass < 4) setFlag(f, F(1, 2));
        }
        setFlag(f, F(2, 3));
    }
    if (surfaceClass == 5 && temperature >= 6) {
        // Evaporation against what the gravity holds back.
        long double v = 31000.0L;
        if (temperature < 36) {
            v = std::exp((temperature - 15) * 0.698L) * waterCover / (static_cast<long double>(gravity) * 0.007L);
        }
        if (v > 30000.0L && temperature > 25) setFlag(f, F(3, 5));
        if (v < 0.2L) setFlag(f, F(3, 6));
    }
    score += worldType < kLifeByWorldType.size() ? kLifeByWorldType[worldType] : -200;
    if (composition != 2) score -= 10;

    const int roll = d(100);
    const int life = score + roll;
    if (life >= 48 && life <= 50) setFlag(f, F(5, 2));
    if (life >= 51 && life <= 55) setFlag(f, F(5, 3));
    if (life >= 56 && life <= 74) setFlag(f, F(3, 4));
    if (life >= 75) setFlag(f, kNativeRaceFeature);

    const int heat = temperature + swing;
    if (composition >= 4 && composition != 8 && heat > 50) setFlag(f, F(3, 7));
    if (composition == 6 || composition == 20 || (composition == 4 && heat > 100)) setFlag(f, F(3, 8));
    if (testFlag(f, F(1, 4))) setFlag(f, F(3, 8));
    if (testFlag(f, F(3, 8))) clearFlag(f, F(3, 7));

    if (life >= 1) {
        const int rare = d(200);
        if (rare == 1) setFlag(f, F(4, 4));
    }
    if (life >= 1 && !testFlag(f, kNativeRaceFeature)) {
        const int rare = d(100);
        if (rare == 1) setFlag(f, F(4, 6));
    }
    if (testFlag(f, F(4, 6))) {
        const int rare = d(20);
        if (rare == 1) setFlag(f, F(4, 8));
    }
    return life;
}

}  // namespace orrimar

#include "generation/climate.h"

#include <array>
#include <bitset>
#include <cmath>
#include <cstdlib>

#include "common/errors.h"
#include "common/message_sink.h"
#include "common/random.h"
#include "generation/atmosphere.h"
#include "generation/physics.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

// Greenhouse factor by atmosphere class 1..6 (index 0 unused).
constexpr std::array<long double, 7> kGreenhouse = {1.0L, 1.25L, 1.2L, 1.15L, 1.1L, 1.05L, 1.0L};

// Initial surface class by world type (index 0 unused). Rock, Chunk and
// Desert depend on the distance and are settled in initialSurfaceClass().
constexpr std::array<std::uint8_t, 24> kInitialSurface = {
    1, 3, 2, 4, 1, 6, 2, 2, 1, 1, 5, 1, 1, 2, 6, 1, 1, 1, 1, 3, 4, 1, 5, 1,
};

// Initial albedo (percent) by world type (index 0 unused).
constexpr std::array<int, 24> kInitialAlbedo = {
    30, 30, 10, 50, 30, 30, 30, 30, 30, 30, 40, 30, 30, 30, 30, 30, 30, 30, 30, 30, 50, 30, 40, 30,
};

std::uint8_t initialSurfaceClass(std::uint8_t worldType, std::int16_t outer, std::int16_t orbitRadius) {
    switch (worldType) {
        case world::kRock: return orbitRadius <= outer ? 2 : 6;
        case world::kDesert: return orbitRadius < outer ? 2 : 6;
        case world::kChunk:
            // A Chunk is bare rock wherever it lies: the class it has beyond
            // the inner radius (2) holds inside it too.
            return 2;
        default: return worldType < kInitialSurface.size() ? kInitialSurface[worldType] : 1;
    }
}

// p / q rounded to the nearest integer, ties to even, for p ≥ 0 and q > 0:
// exact where a product with 0.01 would leave the tie to binary noise. The
// climate loop runs it four times a round on freshly rolled numbers, so it
// is written to compile without branches (whether to round up is as good
// as a coin toss, and a mispredicted branch costs more than the division):
// the divisor is a template argument and the arithmetic unsigned, so each
// division becomes a multiply and a shift.
template <unsigned q>
constexpr int roundDiv(int p) {
    const auto u = static_cast<unsigned>(p);
    if constexpr (q % 2 == 1) {
        // An odd divisor leaves no exact half.
        return static_cast<int>((u + q / 2) / q);
    } else {
        // Adding one less than half rounds every rest above the half up and
        // the rest below it down; an odd quotient adds the one that carries
        // an exact half up to the even neighbour.
        return static_cast<int>((u + q / 2 - 1 + ((u / q) & 1)) / q);
    }
}

std::int16_t toTemperature(long double celsius) {
    if (!(celsius > -32769.0L && celsius < 32768.0L)) throw RangeError();
    // Truncated toward zero without switching the FPU's rounding mode, which
    // stalls it (the climate loop asks for a temperature most rounds).
    // Rounding to the nearest double can carry a value just short of an
    // integer onto it, never further, so the double's truncation is at most
    // one too far from zero; comparing with the exact value puts that right.
    const double nearest = static_cast<double>(celsius);
    int whole = static_cast<int>(nearest);
    if (celsius >= 0.0L) {
        if (whole > celsius) --whole;
    } else if (whole < celsius) {
        ++whole;
    }
    return static_cast<std::int16_t>(whole);
}

// ((1 - albedo × 0.01) / 0.7)^0.25 for every albedo byte: the climate loop
// asks for it each round, and power() costs a logarithm and an exponential.
const std::array<float, 256> kAlbedoFactor = [] {
    std::array<float, 256> t{};
    for (int a = 0; a < 256; ++a)
        t[static_cast<std::size_t>(a)] = power(static_cast<float>((1.0L - a * 0.01L) / 0.7L), 0.25F);
    return t;
}();

inline float albedoFactor(int albedo) {
    if (albedo >= 0 && albedo < 256) return kAlbedoFactor[static_cast<std::size_t>(albedo)];
    return power(static_cast<float>((1.0L - albedo * 0.01L) / 0.7L), 0.25F);
}

// The light term of the temperature, fixed for one body:
// sqrt(sqrt(L) / (orbit radius × 0.1)) × 263.
long double lightTerm(std::int16_t orbitRadius, float luminosity) {
    return std::sqrt(std::sqrt(static_cast<long double>(luminosity)) / (orbitRadius * 0.1L)) * 263.0L;
}

long double greenhouse(std::uint8_t atmosphereClass, std::uint8_t worldType) {
    const long double g = atmosphereClass < kGreenhouse.size() ? kGreenhouse[atmosphereClass] : 1.0L;
    return worldType == world::kHotHouse ? g * 2.0L : g;
}

inline std::int16_t temperatureFrom(long double light, long double g, int albedo) {
    return toTemperature(light * albedoFactor(albedo) * g - 273.0L);
}

// Coldest temperature the tables hold; Temperature() never goes below it.
constexpr int kAbsoluteZero = -273;

// power((55 - t) / 90, 5) for t from absolute zero up to 54 (0 from 55 on).
constexpr int kThaw = 55;
const std::array<float, kThaw - kAbsoluteZero> kIceFactor = [] {
    std::array<float, kThaw - kAbsoluteZero> t{};
    for (int c = kAbsoluteZero; c < kThaw; ++c)
        t[static_cast<std::size_t>(c - kAbsoluteZero)] = power(static_cast<float>((kThaw - c) / 90.0L), 5.0F);
    return t;
}();

inline float iceFactor(int temperature) {
    if (temperature >= kThaw) return 0.0F;
    if (temperature >= kAbsoluteZero) return kIceFactor[static_cast<std::size_t>(temperature - kAbsoluteZero)];
    return power(static_cast<float>((kThaw - temperature) / 90.0L), 5.0F);
}

// e^(k × 0.0698) for k = temperature - base temperature of the cloud rule.
constexpr int kCloudLow = kAbsoluteZero - 15;  // the warmer of the two bases
constexpr int kCloudHigh = 574;                // k × 0.0698 ≥ 40 from here on
const std::array<long double, kCloudHigh - kCloudLow> kCloudGrowth = [] {
    std::array<long double, kCloudHigh - kCloudLow> t{};
    for (int i = kCloudLow; i < kCloudHigh; ++i) t[static_cast<std::size_t>(i - kCloudLow)] = std::exp(i * 0.0698L);
    return t;
}();

inline long double cloudGrowth(int k) {
    if (k >= kCloudLow && k < kCloudHigh) return kCloudGrowth[static_cast<std::size_t>(k - kCloudLow)];
    return std::exp(k * 0.0698L);
}

// Nearest integer to v, ties to even, for 0 ≤ v < 2^31, without a call into
// the maths library: v minus its truncation is exact in a double.
inline int roundHalfEven(double v) {
    const auto whole = static_cast<int>(v);
    const double rest = v - whole;
    // Without branches, as in roundDiv.
    const int up = static_cast<int>(rest > 0.5) | (static_cast<int>(rest == 0.5) & whole);
    return whole + (up & 1);
}

// The table's float × 100 and the input × 1.5 are exact in a double (a float
// has 24 significant bits), so the ice rule works in double and yields what
// the same rule in long double yields.
inline int iceCover(int input, int temperature) {
    double f = static_cast<double>(iceFactor(temperature)) * 100.0;
    const double cap = input * 1.5;
    if (cap < f) f = cap;
    if (f >= 100.0) return 100;
    if (f >= 0.0) return roundHalfEven(f);
    return static_cast<int>(roundEven(f));  // a negative input: no rule makes one
}

// The parts of the cloud rule fixed for one body.
struct CloudRule {
    bool keepsNoCloud = false;  // too light to hold cloud-forming gases
    int base = 15;              // temperature from which the cloud grows
};

CloudRule cloudRuleFor(std::uint8_t worldType, float retainedWeight) {
    // Ice Balls and Failed Cores hold heavier, colder cloud-forming gases.
    const bool icy = worldType == world::kIceBall || worldType == world::kFailedCore;
    const float limit = icy ? 51.0F : 18.0F;
    return CloudRule{retainedWeight > limit, icy ? -150 : 15};
}

// Percent cloud: e^(k × 0.0698) × water × 0.7 with k the temperature above
// the base, full from k × 0.0698 ≥ 40 (k ≥ kCloudHigh) on. Stays in long
// double: at k = 0 some waters give an exact half that only the long double
// products round the way the rule does.
inline int cloudCover(const CloudRule& rule, int temperature, int water) {
    if (rule.keepsNoCloud) return 0;
    const int k = temperature - rule.base;
    if (k >= kCloudHigh) return 100;
    if (water == 0) return 0;  // spares the rounding call below
    const long double c = cloudGrowth(k) * water * 0.01L * 0.7L;
    if (c >= 1.0L) return 100;
    return static_cast<int>(roundEven(c * 100.0L));
}

// Water cover before the heat of the world boils some of it off.
int waterBeforeHeat(std::int32_t diameter, float volatileInventory) {
    const long double size = 12750.0L / diameter;
    long double f = size * size * volatileInventory * 71.0L;
    if (f > 10000.0L) f = 10000.0L;
    return static_cast<int>(truncate(f));
}

// A hot world keeps only a fraction of its water: 1/100 above 60 degrees,
// 1/20 above 50, 1/10 above 40, 1/5 above 35, 2/7 above 30 (integer
// division gives the truncated fraction exactly).
std::uint8_t waterAfterHeat(int v, int temperature) {
    if (temperature > 60) {
        v = v / 100;
    } else if (temperature > 50) {
        v = v / 20;
    } else if (temperature > 40) {
        v = v / 10;
    } else if (temperature > 35) {
        v = v / 5;
    } else if (temperature > 30) {
        v = v * 2 / 7;
    }
    return static_cast<std::uint8_t>(v < 100 ? v : 100);
}

// The part of the surface that cloud does not hide: cloud hides an equal
// share of each of water, ice and rock that is present.
struct VisibleParts {
    int cloud = 0;
    int rock = 0;
    int water = 0;
    int ice = 0;
};

inline VisibleParts visibleParts(int water, int cloud, int ice) {
    const int rock = 100 - water - ice;
    const int parts = (water > 0 ? 1 : 0) + (ice > 0 ? 1 : 0) + (rock > 0 ? 1 : 0);
    // parts is 1, 2 or 3 (the three add up to 100); a constant divisor each.
    const int u = parts == 2 ? roundDiv<2>(cloud) : (parts == 3 ? roundDiv<3>(cloud) : cloud);
    VisibleParts v;
    v.cloud = cloud;
    v.rock = rock >= u ? rock - u : 0;
    v.water = u < water ? water - u : 0;
    v.ice = u < ice ? ice - u : 0;
    return v;
}

// Each visible part reflects a rolled share of the light; the dice are
// rolled in the order cloud, rock, water, ice.
[[gnu::always_inline]] inline std::uint8_t rollAlbedo(VisibleParts v, bool atmosphere) {
    const int cloudRoll = d(25);
    int albedo = roundDiv<100>((cloudRoll + 45) * v.cloud);
    const int rockRoll = d(10);
    albedo += roundDiv<100>((rockRoll + (atmosphere ? 5 : 1)) * v.rock);
    const int waterRoll = d(20);
    albedo += roundDiv<100>((waterRoll + 1) * v.water);
    if (atmosphere) {
        const int iceRoll = d(20);
        albedo += roundDiv<100>((iceRoll + 60) * v.ice);
    } else {
        const int iceRoll = d(80);
        albedo += roundDiv<100>((iceRoll + 10) * v.ice);
    }
    if (albedo < 0 || albedo > 255) throw RangeError();
    return static_cast<std::uint8_t>(albedo);
}

// One body's climate loop. Everything but the albedo is fixed while the
// loop runs, so the temperature an albedo gives, and the cover that
// temperature gives the next round, depend on the albedo alone: each is
// worked out the first time its albedo comes up and kept. A body that needs
// thousands of rounds keeps coming back to a few dozen albedos. Every round
// still rolls its own four dice.
// The lookup, the rules behind it and the albedo roll are forced inline:
// GCC at -O2 keeps them out of line, and each call costs the loop the
// registers that hold the random generator's state.
class ClimateRounds {
public:
    // What follows from one rolled albedo. Every part fits a byte: the loop
    // keeps water and ice within 100 together.
    // No member initialisers: the table of them is filled only as albedos
    // come up.
    struct Round {
        std::int16_t temperature;
        std::uint8_t water;
        std::uint8_t cloud;
        std::uint8_t ice;
        std::uint8_t visibleRock;
        std::uint8_t visibleWater;
        std::uint8_t visibleIce;

        VisibleParts visible() const { return {cloud, visibleRock, visibleWater, visibleIce}; }
    };

    ClimateRounds(long double light, long double greenhouseFactor, CloudRule cloudRule, bool wet, int untempered,
                  std::uint8_t surfaceClass, std::uint8_t atmosphereClass)
        : light_(light),
          greenhouse_(greenhouseFactor),
          cloudRule_(cloudRule),
          wet_(wet),
          untempered_(untempered),
          surfaceClass_(surfaceClass),
          atmosphereClass_(atmosphereClass) {}

    // albedo is a byte (rollAlbedo sees to it).
    [[gnu::always_inline]] const Round& after(int albedo) {
        const auto a = static_cast<std::size_t>(albedo);
        if (!known_[a]) {
            rounds_[a] = workOut(albedo);
            known_[a] = true;
        }
        return rounds_[a];
    }

private:
    [[gnu::always_inline]] Round workOut(int albedo) const {
        const int temp = temperatureFrom(light_, greenhouse_, albedo);
        int waterNow = wet_ ? waterAfterHeat(untempered_, temp) : 0;
        if (surfaceClass_ == 3) waterNow = 50;
        if (surfaceClass_ == 6) waterNow = 15;
        if (atmosphereClass_ == 6) waterNow = 0;
        if (atmosphereClass_ == 5) waterNow = roundDiv<2>(waterNow);
        const int cloudNow = cloudCover(cloudRule_, temp, waterNow);
        // Bare rock, ice fields and frozen crusts feed a fixed ice input.
        if (surfaceClass_ == 2) waterNow = 1;
        if (surfaceClass_ == 3) waterNow = 100;
        if (surfaceClass_ == 6) waterNow = 10;
        const int iceNow = iceCover(waterNow, temp);
        if (waterNow + iceNow > 100) waterNow = 100 - iceNow;
        if (surfaceClass_ != 5) waterNow = 0;
        const VisibleParts v = visibleParts(waterNow, cloudNow, iceNow);
        Round r{};
        r.temperature = static_cast<std::int16_t>(temp);
        r.water = static_cast<std::uint8_t>(waterNow);
        r.cloud = static_cast<std::uint8_t>(cloudNow);
        r.ice = static_cast<std::uint8_t>(iceNow);
        r.visibleRock = static_cast<std::uint8_t>(v.rock);
        r.visibleWater = static_cast<std::uint8_t>(v.water);
        r.visibleIce = static_cast<std::uint8_t>(v.ice);
        return r;
    }

    long double light_;
    long double greenhouse_;
    CloudRule cloudRule_;
    bool wet_;
    int untempered_;
    std::uint8_t surfaceClass_;
    std::uint8_t atmosphereClass_;
    std::array<Round, 256> rounds_;  // only known_ ones are read
    std::bitset<256> known_;
};

}  // namespace

std::int16_t Temperature(std::int16_t orbitRadius, std::uint8_t atmosphereClass, std::uint8_t worldType,
                         float luminosity, int albedo) {
    return temperatureFrom(lightTerm(orbitRadius, luminosity), greenhouse(atmosphereClass, worldType), albedo);
}

std::uint8_t TerranWorldType(int water, int temperature) {
    std::uint8_t type = world::kTerran;
    if (water < 20) {
        type = world::kArid;
    } else if (water < 50) {
        type = world::kSteppe;
    } else if (water < 71) {
        type = world::kTerran;
    } else if (water < 90) {
        type = temperature > 25 ? world::kJungle : world::kTerran;
    } else {
        type = world::kOcean;
    }
    if (temperature < 5) type = world::kTundra;
    if (temperature < -5) type = world::kGlacier;
    if (temperature > 35 && water >= 20) type = world::kPreGarden;
    return type;
}

std::uint8_t WaterCover(std::int32_t diameter, int temperature, float volatileInventory) {
    return waterAfterHeat(waterBeforeHeat(diameter, volatileInventory), temperature);
}

std::uint8_t IceCover(int input, int temperature) { return static_cast<std::uint8_t>(iceCover(input, temperature)); }

std::uint8_t CloudCover(int temperature, int water, std::uint8_t worldType, float retainedWeight) {
    return static_cast<std::uint8_t>(cloudCover(cloudRuleFor(worldType, retainedWeight), temperature, water));
}

std::uint8_t Albedo(int water, int cloud, int ice, float pressure) {
    return rollAlbedo(visibleParts(water, cloud, ice), pressure != 0.0F);
}

void ComputeClimate(std::int16_t /*inner*/, std::int16_t outer, std::int16_t orbitRadius, std::uint8_t& worldType,
                    std::uint8_t& surfaceClass, std::uint8_t& water, std::uint8_t& ice, std::uint8_t& cloud,
                    std::uint8_t& albedo, float volatileInventory, float luminosity, float gravity, float pressure,
                    std::int32_t diameter, std::uint8_t atmosphereClass, std::int16_t& temperature,
                    float escapeVelocity) {
    water = 0;
    ice = 0;
    cloud = 0;
    albedo = 0;
    surfaceClass = initialSurfaceClass(worldType, outer, orbitRadius);
    int waterNow = 0;
    int iceNow = 0;
    int cloudNow = 0;
    int albedoNow = worldType < kInitialAlbedo.size() ? kInitialAlbedo[worldType] : 30;

    // Everything but the albedo is fixed while the loop runs.
    const long double light = lightTerm(orbitRadius, luminosity);
    const long double g = greenhouse(atmosphereClass, worldType);
    int temp = temperatureFrom(light, g, albedoNow);

    const bool giant = worldType == world::kGasGiant || worldType == world::kBrownDwarf;
    if (!giant && worldType != world::kRing && gravity != 0.0F) {
        // The gas weight kept at this distance from the star's own light.
        const auto lightMiddle =
            static_cast<std::int16_t>(truncate(std::sqrt(static_cast<long double>(luminosity)) * 10.0L));
        const CloudRule cloudRule = cloudRuleFor(worldType, RetainedWeight(lightMiddle, orbitRadius, escapeVelocity));
        const bool wet = diameter >= 100;
        const int untempered = wet ? waterBeforeHeat(diameter, volatileInventory) : 0;
        const bool atmosphere = pressure != 0.0F;
        ClimateRounds body{light, g, cloudRule, wet, untempered, surfaceClass, atmosphereClass};
        // The loop stops only when two temperatures in a row agree within 2
        // degrees, with a fresh albedo each round. A body whose clouds come
        // and go with the heat can swap between two far-apart temperatures
        // for ever; after this many rounds it is reported and the last
        // round's climate stands, so that a long run is neither hung nor lost.
        constexpr long kMostRounds = 1'000'000;
        long rounds = 0;
        int old = 0;
        const ClimateRounds::Round* round = &body.after(albedoNow);  // its temperature is temp
        do {
            if (++rounds > kMostRounds) {
                reportError("Climate did not settle");
                break;
            }
            old = temp;
            waterNow = round->water;
            cloudNow = round->cloud;
            iceNow = round->ice;
            albedoNow = rollAlbedo(round->visible(), atmosphere);
            round = &body.after(albedoNow);
            temp = round->temperature;
        } while (std::abs(temp - old) >= 2);
    }

    if (giant && gravity > 0.0F) {
        const int roll = d(20);
        albedoNow = roll + 40;
        waterNow = 0;
        cloudNow = 100;
        iceNow = 0;
    }
    if (worldType == world::kRing) {
        albedoNow = 50;
        waterNow = 0;
        cloudNow = 0;
        iceNow = 30;
    }

    if (worldType == world::kTerran) {
        worldType = TerranWorldType(waterNow, temp);
        if (worldType == world::kGlacier) surfaceClass = 6;
        if (atmosphereClass == 2 && temp > 40 && temp <= 60) {
            worldType = world::kPreGarden;
            surfaceClass = 5;
            const int roll = d(50);
            waterNow = roll + 50;
            temp -= 20;
        }
        if ((atmosphereClass == 1 && temp > 50) || (atmosphereClass == 2 && temp > 60)) {
            worldType = world::kPostGarden;
            surfaceClass = 1;
            waterNow = 0;
        }
        if (atmosphereClass == 1 && temp > 50) {
            worldType = world::kHotHouse;
            surfaceClass = 1;
            waterNow = 0;
        }
    }

    temperature = static_cast<std::int16_t>(temp);
    water = static_cast<std::uint8_t>(waterNow);
    ice = static_cast<std::uint8_t>(iceNow);
    cloud = static_cast<std::uint8_t>(cloudNow);
    albedo = static_cast<std::uint8_t>(albedoNow);
}

}  // namespace orrimar

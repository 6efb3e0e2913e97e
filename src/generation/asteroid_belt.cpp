#include "generation/asteroid_belt.h"

#include <algorithm>
#include <array>

#include "common/random.h"
#include "generation/climate.h"
#include "generation/planet_rolls.h"
#include "generation/resources.h"
#include "records/world_types.h"

namespace orrimar {

namespace {

struct BeltKind {
    int fromRoll;  // the kind roll from which this kind applies
    std::uint8_t worldType;
    std::uint8_t density;
    std::uint8_t albedo;
};

// Metal near the star, ice far out; checked from the last row up.
constexpr std::array<BeltKind, 4> kBeltKinds = {{
    {-99, world::kNickelIron, 14, 15},
    {5, world::kStony, 6, 10},
    {8, world::kCarbonaceous, 4, 5},
    {12, world::kIcy, 2, 35},
}};

// Belt temperatures are taken as for a thick-aired dark body.
constexpr std::uint8_t kGreenhouseClass = 1;
constexpr int kBeltAlbedoForHeat = 7;

constexpr std::uint8_t kAirless = 6;
constexpr std::uint8_t kNoAtmosphere = 1;
constexpr std::uint8_t kSurfaceIce = 3;
constexpr std::uint8_t kSurfaceBare = 1;

const BeltKind& beltKind(int roll) {
    for (auto it = kBeltKinds.rbegin(); it != kBeltKinds.rend(); ++it) {
        if (roll >= it->fromRoll) return *it;
    }
    return kBeltKinds.front();
}

}  // namespace

TPlanetRec GenerateAsteroidBelt(RecordList<TPlanetRec>& planets, const StarSurroundings& star,
                                std::int16_t orbitEntry) {
    const ZoneRadii& z = star.zones;
    TPlanetRec b;
    const auto radius = static_cast<std::int16_t>(-orbitEntry);
    b.orbitRadius = radius;

    // Close to the star the belt has been swept thin.
    const int sizeRoll = d(2, 6);
    int sizeCode = sizeRoll - 1;
    if (radius < 15) {
        sizeCode -= 3;
    } else if (radius < 200) {
        sizeCode -= 1;
    }
    b.diameter = std::max(1, sizeCode);

    int kindRoll = d(2, 6);
    if (radius <= z.inner) kindRoll -= 4;
    if (radius >= z.outer) kindRoll += 2;
    const BeltKind& kind = beltKind(kindRoll);
    b.worldType = kind.worldType;
    b.density = kind.density;
    b.albedo = kind.albedo;

    b.resources = RollResourceRatings(kBeltDiameter, b.density);
    b.axialTilt = RollAxialTilt(radius);
    b.temperature = Temperature(radius, kGreenhouseClass, b.worldType, star.luminosity, kBeltAlbedoForHeat);

    b.systemId = star.systemId;
    b.features = {};
    b.atmosphereClass = kAirless;
    b.composition = kNoAtmosphere;
    b.moonCount = 0;
    if (b.worldType == world::kIcy) {
        b.surfaceClass = kSurfaceIce;
        b.iceCover = 0;
    } else {
        b.surfaceClass = kSurfaceBare;
    }
    planets.append(b);
    return b;
}

}  // namespace orrimar

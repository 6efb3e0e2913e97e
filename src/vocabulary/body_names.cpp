#include "vocabulary/body_names.h"

#include <fmt/format.h>

#include "common/bit_flags.h"
#include "records/records.h"
#include "records/world_types.h"

namespace orrimar::vocabulary {

namespace {

// Star kinds 1..23. Kinds 1..7 and 9 carry the key of their band in the
// stellar table ("A_II" is an A bright giant, "F_VII" the white dwarf); the
// rare kinds 8 and 10..13 are named from their mass and luminosity rows
// (kind 13, the brightest, also gets the shortest life: an age of 1d3).
// Kind 15 is the only special object with a luminosity and a young system
// (age 1d5): a protostar. Kinds 14, 20 and 23 arise only as companions of
// kinds 13, 19 and 22 through the companion rule and carry nothing.
constexpr std::array<StarKindInfo, 23> kStarKinds = {{
    {"A", "II", "white bright giant", "#cfe0ff", true},      // 1  A_II
    {"M", "III", "red giant", "#ff7a4d", true},              // 2  M_III
    {"F", "IV", "yellow-white subgiant", "#fff1c9", true},   // 3  F_IV
    {"F", "V", "yellow-white dwarf", "#fff4d6", true},       // 4  F_V
    {"G", "V", "yellow dwarf", "#ffe066", true},             // 5  G_V
    {"K", "V", "orange dwarf", "#ffae42", true},             // 6  K_V
    {"M", "V", "red dwarf", "#ff5a36", true},                // 7  M_V
    {"M", "VI", "red subdwarf", "#d9482b", true},            // 8  0.15 solar masses, 1/100 the Sun's light
    {"F", "VII", "white dwarf", "#f2f6ff", false},           // 9  F_VII, digit always 0
    {"B", "III", "blue giant", "#8fb4ff", true},             // 10 16..25 solar masses
    {"O", "V", "blue main-sequence star", "#7aa2ff", true},  // 11 hotter as the digit falls
    {"B", "I", "blue supergiant", "#9dbcff", true},          // 12 117 000 solar luminosities and up
    {"O", "Ia+", "blue hypergiant", "#6d8cff", true},        // 13 the brightest kind
    {"", "", "unclassified companion", "#8a8a8a", false},    // 14
    {"", "", "protostar", "#ffb38a", false},                 // 15 luminosity 1d20, young system
    {"", "", "neutron star", "#c8f0ff", false},              // 16
    {"", "", "pulsar", "#a0ffff", false},                    // 17
    {"", "", "black hole", "#b07cff", false},                // 18
    {"", "", "nebula", "#ff9ee6", false},                    // 19
    {"", "", "unclassified companion", "#8a8a8a", false},    // 20
    {"", "", "unclassified companion", "#8a8a8a", false},    // 21 never rolled
    {"", "", "spatial anomaly", "#7dffb0", false},           // 22
    {"", "", "unclassified companion", "#8a8a8a", false},    // 23
}};

constexpr StarKindInfo kUnknownStar = {"", "", "unknown object", "#8a8a8a", false};

// Atmosphere classes are pressure bands.
constexpr std::array<std::string_view, 6> kAtmosphereClassNames = {
    "Very dense", "Dense", "Standard", "Thin", "Trace", "None",
};
constexpr std::array<std::string_view, 6> kAtmosphereBands = {
    "5 atm or more", "1.5 to 5 atm", "0.65 to 1.5 atm", "0.2 to 0.65 atm", "0.001 to 0.2 atm", "under 0.001 atm",
};

struct Composition {
    std::string_view name;
    int weight;  // molecular weight of the main gas
};
// The weights are the generator's table; the names follow them and the
// rules that pick each code: 2 is the air that lets life thrive, 3 the
// carbon dioxide of rocks and hot houses, 6 and 20 the light gas of giants,
// 7, 8 and 16 the ices that giants keep when they hold heavier gas, 11, 14
// and 18 what volcanism makes of 3, 9 and 5, 21 the methane of a young
// garden world. The six atmospheres a race can be made for to order carry
// the names of the Alien Generator's list, so that every log agrees.
constexpr std::array<Composition, 21> kCompositions = {{
    {"None", 200},                         // 1
    {"Nitrogen/Oxygen", 28},               // 2
    {"Carbon dioxide", 44},                // 3
    {"Nitrogen", 28},                      // 4
    {"Heavy exotic gases", 78},            // 5
    {"Hydrogen-helium", 2},                // 6
    {"Ammonia", 17},                       // 7
    {"Methane", 16},                       // 8
    {"Carbon monoxide", 28},               // 9
    {"Halogen compounds", 50},             // 10
    {"Carbon dioxide, sulphurous", 44},    // 11
    {"Nitrogen/Chlorine", 28},             // 12
    {"Nitrous oxide", 44},                 // 13
    {"Hydrogen sulphide", 34},             // 14
    {"Nitrogen/Carbon Dioxyde", 28},       // 15
    {"Methane-ammonia", 16},               // 16
    {"Hydrocarbon smog", 44},              // 17
    {"Heavy exotic gases, volcanic", 78},  // 18
    {"Nitrogen/Sulfuric Acid", 28},        // 19
    {"Hydrogen", 2},                       // 20
    {"Methane, primordial", 16},           // 21
}};

// Surface classes by what the climate makes of them: 5 alone keeps liquid
// water, 3 starts half water and all ice (ice balls, rings, icy belts),
// 6 is frozen (failed cores, glaciers, cold rock), 2 is rock with at most a
// trace of frost, 4 the gas worlds with no surface, 1 the rest (hot houses,
// post gardens, rocky belts).
constexpr std::array<std::string_view, 6> kSurfaceClassNames = {
    "Barren", "Rocky", "Icy", "No solid surface", "Wet", "Frozen",
};

// Resource caps 70, 40, 10, 30 and 10: the common and the rare. Resource 2
// is the one whose rating raises the chance of high radiation.
constexpr std::array<std::string_view, kResourceCount> kResourceNames = {
    "Metals", "Radioactives", "Precious metals", "Crystals and gems", "Exotic minerals",
};

constexpr std::array<std::string_view, 4> kWorldFlagNames = {
    "Volatile-rich (formed beyond the snow line)",
    "Rotation locked to the orbit",
    "Tainted water",
    "Colonised",
};

// Feature bits by the roll that sets them (byte-major, bit 1 first). An
// empty name is a bit no roll sets.
constexpr std::array<std::array<std::string_view, 8>, 5> kFeatureNames = {{
    {
        "Tidal heating",             // 1.1 a close moon or an eccentric orbit kneads the crust
        "Active volcanism",          // 1.2 turns the air sulphurous
        "Magnetic anomalies",        // 1.3
        "High radiation",            // 1.4 thin air or rich radioactives
        "Violent storms",            // 1.5
        "Acid rain",                 // 1.6
        "Heavy meteor bombardment",  // 1.7
        "Extensive cave systems",    // 1.8
    },
    {
        "Strange rock formations",   // 2.1
        "Toxic atmospheric traces",  // 2.2
        "Extreme seasons",           // 2.3 eccentricity above 0.25
        "Volcanic ash in the air",   // 2.4 follows volcanism
        "Severe quakes",             // 2.5 rugged world or strong tides
        "Perpetual cloud cover",     // 2.6 clouds above 90 %
        "Calm, stable world",        // 2.7 feature rating under 5
        "Strong tides",              // 2.8 wide seas and a moon
    },
    {
        "Tidally locked",        // 3.1
        "Rugged terrain",        // 3.2 feature rating above 50
        "Native sentient race",  // 3.3
        "Complex life",          // 3.4
        "Oppressive humidity",   // 3.5 hot and wet
        "Very dry air",          // 3.6
        "Corrosive atmosphere",  // 3.7 hot reactive gases
        "Lethal environment",    // 3.8 radiation, hydrogen, or scorching nitrogen
    },
    {
        "Twin world",                    // 4.1
        "Close twin world",              // 4.2 1.225 diameters apart
        "Super-storms",                  // 4.3 dense air
        "Precursor artefacts",           // 4.4
        "",                              // 4.5
        "Near-sentient native species",  // 4.6 life but no race
        "",                              // 4.7
        "Near-sentients using tools",    // 4.8 follows 4.6
    },
    {
        "",                     // 5.1
        "Prebiotic chemistry",  // 5.2 life 48..50
        "Microbial life",       // 5.3 life 51..55
        "",
        "",
        "",
        "",
        "",
    },
}};

constexpr std::array<std::string_view, kLifeLevelCount> kLifeLevelNames = {
    "None", "Prebiotic chemistry", "Microbial", "Complex", "Sentient",
};

template <typename Table>
auto lookup(const Table& table, int code) -> const typename Table::value_type* {
    if (code < 1 || code > static_cast<int>(table.size())) return nullptr;
    return &table[static_cast<std::size_t>(code - 1)];
}

}  // namespace

const StarKindInfo& starKindInfo(int kind) {
    const StarKindInfo* info = lookup(kStarKinds, kind);
    return info != nullptr ? *info : kUnknownStar;
}

std::string spectralDesignation(int kind, int digit) {
    const StarKindInfo& info = starKindInfo(kind);
    if (info.spectralClass.empty()) {
        std::string name(info.plainName);
        if (!name.empty()) name[0] = static_cast<char>(name[0] - ('a' <= name[0] && name[0] <= 'z' ? 32 : 0));
        return name;
    }
    const int shown = info.hasDigit ? digit : 0;
    return fmt::format("{}{} {}", info.spectralClass, shown, info.luminosityClass);
}

std::string_view starPlainName(int kind) { return starKindInfo(kind).plainName; }

std::string_view atmosphereClassName(int atmosphereClass) {
    const auto* name = lookup(kAtmosphereClassNames, atmosphereClass);
    return name != nullptr ? *name : std::string_view("Unknown");
}

std::string_view atmosphereClassBand(int atmosphereClass) {
    const auto* band = lookup(kAtmosphereBands, atmosphereClass);
    return band != nullptr ? *band : std::string_view("unknown band");
}

std::string_view compositionName(int composition) {
    const auto* entry = lookup(kCompositions, composition);
    return entry != nullptr ? entry->name : std::string_view("Unknown");
}

std::string atmosphereText(int atmosphereClass, int composition) {
    if (atmosphereClass == 6 || composition == 1) return "None";
    return fmt::format("{}, {}", atmosphereClassName(atmosphereClass), compositionName(composition));
}

int compositionWeight(int composition) {
    const auto* entry = lookup(kCompositions, composition);
    return entry != nullptr ? entry->weight : 0;
}

std::string_view surfaceClassName(int surfaceClass) {
    const auto* name = lookup(kSurfaceClassNames, surfaceClass);
    return name != nullptr ? *name : std::string_view("Unknown");
}

std::string_view resourceName(int resource) {
    const auto* name = lookup(kResourceNames, resource);
    return name != nullptr ? *name : std::string_view("Unknown");
}

std::string_view worldFlagName(int bit) {
    const auto* name = lookup(kWorldFlagNames, bit);
    return name != nullptr ? *name : std::string_view("Unknown flag");
}

std::string featureName(int byte, int bit) {
    if (byte >= 1 && byte <= 5 && bit >= 1 && bit <= 8) {
        const std::string_view name =
            kFeatureNames[static_cast<std::size_t>(byte - 1)][static_cast<std::size_t>(bit - 1)];
        if (!name.empty()) return std::string(name);
    }
    return fmt::format("Feature {}.{}", byte, bit);
}

std::string worldTypeText(int worldType) {
    if (worldType < 1 || worldType > world::kCount) return fmt::format("Unknown type {}", worldType);
    std::string_view name = kWorldTypeNames[static_cast<std::size_t>(worldType - 1)];
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return std::string(name);
}

LifeLevel lifeLevel(const std::array<std::uint8_t, 5>& features) {
    if (hasNativeRace(features)) return LifeLevel::Sentient;
    if (testBit(features[2], 4)) return LifeLevel::Complex;
    if (testBit(features[4], 3)) return LifeLevel::Microbial;
    if (testBit(features[4], 2)) return LifeLevel::Prebiotic;
    return LifeLevel::None;
}

std::string_view lifeLevelName(LifeLevel level) { return kLifeLevelNames[static_cast<std::size_t>(level)]; }

}  // namespace orrimar::vocabulary

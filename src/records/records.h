// The fixed-layout records of a sector's file set. Every struct mirrors its
// on-disk layout byte for byte: field order, explicit padding and reserved
// tails, so that a record is read and written with a single copy on a
// little-endian host (see record_codec.h for other hosts).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orrimar {

// A string field of capacity N: a length byte and N character positions
// (one byte per character, Windows ANSI code page).
template <std::size_t N>
struct PascalString {
    std::uint8_t length = 0;
    std::array<char, N> chars{};

    std::string str() const { return std::string(chars.data(), length <= N ? length : N); }
    // Longer texts are cut to the capacity; unused positions are zeros.
    void assign(std::string_view text) {
        chars.fill('\0');
        length = static_cast<std::uint8_t>(text.size() < N ? text.size() : N);
        for (std::size_t i = 0; i < length; ++i) chars[i] = text[i];
    }
};

// A 16-bit race id of 65535 names no race: a system without one, a colony
// owing allegiance to none (an independent one).
inline constexpr std::uint16_t kNoRace = 65535;

// A system holds one to three stars.
inline constexpr int kMaxStars = 3;

// ---------------------------------------------------------------- .sun
struct TSystemRec {
    std::array<std::uint8_t, 3> starKind{};       // star kind code 1..23 per star
    std::array<std::uint8_t, 3> spectralDigit{};  // spectral subclass 0..9 per star
    std::array<std::uint8_t, 3> planetCount{};    // planet records per star
    std::array<std::uint8_t, 3> pad9{};
    std::array<float, 3> luminosity{};  // solar luminosities
    std::array<float, 3> mass{};        // solar masses
    std::uint8_t systemAge = 0;         // 1..59
    std::uint8_t pad37 = 0;
    std::array<std::int16_t, 2> separation{};  // stars 2 and 3 from the primary, tenths of an AU
    // orbit[j][i]: orbit j (0..17) of star i (0..2); tenths of an AU,
    // negative for an asteroid belt.
    std::array<std::array<std::int16_t, 3>, 18> orbit{};
    std::uint8_t starCount = 0;  // 1..3
    std::uint8_t pad151 = 0;
    std::array<std::int32_t, 3> firstPlanetId{};  // planet-file id of each star's first planet
    std::int16_t x = 0;                           // parsecs
    std::int16_t y = 0;                           // parsecs
    std::int16_t z = 0;                           // parsecs
    std::uint16_t systemRaceId = kNoRace;         // alien-file id
    std::uint8_t reserved172 = 0;
    std::uint8_t reserved173 = 0;
    std::array<std::uint8_t, 22> reserved174{};
};

// The stars a system's planet counts and first planet ids are read for.
// A sound record holds 1..3; a damaged count reads as the nearest of them,
// so a reader never indexes past the third star and a system always shows
// its primary.
inline int starCountOf(const TSystemRec& system) {
    return system.starCount < 1 ? 1 : (system.starCount > kMaxStars ? kMaxStars : system.starCount);
}

// ---------------------------------------------------------------- .nam
struct TNameRec {
    std::uint8_t kind = 0;  // 0 in the header record
    std::array<std::uint8_t, 3> pad1{};
    std::int32_t value = 0;  // 8 in the header record
    PascalString<50> name;   // the sector name in the header record
    std::uint8_t pad59 = 0;
};

// ---------------------------------------------------------------- .pln
struct TPlanetRec {
    std::int32_t systemId = 0;           // system-file id of the owning system
    std::int32_t nativeRaceId = 0;       // alien-file id; valid when feature byte 3 bit 3 is set
    std::int32_t firstMoonId = 0;        // moon-file id; valid when moonCount > 0
    std::int16_t colonisingRaceId = -1;  // alien-file id; -1 = none
    std::uint8_t atmosphereClass = 0;    // 1..6 pressure band
    std::uint8_t worldType = 0;          // 1..23
    std::uint8_t surfaceClass = 0;       // 1..6
    std::uint8_t composition = 0;        // atmosphere composition 1..21; 1 = none
    std::uint8_t retainedWeight = 0;     // lightest molecular weight held, 0..121
    std::uint8_t featureRating = 0;      // 0..90
    std::uint8_t axialTilt = 0;          // degrees 0..180
    std::uint8_t pad21 = 0;
    std::int16_t temperature = 0;  // degrees Celsius
    std::uint8_t moonCount = 0;    // moon records; 0 for belts
    std::uint8_t waterCover = 0;   // percent
    std::uint8_t iceCover = 0;     // percent
    std::uint8_t cloudCover = 0;   // percent
    std::uint8_t albedo = 0;       // percent
    std::array<std::uint8_t, 3> pad29{};
    std::int32_t rotation = 0;  // hours
    std::int32_t diameter = 0;  // kilometres; belt size code 1..11 for a belt
    std::uint8_t density = 0;   // tenths of the Earth's density
    std::array<std::uint8_t, 3> pad41{};
    float pressure = 0.0F;                    // atmospheres
    std::uint16_t eccentricity = 0;           // thousandths
    std::int16_t orbitRadius = 0;             // tenths of an AU
    std::array<std::uint8_t, 5> resources{};  // ratings 1..100
    std::uint8_t worldFlags = 0;              // bit 1 volatile-rich, 2 locked, 3 roll P18, 4 colonised
    std::array<std::uint8_t, 5> features{};   // 40 feature bits
    std::uint8_t reserved63 = 0;
    std::array<std::uint8_t, 20> reserved64{};
};

// Feature 19 (byte 3, bit 3): a native race lives here, and nativeRaceId
// points at it. Readers, the generator, the merger and the checker all ask
// through these (the generator's feature rolls set it by its number).
inline constexpr int kNativeRaceFeature = 19;
inline constexpr std::size_t kNativeRaceFeatureByte = (kNativeRaceFeature - 1) / 8;
inline constexpr std::uint8_t kNativeRaceFeatureMask = 1U << ((kNativeRaceFeature - 1) % 8);
inline bool hasNativeRace(const std::array<std::uint8_t, 5>& features) {
    return (features[kNativeRaceFeatureByte] & kNativeRaceFeatureMask) != 0;
}
inline bool hasNativeRace(const TPlanetRec& planet) { return hasNativeRace(planet.features); }
inline void markNativeRace(TPlanetRec& planet) {
    planet.features[kNativeRaceFeatureByte] =
        static_cast<std::uint8_t>(planet.features[kNativeRaceFeatureByte] | kNativeRaceFeatureMask);
}

// ---------------------------------------------------------------- .mon
struct TMoonRec {
    std::int32_t planetId = 0;         // planet-file id of the owning planet
    std::uint8_t atmosphereClass = 0;  // 1..6
    std::uint8_t worldType = 0;        // 1..23
    std::uint8_t surfaceClass = 0;     // 1..6
    std::uint8_t composition = 0;      // 1..21
    std::int16_t temperature = 0;      // degrees Celsius
    std::uint8_t waterCover = 0;       // percent
    std::uint8_t iceCover = 0;         // percent
    std::uint8_t cloudCover = 0;       // percent
    std::uint8_t albedo = 0;           // percent
    std::uint8_t reserved14 = 0;       // copied from the planet for a twin
    std::uint8_t pad15 = 0;
    std::int32_t diameter = 0;  // kilometres; 0 = a ring
    std::uint8_t density = 0;   // tenths of the Earth's density
    std::array<std::uint8_t, 3> pad21{};
    float pressure = 0.0F;                    // atmospheres
    std::uint16_t distance = 0;               // from the planet, thousands of km
    std::array<std::uint8_t, 5> resources{};  // ratings 1..100
    std::uint8_t moonFlags = 0;               // bit 1 volatile-rich
    std::uint8_t reserved36 = 0;
    std::array<std::uint8_t, 23> reserved37{};
};

// ---------------------------------------------------------------- .aln
struct TAlienRec {
    std::int32_t worldId = 0;         // planet-file id of the home world
    std::uint8_t habitat = 0;         // 1..5
    std::uint8_t bodyForm = 0;        // 1..9
    std::uint8_t appendageCount = 0;  // 0..10 used entries of appendageTypes
    std::uint8_t aspectA = 0;         // 1..8
    std::uint8_t aspectB = 0;         // 1..5
    std::uint8_t aspectC = 0;         // 1..4
    std::uint8_t orderCode = 0;       // 1..25
    std::uint8_t subtype = 0;         // 1..12
    std::uint8_t formCode = 0;        // 1..26
    std::uint8_t pad13 = 0;
    std::int16_t mass = 0;                          // kilograms, 2..1100
    std::int16_t height = 0;                        // centimetres, 10..900
    std::array<std::uint8_t, 12> appendageTypes{};  // codes 1..7
    std::array<std::uint8_t, 7> attributes{};       // ratings 2..20
    std::uint8_t techLevel = 0;                     // development level 1..10
    std::uint8_t massClass = 0;                     // 1..26
    std::uint8_t ratingA = 0;
    std::uint8_t ratingB = 0;
    std::uint8_t ratingC = 0;
    std::uint8_t ratingD = 0;
    std::uint8_t ratingE = 0;
    std::uint8_t spatialAge = 0;            // 0..127
    std::array<std::uint8_t, 12> traits{};  // 96 trait flags
    std::array<std::uint8_t, 2> flagSet1{};
    std::array<std::uint8_t, 2> flagSet2{};
    std::array<std::uint8_t, 2> flagSet3{};
    std::array<std::uint8_t, 2> flagSet4{};
    std::array<std::uint8_t, 2> flagSet5{};
    std::uint8_t aspectD = 0;  // 1..8
    std::uint8_t aspectE = 0;  // 1..11
    std::uint8_t aspectF = 0;  // 0..10
    std::uint8_t reserved70 = 0;
    std::array<std::uint8_t, 21> reserved71{};
};

// ---------------------------------------------------------------- .col
// Bytes this program gives no meaning are written as zero and carried as
// they are read.
struct TColonyRec {
    std::int32_t worldId = 0;         // .pln id when kind is 1, else .mon id; -1 in a vacant record
    std::uint16_t race = 0;           // alien-file id of the people who live there
    std::uint16_t allegiance = 0;     // alien-file id of the owning race; kNoRace = independent
    std::uint8_t kind = 0;            // 1 = colony on a planet, otherwise moon base
    std::uint8_t populationCode = 0;  // 0..69 (colony_codes.h)
    std::uint8_t colonyType = 0;      // 1..11 (ColonyType)
    std::uint8_t crimeLevel = 0;      // 0 none .. 9 rampant, as this program writes it
    std::uint8_t lawLevel = 0;        // 0 no law .. 9 total control
    std::uint8_t stability = 0;       // 0 chaos .. 9 unshakeable
    std::uint8_t unused14 = 0;
    std::uint8_t starport = 0;  // 1..5 (Starport), 1 the best
    std::array<std::uint8_t, 2> unused16{};
    std::uint16_t gnp = 0;    // gross product, millions of credits a year
    std::uint16_t power = 0;  // armed strength, 0..65535 points
    std::uint8_t unused22 = 0;
    std::array<std::uint8_t, 2> facilities{};  // bit k-1 of byte 0 = facility k (Facility)
    std::array<std::uint8_t, 3> unused25{};
};

// ---------------------------------------------------------------- .con
// One system a race controls: a system where it owns a colony. Derived from
// the colonies whenever they change; nothing refers to a control record by
// its number, so the file is rewritten whole.
#pragma pack(push, 1)
struct TConRec {
    std::int32_t systemId = 0;  // system-file id
    std::uint16_t race = 0;     // alien-file id of the controlling race
};
#pragma pack(pop)

// ---------------------------------------------------------------- .emp
// An empire: a race that owns systems beyond its home system. Notes refer
// to an empire by its number, so a removed empire keeps its place as a
// vacant record (race kNoRace) instead of renumbering the rest.
struct TEmpireRec {
    std::uint16_t race = kNoRace;          // alien-file id of the ruling race; kNoRace = vacant
    std::array<std::uint8_t, 3> colour{};  // red, green, blue 0..255 of its territory on maps
    std::uint8_t reserved5 = 0;
    std::array<std::uint8_t, 2> reserved6{};
    std::int32_t capitalSystemId = -1;  // system-file id of its capital; -1 in a vacant record
    PascalString<39> name;              // 1..39 characters; empty in a vacant record
};

}  // namespace orrimar

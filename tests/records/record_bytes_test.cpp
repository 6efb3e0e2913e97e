// Every field of every record lands at its documented offset, little-endian,
// with nothing else written; and the bytes decode back to the same record.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "records/record_codec.h"
#include "records/records.h"

namespace orrimar {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename V>
Bytes le(V v) {
    std::uint64_t bits = 0;
    if constexpr (std::is_floating_point_v<V>) {
        std::uint32_t f = 0;
        std::memcpy(&f, &v, 4);
        bits = f;
    } else {
        bits = static_cast<std::uint64_t>(v);
    }
    Bytes out;
    for (std::size_t i = 0; i < sizeof(V); ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    return out;
}
template <typename V, std::size_t N>
Bytes le(const std::array<V, N>& values) {
    Bytes out;
    for (const V& v : values) {
        const Bytes b = le(v);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

template <typename T>
T zeroed() {
    T r;
    std::memset(static_cast<void*>(&r), 0, sizeof(T));
    return r;
}

template <typename T, typename Set>
void expectField(const char* name, std::size_t offset, const Bytes& expected, Set set) {
    T rec = zeroed<T>();
    set(rec);
    unsigned char buf[sizeof(T)];
    encodeRecord(rec, buf);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        const bool inside = i >= offset && i < offset + expected.size();
        EXPECT_EQ(buf[i], inside ? expected[i - offset] : 0) << name << " byte " << i;
    }
    const T back = decodeRecord<T>(buf);
    EXPECT_EQ(std::memcmp(&back, &rec, sizeof(T)), 0) << name;
}

#define FIELD(T, field, offset, value) expectField<T>(#field, offset, le(value), [&](T& r) { r.field = value; })

template <typename V, std::size_t N>
std::array<V, N> arr(std::initializer_list<V> v) {
    std::array<V, N> a{};
    std::copy(v.begin(), v.end(), a.begin());
    return a;
}

TEST(RecordBytes, SizesAreTheOnDiskOnes) {
    EXPECT_EQ(sizeof(TSystemRec), 196U);
    EXPECT_EQ(sizeof(TNameRec), 60U);
    EXPECT_EQ(sizeof(TPlanetRec), 84U);
    EXPECT_EQ(sizeof(TMoonRec), 60U);
    EXPECT_EQ(sizeof(TAlienRec), 92U);
    EXPECT_EQ(sizeof(TColonyRec), 28U);
    EXPECT_EQ(sizeof(TConRec), 6U);
    EXPECT_EQ(sizeof(TEmpireRec), 52U);
}

TEST(RecordBytes, SystemRecord) {
    using T = TSystemRec;
    FIELD(T, starKind, 0, (arr<std::uint8_t, 3>({5, 9, 22})));
    FIELD(T, spectralDigit, 3, (arr<std::uint8_t, 3>({1, 2, 9})));
    FIELD(T, planetCount, 6, (arr<std::uint8_t, 3>({17, 3, 18})));
    FIELD(T, luminosity, 12, (arr<float, 3>({1.05F, 0.001F, 2200.0F})));
    FIELD(T, mass, 24, (arr<float, 3>({0.8F, -1.5F, 57.0F})));
    FIELD(T, systemAge, 36, std::uint8_t{59});
    FIELD(T, separation, 38, (arr<std::int16_t, 2>({1000, -2})));
    FIELD(T, starCount, 150, std::uint8_t{3});
    FIELD(T, firstPlanetId, 152, (arr<std::int32_t, 3>({0x01020304, -7, 70000})));
    FIELD(T, x, 164, std::int16_t{10188});
    FIELD(T, y, 166, std::int16_t{-9989});
    FIELD(T, z, 168, std::int16_t{-1});
    FIELD(T, systemRaceId, 170, std::uint16_t{65535});
    FIELD(T, reserved172, 172, std::uint8_t{0xAB});
    FIELD(T, reserved173, 173, std::uint8_t{0xCD});
    // Orbit j of star i sits at 42 + 6 (j - 1) + 2 (i - 1).
    for (int j = 1; j <= 18; ++j) {
        for (int i = 1; i <= 3; ++i) {
            const auto v = static_cast<std::int16_t>(-(j * 10 + i));
            expectField<T>("orbit", static_cast<std::size_t>(42 + 6 * (j - 1) + 2 * (i - 1)), le(v), [&](T& r) {
                r.orbit[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(i - 1)] = v;
            });
        }
    }
}

TEST(RecordBytes, NameRecord) {
    using T = TNameRec;
    FIELD(T, kind, 0, std::uint8_t{7});
    FIELD(T, value, 4, std::int32_t{-8});
    Bytes name{3, 'S', 'o', 'l'};
    expectField<T>("name", 8, name, [](T& r) { r.name.assign("Sol"); });
    // Cut to the capacity of 50.
    T r = zeroed<T>();
    r.name.assign(std::string(60, 'x'));
    EXPECT_EQ(r.name.length, 50);
    EXPECT_EQ(r.name.str(), std::string(50, 'x'));
}

TEST(RecordBytes, PlanetRecord) {
    using T = TPlanetRec;
    FIELD(T, systemId, 0, std::int32_t{0x11223344});
    FIELD(T, nativeRaceId, 4, std::int32_t{-2});
    FIELD(T, firstMoonId, 8, std::int32_t{123456});
    FIELD(T, colonisingRaceId, 12, std::int16_t{-1});
    FIELD(T, atmosphereClass, 14, std::uint8_t{6});
    FIELD(T, worldType, 15, std::uint8_t{23});
    FIELD(T, surfaceClass, 16, std::uint8_t{5});
    FIELD(T, composition, 17, std::uint8_t{21});
    FIELD(T, retainedWeight, 18, std::uint8_t{121});
    FIELD(T, featureRating, 19, std::uint8_t{88});
    FIELD(T, axialTilt, 20, std::uint8_t{180});
    FIELD(T, temperature, 22, std::int16_t{-273});
    FIELD(T, moonCount, 24, std::uint8_t{12});
    FIELD(T, waterCover, 25, std::uint8_t{71});
    FIELD(T, iceCover, 26, std::uint8_t{3});
    FIELD(T, cloudCover, 27, std::uint8_t{40});
    FIELD(T, albedo, 28, std::uint8_t{30});
    FIELD(T, rotation, 32, std::int32_t{-24});
    FIELD(T, diameter, 36, std::int32_t{12756});
    FIELD(T, density, 40, std::uint8_t{55});
    FIELD(T, pressure, 44, 1.25F);
    FIELD(T, eccentricity, 48, std::uint16_t{999});
    FIELD(T, orbitRadius, 50, std::int16_t{1000});
    FIELD(T, resources, 52, (arr<std::uint8_t, 5>({1, 2, 3, 4, 100})));
    FIELD(T, worldFlags, 57, std::uint8_t{0x0F});
    FIELD(T, features, 58, (arr<std::uint8_t, 5>({0x80, 0x40, 0x04, 0x02, 0x01})));
    FIELD(T, reserved63, 63, std::uint8_t{0xEE});
}

TEST(RecordBytes, MoonRecord) {
    using T = TMoonRec;
    FIELD(T, planetId, 0, std::int32_t{-123456});
    FIELD(T, atmosphereClass, 4, std::uint8_t{2});
    FIELD(T, worldType, 5, std::uint8_t{19});
    FIELD(T, surfaceClass, 6, std::uint8_t{4});
    FIELD(T, composition, 7, std::uint8_t{9});
    FIELD(T, temperature, 8, std::int16_t{-180});
    FIELD(T, waterCover, 10, std::uint8_t{11});
    FIELD(T, iceCover, 11, std::uint8_t{12});
    FIELD(T, cloudCover, 12, std::uint8_t{13});
    FIELD(T, albedo, 13, std::uint8_t{14});
    FIELD(T, reserved14, 14, std::uint8_t{15});
    FIELD(T, diameter, 16, std::int32_t{3476});
    FIELD(T, density, 20, std::uint8_t{33});
    FIELD(T, pressure, 24, 0.001F);
    FIELD(T, distance, 28, std::uint16_t{384});
    FIELD(T, resources, 30, (arr<std::uint8_t, 5>({5, 6, 7, 8, 9})));
    FIELD(T, moonFlags, 35, std::uint8_t{1});
    FIELD(T, reserved36, 36, std::uint8_t{0x77});
}

TEST(RecordBytes, AlienRecord) {
    using T = TAlienRec;
    FIELD(T, worldId, 0, std::int32_t{4242});
    FIELD(T, habitat, 4, std::uint8_t{5});
    FIELD(T, bodyForm, 5, std::uint8_t{9});
    FIELD(T, appendageCount, 6, std::uint8_t{10});
    FIELD(T, aspectA, 7, std::uint8_t{8});
    FIELD(T, aspectB, 8, std::uint8_t{4});
    FIELD(T, aspectC, 9, std::uint8_t{3});
    FIELD(T, orderCode, 10, std::uint8_t{25});
    FIELD(T, subtype, 11, std::uint8_t{12});
    FIELD(T, formCode, 12, std::uint8_t{26});
    FIELD(T, mass, 14, std::int16_t{1100});
    FIELD(T, height, 16, std::int16_t{900});
    FIELD(T, appendageTypes, 18, (arr<std::uint8_t, 12>({1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5})));
    FIELD(T, attributes, 30, (arr<std::uint8_t, 7>({2, 3, 4, 5, 6, 7, 20})));
    FIELD(T, techLevel, 37, std::uint8_t{10});
    FIELD(T, massClass, 38, std::uint8_t{26});
    FIELD(T, ratingA, 39, std::uint8_t{22});
    FIELD(T, ratingB, 40, std::uint8_t{17});
    FIELD(T, ratingC, 41, std::uint8_t{250});
    FIELD(T, ratingD, 42, std::uint8_t{19});
    FIELD(T, ratingE, 43, std::uint8_t{18});
    FIELD(T, spatialAge, 44, std::uint8_t{127});
    FIELD(T, traits, 45, (arr<std::uint8_t, 12>({1, 2, 4, 8, 16, 32, 64, 128, 3, 5, 9, 17})));
    FIELD(T, flagSet1, 57, (arr<std::uint8_t, 2>({0x11, 0x12})));
    FIELD(T, flagSet2, 59, (arr<std::uint8_t, 2>({0x21, 0x22})));
    FIELD(T, flagSet3, 61, (arr<std::uint8_t, 2>({0x31, 0x32})));
    FIELD(T, flagSet4, 63, (arr<std::uint8_t, 2>({0x41, 0x42})));
    FIELD(T, flagSet5, 65, (arr<std::uint8_t, 2>({0x51, 0x52})));
    FIELD(T, aspectD, 67, std::uint8_t{8});
    FIELD(T, aspectE, 68, std::uint8_t{11});
    FIELD(T, aspectF, 69, std::uint8_t{10});
    FIELD(T, reserved70, 70, std::uint8_t{0x99});
}

TEST(RecordBytes, ColonyRecord) {
    using T = TColonyRec;
    FIELD(T, worldId, 0, std::int32_t{77777});
    FIELD(T, race, 4, std::uint16_t{513});
    FIELD(T, allegiance, 6, std::uint16_t{65535});
    FIELD(T, kind, 8, std::uint8_t{1});
    FIELD(T, populationCode, 9, std::uint8_t{69});
    FIELD(T, colonyType, 10, std::uint8_t{11});
    FIELD(T, crimeLevel, 11, std::uint8_t{4});
    FIELD(T, lawLevel, 12, std::uint8_t{6});
    FIELD(T, stability, 13, std::uint8_t{8});
    FIELD(T, starport, 15, std::uint8_t{5});
    FIELD(T, gnp, 18, std::uint16_t{40000});
    FIELD(T, power, 20, std::uint16_t{258});
    FIELD(T, facilities, 23, (arr<std::uint8_t, 2>({0x81, 0x00})));
}

TEST(RecordBytes, FreshSystemRecordNamesNoRace) {
    TSystemRec r;
    unsigned char buf[sizeof r];
    encodeRecord(r, buf);
    EXPECT_EQ(buf[170], 0xFF);
    EXPECT_EQ(buf[171], 0xFF);
    EXPECT_EQ(buf[172], 0);
    EXPECT_EQ(buf[173], 0);
}

}  // namespace
}  // namespace orrimar

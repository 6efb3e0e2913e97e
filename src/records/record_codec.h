// Records on disk are little-endian whatever the host. On a little-endian
// host a record's bytes are its memory image; elsewhere every multi-byte
// field is swapped on the way in and out.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "records/records.h"

namespace orrimar {

namespace detail {

template <typename V>
void swapValue(V& value) {
    static_assert(std::is_trivially_copyable_v<V>);
    unsigned char bytes[sizeof(V)];
    std::memcpy(bytes, &value, sizeof(V));
    std::reverse(bytes, bytes + sizeof(V));
    std::memcpy(&value, bytes, sizeof(V));
}

template <typename V, std::size_t N>
void swapValue(std::array<V, N>& values) {
    for (auto& v : values) swapValue(v);
}

inline void swapFields(TSystemRec& r) {
    swapValue(r.luminosity);
    swapValue(r.mass);
    swapValue(r.separation);
    for (auto& row : r.orbit) swapValue(row);
    swapValue(r.firstPlanetId);
    swapValue(r.x);
    swapValue(r.y);
    swapValue(r.z);
    swapValue(r.systemRaceId);
}
inline void swapFields(TNameRec& r) { swapValue(r.value); }
inline void swapFields(TPlanetRec& r) {
    swapValue(r.systemId);
    swapValue(r.nativeRaceId);
    swapValue(r.firstMoonId);
    swapValue(r.colonisingRaceId);
    swapValue(r.temperature);
    swapValue(r.rotation);
    swapValue(r.diameter);
    swapValue(r.pressure);
    swapValue(r.eccentricity);
    swapValue(r.orbitRadius);
}
inline void swapFields(TMoonRec& r) {
    swapValue(r.planetId);
    swapValue(r.temperature);
    swapValue(r.diameter);
    swapValue(r.pressure);
    swapValue(r.distance);
}
inline void swapFields(TAlienRec& r) {
    swapValue(r.worldId);
    swapValue(r.mass);
    swapValue(r.height);
}
inline void swapFields(TColonyRec& r) {
    swapValue(r.worldId);
    swapValue(r.race);
    swapValue(r.allegiance);
    swapValue(r.gnp);
    swapValue(r.power);
}
// A packed field binds to no reference: swapped through a copy.
inline void swapFields(TConRec& r) {
    std::int32_t systemId = r.systemId;
    swapValue(systemId);
    r.systemId = systemId;
    std::uint16_t race = r.race;
    swapValue(race);
    r.race = race;
}
inline void swapFields(TEmpireRec& r) {
    swapValue(r.race);
    swapValue(r.capitalSystemId);
}

}  // namespace detail

template <typename T>
void encodeRecord(const T& record, unsigned char* out) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out, &record, sizeof(T));
    } else {
        T copy = record;
        detail::swapFields(copy);
        std::memcpy(out, &copy, sizeof(T));
    }
}

template <typename T>
T decodeRecord(const unsigned char* in) {
    T record;
    std::memcpy(&record, in, sizeof(T));
    if constexpr (std::endian::native != std::endian::little) detail::swapFields(record);
    return record;
}

}  // namespace orrimar

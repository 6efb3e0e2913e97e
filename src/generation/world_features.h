// World features and native life: the 40 feature bits of a planet and
// whether life arises on it and how far it goes (feature byte 3 bit 3 = a
// native race). May change the atmosphere composition.
#pragma once

#include <array>
#include <cstdint>

namespace orrimar {

// Fills the five feature bytes. The volatile-rich (bit 1) and locked (bit 2)
// flags are read from `worldFlags`; `resourceRatings` is not read. Returns
// the life value (score + d100) for diagnostics and tests; callers may
// ignore it.
int RollWorldFeatures(std::uint8_t atmosphereClass, std::uint8_t worldType, std::uint8_t moonCount,
                      std::uint8_t surfaceClass, std::uint8_t waterCover, std::uint8_t featureRating,
                      std::uint8_t density, std::uint8_t& composition,
                      const std::array<std::uint8_t, 5>& resourceRatings, std::int32_t rotationHours,
                      std::uint8_t worldFlags, bool twin, bool closeTwin, std::uint16_t eccentricity,
                      std::int16_t temperature, int swing, float gravity, float mass,
                      std::array<std::uint8_t, 5>& features, std::uint8_t resourceRating2, std::uint8_t cloudCover);

}  // namespace orrimar

// Resource ratings of a planet, moon or belt: five values 1..100 from the
// body's size and density.
#pragma once

#include <array>
#include <cstdint>

namespace orrimar {

// The diameter for an asteroid belt, whose diameter field holds a size code.
inline constexpr std::int32_t kBeltDiameter = -1;

// Rolls the five ratings. A diameter of 0 (a ring) is rated as a 700 km body
// of density d10 + 3; a belt (kBeltDiameter) as 5000 km when its density is
// 10 or more, else 3000 km.
std::array<std::uint8_t, 5> RollResourceRatings(std::int32_t diameter, std::uint8_t density);

}  // namespace orrimar

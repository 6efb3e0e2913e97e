// World type codes 1..23 and their 13-character names, space-padded exactly
// as stored in the program's table (the colonies report prints them as is).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "common/errors.h"

namespace orrimar {

// The codes by name, for the generators' rule tables.
namespace world {
inline constexpr std::uint8_t kIceBall = 1;
inline constexpr std::uint8_t kRock = 2;
inline constexpr std::uint8_t kGasGiant = 3;
inline constexpr std::uint8_t kHotHouse = 4;
inline constexpr std::uint8_t kFailedCore = 5;
inline constexpr std::uint8_t kAsteroidBelt = 6;  // never produced by generation
inline constexpr std::uint8_t kChunk = 7;         // a body under 1000 km across
inline constexpr std::uint8_t kArid = 8;
inline constexpr std::uint8_t kSteppe = 9;
inline constexpr std::uint8_t kTerran = 10;
inline constexpr std::uint8_t kJungle = 11;
inline constexpr std::uint8_t kOcean = 12;
inline constexpr std::uint8_t kDesert = 13;
inline constexpr std::uint8_t kGlacier = 14;
inline constexpr std::uint8_t kNickelIron = 15;  // belt kinds 15..18
inline constexpr std::uint8_t kStony = 16;
inline constexpr std::uint8_t kCarbonaceous = 17;
inline constexpr std::uint8_t kIcy = 18;
inline constexpr std::uint8_t kRing = 19;  // a body of diameter 0
inline constexpr std::uint8_t kBrownDwarf = 20;
inline constexpr std::uint8_t kPostGarden = 21;
inline constexpr std::uint8_t kPreGarden = 22;
inline constexpr std::uint8_t kTundra = 23;
inline constexpr int kCount = 23;

// A body above this many Earth masses burns deuterium: a brown dwarf, which
// also lights its moons.
inline constexpr float kBrownDwarfMass = 3180.0F;
}  // namespace world

inline constexpr std::size_t kWorldTypeNameLength = 13;

inline constexpr std::array<std::string_view, world::kCount> kWorldTypeNames = {
    "Ice Ball     ", "Rock         ", "Gas Giant    ", "Hot House    ", "Failed Core  ", "Asteroid Belt",
    "Chunk        ", "Arid         ", "Steppe       ", "Terran       ", "Jungle       ", "Ocean        ",
    "Desert       ", "Glacier      ", "Nickel-Iron  ", "Stony        ", "Carbonaceous ", "Icy          ",
    "Ring         ", "Brown Dwarf  ", "Post Garden  ", "Pre Garden   ", "Tundra       ",
};

// A belt is a body of one of the four belt kinds, 15..18: the only codes the
// generator gives a body in a belt orbit (a negative orbit-table entry), and
// the only ones the checker accepts there. Code 6 keeps its name in the
// table but is not a belt: nothing makes it, and a record holding it lies
// in an ordinary orbit, so every reader shows it as a planet.
constexpr bool isBelt(int worldType) { return worldType >= world::kNickelIron && worldType <= world::kIcy; }

// The 13-character name of world type `code` (1..23). Any other code is a
// value outside the table: a range error, as for any out-of-range index.
constexpr std::string_view worldTypeName(int code) {
    if (code < 1 || code > world::kCount) throw RangeError();
    return kWorldTypeNames[static_cast<std::size_t>(code - 1)];
}

}  // namespace orrimar

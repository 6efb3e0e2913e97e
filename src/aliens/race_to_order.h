// A race made to order: the user names the home world (temperature,
// gravity, kind of world, atmosphere) and one race is rolled for it into a
// one-world sector of its own, from which its log is then written.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace orrimar {

struct ListEntry {
    std::string_view text;
    std::uint8_t code;
};

// The World list, index -> world type.
inline constexpr std::array<ListEntry, 6> kWorldList = {{
    {"Terran", 10},
    {"Arid", 8},
    {"Steppe", 9},
    {"Jungle", 11},
    {"Ocean", 12},
    {"Tundra", 23},
}};
// The Atmosphere list, index -> atmosphere composition.
inline constexpr std::array<ListEntry, 6> kAtmosphereList = {{
    {"Nitrogen/Oxygen", 2},
    {"Nitrogen", 4},
    {"Nitrogen/Chlorine", 12},
    {"Nitrogen/Carbon Dioxyde", 15},
    {"Nitrogen/Sulfuric Acid", 19},
    {"Ammonia", 7},
}};
// Without a valid selection (an entry typed over) these stand.
inline constexpr std::uint8_t kDefaultWorldType = 10;
inline constexpr std::uint8_t kDefaultAtmosphere = 2;
// The max spatial age a race made to order is always rolled with.
inline constexpr std::uint8_t kGeneratorMaxSpatialAge = 100;

inline constexpr std::string_view kTemperatureMessage = "Temperature must be between -50 and 100";
inline constexpr std::string_view kGravityMessage = "Gravity must be between 0.5 and 3.0";

// The order's fields read from their texts and selections, each refusing
// with its message (InputError).
std::int16_t parseTemperature(std::string_view text);  // degrees Celsius
float parseGravity(std::string_view text);             // g
std::uint8_t worldTypeForIndex(int index);
std::uint8_t atmosphereForIndex(int index);

// What the race is made from.
struct RaceOrder {
    std::int16_t temperature = 15;  // degrees Celsius, -50..100
    std::uint8_t composition = 2;   // atmosphere composition
    std::uint8_t worldType = 10;    // world type
    float gravity = 1.0F;           // g, 0.5..3.0
    bool totalAlienDisable = false;
};

// Writes the one-world sector into `folder` (a folder of the caller's own:
// its files are named as any scratch sector's) and rolls race 0 for its
// planet with the process-wide dice and alien thresholds. Returns the
// sector's base name. IoError when a file cannot be written.
std::string MakeRaceToOrder(const RaceOrder& order, const std::filesystem::path& folder);

}  // namespace orrimar

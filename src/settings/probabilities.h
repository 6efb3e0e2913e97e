// The two probability tables of the settings file, turned into cumulative
// thresholds at the start of every sector run (and every Alien Generator OK).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orrimar {

// "Stellar Probabilities": T1..T10, cumulative per mille weights of
// "Pheno", "Misc", "A_II", "M_III", "F_IV", "F_V", "G_V", "K_V", "M_V", "F_VII".
struct StellarThresholds {
    std::array<std::uint16_t, 10> t{1, 6, 15, 35, 65, 180, 430, 690, 950, 1000};
};

// "Alien Probabilities": cumulative percentages of "Human", "Animal",
// "Reptile", "Insect", "Misc", "Exotic".
struct AlienThresholds {
    std::array<std::uint8_t, 6> t{20, 50, 65, 80, 95, 100};
};

// The process-wide tables that generation reads.
StellarThresholds& stellarThresholds();
AlienThresholds& alienThresholds();

// Replace the process-wide tables from the settings file at iniPath. A sum
// outside the field's range raises RangeError ("Range check error"); the
// thresholds before it keep their new values, the later ones their old.
void LoadStellarProbabilities(const std::string& iniPath);
void LoadAlienProbabilities(const std::string& iniPath);

// The settings file beside the program: programDir + "orrwin.ini".
std::string settingsPath(const std::string& programDir);

}  // namespace orrimar

#include "settings/probabilities.h"

#include <filesystem>

#include <fmt/format.h>

#include "common/errors.h"
#include "settings/ini_file.h"

namespace orrimar {

namespace {

struct Weight {
    const char* key;
    int defaultWeight;
};

constexpr Weight kStellarWeights[10] = {
    {"Pheno", 1}, {"Misc", 5},  {"A_II", 9},  {"M_III", 20}, {"F_IV", 30},
    {"F_V", 115}, {"G_V", 250}, {"K_V", 260}, {"M_V", 260},  {"F_VII", 50},
};

constexpr Weight kAlienWeights[6] = {
    {"Human", 20}, {"Animal", 30}, {"Reptile", 15}, {"Insect", 15}, {"Misc", 15}, {"Exotic", 5},
};

// The runtime's range error, followed by where the sum went out of range:
// the file, the section and the key whose weight took it there.
RangeError thresholdRangeError(const std::string& iniPath, const char* section, const char* key, long long sum,
                               long long high) {
    return RangeError(fmt::format("Range check error: {} [{}] {}: the running sum {} is out of range 0..{}", iniPath,
                                  section, key, sum, high));
}

constexpr const char* kStellarSection = "Stellar Probabilities";
constexpr const char* kAlienSection = "Alien Probabilities";

StellarThresholds theStellarThresholds;
AlienThresholds theAlienThresholds;

}  // namespace

StellarThresholds& stellarThresholds() { return theStellarThresholds; }
AlienThresholds& alienThresholds() { return theAlienThresholds; }

void LoadStellarProbabilities(const std::string& iniPath) {
    const IniFile ini(iniPath);
    long long sum = 0;
    for (std::size_t n = 0; n < 10; ++n) {
        sum += ini.readInteger(kStellarSection, kStellarWeights[n].key, kStellarWeights[n].defaultWeight);
        // Each running sum lands in an unsigned 16-bit threshold.
        if (sum < 0 || sum > 65535)
            throw thresholdRangeError(iniPath, kStellarSection, kStellarWeights[n].key, sum, 65535);
        theStellarThresholds.t[n] = static_cast<std::uint16_t>(sum);
    }
}

void LoadAlienProbabilities(const std::string& iniPath) {
    const IniFile ini(iniPath);
    long long sum = 0;
    for (std::size_t n = 0; n < 6; ++n) {
        sum += ini.readInteger(kAlienSection, kAlienWeights[n].key, kAlienWeights[n].defaultWeight);
        // Each running sum lands in an unsigned byte.
        if (sum < 0 || sum > 255) throw thresholdRangeError(iniPath, kAlienSection, kAlienWeights[n].key, sum, 255);
        theAlienThresholds.t[n] = static_cast<std::uint8_t>(sum);
    }
}

std::string settingsPath(const std::string& programDir) {
    return (std::filesystem::path(programDir) / "orrwin.ini").string();
}

}  // namespace orrimar

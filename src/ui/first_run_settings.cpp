#include "ui/first_run_settings.h"

#include "settings/ini_file.h"

namespace orrimar::ui {

namespace {

struct FirstRunValue {
    const char* key;
    int value;
};

// Per mille weights of the star kinds.
constexpr FirstRunValue kStellar[] = {
    {"Pheno", 1}, {"Misc", 5},  {"A_II", 9},  {"M_III", 20}, {"F_IV", 30},
    {"F_V", 115}, {"G_V", 250}, {"K_V", 260}, {"M_V", 260},  {"F_VII", 50},
};

// Percent weights of the race categories.
constexpr FirstRunValue kAlien[] = {
    {"Human", 20}, {"Animal", 30}, {"Reptile", 15}, {"Insect", 15}, {"Misc", 15}, {"Exotic", 5},
};

}  // namespace

void writeFirstRunSettings(const std::string& settingsPath) {
    IniFile ini(settingsPath);
    for (const FirstRunValue& entry : kStellar) ini.writeInteger("Stellar Probabilities", entry.key, entry.value);
    for (const FirstRunValue& entry : kAlien) ini.writeInteger("Alien Probabilities", entry.key, entry.value);
    ini.save();
}

}  // namespace orrimar::ui

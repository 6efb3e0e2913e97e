// What the program keeps for the whole run: where it lives, where its
// settings are, the sector it works on, and the output system the Alien
// Generator last used.
#pragma once

#include <QString>

#include <cstdint>

namespace orrimar::ui {

class CurrentSector;

struct AppState {
    QString programDir;    // folder of the executable, with a trailing separator
    QString settingsPath;  // orrwin.ini, beside the program when it may write there
    std::uint8_t rememberedOutputSystem = 0;
    // The sector last created or opened anywhere; owned by the launch pad.
    CurrentSector* sector = nullptr;

    std::string settingsFile() const { return settingsPath.toStdString(); }
};

}  // namespace orrimar::ui

// What the program keeps for the whole run: where it lives, where its
// settings are, and the output system the Alien Generator last used.
#pragma once

#include <QString>

#include <cstdint>

namespace orrimar::ui {

struct AppState {
    QString programDir;    // folder of the executable, with a trailing separator
    QString settingsPath;  // orrwin.ini, beside the program when it may write there
    std::uint8_t rememberedOutputSystem = 0;

    std::string settingsFile() const { return settingsPath.toStdString(); }
};

}  // namespace orrimar::ui

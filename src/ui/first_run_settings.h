// The probability tables a first run writes into the settings file, so the
// game master finds every weight there to edit.
#pragma once

#include <string>

namespace orrimar::ui {

// Writes both sections, key by key in table order, overwriting values
// already there, and saves the file. IoError when it cannot be written.
void writeFirstRunSettings(const std::string& settingsPath);

}  // namespace orrimar::ui

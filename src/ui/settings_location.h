// Where orrwin.ini lives. Beside the program, as the game master expects to
// find it; but an installed program's directory cannot be written, and then
// the first-run tables and the window geometry would never be kept, so the
// file goes to the user's configuration folder instead.
#pragma once

#include <QString>

namespace orrimar::ui {

inline const QString kSettingsFileName = QStringLiteral("orrwin.ini");

// True when a file can be created in `dir` (tried, not guessed from the mode
// bits, which say nothing for the superuser or a read-only mount).
bool directoryIsWritable(const QString& dir);

// programDir + "orrwin.ini" when the program directory can be written, else
// userConfigDir + "/orrwin.ini" (the folder is made, and seeded with a copy
// of a settings file shipped beside the program).
QString resolveSettingsPath(const QString& programDir, const QString& userConfigDir);

// The user's configuration folder for this program (~/.config/orrimar).
QString defaultUserConfigDir();

// The folder of the running executable with a trailing separator.
QString runningProgramDir();

}  // namespace orrimar::ui

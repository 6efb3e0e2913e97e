// The sectors the program created or opened last, newest first, kept in orrwin.ini's
// "Settings" section as "RecentSector1".."RecentSector8" (base names, no
// extension), so the game master's table survives a restart.
#pragma once

#include <QString>
#include <QStringList>

namespace orrimar::ui {

inline constexpr int kRecentSectorCount = 8;

// The list stored in the settings file; a missing or unreadable file is an
// empty list.
QStringList readRecentSectors(const std::string& settingsPath);

// `baseName` moved (or added) to the front, the oldest dropped past the
// limit. Pure: the settings file is not touched.
QStringList withRecentSector(QStringList recent, const QString& baseName);

// Writes the whole list, blanking the keys of entries no longer there.
// IoError when the file cannot be written.
void writeRecentSectors(const std::string& settingsPath, const QStringList& recent);

}  // namespace orrimar::ui

#include "ui/recent_sectors.h"

#include <string>

#include "common/errors.h"
#include "settings/ini_file.h"

namespace orrimar::ui {

namespace {

const char* const kSection = "Settings";

std::string keyOf(int index) { return "RecentSector" + std::to_string(index + 1); }

}  // namespace

QStringList readRecentSectors(const std::string& settingsPath) {
    QStringList recent;
    try {
        const IniFile settings(settingsPath);
        for (int i = 0; i < kRecentSectorCount; ++i) {
            const auto value = settings.readString(kSection, keyOf(i));
            if (!value || value->empty()) continue;
            const QString base = QString::fromStdString(*value);
            if (!recent.contains(base)) recent << base;
        }
    } catch (const OrrError&) {
        // An unreadable settings file is a missing one.
    }
    return recent;
}

QStringList withRecentSector(QStringList recent, const QString& baseName) {
    recent.removeAll(baseName);
    recent.prepend(baseName);
    while (recent.size() > kRecentSectorCount) recent.removeLast();
    return recent;
}

void writeRecentSectors(const std::string& settingsPath, const QStringList& recent) {
    IniFile settings(settingsPath);
    for (int i = 0; i < kRecentSectorCount; ++i) {
        // The INI class cannot drop a key; a blank value reads as no entry.
        const std::string value = i < recent.size() ? recent.at(i).toStdString() : std::string();
        if (value.empty() && !settings.readString(kSection, keyOf(i))) continue;
        settings.writeString(kSection, keyOf(i), value);
    }
    settings.save();
}

}  // namespace orrimar::ui

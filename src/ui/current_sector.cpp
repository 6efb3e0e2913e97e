#include "ui/current_sector.h"

#include <QFileInfo>

#include "common/errors.h"
#include "ui/recent_sectors.h"

namespace orrimar::ui {

bool namesASector(const QString& baseName) {
    return !baseName.trimmed().isEmpty() && QFileInfo(baseName + QStringLiteral(".sun")).isFile();
}

CurrentSector::CurrentSector(QString settingsPath, QObject* parent)
    : QObject(parent),
      settingsPath_(std::move(settingsPath)),
      recent_(readRecentSectors(settingsPath_.toStdString())) {}

void CurrentSector::set(const QString& baseName) {
    if (baseName.isEmpty()) return;
    // Absolute, so that the name means the same sector to every dialog
    // whatever folder its file dialog was last in.
    baseName_ = QFileInfo(baseName).absoluteFilePath();
    recent_ = withRecentSector(recent_, baseName_);
    try {
        writeRecentSectors(settingsPath_.toStdString(), recent_);
    } catch (const OrrError&) {
        // Settings that cannot be written are not reported: the list is
        // kept for this run.
    }
    emit changed(baseName_);
}

}  // namespace orrimar::ui

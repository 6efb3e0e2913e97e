#include "ui/default_log_names.h"

#include <QDir>
#include <QFileInfo>

namespace orrimar::ui {

namespace {

QString logBaseName(const QString& sectorBase, const QString& what, std::int32_t id) {
    if (sectorBase.isEmpty()) return {};
    const QString sector = QFileInfo(sectorBase).fileName();
    return QDir(logFolderFor(sectorBase)).filePath(QStringLiteral("%1-%2%3").arg(sector, what).arg(id));
}

}  // namespace

QString logFolderFor(const QString& sectorBase) {
    const QDir sectorFolder = QFileInfo(sectorBase).absoluteDir();
    const QString inside = sectorFolder.filePath(QStringLiteral("log"));
    if (QFileInfo(inside).isDir()) return inside;
    const QString beside = QDir::cleanPath(sectorFolder.filePath(QStringLiteral("../log")));
    if (QFileInfo(beside).isDir()) return beside;
    return sectorFolder.path();
}

QString systemLogBaseName(const QString& sectorBase, std::int32_t systemId) {
    return logBaseName(sectorBase, QStringLiteral("system"), systemId);
}

QString raceLogBaseName(const QString& sectorBase, std::int32_t raceId) {
    return logBaseName(sectorBase, QStringLiteral("race"), raceId);
}

}  // namespace orrimar::ui

#include "ui/settings_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace orrimar::ui {

bool directoryIsWritable(const QString& dir) {
    if (!QFileInfo(dir).isDir()) return false;
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".orrwin-probe-XXXXXX")));
    return probe.open();
}

QString resolveSettingsPath(const QString& programDir, const QString& userConfigDir) {
    const QString besideProgram = QDir(programDir).filePath(kSettingsFileName);
    // The file is rewritten through a sibling and a rename, so the folder
    // itself must take new files.
    if (directoryIsWritable(programDir)) return besideProgram;
    QDir().mkpath(userConfigDir);
    const QString userFile = QDir(userConfigDir).filePath(kSettingsFileName);
    // A settings file shipped beside an installed program seeds the user's own.
    if (!QFileInfo::exists(userFile) && QFileInfo::exists(besideProgram)) QFile::copy(besideProgram, userFile);
    return userFile;
}

QString defaultUserConfigDir() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("orrimar"));
}

QString runningProgramDir() {
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

}  // namespace orrimar::ui

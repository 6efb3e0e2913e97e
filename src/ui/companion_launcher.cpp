#include "ui/companion_launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace orrimar::ui {

DetachedStarter systemStarter() {
    return [](const QString& program, const QString& workingDir) {
        return QProcess::startDetached(program, {}, workingDir);
    };
}

QString findCompanion(const QString& dir, const QString& fileName) {
    const QDir folder(dir.isEmpty() ? QDir::currentPath() : dir);
    QStringList names{fileName};
    if (fileName.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) names << fileName.chopped(4);
    for (const QString& name : names) {
        if (QFileInfo(folder.filePath(name)).isFile()) return folder.filePath(name);
    }
    const QStringList entries = folder.entryList(QDir::Files);
    for (const QString& name : names) {
        for (const QString& entry : entries) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0) return folder.filePath(entry);
        }
    }
    return {};
}

void start_companion(const QString& fileName, const QString& parameters, const QString& directory, int showCommand,
                     const DetachedStarter& starter) {
    // The launch pad passes no parameters, and every window opens in its
    // normal size, so neither needs passing on here.
    (void)parameters;
    (void)showCommand;
    const QString program = findCompanion(directory, fileName);
    if (program.isEmpty()) return;
    starter(program, directory);
}

}  // namespace orrimar::ui

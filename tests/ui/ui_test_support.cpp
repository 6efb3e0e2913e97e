#include "ui_test_support.h"

#include <QFile>
#include <QFileInfo>

#include "records/record_file.h"
#include "records/records.h"
#include "support/sector_maker.h"
#include "support/test_dir.h"

namespace orrimar::ui::test {

Workspace::Workspace(const QString& name) : previousDir_(QDir::currentPath()) {
    path_ = QDir(QString::fromStdString(orrimar::testing::testTmp())).filePath(QStringLiteral("ui/") + name);
    QDir(path_).removeRecursively();
    QDir().mkpath(path_);
    path_ = QDir(path_).canonicalPath();
    QDir::setCurrent(path_);
    resetFileDialogSeam(true);
}

Workspace::~Workspace() {
    QDir::setCurrent(previousDir_);
    resetFileDialogSeam(true);
}

std::int64_t fileSize(const QString& path) { return QFileInfo(path).exists() ? QFileInfo(path).size() : -1; }

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

void writeText(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text.toUtf8());
}

void makeSector(const std::string& baseName, int size, int density, bool flat, std::uint64_t seed) {
    orrimar::testing::SeededSector order;
    order.name = "test";
    order.lastIndex = size - 1;
    order.density = density;
    order.flat = flat;
    order.seed = seed;
    orrimar::testing::makeSector(baseName, order);
}

void makeSectorWithColony(const std::string& baseName, std::int32_t race) {
    makeSector(baseName, 2, 100, true, 3);
    RecordFile<TColonyRec> colonies(baseName + ".col", RawRecordFile::Mode::OpenExisting);
    TColonyRec colony;
    colony.worldId = 0;
    colony.race = race;
    colony.allegiance = race;
    colony.kind = 1;
    colony.populationCode = 35;
    colony.colonyType = 1;
    colony.starport = 1;
    colonies.append(colony);
    colonies.close();
}

}  // namespace orrimar::ui::test

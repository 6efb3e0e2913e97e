#include "ui_test_support.h"

#include <QFile>
#include <QFileInfo>

#include <fstream>

#include "records/record_file.h"
#include "records/record_reader.h"
#include "records/sector_files.h"
#include "support/record_bytes.h"
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

std::int32_t makeCrimsonPactCube(const std::string& baseName) {
    makeSector(baseName, 8, 40, false, 11);
    const std::int32_t capital = RecordReader<TPlanetRec>(sectorPath(baseName, ".pln")).read(0).systemId;
    TColonyRec colony;
    colony.worldId = 0;
    colony.race = 2;
    colony.allegiance = 2;
    colony.kind = 1;
    colony.populationCode = 35;  // 60 million
    colony.colonyType = 4;       // Mining
    colony.starport = 2;         // Good
    colony.lawLevel = 6;
    colony.stability = 6;
    colony.crimeLevel = 2;
    TEmpireRec pact;
    pact.race = 2;
    pact.colour = {200, 10, 10};
    pact.capitalSystemId = capital;
    pact.name.assign("Crimson Pact");
    std::ofstream(sectorPath(baseName, ".col"), std::ios::binary | std::ios::trunc) << testing::bytesOf(colony);
    std::ofstream(sectorPath(baseName, ".con"), std::ios::binary | std::ios::trunc)
        << testing::bytesOf(TConRec{capital, 2});
    std::ofstream(sectorPath(baseName, ".emp"), std::ios::binary | std::ios::trunc) << testing::bytesOf(pact);
    return capital;
}

}  // namespace orrimar::ui::test

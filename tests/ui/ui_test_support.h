// Shared fixtures of the desktop program's tests: a fresh working folder to
// stand in as the current directory, and small file helpers.
#pragma once

#include <QDir>
#include <QString>

#include <cstdint>
#include <string>

#include "ui/file_dialog_seam.h"
#include "ui/message_seam.h"

namespace orrimar::ui::test {

// A fresh empty folder under the build's test-tmp, made the current
// directory for the test's lifetime; file dialogs refuse unless queued.
class Workspace {
public:
    explicit Workspace(const QString& name);
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    const QString& path() const { return path_; }
    QString file(const QString& name) const { return QDir(path_).filePath(name); }
    std::string base(const QString& name) const { return file(name).toStdString(); }

private:
    QString path_;
    QString previousDir_;
};

std::int64_t fileSize(const QString& path);
QString readText(const QString& path);
void writeText(const QString& path, const QString& text);

// Generates a small sector with a fixed seed, written beside the tests.
void makeSector(const std::string& baseName, int size, int density, bool flat = true, std::uint64_t seed = 7);
// The same small flat sector (2 x 2, density 100, seed 3) with one colony of
// race `race` on world 0, for the colonies report.
void makeSectorWithColony(const std::string& baseName, std::int32_t race);
// The settled cube of the Atlas's settled-space tests: an 8-parsec cube
// (density 40, seed 11) where race 2 holds one Mining colony on planet 0
// (60 million people, a Good starport, law 6, stability 6, crime 2) and
// controls that system as the Crimson Pact (colour 200, 10, 10), whose
// capital it is. Returns the capital's system id.
std::int32_t makeCrimsonPactCube(const std::string& baseName);

}  // namespace orrimar::ui::test

// What the desktop program's command line asks for: nothing (the launch
// pad, as always) or one sector file, opened straight in the atlas.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orrimar::ui {

// The sector base name named by `arguments` (the program's own name first):
// "orrimar data/orion.sun" gives "data/orion". Any other extension, or none,
// names the base as it stands. Nothing when no sector was named; options
// (leading "-") are Qt's and skipped.
std::optional<QString> atlasSectorArgument(const QStringList& arguments);

// A sector path without its ".sun" (or any sector file's) extension.
QString sectorBaseName(const QString& path);

}  // namespace orrimar::ui

#include "ui/start_arguments.h"

#include <QFileInfo>

namespace orrimar::ui {

namespace {
// The extensions of a sector's file set: any of them names the sector.
const QStringList kSectorExtensions = {QStringLiteral("sun"), QStringLiteral("pln"), QStringLiteral("mon"),
                                       QStringLiteral("aln"), QStringLiteral("nam"), QStringLiteral("col"),
                                       QStringLiteral("con"), QStringLiteral("emp"), QStringLiteral("cmt")};
}  // namespace

QString sectorBaseName(const QString& path) {
    const QFileInfo info(path);
    const QString extension = info.suffix().toLower();
    if (!kSectorExtensions.contains(extension)) return path;
    return path.left(path.size() - extension.size() - 1);
}

std::optional<QString> atlasSectorArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument.isEmpty() || argument.startsWith(QLatin1Char('-'))) continue;
        return sectorBaseName(argument);
    }
    return std::nullopt;
}

}  // namespace orrimar::ui

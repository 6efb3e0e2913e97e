// The logs a dialog proposes for the sector it works on, so that its OK
// works with what it shows: "<log folder>/<sector>-system<id>" and
// "<log folder>/<sector>-race<id>" (base names, as the file fields show
// them). The log folder is the "log" folder beside the sector's "data"
// folder, or inside the sector's folder, as the program lays them out; the
// sector's own folder when there is neither.
#pragma once

#include <QString>

#include <cstdint>

namespace orrimar::ui {

QString logFolderFor(const QString& sectorBase);
QString systemLogBaseName(const QString& sectorBase, std::int32_t systemId);
QString raceLogBaseName(const QString& sectorBase, std::int32_t raceId);

}  // namespace orrimar::ui

#include "ui/sector_questions.h"

#include <algorithm>

#include "common/ansi_text.h"
#include "common/errors.h"
#include "generation/create_sector.h"
#include "names/sector_names.h"
#include "records/cell_occupancy.h"
#include "records/record_file.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/sector_tail.h"
#include "ui/message_seam.h"

namespace orrimar::ui {

namespace {

QString grouped(std::int64_t count) { return QString::fromStdString(groupedCount(count)); }

// The name the game master gave the sector; the base name when the name
// file is missing, unreadable or names nothing.
QString displayName(const std::string& baseName) {
    try {
        const SectorNames names = SectorNames::load(baseName, [](NameKind, std::int32_t) { return false; });
        if (names.sectorName() && !names.sectorName()->empty())
            return QString::fromStdString(ansiToUtf8(*names.sectorName()));
    } catch (const OrrError&) {
        // The question still has the base name to go by.
    }
    return QString::fromStdString(baseName);
}

}  // namespace

QString replaceSectorQuestion(const std::string& baseName, std::int64_t systems) {
    return QStringLiteral("Replace sector %1 (%2 systems)?").arg(displayName(baseName), grouped(systems));
}

QString appendOverlapQuestion(std::int64_t occupiedCells) {
    return QStringLiteral(
               "%1 cells of this block already hold systems; appending may put a second system in "
               "them. Append anyway?")
        .arg(grouped(occupiedCells));
}

QString mergeOverlapQuestion(std::int64_t doubledSystems) {
    return QStringLiteral(
               "%1 systems of the sector to add stand in cells the main sector already holds; merging "
               "puts two systems in each. Merge anyway?")
        .arg(grouped(doubledSystems));
}

bool confirmCreateSector(QWidget* parent, CreateSectorParams& params) {
    const std::string baseName = sectorBaseName(params.baseName);
    const QString title = QStringLiteral("Create Sector");
    if (params.newFile) {
        if (!missingSectorMessage(baseName).empty()) return true;
        const std::int64_t systems =
            std::max<std::int64_t>(0, recordCountOnDisk(sectorPath(baseName, ".sun"), sizeof(TSystemRec)));
        if (!askQuestion(parent, title, replaceSectorQuestion(baseName, systems))) return false;
        params.replace = true;
        return true;
    }
    RequireWholeSectorTail(baseName);
    const std::int64_t depth = params.flat ? 1 : params.lastIndex + 1;
    const std::int64_t occupied =
        OccupiedCellsInBlock(baseName, params.x, params.y, params.z, params.lastIndex + 1, depth);
    return occupied == 0 || askQuestion(parent, title, appendOverlapQuestion(occupied));
}

bool confirmMerge(QWidget* parent, const std::string& mainBase, const std::string& addedBase) {
    RequireWholeSectorTail(mainBase);
    const std::int64_t doubled = DoubledCellsOnMerge(mainBase, addedBase);
    return doubled == 0 || askQuestion(parent, QStringLiteral("Sector Merger"), mergeOverlapQuestion(doubled));
}

}  // namespace orrimar::ui

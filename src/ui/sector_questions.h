// The questions asked before a command that would replace a sector or put a
// second system in a cell: the game master's work is never lost or muddled
// without a Yes. The counts are the core's (records/cell_occupancy.h); a
// No leaves every file as it was.
#pragma once

#include <QString>

#include <cstdint>
#include <string>

class QWidget;

namespace orrimar {
struct CreateSectorParams;
}

namespace orrimar::ui {

// "Replace sector NAME (1,341 systems)?": NAME is the sector's own name when
// its name file gives one, else its base name.
QString replaceSectorQuestion(const std::string& baseName, std::int64_t systems);
QString appendOverlapQuestion(std::int64_t occupiedCells);
QString mergeOverlapQuestion(std::int64_t doubledSystems);

// Before a Create Sector run touches anything. Creating over a sector asks
// to replace it (Yes sets params.replace); appending over cells that hold
// systems asks to go on. False when the user said No. A sector torn at its
// end is refused first, as the run would refuse it.
bool confirmCreateSector(QWidget* parent, CreateSectorParams& params);

// Before a merge: asks when systems of the added sector would land in cells
// the main one holds. A main sector torn at its end is refused first.
bool confirmMerge(QWidget* parent, const std::string& mainBase, const std::string& addedBase);

}  // namespace orrimar::ui

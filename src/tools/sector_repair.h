// Repair of a torn sector: cuts it back to its last whole system.
#pragma once

#include <string>
#include <vector>

#include "records/sector_tail.h"

namespace orrimar {

struct SectorRepair {
    SectorExtent before;  // whole records in each file before the repair
    SectorExtent after;
    // What was done, one line each ("removed 3 planets (data/a.pln 120..122)");
    // empty when the sector was already whole.
    std::vector<std::string> actions;
};

// Cuts the four record families back to the last whole system (the records
// no whole system names, and torn records at the files' ends), cuts torn
// records off the side members, and restores side members and the name
// header that a write stopped before they existed. Refuses with
// DamagedSectorError, touching nothing, anything worse than a torn tail:
// systems whose records are missing, or problems within the whole systems.
// Throws InputError when there is no sector at all.
SectorRepair RepairSector(const std::string& baseName);

}  // namespace orrimar

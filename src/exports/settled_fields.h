// The settled layer as named fields for the JSON and CSV exports: colonies,
// control and empires, joined to the rest of the sector by id (a colony's
// world_id in the planet or moon table as its kind says, its race_id and
// owner_id in the race table; a control record's system_id and race_id; an
// empire's race_id and capital_system_id). Vacant records are left out, and
// the ids of the rest keep their places in the files.
#pragma once

#include <cstdint>

#include "exports/export_fields.h"
#include "reading/settled_view.h"

namespace orrimar::exports {

Fields colonyFields(const reading::PlacedColony& colony);
Fields controlFields(const TConRec& control);
// `name` is the empire's name in UTF-8.
Fields empireFields(const reading::EmpireEntry& empire, const std::string& name);

// A colony with every code in range, whose fields give the CSV header.
reading::PlacedColony colonyPrototype();

}  // namespace orrimar::exports

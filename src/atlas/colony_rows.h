// The colonies of one system in words, a row per colony, for the Atlas's
// summary beside the map: where it lies, how many live there, whose it is,
// its starport, its kind and how it is governed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "atlas/atlas_model.h"

namespace orrimar::atlas {

struct ColonyRow {
    std::int32_t record = 0;  // colony-file id
    std::string world;        // "planet 3", "moon base over planet 3" (counted in the system)
    std::string people;       // "60 million"
    std::string race;         // who lives there: "Vessari", "race 12"
    std::string owner;        // who owns it: a race, or "independent"
    std::string starport;     // "Good"; "?" for a code outside the table
    std::string type;         // "Mining"; "?" likewise
    std::string government;   // "strict law, stable, little crime"
};

std::vector<ColonyRow> colonyRows(const AtlasModel& model, SystemId id);

}  // namespace orrimar::atlas

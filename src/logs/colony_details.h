// The lines a log gives one colony or moon base: its people, type, owner,
// starport, government, economy, strength and facilities, in the words the
// system log, the star summary and the atlas share.
#pragma once

#include <string>

#include "documents/document.h"
#include "names/sector_names.h"
#include "reading/settled_view.h"

namespace orrimar::logs {

// "Colony 3" or "Moon base 5": the colony's kind and its colony-file id.
std::string colonyTitle(const reading::PlacedColony& colony);

documents::KeyValues colonyDetails(const reading::PlacedColony& colony, const SectorNames& names);

}  // namespace orrimar::logs

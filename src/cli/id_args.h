// A system or race of a sector as the command line takes it: by id or by
// name, as findByText (names/find_by_text.h) picks one.
#pragma once

#include <cstdint>
#include <string>

#include "atlas/atlas_model.h"
#include "names/sector_names.h"

namespace orrimar::cli {

// The id `text` picks among the systems (kind System) or races (kind Race)
// of `sector`. An id is taken as it is, without reading the sector: the
// command that uses it says when it is not there. A name is looked up in
// the sector's name file; a missing sector (or race file, for races) is a
// MissingError, a text that picks nothing or several things an InputError
// naming `option`.
std::int64_t idFromText(const std::string& sector, NameKind kind, const std::string& text, const char* option);

// The same over the systems of a sector already opened as an atlas.
atlas::SystemId systemIdFromText(const atlas::AtlasModel& model, const std::string& text, const char* option);

}  // namespace orrimar::cli

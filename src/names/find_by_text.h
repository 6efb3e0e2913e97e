// A system or race named by what a user typed: its id, or its name. Every
// front end that takes "which system" or "which race" as text (the command
// line's --system, --race, --of, route's FROM and TO, the Atlas's fields)
// goes through findByText, so that a text picks the same thing everywhere:
//
//   1. a whole number is the id itself ("12");
//   2. else a name equal to the text, first with its letters' case as
//      typed, then ignoring case ("iotrosel" finds "Iotrosel");
//   3. else the one name that begins with the text, ignoring case
//      ("Iotr" finds "Iotrosel").
//
// Case is folded for the letters A-Z only; names are compared in UTF-8 (the
// name file's code page is converted first). A text that several names
// share at the step that decides is refused, listing them, never picked by
// chance.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "names/sector_names.h"

namespace orrimar {

// Visits (id, UTF-8 name) of every named thing a text may pick.
using NameSource = std::function<void(const std::function<void(std::int64_t id, std::string_view name)>& visit)>;

// The id the text picks from `names`. `option` starts every message
// ("--system", "FROM"); `noun` is the thing's word ("system", "race").
// `count` is the number of records (ids 0..count-1); a negative count takes
// any id from 0 unchecked. InputError (bad input, nothing was touched) for a
// text that is blank, picks nothing, or picks several things; the message
// names the option, the text and, for several, the candidates.
std::int64_t findByText(std::string_view text, const NameSource& names, std::int64_t count, std::string_view option,
                        std::string_view noun);

// The names of one kind (systems, races ...) of a sector's name file, in
// UTF-8, as a source for findByText. `names` must outlive the source.
NameSource nameSourceOf(const SectorNames& names, NameKind kind);

}  // namespace orrimar

// The words of the find and route commands: star kinds, world types, life
// levels, ranges and refuelling rules typed on a command line, turned into
// the atlas's criteria. Anything that does not parse is an InputError naming
// the option and listing what it takes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "atlas/atlas_model.h"
#include "atlas/route_stops.h"
#include "atlas/filters.h"

namespace orrimar::cli {

// "G,K" (spectral letters O B A F G K M), kind codes "5,7", or both.
std::uint32_t starKindsFromText(const std::string& text);
// "gas-giant,terran" (names ignoring case, '-' or '_' for spaces) or codes 1..23.
std::uint32_t worldTypesFromText(const std::string& text);
// "prebiotic", "microbial", "complex", "sentient".
vocabulary::LifeLevel lifeFromText(const std::string& text);
// "MIN..MAX", "MIN.." or "..MAX", or one number for both ends. An open end
// is `lowest` or `highest`; a value beyond them is refused.
atlas::Range<int> intRangeFromText(const std::string& text, const char* option, int lowest, int highest);
// The same for quantities that are never negative (gravity).
atlas::Range<double> realRangeFromText(const std::string& text, const char* option);

// "good" (a Starport name, case ignored) or its code 1..5: the Filter's
// "at least this good".
int starportFromText(const std::string& text);
// "mining,research" (ColonyType names, case ignored, '-' or '_' for
// blanks) or codes 1..11, as the Filter's colony type bits.
std::uint16_t colonyTypesFromText(const std::string& text);

// The stop rule route --via names ("gas-giant", "water", "breathable",
// "life", "race", "colony", "empire:NAME" with the race's id or name or its
// empire's name); InputError listing them for any other word.
atlas::RouteStopChoice viaFromText(const atlas::AtlasModel& model, const std::string& property);

}  // namespace orrimar::cli

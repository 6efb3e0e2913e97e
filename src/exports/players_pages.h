// The players' atlas's own pages: what a player reads about a system and a
// race, in names, words and figures only (no record numbers or codes).
// Which things the players know, and so which pages and links there are,
// is the atlas's to decide; these only say what a page holds.
#pragma once

#include <cstdint>
#include <string>

#include "documents/document.h"
#include "records/records.h"
#include "sheets/system_sheet.h"

namespace orrimar {
class SectorNames;
}

namespace orrimar::exports {

// A system's sheet: where it is, its stars, its worlds and belts and their
// moons.
void writeSheet(documents::Document& doc, const sheets::SystemSheet& sheet);

// What the players call a race: its name, or its kind when it has none
// ("Unnamed avian race").
std::string playersRaceName(const SectorNames& names, const TAlienRec& race, std::int64_t raceId);

// A race as its people appear to others: kind, body, life and society, in
// words. The home world is the caller's (its system may be unknown).
void writePlayersRace(documents::Document& doc, const TAlienRec& race);

}  // namespace orrimar::exports

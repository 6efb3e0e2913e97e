// A system sheet: one page about one star system for the game table. Its
// stars, then its worlds in orbit order, each with its air, temperature,
// gravity and life and its moons under it. This is the sheet's content,
// free of any page: the printed sheet (print/sheet_pages.h) lays it out,
// tests read it as text.
//
// Lines added by other parts of the program (colonies, campaign notes)
// go into the extra lines of the system or of a world; the sheet shows
// them under what they belong to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "campaign/players_view.h"

namespace orrimar::reading {
class SectorReader;
}

namespace orrimar::sheets {

// Who reads the sheet: players get no record codes (ids, feature codes) and
// no details of races.
using orrimar::Audience;

struct SheetStar {
    std::string letter;       // "A", "B", "C"
    std::string designation;  // "G2 V"; the plain name alone for objects without a class
    std::string plainName;    // "yellow dwarf"
    std::string detail;       // "1.02 solar masses, 1.10 times the Sun's light"
};

struct SheetMoon {
    std::string name;  // its name, or its place "A2 b" when unnamed
    std::string kind;  // "Rock", "Ice Ball", "Ring"
    std::string size;  // "1,200 km"; empty for a ring
    std::vector<std::string> extraLines;
};

struct SheetWorld {
    std::string place;        // star letter and orbit: "A2"
    std::string name;         // empty when the world has none
    std::string orbit;        // "1.5 AU"
    std::string kind;         // "Terran", "Stony asteroid belt"
    std::string size;         // "12,756 km"; a belt's size class "size 3"
    std::string air;          // "Standard, Nitrogen/Oxygen"; "None"; empty for belts
    std::string temperature;  // "15 °C"
    std::string gravity;      // "1.00 g"; empty for belts
    std::string life;         // "Complex"; empty for none
    std::string race;         // the native race in brief; empty for none and for players
    std::vector<SheetMoon> moons;
    std::vector<std::string> extraLines;
};

struct SystemSheet {
    std::int32_t id = 0;  // system id (record position)
    std::string title;    // "Vessane (system 12)"; players: "Vessane"
    std::string sector;   // the sector's name
    std::string place;    // "x 3, y -4, z 0 parsecs"
    std::string age;      // "4.6 billion years"
    std::vector<SheetStar> stars;
    std::vector<SheetWorld> worlds;  // star by star, in orbit order
    std::vector<std::string> extraLines;
};

struct SheetOptions {
    Audience audience = Audience::GameMaster;
};

// What the players call a system: its name (UTF-8), or where it lies when
// it has none ("Unnamed system at 3, -4, 0").
std::string playersSystemTitle(const std::string& name, int x, int y, int z);

// The sheet of system `systemId` of the open sector. Names come from the
// sector's name file by the namer every log uses. InputError for an id
// outside the sector; RangeError for a damaged record.
SystemSheet gatherSheet(reading::SectorReader& sector, std::int64_t systemId, const SheetOptions& options);

// The sheets of several systems of one sector, in the order given, read
// under one shared hold of the sector (other readers go on, a writer
// waits); every system when `ids` is empty.
std::vector<SystemSheet> gatherSheets(const std::string& sectorBase, const std::vector<std::int64_t>& ids,
                                      const SheetOptions& options);

}  // namespace orrimar::sheets

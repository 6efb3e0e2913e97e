// A small hand-made sector for the tests of logs, reports, exports and the
// command line: every field the logs read is set by hand, so a test can
// name the exact text a record should give.
#pragma once

#include <string>

#include "records/records.h"

namespace orrimar::logtest {

// System 0: one G2 V star (mass 1, luminosity 1) at (3, -4, 7), age 46, with
//   planet 0, a Terran world at 1.0 AU with one moon (its twin, moon 0) and
//   a native race (race 0); planet 1, a Stony belt at 2.5 AU; planet 2, a
//   Gas Giant at 5.2 AU with an ordinary moon (moon 1) and a ring (moon 2).
// System 1: a K0 V + M4 V pair 4.0 AU apart, luminosity 1 each; star B has
//   planet 3, a Rock.
// Colonies: race 0 owns planet 0; an independent base on moon 1. Two
// control records, no empire record.
struct FixtureSector {
    std::string base;
    TSystemRec single;
    TSystemRec binary;
    TPlanetRec terran;
    TPlanetRec belt;
    TPlanetRec giant;
    TPlanetRec rock;
    TMoonRec twin;
    TMoonRec moon;
    TMoonRec ring;
    TAlienRec race;
};

FixtureSector makeFixtureSector(const std::string& dir, const std::string& sectorName = "Fixture Reach");

// An empty sector: every file present, no record but the name header.
std::string makeEmptySector(const std::string& dir);

}  // namespace orrimar::logtest

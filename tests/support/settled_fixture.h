// The hand-made sector of log_fixtures.h with a settled layer of its own,
// written through the one writer settling and the editors use:
//   colony 0: race 0's Homeworld on planet 0 (system 0), 60 million people,
//             starport Good, law 5, stability 7, crime 2, gnp 1,200,
//             power 300, a Military Base and a University;
//   colony 1: vacant (a removed colony keeping its number);
//   colony 2: an independent Mining base of race 0's people on moon 1
//             (round planet 2, system 0), 10,000 people, starport Primitive,
//             law 0, stability 9, crime 9, no facility;
//   colony 3: race 0's Military colony on planet 3 (system 1), 1 million
//             people, starport Fair, law 9, stability 0, crime 0, gnp 40,
//             power 65,535, an Orbital tower.
//   control: systems 0 and 1 by race 0.
//   empire 0: vacant; empire 1: "Kethri Dominion" of race 0, colour
//             (200, 40, 16), capital system 0.
#pragma once

#include <cstdint>
#include <string>

#include "records/colony_codes.h"
#include "settling/settled_layer.h"
#include "support/fixture_sector.h"

namespace orrimar::logtest {

// One colony of race 0's people on world `world`.
TColonyRec fixtureColony(std::int32_t world, std::uint8_t kind, std::uint16_t owner, std::uint8_t people,
                         ColonyType type, Starport port);

// The settled layer above.
SettledLayer fixtureLayer();

// The fixture sector, settled as above.
FixtureSector makeSettledFixture(const std::string& dir);

}  // namespace orrimar::logtest

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

#include <string>

#include "engine/log_fixtures.h"
#include "records/colony_codes.h"
#include "records/sector_lock.h"
#include "settling/settled_layer.h"

namespace orrimar::logtest {

inline TColonyRec fixtureColony(std::int32_t world, std::uint8_t kind, std::uint16_t owner, std::uint8_t people,
                                ColonyType type, Starport port) {
    TColonyRec c;
    c.worldId = world;
    c.race = 0;
    c.allegiance = owner;
    c.kind = kind;
    c.populationCode = people;
    c.colonyType = static_cast<std::uint8_t>(type);
    c.starport = static_cast<std::uint8_t>(port);
    return c;
}

inline SettledLayer fixtureLayer() {
    SettledLayer layer;
    TColonyRec home = fixtureColony(0, kPlanetColony, 0, 35, ColonyType::Homeworld, Starport::Good);
    home.lawLevel = 5;
    home.stability = 7;
    home.crimeLevel = 2;
    home.gnp = 1200;
    home.power = 300;
    setFacility(home, Facility::MilitaryBase, true);
    setFacility(home, Facility::University, true);
    TColonyRec base = fixtureColony(1, 2, kNoRace, 0, ColonyType::Mining, Starport::Primitive);
    base.stability = 9;
    base.crimeLevel = 9;
    TColonyRec outpost = fixtureColony(3, kPlanetColony, 0, 20, ColonyType::Military, Starport::Fair);
    outpost.lawLevel = 9;
    outpost.gnp = 40;
    outpost.power = 65535;
    setFacility(outpost, Facility::OrbitalTower, true);
    layer.colonies = {home, vacantColony(), base, outpost};
    layer.control = {TConRec{0, 0}, TConRec{1, 0}};
    TEmpireRec empire;
    empire.race = 0;
    empire.colour = {200, 40, 16};
    empire.capitalSystemId = 0;
    empire.name.assign("Kethri Dominion");
    layer.empires = {vacantEmpire(), empire};
    return layer;
}

// The fixture sector, settled as above.
inline FixtureSector makeSettledFixture(const std::string& dir) {
    FixtureSector f = makeFixtureSector(dir);
    const SettledLayer layer = fixtureLayer();
    const SectorLock lock = SectorLock::forChange(f.base);
    WriteSettledLayer(f.base, layer, planetOwnersFor(layer.colonies, {}));
    return f;
}

}  // namespace orrimar::logtest

#include "support/settled_fixture.h"

#include "records/sector_lock.h"

namespace orrimar::logtest {

TColonyRec fixtureColony(std::int32_t world, std::uint8_t kind, std::uint16_t owner, std::uint8_t people,
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

SettledLayer fixtureLayer() {
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

FixtureSector makeSettledFixture(const std::string& dir) {
    FixtureSector f = makeFixtureSector(dir);
    const SettledLayer layer = fixtureLayer();
    const SectorLock lock = SectorLock::forChange(f.base);
    WriteSettledLayer(f.base, layer, planetOwnersFor(layer.colonies, {}));
    return f;
}

}  // namespace orrimar::logtest

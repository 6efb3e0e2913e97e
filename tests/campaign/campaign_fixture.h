// Small hand-made sectors for the campaign tests, each thing where a test
// can name it: four systems of one planet each, a moon, four races, two
// colonies and two empires.
#pragma once

#include <string>

#include "campaign/campaign_file.h"
#include "support/hand_made_sector.h"

namespace orrimar::testing {

// System i holds planet i; moon 0 circles planet 3. Race r's home is
// planet r (race 3 has none). Colony 0 is a planet colony of race 3 on
// planet 1; colony 1 a moon base of race 0 on moon 0 (so in system 3).
inline SectorContent smallCampaignSector() {
    SectorContent s;
    for (int i = 0; i < 4; ++i) {
        TSystemRec system;
        system.starCount = 1;
        system.planetCount = {1, 0, 0};
        system.firstPlanetId = {i, i + 1, i + 1};
        system.x = static_cast<std::int16_t>(i * 3);
        s.systems.push_back(system);
        TPlanetRec planet;
        planet.systemId = i;
        planet.moonCount = i == 3 ? 1 : 0;
        s.planets.push_back(planet);
        TAlienRec race;
        race.worldId = i == 3 ? -1 : i;
        s.aliens.push_back(race);
    }
    TMoonRec moon;
    moon.planetId = 3;
    s.moons.push_back(moon);
    TColonyRec onPlanet;
    onPlanet.kind = 1;
    onPlanet.worldId = 1;
    onPlanet.race = 3;
    onPlanet.allegiance = kNoRace;
    TColonyRec moonBase;
    moonBase.kind = 2;
    moonBase.worldId = 0;
    moonBase.race = 0;
    moonBase.allegiance = 0;
    s.colonies = {onPlanet, moonBase};
    giveValidCodes(s);
    return s;
}

inline void writeEmpires(const std::string& base, int count) {
    writeRecords<TEmpireRec>(base + ".emp", std::vector<TEmpireRec>(static_cast<std::size_t>(count)));
}

inline bool campaignFileExists(const std::string& base) { return fs::exists(campaignPath(base)); }

}  // namespace orrimar::testing

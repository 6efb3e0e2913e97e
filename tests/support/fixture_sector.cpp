#include "support/fixture_sector.h"

#include "common/bit_flags.h"
#include "records/record_file.h"
#include "records/sector_files.h"

namespace orrimar::logtest {

FixtureSector makeFixtureSector(const std::string& dir, const std::string& sectorName) {
    FixtureSector f;
    f.base = dir + "/fix";
    auto files = SectorFiles::create(f.base, sectorName);

    f.terran.systemId = 0;
    f.terran.nativeRaceId = 0;
    f.terran.firstMoonId = 0;
    f.terran.atmosphereClass = 3;
    f.terran.worldType = 10;
    f.terran.surfaceClass = 5;
    f.terran.composition = 2;
    f.terran.retainedWeight = 14;
    f.terran.featureRating = 3;
    f.terran.axialTilt = 23;
    f.terran.temperature = 15;
    f.terran.moonCount = 1;
    f.terran.waterCover = 70;
    f.terran.iceCover = 5;
    f.terran.cloudCover = 40;
    f.terran.albedo = 30;
    f.terran.rotation = 24;
    f.terran.diameter = 12756;
    f.terran.density = 10;
    f.terran.pressure = 1.0F;
    f.terran.eccentricity = 17;
    f.terran.orbitRadius = 10;
    f.terran.resources = {45, 12, 3, 20, 5};
    setBit(f.terran.worldFlags, 2);
    setBit(f.terran.features[2], 3);  // native race
    setBit(f.terran.features[1], 7);  // feature rating under 5
    setBit(f.terran.features[3], 1);  // twin

    f.twin.planetId = 0;
    f.twin.atmosphereClass = 3;
    f.twin.worldType = 10;
    f.twin.surfaceClass = 5;
    f.twin.composition = 2;
    f.twin.temperature = 15;
    f.twin.waterCover = 70;
    f.twin.iceCover = 5;
    f.twin.cloudCover = 40;
    f.twin.albedo = 30;
    f.twin.diameter = 12756;
    f.twin.density = 10;
    f.twin.pressure = 1.0F;
    f.twin.distance = 384;
    f.twin.resources = {44, 11, 2, 19, 4};

    f.belt.systemId = 0;
    f.belt.atmosphereClass = 6;
    f.belt.worldType = 16;
    f.belt.surfaceClass = 1;
    f.belt.composition = 1;
    f.belt.axialTilt = 4;
    f.belt.temperature = -80;
    f.belt.albedo = 10;
    f.belt.diameter = 5;
    f.belt.density = 6;
    f.belt.orbitRadius = 25;
    f.belt.resources = {30, 8, 1, 9, 2};

    f.giant.systemId = 0;
    f.giant.firstMoonId = 1;
    f.giant.atmosphereClass = 1;
    f.giant.worldType = 3;
    f.giant.surfaceClass = 4;
    f.giant.composition = 6;
    f.giant.retainedWeight = 1;
    f.giant.temperature = -150;
    f.giant.moonCount = 2;
    f.giant.cloudCover = 100;
    f.giant.albedo = 52;
    f.giant.rotation = 10;
    f.giant.diameter = 142984;
    f.giant.density = 2;
    f.giant.pressure = 900.0F;
    f.giant.orbitRadius = 52;
    setBit(f.giant.worldFlags, 1);

    f.moon.planetId = 2;
    f.moon.atmosphereClass = 6;
    f.moon.worldType = 1;
    f.moon.surfaceClass = 3;
    f.moon.composition = 1;
    f.moon.temperature = -170;
    f.moon.iceCover = 90;
    f.moon.albedo = 60;
    f.moon.diameter = 3122;
    f.moon.density = 3;
    f.moon.distance = 671;
    f.moon.resources = {10, 2, 1, 4, 1};
    setBit(f.moon.moonFlags, 1);

    f.ring.planetId = 2;
    f.ring.atmosphereClass = 6;
    f.ring.worldType = 19;
    f.ring.surfaceClass = 3;
    f.ring.composition = 1;
    f.ring.temperature = -160;
    f.ring.iceCover = 30;
    f.ring.albedo = 50;
    f.ring.density = 4;
    f.ring.distance = 286;

    f.rock.systemId = 1;
    f.rock.atmosphereClass = 6;
    f.rock.worldType = 2;
    f.rock.surfaceClass = 2;
    f.rock.composition = 1;
    f.rock.retainedWeight = 121;
    f.rock.temperature = 120;
    f.rock.rotation = 300;
    f.rock.diameter = 4000;
    f.rock.density = 9;
    f.rock.orbitRadius = 3;
    f.rock.resources = {50, 20, 5, 10, 3};

    f.race.worldId = 0;
    f.race.habitat = 1;
    f.race.bodyForm = 1;
    f.race.subtype = 1;
    f.race.techLevel = 7;
    f.race.spatialAge = 40;
    f.race.mass = 80;
    f.race.height = 170;

    f.single.starKind = {5, 0, 0};
    f.single.spectralDigit = {2, 0, 0};
    f.single.luminosity = {1.0F, 0.0F, 0.0F};
    f.single.mass = {1.0F, 0.0F, 0.0F};
    f.single.systemAge = 46;
    f.single.starCount = 1;
    f.single.planetCount = {3, 0, 0};
    f.single.firstPlanetId = {0, 3, 3};
    f.single.orbit[0][0] = 10;
    f.single.orbit[1][0] = -25;
    f.single.orbit[2][0] = 52;
    f.single.x = 3;
    f.single.y = -4;
    f.single.z = 7;

    f.binary.starKind = {6, 7, 0};
    f.binary.spectralDigit = {0, 4, 0};
    f.binary.luminosity = {1.0F, 1.0F, 0.0F};
    f.binary.mass = {0.82F, 0.372F, 0.0F};
    f.binary.systemAge = 30;
    f.binary.separation = {40, 0};
    f.binary.starCount = 2;
    f.binary.planetCount = {0, 1, 0};
    f.binary.firstPlanetId = {3, 3, 4};
    f.binary.orbit[0][1] = 3;
    f.binary.x = -2;
    f.binary.y = 5;
    f.binary.z = 0;

    files->beginSystem();
    files->aliens().append(f.race);
    files->moons().append(f.twin);
    files->moons().append(f.moon);
    files->moons().append(f.ring);
    files->planets().append(f.terran);
    files->planets().append(f.belt);
    files->planets().append(f.giant);
    files->planets().append(f.rock);
    files->systems().append(f.single);
    files->systems().append(f.binary);
    files->commitSystem();
    files->close();

    RecordFile<TColonyRec> colonies(sectorPath(f.base, ".col"), RawRecordFile::Mode::Create);
    TColonyRec owned;
    owned.worldId = 0;
    owned.race = 0;
    owned.allegiance = 0;
    owned.kind = 1;
    owned.populationCode = 35;  // 60 million
    owned.colonyType = 8;
    owned.starport = 2;
    colonies.append(owned);
    TColonyRec base;
    base.worldId = 1;
    base.race = 0;
    base.allegiance = 65535;
    base.kind = 2;
    base.populationCode = 0;  // 10 thousand
    base.colonyType = 4;
    base.starport = 4;
    colonies.append(base);
    colonies.close();
    RecordFile<TConRec> control(sectorPath(f.base, ".con"), RawRecordFile::Mode::Create);
    control.append(TConRec{});
    control.append(TConRec{});
    control.close();
    return f;
}

// An empty sector: every file present, no record but the name header.
std::string makeEmptySector(const std::string& dir) {
    const std::string base = dir + "/empty";
    auto files = SectorFiles::create(base, "Empty Deep");
    files->close();
    return base;
}

}  // namespace orrimar::logtest

// The validating layer: each kind of damage is refused with the file, the
// record and the field named; sound records and the negative home-world ids
// other programs write pass.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "records/record_validation.h"

namespace orrimar {
namespace {

constexpr SectorCounts kCounts{4, 10, 6, 2};

TSystemRec soundSystem() {
    TSystemRec s;
    s.starCount = 1;
    s.starKind[0] = 5;
    s.luminosity[0] = 1.0F;
    s.mass[0] = 1.0F;
    s.planetCount[0] = 3;
    s.firstPlanetId[0] = 7;
    return s;
}

TPlanetRec soundPlanet() {
    TPlanetRec p;
    p.systemId = 3;
    p.worldType = 4;
    p.atmosphereClass = 2;
    p.composition = 1;
    p.moonCount = 2;
    p.firstMoonId = 4;
    return p;
}

TEST(RecordValidation, SystemFieldsAtTheirEdges) {
    EXPECT_FALSE(recordProblem(soundSystem(), kCounts));
    auto s = soundSystem();
    s.planetCount[0] = 4;  // planets 7..10 of a file of 10
    EXPECT_EQ(recordProblem(s, kCounts).value(), "planet count 4 runs past the planet file");
    s = soundSystem();
    s.luminosity[0] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(recordProblem(s, kCounts).value(), "star 1 luminosity is not a number");
    s = soundSystem();
    s.mass[0] = -1.0F;
    EXPECT_EQ(recordProblem(s, kCounts).value(), "star 1 mass -1 is not positive");
    s = soundSystem();
    s.luminosity[0] = 0.0F;  // a dark remnant: generated sectors hold them
    s.mass[0] = 0.0F;
    EXPECT_FALSE(recordProblem(s, kCounts));
    s.luminosity[0] = -0.5F;
    EXPECT_EQ(recordProblem(s, kCounts).value(), "star 1 luminosity -0.5 is not positive");
    s = soundSystem();
    s.luminosity[0] = 1e30F;
    EXPECT_EQ(recordProblem(s, kCounts).value(), "star 1 luminosity 1e+30 is beyond any star or world");
    s = soundSystem();
    s.starKind[0] = 24;
    EXPECT_EQ(recordProblem(s, kCounts).value(), "star 1 kind 24 outside 1..23");
    s = soundSystem();
    s.systemRaceId = 2;
    EXPECT_EQ(recordProblem(s, kCounts).value(), "system race id 2 beyond the race file's 2 records");
}

TEST(RecordValidation, PlanetAndMoonFields) {
    EXPECT_FALSE(recordProblem(soundPlanet(), kCounts));
    auto p = soundPlanet();
    p.moonCount = 3;  // moons 4..6 of a file of 6
    EXPECT_EQ(recordProblem(p, kCounts).value(), "moon count 3 runs past the moon file");
    p = soundPlanet();
    p.systemId = 4;
    EXPECT_EQ(recordProblem(p, kCounts).value(), "system id 4 beyond the system file's 4 records");
    p = soundPlanet();
    p.pressure = std::numeric_limits<float>::infinity();
    EXPECT_EQ(recordProblem(p, kCounts).value(), "pressure is not a number");
    TMoonRec m;
    m.planetId = 9;
    m.worldType = 255;
    m.atmosphereClass = 1;
    m.composition = 1;
    EXPECT_EQ(recordProblem(m, kCounts).value(), "world type 255 outside 1..23");
}

TEST(RecordValidation, RaceWorldIdMayBeNegativeWhenItsMagnitudeIsAPlanet) {
    TAlienRec r;
    r.worldId = -9;
    EXPECT_FALSE(recordProblem(r, kCounts));
    r.worldId = -10;
    EXPECT_EQ(recordProblem(r, kCounts).value(), "world id -10 beyond the planet file's 10 records");
    r.worldId = 0;
    r.attributes[3] = 198;
    EXPECT_EQ(recordProblem(r, kCounts).value(), "attribute 4 rating 198 beyond 20");
    r.attributes[3] = 20;
    r.appendageCount = 183;
    EXPECT_EQ(recordProblem(r, kCounts).value(), "appendage count 183 outside 0..12");
}

TEST(RecordValidation, ColonyIdsAndCodes) {
    TColonyRec c;
    c.kind = 1;
    c.worldId = 9;
    c.allegiance = 65535;
    c.colonyType = 11;
    c.starport = 5;
    c.populationCode = 69;
    EXPECT_FALSE(recordProblem(c, kCounts));
    c.worldId = 1'000'000;
    EXPECT_EQ(recordProblem(c, kCounts).value(), "world id 1000000 beyond the planet file's 10 records");
    c.worldId = 9;
    c.kind = 2;  // a moon base: ids of the moon file
    EXPECT_EQ(recordProblem(c, kCounts).value(), "world id 9 beyond the moon file's 6 records");
    c.worldId = 5;
    c.populationCode = 70;
    EXPECT_EQ(recordProblem(c, kCounts).value(), "population code 70 outside 0..69");
    c.populationCode = 0;
    c.starport = 6;
    EXPECT_EQ(recordProblem(c, kCounts).value(), "starport 6 outside 1..5");
    c.starport = 1;
    c.colonyType = 0;
    EXPECT_EQ(recordProblem(c, kCounts).value(), "colony type 0 outside 1..11");
}

TEST(RecordValidation, ErrorNamesFileRecordAndField) {
    auto s = soundSystem();
    s.planetCount[0] = 255;
    try {
        requireSound(s, kCounts, "data/alpha.sun", 322);
        FAIL() << "a system running past the planet file was accepted";
    } catch (const RangeError& e) {
        EXPECT_STREQ(e.what(), "data/alpha.sun record 322: star 1 planet count 255 exceeds 18 orbits");
    }
}

}  // namespace
}  // namespace orrimar

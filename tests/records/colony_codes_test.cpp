#include "records/colony_codes.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/errors.h"
#include "records/id_renumbering.h"

namespace orrimar {
namespace {

// Every population code round-trips through its people to the lowest code
// of that population (9 and 10 are both 100,000), and every people count
// between codes rounds down.
TEST(ColonyCodes, PopulationCodesAndPeopleRoundTripToTheLowestCode) {
    for (int code = 0; code < kPopulationCodeCount; ++code) {
        const int back = populationCodeFor(populationPeople(code));
        EXPECT_EQ(populationPeople(back), populationPeople(code)) << code;
        EXPECT_LE(back, code);
        if (code % 10 == 0 && code > 0) {
            EXPECT_EQ(back, code - 1) << code;
        }
    }
    EXPECT_EQ(populationCodeFor(0), 0);
    EXPECT_EQ(populationCodeFor(9'999), 0);
    EXPECT_EQ(populationCodeFor(59'999'999), 34);  // 50 million
    EXPECT_EQ(populationCodeFor(60'000'000), 35);
    EXPECT_EQ(populationCodeFor(~0ULL), 69);
    EXPECT_THROW(populationPeople(70), RangeError);
    EXPECT_THROW(populationPeople(-1), RangeError);
}

TEST(ColonyCodes, PopulationInWords) {
    EXPECT_EQ(populationWords(0), "10,000");
    EXPECT_EQ(populationWords(9), "100,000");
    EXPECT_EQ(populationWords(19), "1 million");
    EXPECT_EQ(populationWords(35), "60 million");
    EXPECT_EQ(populationWords(50), "1 billion");
    EXPECT_EQ(populationWords(61), "11 billion");
    EXPECT_EQ(populationWords(69), "19 billion");
    EXPECT_EQ(populationWords(51), "2 billion");
}

// Every name finds its code whatever its case and surrounding blanks, and
// the codes' names are the tables' in order.
TEST(ColonyCodes, NamesFindTheirCodes) {
    for (int code = 1; code <= 11; ++code) {
        const auto name = std::string(colonyTypeName(code));
        EXPECT_EQ(colonyTypeByName(name), static_cast<ColonyType>(code));
        std::string shouted = "  " + name + " ";
        for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(colonyTypeByName(shouted), static_cast<ColonyType>(code)) << shouted;
    }
    EXPECT_EQ(colonyTypeName(static_cast<int>(ColonyType::Homeworld)), "Homeworld");
    EXPECT_EQ(starportByName("primitive"), Starport::Primitive);
    EXPECT_EQ(starportName(static_cast<int>(Starport::None)), "None");
    EXPECT_EQ(facilityByName("orbital tower"), Facility::OrbitalTower);
    EXPECT_FALSE(colonyTypeByName("Capitol").has_value());
    EXPECT_FALSE(facilityByName("").has_value());
    EXPECT_THROW(colonyTypeName(0), RangeError);
    EXPECT_THROW(starportName(6), RangeError);
}

// Facility k is bit k of the first facility byte; the second byte is never touched.
TEST(ColonyCodes, FacilityBits) {
    TColonyRec colony;
    colony.facilities[1] = 0xA5;
    for (int k = 1; k <= 8; ++k) {
        setFacility(colony, static_cast<Facility>(k), true);
        EXPECT_EQ(colony.facilities[0], (1U << k) - 1) << k;
    }
    setFacility(colony, Facility::NavalBase, false);
    EXPECT_EQ(colony.facilities[0], 0xFD);
    EXPECT_FALSE(hasFacility(colony, Facility::NavalBase));
    EXPECT_TRUE(hasFacility(colony, Facility::OrbitalTower));
    EXPECT_EQ(colony.facilities[1], 0xA5);
}

// World flag bit 4 (value 8) and the colonising race id travel together;
// the other flags stay.
TEST(ColonyCodes, ColonisedFlagAndRace) {
    TPlanetRec planet;
    planet.worldFlags = 0x07;
    EXPECT_EQ(colonisingRace(planet), kNoRace);
    setColonisingRace(planet, 12);
    EXPECT_EQ(planet.worldFlags, 0x0F);
    EXPECT_EQ(planet.colonisingRaceId, 12);
    EXPECT_EQ(colonisingRace(planet), 12);
    setColonisingRace(planet, kNoRace);
    EXPECT_EQ(planet.worldFlags, 0x07);
    EXPECT_EQ(planet.colonisingRaceId, -1);
    // A race id without the flag is not an owner.
    planet.colonisingRaceId = 3;
    EXPECT_EQ(colonisingRace(planet), kNoRace);
}

TEST(ColonyCodes, ColonySystemThroughPlanetOrMoon) {
    std::vector<TPlanetRec> planets(3);
    planets[2].systemId = 1;
    std::vector<TMoonRec> moons(2);
    moons[1].planetId = 2;
    const WorldCounts counts{2, 3, 2};
    auto planetAt = [&](std::int64_t id) { return planets[static_cast<std::size_t>(id)]; };
    auto moonAt = [&](std::int64_t id) { return moons[static_cast<std::size_t>(id)]; };
    TColonyRec colony;
    colony.kind = kPlanetColony;
    colony.worldId = 2;
    EXPECT_EQ(colonySystem(colony, counts, planetAt, moonAt), 1);
    colony.kind = 0;
    colony.worldId = 1;
    EXPECT_EQ(colonyPlanet(colony, counts, moonAt), 2);
    EXPECT_EQ(colonySystem(colony, counts, planetAt, moonAt), 1);
    colony.worldId = 2;  // no such moon
    EXPECT_EQ(colonySystem(colony, counts, planetAt, moonAt), -1);
    EXPECT_EQ(colonySystem(vacantColony(), counts, planetAt, moonAt), -1);
    planets[2].systemId = 2;  // beyond the system file
    colony.worldId = 1;
    EXPECT_EQ(colonySystem(colony, counts, planetAt, moonAt), -1);
}

// Merging shifts every id of the settled layer by the receiving sector's
// counts; vacant records stay vacant, independents stay independent, and no
// race id may become the "none" value.
TEST(ColonyCodes, SettledLayerRenumbersOnMerge) {
    const MergeOffsets offsets{100, 1000, 500, 40};
    TColonyRec colony;
    colony.kind = kPlanetColony;
    colony.worldId = 7;
    colony.race = 3;
    colony.allegiance = kNoRace;
    TColonyRec shifted = renumberColony(colony, offsets);
    EXPECT_EQ(shifted.worldId, 1007);
    EXPECT_EQ(shifted.race, 43);
    EXPECT_EQ(shifted.allegiance, kNoRace);
    colony.kind = 2;
    colony.allegiance = 5;
    shifted = renumberColony(colony, offsets);
    EXPECT_EQ(shifted.worldId, 507);
    EXPECT_EQ(shifted.allegiance, 45);
    EXPECT_TRUE(isVacant(renumberColony(vacantColony(), offsets)));
    EXPECT_EQ(renumberColony(vacantColony(), offsets).worldId, -1);

    colony.race = static_cast<std::uint16_t>(kNoRace - 40);
    EXPECT_THROW(renumberColony(colony, offsets), RangeError);
    colony.race = static_cast<std::uint16_t>(kNoRace - 41);
    EXPECT_EQ(renumberColony(colony, offsets).race, kNoRace - 1);

    const TConRec control = renumberControl(TConRec{9, 2}, offsets);
    EXPECT_EQ(std::int32_t{control.systemId}, 109);
    EXPECT_EQ(std::uint16_t{control.race}, 42);

    TEmpireRec empire;
    empire.race = 1;
    empire.capitalSystemId = 4;
    empire.name.assign("Reach");
    const TEmpireRec moved = renumberEmpire(empire, offsets);
    EXPECT_EQ(moved.race, 41);
    EXPECT_EQ(moved.capitalSystemId, 104);
    EXPECT_EQ(moved.name.str(), "Reach");
    EXPECT_TRUE(isVacant(renumberEmpire(vacantEmpire(), offsets)));
}

}  // namespace
}  // namespace orrimar

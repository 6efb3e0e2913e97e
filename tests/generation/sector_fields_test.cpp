#include <gtest/gtest.h>

#include "generation/sector_fields.h"

namespace orrimar {
namespace {

CreateSectorAction ok(CreateSectorFields f) { return convertCreateSectorFields(f); }

TEST(SectorFields, DefaultsRunTheDefaultSector) {
    const auto a = ok({});
    ASSERT_TRUE(a.run);
    EXPECT_FALSE(a.message);
    EXPECT_FALSE(a.sizeText);
    EXPECT_FALSE(a.maxSpatialAgeText);
    EXPECT_EQ(a.run->lastIndex, 24);
    EXPECT_EQ(a.run->density, 8);
    EXPECT_EQ(a.run->maxSpatialAge, 50);
    EXPECT_EQ(a.run->baseName, "starlog");
    EXPECT_TRUE(a.run->newFile);
}

TEST(SectorFields, DensityKeepsItsLowByteAndStopsAtAHundred) {
    const std::pair<const char*, int> cases[] = {{"0", 0},    {"100", 100}, {"101", 100}, {"300", 44},
                                                 {"-1", 100}, {"5x", 5},    {"abc", 0},   {"$64", 100}};
    for (auto [text, density] : cases) {
        CreateSectorFields f;
        f.density = text;
        EXPECT_EQ(ok(f).run->density, density) << text;
    }
}

TEST(SectorFields, CoordinatesKeepTheirLow16BitsAndPartialValues) {
    CreateSectorFields f;
    f.x = "70000";
    f.y = "-40000";
    f.z = "12abc";
    const auto a = ok(f);
    EXPECT_EQ(a.run->x, 4464);
    EXPECT_EQ(a.run->y, 25536);
    EXPECT_EQ(a.run->z, 12);
}

TEST(SectorFields, SizeMessagesAndReplacements) {
    CreateSectorFields f;
    for (const char* big : {"201", "99999"}) {
        f.size = big;
        const auto a = ok(f);
        EXPECT_FALSE(a.run);
        EXPECT_EQ(a.messageTitle, "Error");
        EXPECT_EQ(a.message, "Size should be inferior to 201");
    }
    for (const char* small : {"0", "-5"}) {
        f.size = small;
        EXPECT_FALSE(ok(f).run);
        EXPECT_EQ(ok(f).message, "Size should be superior to 1");
    }
    for (const char* bad : {"abc", "", "12a"}) {
        f.size = bad;
        const auto a = ok(f);
        EXPECT_EQ(a.sizeText, "10");
        EXPECT_EQ(a.run->lastIndex, 9);
    }
    f.size = "1";
    EXPECT_EQ(ok(f).run->lastIndex, 0);
    f.size = "200";
    EXPECT_EQ(ok(f).run->lastIndex, 199);
}

TEST(SectorFields, MaxSpatialAgeAndTheTexts) {
    CreateSectorFields f;
    f.size = "500";  // the age field is replaced even when no run follows
    f.maxSpatialAge = "old";
    EXPECT_EQ(ok(f).maxSpatialAgeText, "50");
    f.size = "5";
    EXPECT_EQ(ok(f).run->maxSpatialAge, 50);
    f.maxSpatialAge = "300";
    EXPECT_EQ(ok(f).run->maxSpatialAge, 44);
    f.maxSpatialAge = "-1";
    EXPECT_EQ(ok(f).run->maxSpatialAge, 255);

    f.name = std::string(60, 'n');
    f.file = "";
    f.newFile = false;
    f.flat = true;
    f.gaia = true;
    f.totalAlienDisable = true;
    const auto a = ok(f);
    EXPECT_EQ(a.run->sectorName, std::string(50, 'n'));
    EXPECT_EQ(a.run->baseName, "starlog");
    EXPECT_FALSE(a.run->newFile);
    EXPECT_TRUE(a.run->flat && a.run->gaia && a.run->totalAlienDisable);
}

}  // namespace
}  // namespace orrimar

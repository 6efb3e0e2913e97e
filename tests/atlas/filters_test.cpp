#include <gtest/gtest.h>

#include <algorithm>

#include "atlas_fixture.h"

#include "atlas/filters.h"
#include "common/bit_flags.h"
#include "generation/physics.h"
#include "common/errors.h"
#include "records/world_types.h"
#include "records/record_file.h"

namespace orrimar::atlas {
namespace {

using atlastest::makeSector;
using atlastest::readAll;

// The filter's meaning written out plainly over every record of the sector.
struct BruteForce {
    std::vector<TSystemRec> systems;
    std::vector<std::vector<TPlanetRec>> planets;
    std::vector<bool> colonised;

    bool planetOk(const TPlanetRec& p, const Filter& f) const {
        const bool belt = p.worldType >= 15 && p.worldType <= 18;  // the four belt kinds; 6 is not one
        if (f.worldTypes != 0 && (f.worldTypes & (1U << p.worldType)) == 0) return false;
        const bool climate = f.breathable || f.temperature || f.water || f.gravity ||
                             f.minLife != vocabulary::LifeLevel::None || f.nativeRace;
        if (!climate) return true;
        if (belt) return false;
        if (f.breathable && !(p.composition == 2 && (p.atmosphereClass == 3 || p.atmosphereClass == 4))) return false;
        if (f.temperature && (p.temperature < f.temperature->min || p.temperature > f.temperature->max)) return false;
        if (f.water && (p.waterCover < f.water->min || p.waterCover > f.water->max)) return false;
        if (f.gravity) {
            const double g = std::round(static_cast<double>(bulkProperties(p.density, p.diameter).gravity) * 100) / 100;
            if (p.diameter <= 0 || g < f.gravity->min || g > f.gravity->max) return false;
        }
        if (vocabulary::lifeLevel(p.features) < f.minLife) return false;
        if (f.nativeRace && !testBit(p.features[2], 3)) return false;
        return true;
    }

    bool systemOk(std::size_t id, const Filter& f) const {
        const TSystemRec& s = systems[id];
        if (f.starKinds != 0 && (f.starKinds & (1U << s.starKind[0])) == 0) return false;
        if (f.colony && !colonised[id]) return false;
        if (f.withinOf != kNoSystem) {
            const TSystemRec& c = systems[static_cast<std::size_t>(f.withinOf)];
            const double dx = s.x - c.x, dy = s.y - c.y, dz = s.z - c.z;
            if (std::sqrt(dx * dx + dy * dy + dz * dz) > f.withinParsecs) return false;
        }
        if (!f.nameOrId.empty() && f.nameOrId != std::to_string(id)) return false;
        if (!f.hasWorldCriterion()) return true;
        for (const TPlanetRec& p : planets[id]) {
            if (planetOk(p, f)) return true;
        }
        return false;
    }
};

class AtlasFilters : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        base = new std::string(makeSector("s", 21, 13, 35));
        model = new AtlasModel(AtlasModel::open(*base));
        brute = new BruteForce;
        brute->systems = readAll<TSystemRec>(sectorPath(*base, ".sun"));
        brute->planets = atlastest::planetsBySystem(*base, brute->systems.size());
        brute->colonised.assign(brute->systems.size(), false);
    }
    static void TearDownTestSuite() {
        delete brute;
        delete model;
        delete base;
    }
    static void expectBrute(const Filter& f, const char* what, bool expectSome = true) {
        const std::vector<std::uint8_t> hits = matchSystems(*model, f);
        ASSERT_EQ(hits.size(), brute->systems.size());
        int count = 0;
        for (std::size_t id = 0; id < hits.size(); ++id) {
            const bool want = brute->systemOk(id, f);
            EXPECT_EQ(hits[id] != 0, want) << what << ": system " << id;
            if (want) {
                ++count;
                EXPECT_TRUE(passesSummary(*model, static_cast<SystemId>(id), f)) << what << ": the summary lost " << id;
            }
        }
        if (expectSome) {
            EXPECT_GT(count, 0) << what << " matches nothing: a weak test";
            EXPECT_LT(count, static_cast<int>(hits.size())) << what << " matches everything: a weak test";
        }
    }
    static std::string* base;
    static AtlasModel* model;
    static BruteForce* brute;
};
std::string* AtlasFilters::base = nullptr;
AtlasModel* AtlasFilters::model = nullptr;
BruteForce* AtlasFilters::brute = nullptr;

TEST_F(AtlasFilters, EachCriterionAloneAgreesWithBruteForce) {
    Filter f;
    expectBrute(f, "no criterion", false);
    f = {};
    f.starKinds = codeBit(5) | codeBit(7);
    expectBrute(f, "star kinds");
    f = {};
    f.worldTypes = codeBit(3);
    expectBrute(f, "gas giant");
    f = {};
    f.worldTypes = codeBit(16);
    expectBrute(f, "stony belt");
    f = {};
    f.breathable = true;
    expectBrute(f, "breathable");
    f = {};
    f.temperature = Range<int>{0, 30};
    expectBrute(f, "temperate");
    f = {};
    f.temperature = Range<int>{-20, -20};
    expectBrute(f, "exactly -20", false);
    f = {};
    f.water = Range<int>{50, 100};
    expectBrute(f, "wet");
    f = {};
    f.water = Range<int>{0, 0};
    expectBrute(f, "dry");
    f = {};
    f.gravity = Range<double>{0.8, 1.2};
    expectBrute(f, "gravity near 1 g");
    for (const auto level :
         {vocabulary::LifeLevel::Prebiotic, vocabulary::LifeLevel::Complex, vocabulary::LifeLevel::Sentient}) {
        f = {};
        f.minLife = level;
        expectBrute(f, "life");
    }
    f = {};
    f.nativeRace = true;
    expectBrute(f, "native race");
    f = {};
    f.nameOrId = "17";
    expectBrute(f, "id");
    f = {};
    f.withinOf = 40;
    f.withinParsecs = 4;
    expectBrute(f, "within 4");
    f.withinParsecs = 0;
    expectBrute(f, "within 0");
}

TEST_F(AtlasFilters, WorldCriteriaCombinedMustHoldOnOnePlanet) {
    Filter f;
    f.breathable = true;
    f.temperature = Range<int>{-10, 25};
    expectBrute(f, "breathable and mild", false);
    f = {};
    f.minLife = vocabulary::LifeLevel::Microbial;
    f.water = Range<int>{30, 80};
    f.gravity = Range<double>{0.5, 1.5};
    expectBrute(f, "life, water, gravity", false);
    f = {};
    f.worldTypes = codeBit(3) | codeBit(10);
    f.temperature = Range<int>{-300, -100};
    expectBrute(f, "cold giants or terrans");
    f = {};
    f.worldTypes = codeBit(10);
    f.starKinds = codeBit(5) | codeBit(6) | codeBit(7);
    f.withinOf = 3;
    f.withinParsecs = 9;
    expectBrute(f, "terran round a dwarf near 3", false);
    // One system's planets can answer the criteria separately while no
    // single planet answers them all: the summary alone would say yes.
    int split = 0;
    f = {};
    f.temperature = Range<int>{10, 30};
    f.gravity = Range<double>{2.5, 50};
    const auto hits = matchSystems(*model, f);
    for (SystemId id = 0; id < model->size(); ++id) {
        if (passesSummary(*model, id, f) && hits[static_cast<std::size_t>(id)] == 0) ++split;
    }
    EXPECT_GT(split, 0) << "no system shows the difference between summary and planets";
    expectBrute(f, "warm and heavy", false);
}

TEST_F(AtlasFilters, ReadingPlanetsOneByOneOrInOnePassAgrees) {
    // Within a small sphere few systems pass the summary and are read by
    // seeking; over the whole sector they are read in one pass.
    Filter f;
    f.temperature = Range<int>{-50, 40};
    f.breathable = true;
    expectBrute(f, "whole sector", false);
    f.withinOf = 100;
    f.withinParsecs = 6;
    expectBrute(f, "small sphere", false);
}

TEST_F(AtlasFilters, WithinASystemOutsideTheSectorIsRefused) {
    Filter f;
    f.withinOf = model->size();
    f.withinParsecs = 3;
    EXPECT_THROW(matchSystems(*model, f), InputError);
}

// World type 6 keeps its name "Asteroid Belt" but is no belt: a record
// holding it lies in a planet's orbit and has a climate the filters ask.
TEST(AtlasPlanetFacts, OnlyTheFourBeltKindsAreBelts) {
    const std::string base = makeSector("belt_kinds", 5, 3, 100);
    auto planets = readAll<TPlanetRec>(sectorPath(base, ".pln"));
    const auto planet = std::find_if(planets.begin(), planets.end(), [](const TPlanetRec& p) {
        return p.worldType == world::kRock || p.worldType == world::kIceBall;
    });
    ASSERT_NE(planet, planets.end());
    const auto belt =
        std::find_if(planets.begin(), planets.end(), [](const TPlanetRec& p) { return isBelt(p.worldType); });
    ASSERT_NE(belt, planets.end());
    const auto index = [&](std::vector<TPlanetRec>::const_iterator it) {
        std::size_t k = 0;
        for (const TPlanetRec& p : planets) {
            if (&p == &*it) return k;
            if (p.systemId == it->systemId) ++k;
        }
        return k;
    };
    const std::size_t planetAt = index(planet);
    const std::size_t beltAt = index(belt);
    planet->worldType = world::kAsteroidBelt;
    {
        RecordFile<TPlanetRec> file(sectorPath(base, ".pln"), RawRecordFile::Mode::Create);
        for (const TPlanetRec& p : planets) file.append(p);
        file.close();
    }
    const AtlasModel model = AtlasModel::open(base);
    const auto planetFacts = readPlanets(model, planet->systemId);
    ASSERT_LT(planetAt, planetFacts.size());
    EXPECT_EQ(planetFacts[planetAt].worldType, world::kAsteroidBelt);
    EXPECT_FALSE(planetFacts[planetAt].belt);
    const auto beltFacts = readPlanets(model, belt->systemId);
    ASSERT_LT(beltAt, beltFacts.size());
    EXPECT_TRUE(beltFacts[beltAt].belt);
}

TEST(AtlasFilterNames, NameTextMatchesPartsOfNamesAndAWholeNumberAnId) {
    AtlasModel model = atlastest::modelOf({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
    model.setName(1, "Kessel Drift");
    model.setName(3, "Little Kessel");
    Filter f;
    f.nameOrId = "kessel";
    EXPECT_EQ(matchingIds(model, f), (std::vector<SystemId>{1, 3}));
    f.nameOrId = "2";
    EXPECT_EQ(matchingIds(model, f), (std::vector<SystemId>{2}));
    f.nameOrId = "9";
    EXPECT_TRUE(matchingIds(model, f).empty());
    EXPECT_TRUE(Filter{}.empty());
    EXPECT_FALSE(f.empty());
}

}  // namespace
}  // namespace orrimar::atlas

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors.h"
#include "logs/rule_systems.h"

namespace orrimar::logs {

namespace {

TAlienRec raceWith(int attribute, int hostility, int speed) {
    TAlienRec race;
    race.attributes.fill(static_cast<std::uint8_t>(attribute));
    race.ratingE = static_cast<std::uint8_t>(hostility);
    race.ratingB = static_cast<std::uint8_t>(speed);
    return race;
}

struct Expected {
    std::string abbreviation;
    int low;   // every attribute 2, hostility 1, speed 0
    int high;  // every attribute 20, hostility 20, speed 20
};

// Each system's attributes, in log order, at both ends of our scale.
const std::vector<std::vector<Expected>> kExtremes = {
    {{"STR", 2, 20}, {"DEX", 2, 20}, {"CON", 2, 20}, {"INT", 2, 20}, {"WIS", 2, 20}, {"CHA", 2, 20}, {"PER", 2, 20}},
    {{"Str", 3, 15}, {"Dex", 3, 15}, {"Con", 3, 15}, {"Int", 3, 15}, {"Wil", 3, 15}, {"Per", 3, 15}},
    {{"STR", 10, 100},
     {"MD", 10, 100},
     {"IQ", 10, 100},
     {"AGIL", 10, 100},
     {"CON", 10, 100},
     {"AGG", 5, 100},
     {"INT", 10, 100},
     {"CHA", 10, 100}},
    {{"ST", 5, 15}, {"DX", 5, 15}, {"IQ", 5, 15}, {"HT", 5, 15}, {"Will", 5, 15}, {"Per", 5, 15}, {"Reaction", -3, 3}},
    {{"Co", 1, 100},
     {"Ag", 1, 100},
     {"SD", 1, 100},
     {"Me", 1, 100},
     {"Re", 1, 100},
     {"St", 1, 100},
     {"Qu", 1, 100},
     {"Pr", 1, 100},
     {"In", 1, 100},
     {"Em", 1, 100}},
    {{"INT", 1, 10},
     {"WILL", 1, 10},
     {"PRE", 1, 10},
     {"TECH", 1, 10},
     {"REF", 1, 10},
     {"DEX", 1, 10},
     {"CON", 1, 10},
     {"STR", 1, 10},
     {"BODY", 1, 10},
     {"MOVE", 0, 7}},
};

TEST(RuleSystems, ExtremesLandOnTheEndsOfEachSystemsScale) {
    for (int system = 0; system < kRuleSystemCount; ++system) {
        const auto low = convertAttributes(system, raceWith(2, 1, 0));
        const auto high = convertAttributes(system, raceWith(20, 20, 20));
        const auto& expected = kExtremes[static_cast<std::size_t>(system)];
        ASSERT_EQ(low.size(), expected.size()) << "system " << system;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(low[i].abbreviation, expected[i].abbreviation) << "system " << system;
            EXPECT_EQ(low[i].value, expected[i].low) << "system " << system << " " << expected[i].abbreviation;
            EXPECT_EQ(high[i].value, expected[i].high) << "system " << system << " " << expected[i].abbreviation;
        }
    }
}

TEST(RuleSystems, EveryOneOfOurSevenAttributesReachesEverySystem) {
    for (int system = 0; system < kRuleSystemCount; ++system) {
        for (int a = 1; a <= kAttributeCount; ++a) {
            TAlienRec low = raceWith(11, 10, 10);
            TAlienRec high = low;
            low.attributes[static_cast<std::size_t>(a - 1)] = 2;
            high.attributes[static_cast<std::size_t>(a - 1)] = 20;
            const auto lo = convertAttributes(system, low);
            const auto hi = convertAttributes(system, high);
            bool moved = false;
            for (std::size_t i = 0; i < lo.size(); ++i) moved = moved || lo[i].value != hi[i].value;
            EXPECT_TRUE(moved) << attributeName(a) << " is lost in system " << system;
        }
    }
}

TEST(RuleSystems, MiddleValuesRoundHalfToEven) {
    const TAlienRec middle = raceWith(11, 10, 10);
    EXPECT_EQ(convertAttributes(0, middle)[0].value, 11);
    EXPECT_EQ(convertAttributes(1, middle)[0].value, 9);   // 3 + 9 * 12/18
    EXPECT_EQ(convertAttributes(2, middle)[0].value, 55);  // 11 * 5
    EXPECT_EQ(convertAttributes(3, middle)[0].value, 10);  // the GURPS human norm
    EXPECT_EQ(convertAttributes(3, middle)[6].text, "+0");
    EXPECT_EQ(convertAttributes(4, middle)[0].value, 50);  // 50.5 to even
    EXPECT_EQ(convertAttributes(5, middle)[0].value, 6);   // 5.5 to even
    // Standard keeps every value as it is.
    for (int v = 2; v <= 20; ++v) EXPECT_EQ(convertAttributes(0, raceWith(v, 1, 0))[3].value, v);
}

TEST(RuleSystems, MeansAndRatingsComeFromTheirSources) {
    TAlienRec race = raceWith(11, 1, 17);
    race.attributes[4] = 2;   // Wisdom
    race.attributes[6] = 20;  // Perception
    const auto alternity = convertAttributes(1, race);
    EXPECT_EQ(alternity[4].name, "Will");
    EXPECT_EQ(alternity[4].value, 9);  // the mean, 11
    EXPECT_EQ(alternity[4].from, "Wisdom and Perception");
    const auto battlelords = convertAttributes(2, race);
    EXPECT_EQ(battlelords[5].name, "Aggression");
    EXPECT_EQ(battlelords[5].value, 5);
    const auto fuzion = convertAttributes(5, race);
    EXPECT_EQ(fuzion[9].value, 6);  // 17 / 3 = 5.67
    race.ratingB = 0;               // a sessile race does not move
    EXPECT_EQ(convertAttributes(5, race)[9].value, 0);
}

TEST(RuleSystems, SignedModifiersAndScalesAsWritten) {
    EXPECT_EQ(convertAttributes(3, raceWith(2, 1, 0))[6].text, "-3");
    EXPECT_EQ(convertAttributes(3, raceWith(20, 1, 0))[6].text, "+3");
    EXPECT_EQ(attributeScale(0), "2 to 20");
    EXPECT_EQ(attributeScale(4), "1 to 100");
    EXPECT_EQ(attributeScale(3), "5 to 15; Reaction modifier -3 to +3");
    EXPECT_EQ(attributeScale(5), "1 to 10; Movement 0 to 7");
    // A damaged record beyond the scale stays inside the system's range.
    EXPECT_EQ(convertAttributes(5, raceWith(255, 255, 255))[0].value, 10);
    EXPECT_EQ(scaleLinear(0, 2, 20, 1, 10), 1);
}

TEST(RuleSystems, DevelopmentLevelsInTheSystemsOwnTerms) {
    EXPECT_EQ(techLevelText(1, 1), "Progress Level 0");
    EXPECT_EQ(techLevelText(1, 10), "Progress Level 9");
    EXPECT_EQ(techLevelText(3, 1), "TL 0");
    EXPECT_EQ(techLevelText(3, 6), "TL 8");
    EXPECT_EQ(techLevelText(3, 10), "TL 12");
    EXPECT_EQ(techLevelText(0, 6), "");
    EXPECT_EQ(techLevelText(3, 0), "");
}

TEST(RuleSystems, UnknownSystemIsRefused) {
    EXPECT_THROW(attributeRules(6), InputError);
    EXPECT_THROW(convertAttributes(-1, TAlienRec{}), InputError);
}

}  // namespace
}  // namespace orrimar::logs

#include "logs/rule_systems.h"

#include <array>
#include <cstddef>

#include <fmt/format.h>

#include "common/errors.h"
#include "generation/physics.h"

namespace orrimar::logs {

namespace {

constexpr std::array<std::string_view, kAttributeCount> kAttributeNames = {
    "Strength", "Dexterity", "Constitution", "Intelligence", "Wisdom", "Charisma", "Perception",
};

constexpr int kStr = 1, kDex = 2, kCon = 3, kInt = 4, kWis = 5, kCha = 6, kPer = 7;

// Our attributes run 2..20; hostility 1..20; speed 0..20, a third of it
// being a Fuzion MOVE (a flier's 20 gives 7, a sessile race 0).
constexpr AttributeRule attr(std::string_view name, std::string_view abbr, int a, int lo, int hi) {
    return {name, abbr, Source::Attribute, a, 0, 2, 20, lo, hi, false};
}
constexpr AttributeRule mean(std::string_view name, std::string_view abbr, int a, int b, int lo, int hi) {
    return {name, abbr, Source::Mean, a, b, 2, 20, lo, hi, false};
}

// "Standard": our own seven on our own scale.
const std::vector<AttributeRule> kStandard = {
    attr("Strength", "STR", kStr, 2, 20),     attr("Dexterity", "DEX", kDex, 2, 20),
    attr("Constitution", "CON", kCon, 2, 20), attr("Intelligence", "INT", kInt, 2, 20),
    attr("Wisdom", "WIS", kWis, 2, 20),       attr("Charisma", "CHA", kCha, 2, 20),
    attr("Perception", "PER", kPer, 2, 20),
};

// Alternity: six abilities, humans 4..14; Will holds both wisdom and
// awareness. Our middle (11) is an ordinary 9.
const std::vector<AttributeRule> kAlternity = {
    attr("Strength", "Str", kStr, 3, 15),     attr("Dexterity", "Dex", kDex, 3, 15),
    attr("Constitution", "Con", kCon, 3, 15), attr("Intelligence", "Int", kInt, 3, 15),
    mean("Will", "Wil", kWis, kPer, 3, 15),   attr("Personality", "Per", kCha, 3, 15),
};

// Battlelords of the 23rd Century: eight percentile attributes; agility
// joins dexterity and perception, aggression is the race's hostility.
const std::vector<AttributeRule> kBattlelords = {
    attr("Strength", "STR", kStr, 10, 100),
    attr("Manual Dexterity", "MD", kDex, 10, 100),
    attr("Intelligence Quotient", "IQ", kInt, 10, 100),
    mean("Agility", "AGIL", kDex, kPer, 10, 100),
    attr("Constitution", "CON", kCon, 10, 100),
    {"Aggression", "AGG", Source::Hostility, 0, 0, 1, 20, 5, 100, false},
    attr("Intuition", "INT", kWis, 10, 100),
    attr("Charisma", "CHA", kCha, 10, 100),
};

// GURPS: 10 is the human norm (our 11), one point per two of ours; its
// charisma is a reaction modifier of -3..+3.
const std::vector<AttributeRule> kGurps = {
    attr("Strength", "ST", kStr, 5, 15),
    attr("Dexterity", "DX", kDex, 5, 15),
    attr("Intelligence", "IQ", kInt, 5, 15),
    attr("Health", "HT", kCon, 5, 15),
    attr("Will", "Will", kWis, 5, 15),
    attr("Perception", "Per", kPer, 5, 15),
    {"Reaction modifier", "Reaction", Source::Attribute, kCha, 0, 2, 20, -3, 3, true},
};

// SpaceMaster: ten stats of 1..100, 50 the middle.
const std::vector<AttributeRule> kSpaceMaster = {
    attr("Constitution", "Co", kCon, 1, 100),    attr("Agility", "Ag", kDex, 1, 100),
    attr("Self Discipline", "SD", kWis, 1, 100), attr("Memory", "Me", kInt, 1, 100),
    attr("Reasoning", "Re", kInt, 1, 100),       attr("Strength", "St", kStr, 1, 100),
    mean("Quickness", "Qu", kDex, kPer, 1, 100), attr("Presence", "Pr", kCha, 1, 100),
    attr("Intuition", "In", kPer, 1, 100),       attr("Empathy", "Em", kWis, 1, 100),
};

// Fuzion: ten characteristics of 1..10; technique joins dexterity and
// intelligence, reflexes dexterity and perception, body strength and
// constitution; MOVE comes from the race's speed.
const std::vector<AttributeRule> kFuzion = {
    attr("Intelligence", "INT", kInt, 1, 10),   attr("Willpower", "WILL", kWis, 1, 10),
    attr("Presence", "PRE", kCha, 1, 10),       mean("Technique", "TECH", kDex, kInt, 1, 10),
    mean("Reflexes", "REF", kDex, kPer, 1, 10), attr("Dexterity", "DEX", kDex, 1, 10),
    attr("Constitution", "CON", kCon, 1, 10),   attr("Strength", "STR", kStr, 1, 10),
    mean("Body", "BODY", kStr, kCon, 1, 10),    {"Movement", "MOVE", Source::Speed, 0, 0, 0, 21, 0, 7, false},
};

const std::array<const std::vector<AttributeRule>*, kRuleSystemCount> kSystems = {
    &kStandard, &kAlternity, &kBattlelords, &kGurps, &kSpaceMaster, &kFuzion,
};

// Alternity's Progress Levels run 0..9 beside our 1..10.
constexpr std::array<int, 10> kAlternityProgressLevel = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
// GURPS tech levels: stone age to medieval, then a leap to the atomic age
// where a spatial age begins (our level 6), on to TL 12.
constexpr std::array<int, 10> kGurpsTechLevel = {0, 1, 2, 3, 5, 8, 9, 10, 11, 12};

int attributeValue(const TAlienRec& race, int attribute) {
    return race.attributes[static_cast<std::size_t>(attribute - 1)];
}

}  // namespace

std::string_view attributeName(int attribute) {
    if (attribute < 1 || attribute > kAttributeCount) return "Unknown";
    return kAttributeNames[static_cast<std::size_t>(attribute - 1)];
}

const std::vector<AttributeRule>& attributeRules(int system) {
    if (system < 0 || system >= kRuleSystemCount)
        throw InputError(fmt::format("Unknown output system {} (0 to {})", system, kRuleSystemCount - 1));
    return *kSystems[static_cast<std::size_t>(system)];
}

int scaleLinear(long double value, int inLow, int inHigh, int outLow, int outHigh) {
    const long double scaled = outLow + (value - inLow) * static_cast<long double>(outHigh - outLow) /
                                            static_cast<long double>(inHigh - inLow);
    // Clamped before rounding: a figure beyond any integer (or not a number,
    // from a damaged record) takes the nearer end, NaN the low one.
    if (!(scaled >= outLow)) return outLow;
    if (scaled > outHigh) return outHigh;
    const auto rounded = roundEven(scaled);
    if (rounded < outLow) return outLow;
    if (rounded > outHigh) return outHigh;
    return static_cast<int>(rounded);
}

std::vector<ConvertedAttribute> convertAttributes(int system, const TAlienRec& race) {
    std::vector<ConvertedAttribute> out;
    for (const AttributeRule& rule : attributeRules(system)) {
        long double source = 0;
        std::string from;
        switch (rule.source) {
            case Source::Attribute:
                source = attributeValue(race, rule.first);
                from = std::string(attributeName(rule.first));
                break;
            case Source::Mean:
                source = (attributeValue(race, rule.first) + attributeValue(race, rule.second)) / 2.0L;
                from = fmt::format("{} and {}", attributeName(rule.first), attributeName(rule.second));
                break;
            case Source::Hostility:
                source = race.ratingE;
                from = "Hostility";
                break;
            case Source::Speed:
                source = race.ratingB;
                from = "Speed";
                break;
        }
        ConvertedAttribute c;
        c.name = rule.name;
        c.abbreviation = rule.abbreviation;
        c.value = scaleLinear(source, rule.inLow, rule.inHigh, rule.outLow, rule.outHigh);
        c.text = rule.signedValue ? fmt::format("{:+d}", c.value) : fmt::format("{}", c.value);
        c.from = std::move(from);
        out.push_back(std::move(c));
    }
    return out;
}

std::string attributeScale(int system) {
    const auto& rules = attributeRules(system);
    const AttributeRule& first = rules.front();
    std::string text = fmt::format("{} to {}", first.outLow, first.outHigh);
    // The few with a range of their own are named after it.
    for (const AttributeRule& rule : rules) {
        if (rule.outLow == first.outLow && rule.outHigh == first.outHigh) continue;
        text += rule.signedValue ? fmt::format("; {} {:+d} to {:+d}", rule.name, rule.outLow, rule.outHigh)
                                 : fmt::format("; {} {} to {}", rule.name, rule.outLow, rule.outHigh);
    }
    return text;
}

std::string techLevelText(int system, int techLevel) {
    if (techLevel < 1 || techLevel > 10) return {};
    const auto i = static_cast<std::size_t>(techLevel - 1);
    switch (system) {
        case 1: return fmt::format("Progress Level {}", kAlternityProgressLevel[i]);
        case 3: return fmt::format("TL {}", kGurpsTechLevel[i]);
        default: return {};
    }
}

}  // namespace orrimar::logs

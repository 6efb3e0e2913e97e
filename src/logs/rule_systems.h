// The race's seven attributes in each output system's own terms: the
// system's attribute names, its scale and, where it has one, its way of
// writing a development level.
//
// The record's attributes are, in order: Strength, Dexterity, Constitution,
// Intelligence, Wisdom, Charisma, Perception, each 2..20 (Intelligence is
// the one that weighs sevenfold in the development level and lowers
// instinct; Strength gates great strength, Constitution great endurance).
// A system with fewer attributes of its own takes the mean of two of ours;
// one with more reads the same attribute under two of its names. Every
// scale is a straight line from our 2..20 onto the system's own range,
// rounded half to even.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/records.h"

namespace orrimar::logs {

inline constexpr int kRuleSystemCount = 6;
inline constexpr int kAttributeCount = 7;

// The names of our seven attributes (the "Standard" system's).
std::string_view attributeName(int attribute);  // 1..7

// What a converted attribute is made of.
enum class Source : std::uint8_t {
    Attribute,  // one attribute (first)
    Mean,       // the mean of attributes first and second
    Hostility,  // the race's hostility rating, 1..20
    Speed,      // the race's speed rating, 0..20
};

struct AttributeRule {
    std::string_view name;          // the system's own name
    std::string_view abbreviation;  // as its character sheets write it
    Source source;
    int first;            // attribute 1..7
    int second;           // attribute 1..7 (Mean only)
    int inLow, inHigh;    // the source's range
    int outLow, outHigh;  // the system's range
    bool signedValue;     // written with its sign (a modifier)
};

struct ConvertedAttribute {
    std::string_view name;
    std::string_view abbreviation;
    int value = 0;
    std::string text;  // the value as the system writes it
    std::string from;  // which of our attributes it comes from
};

// The rule list of output system 0..5; an unknown system is an InputError.
const std::vector<AttributeRule>& attributeRules(int system);

// Linear map of value from [inLow, inHigh] onto [outLow, outHigh], rounded
// half to even and held inside the output range.
int scaleLinear(long double value, int inLow, int inHigh, int outLow, int outHigh);

// The race's attributes in the given system.
std::vector<ConvertedAttribute> convertAttributes(int system, const TAlienRec& race);

// "2 to 20", "1 to 10; Movement 0 to 7", ... for the log's note on the scale.
std::string attributeScale(int system);

// The development level (1..10) in the system's own terms ("Progress Level
// 5", "TL 8"), or empty when the system has none.
std::string techLevelText(int system, int techLevel);

}  // namespace orrimar::logs

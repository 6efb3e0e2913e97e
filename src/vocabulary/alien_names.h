// Display names of the codes stored in an alien race record, one table per
// kind of code. Each name follows from the rules of the race generator that
// set the code: habitat 5 never stands on a heavy world and gives the race
// wings, so it is flight; trait 9 is set on worlds below -5 degrees, so it is
// a cold adaptation; and so on. Where no rule hints at a meaning the name is
// a plain descriptive one that no rule contradicts. The tables themselves,
// with the rule behind each name, are in alien_names.cpp.
#pragma once

#include <string>
#include <string_view>

namespace orrimar::vocabulary {

inline constexpr int kHabitatCount = 5;
inline constexpr int kBodyFormCount = 9;
inline constexpr int kAppendageTypeCount = 7;
inline constexpr int kSubtypeCount = 12;
inline constexpr int kFormCodeCount = 26;
inline constexpr int kOrderCodeCount = 25;
inline constexpr int kTraitCount = 96;
inline constexpr int kFlagSetCount = 5;
inline constexpr int kFlagsPerSet = 16;

// The six aspects of a race, A to F, each a small code of its own.
enum class Aspect { A, B, C, D, E, F };
inline constexpr int kAspectCount = 6;
// Highest code of each aspect (F also has a 0).
int aspectMaxCode(Aspect aspect);
// The aspect's own title: "Diet", "Reproduction", ...
std::string_view aspectTitle(Aspect aspect);

// Every lookup returns the code's name, or "unknown (n)" for a code outside
// its table, so that a damaged record still gives a readable log.
std::string habitatName(int code);
// Where the race lives, to follow "at home ": "on land", "in water", ...
std::string habitatPhrase(int code);
std::string bodyFormName(int code);
std::string appendageName(int code);
std::string subtypeName(int code);
std::string formCodeName(int code);
std::string orderName(int code);
std::string aspectName(Aspect aspect, int code);
std::string traitName(int trait);

// Flag f (1..16) of flag set s (1..5).
std::string flagName(int set, int flag);
// What flag set s describes: "Colours", "Coat colours", ...
std::string_view flagSetTitle(int set);

// The record's numbered ratings under their own names.
std::string_view sizeClassTitle();          // massClass
std::string_view ratingTitle(char rating);  // 'A'..'E'

}  // namespace orrimar::vocabulary

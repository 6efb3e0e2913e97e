// The settled layer in words for the logs, the reports and the exports: a
// colony's government (law, stability and crime on their 0..9 scales) and
// the colour of an empire's territory as a web colour.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/records.h"

namespace orrimar::vocabulary {

// The word for each step of a colony's 0..9 scales; a level past the scale
// (a record written by another program) reads "off the scale".
std::string_view lawWord(int level);
std::string_view stabilityWord(int level);
std::string_view crimeWord(int level);

// "law 5 (firm), stability 7 (steady), crime 2 (petty)": the one line every
// output gives a colony's government.
std::string governmentText(const TColonyRec& colony);

// The names of the facilities present, in facility order.
std::vector<std::string> facilityNames(const TColonyRec& colony);
// The same joined by ", "; empty when there are none.
std::string facilitiesText(const TColonyRec& colony);

// "#rrggbb", lower-case hex, as HTML, SVG and the JSON export write colours.
std::string colourHex(const std::array<std::uint8_t, 3>& rgb);

}  // namespace orrimar::vocabulary

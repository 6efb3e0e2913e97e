// Where the atlas's pages lie and what every page shares: the paths of
// system, race, empire and list pages relative to the atlas's root (pages
// grouped in folders of at most kPagesPerFolder), the row of links a page
// made elsewhere gets, and the filter box's script.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orrimar::exports {

// Pages two folders down reach the root through this.
inline constexpr std::string_view kUp = "../../";

// "000", "001" ...: the folder of the page with this ordinal.
std::string folderName(std::int64_t ordinal);
std::string systemPage(std::int64_t ordinal, std::int64_t systemId);
std::string racePage(std::int64_t raceId);
std::string empirePage(std::int64_t empireId);
std::string listPage(std::int64_t folder);

// The links row of Document::links, for a page made elsewhere.
std::string navHtml(const std::vector<std::pair<std::string, std::string>>& links);

// A square of an empire's colour with its hex code beside it.
std::string swatch(const std::array<std::uint8_t, 3>& colour);

// Hides the rows of the table "systems" that do not hold the text typed
// into the box "filter", and counts the rest into "shown".
extern const std::string_view kFilterScript;

}  // namespace orrimar::exports

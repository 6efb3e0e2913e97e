// The script and style of the atlas index's turning map (atlas_map.h):
// the browser's half of the map, kept beside the data it reads.
#pragma once

#include <string_view>

namespace orrimar::exports {

// The script, for a CDATA section inside a script element: it never holds
// "</" (which would end the element in a browser) nor "]]>" (which would
// end the section for an XML reader).
std::string_view atlasMapScript();

// The style of the map and of the page it stands on, for a style element:
// the canvas on screen, the flat figure from above in print.
std::string_view atlasMapStyle();

}  // namespace orrimar::exports

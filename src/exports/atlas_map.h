// The atlas index's turning map: a canvas the page's own script draws from
// a compact list of the systems embedded in the page, so the map works
// offline from a folder with no library fetched. It shows every system
// given to it (the whole sector, or the part a players' atlas reveals):
// dragged it turns, the wheel zooms, a slab of z narrows it, names stand
// where they fit, hovering names a star and a click opens its page.
//
// The data is one JSON object: the star palette, the owners and the
// systems, each system an array
//   [id, x, y, z, kind, owner, light, "name", "page"]
// with x, y, z in parsecs, kind an index into the palette, owner an index
// into the owners or -1, light ten times the base-10 logarithm of the
// primary's luminosity (Sun = 0; the brighter are named first), and the
// name and page dropped from the end when empty. Every '<', '>' and '&' in
// a string is written as a \u escape: no name can end the script that holds
// the data or break the page as XML.
//
// Above kAtlasMapLimit systems the page would grow past what a browser
// opens quickly; the map then says so and the flat figure stands alone.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orrimar::exports {

// Systems the turning map carries at most (about 60 bytes each).
inline constexpr std::int64_t kAtlasMapLimit = 100000;

struct AtlasMapSystem {
    std::int64_t id = -1;
    std::int16_t x = 0;            // parsecs
    std::int16_t y = 0;            // parsecs
    std::int16_t z = 0;            // parsecs
    std::uint8_t primaryKind = 0;  // star kind code of the primary: the dot's colour
    float luminosity = 0;          // the primary's, Sun = 1
    std::string name = {};         // UTF-8; empty: the map names it by id
    std::string href = {};         // its page, relative to the index; empty: none
    // The colour and name (UTF-8) of the power controlling the system.
    std::optional<std::array<std::uint8_t, 3>> ownerColour = {};
    std::string owner = {};
    // A system the reader does not know: a plain star at its place, with no
    // name, class or owner, whatever the other fields say.
    bool unknown = false;
};

class AtlasMap {
public:
    // Adds a system; past kAtlasMapLimit systems they are only counted.
    void add(const AtlasMapSystem& system);

    std::int64_t count() const { return count_; }
    bool tooLarge() const { return count_ > kAtlasMapLimit; }

    // The data object described above.
    std::string data() const;
    // The map for the index page: canvas, controls, legend, data and
    // script, as markup for Document::rawHtml. The page stays well-formed
    // XML. A sector past the limit gets a note instead, an empty one
    // nothing.
    std::string html() const;

    // Markup round the flat figure from above: the page shows that figure
    // when printed (and on screen when scripts do not run) and the canvas
    // otherwise.
    static std::string_view printedMapBegin();
    static std::string_view printedMapEnd();

private:
    // The palette index of a system: its kind, or the unknown entry.
    static std::size_t paletteIndex(const AtlasMapSystem& system);
    std::string legend() const;
    std::string slabControls() const;

    std::int64_t count_ = 0;
    int minZ_ = 0;
    int maxZ_ = 0;
    std::string rows_;  // the systems' arrays, comma-separated
    std::vector<bool> kindsSeen_;
    // The owners in the order first met, and each one's place in that list.
    std::vector<std::pair<std::string, std::array<std::uint8_t, 3>>> owners_;
    std::map<std::pair<std::string, std::array<std::uint8_t, 3>>, int> ownerIndex_;
};

}  // namespace orrimar::exports

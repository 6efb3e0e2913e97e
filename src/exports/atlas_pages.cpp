#include "exports/atlas_pages.h"

#include <fmt/format.h>

#include <sstream>

#include "documents/document.h"
#include "exports/sector_export.h"
#include "vocabulary/colony_words.h"

namespace orrimar::exports {

// Kept free of '<' and '&' so the page stays well-formed XML without a
// CDATA section.
const std::string_view kFilterScript =
    "<script>\n"
    "(function () {\n"
    "  var box = document.getElementById('filter');\n"
    "  var rows = document.getElementById('systems').tBodies[0].rows;\n"
    "  var shown = document.getElementById('shown');\n"
    "  box.addEventListener('input', function () {\n"
    "    var q = box.value.toLowerCase();\n"
    "    var n = 0;\n"
    "    for (var i = 0; i !== rows.length; i++) {\n"
    "      var hit = q === '' || rows[i].textContent.toLowerCase().indexOf(q) !== -1;\n"
    "      rows[i].style.display = hit ? '' : 'none';\n"
    "      if (hit) n++;\n"
    "    }\n"
    "    shown.textContent = n + ' of ' + rows.length + ' shown';\n"
    "  });\n"
    "})();\n"
    "</script>";

std::string folderName(std::int64_t ordinal) { return fmt::format("{:03}", ordinal / kPagesPerFolder); }

std::string systemPage(std::int64_t ordinal, std::int64_t systemId) {
    return fmt::format("systems/{}/system-{}.html", folderName(ordinal), systemId);
}
std::string racePage(std::int64_t raceId) { return fmt::format("races/{}/race-{}.html", folderName(raceId), raceId); }
std::string empirePage(std::int64_t empireId) {
    return fmt::format("empires/{}/empire-{}.html", folderName(empireId), empireId);
}
std::string listPage(std::int64_t folder) { return fmt::format("systems/list-{:03}.html", folder); }

std::string swatch(const std::array<std::uint8_t, 3>& colour) {
    const std::string hex = vocabulary::colourHex(colour);
    return fmt::format(
        "<span style=\"display:inline-block;width:1em;height:1em;background:{0};"
        "vertical-align:middle\"></span> {0}",
        hex);
}

std::string navHtml(const std::vector<std::pair<std::string, std::string>>& links) {
    std::ostringstream out;
    documents::Document doc(out, documents::DocFormat::Html, "");
    const std::size_t head = out.str().size();
    doc.links(links);
    return out.str().substr(head);
}

}  // namespace orrimar::exports

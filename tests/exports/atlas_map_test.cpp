// The turning map's data on the atlas index: the exact array of each
// system, names that cannot break the page, the light that ranks labels,
// owners shared by index, unknown systems that reveal nothing, the slab
// controls of a cube and of a flat sector, and the limit past which the
// flat figure stands alone.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "documents/document.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/test_dir.h"
#include "support/well_formed.h"
#include "support/settled_fixture.h"
#include "exports/atlas_map.h"
#include "exports/sector_export.h"

namespace orrimar::exports {
namespace {

using testing::testDir;

AtlasMapSystem at(std::int64_t id, std::int16_t x, std::int16_t y, std::int16_t z) {
    AtlasMapSystem s;
    s.id = id;
    s.x = x;
    s.y = y;
    s.z = z;
    s.primaryKind = 5;
    s.luminosity = 1.0F;
    return s;
}

// The systems part of the data, between its brackets.
std::string rowsOf(const std::string& data) {
    const std::string key = "\"systems\":[";
    const std::size_t from = data.find(key);
    if (from == std::string::npos) return "no systems in " + data;
    return data.substr(from + key.size(), data.size() - from - key.size() - 2);
}

// The map's markup on a page of its own, as the index holds it.
std::string pageWith(const AtlasMap& map) {
    std::ostringstream out;
    documents::Document doc(out, documents::DocFormat::Html, "Map");
    doc.rawHtml(map.html());
    doc.finish();
    return out.str();
}

TEST(AtlasMapData, EachSystemIsOneArrayWithEmptyTextsDroppedFromTheEnd) {
    AtlasMap map;
    AtlasMapSystem named = at(3, 3, -4, 7);
    named.name = "Sol";
    named.href = "systems/000/system-3.html";
    map.add(named);
    AtlasMapSystem pageOnly = at(4, -2, 5, 0);
    pageOnly.primaryKind = 7;
    pageOnly.luminosity = 10.0F;
    pageOnly.href = "systems/000/system-4.html";
    map.add(pageOnly);
    AtlasMapSystem nameOnly = at(5, 0, 0, -32768);
    nameOnly.name = "Far";
    nameOnly.luminosity = 0.5F;
    map.add(nameOnly);
    AtlasMapSystem bare = at(6, 32767, -1, 1);
    bare.primaryKind = 200;  // no such kind: an unclassified object
    map.add(bare);
    EXPECT_EQ(rowsOf(map.data()),
              "[3,3,-4,7,5,-1,0,\"Sol\",\"systems/000/system-3.html\"],"
              "[4,-2,5,0,7,-1,10,\"\",\"systems/000/system-4.html\"],"
              "[5,0,0,-32768,5,-1,-3,\"Far\"],"
              "[6,32767,-1,1,0,-1,0]");
    EXPECT_EQ(map.count(), 4);

    // The palette: every kind and the unknown entry last, colour and label.
    const nlohmann::json data = nlohmann::json::parse(map.data());
    ASSERT_EQ(data["stars"].size(), 25U);
    EXPECT_EQ(data["stars"][5], nlohmann::json::array({"#ffe066", "yellow dwarf (G V)"}));
    EXPECT_EQ(data["stars"][18], nlohmann::json::array({"#b07cff", "black hole"}));
    EXPECT_EQ(data["stars"][24], nlohmann::json::array({"#8a8a8a", "unknown system"}));
    EXPECT_TRUE(data["owners"].empty());
}

TEST(AtlasMapData, LightIsTenTimesTheLogOfTheLuminosityWithinItsBounds) {
    const std::vector<std::pair<float, int>> cases = {
        {1.0F, 0},    {10.0F, 10},       {0.01F, -20}, {2.0F, 3},  {0.0F, -60},          {-5.0F, -60},    {1e-9F, -60},
        {1e-6F, -60}, {1.2589e-6F, -59}, {1e8F, 80},   {1e9F, 80}, {std::nanf(""), -60}, {117000.0F, 51},
    };
    for (const auto& [luminosity, light] : cases) {
        AtlasMap map;
        AtlasMapSystem s = at(0, 0, 0, 0);
        s.luminosity = luminosity;
        map.add(s);
        EXPECT_EQ(rowsOf(map.data()), fmt::format("[0,0,0,0,5,-1,{}]", light)) << luminosity;
    }
}

// A name holding markup, quotes, backslashes, control bytes and broken
// UTF-8 goes into the page as JSON that closes nothing, keeps the page
// well-formed and reads back as the same name.
TEST(AtlasMapData, HostileNamesCannotBreakThePage) {
    const std::string hostile = "</script><script>alert('x')</script> & \"Co\" \\ ]]> <!-- \x01";
    AtlasMap map;
    AtlasMapSystem s = at(0, 1, 2, 3);
    s.name = hostile;
    s.href = "systems/000/system-0.html";
    s.ownerColour = std::array<std::uint8_t, 3>{1, 2, 3};
    s.owner = "Empire </script> & \"sons\"";
    map.add(s);
    AtlasMapSystem broken = at(1, 1, 2, 4);
    broken.name = std::string("Caf\xE9 \xFF");  // not UTF-8
    map.add(broken);

    const std::string data = map.data();
    EXPECT_EQ(data.find_first_of("<>&"), std::string::npos) << data;
    EXPECT_NE(data.find("\"\\u003c/script\\u003e\\u003cscript\\u003ealert('x')\\u003c/script\\u003e \\u0026 "
                        "\\\"Co\\\" \\\\ ]]\\u003e \\u003c!-- \\u0001\""),
              std::string::npos)
        << data;
    const nlohmann::json parsed = nlohmann::json::parse(data);
    EXPECT_EQ(parsed["systems"][0][7], hostile);
    EXPECT_EQ(parsed["owners"][0], nlohmann::json::array({"#010203", "Empire </script> & \"sons\""}));
    EXPECT_EQ(parsed["systems"][1][7], "Caf\xEF\xBF\xBD \xEF\xBF\xBD");

    const std::string page = pageWith(map);
    EXPECT_EQ(logtest::checkWellFormed(page), "");
    // Two script elements (the data and the code), each closed once.
    std::size_t closes = 0;
    for (std::size_t at = page.find("</script>"); at != std::string::npos; at = page.find("</script>", at + 1)) {
        ++closes;
    }
    EXPECT_EQ(closes, 2U);
    // The legend names the owner in markup, escaped as text.
    EXPECT_NE(page.find("Empire &lt;/script&gt; &amp; &quot;sons&quot;"), std::string::npos);
}

TEST(AtlasMapData, OwnersAreSharedByIndexAndUnknownSystemsRevealNothing) {
    AtlasMap map;
    const std::array<std::uint8_t, 3> red{200, 40, 16};
    const std::array<std::uint8_t, 3> blue{16, 40, 200};
    const auto owned = [&](std::int64_t id, const std::string& owner, std::array<std::uint8_t, 3> colour) {
        AtlasMapSystem s = at(id, 0, 0, 0);
        s.owner = owner;
        s.ownerColour = colour;
        return s;
    };
    map.add(owned(0, "Kethri Dominion", red));
    map.add(owned(1, "Vessane (race 4)", blue));
    map.add(owned(2, "Kethri Dominion", red));
    map.add(owned(3, "Kethri Dominion", blue));  // same name, another colour: another owner
    AtlasMapSystem unknown = owned(4, "Kethri Dominion", red);
    unknown.unknown = true;
    unknown.name = "Secret";
    unknown.luminosity = 1000.0F;
    unknown.primaryKind = 18;
    map.add(unknown);
    AtlasMapSystem unknownWithPage = at(5, 9, 8, 7);
    unknownWithPage.unknown = true;
    unknownWithPage.name = "Hidden";
    unknownWithPage.href = "systems/000/system-5.html";
    map.add(unknownWithPage);

    EXPECT_EQ(rowsOf(map.data()),
              "[0,0,0,0,5,0,0],[1,0,0,0,5,1,0],[2,0,0,0,5,0,0],[3,0,0,0,5,2,0],[4,0,0,0,24,-1,0],"
              "[5,9,8,7,24,-1,0,\"\",\"systems/000/system-5.html\"]");
    const nlohmann::json data = nlohmann::json::parse(map.data());
    EXPECT_EQ(data["owners"],
              nlohmann::json::parse(R"j([["#c82810","Kethri Dominion"],["#1028c8","Vessane (race 4)"],)j"
                                    R"j(["#1028c8","Kethri Dominion"]])j"));
    const std::string page = pageWith(map);
    EXPECT_EQ(page.find("Secret"), std::string::npos);
    EXPECT_EQ(page.find("Hidden"), std::string::npos);
    EXPECT_EQ(page.find("black hole</li>"), std::string::npos) << "the unknown system's kind is in the legend";
    EXPECT_NE(page.find("unknown system</li>"), std::string::npos);
}

TEST(AtlasMapPage, ACubeGetsASlabAFlatSectorSaysSoAndTheLegendStopsAtTwelveOwners) {
    AtlasMap cube;
    cube.add(at(0, 0, 0, -3));
    cube.add(at(1, 0, 0, 5));
    const std::string html = cube.html();
    EXPECT_NE(html.find("<input id=\"atlas-map-from\" type=\"number\" min=\"-3\" max=\"5\" step=\"1\" value=\"-3\" />"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("<input id=\"atlas-map-to\" type=\"number\" min=\"-3\" max=\"5\" step=\"1\" value=\"5\" />"),
              std::string::npos);
    EXPECT_NE(html.find("<canvas id=\"atlas-map-canvas\""), std::string::npos);
    EXPECT_NE(html.find("<script>//<![CDATA["), std::string::npos);

    AtlasMap flat;
    for (int k = 0; k < 14; ++k) {
        AtlasMapSystem s = at(k, static_cast<std::int16_t>(k), 0, 4);
        s.owner = fmt::format("Owner {}", k);
        s.ownerColour = std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(k), 0, 0};
        flat.add(s);
    }
    const std::string flatHtml = flat.html();
    EXPECT_NE(flatHtml.find("A flat sector: every system lies at z = 4."), std::string::npos);
    EXPECT_EQ(flatHtml.find("id=\"atlas-map-from\""), std::string::npos);
    EXPECT_NE(flatHtml.find("Owner 11</li>"), std::string::npos);
    EXPECT_EQ(flatHtml.find("Owner 12</li>"), std::string::npos);
    EXPECT_NE(flatHtml.find("<li>and 2 more owners</li>"), std::string::npos);
    EXPECT_EQ(logtest::checkWellFormed(pageWith(flat)), "");

    EXPECT_EQ(AtlasMap().html(), "");
}

TEST(AtlasMapPage, PastTheLimitTheMapSaysSoAndCarriesNoData) {
    AtlasMap map;
    for (std::int64_t id = 0; id < kAtlasMapLimit; ++id) map.add(at(id, 0, 0, 0));
    EXPECT_FALSE(map.tooLarge());
    EXPECT_NE(map.html().find("<canvas"), std::string::npos);
    map.add(at(kAtlasMapLimit, 0, 0, 0));
    EXPECT_TRUE(map.tooLarge());
    EXPECT_EQ(map.count(), kAtlasMapLimit + 1);
    const std::string html = map.html();
    EXPECT_NE(html.find("The sector holds 100,001 systems, more than the turning map carries (at most 100,000)"),
              std::string::npos)
        << html;
    EXPECT_EQ(html.find("<canvas"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
}

// The index of the atlas carries every system with its page, and in a
// settled sector its owner's name and colour.
TEST(AtlasMapPage, TheAtlasIndexCarriesEverySystemWithItsPageAndOwner) {
    const std::string dir = testDir("atlas_map");
    const logtest::FixtureSector f = logtest::makeFixtureSector(dir);
    ExportSector(f.base, ExportFormat::Atlas, dir + "/atlas");
    const std::string index = testing::fileBytes(dir + "/atlas/index.html");
    // System 0 is controlled by race 0, which rules no empire.
    EXPECT_NE(index.find("\"owners\":[[\"#"), std::string::npos);
    EXPECT_NE(index.find("\"race 0\"]],\"systems\":[[0,3,-4,7,5,0,0,\"\",\"systems/000/system-0.html\"],"
                         "[1,-2,5,0,6,-1,0,\"\",\"systems/000/system-1.html\"]]}"),
              std::string::npos);
    // The canvas, then the flat figure kept for print.
    const std::size_t canvas = index.find("<canvas id=\"atlas-map-canvas\"");
    const std::size_t flat = index.find("<div class=\"flat-only\">");
    ASSERT_NE(canvas, std::string::npos);
    ASSERT_NE(flat, std::string::npos);
    EXPECT_LT(canvas, flat);
    EXPECT_NE(index.find("@media print{html.map-live .live-only{display:none}html.map-live .flat-only{display:block}}"),
              std::string::npos);

    const std::string settledDir = testDir("atlas_map_settled");
    const logtest::FixtureSector s = logtest::makeSettledFixture(settledDir);
    ExportSector(s.base, ExportFormat::Atlas, settledDir + "/atlas");
    const std::string settled = testing::fileBytes(settledDir + "/atlas/index.html");
    EXPECT_NE(settled.find("\"owners\":[[\"#c82810\",\"Kethri Dominion\"]],\"systems\":[[0,3,-4,7,5,0,0,\"\","
                           "\"systems/000/system-0.html\"],[1,-2,5,0,6,0,0,\"\",\"systems/000/system-1.html\"]]}"),
              std::string::npos);
}

}  // namespace
}  // namespace orrimar::exports

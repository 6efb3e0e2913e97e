// The HTML atlas: every link on every page resolves inside the folder,
// every page is well-formed, each system and race has its page with links
// both ways, and a sector above the listing limit gets pages only for its
// systems with bodies, in folders of at most a thousand files.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "exports/sector_export.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/well_formed.h"
#include "support/settled_fixture.h"
#include "logs/sector_report.h"
#include "support/hand_made_sector.h"

namespace orrimar::exports {

using namespace orrimar::logs;

namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::testDir;

struct Walk {
    std::size_t pages = 0;
    std::size_t links = 0;
    std::set<std::string> targets;  // relative to the atlas root
};

// Opens every page, checks it is well-formed and that every href names a
// file of the atlas (no network, nothing outside the folder).
Walk walkAtlas(const fs::path& root) {
    Walk walk;
    const std::regex href("href=\"([^\"]*)\"");
    const fs::path canonicalRoot = fs::canonical(root);
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".html") continue;
        ++walk.pages;
        const std::string page = fileBytes(entry.path().string());
        EXPECT_EQ(logtest::checkWellFormed(page), "") << entry.path();
        EXPECT_EQ(page.find("http://"), page.find("http://www.w3.org/")) << entry.path() << " fetches from the network";
        EXPECT_EQ(page.find("https://"), std::string::npos) << entry.path();
        for (auto it = std::sregex_iterator(page.begin(), page.end(), href); it != std::sregex_iterator(); ++it) {
            ++walk.links;
            const std::string target = (*it)[1];
            EXPECT_FALSE(target.empty()) << entry.path();
            const fs::path resolved = entry.path().parent_path() / target;
            if (!fs::is_regular_file(resolved)) {
                ADD_FAILURE() << entry.path() << " links to missing " << target;
                continue;
            }
            const std::string relative = fs::relative(fs::canonical(resolved), canonicalRoot).string();
            EXPECT_EQ(relative.rfind("..", 0), std::string::npos) << target << " leaves the atlas";
            walk.targets.insert(relative);
        }
    }
    return walk;
}

TEST(Atlas, EveryLinkResolvesAndEveryPageIsWellFormed) {
    const std::string dir = testDir("atlas");
    const logtest::FixtureSector f = logtest::makeFixtureSector(dir, "Fixture <Reach> & \"Co\"");
    const ExportResult result = ExportSector(f.base, ExportFormat::Atlas, dir + "/atlas");
    EXPECT_EQ(result.files, 4);  // index, two systems, one race
    const Walk walk = walkAtlas(dir + "/atlas");
    EXPECT_EQ(walk.pages, 4U);
    // Both systems and the race are reached from somewhere, and the index
    // from every other page.
    EXPECT_TRUE(walk.targets.count("systems/000/system-0.html"));
    EXPECT_TRUE(walk.targets.count("systems/000/system-1.html"));
    EXPECT_TRUE(walk.targets.count("races/000/race-0.html"));
    EXPECT_TRUE(walk.targets.count("index.html"));

    const std::string index = fileBytes(dir + "/atlas/index.html");
    EXPECT_NE(index.find("Atlas of Fixture &lt;Reach&gt; &amp; &quot;Co&quot;"), std::string::npos);
    EXPECT_NE(index.find("<svg"), std::string::npos);
    EXPECT_NE(index.find("<a href=\"systems/000/system-0.html\"><title>System 0 at 3, -4, 7</title>"),
              std::string::npos);  // the map's systems are links
    EXPECT_NE(index.find("id=\"filter\""), std::string::npos);
    EXPECT_NE(index.find("<script>"), std::string::npos);
    EXPECT_EQ(index.find("<script src"), std::string::npos);

    // A system page is the system log with links to its race and back; the
    // race page links to its home system.
    const std::string system = fileBytes(dir + "/atlas/systems/000/system-0.html");
    EXPECT_NE(system.find("G2 V"), std::string::npos);
    EXPECT_NE(system.find("href=\"../../races/000/race-0.html\""), std::string::npos);
    EXPECT_NE(system.find("href=\"../../index.html\""), std::string::npos);
    const std::string race = fileBytes(dir + "/atlas/races/000/race-0.html");
    EXPECT_NE(race.find("href=\"../../systems/000/system-0.html\">Home system 0</a>"), std::string::npos);
    const std::string binary = fileBytes(dir + "/atlas/systems/000/system-1.html");
    EXPECT_NE(binary.find("No race is native to this system."), std::string::npos);
}

TEST(Atlas, EmptySectorStillOpens) {
    const std::string dir = testDir("empty");
    const std::string base = logtest::makeEmptySector(dir);
    ExportSector(base, ExportFormat::Atlas, dir + "/atlas");
    const Walk walk = walkAtlas(dir + "/atlas");
    EXPECT_EQ(walk.pages, 1U);
    EXPECT_NE(fileBytes(dir + "/atlas/index.html").find("The sector holds no alien races."), std::string::npos);
}

TEST(Atlas, ReplacesAnEarlierAtlasWhole) {
    const std::string dir = testDir("replace");
    const logtest::FixtureSector f = logtest::makeFixtureSector(dir);
    // An earlier atlas, with a page the new one no longer has.
    ExportSector(f.base, ExportFormat::Atlas, dir + "/atlas");
    fs::create_directories(dir + "/atlas/stale");
    testing::writeFileBytes(dir + "/atlas/stale/old.html", "old");
    ExportSector(f.base, ExportFormat::Atlas, dir + "/atlas");
    EXPECT_FALSE(fs::exists(dir + "/atlas/stale"));
    EXPECT_TRUE(fs::exists(dir + "/atlas/index.html"));
    EXPECT_FALSE(fs::exists(dir + "/atlas.part"));
    EXPECT_FALSE(fs::exists(dir + "/atlas.old"));
}

// One system in seven has a planet; the rest have none and get no page.
testing::SectorContent sparseSector(int systems) {
    testing::SectorContent s;
    for (int id = 0; id < systems; ++id) {
        TSystemRec sys;
        sys.starCount = 1;
        sys.starKind = {5, 0, 0};
        sys.x = static_cast<std::int16_t>(id % 200);
        sys.y = static_cast<std::int16_t>(id / 200);
        sys.firstPlanetId = {static_cast<std::int32_t>(s.planets.size()), 0, 0};
        sys.firstPlanetId[1] = sys.firstPlanetId[2] = sys.firstPlanetId[0];
        if (id % 7 == 0) {
            sys.planetCount[0] = 1;
            sys.orbit[0][0] = 10;
            TPlanetRec p;
            p.systemId = id;
            p.worldType = 2;
            p.orbitRadius = 10;
            p.atmosphereClass = 6;
            p.composition = 1;
            s.planets.push_back(p);
            sys.firstPlanetId[1] = sys.firstPlanetId[2] = sys.firstPlanetId[0] + 1;
        }
        s.systems.push_back(sys);
    }
    return s;
}

TEST(Atlas, AboveTheLimitOnlySystemsWithBodiesInFoldersOfAThousand) {
    const std::string dir = testDir("large");
    const int systems = static_cast<int>(kFullListingLimit) + 1;
    testing::writeSector(dir + "/large", sparseSector(systems));
    const ExportResult result = ExportSector(dir + "/large", ExportFormat::Atlas, dir + "/atlas");
    const int paged = (systems + 6) / 7;  // ids 0, 7, 14, ...
    EXPECT_EQ(result.systems, systems);

    std::map<std::string, int> perFolder;
    int systemPages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir + "/atlas")) {
        if (!entry.is_regular_file()) continue;
        ++perFolder[entry.path().parent_path().string()];
        if (entry.path().filename().string().rfind("system-", 0) == 0) ++systemPages;
    }
    EXPECT_EQ(systemPages, paged);
    for (const auto& [folder, files] : perFolder) EXPECT_LE(files, kPagesPerFolder) << folder;
    EXPECT_TRUE(fs::exists(dir + "/atlas/systems/000/system-0.html"));
    EXPECT_FALSE(fs::exists(dir + "/atlas/systems/000/system-1.html"));
    // Page 1000 (system 7000) opens the second folder.
    EXPECT_TRUE(fs::exists(dir + "/atlas/systems/001/system-7000.html"));
    EXPECT_TRUE(fs::exists(dir + "/atlas/systems/000/system-6993.html"));

    const std::string index = fileBytes(dir + "/atlas/index.html");
    EXPECT_NE(index.find("pages are written only for the 2,858 systems with bodies in orbit"), std::string::npos);
    EXPECT_NE(index.find("href=\"systems/list-002.html\""), std::string::npos);
    // No table row per system on the index (about 200 bytes each): only
    // the map's data, about 30 bytes a system.
    EXPECT_LT(index.size(), 1300000U);
    const Walk walk = walkAtlas(dir + "/atlas");
    EXPECT_EQ(walk.pages, static_cast<std::size_t>(paged) + 1 + 3);  // + index + three list pages
}

// At the index's limit every system is a row of the index and a link on
// its printed map; one more and the rows move to a list page per folder
// and the dots stop being links, yet every system keeps its page, reached
// from a list, and each page leads back to its list.
TEST(Atlas, PastTheIndexLimitSystemsAreListedPerFolder) {
    const std::string dir = testDir("index-limit");
    const int atLimit = static_cast<int>(kIndexTableLimit);
    testing::writeSector(dir + "/edge", sparseSector(atLimit));
    ExportSector(dir + "/edge", ExportFormat::Atlas, dir + "/edge-atlas");
    const std::string edge = fileBytes(dir + "/edge-atlas/index.html");
    EXPECT_NE(edge.find("<a href=\"systems/001/system-1999.html\"><title>System 1999 at"), std::string::npos);
    EXPECT_NE(edge.find("<td class=\"r\"><a href=\"systems/001/system-1999.html\">1999</a></td>"), std::string::npos);
    EXPECT_NE(edge.find("Click a system to open its page."), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "/edge-atlas/systems/list-000.html"));
    EXPECT_EQ(fileBytes(dir + "/edge-atlas/systems/000/system-1.html").find("list-000.html"), std::string::npos);

    testing::writeSector(dir + "/past", sparseSector(atLimit + 1));
    const ExportResult result = ExportSector(dir + "/past", ExportFormat::Atlas, dir + "/atlas");
    EXPECT_EQ(result.systems, atLimit + 1);
    const std::string index = fileBytes(dir + "/atlas/index.html");
    EXPECT_EQ(index.find("<a href=\"systems/0"), std::string::npos) << "a system linked from the index's markup";
    EXPECT_EQ(index.find("Click a system to open its page."), std::string::npos);
    EXPECT_EQ(index.find("id=\"systems\""), std::string::npos) << "the index still lists every system";
    EXPECT_NE(index.find("The sector holds 2,001 systems, each with a page, in folders of at most 1,000 pages"),
              std::string::npos);
    EXPECT_NE(index.find("<tr><td><a href=\"systems/list-002.html\">002</a></td><td class=\"r\">1</td><td "
                         "class=\"r\">2000</td><td class=\"r\">2000</td></tr>"),
              std::string::npos);
    // The turning map still carries every system's page.
    EXPECT_NE(index.find("\"systems/002/system-2000.html\"]"), std::string::npos);
    // The last folder's list holds its one system and its filter box; a
    // system without bodies still has a page, which leads back to its list.
    const std::string last = fileBytes(dir + "/atlas/systems/list-002.html");
    EXPECT_NE(last.find("<a href=\"../systems/002/system-2000.html\">2000</a>"), std::string::npos);
    EXPECT_NE(last.find("id=\"filter\""), std::string::npos);
    EXPECT_NE(fileBytes(dir + "/atlas/systems/000/system-1.html").find("href=\"../../systems/list-000.html\""),
              std::string::npos);

    const Walk walk = walkAtlas(dir + "/atlas");
    EXPECT_EQ(walk.pages, static_cast<std::size_t>(atLimit + 1) + 1 + 3);  // + index + three list pages
    for (int id = 0; id <= atLimit; ++id) {
        const std::string page = fmt::format("systems/{:03}/system-{}.html", id / kPagesPerFolder, id);
        EXPECT_TRUE(walk.targets.count(page)) << page << " is reached from no page";
    }
}

// A settled sector: a page per empire (name, colour, race, capital, its
// systems and colonies) reached from the index, the owner on each system
// page, and the territories on the map in the empire's colour.
TEST(Atlas, EmpirePagesOwnersAndTerritories) {
    const std::string dir = testDir("atlas_settled");
    const logtest::FixtureSector f = logtest::makeSettledFixture(dir);
    const ExportResult result = ExportSector(f.base, ExportFormat::Atlas, dir + "/atlas");
    EXPECT_EQ(result.files, 5);  // index, two systems, one race, one empire (the vacant one has none)
    const Walk walk = walkAtlas(dir + "/atlas");
    EXPECT_TRUE(walk.targets.count("empires/000/empire-1.html"));
    EXPECT_FALSE(fs::exists(dir + "/atlas/empires/000/empire-0.html"));

    const std::string page = fileBytes(dir + "/atlas/empires/000/empire-1.html");
    EXPECT_NE(page.find("<dt>Name</dt><dd>Kethri Dominion</dd>"), std::string::npos) << page;
    EXPECT_NE(page.find("background:#c82810"), std::string::npos);
    EXPECT_NE(page.find("<dt>Race</dt><dd><a href=\"../../races/000/race-0.html\">race 0</a></dd>"), std::string::npos);
    EXPECT_NE(page.find("<dt>Capital</dt><dd><a href=\"../../systems/000/system-0.html\">0</a></dd>"),
              std::string::npos);
    EXPECT_NE(page.find("<dt>Systems controlled</dt><dd>2</dd><dt>Colonies</dt><dd>2 on planets, 0 moon bases</dd>"),
              std::string::npos);
    // Its systems, then its own colonies only: not the independent base.
    EXPECT_NE(page.find("<tr><td><a href=\"../../systems/000/system-1.html\">1</a></td><td class=\"r\">-2</td>"),
              std::string::npos);
    EXPECT_NE(page.find("<tr><td>Colony 0</td>"), std::string::npos);
    EXPECT_NE(page.find("<tr><td>Colony 3</td>"), std::string::npos);
    EXPECT_EQ(page.find("Moon base 2"), std::string::npos);

    const std::string index = fileBytes(dir + "/atlas/index.html");
    EXPECT_NE(index.find("<h2>Empires</h2>"), std::string::npos);
    EXPECT_NE(index.find("<td><a href=\"empires/000/empire-1.html\">Kethri Dominion</a></td>"), std::string::npos);
    EXPECT_NE(index.find("fill=\"#c82810\" fill-opacity=\"0.3\""), std::string::npos) << "territory on the map";

    const std::string system = fileBytes(dir + "/atlas/systems/000/system-0.html");
    EXPECT_NE(system.find("<a href=\"../../empires/000/empire-1.html\">Kethri Dominion (controls the system)</a>"),
              std::string::npos)
        << system;
    EXPECT_NE(system.find("<tr><th>Controlled by</th><td>race 0, Kethri Dominion</td></tr>"), std::string::npos);
    EXPECT_NE(system.find("<h3>Moon base 2 on moon 1 of orbit 3 of star A</h3>"), std::string::npos);
}

}  // namespace
}  // namespace orrimar::exports

// The atlas: a folder a browser opens offline. index.html holds the
// report's map (each system a link) and a searchable table of systems;
// every system has a page with its log, every race one with its
// description, each linking back. Pages are grouped in folders of at most
// kPagesPerFolder files. A settled sector adds a page per empire (its
// territory, capital and colonies), owners on the system pages, and the
// territories on the map in their owners' colours. Above kFullListingLimit systems only systems with
// bodies in orbit get pages, the index lists folders instead of systems and
// each folder has a list page of its own, so no page grows with the sector.
#include <fmt/format.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "logs/alien_log.h"
#include "logs/body_details.h"
#include "vocabulary/alien_names.h"
#include "vocabulary/body_names.h"
#include "documents/document.h"
#include "exports/atlas_map.h"
#include "exports/export_output.h"
#include "exports/export_walk.h"
#include "logs/sector_map_svg.h"
#include "logs/sector_report.h"
#include "logs/system_log.h"
#include "logs/colony_details.h"
#include "reading/settled_view.h"
#include "records/colony_codes.h"
#include "vocabulary/colony_words.h"
#include "common/ansi_text.h"
#include "common/bit_flags.h"
#include "records/world_types.h"

namespace orrimar::exports {

using namespace orrimar::reading;
using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::logs;

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kNoPage = -1;

// Kept free of '<' and '&' so the page stays well-formed XML without a
// CDATA section: it hides the rows of the table that do not hold the text
// typed into the filter box.
constexpr std::string_view kFilterScript =
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

// Paths relative to the atlas's root.
std::string systemPage(std::int64_t ordinal, std::int64_t systemId) {
    return fmt::format("systems/{}/system-{}.html", folderName(ordinal), systemId);
}
std::string racePage(std::int64_t raceId) { return fmt::format("races/{}/race-{}.html", folderName(raceId), raceId); }
std::string empirePage(std::int64_t empireId) {
    return fmt::format("empires/{}/empire-{}.html", folderName(empireId), empireId);
}
std::string listPage(std::int64_t folder) { return fmt::format("systems/list-{:03}.html", folder); }

// The links row of Document::links, for a page made elsewhere.
std::string navHtml(const std::vector<std::pair<std::string, std::string>>& links) {
    std::ostringstream out;
    Document doc(out, DocFormat::Html, "");
    const std::size_t head = out.str().size();
    doc.links(links);
    return out.str().substr(head);
}

// Pages two folders down reach the root through "../../".
constexpr std::string_view kUp = "../../";

class Atlas {
public:
    Atlas(SectorReader& sector, const std::string& baseName, const ExportNames& names, const fs::path& root,
          ExportSteps& steps, ExportResult& result)
        : sector_(sector),
          baseName_(baseName),
          names_(names),
          root_(root),
          steps_(steps),
          result_(result),
          settled_(sector) {}

    void write() {
        const std::int64_t count = sector_.systems().count();
        listed_ = count <= kFullListingLimit;
        planPages();
        writeIndex();
        if (!listed_) writeListPages();
        for (std::int64_t id = 0; id < count; ++id) {
            const std::int32_t ordinal = pageOf_[static_cast<std::size_t>(id)];
            if (ordinal != kNoPage) writeSystemPage(id, ordinal);
            ++result_.systems;
            steps_.step();
        }
        for (std::int64_t id = 0; id < sector_.aliens().count(); ++id) {
            writeRacePage(id);
            ++result_.races;
            steps_.step();
        }
        for (const EmpireEntry& empire : settled_.empires()) writeEmpirePage(empire);
    }

private:
    // Which systems get pages, and their place in the folders.
    void planPages() {
        const std::int64_t count = sector_.systems().count();
        pageOf_.assign(static_cast<std::size_t>(count), kNoPage);
        std::int32_t next = 0;
        for (std::int64_t id = 0; id < count; ++id) {
            const TSystemRec system = sector_.systems().read(id);
            int bodies = 0;
            for (int s = 0; s < starCountOf(system); ++s) bodies += system.planetCount[static_cast<std::size_t>(s)];
            if (listed_ || bodies > 0) pageOf_[static_cast<std::size_t>(id)] = next++;
        }
        paged_ = next;
    }

    std::string systemHref(std::int64_t systemId) const {
        if (systemId < 0 || systemId >= static_cast<std::int64_t>(pageOf_.size())) return {};
        const std::int32_t ordinal = pageOf_[static_cast<std::size_t>(systemId)];
        return ordinal == kNoPage ? std::string() : systemPage(ordinal, systemId);
    }

    fs::path createFile(const std::string& relative) {
        const fs::path path = root_ / relative;
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (ec) throw ioErrorFromErrno(ec.value(), path.parent_path().string());
        return path;
    }

    // Writes one page built in memory (pages are small; the index of a
    // listed sector is the largest, about 200 bytes a system).
    void writePage(const std::string& relative, const std::string& html) {
        BufferedFile file(createFile(relative).string());
        file << html;
        file.close();
        result_.bytes += html.size();
        ++result_.files;
    }

    std::string name(std::int64_t systemId) const { return names_.system(systemId).value_or(std::string()); }

    // One row of a systems table; `up` leads from the page to the root.
    std::string systemRow(std::int64_t id, const TSystemRec& system, std::string_view up) {
        int bodies = 0;
        int moons = 0;
        LifeLevel best = LifeLevel::None;
        forEachBodyOf(sector_, system, [&](int, int, std::int64_t, const TPlanetRec& body) {
            ++bodies;
            moons += body.moonCount;
            if (!isBelt(body.worldType)) best = std::max(best, lifeLevel(body.features));
        });
        std::string stars;
        for (int s = 0; s < starCountOf(system); ++s) {
            const auto i = static_cast<std::size_t>(s);
            if (s > 0) stars += " + ";
            stars += spectralDesignation(system.starKind[i], system.spectralDigit[i]);
        }
        const std::string href = systemHref(id);
        const std::string idCell =
            href.empty() ? std::to_string(id) : fmt::format("<a href=\"{}{}\">{}</a>", up, escapeHtml(href), id);
        return fmt::format(
            "<tr><td class=\"r\">{}</td><td>{}</td><td class=\"r\">{}</td><td class=\"r\">{}</td><td "
            "class=\"r\">{}</td><td>{}</td><td class=\"r\">{}</td><td class=\"r\">{}</td><td>{}</td></tr>",
            idCell, escapeHtml(name(id)), system.x, system.y, system.z, escapeHtml(stars), bodies, moons,
            best == LifeLevel::None ? std::string() : escapeHtml(lifeLevelName(best)));
    }

    static void beginSystemsTable(Document& doc, std::string_view what) {
        doc.rawHtml(
            fmt::format("<p><input id=\"filter\" class=\"filter\" type=\"search\" "
                        "placeholder=\"Filter {}: a name, a star class, a world type of life...\" "
                        "aria-label=\"Filter the table\" /> <span id=\"shown\" class=\"note\"></span></p>",
                        what));
        doc.rawHtml(
            "<table id=\"systems\" class=\"grid\"><thead><tr><th class=\"r\">Id</th><th>Name</th><th "
            "class=\"r\">X</th><th class=\"r\">Y</th><th class=\"r\">Z</th><th>Stars</th><th "
            "class=\"r\">Bodies</th><th class=\"r\">Moons</th><th>Life</th></tr></thead><tbody>");
    }
    static void endSystemsTable(Document& doc) {
        doc.rawHtml("</tbody></table>");
        doc.rawHtml(kFilterScript);
    }

    void writeIndex() {
        const std::int64_t count = sector_.systems().count();
        std::ostringstream page;
        const std::string sectorName = ansiToUtf8(sector_.sectorName());
        Document doc(page, DocFormat::Html, fmt::format("Atlas of {}", sectorName));
        doc.keyValues({{"Sector", sectorName},
                       {"Systems", grouped(count)},
                       {"Bodies in orbit", grouped(sector_.planets().count())},
                       {"Moons", grouped(sector_.moons().count())},
                       {"Alien races", grouped(sector_.aliens().count())}});

        int minX = 0, maxX = 0, minY = 0, maxY = 0, minZ = 0, maxZ = 0;
        for (std::int64_t id = 0; id < count; ++id) {
            const TSystemRec s = sector_.systems().read(id);
            if (id == 0) {
                minX = maxX = s.x;
                minY = maxY = s.y;
                minZ = maxZ = s.z;
            }
            minX = std::min<int>(minX, s.x), maxX = std::max<int>(maxX, s.x);
            minY = std::min<int>(minY, s.y), maxY = std::max<int>(maxY, s.y);
            minZ = std::min<int>(minZ, s.z), maxZ = std::max<int>(maxZ, s.z);
        }
        SectorMap map(count, minX, maxX, minY, maxY, minZ, maxZ);
        map.setLinks([this](std::int64_t id) { return systemHref(id); });
        AtlasMap turning;
        for (std::int64_t id = 0; id < count; ++id) {
            const TSystemRec s = sector_.systems().read(id);
            bool race = false;
            forEachBodyOf(sector_, s,
                          [&](int, int, std::int64_t, const TPlanetRec& body) { race = race || hasNativeRace(body); });
            const auto controller = settled_.controllerOf(id);
            turning.add(mapSystem(id, s, controller));
            map.add({s.x,
                     s.y,
                     s.z,
                     s.starKind[0],
                     race,
                     controller.has_value(),
                     id,
                     {},
                     0.0F,
                     controller ? std::optional(settled_.colourOf(*controller)) : std::nullopt});
        }
        for (const EmpireEntry& empire : settled_.empires()) {
            map.addTerritory(utf8Name(empire), empire.record.colour);
        }
        doc.heading("Map", 1);
        doc.rawHtml(turning.html());
        doc.rawHtml(AtlasMap::printedMapBegin());
        doc.figure(map.svg(), map.aggregated() ? map.caption() : map.caption() + " Click a system to open its page.");
        doc.rawHtml(AtlasMap::printedMapEnd());

        doc.heading("Systems", 1);
        if (listed_) {
            doc.paragraph("Every system of the sector has a page; type in the box to narrow the table.");
            beginSystemsTable(doc, "the systems");
            for (std::int64_t id = 0; id < count; ++id) doc.rawHtml(systemRow(id, sector_.systems().read(id), ""));
            endSystemsTable(doc);
        } else {
            doc.paragraph(fmt::format(
                "The sector holds {} systems, more than {}: pages are written only for the {} systems with bodies in "
                "orbit, in folders of at most {} pages, and each folder is listed on a page of its own. The full list "
                "of systems is in the sector report's .map text.",
                grouped(count), grouped(kFullListingLimit), grouped(paged_), grouped(kPagesPerFolder)));
            doc.rawHtml(
                "<table class=\"grid\"><thead><tr><th>Folder</th><th class=\"r\">Systems</th>"
                "<th>First id</th><th>Last id</th></tr></thead><tbody>");
            for (const FolderSpan& span : folderSpans()) {
                doc.rawHtml(
                    fmt::format("<tr><td><a href=\"{}\">{}</a></td><td class=\"r\">{}</td><td "
                                "class=\"r\">{}</td><td class=\"r\">{}</td></tr>",
                                listPage(span.folder), folderName(span.folder * kPagesPerFolder), span.pages,
                                span.firstId, span.lastId));
            }
            doc.rawHtml("</tbody></table>");
        }
        writeRaceIndex(doc);
        writeEmpireIndex(doc);
        doc.finish();
        writePage("index.html", page.str());
    }

    static std::string utf8Name(const EmpireEntry& empire) { return ansiToUtf8(empire.record.name.str()); }

    // A system as the turning map shows it: named, linked to its page and
    // tinted in the colour of the power controlling it.
    AtlasMapSystem mapSystem(std::int64_t id, const TSystemRec& s, std::optional<std::uint16_t> controller) const {
        AtlasMapSystem shown{id, s.x, s.y, s.z, s.starKind[0], s.luminosity[0], name(id), systemHref(id)};
        if (controller) {
            shown.ownerColour = settled_.colourOf(*controller);
            const EmpireEntry* empire = settled_.empireOf(*controller);
            shown.owner = empire != nullptr ? utf8Name(*empire) : raceText(sector_.names(), *controller);
        }
        return shown;
    }

    // A link to a system's page from a page `up` below the root, or the id
    // alone for a system without a page.
    std::string systemLink(std::int64_t systemId, std::string_view up) const {
        const std::string href = systemHref(systemId);
        const std::string label = labelled(sector_.names().system(systemId), systemId);
        return href.empty() ? escapeHtml(label)
                            : fmt::format("<a href=\"{}{}\">{}</a>", up, escapeHtml(href), escapeHtml(label));
    }
    std::string raceLink(std::uint16_t race, std::string_view up) const {
        const std::string label = raceText(sector_.names(), race);
        if (race == kNoRace || race >= sector_.aliens().count()) return escapeHtml(label);
        return fmt::format("<a href=\"{}{}\">{}</a>", up, racePage(race), escapeHtml(label));
    }
    static std::string swatch(const std::array<std::uint8_t, 3>& colour) {
        const std::string hex = colourHex(colour);
        return fmt::format(
            "<span style=\"display:inline-block;width:1em;height:1em;background:{0};"
            "vertical-align:middle\"></span> {0}",
            hex);
    }

    // The empires, each linked to its page; nothing for a sector without.
    void writeEmpireIndex(Document& doc) {
        if (settled_.empires().empty()) return;
        doc.heading("Empires", 1);
        doc.rawHtml(
            "<table class=\"grid\"><thead><tr><th>Empire</th><th>Race</th><th>Capital</th>"
            "<th class=\"r\">Systems</th><th class=\"r\">Colonies</th><th>People</th><th>Colour</th>"
            "</tr></thead><tbody>");
        for (const EmpireEntry& empire : settled_.empires()) {
            const RaceHoldings holdings = settled_.holdingsOf(empire.record.race);
            doc.rawHtml(
                fmt::format("<tr><td><a href=\"{}\">{}</a></td><td>{}</td><td>{}</td><td class=\"r\">{}</td>"
                            "<td class=\"r\">{}</td><td>{}</td><td>{}</td></tr>",
                            empirePage(empire.id), escapeHtml(utf8Name(empire)), raceLink(empire.record.race, ""),
                            systemLink(empire.record.capitalSystemId, ""), holdings.systems.size(),
                            holdings.planetColonies + holdings.moonBases, escapeHtml(peopleWords(holdings.people)),
                            swatch(empire.record.colour)));
        }
        doc.rawHtml("</tbody></table>");
    }

    void writeEmpirePage(const EmpireEntry& empire) {
        std::ostringstream page;
        const std::string sectorName = ansiToUtf8(sector_.sectorName());
        Document doc(page, DocFormat::Html,
                     fmt::format("{} (empire {} of {})", utf8Name(empire), empire.id, sectorName));
        const std::vector<std::pair<std::string, std::string>> nav = {{std::string(kUp) + "index.html", "Atlas index"}};
        doc.links(nav);
        const RaceHoldings holdings = settled_.holdingsOf(empire.record.race);
        doc.rawHtml(fmt::format(
            "<dl><dt>Name</dt><dd>{}</dd><dt>Colour</dt><dd>{}</dd><dt>Race</dt><dd>{}</dd><dt>Capital</dt><dd>{}</dd>"
            "<dt>Systems controlled</dt><dd>{}</dd><dt>Colonies</dt><dd>{} on planets, {} moon bases</dd>"
            "<dt>People</dt><dd>{}</dd></dl>",
            escapeHtml(utf8Name(empire)), swatch(empire.record.colour), raceLink(empire.record.race, kUp),
            systemLink(empire.record.capitalSystemId, kUp), holdings.systems.size(), holdings.planetColonies,
            holdings.moonBases, escapeHtml(peopleWords(holdings.people))));

        doc.heading("Systems", 1);
        if (holdings.systems.empty()) {
            doc.paragraph("The empire controls no system.");
        } else {
            doc.rawHtml(
                "<table class=\"grid\"><thead><tr><th>System</th><th class=\"r\">X</th><th class=\"r\">Y</th>"
                "<th class=\"r\">Z</th></tr></thead><tbody>");
            for (const std::int32_t systemId : holdings.systems) {
                const TSystemRec system = sector_.systems().read(systemId);
                doc.rawHtml(
                    fmt::format("<tr><td>{}</td><td class=\"r\">{}</td><td class=\"r\">{}</td>"
                                "<td class=\"r\">{}</td></tr>",
                                systemLink(systemId, kUp), system.x, system.y, system.z));
            }
            doc.rawHtml("</tbody></table>");
        }

        doc.heading("Colonies", 1);
        doc.rawHtml(
            "<table class=\"grid\"><thead><tr><th>Colony</th><th>System</th><th>People</th><th>Type</th>"
            "<th>Starport</th><th>Government</th></tr></thead><tbody>");
        for (const PlacedColony& colony : settled_.colonies()) {
            if (colony.record.allegiance != empire.record.race) continue;
            const TColonyRec& c = colony.record;
            doc.rawHtml(fmt::format("<tr><td>{}</td><td>{}</td><td>{}</td><td>{}</td><td>{}</td><td>{}</td></tr>",
                                    escapeHtml(colonyTitle(colony)),
                                    colony.systemId < 0 ? std::string() : systemLink(colony.systemId, kUp),
                                    escapeHtml(fmt::format("{} of {}", populationWords(c.populationCode),
                                                           raceText(sector_.names(), c.race))),
                                    escapeHtml(colonyTypeName(c.colonyType)), escapeHtml(starportName(c.starport)),
                                    escapeHtml(governmentText(c))));
        }
        doc.rawHtml("</tbody></table>");
        doc.links(nav);
        doc.finish();
        writePage(empirePage(empire.id), page.str());
    }

    void writeRaceIndex(Document& doc) {
        doc.heading("Alien races", 1);
        const std::int64_t races = sector_.aliens().count();
        if (races == 0) {
            doc.paragraph("The sector holds no alien races.");
            return;
        }
        if (races > kFullListingLimit) {
            doc.paragraph(fmt::format("{} races, each with a page in the races folder.", grouped(races)));
            return;
        }
        doc.rawHtml(
            "<table class=\"grid\"><thead><tr><th class=\"r\">Race</th><th>Kind</th><th>Body form</th>"
            "<th class=\"r\">Level</th><th>Home system</th></tr></thead><tbody>");
        for (std::int64_t id = 0; id < races; ++id) {
            const TAlienRec race = sector_.aliens().read(id);
            const auto home = homeSystemOf(sector_, race);
            std::string homeCell;
            if (home) {
                const std::string href = systemHref(*home);
                homeCell = href.empty() ? std::to_string(*home)
                                        : fmt::format("<a href=\"{}\">{}</a>", escapeHtml(href), *home);
            }
            doc.rawHtml(
                fmt::format("<tr><td class=\"r\"><a href=\"{}\">{}</a></td><td>{}</td><td>{}</td>"
                            "<td class=\"r\">{}</td><td>{}</td></tr>",
                            racePage(id), id, escapeHtml(subtypeName(race.subtype)),
                            escapeHtml(bodyFormName(race.bodyForm)), race.techLevel, homeCell));
        }
        doc.rawHtml("</tbody></table>");
    }

    struct FolderSpan {
        std::int64_t folder = 0;
        std::int64_t pages = 0;
        std::int64_t firstId = 0;
        std::int64_t lastId = 0;
    };
    std::vector<FolderSpan> folderSpans() const {
        std::vector<FolderSpan> spans;
        for (std::size_t id = 0; id < pageOf_.size(); ++id) {
            const std::int32_t ordinal = pageOf_[id];
            if (ordinal == kNoPage) continue;
            const std::int64_t folder = ordinal / kPagesPerFolder;
            if (spans.empty() || spans.back().folder != folder) {
                spans.push_back({folder, 0, static_cast<std::int64_t>(id), 0});
            }
            ++spans.back().pages;
            spans.back().lastId = static_cast<std::int64_t>(id);
        }
        return spans;
    }

    // Above the listing limit: one searchable list per folder.
    void writeListPages() {
        const std::string sectorName = ansiToUtf8(sector_.sectorName());
        for (const FolderSpan& span : folderSpans()) {
            std::ostringstream page;
            Document doc(page, DocFormat::Html,
                         fmt::format("Systems {} to {} of {}", span.firstId, span.lastId, sectorName));
            doc.links({{"../index.html", "Atlas index"}});
            beginSystemsTable(doc, "these systems");
            for (std::int64_t id = span.firstId; id <= span.lastId; ++id) {
                if (pageOf_[static_cast<std::size_t>(id)] == kNoPage) continue;
                doc.rawHtml(systemRow(id, sector_.systems().read(id), "../"));
            }
            endSystemsTable(doc);
            doc.finish();
            writePage(listPage(span.folder), page.str());
        }
    }

    void writeSystemPage(std::int64_t id, std::int32_t ordinal) {
        std::ostringstream page;
        const std::string sectorName = ansiToUtf8(sector_.sectorName());
        const auto systemName = names_.system(id);
        Document doc(page, DocFormat::Html,
                     systemName ? fmt::format("{} (system {} of {})", *systemName, id, sectorName)
                                : fmt::format("System {} of {}", id, sectorName));
        std::vector<std::pair<std::string, std::string>> nav = {{std::string(kUp) + "index.html", "Atlas index"}};
        if (!listed_)
            nav.emplace_back(std::string(kUp) + listPage(ordinal / kPagesPerFolder), "Systems of this folder");
        doc.links(nav);
        writeSystemLog(doc, sector_, id, true, &settled_);

        // The races of the system: the native races of its worlds and the
        // race recorded for the system, each once.
        std::vector<std::pair<std::string, std::string>> races;
        const TSystemRec system = sector_.systems().read(id);
        const auto addRace = [&](std::int64_t raceId, const std::string& where) {
            if (raceId < 0 || raceId >= sector_.aliens().count()) return;
            const std::string href = std::string(kUp) + racePage(raceId);
            for (const auto& r : races) {
                if (r.first == href) return;
            }
            races.emplace_back(href, fmt::format("Race {} ({})", raceId, where));
        };
        forEachBodyOf(sector_, system, [&](int s, int orbit, std::int64_t, const TPlanetRec& body) {
            if (hasNativeRace(body)) {
                addRace(body.nativeRaceId, fmt::format("native of star {} orbit {}", starLetter(s), orbit));
            }
        });
        if (system.systemRaceId != kNoRace) addRace(system.systemRaceId, "recorded for the system");
        std::vector<std::pair<std::string, std::string>> owners;
        if (const auto controller = settled_.controllerOf(id)) {
            addRace(*controller, "controls the system");
            if (const EmpireEntry* empire = settled_.empireOf(*controller)) {
                owners.emplace_back(std::string(kUp) + empirePage(empire->id),
                                    fmt::format("{} (controls the system)", utf8Name(*empire)));
            }
        }
        for (const PlacedColony* colony : settled_.inSystem(id)) {
            if (colony->record.allegiance != kNoRace) addRace(colony->record.allegiance, "owns a colony here");
        }
        doc.heading("Races", 1);
        if (races.empty()) {
            doc.paragraph("No race is native to this system.");
        } else {
            doc.links(races);
        }
        if (!owners.empty()) {
            doc.heading("Empire", 1);
            doc.links(owners);
        }
        doc.links(nav);
        doc.finish();
        writePage(systemPage(ordinal, id), page.str());
    }

    void writeRacePage(std::int64_t id) {
        std::ostringstream log;
        writeRaceLog(baseName_, static_cast<std::int32_t>(id), 0, DocFormat::Html, log);
        std::string html = log.str();
        std::vector<std::pair<std::string, std::string>> nav = {{std::string(kUp) + "index.html", "Atlas index"}};
        const auto home = homeSystemOf(sector_, sector_.aliens().read(id));
        if (home) {
            const std::string href = systemHref(*home);
            if (!href.empty()) nav.emplace_back(std::string(kUp) + href, fmt::format("Home system {}", *home));
        }
        // The race's log is a whole page: the links go in right after its
        // opening heading and before its close.
        const std::string row = navHtml(nav);
        const std::size_t headingEnd = html.find("</h1>");
        const std::size_t bodyEnd = html.rfind("</body>");
        if (headingEnd != std::string::npos && bodyEnd != std::string::npos) {
            html.insert(bodyEnd, row);
            html.insert(headingEnd + 5 + kLineEnd.size(), row);
        }
        writePage(racePage(id), html);
    }

    SectorReader& sector_;
    const std::string& baseName_;
    const ExportNames& names_;
    fs::path root_;
    ExportSteps& steps_;
    ExportResult& result_;
    bool listed_ = true;
    std::vector<std::int32_t> pageOf_;  // page ordinal per system, kNoPage for none
    std::int32_t paged_ = 0;
    SettledView settled_;
};

}  // namespace

void writeAtlas(SectorReader& sector, const std::string& baseName, const ExportNames& names, const std::string& folder,
                ExportSteps& steps, ExportResult& result) {
    Atlas atlas(sector, baseName, names, fs::path(folder), steps, result);
    atlas.write();
    result.planets = sector.planets().count();
    result.moons = sector.moons().count();
}

}  // namespace orrimar::exports

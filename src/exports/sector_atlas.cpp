// The atlas: a folder a browser opens offline. index.html holds the
// report's map (each system a link) and a searchable table of systems;
// every system has a page with its log, every race one with its
// description, each linking back. Pages are grouped in folders of at most
// kPagesPerFolder files. A settled sector adds a page per empire (its
// territory, capital and colonies), owners on the system pages, and the
// territories on the map in their owners' colours. Above kIndexTableLimit
// systems the index lists folders instead of systems, each folder has a
// list page of its own and the printed map's dots are not links, so the
// index opens quickly; above kFullListingLimit only systems with bodies in
// orbit get pages, so no page grows with the sector.
// This file writes the index and the list pages; atlas_thing_pages.cpp the
// page of each system, race and empire.
#include <fmt/format.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "vocabulary/alien_names.h"
#include "vocabulary/body_names.h"
#include "documents/document.h"
#include "exports/atlas_map.h"
#include "exports/atlas_pages.h"
#include "exports/atlas_writer.h"
#include "exports/export_output.h"
#include "exports/players_pages.h"
#include "logs/body_details.h"
#include "logs/sector_map_svg.h"
#include "logs/sector_report.h"
#include "records/colony_codes.h"
#include "vocabulary/colony_words.h"
#include "common/ansi_text.h"
#include "records/world_types.h"

namespace orrimar::exports {

using namespace orrimar::reading;
using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::logs;

namespace fs = std::filesystem;

Atlas::Atlas(SectorReader& sector, const std::string& baseName, const ExportNames& names, const fs::path& root,
             const AtlasReaders& readers, ExportSteps& steps, ExportResult& result)
    : sector_(sector),
      baseName_(baseName),
      names_(names),
      root_(root),
      readers_(readers),
      steps_(steps),
      result_(result),
      settled_(sector) {}

bool Atlas::knows(ThingKind kind, std::int64_t id) const { return !readers_.view || readers_.view->knows({kind, id}); }

bool Atlas::knowsRace(std::int64_t race) const {
    return race >= 0 && race != kNoRace && race < sector_.aliens().count() && knows(ThingKind::Race, race);
}

bool Atlas::knowsColony(const PlacedColony& colony) const {
    return knows(ThingKind::Colony, colony.id) && (colony.systemId < 0 || knows(ThingKind::System, colony.systemId));
}

Atlas::KnownHoldings Atlas::holdingsOf(std::uint16_t race) const {
    if (!players()) {
        const RaceHoldings all = settled_.holdingsOf(race);
        return {all.systems, all.planetColonies, all.moonBases, all.people};
    }
    KnownHoldings known;
    for (const std::int32_t systemId : settled_.holdingsOf(race).systems) {
        if (knows(ThingKind::System, systemId)) known.systems.push_back(systemId);
    }
    for (const PlacedColony& colony : settled_.colonies()) {
        if (colony.record.allegiance != race || !knowsColony(colony)) continue;
        ++(isMoonBase(colony.record) ? known.moonBases : known.planetColonies);
        known.people += populationPeople(colony.record.populationCode);
    }
    return known;
}

void Atlas::write() {
    const std::int64_t count = sector_.systems().count();
    static_assert(kIndexTableLimit <= kFullListingLimit, "a sector too large to page whole is too large to list");
    listed_ = count <= kFullListingLimit;
    indexTable_ = count <= kIndexTableLimit;
    planPages();
    writeIndex();
    if (!indexTable_) writeListPages();
    for (std::int64_t id = 0; id < count; ++id) {
        const std::int32_t ordinal = pageOf_[static_cast<std::size_t>(id)];
        if (ordinal != kNoPage) writeSystemPage(id, ordinal);
        if (knows(ThingKind::System, id)) ++result_.systems;
        steps_.step();
    }
    for (std::int64_t id = 0; id < sector_.aliens().count(); ++id) {
        if (knows(ThingKind::Race, id)) {
            writeRacePage(id);
            ++result_.races;
        }
        steps_.step();
    }
    for (const EmpireEntry& empire : settled_.empires()) {
        if (knows(ThingKind::Empire, empire.id)) writeEmpirePage(empire);
    }
}

// Which systems get pages, and their place in the folders.
void Atlas::planPages() {
    const std::int64_t count = sector_.systems().count();
    pageOf_.assign(static_cast<std::size_t>(count), kNoPage);
    std::int32_t next = 0;
    for (std::int64_t id = 0; id < count; ++id) {
        if (!knows(ThingKind::System, id)) continue;
        const TSystemRec system = sector_.systems().read(id);
        int bodies = 0;
        for (int s = 0; s < starCountOf(system); ++s) bodies += system.planetCount[static_cast<std::size_t>(s)];
        if (listed_ || bodies > 0) pageOf_[static_cast<std::size_t>(id)] = next++;
    }
    paged_ = next;
}

std::string Atlas::systemHref(std::int64_t systemId) const {
    if (systemId < 0 || systemId >= static_cast<std::int64_t>(pageOf_.size())) return {};
    const std::int32_t ordinal = pageOf_[static_cast<std::size_t>(systemId)];
    return ordinal == kNoPage ? std::string() : systemPage(ordinal, systemId);
}

fs::path Atlas::createFile(const std::string& relative) {
    const fs::path path = root_ / relative;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec) throw ioErrorFromErrno(ec.value(), path.parent_path().string());
    return path;
}

// Writes one page built in memory (pages are small; the index of a listed
// sector is the largest, about 200 bytes a system).
void Atlas::writePage(const std::string& relative, const std::string& html) {
    BufferedFile file(createFile(relative).string());
    file << html;
    file.close();
    result_.bytes += html.size();
    ++result_.files;
}

std::string Atlas::name(std::int64_t systemId) const { return names_.system(systemId).value_or(std::string()); }

// One row of a systems table; `up` leads from the page to the root. The
// players' table names a system by its name or place, the game master's
// by its id beside its name.
std::string Atlas::systemRow(std::int64_t id, const TSystemRec& system, std::string_view up) {
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
    const std::string life = best == LifeLevel::None ? std::string() : escapeHtml(lifeLevelName(best));
    if (players()) {
        const std::string title = sheets::playersSystemTitle(name(id), system.x, system.y, system.z);
        return fmt::format(
            "<tr><td><a href=\"{}{}\">{}</a></td><td class=\"r\">{}</td><td class=\"r\">{}</td><td "
            "class=\"r\">{}</td><td>{}</td><td class=\"r\">{}</td><td class=\"r\">{}</td><td>{}</td></tr>",
            up, escapeHtml(href), escapeHtml(title), system.x, system.y, system.z, escapeHtml(stars), bodies, moons,
            life);
    }
    const std::string idCell =
        href.empty() ? std::to_string(id) : fmt::format("<a href=\"{}{}\">{}</a>", up, escapeHtml(href), id);
    return fmt::format(
        "<tr><td class=\"r\">{}</td><td>{}</td><td class=\"r\">{}</td><td class=\"r\">{}</td><td "
        "class=\"r\">{}</td><td>{}</td><td class=\"r\">{}</td><td class=\"r\">{}</td><td>{}</td></tr>",
        idCell, escapeHtml(name(id)), system.x, system.y, system.z, escapeHtml(stars), bodies, moons, life);
}

void Atlas::beginSystemsTable(Document& doc, std::string_view what) const {
    doc.rawHtml(
        fmt::format("<p><input id=\"filter\" class=\"filter\" type=\"search\" "
                    "placeholder=\"Filter {}: a name, a star class, a world type of life...\" "
                    "aria-label=\"Filter the table\" /> <span id=\"shown\" class=\"note\"></span></p>",
                    what));
    doc.rawHtml(players() ? "<table id=\"systems\" class=\"grid\"><thead><tr><th>System</th><th "
                            "class=\"r\">X</th><th class=\"r\">Y</th><th class=\"r\">Z</th><th>Stars</th><th "
                            "class=\"r\">Bodies</th><th class=\"r\">Moons</th><th>Life</th></tr></thead><tbody>"
                          : "<table id=\"systems\" class=\"grid\"><thead><tr><th class=\"r\">Id</th><th>Name</th><th "
                            "class=\"r\">X</th><th class=\"r\">Y</th><th class=\"r\">Z</th><th>Stars</th><th "
                            "class=\"r\">Bodies</th><th class=\"r\">Moons</th><th>Life</th></tr></thead><tbody>");
}

void Atlas::endSystemsTable(Document& doc) {
    doc.rawHtml("</tbody></table>");
    doc.rawHtml(kFilterScript);
}

AtlasMapSystem Atlas::mapSystem(std::int64_t id, const TSystemRec& s, std::optional<std::uint16_t> controller) const {
    AtlasMapSystem shown{id, s.x, s.y, s.z, s.starKind[0], s.luminosity[0], name(id), systemHref(id)};
    if (controller) {
        shown.ownerColour = settled_.colourOf(*controller);
        const EmpireEntry* empire = settled_.empireOf(*controller);
        shown.owner = empire != nullptr ? utf8Name(*empire) : raceText(sector_.names(), *controller);
    }
    return shown;
}

void Atlas::writeIndex() {
    const std::int64_t count = sector_.systems().count();
    std::ostringstream page;
    const std::string sectorName = ansiToUtf8(sector_.sectorName());
    Document doc(page, DocFormat::Html, fmt::format("Atlas of {}", sectorName));
    std::int64_t knownSystems = 0;
    std::int64_t knownRaces = 0;
    for (std::int64_t id = 0; id < count; ++id) knownSystems += knows(ThingKind::System, id) ? 1 : 0;
    for (std::int64_t id = 0; id < sector_.aliens().count(); ++id) knownRaces += knows(ThingKind::Race, id) ? 1 : 0;
    if (players()) {
        doc.keyValues({{"Sector", sectorName},
                       {"Systems on the map", grouped(count)},
                       {"Systems explored", grouped(knownSystems)},
                       {"Alien races known", grouped(knownRaces)}});
    } else {
        doc.keyValues({{"Sector", sectorName},
                       {"Systems", grouped(count)},
                       {"Bodies in orbit", grouped(sector_.planets().count())},
                       {"Moons", grouped(sector_.moons().count())},
                       {"Alien races", grouped(sector_.aliens().count())}});
    }
    writeNotes(doc, {{kWholeSector, "The sector"}});

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
    // Tens of thousands of links on one page slow its loading by seconds;
    // past the limit the turning map and the list pages lead to the systems.
    if (indexTable_) map.setLinks([this](std::int64_t id) { return systemHref(id); });
    if (players()) map.hideIds();
    AtlasMap turning;
    for (std::int64_t id = 0; id < count; ++id) {
        const TSystemRec s = sector_.systems().read(id);
        if (!knows(ThingKind::System, id)) {
            // Where the players have not been they see a star and no more.
            map.add({s.x, s.y, s.z, s.starKind[0], false, false, -1, {}, 0.0F, std::nullopt});
            AtlasMapSystem star{id, s.x, s.y, s.z, s.starKind[0], s.luminosity[0]};
            star.unknown = true;
            turning.add(star);
            continue;
        }
        bool race = false;
        forEachBodyOf(sector_, s, [&](int, int, std::int64_t, const TPlanetRec& body) {
            race = race || (hasNativeRace(body) && (!players() || knowsRace(body.nativeRaceId)));
        });
        auto controller = settled_.controllerOf(id);
        if (controller && players()) {
            const EmpireEntry* empire = settled_.empireOf(*controller);
            if (empire == nullptr || !knows(ThingKind::Empire, empire->id)) controller.reset();
        }
        turning.add(mapSystem(id, s, controller));
        map.add({s.x, s.y, s.z, s.starKind[0], race, controller.has_value(), id, players() ? name(id) : std::string(),
                 0.0F, controller ? std::optional(settled_.colourOf(*controller)) : std::nullopt});
    }
    for (const EmpireEntry& empire : settled_.empires()) {
        if (knows(ThingKind::Empire, empire.id)) map.addTerritory(utf8Name(empire), empire.record.colour);
    }
    doc.heading("Map", 1);
    doc.rawHtml(turning.html());
    doc.rawHtml(AtlasMap::printedMapBegin());
    doc.figure(map.svg(),
               indexTable_ && !map.aggregated() ? map.caption() + " Click a system to open its page." : map.caption());
    doc.rawHtml(AtlasMap::printedMapEnd());

    doc.heading("Systems", 1);
    if (indexTable_) {
        doc.paragraph(players() ? "Every system the party knows has a page; type in the box to narrow the table."
                                : "Every system of the sector has a page; type in the box to narrow the table.");
        beginSystemsTable(doc, "the systems");
        for (std::int64_t id = 0; id < count; ++id) {
            if (knows(ThingKind::System, id)) doc.rawHtml(systemRow(id, sector_.systems().read(id), ""));
        }
        endSystemsTable(doc);
    } else if (listed_) {
        doc.paragraph(fmt::format(
            "{} {} systems, each with a page, in folders of at most {} pages; each folder is listed on a page of "
            "its own with a box to narrow its table, and a click on a star of the map opens its page.",
            players() ? "The party knows" : "The sector holds", grouped(paged_), grouped(kPagesPerFolder)));
        writeFolderTable(doc);
    } else if (players()) {
        doc.paragraph(fmt::format(
            "The party knows {} systems with bodies in orbit, each with a page, in folders of at most {} pages; "
            "each folder is listed on a page of its own.",
            grouped(paged_), grouped(kPagesPerFolder)));
        writeFolderTable(doc);
    } else {
        doc.paragraph(fmt::format(
            "The sector holds {} systems, more than {}: pages are written only for the {} systems with bodies in "
            "orbit, in folders of at most {} pages, and each folder is listed on a page of its own. The full list "
            "of systems is in the sector report's .map text.",
            grouped(count), grouped(kFullListingLimit), grouped(paged_), grouped(kPagesPerFolder)));
        writeFolderTable(doc);
    }
    writeRaceIndex(doc);
    writeEmpireIndex(doc);
    doc.finish();
    writePage("index.html", page.str());
}

// The empires, each linked to its page; nothing for a sector without.
void Atlas::writeEmpireIndex(Document& doc) {
    bool any = false;
    for (const EmpireEntry& empire : settled_.empires()) any = any || knows(ThingKind::Empire, empire.id);
    if (!any) return;
    doc.heading("Empires", 1);
    doc.rawHtml(
        "<table class=\"grid\"><thead><tr><th>Empire</th><th>Race</th><th>Capital</th>"
        "<th class=\"r\">Systems</th><th class=\"r\">Colonies</th><th>People</th><th>Colour</th>"
        "</tr></thead><tbody>");
    for (const EmpireEntry& empire : settled_.empires()) {
        if (!knows(ThingKind::Empire, empire.id)) continue;
        const KnownHoldings holdings = holdingsOf(empire.record.race);
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

void Atlas::writeRaceIndex(Document& doc) {
    doc.heading("Alien races", 1);
    const std::int64_t races = sector_.aliens().count();
    std::int64_t known = 0;
    for (std::int64_t id = 0; id < races; ++id) known += knows(ThingKind::Race, id) ? 1 : 0;
    if (known == 0) {
        doc.paragraph(players() ? "The party has met no alien race." : "The sector holds no alien races.");
        return;
    }
    if (known > kFullListingLimit) {
        doc.paragraph(fmt::format("{} races, each with a page in the races folder.", grouped(known)));
        return;
    }
    doc.rawHtml(players() ? "<table class=\"grid\"><thead><tr><th>Race</th><th>Kind</th><th>Body form</th>"
                            "<th class=\"r\">Level</th><th>Home system</th></tr></thead><tbody>"
                          : "<table class=\"grid\"><thead><tr><th class=\"r\">Race</th><th>Kind</th><th>Body form</th>"
                            "<th class=\"r\">Level</th><th>Home system</th></tr></thead><tbody>");
    for (std::int64_t id = 0; id < races; ++id) {
        if (!knows(ThingKind::Race, id)) continue;
        const TAlienRec race = sector_.aliens().read(id);
        const auto home = homeSystemOf(sector_, race);
        std::string homeCell;
        if (home && players()) {
            if (knows(ThingKind::System, *home)) homeCell = systemLink(*home, "");
        } else if (home) {
            const std::string href = systemHref(*home);
            homeCell =
                href.empty() ? std::to_string(*home) : fmt::format("<a href=\"{}\">{}</a>", escapeHtml(href), *home);
        }
        const std::string raceCell = players()
                                         ? fmt::format("<td><a href=\"{}\">{}</a></td>", racePage(id),
                                                       escapeHtml(playersRaceName(sector_.names(), race, id)))
                                         : fmt::format("<td class=\"r\"><a href=\"{}\">{}</a></td>", racePage(id), id);
        doc.rawHtml(fmt::format("<tr>{}<td>{}</td><td>{}</td><td class=\"r\">{}</td><td>{}</td></tr>", raceCell,
                                escapeHtml(subtypeName(race.subtype)), escapeHtml(bodyFormName(race.bodyForm)),
                                race.techLevel, homeCell));
    }
    doc.rawHtml("</tbody></table>");
}

std::vector<Atlas::FolderSpan> Atlas::folderSpans() const {
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

// The players' table names each folder; the game master's adds its first
// and last system ids.
void Atlas::writeFolderTable(Document& doc) const {
    if (players()) {
        doc.rawHtml("<table class=\"grid\"><thead><tr><th>Folder</th><th class=\"r\">Systems</th></tr></thead><tbody>");
        for (const FolderSpan& span : folderSpans()) {
            doc.rawHtml(fmt::format("<tr><td><a href=\"{}\">{}</a></td><td class=\"r\">{}</td></tr>",
                                    listPage(span.folder), folderName(span.folder * kPagesPerFolder), span.pages));
        }
    } else {
        doc.rawHtml(
            "<table class=\"grid\"><thead><tr><th>Folder</th><th class=\"r\">Systems</th>"
            "<th>First id</th><th>Last id</th></tr></thead><tbody>");
        for (const FolderSpan& span : folderSpans()) {
            doc.rawHtml(
                fmt::format("<tr><td><a href=\"{}\">{}</a></td><td class=\"r\">{}</td><td "
                            "class=\"r\">{}</td><td class=\"r\">{}</td></tr>",
                            listPage(span.folder), folderName(span.folder * kPagesPerFolder), span.pages, span.firstId,
                            span.lastId));
        }
    }
    doc.rawHtml("</tbody></table>");
}

// Past the index's limit: one searchable list per folder.
void Atlas::writeListPages() {
    const std::string sectorName = ansiToUtf8(sector_.sectorName());
    for (const FolderSpan& span : folderSpans()) {
        std::ostringstream page;
        Document doc(
            page, DocFormat::Html,
            players() ? fmt::format("Systems of {}, folder {}", sectorName, folderName(span.folder * kPagesPerFolder))
                      : fmt::format("Systems {} to {} of {}", span.firstId, span.lastId, sectorName));
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

void writeAtlas(SectorReader& sector, const std::string& baseName, const ExportNames& names, const std::string& folder,
                const AtlasReaders& readers, ExportSteps& steps, ExportResult& result) {
    Atlas atlas(sector, baseName, names, fs::path(folder), readers, steps, result);
    atlas.write();
    result.planets = sector.planets().count();
    result.moons = sector.moons().count();
}

}  // namespace orrimar::exports

// The atlas's page of each system, race and empire, for the game master
// (the logs, with ids and record codes) or for the players (their sheet of
// the system and the words of a race, naming only what they know).
#include <fmt/format.h>

#include <sstream>

#include "common/ansi_text.h"
#include "exports/atlas_pages.h"
#include "exports/atlas_writer.h"
#include "exports/players_pages.h"
#include "logs/alien_log.h"
#include "logs/body_details.h"
#include "logs/colony_details.h"
#include "logs/system_log.h"
#include "records/colony_codes.h"
#include "sheets/system_sheet.h"
#include "vocabulary/body_names.h"
#include "vocabulary/colony_words.h"

namespace orrimar::exports {

using namespace orrimar::reading;
using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::logs;

namespace {

// A colony's government in the players' words alone: its law, stability
// and crime without the levels' numbers.
std::string playersGovernment(const TColonyRec& colony) {
    return fmt::format("law: {}; stability: {}; crime: {}", lawWord(colony.lawLevel), stabilityWord(colony.stability),
                       crimeWord(colony.crimeLevel));
}

}  // namespace

std::string Atlas::utf8Name(const EmpireEntry& empire) const { return ansiToUtf8(empire.record.name.str()); }

// A link to a system's page from a page `up` below the root, or its name
// alone for a system without a page; nothing for a system the players do
// not know.
std::string Atlas::systemLink(std::int64_t systemId, std::string_view up) const {
    std::string label;
    if (players()) {
        if (systemId < 0 || systemId >= sector_.systems().count() || !knows(ThingKind::System, systemId)) return {};
        const TSystemRec system = sector_.systems().read(systemId);
        label = sheets::playersSystemTitle(name(systemId), system.x, system.y, system.z);
    } else {
        label = labelled(sector_.names().system(systemId), systemId);
    }
    const std::string href = systemHref(systemId);
    return href.empty() ? escapeHtml(label)
                        : fmt::format("<a href=\"{}{}\">{}</a>", up, escapeHtml(href), escapeHtml(label));
}

// A link to a race's page; for the players its name, and nothing for a
// race they do not know.
std::string Atlas::raceLink(std::uint16_t race, std::string_view up) const {
    if (players()) {
        if (!knowsRace(race)) return {};
        const std::string label = playersRaceName(sector_.names(), sector_.aliens().read(race), race);
        return fmt::format("<a href=\"{}{}\">{}</a>", up, racePage(race), escapeHtml(label));
    }
    const std::string label = raceText(sector_.names(), race);
    if (race == kNoRace || race >= sector_.aliens().count()) return escapeHtml(label);
    return fmt::format("<a href=\"{}{}\">{}</a>", up, racePage(race), escapeHtml(label));
}

// Where a colony lies, in the players' words: its world's name, or the
// world's place in its system ("orbit 2 of star A", "a moon of orbit 3 of
// star B").
std::string Atlas::colonyWhere(const PlacedColony& colony) const {
    if (colony.systemId < 0) return "an unknown world";
    const TSystemRec system = sector_.systems().read(colony.systemId);
    const SystemNamer namer(sector_.names(), colony.systemId, system);
    const auto place = worldPlace(system, colony.planetId);
    std::string where = place ? fmt::format("orbit {} of star {}", place->orbit, starLetter(place->star))
                              : std::string("a world of the system");
    std::optional<std::string> world = namer.planet(colony.planetId);
    if (isMoonBase(colony.record)) {
        const TPlanetRec planet = sector_.planets().read(colony.planetId);
        world = namer.moon(colony.planetId, planet.firstMoonId, colony.record.worldId);
        where = "a moon of " + where;
    }
    return world ? ansiToUtf8(*world) : where;
}

void Atlas::writeNotes(Document& doc, const std::vector<NotedThing>& things) const {
    if (readers_.notes.empty()) return;
    writeNotesSection(doc, readers_.notes, things, readers_.audience);
}

void Atlas::writeEmpirePage(const EmpireEntry& empire) {
    std::ostringstream page;
    const std::string sectorName = ansiToUtf8(sector_.sectorName());
    Document doc(page, DocFormat::Html,
                 players() ? fmt::format("{} of {}", utf8Name(empire), sectorName)
                           : fmt::format("{} (empire {} of {})", utf8Name(empire), empire.id, sectorName));
    const Links nav = {{std::string(kUp) + "index.html", "Atlas index"}};
    doc.links(nav);
    const KnownHoldings holdings = holdingsOf(empire.record.race);
    const std::string race = raceLink(empire.record.race, kUp);
    const std::string capital = systemLink(empire.record.capitalSystemId, kUp);
    std::string facts = fmt::format("<dl><dt>Name</dt><dd>{}</dd><dt>Colour</dt><dd>{}</dd>",
                                    escapeHtml(utf8Name(empire)), swatch(empire.record.colour));
    if (!players() || !race.empty()) facts += fmt::format("<dt>Race</dt><dd>{}</dd>", race);
    if (!players() || !capital.empty()) facts += fmt::format("<dt>Capital</dt><dd>{}</dd>", capital);
    facts += fmt::format(
        "<dt>Systems controlled</dt><dd>{}</dd><dt>Colonies</dt><dd>{} on planets, {} moon bases</dd>"
        "<dt>People</dt><dd>{}</dd></dl>",
        holdings.systems.size(), holdings.planetColonies, holdings.moonBases, escapeHtml(peopleWords(holdings.people)));
    doc.rawHtml(facts);
    writeNotes(doc, {{{ThingKind::Empire, empire.id}, "The empire"}});

    doc.heading("Systems", 1);
    if (holdings.systems.empty()) {
        doc.paragraph(players() ? "The party knows of no system the empire controls."
                                : "The empire controls no system.");
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
        if (colony.record.allegiance != empire.record.race || !knowsColony(colony)) continue;
        const TColonyRec& c = colony.record;
        std::string people = populationWords(c.populationCode);
        if (!players()) {
            people += " of " + raceText(sector_.names(), c.race);
        } else if (knowsRace(c.race)) {
            people += " of " + playersRaceName(sector_.names(), sector_.aliens().read(c.race), c.race);
        }
        const std::string title =
            players() ? fmt::format("{} on {}", isMoonBase(c) ? "Moon base" : "Colony", colonyWhere(colony))
                      : colonyTitle(colony);
        const std::string government = players() ? playersGovernment(c) : governmentText(c);
        doc.rawHtml(fmt::format(
            "<tr><td>{}</td><td>{}</td><td>{}</td><td>{}</td><td>{}</td><td>{}</td></tr>", escapeHtml(title),
            colony.systemId < 0 ? std::string() : systemLink(colony.systemId, kUp), escapeHtml(people),
            escapeHtml(colonyTypeName(c.colonyType)), escapeHtml(starportName(c.starport)), escapeHtml(government)));
    }
    doc.rawHtml("</tbody></table>");
    doc.links(nav);
    doc.finish();
    writePage(empirePage(empire.id), page.str());
}

void Atlas::writeSystemPage(std::int64_t id, std::int32_t ordinal) {
    std::ostringstream page;
    const std::string sectorName = ansiToUtf8(sector_.sectorName());
    const auto systemName = names_.system(id);
    const TSystemRec system = sector_.systems().read(id);
    std::string title;
    if (players()) {
        title = fmt::format("{} in {}", sheets::playersSystemTitle(name(id), system.x, system.y, system.z), sectorName);
    } else {
        title = systemName ? fmt::format("{} (system {} of {})", *systemName, id, sectorName)
                           : fmt::format("System {} of {}", id, sectorName);
    }
    Document doc(page, DocFormat::Html, title);
    Links nav = {{std::string(kUp) + "index.html", "Atlas index"}};
    if (!indexTable_)
        nav.emplace_back(std::string(kUp) + listPage(ordinal / kPagesPerFolder), "Systems of this folder");
    doc.links(nav);
    if (players()) {
        writePlayersSystem(doc, id);
        doc.links(nav);
        doc.finish();
        writePage(systemPage(ordinal, id), page.str());
        return;
    }
    writeSystemLog(doc, sector_, id, true, &settled_, &readers_.notes);

    // The races of the system: the native races of its worlds and the
    // race recorded for the system, each once.
    Links races;
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
    Links owners;
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

// The players' page of a system they know: its sheet, the colonies they
// know of, the races they have met there and the empire holding it when
// they know it, and the public notes.
void Atlas::writePlayersSystem(Document& doc, std::int64_t id) {
    const TSystemRec system = sector_.systems().read(id);
    const sheets::SystemSheet sheet = sheets::gatherSheet(sector_, id, {Audience::Players});
    writeSheet(doc, sheet);

    std::vector<NotedThing> noted{{{ThingKind::System, id}, "The system"}};
    Links races;
    const auto addRace = [&](std::int64_t raceId, const std::string& why) {
        if (!knowsRace(raceId)) return;
        const std::string href = std::string(kUp) + racePage(raceId);
        for (const auto& r : races) {
            if (r.first == href) return;
        }
        const std::string raceName = playersRaceName(sector_.names(), sector_.aliens().read(raceId), raceId);
        races.emplace_back(href, fmt::format("{} ({})", raceName, why));
    };
    const SystemNamer namer(sector_.names(), id, system);
    std::size_t world = 0;
    forEachBodyOf(sector_, system, [&](int, int, std::int64_t planetId, const TPlanetRec& body) {
        const sheets::SheetWorld& w = sheet.worlds[world++];
        noted.push_back({{ThingKind::Planet, planetId}, w.name.empty() ? w.place : w.place + ": " + w.name});
        if (hasNativeRace(body))
            addRace(body.nativeRaceId, fmt::format("native of {}", w.name.empty() ? w.place : w.name));
        forEachMoonOf(sector_, body, [&](int number, std::int64_t moonId, const TMoonRec&) {
            const auto moonName = namer.moon(planetId, body.firstMoonId, moonId);
            noted.push_back({{ThingKind::Moon, moonId},
                             moonName ? ansiToUtf8(*moonName)
                                      : fmt::format("{} {}", w.place, static_cast<char>('a' + (number - 1) % 26))});
        });
    });

    std::vector<std::vector<std::string>> colonies;
    for (const PlacedColony* colony : settled_.inSystem(id)) {
        if (!knowsColony(*colony)) continue;
        const TColonyRec& c = colony->record;
        const std::string what = fmt::format("{} on {}", isMoonBase(c) ? "Moon base" : "Colony", colonyWhere(*colony));
        std::string people = populationWords(c.populationCode);
        if (knowsRace(c.race)) {
            people += " of " + playersRaceName(sector_.names(), sector_.aliens().read(c.race), c.race);
        }
        colonies.push_back({what, people, std::string(colonyTypeName(c.colonyType)),
                            std::string(starportName(c.starport)), playersGovernment(c)});
        noted.push_back({{ThingKind::Colony, colony->id}, what});
        if (c.allegiance != kNoRace) addRace(c.allegiance, "holds a colony here");
    }
    if (!colonies.empty()) {
        doc.heading("Colonies", 1);
        doc.table({{"Colony"}, {"People"}, {"Type"}, {"Starport"}, {"Government"}}, colonies);
    }
    Links owners;
    if (const auto controller = settled_.controllerOf(id)) {
        const EmpireEntry* empire = settled_.empireOf(*controller);
        if (empire != nullptr && knows(ThingKind::Empire, empire->id)) {
            addRace(*controller, "controls the system");
            owners.emplace_back(std::string(kUp) + empirePage(empire->id),
                                fmt::format("{} (controls the system)", utf8Name(*empire)));
        }
    }
    if (!races.empty()) {
        doc.heading("Races", 1);
        doc.links(races);
    }
    if (!owners.empty()) {
        doc.heading("Empire", 1);
        doc.links(owners);
    }
    writeNotes(doc, noted);
}

void Atlas::writeRacePage(std::int64_t id) {
    const TAlienRec race = sector_.aliens().read(id);
    Links nav = {{std::string(kUp) + "index.html", "Atlas index"}};
    const auto home = homeSystemOf(sector_, race);
    if (players()) {
        std::ostringstream page;
        const std::string raceName = playersRaceName(sector_.names(), race, id);
        Document doc(page, DocFormat::Html, fmt::format("{} of {}", raceName, ansiToUtf8(sector_.sectorName())));
        if (home && knows(ThingKind::System, *home) && !systemHref(*home).empty()) {
            nav.emplace_back(std::string(kUp) + systemHref(*home), "Home system");
        }
        doc.links(nav);
        writePlayersRace(doc, race);
        if (home && knows(ThingKind::System, *home)) {
            doc.heading("Home", 1);
            doc.rawHtml(fmt::format("<p>{}</p>", systemLink(*home, kUp)));
        }
        const EmpireEntry* empire = id < kNoRace ? settled_.empireOf(static_cast<std::uint16_t>(id)) : nullptr;
        if (empire != nullptr && knows(ThingKind::Empire, empire->id)) {
            doc.heading("Empire", 1);
            doc.links({{std::string(kUp) + empirePage(empire->id), utf8Name(*empire)}});
        }
        writeNotes(doc, {{{ThingKind::Race, id}, "The race"}});
        doc.links(nav);
        doc.finish();
        writePage(racePage(id), page.str());
        return;
    }
    std::ostringstream log;
    writeRaceLog(baseName_, static_cast<std::int32_t>(id), 0, DocFormat::Html, log, &readers_.notes);
    std::string html = log.str();
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

}  // namespace orrimar::exports

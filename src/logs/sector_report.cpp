// The sector report: report path + ".map" as plain text and + ".html" with
// the same sections and a map of the sector. The sector is read in passes
// (a survey for the summary and the map, then one pass per section), so a
// sector of a million systems needs no more memory than one byte per system,
// besides the names its name file holds. A sector with names gets a Name
// column in its systems and races tables and labels on its map; one without
// reads as it always did.
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>

#include "common/ansi_text.h"
#include "common/bit_flags.h"
#include "common/errors.h"
#include "vocabulary/alien_names.h"
#include "logs/body_details.h"
#include "logs/colony_tally.h"
#include "logs/sector_report.h"
#include "vocabulary/body_names.h"
#include "documents/document.h"
#include "reading/sector_reader.h"
#include "logs/sector_map_svg.h"
#include "records/world_types.h"
#include "records/colony_codes.h"
#include "reading/settled_view.h"
#include "vocabulary/colony_words.h"

namespace orrimar::logs {

using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::reading;

namespace {

constexpr std::uint8_t kMarkRace = 1;
constexpr std::uint8_t kMarkControlled = 2;

// What the survey pass learns for the summary and the map.
struct Survey {
    std::int64_t systems = 0;
    std::array<std::int64_t, 4> byMultiplicity{};
    std::array<std::int64_t, 24> starsByKind{};
    std::int64_t otherStars = 0;
    std::array<std::int64_t, 24> planetsByType{};
    std::array<std::int64_t, 24> moonsByType{};
    std::int64_t planets = 0;  // bodies in orbit that are not belts
    std::int64_t belts = 0;
    std::int64_t moons = 0;
    std::array<std::int64_t, kLifeLevelCount> worldsByLife{};
    int minX = 0, maxX = 0, minY = 0, maxY = 0, minZ = 0, maxZ = 0;
    std::vector<std::uint8_t> marks;  // per system: kMarkRace | kMarkControlled
};

// The bodies of one system, in star and orbit order; records beyond the
// planet file are skipped.
template <typename Visit>
void forEachBody(SectorReader& sector, const TSystemRec& system, Visit visit) {
    for (int s = 0; s < starCountOf(system); ++s) {
        const auto i = static_cast<std::size_t>(s);
        for (int j = 0; j < system.planetCount[i]; ++j) {
            const std::int64_t id = static_cast<std::int64_t>(system.firstPlanetId[i]) + j;
            if (id < 0 || id >= sector.planets().count()) continue;
            visit(sector.planets().read(id));
        }
    }
}

template <typename Visit>
void forEachMoon(SectorReader& sector, const TPlanetRec& planet, Visit visit) {
    for (int m = 0; m < planet.moonCount; ++m) {
        const std::int64_t id = static_cast<std::int64_t>(planet.firstMoonId) + m;
        if (id < 0 || id >= sector.moons().count()) continue;
        visit(sector.moons().read(id));
    }
}

void countType(std::array<std::int64_t, 24>& table, int type) {
    table[type >= 1 && type <= world::kCount ? static_cast<std::size_t>(type) : 0] += 1;
}

Survey survey(SectorReader& sector, const ColonyIndex& colonies) {
    Survey out;
    out.systems = sector.systems().count();
    out.marks.assign(static_cast<std::size_t>(out.systems), 0);
    for (std::int64_t id = 0; id < out.systems; ++id) {
        const TSystemRec system = sector.systems().read(id);
        const int stars = starCountOf(system);
        if (id == 0) {
            out.minX = out.maxX = system.x;
            out.minY = out.maxY = system.y;
            out.minZ = out.maxZ = system.z;
        }
        out.minX = std::min<int>(out.minX, system.x);
        out.maxX = std::max<int>(out.maxX, system.x);
        out.minY = std::min<int>(out.minY, system.y);
        out.maxY = std::max<int>(out.maxY, system.y);
        out.minZ = std::min<int>(out.minZ, system.z);
        out.maxZ = std::max<int>(out.maxZ, system.z);
        ++out.byMultiplicity[static_cast<std::size_t>(stars)];
        for (int s = 0; s < stars; ++s) {
            const int kind = system.starKind[static_cast<std::size_t>(s)];
            if (kind >= 1 && kind <= 23) {
                ++out.starsByKind[static_cast<std::size_t>(kind)];
            } else {
                ++out.otherStars;
            }
        }
        std::uint8_t mark = 0;
        forEachBody(sector, system, [&](const TPlanetRec& body) {
            if (isBelt(body.worldType)) {
                ++out.belts;
                countType(out.planetsByType, body.worldType);
                return;
            }
            ++out.planets;
            countType(out.planetsByType, body.worldType);
            const LifeLevel life = lifeLevel(body.features);
            ++out.worldsByLife[static_cast<std::size_t>(life)];
            if (life == LifeLevel::Sentient) mark |= kMarkRace;
            forEachMoon(sector, body, [&](const TMoonRec& moon) {
                ++out.moons;
                countType(out.moonsByType, moon.worldType);
            });
        });
        if (const auto it = colonies.bySystem.find(static_cast<std::int32_t>(id));
            it != colonies.bySystem.end() && !it->second.owners.empty()) {
            mark |= kMarkControlled;
        }
        out.marks[static_cast<std::size_t>(id)] = mark;
    }
    return out;
}

// The legend's territories: each race controlling a system, by its
// empire's name where it has one.
void addTerritories(SectorMap& map, SectorReader& sector, const SettledView& settled) {
    std::set<std::uint16_t> owners;
    for (const TConRec& record : settled.control()) owners.insert(std::uint16_t{record.race});
    for (const std::uint16_t race : owners) {
        const EmpireEntry* empire = settled.empireOf(race);
        map.addTerritory(empire ? ansiToUtf8(empire->record.name.str()) : raceText(sector.names(), race),
                         settled.colourOf(race));
    }
}

// Both pages get every block, except the rows of a table too long for a
// browser's page: those go to the text alone.
struct Pages {
    Document& text;
    Document& html;
    bool htmlRows = true;
    template <typename F>
    void both(F f) {
        f(text);
        f(html);
    }
    template <typename F>
    void rows(F f) {
        f(text);
        if (htmlRows) f(html);
    }
};

// A table of more rows than the listing limit stays out of the HTML page:
// at a million systems it alone made the page over 200 MB.
void limitHtmlRows(Pages& pages, std::int64_t rows, std::string_view what) {
    pages.htmlRows = rows <= kFullListingLimit;
    if (pages.htmlRows) return;
    pages.html.note(fmt::format(
        "The sector holds {} {}, more than {}: this page leaves out their table to stay light enough for a browser. "
        "The full table is in the report's text (.map), and the sector's atlas (orrimar-cli atlas) has a page for "
        "each.",
        grouped(rows), what, grouped(kFullListingLimit)));
}

std::string starListText(const TSystemRec& system) {
    std::string text;
    for (int s = 0; s < starCountOf(system); ++s) {
        const auto i = static_cast<std::size_t>(s);
        if (s > 0) text += " + ";
        text += spectralDesignation(system.starKind[i], system.spectralDigit[i]);
    }
    return text;
}

std::string ownersText(const std::set<std::uint16_t>& owners) {
    std::string text;
    for (const std::uint16_t owner : owners) {
        if (!text.empty()) text += ", ";
        text += std::to_string(owner);
    }
    return text;
}

void writeSystems(Pages& pages, SectorReader& sector, const ColonyIndex& colonies) {
    pages.both([](Document& d) { d.heading("Systems", 1); });
    const std::int64_t count = sector.systems().count();
    if (count == 0) {
        pages.both([](Document& d) { d.paragraph("The sector holds no systems."); });
        return;
    }
    std::vector<Column> columns = {
        {"Id", Align::Right, 7},       {"X", Align::Right, 6},     {"Y", Align::Right, 6},
        {"Z", Align::Right, 6},        {"Stars", Align::Left, 22}, {"Planets", Align::Right, 0},
        {"Belts", Align::Right, 0},    {"Moons", Align::Right, 0}, {"Life", Align::Left, 19},
        {"Colonies", Align::Right, 0}, {"Owners", Align::Left, 0},
    };
    // The column is as wide as the longest system name, known before the
    // streamed rows start.
    const SectorNames& names = sector.names();
    const bool named = names.count(NameKind::System) > 0;
    if (named)
        columns.insert(columns.begin() + 1,
                       {"Name", Align::Left, std::max<std::size_t>(4, names.longest(NameKind::System))});
    limitHtmlRows(pages, count, "systems");
    pages.rows([&](Document& d) { d.beginTable(columns); });
    for (std::int64_t id = 0; id < count; ++id) {
        const TSystemRec system = sector.systems().read(id);
        int planets = 0;
        int belts = 0;
        int moons = 0;
        LifeLevel best = LifeLevel::None;
        forEachBody(sector, system, [&](const TPlanetRec& body) {
            if (isBelt(body.worldType)) {
                ++belts;
                return;
            }
            ++planets;
            moons += body.moonCount;
            best = std::max(best, lifeLevel(body.features));
        });
        int colonyCount = 0;
        std::string owners;
        if (const auto it = colonies.bySystem.find(static_cast<std::int32_t>(id)); it != colonies.bySystem.end()) {
            colonyCount = it->second.colonies;
            owners = ownersText(it->second.owners);
        }
        std::vector<std::string> row = {
            std::to_string(id),
            std::to_string(system.x),
            std::to_string(system.y),
            std::to_string(system.z),
            starListText(system),
            std::to_string(planets),
            std::to_string(belts),
            std::to_string(moons),
            best == LifeLevel::None ? std::string() : std::string(lifeLevelName(best)),
            colonyCount == 0 ? std::string() : std::to_string(colonyCount),
            owners,
        };
        if (named) row.insert(row.begin() + 1, nameText(names.system(id)));
        pages.rows([&](Document& d) { d.tableRow(row); });
    }
    pages.rows([](Document& d) { d.endTable(); });
    pages.htmlRows = true;
}

// The widest name a code table gives, so that a streamed table's column
// holds every name it can meet ("Shore (amphibious)") without reading the
// races twice. Codes past the table's end give its "unknown" text and stop.
std::size_t widestName(std::string (*name)(int), std::size_t atLeast) {
    std::size_t widest = atLeast;
    for (int code = 1; code <= 255; ++code) {
        const std::string text = name(code);
        if (text.starts_with("unknown (") || text.starts_with("Unknown type")) break;
        widest = std::max(widest, text.size());
    }
    return widest;
}

void writeAliens(Pages& pages, SectorReader& sector) {
    pages.both([](Document& d) { d.heading("Alien races", 1); });
    const std::int64_t count = sector.aliens().count();
    if (count == 0) {
        pages.both([](Document& d) { d.paragraph("The sector holds no alien races."); });
        return;
    }
    std::vector<Column> columns = {
        {"Id", Align::Right, 6},
        {"Home world", Align::Right, 0},
        {"System", Align::Right, 7},
        {"Position", Align::Left, 16},
        {"World type", Align::Left, widestName(worldTypeText, 10)},
        {"Kind", Align::Left, widestName(subtypeName, 4)},
        {"Body form", Align::Left, widestName(bodyFormName, 9)},
        {"Habitat", Align::Left, widestName(habitatName, 7)},
        {"Level", Align::Right, 0},
        {"Spatial age", Align::Right, 0},
    };
    const SectorNames& names = sector.names();
    const bool named = names.count(NameKind::Race) > 0;
    if (named)
        columns.insert(columns.begin() + 1,
                       {"Name", Align::Left, std::max<std::size_t>(4, names.longest(NameKind::Race))});
    limitHtmlRows(pages, count, "alien races");
    pages.rows([&](Document& d) { d.beginTable(columns); });
    for (std::int64_t id = 0; id < count; ++id) {
        const TAlienRec race = sector.aliens().read(id);
        std::string system = "?";
        std::string position;
        std::string worldType;
        if (race.worldId >= 0 && race.worldId < sector.planets().count()) {
            const TPlanetRec home = sector.planets().read(race.worldId);
            worldType = worldTypeText(home.worldType);
            if (home.systemId >= 0 && home.systemId < sector.systems().count()) {
                const TSystemRec s = sector.systems().read(home.systemId);
                system = std::to_string(home.systemId);
                position = fmt::format("{}, {}, {}", s.x, s.y, s.z);
            }
        }
        std::vector<std::string> row = {
            std::to_string(id),
            std::to_string(race.worldId),
            system,
            position,
            worldType,
            subtypeName(race.subtype),
            bodyFormName(race.bodyForm),
            habitatName(race.habitat),
            std::to_string(race.techLevel),
            race.spatialAge > 0 ? std::to_string(race.spatialAge) : std::string(),
        };
        if (named) row.insert(row.begin() + 1, nameText(names.race(id)));
        pages.rows([&](Document& d) { d.tableRow(row); });
    }
    pages.rows([](Document& d) { d.endTable(); });
    pages.htmlRows = true;
}

void writeSummary(Pages& pages, SectorReader& sector, const Survey& s) {
    pages.both([](Document& d) { d.heading("Summary", 1); });
    KeyValues totals = {
        {"Systems", grouped(s.systems)},
        {"Single stars", grouped(s.byMultiplicity[1])},
        {"Binary systems", grouped(s.byMultiplicity[2])},
        {"Trinary systems", grouped(s.byMultiplicity[3])},
        {"Planets", grouped(s.planets)},
        {"Asteroid belts", grouped(s.belts)},
        {"Moons", grouped(s.moons)},
        {"Alien races", grouped(sector.aliens().count())},
    };
    if (s.systems > 0) {
        totals.emplace_back("Extent", fmt::format("x {} to {}, y {} to {}, z {} to {} parsecs", s.minX, s.maxX, s.minY,
                                                  s.maxY, s.minZ, s.maxZ));
    }
    pages.both([&](Document& d) { d.keyValues(totals); });

    std::vector<std::vector<std::string>> stars;
    for (const std::uint8_t kind : kStarKindOrder) {
        const std::int64_t n = s.starsByKind[kind];
        if (n == 0) continue;
        const StarKindInfo& info = starKindInfo(kind);
        stars.push_back({std::to_string(kind), std::string(info.plainName),
                         info.spectralClass.empty() ? std::string()
                                                    : fmt::format("{} {}", info.spectralClass, info.luminosityClass),
                         grouped(n)});
    }
    if (s.otherStars > 0) stars.push_back({"?", "unknown kind", "", grouped(s.otherStars)});
    pages.both([&](Document& d) {
        d.heading("Stars by kind", 2);
        if (stars.empty()) {
            d.paragraph("No stars.");
        } else {
            d.table({{"Kind", Align::Right}, {"Star", Align::Left}, {"Class", Align::Left}, {"Count", Align::Right}},
                    stars);
        }
    });

    std::vector<std::vector<std::string>> bodies;
    for (int type = 1; type <= world::kCount; ++type) {
        const auto t = static_cast<std::size_t>(type);
        if (s.planetsByType[t] == 0 && s.moonsByType[t] == 0) continue;
        bodies.push_back({worldTypeText(type), grouped(s.planetsByType[t]), grouped(s.moonsByType[t])});
    }
    if (s.planetsByType[0] + s.moonsByType[0] > 0) {
        bodies.push_back({"unknown type", grouped(s.planetsByType[0]), grouped(s.moonsByType[0])});
    }
    pages.both([&](Document& d) {
        d.heading("Bodies by world type", 2);
        if (bodies.empty()) {
            d.paragraph("No bodies.");
        } else {
            d.table({{"World type", Align::Left}, {"In orbit", Align::Right}, {"Moons", Align::Right}}, bodies);
        }
    });

    std::vector<std::vector<std::string>> life;
    for (int level = 0; level < kLifeLevelCount; ++level) {
        life.push_back({std::string(lifeLevelName(static_cast<LifeLevel>(level))),
                        grouped(s.worldsByLife[static_cast<std::size_t>(level)])});
    }
    pages.both([&](Document& d) {
        d.heading("Worlds by level of life", 2);
        d.table({{"Life", Align::Left}, {"Planets", Align::Right}}, life);
    });

    // Races by the kind chosen with their category; one pass over the race file.
    std::map<int, std::int64_t> byKind;
    for (std::int64_t id = 0; id < sector.aliens().count(); ++id) ++byKind[sector.aliens().read(id).subtype];
    std::vector<std::vector<std::string>> races;
    for (const auto& [kind, n] : byKind) races.push_back({subtypeName(kind), grouped(n)});
    pages.both([&](Document& d) {
        d.heading("Races by kind", 2);
        if (races.empty()) {
            d.paragraph("No alien races.");
        } else {
            d.table({{"Kind", Align::Left}, {"Races", Align::Right}}, races);
        }
    });
}

// The capital as "Vessa (12)" or "12"; "none" for a capital not in the sector.
std::string capitalText(SectorReader& sector, std::int32_t systemId) {
    if (systemId < 0 || systemId >= sector.systems().count()) return "none";
    return labelled(sector.names().system(systemId), systemId);
}

// One row per empire: who rules it, from where, over how much.
void writeEmpireTable(Pages& pages, SectorReader& sector, const SettledView& settled) {
    if (settled.empires().empty()) return;
    std::vector<std::vector<std::string>> rows;
    for (const EmpireEntry& empire : settled.empires()) {
        const RaceHoldings holdings = settled.holdingsOf(empire.record.race);
        rows.push_back({ansiToUtf8(empire.record.name.str()), raceText(sector.names(), empire.record.race),
                        capitalText(sector, empire.record.capitalSystemId),
                        grouped(static_cast<long long>(holdings.systems.size())),
                        grouped(holdings.planetColonies + holdings.moonBases), peopleWords(holdings.people),
                        colourHex(empire.record.colour)});
    }
    pages.both([&](Document& d) {
        d.heading("Empire list", 2);
        d.table({{"Empire", Align::Left},
                 {"Race", Align::Left},
                 {"Capital", Align::Left},
                 {"Systems", Align::Right},
                 {"Colonies", Align::Right},
                 {"People", Align::Right},
                 {"Colour", Align::Left}},
                rows);
    });
}

void writeEmpires(Pages& pages, SectorReader& sector, const ColonyIndex& colonies, const SettledView& settled) {
    pages.both([](Document& d) { d.heading("Empires", 1); });
    const KeyValues counts = {
        {"Colonies", grouped(colonies.total)},
        {"Control records", grouped(sector.controlCount())},
        {"Empire records", grouped(sector.empireCount())},
    };
    pages.both([&](Document& d) { d.keyValues(counts); });
    if (!colonies.fileExists) {
        pages.both([](Document& d) { d.paragraph("The sector has no colony file."); });
        return;
    }
    if (colonies.total == 0) {
        pages.both([](Document& d) { d.paragraph("No race owns a colony in this sector."); });
        return;
    }
    std::vector<std::vector<std::string>> rows;
    for (const auto& [owner, tally] : colonies.byOwner) {
        std::string people = grouped(static_cast<long long>(tally.people));
        if (tally.unknownPopulations > 0) people += fmt::format(" (+{} unknown)", tally.unknownPopulations);
        rows.push_back({owner == kNoRace ? std::string("Independent") : fmt::format("Race {}", owner),
                        grouped(tally.planetColonies), grouped(tally.moonBases),
                        owner == kNoRace ? std::string() : grouped(static_cast<long long>(tally.systems.size())),
                        people});
    }
    pages.both([&](Document& d) {
        d.table({{"Owner", Align::Left},
                 {"Planet colonies", Align::Right},
                 {"Moon bases", Align::Right},
                 {"Controlled systems", Align::Right},
                 {"Population", Align::Right}},
                rows);
    });
    if (colonies.unplaced > 0) {
        const std::string note = fmt::format(
            "{} colonies name a world that is not in this sector and count for no system.", colonies.unplaced);
        pages.both([&](Document& d) { d.note(note); });
    }
    writeEmpireTable(pages, sector, settled);
}

}  // namespace

void writeSectorReport(const std::string& sectorBase, const std::string& reportPath, bool systems, bool aliens,
                       bool summary, bool empires) {
    if (reportPath.empty()) {
        throw InputError("No report file chosen: choose a file to save the sector report to");
    }
    SectorReader sector(sectorBase);
    const ColonyIndex colonies = indexColonies(sector);
    const Survey surveyed = survey(sector, colonies);
    const SettledView settled(sector);

    OutputFile textFile(reportPath + ".map");
    OutputFile htmlFile(reportPath + ".html");
    const std::string title = fmt::format("Sector report: {}", ansiToUtf8(sector.sectorName()));
    Document text(textFile.stream(), DocFormat::Text, title);
    Document html(htmlFile.stream(), DocFormat::Html, title);
    Pages pages{text, html};

    const KeyValues head = {
        {"Sector", ansiToUtf8(sector.sectorName())},
        {"Files", sector.baseName()},
        {"Systems", grouped(surveyed.systems)},
        {"Alien races", grouped(sector.aliens().count())},
    };
    pages.both([&](Document& d) { d.keyValues(head); });

    SectorMap map(surveyed.systems, surveyed.minX, surveyed.maxX, surveyed.minY, surveyed.maxY, surveyed.minZ,
                  surveyed.maxZ);
    for (std::int64_t id = 0; id < surveyed.systems; ++id) {
        const TSystemRec system = sector.systems().read(id);
        const std::uint8_t mark = surveyed.marks[static_cast<std::size_t>(id)];
        const float light = system.luminosity[0];
        const auto controller = settled.controllerOf(id);
        map.add({system.x, system.y, system.z, system.starKind[0], (mark & kMarkRace) != 0,
                 (mark & kMarkControlled) != 0, id,
                 // An aggregated map has no labels: no name is looked up for it.
                 map.aggregated() ? std::string() : nameText(sector.names().system(id)),
                 std::isfinite(light) ? light : 0.0F,
                 controller ? std::optional(settled.colourOf(*controller)) : std::nullopt});
    }
    addTerritories(map, sector, settled);
    html.heading("Map", 1);
    html.figure(map.svg(), map.caption());

    if (systems) writeSystems(pages, sector, colonies);
    if (aliens) writeAliens(pages, sector);
    if (summary) writeSummary(pages, sector, surveyed);
    if (empires) writeEmpires(pages, sector, colonies, settled);
    if (!systems && !aliens && !summary && !empires) {
        pages.both([](Document& d) { d.note("No section was chosen for this report."); });
    }
    text.finish();
    html.finish();
    textFile.commit();
    htmlFile.commit();
}

}  // namespace orrimar::logs

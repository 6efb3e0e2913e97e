// The system log: one star system of a sector, its stars and every body in
// orbit round them, with every moon.
#include <fmt/format.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "common/ansi_text.h"
#include "common/bit_flags.h"
#include "common/errors.h"
#include "logs/body_details.h"
#include "logs/colony_details.h"
#include "logs/notes_section.h"
#include "records/colony_codes.h"
#include "vocabulary/body_names.h"
#include "documents/document.h"
#include "reading/sector_reader.h"
#include "names/sector_names.h"
#include "records/sector_base.h"
#include "logs/system_log.h"
#include "records/star_light.h"
#include "records/world_types.h"

namespace orrimar::logs {

using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::reading;

namespace {

std::optional<std::string> nativeRaceOf(SectorReader& sector, const TPlanetRec& planet) {
    if (!hasNativeRace(planet)) return std::nullopt;
    if (planet.nativeRaceId < 0 || planet.nativeRaceId >= sector.aliens().count()) {
        return fmt::format("Race {} (missing from the race file)", planet.nativeRaceId);
    }
    std::string brief = raceBrief(sector.aliens().read(planet.nativeRaceId), planet.nativeRaceId);
    if (const auto name = sector.names().race(planet.nativeRaceId)) brief = ansiToUtf8(*name) + ". " + brief;
    return brief;
}

// The world names of one system, and whether the log shows names at all: a
// sector without names reads as it always did.
struct LogNames {
    const SystemNamer& namer;
    bool shown;
};

// "race 0 on planet II, race 3 on planet IV of star B": every native race of
// the system, by the orbit of its world.
std::string nativeRacesOf(SectorReader& sector, const TSystemRec& system, int stars) {
    std::string list;
    for (int s = 1; s <= stars; ++s) {
        const std::size_t i = static_cast<std::size_t>(s - 1);
        for (int j = 0; j < system.planetCount[i]; ++j) {
            const std::int64_t id = static_cast<std::int64_t>(system.firstPlanetId[i]) + j;
            if (id < 0 || id >= sector.planets().count()) continue;
            const TPlanetRec planet = sector.planets().read(id);
            if (isBelt(planet.worldType) || !hasNativeRace(planet)) continue;
            if (!list.empty()) list += ", ";
            list += fmt::format("race {} on planet {}",
                                labelled(sector.names().race(planet.nativeRaceId), planet.nativeRaceId),
                                romanNumeral(j + 1));
            if (stars > 1) list += fmt::format(" of star {}", starLetter(s));
        }
    }
    return list;
}

// One row of a star's orbit table.
std::vector<std::string> orbitRow(int orbit, const TPlanetRec& body) {
    if (isBelt(body.worldType)) {
        return {std::to_string(orbit),
                tenths(body.orbitRadius),
                bodyTitle(body),
                fmt::format("size {}", body.diameter),
                "",
                fmt::format("{} °C", body.temperature),
                ""};
    }
    const LifeLevel life = lifeLevel(body.features);
    return {std::to_string(orbit),
            tenths(body.orbitRadius),
            bodyTitle(body),
            fmt::format("{} km", grouped(body.diameter)),
            std::to_string(body.moonCount),
            fmt::format("{} °C", body.temperature),
            life == LifeLevel::None ? std::string() : std::string(lifeLevelName(life))};
}

void writeMoons(Document& doc, SectorReader& sector, const TPlanetRec& planet, std::int64_t planetId,
                const LogNames& names) {
    const bool twinPlanet = testBit(planet.features[3], 1) || testBit(planet.features[3], 2);
    for (int m = 0; m < planet.moonCount; ++m) {
        const std::int64_t moonId = static_cast<std::int64_t>(planet.firstMoonId) + m;
        const auto moonName = names.shown ? names.namer.moon(planetId, planet.firstMoonId, moonId) : std::nullopt;
        doc.heading(moonName ? fmt::format("Moon {}: {}", m + 1, ansiToUtf8(*moonName)) : fmt::format("Moon {}", m + 1),
                    3);
        if (moonId < 0 || moonId >= sector.moons().count()) {
            doc.note(fmt::format("Moon record {} is missing from the moon file.", moonId));
            continue;
        }
        const TMoonRec moon = sector.moons().read(moonId);
        doc.keyValues(moonDetails(moon, moonId, twinPlanet && planet.moonCount == 1));
    }
}

void writeStar(Document& doc, SectorReader& sector, const TSystemRec& system, int star, bool full,
               const LogNames& names) {
    const std::size_t i = static_cast<std::size_t>(star - 1);
    doc.heading(fmt::format("Star {}: {}, {}", starLetter(star),
                            spectralDesignation(system.starKind[i], system.spectralDigit[i]),
                            starPlainName(system.starKind[i])),
                1);
    doc.keyValues(starDetails(system, star));

    const int count = system.planetCount[i];
    if (count == 0) {
        doc.paragraph("No planets or belts orbit this star.");
        return;
    }
    std::vector<TPlanetRec> bodies;
    bodies.reserve(static_cast<std::size_t>(count));
    for (int j = 0; j < count; ++j)
        bodies.push_back(sector.planet(static_cast<std::int64_t>(system.firstPlanetId[i]) + j));

    const auto bodyId = [&](int j) { return static_cast<std::int64_t>(system.firstPlanetId[i]) + j; };
    std::vector<std::vector<std::string>> rows;
    for (int j = 0; j < count; ++j) {
        rows.push_back(orbitRow(j + 1, bodies[static_cast<std::size_t>(j)]));
        // The name column comes only with names, after the body's kind.
        if (names.shown) rows.back().insert(rows.back().begin() + 3, nameText(names.namer.planet(bodyId(j))));
    }
    std::vector<Column> columns = {{"Orbit", Align::Right}, {"AU", Align::Right},    {"Body", Align::Left},
                                   {"Size", Align::Right},  {"Moons", Align::Right}, {"Temp.", Align::Right},
                                   {"Life", Align::Left}};
    if (names.shown) columns.insert(columns.begin() + 3, {"Name", Align::Left});
    doc.table(columns, rows);
    if (!full) return;

    BodyContext context;
    context.starMass = system.mass[i];
    context.effectiveLuminosity = effectiveLuminosity(system, star - 1);
    for (int j = 0; j < count; ++j) {
        const TPlanetRec& body = bodies[static_cast<std::size_t>(j)];
        context.id = bodyId(j);
        const auto bodyName = names.shown ? names.namer.planet(context.id) : std::nullopt;
        doc.heading(bodyName ? fmt::format("Orbit {}: {}, {} at {} AU", j + 1, ansiToUtf8(*bodyName), bodyTitle(body),
                                           tenths(body.orbitRadius))
                             : fmt::format("Orbit {}: {} at {} AU", j + 1, bodyTitle(body), tenths(body.orbitRadius)),
                    2);
        if (isBelt(body.worldType)) {
            doc.keyValues(beltDetails(body, context));
            continue;
        }
        context.nativeRace = nativeRaceOf(sector, body);
        context.colonisingRace = raceText(sector.names(), colonisingRace(body));
        doc.keyValues(planetDetails(body, context));
        writeMoons(doc, sector, body, context.id, names);
    }
}

// Where a colony lies in its system: "orbit 2 of star A", "moon 1 of orbit
// 3 of star A", with the world's name where it has one.
std::string colonyWhere(SectorReader& sector, const TSystemRec& system, const PlacedColony& colony,
                        const LogNames& names) {
    const auto place = worldPlace(system, colony.planetId);
    std::string where = place ? fmt::format("orbit {} of star {}", place->orbit, starLetter(place->star))
                              : fmt::format("planet {}", colony.planetId);
    std::optional<std::string> name = names.shown ? names.namer.planet(colony.planetId) : std::nullopt;
    if (isMoonBase(colony.record)) {
        const TPlanetRec planet = sector.planet(colony.planetId);
        const std::int64_t moonId = colony.record.worldId;
        where = fmt::format("moon {} of {}", moonId - planet.firstMoonId + 1, where);
        name = names.shown ? names.namer.moon(colony.planetId, planet.firstMoonId, moonId) : std::nullopt;
    }
    return name ? fmt::format("{} ({})", ansiToUtf8(*name), where) : where;
}

void writeColonies(Document& doc, SectorReader& sector, const TSystemRec& system,
                   const std::vector<const PlacedColony*>& colonies, const LogNames& names) {
    doc.heading("Colonies", 1);
    for (const PlacedColony* colony : colonies) {
        doc.heading(fmt::format("{} on {}", colonyTitle(*colony), colonyWhere(sector, system, *colony, names)), 2);
        doc.keyValues(colonyDetails(*colony, sector.names()));
    }
}

std::string ageText(int age) {
    // Ages run 1..59 in steps of a hundred million years: long-lived stars
    // get 10..59, the bright short-lived ones 1..10.
    return fmt::format("{} billion years (age code {})", tenths(age), age);
}

// The system, its worlds and belts, their moons and its colonies: each
// thing of the log a note may be on, in the log's order.
std::vector<NotedThing> notedThings(SectorReader& sector, const TSystemRec& system, std::int64_t systemId,
                                    const std::vector<const PlacedColony*>& colonies, const LogNames& names) {
    std::vector<NotedThing> things{{{ThingKind::System, systemId}, "The system"}};
    for (const PlacedColony* colony : colonies) {
        things.push_back({{ThingKind::Colony, colony->id},
                          fmt::format("{} on {}", colonyTitle(*colony), colonyWhere(sector, system, *colony, names))});
    }
    for (int s = 1; s <= starCountOf(system); ++s) {
        const std::size_t i = static_cast<std::size_t>(s - 1);
        for (int j = 0; j < system.planetCount[i]; ++j) {
            const std::int64_t planetId = static_cast<std::int64_t>(system.firstPlanetId[i]) + j;
            const auto name = names.shown ? names.namer.planet(planetId) : std::nullopt;
            const std::string where = fmt::format("Orbit {} of star {}", j + 1, starLetter(s));
            things.push_back(
                {{ThingKind::Planet, planetId}, name ? fmt::format("{}: {}", where, ansiToUtf8(*name)) : where});
            if (planetId < 0 || planetId >= sector.planets().count()) continue;
            const TPlanetRec planet = sector.planets().read(planetId);
            for (int m = 0; m < planet.moonCount; ++m) {
                const std::int64_t moonId = static_cast<std::int64_t>(planet.firstMoonId) + m;
                const auto moonName =
                    names.shown ? names.namer.moon(planetId, planet.firstMoonId, moonId) : std::nullopt;
                const std::string moonWhere =
                    fmt::format("Moon {} of orbit {} of star {}", m + 1, j + 1, starLetter(s));
                things.push_back({{ThingKind::Moon, moonId},
                                  moonName ? fmt::format("{}: {}", moonWhere, ansiToUtf8(*moonName)) : moonWhere});
            }
        }
    }
    return things;
}

}  // namespace

void writeSystemLog(Document& doc, SectorReader& sector, std::int64_t systemId, bool full, const SettledView* settled,
                    const std::vector<Note>* notes) {
    const TSystemRec system = sector.system(systemId);
    const int stars = starCountOf(system);
    const SystemNamer namer(sector.names(), systemId, system);
    const LogNames names{namer, !sector.names().empty()};
    KeyValues head;
    head.emplace_back("Sector", ansiToUtf8(sector.sectorName()));
    if (namer.system()) head.emplace_back("Name", ansiToUtf8(*namer.system()));
    head.emplace_back("System id", std::to_string(systemId));
    head.emplace_back("Coordinates", fmt::format("x {}, y {}, z {} parsecs", system.x, system.y, system.z));
    head.emplace_back("Age", ageText(system.systemAge));
    std::string starList;
    for (int s = 1; s <= stars; ++s) {
        const std::size_t i = static_cast<std::size_t>(s - 1);
        if (s > 1) starList += ", ";
        starList +=
            fmt::format("{} {}", starLetter(s), spectralDesignation(system.starKind[i], system.spectralDigit[i]));
    }
    head.emplace_back("Stars", fmt::format("{} ({})", stars, starList));
    int bodies = 0;
    for (int s = 0; s < stars; ++s) bodies += system.planetCount[static_cast<std::size_t>(s)];
    head.emplace_back("Bodies in orbit", std::to_string(bodies));
    // The system race is set by other programs (a race that holds the
    // system); "none" would read as "no race lives here", so the line is
    // left out when the record names none.
    if (system.systemRaceId != kNoRace) {
        head.emplace_back("System race", fmt::format("race {}", labelled(sector.names().race(system.systemRaceId),
                                                                         system.systemRaceId)));
    }
    const std::string natives = nativeRacesOf(sector, system, stars);
    if (!natives.empty()) head.emplace_back("Native races", natives);
    std::optional<SettledView> ownView;
    if (settled == nullptr) settled = &ownView.emplace(sector);
    if (const auto controller = settled->controllerOf(systemId)) {
        std::string who = raceText(sector.names(), *controller);
        if (const EmpireEntry* empire = settled->empireOf(*controller)) {
            who += fmt::format(", {}", ansiToUtf8(empire->record.name.str()));
        }
        head.emplace_back("Controlled by", who);
    }
    doc.keyValues(head);

    const std::vector<const PlacedColony*> colonies = settled->inSystem(systemId);
    if (!colonies.empty()) writeColonies(doc, sector, system, colonies, names);
    for (int s = 1; s <= stars; ++s) writeStar(doc, sector, system, s, full, names);

    std::vector<Note> ownNotes;
    if (notes == nullptr) notes = &(ownNotes = listNotes(sector.baseName()));
    if (!notes->empty()) {
        writeNotesSection(doc, *notes, notedThings(sector, system, systemId, colonies, names), Audience::GameMaster);
    }
}

void writeSystemLogPage(SectorReader& sector, std::int32_t systemId, LogDetail detail, DocFormat format,
                        std::ostream& out) {
    const std::string systemText = labelled(sector.names().system(systemId), systemId);
    Document doc(out, format, fmt::format("System {} of sector {}", systemText, ansiToUtf8(sector.sectorName())));
    writeSystemLog(doc, sector, systemId, detail == LogDetail::EveryBody);
    doc.finish();
}

}  // namespace orrimar::logs

#include <fmt/format.h>

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>

#include "vocabulary/alien_names.h"
#include "logs/body_details.h"
#include "reading/settled_view.h"
#include "records/colony_codes.h"
#include "vocabulary/colony_words.h"
#include "vocabulary/body_names.h"
#include "documents/document.h"
#include "reading/sector_reader.h"
#include "logs/star_summary.h"
#include "common/ansi_text.h"
#include "common/bit_flags.h"
#include "generation/physics.h"
#include "common/errors.h"
#include "names/sector_names.h"
#include "records/sector_base.h"
#include "records/world_types.h"

namespace orrimar::logs {

using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::reading;

namespace {

// The moons of a planet folded into one cell: "3: 2 Rock, Ice Ball".
std::string foldedMoons(SectorReader& sector, const TPlanetRec& planet) {
    if (planet.moonCount == 0) return "";
    std::map<std::string, int> kinds;
    int rings = 0;
    for (int m = 0; m < planet.moonCount; ++m) {
        const std::int64_t id = std::int64_t{planet.firstMoonId} + m;
        if (id < 0 || id >= sector.moons().count()) {
            kinds["missing"]++;
            continue;
        }
        const TMoonRec moon = sector.moons().read(id);
        if (moon.diameter == 0) {
            ++rings;
        } else {
            kinds[worldTypeText(moon.worldType)]++;
        }
    }
    std::string text = std::to_string(planet.moonCount) + ":";
    const char* sep = " ";
    for (const auto& [kind, n] : kinds) {
        text += n > 1 ? fmt::format("{}{} {}", sep, n, kind) : fmt::format("{}{}", sep, kind);
        sep = ", ";
    }
    if (rings > 0) text += fmt::format("{}{}", sep, rings > 1 ? fmt::format("{} rings", rings) : std::string("ring"));
    return text;
}

std::string raceCell(SectorReader& sector, const TPlanetRec& planet) {
    if (!hasNativeRace(planet)) return "";
    if (planet.nativeRaceId < 0 || planet.nativeRaceId >= sector.aliens().count()) {
        return fmt::format("race {} (missing)", planet.nativeRaceId);
    }
    const TAlienRec race = sector.aliens().read(planet.nativeRaceId);
    // Called by its name where the sector names it: "Vessari (race 64)".
    const std::optional<std::string> name = sector.names().race(planet.nativeRaceId);
    const std::string who = name ? fmt::format("{} (race {})", ansiToUtf8(*name), planet.nativeRaceId)
                                 : fmt::format("race {}", planet.nativeRaceId);
    return fmt::format("{}: {}, level {}", who, subtypeName(race.subtype), race.techLevel);
}

std::vector<std::string> summaryRow(SectorReader& sector, int star, int orbit, const TPlanetRec& body,
                                    const std::optional<std::string>& name) {
    // The world's name when it has one, else its place: star letter and orbit.
    const std::string world = name ? *name : fmt::format("{}{}", starLetter(star), orbit);
    if (isBelt(body.worldType)) {
        return {
            world, tenths(body.orbitRadius), bodyTitle(body), fmt::format("size {}", body.diameter), "", "", "", "", "",
            ""};
    }
    const LifeLevel life = lifeLevel(body.features);
    const float gravity = bulkProperties(body.density, body.diameter).gravity;
    return {world,
            tenths(body.orbitRadius),
            worldTypeText(body.worldType),
            fmt::format("{} km", grouped(body.diameter)),
            atmosphereText(body.atmosphereClass, body.composition),
            fmt::format("{} °C", body.temperature),
            fmt::format("{} g", fixed(gravity, 2)),
            life == LifeLevel::None ? std::string() : std::string(lifeLevelName(life)),
            raceCell(sector, body),
            foldedMoons(sector, body)};
}

}  // namespace

void writeStarSummary(const std::string& sectorBase, std::int32_t systemId, DocFormat docFmt, std::ostream& out,
                      const std::string& systemName) {
    SectorReader sector(sectorBase);
    const std::int64_t systemCount = sector.systems().count();
    if (systemId < 0 || systemId >= systemCount) {
        throw InputError(fmt::format("System id {} is not in sector {}: it has {} systems (ids 0 to {})", systemId,
                                     sectorBase, groupedCount(systemCount), systemCount - 1));
    }
    const TSystemRec system = sector.system(systemId);
    const int stars = starCountOf(system);

    // World names follow the system's by convention; given the name, the
    // name file is not read (what keeps a click in the Atlas quick), else
    // it is, and overrides of world names show too.
    std::optional<SectorNames> names;
    std::optional<SystemNamer> namer;
    std::string shownName = systemName;
    if (systemName.empty()) {
        names = SectorNames::load(sectorBase);
        namer.emplace(*names, systemId, system);
        if (namer->system()) shownName = ansiToUtf8(*namer->system());
    }
    auto worldName = [&](std::int64_t planetId) -> std::optional<std::string> {
        if (namer) {
            const auto n = namer->planet(planetId);
            return n ? std::optional<std::string>(ansiToUtf8(*n)) : std::nullopt;
        }
        const auto place = worldPlace(system, planetId);
        if (!place) return std::nullopt;
        return conventionalWorldName(shownName, *place);
    };
    const std::string title =
        shownName.empty() ? fmt::format("System {}", systemId) : fmt::format("{} (system {})", shownName, systemId);
    Document doc(out, docFmt, title);
    std::string starList;
    for (int s = 1; s <= stars; ++s) {
        const std::size_t i = static_cast<std::size_t>(s - 1);
        if (s > 1) starList += "; ";
        starList +=
            fmt::format("{} {} {}", starLetter(s), spectralDesignation(system.starKind[i], system.spectralDigit[i]),
                        starPlainName(system.starKind[i]));
    }
    doc.paragraph(fmt::format("Sector {}, x {}, y {}, z {}. Stars: {}. Age {} billion years.",
                              ansiToUtf8(sector.sectorName()), system.x, system.y, system.z, starList,
                              tenths(system.systemAge)));

    std::vector<std::vector<std::string>> rows;
    for (int s = 1; s <= stars; ++s) {
        const std::size_t i = static_cast<std::size_t>(s - 1);
        for (int j = 0; j < system.planetCount[i]; ++j) {
            const std::int64_t planetId = std::int64_t{system.firstPlanetId[i]} + j;
            const TPlanetRec body = sector.planet(planetId);
            rows.push_back(summaryRow(sector, s, j + 1, body, worldName(planetId)));
        }
    }
    if (rows.empty()) {
        doc.paragraph("Nothing orbits these stars.");
    } else {
        doc.table({{"World", Align::Left},
                   {"AU", Align::Right},
                   {"Type", Align::Left},
                   {"Size", Align::Right},
                   {"Atmosphere", Align::Left},
                   {"Temp.", Align::Right},
                   {"Gravity", Align::Right},
                   {"Life", Align::Left},
                   {"Race", Align::Left},
                   {"Moons", Align::Left}},
                  rows);
    }
    // The settled worlds, one line each, below the worlds they lie on; a
    // system no one settled reads as it always did.
    const SettledView settled(sector);
    std::vector<std::vector<std::string>> colonyRows;
    for (const PlacedColony* colony : settled.inSystem(systemId)) {
        const auto place = worldPlace(system, colony->planetId);
        std::string world = worldName(colony->planetId)
                                .value_or(place ? fmt::format("{}{}", starLetter(place->star), place->orbit)
                                                : std::to_string(colony->planetId));
        if (isMoonBase(colony->record)) {
            const TPlanetRec planet = sector.planet(colony->planetId);
            world = fmt::format("moon {} of {}", colony->record.worldId - planet.firstMoonId + 1, world);
        }
        const TColonyRec& c = colony->record;
        colonyRows.push_back({world, populationWords(c.populationCode), std::string(colonyTypeName(c.colonyType)),
                              raceText(sector.names(), c.allegiance), std::string(starportName(c.starport)),
                              governmentText(c)});
    }
    if (!colonyRows.empty()) {
        doc.heading("Colonies", 2);
        doc.table({{"World", Align::Left},
                   {"People", Align::Right},
                   {"Type", Align::Left},
                   {"Owner", Align::Left},
                   {"Starport", Align::Left},
                   {"Government", Align::Left}},
                  colonyRows);
    }
    doc.finish();
}

}  // namespace orrimar::logs

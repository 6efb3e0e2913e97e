#include "sheets/system_sheet.h"

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "common/bit_flags.h"
#include "common/errors.h"
#include "vocabulary/alien_names.h"
#include "logs/body_details.h"
#include "vocabulary/body_names.h"
#include "reading/sector_reader.h"
#include "generation/physics.h"
#include "names/sector_names.h"
#include "records/world_types.h"

namespace orrimar::sheets {

namespace {

using reading::SectorReader;
using namespace orrimar::vocabulary;
using namespace orrimar::logs;
using namespace orrimar::reading;

std::string utf8(const std::optional<std::string>& ansiName) {
    return ansiName ? ansiToUtf8(*ansiName) : std::string();
}

SheetStar starOf(const TSystemRec& system, int star) {
    const std::size_t i = static_cast<std::size_t>(star - 1);
    SheetStar s;
    s.letter = std::string(1, starLetter(star));
    s.designation = spectralDesignation(system.starKind[i], system.spectralDigit[i]);
    s.plainName = std::string(starPlainName(system.starKind[i]));
    s.detail = fmt::format("{} solar masses, {} times the Sun's light", fixed(system.mass[i], 2),
                           magnitude(system.luminosity[i]));
    return s;
}

// "Vessari (race 64): Humanoid, level 7" for the game master; players get
// no race line at all.
std::string raceOf(SectorReader& sector, const TPlanetRec& planet, Audience audience) {
    if (audience == Audience::Players || !hasNativeRace(planet)) return {};
    if (planet.nativeRaceId < 0 || planet.nativeRaceId >= sector.aliens().count()) {
        return fmt::format("race {} (missing from the race file)", planet.nativeRaceId);
    }
    const std::string brief = raceBrief(sector.aliens().read(planet.nativeRaceId), planet.nativeRaceId);
    const std::string name = utf8(sector.names().race(planet.nativeRaceId));
    return name.empty() ? brief : name + ". " + brief;
}

std::vector<SheetMoon> moonsOf(SectorReader& sector, const SystemNamer& namer, const TPlanetRec& planet,
                               std::int64_t planetId, const std::string& place) {
    std::vector<SheetMoon> moons;
    for (int m = 0; m < planet.moonCount; ++m) {
        const std::int64_t moonId = std::int64_t{planet.firstMoonId} + m;
        SheetMoon moon;
        moon.name = utf8(namer.moon(planetId, planet.firstMoonId, moonId));
        if (moon.name.empty()) moon.name = fmt::format("{} {}", place, static_cast<char>('a' + m % 26));
        const TMoonRec record = sector.moon(moonId);
        if (record.diameter == 0) {
            moon.kind = "Ring";
        } else {
            moon.kind = worldTypeText(record.worldType);
            moon.size = fmt::format("{} km", grouped(record.diameter));
        }
        moons.push_back(std::move(moon));
    }
    return moons;
}

SheetWorld worldOf(SectorReader& sector, const SystemNamer& namer, const TPlanetRec& body, std::int64_t planetId,
                   int star, int orbit, Audience audience) {
    SheetWorld w;
    w.place = fmt::format("{}{}", starLetter(star), orbit);
    w.name = utf8(namer.planet(planetId));
    w.orbit = fmt::format("{} AU", tenths(body.orbitRadius));
    w.temperature = fmt::format("{} °C", body.temperature);
    if (isBelt(body.worldType)) {
        w.kind = bodyTitle(body);
        w.size = fmt::format("size {}", body.diameter);
        return w;
    }
    w.kind = worldTypeText(body.worldType);
    w.size = fmt::format("{} km", grouped(body.diameter));
    w.air = atmosphereText(body.atmosphereClass, body.composition);
    w.gravity = fmt::format("{} g", fixed(bulkProperties(body.density, body.diameter).gravity, 2));
    const LifeLevel life = lifeLevel(body.features);
    if (life != LifeLevel::None) w.life = std::string(lifeLevelName(life));
    w.race = raceOf(sector, body, audience);
    w.moons = moonsOf(sector, namer, body, planetId, w.place);
    return w;
}

}  // namespace

std::string playersSystemTitle(const std::string& name, int x, int y, int z) {
    return name.empty() ? fmt::format("Unnamed system at {}, {}, {}", x, y, z) : name;
}

SystemSheet gatherSheet(SectorReader& sector, std::int64_t systemId, const SheetOptions& options) {
    const std::int64_t count = sector.systems().count();
    if (systemId < 0 || systemId >= count) {
        throw InputError(fmt::format("System id {} is not in sector {}: it has {} systems (ids 0 to {})", systemId,
                                     sector.baseName(), grouped(count), count - 1));
    }
    const TSystemRec system = sector.system(systemId);
    const SystemNamer namer(sector.names(), systemId, system);
    const bool players = options.audience == Audience::Players;
    SystemSheet sheet;
    sheet.id = static_cast<std::int32_t>(systemId);
    const std::string name = utf8(namer.system());
    if (players) {
        sheet.title = playersSystemTitle(name, system.x, system.y, system.z);
    } else {
        sheet.title = name.empty() ? fmt::format("System {}", systemId) : fmt::format("{} (system {})", name, systemId);
    }
    sheet.sector = ansiToUtf8(sector.sectorName());
    sheet.place = fmt::format("x {}, y {}, z {} parsecs", system.x, system.y, system.z);
    sheet.age = fmt::format("{} billion years", tenths(system.systemAge));
    const int stars = starCountOf(system);
    for (int s = 1; s <= stars; ++s) {
        sheet.stars.push_back(starOf(system, s));
        const std::size_t i = static_cast<std::size_t>(s - 1);
        for (int j = 0; j < system.planetCount[i]; ++j) {
            const std::int64_t planetId = std::int64_t{system.firstPlanetId[i]} + j;
            sheet.worlds.push_back(
                worldOf(sector, namer, sector.planet(planetId), planetId, s, j + 1, options.audience));
        }
    }
    return sheet;
}

std::vector<SystemSheet> gatherSheets(const std::string& sectorBase, const std::vector<std::int64_t>& ids,
                                      const SheetOptions& options) {
    SectorReader sector(sectorBase);
    std::vector<SystemSheet> sheets;
    if (ids.empty()) {
        const std::int64_t count = sector.systems().count();
        sheets.reserve(static_cast<std::size_t>(count));
        for (std::int64_t id = 0; id < count; ++id) sheets.push_back(gatherSheet(sector, id, options));
        return sheets;
    }
    sheets.reserve(ids.size());
    for (const std::int64_t id : ids) sheets.push_back(gatherSheet(sector, id, options));
    return sheets;
}

}  // namespace orrimar::sheets

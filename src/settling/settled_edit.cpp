#include "settling/settled_edit.h"

#include <algorithm>

#include <fmt/format.h>

#include "records/sector_base.h"
#include "records/sector_files.h"
#include "settling/field_error.h"

namespace orrimar {

namespace {

// The base name of a sector that is there; the lock file of one that is
// not would be the only thing the edit left behind.
std::string presentSector(const std::string& baseName) {
    requireSector(baseName);
    return baseName;
}

}  // namespace

SettledEdit::SettledEdit(const std::string& baseName)
    : baseName_(presentSector(baseName)),
      lock_(SectorLock::forChange(baseName_)),
      systems_(sectorPath(baseName_, ".sun")),
      planets_(sectorPath(baseName_, ".pln")),
      moons_(sectorPath(baseName_, ".mon")),
      races_(sectorPath(baseName_, ".aln"), IfMissing::Empty),
      counts_{systems_.count(), planets_.count(), moons_.count()},
      before_(ReadSettledLayer(baseName_)) {}

bool SettledEdit::worldExists(const WorldRef& world) const {
    return world.id >= 0 && world.id < (world.moon ? counts_.moons : counts_.planets);
}

std::int64_t SettledEdit::systemOf(const TColonyRec& colony) {
    return colonySystem(
        colony, counts_, [&](std::int64_t id) { return planets_.read(id); },
        [&](std::int64_t id) { return moons_.read(id); });
}

std::int64_t SettledEdit::homeSystemOf(std::uint16_t race) {
    if (race >= races_.count()) return -1;
    const std::int64_t world = races_.read(race).worldId;
    if (world < 0 || world >= counts_.planets) return -1;
    const std::int64_t system = planets_.read(world).systemId;
    return system >= 0 && system < counts_.systems ? system : -1;
}

void SettledEdit::requireRace(std::int64_t race, const char* field) const {
    if (race == kNoRace) {
        throw FieldError(field,
                         fmt::format("{} names no race; give a race of the sector (0..{})", race, races_.count() - 1));
    }
    if (race < 0 || race >= races_.count()) {
        throw FieldError(field, races_.count() == 0 ? fmt::format("there is no race {}: the sector has no races", race)
                                                    : fmt::format("there is no race {}: the sector's races are 0..{}",
                                                                  race, races_.count() - 1));
    }
}

void SettledEdit::requireSystem(std::int64_t system, const char* field) const {
    if (system < 0 || system >= counts_.systems) {
        throw FieldError(
            field, fmt::format("there is no system {}: the sector's systems are 0..{}", system, counts_.systems - 1));
    }
}

void SettledEdit::commit(SettledLayer after) {
    after.control = deriveControl(after.colonies, [&](const TColonyRec& colony) { return systemOf(colony); });
    // Planets that held an owned colony before lose their owner unless a
    // colony still gives them one.
    std::vector<std::int64_t> ownedBefore;
    for (const TColonyRec& colony : before_.colonies) {
        if (isVacant(colony) || isMoonBase(colony) || colony.allegiance == kNoRace) continue;
        if (colony.worldId >= 0 && colony.worldId < counts_.planets) ownedBefore.push_back(colony.worldId);
    }
    std::vector<PlanetOwner> owners = planetOwnersFor(after.colonies, ownedBefore);
    // A colony record of another program's naming a planet beyond the file
    // is that program's business; it is carried, not written through.
    std::erase_if(owners, [&](const PlanetOwner& o) { return o.planetId < 0 || o.planetId >= counts_.planets; });
    WriteSettledLayer(baseName_, after, owners);
}

void requireNumberIn(std::int64_t id, std::int64_t count, const char* noun, const char* plural) {
    if (id >= 0 && id < count) return;
    throw FieldError(
        noun, count == 0 ? fmt::format("there is no {} {}: the sector has no {}", noun, id, plural)
                         : fmt::format("there is no {} {}: the sector's {} are 0..{}", noun, id, plural, count - 1));
}

void refuseRemoved(std::int64_t id, const char* noun) {
    throw FieldError(noun, fmt::format("{} {} was removed; its number stays empty", noun, id));
}

}  // namespace orrimar

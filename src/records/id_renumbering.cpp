#include "records/id_renumbering.h"

#include <limits>

#include <fmt/format.h>

#include "common/errors.h"
#include "records/colony_codes.h"

namespace orrimar {

namespace {

std::int32_t shift32(std::int32_t value, std::int64_t offset, const char* field) {
    const std::int64_t shifted = static_cast<std::int64_t>(value) + offset;
    if (shifted < std::numeric_limits<std::int32_t>::min() || shifted > std::numeric_limits<std::int32_t>::max()) {
        throw RangeError(fmt::format("Range check error ({} {} + {})", field, value, offset));
    }
    return static_cast<std::int32_t>(shifted);
}

// The 16-bit race ids are shifted as unsigned numbers; the sum must still
// fit 16 bits.
std::uint16_t shift16(std::uint16_t value, std::int64_t offset, const char* field) {
    const std::int64_t shifted = static_cast<std::int64_t>(value) + offset;
    if (shifted < 0 || shifted > std::numeric_limits<std::uint16_t>::max()) {
        throw RangeError(fmt::format("Range check error ({} {} + {})", field, value, offset));
    }
    return static_cast<std::uint16_t>(shifted);
}

// A race id of the settled layer: kNoRace means "none" there, so a shifted
// id must stay below it.
std::uint16_t shiftRace(std::uint16_t value, std::int64_t offset, const char* field) {
    const std::uint16_t shifted = shift16(value, offset, field);
    if (shifted == kNoRace) throw RangeError(fmt::format("Range check error ({} {} + {})", field, value, offset));
    return shifted;
}

}  // namespace

TSystemRec renumberSystem(TSystemRec record, const MergeOffsets& offsets) {
    // Absent stars too: their first planet id is meaningless, but shifting
    // it keeps the "previous first id + count" chain of the system intact.
    for (auto& id : record.firstPlanetId) id = shift32(id, offsets.planets, "first planet id");
    if (record.systemRaceId != kNoRace) {
        record.systemRaceId = shift16(record.systemRaceId, offsets.races, "system race id");
    }
    return record;
}

TPlanetRec renumberPlanet(TPlanetRec record, const MergeOffsets& offsets) {
    record.systemId = shift32(record.systemId, offsets.systems, "system id");
    if (hasNativeRace(record)) {
        record.nativeRaceId = shift32(record.nativeRaceId, offsets.races, "native race id");
    }
    if (record.moonCount > 0) {
        record.firstMoonId = shift32(record.firstMoonId, offsets.moons, "first moon id");
    }
    const auto colonising = static_cast<std::uint16_t>(record.colonisingRaceId);
    if (colonising != kNoRace && isColonised(record)) {
        record.colonisingRaceId = static_cast<std::int16_t>(shift16(colonising, offsets.races, "colonising race id"));
    }
    return record;
}

TMoonRec renumberMoon(TMoonRec record, const MergeOffsets& offsets) {
    record.planetId = shift32(record.planetId, offsets.planets, "planet id");
    return record;
}

TAlienRec renumberAlien(TAlienRec record, const MergeOffsets& offsets) {
    // A negative home world id keeps its sign: its magnitude grows by P.
    const std::int64_t offset = record.worldId >= 0 ? offsets.planets : -offsets.planets;
    record.worldId = shift32(record.worldId, offset, "world id");
    return record;
}

TColonyRec renumberColony(TColonyRec record, const MergeOffsets& offsets) {
    if (isVacant(record)) return record;
    record.worldId = shift32(record.worldId, isMoonBase(record) ? offsets.moons : offsets.planets, "world id");
    record.race = shiftRace(record.race, offsets.races, "race");
    if (record.allegiance != kNoRace) record.allegiance = shiftRace(record.allegiance, offsets.races, "allegiance");
    return record;
}

TConRec renumberControl(TConRec record, const MergeOffsets& offsets) {
    record.systemId = shift32(record.systemId, offsets.systems, "system id");
    record.race = shiftRace(record.race, offsets.races, "race");
    return record;
}

TEmpireRec renumberEmpire(TEmpireRec record, const MergeOffsets& offsets) {
    if (isVacant(record)) return record;
    record.race = shiftRace(record.race, offsets.races, "race");
    record.capitalSystemId = shift32(record.capitalSystemId, offsets.systems, "capital system id");
    return record;
}

}  // namespace orrimar

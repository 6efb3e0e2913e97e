#include "settling/colony_edit.h"

#include <fmt/format.h>

#include "records/sector_base.h"
#include "settling/field_error.h"
#include "settling/settled_edit.h"

namespace orrimar {

namespace {

// The 16-bit numbers of a colony record.
constexpr std::int64_t kLargestAmount = 65535;

template <std::size_t N>
std::string namesList(const std::array<std::string_view, N>& names) {
    std::string out;
    for (const std::string_view name : names) out += fmt::format("{}{}", out.empty() ? "" : ", ", name);
    return out;
}

void requireIn(const std::optional<std::int64_t>& value, std::int64_t low, std::int64_t high, const char* field,
               const char* what) {
    if (value && (*value < low || *value > high)) {
        throw FieldError(field, fmt::format("{} {} is outside {}..{}", what, *value, low, high));
    }
}

// Every given value against its field's range, before any is applied.
void checkRanges(const ColonyFields& f) {
    requireIn(f.populationCode, 0, kPopulationCodeCount - 1, "population", "population code");
    if (f.populationCode && f.people) {
        throw FieldError("people", "give the population code or the number of people, not both");
    }
    if (f.people) {
        const std::uint64_t fewest = populationPeople(0);
        const std::uint64_t most = populationPeople(kPopulationCodeCount - 1);
        if (*f.people < fewest || *f.people > most) {
            throw FieldError("people", fmt::format("{} people is outside what a colony holds, {} to {}",
                                                   groupedCount(static_cast<std::int64_t>(*f.people)),
                                                   groupedCount(static_cast<std::int64_t>(fewest)),
                                                   groupedCount(static_cast<std::int64_t>(most))));
        }
    }
    requireIn(f.type, 1, static_cast<std::int64_t>(kColonyTypeNames.size()), "type", "colony type");
    requireIn(f.starport, 1, static_cast<std::int64_t>(kStarportNames.size()), "starport", "starport class");
    requireIn(f.law, 0, kLastLevel, "law", "law level");
    requireIn(f.stability, 0, kLastLevel, "stability", "stability");
    requireIn(f.crime, 0, kLastLevel, "crime", "crime level");
    requireIn(f.gnp, 0, kLargestAmount, "gnp", "gnp");
    requireIn(f.power, 0, kLargestAmount, "power", "power");
    if (f.owner && f.independent) {
        throw FieldError("owner", "a colony is owned by a race or independent, not both");
    }
}

// The colony already on `world`, other than `except`; -1 for none.
std::int64_t colonyOn(const SettledLayer& layer, const WorldRef& world, std::int64_t except) {
    for (std::size_t i = 0; i < layer.colonies.size(); ++i) {
        const TColonyRec& colony = layer.colonies[i];
        if (static_cast<std::int64_t>(i) == except || isVacant(colony)) continue;
        if (colonyWorld(colony) == world) return static_cast<std::int64_t>(i);
    }
    return -1;
}

void requireFreeWorld(SettledEdit& edit, const WorldRef& world, std::int64_t except) {
    if (!edit.worldExists(world)) {
        const std::int64_t count = world.moon ? edit.counts().moons : edit.counts().planets;
        throw FieldError("world", count == 0 ? fmt::format("there is no {} {}: the sector has no {}s", worldWord(world),
                                                           world.id, worldWord(world))
                                             : fmt::format("there is no {} {}: the sector's {}s are 0..{}",
                                                           worldWord(world), world.id, worldWord(world), count - 1));
    }
    const std::int64_t other = colonyOn(edit.before(), world, except);
    if (other >= 0) {
        throw FieldError("world", fmt::format("{} already holds colony {}; change or remove that one",
                                              worldLabel(edit.baseName(), world), other));
    }
}

// Applies the checked values to `colony`, races and world checked against the sector.
void apply(SettledEdit& edit, const ColonyFields& f, std::int64_t colonyId, TColonyRec& colony) {
    checkRanges(f);
    if (f.world) {
        requireFreeWorld(edit, *f.world, colonyId);
        colony.worldId = static_cast<std::int32_t>(f.world->id);
        colony.kind = f.world->moon ? kMoonBase : kPlanetColony;
    }
    if (f.race) {
        edit.requireRace(*f.race, "race");
        colony.race = static_cast<std::uint16_t>(*f.race);
    }
    if (f.owner) {
        edit.requireRace(*f.owner, "owner");
        colony.allegiance = static_cast<std::uint16_t>(*f.owner);
    }
    if (f.independent) colony.allegiance = kNoRace;
    if (f.populationCode) colony.populationCode = static_cast<std::uint8_t>(*f.populationCode);
    if (f.people) colony.populationCode = static_cast<std::uint8_t>(populationCodeFor(*f.people));
    if (f.type) colony.colonyType = static_cast<std::uint8_t>(*f.type);
    if (f.starport) colony.starport = static_cast<std::uint8_t>(*f.starport);
    if (f.law) colony.lawLevel = static_cast<std::uint8_t>(*f.law);
    if (f.stability) colony.stability = static_cast<std::uint8_t>(*f.stability);
    if (f.crime) colony.crimeLevel = static_cast<std::uint8_t>(*f.crime);
    if (f.gnp) colony.gnp = static_cast<std::uint16_t>(*f.gnp);
    if (f.power) colony.power = static_cast<std::uint16_t>(*f.power);
    if (f.facilities) {
        for (std::size_t k = 1; k <= kFacilityNames.size(); ++k) setFacility(colony, static_cast<Facility>(k), false);
        for (const Facility facility : *f.facilities) setFacility(colony, facility, true);
    }
}

template <typename Code>
Code fromText(std::string_view text, std::optional<Code> code, const char* field, const char* what,
              const std::string& known) {
    if (!code) throw FieldError(field, fmt::format("there is no {} '{}'; the {}s are {}", what, text, what, known));
    return *code;
}

}  // namespace

ColonyEditResult AddColony(const std::string& baseName, const ColonyFields& fields) {
    if (!fields.world) throw FieldError("world", "a new colony needs its world");
    if (!fields.race) throw FieldError("race", "a new colony needs the race of its people");
    SettledEdit edit(baseName);
    TColonyRec colony;
    colony.colonyType = static_cast<std::uint8_t>(kNewColonyType);
    colony.starport = static_cast<std::uint8_t>(kNewColonyStarport);
    colony.lawLevel = colony.stability = colony.crimeLevel = static_cast<std::uint8_t>(kNewColonyLevel);
    apply(edit, fields, static_cast<std::int64_t>(edit.before().colonies.size()), colony);
    if (!fields.owner && !fields.independent) colony.allegiance = colony.race;
    return {appendRecord(edit, kColonyList, colony), colony};
}

ColonyEditResult SetColony(const std::string& baseName, std::int64_t colonyId, const ColonyFields& fields) {
    SettledEdit edit(baseName);
    return {colonyId, changeRecord(edit, kColonyList, colonyId,
                                   [&](TColonyRec& colony) { apply(edit, fields, colonyId, colony); })};
}

ColonyEditResult RemoveColony(const std::string& baseName, std::int64_t colonyId) {
    SettledEdit edit(baseName);
    return {colonyId, removeRecord(edit, kColonyList, colonyId)};
}

ColonyType colonyTypeFromText(std::string_view text, const char* field) {
    return fromText(text, colonyTypeByName(text), field, "colony type", namesList(kColonyTypeNames));
}

Starport starportFromText(std::string_view text, const char* field) {
    return fromText(text, starportByName(text), field, "starport class", namesList(kStarportNames));
}

std::vector<Facility> facilitiesFromText(std::string_view text, const char* field) {
    std::vector<Facility> facilities;
    if (text.find_first_not_of(" \t") == std::string_view::npos) return facilities;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view name = text.substr(start, comma - start);
        facilities.push_back(fromText(name, facilityByName(name), field, "facility", namesList(kFacilityNames)));
        start = comma + 1;
    }
    return facilities;
}

std::vector<Facility> facilitiesOf(const TColonyRec& colony) {
    std::vector<Facility> present;
    for (std::size_t k = 1; k <= kFacilityNames.size(); ++k) {
        if (hasFacility(colony, static_cast<Facility>(k))) present.push_back(static_cast<Facility>(k));
    }
    return present;
}

}  // namespace orrimar

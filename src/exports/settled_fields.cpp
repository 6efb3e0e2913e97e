#include "exports/settled_fields.h"

#include "records/colony_codes.h"
#include "vocabulary/colony_words.h"

namespace orrimar::exports {

using namespace orrimar::reading;
using namespace orrimar::vocabulary;

namespace {

FieldValue integer(std::int64_t value) { return value; }
FieldValue idOrNull(std::int64_t id) { return id < 0 ? FieldValue(FieldNull{}) : FieldValue(id); }

}  // namespace

Fields colonyFields(const PlacedColony& colony) {
    const TColonyRec& c = colony.record;
    Fields f;
    f.reserve(22);
    f.push_back({"id", integer(colony.id)});
    f.push_back({"kind", std::string(isMoonBase(c) ? "moon_base" : "planet")});
    f.push_back({"world_id", integer(c.worldId)});
    f.push_back({"planet_id", idOrNull(colony.planetId)});
    f.push_back({"system_id", idOrNull(colony.systemId)});
    f.push_back({"race_id", integer(c.race)});
    f.push_back({"owner_id", c.allegiance == kNoRace ? FieldValue(FieldNull{}) : integer(c.allegiance)});
    f.push_back({"population_code", integer(c.populationCode)});
    f.push_back({"population_people", integer(static_cast<std::int64_t>(populationPeople(c.populationCode)))});
    f.push_back({"colony_type_code", integer(c.colonyType)});
    f.push_back({"colony_type_name", std::string(colonyTypeName(c.colonyType))});
    f.push_back({"starport_code", integer(c.starport)});
    f.push_back({"starport_name", std::string(starportName(c.starport))});
    f.push_back({"law_level", integer(c.lawLevel)});
    f.push_back({"law_name", std::string(lawWord(c.lawLevel))});
    f.push_back({"stability_level", integer(c.stability)});
    f.push_back({"stability_name", std::string(stabilityWord(c.stability))});
    f.push_back({"crime_level", integer(c.crimeLevel)});
    f.push_back({"crime_name", std::string(crimeWord(c.crimeLevel))});
    f.push_back({"gnp_mcr_per_year", integer(c.gnp)});
    f.push_back({"power_points", integer(c.power)});
    f.push_back({"facilities", facilityNames(c)});
    return f;
}

Fields controlFields(const TConRec& control) {
    return {{"system_id", integer(std::int32_t{control.systemId})}, {"race_id", integer(std::uint16_t{control.race})}};
}

Fields empireFields(const EmpireEntry& empire, const std::string& name) {
    return {{"id", integer(empire.id)},
            {"name", name},
            {"race_id", integer(empire.record.race)},
            {"capital_system_id", integer(empire.record.capitalSystemId)},
            {"colour", colourHex(empire.record.colour)}};
}

PlacedColony colonyPrototype() {
    PlacedColony colony;
    colony.record.kind = kPlanetColony;
    colony.record.colonyType = static_cast<std::uint8_t>(ColonyType::Settlement);
    colony.record.starport = static_cast<std::uint8_t>(Starport::None);
    return colony;
}

}  // namespace orrimar::exports

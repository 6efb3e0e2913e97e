#include "atlas/colony_rows.h"

#include <fmt/format.h>

#include "records/colony_codes.h"
#include "vocabulary/colony_words.h"

namespace orrimar::atlas {

namespace {

// A damaged code reads as "?" in the summary: the colonies report and check
// name it; the map still shows the rest.
template <typename Lookup>
std::string orUnknown(Lookup&& lookup) {
    try {
        return std::string(lookup());
    } catch (const std::exception&) {
        return "?";
    }
}

}  // namespace

std::vector<ColonyRow> colonyRows(const AtlasModel& model, SystemId id) {
    std::vector<ColonyRow> rows;
    const SettledLayer& settled = model.settled();
    const std::int32_t firstPlanet = id >= 0 && id < model.size() ? model.worlds(id).firstPlanet : -1;
    for (const ColonyEntry& c : settled.coloniesOf(id)) {
        ColonyRow row;
        row.record = c.record;
        const std::string planet = firstPlanet >= 0 && c.planet >= firstPlanet
                                       ? fmt::format("planet {}", c.planet - firstPlanet + 1)
                                       : fmt::format("planet record {}", c.planet);
        row.world = isMoonBase(c.colony) ? fmt::format("moon base over {}", planet) : planet;
        row.people = c.colony.populationCode < kPopulationCodeCount ? populationWords(c.colony.populationCode) : "?";
        row.race = settled.raceLabel(c.colony.race);
        row.owner = settled.raceLabel(c.colony.allegiance);
        row.starport = orUnknown([&] { return starportName(c.colony.starport); });
        row.type = orUnknown([&] { return colonyTypeName(c.colony.colonyType); });
        row.government = vocabulary::governmentText(c.colony);
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace orrimar::atlas

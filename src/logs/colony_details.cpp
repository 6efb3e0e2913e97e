#include "logs/colony_details.h"

#include <fmt/format.h>

#include "reading/sector_reader.h"
#include "records/colony_codes.h"
#include "vocabulary/colony_words.h"

namespace orrimar::logs {

using namespace orrimar::documents;
using namespace orrimar::reading;
using namespace orrimar::vocabulary;

std::string colonyTitle(const PlacedColony& colony) {
    return fmt::format("{} {}", isMoonBase(colony.record) ? "Moon base" : "Colony", colony.id);
}

KeyValues colonyDetails(const PlacedColony& colony, const SectorNames& names) {
    const TColonyRec& c = colony.record;
    KeyValues kv;
    kv.emplace_back("People", fmt::format("{} of {}", populationWords(c.populationCode), raceText(names, c.race)));
    kv.emplace_back("Colony type", std::string(colonyTypeName(c.colonyType)));
    kv.emplace_back("Owner", raceText(names, c.allegiance));
    kv.emplace_back("Starport", std::string(starportName(c.starport)));
    kv.emplace_back("Government", governmentText(c));
    kv.emplace_back("Gross product", fmt::format("{} million credits a year", reading::grouped(c.gnp)));
    kv.emplace_back("Power", fmt::format("{} points", reading::grouped(c.power)));
    const std::string facilities = facilitiesText(c);
    kv.emplace_back("Facilities", facilities.empty() ? std::string("none") : facilities);
    return kv;
}

}  // namespace orrimar::logs

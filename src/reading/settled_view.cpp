#include "reading/settled_view.h"

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "reading/sector_reader.h"
#include "records/colony_codes.h"
#include "records/record_reader.h"
#include "records/sector_files.h"

namespace orrimar::reading {

namespace {

template <typename T, typename Keep>
void readAll(ValidatingReader<T>* file, Keep keep) {
    if (file == nullptr) return;
    for (std::int64_t id = 0; id < file->count(); ++id) keep(id, file->read(id));
}

template <typename T, typename Keep>
void readAll(const std::string& baseName, const char* extension, Keep keep) {
    RecordReader<T> file(sectorPath(baseName, extension), IfMissing::Empty);
    for (std::int64_t id = 0; id < file.count(); ++id) keep(id, file.read(id));
}

}  // namespace

SettledView::SettledView(SectorReader& sector) {
    const WorldCounts counts{sector.systems().count(), sector.planets().count(), sector.moons().count()};
    const auto planetAt = [&](std::int64_t id) { return sector.planets().read(id); };
    const auto moonAt = [&](std::int64_t id) { return sector.moons().read(id); };
    readAll(sector.colonies(), [&](std::int64_t id, const TColonyRec& colony) {
        if (isVacant(colony)) return;
        colonies_.push_back(
            {id, colony, colonyPlanet(colony, counts, moonAt), colonySystem(colony, counts, planetAt, moonAt)});
    });
    readAll(sector.control(), [&](std::int64_t, const TConRec& record) { control_.push_back(record); });
    readAll(sector.empires(), [&](std::int64_t id, const TEmpireRec& empire) {
        if (!isVacant(empire)) empires_.push_back({id, empire});
    });
    index();
}

SettledView SettledView::fromFiles(const std::string& baseName) {
    SettledView view;
    readAll<TColonyRec>(baseName, ".col", [&](std::int64_t id, const TColonyRec& colony) {
        if (!isVacant(colony)) view.colonies_.push_back({id, colony, -1, -1});
    });
    readAll<TConRec>(baseName, ".con", [&](std::int64_t, const TConRec& record) { view.control_.push_back(record); });
    readAll<TEmpireRec>(baseName, ".emp", [&](std::int64_t id, const TEmpireRec& empire) {
        if (!isVacant(empire)) view.empires_.push_back({id, empire});
    });
    view.index();
    return view;
}

void SettledView::index() {
    // The first record for a system wins: control is derived one race per
    // system, so a second one is a file some other program wrote.
    for (const TConRec& record : control_)
        controller_.emplace(std::int32_t{record.systemId}, std::uint16_t{record.race});
    for (std::size_t i = 0; i < empires_.size(); ++i) empireOfRace_.emplace(empires_[i].record.race, i);
    for (std::size_t i = 0; i < colonies_.size(); ++i) {
        if (colonies_[i].systemId >= 0) bySystem_[colonies_[i].systemId].push_back(i);
    }
}

std::optional<std::uint16_t> SettledView::controllerOf(std::int64_t systemId) const {
    const auto it = controller_.find(systemId);
    if (it == controller_.end()) return std::nullopt;
    return it->second;
}

const EmpireEntry* SettledView::empireOf(std::uint16_t race) const {
    const auto it = empireOfRace_.find(race);
    return it == empireOfRace_.end() ? nullptr : &empires_[it->second];
}

std::array<std::uint8_t, 3> SettledView::colourOf(std::uint16_t race) const {
    if (const EmpireEntry* empire = empireOf(race)) return empire->record.colour;
    return empireColourFor(race);
}

std::vector<const PlacedColony*> SettledView::inSystem(std::int64_t systemId) const {
    std::vector<const PlacedColony*> found;
    const auto it = bySystem_.find(systemId);
    if (it == bySystem_.end()) return found;
    for (const std::size_t i : it->second) found.push_back(&colonies_[i]);
    return found;
}

RaceHoldings SettledView::holdingsOf(std::uint16_t race) const {
    RaceHoldings holdings;
    for (const PlacedColony& c : colonies_) {
        if (c.record.allegiance != race) continue;
        if (isMoonBase(c.record)) {
            ++holdings.moonBases;
        } else {
            ++holdings.planetColonies;
        }
        if (c.record.populationCode < kPopulationCodeCount)
            holdings.people += populationPeople(c.record.populationCode);
    }
    for (const TConRec& record : control_) {
        if (record.race == race) holdings.systems.push_back(std::int32_t{record.systemId});
    }
    holdings.empire = empireOf(race);
    return holdings;
}

std::string raceText(const SectorNames& names, std::uint16_t race) {
    if (race == kNoRace) return "independent";
    if (const auto name = names.race(race)) return fmt::format("{} (race {})", ansiToUtf8(*name), race);
    return fmt::format("race {}", race);
}

}  // namespace orrimar::reading

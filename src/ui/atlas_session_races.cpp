#include <algorithm>
#include <sstream>

#include <fmt/format.h>

#include "engine/engine.h"
#include "reading/sector_reader.h"
#include "names/named_things.h"
#include "records/records.h"
#include "ui/atlas_session_state.h"

// The alien races of the open sector: which live in a system, what they are
// called, their logs.

namespace orrimar::ui {

std::string AtlasSession::raceName(std::int32_t raceId) const {
    const std::optional<std::string> name =
        isOpen() ? storedName(state_->model->baseName(), NameKind::Race, raceId) : std::nullopt;
    return name && !name->empty() ? fmt::format("{} (race {})", *name, raceId) : fmt::format("race {}", raceId);
}

std::string AtlasSession::alienLogHtml(std::int32_t raceId) const {
    if (!isOpen()) return {};
    std::ostringstream log;
    engine::main_alienlog(state_->model->baseName(), raceId, 0, engine::LogFormat::Html, log);
    return log.str();
}

std::vector<std::int32_t> AtlasSession::racesOf(std::int32_t id) const {
    std::vector<std::int32_t> races;
    if (!isOpen()) return races;
    reading::SectorReader sector(state_->model->baseName());
    const TSystemRec system = sector.system(id);
    const int stars = starCountOf(system);
    for (int star = 0; star < stars; ++star) {
        const auto i = static_cast<std::size_t>(star);
        for (int j = 0; j < system.planetCount[i]; ++j) {
            const std::int64_t planetId = static_cast<std::int64_t>(system.firstPlanetId[i]) + j;
            if (planetId < 0 || planetId >= sector.planets().count()) continue;
            const TPlanetRec planet = sector.planet(planetId);
            if (!hasNativeRace(planet)) continue;
            if (planet.nativeRaceId < 0 || planet.nativeRaceId >= sector.aliens().count()) continue;
            if (state_->players && !state_->players->knows({ThingKind::Race, planet.nativeRaceId})) continue;
            if (std::find(races.begin(), races.end(), planet.nativeRaceId) == races.end())
                races.push_back(planet.nativeRaceId);
        }
    }
    return races;
}

}  // namespace orrimar::ui

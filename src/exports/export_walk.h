// What the three exports share: the walk of a sector's systems with their
// stars, bodies and moons in file order, the names they carry, and the
// progress steps.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "common/ansi_text.h"
#include "reading/sector_reader.h"
#include "exports/export_fields.h"
#include "exports/sector_export.h"
#include "common/bit_flags.h"
#include "names/sector_names.h"

namespace orrimar::exports {

// Thrown by a step when the user asked to cancel; ExportSector turns it
// into a cancelled result after the staged output is gone.
struct ExportCancelled {};

class ExportSteps {
public:
    ExportSteps(ExportProgress* progress, std::int64_t maximum) : progress_(progress) {
        if (progress_ != nullptr) progress_->setMaximum(maximum);
    }
    void step() {
        ++done_;
        if (progress_ == nullptr) return;
        progress_->setProgress(done_);
        if (progress_->cancelRequested()) throw ExportCancelled{};
    }

private:
    ExportProgress* progress_;
    std::int64_t done_ = 0;
};

// The names the exports give systems, bodies, moons and races, in UTF-8:
// those of the name file, and the conventional names of the worlds of a
// named system (one SystemNamer per system, as the logs name them).
class ExportNames {
public:
    explicit ExportNames(const std::string& baseName) : names_(SectorNames::load(baseName)) {}
    const SectorNames& names() const { return names_; }
    OptionalName race(std::int64_t id) const { return utf8(names_.race(id)); }
    OptionalName system(std::int64_t id) const { return utf8(names_.system(id)); }
    static OptionalName utf8(const std::optional<std::string>& ansi) {
        if (!ansi) return std::nullopt;
        return orrimar::ansiToUtf8(*ansi);
    }

private:
    // Twelve bytes and the characters per stored name: a million named
    // systems hold about 20 MB, within the exports' memory budget.
    SectorNames names_;
};

// A planet whose only moon is its twin (the planet's twin feature bits).
inline bool hasTwinMoon(const TPlanetRec& planet) {
    return planet.moonCount == 1 && (testBit(planet.features[3], 1) || testBit(planet.features[3], 2));
}

// visit(star, orbit, id, body) for the bodies of one system in star and
// orbit order; ids beyond the planet file are skipped.
template <typename Visit>
void forEachBodyOf(reading::SectorReader& sector, const TSystemRec& system, Visit visit) {
    for (int s = 1; s <= starCountOf(system); ++s) {
        const auto i = static_cast<std::size_t>(s - 1);
        for (int j = 0; j < system.planetCount[i]; ++j) {
            const std::int64_t id = static_cast<std::int64_t>(system.firstPlanetId[i]) + j;
            if (id < 0 || id >= sector.planets().count()) continue;
            visit(s, j + 1, id, sector.planets().read(id));
        }
    }
}

// visit(number, id, moon) for the moons of one planet.
template <typename Visit>
void forEachMoonOf(reading::SectorReader& sector, const TPlanetRec& planet, Visit visit) {
    for (int m = 0; m < planet.moonCount; ++m) {
        const std::int64_t id = static_cast<std::int64_t>(planet.firstMoonId) + m;
        if (id < 0 || id >= sector.moons().count()) continue;
        visit(m + 1, id, sector.moons().read(id));
    }
}

// The system of a race's home world, when the world is in the sector.
inline std::optional<std::int64_t> homeSystemOf(reading::SectorReader& sector, const TAlienRec& race) {
    if (race.worldId < 0 || race.worldId >= sector.planets().count()) return std::nullopt;
    const std::int32_t systemId = sector.planets().read(race.worldId).systemId;
    if (systemId < 0 || systemId >= sector.systems().count()) return std::nullopt;
    return systemId;
}

}  // namespace orrimar::exports

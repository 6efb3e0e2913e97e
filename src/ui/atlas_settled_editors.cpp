#include "ui/atlas_settled_editors.h"

#include <QStatusBar>

#include "records/colony_codes.h"
#include "records/record_reader.h"
#include "records/sector_files.h"
#include "settling/settled_layer.h"
#include "ui/atlas_empires_panel.h"
#include "ui/atlas_window.h"
#include "ui/colony_dialog.h"
#include "ui/empire_dialog.h"

namespace orrimar::ui {

namespace {

// The first colony of `system`, by colony id; -1 when it holds none.
std::int64_t firstColonyIn(const std::string& base, std::int32_t system) {
    const SettledLayer layer = ReadSettledLayer(base);
    RecordReader<TSystemRec> systems(sectorPath(base, ".sun"));
    RecordReader<TPlanetRec> planets(sectorPath(base, ".pln"));
    RecordReader<TMoonRec> moons(sectorPath(base, ".mon"));
    const WorldCounts counts{systems.count(), planets.count(), moons.count()};
    for (std::size_t id = 0; id < layer.colonies.size(); ++id) {
        const std::int64_t at = colonySystem(
            layer.colonies[id], counts, [&](std::int64_t p) { return planets.read(p); },
            [&](std::int64_t m) { return moons.read(m); });
        if (at == system) return static_cast<std::int64_t>(id);
    }
    return -1;
}

std::int64_t empireOfRace(const std::string& base, int race) {
    const SettledLayer layer = ReadSettledLayer(base);
    for (std::size_t id = 0; id < layer.empires.size(); ++id) {
        if (!isVacant(layer.empires[id]) && layer.empires[id].race == race) return static_cast<std::int64_t>(id);
    }
    return -1;
}

// After an accepted edit: the map and panels read the sector again.
void changed(AtlasWindow& window, const QString& status) {
    window.reloadSector();
    window.statusBar()->showMessage(status);
}

}  // namespace

void plugSettledEditors(AtlasWindow& window) {
    window.setColonyEditors(
        [&window](std::int32_t) {
            QString status;
            if (addColony(&window, window.sectorBase().toStdString(), std::nullopt, &status)) changed(window, status);
        },
        [&window](std::int32_t system) {
            const std::string base = window.sectorBase().toStdString();
            const std::int64_t colony = firstColonyIn(base, system);
            QString status;
            if (colony >= 0 && editColony(&window, base, colony, &status)) changed(window, status);
        });
    window.EmpiresPanel->setEmpireEditor([&window](int race) {
        const std::string base = window.sectorBase().toStdString();
        const std::int64_t empire = empireOfRace(base, race);
        QString status;
        const bool done = empire >= 0 ? editEmpire(&window, base, empire, &status)
                                      : addEmpire(&window, base, std::optional<std::int64_t>{race}, &status);
        if (done) changed(window, status);
    });
}

}  // namespace orrimar::ui

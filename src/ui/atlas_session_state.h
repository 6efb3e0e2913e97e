// What an AtlasSession holds of its open sector, shared by the files that
// implement the session (the session itself, its frames, slab, races and
// reload).
#pragma once

#include <QColor>
#include <QSize>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "atlas/atlas_model.h"
#include "atlas/camera.h"
#include "atlas/players_sight.h"
#include "atlas/routes.h"
#include "atlas/territory.h"
#include "ui/atlas_session.h"

namespace orrimar::ui {

using atlas::SystemId;

struct AtlasSession::State {
    std::optional<atlas::AtlasModel> model;
    // The players' view while it is on: what they know, worked out from the
    // model, which every frame, list, search and route then reads instead.
    // Made again whenever the model is.
    std::unique_ptr<atlas::PlayersSight> players;
    const atlas::AtlasModel& shown() const { return players ? players->model() : *model; }
    atlas::Camera camera;
    int view = 1;
    bool needsFit = true;
    std::vector<std::uint8_t> lit;
    bool filterActive = false;
    std::optional<SystemId> selected;
    atlas::Route route;
    std::uint64_t revision = 0;
    // The last picture's projection, reused for picking and hover as long
    // as nothing moved.
    mutable std::vector<atlas::ProjectedSystem> projected;
    mutable std::uint64_t projectedRevision = ~std::uint64_t{0};
    mutable QSize projectedSize;
    // Every n-th system, for the frames of a huge sector while it moves.
    std::vector<std::uint8_t> sample;
    // Label widths by system: measuring text is slow and names seldom change.
    mutable std::unordered_map<SystemId, float> labelWidths;

    // The territories' borders for the view and slab they were worked out
    // for: they change only with those (or another model), not as the
    // camera turns, pans or zooms.
    std::uint64_t modelGeneration = 0;
    struct Borders {
        std::uint64_t generation = ~std::uint64_t{0};
        atlas::View view = atlas::View::Top;
        atlas::Slab slab;
        std::vector<atlas::BorderLine> lines;
    };
    Borders borders;
    // Territory colour by race id (0 = not a ruling race), made when a
    // model is taken.
    std::vector<QRgb> raceColours;

    void changed() { ++revision; }
    // A model taken: what was worked out for the last one goes.
    void tookModel();
    void fitTo(QSize size) {
        camera.width = std::max(1, size.width());
        camera.height = std::max(1, size.height());
        if (needsFit && model) {
            camera.fit(model->bounds());
            needsFit = false;
            changed();
        }
    }
    const std::vector<atlas::ProjectedSystem>& projectFor(QSize size) {
        fitTo(size);
        if (projectedRevision != revision || projectedSize != size) {
            projected = model ? atlas::projectSystems(camera, *model) : std::vector<atlas::ProjectedSystem>{};
            projectedRevision = revision;
            projectedSize = size;
        }
        return projected;
    }
    std::string label(SystemId id) const {
        const std::string_view name = shown().name(id);
        return name.empty() ? std::to_string(id) : std::string(name);
    }
};

// The sector at `baseName` with its systems' names, as the map shows it.
atlas::AtlasModel loadSectorModel(const std::string& baseName);

}  // namespace orrimar::ui

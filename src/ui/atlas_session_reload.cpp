#include "ui/atlas_session_state.h"

namespace orrimar::ui {

void AtlasSession::reload() {
    State& s = *state_;
    if (!s.model) return;
    atlas::AtlasModel model = loadSectorModel(s.model->baseName());
    s.model = std::move(model);
    s.tookModel();
    s.labelWidths.clear();
    s.sample.clear();
    s.lit.clear();
    s.filterActive = false;
    s.route = atlas::Route{};
    // A sector replaced by a smaller one may no longer hold the system.
    if (s.selected && *s.selected >= s.model->size()) s.selected.reset();
    s.changed();
}

}  // namespace orrimar::ui

#include "campaign/players_view.h"
#include "ui/atlas_session_state.h"

namespace orrimar::ui {

void AtlasSession::reload() {
    State& s = *state_;
    if (!s.model) return;
    atlas::AtlasModel model = loadSectorModel(s.model->baseName());
    // What the players know is worked out again on the new model (their
    // view of the old one would point into it), read before anything changes.
    std::optional<PlayersView> known;
    if (s.players) known = orrimar::playersView(s.model->baseName());
    s.players.reset();
    s.model = std::move(model);
    if (known) s.players = std::make_unique<atlas::PlayersSight>(*s.model, std::move(*known));
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

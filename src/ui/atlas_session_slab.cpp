#include <array>
#include <algorithm>

#include "atlas/camera.h"
#include "ui/atlas_session_state.h"

// The slab: the layers of the sector across the screen's depth that the map
// shows, and how it moves.

namespace orrimar::ui {

AtlasSession::SlabRange AtlasSession::slab() const {
    const State& s = *state_;
    SlabRange range;
    const atlas::Axis axis = atlas::depthAxis(s.camera.view);
    const int a = static_cast<int>(axis);
    range.axis = "xyz"[a];
    if (!s.model) return range;
    range.lowest = s.model->bounds().min[static_cast<std::size_t>(a)];
    range.highest = s.model->bounds().max[static_cast<std::size_t>(a)];
    range.from = s.camera.slab.enabled ? s.camera.slab.from : range.lowest;
    range.to = s.camera.slab.enabled ? s.camera.slab.to : range.highest;
    return range;
}

void AtlasSession::setSlab(int from, int to) {
    State& s = *state_;
    if (!s.model) return;
    const SlabRange range = slab();
    from = std::clamp(from, range.lowest, range.highest);
    to = std::clamp(to, range.lowest, range.highest);
    if (from > to) std::swap(from, to);
    s.camera.slab.axis = atlas::depthAxis(s.camera.view);
    s.camera.slab.from = from;
    s.camera.slab.to = to;
    s.camera.slab.enabled = from > range.lowest || to < range.highest;
    s.changed();
}

void AtlasSession::stepSlab(int step) {
    const SlabRange range = slab();
    if (!state_->camera.slab.enabled) {
        // The first step from the whole sector reads one layer from the
        // side it moves from.
        const int layer = step > 0 ? range.lowest : range.highest;
        setSlab(layer, layer);
        return;
    }
    const int width = range.to - range.from;
    int from = std::clamp(range.from + step, range.lowest, range.highest - width);
    setSlab(from, from + width);
}

void AtlasSession::revealInSlab(std::int32_t id) {
    State& s = *state_;
    if (!s.model || !s.camera.slab.enabled || id < 0 || id >= s.model->size()) return;
    const atlas::SystemEntry& e = s.model->entry(id);
    const std::array<int, 3> cell{e.x, e.y, e.z};
    const int at = cell[static_cast<std::size_t>(atlas::depthAxis(s.camera.view))];
    const SlabRange range = slab();
    if (at >= range.from && at <= range.to) return;
    // The slab keeps its depth and moves just far enough to hold the system.
    const int width = range.to - range.from;
    const int from = at < range.from ? at : at - width;
    setSlab(from, from + width);
}

}  // namespace orrimar::ui

#include "atlas/routes.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "common/errors.h"

namespace orrimar::atlas {

namespace {

void requireSystem(const AtlasModel& model, SystemId id, const char* role) {
    if (id < 0 || id >= model.size()) {
        throw InputError(fmt::format("{} system {} is not in the sector: it has {} systems (ids 0 to {})", role, id,
                                     model.size(), model.size() - 1));
    }
}

// Sums of square roots that are equal in exact arithmetic can differ in the
// last bits depending on the order of addition.
constexpr double kTie = 1e-9;

}  // namespace

std::vector<Neighbour> neighbours(const AtlasModel& model, SystemId of, double parsecs) {
    requireSystem(model, of, "The");
    std::vector<Neighbour> out;
    const SystemEntry& c = model.entry(of);
    model.forEachWithin(c.x, c.y, c.z, parsecs, [&](SystemId id, std::int64_t d2) {
        if (id != of) out.push_back({id, std::sqrt(static_cast<double>(d2))});
    });
    std::sort(out.begin(), out.end(), [](const Neighbour& a, const Neighbour& b) {
        return a.parsecs != b.parsecs ? a.parsecs < b.parsecs : a.id < b.id;
    });
    return out;
}

Route findRoute(const AtlasModel& model, SystemId from, SystemId to, double jump,
                const std::function<bool(SystemId)>& via) {
    requireSystem(model, from, "The starting");
    requireSystem(model, to, "The destination");
    if (!(jump >= 0.0)) throw InputError(fmt::format("A jump of {} parsecs is no jump: give 0 or more", jump));

    Route route;
    if (from == to) {
        route.found = true;
        route.systems = {from};
        return route;
    }
    const auto n = static_cast<std::size_t>(model.size());
    std::vector<std::int32_t> layer(n, -1);
    std::vector<double> dist(n, 0.0);
    std::vector<SystemId> parent(n, kNoSystem);
    // via() answers once per system: -1 not asked yet, 0 no, 1 yes.
    std::vector<std::int8_t> allowed(via ? n : 0, -1);
    auto mayStop = [&](SystemId v) {
        if (!via || v == to) return true;
        auto& a = allowed[static_cast<std::size_t>(v)];
        if (a < 0) a = via(v) ? 1 : 0;
        return a == 1;
    };

    layer[static_cast<std::size_t>(from)] = 0;
    std::vector<SystemId> frontier{from};
    std::vector<SystemId> next;
    for (std::int32_t k = 0; !frontier.empty(); ++k) {
        next.clear();
        // Every system of layer k has its final distance here (only layer
        // k - 1 could lower it), so relaxing layer k + 1 from all of layer k
        // gives each system its shortest distance among fewest-jump routes.
        for (SystemId u : frontier) {
            const SystemEntry& e = model.entry(u);
            const double du = dist[static_cast<std::size_t>(u)];
            model.forEachWithin(e.x, e.y, e.z, jump, [&](SystemId v, std::int64_t d2) {
                const auto vi = static_cast<std::size_t>(v);
                const std::int32_t lv = layer[vi];
                if (lv >= 0 && lv <= k) return;
                if (!mayStop(v)) return;
                const double nd = du + std::sqrt(static_cast<double>(d2));
                if (lv < 0) {
                    layer[vi] = k + 1;
                    dist[vi] = nd;
                    parent[vi] = u;
                    next.push_back(v);
                } else if (nd < dist[vi] - kTie || (nd <= dist[vi] + kTie && u < parent[vi])) {
                    dist[vi] = nd;
                    parent[vi] = u;
                }
            });
        }
        if (layer[static_cast<std::size_t>(to)] >= 0) break;
        frontier.swap(next);
    }
    if (layer[static_cast<std::size_t>(to)] < 0) return route;

    route.found = true;
    for (SystemId v = to; v != kNoSystem; v = parent[static_cast<std::size_t>(v)]) route.systems.push_back(v);
    std::reverse(route.systems.begin(), route.systems.end());
    for (std::size_t i = 1; i < route.systems.size(); ++i) {
        const double d = distance(model, route.systems[i - 1], route.systems[i]);
        route.legs.push_back({route.systems[i - 1], route.systems[i], d});
        route.parsecs += d;
    }
    return route;
}

}  // namespace orrimar::atlas

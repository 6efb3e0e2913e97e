#include "atlas/routes.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/errors.h"

namespace orrimar::atlas {

namespace {

// Sums of square roots that are equal in exact arithmetic can differ in the
// last bits depending on the order of addition.
constexpr double kTie = 1e-9;

// How far one jump of at most `jump` parsecs moves between whole cells:
// along one axis at most, and summed over the three axes at most (the
// largest |x| + |y| + |z| of a cell within reach; 5 for a jump of 3, by
// (2, 2, 1), against 3 x 1.73 for a point anywhere in the sphere).
struct JumpReach {
    std::int64_t axis = 0;
    std::int64_t axes = 0;
};

JumpReach jumpReach(double jump) {
    // Whole cells within reach: x^2 + y^2 + z^2 <= limit, as the index counts.
    const std::int64_t limit = withinSquared(jump);
    JumpReach reach;
    reach.axis = static_cast<std::int64_t>(std::sqrt(static_cast<double>(limit)));
    while (reach.axis * reach.axis > limit) --reach.axis;
    while ((reach.axis + 1) * (reach.axis + 1) <= limit) ++reach.axis;
    if (reach.axis > 256) {
        // Beyond a few hundred parsecs the sphere's own bound, rounded
        // down, is as good and costs no search of the cells.
        reach.axes = static_cast<std::int64_t>(std::floor(std::sqrt(3.0 * static_cast<double>(limit))));
        return reach;
    }
    for (std::int64_t x = 0; x <= reach.axis; ++x) {
        for (std::int64_t y = 0; y <= x && x * x + y * y <= limit; ++y) {
            std::int64_t z = static_cast<std::int64_t>(std::sqrt(static_cast<double>(limit - x * x - y * y)));
            while (z * z > limit - x * x - y * y) --z;
            while ((z + 1) * (z + 1) <= limit - x * x - y * y) ++z;
            reach.axes = std::max(reach.axes, x + y + z);
        }
    }
    return reach;
}

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
    const SystemEntry& goal = model.entry(to);
    const JumpReach reach = jumpReach(jump);
    // Fewest jumps still needed from a system, at the least. Three bounds,
    // the largest wins: the straight distance over the jump, and because
    // systems sit on whole cells, the distance counted along the axes (and
    // the largest step along one axis) over the most one jump can cover
    // that way. Along a diagonal the straight bound alone falls short by a
    // tenth, which let a corner-to-corner search at jump 5 wander through
    // most of a dense cube.
    auto jumpsLeft = [&](const SystemEntry& e) -> std::int64_t {
        const std::int64_t ax = std::abs(e.x - goal.x), ay = std::abs(e.y - goal.y), az = std::abs(e.z - goal.z);
        if (ax + ay + az == 0) return 0;
        if (reach.axis == 0) return std::numeric_limits<std::int32_t>::max();
        const double d = std::sqrt(static_cast<double>(ax * ax + ay * ay + az * az));
        const auto straight = static_cast<std::int64_t>(std::ceil(d / jump - kTie));
        const std::int64_t alongAxes = (ax + ay + az + reach.axes - 1) / reach.axes;
        const std::int64_t alongOne = (std::max({ax, ay, az}) + reach.axis - 1) / reach.axis;
        return std::max({straight, alongAxes, alongOne});
    };
    const std::int64_t fewest = jumpsLeft(model.entry(from));
    if (fewest >= std::numeric_limits<std::int32_t>::max()) return route;

    const auto n = static_cast<std::size_t>(model.size());
    std::vector<std::int32_t> layer(n);
    std::vector<double> dist(n);
    std::vector<SystemId> parent(n);
    // via() answers once per system: -1 not asked yet, 0 no, 1 yes.
    std::vector<std::int8_t> allowed(via ? n : 0, -1);
    auto mayStop = [&](SystemId v) {
        if (!via || v == to) return true;
        auto& a = allowed[static_cast<std::size_t>(v)];
        if (a < 0) a = via(v) ? 1 : 0;
        return a == 1;
    };
    std::vector<SystemId> frontier;
    std::vector<SystemId> next;
    // jumpsLeft() of each system, worked out once: a system is offered
    // again by every neighbour of the layer before it.
    std::vector<std::int32_t> jumpsLeftOf(n, -1);

    // A breadth-first search by jumps that reaches the destination in at
    // most `budget` jumps or not at all: a system that could not be reached
    // from there within the budget is never entered (what keeps a search
    // across a dense million to a narrow band round the straight line).
    // True when the destination was reached; `cut` tells whether the budget
    // turned any system away, so that a failure proves there is no route.
    auto search = [&](std::int64_t budget, bool& cut) {
        std::fill(layer.begin(), layer.end(), -1);
        std::fill(parent.begin(), parent.end(), kNoSystem);
        cut = false;
        layer[static_cast<std::size_t>(from)] = 0;
        dist[static_cast<std::size_t>(from)] = 0.0;
        frontier.assign(1, from);
        for (std::int32_t k = 0; !frontier.empty(); ++k) {
            next.clear();
            // Every system of layer k has its final distance here (only
            // layer k - 1 could lower it), so relaxing layer k + 1 from all
            // of layer k gives each system its shortest distance among
            // fewest-jump routes.
            //
            // A system entered from layer k must have the destination within
            // `jumpsAfter` jumps: only the cells of each jump's sphere that
            // meet the three bounds of jumpsLeft() for that many jumps are
            // read, and a sphere reaching past them counts as cut.
            const std::int64_t jumpsAfter = budget - k - 1;
            if (jumpsAfter < 0) {
                // The budget is spent: whatever lies beyond is cut.
                cut = true;
                break;
            }
            AtlasModel::Near near;
            near.x = goal.x, near.y = goal.y, near.z = goal.z;
            // (Capped far beyond any distance between two cells, 113,512
            // parsecs, so that its square fits an integer whatever the jump.)
            const double straight = std::min(jump * (static_cast<double>(jumpsAfter) + kTie), 1e6);
            near.squared = static_cast<std::int64_t>(std::ceil(straight * straight)) + 1;
            near.axesSum = jumpsAfter * reach.axes;
            near.oneAxis = jumpsAfter * reach.axis;
            for (SystemId u : frontier) {
                const SystemEntry& e = model.entry(u);
                const double du = dist[static_cast<std::size_t>(u)];
                const std::int64_t ax = std::abs(e.x - goal.x), ay = std::abs(e.y - goal.y),
                                   az = std::abs(e.z - goal.z);
                const double fromGoal = std::sqrt(static_cast<double>(ax * ax + ay * ay + az * az));
                if (ax + ay + az + reach.axes > near.axesSum || std::max({ax, ay, az}) + reach.axis > near.oneAxis ||
                    fromGoal + jump > straight) {
                    cut = true;
                }
                model.forEachWithin(e.x, e.y, e.z, jump, &near, [&](SystemId v, std::int64_t d2) {
                    const auto vi = static_cast<std::size_t>(v);
                    const std::int32_t lv = layer[vi];
                    if (lv >= 0 && lv <= k) return;
                    if (lv < 0) {
                        std::int32_t& left = jumpsLeftOf[vi];
                        if (left < 0)
                            left =
                                static_cast<std::int32_t>(std::min<std::int64_t>(jumpsLeft(model.entry(v)), 1 << 30));
                        if (k + 1 + left > budget) {
                            cut = true;
                            return;
                        }
                        if (!mayStop(v)) return;
                    }
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
            if (layer[static_cast<std::size_t>(to)] >= 0) return true;
            frontier.swap(next);
        }
        return false;
    };

    // A first budget from a greedy walk: each jump to the allowed system
    // nearest the destination, as long as that comes strictly nearer. Any
    // route it finds bounds the fewest jumps, so one search within its
    // length is exact; in a dense sector it is close to the fewest and keeps
    // the search to a narrow band.
    auto greedyJumps = [&]() -> std::int64_t {
        SystemId at = from;
        std::int64_t jumps = 0;
        auto toGoal = [&](SystemId id) {
            const SystemEntry& e = model.entry(id);
            const std::int64_t dx = e.x - goal.x, dy = e.y - goal.y, dz = e.z - goal.z;
            return dx * dx + dy * dy + dz * dz;
        };
        while (at != to) {
            const SystemEntry& e = model.entry(at);
            SystemId best = kNoSystem;
            std::int64_t bestD = toGoal(at);
            model.forEachWithin(e.x, e.y, e.z, jump, [&](SystemId v, std::int64_t) {
                const std::int64_t d = toGoal(v);
                if ((d < bestD || (d == bestD && best != kNoSystem && v < best)) && mayStop(v)) {
                    best = v;
                    bestD = d;
                }
            });
            if (best == kNoSystem) return -1;
            at = best;
            ++jumps;
        }
        return jumps;
    };
    const std::int64_t greedy = greedyJumps();
    bool cut = false;
    if (greedy < 0 || !search(greedy, cut)) {
        // Budgets from the straight-line bound up, the slack doubling: the
        // first budget that reaches the destination holds every route of
        // the fewest jumps, so its answer is exact.
        std::int64_t slack = 0;
        for (;;) {
            if (search(fewest + slack, cut)) break;
            if (!cut) return route;  // the whole reachable part was searched
            slack = slack == 0 ? 1 : 2 * slack;
        }
    }

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

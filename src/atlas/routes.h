// Travel: neighbours within a jump and the shortest route between two
// systems for a drive of at most N parsecs a jump.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "atlas/atlas_model.h"

namespace orrimar::atlas {

struct Neighbour {
    SystemId id = kNoSystem;
    double parsecs = 0.0;
};

// Systems within `parsecs` of system `of` (not itself), nearest first (ties by id).
std::vector<Neighbour> neighbours(const AtlasModel& model, SystemId of, double parsecs);

struct RouteLeg {
    SystemId from = kNoSystem;
    SystemId to = kNoSystem;
    double parsecs = 0.0;
};

struct Route {
    bool found = false;
    std::vector<SystemId> systems;  // from ... to; {from} alone when from == to
    std::vector<RouteLeg> legs;
    double parsecs = 0.0;  // sum of the legs
    int jumps() const { return static_cast<int>(legs.size()); }
};

// The route from `from` to `to` with the fewest jumps of at most `jump`
// parsecs each, and among those the shortest in parsecs (an exact tie goes
// to the lower-id stop before, so the answer is reproducible). When `via` is
// given, every system stopped at between the ends must satisfy it (a gas
// giant to refuel at...). from == to is a route of no jumps. Throws
// InputError for an id outside the sector or a negative jump.
//
// Breadth-first by jumps, relaxing distances inside each layer, within a
// budget of jumps: a system from which the destination lies more jumps away
// (in a straight line) than the budget leaves is not entered. The budget
// starts at the straight-line bound and its slack doubles until the
// destination is reached (or nothing was left out: no route), so the search
// stays in a band round the straight line instead of flooding the sector.
Route findRoute(const AtlasModel& model, SystemId from, SystemId to, double jump,
                const std::function<bool(SystemId)>& via = {});

}  // namespace orrimar::atlas

// How far a ship gets in a few jumps: every system reachable from one
// system in at most N jumps of at most J parsecs each, with the number of
// jumps each needs. The same reach as routes.h's: a jump is "within" by
// withinSquared(), and a stopping rule limits where a ship may stop on the
// way (never the start, and never the system it arrives at last), so a
// system is reached here in k jumps exactly when findRoute finds a route
// of k jumps to it.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "atlas/atlas_model.h"

namespace orrimar::atlas {

// A system that is not reached in jumpsFrom's answer.
constexpr std::int32_t kNotReached = -1;

// The fewest jumps from `of` to each system of the sector (indexed by id),
// kNotReached for a system more than `maxJumps` jumps away or beyond reach;
// `of` itself needs none. When `via` is given, only systems it allows are
// stopped at on the way. Throws InputError for an `of` outside the sector,
// a negative `maxJumps` or a jump that is no distance (negative, NaN).
//
// Breadth-first by jumps over a grid of buckets from which every system is
// taken out as it is reached, so each system is found once and a layer
// reads only the buckets round its own systems: the cost follows the
// systems reached, not the pairs of systems, even for long jumps.
std::vector<std::int32_t> jumpsFrom(const AtlasModel& model, SystemId of, int maxJumps, double jump,
                                    const std::function<bool(SystemId)>& via = {});

}  // namespace orrimar::atlas

#include "atlas/jump_search.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "common/errors.h"

namespace orrimar::atlas {

namespace {

// The systems not reached yet, in buckets of a cube grid: each bucket's
// systems sit together, those still waiting first, so taking one out is a
// swap within its bucket and an emptied bucket costs one look.
class WaitingGrid {
public:
    WaitingGrid(const AtlasModel& model, double jump) {
        const Bounds& b = model.bounds();
        std::array<std::int64_t, 3> extent{};
        for (int a = 0; a < 3; ++a) {
            min_[static_cast<std::size_t>(a)] = b.min[static_cast<std::size_t>(a)];
            extent[static_cast<std::size_t>(a)] =
                std::int64_t{b.max[static_cast<std::size_t>(a)]} - b.min[static_cast<std::size_t>(a)] + 1;
        }
        // Buckets half a jump wide: a jump's sphere covers about six a side,
        // and the buckets wholly inside it are emptied at one visit. A
        // sector spread thin (merged far apart) gets wider buckets, so that
        // the table stays within a few entries per system.
        edge_ = static_cast<int>(std::clamp(std::ceil(std::min(jump, 200000.0) / 2.0), 1.0, 65536.0));
        const auto most = std::max<std::int64_t>(4096, 8 * std::int64_t{model.size()});
        for (;;) {
            std::int64_t count = 1;
            for (int a = 0; a < 3; ++a) {
                span_[static_cast<std::size_t>(a)] =
                    static_cast<int>((extent[static_cast<std::size_t>(a)] + edge_ - 1) / edge_);
                count *= span_[static_cast<std::size_t>(a)];
            }
            if (count <= most) break;
            edge_ *= 2;
        }
        const auto buckets = static_cast<std::size_t>(span_[0]) * static_cast<std::size_t>(span_[1]) *
                             static_cast<std::size_t>(span_[2]);
        start_.assign(buckets + 1, 0);
        std::vector<std::uint32_t> bucketOf(static_cast<std::size_t>(model.size()));
        for (SystemId id = 0; id < model.size(); ++id) {
            const SystemEntry& e = model.entry(id);
            const std::uint32_t k = bucketAt(e.x, e.y, e.z);
            bucketOf[static_cast<std::size_t>(id)] = k;
            ++start_[k + 1];
        }
        for (std::size_t k = 1; k < start_.size(); ++k) start_[k] += start_[k - 1];
        waiting_.assign(buckets, 0);
        cells_.resize(static_cast<std::size_t>(model.size()));
        for (SystemId id = 0; id < model.size(); ++id) {
            const SystemEntry& e = model.entry(id);
            const std::uint32_t k = bucketOf[static_cast<std::size_t>(id)];
            cells_[start_[k] + waiting_[k]++] = Cell{e.x, e.y, e.z, id};
        }
    }

    // Takes system `id` at cell (x, y, z) out of the grid.
    void remove(int x, int y, int z, SystemId id) {
        const std::uint32_t k = bucketAt(x, y, z);
        for (std::uint32_t i = start_[k]; i < start_[k] + waiting_[k]; ++i) {
            if (cells_[i].id == id) {
                takeOut(k, i);
                return;
            }
        }
    }

    // Takes out every waiting system whose cell lies within squared
    // distance `limit` of (x, y, z), calling take(id) for each.
    template <typename Take>
    void takeWithin(int x, int y, int z, std::int64_t limit, Take&& take) {
        if (limit < 0) return;
        const auto reach = isqrt(limit);
        const std::int64_t bzLo = bucketIndex(z - reach, 2), bzHi = bucketIndex(z + reach, 2);
        for (std::int64_t bz = bzLo; bz <= bzHi; ++bz) {
            const std::int64_t dz = gap(z, bz, 2);
            const std::int64_t yReach = isqrt(limit - dz * dz);
            const std::int64_t byLo = bucketIndex(y - yReach, 1), byHi = bucketIndex(y + yReach, 1);
            for (std::int64_t by = byLo; by <= byHi; ++by) {
                const std::int64_t dy = gap(y, by, 1);
                const std::int64_t rest = limit - dz * dz - dy * dy;
                if (rest < 0) continue;
                const std::int64_t xReach = isqrt(rest);
                const std::int64_t bxLo = bucketIndex(x - xReach, 0), bxHi = bucketIndex(x + xReach, 0);
                for (std::int64_t bx = bxLo; bx <= bxHi; ++bx) {
                    const auto k = static_cast<std::uint32_t>((bz * span_[1] + by) * span_[0] + bx);
                    std::uint32_t i = start_[k];
                    while (i < start_[k] + waiting_[k]) {
                        const Cell c = cells_[i];
                        const std::int64_t ex = c.x - x, ey = c.y - y, ez = c.z - z;
                        if (ex * ex + ey * ey + ez * ez <= limit) {
                            takeOut(k, i);  // the last waiting one moves to i
                            take(c.id);
                        } else {
                            ++i;
                        }
                    }
                }
            }
        }
    }

private:
    struct Cell {
        std::int16_t x, y, z;  // parsecs
        SystemId id;
    };

    static std::int64_t isqrt(std::int64_t v) {
        if (v < 0) return -1;
        auto d = static_cast<std::int64_t>(std::sqrt(static_cast<double>(v)));
        while (d * d > v) --d;
        while ((d + 1) * (d + 1) <= v) ++d;
        return d;
    }
    // The bucket along `axis` holding coordinate v, clamped to the grid.
    std::int64_t bucketIndex(std::int64_t v, int axis) const {
        const std::int64_t off = v - min_[static_cast<std::size_t>(axis)];
        const std::int64_t b = off >= 0 ? off / edge_ : -((-off + edge_ - 1) / edge_);
        return std::clamp<std::int64_t>(b, 0, span_[static_cast<std::size_t>(axis)] - 1);
    }
    // Distance along `axis` from v to the nearest coordinate of bucket b.
    std::int64_t gap(std::int64_t v, std::int64_t b, int axis) const {
        const std::int64_t lo = min_[static_cast<std::size_t>(axis)] + b * edge_, hi = lo + edge_ - 1;
        return v < lo ? lo - v : (v > hi ? v - hi : 0);
    }
    std::uint32_t bucketAt(int x, int y, int z) const {
        return static_cast<std::uint32_t>((bucketIndex(z, 2) * span_[1] + bucketIndex(y, 1)) * span_[0] +
                                          bucketIndex(x, 0));
    }
    void takeOut(std::uint32_t k, std::uint32_t i) {
        const std::uint32_t last = start_[k] + --waiting_[k];
        std::swap(cells_[i], cells_[last]);
    }

    std::array<int, 3> min_{};
    std::array<int, 3> span_{};
    int edge_ = 1;
    std::vector<Cell> cells_;           // ordered by bucket
    std::vector<std::uint32_t> start_;  // first cell of each bucket, + end
    std::vector<std::uint32_t> waiting_;
};

}  // namespace

std::vector<std::int32_t> jumpsFrom(const AtlasModel& model, SystemId of, int maxJumps, double jump,
                                    const std::function<bool(SystemId)>& via) {
    requireSystem(model, of, "The");
    if (maxJumps < 0) throw InputError(fmt::format("{} jumps is no number of jumps: give 0 or more", maxJumps));
    if (!(jump >= 0.0)) throw InputError(fmt::format("A jump of {} parsecs is no jump: give 0 or more", jump));

    std::vector<std::int32_t> jumps(static_cast<std::size_t>(model.size()), kNotReached);
    jumps[static_cast<std::size_t>(of)] = 0;
    if (maxJumps == 0) return jumps;
    const std::int64_t limit = withinSquared(jump);
    WaitingGrid waiting(model, jump);
    const SystemEntry& start = model.entry(of);
    waiting.remove(start.x, start.y, start.z, of);
    std::vector<SystemId> frontier{of};
    std::vector<SystemId> next;
    for (std::int32_t k = 0; k < maxJumps && !frontier.empty(); ++k) {
        next.clear();
        // Systems reached by the last jump allowed are ends, never stops.
        const bool last = k + 1 == maxJumps;
        for (const SystemId u : frontier) {
            const SystemEntry& e = model.entry(u);
            waiting.takeWithin(e.x, e.y, e.z, limit, [&](SystemId v) {
                jumps[static_cast<std::size_t>(v)] = k + 1;
                if (!last && (!via || via(v))) next.push_back(v);
            });
        }
        frontier.swap(next);
    }
    return jumps;
}

}  // namespace orrimar::atlas

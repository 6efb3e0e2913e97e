#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "atlas_fixture.h"

#include "atlas/filters.h"
#include "atlas/jump_search.h"
#include "atlas/route_stops.h"
#include "atlas/routes.h"
#include "common/errors.h"

namespace orrimar::atlas {
namespace {

using atlastest::modelOf;

// Fewest jumps to every system by a breadth-first search over all pairs:
// slow and plain, the answer the grid search must give.
std::vector<std::int32_t> bruteJumps(const AtlasModel& m, SystemId of, int most, double jump,
                                     const std::function<bool(SystemId)>& via) {
    const auto n = static_cast<std::size_t>(m.size());
    std::vector<std::int32_t> jumps(n, kNotReached);
    jumps[static_cast<std::size_t>(of)] = 0;
    std::vector<SystemId> layer{of};
    for (int k = 0; k < most && !layer.empty(); ++k) {
        std::vector<SystemId> next;
        for (const SystemId u : layer) {
            if (u != of && via && !via(u)) continue;
            for (std::size_t v = 0; v < n; ++v) {
                if (jumps[v] != kNotReached) continue;
                if (distance(m, u, static_cast<SystemId>(v)) <= jump + 1e-12) {
                    jumps[v] = k + 1;
                    next.push_back(static_cast<SystemId>(v));
                }
            }
        }
        layer.swap(next);
    }
    return jumps;
}

TEST(AtlasJumps, AJumpReachesExactlyItsLengthAndNotAHairMore) {
    // (3, 4, 0) is exactly 5 away; (5, 0, 1) is sqrt(26), the next distance
    // cells can have; (1, 1, 0) is sqrt(2), which squares to a hair over 2
    // in doubles.
    const AtlasModel m = modelOf({{0, 0, 0}, {3, 4, 0}, {5, 0, 1}, {1, 1, 0}});
    auto at = [&](double jump) { return jumpsFrom(m, 0, 1, jump); };
    EXPECT_EQ(at(5.0), (std::vector<std::int32_t>{0, 1, kNotReached, 1}));
    // A length that falls a rounding short of 5 is still 5 ...
    EXPECT_EQ(at(std::nextafter(5.0, 0.0)), (std::vector<std::int32_t>{0, 1, kNotReached, 1}));
    // ... a millionth short is not, nor a millionth short of sqrt(26).
    EXPECT_EQ(at(5.0 - 1e-6), (std::vector<std::int32_t>{0, kNotReached, kNotReached, 1}));
    EXPECT_EQ(at(std::sqrt(26.0) - 1e-6), (std::vector<std::int32_t>{0, 1, kNotReached, 1}));
    EXPECT_EQ(at(std::sqrt(26.0)), (std::vector<std::int32_t>{0, 1, 1, 1}));
    EXPECT_EQ(at(std::sqrt(2.0)), (std::vector<std::int32_t>{0, kNotReached, kNotReached, 1}));
    EXPECT_EQ(at(1.414), (std::vector<std::int32_t>{0, kNotReached, kNotReached, kNotReached}));
    // The edge is the routes' own: every system's jumps are its route's.
    for (const double jump : {5.0, 5.0 - 1e-6, std::sqrt(26.0) - 1e-6, std::sqrt(2.0), 1.414}) {
        const std::vector<std::int32_t> jumps = jumpsFrom(m, 0, 1000, jump);
        for (SystemId id = 0; id < m.size(); ++id) {
            const Route r = findRoute(m, 0, id, jump);
            EXPECT_EQ(r.found ? r.jumps() : kNotReached, jumps[static_cast<std::size_t>(id)]) << id << " " << jump;
        }
    }
}

TEST(AtlasJumps, NoJumpsIsTheStartAloneAndAChainNeedsEveryJump) {
    // A chain along x, 4 apart, and a system 4.1 off its end.
    const AtlasModel m = modelOf({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {12, 0, 0}, {12, 4, 1}});
    EXPECT_EQ(jumpsFrom(m, 0, 0, 100.0),
              (std::vector<std::int32_t>{0, kNotReached, kNotReached, kNotReached, kNotReached}));
    EXPECT_EQ(jumpsFrom(m, 0, 2, 4.0), (std::vector<std::int32_t>{0, 1, 2, kNotReached, kNotReached}));
    EXPECT_EQ(jumpsFrom(m, 0, 3, 4.0), (std::vector<std::int32_t>{0, 1, 2, 3, kNotReached}));
    EXPECT_EQ(jumpsFrom(m, 0, 1000, 4.0), (std::vector<std::int32_t>{0, 1, 2, 3, kNotReached}));
    EXPECT_EQ(jumpsFrom(m, 0, 1000, 4.2), (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    // From the middle both ways; a longer jump skips stops.
    EXPECT_EQ(jumpsFrom(m, 2, 1, 4.0), (std::vector<std::int32_t>{kNotReached, 1, 0, 1, kNotReached}));
    EXPECT_EQ(jumpsFrom(m, 0, 5, 8.0), (std::vector<std::int32_t>{0, 1, 1, 2, 2}));
    // One jump as long as the sector: everything at once.
    EXPECT_EQ(jumpsFrom(m, 3, 1, 1000.0), (std::vector<std::int32_t>{1, 1, 1, 0, 1}));
}

TEST(AtlasJumps, OnlyAllowedSystemsAreStoppedAtOnTheWay) {
    const AtlasModel m = modelOf({{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {12, 0, 0}, {2, 3, 0}, {6, 3, 0}});
    // System 1 refuses stops: 2 is reached round it through 4 and 5, a
    // jump later; 1 itself is still reached (a ship may end there).
    const auto notOne = [](SystemId id) { return id != 1; };
    EXPECT_EQ(jumpsFrom(m, 0, 10, 4.0, notOne), (std::vector<std::int32_t>{0, 1, 3, 4, 1, 2}));
    // The start need not be allowed, nor the last system reached.
    const auto none = [](SystemId) { return false; };
    EXPECT_EQ(jumpsFrom(m, 0, 10, 4.0, none),
              (std::vector<std::int32_t>{0, 1, kNotReached, kNotReached, 1, kNotReached}));
    // Each system's count is the route's: same rule, same jumps.
    const std::vector<std::int32_t> jumps = jumpsFrom(m, 0, 10, 4.0, notOne);
    for (SystemId id = 0; id < m.size(); ++id) {
        const Route r = findRoute(m, 0, id, 4.0, notOne);
        ASSERT_TRUE(r.found) << id;
        EXPECT_EQ(r.jumps(), jumps[static_cast<std::size_t>(id)]) << id;
    }
}

TEST(AtlasJumps, SharedCellsFarClustersAndRefusals) {
    // Two systems in one cell (a merge) are a jump of 0 apart; clusters at
    // the far ends of the coordinates make the grid widen its buckets.
    const AtlasModel m =
        modelOf({{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {-32000, 5, 5}, {-31998, 5, 5}, {32000, -9, 0}, {31000, -9, 0}});
    EXPECT_EQ(jumpsFrom(m, 0, 3, 0.0),
              (std::vector<std::int32_t>{0, 1, kNotReached, kNotReached, kNotReached, kNotReached, kNotReached}));
    EXPECT_EQ(jumpsFrom(m, 3, 3, 2.0),
              (std::vector<std::int32_t>{kNotReached, kNotReached, kNotReached, 0, 1, kNotReached, kNotReached}));
    EXPECT_EQ(jumpsFrom(m, 5, 3, 1000.0),
              (std::vector<std::int32_t>{kNotReached, kNotReached, kNotReached, kNotReached, kNotReached, 0, 1}));
    EXPECT_EQ(jumpsFrom(m, 0, 2, 40000.0), (std::vector<std::int32_t>{0, 1, 1, 1, 1, 1, 1}));

    EXPECT_THROW(jumpsFrom(m, 7, 1, 3.0), InputError);
    EXPECT_THROW(jumpsFrom(m, -1, 1, 3.0), InputError);
    EXPECT_THROW(jumpsFrom(m, 0, -1, 3.0), InputError);
    EXPECT_THROW(jumpsFrom(m, 0, 1, -0.5), InputError);
    EXPECT_THROW(jumpsFrom(m, 0, 1, std::numeric_limits<double>::quiet_NaN()), InputError);
}

TEST(AtlasJumps, AgreeWithBruteForceOnASeededSector) {
    const std::string base = atlastest::makeSector("jumps", 41, 13, 15);
    const AtlasModel m = AtlasModel::open(base);
    ASSERT_GT(m.size(), 200);
    const std::function<bool(SystemId)> gasGiant = routeStopRule(m, RouteStop::GasGiant);
    std::mt19937 rng(5);
    for (const double jump : {1.0, 1.5, 2.5, 3.0, std::sqrt(8.0), 5.2}) {
        for (int trial = 0; trial < 3; ++trial) {
            const auto of = static_cast<SystemId>(rng() % static_cast<unsigned>(m.size()));
            for (const int most : {1, 3, 1000}) {
                EXPECT_EQ(jumpsFrom(m, of, most, jump), bruteJumps(m, of, most, jump, {}))
                    << "of " << of << " jump " << jump << " most " << most;
                EXPECT_EQ(jumpsFrom(m, of, most, jump, gasGiant), bruteJumps(m, of, most, jump, gasGiant))
                    << "via gas giants, of " << of << " jump " << jump << " most " << most;
            }
        }
    }
}

TEST(AtlasJumps, TheFilterKeepsWhatTheJumpsReachAndCombinesWithTheRest) {
    const std::string base = atlastest::makeSector("jumpfilter", 43, 11, 20);
    const AtlasModel m = AtlasModel::open(base);
    const SystemId of = m.size() / 2;
    Filter f;
    f.jumpsOf = of;
    f.maxJumps = 2;
    f.jumpParsecs = 2.5;
    std::vector<std::int32_t> jumps;
    const std::vector<std::uint8_t> hits = matchSystems(m, f, &jumps);
    EXPECT_FALSE(f.empty());
    EXPECT_EQ(jumps, jumpsFrom(m, of, 2, 2.5));
    std::size_t reached = 0;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        EXPECT_EQ(hits[i] != 0, jumps[i] != kNotReached) << i;
        reached += hits[i];
    }
    EXPECT_GT(reached, 1U);
    EXPECT_LT(reached, hits.size());

    // With a star criterion and a sphere: the three must all hold.
    f.starKinds = codeBit(m.entry(of).starKind);
    f.withinOf = of;
    f.withinParsecs = 3.0;
    const std::vector<std::uint8_t> both = matchSystems(m, f);
    for (SystemId id = 0; id < m.size(); ++id) {
        const bool want = jumps[static_cast<std::size_t>(id)] != kNotReached &&
                          m.entry(id).starKind == m.entry(of).starKind && distance(m, id, of) <= 3.0;
        EXPECT_EQ(both[static_cast<std::size_t>(id)] != 0, want) << id;
    }
    EXPECT_EQ(both[static_cast<std::size_t>(of)], 1);

    // Only through gas giants, as the routes read the rule.
    f = Filter{};
    f.jumpsOf = of;
    f.maxJumps = 4;
    f.jumpParsecs = 2.0;
    f.jumpVia = RouteStopChoice{RouteStop::GasGiant, 0};
    matchSystems(m, f, &jumps);
    EXPECT_EQ(jumps, jumpsFrom(m, of, 4, 2.0, routeStopRule(m, RouteStop::GasGiant)));

    f.jumpsOf = m.size();
    EXPECT_THROW(matchSystems(m, f), InputError);
}

}  // namespace
}  // namespace orrimar::atlas

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "atlas_fixture.h"

#include "atlas/route_stops.h"
#include "atlas/routes.h"
#include "records/world_types.h"
#include "common/errors.h"

namespace orrimar::atlas {
namespace {

using atlastest::modelOf;

struct Best {
    int jumps = -1;  // -1: unreachable
    double parsecs = 0;
};

// Fewest jumps, then shortest, by plain dynamic programming over the jump
// count: best[k][v] is the shortest way to v in exactly k jumps.
Best bruteRoute(const AtlasModel& m, SystemId from, SystemId to, double jump, const std::vector<bool>* allowed) {
    const auto n = static_cast<std::size_t>(m.size());
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> cur(n, inf);
    cur[static_cast<std::size_t>(from)] = 0;
    if (from == to) return {0, 0};
    for (int k = 1; k <= static_cast<int>(n); ++k) {
        std::vector<double> next(n, inf);
        for (std::size_t u = 0; u < n; ++u) {
            if (cur[u] == inf) continue;
            if (u != static_cast<std::size_t>(from) && allowed != nullptr && !(*allowed)[u]) continue;
            for (std::size_t v = 0; v < n; ++v) {
                if (v == u) continue;
                const double d = distance(m, static_cast<SystemId>(u), static_cast<SystemId>(v));
                if (d <= jump + 1e-12) next[v] = std::min(next[v], cur[u] + d);
            }
        }
        if (next[static_cast<std::size_t>(to)] < inf) return {k, next[static_cast<std::size_t>(to)]};
        cur.swap(next);
    }
    return {};
}

void checkRoute(const AtlasModel& m, SystemId from, SystemId to, double jump, const std::vector<bool>* allowed) {
    std::function<bool(SystemId)> via;
    if (allowed != nullptr) via = [allowed](SystemId id) { return bool((*allowed)[static_cast<std::size_t>(id)]); };
    const Route r = findRoute(m, from, to, jump, via);
    const Best b = bruteRoute(m, from, to, jump, allowed);
    ASSERT_EQ(r.found, b.jumps >= 0) << from << "->" << to << " jump " << jump;
    if (!r.found) return;
    EXPECT_EQ(r.jumps(), b.jumps) << from << "->" << to << " jump " << jump;
    EXPECT_NEAR(r.parsecs, b.parsecs, 1e-9) << from << "->" << to << " jump " << jump;
    ASSERT_EQ(r.systems.front(), from);
    ASSERT_EQ(r.systems.back(), to);
    ASSERT_EQ(r.legs.size() + 1, r.systems.size());
    double sum = 0;
    for (std::size_t i = 0; i < r.legs.size(); ++i) {
        EXPECT_EQ(r.legs[i].from, r.systems[i]);
        EXPECT_EQ(r.legs[i].to, r.systems[i + 1]);
        EXPECT_LE(r.legs[i].parsecs, jump + 1e-12);
        EXPECT_DOUBLE_EQ(r.legs[i].parsecs, distance(m, r.legs[i].from, r.legs[i].to));
        sum += r.legs[i].parsecs;
        if (allowed != nullptr && i > 0) {
            EXPECT_TRUE((*allowed)[static_cast<std::size_t>(r.systems[i])]) << "stopped where it may not";
        }
    }
    EXPECT_NEAR(sum, r.parsecs, 1e-9);
}

TEST(AtlasRoutes, NeighboursAgreeWithBruteForceNearestFirst) {
    const std::string base = atlastest::makeSector("s", 31, 9, 25);
    const AtlasModel m = AtlasModel::open(base);
    for (SystemId of : {0, 5, m.size() / 2, m.size() - 1}) {
        for (double r : {0.0, 1.0, 2.5, 6.0}) {
            const auto got = neighbours(m, of, r);
            std::vector<Neighbour> want;
            for (SystemId id = 0; id < m.size(); ++id) {
                const double d = distance(m, of, id);
                if (id != of && d <= r) want.push_back({id, d});
            }
            std::sort(want.begin(), want.end(), [](const Neighbour& a, const Neighbour& b) {
                return a.parsecs != b.parsecs ? a.parsecs < b.parsecs : a.id < b.id;
            });
            ASSERT_EQ(got.size(), want.size());
            for (std::size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].id, want[i].id);
                EXPECT_DOUBLE_EQ(got[i].parsecs, want[i].parsecs);
            }
        }
    }
    EXPECT_THROW(neighbours(m, m.size(), 3), InputError);
}

TEST(AtlasRoutes, RoutesAgreeWithBruteForceOnSmallSectors) {
    std::mt19937 rng(5);
    for (int sector = 0; sector < 4; ++sector) {
        std::uniform_int_distribution<int> c(0, 11);
        std::vector<std::array<int, 3>> cells;
        for (int i = 0; i < 45; ++i) cells.push_back({c(rng), c(rng), sector % 2 == 0 ? c(rng) : 0});
        const AtlasModel m = modelOf(cells);
        std::uniform_int_distribution<SystemId> id(0, m.size() - 1);
        for (int t = 0; t < 25; ++t) {
            const SystemId a = id(rng), b = id(rng);
            for (double jump : {0.0, 1.0, 2.0, 3.0, 4.5}) checkRoute(m, a, b, jump, nullptr);
        }
        // Only through systems that pass a test (every third one).
        std::vector<bool> allowed(static_cast<std::size_t>(m.size()));
        for (std::size_t i = 0; i < allowed.size(); ++i) allowed[i] = i % 3 == 0;
        for (int t = 0; t < 25; ++t) checkRoute(m, id(rng), id(rng), 4.0, &allowed);
    }
}

// A dense cube, where the bounds a search prunes by are tight along the
// diagonals (a jump of 3 covers at most 5 cells summed over the axes): a
// bound one too tight there loses the route or lengthens it.
TEST(AtlasRoutes, DenseCubeRoutesAgreeWithBruteForce) {
    std::mt19937 rng(11);
    std::bernoulli_distribution keep(0.9);
    std::vector<std::array<int, 3>> cells;
    for (int x = 0; x < 7; ++x) {
        for (int y = 0; y < 7; ++y) {
            for (int z = 0; z < 7; ++z) {
                if ((x + y + z == 0 || x + y + z == 18) || keep(rng)) cells.push_back({x, y, z});
            }
        }
    }
    const AtlasModel m = modelOf(cells);
    const SystemId corner = 0, opposite = m.size() - 1;
    std::uniform_int_distribution<SystemId> id(0, m.size() - 1);
    for (double jump : {1.0, 1.5, 2.0, 2.9, 3.0, 3.5, 5.0}) {
        checkRoute(m, corner, opposite, jump, nullptr);
        checkRoute(m, opposite, corner, jump, nullptr);
        for (int t = 0; t < 3; ++t) checkRoute(m, id(rng), id(rng), jump, nullptr);
    }
    std::vector<bool> allowed(static_cast<std::size_t>(m.size()));
    for (std::size_t i = 0; i < allowed.size(); ++i) allowed[i] = i % 4 != 1;
    checkRoute(m, corner, opposite, 3.0, &allowed);
}

TEST(AtlasRoutes, EdgeCases) {
    // A line along the edge of a sector (x = 0) with a gap of 3 parsecs.
    const AtlasModel m = modelOf({{0, 0, 0}, {0, 2, 0}, {0, 4, 0}, {0, 7, 0}, {0, 9, 0}, {0, 9, 0}});
    // The same system: no jump at all.
    Route r = findRoute(m, 2, 2, 0);
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.systems, (std::vector<SystemId>{2}));
    EXPECT_EQ(r.jumps(), 0);
    EXPECT_EQ(r.parsecs, 0);
    // Jump 2 cannot cross the gap; jump 3 can.
    EXPECT_FALSE(findRoute(m, 0, 4, 2).found);
    r = findRoute(m, 0, 4, 3);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.systems, (std::vector<SystemId>{0, 1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(r.parsecs, 9);
    // Fewest jumps first, even when longer in parsecs.
    r = findRoute(m, 0, 4, 4);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.jumps(), 3);
    // Jump 0 reaches only a system in the same cell (merged sectors).
    r = findRoute(m, 4, 5, 0);
    ASSERT_TRUE(r.found);
    EXPECT_EQ(r.jumps(), 1);
    EXPECT_EQ(r.parsecs, 0);
    EXPECT_FALSE(findRoute(m, 0, 1, 0).found);
    // A refuelling rule that bars the only stop.
    EXPECT_FALSE(findRoute(m, 0, 2, 2, [](SystemId id) { return id != 1; }).found);
    // The destination need not pass the rule, nor the start.
    EXPECT_TRUE(findRoute(m, 0, 1, 2, [](SystemId) { return false; }).found);
    // A drive that reaches anywhere: one jump, however large the number.
    for (double anywhere : {1e12, std::numeric_limits<double>::infinity()}) {
        r = findRoute(m, 0, 4, anywhere);
        ASSERT_TRUE(r.found);
        EXPECT_EQ(r.jumps(), 1);
        EXPECT_DOUBLE_EQ(r.parsecs, 9);
    }
    EXPECT_THROW(findRoute(m, 0, 6, 3), InputError);
    EXPECT_THROW(findRoute(m, -1, 2, 3), InputError);
    EXPECT_THROW(findRoute(m, 0, 2, -1), InputError);
    EXPECT_THROW(findRoute(m, 0, 2, std::nan("")), InputError);
}

TEST(AtlasRoutes, ASeededSectorRouteAcrossTheCube) {
    const std::string base = atlastest::makeSector("s", 32, 13, 20, -20, 100, -7);
    const AtlasModel m = AtlasModel::open(base);
    // From the system nearest one corner to the one nearest the opposite.
    SystemId a = 0, b = 0;
    for (SystemId id = 0; id < m.size(); ++id) {
        const auto& e = m.entry(id);
        const auto& ea = m.entry(a);
        const auto& eb = m.entry(b);
        if (e.x + e.y + e.z < ea.x + ea.y + ea.z) a = id;
        if (e.x + e.y + e.z > eb.x + eb.y + eb.z) b = id;
    }
    for (double jump : {1.5, 2.0, 3.0}) checkRoute(m, a, b, jump, nullptr);
}

}  // namespace
}  // namespace orrimar::atlas

namespace orrimar::atlas {
namespace {

// The stop rules the command line and the Atlas share: every word reads
// back to its stop whatever its spelling, and on a seeded sector each rule
// holds exactly for the systems that have what it names, by the records.
TEST(AtlasRouteStops, WordsAndRulesOfEveryStop) {
    for (const RouteStop stop : kRouteStops) {
        EXPECT_EQ(routeStopFromWord(routeStopWord(stop)), stop);
        EXPECT_FALSE(routeStopLabel(stop).empty());
    }
    EXPECT_EQ(routeStopFromWord("Gas giant"), RouteStop::GasGiant);
    EXPECT_EQ(routeStopFromWord("GAS_GIANT"), RouteStop::GasGiant);
    EXPECT_EQ(routeStopFromWord("gasgiants"), std::nullopt);
    EXPECT_EQ(routeStopFromWord(""), std::nullopt);
    EXPECT_EQ(routeStopFromWord("-"), std::nullopt);

    const std::string base = atlastest::makeSector("stops", 7, 9, 30);
    const AtlasModel m = AtlasModel::open(base);
    const auto planets = atlastest::planetsBySystem(base, static_cast<std::size_t>(m.size()));
    EXPECT_FALSE(routeStopRule(m, RouteStop::Any));
    int gasGiants = 0;
    int races = 0;
    for (SystemId id = 0; id < m.size(); ++id) {
        bool gasGiant = false;
        bool race = false;
        for (const TPlanetRec& p : planets[static_cast<std::size_t>(id)]) {
            gasGiant = gasGiant || p.worldType == world::kGasGiant;
            race = race || hasNativeRace(p);
        }
        gasGiants += gasGiant;
        races += race;
        EXPECT_EQ(routeStopRule(m, RouteStop::GasGiant)(id), gasGiant) << id;
        EXPECT_EQ(routeStopRule(m, RouteStop::NativeRace)(id), race) << id;
        EXPECT_EQ(routeStopRule(m, RouteStop::Colony)(id), false) << id;  // a generated sector has none
    }
    EXPECT_GT(gasGiants, 0);
    EXPECT_GT(races, 0);
}

}  // namespace
}  // namespace orrimar::atlas

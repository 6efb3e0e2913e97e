// The atlas at a million systems: opening a sector (time and memory),
// route searches, filters and one frame's projection and aggregation; and
// jump searches over 100,000 systems.
//
// The sector (a 100-parsec cube full to every cell, seed 1, about 1.3 GB)
// is made once with `orrimar-cli create` under $ORRIMAR_BENCH_DIR (default
// /tmp/orrimar-bench) and kept for later runs. Run at `nice -n 19` on a
// shared machine; the wall times then include waiting for the CPU.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "atlas/atlas_model.h"
#include "atlas/camera.h"
#include "atlas/filters.h"
#include "atlas/jump_search.h"
#include "atlas/labels.h"
#include "atlas/routes.h"

namespace {

namespace fs = std::filesystem;
using namespace orrimar::atlas;

constexpr std::uintmax_t kSystems = 1'000'000;

std::string millionBase() {
    const char* env = std::getenv("ORRIMAR_BENCH_DIR");
    const fs::path dir = env != nullptr ? fs::path(env) : fs::temp_directory_path() / "orrimar-bench";
    fs::create_directories(dir);
    const std::string base = (dir / "atlas_1M").string();
    std::error_code ec;
    if (fs::file_size(base + ".sun", ec) != kSystems * 196) {
        const fs::path cli = fs::read_symlink("/proc/self/exe").parent_path() / "orrimar-cli";
        const std::string cmd = cli.string() + " create --file " + base + " --name 'Atlas Million' --seed 1" +
                                " --size 100 --density 100 --settings " + (dir / "none.ini").string() + " >/dev/null";
        if (std::system(cmd.c_str()) != 0) throw std::runtime_error("cannot create " + base);
    }
    return base;
}

// Resident memory of this process now, MB.
double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

const AtlasModel& million() {
    static const AtlasModel model = AtlasModel::open(millionBase());
    return model;
}

void BM_AtlasOpen(benchmark::State& state) {
    const std::string base = millionBase();
    double modelMb = 0, growthMb = 0;
    for (auto _ : state) {
        const double before = residentMb();
        auto model = std::make_unique<AtlasModel>(AtlasModel::open(base));
        growthMb = residentMb() - before;
        modelMb = static_cast<double>(model->memoryBytes()) / 1e6;
        benchmark::DoNotOptimize(model->size());
        state.counters["systems"] = model->size();
    }
    state.counters["model_MB"] = modelMb;
    state.counters["rss_growth_MB"] = growthMb;
    // The process's peak so far (getrusage): this benchmark runs first, so
    // the peak is that of opening, buffers included, not only what stays.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_RSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_AtlasOpen)->Unit(benchmark::kMillisecond)->Iterations(3);

// Corner to corner of the cube: the longest route there is, every system
// of the sector reached on the way.
void BM_AtlasRoute(benchmark::State& state) {
    const AtlasModel& m = million();
    const double jump = static_cast<double>(state.range(0)) / 2.0;
    const SystemId from = m.atCell(m.bounds().min[0], m.bounds().min[1], m.bounds().min[2]);
    const SystemId to = m.atCell(m.bounds().max[0], m.bounds().max[1], m.bounds().max[2]);
    std::function<bool(SystemId)> via;
    if (state.range(1) != 0) via = [&m](SystemId id) { return (m.worlds(id).worldTypes & codeBit(3)) != 0; };
    Route r;
    for (auto _ : state) {
        r = findRoute(m, from, to, jump, via);
        benchmark::DoNotOptimize(r.parsecs);
    }
    state.counters["jumps"] = r.jumps();
    state.counters["found"] = r.found ? 1 : 0;
}
BENCHMARK(BM_AtlasRoute)
    ->ArgsProduct({{2, 6, 10}, {0, 1}})  // jump 1, 3, 5 parsecs; with and without a gas giant at every stop
    ->ArgNames({"jump_x2", "via_gas_giant"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_AtlasFilter(benchmark::State& state) {
    const AtlasModel& m = million();
    Filter f;
    switch (state.range(0)) {
        case 0: f.minLife = orrimar::vocabulary::LifeLevel::Sentient; break;  // summary alone
        case 1:                                                               // one pass over the planets
            f.breathable = true;
            f.temperature = Range<int>{0, 30};
            break;
        default:  // a sphere round the centre, planets read by seeking
            f.breathable = true;
            f.temperature = Range<int>{-20, 40};
            f.withinOf = m.atCell(50, 50, 50);
            f.withinParsecs = 10;
            break;
    }
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = matchingIds(m, f).size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["matches"] = static_cast<double>(hits);
}
BENCHMARK(BM_AtlasFilter)->DenseRange(0, 2)->ArgName("kind")->Unit(benchmark::kMillisecond)->Iterations(3);

// 100,000 systems at the usual density (8 % of a 108-parsec cube, seeded)
// in memory: the size a game master's biggest sector reaches.
const AtlasModel& hundredThousand() {
    static const AtlasModel model = [] {
        std::mt19937_64 rng(100000);
        std::vector<SystemEntry> entries;
        for (int z = 0; z < 108; ++z) {
            for (int y = 0; y < 108; ++y) {
                for (int x = 0; x < 108; ++x) {
                    if (rng() % 100 >= 8) continue;
                    SystemEntry e;
                    e.x = static_cast<std::int16_t>(x);
                    e.y = static_cast<std::int16_t>(y);
                    e.z = static_cast<std::int16_t>(z);
                    e.starKind = 5;
                    e.starCount = 1;
                    entries.push_back(e);
                }
            }
        }
        return AtlasModel::fromEntries(std::move(entries));
    }();
    return model;
}

// Every system within N jumps of the centre at jump J: a few jumps, and
// as many as it takes to reach the whole sector, for short and long jumps.
void BM_AtlasJumpSearch(benchmark::State& state) {
    const AtlasModel& m = hundredThousand();
    const double jump = static_cast<double>(state.range(0));
    const int most = static_cast<int>(state.range(1));
    SystemId centre = kNoSystem;
    double best = 1e9;
    for (SystemId id = 0; id < m.size(); ++id) {
        const SystemEntry& e = m.entry(id);
        const double d = std::hypot(e.x - 54.0, e.y - 54.0, e.z - 54.0);
        if (d < best) {
            best = d;
            centre = id;
        }
    }
    std::size_t reached = 0;
    int deepest = 0;
    for (auto _ : state) {
        const std::vector<std::int32_t> jumps = jumpsFrom(m, centre, most, jump);
        reached = 0;
        deepest = 0;
        for (const std::int32_t k : jumps) {
            if (k == kNotReached) continue;
            ++reached;
            deepest = std::max(deepest, k);
        }
        benchmark::DoNotOptimize(reached);
    }
    state.counters["systems"] = m.size();
    state.counters["reached"] = static_cast<double>(reached);
    state.counters["jumps"] = deepest;
}
BENCHMARK(BM_AtlasJumpSearch)
    ->Args({3, 5})
    ->Args({3, 1000})
    ->Args({10, 1000})
    ->Args({30, 1000})
    ->ArgNames({"jump", "most_jumps"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// One frame of the turned cube: project the million, fold into 3-pixel squares.
void BM_AtlasFrame(benchmark::State& state) {
    const AtlasModel& m = million();
    Camera c;
    c.view = View::Cube;
    c.width = 1280;
    c.height = 800;
    c.fit(m.bounds());
    std::size_t marks = 0;
    for (auto _ : state) {
        c.turn(3, 1);
        const auto projected = projectSystems(c, m);
        marks = aggregate(projected, m, 3, c.width, c.height).size();
        benchmark::DoNotOptimize(marks);
    }
    state.counters["marks"] = static_cast<double>(marks);
}
BENCHMARK(BM_AtlasFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

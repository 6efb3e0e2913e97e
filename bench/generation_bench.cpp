// Complete star systems (stars, planets, belts, moons, native races) made
// one after another into an open sector, with their records written to
// disk or discarded from the buffers after each system. The two rates side
// by side give the share of a run that goes to file handling.
//
// Then whole runs of the sector loop on 1, 2 and all threads, side by side:
// the scaling of the same build in the same benchmark run.
#include <benchmark/benchmark.h>

#include <sched.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "common/random.h"
#include "generation/create_sector.h"
#include "generation/star_system.h"
#include "records/sector_files.h"
#include "settings/probabilities.h"

namespace {

namespace fs = std::filesystem;

// Peak resident memory of the process, in kilobytes (VmHWM).
double peakMemoryKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

void dropRecords(orrimar::SectorFiles& files) {
    files.systems().truncate(0);
    files.planets().truncate(0);
    files.moons().truncate(0);
    files.aliens().truncate(0);
    files.beginSystem();  // the dropped records are no longer part of a system
}

void BM_CompleteSystems(benchmark::State& state) {
    const bool written = state.range(0) == 1;
    const fs::path dir = fs::temp_directory_path() / "orrimar-generation-bench";
    fs::create_directories(dir);
    const std::string base = (dir / (written ? "written" : "discarded")).string();
    const std::string noSettings = (dir / "none.ini").string();
    orrimar::LoadStellarProbabilities(noSettings);
    orrimar::LoadAlienProbabilities(noSettings);
    orrimar::seedRandom(20240601);

    auto files = orrimar::SectorFiles::create(base, "bench");
    std::int64_t cell = 0;
    for (auto _ : state) {
        // Cells of a 200-parsec cube in loop order.
        const auto x = static_cast<std::int16_t>(cell / 40000);
        const auto y = static_cast<std::int16_t>((cell / 200) % 200);
        const auto z = static_cast<std::int16_t>(cell % 200);
        orrimar::GenerateStarSystem(*files, false, x, y, z, false, 50);
        if (!written) dropRecords(*files);
        ++cell;
    }
    files->close();
    state.counters["systems/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["peak_kB"] = peakMemoryKb();
    fs::remove_all(dir);
}
BENCHMARK(BM_CompleteSystems)->ArgName("written")->Arg(0)->Arg(1)->MinTime(2.0)->Unit(benchmark::kMicrosecond);

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The machine's load over the last minute: on a shared machine the rates
// mean little without it.
double loadAverage() {
    std::ifstream in("/proc/loadavg");
    double load = 0;
    in >> load;
    return load;
}

// A 40-parsec cube at full density, 64,000 complete systems with their
// names, written to a scratch folder by CreateSector on `threads` threads
// (0: one per core), once per benchmark iteration, each timed by the wall
// clock. Returns the systems written and the seconds they took.
struct LoopRuns {
    double systems = 0;
    double wall = 0;
};
LoopRuns runSectorLoop(benchmark::State& state, unsigned threads, const char* folder) {
    const fs::path dir = fs::temp_directory_path() / folder;
    fs::create_directories(dir);
    orrimar::CreateSectorParams params;
    params.baseName = (dir / "loop").string();
    params.seed = 20240601;
    params.lastIndex = 39;
    params.density = 100;
    params.threads = threads;
    params.settingsPath = (dir / "none.ini").string();
    LoopRuns runs;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const orrimar::CreateSectorResult result = orrimar::CreateSector(params);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        runs.wall += seconds;
        runs.systems += static_cast<double>(result.systems);
    }
    fs::remove_all(dir);
    return runs;
}

// The sector loop on 1, 2 and all threads. systems/s is against the wall
// clock; cpu_systems/s against the CPU time of every thread, which is what
// the run costs.
void BM_SectorLoop(benchmark::State& state) {
    const auto threads = static_cast<unsigned>(state.range(0));
    const double cpuBefore = processCpuSeconds();
    const LoopRuns runs = runSectorLoop(state, threads, "orrimar-sector-loop-bench");
    const double cpu = processCpuSeconds() - cpuBefore;
    state.counters["threads"] = threads != 0 ? threads : std::thread::hardware_concurrency();
    state.counters["systems/s"] = runs.systems / runs.wall;
    state.counters["cpu_systems/s"] = runs.systems / cpu;
    state.counters["load"] = loadAverage();
}
BENCHMARK(BM_SectorLoop)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Arg(0)
    ->UseManualTime()
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond);

// The single-thread run kept on one core. On a virtual machine the cores
// need not be equal (here one ran the same run 25 to 30 % slower than the
// other while both were otherwise idle), which caps what two threads can
// gain over one thread on the faster core; these figures show that cap
// beside the threaded ones.
void BM_SectorLoopOnCore(benchmark::State& state) {
    cpu_set_t before;
    sched_getaffinity(0, sizeof before, &before);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(static_cast<int>(state.range(0)), &one);
    if (sched_setaffinity(0, sizeof one, &one) != 0) {
        state.SkipWithError("no such core");
        return;
    }
    const LoopRuns runs = runSectorLoop(state, 1, "orrimar-sector-loop-core-bench");
    sched_setaffinity(0, sizeof before, &before);
    state.counters["systems/s"] = runs.systems / runs.wall;
}
BENCHMARK(BM_SectorLoopOnCore)
    ->ArgName("cpu")
    ->DenseRange(0, static_cast<int>(std::max(1U, std::thread::hardware_concurrency())) - 1)
    ->UseManualTime()
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond);

// How long a run takes to return once Cancel is seen: the workers finish
// the batch in hand and are joined, the files are closed. The front end
// promises a tenth of a second at most.
class CancelAt final : public orrimar::SectorProgress {
public:
    explicit CancelAt(std::int64_t cell) : cell_(cell) {}
    void setMaximum(std::int64_t) override {}
    void setProgress(std::int64_t cells) override { cells_ = cells; }
    bool cancelRequested() override {
        if (cells_ < cell_) return false;
        if (!seen_) requested = std::chrono::steady_clock::now();
        seen_ = true;
        return true;
    }
    std::chrono::steady_clock::time_point requested;

private:
    std::int64_t cell_;
    std::int64_t cells_ = 0;
    bool seen_ = false;
};

void BM_CancelLatency(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / "orrimar-cancel-bench";
    fs::create_directories(dir);
    orrimar::CreateSectorParams params;
    params.baseName = (dir / "cancel").string();
    params.seed = 20240601;
    params.lastIndex = 39;
    params.density = 100;
    params.threads = static_cast<unsigned>(state.range(0));
    params.settingsPath = (dir / "none.ini").string();
    double worst = 0;
    for (auto _ : state) {
        CancelAt progress(5000);
        orrimar::CreateSector(params, &progress);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - progress.requested).count();
        state.SetIterationTime(ms / 1000);
        worst = std::max(worst, ms);
    }
    state.counters["worst_ms"] = worst;
    state.counters["load"] = loadAverage();
    fs::remove_all(dir);
}
BENCHMARK(BM_CancelLatency)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

}  // namespace

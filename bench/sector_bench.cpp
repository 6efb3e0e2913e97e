// Whole sector runs through `orrimar-cli create`, each run in a child
// process so that its peak memory is its own, side by side with writing the
// same number of bytes through one buffered stream.
//
// Add a run by adding a row to kRuns.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/random.h"
#include "generation/stars.h"

#include "child_run.h"

using namespace orrimar::bench;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Run {
    const char* name;
    std::vector<std::string> options;  // after `create --file <base> --seed 1`
};

const std::vector<Run> kRuns = {
    {"flat_100x100_density100", {"--size", "100", "--flat", "--density", "100"}},
    {"cube_1M_systems/threads:1", {"--size", "100", "--density", "100", "--threads", "1"}},
    {"cube_1M_systems/threads:all", {"--size", "100", "--density", "100"}},
};

const char* const kSectorFiles[] = {".sun", ".pln", ".mon", ".aln", ".nam", ".col", ".con", ".emp", ".cmt"};

// Writes `bytes` bytes in system-record-sized pieces through one buffered
// stream, the floor any sector writer is measured against.
double streamSeconds(const fs::path& path, std::uintmax_t bytes) {
    const auto start = Clock::now();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) throw std::runtime_error("cannot write " + path.string());
    std::vector<char> buffer(64 * 1024);
    std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
    const char record[196] = {1};
    for (std::uintmax_t done = 0; done < bytes; done += sizeof record) {
        std::fwrite(record, 1, std::min<std::uintmax_t>(sizeof record, bytes - done), f);
    }
    std::fclose(f);
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    fs::remove(path);
    return s;
}

void BM_CreateSector(benchmark::State& state, const Run& run) {
    const fs::path dir = scratchDir();
    const std::string base = (dir / "bench").string();
    std::vector<std::string> args{cliPath().string(), "create", "--file", base, "--seed", "1"};
    args.insert(args.end(), run.options.begin(), run.options.end());
    double systems = 0;
    double bytes = 0;
    double peakMb = 0;
    double streamTime = 0;
    double cliTime = 0;
    double cpuTime = 0;
    for (auto _ : state) {
        const ChildRun child = runChild(args);
        state.SetIterationTime(child.seconds);
        cliTime += child.seconds;
        cpuTime += child.cpuSeconds;
        std::uintmax_t written = 0;
        for (const char* ext : kSectorFiles) written += fs::file_size(base + ext);
        systems += static_cast<double>(fs::file_size(base + ".sun") / 196);
        bytes += static_cast<double>(written);
        peakMb = std::max(peakMb, static_cast<double>(child.peakRssKb) / 1024.0);
        for (const char* ext : kSectorFiles) fs::remove(base + ext);
        streamTime += streamSeconds(dir / "stream.bin", written);
    }
    state.counters["systems_per_s"] = systems / cliTime;
    state.counters["MB_per_s"] = bytes / 1e6 / cliTime;
    state.counters["cpu_systems_per_s"] = systems / cpuTime;
    state.counters["peak_RSS_MB"] = peakMb;
    state.counters["MB_written"] = bytes / 1e6 / static_cast<double>(state.iterations());
    state.counters["stream_MB_per_s"] = bytes / 1e6 / streamTime;
    state.counters["stream_s"] = streamTime / static_cast<double>(state.iterations());
}

// The per-system cost of the stars alone, without any file.
void BM_GenerateStars(benchmark::State& state) {
    orrimar::seedRandom(1);
    for (auto _ : state) {
        orrimar::TSystemRec system;
        orrimar::GenerateStars(false, system);
        benchmark::DoNotOptimize(system);
    }
}
BENCHMARK(BM_GenerateStars);

void BM_DiceRoll(benchmark::State& state) {
    orrimar::seedRandom(1);
    for (auto _ : state) benchmark::DoNotOptimize(orrimar::d(1000));
}
BENCHMARK(BM_DiceRoll);

const bool registered = [] {
    for (const Run& run : kRuns) {
        benchmark::RegisterBenchmark((std::string("BM_CreateSector/") + run.name).c_str(), BM_CreateSector, run)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();

// Exports through `orrimar-cli export` and `atlas`, each in a child process
// so that its peak memory is its own: MB written per second (wall clock and
// CPU time, the machine being shared) and peak RSS. The sector of each run
// is created once, by `orrimar-cli create` with a fixed seed, and kept in
// the scratch folder for the next run.
//
// Add a run by adding a row to kExportRuns.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "child_run.h"

using namespace orrimar::bench;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Sector {
    const char* name;
    std::vector<std::string> options;  // after `create --file <base> --seed 1`
    // Settled (`settle --seed 1`) with a few systems hidden from the players
    // and every colony and empire revealed: the players' atlas at its
    // largest, a page for nearly every system, race and empire.
    bool campaign = false;
};

const Sector kFlat20k = {"flat_141x141", {"--size", "141", "--flat", "--density", "100"}};  // 19,881 systems
const Sector kCube1M = {"cube_1M", {"--size", "100", "--density", "100"}};                  // 1,000,000 systems
const Sector kFlat20kCampaign = {"flat_141x141_campaign", {"--size", "141", "--flat", "--density", "100"}, true};

struct ExportRun {
    const Sector* sector;
    const char* format;  // json, csv, atlas, players (the players' atlas)
};

const std::vector<ExportRun> kExportRuns = {
    {&kFlat20k, "json"}, {&kFlat20k, "csv"},           {&kFlat20k, "atlas"},           {&kCube1M, "json"},
    {&kCube1M, "csv"},   {&kFlat20kCampaign, "atlas"}, {&kFlat20kCampaign, "players"},
};

std::string ensureSector(const Sector& sector) {
    const std::string base = (scratchDir() / sector.name).string();
    if (!fs::exists(base + ".sun")) {
        std::vector<std::string> args{cliPath().string(), "create", "--file", base, "--seed", "1"};
        args.insert(args.end(), sector.options.begin(), sector.options.end());
        runChild(args);
        if (sector.campaign) {
            runChild({cliPath().string(), "settle", base, "--seed", "1", "--quiet"});
            runChild({cliPath().string(), "reveal", base, "--all", "--quiet"});
            runChild({cliPath().string(), "hide", base, "--within", "10", "--of", "0", "--quiet"});
        }
    }
    return base;
}

std::uintmax_t bytesBelow(const fs::path& path) {
    if (fs::is_regular_file(path)) return fs::file_size(path);
    std::uintmax_t bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(path)) {
        if (entry.is_regular_file()) bytes += entry.file_size();
    }
    return bytes;
}

void BM_Export(benchmark::State& state, const ExportRun& run) {
    const std::string base = ensureSector(*run.sector);
    const fs::path out = scratchDir() / (std::string(run.sector->name) + "-export-" + run.format);
    const std::string format = run.format;
    std::vector<std::string> args =
        format == "atlas" || format == "players"
            ? std::vector<std::string>{cliPath().string(), "atlas", base, "--out", out.string(), "--quiet"}
            : std::vector<std::string>{cliPath().string(), "export", base,         "--format",
                                       run.format,         "--out",  out.string(), "--quiet"};
    if (format == "players") args.push_back("--players");
    double seconds = 0, cpu = 0, bytes = 0, peakMb = 0;
    for (auto _ : state) {
        const ChildRun child = runChild(args);
        state.SetIterationTime(child.seconds);
        seconds += child.seconds;
        cpu += child.cpuSeconds;
        bytes += static_cast<double>(bytesBelow(out));
        peakMb = std::max(peakMb, static_cast<double>(child.peakRssKb) / 1024.0);
        fs::remove_all(out);
    }
    state.counters["MB_per_s"] = bytes / 1e6 / seconds;
    state.counters["cpu_MB_per_s"] = bytes / 1e6 / cpu;
    state.counters["MB_written"] = bytes / 1e6 / static_cast<double>(state.iterations());
    state.counters["peak_RSS_MB"] = peakMb;
}

const bool registered = [] {
    for (const ExportRun& run : kExportRuns) {
        benchmark::RegisterBenchmark((std::string("BM_Export/") + run.sector->name + "/" + run.format).c_str(),
                                     BM_Export, run)
            ->UseManualTime()
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
    }
    return true;
}();

}  // namespace

// Complete star systems (stars, planets, belts, moons, native races) made
// one after another into an open sector, with their records written to
// disk or discarded from the buffers after each system. The two rates side
// by side give the share of a run that goes to file handling.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/random.h"
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
    state.counters["systems/s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate);
    state.counters["peak_kB"] = peakMemoryKb();
    fs::remove_all(dir);
}
BENCHMARK(BM_CompleteSystems)->ArgName("written")->Arg(0)->Arg(1)->MinTime(2.0)->Unit(benchmark::kMicrosecond);

}  // namespace

// What names cost: whole sector runs with and without names (systems per
// second side by side give naming's share of a run), one name taken on its
// own, and a million systems' names loaded from a name file.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "generation/create_sector.h"
#include "names/name_generator.h"
#include "names/sector_names.h"
#include "records/record_codec.h"
#include "records/records.h"

namespace {

namespace fs = std::filesystem;

// Peak resident memory so far, in kilobytes (getrusage: ru_maxrss is in kB on Linux).
long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Resident memory now, in kilobytes (the second figure of /proc/self/statm, in pages).
long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * 4;
}

// A 30-parsec cube at 25 % density: about 7,000 systems a run, each with
// its planets, moons and races, written to disk as `create` writes them.
void BM_CreateWithNames(benchmark::State& state) {
    const bool names = state.range(0) == 1;
    const fs::path dir = fs::temp_directory_path() / "orrimar-names-bench";
    fs::create_directories(dir);
    orrimar::CreateSectorParams params;
    params.baseName = (dir / (names ? "named" : "unnamed")).string();
    params.lastIndex = 29;
    params.density = 25;
    params.seed = 7;
    params.names = names;
    params.settingsPath = (dir / "none.ini").string();  // absent: the default tables
    std::int64_t systems = 0;
    std::int64_t namesWritten = 0;
    for (auto _ : state) {
        const orrimar::CreateSectorResult result = orrimar::CreateSector(params);
        systems += result.systems;
        namesWritten += result.names;
    }
    state.counters["systems/s"] = benchmark::Counter(static_cast<double>(systems), benchmark::Counter::kIsRate);
    state.counters["systems/run"] = static_cast<double>(systems) / static_cast<double>(state.iterations());
    state.counters["names/run"] = static_cast<double>(namesWritten) / static_cast<double>(state.iterations());
    fs::remove_all(dir);
}
BENCHMARK(BM_CreateWithNames)
    ->ArgName("names")
    ->Arg(0)
    ->Arg(1)
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One system's name, taken unique in a growing sector: the generator's own
// cost, without the file.
void BM_TakeName(benchmark::State& state) {
    orrimar::SectorNameGenerator generator(11);
    std::int64_t cell = 0;
    for (auto _ : state) {
        const auto x = static_cast<std::int16_t>(cell % 200);
        const auto y = static_cast<std::int16_t>(cell / 200 % 200);
        const auto z = static_cast<std::int16_t>(cell / 40000);
        benchmark::DoNotOptimize(generator.take({x, y, z, 0}));
        ++cell;
    }
    state.counters["names/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["clashes"] = static_cast<double>(generator.clashes());
}
BENCHMARK(BM_TakeName)->Iterations(1000000)->Unit(benchmark::kNanosecond);

// A name file of a million systems (the header and one generated name a
// system), loaded whole: the time of SectorNames::load, the memory the loaded
// names hold (resident memory with them, less before) and the growth of the
// process's peak while loading.
void BM_LoadMillionNames(benchmark::State& state) {
    constexpr std::int32_t kSystems = 1000000;
    const fs::path dir = fs::temp_directory_path() / "orrimar-names-load-bench";
    fs::create_directories(dir);
    const std::string base = (dir / "million").string();
    {
        std::ofstream out(base + ".nam", std::ios::binary | std::ios::trunc);
        unsigned char bytes[sizeof(orrimar::TNameRec)];
        orrimar::encodeRecord(orrimar::makeNameRecord(orrimar::NameKind::Header, orrimar::kNameHeaderValue, "Million"),
                              bytes);
        out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
        orrimar::SectorNameGenerator generator(3);
        for (std::int32_t id = 0; id < kSystems; ++id) {
            const orrimar::NameSubject cell{static_cast<std::int16_t>(id % 100),
                                            static_cast<std::int16_t>(id / 100 % 100),
                                            static_cast<std::int16_t>(id / 10000), 0};
            orrimar::encodeRecord(orrimar::makeNameRecord(orrimar::NameKind::System, id, generator.take(cell)), bytes);
            out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
        }
    }
    const long peakBefore = peakKb();
    const long residentBefore = residentKb();
    std::size_t loaded = 0;
    long held = 0;
    for (auto _ : state) {
        const orrimar::SectorNames names = orrimar::SectorNames::load(base);
        loaded = names.count(orrimar::NameKind::System);
        held = residentKb() - residentBefore;
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["names"] = static_cast<double>(loaded);
    state.counters["held_MB"] = static_cast<double>(held) / 1024.0;
    state.counters["peak_growth_MB"] = static_cast<double>(peakKb() - peakBefore) / 1024.0;
    state.counters["file_MB"] = static_cast<double>(fs::file_size(base + ".nam")) / (1024.0 * 1024.0);
    fs::remove_all(dir);
}
BENCHMARK(BM_LoadMillionNames)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

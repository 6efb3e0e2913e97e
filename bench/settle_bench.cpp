// Settling a million-system sector: time and peak memory of one settle.
//
// The sector (a 100-parsec cube full to every cell, seed 1, about 1.5 GB,
// some 38,000 races) is made once with `orrimar-cli create` under
// $ORRIMAR_BENCH_DIR (default /tmp/orrimar-bench) and kept for later runs;
// each iteration settles it afresh (--replace), so the files are in the page
// cache as they are after a create.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

#include "settling/settle_sector.h"

namespace {

namespace fs = std::filesystem;

std::string settleBase() {
    const char* env = std::getenv("ORRIMAR_BENCH_DIR");
    const fs::path dir = env != nullptr ? fs::path(env) : fs::temp_directory_path() / "orrimar-bench";
    fs::create_directories(dir);
    const std::string base = (dir / "settle_1M").string();
    std::error_code ec;
    if (fs::file_size(base + ".sun", ec) != 1'000'000ULL * 196) {
        const fs::path cli = fs::read_symlink("/proc/self/exe").parent_path() / "orrimar-cli";
        const std::string cmd = cli.string() + " create --file " + base + " --seed 1 --size 100 --density 100" +
                                " --replace --settings " + (dir / "none.ini").string() + " >/dev/null";
        if (std::system(cmd.c_str()) != 0) throw std::runtime_error("cannot create " + base);
    }
    return base;
}

void BM_SettleMillionSystems(benchmark::State& state) {
    const std::string base = settleBase();
    orrimar::SettleResult result;
    for (auto _ : state) {
        orrimar::SettleParams params;
        params.seed = 1;
        params.replace = true;
        result = orrimar::SettleSector(base, params);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["colonies"] = static_cast<double>(result.colonies);
    state.counters["empires"] = static_cast<double>(result.empires);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_SettleMillionSystems)->Unit(benchmark::kSecond)->Iterations(2)->UseRealTime();

}  // namespace

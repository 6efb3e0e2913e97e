// Printing a large sector: a one-page poster of 100,000 named systems
// (scene, labels, legend, grid and the PDF file), and the system sheets of
// a generated sector of 1,000 systems (gathering their content from the
// record files and writing the PDF). Targets: under 10 s and 20 s. Run at
// nice 19 on a shared machine:
//   nice -n 19 build/print_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>

#include "atlas/atlas_model.h"
#include "cli/cli.h"
#include "print/poster.h"
#include "print/sheet_pages.h"
#include "sheets/system_sheet.h"

namespace {

using orrimar::atlas::AtlasModel;
using orrimar::atlas::SystemEntry;

std::filesystem::path benchDir() {
    const char* given = std::getenv("ORRIMAR_BENCH_DIR");
    std::filesystem::path dir = std::filesystem::path(given != nullptr ? given : "/tmp/orrimar-bench") / "print";
    std::filesystem::create_directories(dir);
    return dir;
}

AtlasModel namedCube(int systems) {
    const int edge = static_cast<int>(std::ceil(std::cbrt(systems / 0.08)));
    std::mt19937 random(23);
    std::uniform_int_distribution<int> cell(0, edge - 1);
    std::uniform_int_distribution<int> kind(1, 13);
    std::uniform_int_distribution<int> brightness(0, 7);
    std::vector<SystemEntry> entries(static_cast<std::size_t>(systems));
    for (SystemEntry& e : entries) {
        e.x = static_cast<std::int16_t>(cell(random));
        e.y = static_cast<std::int16_t>(cell(random));
        e.z = static_cast<std::int16_t>(cell(random));
        e.starKind = static_cast<std::uint8_t>(kind(random));
        e.brightness = static_cast<std::uint8_t>(brightness(random));
        e.starCount = 1;
    }
    AtlasModel model = AtlasModel::fromEntries(std::move(entries));
    for (orrimar::atlas::SystemId id = 0; id < model.size(); ++id) model.setName(id, "Star " + std::to_string(id));
    return model;
}

void BM_Poster(benchmark::State& state) {
    const AtlasModel model = namedCube(static_cast<int>(state.range(0)));
    const std::string out = (benchDir() / "poster.pdf").string();
    for (auto _ : state) {
        orrimar::print::PosterOptions options;
        options.paper = orrimar::print::Paper::A2;
        const orrimar::print::Poster poster(model, options);
        orrimar::print::writePosterPdf(poster, out);
    }
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
}

void BM_SystemSheets(benchmark::State& state) {
    const std::string base = (benchDir() / "sheets").string();
    std::ostringstream out, err;
    // Density 100 on a cube just large enough: exactly that many systems.
    const int edge = static_cast<int>(std::ceil(std::cbrt(static_cast<double>(state.range(0)))));
    for (const auto& entry : std::filesystem::directory_iterator(benchDir()))
        if (entry.path().stem() == "sheets") std::filesystem::remove(entry.path());
    orrimar::cli::Context ctx{out, err, ".", false, orrimar::cli::kExitOk};
    if (orrimar::cli::runCli(
            {"create", "--file", base, "--seed", "5", "--size", std::to_string(edge), "--density", "100"}, ctx) !=
        orrimar::cli::kExitOk) {
        state.SkipWithError(err.str().c_str());
        return;
    }
    const std::string pdf = (benchDir() / "sheets.pdf").string();
    std::size_t sheets = 0;
    for (auto _ : state) {
        const auto content = orrimar::sheets::gatherSheets(base, {}, {});
        orrimar::print::writeSheetsPdf(content, orrimar::print::Paper::A4, pdf);
        sheets = content.size();
    }
    state.counters["sheets"] = static_cast<double>(sheets);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(pdf)) / 1e6;
}

BENCHMARK(BM_Poster)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_SystemSheets)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// What the campaign file costs: one note saved (the lock, one SQLite
// transaction, synced), a search over 100,000 notes, and the players' view
// of a sector of a million systems.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "campaign/campaign_file.h"
#include "campaign/notes.h"
#include "campaign/players_view.h"
#include "records/record_file.h"
#include "records/records.h"

namespace {

namespace fs = std::filesystem;
using namespace orrimar;

fs::path benchDir(const std::string& name) {
    const char* root = std::getenv("ORRIMAR_BENCH_DIR");
    const fs::path dir = fs::path(root != nullptr ? root : "/tmp/orrimar-bench") / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

template <typename T>
void writeFile(const std::string& path, std::int64_t count, const auto& make) {
    RecordFile<T> file(path, RawRecordFile::Mode::Create);
    for (std::int64_t i = 0; i < count; ++i) file.append(make(i));
    file.close();
}

// A sector of `systems` systems, one planet each, a race on every tenth
// planet and a colony on every hundredth. Only the counts of the system
// file are read by the campaign, so its records are left zero (sparse).
std::string makeSector(const std::string& name, std::int64_t systems) {
    const std::string base = (benchDir(name) / "sector").string();
    { RecordFile<TSystemRec> sun(base + ".sun", RawRecordFile::Mode::Create); }
    fs::resize_file(base + ".sun", static_cast<std::uintmax_t>(systems) * sizeof(TSystemRec));
    writeFile<TPlanetRec>(base + ".pln", systems, [](std::int64_t i) {
        TPlanetRec p;
        p.systemId = static_cast<std::int32_t>(i);
        return p;
    });
    writeFile<TMoonRec>(base + ".mon", 0, [](std::int64_t) { return TMoonRec{}; });
    writeFile<TAlienRec>(base + ".aln", systems / 10, [](std::int64_t i) {
        TAlienRec a;
        a.worldId = static_cast<std::int32_t>(i * 10);
        return a;
    });
    writeFile<TColonyRec>(base + ".col", systems / 100, [](std::int64_t i) {
        TColonyRec c;
        c.kind = 1;
        c.worldId = static_cast<std::int32_t>(i * 100);
        c.race = static_cast<std::uint16_t>(i % 60000);
        return c;
    });
    return base;
}

void BM_NoteSaved(benchmark::State& state) {
    const std::string base = makeSector("note-saved", 10000);
    std::int64_t id = 0;
    for (auto _ : state) {
        setNote(base, {ThingKind::System, id % 10000}, fmt::format("The pirates of system {} moved on", id));
        ++id;
    }
}
BENCHMARK(BM_NoteSaved)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SearchNotes(benchmark::State& state) {
    const std::int64_t notes = state.range(0);
    const std::string base = makeSector("search", notes);
    {
        // Filled in one transaction: the setting up is not what is measured.
        auto db = openCampaignForWriting(base);
        Transaction fill(*db);
        Statement add(*db, "INSERT INTO notes (kind, id, public, text) VALUES (1, ?1, 0, ?2)");
        for (std::int64_t i = 0; i < notes; ++i) {
            add.bind(1, i)
                .bind(2, fmt::format("System {} trades {} with the {} and fears marker{} of the old war", i,
                                     i % 7 == 0 ? "spice" : "ore", i % 13 == 0 ? "Iotrosel" : "Vashti", i))
                .run();
        }
        fill.commit();
    }
    const std::string words = state.range(1) == 0 ? "marker4242" : "iotrosel spice";
    std::size_t found = 0;
    for (auto _ : state) found = searchNotes(base, words).size();
    state.counters["found"] = static_cast<double>(found);
}
BENCHMARK(BM_SearchNotes)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PlayersView(benchmark::State& state) {
    const std::int64_t systems = state.range(0);
    const std::string base = makeSector("players-view", systems);
    std::vector<Thing> hidden;
    for (std::int64_t i = 0; i < 1000; ++i) hidden.push_back({ThingKind::System, i * 997 % systems});
    markForPlayers(base, hidden, PlayersMark::Unknown);
    std::int64_t races = 0;
    for (auto _ : state) {
        const PlayersView view = playersView(base);
        races = 0;
        for (const bool known : view.races()) races += known ? 1 : 0;
    }
    state.counters["known races"] = static_cast<double>(races);
}
BENCHMARK(BM_PlayersView)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

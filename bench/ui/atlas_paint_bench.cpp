// Frames per second of the atlas map: one frame is the scene of the current
// view (projection, shading, labels, route, frame) built from the atlas
// model plus its painting onto a 1280 x 800 image, as the window does on
// every turn of the cube. Systems fill a cube at random, as a dense sector
// does. Run at nice 19 on a shared machine:
//   nice -n 19 build/atlas_paint_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <random>

#include "atlas/atlas_model.h"
#include "atlas/territory.h"
#include "print/atlas_painter.h"
#include "ui/atlas_session.h"

namespace {

using orrimar::atlas::AtlasModel;
using orrimar::atlas::SystemEntry;

AtlasModel randomCube(int systems, unsigned seed) {
    const int edge = static_cast<int>(std::ceil(std::cbrt(static_cast<double>(systems))));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> cell(0, edge - 1);
    std::uniform_int_distribution<int> kind(1, 13);
    std::uniform_int_distribution<int> brightness(0, 7);
    std::uniform_int_distribution<int> marks(0, 15);
    std::vector<SystemEntry> entries(static_cast<std::size_t>(systems));
    for (SystemEntry& e : entries) {
        e.x = static_cast<std::int16_t>(cell(random));
        e.y = static_cast<std::int16_t>(cell(random));
        e.z = static_cast<std::int16_t>(cell(random));
        e.starKind = static_cast<std::uint8_t>(kind(random));
        e.brightness = static_cast<std::uint8_t>(brightness(random));
        e.starCount = 1;
        // About one system in sixteen bears life, as in a generated sector.
        e.marks = marks(random) == 0 ? std::uint8_t{1} : std::uint8_t{0};
    }
    return AtlasModel::fromEntries(std::move(entries));
}

// Settled space over the random cube: 40 empires, each holding the systems
// within 9 cells of its capital in a cube of 100,000 systems (the reach
// grows with the cube's edge, so a smaller or larger sector is settled
// alike; the first empire to reach a system keeps it): over half of the
// systems controlled, in blobs that touch, as a busy settled sector's.
AtlasModel settledCube(int systems, unsigned seed) {
    AtlasModel model = randomCube(systems, seed);
    const double edge = std::ceil(std::cbrt(static_cast<double>(systems)));
    const double reach = 9.0 * edge / 47.0;
    std::mt19937 random(seed + 1);
    std::uniform_int_distribution<int> pick(0, model.size() - 1);
    orrimar::atlas::SettledLayer::Parts parts;
    std::vector<std::uint8_t> taken(static_cast<std::size_t>(model.size()), 0);
    for (std::uint16_t race = 0; race < 40; ++race) {
        const orrimar::atlas::SystemId capital = pick(random);
        const SystemEntry& c = model.entry(capital);
        model.forEachWithin(c.x, c.y, c.z, reach, [&](orrimar::atlas::SystemId id, std::int64_t) {
            if (taken[static_cast<std::size_t>(id)] != 0) return;
            taken[static_cast<std::size_t>(id)] = 1;
            parts.controls.push_back(orrimar::TConRec{id, race});
        });
    }
    std::vector<std::string> warnings;
    model.setSettled(orrimar::atlas::SettledLayer::build(
        std::move(parts), model.size(), [](std::uint16_t) { return std::string(); }, warnings));
    return model;
}

// The territories' cells and borders of a whole view, worked out afresh
// (as when the view or the slab changes): arg 0 the cube's layers, 1 from
// above.
void BM_AtlasTerritories(benchmark::State& state) {
    const AtlasModel model = settledCube(static_cast<int>(state.range(0)), 19);
    const auto view = state.range(1) == 0 ? orrimar::atlas::View::Cube : orrimar::atlas::View::Top;
    std::size_t lines = 0;
    for (auto _ : state) {
        const auto borders = orrimar::atlas::territoryBorders(model, view, orrimar::atlas::Slab{});
        lines = borders.size();
        benchmark::DoNotOptimize(borders.data());
    }
    std::size_t controlled = 0;
    for (orrimar::atlas::SystemId id = 0; id < model.size(); ++id) controlled += model.owner(id) != orrimar::kNoRace;
    state.counters["controlled"] = static_cast<double>(controlled);
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_AtlasTerritories)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

// One frame as the window paints it while the user drags: the view turned
// (or panned) a little, the scene built from the session and painted onto
// an image of the Atlas window's usual size.
void frames(benchmark::State& state, int view, bool labels, bool settled = false) {
    const int systems = static_cast<int>(state.range(0));
    orrimar::ui::AtlasSession session;
    session.adopt(settled ? settledCube(systems, 19) : randomCube(systems, 19));
    session.setView(view);
    QImage image(1280, 800, QImage::Format_RGB32);
    orrimar::print::AtlasPainter painter;
    const QSize size = image.size();
    std::size_t dots = 0;
    std::size_t borders = 0;
    // The frame before the drag: the territories worked out for this view,
    // as the window has them when the mouse starts moving.
    (void)session.scene(size, labels);
    for (auto _ : state) {
        // Each frame turns (or pans) the view a little, so nothing cached
        // between frames can stand in for the work.
        if (view == 0) {
            session.turn(QPointF(2.0, 0.0));
        } else {
            session.pan(QPointF(1.0, 0.0));
        }
        const orrimar::print::AtlasScene scene = session.scene(size, labels);
        QPainter p(&image);
        painter.paint(p, QRectF(image.rect()), scene);
        dots = scene.dots.size();
        borders = scene.borders.size();
    }
    // ORRIMAR_FRAME_DIR=dir keeps each run's last frame as a PNG, so a
    // faster painter can be compared by eye (or pixel by pixel) with the old.
    if (const QByteArray dir = qgetenv("ORRIMAR_FRAME_DIR"); !dir.isEmpty()) {
        image.save(QString::fromLocal8Bit(dir) + QStringLiteral("/%1-%2.png").arg(view).arg(systems) +
                   QString(labels ? "-labels" : "") + QString(settled ? "-settled" : ""));
    }
    state.counters["dots"] = static_cast<double>(dots);
    state.counters["borders"] = static_cast<double>(borders);
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["systems"] = systems;
}

// The two halves of a frame apart: building the scene, and painting one
// (with its batches rebuilt each time, as after any change).
void BM_AtlasSceneCube(benchmark::State& state) {
    orrimar::ui::AtlasSession session;
    session.adopt(randomCube(static_cast<int>(state.range(0)), 19));
    session.setView(0);
    for (auto _ : state) {
        session.turn(QPointF(2.0, 0.0));
        benchmark::DoNotOptimize(session.scene(QSize(1280, 800)));
    }
}

void BM_AtlasPaintCube(benchmark::State& state) {
    orrimar::ui::AtlasSession session;
    session.adopt(randomCube(static_cast<int>(state.range(0)), 19));
    session.setView(0);
    orrimar::print::AtlasScene scene = session.scene(QSize(1280, 800));
    QImage image(1280, 800, QImage::Format_RGB32);
    orrimar::print::AtlasPainter painter;
    for (auto _ : state) {
        ++scene.revision;
        QPainter p(&image);
        painter.paint(p, QRectF(image.rect()), scene);
    }
}

BENCHMARK(BM_AtlasSceneCube)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AtlasPaintCube)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A frame while the cube turns under the mouse (labels wait for a rest),
// and a settled frame with its labels.
void BM_AtlasFrameCubeTurning(benchmark::State& state) { frames(state, 0, false); }
void BM_AtlasFrameCubeSettled(benchmark::State& state) { frames(state, 0, true); }
void BM_AtlasFrameTopPanning(benchmark::State& state) { frames(state, 1, false); }

// The same frames with settled space: tints under a third of the dots and
// the borders of 40 empires (worked out once; each frame projects them).
void BM_AtlasFrameCubeTurningSettled(benchmark::State& state) { frames(state, 0, false, true); }
void BM_AtlasFrameCubeSettledSpace(benchmark::State& state) { frames(state, 0, true, true); }
void BM_AtlasFrameTopPanningSettled(benchmark::State& state) { frames(state, 1, false, true); }
BENCHMARK(BM_AtlasFrameCubeTurningSettled)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AtlasFrameCubeSettledSpace)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AtlasFrameTopPanningSettled)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK(BM_AtlasFrameCubeTurning)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AtlasFrameCubeSettled)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AtlasFrameTopPanning)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Cost of the per-body rules that every planet and moon goes through: the
// atmosphere roll, the climate loop and the feature roll.
#include <benchmark/benchmark.h>

#include <array>

#include "common/random.h"
#include "generation/atmosphere.h"
#include "generation/climate.h"
#include "generation/physics.h"
#include "generation/world_features.h"
#include "records/world_types.h"

namespace {

using namespace orrimar;

void BM_AtmosphereAndClimate(benchmark::State& state) {
    seedRandom(1);
    const Bulk bulk = bulkProperties(10, 12000);
    std::int16_t orbit = 6;
    for (auto _ : state) {
        orbit = static_cast<std::int16_t>(orbit % 30 + 1);
        std::uint8_t atmosphereClass = 0;
        std::uint8_t retained = 0;
        std::uint8_t type = 0;
        float pressure = 0.0F;
        float inventory = 0.0F;
        RollAtmosphere(atmosphereClass, 8, 10, 12, orbit, bulk.mass, bulk.gravity, pressure, inventory, 12000, false,
                       bulk.escapeVelocity, retained);
        ClassifyWorld(atmosphereClass, type, 8, 12, 10, orbit, 12000, false);
        std::uint8_t surface = 0;
        std::uint8_t water = 0;
        std::uint8_t ice = 0;
        std::uint8_t cloud = 0;
        std::uint8_t albedo = 0;
        std::int16_t temperature = 0;
        ComputeClimate(8, 12, orbit, type, surface, water, ice, cloud, albedo, inventory, 1.0F, bulk.gravity, pressure,
                       12000, atmosphereClass, temperature, bulk.escapeVelocity);
        benchmark::DoNotOptimize(
            ChooseComposition(atmosphereClass, type, 10, bulk.gravity, pressure, bulk.escapeVelocity, orbit, retained));
    }
}
BENCHMARK(BM_AtmosphereAndClimate);

void BM_RollWorldFeatures(benchmark::State& state) {
    seedRandom(2);
    const std::array<std::uint8_t, 5> resources{};
    std::array<std::uint8_t, 5> features{};
    for (auto _ : state) {
        std::uint8_t composition = 2;
        benchmark::DoNotOptimize(RollWorldFeatures(3, world::kTerran, 1, 5, 60, 20, 10, composition, resources, 24, 0,
                                                   false, false, 10, 15, 8, 1.0F, 1.0F, features, 30, 50));
    }
}
BENCHMARK(BM_RollWorldFeatures);

}  // namespace

#include "generation/create_sector.h"

#include <memory>

#include "generation/random.h"
#include "generation/star_system.h"
#include "names/name_writer.h"
#include "records/errors.h"
#include "records/sector_files.h"
#include "settings/probabilities.h"

namespace orrimar {

namespace {

// The first corner of a block stays within this distance of the origin.
constexpr int kCornerLimit = 9989;
// Edge of a block in cells.
constexpr std::int32_t kMaxEdge = 200;

std::int16_t clampCorner(std::int16_t v) {
    if (v < -kCornerLimit) return -kCornerLimit;
    if (v > kCornerLimit) return kCornerLimit;
    return v;
}

struct Counts {
    std::int64_t systems = 0;
    std::int64_t planets = 0;
    std::int64_t moons = 0;
    std::int64_t races = 0;
};

Counts countsOf(SectorFiles& files) {
    return {files.systems().count(), files.planets().count(), files.moons().count(), files.aliens().count()};
}

}  // namespace

CreateSectorResult CreateSector(const CreateSectorParams& params, SectorProgress* progress) {
    // Refused before anything is touched: coordinates of a larger block
    // would leave their 16-bit fields.
    if (params.lastIndex >= kMaxEdge) throw InputError("Size should be inferior to 201");
    if (params.lastIndex < 0) throw InputError("Size should be superior to 1");

    CreateSectorResult result;
    result.seed = params.seed ? *params.seed : clockSeed();
    seedRandom(result.seed);

    const std::int16_t x0 = clampCorner(params.x);
    const std::int16_t y0 = clampCorner(params.y);
    const std::int16_t z0 = clampCorner(params.z);
    if (progress != nullptr) progress->setProgress(0);
    const std::int32_t lastZ = params.flat ? 0 : params.lastIndex;
    const std::int64_t edge = params.lastIndex + 1;
    if (progress != nullptr) {
        progress->setMaximum(edge * edge * (lastZ + 1));
        progress->clearCancel();
    }

    // Read afresh for every run, so that edits of the settings take effect.
    LoadStellarProbabilities(params.settingsPath);
    LoadAlienProbabilities(params.settingsPath);

    // The set is opened by the first system: a run that places none leaves
    // the files as they were.
    std::unique_ptr<SectorFiles> files;
    // Names ride beside the record files: each system's names are appended
    // once the system is whole, and reach the disk only after the systems
    // they name.
    std::unique_ptr<SectorNameWriter> names;
    Counts before;
    try {
        for (std::int32_t i = 0; i <= params.lastIndex && !result.cancelled; ++i) {
            for (std::int32_t j = 0; j <= params.lastIndex && !result.cancelled; ++j) {
                for (std::int32_t k = 0; k <= lastZ && !result.cancelled; ++k) {
                    ++result.cellsVisited;
                    // A cell holds a system with chance (density + 1)%, always at 100.
                    const auto roll = randomBelow(100);
                    if (roll <= params.density) {
                        if (!files) {
                            files = params.newFile ? SectorFiles::create(params.baseName, params.sectorName)
                                                   : SectorFiles::append(params.baseName, params.sectorName);
                            before = countsOf(*files);
                            if (params.names) names = std::make_unique<SectorNameWriter>(params.baseName, result.seed);
                        }
                        const auto x = static_cast<std::int16_t>(x0 + i);
                        const auto y = static_cast<std::int16_t>(y0 + j);
                        const auto z = static_cast<std::int16_t>(z0 + k);
                        const std::int64_t firstRace = files->aliens().count();
                        const std::int64_t id = GenerateStarSystem(*files, params.gaia, x, y, z,
                                                                   params.totalAlienDisable, params.maxSpatialAge);
                        if (names) {
                            names->nameSystem(id, x, y, z, firstRace, files->aliens().count() - firstRace);
                            // The record files write their systems in batches; once a
                            // batch is out (nothing pending), its names may follow.
                            if (files->systems().pendingBytes() == 0) names->flush();
                        }
                    }
                    if (progress != nullptr) {
                        progress->setProgress(result.cellsVisited);
                        result.cancelled = progress->cancelRequested();
                    }
                }
            }
        }
        if (files) {
            const Counts after = countsOf(*files);
            files->close();
            if (names) {
                names->close(after.systems);
                result.names = names->written();
            }
            result.systems = after.systems - before.systems;
            result.planets = after.planets - before.planets;
            result.moons = after.moons - before.moons;
            result.races = after.races - before.races;
        }
    } catch (...) {
        // The failed system is already gone; the whole ones before it are
        // written if the disk allows, then the first error is reported.
        if (files) {
            try {
                files->close();
            } catch (...) {
            }
        }
        if (names) {
            // Only the names of systems that reached the disk.
            try {
                names->close(recordCountOnDisk(sectorPath(params.baseName, ".sun"), sizeof(TSystemRec)));
            } catch (...) {
            }
        }
        throw;
    }
    return result;
}

}  // namespace orrimar

#include "generation/create_sector.h"

#include <exception>
#include <fstream>
#include <memory>

#include <fmt/format.h>

#include "campaign/campaign_file.h"
#include "common/errors.h"
#include "common/message_sink.h"
#include "common/random.h"
#include "generation/cell_batches.h"
#include "generation/star_system.h"
#include "names/name_writer.h"
#include "records/cell_occupancy.h"
#include "records/cell_occupancy.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/sector_journal.h"
#include "records/sector_lock.h"
#include "settings/probabilities.h"
#include "records/sector_tail.h"

namespace orrimar {

namespace {

// Edge of a block in cells.
constexpr std::int32_t kMaxEdge = 200;

struct Counts {
    std::int64_t systems = 0;
    std::int64_t planets = 0;
    std::int64_t moons = 0;
    std::int64_t races = 0;
};

Counts countsOf(SectorFiles& files) {
    return {files.systems().count(), files.planets().count(), files.moons().count(), files.aliens().count()};
}

// Appends the run's line to the comment file, after the run's records are
// on disk (the line describes them, so it never precedes them).
void appendRunRecord(const std::string& baseName, const CreateSectorParams& params, std::uint64_t seed) {
    // Beside the sector's own base name: "data/y.sun" given notes into data/y.cmt.
    const std::string path = sectorPath(baseName, ".cmt");
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << RunRecordLine(params, seed) << "\r\n";
    out.flush();
    if (!out) throw IoError(fmt::format("Cannot write the run's seed to {}", path));
}

}  // namespace

std::string RunRecordLine(const CreateSectorParams& params, std::uint64_t seed) {
    return fmt::format(
        "Orrimar {} run: seed {}, corner {},{},{}, size {}, density {}, {}, aliens {}, "
        "max spatial age {}{}",
        ORRIMAR_VERSION, seed, clampCorner(params.x), clampCorner(params.y), clampCorner(params.z),
        params.lastIndex + 1, params.density, params.flat ? "2-D" : "3-D", params.totalAlienDisable ? "off" : "on",
        params.maxSpatialAge, params.gaia ? ", gaia" : "");
}

CreateSectorResult CreateSector(const CreateSectorParams& params, SectorProgress* progress) {
    // Refused before anything is touched: coordinates of a larger block
    // would leave their 16-bit fields.
    if (params.lastIndex >= kMaxEdge) throw InputError("Size should be inferior to 201");
    if (params.lastIndex < 0) throw InputError("Size should be superior to 1");
    // "data/y.sun" names the sector "data/y", not "data/y.sun.sun"; and the
    // run makes no folder of its own: a mistyped folder is said, not created.
    const std::string baseName = sectorBaseName(params.baseName);
    requireFolderFor(baseName);
    // One writer at a time, from before the first look at the counts; an
    // interrupted command's journal is finished here first.
    const SectorLock lock = SectorLock::forChange(baseName);
    if (params.newFile && !params.replace) {
        const std::int64_t existing = recordCountOnDisk(sectorPath(baseName, ".sun"), sizeof(TSystemRec));
        if (existing >= 0) throw SectorExistsError(baseName, existing);
    }
    // Appending after a torn tail would bury the damage under new systems.
    if (!params.newFile) RequireWholeSectorTail(baseName);
    // The cells already held, to say how many this append doubles.
    const CellSet occupied = params.newFile ? CellSet() : OccupiedCells(baseName);

    CreateSectorResult result;
    result.seed = params.seed ? *params.seed : clockSeed();

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

    const BlockCells block{x0, y0, z0, edge, lastZ + 1};
    const CellRules rules{result.seed,          params.density,  params.gaia, params.totalAlienDisable,
                          params.maxSpatialAge, params.cellProbe};

    // The set is opened by the first system: a run that places none leaves
    // the files as they were.
    std::unique_ptr<SectorFiles> files;
    // Names ride beside the record files: each system's names are appended
    // once the system is whole, and reach the disk only after the systems
    // they name.
    std::unique_ptr<SectorNameWriter> names;
    // From the first write on: a run stopped in any way leaves its whole
    // systems (with their names) and nothing else, even after a power cut.
    std::unique_ptr<JournalScope> journal;
    Counts before;
    try {
        // Declared inside the try: an error stops and joins the workers
        // before the files are closed.
        CellBatchPipeline batches(block, rules, params.threads);
        for (std::int64_t b = 0; b < batches.batchCount() && !result.cancelled; ++b) {
            const CellBatch& batch = batches.take();
            std::size_t nextSystem = 0;
            std::size_t nextMessage = 0;
            // The rules' messages of one cell, in the order they were sent.
            auto deliverMessages = [&](std::int64_t cell) {
                for (; nextMessage < batch.messages.size() && batch.messages[nextMessage].cell == cell; ++nextMessage) {
                    messageSink().message(batch.messages[nextMessage].title, batch.messages[nextMessage].text);
                }
            };
            for (std::int64_t cell = batch.first; cell < batch.end() && !result.cancelled; ++cell) {
                ++result.cellsVisited;
                deliverMessages(cell);
                if (nextSystem < batch.systemCount && batch.systems[nextSystem].cell == cell) {
                    const CellBatch::PlacedSystem& placed = batch.systems[nextSystem++];
                    if (!files) {
                        files = params.newFile ? SectorFiles::create(baseName, params.sectorName)
                                               : SectorFiles::append(baseName, params.sectorName);
                        // The old notes spoke of systems that are gone. Only
                        // once the old sector is: stopped between the two, the
                        // notes are stale but nothing the user made is lost.
                        if (params.newFile) removeCampaignFiles(baseName);
                        journal = std::make_unique<JournalScope>(baseName, JournalKind::WholeSystems, params.names);
                        before = countsOf(*files);
                        if (params.names) names = std::make_unique<SectorNameWriter>(baseName, result.seed);
                    }
                    if (!params.newFile && occupied.contains(cellKey(placed.x, placed.y, placed.z))) {
                        ++result.doubledCells;
                    }
                    const std::int64_t firstRace = files->aliens().count();
                    const std::int64_t id = CommitStarSystem(*files, placed.built);
                    if (names) {
                        names->nameSystem(id, placed.x, placed.y, placed.z, firstRace,
                                          files->aliens().count() - firstRace);
                        // The record files write their systems in batches; once a
                        // batch is out (nothing pending), its names may follow.
                        if (files->systems().pendingBytes() == 0) names->flush();
                    }
                    if (params.afterCommit) {
                        params.afterCommit(*files, CommittedSystem{id, placed.x, placed.y, placed.z});
                    }
                }
                if (progress != nullptr) {
                    progress->setProgress(result.cellsVisited);
                    result.cancelled = progress->cancelRequested();
                }
            }
            if (batch.error && !result.cancelled) {
                // The cell that failed: what its rules said before failing,
                // then its error, with every cell before it committed.
                ++result.cellsVisited;
                deliverMessages(batch.errorCell);
                std::rethrow_exception(batch.error);
            }
            batches.release();
        }
        if (files) {
            const Counts after = countsOf(*files);
            files->close();
            appendRunRecord(baseName, params, result.seed);
            if (names) {
                names->close(after.systems);
                result.names = names->written();
            }
            journal->commit();
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
                names->close(recordCountOnDisk(sectorPath(baseName, ".sun"), sizeof(TSystemRec)));
            } catch (...) {
            }
        }
        throw;
    }
    return result;
}

}  // namespace orrimar

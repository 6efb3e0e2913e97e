// The sector loop's cells, generated in batches on worker threads and handed
// back strictly in loop order.
//
// A system depends only on the run seed and its cell, so cells can be rolled
// anywhere, in any order: each worker builds whole systems with ids of their
// own into a batch, and the committing thread takes the batches in loop
// order and writes them. What reaches the files, and the messages the rules
// send, are then the same for every number of threads.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "generation/star_system.h"

namespace orrimar {

// The cells of a block in loop order: x, then y, then z innermost.
struct BlockCells {
    std::int16_t x0 = 0;  // first corner, parsecs
    std::int16_t y0 = 0;
    std::int16_t z0 = 0;
    std::int64_t edge = 1;   // cells along x and y
    std::int64_t depth = 1;  // cells along z: 1 for a flat sector

    std::int64_t count() const { return edge * edge * depth; }
    // Position of the cell with loop index `cell`.
    void position(std::int64_t cell, std::int16_t& x, std::int16_t& y, std::int16_t& z) const {
        x = static_cast<std::int16_t>(x0 + cell / (edge * depth));
        y = static_cast<std::int16_t>(y0 + (cell / depth) % edge);
        z = static_cast<std::int16_t>(z0 + cell % depth);
    }
};

// What decides a cell's content besides its position.
struct CellRules {
    std::uint64_t runSeed = 0;
    std::uint8_t density = 8;  // percent
    bool gaia = false;
    bool totalAlienDisable = false;
    std::uint8_t maxSpatialAge = 50;
    // Optional, called after each cell on the thread that rolled it.
    std::function<void(std::int16_t x, std::int16_t y, std::int16_t z)> probe;
};

// A run of consecutive cells rolled together.
struct CellBatch {
    struct PlacedSystem {
        std::int64_t cell = 0;  // loop index
        std::int16_t x = 0;     // parsecs
        std::int16_t y = 0;
        std::int16_t z = 0;
        BuiltSystem built;
    };
    struct Message {
        std::int64_t cell = 0;  // loop index of the cell whose rules sent it
        std::string title;
        std::string text;
    };

    std::int64_t first = 0;  // loop index of the first cell
    std::int64_t cells = 0;
    // The first `systemCount` entries are this batch's systems in loop
    // order; entries past them are kept only for their storage.
    std::vector<PlacedSystem> systems;
    std::size_t systemCount = 0;
    std::vector<Message> messages;  // in the order sent
    // When a cell's generation failed: the error, and that cell. The cells
    // before it are complete; nothing after it was rolled.
    std::exception_ptr error;
    std::int64_t errorCell = -1;

    std::int64_t end() const { return error ? errorCell : first + cells; }
};

// Rolls cells [first, first + cells) into `batch` on the calling thread:
// each cell from its own random stream, the rules' messages kept in the
// batch instead of reaching the message sink. Never throws; a failure is
// recorded in the batch.
void GenerateCellBatch(CellBatch& batch, const BlockCells& block, const CellRules& rules, std::int64_t first,
                       std::int64_t cells);

// Cells per batch: about a few dozen systems' worth at the run's density,
// so that a batch takes around a millisecond whatever the density. Small
// enough that Cancel and the gauge wait for little, large enough that
// handing a batch between threads costs next to nothing.
std::int64_t CellsPerBatch(std::uint8_t density);

// The batches of a block, generated ahead of the committing thread by
// worker threads and taken back in loop order. At most a fixed window of
// batches exists at once, so memory does not grow with the sector. With one
// thread there are no workers: each batch is rolled on the calling thread
// when it is taken.
class CellBatchPipeline {
public:
    CellBatchPipeline(const BlockCells& block, const CellRules& rules, unsigned threads);
    // Stops the workers: each finishes the batch in hand, then they are joined.
    ~CellBatchPipeline();
    CellBatchPipeline(const CellBatchPipeline&) = delete;
    CellBatchPipeline& operator=(const CellBatchPipeline&) = delete;

    std::int64_t batchCount() const { return batchCount_; }
    // Waits for the next batch in loop order and returns it; it stays valid
    // until release(). Only while batches remain.
    CellBatch& take();
    // Done with the batch take() returned: its slot goes back to the workers.
    void release();

private:
    void work();
    void roll(std::int64_t batch, CellBatch& into) const;

    BlockCells block_;
    CellRules rules_;
    std::int64_t cellsPerBatch_;
    std::int64_t batchCount_;
    std::vector<CellBatch> slots_;      // batch n is rolled into slot n % slots_.size()
    std::vector<std::int64_t> rolled_;  // per slot: the batch it holds complete, or -1
    std::mutex mutex_;
    std::condition_variable slotFree_;   // workers wait here for a batch to roll
    std::condition_variable batchDone_;  // the committing thread waits here
    std::int64_t nextToRoll_ = 0;
    std::int64_t nextToTake_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

// Threads a run uses when asked for `requested` (0: one per core).
unsigned GenerationThreads(unsigned requested);

}  // namespace orrimar

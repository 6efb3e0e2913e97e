#include "generation/cell_batches.h"

#include <algorithm>

#include "common/message_sink.h"
#include "common/random.h"

namespace orrimar {

namespace {

// Systems a batch holds on average: a few dozen complete systems take about
// a millisecond of one core.
constexpr std::int64_t kSystemsPerBatch = 32;
// Cells of a batch at the lowest densities, where empty cells (a hash and
// one roll each) dominate.
constexpr std::int64_t kMaxCellsPerBatch = 4096;
// Batches in flight per worker: enough that a worker finding the next batch
// slow to commit still has work, few enough to keep memory small.
constexpr std::size_t kBatchesPerWorker = 4;
// An upper bound on workers, whatever the request: beyond the cores they
// only take turns.
constexpr unsigned kMaxThreads = 256;

// Keeps the rules' messages in the batch, tagged with the cell being rolled.
class BatchMessages final : public MessageSink {
public:
    explicit BatchMessages(CellBatch& batch) : batch_(batch) {}
    void message(std::string_view title, std::string_view text) override {
        batch_.messages.push_back({cell, std::string(title), std::string(text)});
    }
    std::int64_t cell = 0;

private:
    CellBatch& batch_;
};

}  // namespace

std::int64_t CellsPerBatch(std::uint8_t density) {
    // A cell holds a system with chance (density + 1)%.
    return std::clamp<std::int64_t>(kSystemsPerBatch * 100 / (density + 1), kSystemsPerBatch, kMaxCellsPerBatch);
}

unsigned GenerationThreads(unsigned requested) {
    unsigned threads = requested != 0 ? requested : std::thread::hardware_concurrency();
    return std::clamp(threads, 1U, kMaxThreads);
}

void GenerateCellBatch(CellBatch& batch, const BlockCells& block, const CellRules& rules, std::int64_t first,
                       std::int64_t cells) {
    batch.first = first;
    batch.cells = cells;
    batch.systemCount = 0;
    batch.messages.clear();
    batch.error = nullptr;
    batch.errorCell = -1;
    BatchMessages sink(batch);
    const ThreadMessageSink useSink(sink);
    for (std::int64_t cell = first; cell < first + cells; ++cell) {
        sink.cell = cell;
        try {
            std::int16_t x = 0;
            std::int16_t y = 0;
            std::int16_t z = 0;
            block.position(cell, x, y, z);
            // The cell's own stream: its first draw decides whether it holds
            // a system, the rest build that system. A cell holds one with
            // chance (density + 1)%, always at 100, so at a higher density
            // every system stays in place.
            seedRandom(cellSeed(rules.runSeed, x, y, z));
            const auto roll = randomBelow(100);
            if (roll <= rules.density) {
                if (batch.systemCount == batch.systems.size()) batch.systems.emplace_back();
                CellBatch::PlacedSystem& placed = batch.systems[batch.systemCount];
                placed.cell = cell;
                placed.x = x;
                placed.y = y;
                placed.z = z;
                BuildStarSystem(placed.built, rules.gaia, x, y, z, rules.totalAlienDisable, rules.maxSpatialAge);
                ++batch.systemCount;
            }
            if (rules.probe) rules.probe(x, y, z);
        } catch (...) {
            batch.error = std::current_exception();
            batch.errorCell = cell;
            return;
        }
    }
}

CellBatchPipeline::CellBatchPipeline(const BlockCells& block, const CellRules& rules, unsigned threads)
    : block_(block), rules_(rules), cellsPerBatch_(CellsPerBatch(rules.density)) {
    batchCount_ = (block_.count() + cellsPerBatch_ - 1) / cellsPerBatch_;
    threads = GenerationThreads(threads);
    if (threads <= 1 || batchCount_ <= 1) {
        slots_.resize(1);
        rolled_.assign(1, -1);
        return;
    }
    // The committing thread is one of the run's threads: between commits it
    // rolls batches too (see take()), so `threads` - 1 workers keep every
    // core busy without a thread more than there are cores to run them.
    const auto workers = static_cast<unsigned>(std::min<std::int64_t>(threads - 1, batchCount_));
    slots_.resize((workers + 1) * kBatchesPerWorker);
    rolled_.assign(slots_.size(), -1);
    try {
        for (unsigned i = 0; i < workers; ++i) workers_.emplace_back([this] { work(); });
    } catch (...) {
        // No thread to be had: stop the ones started, then report.
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        slotFree_.notify_all();
        for (auto& worker : workers_) worker.join();
        throw;
    }
}

CellBatchPipeline::~CellBatchPipeline() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    slotFree_.notify_all();
    for (auto& worker : workers_) worker.join();
}

void CellBatchPipeline::roll(std::int64_t batch, CellBatch& into) const {
    const std::int64_t first = batch * cellsPerBatch_;
    GenerateCellBatch(into, block_, rules_, first, std::min(cellsPerBatch_, block_.count() - first));
}

void CellBatchPipeline::work() {
    const auto window = static_cast<std::int64_t>(slots_.size());
    for (;;) {
        std::int64_t batch = 0;
        {
            std::unique_lock lock(mutex_);
            slotFree_.wait(
                lock, [&] { return stopping_ || nextToRoll_ >= batchCount_ || nextToRoll_ < nextToTake_ + window; });
            if (stopping_ || nextToRoll_ >= batchCount_) return;
            batch = nextToRoll_++;
        }
        // The slot is this worker's alone until the batch is marked rolled:
        // the batch it held before was released by the committing thread.
        const auto slot = static_cast<std::size_t>(batch % window);
        roll(batch, slots_[slot]);
        {
            const std::lock_guard lock(mutex_);
            rolled_[slot] = batch;
        }
        batchDone_.notify_one();
    }
}

CellBatch& CellBatchPipeline::take() {
    if (workers_.empty()) {
        roll(nextToTake_, slots_[0]);
        return slots_[0];
    }
    const auto window = static_cast<std::int64_t>(slots_.size());
    const auto slot = static_cast<std::size_t>(nextToTake_ % window);
    std::unique_lock lock(mutex_);
    while (rolled_[slot] != nextToTake_) {
        // Instead of waiting for a worker, roll the next unclaimed batch
        // here (often the very one wanted): a thread that only waited and
        // wrote would leave its core idle part of the time, and one worker
        // more than the cores would make the threads take turns.
        if (nextToRoll_ < batchCount_ && nextToRoll_ < nextToTake_ + window) {
            const std::int64_t batch = nextToRoll_++;
            const auto into = static_cast<std::size_t>(batch % window);
            lock.unlock();
            roll(batch, slots_[into]);
            lock.lock();
            rolled_[into] = batch;
            continue;
        }
        batchDone_.wait(lock);
    }
    return slots_[slot];
}

void CellBatchPipeline::release() {
    if (workers_.empty()) {
        ++nextToTake_;
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        rolled_[static_cast<std::size_t>(nextToTake_ % static_cast<std::int64_t>(slots_.size()))] = -1;
        ++nextToTake_;
    }
    // One slot freed: one more batch may be rolled.
    slotFree_.notify_one();
}

}  // namespace orrimar

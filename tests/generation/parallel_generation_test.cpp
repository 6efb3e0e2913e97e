// The sector loop on several threads: the same files, the same messages and
// the same stopping points as on one, and whole systems after any failure.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <fmt/format.h>

#include "common/errors.h"
#include "common/file_io.h"
#include "common/message_sink.h"
#include "generation/cell_batches.h"
#include "generation/create_sector.h"
#include "records/sector_tail.h"
#include "sector_fixture.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

constexpr unsigned kThreadCounts[] = {1, 2, 7};
const char* const kMembers[] = {".sun", ".pln", ".mon", ".aln", ".nam", ".col", ".con", ".emp", ".cmt"};

// An 8-parsec cube at density 60: about 300 systems in some ten batches,
// so seven threads all have batches in flight.
CreateSectorParams cube(const fs::path& dir, unsigned threads) {
    CreateSectorParams p;
    p.baseName = (dir / "sec").string();
    p.sectorName = "threads";
    p.seed = 20261208;
    p.lastIndex = 7;
    p.density = 60;
    p.threads = threads;
    p.settingsPath = (dir / "no-orrwin.ini").string();
    return p;
}

std::vector<std::string> membersOf(const std::string& base) {
    std::vector<std::string> bytes;
    for (const char* ext : kMembers) bytes.push_back(fileBytes(base + ext));
    return bytes;
}

// The first run's members become the reference; every later run's must
// equal them byte for byte.
void expectSameMembers(std::vector<std::string>& reference, const std::string& base, unsigned threads) {
    const auto bytes = membersOf(base);
    if (reference.empty()) {
        reference = bytes;
        return;
    }
    for (std::size_t m = 0; m < bytes.size(); ++m) {
        EXPECT_EQ(bytes[m], reference[m]) << threads << " threads, " << kMembers[m];
    }
}

// Stops the run once `cancelAfter` cells are committed; keeps every count
// the gauge is given.
class CancelAfter final : public SectorProgress {
public:
    explicit CancelAfter(std::int64_t cells) : cancelAfter_(cells) {}
    void setMaximum(std::int64_t) override {}
    void setProgress(std::int64_t cells) override { seen.push_back(cells); }
    bool cancelRequested() override { return cancelAfter_ > 0 && seen.back() >= cancelAfter_; }
    std::vector<std::int64_t> seen;

private:
    std::int64_t cancelAfter_;
};

class RecordingSink final : public MessageSink {
public:
    void message(std::string_view title, std::string_view text) override {
        messages.push_back(std::string(title) + ": " + std::string(text));
        threads.insert(std::this_thread::get_id());
    }
    std::vector<std::string> messages;
    std::set<std::thread::id> threads;
};

class SinkScope {
public:
    explicit SinkScope(MessageSink& sink) { setMessageSink(&sink); }
    ~SinkScope() { setMessageSink(nullptr); }
};

// The record files a run left, as far as the systems go: each family's
// bytes must be a prefix of the same family after an uninterrupted run.
void expectPrefixOf(const std::string& base, const std::string& full) {
    for (const char* ext : {".sun", ".pln", ".mon", ".aln", ".nam"}) {
        const std::string part = fileBytes(base + ext);
        const std::string whole = fileBytes(full + ext);
        ASSERT_LE(part.size(), whole.size()) << ext;
        EXPECT_EQ(part, whole.substr(0, part.size())) << ext;
    }
}

TEST(ParallelGeneration, OneTwoAndSevenThreadsWriteTheSameBytesAlsoWhenAppending) {
    std::vector<std::string> reference;
    for (const unsigned threads : kThreadCounts) {
        const fs::path dir = freshGenerationDir(fmt::format("threads-{}", threads));
        CreateSectorParams p = cube(dir, threads);
        const CreateSectorResult first = CreateSector(p);
        EXPECT_GT(first.systems, 250);
        // A neighbouring flat block at another density, appended.
        p.newFile = false;
        p.x = 8;
        p.flat = true;
        p.lastIndex = 11;
        p.density = 5;
        CreateSector(p);
        expectSound(p.baseName);
        EXPECT_TRUE(FindLastWholeSystem(p.baseName).isWhole());
        expectSameMembers(reference, p.baseName, threads);
    }
}

TEST(ParallelGeneration, ACancelledRunKeepsTheSamePrefixWhateverTheThreads) {
    const fs::path fullDir = freshGenerationDir("full");
    const CreateSectorParams full = cube(fullDir, 1);
    CreateSector(full);

    constexpr std::int64_t kCells = 137;  // inside the third batch
    std::vector<std::string> reference;
    for (const unsigned threads : kThreadCounts) {
        const fs::path dir = freshGenerationDir(fmt::format("cancel-{}", threads));
        const CreateSectorParams p = cube(dir, threads);
        CancelAfter progress(kCells);
        const CreateSectorResult result = CreateSector(p, &progress);
        EXPECT_TRUE(result.cancelled);
        EXPECT_EQ(result.cellsVisited, kCells);
        // The gauge counts committed cells one by one, from 0.
        ASSERT_EQ(progress.seen.size(), static_cast<std::size_t>(kCells + 1));
        for (std::int64_t i = 0; i <= kCells; ++i) EXPECT_EQ(progress.seen[static_cast<std::size_t>(i)], i);

        // Exactly the systems of the first kCells cells: x, y, z of every
        // system lie before the cell where the run stopped (x 2, y 1, z 1).
        const auto systems = readAll<TSystemRec>(p.baseName + ".sun");
        const auto fullSystems = readAll<TSystemRec>(full.baseName + ".sun");
        ASSERT_LT(systems.size(), fullSystems.size());
        ASSERT_FALSE(systems.empty());
        const auto cellOf = [](const TSystemRec& s) { return (s.x * 8 + s.y) * 8 + s.z; };
        EXPECT_LT(cellOf(systems.back()), kCells);
        EXPECT_GE(cellOf(fullSystems[systems.size()]), kCells);
        expectPrefixOf(p.baseName, full.baseName);
        expectSound(p.baseName);

        expectSameMembers(reference, p.baseName, threads);
    }
}

TEST(ParallelGeneration, MessagesSentWhileRollingReachTheSinkInLoopOrderOnTheCallingThread) {
    // The rules' messages are rare in a real run; the probe sends one from
    // the rolling thread for a few cells (two for some), as the rules would.
    const CellProbe probe = [](std::int16_t x, std::int16_t y, std::int16_t z) {
        if ((x + y + z) % 5 != 0) return;
        reportError(fmt::format("cell {},{},{}", x, y, z));
        if (z == 0) messageSink().message("Climate", fmt::format("second {},{},{}", x, y, z));
    };
    std::vector<std::string> expected;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            for (int z = 0; z < 8; ++z) {
                if ((x + y + z) % 5 != 0) continue;
                expected.push_back(fmt::format("Error: cell {},{},{}", x, y, z));
                if (z == 0) expected.push_back(fmt::format("Climate: second {},{},{}", x, y, z));
            }
        }
    }
    for (const unsigned threads : {1U, 2U, 3U, 7U}) {
        const fs::path dir = freshGenerationDir(fmt::format("messages-{}", threads));
        CreateSectorParams p = cube(dir, threads);
        p.cellProbe = probe;
        // Every message of a cell arrives before that cell's system is
        // committed and after the systems of the cells before it.
        RecordingSink sink;
        std::vector<std::size_t> messagesAtCommit;
        p.afterCommit = [&](SectorFiles&, const CommittedSystem&) { messagesAtCommit.push_back(sink.messages.size()); };
        {
            const SinkScope scope(sink);
            CreateSector(p);
        }
        EXPECT_EQ(sink.messages, expected) << threads << " threads";
        EXPECT_EQ(sink.threads, std::set<std::thread::id>{std::this_thread::get_id()});
        const auto systems = readAll<TSystemRec>(p.baseName + ".sun");
        ASSERT_EQ(messagesAtCommit.size(), systems.size());
        for (std::size_t i = 0; i < systems.size(); ++i) {
            const TSystemRec& s = systems[i];
            std::size_t sent = 0;  // messages of the cells up to and including this system's
            for (const std::string& m : expected) {
                int x = 0, y = 0, z = 0;
                const auto comma = m.find_last_of(' ');
                std::sscanf(m.c_str() + comma + 1, "%d,%d,%d", &x, &y, &z);
                if (std::tie(x, y, z) <= std::tie(s.x, s.y, s.z)) ++sent;
            }
            EXPECT_EQ(messagesAtCommit[i], sent) << "system " << i << ", " << threads << " threads";
        }
    }
}

TEST(ParallelGeneration, AFailureWhileRollingACellKeepsTheCellsBeforeIt) {
    const fs::path fullDir = freshGenerationDir("full");
    const CreateSectorParams full = cube(fullDir, 1);
    CreateSector(full);
    for (const unsigned threads : kThreadCounts) {
        const fs::path dir = freshGenerationDir(fmt::format("probe-error-{}", threads));
        CreateSectorParams p = cube(dir, threads);
        // Cell 300 fails; the rest of the cube is rolled by other workers.
        p.cellProbe = [](std::int16_t x, std::int16_t y, std::int16_t z) {
            if (x == 4 && y == 5 && z == 4) throw RangeError("Range check error (probe)");
        };
        std::vector<std::thread::id> hookThreads;
        p.afterCommit = [&](SectorFiles&, const CommittedSystem&) {
            hookThreads.push_back(std::this_thread::get_id());
        };
        EXPECT_THROW(CreateSector(p), RangeError);
        const auto systems = readAll<TSystemRec>(p.baseName + ".sun");
        ASSERT_FALSE(systems.empty());
        const auto cellOf = [](const TSystemRec& s) { return (s.x * 8 + s.y) * 8 + s.z; };
        EXPECT_LT(cellOf(systems.back()), 300);
        const auto fullSystems = readAll<TSystemRec>(full.baseName + ".sun");
        EXPECT_GE(cellOf(fullSystems[systems.size()]), 300);
        expectPrefixOf(p.baseName, full.baseName);
        EXPECT_TRUE(FindLastWholeSystem(p.baseName).isWhole());
        expectSound(p.baseName);
        EXPECT_EQ(hookThreads.size(), systems.size());
        for (const auto& id : hookThreads) EXPECT_EQ(id, std::this_thread::get_id());
    }
}

TEST(ParallelGeneration, AWriteFailingMidRunLeavesWholeSystemsOnly) {
    // A 12-parsec cube full of systems: some 2.5 MB, written in about ten
    // flushes of four files each.
    const fs::path fullDir = freshGenerationDir("full");
    CreateSectorParams full = cube(fullDir, 1);
    full.lastIndex = 11;
    full.density = 100;
    CreateSector(full);
    for (const unsigned threads : {2U, 7U}) {
        for (const FaultPlan plan :
             {FaultPlan{FaultKind::NoSpace, 8, false}, FaultPlan{FaultKind::IoError, 15, false},
              FaultPlan{FaultKind::NoSpace, 24, true}, FaultPlan{FaultKind::IoError, 37, false}}) {
            SCOPED_TRACE(fmt::format("{} threads, write {}", threads, plan.at));
            const fs::path dir = freshGenerationDir(fmt::format("fault-{}-{}", threads, plan.at));
            CreateSectorParams p = full;
            p.baseName = (dir / "sec").string();
            p.threads = threads;
            setFaultPlan(plan);
            EXPECT_THROW(CreateSector(p), IoError);
            clearFaultPlan();
            const SectorTail tail = FindLastWholeSystem(p.baseName);
            EXPECT_TRUE(tail.isWhole());
            EXPECT_GT(tail.whole.systems, 0);
            EXPECT_LT(tail.whole.systems, 1728);
            expectPrefixOf(p.baseName, full.baseName);
            expectSound(p.baseName);
        }
    }
}

TEST(ParallelGeneration, AnErrorOnTheCommittingThreadStopsTheWorkers) {
    const fs::path dir = freshGenerationDir("hook-error");
    CreateSectorParams p = cube(dir, 7);
    std::int64_t committed = 0;
    p.afterCommit = [&](SectorFiles&, const CommittedSystem&) {
        if (++committed == 40) throw std::runtime_error("hook failed");
    };
    EXPECT_THROW(CreateSector(p), std::runtime_error);
    // The system the hook failed on was whole before the hook ran.
    EXPECT_EQ(readAll<TSystemRec>(p.baseName + ".sun").size(), 40U);
    expectSound(p.baseName);
}

// ------------------------------------------------------------ the batches

TEST(CellBatches, EveryCellOnceInLoopOrderWhateverTheThreads) {
    const BlockCells block{-3, 5, 7, 9, 11};
    CellRules rules;
    rules.runSeed = 77;
    rules.density = 30;
    std::atomic<int> probes{0};
    rules.probe = [&](std::int16_t, std::int16_t, std::int16_t) { ++probes; };
    CellBatch alone;
    GenerateCellBatch(alone, block, rules, 0, block.count());
    ASSERT_FALSE(alone.error);
    ASSERT_EQ(probes.load(), 891);
    for (const unsigned threads : {1U, 3U, 16U}) {
        CellBatchPipeline pipeline(block, rules, threads);
        std::int64_t next = 0;
        std::size_t system = 0;
        for (std::int64_t b = 0; b < pipeline.batchCount(); ++b) {
            const CellBatch& batch = pipeline.take();
            ASSERT_EQ(batch.first, next);
            ASSERT_FALSE(batch.error);
            next += batch.cells;
            for (std::size_t i = 0; i < batch.systemCount; ++i, ++system) {
                const auto& got = batch.systems[i];
                const auto& want = alone.systems[system];
                EXPECT_EQ(got.cell, want.cell);
                EXPECT_EQ(bytesOf(got.built.system), bytesOf(want.built.system));
                EXPECT_EQ(got.built.planets.count(), want.built.planets.count());
            }
            pipeline.release();
        }
        EXPECT_EQ(next, block.count());
        EXPECT_EQ(system, alone.systemCount);
    }
    EXPECT_EQ(probes.load(), 4 * 891);
}

TEST(CellBatches, PositionsAndBatchSizes) {
    // Loop order: z fastest, then y, then x.
    const BlockCells cube{-10, 20, 30, 3, 4};
    std::int16_t x = 0, y = 0, z = 0;
    cube.position(0, x, y, z);
    EXPECT_EQ(std::tie(x, y, z), std::make_tuple(-10, 20, 30));
    cube.position(3, x, y, z);
    EXPECT_EQ(std::tie(x, y, z), std::make_tuple(-10, 20, 33));
    cube.position(4, x, y, z);
    EXPECT_EQ(std::tie(x, y, z), std::make_tuple(-10, 21, 30));
    cube.position(12, x, y, z);
    EXPECT_EQ(std::tie(x, y, z), std::make_tuple(-9, 20, 30));
    cube.position(cube.count() - 1, x, y, z);
    EXPECT_EQ(std::tie(x, y, z), std::make_tuple(-8, 22, 33));
    // About 32 systems a batch: every cell at 100, one in 9 at 8, at least
    // 32 cells and at most 4096.
    EXPECT_EQ(CellsPerBatch(100), 32);
    EXPECT_EQ(CellsPerBatch(99), 32);
    EXPECT_EQ(CellsPerBatch(8), 355);
    EXPECT_EQ(CellsPerBatch(0), 3200);
    EXPECT_EQ(GenerationThreads(1), 1U);
    EXPECT_EQ(GenerationThreads(7), 7U);
    EXPECT_GE(GenerationThreads(0), 1U);
    EXPECT_EQ(GenerationThreads(100000), 256U);
}

}  // namespace
}  // namespace orrimar

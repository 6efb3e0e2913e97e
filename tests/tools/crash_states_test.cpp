// Every state a power cut can leave. Until a command has synced, each member
// file may hold any prefix of what the command wrote to it, at a record
// boundary or torn, and its new end may hold zeros instead of data. Each test
// runs a command, then rebuilds every combination of such cuts between the
// sector before and after it, and proves that:
// - with the command's journal beside it (the journal is synced before the
//   first write and removed after the last sync), the next program to take
//   the lock restores the sector: a merge or rename undone to the byte, a
//   create or append cut to its last whole, named system;
// - without it, repair cuts it back to a sound sector that keeps every
//   record the sector held before the command.
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "generation/create_sector.h"
#include "names/rename.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_journal.h"
#include "records/sector_lock.h"
#include "support/hand_made_sector.h"
#include "tools/merger.h"
#include "tools/sector_check.h"
#include "tools/sector_repair.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;
using Files = std::map<std::string, std::string>;

constexpr std::array<const char*, 9> kMembers = {".sun", ".pln", ".mon", ".aln", ".nam",
                                                 ".col", ".con", ".emp", ".cmt"};
struct Family {
    const char* ext;
    std::size_t width;
};
// The members a command grows record by record.
constexpr std::array<Family, 5> kFamilies = {{{".sun", sizeof(TSystemRec)},
                                              {".pln", sizeof(TPlanetRec)},
                                              {".mon", sizeof(TMoonRec)},
                                              {".aln", sizeof(TAlienRec)},
                                              {".nam", sizeof(TNameRec)}}};

// Thousands of states, each synced by the recovery: on a memory file
// system a sync costs nothing, so the enumeration measures the rules, not
// the disk.
fs::path scratch(const std::string& name) {
    fs::path root = fs::exists("/dev/shm") ? fs::path("/dev/shm") / ("orrimar-tests-" + std::to_string(::getpid()))
                                           : fs::path(testTmp());
    const fs::path dir = root / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

Files sectorFiles(const std::string& base) {
    Files files;
    for (const char* ext : kMembers) {
        if (fs::exists(base + ext)) files[ext] = fileBytes(base + ext);
    }
    return files;
}

void writeSectorFiles(const std::string& base, const Files& files) {
    for (const char* ext : kMembers) fs::remove(base + ext);
    for (const auto& [ext, bytes] : files) writeFileBytes(base + ext, bytes);
}

std::int64_t recordsIn(const Files& files, const Family& f) {
    const auto it = files.find(f.ext);
    return it == files.end() ? 0 : static_cast<std::int64_t>(it->second.size() / f.width);
}

// The sectors below are picked small, yet with a race each, so that every
// combination of cuts is a few thousand states.
CreateSectorParams runParams(const std::string& base, std::uint64_t seed, std::int16_t x, int size, int density) {
    CreateSectorParams p;
    p.baseName = base;
    p.sectorName = "Cut";
    p.seed = seed;
    p.x = x;
    p.lastIndex = size - 1;
    p.density = static_cast<std::uint8_t>(density);
    p.flat = true;
    p.threads = 1;
    p.settingsPath = (fs::path(base).parent_path() / "none.ini").string();  // absent: the default tables
    return p;
}

struct Cuts {
    std::array<std::int64_t, kFamilies.size()> records{};
    bool zeroed = false;  // the rest of each cut file, up to its size after, holds zeros
    bool torn = false;    // half a record follows each cut
};

// The files of one power-cut state: each family cut as `cuts` says, the
// other members as they were after the command (their own changes are
// whole or absent: the comment file is only read as text).
Files stateOf(const Files& before, const Files& after, const Cuts& cuts) {
    Files state = after;
    for (std::size_t i = 0; i < kFamilies.size(); ++i) {
        const Family& f = kFamilies[i];
        if (!after.contains(f.ext)) continue;
        const std::string& full = after.at(f.ext);
        std::string cut = full.substr(0, static_cast<std::size_t>(cuts.records[i]) * f.width);
        if (cuts.torn && cut.size() < full.size()) cut += full.substr(cut.size(), f.width / 2);
        if (cuts.zeroed) cut.resize(full.size(), '\0');
        state[f.ext] = cut;
    }
    for (const char* ext : {".col", ".con", ".emp"}) {
        if (before.contains(ext)) state[ext] = before.at(ext);
    }
    return state;
}

// Calls visit(cuts) for every combination of record cuts between before and
// after, each plain, torn and zeroed; or `sample` random ones when not 0.
void forEachState(const Files& before, const Files& after, std::size_t sample,
                  const std::function<void(const Cuts&)>& visit) {
    std::array<std::int64_t, kFamilies.size()> low{};
    std::array<std::int64_t, kFamilies.size()> high{};
    for (std::size_t i = 0; i < kFamilies.size(); ++i) {
        low[i] = recordsIn(before, kFamilies[i]);
        high[i] = recordsIn(after, kFamilies[i]);
    }
    const auto variants = [&](Cuts cuts) {
        visit(cuts);
        cuts.torn = true;
        visit(cuts);
        cuts.torn = false;
        cuts.zeroed = true;
        visit(cuts);
    };
    if (sample > 0) {
        std::mt19937_64 random(20261209);
        for (std::size_t n = 0; n < sample; ++n) {
            Cuts cuts;
            for (std::size_t i = 0; i < kFamilies.size(); ++i) {
                cuts.records[i] = std::uniform_int_distribution<std::int64_t>(low[i], high[i])(random);
            }
            variants(cuts);
        }
        return;
    }
    Cuts cuts;
    cuts.records = low;
    for (;;) {
        variants(cuts);
        std::size_t i = 0;
        while (i < kFamilies.size() && cuts.records[i] == high[i]) {
            cuts.records[i] = low[i];
            ++i;
        }
        if (i == kFamilies.size()) return;
        ++cuts.records[i];
    }
}

std::string describe(const Cuts& cuts) {
    return fmt::format("sun {} pln {} mon {} aln {} nam {}{}{}", cuts.records[0], cuts.records[1], cuts.records[2],
                       cuts.records[3], cuts.records[4], cuts.torn ? " torn" : "", cuts.zeroed ? " zeroed" : "");
}

// The families now are prefixes of `after` that keep all of `before`.
void expectBetween(const std::string& base, const Files& before, const Files& after, const std::string& context) {
    const Files now = sectorFiles(base);
    for (const Family& f : kFamilies) {
        const std::string had = before.contains(f.ext) ? before.at(f.ext) : std::string();
        const std::string& is = now.at(f.ext);
        EXPECT_EQ(is.substr(0, had.size()), had) << context << ": " << f.ext << " lost what it held before";
        EXPECT_EQ(after.at(f.ext).substr(0, is.size()), is)
            << context << ": " << f.ext << " holds what was never written";
    }
}

// Every system the run added has its name record.
void expectEveryAddedSystemNamed(const std::string& base, std::int64_t systemsBefore, const std::string& context) {
    RecordReader<TNameRec> names(base + ".nam");
    std::vector<bool> named(static_cast<std::size_t>(recordCountOnDisk(base + ".sun", sizeof(TSystemRec))), false);
    for (std::int64_t i = 1; i < names.count(); ++i) {
        const TNameRec rec = names.read(i);
        if (rec.kind == 1 && rec.value >= 0 && static_cast<std::size_t>(rec.value) < named.size()) {
            named[static_cast<std::size_t>(rec.value)] = true;
        }
    }
    for (std::size_t s = static_cast<std::size_t>(systemsBefore); s < named.size(); ++s) {
        EXPECT_TRUE(named[s]) << context << ": system " << s << " kept without its name";
    }
}

struct Outcome {
    std::int64_t states = 0;
    std::int64_t mended = 0;  // states that needed a cut
};

// Runs both recoveries over every state. `journal` is what the command
// wrote before its first write.
Outcome proveEveryState(const std::string& base, const Files& before, const Files& after, const SectorJournal& journal,
                        std::size_t sample = 0) {
    Outcome outcome;
    forEachState(before, after, sample, [&](const Cuts& cuts) {
        const Files state = stateOf(before, after, cuts);
        const std::string context = describe(cuts);
        ++outcome.states;
        if (state != after) ++outcome.mended;
        ::testing::Test::RecordProperty("states", static_cast<int>(outcome.states));

        // With the journal: the next program that takes the sector.
        writeSectorFiles(base, state);
        writeSectorJournal(base, journal);
        { const SectorLock lock = SectorLock::forChange(base); }
        EXPECT_FALSE(fs::exists(sectorJournalPath(base))) << context;
        if (journal.kind == JournalKind::AllOrNothing) {
            EXPECT_EQ(sectorFiles(base), before) << context << ": not undone whole";
        } else {
            const SectorCheckReport report = CheckSector(base);
            EXPECT_TRUE(report.sound()) << context << ": " << (report.problems.empty() ? "" : report.problems[0]);
            expectBetween(base, before, after, context);
            if (journal.namesEverySystem) {
                expectEveryAddedSystemNamed(base, recordsIn(before, kFamilies[0]), context);
            }
        }

        // Without it: repair.
        writeSectorFiles(base, state);
        try {
            RepairSector(base);
        } catch (const std::exception& e) {
            ADD_FAILURE() << context << ": repair refused: " << e.what();
            return;
        }
        const SectorCheckReport report = CheckSector(base);
        EXPECT_TRUE(report.sound()) << context
                                    << " after repair: " << (report.problems.empty() ? "" : report.problems[0]);
        expectBetween(base, before, after, context + " after repair");
    });
    return outcome;
}

SectorJournal journalOf(const Files& before, JournalKind kind, bool names) {
    SectorJournal journal;
    journal.kind = kind;
    journal.namesEverySystem = names;
    for (std::size_t m = 0; m < kMembers.size(); ++m) {
        const auto it = before.find(kMembers[m]);
        journal.sizes[m] = it == before.end() ? -1 : static_cast<std::int64_t>(it->second.size());
    }
    return journal;
}

struct CrashStates : ::testing::Test {
    fs::path dir;
    std::string base;
    void SetUp() override {
        dir = scratch(::testing::UnitTest::GetInstance()->current_test_info()->name());
        base = (dir / "sec").string();
    }
    void TearDown() override { fs::remove_all(dir); }
};

TEST_F(CrashStates, EveryCutOfASmallCreateIsMended) {
    // The run's first moments: a fresh set holding the name header only.
    CreateSector(runParams(base, 21, 30, 3, 20));
    const Files after = sectorFiles(base);
    ASSERT_GE(recordsIn(after, kFamilies[0]), 2) << "the seed should give a few systems";
    ASSERT_GE(recordsIn(after, kFamilies[3]), 1) << "and a race";
    Files before = after;
    for (const Family& f : kFamilies) before[f.ext] = "";
    before[".nam"] = after.at(".nam").substr(0, sizeof(TNameRec));
    before[".cmt"] = "";
    const Outcome outcome = proveEveryState(base, before, after, journalOf(before, JournalKind::WholeSystems, true));
    EXPECT_GT(outcome.states, 100);
}

TEST_F(CrashStates, EveryCutOfASmallAppendKeepsTheSectorBefore) {
    CreateSector(runParams(base, 21, 30, 3, 20));
    const Files before = sectorFiles(base);
    CreateSectorParams append = runParams(base, 18, 20, 3, 20);
    append.newFile = false;
    CreateSector(append);
    const Files after = sectorFiles(base);
    ASSERT_GT(recordsIn(after, kFamilies[0]), recordsIn(before, kFamilies[0]));
    const Outcome outcome = proveEveryState(base, before, after, journalOf(before, JournalKind::WholeSystems, true));
    EXPECT_GT(outcome.states, 100);
}

TEST_F(CrashStates, EveryCutOfASmallMergeIsUndoneWhole) {
    const std::string added = (dir / "added").string();
    CreateSector(runParams(base, 21, 30, 3, 20));
    CreateSector(runParams(added, 18, 20, 3, 20));
    const Files before = sectorFiles(base);
    MergeSectors(base, added);
    const Files after = sectorFiles(base);
    ASSERT_GT(recordsIn(after, kFamilies[0]), recordsIn(before, kFamilies[0]));
    const Outcome outcome = proveEveryState(base, before, after, journalOf(before, JournalKind::AllOrNothing, false));
    EXPECT_GT(outcome.states, 20);
}

TEST_F(CrashStates, EveryCutOfARenameIsUndoneWhole) {
    CreateSector(runParams(base, 21, 30, 3, 20));
    const Files before = sectorFiles(base);
    renameInSector(base, NameKind::System, 0, "Greyhaven");
    const Files after = sectorFiles(base);
    ASSERT_EQ(after.at(".nam").size(), before.at(".nam").size() + sizeof(TNameRec));
    const Outcome outcome = proveEveryState(base, before, after, journalOf(before, JournalKind::AllOrNothing, false));
    EXPECT_EQ(outcome.states, 6);  // the record absent or present, each plain, torn and zeroed
}

TEST_F(CrashStates, ASampleOfCutsOfALargerAppendIsMended) {
    CreateSector(runParams(base, 41, 0, 12, 20));
    const Files before = sectorFiles(base);
    CreateSectorParams append = runParams(base, 42, 12, 12, 20);
    append.newFile = false;
    CreateSector(append);
    const Files after = sectorFiles(base);
    ASSERT_GT(recordsIn(after, kFamilies[0]) - recordsIn(before, kFamilies[0]), 15);
    const Outcome outcome =
        proveEveryState(base, before, after, journalOf(before, JournalKind::WholeSystems, true), 300);
    EXPECT_EQ(outcome.states, 900);
}

}  // namespace
}  // namespace orrimar

#include "records/sector_lock.h"

#include <filesystem>
#include <system_error>

#include "common/message_sink.h"
#include "records/sector_journal.h"

namespace orrimar {

namespace {

bool journalPresent(const std::string& baseName) {
    std::error_code ec;
    return std::filesystem::exists(sectorJournalPath(baseName), ec);
}

// Tells the user once, in one message, that an interrupted command was
// finished before this one began.
void report(const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    std::string text = "An interrupted change was finished first:";
    for (const std::string& line : lines) text += "\n  " + line;
    messageSink().message("Sector recovered", text);
}

}  // namespace

std::string sectorLockPath(const std::string& baseName) { return baseName + ".lck"; }

SectorLock SectorLock::forChange(const std::string& baseName) {
    SectorLock taken;
    taken.lock_ = FileLock(sectorLockPath(baseName), LockMode::Exclusive, baseName);
    taken.recovered_ = recoverSector(baseName);
    report(taken.recovered_);
    return taken;
}

bool SectorLock::isBeingChanged(const std::string& baseName) {
    try {
        const FileLock look(sectorLockPath(baseName), LockMode::Shared, baseName, std::chrono::milliseconds(0));
        return false;
    } catch (const LockBusyError&) {
        return true;
    }
}

SectorLock SectorLock::forReading(const std::string& baseName) {
    SectorLock taken;
    // A journal under a shared lock is a writer's that died: its writer
    // would hold the lock exclusively while it lived.
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        if (journalPresent(baseName)) {
            SectorLock change = forChange(baseName);
            taken.recovered_ = change.recovered_;
        }
        taken.lock_ = FileLock(sectorLockPath(baseName), LockMode::Shared, baseName);
        // A writer that died between our look and our lock: finish its work
        // too, unless this keeps happening (then read what is there).
        if (!journalPresent(baseName) || attempt == kAttempts) return taken;
        taken.lock_.release();
    }
}

}  // namespace orrimar

// Taking a sector: every command that changes one holds its exclusive lock
// from before its first read of the counts until its last write is synced;
// every command that reads one holds it shared while it reads, so it never
// sees a system half-appended. Taking the lock first finishes whatever an
// interrupted command left (its journal), so a sector is read or changed
// only whole.
#pragma once

#include <string>
#include <vector>

#include "common/file_lock.h"

namespace orrimar {

// "data/alpha.lck" for the sector data/alpha: four letters after the dot,
// like the members, so any name a sector may have fits its lock too.
std::string sectorLockPath(const std::string& baseName);

class SectorLock {
public:
    SectorLock() = default;
    // Exclusive. LockBusyError "data/alpha is being changed by another
    // program (process 4711); try again when it has finished" after a few
    // seconds' wait. `baseName` without a member's extension.
    static SectorLock forChange(const std::string& baseName);
    // Shared: other readers go on, writers wait until it is released.
    static SectorLock forReading(const std::string& baseName);

    // True when a writer holds the sector now (a brief look, no real wait): a
    // window that reads the sector by itself tries again later instead of
    // freezing for the lock's wait.
    static bool isBeingChanged(const std::string& baseName);

    bool held() const { return lock_.held(); }
    // What finishing an interrupted command did, one line each (also sent
    // to the message sink); empty when there was nothing to finish.
    const std::vector<std::string>& recovered() const { return recovered_; }
    void release() noexcept { lock_.release(); }

private:
    FileLock lock_;
    std::vector<std::string> recovered_;
};

}  // namespace orrimar

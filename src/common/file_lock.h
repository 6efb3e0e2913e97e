// One writer at a time: an advisory lock held through a small lock file
// beside what it guards ("data/alpha.lck" for the sector data/alpha, or
// "out/atlas.part.lock" for an output folder). The kernel releases it when the
// process ends in any way, so a killed program never leaves a sector locked.
//
// Writers take it exclusively, readers shared: a reader never sees a writer's
// half-appended system, and a writer waits until readers have finished. A
// lock that stays taken is waited for a few seconds, then refused with the
// holder's process id, so a second program says what is happening instead
// of losing its data or the other program's.
//
// The lock file exists only while someone holds it: the last holder removes
// it, and a taker that finds its file removed under it takes the new one.
#pragma once

#include <chrono>
#include <string>

#include "common/errors.h"

namespace orrimar {

enum class LockMode { Shared, Exclusive };

// The lock is held by another program and was not released in time. A
// runtime error: trying again later is the cure.
class LockBusyError : public IoError {
public:
    using IoError::IoError;
};

// How long a taker waits for a lock held by another program. Five seconds,
// or ORRIMAR_LOCK_WAIT_MS from the environment (tests shorten it).
std::chrono::milliseconds lockWait();
// Overrides the wait for this process (tests); a negative value restores it.
void setLockWait(std::chrono::milliseconds wait);

class FileLock {
public:
    // Not holding anything.
    FileLock() = default;
    // Takes the lock of `lockPath`, waiting up to lockWait(). `what` names
    // the guarded thing in the refusal: "data/alpha is being changed by
    // another program (process 4711); try again when it has finished".
    // A shared taker in a folder it may not write proceeds without a lock
    // (no writer can work there either).
    FileLock(std::string lockPath, LockMode mode, std::string what);
    // The same, waiting `wait` instead (zero: only the moment a leaving
    // holder needs to remove the file).
    FileLock(std::string lockPath, LockMode mode, std::string what, std::chrono::milliseconds wait);
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return fd_ >= 0; }
    LockMode mode() const { return mode_; }
    const std::string& path() const { return path_; }
    // Lets go early (the destructor does the same).
    void release() noexcept;

private:
    std::string path_;
    LockMode mode_ = LockMode::Shared;
    int fd_ = -1;
};

}  // namespace orrimar

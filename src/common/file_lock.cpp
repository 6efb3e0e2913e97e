#include "common/file_lock.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fmt/format.h>

namespace orrimar {

namespace {

constexpr std::chrono::milliseconds kDefaultWait{5000};
// How often a waiting taker looks again: short beside the wait, long
// beside the cost of one try (a few system calls).
constexpr std::chrono::milliseconds kPollInterval{20};
// A holder letting go takes the lock alone for a moment to remove the
// file: even a taker asked not to wait looks again for this long, so a
// reader is never refused because another reader was just leaving.
constexpr std::chrono::milliseconds kReleaseGrace{100};

std::atomic<long long> overrideWaitMs{-1};

bool sameFile(int fd, const std::string& path) {
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) != 0 || ::stat(path.c_str(), &named) != 0) return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// The process id an exclusive holder wrote into the file, or 0.
long holderOf(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    char text[32] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    ::close(fd);
    if (got <= 0) return 0;
    return std::strtol(text, nullptr, 10);
}

LockBusyError busy(const std::string& path, const std::string& what) {
    const long pid = holderOf(path);
    if (pid > 0) {
        return LockBusyError(fmt::format(
            "{} is being changed by another program (process {}); try again when it has finished", what, pid));
    }
    return LockBusyError(
        fmt::format("{} is being read or changed by another program; try again when it has finished", what));
}

}  // namespace

std::chrono::milliseconds lockWait() {
    const long long set = overrideWaitMs.load();
    if (set >= 0) return std::chrono::milliseconds(set);
    if (const char* text = std::getenv("ORRIMAR_LOCK_WAIT_MS"); text != nullptr && *text != '\0') {
        char* end = nullptr;
        const long long ms = std::strtoll(text, &end, 10);
        if (end != text && *end == '\0' && ms >= 0) return std::chrono::milliseconds(ms);
    }
    return kDefaultWait;
}

void setLockWait(std::chrono::milliseconds wait) { overrideWaitMs = wait.count() < 0 ? -1 : wait.count(); }

FileLock::FileLock(std::string lockPath, LockMode mode, std::string what)
    : FileLock(std::move(lockPath), mode, std::move(what), lockWait()) {}

FileLock::FileLock(std::string lockPath, LockMode mode, std::string what, std::chrono::milliseconds wait)
    : path_(std::move(lockPath)), mode_(mode) {
    const auto deadline = std::chrono::steady_clock::now() + std::max(wait, kReleaseGrace);
    const int operation = (mode == LockMode::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    for (;;) {
        int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            const int err = errno;
            if (mode == LockMode::Shared && (err == EACCES || err == EROFS || err == EPERM || err == ENOENT)) {
                // A folder this program may not write: a shared lock on an
                // existing file still keeps writers out; without one, no
                // writer can work here either. A missing folder holds
                // nothing to read, which the reader goes on to say.
                fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
                if (fd < 0) return;
            } else {
                throw ioErrorFromErrno(err, path_);
            }
        }
        if (::flock(fd, operation) == 0) {
            // The last holder removes the file as it lets go: a lock on a
            // removed file guards nothing, so take the new one.
            if (sameFile(fd, path_)) {
                fd_ = fd;
                if (mode == LockMode::Exclusive) {
                    const std::string pid = fmt::format("{}\n", static_cast<long>(::getpid()));
                    if (::ftruncate(fd, 0) == 0) {
                        // Only the refusal message reads it; a failure here costs nothing else.
                        [[maybe_unused]] const ssize_t put = ::pwrite(fd, pid.data(), pid.size(), 0);
                    }
                }
                return;
            }
            ::close(fd);
            continue;
        }
        const int err = errno;
        ::close(fd);
        if (err != EWOULDBLOCK && err != EINTR) throw ioErrorFromErrno(err, path_);
        if (std::chrono::steady_clock::now() >= deadline) throw busy(path_, what);
        std::this_thread::sleep_for(kPollInterval);
    }
}

FileLock::~FileLock() { release(); }

FileLock::FileLock(FileLock&& other) noexcept : path_(std::move(other.path_)), mode_(other.mode_), fd_(other.fd_) {
    other.fd_ = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        mode_ = other.mode_;
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void FileLock::release() noexcept {
    if (fd_ < 0) return;
    // Removed only by a holder that is alone with it (an exclusive lock
    // taken without waiting): a shared holder beside others leaves it.
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0 && sameFile(fd_, path_)) ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace orrimar

// The advisory lock between programs: a second writer waits, then is
// refused with the holder's process; readers share; the kernel frees the
// lock of a killed holder; the lock file exists only while it is held.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "common/file_lock.h"
#include "support/test_dir.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct WaitGuard {
    explicit WaitGuard(std::chrono::milliseconds wait) { setLockWait(wait); }
    ~WaitGuard() { setLockWait(-1ms); }
};

// A child process that takes the lock, tells the parent through a pipe,
// then holds it until killed (or ends without letting go when `exitAfter`).
struct Holder {
    pid_t pid = -1;

    Holder(const std::string& path, LockMode mode, bool exitWithoutRelease = false) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid = ::fork();
        if (pid == 0) {
            ::close(ready[0]);
            FileLock lock(path, mode, "the guarded sector");
            const char c = 'x';
            [[maybe_unused]] const ssize_t put = ::write(ready[1], &c, 1);
            if (exitWithoutRelease) ::_exit(0);  // no destructor runs: as a crash would leave it
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char c = 0;
        EXPECT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
    }
    ~Holder() { stop(); }
    void stop() {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        pid = -1;
    }
};

TEST(FileLock, ASecondWriterWaitsThenIsRefusedNamingTheHolder) {
    const auto dir = testing::freshTestDir("lock");
    const std::string path = (dir / "alpha.lock").string();
    const WaitGuard wait(300ms);
    Holder holder(path, LockMode::Exclusive);

    const auto start = std::chrono::steady_clock::now();
    try {
        FileLock second(path, LockMode::Exclusive, "data/alpha");
        FAIL() << "a second writer got the lock";
    } catch (const LockBusyError& e) {
        EXPECT_EQ(std::string(e.what()), "data/alpha is being changed by another program (process " +
                                             std::to_string(holder.pid) + "); try again when it has finished");
    }
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 300ms);
    // A reader is kept out as well, with the same words.
    EXPECT_THROW(FileLock(path, LockMode::Shared, "data/alpha"), LockBusyError);

    holder.stop();  // killed: the kernel lets go
    FileLock taken(path, LockMode::Exclusive, "data/alpha");
    EXPECT_TRUE(taken.held());
}

TEST(FileLock, ReadersShareAndKeepWritersOutUntilTheLastHasGone) {
    const auto dir = testing::freshTestDir("lock");
    const std::string path = (dir / "alpha.lock").string();
    const WaitGuard wait(100ms);
    Holder reader(path, LockMode::Shared);
    {
        FileLock second(path, LockMode::Shared, "data/alpha");  // readers share
        EXPECT_TRUE(second.held());
        try {
            FileLock writer(path, LockMode::Exclusive, "data/alpha");
            FAIL() << "a writer got in beside readers";
        } catch (const LockBusyError& e) {
            EXPECT_NE(std::string(e.what()).find("is being read or changed by another program"), std::string::npos)
                << e.what();
        }
    }
    // This process's reader has gone but the other still reads: the file stays.
    EXPECT_TRUE(fs::exists(path));
    reader.stop();
    FileLock writer(path, LockMode::Exclusive, "data/alpha");
    EXPECT_TRUE(writer.held());
}

TEST(FileLock, TheLockFileIsGoneOnceReleasedAndACrashedHoldersFileIsTakenOver) {
    const auto dir = testing::freshTestDir("lock");
    const std::string path = (dir / "alpha.lock").string();
    {
        FileLock lock(path, LockMode::Exclusive, "data/alpha");
        EXPECT_TRUE(fs::exists(path));
    }
    EXPECT_FALSE(fs::exists(path));

    Holder crashed(path, LockMode::Exclusive, /*exitWithoutRelease=*/true);
    int status = 0;
    ::waitpid(crashed.pid, &status, 0);
    crashed.pid = -1;
    EXPECT_TRUE(fs::exists(path));  // left behind, but no longer held
    {
        const WaitGuard wait(0ms);
        FileLock lock(path, LockMode::Exclusive, "data/alpha");
        EXPECT_TRUE(lock.held());
    }
    EXPECT_FALSE(fs::exists(path));
}

TEST(FileLock, ThreadsTakingTurnsNeverHoldItTogether) {
    const auto dir = testing::freshTestDir("lock");
    const std::string path = (dir / "alpha.lock").string();
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> turns{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                // Each taker opens its own descriptor, so flock(2) keeps
                // threads of one process apart as it keeps processes apart.
                FileLock lock(path, LockMode::Exclusive, "data/alpha");
                if (inside.fetch_add(1) != 0) ++overlaps;
                std::this_thread::yield();
                inside.fetch_sub(1);
                ++turns;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(turns.load(), 200);
    EXPECT_FALSE(fs::exists(path));
}

TEST(FileLock, AReaderInAFolderItCannotWriteGoesOnWithoutALock) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes every folder";
    const auto dir = testing::freshTestDir("readonly");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    FileLock reader((dir / "alpha.lock").string(), LockMode::Shared, "alpha");
    EXPECT_FALSE(reader.held());
    EXPECT_THROW(FileLock((dir / "alpha.lock").string(), LockMode::Exclusive, "alpha"), IoError);
    fs::permissions(dir, fs::perms::owner_all);
}

}  // namespace
}  // namespace orrimar

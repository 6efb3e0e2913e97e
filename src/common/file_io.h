// The file layer's single door to the disk for everything the system writes:
// record files, comment files, logs and reports. Every write and every
// rename passes through here, so that tests can make the Nth of them fail
// (a full disk, a failing disk) or stop the process outright, and check
// that whatever is left behind is sound or repairable.
//
// The fault plan is process-wide. Tests set it with setFaultPlan(); a child
// process picks it up from the environment variable ORRIMAR_FAULT_PLAN,
// "KIND:N" or "KIND:N+" (from the Nth operation on), KIND one of "enospc",
// "eio", "exit". Operations are counted from 1 since the last reset.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include <sys/types.h>

namespace orrimar {

enum class FaultKind {
    None,
    NoSpace,  // the write stores part of its bytes, then fails with ENOSPC
    IoError,  // the operation fails with EIO, nothing stored
    Exit,     // the write stores part of its bytes, then the process ends at once
};

struct FaultPlan {
    FaultKind kind = FaultKind::None;
    std::int64_t at = 0;  // the operation that fails, counted from 1
    bool onward = false;  // every later operation fails as well (a disk that stays full)
};

// The exit status of a process stopped by a fault plan.
inline constexpr int kFaultExitStatus = 86;

// The environment variable a process reads its fault plan from.
inline constexpr const char* kFaultPlanVariable = "ORRIMAR_FAULT_PLAN";

// Sets the plan and restarts the count of operations.
void setFaultPlan(const FaultPlan& plan);
// No faults; restarts the count.
void clearFaultPlan();
// Writes and renames since the plan was last set or cleared.
std::int64_t fileOperationCount();
// Reads "KIND:N[+]"; throws InputError naming the variable when malformed.
FaultPlan parseFaultPlan(const std::string& text);

// Writes all of `size` bytes at `offset` (pwrite semantics, retried on short
// writes). Returns the bytes written; on failure sets errno and returns
// fewer than `size`.
std::size_t writeAllAt(int fd, const void* data, std::size_t size, off_t offset);
// Appends all of `size` bytes at the file's current position.
std::size_t writeAll(int fd, const void* data, std::size_t size);
// rename(2) through the seam: 0, or -1 with errno set.
int renameFile(const std::string& from, const std::string& to);

// Durability: a command says it is done only once what it wrote would
// survive a power cut. fsync(2) of the file at `path` (any descriptor of a
// file flushes all of it); IoError naming the path when the disk refuses.
void syncFile(const std::string& path);
// The same for the folder holding `path`, which makes a file's creation,
// removal or renaming durable ("." when the path has no folder part).
void syncFolderOf(const std::string& path);

// An output file written beside its destination ("<path>.part") and renamed
// into place by commit(). Dropped without a commit (an error on the way),
// it removes the part file and leaves whatever had that name before
// untouched: an old log survives a failed rewrite.
class AtomicOutputFile {
public:
    explicit AtomicOutputFile(std::string path);
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    const std::string& path() const { return path_; }
    std::ostream& stream() { return stream_; }
    void write(const std::string& text) { stream_.write(text.data(), static_cast<std::streamsize>(text.size())); }
    // Writes what is buffered, syncs, closes and renames, then syncs the
    // folder; IoError naming the destination when any of it failed (the
    // part file is then removed).
    void commit();

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(int fd);
        int error() const { return error_; }

    protected:
        int_type overflow(int_type ch) override;
        int sync() override;
        std::streamsize xsputn(const char* s, std::streamsize n) override;

    private:
        bool drain();
        int fd_;
        int error_ = 0;
        std::vector<char> buffer_;
    };

    void discard() noexcept;

    std::string path_;
    std::string partPath_;
    int fd_ = -1;
    std::unique_ptr<Buffer> buffer_;
    std::ostream stream_;
    bool done_ = false;
};

}  // namespace orrimar

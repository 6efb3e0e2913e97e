#include "common/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

#include <fmt/format.h>

#include "common/errors.h"

namespace orrimar {

namespace {

// Output is gathered up to this size before it goes to the file.
constexpr std::size_t kOutputBufferBytes = 64 * 1024;

struct FaultState {
    std::atomic<int> kind{static_cast<int>(FaultKind::None)};
    std::atomic<std::int64_t> at{0};
    std::atomic<bool> onward{false};
    std::atomic<std::int64_t> count{0};
};

FaultState& faultState() {
    static FaultState state;
    return state;
}

void storePlan(const FaultPlan& plan) {
    FaultState& s = faultState();
    s.kind = static_cast<int>(plan.kind);
    s.at = plan.at;
    s.onward = plan.onward;
    s.count = 0;
}

// A process started with a plan in its environment follows it from its
// first write; a malformed plan is ignored rather than stopping a user's run.
void loadPlanFromEnvironment() {
    static std::once_flag once;
    std::call_once(once, [] {
        const char* text = std::getenv(kFaultPlanVariable);
        if (text == nullptr || *text == '\0') return;
        try {
            storePlan(parseFaultPlan(text));
        } catch (const InputError&) {
        }
    });
}

// Counts one operation and says how it is to fail, if at all.
FaultKind nextFault() {
    loadPlanFromEnvironment();
    FaultState& s = faultState();
    const std::int64_t n = ++s.count;
    const auto kind = static_cast<FaultKind>(s.kind.load());
    if (kind == FaultKind::None) return kind;
    const std::int64_t at = s.at.load();
    if (n == at || (s.onward.load() && n > at)) return kind;
    return FaultKind::None;
}

// Stops the process as a kill would: no destructors, no buffers flushed.
[[noreturn]] void stopProcess() { ::_exit(kFaultExitStatus); }

}  // namespace

void setFaultPlan(const FaultPlan& plan) {
    loadPlanFromEnvironment();
    storePlan(plan);
}

void clearFaultPlan() { setFaultPlan(FaultPlan{}); }

std::int64_t fileOperationCount() {
    loadPlanFromEnvironment();
    return faultState().count.load();
}

FaultPlan parseFaultPlan(const std::string& text) {
    const auto colon = text.find(':');
    const auto bad = [&] {
        return InputError(
            fmt::format("{}: \"{}\" is not KIND:N or KIND:N+ (KIND enospc, eio or exit)", kFaultPlanVariable, text));
    };
    if (colon == std::string::npos) throw bad();
    FaultPlan plan;
    const std::string kind = text.substr(0, colon);
    if (kind == "enospc") {
        plan.kind = FaultKind::NoSpace;
    } else if (kind == "eio") {
        plan.kind = FaultKind::IoError;
    } else if (kind == "exit") {
        plan.kind = FaultKind::Exit;
    } else {
        throw bad();
    }
    std::string number = text.substr(colon + 1);
    if (!number.empty() && number.back() == '+') {
        plan.onward = true;
        number.pop_back();
    }
    if (number.empty() || number.size() > 15 || number.find_first_not_of("0123456789") != std::string::npos) {
        throw bad();
    }
    plan.at = std::stoll(number);
    if (plan.at < 1) throw bad();
    return plan;
}

namespace {

// One write through the seam; `position` < 0 appends at the current offset.
std::size_t writeThroughSeam(int fd, const void* data, std::size_t size, off_t position) {
    const FaultKind fault = nextFault();
    if (fault == FaultKind::IoError) {
        errno = EIO;
        return 0;
    }
    // A disk that fills, or a process killed, part-way through a write
    // leaves the first part of it in the file: half, so that a record is
    // torn whenever the write holds one.
    const std::size_t limit = (fault == FaultKind::NoSpace || fault == FaultKind::Exit) ? size / 2 : size;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < limit) {
        const ssize_t put = position < 0
                                ? ::write(fd, bytes + done, limit - done)
                                : ::pwrite(fd, bytes + done, limit - done, position + static_cast<off_t>(done));
        if (put < 0) {
            if (errno == EINTR) continue;
            return done;
        }
        if (put == 0) {
            errno = ENOSPC;
            return done;
        }
        done += static_cast<std::size_t>(put);
    }
    if (fault == FaultKind::Exit) stopProcess();
    if (fault == FaultKind::NoSpace) {
        errno = ENOSPC;
        return done;
    }
    return done;
}

}  // namespace

std::size_t writeAllAt(int fd, const void* data, std::size_t size, off_t offset) {
    return writeThroughSeam(fd, data, size, offset);
}

std::size_t writeAll(int fd, const void* data, std::size_t size) { return writeThroughSeam(fd, data, size, -1); }

int renameFile(const std::string& from, const std::string& to) {
    switch (nextFault()) {
        case FaultKind::None: break;
        case FaultKind::NoSpace: errno = ENOSPC; return -1;
        case FaultKind::IoError: errno = EIO; return -1;
        case FaultKind::Exit: stopProcess();
    }
    return std::rename(from.c_str(), to.c_str());
}

namespace {

void syncOpened(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) throw ioErrorFromErrno(errno, path);
    if (::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        // Some file systems (and /dev nodes) cannot sync; nothing is lost
        // by going on there.
        if (err == EINVAL || err == EROFS) return;
        throw ioErrorFromErrno(err, path);
    }
    ::close(fd);
}

std::string folderPart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

void syncFile(const std::string& path) { syncOpened(path, O_RDONLY); }

void syncFolderOf(const std::string& path) { syncOpened(folderPart(path), O_RDONLY | O_DIRECTORY); }

// ---------------------------------------------------------------- AtomicOutputFile

AtomicOutputFile::Buffer::Buffer(int fd) : fd_(fd) {
    buffer_.resize(kOutputBufferBytes);
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool AtomicOutputFile::Buffer::drain() {
    if (error_ != 0) return false;
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    if (size == 0) return true;
    const std::size_t done = writeAll(fd_, pbase(), size);
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (done != size) {
        error_ = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

AtomicOutputFile::Buffer::int_type AtomicOutputFile::Buffer::overflow(int_type ch) {
    if (!drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(ch);
        pbump(1);
    }
    return traits_type::not_eof(ch);
}

int AtomicOutputFile::Buffer::sync() { return drain() ? 0 : -1; }

std::streamsize AtomicOutputFile::Buffer::xsputn(const char* s, std::streamsize n) {
    std::streamsize done = 0;
    while (done < n) {
        if (pptr() == epptr() && !drain()) return done;
        const auto room = static_cast<std::streamsize>(epptr() - pptr());
        const std::streamsize take = std::min(room, n - done);
        std::memcpy(pptr(), s + done, static_cast<std::size_t>(take));
        pbump(static_cast<int>(take));
        done += take;
    }
    return done;
}

AtomicOutputFile::AtomicOutputFile(std::string path)
    : path_(std::move(path)), partPath_(path_ + ".part"), stream_(nullptr) {
    fd_ = ::open(partPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) throw ioErrorFromErrno(errno, path_);
    buffer_ = std::make_unique<Buffer>(fd_);
    stream_.rdbuf(buffer_.get());
}

AtomicOutputFile::~AtomicOutputFile() {
    if (!done_) discard();
}

void AtomicOutputFile::discard() noexcept {
    stream_.rdbuf(nullptr);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    ::unlink(partPath_.c_str());
    done_ = true;
}

void AtomicOutputFile::commit() {
    if (done_) throw IoError(fmt::format("I/O error writing {}", path_));
    const bool written = static_cast<bool>(stream_.flush()) && buffer_->error() == 0;
    int err = buffer_->error();
    if (!written) {
        discard();
        throw ioErrorFromErrno(err != 0 ? err : EIO, path_);
    }
    stream_.rdbuf(nullptr);
    const int fd = fd_;
    fd_ = -1;
    // Synced before the rename: renamed first, a power cut could leave the
    // new name on an empty file in place of the earlier output.
    if (::fsync(fd) != 0 && errno != EINVAL) {
        err = errno;
        ::close(fd);
        discard();
        throw ioErrorFromErrno(err, path_);
    }
    if (::close(fd) != 0) {
        err = errno;
        discard();
        throw ioErrorFromErrno(err, path_);
    }
    if (renameFile(partPath_, path_) != 0) {
        err = errno;
        discard();
        throw ioErrorFromErrno(err, path_);
    }
    done_ = true;
    syncFolderOf(path_);
}

}  // namespace orrimar

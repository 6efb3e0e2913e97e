#include "records/record_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/file_io.h"

namespace orrimar {

namespace {

// Appends are gathered up to this size before they go to the file, unless
// the owner holds them back (see setAutoFlush).
constexpr std::size_t kBufferBytes = 64 * 1024;

int openFlags(RawRecordFile::Mode mode) {
    switch (mode) {
        case RawRecordFile::Mode::Create: return O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC;
        case RawRecordFile::Mode::OpenExisting: return O_RDWR | O_CLOEXEC;
        case RawRecordFile::Mode::ReadOnly: return O_RDONLY | O_CLOEXEC;
    }
    return O_RDONLY | O_CLOEXEC;
}

}  // namespace

RawRecordFile::RawRecordFile(std::string path, std::size_t recordSize, Mode mode)
    : path_(std::move(path)), recordSize_(recordSize), readOnly_(mode == Mode::ReadOnly) {
    fd_ = ::open(path_.c_str(), openFlags(mode), 0666);
    if (fd_ < 0) throw ioErrorFromErrno(errno, path_);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int err = errno;
        ::close(fd_);
        fd_ = -1;
        throw ioErrorFromErrno(err, path_);
    }
    if (S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw ioErrorFromErrno(EISDIR, path_);
    }
    const auto size = static_cast<std::int64_t>(info.st_size);
    const auto width = static_cast<std::int64_t>(recordSize_);
    diskBytes_ = size;
    flushedCount_ = size / width;
    count_ = flushedCount_;
    partialBytes_ = size % width;
    pending_.reserve(kBufferBytes);
}

RawRecordFile::~RawRecordFile() {
    // Like closing a stream: what was appended reaches the file if it can.
    try {
        close();
    } catch (...) {
    }
}

void RawRecordFile::readRaw(std::int64_t id, unsigned char* out) {
    if (id < 0 || id >= count_) throw RangeError();
    if (fd_ < 0) throw IoError("I/O error 103 (" + path_ + ")");
    const auto width = static_cast<std::int64_t>(recordSize_);
    if (id >= flushedCount_) {
        // Still in the buffer.
        std::memcpy(out, pending_.data() + (id - flushedCount_) * width, recordSize_);
        return;
    }
    std::size_t done = 0;
    while (done < recordSize_) {
        const ssize_t got =
            ::pread(fd_, out + done, recordSize_ - done, static_cast<off_t>(id * width) + static_cast<off_t>(done));
        if (got < 0) {
            if (errno == EINTR) continue;
            throw ioErrorFromErrno(errno, path_);
        }
        if (got == 0) throw ioErrorFromErrno(EIO, path_);  // the file shrank under us
        done += static_cast<std::size_t>(got);
    }
}

std::int64_t RawRecordFile::appendRaw(const unsigned char* in) {
    if (fd_ < 0) throw IoError("I/O error 103 (" + path_ + ")");
    if (readOnly_) throw IoError("File access denied (" + path_ + ")");
    pending_.insert(pending_.end(), in, in + recordSize_);
    const std::int64_t id = count_++;
    if (autoFlush_ && pending_.size() >= kBufferBytes) flush();
    return id;
}

void RawRecordFile::flush() {
    if (fd_ < 0 || pending_.empty()) return;
    const auto width = static_cast<std::int64_t>(recordSize_);
    // Appends go after the last whole record: a torn tail left by an
    // earlier failure is overwritten.
    const off_t start = static_cast<off_t>(flushedCount_ * width);
    const std::size_t done = writeAllAt(fd_, pending_.data(), pending_.size(), start);
    const int failure = done == pending_.size() ? 0 : (errno != 0 ? errno : EIO);
    diskBytes_ = std::max<std::int64_t>(diskBytes_, static_cast<std::int64_t>(start) + static_cast<std::int64_t>(done));
    // Whole records that reached the file leave the buffer; a torn one stays
    // buffered so that a later flush rewrites it in full.
    const std::size_t wholeBytes = done - done % recordSize_;
    flushedCount_ += static_cast<std::int64_t>(wholeBytes / recordSize_);
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(wholeBytes));
    if (failure != 0) throw ioErrorFromErrno(failure, path_);
    partialBytes_ = 0;
    startWriteback();
}

void RawRecordFile::startWriteback() {
#ifdef __linux__
    // A command is done only once its files are synced. Handing the disk
    // each few megabytes as they are written, rather than all of them at
    // the sync, lets it work while the run goes on: the sync that ends a
    // large create then waits for the last few megabytes only. A hint: its
    // failure changes nothing, the sync still decides.
    constexpr std::int64_t kWritebackBytes = 8 << 20;
    const std::int64_t written = flushedCount_ * static_cast<std::int64_t>(recordSize_);
    if (written - writebackStart_ < kWritebackBytes) return;
    (void)::sync_file_range(fd_, static_cast<off_t>(writebackStart_), static_cast<off_t>(written - writebackStart_),
                            SYNC_FILE_RANGE_WRITE);
    writebackStart_ = written;
#endif
}

void RawRecordFile::truncate(std::int64_t records) {
    if (records < 0 || records > count_) throw RangeError();
    if (fd_ < 0) throw IoError("I/O error 103 (" + path_ + ")");
    const auto width = static_cast<std::int64_t>(recordSize_);
    if (records >= flushedCount_) {
        // Only buffered records go: nothing of them is on disk.
        pending_.resize(static_cast<std::size_t>((records - flushedCount_) * width));
    } else {
        pending_.clear();
        flushedCount_ = records;
    }
    count_ = records;
    // Cut whatever lies on disk past the last kept record (records written
    // earlier, or the torn tail of a failed write).
    const std::int64_t keep = flushedCount_ * width;
    if (diskBytes_ > keep) {
        if (::ftruncate(fd_, static_cast<off_t>(keep)) != 0) throw ioErrorFromErrno(errno, path_);
        diskBytes_ = keep;
    }
    partialBytes_ = 0;
}

void RawRecordFile::close() {
    if (fd_ < 0) return;
    // The descriptor is released whatever happens, as a stream's close does.
    int failure = 0;
    std::string message;
    try {
        flush();
    } catch (const IoError& e) {
        failure = 1;
        message = e.what();
    }
    pending_.clear();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && failure == 0) throw ioErrorFromErrno(errno, path_);
    if (failure != 0) throw IoError(message);
}

std::int64_t recordCountOnDisk(const std::string& path, std::size_t recordSize) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return -1;
    return static_cast<std::int64_t>(size / recordSize);
}

}  // namespace orrimar

#include "records/record_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace orrimar {

namespace {
constexpr std::size_t kBufferBytes = 64 * 1024;
}

RawRecordFile::RawRecordFile(std::string path, std::size_t recordSize, Mode mode)
    : path_(std::move(path)), recordSize_(recordSize), readOnly_(mode == Mode::ReadOnly) {
    const char* how = mode == Mode::Create ? "w+b" : (mode == Mode::ReadOnly ? "rb" : "r+b");
    file_ = std::fopen(path_.c_str(), how);
    if (file_ == nullptr) throwIo(errno);
    buffer_ = std::make_unique<char[]>(kBufferBytes);
    std::setvbuf(file_, buffer_.get(), _IOFBF, kBufferBytes);
    if (std::fseek(file_, 0, SEEK_END) != 0) throwIo(errno);
    const long size = std::ftell(file_);
    if (size < 0) throwIo(errno);
    count_ = size / static_cast<long>(recordSize_);
    partialBytes_ = size % static_cast<long>(recordSize_);
}

RawRecordFile::~RawRecordFile() {
    if (file_ != nullptr) std::fclose(file_);
}

void RawRecordFile::throwIo(int err) const {
    if (file_ != nullptr) {
        std::fclose(file_);
        const_cast<RawRecordFile*>(this)->file_ = nullptr;
    }
    throw ioErrorFromErrno(err, path_);
}

void RawRecordFile::readRaw(std::int64_t id, unsigned char* out) {
    if (id < 0 || id >= count_) throw RangeError();
    if (lastWasWrite_) flush();
    if (std::fseek(file_, static_cast<long>(id * static_cast<std::int64_t>(recordSize_)), SEEK_SET) != 0) throwIo(errno);
    if (std::fread(out, 1, recordSize_, file_) != recordSize_) throwIo(std::ferror(file_) ? errno : EIO);
}

std::int64_t RawRecordFile::appendRaw(const unsigned char* in) {
    if (file_ == nullptr) throw IoError("I/O error 103 (" + path_ + ")");
    if (readOnly_) throw IoError("File access denied (" + path_ + ")");
    if (!lastWasWrite_) {
        // Appends always go after the last whole record.
        const long end = static_cast<long>(count_ * static_cast<std::int64_t>(recordSize_));
        if (std::fseek(file_, end, SEEK_SET) != 0) throwIo(errno);
        lastWasWrite_ = true;
    }
    if (std::fwrite(in, 1, recordSize_, file_) != recordSize_) throwIo(errno != 0 ? errno : EIO);
    partialBytes_ = 0;
    return count_++;
}

void RawRecordFile::flush() {
    if (file_ == nullptr) return;
    if (std::fflush(file_) != 0) throwIo(errno);
    lastWasWrite_ = false;
}

void RawRecordFile::truncate(std::int64_t records) {
    if (file_ == nullptr) return;
    // Drop what is still in the buffer, then cut the file itself.
    std::fflush(file_);
    lastWasWrite_ = false;
    const auto bytes = static_cast<off_t>(records * static_cast<std::int64_t>(recordSize_));
    if (::ftruncate(fileno(file_), bytes) != 0) throwIo(errno);
    count_ = records;
    partialBytes_ = 0;
}

void RawRecordFile::close() {
    if (file_ == nullptr) return;
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) throw ioErrorFromErrno(errno, path_);
}

std::int64_t recordCountOnDisk(const std::string& path, std::size_t recordSize) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return -1;
    return static_cast<std::int64_t>(size / recordSize);
}

}  // namespace orrimar

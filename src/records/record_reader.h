// A record file opened for reading only, read a block of records at a time:
// the tools and logs walk a sector's files almost in file order (every
// family is written in the order of its owners), so one read serves many
// records, while look-ups by id still work anywhere in the file.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

#include "common/errors.h"
#include "records/record_codec.h"

namespace orrimar {

enum class IfMissing {
    Fail,   // a missing file is the system's IoError ("File not found")
    Empty,  // a missing file reads as an empty one; present() tells
};

template <typename T>
class RecordReader {
public:
    explicit RecordReader(std::string path, IfMissing ifMissing = IfMissing::Fail) : path_(std::move(path)) {
        file_ = std::fopen(path_.c_str(), "rb");
        if (file_ == nullptr) {
            if (ifMissing == IfMissing::Empty && errno == ENOENT) return;
            throw ioErrorFromErrno(errno, path_);
        }
        if (std::fseek(file_, 0, SEEK_END) != 0) fail(errno);
        const long size = std::ftell(file_);
        if (size < 0) fail(errno);
        count_ = size / static_cast<long>(sizeof(T));
        partialBytes_ = size % static_cast<long>(sizeof(T));
    }
    ~RecordReader() {
        if (file_ != nullptr) std::fclose(file_);
    }
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    const std::string& path() const { return path_; }
    bool present() const { return file_ != nullptr; }
    // Whole records in the file; a cut-off tail is no record.
    std::int64_t count() const { return count_; }
    std::int64_t partialBytes() const { return partialBytes_; }
    bool hasPartialRecord() const { return partialBytes_ != 0; }

    // Record `id`, 0 <= id < count(); anything else is a RangeError.
    T read(std::int64_t id) {
        if (id < 0 || id >= count_) throw RangeError();
        if (id < first_ || id >= first_ + static_cast<std::int64_t>(block_.size())) load(id);
        return block_[static_cast<std::size_t>(id - first_)];
    }

    // visit(id, record) for every whole record, in file order.
    template <typename Visit>
    void forEach(Visit visit) {
        for (std::int64_t id = 0; id < count_; ++id) visit(id, read(id));
    }

private:
    static constexpr std::int64_t kBlockRecords = 4096;

    [[noreturn]] void fail(int err) {
        std::fclose(file_);
        file_ = nullptr;
        throw ioErrorFromErrno(err, path_);
    }

    void load(std::int64_t id) {
        const auto n = static_cast<std::size_t>(std::min(kBlockRecords, count_ - id));
        block_.clear();
        bytes_.resize(n * sizeof(T));
        errno = 0;
        if (std::fseek(file_, static_cast<long>(id * static_cast<std::int64_t>(sizeof(T))), SEEK_SET) != 0 ||
            std::fread(bytes_.data(), sizeof(T), n, file_) != n) {
            // The file shrank under us, or the disk failed.
            throw ioErrorFromErrno(errno != 0 ? errno : EIO, path_);
        }
        block_.resize(n);
        for (std::size_t i = 0; i < n; ++i) block_[i] = decodeRecord<T>(bytes_.data() + i * sizeof(T));
        first_ = id;
    }

    std::string path_;
    std::FILE* file_ = nullptr;
    std::int64_t count_ = 0;
    std::int64_t partialBytes_ = 0;
    std::vector<unsigned char> bytes_;
    std::vector<T> block_;
    std::int64_t first_ = 0;
};

}  // namespace orrimar

// A typed file of fixed-size records. The id of a record is its position;
// append() returns the count before the write, which is the new record's id.
// Writes are buffered; flush() pushes them to the file, and truncate() cuts
// the file back to a given record count (used to roll back a failed system
// or merge so that the sector on disk always holds whole units).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "records/errors.h"
#include "records/record_codec.h"

namespace orrimar {

class RawRecordFile {
public:
    enum class Mode {
        Create,        // create or truncate, then read and write
        OpenExisting,  // must exist; read and write (appends go to the end)
        ReadOnly,      // must exist; read only
    };

    RawRecordFile(std::string path, std::size_t recordSize, Mode mode);
    ~RawRecordFile();
    RawRecordFile(const RawRecordFile&) = delete;
    RawRecordFile& operator=(const RawRecordFile&) = delete;

    const std::string& path() const { return path_; }
    std::size_t recordSize() const { return recordSize_; }
    // Records in the file, counting appends not yet flushed.
    std::int64_t count() const { return count_; }
    // True when the file's size is not a whole number of records.
    bool hasPartialRecord() const { return partialBytes_ != 0; }

    void readRaw(std::int64_t id, unsigned char* out);
    std::int64_t appendRaw(const unsigned char* in);
    void flush();
    void truncate(std::int64_t records);
    void close();

private:
    void throwIo(int err) const;

    std::string path_;
    std::size_t recordSize_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::int64_t count_ = 0;
    std::int64_t partialBytes_ = 0;
    bool lastWasWrite_ = false;
    bool readOnly_ = false;
};

template <typename T>
class RecordFile {
public:
    RecordFile(std::string path, RawRecordFile::Mode mode) : raw_(std::move(path), sizeof(T), mode) {}

    const std::string& path() const { return raw_.path(); }
    std::int64_t count() const { return raw_.count(); }
    bool hasPartialRecord() const { return raw_.hasPartialRecord(); }

    T read(std::int64_t id) {
        unsigned char bytes[sizeof(T)];
        raw_.readRaw(id, bytes);
        return decodeRecord<T>(bytes);
    }
    std::int64_t append(const T& record) {
        unsigned char bytes[sizeof(T)];
        encodeRecord(record, bytes);
        return raw_.appendRaw(bytes);
    }
    void flush() { raw_.flush(); }
    void truncate(std::int64_t records) { raw_.truncate(records); }
    void close() { raw_.close(); }

private:
    RawRecordFile raw_;
};

// Record count of a file on disk (its size / record size), or -1 when it
// does not exist.
std::int64_t recordCountOnDisk(const std::string& path, std::size_t recordSize);

}  // namespace orrimar

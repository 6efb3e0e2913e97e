// A typed file of fixed-size records. The id of a record is its position;
// append() returns the count before the write, which is the new record's id.
// Writes are buffered in whole records; flush() pushes them to the file, and
// truncate() cuts the file back to a given record count (used to roll back a
// failed system or merge so that the sector on disk always holds whole
// units). Closing (or destroying) the file flushes what is buffered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/errors.h"
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

    // Bytes appended but not yet written to the file.
    std::size_t pendingBytes() const { return pending_.size(); }
    // On (the default): the buffer is written whenever it fills. Off: appends
    // stay in memory until flush(), so the file only ever receives what its
    // owner declares whole (a sector's systems).
    void setAutoFlush(bool on) { autoFlush_ = on; }

    void readRaw(std::int64_t id, unsigned char* out);
    std::int64_t appendRaw(const unsigned char* in);
    // Writes the buffer. On failure the whole records that reached the file
    // count as written, the rest stays buffered, and IoError is raised.
    void flush();
    // Keeps the first `records` records (0..count()), buffered or not.
    void truncate(std::int64_t records);
    // Flushes and releases the file; the file is released even when the
    // flush fails (the error is raised after).
    void close();

private:
    void startWriteback();

    std::string path_;
    std::size_t recordSize_;
    int fd_ = -1;
    std::int64_t writebackStart_ = 0;     // bytes already handed to the disk
    std::vector<unsigned char> pending_;  // whole records after flushedCount_
    std::int64_t flushedCount_ = 0;       // whole records in the file itself
    std::int64_t count_ = 0;              // flushed + buffered
    std::int64_t diskBytes_ = 0;          // size of the file as last known
    std::int64_t partialBytes_ = 0;
    bool readOnly_ = false;
    bool autoFlush_ = true;
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
    std::size_t pendingBytes() const { return raw_.pendingBytes(); }
    void setAutoFlush(bool on) { raw_.setAutoFlush(on); }
    void close() { raw_.close(); }

private:
    RawRecordFile raw_;
};

// Record count of a file on disk (its size / record size), or -1 when it
// does not exist.
std::int64_t recordCountOnDisk(const std::string& path, std::size_t recordSize);

}  // namespace orrimar

// Output of the exports: every file and folder is written beside its
// destination under a temporary name and moved into place only when it is
// complete, so an export that fails or is cancelled leaves nothing that
// looks finished, and an earlier export of the same name stays as it was
// until the new one replaces it whole. Where an output may go, and what it
// may replace there, is common/output_destination.h's to say: each staged
// output holds its destination, locked, from start to end.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "common/output_destination.h"

namespace orrimar::exports {

// A file written through a large buffer: the exports write a few hundred
// bytes at a time, and one write per megabyte keeps the per-call cost out of
// the rate. Every block goes through the file layer (common/file_io.h), so
// its fault plan reaches every export.
class BufferedFile {
public:
    explicit BufferedFile(std::string path);
    ~BufferedFile();
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    void write(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kBufferBytes) drain();
    }
    BufferedFile& operator<<(std::string_view text) {
        write(text);
        return *this;
    }
    // Writes what is buffered and closes the file; IoError on failure.
    void close();
    std::uint64_t bytesWritten() const { return written_ + buffer_.size(); }
    const std::string& path() const { return path_; }

private:
    static constexpr std::size_t kBufferBytes = 1 << 20;
    void drain();

    std::string path_;
    int fd_ = -1;
    std::string buffer_;
    std::uint64_t written_ = 0;
};

// One file: written at destination + ".part", renamed onto the destination
// by commit(). Dropped without commit, the part file is removed.
class StagedFile {
public:
    explicit StagedFile(const std::filesystem::path& destination);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    BufferedFile& out() { return *file_; }
    void commit();

private:
    OutputDestination destination_;
    std::filesystem::path part_;
    std::unique_ptr<BufferedFile> file_;
    bool committed_ = false;
};

// One folder of the output kind `kind` ("atlas", "csv"): built at
// destination + ".part", marked as ours, then moved onto the destination by
// commit() (an earlier output folder of that kind is replaced only then).
// Dropped without commit, the part folder is removed with all in it.
class StagedFolder {
public:
    StagedFolder(const std::filesystem::path& destination, std::string kind);
    ~StagedFolder();
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    // Where to write the folder's content meanwhile.
    const std::filesystem::path& path() const { return part_; }
    void commit();

private:
    OutputDestination destination_;
    std::filesystem::path part_;
    bool committed_ = false;
};

}  // namespace orrimar::exports

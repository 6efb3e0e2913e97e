#include "engine/export_output.h"

#include <fmt/format.h>

#include <atomic>
#include <cerrno>
#include <system_error>

#include "common/errors.h"

namespace orrimar::engine {

namespace fs = std::filesystem;

namespace {

std::atomic<std::int64_t> gFailAt{0};

// True when this block write is the one the test seam fails.
bool seamFails() {
    std::int64_t n = gFailAt.load();
    while (n > 0) {
        if (gFailAt.compare_exchange_weak(n, n - 1)) return n == 1;
    }
    return false;
}

fs::path partPath(const fs::path& destination) {
    fs::path part = destination;
    part += ".part";
    return part;
}

IoError fsError(const std::error_code& ec, const fs::path& path) {
    return ioErrorFromErrno(ec.value() != 0 ? ec.value() : EIO, path.string());
}

}  // namespace

void failExportWriteAt(std::int64_t n) { gFailAt.store(n); }

BufferedFile::BufferedFile(std::string path) : path_(std::move(path)) {
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) throw ioErrorFromErrno(errno, path_);
    buffer_.reserve(kBufferBytes + kBufferBytes / 4);
}

BufferedFile::~BufferedFile() {
    if (file_ != nullptr) std::fclose(file_);
}

void BufferedFile::drain() {
    if (buffer_.empty()) return;
    if (seamFails()) throw ioErrorFromErrno(ENOSPC, path_);
    errno = 0;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        throw ioErrorFromErrno(errno != 0 ? errno : EIO, path_);
    }
    written_ += buffer_.size();
    buffer_.clear();
}

void BufferedFile::close() {
    if (file_ == nullptr) return;
    drain();
    std::FILE* file = file_;
    file_ = nullptr;
    errno = 0;
    const bool flushed = std::fflush(file) == 0;
    const int flushErr = errno;
    if (std::fclose(file) != 0 || !flushed) throw ioErrorFromErrno(flushErr != 0 ? flushErr : EIO, path_);
}

StagedFile::StagedFile(const fs::path& destination) : destination_(destination), part_(partPath(destination)) {
    file_ = std::make_unique<BufferedFile>(part_.string());
}

StagedFile::~StagedFile() {
    if (committed_) return;
    file_.reset();
    std::error_code ec;
    fs::remove(part_, ec);
}

void StagedFile::commit() {
    file_->close();
    std::error_code ec;
    fs::rename(part_, destination_, ec);
    if (ec) throw fsError(ec, destination_);
    committed_ = true;
}

StagedFolder::StagedFolder(const fs::path& destination) : destination_(destination), part_(partPath(destination)) {
    std::error_code ec;
    // A part folder left by an export that was killed is ours to clear.
    fs::remove_all(part_, ec);
    fs::create_directory(part_, ec);
    if (ec) throw fsError(ec, part_);
}

StagedFolder::~StagedFolder() {
    if (committed_) return;
    std::error_code ec;
    fs::remove_all(part_, ec);
}

void StagedFolder::commit() {
    std::error_code ec;
    fs::path old;
    if (fs::exists(destination_, ec)) {
        if (!fs::is_directory(destination_, ec)) {
            throw IoError(fmt::format("{} exists and is not a folder: choose another destination",
                                      destination_.string()));
        }
        // The earlier folder steps aside, the new one moves in, then the
        // earlier one goes: at every instant one whole folder has the name
        // or is beside it.
        old = destination_;
        old += ".old";
        fs::remove_all(old, ec);
        fs::rename(destination_, old, ec);
        if (ec) throw fsError(ec, destination_);
    }
    fs::rename(part_, destination_, ec);
    if (ec) {
        const IoError error = fsError(ec, destination_);
        if (!old.empty()) fs::rename(old, destination_, ec);
        throw error;
    }
    committed_ = true;
    if (!old.empty()) fs::remove_all(old, ec);
}

}  // namespace orrimar::engine

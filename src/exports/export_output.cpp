#include "exports/export_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "common/errors.h"
#include "common/file_io.h"

namespace orrimar::exports {

namespace fs = std::filesystem;

namespace {

IoError fsError(const std::error_code& ec, const fs::path& path) {
    return ioErrorFromErrno(ec.value() != 0 ? ec.value() : EIO, path.string());
}

}  // namespace

BufferedFile::BufferedFile(std::string path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) throw ioErrorFromErrno(errno, path_);
    buffer_.reserve(kBufferBytes + kBufferBytes / 4);
}

BufferedFile::~BufferedFile() {
    if (fd_ >= 0) ::close(fd_);
}

void BufferedFile::drain() {
    if (buffer_.empty()) return;
    errno = 0;
    if (writeAll(fd_, buffer_.data(), buffer_.size()) != buffer_.size()) {
        throw ioErrorFromErrno(errno != 0 ? errno : EIO, path_);
    }
    written_ += buffer_.size();
    buffer_.clear();
}

void BufferedFile::close() {
    if (fd_ < 0) return;
    drain();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw ioErrorFromErrno(errno, path_);
}

StagedFile::StagedFile(const fs::path& destination) : destination_(destination), part_(destination_.partPath()) {
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
    destination_.recheck();
    const fs::path& target = destination_.destination();
    if (renameFile(part_.string(), target.string()) != 0) throw ioErrorFromErrno(errno, target.string());
    committed_ = true;
}

StagedFolder::StagedFolder(const fs::path& destination, std::string kind)
    : destination_(destination, std::move(kind)), part_(destination_.partPath()) {
    std::error_code ec;
    fs::create_directory(part_, ec);
    if (ec) throw fsError(ec, part_);
    // Marked first: a part folder left by a killed export is then known as
    // ours. A folder that could not be marked is not left behind.
    try {
        destination_.markFolder(part_);
    } catch (...) {
        fs::remove_all(part_, ec);
        throw;
    }
}

StagedFolder::~StagedFolder() {
    if (committed_) return;
    std::error_code ec;
    fs::remove_all(part_, ec);
}

void StagedFolder::commit() {
    // Whatever came to the destination while the folder was built is
    // judged as it would have been at the start.
    destination_.recheck();
    const fs::path& target = destination_.destination();
    std::error_code ec;
    fs::path old;
    if (fs::exists(fs::symlink_status(target, ec))) {
        // The earlier folder steps aside, the new one moves in, then the
        // earlier one goes: at every instant one whole folder has the name
        // or is beside it.
        old = destination_.oldPath();
        if (renameFile(target.string(), old.string()) != 0) throw ioErrorFromErrno(errno, target.string());
    }
    if (renameFile(part_.string(), target.string()) != 0) {
        const IoError error = ioErrorFromErrno(errno, target.string());
        if (!old.empty()) fs::rename(old, target, ec);
        throw error;
    }
    committed_ = true;
    if (!old.empty()) fs::remove_all(old, ec);
}

}  // namespace orrimar::exports

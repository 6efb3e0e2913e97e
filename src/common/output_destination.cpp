#include "common/output_destination.h"

#include <cerrno>
#include <fstream>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fmt/format.h>

#include "common/errors.h"

namespace orrimar {

namespace fs = std::filesystem;

namespace {

// "data/" and "data" name one folder; the leftovers beside it are
// "data.part", never "data/.part".
fs::path withoutTrailingSeparator(const fs::path& path) {
    std::string text = path.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return fs::path(text);
}

fs::path suffixed(const fs::path& path, const char* suffix) {
    fs::path result = path;
    result += suffix;
    return result;
}

// The type of what is at `path` without following a link; not_found when
// nothing is. IoError naming `path` when it cannot be looked at.
fs::file_type typeAt(const fs::path& path) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) throw ioErrorFromErrno(ec.value(), path.string());
    return status.type();
}

bool isSystemFile(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == ".sun";
}

// A folder that goes while it is looked at was being replaced by another
// output (looked at before taking the lock): it holds nothing of anyone's.
bool vanished(const std::error_code& ec) { return ec == std::errc::no_such_file_or_directory; }

// The first system file of a sector found anywhere below `folder`, or empty.
fs::path sectorFileIn(const fs::path& folder) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (isSystemFile(it->path())) return it->path();
    }
    if (ec && !vanished(ec)) throw ioErrorFromErrno(ec.value(), folder.string());
    return {};
}

bool isEmptyFolder(const fs::path& folder) {
    std::error_code ec;
    const bool empty = fs::is_empty(folder, ec);
    if (ec && !vanished(ec)) throw ioErrorFromErrno(ec.value(), folder.string());
    return empty || vanished(ec);
}

// The kind in the folder's marker; empty when it carries none.
std::string markedKind(const fs::path& folder) {
    std::ifstream in(folder / kOutputMarkerName, std::ios::binary);
    std::string kind;
    if (!in || !std::getline(in, kind)) return {};
    return kind;
}

// Which folder a name stands for at one instant; {0, 0} for none.
using FolderIdentity = std::pair<dev_t, ino_t>;
FolderIdentity identityOf(const fs::path& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) return {0, 0};
    return {st.st_dev, st.st_ino};
}

std::string folderText(const fs::path& folder) { return folder.string() + "/"; }

// Nothing but a regular file or a folder is ever replaced or removed:
// a device, a pipe or a link stays what it is.
InputError notOurs(const fs::path& path, fs::file_type type, const char* wanted) {
    const char* what = type == fs::file_type::symlink                                     ? "a link"
                       : type == fs::file_type::fifo                                      ? "a pipe"
                       : type == fs::file_type::socket                                    ? "a socket"
                       : type == fs::file_type::character || type == fs::file_type::block ? "a device"
                                                                                          : "not a regular file";
    return InputError(fmt::format("{} is {}, which an output never replaces; choose {}", path.string(), what, wanted));
}

void checkFileDestination(const fs::path& destination) {
    const fs::file_type type = typeAt(destination);
    if (type == fs::file_type::regular && isSystemFile(destination)) {
        throw InputError(
            fmt::format("{} is a sector's system file, which an output never replaces; choose a new "
                        "file name",
                        destination.string()));
    }
    if (type == fs::file_type::not_found || type == fs::file_type::regular) return;
    if (type == fs::file_type::directory) {
        throw InputError(fmt::format("{} is a folder; choose a file name for the output", destination.string()));
    }
    throw notOurs(destination, type, "a new file name");
}

void checkFolderDestination(const fs::path& destination, std::string_view kind) {
    const std::string name = destination.filename().string();
    if (name.empty() || name == "." || name == "..") {
        throw InputError(
            fmt::format("{} names no folder of its own; choose an empty or new folder by name", destination.string()));
    }
    const fs::file_type type = typeAt(destination);
    if (type == fs::file_type::not_found) return;
    if (type == fs::file_type::regular) {
        throw InputError(
            fmt::format("{} is a file, not a folder; choose an empty or new folder", destination.string()));
    }
    if (type != fs::file_type::directory) throw notOurs(destination, type, "an empty or new folder");
    if (const fs::path sector = sectorFileIn(destination); !sector.empty()) {
        throw InputError(
            fmt::format("{} holds a sector ({}), which an output never replaces; choose an empty or "
                        "new folder",
                        folderText(destination), sector.string()));
    }
    if (isEmptyFolder(destination)) return;
    const FolderIdentity seen = identityOf(destination);
    const std::string marked = markedKind(destination);
    if (marked == kind) return;
    // Another output swapped its folder in while this one looked (before
    // taking the lock): judged again, under the lock, on what is there then.
    if (identityOf(destination) != seen) return;
    if (!marked.empty()) {
        throw InputError(fmt::format("{} holds an output of another kind ({}, not {}); choose an empty or new folder",
                                     folderText(destination), marked, kind));
    }
    throw InputError(fmt::format("{} holds files this program did not write; choose an empty or new folder",
                                 folderText(destination)));
}

// Outputs are built beside their destination, and the lock file goes there
// too: a folder that is missing or closed to us is said so, naming the
// destination rather than the lock file.
void requireWritableFolderOf(const fs::path& destination) {
    const fs::path folder = destination.has_parent_path() ? destination.parent_path() : fs::path(".");
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (ec) throw ioErrorFromErrno(ec.value(), destination.string());
    if (!fs::is_directory(status)) throw ioErrorFromErrno(ENOTDIR, destination.string());
    if (::access(folder.c_str(), W_OK | X_OK) != 0) throw ioErrorFromErrno(errno, destination.string());
}

// A leftover is cleared when it is ours: a part file (we alone name files
// so), or a folder that is marked or empty and holds no sector. Anything
// else stays, and is said to be in the way.
void clearLeftover(const fs::path& leftover, bool isPart, bool folderOutput) {
    // A file output steps nothing aside: a ".old" beside it is the user's.
    if (!isPart && !folderOutput) return;
    const fs::file_type type = typeAt(leftover);
    if (type == fs::file_type::not_found) return;
    std::error_code ec;
    if (type == fs::file_type::regular && isPart) {
        fs::remove(leftover, ec);
        if (ec) throw ioErrorFromErrno(ec.value(), leftover.string());
        return;
    }
    if (type == fs::file_type::directory && sectorFileIn(leftover).empty() &&
        (isEmptyFolder(leftover) || !markedKind(leftover).empty())) {
        fs::remove_all(leftover, ec);
        if (ec) throw ioErrorFromErrno(ec.value(), leftover.string());
        return;
    }
    throw InputError(
        fmt::format("{} is in the way of the output and was not written by this program; move it or "
                    "choose another destination",
                    leftover.string()));
}

}  // namespace

void checkOutputDestination(const fs::path& destination, std::string_view folderKind) {
    const fs::path target = withoutTrailingSeparator(destination);
    if (folderKind.empty()) {
        checkFileDestination(target);
    } else {
        checkFolderDestination(target, folderKind);
    }
}

OutputDestination::OutputDestination(const fs::path& destination, std::string folderKind)
    : destination_(withoutTrailingSeparator(destination)), kind_(std::move(folderKind)) {
    checkOutputDestination(destination_, kind_);
    requireWritableFolderOf(destination_);
    // ".part.lock", not ".lock": an output named like a sector ("--out
    // data/alpha") must not wait on the lock its own sector read holds.
    lock_ = FileLock(suffixed(destination_, ".part.lock").string(), LockMode::Exclusive, destination_.string());
    // Another output may have finished while this one waited.
    checkOutputDestination(destination_, kind_);
    clearLeftovers();
}

fs::path OutputDestination::partPath() const { return suffixed(destination_, ".part"); }

fs::path OutputDestination::oldPath() const { return suffixed(destination_, ".old"); }

void OutputDestination::markFolder(const fs::path& folder) const {
    const fs::path marker = folder / kOutputMarkerName;
    const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw ioErrorFromErrno(errno, marker.string());
    const std::string text = kind_ + "\n";
    errno = 0;
    if (writeAll(fd, text.data(), text.size()) != text.size()) {
        const int err = errno != 0 ? errno : EIO;
        ::close(fd);
        throw ioErrorFromErrno(err, marker.string());
    }
    if (::close(fd) != 0) throw ioErrorFromErrno(errno, marker.string());
}

void OutputDestination::clearLeftovers() const {
    const bool folderOutput = !kind_.empty();
    clearLeftover(partPath(), true, folderOutput);
    clearLeftover(oldPath(), false, folderOutput);
}

}  // namespace orrimar

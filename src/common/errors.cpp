#include "common/errors.h"

#include <cerrno>

#include <fmt/format.h>

namespace orrimar {

namespace {

// What the failure means to the user, for the numbers that have a plain
// cause: the runtime's number alone ("I/O error 21") would leave them
// guessing what to change. Empty for a number without one of our own.
const char* errnoWords(int err) {
    switch (err) {
        case ENAMETOOLONG: return "the file name is too long";
        case EISDIR: return "it is a folder, not a file";
        case EBUSY: return "the device is busy";
        case ENOTEMPTY: return "the folder is not empty";
        case EEXIST: return "something of that name is already there";
        case EXDEV: return "it cannot be moved to another disk in one step";
        case EMFILE: return "the program has too many files open";
        case ENFILE: return "the system has too many files open";
        case EIO: return "the disk reported an error";
        case ETXTBSY: return "it is a program that is running";
        case ELOOP: return "the path has too many symbolic links (a link to itself?)";
        case EINVAL: return "the operation does not apply to this kind of file";
        case EFBIG: return "the file would be too large";
        case ENXIO: return "no device or reader is there";
        case ENODEV: return "the device does not support it";
        case ESPIPE: return "it is a pipe, not a file";
        case EPIPE: return "the reader went away";
        case EMLINK: return "the folder has too many links";
        case EAGAIN: return "it is busy; try again";
        case EINTR: return "it was interrupted";
        case ENOMEM: return "out of memory";
        case ESTALE: return "the network share no longer knows the file";
        case EBADF: return "the file is not open";
        default: return "";
    }
}

}  // namespace

IoError ioErrorFromErrno(int err, const std::string& path) {
    std::string text;
    switch (err) {
        case ENOENT: text = "File not found"; break;
        // Still a file that cannot be found, but the cause is one to fix
        // in the path: a file stands where a folder was expected.
        case ENOTDIR: text = "File not found: a part of the path is not a folder"; break;
        case EACCES:
        case EPERM:
        case EROFS: text = "File access denied"; break;
        case ENOSPC:
        case EDQUOT: text = "Disk full"; break;
        default: {
            const std::string words = errnoWords(err);
            text = words.empty() ? fmt::format("I/O error {}", err) : fmt::format("I/O error {}: {}", err, words);
            break;
        }
    }
    if (path.empty()) return IoError(text);
    return IoError(fmt::format("{} ({})", text, path));
}

}  // namespace orrimar

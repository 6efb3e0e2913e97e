#include "common/errors.h"

#include <cerrno>

#include <fmt/format.h>

namespace orrimar {

IoError ioErrorFromErrno(int err, const std::string& path) {
    std::string text;
    switch (err) {
        case ENOENT:
        case ENOTDIR: text = "File not found"; break;
        case EACCES:
        case EPERM:
        case EROFS: text = "File access denied"; break;
        case ENOSPC:
        case EDQUOT: text = "Disk full"; break;
        // The runtime's number alone would leave the user guessing: the
        // name is what to change.
        case ENAMETOOLONG: text = fmt::format("I/O error {}: the file name is too long", err); break;
        default: text = fmt::format("I/O error {}", err); break;
    }
    if (path.empty()) return IoError(text);
    return IoError(fmt::format("{} ({})", text, path));
}

}  // namespace orrimar

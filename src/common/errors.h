// Runtime errors of the system. A failure abandons the running command; the
// front end shows what() ("File not found", "Range check error", ...) and
// carries on. Records written before the failure stay in their files unless
// the operation says it rolls them back.
#pragma once

#include <stdexcept>
#include <string>

namespace orrimar {

class OrrError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An input/output failure: missing file, refused access, full disk.
class IoError : public OrrError {
public:
    using OrrError::OrrError;
};

// A value outside the range of the field that receives it.
class RangeError : public OrrError {
public:
    RangeError() : OrrError("Range check error") {}
    explicit RangeError(const std::string& message) : OrrError(message) {}
};

// Bad input from the user that the command refuses before touching anything.
class InputError : public OrrError {
public:
    using OrrError::OrrError;
};

// The system's message for an errno value: "File not found", "File access
// denied", "Disk full", or "I/O error %d" followed by what it means in words
// ("I/O error 21: it is a folder, not a file") for every cause a user can act
// on. The path, when given, is appended so that the user knows which file
// failed.
IoError ioErrorFromErrno(int err, const std::string& path = {});

}  // namespace orrimar

// The system's messages for errno values: the three it has always had stay
// word for word, and every other cause a user can act on is said in words
// beside its number.
#include "common/errors.h"

#include <cerrno>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace orrimar {
namespace {

TEST(SystemMessages, TheSystemsOwnTextsStayAsTheyWere) {
    EXPECT_STREQ(ioErrorFromErrno(ENOENT, "a.sun").what(), "File not found (a.sun)");
    for (const int err : {EACCES, EPERM, EROFS}) EXPECT_STREQ(ioErrorFromErrno(err).what(), "File access denied");
    for (const int err : {ENOSPC, EDQUOT}) EXPECT_STREQ(ioErrorFromErrno(err).what(), "Disk full");
    // A file in place of a folder is still a file not found, with its cause.
    EXPECT_STREQ(ioErrorFromErrno(ENOTDIR, "a/b").what(), "File not found: a part of the path is not a folder (a/b)");
}

TEST(SystemMessages, EveryMappedNumberIsSaidInWords) {
    const struct {
        int err;
        const char* text;
    } cases[] = {
        {ENAMETOOLONG, "the file name is too long"},
        {EISDIR, "it is a folder, not a file"},
        {EBUSY, "the device is busy"},
        {ENOTEMPTY, "the folder is not empty"},
        {EEXIST, "something of that name is already there"},
        {EXDEV, "it cannot be moved to another disk in one step"},
        {EMFILE, "the program has too many files open"},
        {ENFILE, "the system has too many files open"},
        {EIO, "the disk reported an error"},
        {ETXTBSY, "it is a program that is running"},
        {ELOOP, "the path has too many symbolic links (a link to itself?)"},
        {EINVAL, "the operation does not apply to this kind of file"},
        {EFBIG, "the file would be too large"},
        {ENXIO, "no device or reader is there"},
        {ENODEV, "the device does not support it"},
        {ESPIPE, "it is a pipe, not a file"},
        {EPIPE, "the reader went away"},
        {EMLINK, "the folder has too many links"},
        {EAGAIN, "it is busy; try again"},
        {EINTR, "it was interrupted"},
        {ENOMEM, "out of memory"},
        {ESTALE, "the network share no longer knows the file"},
        {EBADF, "the file is not open"},
    };
    std::set<std::string> seen;
    for (const auto& c : cases) {
        const std::string expected = "I/O error " + std::to_string(c.err) + ": " + c.text + " (out/x.log)";
        EXPECT_EQ(ioErrorFromErrno(c.err, "out/x.log").what(), expected) << c.err;
        EXPECT_TRUE(seen.insert(c.text).second) << "two numbers share the words " << c.text;
    }
    // Without a path, nothing is appended.
    EXPECT_STREQ(ioErrorFromErrno(EBUSY).what(), "I/O error 16: the device is busy");
}

TEST(SystemMessages, ANumberWithoutWordsKeepsTheNumber) {
    EXPECT_STREQ(ioErrorFromErrno(ECHILD, "x").what(), "I/O error 10 (x)");
    EXPECT_STREQ(ioErrorFromErrno(0).what(), "I/O error 0");
}

}  // namespace
}  // namespace orrimar

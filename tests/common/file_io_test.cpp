// The file layer's fault seam and the atomic output built on it.
#include "common/file_io.h"

#include <cerrno>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "common/errors.h"
#include "support/test_dir.h"
#include "support/file_text.h"

namespace orrimar {
namespace {

using testing::fileBytes;
using testing::freshTestDir;
using testing::writeFileBytes;

struct PlanGuard {
    ~PlanGuard() { clearFaultPlan(); }
};

TEST(FaultPlan, ParsesKindsCountsAndOnward) {
    const FaultPlan a = parseFaultPlan("enospc:12");
    EXPECT_EQ(a.kind, FaultKind::NoSpace);
    EXPECT_EQ(a.at, 12);
    EXPECT_FALSE(a.onward);
    const FaultPlan b = parseFaultPlan("eio:1+");
    EXPECT_EQ(b.kind, FaultKind::IoError);
    EXPECT_TRUE(b.onward);
    EXPECT_EQ(parseFaultPlan("exit:3").kind, FaultKind::Exit);
    for (const char* bad : {"", "enospc", "enospc:", "enospc:0", "full:3", "eio:-2", "eio:3x", "eio:+"}) {
        EXPECT_THROW(parseFaultPlan(bad), InputError) << bad;
    }
}

TEST(FaultPlan, FailsExactlyTheNthWriteAndStoresHalfOfIt) {
    PlanGuard guard;
    const std::string path = (freshTestDir("seam") / "f.bin").string();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0666);
    ASSERT_GE(fd, 0);
    setFaultPlan({FaultKind::NoSpace, 2, false});
    EXPECT_EQ(writeAllAt(fd, "abcd", 4, 0), 4U);
    errno = 0;
    EXPECT_EQ(writeAllAt(fd, "efgh", 4, 4), 2U);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(writeAllAt(fd, "ijkl", 4, 6), 4U);  // one-off: the third goes through
    EXPECT_EQ(fileOperationCount(), 3);
    ::close(fd);
    EXPECT_EQ(fileBytes(path), "abcdefijkl");
}

TEST(FaultPlan, OnwardKeepsFailingAndEioStoresNothing) {
    PlanGuard guard;
    const std::string path = (freshTestDir("seam") / "f.bin").string();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0666);
    ASSERT_GE(fd, 0);
    setFaultPlan({FaultKind::IoError, 1, true});
    for (int i = 0; i < 3; ++i) {
        errno = 0;
        EXPECT_EQ(writeAll(fd, "abcd", 4), 0U);
        EXPECT_EQ(errno, EIO);
    }
    ::close(fd);
    EXPECT_EQ(fileBytes(path), "");
}

TEST(AtomicOutput, CommitReplacesTheOldFileAndLeavesNoPart) {
    const auto dir = freshTestDir("out");
    const std::string path = (dir / "log.txt").string();
    writeFileBytes(path, "old");
    {
        AtomicOutputFile out(path);
        out.stream() << "new " << 42;
        EXPECT_EQ(fileBytes(path), "old");  // nothing shows before the commit
        out.commit();
    }
    EXPECT_EQ(fileBytes(path), "new 42");
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

// Every failing write or rename of a rewrite keeps the old file as it was.
TEST(AtomicOutput, AnOldFileSurvivesEveryFailedRewrite) {
    PlanGuard guard;
    const auto dir = freshTestDir("out");
    const std::string path = (dir / "log.txt").string();
    const std::string old = "the old log\r\n";
    const std::string text(200 * 1024, 'x');  // several buffer loads
    writeFileBytes(path, old);
    clearFaultPlan();
    {
        AtomicOutputFile out(path);
        out.write(text);
        out.commit();
    }
    const std::int64_t operations = fileOperationCount();
    ASSERT_GE(operations, 4);  // at least three writes and the rename
    for (std::int64_t n = 1; n <= operations; ++n) {
        for (const FaultKind kind : {FaultKind::NoSpace, FaultKind::IoError}) {
            writeFileBytes(path, old);
            setFaultPlan({kind, n, false});
            EXPECT_THROW(
                {
                    AtomicOutputFile out(path);
                    out.write(text);
                    out.commit();
                },
                IoError)
                << "operation " << n;
            EXPECT_EQ(fileBytes(path), old) << "operation " << n;
            EXPECT_FALSE(std::filesystem::exists(path + ".part")) << "operation " << n;
        }
    }
}

TEST(AtomicOutput, DroppedWithoutCommitLeavesNothing) {
    const auto dir = freshTestDir("out");
    const std::string path = (dir / "report.txt").string();
    {
        AtomicOutputFile out(path);
        out.stream() << "half a report";
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

TEST(AtomicOutput, AnUnwritableFolderIsAnIoErrorNamingTheFile) {
    const auto dir = freshTestDir("out");
    const std::string path = (dir / "no-such-folder" / "log.txt").string();
    try {
        AtomicOutputFile out(path);
        FAIL() << "opened";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

TEST(SystemMessages, ATooLongNameIsSaidSo) {
    EXPECT_STREQ(ioErrorFromErrno(ENAMETOOLONG, "x.sun").what(), "I/O error 36: the file name is too long (x.sun)");
    EXPECT_STREQ(ioErrorFromErrno(ENOSPC).what(), "Disk full");
    EXPECT_STREQ(ioErrorFromErrno(EIO).what(), "I/O error 5: the disk reported an error");
}

}  // namespace
}  // namespace orrimar

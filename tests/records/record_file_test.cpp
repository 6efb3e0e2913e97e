#include <gtest/gtest.h>

#include "records/record_file.h"
#include "records/record_reader.h"
#include "test_dir.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;
using Mode = RawRecordFile::Mode;

TSystemRec systemAt(std::int16_t x) {
    TSystemRec r;
    r.x = x;
    return r;
}

TEST(RecordFile, AppendReturnsTheCountBeforeAndReadsBackBufferedOrNot) {
    const std::string path = freshDir() + "/a.sun";
    RecordFile<TSystemRec> f(path, Mode::Create);
    EXPECT_EQ(f.count(), 0);
    EXPECT_EQ(f.append(systemAt(10)), 0);
    EXPECT_EQ(f.append(systemAt(11)), 1);
    EXPECT_EQ(f.read(1).x, 11);  // still buffered
    f.flush();
    EXPECT_EQ(fileSize(path), 2 * 196);
    EXPECT_EQ(f.append(systemAt(12)), 2);
    EXPECT_EQ(f.read(0).x, 10);
    EXPECT_EQ(f.read(2).x, 12);
    EXPECT_THROW(f.read(3), RangeError);
    EXPECT_THROW(f.read(-1), RangeError);
    f.close();
    EXPECT_EQ(fileSize(path), 3 * 196);

    RecordFile<TSystemRec> again(path, Mode::ReadOnly);
    EXPECT_EQ(again.count(), 3);
    EXPECT_EQ(again.read(2).x, 12);
    EXPECT_THROW(again.append(systemAt(1)), IoError);
}

TEST(RecordFile, HeldWritesReachTheDiskOnlyOnFlush) {
    const std::string path = freshDir() + "/a.pln";
    RecordFile<TPlanetRec> f(path, Mode::Create);
    f.setAutoFlush(false);
    for (int i = 0; i < 2000; ++i) f.append(TPlanetRec{});  // beyond the 64 KiB buffer
    EXPECT_EQ(fileSize(path), 0);
    EXPECT_EQ(f.pendingBytes(), 2000U * 84U);
    f.flush();
    EXPECT_EQ(fileSize(path), 2000 * 84);
    EXPECT_EQ(f.pendingBytes(), 0U);
}

TEST(RecordFile, TruncateCutsBufferedAndWrittenRecords) {
    const std::string path = freshDir() + "/a.sun";
    RecordFile<TSystemRec> f(path, Mode::Create);
    for (std::int16_t i = 0; i < 5; ++i) f.append(systemAt(i));
    f.flush();
    for (std::int16_t i = 5; i < 8; ++i) f.append(systemAt(i));
    f.truncate(6);  // only buffered records go
    EXPECT_EQ(f.count(), 6);
    f.truncate(3);  // into what is on disk
    EXPECT_EQ(f.count(), 3);
    EXPECT_EQ(fileSize(path), 3 * 196);
    EXPECT_EQ(f.append(systemAt(99)), 3);
    EXPECT_THROW(f.truncate(5), RangeError);
    f.close();
    RecordFile<TSystemRec> back(path, Mode::ReadOnly);
    ASSERT_EQ(back.count(), 4);
    EXPECT_EQ(back.read(2).x, 2);
    EXPECT_EQ(back.read(3).x, 99);
}

TEST(RecordFile, PartialRecordIsNotCountedAndTheNextAppendReplacesIt) {
    const std::string path = freshDir() + "/a.sun";
    writeFileBytes(path, std::string(196 + 50, '\x01'));
    RecordFile<TSystemRec> f(path, Mode::OpenExisting);
    EXPECT_EQ(f.count(), 1);
    EXPECT_TRUE(f.hasPartialRecord());
    EXPECT_EQ(f.append(systemAt(7)), 1);
    f.close();
    EXPECT_EQ(fileSize(path), 2 * 196);
    EXPECT_EQ(recordCountOnDisk(path, 196), 2);
    EXPECT_EQ(recordCountOnDisk(path + ".none", 196), -1);
}

// A write stopped part-way leaves a torn last record. Every way of counting
// the records of a file on disk counts whole records only: one byte short
// of a record, or one byte into the next, is still the whole records before.
template <typename T>
void expectWholeRecordsCounted(const std::string& path) {
    const long long width = sizeof(T);
    for (long long size : {0LL, 1LL, width - 1, width, width + 1, 2 * width - 1, 2 * width, 2 * width + 1}) {
        SCOPED_TRACE(std::to_string(size) + " bytes of " + std::to_string(width) + "-byte records");
        writeFileBytes(path, std::string(static_cast<std::size_t>(size), '\x01'));
        const std::int64_t whole = size / width;
        const std::int64_t torn = size % width;
        EXPECT_EQ(recordCountOnDisk(path, sizeof(T)), whole);

        RecordReader<T> reader(path);
        EXPECT_EQ(reader.count(), whole);
        EXPECT_EQ(reader.partialBytes(), torn);
        EXPECT_EQ(reader.hasPartialRecord(), torn != 0);
        EXPECT_THROW(reader.read(whole), RangeError);  // the torn record is no record
        if (whole > 0) {
            EXPECT_NO_THROW(reader.read(whole - 1));
        }

        RecordFile<T> file(path, Mode::ReadOnly);
        EXPECT_EQ(file.count(), whole);
        EXPECT_EQ(file.hasPartialRecord(), torn != 0);
    }
}

TEST(RecordFile, ATornLastRecordIsNeverCounted) {
    const std::string dir = freshDir();
    expectWholeRecordsCounted<TSystemRec>(dir + "/a.sun");
    expectWholeRecordsCounted<TPlanetRec>(dir + "/a.pln");
    expectWholeRecordsCounted<TMoonRec>(dir + "/a.mon");
    expectWholeRecordsCounted<TAlienRec>(dir + "/a.aln");
}

TEST(RecordFile, OpeningFailuresAreTheSystemsMessages) {
    const std::string dir = freshDir();
    try {
        RecordFile<TSystemRec> f(dir + "/missing.sun", Mode::OpenExisting);
        FAIL();
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "File not found (" + dir + "/missing.sun)");
    }
    EXPECT_THROW(RecordFile<TSystemRec>(dir + "/no/such/dir.sun", Mode::Create), IoError);
}

TEST(RecordFile, AFailedFlushKeepsWholeRecordsOnlyAndReportsDiskFull) {
    RecordFile<TSystemRec> f("/dev/full", Mode::OpenExisting);
    f.setAutoFlush(false);
    f.append(systemAt(1));
    try {
        f.flush();
        FAIL();
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "Disk full (/dev/full)");
    }
    EXPECT_EQ(f.count(), 1);
    EXPECT_EQ(f.read(0).x, 1);  // kept in the buffer
    EXPECT_THROW(f.close(), IoError);
}

}  // namespace
}  // namespace orrimar

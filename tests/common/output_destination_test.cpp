// Where an output may go: what a file or folder output may replace, which
// leftovers of an interrupted output it clears, and its lock. Every refusal
// leaves what was there exactly as it was.
#include "common/output_destination.h"

#include <filesystem>
#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "common/errors.h"
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/refusal.h"

namespace orrimar {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::freshTestDir;
using testing::writeFileBytes;

using testing::messageOf;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void makeFifo(const fs::path& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }

void markAs(const fs::path& folder, const std::string& kind) {
    fs::create_directories(folder);
    writeFileBytes((folder / kOutputMarkerName).string(), kind + "\n");
}

TEST(OutputDestination, AFileOutputReplacesOnlyARegularFile) {
    const fs::path dir = freshTestDir("file");
    writeFileBytes((dir / "old.log").string(), "earlier log");
    {
        GuardedOutputFile log((dir / "old.log").string());
        log.write("new log");
        log.commit();
    }
    EXPECT_EQ(fileBytes((dir / "old.log").string()), "new log");
    EXPECT_FALSE(fs::exists(dir / "old.log.part.lock"));
    // A link is replaced by nothing, and what it points to is not written through it.
    fs::create_symlink(dir / "old.log", dir / "link.log");
    EXPECT_TRUE(contains(messageOf([&] { GuardedOutputFile f((dir / "link.log").string()); }), "is a link"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.log"));
    EXPECT_EQ(fileBytes((dir / "old.log").string()), "new log");
    EXPECT_TRUE(contains(messageOf([&] { checkOutputDestination("/dev/null"); }), "/dev/null is a device"));
    // A sector's system file is a regular file, yet never an output's.
    writeFileBytes((dir / "reach.SUN").string(), "systems");
    EXPECT_TRUE(contains(messageOf([&] { GuardedOutputFile f((dir / "reach.SUN").string()); }), "system file"));
    EXPECT_EQ(fileBytes((dir / "reach.SUN").string()), "systems");
}

TEST(OutputDestination, AFolderOutputReplacesOnlyAnEmptyFolderOrItsOwnKind) {
    const fs::path dir = freshTestDir("folder");
    EXPECT_NO_THROW(checkOutputDestination(dir / "new", "atlas"));
    fs::create_directories(dir / "empty");
    EXPECT_NO_THROW(checkOutputDestination(dir / "empty", "atlas"));
    markAs(dir / "earlier", "atlas");
    writeFileBytes((dir / "earlier/index.html").string(), "page");
    EXPECT_NO_THROW(checkOutputDestination(dir / "earlier", "atlas"));
    EXPECT_NO_THROW(checkOutputDestination(dir / "earlier/", "atlas"));

    writeFileBytes((dir / "file").string(), "a file");
    EXPECT_TRUE(contains(messageOf([&] { checkOutputDestination(dir / "file", "csv"); }), "is a file, not a folder"));
    for (const char* nameless : {".", "..", "/"}) {
        EXPECT_TRUE(contains(messageOf([&] { checkOutputDestination(nameless, "atlas"); }), "names no folder"))
            << nameless;
    }
}

TEST(OutputDestination, AFolderHoldingASectorIsNeverReplacedEvenIfMarked) {
    const fs::path dir = freshTestDir("sector");
    markAs(dir / "atlas", "atlas");
    fs::create_directories(dir / "atlas/deep/down");
    writeFileBytes((dir / "atlas/deep/down/alpha.SUN").string(), "systems");
    const std::string message = messageOf([&] { OutputDestination d(dir / "atlas", "atlas"); });
    EXPECT_TRUE(contains(message, "holds a sector (" + (dir / "atlas/deep/down/alpha.SUN").string() + ")")) << message;
    EXPECT_EQ(fileBytes((dir / "atlas/deep/down/alpha.SUN").string()), "systems");
    EXPECT_FALSE(fs::exists(dir / "atlas.part.lock"));
}

TEST(OutputDestination, OurLeftoversAreClearedAndNothingElse) {
    const fs::path dir = freshTestDir("leftovers");
    // A file output's part file, and a folder output's marked part and old folders.
    writeFileBytes((dir / "x.json.part").string(), "half");
    { OutputDestination d(dir / "x.json"); }
    EXPECT_FALSE(fs::exists(dir / "x.json.part"));
    markAs(dir / "atlas.part", "atlas");
    markAs(dir / "atlas.old", "atlas");
    fs::create_directories(dir / "atlas.part/systems/000");
    {
        OutputDestination d(dir / "atlas", "atlas");
        EXPECT_EQ(d.partPath(), dir / "atlas.part");
        EXPECT_EQ(d.oldPath(), dir / "atlas.old");
    }
    EXPECT_FALSE(fs::exists(dir / "atlas.part"));
    EXPECT_FALSE(fs::exists(dir / "atlas.old"));
    // An empty part folder: a run stopped before it marked it; nothing to lose.
    fs::create_directories(dir / "csv.part");
    { OutputDestination d(dir / "csv/", "csv"); }
    EXPECT_FALSE(fs::exists(dir / "csv.part"));

    // Unmarked, a marked one holding a sector, or not a file or folder: left, and said to be in the way.
    fs::create_directories(dir / "mine.part");
    writeFileBytes((dir / "mine.part/notes.txt").string(), "mine");
    EXPECT_TRUE(contains(messageOf([&] { OutputDestination d(dir / "mine", "csv"); }),
                         (dir / "mine.part").string() + " is in the way"));
    EXPECT_EQ(fileBytes((dir / "mine.part/notes.txt").string()), "mine");
    markAs(dir / "held.old", "csv");
    writeFileBytes((dir / "held.old/beta.sun").string(), "systems");
    EXPECT_TRUE(contains(messageOf([&] { OutputDestination d(dir / "held", "csv"); }), "is in the way"));
    EXPECT_TRUE(fs::exists(dir / "held.old/beta.sun"));
    makeFifo(dir / "p.log.part");
    EXPECT_TRUE(contains(messageOf([&] { OutputDestination d(dir / "p.log"); }), "is in the way"));
    EXPECT_TRUE(fs::is_fifo(dir / "p.log.part"));
    // A file output makes no ".old", so a file of that name is none of its business.
    writeFileBytes((dir / "r.log.old").string(), "the user's");
    { OutputDestination d(dir / "r.log"); }
    EXPECT_EQ(fileBytes((dir / "r.log.old").string()), "the user's");
}

TEST(OutputDestination, AMissingFolderIsNamedByTheDestination) {
    const fs::path dir = freshTestDir("missing");
    try {
        OutputDestination d(dir / "nowhere/x.log");
        FAIL() << "held a destination in a missing folder";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "File not found (" + (dir / "nowhere/x.log").string() + ")");
    }
    EXPECT_FALSE(fs::exists(dir / "nowhere"));
}

}  // namespace
}  // namespace orrimar

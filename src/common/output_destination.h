// Where an output may go. A log, a report or an export writes a regular file
// or a folder of its own, and replaces nothing else: not a device or a pipe
// named by mistake, not a folder of the user's files, never a sector. Every
// writer of outputs holds its destination through OutputDestination, so the
// rules below are the same for all of them.
//
// - A file output replaces only a regular file (or nothing).
// - A folder output replaces only an empty folder or an earlier output of
//   the same kind, known by the marker file it carries (".orrimar-output",
//   holding the kind: "atlas", "csv"). A folder holding a sector's system
//   file (a ".sun" file, at any depth) is never replaced, marked or not.
// - What an interrupted output left beside its destination ("DEST.part",
//   "DEST.old") is cleared by the next output to the same place, but only
//   when it is ours: a part file, or a folder that is marked or empty.
// - The destination is locked while it is written ("DEST.part.lock"), so a
//   second output to the same place waits, then is refused, instead of both
//   writing into one folder.
//
// A refusal is bad input (InputError) naming the path and what to do; a
// folder that cannot be read or written is an IoError naming the
// destination.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "common/file_io.h"
#include "common/file_lock.h"

namespace orrimar {

// The file inside every output folder that says it is ours, and of what kind.
inline constexpr std::string_view kOutputMarkerName = ".orrimar-output";

// Refuses a destination that an output of `folderKind` (empty for a file
// output) may not replace. Looks only: nothing is locked, cleared or made.
// Commands call it before their long work so a mistyped destination is
// refused at once; OutputDestination calls it again under the lock.
void checkOutputDestination(const std::filesystem::path& destination, std::string_view folderKind = {});

// An output's destination, held while the output is written: checked,
// locked, and cleared of our own leftovers of an interrupted output.
class OutputDestination {
public:
    // `folderKind` empty: a file output. Waits for the lock up to
    // lockWait(), then throws LockBusyError naming the destination.
    explicit OutputDestination(const std::filesystem::path& destination, std::string folderKind = {});

    // The destination, without a trailing separator.
    const std::filesystem::path& destination() const { return destination_; }
    // Where the output is built: destination + ".part".
    std::filesystem::path partPath() const;
    // Where an earlier output folder steps aside while the new one moves in.
    std::filesystem::path oldPath() const;
    // Writes the marker of this output's kind into a folder being built, so
    // that the folder is known as ours once in place (or left by a crash).
    void markFolder(const std::filesystem::path& folder) const;
    // Looks at the destination again just before an output replaces it.
    void recheck() const { checkOutputDestination(destination_, kind_); }

private:
    void clearLeftovers() const;

    std::filesystem::path destination_;
    std::string kind_;
    FileLock lock_;
};

// An atomic output file (common/file_io.h) whose destination is held as
// above from before the part file is opened until the file is dropped.
class GuardedOutputFile : private OutputDestination, public AtomicOutputFile {
public:
    explicit GuardedOutputFile(const std::string& path) : OutputDestination(path), AtomicOutputFile(path) {}
};

}  // namespace orrimar

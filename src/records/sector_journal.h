// The journal of a command that changes a sector: "data/alpha.jnl", written
// and synced before the command's first write and removed once everything
// it wrote is synced. It holds each member's size before the command, so
// that whatever stops the command (an error, a kill, a power cut) the next
// program to take the sector's lock finishes the story:
//
// - all or nothing (merge, rename): every member is cut back to its size
//   before, and the sector is exactly as it was;
// - whole systems (create, append): the sector is cut back to its last
//   whole system, with its names when the run was naming, and the name
//   records of what was cut; every whole system written before the stop
//   stays.
//
// The journal is replaced atomically, so it is either whole or absent.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orrimar {

enum class JournalKind {
    AllOrNothing,
    WholeSystems,
};

// The members a journal records, in the order of kSectorMemberExtensions.
inline constexpr std::size_t kJournalMembers = 9;

// Bytes a command is about to overwrite in place (a planet's colonising
// race, a settled-layer member rewritten whole): saved before the first
// write and put back by an all-or-nothing recovery before the cut.
struct SavedBytes {
    std::size_t member = 0;   // index into kSectorMemberExtensions
    std::int64_t offset = 0;  // bytes from the member's start
    std::string bytes;
};

struct SectorJournal {
    JournalKind kind = JournalKind::AllOrNothing;
    // Bytes of "data/alpha.jnb", the saved bytes, written and synced before
    // the journal; 0 when the command overwrites nothing.
    std::int64_t savedBytesSize = 0;
    // WholeSystems: the run names every system it writes, so a system whose
    // name never reached the disk is not whole.
    bool namesEverySystem = false;
    // Bytes of each member before the command; -1 for a member that was not there.
    std::array<std::int64_t, kJournalMembers> sizes{};
    // Files the command writes beside the members for a step that follows
    // its commit (the campaign rows a merge carries), as what follows the
    // base name (".cmp"), so that a program started elsewhere finds them
    // just as it finds the members: an all-or-nothing undo removes them, so
    // the step never runs for a change that was undone.
    std::vector<std::string> madeFiles;
};

std::string sectorJournalPath(const std::string& baseName);
std::string savedBytesPath(const std::string& baseName);

// The sizes of the members as they are now.
std::array<std::int64_t, kJournalMembers> memberSizes(const std::string& baseName);

// Syncs the members that exist, and their folder: what is there now would
// survive a power cut.
void syncSectorMembers(const std::string& baseName);

// Writes the journal beside the sector, synced and in place before it
// returns (the members are synced first: the sizes it records are on disk).
// With `overwritten`, the saved bytes go to their own file first.
void writeSectorJournal(const std::string& baseName, const SectorJournal& journal,
                        const std::vector<SavedBytes>& overwritten = {});
// The journal, when there is one. IoError naming it when it cannot be read
// or is not a journal of this program.
std::optional<SectorJournal> readSectorJournal(const std::string& baseName);
// Removes the journal and syncs the folder: from here the command's work
// stands even through a power cut.
void removeSectorJournal(const std::string& baseName);

// Finishes what the journal's command left: cuts the members back as the
// journal's kind says, syncs them and removes the journal. Returns what was
// done, one line each; empty when there was no journal. Only with the
// sector's exclusive lock held.
std::vector<std::string> recoverSector(const std::string& baseName);

// A command's journal while it writes: written (with the members' sizes
// now) on construction, removed by commit() once every member is synced.
// Dropped without a commit (an error on the way), it recovers at once as
// the journal's kind says; should even that fail, the journal stays for the
// next program to finish. Only with the sector's exclusive lock held.
class JournalScope {
public:
    JournalScope(std::string baseName, JournalKind kind, bool namesEverySystem = false,
                 std::vector<std::string> madeFiles = {});
    // All or nothing, with what the command will overwrite in place saved
    // first.
    JournalScope(std::string baseName, const std::vector<SavedBytes>& overwritten);
    ~JournalScope();
    JournalScope(const JournalScope&) = delete;
    JournalScope& operator=(const JournalScope&) = delete;

    void commit();

private:
    std::string baseName_;
    bool done_ = false;
};

}  // namespace orrimar

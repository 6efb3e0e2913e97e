#include "records/sector_journal.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unordered_set>

#include <fcntl.h>
#include <unistd.h>

#include <fmt/format.h>

#include "common/errors.h"
#include "common/file_io.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/sector_tail.h"

namespace orrimar {

namespace {

namespace fs = std::filesystem;

constexpr const char* kJournalHeading = "Orrimar sector journal 1";

// Indices into kSectorMemberExtensions (".sun", ".pln", ".mon", ".aln",
// ".nam", ".col", ".con", ".emp", ".cmt").
enum Member : std::size_t { kSun, kPln, kMon, kAln, kNam, kCol, kCon, kEmp, kCmt };

static_assert(std::size(kSectorMemberExtensions) == kJournalMembers);

std::string memberPath(const std::string& baseName, std::size_t member) {
    return baseName + std::string(kSectorMemberExtensions[member]);
}

std::int64_t sizeOf(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<std::int64_t>(size);
}

// Records of `width` bytes in `bytes` (none for a missing member).
std::int64_t records(std::int64_t bytes, std::size_t width) {
    return bytes <= 0 ? 0 : bytes / static_cast<std::int64_t>(width);
}

// Cuts a member to `bytes` when it is longer, saying so.
void cutMember(const std::string& path, std::int64_t bytes, const char* why, std::vector<std::string>& done) {
    const std::int64_t size = sizeOf(path);
    if (size < 0 || size <= bytes) return;
    std::error_code ec;
    fs::resize_file(path, static_cast<std::uintmax_t>(bytes), ec);
    if (ec) throw ioErrorFromErrno(ec.value(), path);
    done.push_back(fmt::format("cut {} back from {} to {} bytes ({})", path, size, bytes, why));
}

// The saved bytes file: for each piece its member (1 byte), offset (8),
// length (4), little-endian, then the bytes.
std::string encodeSaved(const std::vector<SavedBytes>& pieces) {
    std::string out;
    const auto put = [&out](std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    for (const SavedBytes& piece : pieces) {
        put(piece.member, 1);
        put(static_cast<std::uint64_t>(piece.offset), 8);
        put(piece.bytes.size(), 4);
        out += piece.bytes;
    }
    return out;
}

std::vector<SavedBytes> decodeSaved(const std::string& path, const std::string& text) {
    std::vector<SavedBytes> pieces;
    std::size_t at = 0;
    const auto take = [&](std::size_t width) {
        if (text.size() - at < width) {
            throw IoError(fmt::format("{} ends inside a saved piece; the sector is left as it is", path));
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(text[at + i])) << (8 * i);
        }
        at += width;
        return value;
    };
    while (at < text.size()) {
        SavedBytes piece;
        piece.member = static_cast<std::size_t>(take(1));
        piece.offset = static_cast<std::int64_t>(take(8));
        const auto length = static_cast<std::size_t>(take(4));
        if (piece.member >= kJournalMembers || piece.offset < 0 || text.size() - at < length) {
            throw IoError(
                fmt::format("{} holds a piece this program did not write; the sector is left as it is", path));
        }
        piece.bytes = text.substr(at, length);
        at += length;
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ioErrorFromErrno(errno != 0 ? errno : EIO, path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes `text` to `path` and syncs it before returning.
void writeSynced(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw ioErrorFromErrno(errno, path);
    errno = 0;
    const bool written = writeAll(fd, text.data(), text.size()) == text.size() && ::fsync(fd) == 0;
    const int err = errno != 0 ? errno : EIO;
    ::close(fd);
    if (!written) throw ioErrorFromErrno(err, path);
}

// Puts back what the command overwrote, before the members are cut back.
void restoreSaved(const std::string& baseName, const SectorJournal& journal, std::vector<std::string>& done) {
    if (journal.savedBytesSize == 0) return;
    const std::string path = savedBytesPath(baseName);
    const std::string text = readWhole(path);
    if (static_cast<std::int64_t>(text.size()) != journal.savedBytesSize) {
        throw IoError(fmt::format("{} holds {} bytes, its journal says {}; the sector is left as it is", path,
                                  text.size(), journal.savedBytesSize));
    }
    std::array<std::int64_t, kJournalMembers> restored{};
    for (const SavedBytes& piece : decodeSaved(path, text)) {
        const std::string member = memberPath(baseName, piece.member);
        const int fd = ::open(member.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) throw ioErrorFromErrno(errno, member);
        const bool written = writeAllAt(fd, piece.bytes.data(), piece.bytes.size(), piece.offset) == piece.bytes.size();
        const int err = errno;
        ::close(fd);
        if (!written) throw ioErrorFromErrno(err, member);
        restored[piece.member] += static_cast<std::int64_t>(piece.bytes.size());
    }
    for (std::size_t m = 0; m < kJournalMembers; ++m) {
        if (restored[m] > 0) {
            done.push_back(fmt::format("put back {} bytes of {} (an interrupted change, undone whole)", restored[m],
                                       memberPath(baseName, m)));
        }
    }
}

void recoverAllOrNothing(const std::string& baseName, const SectorJournal& journal, std::vector<std::string>& done) {
    restoreSaved(baseName, journal, done);
    for (std::size_t m = 0; m < kJournalMembers; ++m) {
        const std::string path = memberPath(baseName, m);
        if (journal.sizes[m] < 0) {
            // Made by the interrupted command itself: nothing was there.
            std::error_code ec;
            if (fs::remove(path, ec)) done.push_back(fmt::format("removed {} (an interrupted change made it)", path));
            continue;
        }
        cutMember(path, journal.sizes[m], "an interrupted change, undone whole", done);
    }
    for (const std::string& suffix : journal.madeFiles) {
        const std::string made = baseName + suffix;
        std::error_code ec;
        if (fs::remove(made, ec)) done.push_back(fmt::format("removed {} (an interrupted change made it)", made));
        if (ec) throw ioErrorFromErrno(ec.value(), made);
    }
}

// The first system from `from` on (below `end`) that no system name record
// after record `namesFrom` names: where a naming run's whole systems end.
std::int64_t firstUnnamedSystem(const std::string& baseName, std::int64_t namesFrom, std::int64_t from,
                                std::int64_t end) {
    RecordReader<TNameRec> names(memberPath(baseName, kNam), IfMissing::Empty);
    std::unordered_set<std::int64_t> named;
    for (std::int64_t id = std::max<std::int64_t>(namesFrom, 1); id < names.count(); ++id) {
        const TNameRec rec = names.read(id);
        // Kind 1 names a system.
        if (rec.kind == 1 && rec.value >= from) named.insert(rec.value);
    }
    for (std::int64_t s = from; s < end; ++s) {
        if (!named.contains(s)) return s;
    }
    return end;
}

void recoverWholeSystems(const std::string& baseName, const SectorJournal& journal, std::vector<std::string>& done) {
    const SectorExtent before{
        records(journal.sizes[kSun], sizeof(TSystemRec)), records(journal.sizes[kPln], sizeof(TPlanetRec)),
        records(journal.sizes[kMon], sizeof(TMoonRec)), records(journal.sizes[kAln], sizeof(TAlienRec))};
    const std::int64_t namesBefore = records(journal.sizes[kNam], sizeof(TNameRec));
    SectorTail tail = FindLastWholeSystem(baseName, before);
    if (journal.namesEverySystem) {
        const std::int64_t named = firstUnnamedSystem(baseName, namesBefore, before.systems, tail.whole.systems);
        if (named < tail.whole.systems) tail = FindLastWholeSystem(baseName, before, named);
    }
    const SectorExtent& keep = tail.whole;
    const char* why = "the last whole system of an interrupted run";
    // What refers goes before what is referred to, as a cut stopped half-way
    // must still leave a sector that reads.
    const std::int64_t names = FirstNameRecordPast(baseName, keep, namesBefore);
    cutMember(memberPath(baseName, kNam), names * static_cast<std::int64_t>(sizeof(TNameRec)), why, done);
    cutMember(memberPath(baseName, kSun), keep.systems * static_cast<std::int64_t>(sizeof(TSystemRec)), why, done);
    cutMember(memberPath(baseName, kPln), keep.planets * static_cast<std::int64_t>(sizeof(TPlanetRec)), why, done);
    cutMember(memberPath(baseName, kMon), keep.moons * static_cast<std::int64_t>(sizeof(TMoonRec)), why, done);
    cutMember(memberPath(baseName, kAln), keep.races * static_cast<std::int64_t>(sizeof(TAlienRec)), why, done);
    // A run adds nothing to the settled layer.
    for (const std::size_t m : {kCol, kCon, kEmp}) {
        if (journal.sizes[m] >= 0) cutMember(memberPath(baseName, m), journal.sizes[m], why, done);
    }
}

SectorJournal parseJournal(const std::string& path, const std::string& text) {
    const auto bad = [&](const std::string& why) {
        return IoError(
            fmt::format("{} is not a journal this program can read ({}); the sector is left as it is. "
                        "Move it aside and run \"orrimar-cli repair\" on the sector",
                        path, why));
    };
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kJournalHeading) throw bad("unknown heading");
    SectorJournal journal;
    bool sawKind = false;
    bool sawEnd = false;
    std::array<bool, kJournalMembers> seen{};
    while (std::getline(in, line)) {
        if (line == "end") {
            sawEnd = true;
            break;
        }
        const auto space = line.find(' ');
        if (space == std::string::npos) throw bad(fmt::format("line '{}'", line));
        const std::string key = line.substr(0, space);
        const std::string value = line.substr(space + 1);
        if (key == "kind") {
            if (value == "all-or-nothing") {
                journal.kind = JournalKind::AllOrNothing;
            } else if (value == "whole-systems") {
                journal.kind = JournalKind::WholeSystems;
            } else {
                throw bad(fmt::format("kind '{}'", value));
            }
            sawKind = true;
            continue;
        }
        if (key == "saved") {
            try {
                journal.savedBytesSize = std::stoll(value);
            } catch (const std::logic_error&) {
                throw bad(fmt::format("saved '{}'", value));
            }
            if (journal.savedBytesSize < 0) throw bad(fmt::format("saved '{}'", value));
            continue;
        }
        if (key == "names") {
            journal.namesEverySystem = value == "yes";
            continue;
        }
        if (key == "made") {
            if (value.empty() || value.find('/') != std::string::npos) throw bad(fmt::format("line '{}'", line));
            journal.madeFiles.push_back(value);
            continue;
        }
        const auto member = std::find(std::begin(kSectorMemberExtensions), std::end(kSectorMemberExtensions), key);
        if (member == std::end(kSectorMemberExtensions)) throw bad(fmt::format("line '{}'", line));
        std::int64_t size = 0;
        try {
            std::size_t used = 0;
            size = std::stoll(value, &used);
            if (used != value.size() || size < -1) throw bad(fmt::format("size '{}'", value));
        } catch (const std::logic_error&) {
            throw bad(fmt::format("size '{}'", value));
        }
        const auto index = static_cast<std::size_t>(member - std::begin(kSectorMemberExtensions));
        journal.sizes[index] = size;
        seen[index] = true;
    }
    if (!sawKind || !sawEnd || !std::all_of(seen.begin(), seen.end(), [](bool b) { return b; })) {
        throw bad("incomplete");
    }
    return journal;
}

}  // namespace

std::string sectorJournalPath(const std::string& baseName) { return baseName + ".jnl"; }
std::string savedBytesPath(const std::string& baseName) { return baseName + ".jnb"; }

namespace {
// A journal being written, renamed into place once whole.
std::string journalPartPath(const std::string& baseName) { return baseName + ".jnt"; }
}  // namespace

std::array<std::int64_t, kJournalMembers> memberSizes(const std::string& baseName) {
    std::array<std::int64_t, kJournalMembers> sizes{};
    for (std::size_t m = 0; m < kJournalMembers; ++m) sizes[m] = sizeOf(memberPath(baseName, m));
    return sizes;
}

void syncSectorMembers(const std::string& baseName) {
    for (std::size_t m = 0; m < kJournalMembers; ++m) {
        const std::string path = memberPath(baseName, m);
        if (sizeOf(path) >= 0) syncFile(path);
    }
    syncFolderOf(baseName);
}

void writeSectorJournal(const std::string& baseName, const SectorJournal& given,
                        const std::vector<SavedBytes>& overwritten) {
    syncSectorMembers(baseName);
    SectorJournal journal = given;
    if (!overwritten.empty()) {
        // Whole on disk before the journal that points at it.
        const std::string saved = encodeSaved(overwritten);
        try {
            writeSynced(savedBytesPath(baseName), saved);
        } catch (const OrrError&) {
            // Half-written saved bytes name nothing: no member was touched yet.
            std::error_code ec;
            fs::remove(savedBytesPath(baseName), ec);
            throw;
        }
        journal.savedBytesSize = static_cast<std::int64_t>(saved.size());
    }
    std::string text = fmt::format("{}\nkind {}\nnames {}\n", kJournalHeading,
                                   journal.kind == JournalKind::AllOrNothing ? "all-or-nothing" : "whole-systems",
                                   journal.namesEverySystem ? "yes" : "no");
    if (journal.savedBytesSize > 0) text += fmt::format("saved {}\n", journal.savedBytesSize);
    for (std::size_t m = 0; m < kJournalMembers; ++m) {
        text += fmt::format("{} {}\n", kSectorMemberExtensions[m], journal.sizes[m]);
    }
    for (const std::string& made : journal.madeFiles) {
        // One line each, and beside the sector: an undo removes nothing elsewhere.
        if (made.empty() || made.find_first_of("\r\n/") != std::string::npos) {
            throw InputError(fmt::format("A file beside the sector cannot be named \"{}\" in its journal", made));
        }
        text += fmt::format("made {}\n", made);
    }
    text += "end\n";
    // Written whole beside its place, synced, then renamed: a journal is
    // either whole or absent. ".jnt" rather than ".jnl.part": four letters
    // after the dot, so that every name a sector may have fits.
    const std::string path = sectorJournalPath(baseName);
    const std::string part = journalPartPath(baseName);
    const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw ioErrorFromErrno(errno, part);
    errno = 0;
    const bool written = writeAll(fd, text.data(), text.size()) == text.size() && ::fsync(fd) == 0;
    const int err = errno != 0 ? errno : EIO;
    ::close(fd);
    if (!written || renameFile(part, path) != 0) {
        const int failed = written ? errno : err;
        ::unlink(part.c_str());
        ::unlink(savedBytesPath(baseName).c_str());
        throw ioErrorFromErrno(failed, path);
    }
    syncFolderOf(path);
}

std::optional<SectorJournal> readSectorJournal(const std::string& baseName) {
    const std::string path = sectorJournalPath(baseName);
    if (sizeOf(path) < 0) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ioErrorFromErrno(errno != 0 ? errno : EIO, path);
    std::ostringstream text;
    text << in.rdbuf();
    return parseJournal(path, text.str());
}

void removeSectorJournal(const std::string& baseName) {
    const std::string path = sectorJournalPath(baseName);
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) throw ioErrorFromErrno(ec.value(), path);
    syncFolderOf(path);
    // Only once the journal is gone: without it the saved bytes mean nothing.
    fs::remove(savedBytesPath(baseName), ec);
}

std::vector<std::string> recoverSector(const std::string& baseName) {
    std::vector<std::string> done;
    const std::optional<SectorJournal> journal = readSectorJournal(baseName);
    if (!journal) {
        // Saved bytes or a journal half-written, without the journal: the
        // command stopped before its journal was down, so before its first
        // write. They mean nothing.
        for (const std::string& stray : {savedBytesPath(baseName), journalPartPath(baseName)}) {
            std::error_code ec;
            if (fs::remove(stray, ec)) {
                done.push_back(fmt::format("removed {} (an interrupted change left it before it began)", stray));
            }
        }
        return done;
    }
    if (journal->kind == JournalKind::AllOrNothing) {
        recoverAllOrNothing(baseName, *journal, done);
    } else {
        recoverWholeSystems(baseName, *journal, done);
    }
    syncSectorMembers(baseName);
    removeSectorJournal(baseName);
    return done;
}

JournalScope::JournalScope(std::string baseName, JournalKind kind, bool namesEverySystem,
                           std::vector<std::string> madeFiles)
    : baseName_(std::move(baseName)) {
    SectorJournal journal;
    journal.kind = kind;
    journal.namesEverySystem = namesEverySystem;
    journal.madeFiles = std::move(madeFiles);
    journal.sizes = memberSizes(baseName_);
    writeSectorJournal(baseName_, journal);
}

JournalScope::JournalScope(std::string baseName, const std::vector<SavedBytes>& overwritten)
    : baseName_(std::move(baseName)) {
    SectorJournal journal;
    journal.kind = JournalKind::AllOrNothing;
    journal.sizes = memberSizes(baseName_);
    writeSectorJournal(baseName_, journal, overwritten);
}

JournalScope::~JournalScope() {
    if (done_) return;
    try {
        recoverSector(baseName_);
    } catch (...) {
        // Left for the next program that takes the lock: the journal stays.
    }
}

void JournalScope::commit() {
    syncSectorMembers(baseName_);
    removeSectorJournal(baseName_);
    done_ = true;
}

}  // namespace orrimar

#include "tools/sector_repair.h"

#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "common/file_io.h"
#include "common/errors.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/sector_journal.h"
#include "records/sector_lock.h"
#include "tools/sector_check.h"

namespace orrimar {

namespace {

namespace fs = std::filesystem;

bool exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::int64_t fileSize(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<std::int64_t>(size);
}

void cutTo(const std::string& path, std::int64_t bytes) {
    std::error_code ec;
    fs::resize_file(path, static_cast<std::uintmax_t>(bytes), ec);
    if (ec) throw ioErrorFromErrno(ec.value(), path);
}

// Cuts a family's file to `keep` records, saying what went.
void cutFamily(const std::string& path, std::size_t recordSize, std::int64_t keep, const char* what,
               std::vector<std::string>& actions) {
    const std::int64_t size = fileSize(path);
    if (size < 0) return;
    const auto width = static_cast<std::int64_t>(recordSize);
    const std::int64_t whole = size / width;
    if (size == keep * width) return;
    cutTo(path, keep * width);
    if (whole > keep) {
        actions.push_back(fmt::format("removed {} {} ({} {}..{})", whole - keep, what, path, keep, whole - 1));
    }
    if (size % width != 0) actions.push_back(fmt::format("removed a torn record of {} bytes ({})", size % width, path));
}

// A side member: created empty when missing, a torn record cut off its end.
void mendSideFile(const std::string& path, std::size_t recordSize, std::vector<std::string>& actions) {
    const std::int64_t size = fileSize(path);
    if (size < 0) {
        AtomicOutputFile file(path);
        file.commit();
        actions.push_back(fmt::format("restored the missing empty file {}", path));
        return;
    }
    const auto width = static_cast<std::int64_t>(recordSize);
    if (recordSize != 0 && size % width != 0) {
        cutTo(path, size - size % width);
        actions.push_back(fmt::format("removed a torn record of {} bytes ({})", size % width, path));
    }
}

// Name records of systems, worlds and races cut away, and zeroed records
// at the file's end, go with them.
void cutNames(const std::string& baseName, const SectorExtent& kept, std::vector<std::string>& actions) {
    const std::string path = sectorPath(baseName, ".nam");
    const std::int64_t size = fileSize(path);
    const auto width = static_cast<std::int64_t>(sizeof(TNameRec));
    if (size < width) return;  // mendNameFile writes the header
    const std::int64_t keep = FirstNameRecordPast(baseName, kept, 1);
    if (keep * width >= size) return;
    cutTo(path, keep * width);
    if (size / width > keep) {
        actions.push_back(fmt::format("removed {} name records of what was cut away or zeroed ({} {}..{})",
                                      size / width - keep, path, keep, size / width - 1));
    }
    if (size % width != 0) actions.push_back(fmt::format("removed a torn record of {} bytes ({})", size % width, path));
}

// The name file: its header written when a stopped create left none.
void mendNameFile(const std::string& baseName, std::vector<std::string>& actions) {
    const std::string path = sectorPath(baseName, ".nam");
    const std::int64_t size = fileSize(path);
    const auto width = static_cast<std::int64_t>(sizeof(TNameRec));
    if (size >= width) {
        mendSideFile(path, sizeof(TNameRec), actions);
        return;
    }
    // No whole header: the sector is named after its base name, as the
    // logs name a sector without one.
    std::string name = fs::path(baseName).filename().string();
    if (name.empty()) name = baseName;
    createNameFile(path, name);
    // The header holds at most 50 characters of the name.
    actions.push_back(fmt::format("wrote the missing name header \"{}\" ({})", name.substr(0, 50), path));
}

}  // namespace

SectorRepair RepairSector(const std::string& givenBase) {
    const std::string baseName = sectorBaseName(givenBase);
    requireFolderFor(baseName);
    // Taking the lock finishes an interrupted command from its journal
    // (a merge undone whole, a run cut to its last whole system).
    const SectorLock lock = SectorLock::forChange(baseName);
    SectorRepair repair;
    repair.actions = lock.recovered();

    const SectorTail tail = FindLastWholeSystem(baseName);
    repair.before = tail.onDisk;
    repair.after = tail.whole;

    // A stopped write or a power cut leaves systems past the last whole one
    // that name only records past it: cut away. A system in the middle that
    // names records which are not there is damage, and cutting would lose
    // the systems after it.
    if (!tail.tailOnly) {
        throw DamagedSectorError(
            baseName,
            {fmt::format("system {} names records missing from the disk, and {} systems follow it that name records "
                         "before it: damage worse than a torn tail, not an interrupted write; repair would lose them",
                         tail.whole.systems, tail.onDisk.systems - tail.whole.systems - 1)},
            false);
    }
    // Raises MissingError when there is no sector at all.
    const SectorCheckReport kept = CheckSectorPrefix(baseName, tail.whole);
    if (!kept.sound()) {
        std::vector<std::string> problems = kept.problems;
        problems.insert(problems.begin(), "problems within the whole systems, worse than a torn tail:");
        throw DamagedSectorError(baseName, std::move(problems), false);
    }

    // Names of what is cut go first: what refers before what is referred to.
    cutNames(baseName, tail.whole, repair.actions);
    cutFamily(sectorPath(baseName, ".sun"), sizeof(TSystemRec), tail.whole.systems, "systems", repair.actions);
    cutFamily(sectorPath(baseName, ".pln"), sizeof(TPlanetRec), tail.whole.planets, "planets", repair.actions);
    cutFamily(sectorPath(baseName, ".mon"), sizeof(TMoonRec), tail.whole.moons, "moons", repair.actions);
    cutFamily(sectorPath(baseName, ".aln"), sizeof(TAlienRec), tail.whole.races, "races", repair.actions);
    for (const char* ext : {".sun", ".pln", ".mon", ".aln"}) {
        if (!exists(sectorPath(baseName, ext))) mendSideFile(sectorPath(baseName, ext), 0, repair.actions);
    }
    mendNameFile(baseName, repair.actions);
    mendSideFile(sectorPath(baseName, ".col"), sizeof(TColonyRec), repair.actions);
    mendSideFile(sectorPath(baseName, ".con"), sizeof(TConRec), repair.actions);
    mendSideFile(sectorPath(baseName, ".emp"), sizeof(TEmpireRec), repair.actions);
    mendSideFile(sectorPath(baseName, ".cmt"), 0, repair.actions);
    // Done only once it would survive a power cut.
    syncSectorMembers(baseName);
    return repair;
}

}  // namespace orrimar

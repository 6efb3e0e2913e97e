// The merge runs in two phases. Everything that can be known in advance is
// checked first (files present and whole, the main sector whole at its end,
// every cross-reference of the added sector, every renumbered id in range),
// so that a refused merge touches nothing; then the records are appended.
// Should a write still fail, the main sector's files are cut back to their
// sizes before the merge, so a sector is never left half-merged.
#include "tools/merger.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fmt/format.h>

#include "campaign/campaign_merge.h"
#include "common/errors.h"
#include "records/cell_occupancy.h"
#include "records/id_renumbering.h"
#include "common/file_io.h"
#include "records/sector_base.h"
#include "records/record_codec.h"
#include "records/record_file.h"
#include "records/record_reader.h"
#include "records/record_validation.h"
#include "records/records.h"
#include "records/sector_journal.h"
#include "records/sector_lock.h"
#include "records/sector_tail.h"
#include "tools/merge_names.h"

namespace orrimar {

namespace {

namespace fs = std::filesystem;
using Mode = RawRecordFile::Mode;

constexpr std::array<const char*, 9> kMemberExtensions = {".sun", ".pln", ".mon", ".aln", ".nam",
                                                          ".col", ".con", ".emp", ".cmt"};

// Appending a sector to itself would read records while appending them.
void refuseSelfMerge(const std::string& mainBase, const std::string& addedBase) {
    bool same = mainBase == addedBase;
    for (const char* ext : kMemberExtensions) {
        std::error_code ec;
        if (fs::equivalent(mainBase + ext, addedBase + ext, ec) && !ec) same = true;
    }
    if (same) {
        throw InputError(fmt::format("A sector cannot be merged into itself ({} and {})", mainBase, addedBase));
    }
}

void requireWholeRecords(bool hasPartialRecord, const std::string& path, std::size_t recordSize) {
    if (hasPartialRecord) {
        throw IoError(fmt::format("Damaged sector file: its size is not a whole number of {}-byte records ({})",
                                  recordSize, path));
    }
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr openFile(const std::string& path, const char* how) {
    FilePtr file(std::fopen(path.c_str(), how));
    if (!file) throw ioErrorFromErrno(errno, path);
    return file;
}

// The lines of a comment file. A line ends at CR LF, LF or CR; a last line
// without an end is still a line; an empty file has none.
std::vector<std::string> readCommentLines(const std::string& path) {
    FilePtr file = openFile(path, "rb");
    std::string text;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) text.append(chunk, got);
    if (std::ferror(file.get())) throw ioErrorFromErrno(errno != 0 ? errno : EIO, path);

    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The main comment file, opened for appending; it must already exist.
struct MainComments {
    std::string path;
    int fd = -1;
    off_t size = 0;         // bytes before the merge
    bool endsOpen = false;  // its last line has no line end yet

    explicit MainComments(std::string p) : path(std::move(p)) {
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) throw ioErrorFromErrno(errno, path);
        struct stat info {};
        if (::fstat(fd, &info) != 0) fail(errno);
        size = info.st_size;
        if (size > 0) {
            char last = 0;
            if (::pread(fd, &last, 1, size - 1) != 1) fail(errno != 0 ? errno : EIO);
            endsOpen = last != '\n' && last != '\r';
        }
    }
    ~MainComments() { release(); }
    MainComments(const MainComments&) = delete;
    MainComments& operator=(const MainComments&) = delete;

    [[noreturn]] void fail(int err) {
        release();
        throw ioErrorFromErrno(err, path);
    }

    void release() noexcept {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }

    void append(const std::vector<std::string>& lines) {
        if (lines.empty()) return;
        std::string text;
        // The added lines start on a line of their own.
        if (endsOpen) text += "\r\n";
        for (const auto& line : lines) {
            text += line;
            text += "\r\n";
        }
        if (writeAllAt(fd, text.data(), text.size(), size) != text.size()) throw ioErrorFromErrno(errno, path);
    }

    void close() {
        const int f = fd;
        fd = -1;
        if (f >= 0 && ::close(f) != 0) throw ioErrorFromErrno(errno, path);
    }

    // Back to its size before the merge, by path, whatever state the handle is in.
    void rollBack() noexcept {
        release();
        std::error_code ec;
        fs::resize_file(path, static_cast<std::uintmax_t>(size), ec);
    }
};

// The settled layer (colonies, control, empires): a sector from before it
// may lack a member; what is missing holds nothing, and the main sector
// gets the member back (empty, as generation makes it) to carry into.
struct OptionalMember {};

// One kind of record: the main file that grows and the added file it copies.
template <typename T>
struct Family {
    RecordFile<T> main;
    // Read twice in file order, once to check and once to copy.
    RecordReader<T> added;
    std::int64_t mainCount = 0;

    Family(const std::string& mainBase, const std::string& addedBase, const char* ext)
        : main(mainBase + ext, Mode::OpenExisting), added(addedBase + ext) {}

    Family(const std::string& mainBase, const std::string& addedBase, const char* ext, OptionalMember)
        : main(mainBase + ext, fs::exists(mainBase + ext) ? Mode::OpenExisting : Mode::Create),
          added(addedBase + ext, IfMissing::Empty) {}

    void checkWhole() const {
        requireWholeRecords(main.hasPartialRecord(), main.path(), sizeof(T));
        requireWholeRecords(added.hasPartialRecord(), added.path(), sizeof(T));
    }

    // Every added record is sound in its own sector (ids, codes, figures:
    // what the readers of the merged sector will trust) and renumbers
    // within its fields.
    template <typename Renumber>
    void check(Renumber renumber, const MergeOffsets& offsets, const SectorCounts& addedCounts) {
        added.forEach([&](std::int64_t k, const T& record) {
            requireSound(record, addedCounts, added.path(), k);
            try {
                (void)renumber(record, offsets);
            } catch (const RangeError& e) {
                throw RangeError(fmt::format("{} in record {} of {}", e.what(), k, added.path()));
            }
        });
    }

    template <typename Renumber>
    void copy(Renumber renumber, const MergeOffsets& offsets) {
        added.forEach([&](std::int64_t, const T& record) { main.append(renumber(record, offsets)); });
        main.flush();
    }

    // Drops what was appended (buffered or written), closes the main file
    // without reporting, and makes sure by its path that it is back to its
    // size before the merge even if the file could not be cut through its
    // handle.
    void rollBack() noexcept {
        try {
            main.truncate(mainCount);
        } catch (...) {
        }
        try {
            main.close();
        } catch (...) {
        }
        std::error_code ec;
        fs::resize_file(main.path(), static_cast<std::uintmax_t>(mainCount) * sizeof(T), ec);
    }
};

}  // namespace

MergeResult MergeSectors(const std::string& givenMain, const std::string& givenAdded) {
    const std::string mainBase = sectorBaseName(givenMain);
    const std::string addedBase = sectorBaseName(givenAdded);
    refuseSelfMerge(mainBase, addedBase);
    requireFolderFor(mainBase);
    requireFolderFor(addedBase);
    // The main sector changes, the added one is only read: both are held
    // from before their counts are read until the merge is synced. Taken in
    // the order of their names, so two merges of the same pair the other
    // way round wait for each other instead of each holding one.
    SectorLock mainLock;
    SectorLock addedLock;
    if (mainBase < addedBase) {
        mainLock = SectorLock::forChange(mainBase);
        addedLock = SectorLock::forReading(addedBase);
    } else {
        addedLock = SectorLock::forReading(addedBase);
        mainLock = SectorLock::forChange(mainBase);
    }
    requireSector(mainBase);
    requireSector(addedBase);
    // A merge before this one may have left its carried campaign rows for
    // the next program: they go in before this merge counts anything.
    finishCarriedCampaignRows(mainBase);

    // Opened in the order main, added for each kind: systems, planets,
    // races, moons. Any missing member stops the merge here.
    Family<TSystemRec> systems(mainBase, addedBase, ".sun");
    Family<TPlanetRec> planets(mainBase, addedBase, ".pln");
    Family<TAlienRec> races(mainBase, addedBase, ".aln");
    Family<TMoonRec> moons(mainBase, addedBase, ".mon");
    Family<TColonyRec> colonies(mainBase, addedBase, ".col", OptionalMember{});
    Family<TConRec> control(mainBase, addedBase, ".con", OptionalMember{});
    Family<TEmpireRec> empires(mainBase, addedBase, ".emp", OptionalMember{});
    MergeNames names(mainBase, addedBase);
    MainComments mainComments(mainBase + ".cmt");
    const std::vector<std::string> addedComments = readCommentLines(addedBase + ".cmt");

    // The main sector must end whole (a cheap look at its tail: appending
    // after a torn tail would bury the damage), and the added one, read
    // whole anyway, must be sound through and through.
    RequireWholeSectorTail(mainBase);
    if (std::vector<std::string> problems = SectorReferenceProblems(addedBase); !problems.empty()) {
        const bool torn = !SectorTailProblems(addedBase).empty();
        throw DamagedSectorError(addedBase, std::move(problems), torn);
    }

    systems.checkWhole();
    planets.checkWhole();
    races.checkWhole();
    moons.checkWhole();
    colonies.checkWhole();
    control.checkWhole();
    empires.checkWhole();

    systems.mainCount = systems.main.count();
    planets.mainCount = planets.main.count();
    moons.mainCount = moons.main.count();
    races.mainCount = races.main.count();
    colonies.mainCount = colonies.main.count();
    control.mainCount = control.main.count();
    empires.mainCount = empires.main.count();
    const MergeOffsets offsets{systems.mainCount, planets.mainCount, moons.mainCount, races.mainCount};

    const SectorCounts addedCounts{systems.added.count(), planets.added.count(), moons.added.count(),
                                   races.added.count()};
    systems.check(renumberSystem, offsets, addedCounts);
    planets.check(renumberPlanet, offsets, addedCounts);
    moons.check(renumberMoon, offsets, addedCounts);
    races.check(renumberAlien, offsets, addedCounts);
    colonies.check(renumberColony, offsets, addedCounts);
    control.check(renumberControl, offsets, addedCounts);
    empires.check(renumberEmpire, offsets, addedCounts);
    names.check(offsets);
    // The campaign rows move with the records they speak of, colonies and
    // empires past the main sector's own as the settled layer's records do.
    const CarriedCampaignRows campaign =
        readCarriedCampaignRows(addedBase, CampaignOffsets{offsets.systems, offsets.planets, offsets.moons,
                                                           offsets.races, colonies.mainCount, empires.mainCount});
    MergeResult result;
    result.doubledCells = DoubledCellsOnMerge(mainBase, addedBase);

    // From here a merge is all or nothing, even through a kill or a power
    // cut: the journal holds the main sector's sizes until all is synced.
    // The carried campaign rows are made under it, so that its undo takes
    // them away with the records.
    JournalScope journal(mainBase, JournalKind::AllOrNothing, false,
                         campaign.empty() ? std::vector<std::string>{}
                                          : std::vector<std::string>{kCarriedRowsSuffix, kCarriedRowsPartSuffix});
    try {
        // What is referenced reaches the disk before what refers to it, so
        // that a merge stopped part-way leaves the main sector whole plus
        // records no system names yet (which repair cuts away). Families
        // that name systems or planets (names) go after the systems.
        races.copy(renumberAlien, offsets);
        moons.copy(renumberMoon, offsets);
        planets.copy(renumberPlanet, offsets);
        systems.copy(renumberSystem, offsets);
        // The settled layer names worlds, races and systems.
        colonies.copy(renumberColony, offsets);
        control.copy(renumberControl, offsets);
        empires.copy(renumberEmpire, offsets);
        // Names after what they name.
        names.copy(offsets);
        mainComments.append(addedComments);
        systems.main.close();
        planets.main.close();
        moons.main.close();
        races.main.close();
        colonies.main.close();
        control.main.close();
        empires.main.close();
        names.close();
        mainComments.close();
        writeCarriedCampaignRows(mainBase, campaign);
        journal.commit();
    } catch (...) {
        systems.rollBack();
        planets.rollBack();
        moons.rollBack();
        races.rollBack();
        colonies.rollBack();
        control.rollBack();
        empires.rollBack();
        names.rollBack();
        mainComments.rollBack();
        throw;
    }
    // The merge stands from the commit on; should the campaign file refuse
    // the rows now, they wait beside the sector for the next reader.
    try {
        finishCarriedCampaignRows(mainBase);
    } catch (const OrrError& e) {
        result.campaignWaiting = e.what();
    }
    return result;
}

}  // namespace orrimar

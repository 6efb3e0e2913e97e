#include "records/sector_files.h"

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include <fmt/format.h>

#include "records/sector_base.h"

namespace orrimar {

namespace {

namespace fs = std::filesystem;
using Mode = RawRecordFile::Mode;

// Committed systems are written once this much has gathered in the buffers.
constexpr std::size_t kBatchBytes = 256 * 1024;

// Left beside a sector by other programs and stale once the set is made
// afresh.
constexpr const char* kStaleSiblings[] = {".aln1", ".csv", "_RP.csv"};

// Every member of the set, record files and the comment file.
constexpr const char* kMembers[] = {".sun", ".pln", ".mon", ".aln", ".nam", ".col", ".con", ".emp", ".cmt"};

// Creates (or truncates) a file and leaves it empty.
void createEmptyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw ioErrorFromErrno(errno, path);
    if (::close(fd) != 0) throw ioErrorFromErrno(errno, path);
}

bool exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

template <typename T>
std::unique_ptr<RecordFile<T>> openOrCreate(const std::string& path) {
    return std::make_unique<RecordFile<T>>(path, exists(path) ? Mode::OpenExisting : Mode::Create);
}

}  // namespace

// The name file of a new sector holds exactly its header record.
void createNameFile(const std::string& path, const std::string& sectorName) {
    RecordFile<TNameRec> names(path, RawRecordFile::Mode::Create);
    TNameRec header;
    header.kind = 0;
    header.value = 8;
    header.name.assign(sectorName);
    names.append(header);
    names.close();
}

std::string sectorPath(const std::string& baseName, const char* extension) { return baseName + extension; }

std::unique_ptr<SectorFiles> SectorFiles::create(const std::string& baseName, const std::string& sectorName) {
    std::unique_ptr<SectorFiles> files(new SectorFiles());
    files->baseName_ = baseName;
    files->planets_ = std::make_unique<RecordFile<TPlanetRec>>(sectorPath(baseName, ".pln"), Mode::Create);
    files->moons_ = std::make_unique<RecordFile<TMoonRec>>(sectorPath(baseName, ".mon"), Mode::Create);
    files->systems_ = std::make_unique<RecordFile<TSystemRec>>(sectorPath(baseName, ".sun"), Mode::Create);
    files->aliens_ = std::make_unique<RecordFile<TAlienRec>>(sectorPath(baseName, ".aln"), Mode::Create);
    createEmptyFile(sectorPath(baseName, ".cmt"));
    createNameFile(sectorPath(baseName, ".nam"), sectorName);
    createEmptyFile(sectorPath(baseName, ".con"));
    createEmptyFile(sectorPath(baseName, ".col"));
    createEmptyFile(sectorPath(baseName, ".emp"));
    for (const char* sibling : kStaleSiblings) {
        // A sibling that cannot be removed is left; generation never reads it.
        std::error_code ec;
        fs::remove(sectorPath(baseName, sibling), ec);
    }
    files->holdWrites();
    return files;
}

std::unique_ptr<SectorFiles> SectorFiles::append(const std::string& baseName, const std::string& sectorName) {
    bool anyMember = false;
    for (const char* ext : kMembers) anyMember = anyMember || exists(sectorPath(baseName, ext));
    if (!anyMember) return create(baseName, sectorName);

    // Planets, moons and races of existing systems would lose their owners'
    // references: refuse rather than start those files afresh.
    const std::string systemPath = sectorPath(baseName, ".sun");
    const std::int64_t systemCount = recordCountOnDisk(systemPath, sizeof(TSystemRec));
    if (systemCount > 0) {
        for (const char* ext : {".pln", ".mon", ".aln"}) {
            const std::string path = sectorPath(baseName, ext);
            if (!exists(path)) {
                throw IoError(fmt::format("Damaged sector: {} is missing while {} holds {} systems", path, systemPath,
                                          groupedCount(systemCount)));
            }
        }
    }

    std::unique_ptr<SectorFiles> files(new SectorFiles());
    files->baseName_ = baseName;
    files->planets_ = openOrCreate<TPlanetRec>(sectorPath(baseName, ".pln"));
    files->moons_ = openOrCreate<TMoonRec>(sectorPath(baseName, ".mon"));
    files->systems_ = openOrCreate<TSystemRec>(systemPath);
    files->aliens_ = openOrCreate<TAlienRec>(sectorPath(baseName, ".aln"));
    // Missing side members are made empty; existing ones are left as they are.
    if (!exists(sectorPath(baseName, ".nam"))) createNameFile(sectorPath(baseName, ".nam"), sectorName);
    for (const char* ext : {".cmt", ".con", ".col", ".emp"}) {
        const std::string path = sectorPath(baseName, ext);
        if (!exists(path)) createEmptyFile(path);
    }
    files->holdWrites();
    return files;
}

SectorFiles::~SectorFiles() {
    try {
        close();
    } catch (...) {
    }
}

void SectorFiles::holdWrites() {
    systems_->setAutoFlush(false);
    planets_->setAutoFlush(false);
    moons_->setAutoFlush(false);
    aliens_->setAutoFlush(false);
    markCounts(mark_);
    markCounts(durable_);
    open_ = true;
}

void SectorFiles::markCounts(std::int64_t (&into)[4]) const {
    into[0] = systems_->count();
    into[1] = planets_->count();
    into[2] = moons_->count();
    into[3] = aliens_->count();
}

void SectorFiles::cutBackTo(const std::int64_t (&counts)[4]) noexcept {
    // Each file separately: one failing cut must not stop the others.
    auto cut = [](auto& file, std::int64_t keep) {
        try {
            if (keep < file.count()) file.truncate(keep);
        } catch (...) {
        }
    };
    cut(*systems_, counts[0]);
    cut(*planets_, counts[1]);
    cut(*moons_, counts[2]);
    cut(*aliens_, counts[3]);
}

void SectorFiles::beginSystem() { markCounts(mark_); }

void SectorFiles::commitSystem() {
    markCounts(mark_);
    const std::size_t pending =
        systems_->pendingBytes() + planets_->pendingBytes() + moons_->pendingBytes() + aliens_->pendingBytes();
    if (pending >= kBatchBytes) flush();
}

void SectorFiles::rollbackSystem() {
    if (!open_) return;
    cutBackTo(mark_);
}

void SectorFiles::flush() {
    if (!open_) return;
    std::int64_t now[4];
    markCounts(now);
    for (int i = 0; i < 4; ++i) {
        if (now[i] > mark_[i]) throw std::logic_error("sector files flushed in the middle of a system");
    }
    // Files cut back by their owner (a rolled-back or discarded system) are
    // at a boundary too.
    for (int i = 0; i < 4; ++i) {
        if (durable_[i] > now[i]) durable_[i] = now[i];
        mark_[i] = now[i];
    }
    try {
        // What is referenced reaches the disk before what refers to it:
        // stopped between two of these, the sector holds whole systems plus
        // records that no system names yet, which repair cuts away.
        aliens_->flush();
        moons_->flush();
        planets_->flush();
        systems_->flush();
    } catch (...) {
        // Some files may hold systems the others lack: go back to the last
        // point where all four were whole.
        cutBackTo(durable_);
        markCounts(mark_);
        throw;
    }
    markCounts(durable_);
}

void SectorFiles::close() {
    if (!open_) return;
    rollbackSystem();
    try {
        flush();
    } catch (...) {
        // The buffers are already dropped; release the files and report the
        // write that failed.
        open_ = false;
        auto release = [](auto& file) {
            try {
                file.close();
            } catch (...) {
            }
        };
        release(*systems_);
        release(*planets_);
        release(*moons_);
        release(*aliens_);
        throw;
    }
    open_ = false;
    systems_->close();
    planets_->close();
    moons_->close();
    aliens_->close();
}

}  // namespace orrimar

// The merge runs in two phases. Everything that can be known in advance is
// checked first (files present and whole, every renumbered id in range),
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

#include <fmt/format.h>

#include "records/errors.h"
#include "records/record_codec.h"
#include "records/record_file.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "tools/merge_names.h"
#include "tools/merge_renumbering.h"

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
    FilePtr file;
    long size = 0;          // bytes before the merge
    bool endsOpen = false;  // its last line has no line end yet

    explicit MainComments(std::string p) : path(std::move(p)), file(openFile(path, "r+b")) {
        if (std::fseek(file.get(), 0, SEEK_END) != 0) throw ioErrorFromErrno(errno, path);
        size = std::ftell(file.get());
        if (size < 0) throw ioErrorFromErrno(errno, path);
        if (size > 0) {
            if (std::fseek(file.get(), -1, SEEK_END) != 0) throw ioErrorFromErrno(errno, path);
            const int last = std::fgetc(file.get());
            if (last == EOF) throw ioErrorFromErrno(errno != 0 ? errno : EIO, path);
            endsOpen = last != '\n' && last != '\r';
        }
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
        if (std::fseek(file.get(), 0, SEEK_END) != 0) throw ioErrorFromErrno(errno, path);
        if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) {
            throw ioErrorFromErrno(errno != 0 ? errno : EIO, path);
        }
        if (std::fflush(file.get()) != 0) throw ioErrorFromErrno(errno, path);
    }

    void close() {
        std::FILE* f = file.release();
        if (f != nullptr && std::fclose(f) != 0) throw ioErrorFromErrno(errno, path);
    }
};

// One kind of record: the main file that grows and the added file it copies.
template <typename T>
struct Family {
    RecordFile<T> main;
    // Read twice in file order, once to check and once to copy.
    RecordReader<T> added;
    std::int64_t mainCount = 0;

    Family(const std::string& mainBase, const std::string& addedBase, const char* ext)
        : main(mainBase + ext, Mode::OpenExisting), added(addedBase + ext) {}

    void checkWhole() const {
        requireWholeRecords(main.hasPartialRecord(), main.path(), sizeof(T));
        requireWholeRecords(added.hasPartialRecord(), added.path(), sizeof(T));
    }

    template <typename Renumber>
    void check(Renumber renumber, const MergeOffsets& offsets) {
        added.forEach([&](std::int64_t k, const T& record) {
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

void MergeSectors(const std::string& mainBase, const std::string& addedBase) {
    refuseSelfMerge(mainBase, addedBase);

    // Opened in the order main, added for each kind: systems, planets,
    // races, moons. Any missing member stops the merge here.
    Family<TSystemRec> systems(mainBase, addedBase, ".sun");
    Family<TPlanetRec> planets(mainBase, addedBase, ".pln");
    Family<TAlienRec> races(mainBase, addedBase, ".aln");
    Family<TMoonRec> moons(mainBase, addedBase, ".mon");
    MergeNames names(mainBase, addedBase);
    MainComments mainComments(mainBase + ".cmt");
    const std::vector<std::string> addedComments = readCommentLines(addedBase + ".cmt");

    systems.checkWhole();
    planets.checkWhole();
    races.checkWhole();
    moons.checkWhole();

    systems.mainCount = systems.main.count();
    planets.mainCount = planets.main.count();
    moons.mainCount = moons.main.count();
    races.mainCount = races.main.count();
    const MergeOffsets offsets{systems.mainCount, planets.mainCount, moons.mainCount, races.mainCount};

    systems.check(renumberSystem, offsets);
    planets.check(renumberPlanet, offsets);
    moons.check(renumberMoon, offsets);
    races.check(renumberAlien, offsets);
    names.check(offsets);

    try {
        systems.copy(renumberSystem, offsets);
        planets.copy(renumberPlanet, offsets);
        moons.copy(renumberMoon, offsets);
        races.copy(renumberAlien, offsets);
        // Names after what they name.
        names.copy(offsets);
        mainComments.append(addedComments);
        systems.main.close();
        planets.main.close();
        moons.main.close();
        races.main.close();
        names.close();
        mainComments.close();
    } catch (...) {
        systems.rollBack();
        planets.rollBack();
        moons.rollBack();
        races.rollBack();
        names.rollBack();
        mainComments.file.reset();
        std::error_code ec;
        fs::resize_file(mainComments.path, static_cast<std::uintmax_t>(mainComments.size), ec);
        throw;
    }
}

}  // namespace orrimar

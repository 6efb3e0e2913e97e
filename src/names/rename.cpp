#include "names/rename.h"

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "common/errors.h"
#include "records/record_file.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/sector_journal.h"
#include "records/sector_lock.h"

namespace orrimar {

namespace {

// The code point of every byte that is a control character: C0, DEL and the
// C1 range (which the code page reaches only through its five undefined bytes).
bool isControl(unsigned char byte) {
    const char32_t cp = ansiToCodePoint(byte);
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
}

struct Target {
    const char* extension;
    std::size_t recordSize;
};

Target targetOf(NameKind kind) {
    switch (kind) {
        case NameKind::System: return {".sun", sizeof(TSystemRec)};
        case NameKind::Planet: return {".pln", sizeof(TPlanetRec)};
        case NameKind::Race: return {".aln", sizeof(TAlienRec)};
        case NameKind::Moon: return {".mon", sizeof(TMoonRec)};
        case NameKind::Header: break;
    }
    throw InputError("The sector's own name is set when it is created");
}

}  // namespace

std::string_view nameKindWord(NameKind kind) {
    switch (kind) {
        case NameKind::Header: return "sector";
        case NameKind::System: return "system";
        case NameKind::Planet: return "planet";
        case NameKind::Race: return "race";
        case NameKind::Moon: return "moon";
    }
    return "record";
}

std::string checkedName(std::string_view utf8) {
    const AnsiConversion converted = convertUtf8ToAnsi(utf8);
    if (!converted.text) throw InputError(fmt::format("Name cannot be stored: {}", converted.problem));
    const std::optional<std::string>& ansi = converted.text;
    if (ansi->size() > kMaxStoredNameLength) {
        throw InputError(fmt::format("Name '{}' is {} characters long; at most {} are allowed", utf8, ansi->size(),
                                     kMaxStoredNameLength));
    }
    for (const char c : *ansi) {
        if (isControl(static_cast<unsigned char>(c))) {
            throw InputError(fmt::format("Name holds a control character (code {}); names are printable text",
                                         static_cast<unsigned>(ansiToCodePoint(static_cast<unsigned char>(c)))));
        }
    }
    if (!ansi->empty() && (ansi->front() == ' ' || ansi->back() == ' ')) {
        throw InputError(fmt::format("Name '{}' begins or ends with a blank", utf8));
    }
    return *ansi;
}

std::int64_t renameInSector(const std::string& baseName, NameKind kind, std::int64_t id, std::string_view utf8Name) {
    const Target target = targetOf(kind);
    const std::string name = checkedName(utf8Name);
    requireFolderFor(baseName);
    // Held from before the counts are read: an append beside this rename
    // neither loses the record nor has it name a system half-written.
    const SectorLock lock = SectorLock::forChange(baseName);
    const std::string targetPath = sectorPath(baseName, target.extension);
    const std::int64_t count = recordCountOnDisk(targetPath, target.recordSize);
    if (count < 0) throw IoError(fmt::format("File not found ({})", targetPath));
    if (id < 0 || id >= count) {
        throw InputError(fmt::format("No {} {} in {}: it holds {} {} records (ids 0 to {})", nameKindWord(kind), id,
                                     targetPath, groupedCount(count), nameKindWord(kind), count - 1));
    }
    const std::string namePath = sectorPath(baseName, ".nam");
    if (recordCountOnDisk(namePath, sizeof(TNameRec)) < 0) throw IoError(fmt::format("File not found ({})", namePath));
    if (recordCountOnDisk(namePath, sizeof(TNameRec)) == 0) {
        throw IoError(fmt::format("{} has no header record; run \"orrimar-cli repair {}\"", namePath, baseName));
    }
    // Undone whole when the write fails or the program stops part-way: a
    // full disk leaves no torn record behind.
    JournalScope journal(baseName, JournalKind::AllOrNothing);
    RecordFile<TNameRec> names(namePath, RawRecordFile::Mode::OpenExisting);
    if (names.hasPartialRecord()) {
        throw IoError(fmt::format("{} ends in a torn record; run \"orrimar-cli repair {}\"", namePath, baseName));
    }
    const std::int64_t at = names.append(makeNameRecord(kind, static_cast<std::int32_t>(id), name));
    names.close();
    journal.commit();
    return at;
}

}  // namespace orrimar

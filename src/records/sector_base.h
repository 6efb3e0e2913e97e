// What every command and every file field does with a sector's name before
// it opens anything: a base name given with the extension of one of its
// members ("data/reach.sun") is taken as the base name, and whatever is
// missing (the folder, the sector, a system in it) is named in words the
// user can act on rather than as the first file that failed to open.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/errors.h"

namespace orrimar {

// Something the command needs is not there: a folder, a sector, a record.
// An input/output failure like "File not found", but naming what to make or
// choose instead.
class MissingError : public IoError {
public:
    using IoError::IoError;
};

// A new sector was asked for where one already is, and replacing it was
// not asked for. Bad input: nothing is touched. Carries what the front end
// needs to ask "Replace sector NAME (N systems)?".
class SectorExistsError : public InputError {
public:
    SectorExistsError(const std::string& baseName, std::int64_t systems);
    const std::string& baseName() const { return baseName_; }
    std::int64_t systems() const { return systems_; }

private:
    std::string baseName_;
    std::int64_t systems_;
};

// The extensions of the members of a sector, as the file fields strip them.
inline constexpr std::string_view kSectorMemberExtensions[] = {".sun", ".pln", ".mon", ".aln", ".nam",
                                                               ".col", ".con", ".emp", ".cmt"};

// `given` less one member extension at its end, in any case of letters
// ("data/y.sun" -> "data/y", "Y.PLN" -> "Y"); anything else unchanged. A bare
// extension (".sun") is left alone: it names no sector.
std::string sectorBaseName(std::string_view given);

// The folder a path would be written into, as the user typed it ("data" for
// "data/alpha"); empty when the path has no folder part.
std::string folderOf(const std::string& path);

// MissingError "Folder data does not exist" (or "... is not a folder") when
// the folder `path` would be written into is missing.
void requireFolderFor(const std::string& path);

// The message for a sector that is not at `baseName`: the missing folder,
// or "No sector at data/nosuch (data/nosuch.sun not found)". Empty when the
// sector's system file is there.
std::string missingSectorMessage(const std::string& baseName);
// MissingError with missingSectorMessage() when it is not empty.
void requireSector(const std::string& baseName);

// The longest file name (in bytes) that the file systems a sector lives on
// allow: NAME_MAX of Linux file systems, and 255 characters on Windows ones.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// Why `baseName` cannot name a sector to be written, or empty when it can:
// an empty name, a folder with no name in it ("data/"), or a name whose
// member files ("name.sun") would be longer than a file name may be. Said
// in words rather than as the error the first open would give ("I/O error 36").
std::string newBaseNameProblem(const std::string& baseName);

// A sector name typed in UTF-8, in the Windows ANSI code page the name
// record stores. InputError when the code page lacks a character (naming
// it) or when it is longer than the record's 50 characters, counted in the
// code page: "é" is one character there though two bytes in UTF-8.
std::string sectorNameInAnsi(std::string_view utf8);
inline constexpr std::size_t kMaxSectorNameLength = 50;

// InputError "System 999 is not in data/alpha (1,341 systems)" when `id`
// is not a record of a file of `count` records: the id the user gave is
// wrong, the sector is fine. `what` is the record's
// name ("System", "Race"), `plural` the counted noun ("systems", "races").
void requireRecordId(std::int64_t id, std::int64_t count, const std::string& baseName, std::string_view what,
                     std::string_view plural);

// 1341 -> "1,341": counts in messages, grouped as the logs group them.
std::string groupedCount(std::int64_t value);

}  // namespace orrimar

// The end of a sector's file set, and how far it is whole.
//
// Records reach the disk in dependency order (races, moons, planets, then the
// system that names them), so a write stopped at any instant leaves the
// systems before it whole plus, at the end of some files, records that no
// system names yet and perhaps a torn record. "The last whole system" is the
// end of the largest prefix of systems whose planets, moons and races are
// all on disk; everything past it is the torn tail that repair cuts away.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/errors.h"

namespace orrimar {

// Record counts of the four growing families of a sector.
struct SectorExtent {
    std::int64_t systems = 0;
    std::int64_t planets = 0;
    std::int64_t moons = 0;
    std::int64_t races = 0;

    bool operator==(const SectorExtent&) const = default;
};

struct SectorTail {
    SectorExtent onDisk;  // whole records in each file
    SectorExtent whole;   // the records of the systems up to the last whole one
    // Files of the four families whose size is not a whole number of records.
    std::vector<std::string> tornFiles;
    // Every system past the last whole one names only records past the
    // whole ones (or none): what a write stopped part-way, or a power cut,
    // leaves. False when a system in the middle names records that are not
    // there: damage that cutting would only bury.
    bool tailOnly = true;

    bool isWhole() const { return onDisk == whole && tornFiles.empty(); }
};

// Records at the end of a file whose bytes are all zero: what a power cut
// leaves where the file's new size reached the disk before its data. No
// record of a sector is all zeros (a system has a star, a name record past
// the header a kind), so they are never whole records.
std::int64_t zeroedTailRecords(const std::string& path, std::size_t recordSize, std::int64_t records);

// A sector the command refuses to write into (or to take records from): not
// whole, or worse. Refused before anything is touched, like bad input.
class DamagedSectorError : public InputError {
public:
    DamagedSectorError(const std::string& baseName, std::vector<std::string> problems, bool repairable);
    const std::vector<std::string>& problems() const { return problems_; }
    const std::string& baseName() const { return baseName_; }
    // True when `repair` can cut the sector back to its last whole system.
    bool repairable() const { return repairable_; }

private:
    std::string baseName_;
    std::vector<std::string> problems_;
    bool repairable_;
};

// Reads every system and planet of `baseName` to find its last whole system.
// Missing files count as empty; zeroed records at a file's end count as
// missing. `knownWhole` is a prefix already known whole (a command's journal
// says where it began), read no more; `systemLimit`, when not negative,
// ends the walk after that many systems.
SectorTail FindLastWholeSystem(const std::string& baseName, const SectorExtent& knownWhole = {},
                               std::int64_t systemLimit = -1);

// The first name record, from record `from` on, that names a system,
// planet, moon or race past `extent`: where the name records of systems cut
// away begin (names are written after what they name, so all that follow it
// belong to them too). The record count when there is none.
std::int64_t FirstNameRecordPast(const std::string& baseName, const SectorExtent& extent, std::int64_t from);

// The cheap test that a sector ends whole, before a command appends to it:
// no torn record, and the record counts agree with what the last records
// reference (the last system's planets end at the planet file's end, the
// last moon's and last race's owners name them). A handful of reads
// whatever the sector's size. Empty when whole, else the problems found.
std::vector<std::string> SectorTailProblems(const std::string& baseName);

// Every cross-reference of the sector, read whole: each system's planets on
// disk and naming it, each planet's moons on disk and naming it, every race
// id within the race file and every race's world within the planet file,
// plus the tail test above. Empty when all hold, else the problems (at most
// a few dozen: enough to refuse with).
std::vector<std::string> SectorReferenceProblems(const std::string& baseName);

// Throws DamagedSectorError (with the repair hint) when SectorTailProblems
// finds any. A sector with no files at all passes: there is nothing to damage.
void RequireWholeSectorTail(const std::string& baseName);

}  // namespace orrimar

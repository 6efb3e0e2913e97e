// Writing a run's names into the sector's name file: one record for every
// system the run generates (kind 1) and one for every race generated with it
// (kind 3), right after the system's own records, so that names always come
// after what they name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "names/name_generator.h"
#include "records/record_file.h"
#include "records/records.h"

namespace orrimar {

class SectorNameWriter {
public:
    // Opens the name file of a sector whose files the run has just opened
    // (so the file exists, with its header), and takes every system and
    // race name already in it, so that appended systems get names unique in
    // the whole sector. Names are buffered until flush().
    SectorNameWriter(const std::string& baseName, std::uint64_t runSeed);

    // Names a system that is whole in the record files, and the races
    // `firstRace` .. `firstRace + raceCount - 1` generated with it.
    void nameSystem(std::int64_t systemId, std::int16_t x, std::int16_t y, std::int16_t z, std::int64_t firstRace,
                    std::int64_t raceCount);

    // Writes what is buffered. Call only once the systems named are on disk.
    void flush();
    // Drops the names of systems with an id of `systemsOnDisk` or more (a
    // failed run's systems that never reached the disk), writes the rest
    // and closes the file.
    void close(std::int64_t systemsOnDisk);

    std::int64_t clashes() const { return generator_.clashes(); }
    std::int64_t written() const { return written_; }

private:
    struct Pending {
        std::int64_t systemId;
        std::int64_t namesBefore;  // record count of the name file before this system's names
    };

    SectorNameGenerator generator_;
    RecordFile<TNameRec> file_;
    std::vector<Pending> pending_;  // systems named since the last flush
    std::int64_t written_ = 0;
};

}  // namespace orrimar

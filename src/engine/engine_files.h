// What the system log and the sector report share: reading a sector's
// files by base name, writing an output file so that a failure never leaves
// a half-written log in its place, and the number formats of the logs.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>
#include <memory>
#include <string>

#include "names/sector_names.h"
#include "records/record_reader.h"
#include "records/records.h"

namespace orrimar::engine {

// The record files of a sector, opened read-only. The system, planet, moon
// and race files must exist; the colony, control and empire files may be
// missing (then they count as empty).
class SectorReader {
public:
    explicit SectorReader(const std::string& baseName);

    // The sector's name from the header of its name file; the base name's
    // last component when the name file is missing or holds no header.
    const std::string& sectorName() const { return sectorName_; }
    // The names of its systems, worlds and races (none when the name file
    // holds only its header, or is missing).
    const SectorNames& names() const { return names_; }

    RecordReader<TSystemRec>& systems() { return *systems_; }
    RecordReader<TPlanetRec>& planets() { return *planets_; }
    RecordReader<TMoonRec>& moons() { return *moons_; }
    RecordReader<TAlienRec>& aliens() { return *aliens_; }
    // Null when the file does not exist.
    RecordReader<TColonyRec>* colonies() { return colonies_.get(); }
    std::int64_t controlCount() const { return controlCount_; }
    std::int64_t empireCount() const { return empireCount_; }

    // Records by id; an id outside the file is a RangeError naming the file.
    TSystemRec system(std::int64_t id);
    TPlanetRec planet(std::int64_t id);
    TMoonRec moon(std::int64_t id);
    TAlienRec alien(std::int64_t id);

private:
    std::unique_ptr<RecordReader<TSystemRec>> systems_;
    std::unique_ptr<RecordReader<TPlanetRec>> planets_;
    std::unique_ptr<RecordReader<TMoonRec>> moons_;
    std::unique_ptr<RecordReader<TAlienRec>> aliens_;
    std::unique_ptr<RecordReader<TColonyRec>> colonies_;
    std::int64_t controlCount_ = 0;
    std::int64_t empireCount_ = 0;
    std::string sectorName_;
    SectorNames names_;
};

// A name from the name file (code page) beside its id, in UTF-8 for the
// logs: "Vessane (12)", or "12" alone for what has no name.
std::string labelled(const std::optional<std::string>& ansiName, std::int64_t id);
// The name alone in UTF-8, empty for none.
std::string nameText(const std::optional<std::string>& ansiName);

// An output file written beside its final name and moved into place by
// commit(); dropped without commit (an error on the way) it leaves nothing
// behind and the earlier file of that name, if any, untouched.
class OutputFile {
public:
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ostream& stream() { return stream_; }
    void commit();

private:
    std::string path_;
    std::string partPath_;
    std::ofstream stream_;
    bool committed_ = false;
};

// The star's effective luminosity: its own light plus its companions'
// reaching it, as its planets see it.
float effectiveLuminosity(const TSystemRec& system, int star);

// The day-night temperature swing of a planet, degrees.
int dayNightSwing(const TPlanetRec& planet, float effectiveLuminosity);

// Number formats of the logs.
std::string grouped(long long value);                // 12,756
std::string fixed(double value, int decimals);       // 1.00
std::string tenths(long long value);                 // 15 -> "1.5"
std::string magnitude(double value);                 // 3 significant figures, grouped when large

}  // namespace orrimar::engine

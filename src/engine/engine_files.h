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

#include "records/record_reader.h"
#include "records/record_validation.h"
#include "records/records.h"

namespace orrimar::engine {

// The record files of a sector, opened read-only. The system, planet, moon
// and race files must exist; the colony, control and empire files may be
// missing (then they count as empty).
class SectorReader {
public:
    explicit SectorReader(const std::string& baseName);
    // The readers hold the address of counts_.
    SectorReader(const SectorReader&) = delete;
    SectorReader& operator=(const SectorReader&) = delete;

    // The sector's name from the header of its name file; the base name's
    // last component when the name file is missing or holds no header.
    const std::string& sectorName() const { return sectorName_; }

    ValidatingReader<TSystemRec>& systems() { return *systems_; }
    ValidatingReader<TPlanetRec>& planets() { return *planets_; }
    ValidatingReader<TMoonRec>& moons() { return *moons_; }
    ValidatingReader<TAlienRec>& aliens() { return *aliens_; }
    // Null when the file does not exist.
    ValidatingReader<TColonyRec>* colonies() { return colonies_.get(); }
    std::int64_t controlCount() const { return controlCount_; }
    std::int64_t empireCount() const { return empireCount_; }

    // Records by id, through the validating layer: an id outside the file,
    // or a record that is not sound, is a RangeError naming file and record.
    TSystemRec system(std::int64_t id);
    TPlanetRec planet(std::int64_t id);
    TMoonRec moon(std::int64_t id);
    TAlienRec alien(std::int64_t id);

private:
    SectorCounts counts_;
    std::unique_ptr<ValidatingReader<TSystemRec>> systems_;
    std::unique_ptr<ValidatingReader<TPlanetRec>> planets_;
    std::unique_ptr<ValidatingReader<TMoonRec>> moons_;
    std::unique_ptr<ValidatingReader<TAlienRec>> aliens_;
    std::unique_ptr<ValidatingReader<TColonyRec>> colonies_;
    std::int64_t controlCount_ = 0;
    std::int64_t empireCount_ = 0;
    std::string sectorName_;
};

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

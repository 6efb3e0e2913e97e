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
#include <optional>
#include <string>

#include "common/file_io.h"
#include "common/output_destination.h"
#include "names/sector_names.h"
#include "records/record_reader.h"
#include "records/sector_base.h"
#include "records/sector_lock.h"
#include "records/record_validation.h"
#include "records/records.h"

namespace orrimar::reading {

// The record files of a sector, opened read-only. The system, planet, moon
// and race files must exist; the colony, control and empire files may be
// missing (then they count as empty).
class SectorReader {
public:
    // `baseName` may carry a member's extension ("data/reach.sun"); a missing
    // folder or system file is a MissingError that names it.
    explicit SectorReader(const std::string& baseName);
    // The readers hold the address of counts_.
    SectorReader(const SectorReader&) = delete;
    SectorReader& operator=(const SectorReader&) = delete;

    // The base name the files were opened by, without extension.
    const std::string& baseName() const { return baseName_; }

    // The sector's name from the header of its name file; the base name's
    // last component when the name file is missing or holds no header.
    const std::string& sectorName() const { return sectorName_; }
    // The names of its systems, worlds and races (none when the name file
    // holds only its header, or is missing).
    const SectorNames& names() const { return names_; }

    ValidatingReader<TSystemRec>& systems() { return *systems_; }
    ValidatingReader<TPlanetRec>& planets() { return *planets_; }
    ValidatingReader<TMoonRec>& moons() { return *moons_; }
    ValidatingReader<TAlienRec>& aliens() { return *aliens_; }
    // Null when the file does not exist.
    ValidatingReader<TColonyRec>* colonies() { return colonies_.get(); }
    ValidatingReader<TConRec>* control() { return control_.get(); }
    ValidatingReader<TEmpireRec>* empires() { return empires_.get(); }
    std::int64_t controlCount() const { return control_ ? control_->count() : 0; }
    std::int64_t empireCount() const { return empires_ ? empires_->count() : 0; }

    // Records by id, through the validating layer: an id outside the file,
    // or a record that is not sound, is a RangeError naming file and record.
    TSystemRec system(std::int64_t id);
    TPlanetRec planet(std::int64_t id);
    TMoonRec moon(std::int64_t id);
    TAlienRec alien(std::int64_t id);

private:
    std::string baseName_;  // first: the readers below open by it
    // Held while the sector is read (second: before any file is opened), so
    // a writer's half-appended system is never read.
    SectorLock lock_;
    SectorCounts counts_;
    std::unique_ptr<ValidatingReader<TSystemRec>> systems_;
    std::unique_ptr<ValidatingReader<TPlanetRec>> planets_;
    std::unique_ptr<ValidatingReader<TMoonRec>> moons_;
    std::unique_ptr<ValidatingReader<TAlienRec>> aliens_;
    std::unique_ptr<ValidatingReader<TColonyRec>> colonies_;
    std::unique_ptr<ValidatingReader<TConRec>> control_;
    std::unique_ptr<ValidatingReader<TEmpireRec>> empires_;
    std::string sectorName_;
    SectorNames names_;
};

// A name from the name file (code page) beside its id, in UTF-8 for the
// logs: "Vessane (12)", or "12" alone for what has no name.
std::string labelled(const std::optional<std::string>& ansiName, std::int64_t id);
// The name alone in UTF-8, empty for none.
std::string nameText(const std::optional<std::string>& ansiName);

// Logs and reports are written through the file layer's atomic output: a
// failure never leaves a half-written log in place of the earlier one, and
// the destination is held as every output's is (common/output_destination.h):
// nothing but a regular file is replaced. The folder is looked at first, so
// a mistyped folder is named as such rather than reported as a file that
// cannot be opened.
class OutputFile : public GuardedOutputFile {
public:
    explicit OutputFile(const std::string& path) : GuardedOutputFile(checkedFolder(path)) {}

private:
    static std::string checkedFolder(const std::string& path) {
        requireFolderFor(path);
        return path;
    }
};

// Number formats of the logs.
std::string grouped(long long value);           // 12,756
std::string fixed(double value, int decimals);  // 1.00
std::string tenths(long long value);            // 15 -> "1.5"
std::string magnitude(double value);            // 3 significant figures, grouped when large

}  // namespace orrimar::reading

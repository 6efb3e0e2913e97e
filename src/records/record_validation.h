// The one validating layer between a sector's files and every reader that
// trusts what it reads (the logs, the report, the colonies report, the
// merger, the exports): a record whose ids point outside the sector, whose
// codes lie outside their tables or whose figures are not finite and
// physical is refused with an error naming the file, the record and the
// field, before any figure of it reaches a log or another sector.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "records/record_reader.h"
#include "records/records.h"

namespace orrimar {

// How many records each family of the sector holds: the ranges its ids
// must fall in.
struct SectorCounts {
    std::int64_t systems = 0;
    std::int64_t planets = 0;
    std::int64_t moons = 0;
    std::int64_t races = 0;
};

// The most systems any run can make: one per cell of the largest sector
// (the sector loop's 200 x 200 x 200 parsecs). A system file holding more
// is not a sector.
inline constexpr std::int64_t kMaxSystemsInSector = 8'000'000;

// The brightest and heaviest stars the star rules make, with room to spare;
// anything beyond is a damaged figure rather than a star.
inline constexpr double kMaxLuminosity = 1.0e7;  // solar luminosities
inline constexpr double kMaxStarMass = 1000.0;   // solar masses
inline constexpr double kMaxPressure = 1.0e6;    // atmospheres

// The first problem of a record, as "<field> <value> <what is wrong>", or
// nothing when the record is sound. Ids are checked against `counts`.
std::optional<std::string> recordProblem(const TSystemRec& record, const SectorCounts& counts);
std::optional<std::string> recordProblem(const TPlanetRec& record, const SectorCounts& counts);
std::optional<std::string> recordProblem(const TMoonRec& record, const SectorCounts& counts);
std::optional<std::string> recordProblem(const TAlienRec& record, const SectorCounts& counts);
std::optional<std::string> recordProblem(const TColonyRec& record, const SectorCounts& counts);
std::optional<std::string> recordProblem(const TConRec& record, const SectorCounts& counts);
std::optional<std::string> recordProblem(const TEmpireRec& record, const SectorCounts& counts);

// A race's own codes only (habitat, body, order, attributes...), for the
// race files of the Alien Generator whose home worlds are made to order.
std::optional<std::string> raceCodeProblem(const TAlienRec& record);

// The error for a record that failed: "<path> record <id>: <problem>".
RangeError recordError(const std::string& path, std::int64_t id, const std::string& problem);

// Throws recordError when the record has a problem.
template <typename T>
void requireSound(const T& record, const SectorCounts& counts, const std::string& path, std::int64_t id) {
    if (auto problem = recordProblem(record, counts)) throw recordError(path, id, *problem);
}

// A record file read through the validating layer: every record read is
// checked against the sector's counts first. Same interface as
// RecordReader for the readers that walk a sector.
template <typename T>
class ValidatingReader {
public:
    ValidatingReader(std::string path, const SectorCounts& counts, IfMissing ifMissing = IfMissing::Fail)
        : file_(std::move(path), ifMissing), counts_(&counts) {}

    const std::string& path() const { return file_.path(); }
    bool present() const { return file_.present(); }
    std::int64_t count() const { return file_.count(); }
    bool hasPartialRecord() const { return file_.hasPartialRecord(); }

    // Record `id`, 0 <= id < count() (else a RangeError naming the file),
    // refused when it is not sound.
    T read(std::int64_t id) {
        if (id < 0 || id >= file_.count()) {
            throw RangeError(path() + " record " + std::to_string(id) + ": beyond the end of the file (" +
                             std::to_string(file_.count()) + " records)");
        }
        T record = file_.read(id);
        requireSound(record, *counts_, path(), id);
        return record;
    }

    template <typename Visit>
    void forEach(Visit visit) {
        for (std::int64_t id = 0; id < count(); ++id) visit(id, read(id));
    }

private:
    RecordReader<T> file_;
    const SectorCounts* counts_;
};

}  // namespace orrimar

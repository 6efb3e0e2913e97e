#include "names/name_writer.h"

#include "names/sector_names.h"
#include "records/record_reader.h"
#include "records/sector_files.h"

namespace orrimar {

namespace {

void reserveExisting(SectorNameGenerator& generator, const std::string& path) {
    RecordReader<TNameRec> names(path, IfMissing::Empty);
    names.forEach([&](std::int64_t id, const TNameRec& r) {
        if (id == 0) return;  // the header holds the sector's own name
        // Every name that ever named a system or race stays taken, even one
        // renamed since: a name the user knew must not come back elsewhere.
        if (r.kind == static_cast<std::uint8_t>(NameKind::System) ||
            r.kind == static_cast<std::uint8_t>(NameKind::Race)) {
            if (r.name.length > 0) generator.reserve(r.name.str());
        }
    });
}

}  // namespace

SectorNameWriter::SectorNameWriter(const std::string& baseName, std::uint64_t runSeed)
    : generator_(runSeed), file_(sectorPath(baseName, ".nam"), RawRecordFile::Mode::OpenExisting) {
    reserveExisting(generator_, sectorPath(baseName, ".nam"));
    file_.setAutoFlush(false);
}

void SectorNameWriter::nameSystem(std::int64_t systemId, std::int16_t x, std::int16_t y, std::int16_t z,
                                  std::int64_t firstRace, std::int64_t raceCount) {
    pending_.push_back({systemId, file_.count()});
    NameSubject subject{x, y, z, 0};
    file_.append(makeNameRecord(NameKind::System, static_cast<std::int32_t>(systemId), generator_.take(subject)));
    for (std::int64_t k = 0; k < raceCount; ++k) {
        subject.race = static_cast<std::uint32_t>(k + 1);
        file_.append(
            makeNameRecord(NameKind::Race, static_cast<std::int32_t>(firstRace + k), generator_.take(subject)));
    }
    written_ += 1 + raceCount;
}

void SectorNameWriter::flush() {
    file_.flush();
    pending_.clear();
}

void SectorNameWriter::close(std::int64_t systemsOnDisk) {
    for (const Pending& p : pending_) {
        if (p.systemId >= systemsOnDisk) {
            written_ -= file_.count() - p.namesBefore;
            file_.truncate(p.namesBefore);
            break;
        }
    }
    pending_.clear();
    file_.close();
}

}  // namespace orrimar

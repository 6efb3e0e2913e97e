// What the colony and empire editors share: the sector's worlds and races
// as an edit checks its values against them, and the one way an edited
// layer reaches the disk (the control records recomputed from the
// colonies, the planets' colonising races kept in step with their colonies'
// owners, all of it through WriteSettledLayer).
#pragma once

#include <cstdint>
#include <string>

#include "names/world_names.h"
#include "records/colony_codes.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_lock.h"
#include "settling/settled_layer.h"

namespace orrimar {

// A sector taken for an edit: its lock held for change from before the
// first read to the last synced write, and its layer as it was then.
class SettledEdit {
public:
    // MissingError (nothing touched) when there is no sector at `baseName`.
    explicit SettledEdit(const std::string& baseName);

    const std::string& baseName() const { return baseName_; }
    const SettledLayer& before() const { return before_; }
    const WorldCounts& counts() const { return counts_; }
    std::int64_t raceCount() const { return races_.count(); }

    bool worldExists(const WorldRef& world) const;
    // The system a colony lies in, -1 when its world is not in the sector.
    std::int64_t systemOf(const TColonyRec& colony);
    // The system of a race's home world, -1 when it has none in the sector.
    std::int64_t homeSystemOf(std::uint16_t race);

    // FieldError naming `field` unless `race` is a race of the sector.
    void requireRace(std::int64_t race, const char* field) const;
    // FieldError naming `field` unless `system` is a system of the sector.
    void requireSystem(std::int64_t system, const char* field) const;

    // Writes `after` in place of the layer read: its control records
    // recomputed from its colonies, the colonising race of every planet
    // that held or now holds an owned colony set from them.
    void commit(SettledLayer after);

private:
    std::string baseName_;
    SectorLock lock_;
    RecordReader<TSystemRec> systems_;
    RecordReader<TPlanetRec> planets_;
    RecordReader<TMoonRec> moons_;
    RecordReader<TAlienRec> races_;
    WorldCounts counts_;
    SettledLayer before_;
};

}  // namespace orrimar

// What the colony and empire editors share: the sector's worlds and races
// as an edit checks its values against them, and the one way an edited
// layer reaches the disk (the control records recomputed from the
// colonies, the planets' colonising races kept in step with their colonies'
// owners, all of it through WriteSettledLayer).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

// The records of one kind the editors change by number (the layer's
// colonies or empires), with the words a refused number is named in.
template <typename Rec>
struct SettledList {
    std::vector<Rec> SettledLayer::*records;
    const char* noun;    // "colony": also the field a refused number is named as
    const char* plural;  // "colonies"
    Rec (*vacant)();     // what a removed record leaves behind, keeping its number
};

inline constexpr SettledList<TColonyRec> kColonyList{&SettledLayer::colonies, "colony", "colonies", &vacantColony};
inline constexpr SettledList<TEmpireRec> kEmpireList{&SettledLayer::empires, "empire", "empires", &vacantEmpire};

// FieldError naming `noun` unless `id` numbers one of `count` records.
void requireNumberIn(std::int64_t id, std::int64_t count, const char* noun, const char* plural);
// FieldError naming `noun`: record `id` was removed.
[[noreturn]] void refuseRemoved(std::int64_t id, const char* noun);

// FieldError naming the list's noun unless record `id` is there and live.
template <typename Rec>
void requireLive(const SettledEdit& edit, const SettledList<Rec>& list, std::int64_t id) {
    const auto& records = edit.before().*list.records;
    requireNumberIn(id, static_cast<std::int64_t>(records.size()), list.noun, list.plural);
    if (isVacant(records[static_cast<std::size_t>(id)])) refuseRemoved(id, list.noun);
}

// Appends `record` to the list and writes the layer; returns its number.
template <typename Rec>
std::int64_t appendRecord(SettledEdit& edit, const SettledList<Rec>& list, const Rec& record) {
    SettledLayer after = edit.before();
    auto& records = after.*list.records;
    const auto id = static_cast<std::int64_t>(records.size());
    records.push_back(record);
    edit.commit(std::move(after));
    return id;
}

// Checks that record `id` is live, lets `change` change it (a FieldError
// from it writes nothing) and writes the layer; returns the record as
// written.
template <typename Rec, typename Change>
Rec changeRecord(SettledEdit& edit, const SettledList<Rec>& list, std::int64_t id, Change change) {
    requireLive(edit, list, id);
    SettledLayer after = edit.before();
    Rec& record = (after.*list.records)[static_cast<std::size_t>(id)];
    change(record);
    const Rec result = record;
    edit.commit(std::move(after));
    return result;
}

// Leaves record `id` vacant, its number kept; returns the record as it was.
template <typename Rec>
Rec removeRecord(SettledEdit& edit, const SettledList<Rec>& list, std::int64_t id) {
    Rec was{};
    changeRecord(edit, list, id, [&](Rec& record) {
        was = record;
        record = list.vacant();
    });
    return was;
}

}  // namespace orrimar

// The report is built in memory and written beside its target, then renamed
// over it: a report that stops with an error leaves the previous log as it
// was.
#include "tools/colonies_report.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <system_error>
#include <vector>

#include <fmt/format.h>

#include "common/bit_flags.h"
#include "common/errors.h"
#include "records/sector_lock.h"
#include "records/world_types.h"
#include "common/file_io.h"
#include "common/output_destination.h"
#include "records/sector_base.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/colony_codes.h"

namespace orrimar {

namespace {

using Mode = RawRecordFile::Mode;

constexpr long kLastRace = kNoRace - 1;  // kNoRace marks an independent colony
constexpr std::int32_t kUncontrolled = -1;
// One control entry per possible 16-bit system id: marking is a direct
// index, and scanning in id order yields the systems sorted.
constexpr std::int64_t kSystemIds = 65536;
constexpr int kFacilityCount = static_cast<int>(kFacilityNames.size());
constexpr int kLastPopulationCode = kPopulationCodeCount - 1;
constexpr int kColonyTypes = static_cast<int>(kColonyTypeNames.size());
constexpr int kStarportClasses = static_cast<int>(kStarportNames.size());

using Out = std::back_insert_iterator<std::string>;

// A record looked up by an id taken from another record: an id beyond its
// file names the record that holds it, the field and the file it misses.
struct Referrer {
    const std::string& path;
    std::int64_t record;
    const char* field;
};

template <typename T>
T readById(RecordFile<T>& file, std::int64_t id, const Referrer& from, const char* fileWord) {
    if (id < 0 || id >= file.count()) {
        throw IoError(fmt::format("Read beyond end of file: {} record {}: {} {} beyond the {} file's {} records",
                                  from.path, from.record, from.field, id, fileWord, file.count()));
    }
    return file.read(id);
}

// A code outside its table, in the runtime's words and then the record's.
RangeError codeError(const std::string& path, std::int64_t record, const std::string& problem) {
    return RangeError(fmt::format("Range check error: {} record {}: {}", path, record, problem));
}

struct SectorInputs {
    RecordFile<TPlanetRec> planets;
    RecordFile<TMoonRec> moons;
    RecordFile<TColonyRec> colonies;
    bool unreadPresent;
    RecordFile<TSystemRec> systems;

    // Opened in the order planets, moons, colonies, control, races,
    // systems.
    explicit SectorInputs(const std::string& base)
        : planets(base + ".pln", Mode::ReadOnly),
          moons(base + ".mon", Mode::ReadOnly),
          colonies(base + ".col", Mode::ReadOnly),
          unreadPresent(requireUnreadMembers(base)),
          systems(base + ".sun", Mode::ReadOnly) {}

    // The control and race files belong to the sector but the report reads
    // nothing from them: they are opened only to make sure they exist.
    static bool requireUnreadMembers(const std::string& base) {
        RecordFile<TConRec> control(base + ".con", Mode::ReadOnly);
        RecordFile<TAlienRec> races(base + ".aln", Mode::ReadOnly);
        return true;
    }
};

bool belongsTo(const TColonyRec& colony, std::uint16_t race) {
    return colony.allegiance == race || (colony.race == race && colony.allegiance == kNoRace);
}

void writeLine(Out out, std::string_view text) { fmt::format_to(out, "{}\r\n", text); }

void writeHeading(Out out, long race) {
    writeLine(out, fmt::format("   Colonies owned by Race [{:6} ]", race));
    writeLine(out, "   --------------------------------");
    writeLine(out, "");
    writeLine(out, "");
}

void writeFacilities(Out out, const TColonyRec& colony) {
    writeLine(out, "  Facilities: ");
    bool any = false;
    for (int k = 1; k <= kFacilityCount; ++k) {
        if (!testBit(colony.facilities[0], k)) continue;
        writeLine(out, fmt::format("    -{}", kFacilityNames[static_cast<std::size_t>(k - 1)]));
        any = true;
    }
    if (!any) writeLine(out, "    -None");
}

struct Report {
    SectorInputs& in;
    std::uint16_t race;
    std::vector<std::int32_t> control = std::vector<std::int32_t>(kSystemIds, kUncontrolled);
    int controlled = 0;
    std::string text;

    Report(SectorInputs& inputs, std::uint16_t n) : in(inputs), race(n) {}

    // The codes the report looks up in its tables, checked before any line
    // of the colony is written.
    void checkCodes(const TColonyRec& colony, std::int64_t number) const {
        const std::string& path = in.colonies.path();
        if (colony.colonyType < 1 || colony.colonyType > kColonyTypes) {
            throw codeError(path, number, fmt::format("colony type {} outside 1..{}", colony.colonyType, kColonyTypes));
        }
        if (colony.starport < 1 || colony.starport > kStarportClasses) {
            throw codeError(path, number,
                            fmt::format("starport class {} outside 1..{}", colony.starport, kStarportClasses));
        }
        if (colony.populationCode > kLastPopulationCode) {
            throw codeError(
                path, number,
                fmt::format("population code {} outside 0..{}", colony.populationCode, kLastPopulationCode));
        }
    }

    void colonyBlock(const TColonyRec& colony, std::int64_t number) {
        checkCodes(colony, number);
        // A moon base's world is the moon; its system and "Plan alleg" come
        // from the planet the moon orbits.
        const std::string& colonies = in.colonies.path();
        int worldType = 0;
        TPlanetRec planet;
        std::int64_t planetId = colony.worldId;
        if (colony.kind == kPlanetColony) {
            planet = readById(in.planets, colony.worldId, {colonies, number, "world id"}, "planet");
            worldType = planet.worldType;
            if (worldType < 1 || worldType > world::kCount) {
                throw codeError(in.planets.path(), planetId,
                                fmt::format("world type {} outside 1..{}", worldType, world::kCount));
            }
        } else {
            const TMoonRec moon = readById(in.moons, colony.worldId, {colonies, number, "world id"}, "moon");
            worldType = moon.worldType;
            if (worldType < 1 || worldType > world::kCount) {
                throw codeError(in.moons.path(), colony.worldId,
                                fmt::format("world type {} outside 1..{}", worldType, world::kCount));
            }
            planetId = moon.planetId;
            planet = readById(in.planets, moon.planetId, {in.moons.path(), colony.worldId, "planet id"}, "planet");
        }
        const std::int32_t system = planet.systemId;
        if (system < 0 || system >= kSystemIds) {
            throw codeError(in.planets.path(), planetId,
                            fmt::format("system id {} outside the 16-bit system ids 0..{}", system, kSystemIds - 1));
        }

        Out out(text);
        writeLine(out, fmt::format("{}{}", colony.kind == kPlanetColony ? "Colony: " : "Moon base: ", number));
        writeLine(out, fmt::format("world id  : {}", colony.worldId));
        writeLine(out, fmt::format("system    : {}", system));
        // An independent colony is listed but controls nothing.
        auto& entry = control[static_cast<std::size_t>(system)];
        if (entry == kUncontrolled && colony.allegiance == race) {
            if (system >= in.systems.count()) {
                throw IoError(
                    fmt::format("Read beyond end of file: {} record {}: system id {} beyond the system "
                                "file's {} records",
                                in.planets.path(), planetId, system, in.systems.count()));
            }
            entry = race;
            ++controlled;
        }
        writeLine(out, fmt::format("world     : {}", worldTypeName(worldType)));
        writeLine(out, fmt::format("type      : {}", colonyTypeName(colony.colonyType)));
        writeLine(out, fmt::format("race      : {}", colony.race));
        if (colony.allegiance == kNoRace) {
            writeLine(out, "allegiance: Independant");
        } else {
            writeLine(out, fmt::format("allegiance: {}", colony.allegiance));
        }
        // No colonising race (-1) prints as 65535.
        writeLine(out, fmt::format("Plan alleg: {}", static_cast<std::uint16_t>(planet.colonisingRaceId)));
        writeLine(out, fmt::format("Population: {}", populationText(colony.populationCode)));
        writeLine(out, fmt::format("starport  : {}", starportName(colony.starport)));
        writeLine(out, fmt::format("law       : {}     stability : {:2}     crime     : {}", colony.lawLevel,
                                   colony.stability, colony.crimeLevel));
        writeLine(out, fmt::format("gnp       : {}", colony.gnp));
        writeLine(out, fmt::format("power     : {}", colony.power));
        writeFacilities(out, colony);
        writeLine(out, "");
    }

    void controlTable() {
        Out out(text);
        writeLine(out, "");
        writeLine(out, "");
        writeLine(out, fmt::format("Systems controlled: {}", controlled));
        writeLine(out, "");
        writeLine(out, "    Id     X     Y     Z  ");
        writeLine(out, "--------------------------");
        writeLine(out, "");
        for (std::int64_t s = 0; s < kSystemIds; ++s) {
            if (control[static_cast<std::size_t>(s)] != race) continue;
            // Every controlled system was found in the system file when its colony was read.
            const TSystemRec system = in.systems.read(s);
            writeLine(out, fmt::format("{:6} {:5} {:5} {:5}    ", s, system.x, system.y, system.z));
        }
    }
};

// The control table holds the 16-bit system ids only: a sector whose
// colonies of the race lie beyond them is refused before the report begins,
// with the reason, rather than part-way through it.
void requireSixteenBitSystems(SectorInputs& in, std::uint16_t race) {
    const WorldCounts counts{in.systems.count(), in.planets.count(), in.moons.count()};
    for (std::int64_t i = 0; i < in.colonies.count(); ++i) {
        const TColonyRec colony = in.colonies.read(i);
        if (!belongsTo(colony, race)) continue;
        const std::int64_t system = colonySystem(
            colony, counts, [&](std::int64_t id) { return in.planets.read(id); },
            [&](std::int64_t id) { return in.moons.read(id); });
        if (system >= kSystemIds) {
            throw RangeError(
                fmt::format("The colonies report lists the systems of 16-bit ids only (0..65,535), and "
                            "colony {} of race {} lies in system {} of {}: report on a sector of at "
                            "most 65,536 systems",
                            i, race, groupedCount(system), in.systems.path()));
        }
    }
}

// Writes `text` to `target` through a sibling file renamed over it, the
// destination held as every output's is.
void replaceFile(const std::string& target, const std::string& text) {
    GuardedOutputFile file(target);
    file.write(text);
    file.commit();
}

}  // namespace

void WriteColoniesReport(const std::string& givenSector, long race, const std::string& logBase) {
    // -1 would match every unmarked control entry and 65535 the independent
    // marker, so neither names a race.
    if (race < 0 || race > kLastRace) {
        throw InputError(fmt::format("Race number {} is out of range: it must be between 0 and {}", race, kLastRace));
    }
    const std::string sectorBase = sectorBaseName(givenSector);
    requireSector(sectorBase);
    requireFolderFor(logBase);
    // Read whole: no writer appends while the report reads.
    const SectorLock lock = SectorLock::forReading(sectorBase);
    SectorInputs inputs(sectorBase);
    Report report(inputs, static_cast<std::uint16_t>(race));

    requireSixteenBitSystems(inputs, report.race);
    writeHeading(Out(report.text), race);
    for (std::int64_t i = 0; i < inputs.colonies.count(); ++i) {
        const TColonyRec colony = inputs.colonies.read(i);
        if (!belongsTo(colony, report.race)) continue;
        report.colonyBlock(colony, i);
    }
    report.controlTable();

    replaceFile(logBase + ".log", report.text);
}

}  // namespace orrimar

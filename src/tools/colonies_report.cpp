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

#include "generation/bit_flags.h"
#include "generation/world_types.h"
#include "common/file_io.h"
#include "records/errors.h"
#include "records/record_file.h"
#include "records/records.h"
#include "tools/colony_names.h"

namespace orrimar {

namespace {

using Mode = RawRecordFile::Mode;

constexpr long kLastRace = 65534;             // 65535 marks an independent colony
constexpr std::uint16_t kIndependent = 65535;
constexpr std::uint8_t kPlanetColony = 1;      // any other kind is a moon base
constexpr std::int32_t kUncontrolled = -1;
// One control entry per possible 16-bit system id: marking is a direct
// index, and scanning in id order yields the systems sorted.
constexpr std::int64_t kSystemIds = 65536;
constexpr int kFacilityCount = static_cast<int>(kFacilityNames.size());

using Out = std::back_insert_iterator<std::string>;

// A record looked up by an id taken from another record.
template <typename T>
T readById(RecordFile<T>& file, std::int64_t id) {
    if (id < 0 || id >= file.count()) {
        throw IoError(fmt::format("Read beyond end of file (record {} of {})", id, file.path()));
    }
    return file.read(id);
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
    return colony.allegiance == race || (colony.race == race && colony.allegiance == kIndependent);
}

void writeLine(Out out, std::string_view text) {
    fmt::format_to(out, "{}\r\n", text);
}

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

    void colonyBlock(const TColonyRec& colony, std::int64_t number) {
        // A moon base's world is the moon; its system and "Plan alleg" come
        // from the planet the moon orbits.
        int worldType = 0;
        TPlanetRec planet;
        if (colony.kind == kPlanetColony) {
            planet = readById(in.planets, colony.worldId);
            worldType = planet.worldType;
        } else {
            const TMoonRec moon = readById(in.moons, colony.worldId);
            worldType = moon.worldType;
            planet = readById(in.planets, moon.planetId);
        }
        const std::int32_t system = planet.systemId;
        if (system < 0 || system >= kSystemIds) {
            throw RangeError(fmt::format("Range check error (system id {})", system));
        }
        if (worldType < 1 || worldType > world::kCount) {
            throw RangeError(fmt::format("Range check error (world type {})", worldType));
        }

        Out out(text);
        writeLine(out, fmt::format("{}{}", colony.kind == kPlanetColony ? "Colony: " : "Moon base: ", number));
        writeLine(out, fmt::format("world id  : {}", colony.worldId));
        writeLine(out, fmt::format("system    : {}", system));
        // An independent colony is listed but controls nothing.
        auto& entry = control[static_cast<std::size_t>(system)];
        if (entry == kUncontrolled && colony.allegiance == race) {
            entry = race;
            ++controlled;
        }
        writeLine(out, fmt::format("world     : {}", worldTypeName(worldType)));
        writeLine(out, fmt::format("type      : {}", colonyTypeName(colony.colonyType)));
        writeLine(out, fmt::format("race      : {}", colony.race));
        if (colony.allegiance == kIndependent) {
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
            const TSystemRec system = readById(in.systems, s);
            writeLine(out, fmt::format("{:6} {:5} {:5} {:5}    ", s, system.x, system.y, system.z));
        }
    }
};

// Writes `text` to `target` through a sibling file renamed over it.
void replaceFile(const std::string& target, const std::string& text) {
    AtomicOutputFile file(target);
    file.write(text);
    file.commit();
}

}  // namespace

void WriteColoniesReport(const std::string& sectorBase, long race, const std::string& logBase) {
    // -1 would match every unmarked control entry and 65535 the independent
    // marker, so neither names a race.
    if (race < 0 || race > kLastRace) {
        throw InputError(fmt::format("Race number {} is out of range: it must be between 0 and {}", race, kLastRace));
    }
    SectorInputs inputs(sectorBase);
    Report report(inputs, static_cast<std::uint16_t>(race));

    writeHeading(Out(report.text), race);
    for (std::int64_t i = 0; i < inputs.colonies.count(); ++i) {
        const TColonyRec colony = inputs.colonies.read(i);
        if (!belongsTo(colony, report.race)) continue;
        try {
            report.colonyBlock(colony, i);
        } catch (const RangeError& e) {
            throw RangeError(fmt::format("{} at colony {}", e.what(), i));
        }
    }
    report.controlTable();

    replaceFile(logBase + ".log", report.text);
}

}  // namespace orrimar

#include "tools/sector_check.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#include <fmt/format.h>

#include "common/bit_flags.h"
#include "common/errors.h"
#include "records/cell_occupancy.h"
#include "records/colony_codes.h"
#include "records/sector_base.h"
#include "records/record_reader.h"
#include "records/record_validation.h"
#include "records/records.h"
#include "records/sector_files.h"
#include "records/sector_lock.h"
#include "records/world_types.h"
#include "tools/name_check.h"

namespace orrimar {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxOrbits = 18;

constexpr int kAtmosphereClasses = 6;
constexpr int kCompositions = 21;
constexpr int kPopulationCodes = kPopulationCodeCount;
constexpr int kColonyTypes = static_cast<int>(kColonyTypeNames.size());
constexpr int kStarportClasses = static_cast<int>(kStarportNames.size());

// What is wrong with a physical figure that every log computes with: not a
// number, infinite or negative. Zero is sound: a dark remnant star gives no
// light and may carry no mass figure, and an airless world has no pressure.
const char* figureFault(float value) {
    if (std::isnan(value)) return "is not a number";
    if (std::isinf(value)) return "is infinite";
    if (value < 0.0F) return "is negative";
    return nullptr;
}

bool outside(int code, int low, int high) { return code < low || code > high; }

class Checker {
public:
    explicit Checker(const std::string& baseName, const SectorExtent* limit = nullptr)
        : base_(baseName),
          limit_(limit),
          // A missing member is a problem to list, not an error.
          systems_(sectorPath(baseName, ".sun"), IfMissing::Empty),
          planets_(sectorPath(baseName, ".pln"), IfMissing::Empty),
          moons_(sectorPath(baseName, ".mon"), IfMissing::Empty),
          races_(sectorPath(baseName, ".aln"), IfMissing::Empty),
          names_(sectorPath(baseName, ".nam"), IfMissing::Empty),
          colonies_(sectorPath(baseName, ".col"), IfMissing::Empty),
          control_(sectorPath(baseName, ".con"), IfMissing::Empty),
          empires_(sectorPath(baseName, ".emp"), IfMissing::Empty) {}

    SectorCheckReport run() {
        if (!systems_.present() && !planets_.present() && !moons_.present() && !races_.present() && !names_.present()) {
            std::string missing = missingSectorMessage(base_);
            if (missing.empty()) missing = fmt::format("No sector at {} ({} not found)", base_, systems_.path());
            throw MissingError(missing);
        }
        if (limit_ != nullptr) {
            systems_.limitTo(limit_->systems);
            planets_.limitTo(limit_->planets);
            moons_.limitTo(limit_->moons);
            races_.limitTo(limit_->races);
        }
        report_.systems = systems_.count();
        report_.planets = planets_.count();
        report_.moons = moons_.count();
        report_.races = races_.count();
        if (limit_ == nullptr) {
            checkFiles();
            checkNameHeader();
            checkNameRecords(names_, {report_.systems, report_.planets, report_.moons, report_.races},
                             [this](const std::string& line) { problem("{}", line); });
        }
        checkSystems();
        checkPlanets();
        checkMoonCodes();
        checkRaces();
        if (limit_ == nullptr) checkColonies();
        checkAsReadersDo();
        return std::move(report_);
    }

private:
    template <typename... Args>
    void problem(fmt::format_string<Args...> format, Args&&... args) {
        ++report_.problemCount;
        std::string line = fmt::format(format, std::forward<Args>(args)...);
        noteRecord(line);
        if (report_.problems.size() < kMaxListedProblems) report_.problems.push_back(std::move(line));
    }

    // The record a problem line begins with ("planet 12: ..."), so that the
    // readers' pass below does not list the same record twice.
    void noteRecord(const std::string& line) {
        const auto space = line.find(' ');
        if (space == std::string::npos) return;
        const std::string kind = line.substr(0, space);
        long long id = 0;
        if (std::sscanf(line.c_str() + space + 1, "%lld", &id) != 1) return;
        flagged_.insert(kind + " " + std::to_string(id));
    }

    template <typename T>
    void checkRecordFile(const RecordReader<T>& file) {
        if (!file.present()) {
            problem("{}: missing", file.path());
        } else if (file.partialBytes() != 0) {
            problem("{}: not a whole number of {}-byte records ({} bytes over)", file.path(), sizeof(T),
                    file.partialBytes());
        }
    }

    // Members that generation creates empty and other programs fill.
    void checkSideFile(const char* extension, std::size_t recordSize) {
        const std::string path = sectorPath(base_, extension);
        std::error_code ec;
        const auto size = fs::file_size(path, ec);
        if (ec) {
            problem("{}: missing", path);
        } else if (recordSize != 0 && size % recordSize != 0) {
            problem("{}: not a whole number of {}-byte records ({} bytes over)", path, recordSize, size % recordSize);
        }
    }

    void checkFiles() {
        checkRecordFile(systems_);
        checkRecordFile(planets_);
        checkRecordFile(moons_);
        checkRecordFile(races_);
        checkRecordFile(names_);
        checkSideFile(".col", sizeof(TColonyRec));
        checkSideFile(".con", sizeof(TConRec));
        checkSideFile(".cmt", 0);
        // The empire file is optional: a sector rebuilt after a missing member
        // has none until another program writes one.
        std::error_code ec;
        const std::string empires = sectorPath(base_, ".emp");
        if (fs::exists(empires, ec)) checkSideFile(".emp", sizeof(TEmpireRec));
    }

    void checkNameHeader() {
        if (!names_.present()) return;
        if (names_.count() == 0) {
            problem("{}: no header record", names_.path());
            return;
        }
        const TNameRec& header = names_.read(0);
        if (header.kind != 0 || header.value != 8) {
            problem("{}: header record has kind {} and value {}, expected 0 and 8", names_.path(), header.kind,
                    header.value);
        }
        if (header.name.length > header.name.chars.size()) {
            problem("{}: header name length {} exceeds {}", names_.path(), header.name.length,
                    header.name.chars.size());
        }
    }

    // The planets of one star: in the planet file from its first planet id,
    // naming the system, on the orbits of the table, belts where it says so.
    void checkStarPlanets(std::int64_t s, const TSystemRec& sys, std::size_t star) {
        const int count = sys.planetCount[star];
        const std::int64_t first = sys.firstPlanetId[star];
        if (first != expectedPlanet_) {
            problem("system {} star {}: first planet id {}, expected {}", s, star + 1, first, expectedPlanet_);
        }
        expectedPlanet_ = first + count;
        if (count > kMaxOrbits) {
            problem("system {} star {}: planet count {} exceeds {}", s, star + 1, count, kMaxOrbits);
            return;
        }
        if (first < 0 || first + count > planets_.count()) {
            problem("system {} star {}: planets {}..{} outside the planet file's {} records", s, star + 1, first,
                    first + count - 1, planets_.count());
            return;
        }
        for (int j = 0; j < count; ++j) {
            const std::int64_t id = first + j;
            const TPlanetRec& p = planets_.read(id);
            if (p.systemId != s) problem("planet {}: system id {}, expected {}", id, p.systemId, s);
            const std::int16_t entry = sys.orbit[static_cast<std::size_t>(j)][star];
            const bool beltOrbit = entry < 0;
            const int radius = beltOrbit ? -entry : (entry == 0 ? 1 : entry);
            if (p.orbitRadius != radius) {
                problem("system {} star {} orbit {}: the orbit table holds {} but planet {} lies at {}", s, star + 1,
                        j + 1, entry, id, p.orbitRadius);
            }
            if (beltOrbit != isBelt(p.worldType)) {
                problem("system {} star {} orbit {}: the orbit table {} a belt but planet {} has world type {}", s,
                        star + 1, j + 1, beltOrbit ? "marks" : "does not mark", id, p.worldType);
            }
        }
    }

    void checkSystems() {
        for (std::int64_t s = 0; s < systems_.count(); ++s) {
            const TSystemRec& sys = systems_.read(s);
            if (sys.starCount < 1 || sys.starCount > 3) {
                problem("system {}: star count {}", s, sys.starCount);
                continue;
            }
            for (std::size_t star = 0; star < 3; ++star) {
                if (star < sys.starCount) {
                    if (sys.starKind[star] < 1 || sys.starKind[star] > 23) {
                        problem("system {} star {}: star kind {}", s, star + 1, sys.starKind[star]);
                    }
                    if (const char* fault = figureFault(sys.luminosity[star])) {
                        problem("system {} star {}: luminosity {} {}", s, star + 1, sys.luminosity[star], fault);
                    }
                    if (const char* fault = figureFault(sys.mass[star])) {
                        problem("system {} star {}: mass {} {}", s, star + 1, sys.mass[star], fault);
                    }
                    checkStarPlanets(s, sys, star);
                } else if (sys.planetCount[star] != 0) {
                    problem("system {}: absent star {} has planet count {}", s, star + 1, sys.planetCount[star]);
                }
            }
            if (sys.systemRaceId != kNoRace && sys.systemRaceId >= races_.count()) {
                problem("system {}: system race id {} beyond the race file's {} records", s, sys.systemRaceId,
                        races_.count());
            }
        }
        if (expectedPlanet_ < planets_.count()) {
            problem("planets {}..{} belong to no system", expectedPlanet_, planets_.count() - 1);
        }
    }

    void checkMoons(std::int64_t id, const TPlanetRec& p) {
        const std::int64_t first = p.firstMoonId;
        if (first != expectedMoon_) problem("planet {}: first moon id {}, expected {}", id, first, expectedMoon_);
        expectedMoon_ = first + p.moonCount;
        if (first < 0 || first + p.moonCount > moons_.count()) {
            problem("planet {}: moons {}..{} outside the moon file's {} records", id, first, first + p.moonCount - 1,
                    moons_.count());
            return;
        }
        for (std::int64_t m = first; m < first + p.moonCount; ++m) {
            const TMoonRec& moon = moons_.read(m);
            if (moon.planetId != id) problem("moon {}: planet id {}, expected {}", m, moon.planetId, id);
        }
    }

    void checkPlanets() {
        for (std::int64_t id = 0; id < planets_.count(); ++id) {
            const TPlanetRec& p = planets_.read(id);
            if (p.systemId < 0 || p.systemId >= systems_.count()) {
                problem("planet {}: system id {} beyond the system file's {} records", id, p.systemId,
                        systems_.count());
            }
            if (p.worldType < 1 || p.worldType > world::kCount) problem("planet {}: world type {}", id, p.worldType);
            checkWorldCodes("planet", id, p.atmosphereClass, p.composition, p.pressure);
            if (isBelt(p.worldType) && (p.moonCount != 0 || p.atmosphereClass != 6)) {
                problem("planet {}: a belt with {} moons and atmosphere class {}", id, p.moonCount, p.atmosphereClass);
            }
            if (p.moonCount > 0) checkMoons(id, p);
            if (hasNativeRace(p)) {
                const std::int64_t r = p.nativeRaceId;
                if (r < 0 || r >= races_.count()) {
                    problem("planet {}: native race id {} beyond the race file's {} records", id, r, races_.count());
                } else if (const std::int64_t home = races_.read(r).worldId; home != id && home != -id) {
                    problem("planet {}: its native race {} names world {}", id, r, races_.read(r).worldId);
                }
            }
            // The colonising race id is read as a 16-bit race id, kNoRace for none.
            const auto colonisingRace = static_cast<std::uint16_t>(p.colonisingRaceId);
            if (isColonised(p) && colonisingRace != kNoRace && colonisingRace >= races_.count()) {
                problem("planet {}: colonising race id {} beyond the race file's {} records", id, colonisingRace,
                        races_.count());
            }
        }
        if (expectedMoon_ < moons_.count()) {
            problem("moons {}..{} belong to no planet", expectedMoon_, moons_.count() - 1);
        }
    }

    // The codes a planet and a moon share: the tables the logs look them up in.
    void checkWorldCodes(const char* what, std::int64_t id, int atmosphereClass, int composition, float pressure) {
        if (outside(atmosphereClass, 1, kAtmosphereClasses)) {
            problem("{} {}: atmosphere class {} outside 1..{}", what, id, atmosphereClass, kAtmosphereClasses);
        }
        if (outside(composition, 1, kCompositions)) {
            problem("{} {}: atmosphere composition {} outside 1..{}", what, id, composition, kCompositions);
        }
        if (const char* fault = figureFault(pressure)) problem("{} {}: pressure {} {}", what, id, pressure, fault);
    }

    // Every moon, also those no planet claims (listed above as such).
    void checkMoonCodes() {
        for (std::int64_t m = 0; m < moons_.count(); ++m) {
            const TMoonRec& moon = moons_.read(m);
            if (moon.worldType < 1 || moon.worldType > world::kCount) {
                problem("moon {}: world type {} outside 1..{}", m, moon.worldType, world::kCount);
            }
            checkWorldCodes("moon", m, moon.atmosphereClass, moon.composition, moon.pressure);
        }
    }

    void checkRaces() {
        for (std::int64_t r = 0; r < races_.count(); ++r) {
            const std::int64_t w = races_.read(r).worldId;
            // Other programs write a home world as a negated planet id (and
            // the merger keeps it negative): sound when its magnitude is a
            // planet. No planet names such a race as its native one.
            if (w < 0 && -w < planets_.count()) continue;
            if (w < 0 || w >= planets_.count()) {
                problem("race {}: world id {} beyond the planet file's {} records", r, w, planets_.count());
                continue;
            }
            const TPlanetRec& p = planets_.read(w);
            if (!hasNativeRace(p) || p.nativeRaceId != r) {
                problem("race {}: its world {} does not name it", r, w);
            }
        }
    }

    // Colonies point at a planet (kind 1) or a moon, name the race living
    // there and the race owning it, and carry the codes of the colonies
    // report's tables.
    void checkColonies() {
        for (std::int64_t c = 0; c < colonies_.count(); ++c) {
            const TColonyRec& colony = colonies_.read(c);
            if (isVacant(colony)) continue;
            const bool onPlanet = colony.kind == kPlanetColony;
            const std::int64_t worlds = onPlanet ? planets_.count() : moons_.count();
            if (colony.worldId < 0 || colony.worldId >= worlds) {
                problem("colony {}: world id {} beyond the {} file's {} records", c, colony.worldId,
                        onPlanet ? "planet" : "moon", worlds);
            }
            if (colony.race >= races_.count()) {
                problem("colony {}: race {} beyond the race file's {} records", c, colony.race, races_.count());
            }
            if (colony.allegiance != kNoRace && colony.allegiance >= races_.count()) {
                problem("colony {}: allegiance {} beyond the race file's {} records", c, colony.allegiance,
                        races_.count());
            }
            if (colony.populationCode >= kPopulationCodes) {
                problem("colony {}: population code {} outside 0..{}", c, colony.populationCode, kPopulationCodes - 1);
            }
            if (outside(colony.colonyType, 1, kColonyTypes)) {
                problem("colony {}: colony type {} outside 1..{}", c, colony.colonyType, kColonyTypes);
            }
            if (outside(colony.starport, 1, kStarportClasses)) {
                problem("colony {}: starport class {} outside 1..{}", c, colony.starport, kStarportClasses);
            }
        }
    }

    // Every record through the validating layer the logs, reports and
    // exports read with: nothing they would refuse is called sound. A
    // problem the walks above found in the same record is listed again in
    // the readers' words, which name the field.
    template <typename T>
    void checkAllAsRead(RecordReader<T>& file, const char* kind, const SectorCounts& counts) {
        for (std::int64_t id = 0; id < file.count(); ++id) {
            if (flagged_.contains(fmt::format("{} {}", kind, id))) continue;
            if (auto fault = recordProblem(file.read(id), counts)) problem("{} {}: {}", kind, id, *fault);
        }
    }

    void checkAsReadersDo() {
        const SectorCounts counts{systems_.count(), planets_.count(), moons_.count(), races_.count()};
        checkAllAsRead(systems_, "system", counts);
        checkAllAsRead(planets_, "planet", counts);
        checkAllAsRead(moons_, "moon", counts);
        checkAllAsRead(races_, "race", counts);
        if (limit_ == nullptr) {
            checkAllAsRead(colonies_, "colony", counts);
            checkAllAsRead(control_, "control", counts);
            checkAllAsRead(empires_, "empire", counts);
            checkSettledLayer();
        }
    }

    // What is not damage but not as this program writes it: a world with two
    // colonies, a planet whose colonising race is not its colony's owner.
    void checkSettledLayer() {
        const WorldCounts counts{systems_.count(), planets_.count(), moons_.count()};
        std::unordered_set<std::int64_t> planetWorlds;
        std::unordered_set<std::int64_t> moonWorlds;
        for (std::int64_t c = 0; c < colonies_.count(); ++c) {
            const TColonyRec& colony = colonies_.read(c);
            if (isVacant(colony) || colony.worldId < 0) continue;
            auto& seen = isMoonBase(colony) ? moonWorlds : planetWorlds;
            if (!seen.insert(colony.worldId).second) {
                warning("colony {}: {} {} already holds a colony", c, isMoonBase(colony) ? "moon" : "planet",
                        colony.worldId);
            }
            if (isMoonBase(colony) || colony.worldId >= counts.planets) continue;
            const TPlanetRec& planet = planets_.read(colony.worldId);
            if (colonisingRace(planet) != colony.allegiance) {
                warning("colony {}: planet {} names {} as its colonising race, the colony's owner is {}", c,
                        colony.worldId, raceText(colonisingRace(planet)), raceText(colony.allegiance));
            }
        }
    }

    static std::string raceText(std::uint16_t race) {
        return race == kNoRace ? std::string("none") : fmt::format("race {}", race);
    }

    template <typename... Args>
    void warning(fmt::format_string<Args...> format, Args&&... args) {
        if (report_.warnings.size() < kMaxListedProblems) {
            report_.warnings.push_back(fmt::format(format, std::forward<Args>(args)...));
        }
    }

    std::string base_;
    const SectorExtent* limit_;
    RecordReader<TSystemRec> systems_;
    RecordReader<TPlanetRec> planets_;
    RecordReader<TMoonRec> moons_;
    RecordReader<TAlienRec> races_;
    RecordReader<TNameRec> names_;
    RecordReader<TColonyRec> colonies_;
    RecordReader<TConRec> control_;
    RecordReader<TEmpireRec> empires_;
    SectorCheckReport report_;
    std::unordered_set<std::string> flagged_;  // "planet 12": records with a problem listed
    std::int64_t expectedPlanet_ = 0;
    std::int64_t expectedMoon_ = 0;
};

}  // namespace

SectorCheckReport CheckSector(const std::string& givenBase) {
    const std::string baseName = sectorBaseName(givenBase);
    // Read whole: a writer's half-appended system is never reported as damage.
    const SectorLock lock = SectorLock::forReading(baseName);
    SectorCheckReport report = Checker(baseName).run();
    // A sector whose systems cannot be read is reported above.
    if (recordCountOnDisk(sectorPath(baseName, ".sun"), sizeof(TSystemRec)) > 0) {
        for (const DoubledCell& cell : DoubledCells(baseName)) {
            if (report.warnings.size() >= kMaxListedProblems) break;
            std::string ids;
            for (const std::int64_t id : cell.systemIds) ids += (ids.empty() ? "" : ", ") + std::to_string(id);
            report.warnings.push_back(fmt::format("cell {},{},{} holds {} systems: {}", cell.cell.x, cell.cell.y,
                                                  cell.cell.z, cell.systemIds.size(), ids));
        }
    }
    return report;
}

SectorCheckReport CheckSectorPrefix(const std::string& baseName, const SectorExtent& extent) {
    return Checker(baseName, &extent).run();
}

}  // namespace orrimar

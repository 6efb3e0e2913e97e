#include "records/sector_tail.h"

#include <algorithm>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

#include <fmt/format.h>

#include "common/bit_flags.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "records/sector_files.h"

namespace orrimar {

namespace {

// How many planets at the end of the file the tail test looks through for
// the last one with moons or a native race: one block read.
constexpr std::int64_t kTailWindow = 4096;
// Problems listed in a refusal; the rest are for `check`.
constexpr std::size_t kListedProblems = 5;

// One past the last planet a system names (its planets follow one another).
std::int64_t planetEnd(const TSystemRec& s) {
    std::int64_t end = 0;
    const auto stars = static_cast<std::size_t>(starCountOf(s));
    for (std::size_t i = 0; i < stars; ++i)
        end = std::max<std::int64_t>(end, std::int64_t{s.firstPlanetId[i]} + s.planetCount[i]);
    return end;
}

struct Families {
    RecordReader<TSystemRec> systems;
    RecordReader<TPlanetRec> planets;
    RecordReader<TMoonRec> moons;
    RecordReader<TAlienRec> races;

    explicit Families(const std::string& base)
        : systems(sectorPath(base, ".sun"), IfMissing::Empty),
          planets(sectorPath(base, ".pln"), IfMissing::Empty),
          moons(sectorPath(base, ".mon"), IfMissing::Empty),
          races(sectorPath(base, ".aln"), IfMissing::Empty) {}

    bool anyPresent() const { return systems.present() || planets.present() || moons.present() || races.present(); }
    SectorExtent counts() const { return {systems.count(), planets.count(), moons.count(), races.count()}; }

    std::vector<std::string> tornFiles() const {
        std::vector<std::string> torn;
        if (systems.hasPartialRecord()) torn.push_back(systems.path());
        if (planets.hasPartialRecord()) torn.push_back(planets.path());
        if (moons.hasPartialRecord()) torn.push_back(moons.path());
        if (races.hasPartialRecord()) torn.push_back(races.path());
        return torn;
    }
};

}  // namespace

DamagedSectorError::DamagedSectorError(const std::string& baseName, std::vector<std::string> problems, bool repairable)
    : InputError([&] {
          std::string text = fmt::format("The sector {} is not whole:", baseName);
          const std::size_t listed = std::min(problems.size(), kListedProblems);
          for (std::size_t i = 0; i < listed; ++i) text += "\n  " + problems[i];
          if (problems.size() > listed) text += fmt::format("\n  ... and {} more", problems.size() - listed);
          if (repairable) {
              text += fmt::format("\nRun \"orrimar-cli repair {}\" to cut it back to its last whole system.", baseName);
          } else {
              text += fmt::format("\nRun \"orrimar-cli check {}\" for every problem.", baseName);
          }
          return text;
      }()),
      baseName_(baseName),
      problems_(std::move(problems)),
      repairable_(repairable) {}

std::int64_t zeroedTailRecords(const std::string& path, std::size_t recordSize, std::int64_t records) {
    if (records <= 0) return 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    // Read backwards a block at a time: a zeroed tail is a few pages at most.
    constexpr std::int64_t kBlockRecords = 256;
    std::vector<unsigned char> bytes;
    std::int64_t zeroed = 0;
    std::int64_t end = records;
    bool done = false;
    while (!done && end > 0) {
        const std::int64_t first = std::max<std::int64_t>(0, end - kBlockRecords);
        bytes.resize(static_cast<std::size_t>(end - first) * recordSize);
        const auto offset = static_cast<off_t>(first * static_cast<std::int64_t>(recordSize));
        if (::pread(fd, bytes.data(), bytes.size(), offset) != static_cast<ssize_t>(bytes.size())) break;
        for (std::int64_t r = end - first; r-- > 0;) {
            const unsigned char* rec = bytes.data() + static_cast<std::size_t>(r) * recordSize;
            if (std::any_of(rec, rec + recordSize, [](unsigned char b) { return b != 0; })) {
                done = true;
                break;
            }
            ++zeroed;
        }
        end = first;
    }
    ::close(fd);
    return zeroed;
}

SectorTail FindLastWholeSystem(const std::string& baseName, const SectorExtent& knownWhole, std::int64_t systemLimit) {
    Families f(baseName);
    SectorTail tail;
    tail.onDisk = f.counts();
    tail.tornFiles = f.tornFiles();
    // Zeroed records at the ends are not there.
    f.systems.limitTo(tail.onDisk.systems -
                      zeroedTailRecords(f.systems.path(), sizeof(TSystemRec), tail.onDisk.systems));
    f.planets.limitTo(tail.onDisk.planets -
                      zeroedTailRecords(f.planets.path(), sizeof(TPlanetRec), tail.onDisk.planets));
    f.moons.limitTo(tail.onDisk.moons - zeroedTailRecords(f.moons.path(), sizeof(TMoonRec), tail.onDisk.moons));
    f.races.limitTo(tail.onDisk.races - zeroedTailRecords(f.races.path(), sizeof(TAlienRec), tail.onDisk.races));
    const SectorExtent present = f.counts();
    const std::int64_t systems = systemLimit < 0 ? present.systems : std::min(systemLimit, present.systems);

    SectorExtent need = knownWhole;  // what the systems so far reference
    tail.whole = knownWhole;
    std::int64_t s = knownWhole.systems;
    for (; s < systems; ++s) {
        const TSystemRec sys = f.systems.read(s);
        const std::int64_t end = std::max(need.planets, planetEnd(sys));
        if (end > present.planets) break;
        SectorExtent next = need;
        for (std::int64_t id = need.planets; id < end; ++id) {
            const TPlanetRec p = f.planets.read(id);
            if (p.moonCount > 0)
                next.moons = std::max<std::int64_t>(next.moons, std::int64_t{p.firstMoonId} + p.moonCount);
            if (hasNativeRace(p) && p.nativeRaceId >= 0)
                next.races = std::max<std::int64_t>(next.races, std::int64_t{p.nativeRaceId} + 1);
        }
        next.planets = end;
        if (sys.systemRaceId != kNoRace)
            next.races = std::max<std::int64_t>(next.races, std::int64_t{sys.systemRaceId} + 1);
        if (next.moons > present.moons || next.races > present.races) break;
        next.systems = s + 1;
        need = next;
        tail.whole = need;
    }
    // The systems past the break: a stopped append leaves them in file
    // order, each one's planets after the planets of the one before (some
    // may even look whole: their own records reached the disk, an earlier
    // system's did not). A system whose planets start before the end of its
    // predecessor's is damage instead.
    std::int64_t previousEnd = need.planets;
    for (std::int64_t later = tail.whole.systems; later < present.systems && tail.tailOnly; ++later) {
        const TSystemRec sys = f.systems.read(later);
        const auto stars = static_cast<std::size_t>(starCountOf(sys));
        for (std::size_t i = 0; i < stars; ++i) {
            if (sys.planetCount[i] > 0 && sys.firstPlanetId[i] < previousEnd) tail.tailOnly = false;
        }
        if (sys.systemRaceId != kNoRace && sys.systemRaceId < tail.whole.races) tail.tailOnly = false;
        previousEnd = std::max(previousEnd, planetEnd(sys));
    }
    return tail;
}

std::int64_t FirstNameRecordPast(const std::string& baseName, const SectorExtent& extent, std::int64_t from) {
    RecordReader<TNameRec> names(sectorPath(baseName, ".nam"), IfMissing::Empty);
    // Kinds 1 to 4 name systems, planets, races and moons.
    const std::int64_t limits[] = {0, extent.systems, extent.planets, extent.races, extent.moons};
    const std::int64_t count = names.count() - zeroedTailRecords(names.path(), sizeof(TNameRec), names.count());
    for (std::int64_t id = std::max<std::int64_t>(from, 1); id < count; ++id) {
        const TNameRec rec = names.read(id);
        if (rec.kind >= 1 && rec.kind <= 4 && rec.value >= limits[rec.kind]) return id;
    }
    return count;
}

std::vector<std::string> SectorTailProblems(const std::string& baseName) {
    Families f(baseName);
    std::vector<std::string> problems;
    if (!f.anyPresent()) return problems;
    for (const std::string& path : f.tornFiles()) problems.push_back(fmt::format("{}: ends in a torn record", path));
    const SectorExtent n = f.counts();

    std::int64_t planetsNamed = 0;
    if (n.systems > 0) {
        const TSystemRec last = f.systems.read(n.systems - 1);
        planetsNamed = planetEnd(last);
    }
    if (planetsNamed != n.planets) {
        problems.push_back(fmt::format("{}: holds {} planets but the last system names planets up to {}",
                                       f.planets.path(), groupedCount(n.planets), planetsNamed));
    }

    // The last planets: the moons and races they name must be on disk.
    const std::int64_t window = std::min(n.planets, planetsNamed);
    std::int64_t moonsNamed = -1;
    std::int64_t racesNamed = -1;
    for (std::int64_t id = std::max<std::int64_t>(0, window - kTailWindow); id < window; ++id) {
        const TPlanetRec p = f.planets.read(id);
        if (p.moonCount > 0) moonsNamed = std::int64_t{p.firstMoonId} + p.moonCount;
        if (hasNativeRace(p)) racesNamed = std::int64_t{p.nativeRaceId} + 1;
    }
    if (moonsNamed > n.moons) {
        problems.push_back(fmt::format("{}: holds {} moons but the planets name moons up to {}", f.moons.path(),
                                       groupedCount(n.moons), moonsNamed - 1));
    }
    if (racesNamed > n.races) {
        problems.push_back(fmt::format("{}: holds {} races but the planets name races up to {}", f.races.path(),
                                       groupedCount(n.races), racesNamed - 1));
    }

    // The last moon and the last race: a planet on disk names each.
    if (n.moons > 0) {
        const TMoonRec moon = f.moons.read(n.moons - 1);
        bool named = moon.planetId >= 0 && moon.planetId < window;
        if (named) {
            const TPlanetRec owner = f.planets.read(moon.planetId);
            named = owner.moonCount > 0 && std::int64_t{owner.firstMoonId} + owner.moonCount == n.moons;
        }
        if (!named) {
            problems.push_back(
                fmt::format("{}: moon {} is named by no planet of the whole systems", f.moons.path(), n.moons - 1));
        }
    }
    if (n.races > 0) {
        // Other programs write a race's world id negated; its magnitude is the planet.
        const std::int64_t world = std::llabs(f.races.read(n.races - 1).worldId);
        bool named = world < window;
        if (named && f.races.read(n.races - 1).worldId >= 0) {
            const TPlanetRec home = f.planets.read(world);
            named = hasNativeRace(home) && home.nativeRaceId == n.races - 1;
        }
        if (!named) {
            problems.push_back(
                fmt::format("{}: race {} is named by no planet of the whole systems", f.races.path(), n.races - 1));
        }
    }
    return problems;
}

std::vector<std::string> SectorReferenceProblems(const std::string& baseName) {
    constexpr std::size_t kEnough = 50;
    std::vector<std::string> problems = SectorTailProblems(baseName);
    Families f(baseName);
    const SectorExtent n = f.counts();
    const auto add = [&](std::string text) {
        if (problems.size() < kEnough) problems.push_back(std::move(text));
    };
    for (std::int64_t s = 0; s < n.systems && problems.size() < kEnough; ++s) {
        const TSystemRec sys = f.systems.read(s);
        if (sys.systemRaceId != kNoRace && sys.systemRaceId >= n.races) {
            add(fmt::format("{}: system {} names race {}, beyond the race file's {} records", f.systems.path(), s,
                            sys.systemRaceId, n.races));
        }
        const auto stars = static_cast<std::size_t>(starCountOf(sys));
        for (std::size_t i = 0; i < stars; ++i) {
            const std::int64_t first = sys.firstPlanetId[i];
            const std::int64_t end = first + sys.planetCount[i];
            if (sys.planetCount[i] == 0) continue;
            if (first < 0 || end > n.planets) {
                add(fmt::format("{}: system {} star {} names planets {}..{}, beyond the planet file's {} records",
                                f.systems.path(), s, i + 1, first, end - 1, n.planets));
                continue;
            }
            for (std::int64_t id = first; id < end; ++id) {
                const std::int32_t owner = f.planets.read(id).systemId;
                if (owner != s)
                    add(fmt::format("{}: planet {} names system {}, not {}", f.planets.path(), id, owner, s));
            }
        }
    }
    for (std::int64_t id = 0; id < n.planets && problems.size() < kEnough; ++id) {
        const TPlanetRec p = f.planets.read(id);
        if (p.systemId < 0 || p.systemId >= n.systems) {
            add(fmt::format("{}: planet {} names system {}, beyond the system file's {} records", f.planets.path(), id,
                            p.systemId, n.systems));
        }
        if (hasNativeRace(p) && (p.nativeRaceId < 0 || p.nativeRaceId >= n.races)) {
            add(fmt::format("{}: planet {} names race {}, beyond the race file's {} records", f.planets.path(), id,
                            p.nativeRaceId, n.races));
        }
        if (p.moonCount == 0) continue;
        const std::int64_t first = p.firstMoonId;
        const std::int64_t end = first + p.moonCount;
        if (first < 0 || end > n.moons) {
            add(fmt::format("{}: planet {} names moons {}..{}, beyond the moon file's {} records", f.planets.path(), id,
                            first, end - 1, n.moons));
            continue;
        }
        for (std::int64_t m = first; m < end; ++m) {
            const std::int32_t owner = f.moons.read(m).planetId;
            if (owner != id) add(fmt::format("{}: moon {} names planet {}, not {}", f.moons.path(), m, owner, id));
        }
    }
    for (std::int64_t r = 0; r < n.races && problems.size() < kEnough; ++r) {
        const std::int64_t world = std::llabs(f.races.read(r).worldId);
        if (world >= n.planets) {
            add(fmt::format("{}: race {} names world {}, beyond the planet file's {} records", f.races.path(), r,
                            f.races.read(r).worldId, n.planets));
        }
    }
    return problems;
}

void RequireWholeSectorTail(const std::string& baseName) {
    std::vector<std::string> problems = SectorTailProblems(baseName);
    if (!problems.empty()) throw DamagedSectorError(baseName, std::move(problems), true);
}

}  // namespace orrimar

#include "atlas/atlas_model.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <unordered_map>

#include "vocabulary/body_names.h"
#include "common/bit_flags.h"
#include "common/ansi_text.h"
#include "names/sector_names.h"
#include "generation/physics.h"
#include "common/errors.h"
#include "records/colony_codes.h"
#include "records/sector_lock.h"
#include "records/record_file.h"
#include "records/record_reader.h"
#include "records/record_validation.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/world_types.h"

namespace orrimar::atlas {

namespace {

std::uint8_t cap255(int v) { return static_cast<std::uint8_t>(std::min(v, 255)); }

std::string lastComponent(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string tornTail(const std::string& path, std::int64_t bytes) {
    return fmt::format("{} ends in a cut-off record ({} bytes); it is left out (repair removes it)", path, bytes);
}

// A settled-space file whole (a missing one reads as empty: older sectors
// have none).
template <typename T>
std::vector<T> readSettledRecords(const std::string& path, std::vector<std::string>& warnings) {
    RecordReader<T> file(path, IfMissing::Empty);
    if (file.hasPartialRecord()) warnings.push_back(tornTail(file.path(), file.partialBytes()));
    std::vector<T> all;
    all.reserve(static_cast<std::size_t>(file.count()));
    file.forEach([&](std::int64_t, const T& rec) { all.push_back(rec); });
    return all;
}

}  // namespace

std::uint8_t brightnessClass(float luminosity) {
    if (!(luminosity >= 0.01F)) return 0;  // also NaN
    const double decades = std::floor(std::log10(static_cast<double>(luminosity))) + 3.0;
    return static_cast<std::uint8_t>(std::clamp(decades, 1.0, 7.0));
}

bool isBreathable(std::uint8_t composition, std::uint8_t atmosphereClass) {
    return composition == 2 && (atmosphereClass == 3 || atmosphereClass == 4);
}

std::uint16_t gravityHundredths(std::uint8_t density, std::int32_t diameterKm) {
    if (diameterKm <= 0) return 0;
    const double g = static_cast<double>(bulkProperties(density, diameterKm).gravity) * 100.0;
    if (!(g > 0.0)) return 0;
    // Clamped before rounding: the gravity of a damaged record may lie beyond any long.
    return static_cast<std::uint16_t>(std::lround(std::min(g, 65535.0)));
}

AtlasModel AtlasModel::open(const std::string& baseName) {
    AtlasModel model;
    model.baseName_ = baseName;
    model.sectorName_ = lastComponent(baseName);
    // Read whole: a writer appending meanwhile waits until the model is read.
    const SectorLock lock = SectorLock::forReading(baseName);

    // The ranges every id must fall in, for the validating layer: records
    // that are whole on disk (a torn tail is left out with a warning).
    const auto wholeRecords = [&](const char* extension, std::size_t size) {
        return std::max<std::int64_t>(0, recordCountOnDisk(sectorPath(baseName, extension), size));
    };
    SectorCounts counts;
    counts.planets = wholeRecords(".pln", sizeof(TPlanetRec));
    counts.moons = wholeRecords(".mon", sizeof(TMoonRec));
    counts.races = wholeRecords(".aln", sizeof(TAlienRec));

    // Systems: the whole file, a few bytes kept of each record. A system
    // whose codes, figures or planet ranges are damaged is refused, naming
    // the file, the record and the field.
    {
        RecordReader<TSystemRec> systems(sectorPath(baseName, ".sun"));
        counts.systems = systems.count();
        // Without a planet file every planet range would look damaged: the
        // missing file is the error to name.
        if (recordCountOnDisk(sectorPath(baseName, ".pln"), sizeof(TPlanetRec)) < 0) {
            RecordReader<TPlanetRec> planets(sectorPath(baseName, ".pln"));  // throws, naming it
        }
        if (systems.count() == 0) {
            throw InputError(
                systems.hasPartialRecord()
                    ? fmt::format("Sector {} holds no whole star system: {} is {} bytes, less than one record",
                                  baseName, systems.path(), systems.partialBytes())
                    : fmt::format("Sector {} holds no star systems ({} is empty)", baseName, systems.path()));
        }
        if (systems.count() > std::numeric_limits<SystemId>::max()) {
            throw RangeError(fmt::format("{} holds more systems than the atlas can index", systems.path()));
        }
        if (systems.hasPartialRecord()) model.warnings_.push_back(tornTail(systems.path(), systems.partialBytes()));
        model.entries_.resize(static_cast<std::size_t>(systems.count()));
        model.worlds_.resize(model.entries_.size());
        systems.forEach([&](std::int64_t id, const TSystemRec& rec) {
            requireSound(rec, counts, systems.path(), id);
            SystemEntry& e = model.entries_[static_cast<std::size_t>(id)];
            e.x = rec.x;
            e.y = rec.y;
            e.z = rec.z;
            e.starKind = rec.starKind[0];
            e.brightness = brightnessClass(rec.luminosity[0]);
            e.starCount = rec.starCount;
        });
    }

    // Names: the sector's from the header, the systems' from their records,
    // the races' for settled space (a few thousand at most).
    std::unordered_map<std::uint16_t, std::string> raceNames;
    {
        const SectorNames names = SectorNames::load(baseName);
        if (names.sectorName() && !names.sectorName()->empty()) model.sectorName_ = ansiToUtf8(*names.sectorName());
        std::int64_t strays = 0;
        names.forEach(NameKind::System, [&](std::int64_t id, const std::string& name) {
            if (id < 0 || id >= model.size()) {
                ++strays;
                return;
            }
            model.setName(static_cast<SystemId>(id), ansiToUtf8(name));
        });
        names.forEach(NameKind::Race, [&](std::int64_t id, const std::string& name) {
            if (id >= 0 && id < kNoRace) raceNames[static_cast<std::uint16_t>(id)] = ansiToUtf8(name);
        });
        if (strays > 0) {
            model.warnings_.push_back(
                fmt::format("{} names in {} belong to systems that are not in the sector; "
                            "they are left out",
                            strays, sectorPath(baseName, ".nam")));
        }
    }

    // Colonies first, so that the planet pass can mark their systems: the
    // planet each colony is on or orbits (vacant records live nowhere).
    std::vector<ColonyEntry> colonies;
    std::unordered_map<std::int32_t, std::uint8_t> colonised;  // planet id -> kMarkColony | kMarkOwnedColony
    {
        RecordReader<TColonyRec> file(sectorPath(baseName, ".col"), IfMissing::Empty);
        if (file.hasPartialRecord()) model.warnings_.push_back(tornTail(file.path(), file.partialBytes()));
        std::unique_ptr<RecordReader<TMoonRec>> moons;
        const WorldCounts worlds{counts.systems, counts.planets, counts.moons};
        file.forEach([&](std::int64_t id, const TColonyRec& colony) {
            if (isVacant(colony)) return;
            const std::int64_t planetId = colonyPlanet(colony, worlds, [&](std::int64_t moonId) {
                if (!moons)
                    moons = std::make_unique<RecordReader<TMoonRec>>(sectorPath(baseName, ".mon"), IfMissing::Empty);
                return moons->read(moonId);
            });
            if (planetId < 0) {
                model.warnings_.push_back(
                    fmt::format("Colony {} of {} names {} {}, which is not in the sector; it is "
                                "left out",
                                id, file.path(), isMoonBase(colony) ? "moon" : "planet", colony.worldId));
                return;
            }
            colonies.push_back(
                ColonyEntry{static_cast<std::int32_t>(id), kNoSystem, static_cast<std::int32_t>(planetId), colony});
            auto& marks = colonised[static_cast<std::int32_t>(planetId)];
            marks =
                static_cast<std::uint8_t>(marks | kMarkColony | (colony.allegiance != kNoRace ? kMarkOwnedColony : 0));
        });
    }
    std::unordered_map<std::int32_t, SystemId> colonisedPlanetSystem;

    // Planets: one pass in file order, folded into each system's summary.
    {
        RecordReader<TPlanetRec> planets(sectorPath(baseName, ".pln"));
        if (planets.hasPartialRecord()) model.warnings_.push_back(tornTail(planets.path(), planets.partialBytes()));
        const auto systemCount = static_cast<std::int64_t>(model.entries_.size());
        std::int64_t strays = 0;
        std::int64_t firstStray = -1;
        planets.forEach([&](std::int64_t pid, const TPlanetRec& p) {
            if (p.systemId < 0 || p.systemId >= systemCount) {
                if (strays++ == 0) firstStray = pid;
                return;
            }
            requireSound(p, counts, planets.path(), pid);
            SystemEntry& e = model.entries_[static_cast<std::size_t>(p.systemId)];
            WorldSummary& w = model.worlds_[static_cast<std::size_t>(p.systemId)];
            if (w.firstPlanet < 0) w.firstPlanet = static_cast<std::int32_t>(pid);
            e.worldCount = cap255(e.worldCount + 1);
            w.worldTypes |= (p.worldType >= 1 && p.worldType <= 31) ? (1U << p.worldType) : 0U;
            if (!colonised.empty()) {
                const auto c = colonised.find(static_cast<std::int32_t>(pid));
                if (c != colonised.end()) {
                    e.marks = static_cast<std::uint8_t>(e.marks | c->second);
                    colonisedPlanetSystem[static_cast<std::int32_t>(pid)] = p.systemId;
                }
            }
            if (isBelt(p.worldType)) return;  // a belt has no climate
            const std::uint16_t g = gravityHundredths(p.density, p.diameter);
            if (w.planets == 0) {
                w.tempMin = w.tempMax = p.temperature;
                w.gravityMin = w.gravityMax = g;
                w.waterMin = p.waterCover;
            } else {
                w.waterMin = std::min(w.waterMin, p.waterCover);
                w.tempMin = std::min(w.tempMin, p.temperature);
                w.tempMax = std::max(w.tempMax, p.temperature);
                w.gravityMin = std::min(w.gravityMin, g);
                w.gravityMax = std::max(w.gravityMax, g);
            }
            w.planets = cap255(w.planets + 1);
            w.waterMax = std::max(w.waterMax, p.waterCover);
            if (isBreathable(p.composition, p.atmosphereClass)) w.breathable = cap255(w.breathable + 1);
            const auto life = static_cast<std::uint8_t>(vocabulary::lifeLevel(p.features));
            if (life > e.life) e.life = life;
            if (life != 0) e.marks = static_cast<std::uint8_t>(e.marks | kMarkNativeLife);
            if (hasNativeRace(p)) e.marks = static_cast<std::uint8_t>(e.marks | kMarkNativeRace);
        });
        if (strays > 0) {
            model.warnings_.push_back(
                fmt::format("{} planet records of {} name a system that is not in the sector "
                            "(the first is planet {}); they are left out",
                            strays, planets.path(), firstStray));
        }
    }

    // Settled space: the colonies placed in their systems, then who
    // controls what and the empires.
    {
        SettledLayer::Parts parts;
        for (ColonyEntry& c : colonies) {
            const auto system = colonisedPlanetSystem.find(c.planet);
            if (system == colonisedPlanetSystem.end()) continue;  // its planet names no system: warned above
            c.system = system->second;
            parts.colonies.push_back(c);
        }
        parts.controls = readSettledRecords<TConRec>(sectorPath(baseName, ".con"), model.warnings_);
        parts.empires = readSettledRecords<TEmpireRec>(sectorPath(baseName, ".emp"), model.warnings_);
        model.settled_ = SettledLayer::build(
            std::move(parts), model.size(),
            [&](std::uint16_t race) {
                const auto name = raceNames.find(race);
                return name == raceNames.end() ? std::string() : name->second;
            },
            model.warnings_);
    }

    model.buildIndex();
    return model;
}

AtlasModel AtlasModel::fromEntries(std::vector<SystemEntry> entries, std::vector<WorldSummary> worlds) {
    AtlasModel model;
    model.entries_ = std::move(entries);
    worlds.resize(model.entries_.size());
    model.worlds_ = std::move(worlds);
    model.buildIndex();
    return model;
}

std::string_view AtlasModel::name(SystemId id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= nameRefs_.size()) return {};
    const NameRef& r = nameRefs_[static_cast<std::size_t>(id)];
    return std::string_view(namePool_).substr(r.offset, r.length);
}

void AtlasModel::setName(SystemId id, std::string_view utf8Name) {
    if (id < 0 || id >= size()) return;
    if (nameRefs_.empty()) {
        if (utf8Name.empty()) return;
        nameRefs_.resize(entries_.size());
    }
    NameRef& r = nameRefs_[static_cast<std::size_t>(id)];
    // A name the pool cannot address is one no name record can hold anyway.
    if (namePool_.size() + utf8Name.size() > std::numeric_limits<std::uint32_t>::max()) return;
    r.offset = static_cast<std::uint32_t>(namePool_.size());
    r.length = static_cast<std::uint32_t>(utf8Name.size());
    namePool_.append(utf8Name);
}

void AtlasModel::veil(SystemId id) {
    if (id < 0 || id >= size()) return;
    SystemEntry& e = entries_[static_cast<std::size_t>(id)];
    // A point of light of no known kind (kind 0 reads "unknown object"),
    // all alike: neither its colour nor its size tells what it is.
    e.starKind = 0;
    e.brightness = kVeiledBrightness;
    e.starCount = 1;
    e.marks = 0;
    e.life = 0;
    e.worldCount = 0;
    worlds_[static_cast<std::size_t>(id)] = WorldSummary{};
    setName(id, {});
}

std::vector<SystemId> AtlasModel::findByName(std::string_view text) const {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    std::string needle(text);
    std::transform(needle.begin(), needle.end(), needle.begin(), lower);
    std::vector<SystemId> found;
    for (SystemId id = 0; id < static_cast<SystemId>(nameRefs_.size()); ++id) {
        if (nameRefs_[static_cast<std::size_t>(id)].length == 0) continue;
        std::string hay(name(id));
        std::transform(hay.begin(), hay.end(), hay.begin(), lower);
        if (hay.find(needle) != std::string::npos) found.push_back(id);
    }
    return found;
}

// ---------------------------------------------------------------- index

void AtlasModel::buildIndex() {
    ordered_.clear();
    bucketStart_.clear();
    bucketKeys_.clear();
    keyStart_.clear();
    bounds_ = Bounds{};
    if (entries_.empty()) return;

    for (int a = 0; a < 3; ++a) {
        bounds_.min[static_cast<std::size_t>(a)] = std::numeric_limits<int>::max();
        bounds_.max[static_cast<std::size_t>(a)] = std::numeric_limits<int>::min();
    }
    for (const SystemEntry& e : entries_) {
        const int c[3] = {e.x, e.y, e.z};
        for (std::size_t a = 0; a < 3; ++a) {
            bounds_.min[a] = std::min(bounds_.min[a], c[a]);
            bounds_.max[a] = std::max(bounds_.max[a], c[a]);
        }
    }
    // About one to three systems a bucket: the edge is the side of the cube
    // that one system has to itself on average, rounded up.
    double volume = 1;
    for (std::size_t a = 0; a < 3; ++a) volume *= bounds_.max[a] - bounds_.min[a] + 1.0;
    edge_ =
        std::clamp(static_cast<int>(std::ceil(std::cbrt(volume / static_cast<double>(entries_.size())) - 1e-9)), 1, 8);
    std::int64_t buckets = 1;
    for (std::size_t a = 0; a < 3; ++a) {
        bucketMin_[a] = floorDiv(bounds_.min[a], edge_);
        bucketSpan_[a] = floorDiv(bounds_.max[a], edge_) - bucketMin_[a] + 1;
        buckets *= bucketSpan_[a];
    }
    auto key = [&](const SystemEntry& e) -> std::int64_t {
        const std::int64_t bx = floorDiv(e.x, edge_) - bucketMin_[0];
        const std::int64_t by = floorDiv(e.y, edge_) - bucketMin_[1];
        const std::int64_t bz = floorDiv(e.z, edge_) - bucketMin_[2];
        return (bz * bucketSpan_[1] + by) * bucketSpan_[0] + bx;
    };

    // A dense start table costs 4 bytes a bucket; it is kept while that is
    // no more than the index itself costs (12 bytes a system), and saves a
    // binary search per row of every neighbour query.
    const auto n = static_cast<std::int64_t>(entries_.size());
    dense_ = buckets <= std::max<std::int64_t>(3 * n, 1 << 16);

    std::vector<std::pair<std::int64_t, SystemId>> keyed(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) keyed[i] = {key(entries_[i]), static_cast<SystemId>(i)};
    std::sort(keyed.begin(), keyed.end());
    ordered_.resize(keyed.size());
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        const SystemEntry& e = entries_[static_cast<std::size_t>(keyed[i].second)];
        ordered_[i] = IndexedCell{e.x, e.y, e.z, 0, keyed[i].second};
    }
    if (dense_) {
        bucketStart_.assign(static_cast<std::size_t>(buckets + 1), 0);
        std::size_t i = 0;
        for (std::int64_t b = 0; b <= buckets; ++b) {
            while (i < keyed.size() && keyed[i].first < b) ++i;
            bucketStart_[static_cast<std::size_t>(b)] = static_cast<std::uint32_t>(i);
        }
    } else {
        for (std::size_t i = 0; i < keyed.size(); ++i) {
            if (i == 0 || keyed[i].first != keyed[i - 1].first) {
                bucketKeys_.push_back(keyed[i].first);
                keyStart_.push_back(static_cast<std::uint32_t>(i));
            }
        }
        keyStart_.push_back(static_cast<std::uint32_t>(keyed.size()));
    }
}

// The run of ordered_ holding the buckets bxFrom..bxTo (absolute bucket
// coordinates, already clamped to the box) of row (by, bz).
void AtlasModel::rowRange(int by, int bz, int bxFrom, int bxTo, std::size_t& begin, std::size_t& end) const {
    const std::int64_t rowKey =
        (static_cast<std::int64_t>(bz - bucketMin_[2]) * bucketSpan_[1] + (by - bucketMin_[1])) * bucketSpan_[0];
    const std::int64_t k0 = rowKey + (bxFrom - bucketMin_[0]);
    const std::int64_t k1 = rowKey + (bxTo - bucketMin_[0]);
    if (dense_) {
        begin = bucketStart_[static_cast<std::size_t>(k0)];
        end = bucketStart_[static_cast<std::size_t>(k1 + 1)];
        return;
    }
    const auto lo = std::lower_bound(bucketKeys_.begin(), bucketKeys_.end(), k0);
    const auto hi = std::upper_bound(lo, bucketKeys_.end(), k1);
    begin = keyStart_[static_cast<std::size_t>(lo - bucketKeys_.begin())];
    end = keyStart_[static_cast<std::size_t>(hi - bucketKeys_.begin())];
}

template <typename Visit>
void AtlasModel::scanBox(const std::array<int, 3>& min, const std::array<int, 3>& max, Visit&& visit) const {
    if (ordered_.empty()) return;
    std::array<int, 3> lo{};
    std::array<int, 3> hi{};
    for (std::size_t a = 0; a < 3; ++a) {
        const int from = std::max(min[a], bounds_.min[a]);
        const int to = std::min(max[a], bounds_.max[a]);
        if (from > to) return;
        lo[a] = floorDiv(from, edge_);
        hi[a] = floorDiv(to, edge_);
    }
    for (int bz = lo[2]; bz <= hi[2]; ++bz) {
        for (int by = lo[1]; by <= hi[1]; ++by) {
            std::size_t begin = 0;
            std::size_t end = 0;
            rowRange(by, bz, lo[0], hi[0], begin, end);
            for (std::size_t i = begin; i < end; ++i) visit(ordered_[i]);
        }
    }
}

void AtlasModel::forEachInBox(const std::array<int, 3>& min, const std::array<int, 3>& max,
                              const std::function<void(SystemId)>& visit) const {
    scanBox(min, max, [&](const IndexedCell& c) {
        if (c.x >= min[0] && c.x <= max[0] && c.y >= min[1] && c.y <= max[1] && c.z >= min[2] && c.z <= max[2]) {
            visit(c.id);
        }
    });
}

SystemId AtlasModel::atCell(int x, int y, int z) const {
    SystemId found = kNoSystem;
    scanBox({x, y, z}, {x, y, z}, [&](const IndexedCell& c) {
        if (c.x == x && c.y == y && c.z == z && (found == kNoSystem || c.id < found)) found = c.id;
    });
    return found;
}

std::size_t AtlasModel::memoryBytes() const {
    std::size_t bytes = sizeof(*this) + entries_.capacity() * sizeof(SystemEntry) +
                        worlds_.capacity() * sizeof(WorldSummary) + ordered_.capacity() * sizeof(IndexedCell) +
                        bucketStart_.capacity() * sizeof(std::uint32_t) +
                        bucketKeys_.capacity() * sizeof(std::int64_t) + keyStart_.capacity() * sizeof(std::uint32_t);
    bytes += nameRefs_.capacity() * sizeof(NameRef) + namePool_.capacity() + settled_.memoryBytes();
    for (const std::string& w : warnings_) bytes += sizeof(w) + w.capacity();
    return bytes;
}

void requireSystem(const AtlasModel& model, SystemId id, const char* role) {
    if (id < 0 || id >= model.size()) {
        throw InputError(fmt::format("{} system {} is not in the sector: it has {} systems (ids 0 to {})", role, id,
                                     groupedCount(model.size()), model.size() - 1));
    }
}

double distance(const AtlasModel& model, SystemId a, SystemId b) {
    const SystemEntry& p = model.entry(a);
    const SystemEntry& q = model.entry(b);
    const double dx = p.x - q.x;
    const double dy = p.y - q.y;
    const double dz = p.z - q.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace orrimar::atlas

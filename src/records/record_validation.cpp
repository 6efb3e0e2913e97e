#include "records/record_validation.h"

#include <cmath>

#include <fmt/format.h>

#include "records/colony_codes.h"
#include "records/sector_base.h"

namespace orrimar {

namespace {

constexpr int kMaxOrbits = 18;
constexpr int kStarKinds = 23;
constexpr int kWorldTypes = 23;
constexpr int kAtmosphereClasses = 6;
constexpr int kCompositions = 21;

bool inCodes(int code, int low, int high) { return code >= low && code <= high; }

std::string codeProblem(const char* field, int code, int low, int high) {
    return fmt::format("{} {} outside {}..{}", field, code, low, high);
}

// A figure that feeds arithmetic: finite, above zero (or at least zero:
// a dark remnant star gives no light and may carry no mass figure),
// at most `high`.
std::optional<std::string> figureProblem(const char* field, float value, double high, bool zeroAllowed) {
    if (!std::isfinite(value)) return fmt::format("{} is not a number", field);
    if (value < 0.0F || (!zeroAllowed && value == 0.0F)) return fmt::format("{} {} is not positive", field, value);
    if (static_cast<double>(value) > high) return fmt::format("{} {} is beyond any star or world", field, value);
    return std::nullopt;
}

std::optional<std::string> idProblem(const char* field, std::int64_t id, std::int64_t count, const char* file) {
    if (id < 0 || id >= count) {
        return fmt::format("{} {} beyond the {} file's {} records", field, id, file, groupedCount(count));
    }
    return std::nullopt;
}

}  // namespace

RangeError recordError(const std::string& path, std::int64_t id, const std::string& problem) {
    return RangeError(fmt::format("{} record {}: {}", path, id, problem));
}

std::optional<std::string> recordProblem(const TSystemRec& s, const SectorCounts& counts) {
    if (!inCodes(s.starCount, 1, kMaxStars)) return codeProblem("star count", s.starCount, 1, kMaxStars);
    for (std::size_t i = 0; i < kMaxStars; ++i) {
        const int star = static_cast<int>(i) + 1;
        if (static_cast<int>(i) >= s.starCount) {
            if (s.planetCount[i] != 0) {
                return fmt::format("absent star {} has planet count {}", star, s.planetCount[i]);
            }
            continue;
        }
        if (!inCodes(s.starKind[i], 1, kStarKinds)) {
            return fmt::format("star {} kind {} outside 1..{}", star, s.starKind[i], kStarKinds);
        }
        if (s.spectralDigit[i] > 9)
            return fmt::format("star {} spectral digit {} outside 0..9", star, s.spectralDigit[i]);
        if (auto p = figureProblem("luminosity", s.luminosity[i], kMaxLuminosity, true)) {
            return fmt::format("star {} {}", star, *p);
        }
        if (auto p = figureProblem("mass", s.mass[i], kMaxStarMass, true)) return fmt::format("star {} {}", star, *p);
        const int count = s.planetCount[i];
        if (count > kMaxOrbits)
            return fmt::format("star {} planet count {} exceeds {} orbits", star, count, kMaxOrbits);
        const std::int64_t first = s.firstPlanetId[i];
        if (count > 0 && (first < 0 || first + count > counts.planets)) {
            return fmt::format("planet count {} runs past the planet file", count);
        }
    }
    if (s.systemRaceId != kNoRace && s.systemRaceId >= counts.races) {
        return fmt::format("system race id {} beyond the race file's {} records", s.systemRaceId,
                           groupedCount(counts.races));
    }
    return std::nullopt;
}

std::optional<std::string> recordProblem(const TPlanetRec& p, const SectorCounts& counts) {
    if (auto e = idProblem("system id", p.systemId, counts.systems, "system")) return e;
    if (!inCodes(p.worldType, 1, kWorldTypes)) return codeProblem("world type", p.worldType, 1, kWorldTypes);
    if (!inCodes(p.atmosphereClass, 1, kAtmosphereClasses)) {
        return codeProblem("atmosphere class", p.atmosphereClass, 1, kAtmosphereClasses);
    }
    if (!inCodes(p.composition, 1, kCompositions)) return codeProblem("composition", p.composition, 1, kCompositions);
    if (auto e = figureProblem("pressure", p.pressure, kMaxPressure, true)) return e;
    if (p.moonCount > 0 &&
        (p.firstMoonId < 0 || static_cast<std::int64_t>(p.firstMoonId) + p.moonCount > counts.moons)) {
        return fmt::format("moon count {} runs past the moon file", p.moonCount);
    }
    if (hasNativeRace(p)) {
        if (auto e = idProblem("native race id", p.nativeRaceId, counts.races, "race")) return e;
    }
    return std::nullopt;
}

std::optional<std::string> recordProblem(const TMoonRec& m, const SectorCounts& counts) {
    if (auto e = idProblem("planet id", m.planetId, counts.planets, "planet")) return e;
    if (!inCodes(m.worldType, 1, kWorldTypes)) return codeProblem("world type", m.worldType, 1, kWorldTypes);
    if (!inCodes(m.atmosphereClass, 1, kAtmosphereClasses)) {
        return codeProblem("atmosphere class", m.atmosphereClass, 1, kAtmosphereClasses);
    }
    if (!inCodes(m.composition, 1, kCompositions)) return codeProblem("composition", m.composition, 1, kCompositions);
    if (auto e = figureProblem("pressure", m.pressure, kMaxPressure, true)) return e;
    return std::nullopt;
}

std::optional<std::string> raceCodeProblem(const TAlienRec& r) {
    struct Code {
        const char* field;
        int value;
        int low;
        int high;
    };
    // Zero is an unset code in races made by hand or by other programs; the
    // logs name it "unknown". What they count with must stay in range.
    const Code codes[] = {
        {"habitat", r.habitat, 0, 5},
        {"body form", r.bodyForm, 0, 9},
        {"appendage count", r.appendageCount, 0, static_cast<int>(r.appendageTypes.size())},
        {"order", r.orderCode, 0, 25},
        {"subtype", r.subtype, 0, 12},
        {"form code", r.formCode, 0, 26},
        {"development level", r.techLevel, 0, 10},
        {"mass class", r.massClass, 0, 26},
        {"spatial age", r.spatialAge, 0, 127},
    };
    for (const Code& c : codes) {
        if (!inCodes(c.value, c.low, c.high)) return codeProblem(c.field, c.value, c.low, c.high);
    }
    for (std::size_t i = 0; i < r.attributes.size(); ++i) {
        if (r.attributes[i] > 20) return fmt::format("attribute {} rating {} beyond 20", i + 1, r.attributes[i]);
    }
    return std::nullopt;
}

std::optional<std::string> recordProblem(const TAlienRec& r, const SectorCounts& counts) {
    // Other programs write a home world as a negative id, and the merger
    // keeps it so: its magnitude is the planet id.
    const std::int64_t world = r.worldId < 0 ? -static_cast<std::int64_t>(r.worldId) : r.worldId;
    if (world >= counts.planets) {
        return fmt::format("world id {} beyond the planet file's {} records", r.worldId, groupedCount(counts.planets));
    }
    return raceCodeProblem(r);
}

std::optional<std::string> recordProblem(const TColonyRec& c, const SectorCounts& counts) {
    if (isVacant(c)) return std::nullopt;  // a removed colony holding its number
    if (c.kind == kPlanetColony) {
        if (auto e = idProblem("world id", c.worldId, counts.planets, "planet")) return e;
    } else if (auto e = idProblem("world id", c.worldId, counts.moons, "moon")) {
        return e;
    }
    if (c.race >= counts.races)
        return fmt::format("race {} beyond the race file's {} records", c.race, groupedCount(counts.races));
    if (c.allegiance != kNoRace && c.allegiance >= counts.races) {
        return fmt::format("allegiance {} beyond the race file's {} records", c.allegiance, groupedCount(counts.races));
    }
    if (c.populationCode >= kPopulationCodeCount) return codeProblem("population code", c.populationCode, 0, 69);
    if (!inCodes(c.colonyType, 1, 11)) return codeProblem("colony type", c.colonyType, 1, 11);
    if (!inCodes(c.starport, 1, 5)) return codeProblem("starport", c.starport, 1, 5);
    return std::nullopt;
}

std::optional<std::string> recordProblem(const TConRec& c, const SectorCounts& counts) {
    if (auto e = idProblem("system id", c.systemId, counts.systems, "system")) return e;
    if (c.race >= counts.races)
        return fmt::format("race {} beyond the race file's {} records", c.race, groupedCount(counts.races));
    return std::nullopt;
}

std::optional<std::string> recordProblem(const TEmpireRec& e, const SectorCounts& counts) {
    if (isVacant(e)) return std::nullopt;  // a removed empire holding its number
    if (e.race >= counts.races)
        return fmt::format("race {} beyond the race file's {} records", e.race, groupedCount(counts.races));
    if (auto problem = idProblem("capital system id", e.capitalSystemId, counts.systems, "system")) return problem;
    if (e.name.length == 0 || e.name.length > e.name.chars.size()) {
        return fmt::format("name length {} outside 1..{}", e.name.length, e.name.chars.size());
    }
    return std::nullopt;
}

}  // namespace orrimar

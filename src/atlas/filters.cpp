#include "atlas/filters.h"

#include <fmt/format.h>

#include <charconv>
#include <cmath>

#include "atlas/jump_search.h"
#include "common/bit_flags.h"
#include "common/errors.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/world_types.h"

namespace orrimar::atlas {

namespace {

// A whole number in the name-or-id field is a system id.
std::optional<SystemId> idFromText(const std::string& text) {
    SystemId id = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, id);
    if (text.empty() || ec != std::errc() || ptr != end || id < 0) return std::nullopt;
    return id;
}

int worldCriteria(const Filter& f) {
    return (f.worldTypes != 0 ? 1 : 0) + (f.breathable ? 1 : 0) + (f.temperature ? 1 : 0) + (f.water ? 1 : 0) +
           (f.gravity ? 1 : 0) + (f.minLife != vocabulary::LifeLevel::None ? 1 : 0) + (f.nativeRace ? 1 : 0);
}

// Gravity criterion in the summary's hundredths, widened to whole
// hundredths so that rounding never drops a planet the exact test keeps.
bool gravityOverlaps(const WorldSummary& w, const Range<double>& g) {
    return static_cast<double>(w.gravityMax) >= std::floor(g.min * 100.0) &&
           static_cast<double>(w.gravityMin) <= std::ceil(g.max * 100.0);
}

bool hasSettledCriterion(const Filter& f) { return f.owner || f.minPeople > 0 || f.starport > 0 || f.colonyTypes != 0; }

bool passesSettled(const AtlasModel& model, SystemId id, const Filter& f) {
    const SettledLayer& settled = model.settled();
    if (f.owner) {
        const std::uint16_t owner = settled.owner(id);
        if (owner != *f.owner) return false;
        if (owner == kNoRace && settled.coloniesOf(id).empty()) return false;  // unsettled is not independent
    }
    if (f.minPeople == 0 && f.starport == 0 && f.colonyTypes == 0) return true;
    const ColonySummary colonies = settled.summaryOf(id);
    if (colonies.count == 0) return false;
    if (colonies.people < f.minPeople) return false;
    if (f.starport > 0 && (colonies.bestStarport == 0 || colonies.bestStarport > f.starport)) return false;
    if (f.colonyTypes != 0 && (colonies.types & f.colonyTypes) == 0) return false;
    return true;
}

}  // namespace

bool Filter::empty() const {
    return nameOrId.empty() && starKinds == 0 && worldCriteria(*this) == 0 && !colony && withinOf == kNoSystem &&
           jumpsOf == kNoSystem && !hasSettledCriterion(*this);
}

bool Filter::hasWorldCriterion() const { return worldCriteria(*this) > 0; }

bool passesSummary(const AtlasModel& model, SystemId id, const Filter& f) {
    const SystemEntry& e = model.entry(id);
    if (f.starKinds != 0 && (f.starKinds & codeBit(e.starKind)) == 0) return false;
    if (f.colony && (e.marks & kMarkColony) == 0) return false;
    if (f.nativeRace && (e.marks & kMarkNativeRace) == 0) return false;
    if (f.minLife != vocabulary::LifeLevel::None && e.life < static_cast<std::uint8_t>(f.minLife)) return false;
    if (hasSettledCriterion(f) && !passesSettled(model, id, f)) return false;
    const WorldSummary& w = model.worlds(id);
    if (f.worldTypes != 0 && (w.worldTypes & f.worldTypes) == 0) return false;
    if (f.breathable && w.breathable == 0) return false;
    if (f.temperature || f.water || f.gravity) {
        if (w.planets == 0) return false;
        if (f.temperature && (w.tempMax < f.temperature->min || w.tempMin > f.temperature->max)) return false;
        if (f.water && (w.waterMax < f.water->min || w.waterMin > f.water->max)) return false;
        if (f.gravity && !gravityOverlaps(w, *f.gravity)) return false;
    }
    if (f.withinOf != kNoSystem) {
        if (f.withinOf < 0 || f.withinOf >= model.size()) return false;
        if (distance(model, id, f.withinOf) > f.withinParsecs + 1e-9) return false;
    }
    if (!f.nameOrId.empty()) {
        if (const auto wanted = idFromText(f.nameOrId)) {
            if (*wanted != id) return false;
        } else {
            const std::string_view name = model.name(id);
            if (name.empty()) return false;
            std::string hay(name), needle(f.nameOrId);
            for (char& c : hay) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            for (char& c : needle) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            if (hay.find(needle) == std::string::npos) return false;
        }
    }
    return true;
}

bool planetMatches(const PlanetFacts& p, const Filter& f) {
    if (f.worldTypes != 0 && (f.worldTypes & codeBit(p.worldType)) == 0) return false;
    const bool climate = f.breathable || f.temperature || f.water || f.gravity ||
                         f.minLife != vocabulary::LifeLevel::None || f.nativeRace;
    if (!climate) return true;
    if (p.belt) return false;
    if (f.breathable && !p.breathable) return false;
    if (f.temperature && !f.temperature->contains(p.temperature)) return false;
    if (f.water && !f.water->contains(p.water)) return false;
    if (f.gravity && !f.gravity->contains(p.gravity / 100.0)) return false;
    if (f.minLife != vocabulary::LifeLevel::None && p.life < f.minLife) return false;
    if (f.nativeRace && !p.nativeRace) return false;
    return true;
}

namespace {

PlanetFacts factsOf(const TPlanetRec& p) {
    PlanetFacts facts;
    facts.worldType = p.worldType;
    facts.belt = isBelt(p.worldType);
    facts.breathable = isBreathable(p.composition, p.atmosphereClass);
    facts.temperature = p.temperature;
    facts.water = p.waterCover;
    facts.gravity = gravityHundredths(p.density, p.diameter);
    facts.life = vocabulary::lifeLevel(p.features);
    facts.nativeRace = hasNativeRace(p);
    return facts;
}

template <typename Visit>
void forEachPlanetOf(RecordReader<TPlanetRec>& planets, const AtlasModel& model, SystemId id, Visit visit) {
    const WorldSummary& w = model.worlds(id);
    if (w.firstPlanet < 0) return;
    // A system's bodies are consecutive from its first; a merged or
    // hand-edited file may interleave, so the walk goes on past strangers
    // (up to a bound) until every body counted at opening has been met.
    const std::int64_t last = std::min<std::int64_t>(planets.count(), std::int64_t{w.firstPlanet} + 4096);
    int seen = 0;
    for (std::int64_t pid = w.firstPlanet; pid < last && seen < model.entry(id).worldCount; ++pid) {
        const TPlanetRec p = planets.read(pid);
        if (p.systemId != id) continue;
        ++seen;
        if (!visit(factsOf(p))) return;
    }
}

// Beyond this many candidates one pass over the planet file beats reading
// each candidate's planets by seeking.
constexpr std::size_t kStreamAbove = 2000;

}  // namespace

bool Filter::needsPlanets() const { return worldCriteria(*this) > 1 || temperature || water || gravity; }

std::vector<PlanetFacts> readPlanets(const AtlasModel& model, SystemId id) {
    std::vector<PlanetFacts> out;
    if (model.baseName().empty()) return out;
    RecordReader<TPlanetRec> planets(sectorPath(model.baseName(), ".pln"));
    forEachPlanetOf(planets, model, id, [&](const PlanetFacts& f) {
        out.push_back(f);
        return true;
    });
    return out;
}

std::vector<std::uint8_t> matchSystems(const AtlasModel& model, const Filter& f, std::vector<std::int32_t>* jumps) {
    for (const SystemId of : {f.withinOf, f.jumpsOf}) {
        if (of != kNoSystem && (of < 0 || of >= model.size())) {
            throw InputError(fmt::format("System {} is not in sector {}: it has {} systems (ids 0 to {})", of,
                                         model.sectorName(), groupedCount(model.size()), model.size() - 1));
        }
    }
    std::vector<std::uint8_t> hits(static_cast<std::size_t>(model.size()), 0);
    std::vector<SystemId> candidates;
    auto test = [&](SystemId id) {
        if (passesSummary(model, id, f)) candidates.push_back(id);
    };
    if (f.jumpsOf != kNoSystem) {
        // Only what the jumps reach can match.
        std::vector<std::int32_t> reached =
            jumpsFrom(model, f.jumpsOf, f.maxJumps, f.jumpParsecs, routeStopRule(model, f.jumpVia));
        for (SystemId id = 0; id < model.size(); ++id) {
            if (reached[static_cast<std::size_t>(id)] != kNotReached) test(id);
        }
        if (jumps != nullptr) *jumps = std::move(reached);
    } else if (f.withinOf != kNoSystem) {
        // Only the sphere can match: ask the index instead of every system.
        const SystemEntry& c = model.entry(f.withinOf);
        model.forEachWithin(c.x, c.y, c.z, f.withinParsecs, [&](SystemId id, std::int64_t) { test(id); });
    } else {
        for (SystemId id = 0; id < model.size(); ++id) test(id);
    }
    if (!f.needsPlanets() || model.baseName().empty()) {
        for (SystemId id : candidates) hits[static_cast<std::size_t>(id)] = 1;
        return hits;
    }
    RecordReader<TPlanetRec> planets(sectorPath(model.baseName(), ".pln"));
    if (candidates.size() <= kStreamAbove) {
        for (SystemId id : candidates) {
            forEachPlanetOf(planets, model, id, [&](const PlanetFacts& p) {
                if (!planetMatches(p, f)) return true;
                hits[static_cast<std::size_t>(id)] = 1;
                return false;
            });
        }
        return hits;
    }
    std::vector<std::uint8_t> candidate(hits.size(), 0);
    for (SystemId id : candidates) candidate[static_cast<std::size_t>(id)] = 1;
    planets.forEach([&](std::int64_t, const TPlanetRec& p) {
        if (p.systemId < 0 || p.systemId >= model.size()) return;
        const auto s = static_cast<std::size_t>(p.systemId);
        if (candidate[s] == 0 || hits[s] != 0) return;
        if (planetMatches(factsOf(p), f)) hits[s] = 1;
    });
    return hits;
}

std::vector<SystemId> matchingIds(const AtlasModel& model, const Filter& filter) {
    const std::vector<std::uint8_t> hits = matchSystems(model, filter);
    std::vector<SystemId> ids;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        if (hits[i] != 0) ids.push_back(static_cast<SystemId>(i));
    }
    return ids;
}

}  // namespace orrimar::atlas

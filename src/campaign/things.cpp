#include "campaign/things.h"

#include <fmt/format.h>

#include "common/errors.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_base.h"

namespace orrimar {

namespace {

struct KindFacts {
    std::string_view word;
    std::string_view plural;
    std::string_view extension;
    std::size_t recordSize;
    bool fileRequired;  // a sector always has it
};

constexpr std::array<KindFacts, kThingKinds.size()> kFacts = {{
    {"sector", "sectors", "", 0, false},
    {"system", "systems", ".sun", sizeof(TSystemRec), true},
    {"planet", "planets", ".pln", sizeof(TPlanetRec), true},
    {"moon", "moons", ".mon", sizeof(TMoonRec), true},
    {"race", "races", ".aln", sizeof(TAlienRec), true},
    // Written by other programs: a sector without them holds none.
    {"colony", "colonies", ".col", sizeof(TColonyRec), false},
    {"empire", "empires", ".emp", sizeof(TEmpireRec), false},
}};

const KindFacts& factsOf(ThingKind kind) { return kFacts[static_cast<std::size_t>(kind)]; }

}  // namespace

std::string_view thingWord(ThingKind kind) { return factsOf(kind).word; }
std::string_view thingPlural(ThingKind kind) { return factsOf(kind).plural; }
std::string_view thingExtension(ThingKind kind) { return factsOf(kind).extension; }

bool thingKindFromNumber(std::int64_t number, ThingKind& kind) {
    if (number < 0 || number >= static_cast<std::int64_t>(kThingKinds.size())) return false;
    kind = kThingKinds[static_cast<std::size_t>(number)];
    return true;
}

std::string describeThing(const Thing& thing) {
    if (thing.kind == ThingKind::Sector) return "the sector";
    return fmt::format("{} {}", thingWord(thing.kind), thing.id);
}

ThingCounts thingCountsOf(const std::string& baseName) {
    requireSector(baseName);
    ThingCounts counts;
    for (const ThingKind kind : kThingKinds) {
        const KindFacts& facts = factsOf(kind);
        std::int64_t& n = counts.count[static_cast<std::size_t>(kind)];
        if (kind == ThingKind::Sector) {
            n = 1;
            continue;
        }
        const std::string path = baseName + std::string(facts.extension);
        n = recordCountOnDisk(path, facts.recordSize);
        if (n < 0 && facts.fileRequired) {
            throw MissingError(fmt::format("Sector {} is not whole: {} is missing", baseName, path));
        }
        if (n < 0) n = 0;
    }
    return counts;
}

void requireThing(const Thing& thing, const ThingCounts& counts, const std::string& baseName) {
    if (thing.kind == ThingKind::Sector) {
        if (thing.id != 0) throw InputError(fmt::format("The sector has no id {}: it is one thing", thing.id));
        return;
    }
    std::string what(thingWord(thing.kind));
    what[0] = static_cast<char>(what[0] - 'a' + 'A');
    requireRecordId(thing.id, counts.of(thing.kind), baseName + std::string(thingExtension(thing.kind)), what,
                    thingPlural(thing.kind));
}

}  // namespace orrimar

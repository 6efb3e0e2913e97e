#include "atlas/settled_layer.h"

#include <fmt/format.h>

#include <algorithm>

#include "common/ansi_text.h"
#include "common/errors.h"
#include "names/find_by_text.h"
#include "records/colony_codes.h"

namespace orrimar::atlas {

void SettledLayer::assemble(Parts parts, SystemId systemCount, std::vector<std::string>& warnings) {
    const auto systems = static_cast<std::size_t>(std::max<SystemId>(systemCount, 0));
    auto inSector = [&](std::int64_t id) { return id >= 0 && id < systemCount; };

    // Colonies: vacant ones live nowhere; the rest by system, keeping the
    // file's order within a system.
    std::erase_if(parts.colonies, [](const ColonyEntry& c) { return isVacant(c.colony) || c.system < 0; });
    std::stable_sort(parts.colonies.begin(), parts.colonies.end(),
                     [](const ColonyEntry& a, const ColonyEntry& b) { return a.system < b.system; });
    colonies_ = std::move(parts.colonies);
    if (!colonies_.empty()) {
        firstColony_.assign(systems + 1, 0);
        for (const ColonyEntry& c : colonies_) {
            if (inSector(c.system)) ++firstColony_[static_cast<std::size_t>(c.system) + 1];
        }
        for (std::size_t i = 1; i < firstColony_.size(); ++i) firstColony_[i] += firstColony_[i - 1];
    }

    // Control: one race a system; a record naming no system of the sector,
    // or a second race for a system already controlled, is left out.
    std::int64_t strays = 0;
    std::int64_t doubles = 0;
    for (std::size_t i = 0; i < parts.controls.size(); ++i) {
        const TConRec& con = parts.controls[i];
        if (con.race == kNoRace) continue;
        if (!inSector(std::int32_t{con.systemId})) {
            if (strays++ == 0) {
                warnings.push_back(
                    fmt::format("Control record {} names system {}, which is not in the sector; "
                                "it is left out",
                                i, std::int32_t{con.systemId}));
            }
            continue;
        }
        if (owners_.empty()) owners_.assign(systems, kNoRace);
        std::uint16_t& owner = owners_[static_cast<std::size_t>(con.systemId)];
        if (owner != kNoRace && owner != con.race) {
            if (doubles++ == 0) {
                warnings.push_back(
                    fmt::format("Control record {} gives system {} to race {}, already controlled by "
                                "race {}; the first record stands",
                                i, std::int32_t{con.systemId}, std::uint16_t{con.race}, owner));
            }
            continue;
        }
        owner = con.race;
    }
    if (strays > 1) warnings.push_back(fmt::format("{} control records in all name systems not in the sector", strays));
    if (doubles > 1) warnings.push_back(fmt::format("{} control records in all repeat a controlled system", doubles));

    // Empires: vacant records keep their numbers but rule nothing.
    for (std::size_t i = 0; i < parts.empires.size(); ++i) {
        const TEmpireRec& rec = parts.empires[i];
        if (isVacant(rec)) continue;
        EmpireEntry empire;
        empire.record = static_cast<std::int32_t>(i);
        empire.race = rec.race;
        empire.colour = rec.colour;
        empire.name = ansiToUtf8(rec.name.str());
        if (inSector(rec.capitalSystemId)) {
            empire.capital = rec.capitalSystemId;
        } else {
            warnings.push_back(
                fmt::format("Empire record {} ({}) names capital system {}, which is not in the "
                            "sector; it is shown without a capital",
                            i, empire.name, rec.capitalSystemId));
        }
        if (empireOf(rec.race) != nullptr) {
            warnings.push_back(
                fmt::format("Empire record {} is a second empire of race {}; it is left out", i, rec.race));
            continue;
        }
        empires_.push_back(std::move(empire));
    }
    for (EmpireEntry& empire : empires_) {
        const RaceHoldings holdings = holdingsOf(empire.race);
        empire.systems = holdings.systems;
        empire.people = holdings.people;
    }
}

std::vector<std::uint16_t> SettledLayer::racesMet() const {
    std::vector<std::uint16_t> races(owners_);
    for (const ColonyEntry& c : colonies_) {
        races.push_back(c.colony.race);
        races.push_back(c.colony.allegiance);
    }
    for (const EmpireEntry& e : empires_) races.push_back(e.race);
    std::sort(races.begin(), races.end());
    races.erase(std::unique(races.begin(), races.end()), races.end());
    if (!races.empty() && races.back() == kNoRace) races.pop_back();
    return races;
}

std::span<const ColonyEntry> SettledLayer::coloniesOf(SystemId id) const {
    if (id < 0 || static_cast<std::size_t>(id) + 1 >= firstColony_.size()) return {};
    const std::uint32_t begin = firstColony_[static_cast<std::size_t>(id)];
    const std::uint32_t end = firstColony_[static_cast<std::size_t>(id) + 1];
    return std::span<const ColonyEntry>(colonies_).subspan(begin, end - begin);
}

ColonySummary SettledLayer::summaryOf(SystemId id) const {
    ColonySummary summary;
    for (const ColonyEntry& c : coloniesOf(id)) {
        ++summary.count;
        summary.people += populationPeople(std::min<int>(c.colony.populationCode, kPopulationCodeCount - 1));
        const std::uint8_t port = c.colony.starport;
        if (port >= 1 && port <= kStarportNames.size() && (summary.bestStarport == 0 || port < summary.bestStarport)) {
            summary.bestStarport = port;
        }
        if (c.colony.colonyType >= 1 && c.colony.colonyType <= kColonyTypeNames.size()) {
            summary.types = static_cast<std::uint16_t>(summary.types | (1U << c.colony.colonyType));
        }
    }
    return summary;
}

RaceHoldings SettledLayer::holdingsOf(std::uint16_t race) const {
    RaceHoldings holdings;
    if (race == kNoRace) return holdings;
    holdings.systems = static_cast<std::int32_t>(std::count(owners_.begin(), owners_.end(), race));
    for (const ColonyEntry& c : colonies_) {
        if (c.colony.allegiance != race) continue;
        holdings.people += populationPeople(std::min<int>(c.colony.populationCode, kPopulationCodeCount - 1));
    }
    return holdings;
}

const EmpireEntry* SettledLayer::empireOf(std::uint16_t race) const {
    const auto it =
        std::find_if(empires_.begin(), empires_.end(), [&](const EmpireEntry& e) { return e.race == race; });
    return it == empires_.end() ? nullptr : &*it;
}

std::array<std::uint8_t, 3> SettledLayer::colourOf(std::uint16_t race) const {
    const EmpireEntry* empire = empireOf(race);
    return empire != nullptr ? empire->colour : empireColourFor(race);
}

std::string_view SettledLayer::raceName(std::uint16_t race) const {
    const auto it = std::lower_bound(raceNames_.begin(), raceNames_.end(), race,
                                     [](const RaceName& r, std::uint16_t wanted) { return r.race < wanted; });
    return it != raceNames_.end() && it->race == race ? std::string_view(it->name) : std::string_view();
}

std::string SettledLayer::raceLabel(std::uint16_t race) const {
    if (race == kNoRace) return "independent";
    if (std::binary_search(unknownRaces_.begin(), unknownRaces_.end(), race)) return "unknown race";
    const std::string_view name = raceName(race);
    return name.empty() ? fmt::format("race {}", race) : std::string(name);
}

std::vector<std::uint16_t> SettledLayer::rulingRaces() const {
    std::vector<std::uint16_t> races;
    for (const std::uint16_t owner : owners_) {
        if (owner != kNoRace) races.push_back(owner);
    }
    for (const EmpireEntry& e : empires_) races.push_back(e.race);
    std::sort(races.begin(), races.end());
    races.erase(std::unique(races.begin(), races.end()), races.end());
    return races;
}

std::uint16_t SettledLayer::ownerFromText(std::string_view text, std::string_view option) const {
    std::string folded(text);
    for (char& c : folded) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (folded == "independent") return kNoRace;
    const std::vector<std::uint16_t> ruling = rulingRaces();
    // The races' own names first, then their empires' ("Vessari", then
    // "Vessari Hegemony"): a race is one thing, so the two never compete
    // as "several races" for one text.
    const NameSource raceNames = [&](const std::function<void(std::int64_t, std::string_view)>& visit) {
        for (const std::uint16_t race : ruling) {
            if (!raceName(race).empty()) visit(race, raceName(race));
        }
    };
    const NameSource empireNames = [&](const std::function<void(std::int64_t, std::string_view)>& visit) {
        for (const EmpireEntry& e : empires_) {
            if (!e.name.empty()) visit(e.race, e.name);
        }
    };
    try {
        return static_cast<std::uint16_t>(findByText(text, raceNames, kNoRace, option, "race"));
    } catch (const InputError&) {
        try {
            return static_cast<std::uint16_t>(findByText(text, empireNames, kNoRace, option, "race"));
        } catch (const InputError&) {
        }
        throw;
    }
}

SettledLayer SettledLayer::narrowed(const Keep& keep) const {
    SettledLayer layer;
    for (const ColonyEntry& c : colonies_) {
        if (keep.colony(c)) layer.colonies_.push_back(c);
    }
    if (!layer.colonies_.empty()) {
        // The kept colonies are still in system order: count them again.
        layer.firstColony_.assign(firstColony_.size(), 0);
        for (const ColonyEntry& c : layer.colonies_) {
            if (c.system >= 0 && static_cast<std::size_t>(c.system) + 1 < layer.firstColony_.size()) {
                ++layer.firstColony_[static_cast<std::size_t>(c.system) + 1];
            }
        }
        for (std::size_t i = 1; i < layer.firstColony_.size(); ++i) layer.firstColony_[i] += layer.firstColony_[i - 1];
    }
    bool anyControl = false;
    layer.owners_.assign(owners_.size(), kNoRace);
    for (std::size_t id = 0; id < owners_.size(); ++id) {
        const std::uint16_t owner = owners_[id];
        if (owner == kNoRace || !keep.control(static_cast<SystemId>(id), owner)) continue;
        layer.owners_[id] = owner;
        anyControl = true;
    }
    if (!anyControl) layer.owners_.clear();
    for (const EmpireEntry& e : empires_) {
        if (keep.empire(e)) layer.empires_.push_back(e);
    }
    for (EmpireEntry& e : layer.empires_) {
        const RaceHoldings holdings = layer.holdingsOf(e.race);
        e.systems = holdings.systems;
        e.people = holdings.people;
    }
    for (const RaceName& r : raceNames_) {
        if (keep.race(r.race)) {
            layer.raceNames_.push_back(r);
        } else {
            layer.unknownRaces_.push_back(r.race);
        }
    }
    // Races met without a stored name are unknown alike.
    for (const std::uint16_t race : layer.racesMet()) {
        if (!keep.race(race) && !std::binary_search(layer.unknownRaces_.begin(), layer.unknownRaces_.end(), race)) {
            layer.unknownRaces_.insert(std::lower_bound(layer.unknownRaces_.begin(), layer.unknownRaces_.end(), race),
                                       race);
        }
    }
    return layer;
}

std::size_t SettledLayer::memoryBytes() const {
    std::size_t bytes = owners_.capacity() * sizeof(std::uint16_t) + colonies_.capacity() * sizeof(ColonyEntry) +
                        firstColony_.capacity() * sizeof(std::uint32_t) + empires_.capacity() * sizeof(EmpireEntry) +
                        raceNames_.capacity() * sizeof(RaceName) + unknownRaces_.capacity() * sizeof(std::uint16_t);
    for (const EmpireEntry& e : empires_) bytes += e.name.capacity();
    for (const RaceName& r : raceNames_) bytes += r.name.capacity();
    return bytes;
}

}  // namespace orrimar::atlas

// The atlas's picture of settled space: which race controls each system,
// the colonies each system holds (folded into a few figures for the map and
// the filters, and kept whole for the summary), and the empires with their
// colours, names and capitals. Read once when the sector opens, from the
// colony, control and empire files; vacant records (removed colonies and
// empires keep their numbers) are skipped, damaged ones are warnings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/records.h"

namespace orrimar::atlas {

using SystemId = std::int32_t;

// What the colonies of one system come to.
struct ColonySummary {
    std::uint16_t count = 0;        // colonies and moon bases in the system
    std::uint64_t people = 0;       // all of them together
    std::uint8_t bestStarport = 0;  // Starport code, 1 the best; 0 = none given
    std::uint16_t types = 0;        // bit t set when a colony of ColonyType t lies here
};

// A colony as the atlas keeps it: where it is and its record.
struct ColonyEntry {
    std::int32_t record = 0;   // colony-file id
    SystemId system = -1;      // system-file id
    std::int32_t planet = -1;  // planet-file id of the world it is on or orbits
    TColonyRec colony;
};

// A control record: `race` controls `system`.
struct ControlEntry {
    SystemId system = -1;
    std::uint16_t race = kNoRace;
};

struct EmpireEntry {
    std::int32_t record = 0;               // empire-file id
    std::uint16_t race = kNoRace;          // the ruling race
    std::array<std::uint8_t, 3> colour{};  // red, green, blue of its territory
    SystemId capital = -1;                 // -1 when the record names none in the sector
    std::string name;                      // UTF-8
    std::int32_t systems = 0;              // systems the race controls
    std::uint64_t people = 0;              // people in the colonies the race owns
};

// What a race holds: systems it controls, people in the colonies it owns.
struct RaceHoldings {
    std::int32_t systems = 0;
    std::uint64_t people = 0;
};

class SettledLayer {
public:
    // From what the files hold (or a test made): colonies already placed in
    // their systems, control records, empire records (vacant ones among
    // them are skipped) and the races' stored names (UTF-8, by race id; only
    // the races met here are looked up). A control or empire record that
    // names a system outside 0..systemCount-1, or a second control record
    // for one system, adds a warning and is left out.
    struct Parts {
        std::vector<ColonyEntry> colonies;
        std::vector<TConRec> controls;
        std::vector<TEmpireRec> empires;
    };
    template <typename NameOfRace>
    static SettledLayer build(Parts parts, SystemId systemCount, NameOfRace&& raceName,
                              std::vector<std::string>& warnings) {
        SettledLayer layer;
        layer.assemble(std::move(parts), systemCount, warnings);
        for (const std::uint16_t race : layer.racesMet()) layer.raceNames_.push_back({race, raceName(race)});
        return layer;
    }

    // Nothing settled at all: no colony, no control, no empire.
    bool empty() const { return colonies_.empty() && owners_.empty() && empires_.empty(); }

    // The race controlling the system; kNoRace when none does (a system
    // with colonies but no control record is uncontrolled).
    std::uint16_t owner(SystemId id) const {
        return id >= 0 && static_cast<std::size_t>(id) < owners_.size() ? owners_[static_cast<std::size_t>(id)]
                                                                        : kNoRace;
    }
    bool hasControl() const { return !owners_.empty(); }
    // The system's colonies in colony-file order; empty when none.
    std::span<const ColonyEntry> coloniesOf(SystemId id) const;
    // Their summary; all zero when none.
    ColonySummary summaryOf(SystemId id) const;
    // Every colony, by system then colony-file order.
    const std::vector<ColonyEntry>& colonies() const { return colonies_; }

    // Empires in empire-file order.
    const std::vector<EmpireEntry>& empires() const { return empires_; }
    // The empire of a race; nullptr when it has none.
    const EmpireEntry* empireOf(std::uint16_t race) const;
    // What a race holds, empire or not.
    RaceHoldings holdingsOf(std::uint16_t race) const;
    // The colour of a race's territory: its empire's, else empireColourFor.
    std::array<std::uint8_t, 3> colourOf(std::uint16_t race) const;
    // The stored name of a race met here (owner, controller, empire), UTF-8;
    // empty when it has none.
    std::string_view raceName(std::uint16_t race) const;
    // "Vessari" when named, "race 64" when not; "independent" for kNoRace;
    // "unknown race" for a race a narrowed layer did not keep.
    std::string raceLabel(std::uint16_t race) const;
    // Races that control a system or rule an empire, ascending.
    std::vector<std::uint16_t> rulingRaces() const;

    // The owner a text names: "independent" (kNoRace), a race id, the name
    // of a ruling race or of an empire (case ignored, or the one name it
    // begins), by the rule every front end shares. InputError naming
    // `option` when it names none or several.
    std::uint16_t ownerFromText(std::string_view text, std::string_view option) const;

    // A copy holding only what `keep` lets through, for a reader who knows
    // less than the game master (players_sight.h): the colonies kept, the
    // control of the systems kept, the empires kept (their systems and
    // people counted again over what is left). A race not kept loses its
    // name: it reads "unknown race".
    struct Keep {
        std::function<bool(const ColonyEntry&)> colony;
        std::function<bool(SystemId, std::uint16_t race)> control;
        std::function<bool(const EmpireEntry&)> empire;
        std::function<bool(std::uint16_t race)> race;
    };
    SettledLayer narrowed(const Keep& keep) const;

    std::size_t memoryBytes() const;

private:
    void assemble(Parts parts, SystemId systemCount, std::vector<std::string>& warnings);
    std::vector<std::uint16_t> racesMet() const;

    std::vector<std::uint16_t> owners_;       // by system; empty when no control record
    std::vector<ColonyEntry> colonies_;       // sorted by system
    std::vector<std::uint32_t> firstColony_;  // by system + 1: start of its run in colonies_; empty when none
    std::vector<EmpireEntry> empires_;
    struct RaceName {
        std::uint16_t race = kNoRace;
        std::string name;
    };
    std::vector<RaceName> raceNames_;          // ascending by race
    std::vector<std::uint16_t> unknownRaces_;  // ascending: races whose label is "unknown race"
};

}  // namespace orrimar::atlas

// The settled layer of a sector as the logs, the reports and the exports
// read it: the colonies that are not vacant, each placed in its system, the
// systems each race controls and the empires, with the lookups they share
// (who controls a system, which colonies lie on a world, what a race holds,
// the colour of its territory). A settled layer is small beside the sector
// (a few colonies per race), so it is read whole.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "names/sector_names.h"
#include "records/records.h"

namespace orrimar::reading {

class SectorReader;

struct PlacedColony {
    std::int64_t id = 0;  // colony-file id (vacant records keep theirs, so ids have gaps)
    TColonyRec record;
    std::int64_t planetId = -1;  // the planet it is on or whose moon it is on; -1 when not in the sector
    std::int64_t systemId = -1;  // -1 when its world is not in the sector
};

struct EmpireEntry {
    std::int64_t id = 0;  // empire-file id
    TEmpireRec record;
};

// What one race owns: its colonies (not the independents of its people)
// and the systems the control file gives it.
struct RaceHoldings {
    std::int64_t planetColonies = 0;
    std::int64_t moonBases = 0;
    std::uint64_t people = 0;
    std::vector<std::int32_t> systems;  // controlled, in system order
    const EmpireEntry* empire = nullptr;
};

class SettledView {
public:
    // Nothing settled.
    SettledView() = default;
    // The colony, control and empire files of an open sector, each record
    // checked by the reader; a missing file holds nothing.
    explicit SettledView(SectorReader& sector);
    // The same three files read by base name alone, for a log that opens no
    // sector (the alien log): colonies are not placed in their systems.
    static SettledView fromFiles(const std::string& baseName);

    bool empty() const { return colonies_.empty() && control_.empty() && empires_.empty(); }

    const std::vector<PlacedColony>& colonies() const { return colonies_; }
    const std::vector<TConRec>& control() const { return control_; }
    const std::vector<EmpireEntry>& empires() const { return empires_; }

    // The race controlling a system, if any.
    std::optional<std::uint16_t> controllerOf(std::int64_t systemId) const;
    // The empire a race rules, if it has one.
    const EmpireEntry* empireOf(std::uint16_t race) const;
    // The colour of a race's territory: its empire's, else the one
    // empireColourFor gives the race.
    std::array<std::uint8_t, 3> colourOf(std::uint16_t race) const;

    // The colonies and moon bases of a system, in file order.
    std::vector<const PlacedColony*> inSystem(std::int64_t systemId) const;

    RaceHoldings holdingsOf(std::uint16_t race) const;

private:
    void index();

    std::vector<PlacedColony> colonies_;
    std::vector<TConRec> control_;
    std::vector<EmpireEntry> empires_;
    std::unordered_map<std::int64_t, std::uint16_t> controller_;
    std::unordered_map<std::uint16_t, std::size_t> empireOfRace_;
    std::unordered_map<std::int64_t, std::vector<std::size_t>> bySystem_;
};

// A race as every settled output names it: "Vessane (race 4)" where the
// name file names it, "race 4" where not, "independent" for kNoRace.
std::string raceText(const SectorNames& names, std::uint16_t race);

}  // namespace orrimar::reading

// The settled layer of a sector: its colonies, the systems each race
// controls and its empires (".col", ".con", ".emp"), with the colonising
// race each planet names. Settling writes it whole; the colony and empire
// editors change a record or two. Both go through WriteSettledLayer, so a
// kill or a power cut at any moment leaves the old layer or the new one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "records/records.h"

namespace orrimar {

struct SettledLayer {
    std::vector<TColonyRec> colonies;  // by colony id; removed ones vacant
    std::vector<TConRec> control;      // by system id, then race
    std::vector<TEmpireRec> empires;   // by empire id; removed ones vacant
};

// Reads the layer of a sector (members that are missing hold nothing).
// Only under the sector's lock.
SettledLayer ReadSettledLayer(const std::string& baseName);

// The control records the colonies give: a system is controlled by the race
// owning its most populous owned colony (the lower race id on a tie);
// independent and vacant colonies control nothing. `systemOf(colony)` is the
// colony's system, -1 when its world is not in the sector. In system order.
std::vector<TConRec> deriveControl(const std::vector<TColonyRec>& colonies,
                                   const std::function<std::int64_t(const TColonyRec&)>& systemOf);

// Each planet's colonising race as the colonies give it: the owner of the
// colony on the planet (not of a moon base around it); kNoRace for a planet
// without an owned colony.
struct PlanetOwner {
    std::int64_t planetId = 0;
    std::uint16_t race = kNoRace;
};

// Replaces the sector's settled layer by `layer` and sets the colonising
// race of each planet named in `planetOwners` (the others are left as they
// are). Under the journal: what is overwritten is saved first, so that a
// failure or a kill at any write leaves the old layer whole, and the new
// one is synced before this returns. Only with the sector's exclusive lock.
void WriteSettledLayer(const std::string& baseName, const SettledLayer& layer,
                       const std::vector<PlanetOwner>& planetOwners);

// The planet owners that make the planets agree with `colonies`: every
// planet colonised now (`colonisedNow`) or holding an owned colony in
// `colonies`, with its new owner.
std::vector<PlanetOwner> planetOwnersFor(const std::vector<TColonyRec>& colonies,
                                         const std::vector<std::int64_t>& colonisedNow);

}  // namespace orrimar

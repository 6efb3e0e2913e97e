// Where a route may stop between its ends: anywhere, or only at systems
// that have something a ship needs (a gas giant to refuel at, water, air).
// The command line's --via and the Atlas's "Only through" list both read
// this one table, so the two offer the same choices and mean the same.
#pragma once

#include <array>
#include <functional>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "atlas/atlas_model.h"

namespace orrimar::atlas {

// Empire stops at the systems one race controls: its id is the stop's
// argument (RouteStopChoice).
enum class RouteStop { Any, GasGiant, Water, Breathable, Life, NativeRace, Colony, Empire };

inline constexpr std::array<RouteStop, 8> kRouteStops = {
    RouteStop::Any,  RouteStop::GasGiant,   RouteStop::Water,  RouteStop::Breathable,
    RouteStop::Life, RouteStop::NativeRace, RouteStop::Colony, RouteStop::Empire};

// A stop with its argument: the race for Empire, unused otherwise.
struct RouteStopChoice {
    RouteStop stop = RouteStop::Any;
    std::uint16_t race = 0;
};

// The command line's word ("gas-giant"), and the Atlas's label ("systems
// with a gas giant").
std::string_view routeStopWord(RouteStop stop);
std::string_view routeStopLabel(RouteStop stop);

// The stop a word names, letters' case, '-', '_' and blanks ignored
// ("Gas giant" is gas-giant); nothing for a word that names none. The
// empire stop's word is "empire" alone; its race comes with it as
// "empire:NAME" (routeStopFromText).
std::optional<RouteStop> routeStopFromWord(std::string_view word);

// A stop as typed: a word as above, or "empire:" and the race (its id, its
// name or its empire's name, as SettledLayer::ownerFromText reads them).
// InputError naming `option` when the race names none or several, or
// when "empire" comes without one; nothing for a word that names no stop.
std::optional<RouteStopChoice> routeStopFromText(const AtlasModel& model, std::string_view text,
                                                 std::string_view option);

// The Atlas's label of a choice: "systems with a gas giant", "systems of
// the Vessari Hegemony" (the empire's name, else the race's).
std::string routeStopChoiceLabel(const AtlasModel& model, const RouteStopChoice& choice);

// Whether a system may be stopped at; empty for RouteStop::Any (every
// system may). The model must outlive the rule. `race` is the Empire
// stop's race.
std::function<bool(SystemId)> routeStopRule(const AtlasModel& model, RouteStop stop, std::uint16_t race = 0);
inline std::function<bool(SystemId)> routeStopRule(const AtlasModel& model, const RouteStopChoice& choice) {
    return routeStopRule(model, choice.stop, choice.race);
}

}  // namespace orrimar::atlas

// Where a route may stop between its ends: anywhere, or only at systems
// that have something a ship needs (a gas giant to refuel at, water, air).
// The command line's --via and the Atlas's "Only through" list both read
// this one table, so the two offer the same choices and mean the same.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "atlas/atlas_model.h"

namespace orrimar::atlas {

enum class RouteStop { Any, GasGiant, Water, Breathable, Life, NativeRace, Colony };

inline constexpr std::array<RouteStop, 7> kRouteStops = {RouteStop::Any,        RouteStop::GasGiant,
                                                         RouteStop::Water,      RouteStop::Breathable,
                                                         RouteStop::Life,       RouteStop::NativeRace,
                                                         RouteStop::Colony};

// The command line's word ("gas-giant"), and the Atlas's label ("systems
// with a gas giant").
std::string_view routeStopWord(RouteStop stop);
std::string_view routeStopLabel(RouteStop stop);

// The stop a word names, letters' case, '-', '_' and blanks ignored
// ("Gas giant" is gas-giant); nothing for a word that names none.
std::optional<RouteStop> routeStopFromWord(std::string_view word);

// Whether a system may be stopped at; empty for RouteStop::Any (every
// system may). The model must outlive the rule.
std::function<bool(SystemId)> routeStopRule(const AtlasModel& model, RouteStop stop);

}  // namespace orrimar::atlas

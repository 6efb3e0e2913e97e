#include "atlas/route_stops.h"

#include <cctype>
#include <string>

#include "atlas/filters.h"
#include "records/world_types.h"

namespace orrimar::atlas {

namespace {

struct StopText {
    std::string_view word;
    std::string_view label;
};

constexpr std::array<StopText, kRouteStops.size()> kTexts = {{
    {"any", "any system"},
    {"gas-giant", "systems with a gas giant"},
    {"water", "systems with open water"},
    {"breathable", "systems with a breathable world"},
    {"life", "systems with native life"},
    {"race", "systems with a native race"},
    {"colony", "systems with a colony"},
}};

std::string folded(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '-' || c == '_' || c == ' ') continue;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

}  // namespace

std::string_view routeStopWord(RouteStop stop) { return kTexts[static_cast<std::size_t>(stop)].word; }

std::string_view routeStopLabel(RouteStop stop) { return kTexts[static_cast<std::size_t>(stop)].label; }

std::optional<RouteStop> routeStopFromWord(std::string_view word) {
    const std::string wanted = folded(word);
    if (wanted.empty()) return std::nullopt;
    for (const RouteStop stop : kRouteStops) {
        if (folded(routeStopWord(stop)) == wanted) return stop;
    }
    return std::nullopt;
}

std::function<bool(SystemId)> routeStopRule(const AtlasModel& model, RouteStop stop) {
    const AtlasModel* m = &model;
    switch (stop) {
        case RouteStop::Any: return {};
        case RouteStop::GasGiant:
            return [m](SystemId id) { return (m->worlds(id).worldTypes & codeBit(world::kGasGiant)) != 0; };
        case RouteStop::Water:
            return [m](SystemId id) { return m->worlds(id).planets > 0 && m->worlds(id).waterMax > 0; };
        case RouteStop::Breathable: return [m](SystemId id) { return m->worlds(id).breathable > 0; };
        case RouteStop::Life: return [m](SystemId id) { return m->entry(id).life > 0; };
        case RouteStop::NativeRace: return [m](SystemId id) { return (m->entry(id).marks & kMarkNativeRace) != 0; };
        case RouteStop::Colony: return [m](SystemId id) { return (m->entry(id).marks & kMarkColony) != 0; };
    }
    return {};
}

}  // namespace orrimar::atlas

#include "atlas/route_stops.h"

#include <cctype>
#include <string>

#include <fmt/format.h>

#include "atlas/filters.h"
#include "common/errors.h"
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
    {"empire", "systems of one empire"},
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

std::optional<RouteStopChoice> routeStopFromText(const AtlasModel& model, std::string_view text,
                                                 std::string_view option) {
    const std::size_t colon = text.find(':');
    const std::optional<RouteStop> stop = routeStopFromWord(text.substr(0, colon));
    if (!stop) return std::nullopt;
    if (*stop != RouteStop::Empire) {
        if (colon != std::string_view::npos) {
            throw InputError(fmt::format("{}: '{}' takes no ':' part; only empire:NAME does", option, text));
        }
        return RouteStopChoice{*stop, 0};
    }
    const std::string_view race = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    if (race.empty()) {
        throw InputError(
            fmt::format("{}: say whose empire: empire:NAME, the race's id or name or its empire's name", option));
    }
    const std::uint16_t owner = model.settled().ownerFromText(race, option);
    if (owner == kNoRace) {
        throw InputError(fmt::format("{}: independent systems are no empire: give a race", option));
    }
    return RouteStopChoice{RouteStop::Empire, owner};
}

std::string routeStopChoiceLabel(const AtlasModel& model, const RouteStopChoice& choice) {
    if (choice.stop != RouteStop::Empire) return std::string(routeStopLabel(choice.stop));
    const EmpireEntry* empire = model.settled().empireOf(choice.race);
    if (empire != nullptr && !empire->name.empty()) return fmt::format("systems of the {}", empire->name);
    return fmt::format("systems {} controls", model.settled().raceLabel(choice.race));
}

std::function<bool(SystemId)> routeStopRule(const AtlasModel& model, RouteStop stop, std::uint16_t race) {
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
        case RouteStop::Empire: return [m, race](SystemId id) { return m->owner(id) == race; };
    }
    return {};
}

}  // namespace orrimar::atlas

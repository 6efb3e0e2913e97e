// orrimar-cli route SECTOR FROM TO --jump N [--via PROPERTY|empire:NAME]
// [--jump-time TIME]: the shortest way between two systems for a drive of N
// parsecs a jump (fewest jumps, then fewest parsecs), every leg listed, with
// the time on the way when a jump's time is given; --json for scripts.
#include <cmath>
#include <optional>

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "atlas/atlas_model.h"
#include "atlas/route_stops.h"
#include "atlas/routes.h"
#include "atlas/travel_time.h"
#include "cli/atlas_args.h"
#include "cli/cli.h"
#include "cli/id_args.h"
#include "common/errors.h"

namespace orrimar::cli {

namespace {

struct RouteOptions {
    std::string sector;
    std::string from;
    std::string to;
    double jump = -1;
    std::string via;
    std::string jumpTime;
    bool json = false;
};

// "1 parsec", "2.5 parsecs".
std::string parsecs(double value) { return fmt::format("{} parsec{}", value, value == 1.0 ? "" : "s"); }

// What a stopping rule asks for: "stopping only where there is a gas
// giant", "stopping only at systems of the Vessari Hegemony".
std::string ruleText(const atlas::AtlasModel& model, const atlas::RouteStopChoice& via) {
    static const std::pair<const char*, const char*> kPhrases[] = {
        {"gas-giant", "a gas giant"}, {"water", "open water"}, {"breathable", "breathable air"}, {"life", "life"},
        {"race", "a native race"},    {"colony", "a colony"}};
    if (via.stop == atlas::RouteStop::Empire) {
        return fmt::format(", stopping only at {}", atlas::routeStopChoiceLabel(model, via));
    }
    const std::string_view word = atlas::routeStopWord(via.stop);
    for (const auto& [key, phrase] : kPhrases) {
        if (word == key) return fmt::format(", stopping only where there is {}", phrase);
    }
    return fmt::format(", stopping only at {}", atlas::routeStopLabel(via.stop));
}

std::string systemText(const atlas::AtlasModel& model, atlas::SystemId id) {
    const std::string_view name = model.name(id);
    const atlas::SystemEntry& e = model.entry(id);
    return name.empty() ? fmt::format("{} ({}, {}, {})", id, e.x, e.y, e.z)
                        : fmt::format("{} {} ({}, {}, {})", id, name, e.x, e.y, e.z);
}

void run(const RouteOptions& o, Context& ctx) {
    if (!(std::isfinite(o.jump) && o.jump >= 0.0)) {
        throw InputError(fmt::format("--jump: {} parsecs is no jump: give 0 or more", o.jump));
    }
    const bool timed = !o.jumpTime.empty();
    const atlas::Duration each = timed ? atlas::jumpTimeFromText(o.jumpTime, "--jump-time") : atlas::Duration{};
    atlas::AtlasModel model = atlas::AtlasModel::open(o.sector);
    for (const std::string& w : model.warnings()) ctx.err << "orrimar-cli: warning: " << w << "\n";
    const atlas::SystemId from = systemIdFromText(model, o.from, "FROM");
    const atlas::SystemId to = systemIdFromText(model, o.to, "TO");
    const std::optional<atlas::RouteStopChoice> choice =
        o.via.empty() ? std::nullopt : std::optional<atlas::RouteStopChoice>(viaFromText(model, o.via));
    const auto via = choice ? atlas::routeStopRule(model, *choice) : std::function<bool(atlas::SystemId)>();
    const atlas::Route route = atlas::findRoute(model, from, to, o.jump, via);

    if (o.json) {
        nlohmann::json legs = nlohmann::json::array();
        for (const atlas::RouteLeg& leg : route.legs) {
            nlohmann::json l = {{"from", leg.from}, {"to", leg.to}, {"parsecs", leg.parsecs}};
            if (timed) {
                l["hours"] = each.hours;
                l["time"] = atlas::durationText(each);
            }
            legs.push_back(std::move(l));
        }
        nlohmann::json doc = {{"from", from},
                              {"to", to},
                              {"jump", o.jump},
                              {"via", o.via},
                              {"found", route.found},
                              {"jumps", route.jumps()},
                              {"parsecs", route.parsecs},
                              {"systems", route.systems},
                              {"legs", std::move(legs)}};
        if (timed) {
            const atlas::Duration total = atlas::timeOfJumps(route.jumps(), each);
            doc["jumpHours"] = each.hours;
            doc["jumpTime"] = atlas::durationText(each);
            doc["hours"] = total.hours;
            doc["time"] = atlas::durationText(total);
        }
        ctx.out << doc.dump(2) << "\n";
        return;
    }
    const std::string rule = choice ? ruleText(model, *choice) : std::string();
    if (!route.found) {
        ctx.out << fmt::format("No route from {} to {} with jumps of at most {}{}\n", systemText(model, from),
                               systemText(model, to), parsecs(o.jump), rule);
        return;
    }
    const std::string time =
        timed ? fmt::format(", {}", atlas::durationText(atlas::timeOfJumps(route.jumps(), each))) : std::string();
    ctx.out << fmt::format("Route from {} to {} with jumps of at most {}{}: {} jump{}, {:.2f} parsecs{}\n",
                           systemText(model, from), systemText(model, to), parsecs(o.jump), rule, route.jumps(),
                           route.jumps() == 1 ? "" : "s", route.parsecs, time);
    double total = 0;
    for (std::size_t i = 0; i < route.legs.size(); ++i) {
        const atlas::RouteLeg& leg = route.legs[i];
        total += leg.parsecs;
        std::string line = fmt::format("{:>4}. {} -> {}: {:.2f} parsecs (total {:.2f})", i + 1,
                                       systemText(model, leg.from), systemText(model, leg.to), leg.parsecs, total);
        if (timed) {
            line += fmt::format("; {} (total {})", atlas::durationText(each),
                                atlas::durationText(atlas::timeOfJumps(static_cast<std::int64_t>(i) + 1, each)));
        }
        ctx.out << line << "\n";
    }
}

}  // namespace

void registerRoute(CLI::App& app, Context& ctx) {
    auto o = std::make_shared<RouteOptions>();
    CLI::App* cmd = app.add_subcommand("route", "The shortest route between two systems, jump by jump");
    refuseBlank(cmd->add_option("SECTOR", o->sector, "Sector base name (path without extension)"))->required();
    refuseBlank(cmd->add_option("FROM", o->from, "Starting system (id, name or the start of a name)"))->required();
    refuseBlank(cmd->add_option("TO", o->to, "Destination system (id, name or the start of a name)"))->required();
    refuseBlank(cmd->add_option("--jump", o->jump, "Longest jump of the drive, parsecs"))->required();
    refuseBlank(cmd->add_option(
        "--via", o->via,
        "Stop only at systems with: gas-giant, water, breathable, life, race, colony; or empire:NAME (the "
        "systems a race controls, by its id, name or empire's name)"));
    refuseBlank(cmd->add_option("--jump-time", o->jumpTime,
                                "How long one jump takes: 1w, 7d, 168h, 2w3d (weeks, days, hours); each leg and the "
                                "whole route are timed"));
    cmd->add_flag("--json", o->json, "Print the route as JSON");
    cmd->callback([o, &ctx] { run(*o, ctx); });
}

}  // namespace orrimar::cli

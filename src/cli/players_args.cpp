#include "cli/players_args.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "atlas/atlas_model.h"
#include "campaign/campaign_file.h"
#include "cli/cli.h"
#include "cli/id_args.h"
#include "common/errors.h"
#include "records/sector_base.h"

namespace orrimar::cli {

namespace {

struct MarkOptions {
    std::string base;
    std::vector<std::string> systems;
    std::vector<std::string> races;
    std::vector<std::int64_t> colonies;
    std::vector<std::int64_t> empires;
    std::optional<double> within;
    std::string of;
    bool all = false;
};

// Every thing the options name, in the order given; ids and names are
// resolved before anything is written.
std::vector<Thing> thingsOf(const MarkOptions& o) {
    if (o.within.has_value() != !o.of.empty()) {
        throw InputError("--within and --of go together: --within N --of SYSTEM");
    }
    if (o.within && !(*o.within >= 0.0)) throw InputError(fmt::format("--within: {} is no distance", *o.within));
    std::vector<Thing> things;
    if (o.all) {
        const ThingCounts counts = thingCountsOf(o.base);
        for (const ThingKind kind : {ThingKind::System, ThingKind::Race, ThingKind::Colony, ThingKind::Empire}) {
            for (std::int64_t id = 0; id < counts.of(kind); ++id) things.push_back({kind, id});
        }
        return things;
    }
    for (const std::string& s : o.systems) {
        things.push_back({ThingKind::System, idFromText(o.base, NameKind::System, s, "--system")});
    }
    for (const std::string& r : o.races) {
        things.push_back({ThingKind::Race, idFromText(o.base, NameKind::Race, r, "--race")});
    }
    for (const std::int64_t c : o.colonies) things.push_back({ThingKind::Colony, c});
    for (const std::int64_t e : o.empires) things.push_back({ThingKind::Empire, e});
    if (o.within) {
        const atlas::AtlasModel model = atlas::AtlasModel::open(o.base);
        const atlas::SystemId centre = systemIdFromText(model, o.of, "--of");
        const atlas::SystemEntry& at = model.entry(centre);
        std::vector<std::int64_t> near;
        model.forEachWithin(at.x, at.y, at.z, *o.within, [&](atlas::SystemId id, std::int64_t) { near.push_back(id); });
        std::sort(near.begin(), near.end());
        for (const std::int64_t id : near) things.push_back({ThingKind::System, id});
    }
    if (things.empty()) {
        throw InputError(
            "say what to mark with --system, --race, --colony, --empire ID, --within N --of SYSTEM "
            "or --all");
    }
    return things;
}

}  // namespace

void registerPlayersMark(CLI::App& app, Context& ctx, const char* name, const char* description, PlayersMark mark) {
    auto o = std::make_shared<MarkOptions>();
    auto* cmd = app.add_subcommand(name, description);
    refuseBlank(cmd->add_option("SECTOR", o->base, "Sector base name (path without extension)"))->required();
    refuseBlank(cmd->add_option("--system", o->systems, "A system: its id or its name (as often as wanted)"));
    refuseBlank(cmd->add_option("--race", o->races, "A race: its id or its name (as often as wanted)"));
    refuseBlank(cmd->add_option("--colony", o->colonies, "A colony's id, its record in the .col file"));
    refuseBlank(cmd->add_option("--empire", o->empires, "An empire's id, its record in the .emp file"));
    refuseBlank(cmd->add_option("--within", o->within, "Every system within N parsecs of the system given by --of"));
    refuseBlank(cmd->add_option("--of", o->of, "The system (id or name) that --within measures from"));
    auto* all = cmd->add_flag("--all", o->all, "Every system, race, colony and empire of the sector");
    for (const char* other : {"--system", "--race", "--colony", "--empire", "--within", "--of"}) {
        all->excludes(cmd->get_option(other));
    }
    cmd->callback([o, &ctx, mark] {
        o->base = sectorBaseName(o->base);
        const std::vector<Thing> things = thingsOf(*o);
        markForPlayers(o->base, things, mark);
        const char* what = mark == PlayersMark::Known     ? "revealed to the players"
                           : mark == PlayersMark::Unknown ? "hidden from the players"
                                                          : "back to what the players know by default";
        ctx.success(fmt::format("Wrote {} {} {} to {}", groupedCount(static_cast<std::int64_t>(things.size())),
                                things.size() == 1 ? "thing" : "things", what, campaignPath(o->base)));
    });
}

}  // namespace orrimar::cli

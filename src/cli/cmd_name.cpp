// orrimar-cli name SECTOR --system ID "New name" (or --planet, --moon,
// --race): renames one thing by appending an overriding record to the name
// file. An empty name takes the name away. A refused name leaves the file
// exactly as it was.
#include <memory>
#include <optional>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "cli/id_args.h"
#include "names/rename.h"
#include "common/errors.h"
#include "records/sector_base.h"

namespace orrimar::cli {

namespace {

struct NameOptions {
    std::string base;
    std::optional<std::string> system;
    std::optional<std::int64_t> planet;
    std::optional<std::int64_t> moon;
    std::optional<std::string> race;
    std::string name;
};

}  // namespace

void registerName(CLI::App& app, Context& ctx) {
    auto o = std::make_shared<NameOptions>();
    auto* cmd = app.add_subcommand("name", "Name or rename a system, planet, moon or race of a sector");
    refuseBlank(cmd->add_option("SECTOR", o->base, "Sector base name (path without extension)"))->required();
    auto* sys = refuseBlank(cmd->add_option("--system", o->system, "The system to name: its id or its (current) name"));
    auto* pln = refuseBlank(cmd->add_option("--planet", o->planet, "Id of the planet or belt to name"));
    auto* mon = refuseBlank(cmd->add_option("--moon", o->moon, "Id of the moon to name"));
    auto* rac = refuseBlank(cmd->add_option("--race", o->race, "The race to name: its id or its (current) name"));
    sys->excludes(pln, mon, rac);
    pln->excludes(mon, rac);
    mon->excludes(rac);
    cmd->add_option("NAME", o->name, "The new name, 1 to 50 characters; \"\" removes it")->required();
    cmd->callback([o, &ctx] {
        NameKind kind = NameKind::System;
        std::int64_t id = 0;
        if (o->system) {
            id = idFromText(o->base, NameKind::System, *o->system, "--system");
        } else if (o->planet) {
            kind = NameKind::Planet;
            id = *o->planet;
        } else if (o->moon) {
            kind = NameKind::Moon;
            id = *o->moon;
        } else if (o->race) {
            kind = NameKind::Race;
            id = idFromText(o->base, NameKind::Race, *o->race, "--race");
        } else {
            throw InputError("name: say what to name with --system, --planet, --moon or --race ID");
        }
        // "data/alpha.sun" names the sector "data/alpha", as in every command.
        const std::string base = sectorBaseName(o->base);
        const std::int64_t at = renameInSector(base, kind, id, o->name);
        if (o->name.empty()) {
            ctx.success(fmt::format("Wrote the removal of {} {}'s name to {}.nam (record {})", nameKindWord(kind), id,
                                    base, at));
        } else {
            ctx.success(fmt::format("Wrote the name \"{}\" of {} {} to {}.nam (record {})", o->name, nameKindWord(kind),
                                    id, base, at));
        }
    });
}

}  // namespace orrimar::cli

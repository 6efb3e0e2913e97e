// orrimar-cli settle SECTOR [--seed N] [--replace]: fills the sector's
// colonies, control and empires from its own races by the settling rules.
// A settled sector is settled afresh only with --replace.
#include <memory>
#include <optional>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "common/random.h"
#include "records/colony_codes.h"
#include "records/sector_base.h"
#include "settling/settle_sector.h"

namespace orrimar::cli {

namespace {

struct SettleOptions {
    std::string base;
    std::optional<std::string> seed;
    bool replace = false;
};

}  // namespace

void registerSettle(CLI::App& app, Context& ctx) {
    auto o = std::make_shared<SettleOptions>();
    auto* cmd = app.add_subcommand("settle", "Settle a sector: colonies, control and empires from its own races");
    refuseBlank(cmd->add_option("SECTOR", o->base, "Sector base name (path without extension)"))->required();
    cmd->add_option("--seed", o->seed, "Seed of the settling rolls (default: from the clock, printed)");
    cmd->add_flag("--replace", o->replace,
                  "Settle a settled sector afresh (replaces its colonies, control and empires)");
    cmd->callback([o, &ctx] {
        SettleParams params;
        params.seed = o->seed ? strictSeed(*o->seed) : clockSeed();
        params.replace = o->replace;
        const std::string base = sectorBaseName(o->base);
        const SettleResult r = SettleSector(base, params);
        for (const std::string& line : r.recovered) ctx.out << line << '\n';
        if (r.unsettledRaces > 0) {
            ctx.err << fmt::format(
                "Note: {} races past race 65,534 were left unsettled: the colony file holds "
                "16-bit race ids\n",
                groupedCount(r.unsettledRaces));
        }
        if (r.homeless > 0) {
            ctx.err << fmt::format("Note: {} races have no home world in the sector and were left unsettled\n",
                                   groupedCount(r.homeless));
        }
        ctx.success(fmt::format(
            "Settled {} (seed {}): {} colonies ({} moon bases, {} independent), {} people, "
            "{} systems controlled, {} empires",
            base, params.seed, groupedCount(r.colonies), groupedCount(r.moonBases), groupedCount(r.independents),
            peopleWords(r.people), groupedCount(r.controlledSystems), groupedCount(r.empires)));
    });
}

}  // namespace orrimar::cli

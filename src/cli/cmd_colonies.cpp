// orrimar-cli colonies SECTOR --race N --out LOGBASE: the colonies report of
// one race, written to LOGBASE + ".log".
#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "cli/id_args.h"
#include "cli/out_args.h"
#include "tools/colonies_report.h"

namespace orrimar::cli {

namespace {
struct ColoniesOptions {
    std::string sectorBase;
    std::string race = "0";  // the dialog's "Race :" field starts at 0
    std::string logBase;
};
}  // namespace

void registerColonies(CLI::App& app, Context& ctx) {
    auto* cmd = app.add_subcommand("colonies", "Write the report of every colony owned by one race");
    auto opts = std::make_shared<ColoniesOptions>();
    refuseBlank(cmd->add_option("SECTOR", opts->sectorBase, "The sector: its base name, e.g. data/alpha"))
        ->type_name("PATH")
        ->required();
    refuseBlank(
        cmd->add_option("--race", opts->race, "The race whose colonies are listed: its number (0..65534) or its name"))
        ->type_name("ID|NAME")
        ->capture_default_str();
    refuseBlank(cmd->add_option("--out", opts->logBase,
                                "The report's path, without extension or with .log: PATH.log is written"))
        ->type_name("PATH")
        ->required();
    cmd->callback([opts, &ctx] {
        const std::string logBase = baseOut(opts->logBase, {".log"}, "colonies");
        const std::int64_t race = idFromText(opts->sectorBase, NameKind::Race, opts->race, "--race");
        WriteColoniesReport(opts->sectorBase, static_cast<long>(race), logBase);
        // The report itself names races by number only (other tools read
        // it); the line on the screen may name the race.
        ctx.success(fmt::format("Wrote colonies report of {} to {}.log",
                                namedThing(opts->sectorBase, NameKind::Race, race), logBase));
    });
}

}  // namespace orrimar::cli

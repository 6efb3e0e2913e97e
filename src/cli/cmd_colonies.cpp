// orrimar-cli colonies SECTOR --race N --out LOGBASE: the colonies report of
// one race, written to LOGBASE + ".log".
#include <CLI/CLI.hpp>

#include "cli/cli.h"
#include "tools/colonies_report.h"

namespace orrimar::cli {

namespace {
struct ColoniesOptions {
    std::string sectorBase;
    long race = 0;  // the dialog's "Race :" field starts at 0
    std::string logBase;
};
}  // namespace

void registerColonies(CLI::App& app, Context& ctx) {
    auto* cmd = app.add_subcommand("colonies", "Write the report of every colony owned by one race");
    auto opts = std::make_shared<ColoniesOptions>();
    cmd->add_option("SECTOR", opts->sectorBase, "Base name of the sector (path without extension)")->required();
    cmd->add_option("--race", opts->race, "Race number, 0..65534")->capture_default_str();
    cmd->add_option("--out", opts->logBase, "Base name of the report; \".log\" is added")->required();
    // Like the dialog, the report shows no message when it is complete.
    (void)ctx;
    cmd->callback([opts] { WriteColoniesReport(opts->sectorBase, opts->race, opts->logBase); });
}

}  // namespace orrimar::cli

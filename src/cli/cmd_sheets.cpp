// orrimar-cli sheets SECTOR --out FILE.pdf [--systems ID,...]: one printed
// page per system for the game table: its stars, and its worlds in orbit
// order with their air, temperature, gravity, life and moons.
#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "cli/id_args.h"
#include "cli/out_args.h"
#include "cli/painting_app.h"
#include "common/errors.h"
#include "print/paper.h"
#include "print/sheet_pages.h"
#include "records/sector_base.h"
#include "sheets/system_sheet.h"

namespace orrimar::cli {

namespace {

struct SheetsArgs {
    std::string sector;
    std::string out;
    std::vector<std::string> systems;
    std::string paper = "A4";
    bool players = false;
};

void run(const SheetsArgs& a, Context& ctx) {
    const std::string out = fileOut(a.out, "sheets.pdf");
    const auto paper = print::paperFromText(a.paper);
    if (!paper) throw InputError(fmt::format("--paper: '{}' is no paper: give {}", a.paper, print::paperNames()));
    const std::string base = sectorBaseName(a.sector);
    std::vector<std::int64_t> ids;
    ids.reserve(a.systems.size());
    for (const std::string& text : a.systems) {
        if (text.empty()) throw InputError("--systems: an empty entry: give ids or names separated by commas");
        ids.push_back(idFromText(base, NameKind::System, text, "--systems"));
    }
    sheets::SheetOptions options;
    options.audience = a.players ? sheets::Audience::Players : sheets::Audience::GameMaster;
    const std::vector<sheets::SystemSheet> sheets = sheets::gatherSheets(base, ids, options);
    ensurePaintingApp();
    print::writeSheetsPdf(sheets, *paper, out);
    ctx.success(fmt::format("Wrote {} system sheet{} to {}", sheets.size(), sheets.size() == 1 ? "" : "s", out));
}

}  // namespace

void registerSheets(CLI::App& app, Context& ctx) {
    auto a = std::make_shared<SheetsArgs>();
    CLI::App* cmd = app.add_subcommand("sheets", "One printed page per system for the game table, as a PDF");
    refuseBlank(cmd->add_option("SECTOR", a->sector, "Sector base name (path without extension)"))->required();
    refuseBlank(cmd->add_option("--out", a->out, "The PDF file to write"))->required();
    cmd->add_option("--systems", a->systems, "Systems by id or name, separated by commas (default: every system)")
        ->delimiter(',');
    refuseBlank(cmd->add_option("--paper", a->paper, "A4, A3, A2, Letter or Tabloid (default A4)"));
    cmd->add_flag("--players", a->players, "For the players: no record ids and no race details");
    cmd->callback([a, &ctx] { run(*a, ctx); });
}

}  // namespace orrimar::cli

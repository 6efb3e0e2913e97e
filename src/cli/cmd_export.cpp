// orrimar-cli export and atlas: a sector as JSON, as CSV tables or as a
// browsable HTML atlas, for other tools and for the players.
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "cli/out_args.h"
#include "cli/progress_bar.h"
#include "exports/sector_export.h"
#include "records/sector_base.h"

namespace orrimar::cli {

namespace {

struct ExportOptions {
    std::string sector;
    std::string format;
    std::string out;
    bool players = false;
};

void runExport(ExportOptions options, exports::ExportFormat format, Context& ctx) {
    // JSON is one file; CSV and the atlas are folders of their own.
    if (format == exports::ExportFormat::Json) options.out = fileOut(options.out, "sector.json");
    const Audience audience = options.players ? Audience::Players : Audience::GameMaster;
    exports::ExportResult result;
    if (ctx.interactive) {
        ProgressBar<exports::ExportProgress> bar(ctx.err);
        result = exports::ExportSector(options.sector, format, options.out, &bar, audience);
    } else {
        result = exports::ExportSector(options.sector, format, options.out, nullptr, audience);
    }
    const auto count = [](std::int64_t n, const char* one, const char* many) {
        return fmt::format("{} {}", groupedCount(n), n == 1 ? one : many);
    };
    ctx.success(fmt::format(
        "Wrote the {} of {} ({}, {}) to {}",
        format == exports::ExportFormat::Atlas ? std::string(options.players ? "players' atlas" : "atlas")
                                               : std::string(exports::exportFormatName(format)) + " export",
        options.sector, count(result.systems, "system", "systems"), count(result.races, "race", "races"), options.out));
}

}  // namespace

void registerExport(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<ExportOptions>();
    CLI::App* cmd = app.add_subcommand("export", "Export a sector as JSON, CSV tables or an HTML atlas");
    refuseBlank(cmd->add_option("SECTOR", options->sector, "Sector base name (path without extension)"))->required();
    refuseBlank(
        cmd->add_option("--format", options->format, "json (one file), csv (a folder of tables) or atlas (a folder)"))
        ->required();
    cmd->add_option("--out", options->out, "File (json) or folder (csv, atlas) to write")->required();
    cmd->add_flag("--players", options->players,
                  "With --format atlas: the players' atlas, only what they know and their public notes");
    cmd->callback([options, &ctx] { runExport(*options, exports::exportFormatFromName(options->format), ctx); });

    auto atlas = std::make_shared<ExportOptions>();
    CLI::App* at = app.add_subcommand("atlas", "Write a browsable HTML atlas of a sector (a folder)");
    refuseBlank(at->add_option("SECTOR", atlas->sector, "Sector base name (path without extension)"))->required();
    at->add_option("--out", atlas->out, "Folder to write")->required();
    at->add_flag("--players", atlas->players,
                 "The players' atlas: only the systems, races, colonies and empires they know, in words, with "
                 "their public notes");
    at->callback([atlas, &ctx] { runExport(*atlas, exports::ExportFormat::Atlas, ctx); });
}

}  // namespace orrimar::cli

// orrimar-cli starlog and report: the System Logfile and Sector Report
// dialogs for scripts. Malformed values are refused before anything is read
// or written.
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "cli/id_args.h"
#include "cli/out_args.h"
#include "common/errors.h"
#include "engine/engine.h"
#include "logs/star_summary.h"

namespace orrimar::cli {

namespace {

struct StarlogOptions {
    std::string sector;
    std::string system;
    std::string out;
    bool html = false;
    bool summary = false;
};

struct ReportOptions {
    std::string sector;
    std::string out;
    bool noSystems = false;
    bool noAliens = false;
    bool noSummary = false;
    bool noEmpires = false;
};

void requireOut(const std::string& out, const char* what) {
    if (out.empty()) throw InputError(fmt::format("--out: no file chosen: choose a file to save the {} to", what));
}

}  // namespace

void registerLogs(CLI::App& app, Context& ctx) {
    auto starlog = std::make_shared<StarlogOptions>();
    CLI::App* log = app.add_subcommand("starlog", "Write the log of one star system");
    refuseBlank(log->add_option("SECTOR", starlog->sector, "The sector: its base name, e.g. data/alpha"))
        ->type_name("PATH")
        ->required();
    log->add_option("--system", starlog->system,
                    "Which system: its id (0 for the first), its name or the start of its name; `report` "
                    "lists every system with its id")
        ->type_name("ID|NAME")
        ->required();
    log->add_option("--out", starlog->out, "The log file to write, with its extension (.log, or .html with --html)")
        ->type_name("PATH")
        ->required();
    log->add_flag("--html", starlog->html, "Write one HTML page instead of plain text");
    log->add_flag("--summary", starlog->summary,
                  "Write the one-screen summary instead: stars, then a line per orbit, moons folded");
    log->callback([starlog, &ctx] {
        requireOut(starlog->out, starlog->summary ? "system summary" : "system log");
        starlog->out = fileOut(starlog->out, starlog->html ? "system.html" : "system.log");
        const auto id =
            static_cast<std::int32_t>(idFromText(starlog->sector, NameKind::System, starlog->system, "--system"));
        if (starlog->summary) {
            engine::main_starsummary(starlog->sector, starlog->out, id,
                                     starlog->html ? engine::LogFormat::Html : engine::LogFormat::Text,
                                     // No name given: the summary reads the name file itself, so
                                     // that renamed worlds show under their own names.
                                     std::string());
            ctx.success(fmt::format("Wrote system summary of {} to {}",
                                    namedThing(starlog->sector, NameKind::System, id), starlog->out));
            return;
        }
        engine::main_starlog(starlog->sector, starlog->out, id, 1,
                             starlog->html ? engine::LogFormat::Html : engine::LogFormat::Text);
        ctx.success(fmt::format("Wrote system log of {} to {}", namedThing(starlog->sector, NameKind::System, id),
                                starlog->out));
    });

    auto report = std::make_shared<ReportOptions>();
    CLI::App* rep = app.add_subcommand("report", "Write the sector report (.map text and .html page)");
    refuseBlank(rep->add_option("SECTOR", report->sector, "The sector: its base name, e.g. data/alpha"))
        ->type_name("PATH")
        ->required();
    rep->add_option("--out", report->out,
                    "The report's path, without extension or with .map or .html: PATH.map and PATH.html are written")
        ->type_name("PATH")
        ->required();
    rep->add_flag("--no-systems", report->noSystems, "Leave out the Systems section");
    rep->add_flag("--no-aliens", report->noAliens, "Leave out the Alien races section");
    rep->add_flag("--no-summary", report->noSummary, "Leave out the Summary section");
    rep->add_flag("--no-empires", report->noEmpires, "Leave out the Empires section");
    rep->callback([report, &ctx] {
        requireOut(report->out, "sector report");
        // "--out x.html" means the report x.map and x.html, not x.html.html.
        report->out = baseOut(report->out, {".map", ".html"}, "report");
        engine::main_map(report->sector, report->out, !report->noSystems, !report->noAliens, !report->noSummary,
                         !report->noEmpires);
        ctx.success(fmt::format("Wrote sector report to {}.map and {}.html", report->out, report->out));
    });
}

}  // namespace orrimar::cli

// orrimar-cli check BASE: is the sector whole? One line per problem, then a
// summary; exit 0 for a sound sector, 1 for a damaged one or none at BASE.
#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "records/sector_base.h"
#include "tools/sector_check.h"

namespace orrimar::cli {

void registerCheck(CLI::App& app, Context& ctx) {
    auto* cmd = app.add_subcommand("check", "Verify that a sector's files are whole and consistent");
    auto base = std::make_shared<std::string>();
    refuseBlank(cmd->add_option("BASE", *base, "The sector: its base name, e.g. data/alpha"))
        ->type_name("PATH")
        ->required();
    cmd->callback([&ctx, base] {
        const SectorCheckReport report = CheckSector(*base);
        for (const std::string& line : report.problems) ctx.out << line << '\n';
        if (report.problemCount > static_cast<std::int64_t>(report.problems.size())) {
            ctx.out << fmt::format(
                "... and {} more\n",
                groupedCount(report.problemCount - static_cast<std::int64_t>(report.problems.size())));
        }
        for (const std::string& line : report.warnings) ctx.out << "warning: " << line << '\n';
        const std::string counts = recordCounts(report.systems, report.planets, report.moons, report.races);
        if (report.sound()) {
            ctx.out << fmt::format("{}: sound ({})\n", *base, counts);
            ctx.exitCode = kExitOk;
        } else {
            ctx.out << fmt::format("{}: damaged, {} problem{} ({})\n", *base, groupedCount(report.problemCount),
                                   report.problemCount == 1 ? "" : "s", counts);
            ctx.exitCode = kExitRuntime;
        }
    });
}

}  // namespace orrimar::cli

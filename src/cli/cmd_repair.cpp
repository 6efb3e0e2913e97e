// orrimar-cli repair BASE: cuts a torn sector back to its last whole system
// and says what it removed; refuses (exit 2, nothing touched) anything worse
// than a torn tail.
#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "tools/sector_repair.h"

namespace orrimar::cli {

void registerRepair(CLI::App& app, Context& ctx) {
    auto* cmd = app.add_subcommand("repair", "Cut a torn sector back to its last whole system");
    auto base = std::make_shared<std::string>();
    refuseBlank(cmd->add_option("BASE", *base, "Sector base name (path without extension)"))->required();
    cmd->callback([&ctx, base] {
        const SectorRepair repair = RepairSector(*base);
        for (const std::string& line : repair.actions) ctx.out << line << '\n';
        const std::string counts =
            recordCounts(repair.after.systems, repair.after.planets, repair.after.moons, repair.after.races);
        if (repair.actions.empty()) {
            ctx.out << fmt::format("{}: whole, nothing to repair ({})\n", *base, counts);
        } else {
            ctx.out << fmt::format("Repaired {}: cut back to its last whole system ({})\n", *base, counts);
        }
    });
}

}  // namespace orrimar::cli

// orrimar-cli merge MAIN ADDED: appends the added sector to the main one.
#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "records/sector_base.h"
#include "tools/merger.h"

namespace orrimar::cli {

void registerMerge(CLI::App& app, Context& ctx) {
    auto* cmd = app.add_subcommand("merge", "Append a second sector to a first, renumbering every id");
    auto mainBase = std::make_shared<std::string>();
    auto addedBase = std::make_shared<std::string>();
    refuseBlank(cmd->add_option("MAIN", *mainBase, "The sector that grows: its base name, e.g. data/alpha"))
        ->type_name("PATH")
        ->required();
    refuseBlank(cmd->add_option("ADDED", *addedBase, "The sector whose systems are added to MAIN; it is only read"))
        ->type_name("PATH")
        ->required();
    cmd->callback([&ctx, mainBase, addedBase] {
        const MergeResult merged = MergeSectors(*mainBase, *addedBase);
        std::string line =
            fmt::format("Wrote the systems of {} into {}", sectorBaseName(*addedBase), sectorBaseName(*mainBase));
        if (merged.doubledCells > 0) line += doubledCellsNote(merged.doubledCells, sectorBaseName(*mainBase));
        ctx.success(line);
        if (!merged.campaignWaiting.empty()) {
            ctx.err << "orrimar-cli: warning: the added sector's campaign notes wait beside the main sector and join "
                       "its campaign file when it is next read: "
                    << merged.campaignWaiting << "\n";
        }
    });
}

}  // namespace orrimar::cli

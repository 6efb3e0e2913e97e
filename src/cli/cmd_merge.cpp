// orrimar-cli merge MAIN ADDED: appends the added sector to the main one.
#include <CLI/CLI.hpp>

#include "cli/cli.h"
#include "tools/merger.h"

namespace orrimar::cli {

void registerMerge(CLI::App& app, Context& ctx) {
    auto* cmd = app.add_subcommand("merge", "Append a second sector to a first, renumbering every id");
    auto mainBase = std::make_shared<std::string>();
    auto addedBase = std::make_shared<std::string>();
    cmd->add_option("MAIN", *mainBase, "Base name of the main sector (path without extension); it grows")
        ->required();
    cmd->add_option("ADDED", *addedBase, "Base name of the sector to add; only read")->required();
    cmd->callback([&ctx, mainBase, addedBase] {
        MergeSectors(*mainBase, *addedBase);
        ctx.out << "The 2 sectors have been merged\n";
    });
}

}  // namespace orrimar::cli

// Placeholder: the subcommand is registered by its owner.
#include <CLI/CLI.hpp>

#include "cli/cli.h"

namespace orrimar::cli {

void registerMerge(CLI::App& app, Context& ctx) {
    (void)app;
    (void)ctx;
}

}  // namespace orrimar::cli

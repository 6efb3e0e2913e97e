// Placeholder: the subcommand is registered by its owner.
#include <CLI/CLI.hpp>

#include "cli/cli.h"

namespace orrimar::cli {

void registerAlien(CLI::App& app, Context& ctx) {
    (void)app;
    (void)ctx;
}

}  // namespace orrimar::cli

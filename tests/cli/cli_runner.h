// orrimar-cli run inside the test process: its output and error streams
// captured, and the context made afresh before each run, so one run's exit
// code or --quiet never leaks into the next.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace orrimar::testing {

struct CliRunner {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};

    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        ctx.exitCode = cli::kExitOk;
        ctx.quiet = false;
        return cli::runCli(args, ctx);
    }
};

}  // namespace orrimar::testing

#include "cli/cli.h"

#include <filesystem>
#include <iostream>

#include <CLI/CLI.hpp>
#include <unistd.h>

#include "records/errors.h"

namespace orrimar::cli {

int runCli(const std::vector<std::string>& args, Context& ctx) {
    CLI::App app{"Orrimar: sectors of space for science-fiction role-playing games", "orrimar-cli"};
    app.require_subcommand(1);
    registerCreate(app, ctx);
    registerCheck(app, ctx);
    registerMerge(app, ctx);
    registerColonies(app, ctx);
    registerLogs(app, ctx);
    registerAlien(app, ctx);
    registerName(app, ctx);
    registerFind(app, ctx);
    registerRoute(app, ctx);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        ctx.out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp&) {
        ctx.out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        ctx.err << "orrimar-cli: " << e.what() << "\n";
        return kExitUsage;
    } catch (const InputError& e) {
        ctx.err << "orrimar-cli: " << e.what() << "\n";
        return kExitUsage;
    } catch (const OrrError& e) {
        ctx.err << "orrimar-cli: " << e.what() << "\n";
        return kExitRuntime;
    } catch (const std::exception& e) {
        ctx.err << "orrimar-cli: " << e.what() << "\n";
        return kExitRuntime;
    }
    return ctx.exitCode;
}

int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    Context ctx{out, err, {}, false, kExitOk};
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    ctx.programDir = ec ? std::string(".") : exe.parent_path().string();
    ctx.interactive = ::isatty(STDERR_FILENO) != 0;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return runCli(args, ctx);
}

}  // namespace orrimar::cli

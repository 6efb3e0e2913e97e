#include "cli/cli.h"

#include <filesystem>
#include <iostream>

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <unistd.h>

#include "common/errors.h"
#include "records/sector_base.h"
#include "settings/probabilities.h"

namespace orrimar::cli {

void Context::success(const std::string& line) const {
    if (!quiet) out << line << "\n";
}

std::string doubledCellsNote(std::int64_t doubled, const std::string& baseName) {
    return fmt::format("; {} of them went into {} that already held a system (\"orrimar-cli check {}\" lists them)",
                       groupedCount(doubled), doubled == 1 ? "a cell" : "cells", baseName);
}

void addQuietFlags(CLI::App& app, Context& ctx) {
    app.add_flag("-q,--quiet", ctx.quiet, "Print nothing when the command succeeds (errors are still shown)");
    for (CLI::App* sub : app.get_subcommands({})) {
        if (sub->get_option_no_throw("--quiet") != nullptr) continue;
        sub->add_flag("-q,--quiet", ctx.quiet, "Print nothing when the command succeeds");
    }
}

CLI::Option* refuseBlank(CLI::Option* option) {
    option->check(CLI::Validator(
        [](const std::string& value) {
            return value.find_first_not_of(" \t") == std::string::npos ? std::string("the value is empty: give one")
                                                                        : std::string();
        },
        "", "NOT_BLANK"));
    return option;
}

std::string settingsFileOf(const std::string& given, const Context& ctx) {
    if (given.empty()) return settingsPath(ctx.programDir);
    std::error_code ec;
    const auto status = std::filesystem::status(given, ec);
    if (!std::filesystem::exists(status)) {
        throw InputError(fmt::format("--settings: {} does not exist: give the settings file to read, or leave "
                                     "--settings out for the one beside the program",
                                     given));
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw InputError(fmt::format("--settings: {} is not a file: give the settings file to read", given));
    }
    return given;
}

int runCli(const std::vector<std::string>& args, Context& ctx) {
    CLI::App app{"Orrimar: sectors of space for science-fiction role-playing games", "orrimar-cli"};
    app.require_subcommand(1);
    registerCreate(app, ctx);
    registerCheck(app, ctx);
    registerMerge(app, ctx);
    registerColonies(app, ctx);
    registerLogs(app, ctx);
    registerAlien(app, ctx);
    registerExport(app, ctx);
    registerFind(app, ctx);
    registerRoute(app, ctx);
    registerName(app, ctx);
    registerInfo(app, ctx);
    registerRepair(app, ctx);
    addQuietFlags(app, ctx);
    app.footer("A sector is named by its base name: the path of its files without extension\n"
               "(data/alpha for data/alpha.sun, data/alpha.pln, ...). A name given with one of\n"
               "those extensions is taken as the base name. Run orrimar-cli COMMAND --help for\n"
               "the options of one command.");

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
    Context ctx{out, err, {}, false, kExitOk, false};
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    ctx.programDir = ec ? std::string(".") : exe.parent_path().string();
    ctx.interactive = ::isatty(STDERR_FILENO) != 0;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return runCli(args, ctx);
}

}  // namespace orrimar::cli

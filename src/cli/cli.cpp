#include "cli/cli.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <unistd.h>

#include "common/errors.h"
#include "common/random.h"
#include "records/sector_base.h"
#include "settings/probabilities.h"

namespace orrimar::cli {

void Context::success(const std::string& line) const {
    if (!quiet) out << line << "\n";
}

std::string recordCounts(std::int64_t systems, std::int64_t planets, std::int64_t moons, std::int64_t races) {
    return fmt::format("{} systems, {} planets, {} moons, {} races", groupedCount(systems), groupedCount(planets),
                       groupedCount(moons), groupedCount(races));
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
        throw InputError(
            fmt::format("--settings: {} does not exist: give the settings file to read, or leave "
                        "--settings out for the one beside the program",
                        given));
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw InputError(fmt::format("--settings: {} is not a file: give the settings file to read", given));
    }
    return given;
}

namespace {

// Letters to insert, delete or replace to turn `a` into `b`.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The first word that is no option names the command. A word that names
// none is refused with the nearest command (or, when none is near, all of
// them), rather than left for the parser to call a missing command.
void refuseUnknownCommand(const CLI::App& app, const std::vector<std::string>& args) {
    const auto word =
        std::find_if(args.begin(), args.end(), [](const std::string& a) { return a.empty() || a.front() != '-'; });
    if (word == args.end()) return;
    std::vector<std::string> names;
    for (const CLI::App* sub : app.get_subcommands({})) names.push_back(sub->get_name());
    if (std::find(names.begin(), names.end(), *word) != names.end()) return;
    std::string nearest;
    std::size_t best = std::string::npos;
    for (const std::string& name : names) {
        const std::size_t d = editDistance(*word, name);
        if (d < best) best = d, nearest = name;
    }
    // Nearer than half the word: a slip of the fingers, not another word.
    if (!nearest.empty() && best * 2 <= std::max<std::size_t>(word->size(), 2)) {
        throw InputError(fmt::format("unknown command {}; did you mean {}?", *word, nearest));
    }
    std::string all;
    for (const std::string& name : names) all += (all.empty() ? "" : ", ") + name;
    throw InputError(fmt::format("unknown command {}; the commands are {}", *word, all));
}

}  // namespace

int runCli(const std::vector<std::string>& args, Context& ctx) {
    CLI::App app{"Orrimar: sectors of space for science-fiction role-playing games", "orrimar-cli"};
    app.require_subcommand(1);
    registerCreate(app, ctx);
    registerCheck(app, ctx);
    registerMerge(app, ctx);
    registerColonies(app, ctx);
    registerColony(app, ctx);
    registerEmpire(app, ctx);
    registerLogs(app, ctx);
    registerAlien(app, ctx);
    registerExport(app, ctx);
    registerFind(app, ctx);
    registerRoute(app, ctx);
    registerName(app, ctx);
    registerNote(app, ctx);
    registerNotes(app, ctx);
    registerReveal(app, ctx);
    registerHide(app, ctx);
    registerInfo(app, ctx);
    registerRepair(app, ctx);
    registerSettle(app, ctx);
#ifdef ORRIMAR_WITH_PRINT
    registerPoster(app, ctx);
    registerSheets(app, ctx);
#endif
    addQuietFlags(app, ctx);
    app.footer(
        "A sector is named by its base name: the path of its files without extension\n"
        "(data/alpha for data/alpha.sun, data/alpha.pln, ...). A name given with one of\n"
        "those extensions is taken as the base name. Run orrimar-cli COMMAND --help for\n"
        "the options of one command.");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        refuseUnknownCommand(app, args);
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

// A run seed as given: an unsigned 64-bit number, nothing else.
std::uint64_t strictSeed(const std::string& text) {
    if (text.empty()) {
        throw InputError(
            "--seed is empty: give a number (0..18446744073709551615), or leave --seed out to seed "
            "from the clock");
    }
    const std::optional<std::uint64_t> seed = parseSeed(text);
    if (!seed) throw InputError(fmt::format("--seed: not a seed (0..18446744073709551615): '{}'", text));
    return *seed;
}

}  // namespace orrimar::cli

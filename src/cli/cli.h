// orrimar-cli: one subcommand per command of the launch pad, for scripting
// and headless use. Everything is reachable from tests through runCli().
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "names/named_things.h"
#include "names/rename.h"
#include "names/sector_names.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace orrimar::cli {

// Exit statuses: 0 success, 1 a runtime error (I/O, range) or a damaged
// sector, 2 malformed input refused before anything was touched.
constexpr int kExitOk = 0;
constexpr int kExitRuntime = 1;
constexpr int kExitUsage = 2;

struct Context {
    std::ostream& out;
    std::ostream& err;
    // The directory of the running program (for the default settings file).
    std::string programDir;
    // True when out is a terminal (a progress bar may be drawn on err).
    bool interactive = false;
    // Set by a subcommand's callback; runCli returns it.
    int exitCode = kExitOk;
    // --quiet: no success line.
    bool quiet = false;

    // The one line a command prints when it has done its work, shaped
    // "Wrote <what> to <path>"; dropped by --quiet. Errors go to err and are
    // never dropped.
    void success(const std::string& line) const;
};

// "1,341 systems, 9,876 planets, 12,001 moons, 2 races": a sector's record
// counts as check, repair and info print them, grouped like every count.
std::string recordCounts(std::int64_t systems, std::int64_t planets, std::int64_t moons, std::int64_t races);

// "; 3 of them went into cells that already held a system (check
// data/alpha lists them)": said by every command that may double cells.
std::string doubledCellsNote(std::int64_t doubled, const std::string& baseName);

// Adds --quiet to every subcommand of `app` that has none of its own, so a
// new subcommand gets it by calling ctx.success().
void addQuietFlags(CLI::App& app, Context& ctx);

// Refuses the option's value when it is blank ("", "  "), naming the option:
// a value left empty is a mistake, not a request for the default or for 0
// (which is what a number read from nothing would be). Returns the option.
CLI::Option* refuseBlank(CLI::Option* option);

// The settings file a command reads: the one given with --settings, which
// must be there (InputError naming it otherwise), or orrwin.ini beside the
// program when none was given (missing, it means the default tables).
std::string settingsFileOf(const std::string& given, const Context& ctx);

// Each subcommand file registers its own subcommand; its callback does the
// work and may throw InputError (exit 2) or OrrError (exit 1).
void registerCreate(CLI::App& app, Context& ctx);
void registerCheck(CLI::App& app, Context& ctx);
void registerMerge(CLI::App& app, Context& ctx);
void registerColonies(CLI::App& app, Context& ctx);
void registerLogs(CLI::App& app, Context& ctx);   // starlog, report
void registerAlien(CLI::App& app, Context& ctx);  // alienlog, alien
void registerInfo(CLI::App& app, Context& ctx);
void registerRepair(CLI::App& app, Context& ctx);
void registerExport(CLI::App& app, Context& ctx);  // export, atlas
void registerFind(CLI::App& app, Context& ctx);
void registerRoute(CLI::App& app, Context& ctx);
void registerName(CLI::App& app, Context& ctx);
void registerColony(CLI::App& app, Context& ctx);
void registerEmpire(CLI::App& app, Context& ctx);
void registerSettle(CLI::App& app, Context& ctx);
#ifdef ORRIMAR_WITH_PRINT
void registerPoster(CLI::App& app, Context& ctx);
void registerSheets(CLI::App& app, Context& ctx);
#endif
void registerNote(CLI::App& app, Context& ctx);
void registerNotes(CLI::App& app, Context& ctx);
void registerReveal(CLI::App& app, Context& ctx);
void registerHide(CLI::App& app, Context& ctx);

int runCli(const std::vector<std::string>& args, Context& ctx);
int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// The --seed of a run: 0..2^64-1; InputError naming --seed otherwise.
std::uint64_t strictSeed(const std::string& text);

}  // namespace orrimar::cli

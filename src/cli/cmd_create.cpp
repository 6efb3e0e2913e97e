// orrimar-cli create: the Create Sector dialog for scripts. Same fields and
// defaults, but strict: a malformed or out-of-range value is refused before
// any file is touched.
#include <charconv>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "cli/progress_bar.h"
#include "common/errors.h"
#include "common/message_sink.h"
#include "common/number_text.h"
#include "generation/create_sector.h"
#include "generation/sector_fields.h"
#include "records/sector_base.h"
#include "settings/probabilities.h"

namespace orrimar::cli {

namespace {

// The dialog's fields and defaults, plus what only the command line has.
struct CreateOptions {
    CreateSectorFields fields;
    bool append = false;   // "New file" unchecked
    bool replace = false;  // a sector already at --file may be replaced
    bool noNames = false;  // "Names" unchecked
    std::string seed;
    std::string settings;
    std::string threads;  // empty: one per core
    // Given on the command line, even as "": an empty --file or --seed is
    // a mistake to refuse, not a request for the default.
    bool fileGiven = false;
    bool seedGiven = false;
};

std::int32_t strictInteger(const std::string& text, const char* option) {
    const ConvertedInteger converted = convertInteger(text);
    if (!converted.complete) throw InputError(fmt::format("{}: not a whole number: '{}'", option, text));
    return converted.value;
}

std::int16_t coordinate(const std::string& text, const char* option, const char* axis) {
    const std::int32_t v = strictInteger(text, option);
    if (v < -32768 || v > 32767) throw InputError(fmt::format("{} should be between -32768 and 32767", axis));
    return static_cast<std::int16_t>(v);
}

CreateSectorParams paramsFrom(const CreateOptions& o, const Context& ctx) {
    CreateSectorParams p;
    p.x = coordinate(o.fields.x, "-x", "X");
    p.y = coordinate(o.fields.y, "-y", "Y");
    p.z = coordinate(o.fields.z, "-z", "Z");

    const std::int32_t density = strictInteger(o.fields.density, "--density");
    if (density < 0 || density > 100) throw InputError("Density should be between 0 and 100");
    p.density = static_cast<std::uint8_t>(density);

    // The dialog's own size messages.
    const std::int32_t size = strictInteger(o.fields.size, "--size");
    if (size > 200) throw InputError("Size should be inferior to 201");
    if (size < 1) throw InputError("Size should be superior to 1");
    p.lastIndex = size - 1;

    const std::int32_t age = strictInteger(o.fields.maxSpatialAge, "--max-spatial-age");
    if (age < 0 || age > 255) throw InputError("Max Spatial Age should be between 0 and 255");
    p.maxSpatialAge = static_cast<std::uint8_t>(age);

    // The name record holds 50 characters of the Windows ANSI code page.
    try {
        p.sectorName = sectorNameInAnsi(o.fields.name);
    } catch (const InputError& e) {
        throw InputError(fmt::format("--name: {}", e.what()));
    }
    p.baseName = o.fields.file.empty() && !o.fileGiven ? std::string("starlog") : o.fields.file;
    if (const std::string problem = newBaseNameProblem(sectorBaseName(p.baseName)); !problem.empty()) {
        throw InputError(fmt::format("--file: {}", problem));
    }
    p.gaia = o.fields.gaia;
    p.newFile = !o.append;
    p.replace = o.replace;
    if (o.append && o.replace)
        throw InputError("--append and --replace exclude each other: add to the sector, or replace it");
    p.totalAlienDisable = o.fields.totalAlienDisable;
    p.flat = o.fields.flat;
    p.names = !o.noNames;
    if (o.seedGiven) p.seed = strictSeed(o.seed);
    p.settingsPath = settingsFileOf(o.settings, ctx);
    if (!o.threads.empty()) {
        const std::int32_t threads = strictInteger(o.threads, "--threads");
        if (threads < 1 || threads > 256) throw InputError("--threads should be between 1 and 256");
        p.threads = static_cast<unsigned>(threads);
    }
    return p;
}

// The system's own messages ("Error 3 (luminosity)") go to the error stream.
class StreamSink final : public MessageSink {
public:
    explicit StreamSink(std::ostream& err) : err_(err) { setMessageSink(this); }
    ~StreamSink() override { setMessageSink(nullptr); }
    void message(std::string_view title, std::string_view text) override { err_ << title << ": " << text << "\n"; }

private:
    std::ostream& err_;
};

void runCreate(const CreateOptions& options, Context& ctx) {
    const CreateSectorParams params = paramsFrom(options, ctx);
    StreamSink sink(ctx.err);
    CreateSectorResult result;
    try {
        if (ctx.interactive) {
            ProgressBar<SectorProgress> bar(ctx.err);
            result = CreateSector(params, &bar);
        } else {
            result = CreateSector(params);
        }
    } catch (const SectorExistsError& e) {
        throw InputError(fmt::format("{}: give --replace to replace it, or --append to add systems to it", e.what()));
    }
    const std::string base = sectorBaseName(params.baseName);
    if (result.systems == 0) {
        ctx.success(fmt::format("Wrote nothing: no system in {} cells (seed {}); {} left as it was",
                                groupedCount(result.cellsVisited), result.seed, base));
        return;
    }
    const std::string made =
        fmt::format("{} systems, {} planets, {} moons, {} races in {} cells (seed {})", groupedCount(result.systems),
                    groupedCount(result.planets), groupedCount(result.moons), groupedCount(result.races),
                    groupedCount(result.cellsVisited), result.seed);
    const std::string doubled = result.doubledCells > 0 ? doubledCellsNote(result.doubledCells, base) : "";
    ctx.success(params.newFile ? fmt::format("Wrote sector {}: {}", base, made)
                               : fmt::format("Appended to sector {}: {}{}", base, made, doubled));
}

}  // namespace

void registerCreate(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<CreateOptions>();
    CLI::App* cmd = app.add_subcommand("create", "Create a sector of space (the Create Sector dialog)");
    cmd->add_option("--name", options->fields.name, "Name of the sector, written into it (at most 50 characters)")
        ->type_name("NAME")
        ->capture_default_str();
    CLI::Option* file =
        cmd->add_option("--file", options->fields.file,
                        "Where the sector goes: its files are PATH.sun, PATH.pln, ... The folder must exist")
            ->type_name("PATH")
            ->capture_default_str();
    cmd->add_option("-x", options->fields.x, "X of the sector's first corner, in parsecs")
        ->type_name("INT")
        ->capture_default_str();
    cmd->add_option("-y", options->fields.y, "Y of the sector's first corner, in parsecs")
        ->type_name("INT")
        ->capture_default_str();
    cmd->add_option("-z", options->fields.z, "Z of the sector's first corner, in parsecs")
        ->type_name("INT")
        ->capture_default_str();
    cmd->add_option("--density", options->fields.density,
                    "Chance that a one-parsec cell holds a star system, percent (0..100)")
        ->type_name("INT")
        ->capture_default_str();
    cmd->add_option("--size", options->fields.size,
                    "Edge of the sector in parsecs (1..200): a cube, or a square with --flat")
        ->type_name("INT")
        ->capture_default_str();
    cmd->add_option("--max-spatial-age", options->fields.maxSpatialAge,
                    "Highest spatial age a native race may reach: how far into space it has gone (0..255)")
        ->type_name("INT")
        ->capture_default_str();
    cmd->add_flag("--gaia", options->fields.gaia,
                  "Kept for the dialog's Gaia box; it changes nothing in the sector made");
    cmd->add_flag("--append", options->append, "Add the new systems to the sector already at --file");
    cmd->add_flag("--replace", options->replace,
                  "Replace the sector already at --file (without it, an existing sector is refused)");
    cmd->add_flag("--total-alien-disable", options->fields.totalAlienDisable,
                  "Keep native races from the most utterly alien body forms and traits");
    cmd->add_flag("--flat", options->fields.flat, "A flat sector: one layer of cells (a square) instead of a cube");
    cmd->add_flag("--no-names", options->noNames, "Leave systems and races unnamed (the dialog's Names box unchecked)");
    CLI::Option* seed =
        cmd->add_option("--seed", options->seed,
                        "Seed of the dice: the same seed makes the same sector (default: from the clock)")
            ->type_name("INT");
    refuseBlank(cmd->add_option("--settings", options->settings,
                                "Settings file with the probability tables (default: orrwin.ini beside the program)"))
        ->type_name("PATH");
    refuseBlank(cmd->add_option("--threads", options->threads,
                                "Threads that roll cells (1..256, default: one per core); any number makes the same "
                                "sector"))
        ->type_name("INT");
    cmd->callback([options, file, seed, &ctx] {
        options->fileGiven = file->count() > 0;
        options->seedGiven = seed->count() > 0;
        runCreate(*options, ctx);
    });
}

}  // namespace orrimar::cli

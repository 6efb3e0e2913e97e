// orrimar-cli create: the Create Sector dialog for scripts. Same fields and
// defaults, but strict: a malformed or out-of-range value is refused before
// any file is touched.
#include <charconv>
#include <ostream>
#include <string>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "cli/cli.h"
#include "generation/create_sector.h"
#include "generation/sector_fields.h"
#include "records/errors.h"
#include "records/message_sink.h"
#include "settings/probabilities.h"

namespace orrimar::cli {

namespace {

// The dialog's fields and defaults, plus what only the command line has.
struct CreateOptions {
    CreateSectorFields fields;
    bool append = false;  // "New file" unchecked
    bool noNames = false;  // "Names" unchecked
    std::string seed;
    std::string settings;
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

std::uint64_t strictSeed(const std::string& text) {
    std::uint64_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, seed);
    if (text.empty() || ec != std::errc() || ptr != end) {
        throw InputError(fmt::format("--seed: not a seed (0..18446744073709551615): '{}'", text));
    }
    return seed;
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

    if (o.fields.name.size() > 50) throw InputError("Name should be at most 50 characters");
    p.sectorName = o.fields.name;
    p.baseName = o.fields.file.empty() ? std::string("starlog") : o.fields.file;
    p.gaia = o.fields.gaia;
    p.newFile = !o.append;
    p.totalAlienDisable = o.fields.totalAlienDisable;
    p.flat = o.fields.flat;
    p.names = !o.noNames;
    if (!o.seed.empty()) p.seed = strictSeed(o.seed);
    p.settingsPath = o.settings.empty() ? settingsPath(ctx.programDir) : o.settings;
    return p;
}

// A bar on the error stream, redrawn only when the percentage moves.
class ProgressBar final : public SectorProgress {
public:
    explicit ProgressBar(std::ostream& err) : err_(err) {}
    ~ProgressBar() override {
        if (drawn_) err_ << "\n";
    }
    void setMaximum(std::int64_t cells) override { maximum_ = cells; }
    void setProgress(std::int64_t cellsVisited) override {
        if (maximum_ <= 0) return;
        const auto percent = static_cast<int>(cellsVisited * 100 / maximum_);
        if (percent == shown_) return;
        shown_ = percent;
        const int filled = percent * kWidth / 100;
        err_ << '\r' << '[' << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << percent << '%' << std::flush;
        drawn_ = true;
    }
    bool cancelRequested() override { return false; }

private:
    static constexpr int kWidth = 40;
    std::ostream& err_;
    std::int64_t maximum_ = 0;
    int shown_ = -1;
    bool drawn_ = false;
};

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
    if (ctx.interactive) {
        ProgressBar bar(ctx.err);
        result = CreateSector(params, &bar);
    } else {
        result = CreateSector(params);
    }
    ctx.out << "seed: " << result.seed << "\n";
    if (result.systems == 0) {
        ctx.out << fmt::format("no system in {} cells; {} left as it was\n", result.cellsVisited, params.baseName);
        return;
    }
    ctx.out << fmt::format("{} {}: {} systems, {} planets, {} moons, {} races in {} cells\n",
                           params.newFile ? "created" : "appended to", params.baseName, result.systems,
                           result.planets, result.moons, result.races, result.cellsVisited);
}

}  // namespace

void registerCreate(CLI::App& app, Context& ctx) {
    auto options = std::make_shared<CreateOptions>();
    CLI::App* cmd = app.add_subcommand("create", "Create a sector (the Create Sector dialog)");
    cmd->add_option("--name", options->fields.name, "Sector name, at most 50 characters")->capture_default_str();
    cmd->add_option("--file", options->fields.file, "Sector base name: path of the files without extension")
        ->capture_default_str();
    cmd->add_option("-x", options->fields.x, "X of the block's first corner, parsecs")->capture_default_str();
    cmd->add_option("-y", options->fields.y, "Y of the block's first corner, parsecs")->capture_default_str();
    cmd->add_option("-z", options->fields.z, "Z of the block's first corner, parsecs")->capture_default_str();
    cmd->add_option("--density", options->fields.density, "Chance per cell of a star system, percent (0..100)")
        ->capture_default_str();
    cmd->add_option("--size", options->fields.size, "Edge of the block in parsecs (1..200)")->capture_default_str();
    cmd->add_option("--max-spatial-age", options->fields.maxSpatialAge, "Upper bound of the races' spatial age (0..255)")
        ->capture_default_str();
    cmd->add_flag("--gaia", options->fields.gaia, "Gaia");
    cmd->add_flag("--append", options->append, "Append to the existing sector (\"New file\" unchecked)");
    cmd->add_flag("--total-alien-disable", options->fields.totalAlienDisable, "Tot. al disable");
    cmd->add_flag("--flat", options->fields.flat, "2D Sector: one layer deep");
    cmd->add_flag("--no-names", options->noNames, "Leave systems and races unnamed (\"Names\" unchecked)");
    cmd->add_option("--seed", options->seed, "Seed of the random source (default: from the clock)");
    cmd->add_option("--settings", options->settings, "Settings file (default: orrwin.ini beside the program)");
    cmd->callback([options, &ctx] { runCreate(*options, ctx); });
}

}  // namespace orrimar::cli

// orrimar-cli poster SECTOR --out FILE.pdf: the sector's map as a poster in
// print colours (white paper, a title, a grid, a legend and a scale bar),
// one page or tiled over several, drawn by the painter the Atlas window
// draws with.
#include <array>
#include <memory>
#include <string_view>

#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include "atlas/atlas_model.h"
#include "atlas/camera.h"
#include "atlas/players_sight.h"
#include "campaign/players_view.h"
#include "cli/atlas_args.h"
#include "cli/cli.h"
#include "cli/out_args.h"
#include "cli/painting_app.h"
#include "common/errors.h"
#include "print/paper.h"
#include "print/poster.h"

namespace orrimar::cli {

namespace {

struct PosterArgs {
    std::string sector;
    std::string out;
    std::string view = "top";
    std::string slab;
    std::string paper = "A3";
    std::string tiles = "1x1";
    std::string title;
    bool players = false;
};

struct ViewWord {
    std::string_view word;
    atlas::View view;
};
constexpr std::array<ViewWord, 4> kViewWords = {{{"top", atlas::View::Top},
                                                 {"front", atlas::View::Front},
                                                 {"side", atlas::View::Side},
                                                 {"cube", atlas::View::Cube}}};

atlas::View viewFromText(const std::string& text) {
    for (const ViewWord& v : kViewWords)
        if (v.word == text) return v.view;
    throw InputError(fmt::format("--view: '{}' is no view: give top, front, side or cube", text));
}

// "2x3": 2 pages across, 3 down.
std::pair<int, int> tilesFromText(const std::string& text) {
    constexpr int kMost = 8;
    const auto cut = text.find_first_of("xX");
    int columns = 0;
    int rows = 0;
    std::size_t used = 0;
    try {
        if (cut == std::string::npos) throw std::invalid_argument(text);
        columns = std::stoi(text.substr(0, cut), &used);
        if (used != cut) throw std::invalid_argument(text);
        rows = std::stoi(text.substr(cut + 1), &used);
        if (used != text.size() - cut - 1) throw std::invalid_argument(text);
    } catch (const std::exception&) {
        throw InputError(fmt::format("--tiles: '{}' is no tiling: give COLUMNSxROWS, e.g. 2x2", text));
    }
    if (columns < 1 || rows < 1 || columns > kMost || rows > kMost) {
        throw InputError(fmt::format("--tiles: '{}': give 1 to {} pages across and down", text, kMost));
    }
    return {columns, rows};
}

void run(const PosterArgs& a, Context& ctx) {
    // Everything typed is checked before the sector is read.
    const std::string out = fileOut(a.out, "poster.pdf");
    print::PosterOptions options;
    options.view = viewFromText(a.view);
    const auto paper = print::paperFromText(a.paper);
    if (!paper) throw InputError(fmt::format("--paper: '{}' is no paper: give {}", a.paper, print::paperNames()));
    options.paper = *paper;
    std::tie(options.columns, options.rows) = tilesFromText(a.tiles);
    if (!a.slab.empty()) {
        const atlas::Range<int> slab = intRangeFromText(a.slab, "--slab", -32768, 32767);
        options.slab = true;
        options.slabFrom = slab.min;
        options.slabTo = slab.max;
    }
    options.players = a.players;
    options.title = QString::fromStdString(a.title);

    const atlas::AtlasModel model = atlas::AtlasModel::open(a.sector);
    for (const std::string& w : model.warnings()) ctx.err << "orrimar-cli: warning: " << w << "\n";
    // The players' poster shows what they know, by the Atlas's own rule.
    std::unique_ptr<atlas::PlayersSight> sight;
    if (a.players) sight = std::make_unique<atlas::PlayersSight>(model, playersView(a.sector));
    ensurePaintingApp();
    const print::Poster poster(sight ? sight->model() : model, options);
    print::writePosterPdf(poster, out);
    ctx.success(fmt::format("Wrote a poster of {} on {} {} page{} to {}", model.sectorName(), poster.pageCount(),
                            print::paperInfo(options.paper).name, poster.pageCount() == 1 ? "" : "s", out));
}

}  // namespace

void registerPoster(CLI::App& app, Context& ctx) {
    auto a = std::make_shared<PosterArgs>();
    CLI::App* cmd = app.add_subcommand("poster", "The sector's map as a PDF poster for print");
    refuseBlank(cmd->add_option("SECTOR", a->sector, "Sector base name (path without extension)"))->required();
    refuseBlank(cmd->add_option("--out", a->out, "The PDF file to write"))->required();
    refuseBlank(cmd->add_option("--view", a->view, "top, front, side or cube (default top)"));
    refuseBlank(cmd->add_option("--slab", a->slab, "Only systems whose depth coordinate lies in FROM..TO"));
    refuseBlank(cmd->add_option("--paper", a->paper, "A4, A3, A2, Letter or Tabloid (default A3), landscape"));
    refuseBlank(cmd->add_option("--tiles", a->tiles, "COLUMNSxROWS pages the poster is cut into (default 1x1)"));
    refuseBlank(cmd->add_option("--title", a->title, "The poster's title (default: the sector's name)"));
    cmd->add_flag("--players", a->players,
                  "For the players: what they know, no record ids (unnamed systems get no label)");
    cmd->callback([a, &ctx] { run(*a, ctx); });
}

}  // namespace orrimar::cli

// A poster of a sector: the map in the paper palette under a title, with a
// grid of coordinates, a legend of star colours and symbols and a scale bar
// in parsecs, on one page or tiled over several. Everything is laid out in
// points (1/72 inch), so names are as legible on A2 as on A4: a larger
// paper shows more of them, never smaller ones.
//
// A tiled poster is one large picture cut into columns x rows pages. Each
// page overlaps its neighbours by a strip; marks in the margin show where
// the next page is laid on, and every page says which tile it is.
#pragma once

#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <string>
#include <vector>

#include "atlas/atlas_model.h"
#include "atlas/camera.h"
#include "print/atlas_painter.h"
#include "print/atlas_scene.h"
#include "print/paper.h"

class QPainter;

namespace orrimar::print {

struct PosterOptions {
    atlas::View view = atlas::View::Top;
    bool slab = false;  // only systems whose depth coordinate lies in slabFrom..slabTo
    int slabFrom = 0;
    int slabTo = 0;
    Paper paper = Paper::A3;
    int columns = 1;  // tiles across
    int rows = 1;     // tiles down
    // For the players: no record codes, so unnamed systems get no label.
    // What they know is the model's: give the players' (atlas/players_sight.h).
    bool players = false;
    QString title;  // empty: the sector's name
};

// One legend entry: a star colour or a symbol.
struct LegendEntry {
    enum Kind : std::uint8_t { Star, Life, Race, Colony } kind = Star;
    QRgb colour = 0;
    QString text;
};

class Poster {
public:
    // Lays the poster out; the model must outlive it.
    Poster(const atlas::AtlasModel& model, PosterOptions options);

    int pageCount() const { return options_.columns * options_.rows; }
    Paper paper() const { return options_.paper; }
    const PosterOptions& options() const { return options_; }
    // The size of every page, landscape, in points.
    QSizeF pageSize() const { return page_; }
    const AtlasScene& scene() const { return scene_; }
    const std::vector<LegendEntry>& legend() const { return legend_; }
    // The whole picture and its map, in points of the picture.
    QSizeF canvasSize() const { return canvas_; }
    QRectF mapRect() const { return map_; }
    // Parsecs of the scale bar.
    double scaleParsecs() const { return scaleParsecs_; }

    // Draws page `page` (0-based, row by row) onto `painter`, whose device
    // is one page; any device resolution.
    void paintPage(QPainter& painter, int page) const;
    // The whole picture unscaled in points, with no tile marks (a PNG of
    // the poster, a test).
    void paintCanvas(QPainter& painter) const;

    static constexpr double kMargin = 24.0;   // points round every page
    static constexpr double kOverlap = 18.0;  // points shared by neighbouring tiles
    static constexpr double kLabelPoints = 6.5;

private:
    void layOut();
    void buildScene();
    double gridStep() const;  // parsecs between grid lines
    void drawGrid(QPainter& painter) const;
    void drawHead(QPainter& painter) const;
    void drawLegend(QPainter& painter) const;

    const atlas::AtlasModel& model_;
    PosterOptions options_;
    QSizeF page_;
    QSizeF canvas_;
    QRectF map_;
    QRectF legendBox_;
    atlas::Camera camera_;
    AtlasScene scene_;
    std::vector<LegendEntry> legend_;
    double scaleParsecs_ = 1.0;
    int shown_ = 0;  // systems drawn
    mutable AtlasPainter painter_;
};

// Writes the poster as a PDF file at `path` (replacing only a regular
// file, whole or not at all).
void writePosterPdf(const Poster& poster, const std::string& path);

// Text size on a device: `points` of the layout, whatever the device's
// resolution, for a painter scaled from points to the device.
double devicePointScale(const QPainter& painter);

}  // namespace orrimar::print

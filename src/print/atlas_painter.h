// Draws an atlas frame onto any paint device: the window, a QImage for a
// PNG, a QSvgGenerator for an SVG, a QPrinter or a PDF poster. It knows
// nothing of sectors; it draws what the scene says, in the colours of a
// palette: the dark one of the screen or the paper one of print.
//
// Speed: 100,000 dots are grouped by colour, size, shade and dimming into a
// few hundred batches; the grouping is kept until the scene's revision
// changes, so repainting an unchanged frame (an expose, a tooltip) costs
// only the drawing. A new revision refills the same batches (their lists
// keep their room, their sprites stay drawn): a turning cube changes where
// the dots are, not what they look like. On an unscaled pixel device (the
// window, a PNG) each batch's dot is drawn once, antialiased, into a small
// sprite that is then copied to every point: a copy of a few pixels instead
// of the raster engine's round wide-point path, twenty times faster at
// 100,000 dots; the copies, and the territories' tints, go onto one
// DotLayer laid over the picture at once. On vector devices (SVG, print,
// PDF) and scaled painters a batch is one drawPoints() call, so the file
// holds dots, not pictures.
#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <array>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "print/atlas_scene.h"
#include "print/dot_layer.h"

class QPainter;

namespace orrimar::print {

// The colours of a map. The screen's are light on a night-blue ground; the
// paper's are dark ink on white, where the engine's star colours (chosen to
// glow on black) are darkened until a yellow or white star still shows.
struct AtlasPalette {
    QColor background;
    QColor frame;        // the sector's edges in front of the dots
    QColor frameBack;    // edges behind them
    QColor label;        // names
    QColor labelDimmed;  // names of systems the filter leaves out
    QColor veil;         // behind each name, so dots do not cut its letters
    QColor caption;
    QColor selection;
    QColor route;
    QColor clusterPen, clusterFill, clusterText;
    std::array<QColor, 3> marks;  // life, race, colony (AtlasMark order)
    bool ink = false;             // star colours darkened for paper

    static const AtlasPalette& screen();
    static const AtlasPalette& paper();
    QColor markColour(AtlasMark mark) const;
    // The dot colour of a star colour under this palette.
    QColor starInk(QRgb starColour) const;
};

// How a frame is drawn beyond its colours: text sizes in points, and how
// wide lines are. A poster lays itself out in points and scales the painter
// to the device; fontScale then turns the device's points back into the
// layout's (72 / the device's dots per inch), so text is as large on paper
// as the layout measured it.
struct PaintStyle {
    const AtlasPalette* palette = &AtlasPalette::screen();
    double labelPoints = 8.0;
    double countPoints = 7.0;
    double fontScale = 1.0;
    double lineScale = 1.0;
    bool fillBackground = true;
};

class AtlasPainter {
public:
    // Draws `scene` into `target` (the device's rectangle, in the painter's
    // coordinates); the scene's points are relative to target's top left.
    void paint(QPainter& painter, const QRectF& target, const AtlasScene& scene, const PaintStyle& style = {});

private:
    struct Sprite {
        QImage image;
        QPointF offset;  // from the dot's centre to the sprite's top left
    };
    struct Batch {
        std::uint64_t key = 0;  // the drawing order: see rebuildBatches
        QRgb colour = 0;
        float width = 0.0F;  // pen width of the dot, pixels
        std::uint8_t shade = 0;
        bool lit = true;
        bool round = true;
        std::vector<QPointF> points;
    };
    void rebuildBatches(const AtlasScene& scene);
    void drawBatches(QPainter& painter, const QRectF& area, const AtlasPalette& palette, bool sprites);
    const Sprite& spriteOf(std::size_t batch, const AtlasPalette& palette);
    // Settled space under the dots: a square of the controller's colour
    // behind each controlled system (mixed into `back`), then the
    // territories' borders. `layered`: the squares go by way of the layer
    // (a pixel device, unscaled).
    void drawTerritories(QPainter& painter, const QRectF& area, const AtlasScene& scene, const QColor& back,
                         bool layered);
    void drawMarks(QPainter& painter, const AtlasScene& scene, const PaintStyle& style, bool sprites);

    std::uint64_t batchedRevision_ = ~std::uint64_t{0};
    const AtlasScene* batchedScene_ = nullptr;
    const AtlasPalette* spritePalette_ = nullptr;
    // Every batch seen since the palette last changed, by key; a frame
    // draws those it filled, in key order (`order_`).
    std::unordered_map<std::uint64_t, std::size_t> batchIndex_;
    std::vector<Batch> batches_;
    std::vector<std::size_t> order_;
    std::vector<Sprite> sprites_;  // one per batch, made on first raster use
    DotLayer layer_;               // the tints', then the dots'
    std::vector<QRect> squares_;
    // The territories' squares and borders by colour, kept between frames
    // for their room.
    std::map<QRgb, std::vector<QRect>> tintSquares_;
    std::map<QRgb, std::vector<QLineF>> borderLines_;
    std::map<int, QImage> markSprites_;  // rings by mark and size; they never change
};

}  // namespace orrimar::print

// Draws an atlas frame onto any paint device: the window, a QImage for a
// PNG, a QSvgGenerator for an SVG, a QPrinter. It knows nothing of sectors;
// it draws what the scene says, in the atlas's colours.
//
// Speed: 100,000 dots are grouped by colour, size, shade and dimming into a
// few hundred batches; the grouping is kept until the scene's revision
// changes, so repainting an unchanged frame (an expose, a tooltip) costs
// only the drawing. On a pixel device (the window, a PNG) each batch's dot
// is drawn once, antialiased, into a small sprite that is then copied to
// every point: a copy of a few pixels instead of the raster engine's round
// wide-point path, twenty times faster at 100,000 dots. On vector devices
// (SVG, print) a batch is one drawPoints() call, so the file holds dots,
// not pictures.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <cstdint>
#include <map>
#include <vector>

#include "ui/atlas_scene.h"

class QPainter;

namespace orrimar::ui {

class AtlasPainter {
public:
    // Draws `scene` into `target` (the device's rectangle); the scene's
    // pixels are relative to target's top left.
    void paint(QPainter& painter, const QRect& target, const AtlasScene& scene);

    // The colours of the map, also the legend's.
    static QColor background();
    static QColor markColour(AtlasMark mark);
    static QColor routeColour();

private:
    struct Sprite {
        QImage image;
        QPointF offset;  // from the dot's centre to the sprite's top left
    };
    struct Batch {
        QRgb colour = 0;
        float width = 0.0F;  // pen width of the dot, pixels
        std::uint8_t shade = 0;
        bool lit = true;
        bool round = true;
        std::vector<QPointF> points;
    };
    void rebuildBatches(const AtlasScene& scene);
    void drawBatches(QPainter& painter);
    const Sprite& spriteOf(std::size_t batch);
    void drawMarks(QPainter& painter, const AtlasScene& scene);
    // Settled space under the dots: a square of the controller's colour
    // behind each controlled system, then the territories' borders.
    static void drawTerritories(QPainter& painter, const AtlasScene& scene);

    std::uint64_t batchedRevision_ = ~std::uint64_t{0};
    const AtlasScene* batchedScene_ = nullptr;
    std::vector<Batch> batches_;
    std::vector<Sprite> sprites_;  // one per batch, made on first raster use
    std::map<int, QImage> markSprites_;  // rings by mark and size; they never change
};

}  // namespace orrimar::ui

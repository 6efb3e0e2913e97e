// Draws an atlas frame onto any paint device: the window, a QImage for a
// PNG, a QSvgGenerator for an SVG, a QPrinter. It knows nothing of sectors;
// it draws what the scene says, in the atlas's colours.
//
// Speed: 100,000 dots are grouped by colour, size, shade and dimming into a
// few hundred batches, each drawn with one drawPoints() (small dots) or
// drawRects() call; the grouping is kept until the scene's revision
// changes, so repainting an unchanged frame (an expose, a tooltip) costs
// only the batched calls.
#pragma once

#include <QColor>
#include <QPointF>
#include <QRect>
#include <QRectF>

#include <cstdint>
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
    struct Batch {
        QRgb colour = 0;
        float width = 0.0F;  // pen width of the dot, pixels
        std::uint8_t shade = 0;
        bool lit = true;
        bool round = true;
        std::vector<QPointF> points;
    };
    void rebuildBatches(const AtlasScene& scene);
    void drawBatches(QPainter& painter) const;
    void drawMarks(QPainter& painter, const AtlasScene& scene) const;

    std::uint64_t batchedRevision_ = ~std::uint64_t{0};
    const AtlasScene* batchedScene_ = nullptr;
    std::vector<Batch> batches_;
};

}  // namespace orrimar::ui

#include "print/atlas_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <map>
#include <cmath>

namespace orrimar::print {

namespace {

// Batches kept from frame to frame at most (a frame makes a few hundred).
constexpr std::size_t kMostBatchesKept = 4096;

// Dots are sized in half-pixel steps: finer steps would split the batches
// without a difference the eye sees.
float widthStep(float radius) { return std::max(1.0F, std::round(radius * 4.0F) / 2.0F); }

// Far dots fade toward the background: the depth cue of the cube view,
// with the perspective's smaller size.
QColor shaded(QRgb rgb, std::uint8_t shade, bool lit, const AtlasPalette& palette) {
    QColor colour = palette.starInk(rgb);
    const QColor& back = palette.background;
    const double keep = lit ? 1.0 - 0.18 * shade : 0.22;
    colour.setRgbF(static_cast<float>(back.redF() + (colour.redF() - back.redF()) * keep),
                   static_cast<float>(back.greenF() + (colour.greenF() - back.greenF()) * keep),
                   static_cast<float>(back.blueF() + (colour.blueF() - back.blueF()) * keep));
    return colour;
}

QFont sized(QFont font, double points, double scale) {
    font.setPointSizeF(points * scale);
    return font;
}

}  // namespace

const AtlasPalette& AtlasPalette::screen() {
    static const AtlasPalette palette{QColor(10, 12, 24),
                                      QColor(90, 105, 160),
                                      QColor(60, 70, 110),
                                      QColor(215, 222, 245),
                                      QColor(95, 100, 125),
                                      QColor(10, 12, 24, 190),
                                      QColor(160, 170, 205),
                                      Qt::white,
                                      QColor(255, 200, 40),
                                      QColor(200, 210, 255, 200),
                                      QColor(120, 140, 220, 90),
                                      QColor(230, 235, 255),
                                      {QColor(90, 220, 110), QColor(255, 90, 200), QColor(80, 200, 255)},
                                      false};
    return palette;
}

const AtlasPalette& AtlasPalette::paper() {
    static const AtlasPalette palette{Qt::white,
                                      QColor(60, 60, 70),
                                      QColor(170, 170, 180),
                                      QColor(20, 20, 25),
                                      QColor(150, 150, 155),
                                      QColor(255, 255, 255, 200),
                                      QColor(40, 40, 50),
                                      QColor(200, 0, 0),
                                      QColor(205, 110, 0),
                                      QColor(60, 60, 90, 220),
                                      QColor(150, 160, 200, 90),
                                      QColor(20, 20, 40),
                                      {QColor(0, 140, 40), QColor(190, 0, 140), QColor(0, 100, 200)},
                                      true};
    return palette;
}

QColor AtlasPalette::markColour(AtlasMark mark) const {
    switch (mark) {
        case kMarkLife: return marks[0];
        case kMarkRace: return marks[1];
        case kMarkColony: return marks[2];
    }
    return label;
}

QColor AtlasPalette::starInk(QRgb starColour) const {
    QColor colour = QColor::fromRgb(starColour);
    if (!ink) return colour;
    // Keep the hue, cap the lightness: white stars print mid grey, yellow
    // ones ochre, and every dot stands out from the paper.
    float h = 0, s = 0, l = 0, a = 1;
    colour.getHslF(&h, &s, &l, &a);
    return QColor::fromHslF(h, s, std::min(l, 0.45F) * 0.9F + 0.05F);
}

void AtlasPainter::rebuildBatches(const AtlasScene& scene) {
    // Every batch of the last frame starts empty again and keeps its room
    // and its sprite: refilling them costs no allocation once the view has
    // been drawn a few times. Star colours, shades and sizes make a few
    // hundred batches; should a long session gather far more, they start
    // afresh.
    if (batches_.size() > kMostBatchesKept) {
        batchIndex_.clear();
        batches_.clear();
        sprites_.clear();
    }
    for (Batch& batch : batches_) batch.points.clear();
    // One 64-bit key per batch: lit, nearness, width in half pixels, colour.
    // Sorting the keys gives the drawing order: dimmed before lit, far
    // before near. Neighbouring dots mostly share a batch, so the last key
    // is tried before the hash map.
    std::uint64_t lastKey = ~std::uint64_t{0};
    std::size_t lastAt = 0;
    for (const AtlasDot& dot : scene.dots) {
        const bool lit = dot.lit || !scene.filterActive;
        const float width = widthStep(dot.radius);
        const std::uint64_t key = (std::uint64_t{lit} << 48) |
                                  (std::uint64_t(kShadeLevels - 1 - std::min<int>(dot.shade, kShadeLevels - 1)) << 40) |
                                  (std::uint64_t(std::min(255.0F, width * 2.0F)) << 32) | (dot.colour & 0xffffffU);
        if (key != lastKey) {
            auto found = batchIndex_.find(key);
            if (found == batchIndex_.end()) {
                found = batchIndex_.emplace(key, batches_.size()).first;
                Batch batch;
                batch.key = key;
                batch.colour = dot.colour;
                batch.width = width;
                batch.shade = dot.shade;
                batch.lit = lit;
                // Squares of one or two pixels look the same as discs.
                batch.round = width > 2.0F;
                batches_.push_back(std::move(batch));
            }
            lastKey = key;
            lastAt = found->second;
        }
        batches_[lastAt].points.push_back(dot.at);
    }
    order_.clear();
    for (std::size_t i = 0; i < batches_.size(); ++i)
        if (!batches_[i].points.empty()) order_.push_back(i);
    std::sort(order_.begin(), order_.end(),
              [&](std::size_t a, std::size_t b) { return batches_[a].key < batches_[b].key; });
    batchedRevision_ = scene.revision;
    batchedScene_ = &scene;
}

const AtlasPainter::Sprite& AtlasPainter::spriteOf(std::size_t batch, const AtlasPalette& palette) {
    if (spritePalette_ != &palette) {
        sprites_.clear();
        spritePalette_ = &palette;
    }
    if (sprites_.size() < batches_.size()) sprites_.resize(batches_.size());
    Sprite& sprite = sprites_[batch];
    if (!sprite.image.isNull()) return sprite;
    const Batch& b = batches_[batch];
    const int side = static_cast<int>(std::ceil(b.width)) + 2;
    sprite.image = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
    sprite.image.fill(Qt::transparent);
    sprite.offset = QPointF(-side / 2.0, -side / 2.0);
    QPainter paint(&sprite.image);
    paint.setRenderHint(QPainter::Antialiasing, b.round);
    paint.setPen(Qt::NoPen);
    paint.setBrush(shaded(b.colour, b.shade, b.lit, palette));
    const QRectF disc(side / 2.0 - b.width / 2.0, side / 2.0 - b.width / 2.0, b.width, b.width);
    if (b.round) {
        paint.drawEllipse(disc);
    } else {
        paint.drawRect(disc);
    }
    return sprite;
}

void AtlasPainter::drawBatches(QPainter& painter, const QRectF& area, const AtlasPalette& palette, bool sprites) {
    if (sprites) {
        // The plain rule: small dots are solid squares (painter.drawRects,
        // one call per batch), larger ones a copy of the batch's sprite
        // (painter.drawImage per dot), batch after batch in key order. The
        // layer does exactly that with pixel arithmetic and is laid over
        // the picture once: a hundred thousand painter calls per frame
        // saved, about half the painting of a turning cube.
        layer_.begin(area.size().toSize());
        for (const std::size_t i : order_) {
            const Batch& batch = batches_[i];
            if (!batch.round) {
                const int side = static_cast<int>(std::lround(batch.width));
                const QRgb colour = shaded(batch.colour, batch.shade, batch.lit, palette).rgb();
                for (const QPointF& at : batch.points) {
                    layer_.fillSquare(QRect(static_cast<int>(std::lround(at.x() - side / 2.0)),
                                            static_cast<int>(std::lround(at.y() - side / 2.0)), side, side),
                                      colour);
                }
                continue;
            }
            const Sprite& sprite = spriteOf(i, palette);
            for (const QPointF& at : batch.points) {
                const QPointF corner = at + sprite.offset;
                // Whole-pixel positions, as an unscaled copy lands.
                layer_.blend(
                    QPoint(static_cast<int>(std::lround(corner.x())), static_cast<int>(std::lround(corner.y()))),
                    sprite.image);
            }
        }
        layer_.drawOnto(painter);
        return;
    }
    for (const std::size_t i : order_) {
        const Batch& batch = batches_[i];
        QPen pen(shaded(batch.colour, batch.shade, batch.lit, palette));
        pen.setWidthF(batch.width);
        pen.setCapStyle(batch.round ? Qt::RoundCap : Qt::SquareCap);
        painter.setPen(pen);
        painter.setRenderHint(QPainter::Antialiasing, batch.round);
        painter.drawPoints(batch.points.data(), static_cast<int>(batch.points.size()));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
}

void AtlasPainter::drawMarks(QPainter& painter, const AtlasScene& scene, const PaintStyle& style, bool sprites) {
    // Rings for life and races, a square for colonies. One path holding
    // thousands of rings costs the stroker most of a second, so pixel
    // devices copy a ring sprite per (mark, size) as for the dots; vector
    // devices get one ellipse or square per mark.
    for (const AtlasMark mark : {kMarkLife, kMarkRace, kMarkColony}) {
        const double gap = mark == kMarkLife ? 2.0 : mark == kMarkRace ? 4.0 : 6.0;
        QPen pen(style.palette->markColour(mark));
        pen.setWidthF(1.2 * style.lineScale);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        for (const AtlasDot& dot : scene.dots) {
            if ((dot.marks & mark) == 0) continue;
            if (scene.filterActive && !dot.lit) continue;
            const double r = std::round((dot.radius + gap * style.lineScale) * 2.0) / 2.0;
            if (!sprites) {
                const QRectF box(dot.at.x() - r, dot.at.y() - r, 2 * r, 2 * r);
                if (mark == kMarkColony) {
                    painter.drawRect(box);
                } else {
                    painter.drawEllipse(box);
                }
                continue;
            }
            const int key =
                (style.palette->ink ? 100000 : 0) + static_cast<int>(mark) * 1000 + static_cast<int>(r * 2.0);
            auto found = markSprites_.find(key);
            if (found == markSprites_.end()) {
                const int side = static_cast<int>(std::ceil(2 * r)) + 4;
                QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::transparent);
                QPainter paint(&image);
                paint.setRenderHint(QPainter::Antialiasing, true);
                paint.setPen(pen);
                const QRectF box(side / 2.0 - r, side / 2.0 - r, 2 * r, 2 * r);
                if (mark == kMarkColony) {
                    paint.drawRect(box);
                } else {
                    paint.drawEllipse(box);
                }
                paint.end();
                found = markSprites_.emplace(key, std::move(image)).first;
            }
            const QImage& sprite = found->second;
            painter.drawImage(QPoint(static_cast<int>(std::lround(dot.at.x() - sprite.width() / 2.0)),
                                     static_cast<int>(std::lround(dot.at.y() - sprite.height() / 2.0))),
                              sprite);
        }
    }
}

void AtlasPainter::drawTerritories(QPainter& painter, const QRectF& area, const AtlasScene& scene, const QColor& back,
                                   bool layered) {
    if (scene.borders.empty() &&
        std::none_of(scene.dots.begin(), scene.dots.end(), [](const AtlasDot& d) { return d.tint != 0; })) {
        return;
    }
    painter.save();
    // Squares and straight lines on whole pixels need no antialiasing, and
    // without it a hundred thousand of them cost a few milliseconds.
    painter.setRenderHint(QPainter::Antialiasing, false);
    // The tints, grouped by colour: one drawRects call each, filled without
    // an outline and opaque (the colour already mixed into the background),
    // the raster engine's quickest path for tens of thousands of squares.
    // (The lists by colour are kept from frame to frame, emptied, for
    // their room: a turning cube refills them sixty times a second.)
    for (auto& [rgb, squares] : tintSquares_) squares.clear();
    for (const AtlasDot& dot : scene.dots) {
        if (dot.tint == 0) continue;
        const int half = std::max(2, static_cast<int>(dot.radius + 2.5F));
        tintSquares_[dot.tint].emplace_back(static_cast<int>(dot.at.x()) - half, static_cast<int>(dot.at.y()) - half,
                                            2 * half, 2 * half);
    }
    painter.setPen(Qt::NoPen);
    if (layered) layer_.begin(area.size().toSize());
    const double share = scene.filterActive ? 0.16 : 0.28;
    for (const auto& [rgb, squares] : tintSquares_) {
        if (squares.empty()) continue;
        const auto mix = [&](int over, int under) { return static_cast<int>(under + (over - under) * share); };
        const QColor colour(mix(qRed(rgb), back.red()), mix(qGreen(rgb), back.green()), mix(qBlue(rgb), back.blue()));
        if (layered) {
            // The same squares written on the layer, laid over at once
            // below: tens of thousands of fill calls saved, the same pixels.
            for (const QRect& square : squares) layer_.fillSquare(square, colour.rgb());
            continue;
        }
        painter.setBrush(colour);
        painter.drawRects(squares.data(), static_cast<int>(squares.size()));
    }
    if (layered) layer_.drawOnto(painter);
    painter.setBrush(Qt::NoBrush);
    for (auto& [rgb, lines] : borderLines_) lines.clear();
    for (const AtlasBorder& border : scene.borders) borderLines_[border.colour].push_back(border.line);
    for (const auto& [rgb, lines] : borderLines_) {
        if (lines.empty()) continue;
        QColor colour = QColor::fromRgb(rgb);
        // Opaque unless a search dims the map: solid lines are the quick ones.
        if (scene.filterActive) colour.setAlpha(110);
        painter.setPen(QPen(colour, 1.0));
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    }
    painter.restore();
}

void AtlasPainter::paint(QPainter& painter, const QRectF& target, const AtlasScene& scene, const PaintStyle& style) {
    const AtlasPalette& palette = *style.palette;
    const double line = style.lineScale;
    painter.save();
    painter.setClipRect(target);
    painter.translate(target.topLeft());
    const QRectF area(QPointF(0, 0), target.size());
    if (style.fillBackground) painter.fillRect(area, palette.background);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Sprites only where a pixel of the picture is a pixel of the device.
    const QPaintEngine* engine = painter.paintEngine();
    const bool sprites = engine != nullptr && engine->type() == QPaintEngine::Raster &&
                         !painter.deviceTransform().isScaling() && !painter.deviceTransform().isRotating();

    if (!scene.message.isEmpty() && scene.dots.empty() && scene.clusters.empty()) {
        painter.setPen(palette.caption);
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, scene.message);
        painter.restore();
        return;
    }

    painter.setPen(QPen(palette.frameBack, line, Qt::DashLine));
    for (const QLineF& edge : scene.frameBack) painter.drawLine(edge);

    drawTerritories(painter, area, scene, palette.background, sprites);

    if (batchedScene_ != &scene || batchedRevision_ != scene.revision) rebuildBatches(scene);
    drawBatches(painter, area, palette, sprites);

    // Merged dots: a soft disc sized by the count, the count inside.
    painter.setFont(sized(painter.font(), style.countPoints, style.fontScale));
    for (const AtlasCluster& cluster : scene.clusters) {
        const double r = 4.0 + std::min(10.0, std::log2(static_cast<double>(std::max(2, cluster.count))) * 1.6);
        const bool lit = cluster.lit || !scene.filterActive;
        QColor pen = palette.clusterPen;
        QColor fill = palette.clusterFill;
        if (!lit) {
            pen.setAlpha(pen.alpha() / 2);
            fill.setAlpha(fill.alpha() / 2);
        }
        painter.setPen(QPen(pen, line));
        painter.setBrush(fill);
        painter.drawEllipse(cluster.at, r, r);
        if (r >= 7.0) {
            painter.setPen(lit ? palette.clusterText : palette.labelDimmed);
            painter.drawText(QRectF(cluster.at.x() - r, cluster.at.y() - r, 2 * r, 2 * r), Qt::AlignCenter,
                             QString::number(cluster.count));
        }
    }
    painter.setBrush(Qt::NoBrush);

    drawMarks(painter, scene, style, sprites);

    painter.setPen(QPen(palette.frame, line));
    for (const QLineF& edge : scene.frame) painter.drawLine(edge);

    if (scene.route.size() >= 2) {
        QPen pen(palette.route);
        pen.setWidthF(2.0 * line);
        painter.setPen(pen);
        painter.drawPolyline(scene.route.data(), static_cast<int>(scene.route.size()));
        painter.setBrush(palette.route);
        for (const QPointF& stop : scene.route) painter.drawEllipse(stop, 3.0 * line, 3.0 * line);
        painter.setBrush(Qt::NoBrush);
    }

    if (scene.hasSelection) {
        QPen pen(palette.selection);
        pen.setWidthF(1.5 * line);
        painter.setPen(pen);
        const double r = scene.selectedRadius + 8.0 * line;
        painter.drawEllipse(scene.selected, r, r);
        painter.drawLine(scene.selected + QPointF(-r - 5 * line, 0), scene.selected + QPointF(-r + 3 * line, 0));
        painter.drawLine(scene.selected + QPointF(r - 3 * line, 0), scene.selected + QPointF(r + 5 * line, 0));
    }

    painter.setFont(sized(painter.font(), style.labelPoints, style.fontScale));
    // Each name on a veil of the background: the dots and rings behind it
    // would otherwise cut through its letters in a dense cube.
    for (const AtlasLabel& label : scene.labels) {
        painter.fillRect(label.box, palette.veil);
        painter.setPen(label.lit || !scene.filterActive ? palette.label : palette.labelDimmed);
        painter.drawText(label.box, Qt::AlignLeft | Qt::AlignVCenter, label.text);
    }
    for (const AtlasLabel& leg : scene.routeLegs) {
        painter.fillRect(leg.box, palette.veil);
        painter.setPen(palette.ink ? palette.route.darker(130) : palette.route.lighter(130));
        painter.drawText(leg.box, Qt::AlignCenter, leg.text);
    }

    if (!scene.caption.isEmpty()) {
        // Over the names, on the veil: the caption stays readable where a
        // name falls along the bottom edge.
        const QRectF strip(6, area.height() - 20, area.width() - 12, 16);
        const QRectF text = painter.boundingRect(strip, Qt::AlignLeft | Qt::AlignVCenter, scene.caption);
        painter.fillRect(text.adjusted(-3, 0, 3, 0), palette.veil);
        painter.setPen(palette.caption);
        painter.drawText(strip, Qt::AlignLeft | Qt::AlignVCenter, scene.caption);
    }
    painter.restore();
}

}  // namespace orrimar::print

#include "ui/atlas_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace orrimar::ui {

namespace {

// Dots are sized in half-pixel steps: finer steps would split the batches
// without a difference the eye sees.
float widthStep(float radius) { return std::max(1.0F, std::round(radius * 4.0F) / 2.0F); }

// Far dots fade toward the background: the depth cue of the cube view,
// with the perspective's smaller size.
QColor shaded(QRgb rgb, std::uint8_t shade, bool lit) {
    QColor colour = QColor::fromRgb(rgb);
    const QColor back = AtlasPainter::background();
    const double keep = lit ? 1.0 - 0.18 * shade : 0.22;
    colour.setRgbF(static_cast<float>(back.redF() + (colour.redF() - back.redF()) * keep),
                   static_cast<float>(back.greenF() + (colour.greenF() - back.greenF()) * keep),
                   static_cast<float>(back.blueF() + (colour.blueF() - back.blueF()) * keep));
    return colour;
}

}  // namespace

QColor AtlasPainter::background() { return QColor(10, 12, 24); }

QColor AtlasPainter::markColour(AtlasMark mark) {
    switch (mark) {
        case kMarkLife: return QColor(90, 220, 110);
        case kMarkRace: return QColor(255, 90, 200);
        case kMarkColony: return QColor(80, 200, 255);
    }
    return Qt::white;
}

QColor AtlasPainter::routeColour() { return QColor(255, 200, 40); }

void AtlasPainter::rebuildBatches(const AtlasScene& scene) {
    batches_.clear();
    // Key: lit, shade (farthest drawn first), width, colour.
    std::map<std::tuple<bool, int, float, QRgb>, std::size_t> index;
    for (const AtlasDot& dot : scene.dots) {
        const bool lit = dot.lit || !scene.filterActive;
        const float width = widthStep(dot.radius);
        const auto key = std::make_tuple(lit, -static_cast<int>(dot.shade), width, dot.colour);
        auto found = index.find(key);
        if (found == index.end()) {
            found = index.emplace(key, batches_.size()).first;
            Batch batch;
            batch.colour = dot.colour;
            batch.width = width;
            batch.shade = dot.shade;
            batch.lit = lit;
            // Squares of one or two pixels look the same as discs and are
            // drawn without the raster engine's round-cap path.
            batch.round = width > 2.0F;
            batches_.push_back(std::move(batch));
        }
        batches_[found->second].points.push_back(dot.at);
    }
    // std::map orders dimmed before lit and far before near: the map's
    // drawing order.
    std::vector<Batch> ordered;
    ordered.reserve(batches_.size());
    for (const auto& [key, at] : index) ordered.push_back(std::move(batches_[at]));
    batches_ = std::move(ordered);
    batchedRevision_ = scene.revision;
    batchedScene_ = &scene;
}

void AtlasPainter::drawBatches(QPainter& painter) const {
    for (const Batch& batch : batches_) {
        QPen pen(shaded(batch.colour, batch.shade, batch.lit));
        pen.setWidthF(batch.width);
        pen.setCapStyle(batch.round ? Qt::RoundCap : Qt::SquareCap);
        painter.setPen(pen);
        painter.setRenderHint(QPainter::Antialiasing, batch.round);
        painter.drawPoints(batch.points.data(), static_cast<int>(batch.points.size()));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
}

void AtlasPainter::drawMarks(QPainter& painter, const AtlasScene& scene) const {
    // Rings for life, races and colonies: only on the few systems that have
    // them, so one path per kind is cheap.
    for (const AtlasMark mark : {kMarkLife, kMarkRace, kMarkColony}) {
        QPainterPath rings;
        const double gap = mark == kMarkLife ? 2.0 : mark == kMarkRace ? 4.0 : 6.0;
        bool any = false;
        for (const AtlasDot& dot : scene.dots) {
            if ((dot.marks & mark) == 0) continue;
            if (scene.filterActive && !dot.lit) continue;
            const double r = dot.radius + gap;
            if (mark == kMarkColony) {
                rings.addRect(QRectF(dot.at.x() - r, dot.at.y() - r, 2 * r, 2 * r));
            } else {
                rings.addEllipse(dot.at, r, r);
            }
            any = true;
        }
        if (!any) continue;
        QPen pen(markColour(mark));
        pen.setWidthF(1.2);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(rings);
    }
}

void AtlasPainter::paint(QPainter& painter, const QRect& target, const AtlasScene& scene) {
    painter.save();
    painter.setClipRect(target);
    painter.translate(target.topLeft());
    painter.fillRect(QRect(QPoint(0, 0), target.size()), background());
    painter.setRenderHint(QPainter::Antialiasing, true);

    if (!scene.message.isEmpty() && scene.dots.empty() && scene.clusters.empty()) {
        painter.setPen(QColor(180, 190, 220));
        painter.drawText(QRect(QPoint(0, 0), target.size()), Qt::AlignCenter | Qt::TextWordWrap, scene.message);
        painter.restore();
        return;
    }

    painter.setPen(QPen(QColor(60, 70, 110), 1.0, Qt::DashLine));
    for (const QLineF& line : scene.frameBack) painter.drawLine(line);

    if (batchedScene_ != &scene || batchedRevision_ != scene.revision) rebuildBatches(scene);
    drawBatches(painter);

    // Merged dots: a soft disc sized by the count, the count inside.
    QFont small = painter.font();
    small.setPointSizeF(7.0);
    painter.setFont(small);
    for (const AtlasCluster& cluster : scene.clusters) {
        const double r = 4.0 + std::min(10.0, std::log2(static_cast<double>(std::max(2, cluster.count))) * 1.6);
        const bool lit = cluster.lit || !scene.filterActive;
        painter.setPen(QPen(lit ? QColor(200, 210, 255, 200) : QColor(90, 95, 120, 140), 1.0));
        painter.setBrush(lit ? QColor(120, 140, 220, 90) : QColor(60, 64, 90, 60));
        painter.drawEllipse(cluster.at, r, r);
        if (r >= 7.0) {
            painter.setPen(lit ? QColor(230, 235, 255) : QColor(120, 125, 150));
            painter.drawText(QRectF(cluster.at.x() - r, cluster.at.y() - r, 2 * r, 2 * r), Qt::AlignCenter,
                             QString::number(cluster.count));
        }
    }
    painter.setBrush(Qt::NoBrush);

    drawMarks(painter, scene);

    painter.setPen(QPen(QColor(90, 105, 160), 1.0));
    for (const QLineF& line : scene.frame) painter.drawLine(line);

    if (scene.route.size() >= 2) {
        QPen pen(routeColour());
        pen.setWidthF(2.0);
        painter.setPen(pen);
        painter.drawPolyline(scene.route.data(), static_cast<int>(scene.route.size()));
        painter.setBrush(routeColour());
        for (const QPointF& stop : scene.route) painter.drawEllipse(stop, 3.0, 3.0);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(routeColour().lighter(130));
        for (std::size_t i = 0; i + 1 < scene.route.size() && i < scene.routeLegs.size(); ++i) {
            const QPointF middle = (scene.route[i] + scene.route[i + 1]) / 2.0;
            painter.drawText(middle + QPointF(4, -4), scene.routeLegs[i]);
        }
    }

    if (scene.hasSelection) {
        QPen pen(Qt::white);
        pen.setWidthF(1.5);
        painter.setPen(pen);
        const double r = scene.selectedRadius + 8.0;
        painter.drawEllipse(scene.selected, r, r);
        painter.drawLine(scene.selected + QPointF(-r - 5, 0), scene.selected + QPointF(-r + 3, 0));
        painter.drawLine(scene.selected + QPointF(r - 3, 0), scene.selected + QPointF(r + 5, 0));
    }

    QFont labelFont = painter.font();
    labelFont.setPointSizeF(8.0);
    painter.setFont(labelFont);
    for (const AtlasLabel& label : scene.labels) {
        painter.setPen(label.lit || !scene.filterActive ? QColor(215, 222, 245) : QColor(95, 100, 125));
        painter.drawText(label.box, Qt::AlignLeft | Qt::AlignVCenter, label.text);
    }

    if (!scene.caption.isEmpty()) {
        painter.setPen(QColor(160, 170, 205));
        painter.drawText(QRectF(6, target.height() - 20, target.width() - 12, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         scene.caption);
    }
    painter.restore();
}

}  // namespace orrimar::ui

#include "print/poster.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

#include "atlas/labels.h"
#include "atlas/players_sight.h"
#include "vocabulary/body_names.h"
#include "print/pdf_file.h"
#include "print/scene_parts.h"

namespace orrimar::print {

namespace {

constexpr double kHeadHeight = 36.0;    // title and subtitle, points
constexpr double kGutter = 24.0;        // left of the map: the grid's numbers
constexpr double kFoot = 12.0;          // under the map: the grid's numbers
constexpr double kLegendEntry = 118.0;  // width of one legend entry
constexpr double kLegendLine = 11.0;    // height of a legend line
constexpr double kScaleBlock = 170.0;   // right of the legend: the scale bar
constexpr std::size_t kLabelCandidates = 6000;
// Above this many systems on the map dots shrink, down to half, so that
// the systems stay apart.
constexpr std::size_t kCrowded = 20000;

// 1, 2 or 5 times a power of ten, at least `value`.
double niceStep(double value) {
    if (!(value > 0.0)) return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= value - 1e-9) return std::max(1.0, m * power);
    return std::max(1.0, 10.0 * power);
}

// Fonts are measured at 72 dots per inch, where a point is a unit of the
// layout.
const QPaintDevice& pointDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(2835);
        image.setDotsPerMeterY(2835);
        return image;
    }();
    return device;
}

QFont fontOf(double points, bool bold = false) {
    QFont font;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A font of `points` for a painter laid out in points.
QFont drawFont(const QPainter& painter, double points, bool bold = false) {
    return fontOf(points * devicePointScale(painter), bold);
}

QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Screen right and screen up of a flat view, as world axes (x 0, y 1, z 2).
std::array<int, 2> screenAxes(atlas::View view) {
    switch (view) {
        case atlas::View::Front: return {0, 2};
        case atlas::View::Side: return {1, 2};
        case atlas::View::Top:
        case atlas::View::Cube: break;
    }
    return {0, 1};
}

double& axisOf(atlas::Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

}  // namespace

double devicePointScale(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    const int dpi = device != nullptr ? device->logicalDpiY() : 72;
    return dpi > 0 ? 72.0 / dpi : 1.0;
}

Poster::Poster(const atlas::AtlasModel& model, PosterOptions options) : model_(model), options_(std::move(options)) {
    options_.columns = std::max(1, options_.columns);
    options_.rows = std::max(1, options_.rows);
    if (options_.title.isEmpty()) options_.title = QString::fromStdString(model_.sectorName());
    layOut();
    buildScene();
}

void Poster::layOut() {
    const QSizeF upright = paperPoints(options_.paper);
    page_ = QSizeF(std::max(upright.width(), upright.height()), std::min(upright.width(), upright.height()));
    const double w = page_.width() - 2 * kMargin;
    const double h = page_.height() - 2 * kMargin;
    const bool tiled = pageCount() > 1;
    const double overlap = tiled ? kOverlap : 0.0;
    canvas_ = QSizeF(options_.columns * w - (options_.columns - 1) * overlap,
                     options_.rows * h - (options_.rows - 1) * overlap);

    // The legend: the star kinds the map shows, then the symbols.
    camera_.view = options_.view;
    camera_.projection = atlas::Projection::Parallel;
    if (options_.slab) {
        camera_.slab.enabled = true;
        camera_.slab.axis = atlas::depthAxis(options_.view);
        camera_.slab.from = std::min(options_.slabFrom, options_.slabTo);
        camera_.slab.to = std::max(options_.slabFrom, options_.slabTo);
    }
    std::array<int, 256> kinds{};
    std::array<bool, 3> marks{};
    for (const atlas::SystemEntry& e : model_.entries()) {
        if (camera_.slab.enabled && !camera_.slab.contains(e)) continue;
        ++kinds[e.starKind];
        const std::uint8_t m = marksOf(e);
        marks[0] = marks[0] || (m & kMarkLife) != 0;
        marks[1] = marks[1] || (m & kMarkRace) != 0;
        marks[2] = marks[2] || (m & kMarkColony) != 0;
    }
    legend_.clear();
    for (const std::uint8_t kind : vocabulary::kStarKindOrder) {
        if (kinds[kind] == 0) continue;
        const vocabulary::StarKindInfo& info = vocabulary::starKindInfo(kind);
        QString text = fromUtf8(info.plainName);
        if (!info.spectralClass.empty()) text = fromUtf8(info.spectralClass) + QStringLiteral(" ") + text;
        legend_.push_back({LegendEntry::Star, starColour(kind), text});
    }
    if (marks[0]) legend_.push_back({LegendEntry::Life, 0, QStringLiteral("native life")});
    if (marks[1]) legend_.push_back({LegendEntry::Race, 0, QStringLiteral("native race")});
    if (marks[2]) legend_.push_back({LegendEntry::Colony, 0, QStringLiteral("colony")});
    const int perLine = std::max(1, static_cast<int>((canvas_.width() - kScaleBlock) / kLegendEntry));
    const int lines = std::max(2, (static_cast<int>(legend_.size()) + perLine - 1) / perLine);
    const double legendHeight = 14.0 + lines * kLegendLine;
    legendBox_ = QRectF(0, canvas_.height() - legendHeight, canvas_.width(), legendHeight);
    map_ = QRectF(kGutter, kHeadHeight, canvas_.width() - kGutter - 4.0,
                  canvas_.height() - kHeadHeight - legendHeight - kFoot - 6.0);

    camera_.width = std::max(1, static_cast<int>(map_.width()));
    camera_.height = std::max(1, static_cast<int>(map_.height()));
    camera_.fit(model_.bounds());
    // The scale bar: a round number of parsecs near a fifth of the map.
    scaleParsecs_ = niceStep(std::min(map_.width(), kScaleBlock - 40.0) * 0.6 / camera_.zoom);
}

void Poster::buildScene() {
    scene_ = AtlasScene{};
    scene_.revision = 1;
    const auto projected = atlas::projectSystems(camera_, model_, nullptr, 0.0);
    shown_ = static_cast<int>(projected.size());
    const atlas::Bounds& bounds = model_.bounds();
    const float crowd = projected.size() > kCrowded
                            ? std::max(0.5F, static_cast<float>(std::sqrt(double(kCrowded) / double(projected.size()))))
                            : 1.0F;
    scene_.dots.reserve(projected.size());
    for (const atlas::ProjectedSystem& p : projected) {
        const atlas::SystemEntry& e = model_.entry(p.id);
        AtlasDot dot;
        dot.at = QPointF(p.x, p.y);
        // A screen pixel's dot is a little bold in points.
        dot.radius = dotRadius(e.brightness, p.scale) * crowd * 0.9F;
        dot.colour = starColour(e.starKind);
        dot.shade = shadeOf(atlas::depthFactor(camera_, bounds, p.depth));
        dot.marks = marksOf(e);
        dot.id = p.id;
        scene_.dots.push_back(dot);
    }
    addFrame(camera_, bounds, scene_);

    // Names: the named and the bright first. Players read no record codes,
    // so a system without a name gets no label on their poster.
    std::vector<atlas::LabelCandidate> candidates;
    candidates.reserve(std::min(projected.size(), kLabelCandidates));
    for (const atlas::ProjectedSystem& p : projected) {
        const bool named = !model_.name(p.id).empty();
        if (options_.players && !atlas::PlayersSight::labelled(model_, p.id)) continue;
        candidates.push_back({p.id, p.x, p.y, model_.entry(p.id).brightness + (named ? 20 : 0)});
    }
    if (candidates.size() > kLabelCandidates) {
        std::nth_element(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(kLabelCandidates),
                         candidates.end(), [](const auto& a, const auto& b) { return a.priority > b.priority; });
        candidates.resize(kLabelCandidates);
    }
    const QFontMetricsF metrics(fontOf(kLabelPoints), &pointDevice());
    const auto text = [this](atlas::SystemId id) {
        const std::string_view name = model_.name(id);
        return name.empty() ? QString::number(id) : fromUtf8(name);
    };
    atlas::LabelOptions labelOptions;
    labelOptions.width = camera_.width;
    labelOptions.height = camera_.height;
    labelOptions.gap = 2.0;
    labelOptions.dotRadius = 2.0;
    const auto placed = atlas::placeLabels(
        candidates,
        [&](atlas::SystemId id) {
            return atlas::LabelSize{metrics.horizontalAdvance(text(id)) + 1.0, metrics.height()};
        },
        labelOptions);
    scene_.labels.reserve(placed.size());
    for (const atlas::PlacedLabel& label : placed) {
        scene_.labels.push_back(
            AtlasLabel{QRectF(label.box.left, label.box.top, label.box.width, label.box.height), text(label.id), true});
    }
}

double Poster::gridStep() const { return niceStep(60.0 / camera_.zoom); }

void Poster::drawHead(QPainter& painter) const {
    painter.setPen(AtlasPalette::paper().label);
    painter.setFont(drawFont(painter, 16.0, true));
    painter.drawText(QRectF(0, 0, canvas_.width(), 22), Qt::AlignLeft | Qt::AlignVCenter, options_.title);
    QString subtitle = viewTitle(options_.view);
    if (options_.slab) {
        subtitle += QStringLiteral(", slab %1 %2..%3")
                        .arg(QLatin1Char("xyz"[static_cast<int>(camera_.slab.axis)]))
                        .arg(camera_.slab.from)
                        .arg(camera_.slab.to);
    }
    subtitle += QStringLiteral(": %1 of %2 systems").arg(shown_).arg(model_.size());
    if (options_.view == atlas::View::Cube) subtitle += QStringLiteral(", parallel projection");
    painter.setFont(drawFont(painter, 8.0));
    painter.drawText(QRectF(0, 22, canvas_.width(), 12), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
}

void Poster::drawGrid(QPainter& painter) const {
    // The cube is seen at an angle: a grid would not read as coordinates.
    if (options_.view == atlas::View::Cube) return;
    const std::array<int, 2> axes = screenAxes(options_.view);
    const double step = gridStep();
    const atlas::Vec3 topLeft = atlas::unproject(camera_, 0, 0);
    const atlas::Vec3 bottomRight = atlas::unproject(camera_, camera_.width, camera_.height);
    atlas::Vec3 a = topLeft;
    atlas::Vec3 b = bottomRight;
    const double hLo = std::min(axisOf(a, axes[0]), axisOf(b, axes[0]));
    const double hHi = std::max(axisOf(a, axes[0]), axisOf(b, axes[0]));
    const double vLo = std::min(axisOf(a, axes[1]), axisOf(b, axes[1]));
    const double vHi = std::max(axisOf(a, axes[1]), axisOf(b, axes[1]));
    const QColor line(210, 214, 224);
    const QColor ink = AtlasPalette::paper().caption;
    painter.setFont(drawFont(painter, 6.0));
    for (double h = std::ceil(hLo / step) * step; h <= hHi; h += step) {
        atlas::Vec3 at = camera_.centre;
        axisOf(at, axes[0]) = h;
        const double x = map_.left() + atlas::project(camera_, at).x;
        painter.setPen(QPen(line, 0.4));
        painter.drawLine(QPointF(x, map_.top()), QPointF(x, map_.bottom()));
        painter.setPen(ink);
        painter.drawText(QRectF(x - 20, map_.bottom() + 1, 40, kFoot), Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(h, 'f', 0));
    }
    for (double v = std::ceil(vLo / step) * step; v <= vHi; v += step) {
        atlas::Vec3 at = camera_.centre;
        axisOf(at, axes[1]) = v;
        const double y = map_.top() + atlas::project(camera_, at).y;
        painter.setPen(QPen(line, 0.4));
        painter.drawLine(QPointF(map_.left(), y), QPointF(map_.right(), y));
        painter.setPen(ink);
        painter.drawText(QRectF(0, y - 6, kGutter - 3, 12), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(v, 'f', 0));
    }
}

void Poster::drawLegend(QPainter& painter) const {
    const AtlasPalette& paper = AtlasPalette::paper();
    painter.setPen(paper.label);
    painter.setFont(drawFont(painter, 7.5, true));
    painter.drawText(QRectF(legendBox_.left(), legendBox_.top(), 200, 12), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Legend"));
    painter.setFont(drawFont(painter, 7.0));
    const int perLine = std::max(1, static_cast<int>((canvas_.width() - kScaleBlock) / kLegendEntry));
    for (std::size_t i = 0; i < legend_.size(); ++i) {
        const LegendEntry& entry = legend_[i];
        const double x = legendBox_.left() + static_cast<double>(static_cast<int>(i) % perLine) * kLegendEntry;
        const double y = legendBox_.top() + 14.0 + static_cast<double>(static_cast<int>(i) / perLine) * kLegendLine;
        const QPointF symbol(x + 5, y + kLegendLine / 2);
        painter.setRenderHint(QPainter::Antialiasing, true);
        switch (entry.kind) {
            case LegendEntry::Star:
                painter.setPen(Qt::NoPen);
                painter.setBrush(paper.starInk(entry.colour));
                painter.drawEllipse(symbol, 2.6, 2.6);
                break;
            case LegendEntry::Life:
            case LegendEntry::Race:
            case LegendEntry::Colony: {
                const AtlasMark mark = entry.kind == LegendEntry::Life   ? kMarkLife
                                       : entry.kind == LegendEntry::Race ? kMarkRace
                                                                         : kMarkColony;
                painter.setPen(Qt::NoPen);
                painter.setBrush(QColor(90, 90, 90));
                painter.drawEllipse(symbol, 1.2, 1.2);
                painter.setPen(QPen(paper.markColour(mark), 0.7));
                painter.setBrush(Qt::NoBrush);
                const double r = entry.kind == LegendEntry::Life ? 2.8 : entry.kind == LegendEntry::Race ? 3.8 : 4.2;
                if (mark == kMarkColony) {
                    painter.drawRect(QRectF(symbol.x() - r, symbol.y() - r, 2 * r, 2 * r));
                } else {
                    painter.drawEllipse(symbol, r, r);
                }
                break;
            }
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(paper.label);
        painter.drawText(QRectF(x + 12, y, kLegendEntry - 14, kLegendLine), Qt::AlignLeft | Qt::AlignVCenter,
                         entry.text);
    }
    // The scale bar, right of the entries.
    const double length = scaleParsecs_ * camera_.zoom;
    const double right = legendBox_.right() - 8.0;
    const double y = legendBox_.top() + 10.0;
    painter.setPen(QPen(paper.label, 1.0));
    painter.drawLine(QPointF(right - length, y), QPointF(right, y));
    for (int t = 0; t <= 2; ++t) {
        const double x = right - length + length * t / 2.0;
        painter.drawLine(QPointF(x, y - (t == 1 ? 2.0 : 3.5)), QPointF(x, y + (t == 1 ? 2.0 : 3.5)));
    }
    painter.drawText(QRectF(right - length - 40, y + 4, length + 40, 10), Qt::AlignRight | Qt::AlignTop,
                     QStringLiteral("%1 parsecs").arg(scaleParsecs_));
    QString note;
    if (options_.view == atlas::View::Cube) {
        note = QStringLiteral("true at every depth (parallel)");
    } else {
        const char axisName[] = "xyz";
        const std::array<int, 2> axes = screenAxes(options_.view);
        note = QStringLiteral("grid %1 pc; %2 across, %3 up")
                   .arg(gridStep())
                   .arg(QLatin1Char(axisName[axes[0]]))
                   .arg(QLatin1Char(axisName[axes[1]]));
    }
    painter.drawText(QRectF(right - kScaleBlock, y + 14, kScaleBlock, 10), Qt::AlignRight | Qt::AlignTop, note);
}

void Poster::paintCanvas(QPainter& painter) const {
    painter.save();
    painter.fillRect(QRectF(QPointF(0, 0), canvas_), AtlasPalette::paper().background);
    drawHead(painter);
    drawGrid(painter);
    PaintStyle style;
    style.palette = &AtlasPalette::paper();
    style.labelPoints = kLabelPoints;
    style.countPoints = 6.0;
    style.fontScale = devicePointScale(painter);
    style.lineScale = 0.6;
    style.fillBackground = false;
    painter_.paint(painter, map_, scene_, style);
    drawLegend(painter);
    painter.restore();
}

void Poster::paintPage(QPainter& painter, int page) const {
    const QPaintDevice* device = painter.device();
    const double k = device != nullptr ? device->width() / page_.width() : 1.0;
    const int column = page % options_.columns;
    const int row = page / options_.columns;
    const double w = page_.width() - 2 * kMargin;
    const double h = page_.height() - 2 * kMargin;
    const bool tiled = pageCount() > 1;
    const double overlap = tiled ? kOverlap : 0.0;
    painter.save();
    painter.resetTransform();
    painter.scale(k, k);
    painter.fillRect(QRectF(QPointF(0, 0), page_), Qt::white);
    painter.save();
    painter.translate(kMargin, kMargin);
    painter.setClipRect(QRectF(0, 0, w, h));
    painter.translate(-column * (w - overlap), -row * (h - overlap));
    paintCanvas(painter);
    painter.restore();
    if (tiled) {
        // Where the neighbours lie on: short marks in the margin at the
        // inner edge of each shared strip, and the tile's place below.
        const QColor ink(90, 90, 100);
        painter.setPen(QPen(ink, 0.5));
        const auto across = [&](double x) {
            painter.drawLine(QPointF(kMargin + x, 4), QPointF(kMargin + x, kMargin - 4));
            painter.drawLine(QPointF(kMargin + x, page_.height() - kMargin + 4),
                             QPointF(kMargin + x, page_.height() - 4));
        };
        const auto down = [&](double y) {
            painter.drawLine(QPointF(4, kMargin + y), QPointF(kMargin - 4, kMargin + y));
            painter.drawLine(QPointF(page_.width() - kMargin + 4, kMargin + y),
                             QPointF(page_.width() - 4, kMargin + y));
        };
        if (column > 0) across(overlap);
        if (column + 1 < options_.columns) across(w - overlap);
        if (row > 0) down(overlap);
        if (row + 1 < options_.rows) down(h - overlap);
        painter.setFont(drawFont(painter, 6.5));
        painter.setPen(ink);
        painter.drawText(
            QRectF(kMargin, page_.height() - kMargin + 3, w, kMargin - 6), Qt::AlignCenter,
            QStringLiteral("%1: tile %2 of %3 (column %4, row %5); the marks show where the next tile overlaps")
                .arg(options_.title)
                .arg(page + 1)
                .arg(pageCount())
                .arg(column + 1)
                .arg(row + 1));
    }
    painter.restore();
}

void writePosterPdf(const Poster& poster, const std::string& path) {
    writePdf(path, QPageSize(paperInfo(poster.paper()).id), QPageLayout::Landscape,
             QStringLiteral("%1 poster").arg(poster.options().title), [&](QPainter& painter, const NewPage& newPage) {
                 for (int page = 0; page < poster.pageCount(); ++page) {
                     if (page > 0) newPage();
                     poster.paintPage(painter, page);
                 }
             });
}

}  // namespace orrimar::print

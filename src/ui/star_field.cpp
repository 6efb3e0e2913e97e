#include "ui/star_field.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>
#include <cstdint>

namespace orrimar::ui {

namespace {

// A tiny local generator: the picture must not draw from (or disturb) the
// dice of sector generation, and must look the same at every start.
class PictureRandom {
public:
    explicit PictureRandom(std::uint32_t seed) : state_(seed) {}
    // xorshift32
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double unit() { return static_cast<double>(next() % 1000000U) / 1000000.0; }

private:
    std::uint32_t state_;
};

// Star colours from hot to cool, as a game master's star map shows them.
constexpr std::array<QRgb, 6> kStarColours{0xffaabfff, 0xffcad7ff, 0xfff8f7ff, 0xfffff4ea, 0xffffd2a1, 0xffffb56c};

void paintGlow(QPainter& painter, QPointF centre, double radius, QColor colour) {
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0.0, colour);
    colour.setAlpha(0);
    glow.setColorAt(1.0, colour);
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, radius, radius);
}

}  // namespace

StarField::StarField(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 110);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void StarField::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintStarField(painter, rect());
}

void paintStarField(QPainter& painter, const QRect& area) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, QColor(4, 6, 20));
    const double w = area.width();
    const double h = area.height();
    // A faint band of nebula across the field.
    paintGlow(painter, QPointF(area.left() + w * 0.3, area.top() + h * 0.6), w * 0.45, QColor(70, 40, 110, 90));
    paintGlow(painter, QPointF(area.left() + w * 0.75, area.top() + h * 0.3), w * 0.35, QColor(30, 60, 120, 80));
    PictureRandom random(1606u);
    const int stars = static_cast<int>(w * h / 90.0);
    for (int n = 0; n < stars; ++n) {
        const double x = area.left() + random.unit() * w;
        const double y = area.top() + random.unit() * h;
        const double brightness = random.unit();
        QColor colour = QColor::fromRgba(kStarColours[random.next() % kStarColours.size()]);
        colour.setAlphaF(static_cast<float>(0.35 + 0.65 * brightness));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        const double r = brightness > 0.97 ? 1.6 : (brightness > 0.8 ? 1.0 : 0.6);
        painter.drawEllipse(QPointF(x, y), r, r);
        if (brightness > 0.985) paintGlow(painter, QPointF(x, y), 7.0, colour);
    }
    painter.restore();
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const double s = size;
        QPainterPath disc;
        disc.addEllipse(QRectF(0, 0, s, s));
        painter.setClipPath(disc);
        paintStarField(painter, QRect(0, 0, size, size));
        paintGlow(painter, QPointF(s * 0.38, s * 0.38), s * 0.34, QColor(255, 214, 120));
        painter.setBrush(QColor(255, 236, 170));
        painter.drawEllipse(QPointF(s * 0.38, s * 0.38), s * 0.14, s * 0.14);
        // A ringed world before its star.
        painter.setBrush(QColor(60, 120, 200));
        painter.drawEllipse(QPointF(s * 0.68, s * 0.68), s * 0.13, s * 0.13);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(210, 220, 240), std::max(1.0, s / 40.0)));
        painter.drawEllipse(QPointF(s * 0.68, s * 0.68), s * 0.24, s * 0.07);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace orrimar::ui

#include "print/dot_layer.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace orrimar::print {

namespace {

// x * a / 255 on the four premultiplied channels at once, rounded as
// QPainter's raster blends round.
std::uint32_t byteMul(std::uint32_t x, std::uint32_t a) {
    std::uint32_t t = (x & 0xff00ffU) * a;
    t = (t + ((t >> 8) & 0xff00ffU) + 0x800080U) >> 8;
    t &= 0xff00ffU;
    x = ((x >> 8) & 0xff00ffU) * a;
    x = x + ((x >> 8) & 0xff00ffU) + 0x800080U;
    x &= 0xff00ff00U;
    return x | t;
}

}  // namespace

void DotLayer::begin(QSize size) {
    if (image_.size() != size) {
        image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        image_.fill(Qt::transparent);
        bounds_ = QRect();
    }
    // QImage::scanLine() checks on every call that the image is not shared
    // (a copy taken of image() would be); checked here once per frame, the
    // rows are then found from the first one.
    bits_ = reinterpret_cast<std::uint32_t*>(image_.bits());
    wordsPerLine_ = static_cast<std::ptrdiff_t>(image_.bytesPerLine() / 4);
    // Only the part the last frame drew needs clearing.
    for (int y = bounds_.top(); y <= bounds_.bottom(); ++y) {
        std::uint32_t* line = row(y);
        std::fill(line + bounds_.left(), line + bounds_.right() + 1, 0U);
    }
    bounds_ = QRect();
}

void DotLayer::fillSquare(const QRect& square, QRgb colour) {
    const QRect inside = square & image_.rect();
    if (inside.isEmpty()) return;
    const std::uint32_t pixel = qPremultiply(colour);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        std::uint32_t* line = row(y);
        std::fill(line + inside.left(), line + inside.right() + 1, pixel);
    }
    bounds_ |= inside;
}

void DotLayer::blend(QPoint at, const QImage& sprite) {
    const QRect inside = QRect(at, sprite.size()) & image_.rect();
    if (inside.isEmpty()) return;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        std::uint32_t* line = row(y);
        const auto* from = reinterpret_cast<const std::uint32_t*>(sprite.constScanLine(y - at.y()));
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const std::uint32_t s = from[x - at.x()];
            const std::uint32_t alpha = s >> 24;
            if (alpha == 0) continue;
            line[x] = alpha == 255 ? s : s + byteMul(line[x], 255 - alpha);
        }
    }
    bounds_ |= inside;
}

void DotLayer::drawOnto(QPainter& painter) const {
    if (bounds_.isEmpty()) return;
    painter.drawImage(bounds_.topLeft(), image_, bounds_);
}

}  // namespace orrimar::print

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
        bounds_ = Span{};
    }
    // QImage::scanLine() checks on every call that the image is not shared
    // (a copy taken of image() would be); checked here once per frame, the
    // rows are then found from the first one.
    bits_ = reinterpret_cast<std::uint32_t*>(image_.bits());
    wordsPerLine_ = static_cast<std::ptrdiff_t>(image_.bytesPerLine() / 4);
    // Only the part the last frame drew needs clearing.
    for (int y = bounds_.top; y <= bounds_.bottom; ++y) {
        std::uint32_t* line = row(y);
        std::fill(line + bounds_.left, line + bounds_.right + 1, 0U);
    }
    bounds_ = Span{};
}

DotLayer::Span DotLayer::clip(int x, int y, int width, int height) const {
    // Plain integer edges: QRect's intersection and union are calls into
    // the library, a few per cent of a frame at 100,000 dots.
    return Span{std::max(x, 0), std::max(y, 0), std::min(x + width, image_.width()) - 1,
                std::min(y + height, image_.height()) - 1};
}

void DotLayer::grow(const Span& span) {
    if (bounds_.isEmpty()) {
        bounds_ = span;
        return;
    }
    bounds_.left = std::min(bounds_.left, span.left);
    bounds_.top = std::min(bounds_.top, span.top);
    bounds_.right = std::max(bounds_.right, span.right);
    bounds_.bottom = std::max(bounds_.bottom, span.bottom);
}

void DotLayer::fillSquare(const QRect& square, QRgb colour) {
    const Span inside = clip(square.x(), square.y(), square.width(), square.height());
    if (inside.isEmpty()) return;
    const std::uint32_t pixel = qPremultiply(colour);
    for (int y = inside.top; y <= inside.bottom; ++y) {
        std::uint32_t* line = row(y);
        std::fill(line + inside.left, line + inside.right + 1, pixel);
    }
    grow(inside);
}

void DotLayer::blend(QPoint at, const QImage& sprite) {
    const Span inside = clip(at.x(), at.y(), sprite.width(), sprite.height());
    if (inside.isEmpty()) return;
    for (int y = inside.top; y <= inside.bottom; ++y) {
        std::uint32_t* line = row(y);
        const auto* from = reinterpret_cast<const std::uint32_t*>(sprite.constScanLine(y - at.y()));
        for (int x = inside.left; x <= inside.right; ++x) {
            const std::uint32_t s = from[x - at.x()];
            const std::uint32_t alpha = s >> 24;
            if (alpha == 0) continue;
            line[x] = alpha == 255 ? s : s + byteMul(line[x], 255 - alpha);
        }
    }
    grow(inside);
}

void DotLayer::drawOnto(QPainter& painter) const {
    if (bounds_.isEmpty()) return;
    const QRect drawn(QPoint(bounds_.left, bounds_.top), QPoint(bounds_.right, bounds_.bottom));
    painter.drawImage(drawn.topLeft(), image_, drawn);
}

}  // namespace orrimar::print

// The dots of a frame on a pixel device, gathered on one transparent image
// and laid over the picture with a single copy.
//
// The plain way draws each dot with its own QPainter call: a square fill or
// a copy of the batch's small antialiased disc. At 100,000 dots the calls
// themselves (state checks, clipping, choosing a blend routine, each time)
// cost more than the few pixels each one writes. Here each dot is a few
// lines of pixel arithmetic on the layer: a solid square written as is, a
// disc laid on with the same premultiplied "source over" rule QPainter uses,
// so the picture is the one the plain calls give. The layer then costs one
// clear and one copy of the window's size per frame (about 2 ms at
// 1280 x 800), paid back many times over from a few thousand dots up.
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstddef>
#include <cstdint>

class QPainter;

namespace orrimar::print {

class DotLayer {
public:
    // Clears the layer to transparent at `size` pixels (kept between frames).
    void begin(QSize size);
    // A solid, opaque square: what QPainter::fillRect of `colour` does.
    void fillSquare(const QRect& square, QRgb colour);
    // `sprite` (ARGB32 premultiplied) with its top left corner at `at`,
    // blended over what the layer holds: QPainter::drawImage(at, sprite).
    void blend(QPoint at, const QImage& sprite);
    // Lays the layer over the painter's picture with its top left at the
    // painter's origin.
    void drawOnto(QPainter& painter) const;
    const QImage& image() const { return image_; }

private:
    // Inclusive pixel edges; empty when right < left or bottom < top.
    struct Span {
        int left = 0, top = 0, right = -1, bottom = -1;
        bool isEmpty() const { return right < left || bottom < top; }
    };
    Span clip(int x, int y, int width, int height) const;
    void grow(const Span& span);
    std::uint32_t* row(int y) { return bits_ + y * wordsPerLine_; }

    QImage image_;
    std::uint32_t* bits_ = nullptr;
    std::ptrdiff_t wordsPerLine_ = 0;
    Span bounds_;  // where something was drawn this frame: only that is copied
};

}  // namespace orrimar::print

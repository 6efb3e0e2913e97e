#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <random>

#include "print/atlas_painter.h"
#include "print/dot_layer.h"
#include "print_test_support.h"

namespace orrimar::print {
namespace {

// An antialiased disc of `colour` with soft edges: every alpha from 0 to
// 255 occurs, so the blend's rounding is checked on all of them.
QImage discSprite(int side, QColor colour) {
    QImage sprite(side, side, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::transparent);
    QPainter p(&sprite);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(0.7, 0.7, side - 1.6, side - 1.6));
    return sprite;
}

// The layer must give the pixels of the painter calls it stands for, byte
// for byte: squares and discs piled over each other, some hanging over
// every edge of the picture.
TEST(DotLayer, PilesSquaresAndDiscsExactlyAsThePainterDoes) {
    printtest::ensureGui();
    const QSize size(61, 37);
    std::mt19937 random(5);
    std::uniform_int_distribution<int> x(-8, size.width() + 2);
    std::uniform_int_distribution<int> y(-8, size.height() + 2);
    std::uniform_int_distribution<int> side(1, 9);
    std::uniform_int_distribution<int> channel(0, 255);
    DotLayer layer;
    layer.begin(size);
    QImage expected(size, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    {
        QPainter p(&expected);
        for (int i = 0; i < 400; ++i) {
            const int sx = x(random);
            const int sy = y(random);
            const int n = side(random);
            const int red = channel(random);
            const int green = channel(random);
            const int blue = channel(random);
            if (i % 3 == 0) {
                const QRect square(sx, sy, n, n);
                p.fillRect(square, QColor(red, green, blue));
                layer.fillSquare(square, qRgb(red, green, blue));
            } else {
                const QImage sprite = discSprite(n + 2, QColor(red, green, blue));
                p.drawImage(QPoint(sx, sy), sprite);
                layer.blend(QPoint(sx, sy), sprite);
            }
        }
    }
    ASSERT_EQ(layer.image().size(), size);
    for (int row = 0; row < size.height(); ++row) {
        for (int col = 0; col < size.width(); ++col) {
            ASSERT_EQ(layer.image().pixel(col, row), expected.pixel(col, row)) << "at " << col << ", " << row;
        }
    }

    // Laid over an opaque picture, the layer lands where the painter's own
    // copy of the same pixels lands.
    QImage direct(size, QImage::Format_RGB32);
    direct.fill(QColor(10, 12, 24));
    QImage laid = direct;
    {
        QPainter p(&direct);
        p.drawImage(QPoint(0, 0), expected);
        QPainter q(&laid);
        layer.drawOnto(q);
    }
    for (int row = 0; row < size.height(); ++row) {
        for (int col = 0; col < size.width(); ++col) {
            ASSERT_EQ(laid.pixel(col, row), direct.pixel(col, row)) << "at " << col << ", " << row;
        }
    }
}

// The next frame starts clear: nothing of the last one's dots is left,
// also where this frame draws nothing at all, and a resize starts afresh.
TEST(DotLayer, EachFrameStartsClearAndCopiesOnlyWhatItDrew) {
    printtest::ensureGui();
    DotLayer layer;
    layer.begin(QSize(40, 30));
    layer.fillSquare(QRect(2, 3, 4, 4), qRgb(255, 0, 0));
    layer.fillSquare(QRect(36, 26, 10, 10), qRgb(0, 255, 0));  // clipped at the corner
    EXPECT_EQ(layer.image().pixel(39, 29), qRgb(0, 255, 0));
    layer.begin(QSize(40, 30));
    layer.fillSquare(QRect(20, 20, 2, 2), qRgb(0, 0, 255));
    for (int row = 0; row < 30; ++row) {
        for (int col = 0; col < 40; ++col) {
            if (col < 20 || col > 21 || row < 20 || row > 21) {
                ASSERT_EQ(layer.image().pixel(col, row), 0U) << "at " << col << ", " << row;
            }
        }
    }

    // Only the drawn part is laid over: the rest of the picture is not
    // touched, not even by a transparent copy.
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(1, 2, 3));
    {
        QPainter p(&picture);
        layer.drawOnto(p);
    }
    EXPECT_EQ(picture.pixel(20, 20), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(1, 2, 3));

    // A frame that draws nothing lays nothing over.
    layer.begin(QSize(40, 30));
    layer.fillSquare(QRect(-5, -5, 3, 3), qRgb(255, 255, 255));  // wholly outside
    picture.fill(QColor(1, 2, 3));
    {
        QPainter p(&picture);
        layer.drawOnto(p);
    }
    EXPECT_EQ(picture.pixel(20, 20), qRgb(1, 2, 3));
    layer.begin(QSize(8, 6));
    EXPECT_EQ(layer.image().size(), QSize(8, 6));
    EXPECT_EQ(layer.image().pixel(7, 5), 0U);
}

AtlasScene dotsAt(std::uint64_t revision, const std::vector<QPointF>& places) {
    AtlasScene scene;
    scene.revision = revision;
    for (std::size_t i = 0; i < places.size(); ++i) {
        AtlasDot dot;
        dot.at = places[i];
        dot.radius = i % 2 == 0 ? 0.8F : 2.6F;  // a square and a disc in turn
        dot.shade = static_cast<std::uint8_t>(i % kShadeLevels);
        dot.colour = i % 3 == 0 ? qRgb(255, 224, 102) : qRgb(155, 176, 255);
        dot.id = static_cast<std::int32_t>(i);
        scene.dots.push_back(dot);
    }
    return scene;
}

QImage paintOnce(AtlasPainter& painter, const AtlasScene& scene) {
    QImage image(120, 80, QImage::Format_RGB32);
    QPainter p(&image);
    painter.paint(p, QRectF(image.rect()), scene);
    return image;
}

// A painter that has drawn other frames (other dots, other batches, a
// different size of picture) draws the next exactly as a new one does:
// its kept batches, sprites and layer carry nothing over.
TEST(DotLayer, APainterReusedFrameAfterFrameDrawsWhatAFreshOneDraws) {
    printtest::ensureGui();
    AtlasPainter reused;
    std::vector<QPointF> places;
    for (int i = 0; i < 60; ++i) places.emplace_back(3.0 + (i * 37) % 115, 2.0 + (i * 23) % 76);
    (void)paintOnce(reused, dotsAt(1, places));
    {
        QImage wide(300, 200, QImage::Format_RGB32);
        QPainter p(&wide);
        reused.paint(p, QRectF(wide.rect()), dotsAt(2, places));
    }
    // Fewer dots, moved: the batches of the first frames now draw fewer
    // points or none.
    std::vector<QPointF> moved(places.begin(), places.begin() + 7);
    for (QPointF& at : moved) at += QPointF(1.5, 0.5);
    const AtlasScene next = dotsAt(3, moved);
    AtlasPainter fresh;
    EXPECT_EQ(paintOnce(reused, next), paintOnce(fresh, next));
}

// Far dots first, near ones over them: a near square on a far disc shows
// the square's colour in the middle, and the far disc's rim round it.
TEST(DotLayer, NearDotsAreDrawnOverFarOnes) {
    printtest::ensureGui();
    AtlasScene scene;
    scene.revision = 1;
    AtlasDot far;
    far.at = QPointF(30, 30);
    far.radius = 4.0F;
    far.shade = kShadeLevels - 1;
    far.colour = qRgb(255, 0, 0);
    AtlasDot nearer = far;
    nearer.radius = 0.5F;  // a one-pixel square
    nearer.shade = 0;      // nearest: its colour unfaded
    nearer.colour = qRgb(0, 0, 255);
    scene.dots = {nearer, far};  // the list's order must not matter
    AtlasPainter painter;
    const QImage image = paintOnce(painter, scene);
    const QColor middle = image.pixelColor(30, 30);
    EXPECT_EQ(middle.blue(), 255) << "the near square on top";
    EXPECT_EQ(middle.red(), 0);
    EXPECT_GT(image.pixelColor(32, 30).red(), 60) << "the far disc round it";
}

}  // namespace
}  // namespace orrimar::print

namespace orrimar::print {
namespace {

// Settled space: the tints go under the borders and the dots over both;
// the layer that carried the tints must not lay them again over the
// borders when it carries the dots.
TEST(DotLayer, TintsStayUnderTheBordersAndTheDotsOverThem) {
    printtest::ensureGui();
    AtlasScene scene;
    scene.revision = 4;
    AtlasDot held;
    held.at = QPointF(40, 40);
    held.radius = 3.0F;
    held.colour = qRgb(255, 255, 255);
    held.tint = qRgb(255, 0, 0);
    AtlasDot other = held;
    other.at = QPointF(80, 40);
    other.tint = qRgb(0, 255, 0);
    scene.dots = {held, other};
    scene.borders.push_back(AtlasBorder{QLineF(30, 36, 90, 36), qRgb(0, 0, 255)});
    AtlasPainter painter;
    const QImage image = paintOnce(painter, scene);
    const QColor back = AtlasPalette::screen().background;
    // The tint: 28 % of the race's colour over the night-blue ground
    // (10, 12, 24), out to 2.5 pixels beyond the dot (a square of 10).
    EXPECT_EQ(image.pixelColor(44, 44), QColor(78, 8, 17));
    EXPECT_EQ(image.pixelColor(84, 44), QColor(7, 80, 17));
    EXPECT_EQ(image.pixelColor(33, 40), back) << "beyond the square";
    // The border across both squares, in its colour, on top of the tints.
    EXPECT_EQ(image.pixelColor(44, 36), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(84, 36), QColor(0, 0, 255));
    // The dot over everything.
    EXPECT_EQ(image.pixelColor(40, 40), QColor(Qt::white));

    // The next frame without settled space leaves no tint behind.
    for (AtlasDot& dot : scene.dots) dot.tint = 0;
    scene.borders.clear();
    scene.revision = 5;
    EXPECT_EQ(paintOnce(painter, scene).pixelColor(44, 44), back);
}

}  // namespace
}  // namespace orrimar::print

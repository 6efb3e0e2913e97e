#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "print/atlas_painter.h"
#include "print/poster.h"
#include "print_test_support.h"

namespace orrimar::print {
namespace {

AtlasScene twoDots() {
    AtlasScene scene;
    scene.revision = 7;
    AtlasDot white;
    white.at = QPointF(20, 20);
    white.radius = 3.0F;
    white.colour = qRgb(255, 255, 255);
    white.id = 0;
    AtlasDot yellow = white;
    yellow.at = QPointF(60, 20);
    yellow.colour = qRgb(255, 224, 102);
    yellow.id = 1;
    scene.dots = {white, yellow};
    return scene;
}

TEST(PaperPalette, PaintsWhitePaperWithEveryStarDarkerThanIt) {
    printtest::ensureGui();
    const AtlasScene scene = twoDots();
    QImage image(100, 40, QImage::Format_RGB32);
    AtlasPainter painter;
    {
        QPainter p(&image);
        PaintStyle style;
        style.palette = &AtlasPalette::paper();
        painter.paint(p, QRectF(image.rect()), scene, style);
    }
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    // A white star would vanish on paper: its ink is a mid grey at most.
    EXPECT_LT(image.pixelColor(20, 20).lightness(), 140);
    const QColor yellow = image.pixelColor(60, 20);
    EXPECT_LT(yellow.lightness(), 140);
    EXPECT_GT(yellow.red(), yellow.blue()) << "the hue is kept";

    // The same painter and scene on the screen palette: the cached sprites
    // of the paper colours are not reused.
    {
        QPainter p(&image);
        painter.paint(p, QRectF(image.rect()), scene);
    }
    EXPECT_EQ(image.pixelColor(2, 2), AtlasPalette::screen().background);
    EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::white));
}

TEST(PaperPalette, AScaledPainterDrawsDotsAtTheirScaledSize) {
    printtest::ensureGui();
    // Twice the scale: the dot of radius 3 covers 6 pixels each way of its
    // centre (40, 40), where a sprite copied unscaled would cover 3.
    const AtlasScene scene = twoDots();
    QImage image(200, 80, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.scale(2.0, 2.0);
        PaintStyle style;
        style.palette = &AtlasPalette::paper();
        AtlasPainter().paint(p, QRectF(0, 0, 100, 40), scene, style);
    }
    EXPECT_NE(image.pixelColor(40, 40), QColor(Qt::white));
    EXPECT_NE(image.pixelColor(44, 40), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(40 + 9, 40), QColor(Qt::white));
}

TEST(PosterLabels, NeverOverlapStayOnTheMapAndKeepTheirSizeOnEveryPaper) {
    printtest::ensureGui();
    const atlas::AtlasModel model = printtest::gridModel(40);
    std::size_t smallest = 0;
    for (const Paper paper : {Paper::A4, Paper::A2}) {
        PosterOptions options;
        options.paper = paper;
        const Poster poster(model, options);
        const auto& labels = poster.scene().labels;
        ASSERT_FALSE(labels.empty());
        const QRectF map(QPointF(0, 0), poster.mapRect().size());
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_TRUE(map.contains(labels[i].box)) << labels[i].text.toStdString();
            // 6.5-point text: never shrunk to fit a small paper.
            EXPECT_GE(labels[i].box.height(), 6.0);
            EXPECT_LE(labels[i].box.height(), 12.0);
            for (std::size_t j = i + 1; j < labels.size(); ++j)
                ASSERT_FALSE(labels[i].box.intersects(labels[j].box))
                    << labels[i].text.toStdString() << " and " << labels[j].text.toStdString();
        }
        if (paper == Paper::A4) {
            smallest = labels.size();
        } else {
            EXPECT_GT(labels.size(), smallest) << "a larger paper shows more names";
        }
    }
}

TEST(PosterLabels, PlayersPostersLabelOnlyNamedSystems) {
    printtest::ensureGui();
    const atlas::AtlasModel model = printtest::gridModel(12, 2);
    PosterOptions options;
    options.players = true;
    const Poster poster(model, options);
    ASSERT_FALSE(poster.scene().labels.empty());
    for (const AtlasLabel& label : poster.scene().labels)
        EXPECT_TRUE(label.text.startsWith(QLatin1Char('S'))) << label.text.toStdString();
    PosterOptions master;
    const Poster all(model, master);
    EXPECT_TRUE(std::any_of(all.scene().labels.begin(), all.scene().labels.end(), [](const AtlasLabel& l) {
        return !l.text.startsWith(QLatin1Char('S'));
    })) << "the game master's poster names unnamed systems by id";
}

TEST(PosterCanvas, IsWhitePaperWithTheMapInside) {
    printtest::ensureGui();
    const atlas::AtlasModel model = printtest::gridModel(10);
    const Poster poster(model, PosterOptions{});
    QImage image(poster.canvasSize().toSize(), QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        poster.paintCanvas(p);
    }
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(image.width() - 2, image.height() - 2), QColor(Qt::white));
    // Some dot is drawn inside the map.
    const QRect map = poster.mapRect().toRect();
    int inked = 0;
    for (int y = map.top(); y < map.bottom(); y += 2)
        for (int x = map.left(); x < map.right(); x += 2)
            if (image.pixelColor(x, y).lightness() < 120) ++inked;
    EXPECT_GT(inked, 50);
}

}  // namespace
}  // namespace orrimar::print

namespace orrimar::print {
namespace {

TEST(PosterTiles, ShareAStripWithEachNeighbourAndKeepThePaperLandscape) {
    printtest::ensureGui();
    const atlas::AtlasModel model = printtest::gridModel(10);
    PosterOptions one;
    one.paper = Paper::Letter;
    const Poster single(model, one);
    EXPECT_EQ(single.pageCount(), 1);
    EXPECT_EQ(single.pageSize(), QSizeF(792, 612));
    const double w = 792 - 2 * Poster::kMargin;
    const double h = 612 - 2 * Poster::kMargin;
    EXPECT_EQ(single.canvasSize(), QSizeF(w, h)) << "one page overlaps nothing";

    PosterOptions wall = one;
    wall.columns = 3;
    wall.rows = 2;
    const Poster tiled(model, wall);
    EXPECT_EQ(tiled.pageCount(), 6);
    EXPECT_EQ(tiled.canvasSize(), QSizeF(3 * w - 2 * Poster::kOverlap, 2 * h - Poster::kOverlap));
    EXPECT_GT(tiled.mapRect().width(), 2.5 * single.mapRect().width()) << "the map grows with the wall";
    // The scale bar is a round number of parsecs.
    const double bar = tiled.scaleParsecs();
    EXPECT_TRUE(bar == 1 || bar == 2 || bar == 5 || bar == 10 || bar == 20 || bar == 50) << bar;
    // The legend names the kinds on the map and the life mark.
    QStringList texts;
    for (const LegendEntry& entry : tiled.legend()) texts << entry.text;
    EXPECT_EQ(texts.size(), 3) << texts.join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("native life")));
}

}  // namespace
}  // namespace orrimar::print

// Settled space in the Atlas window: the colony in the System summary, the
// Empires panel choosing a capital, the owner search, the route's empire
// entries, the territories on the map and the seams the colony editors
// plug into.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>

#include <fstream>
#include <memory>

#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_files.h"
#include "support/record_bytes.h"
#include "ui/atlas_empires_panel.h"
#include "print/atlas_painter.h"
#include "ui/atlas_route_panel.h"
#include "ui/atlas_search_panel.h"
#include "ui/atlas_widget.h"
#include "ui/atlas_window.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

constexpr QRgb kCrimson = qRgb(200, 10, 10);

struct AtlasSettled : ::testing::Test {
    void SetUp() override {
        ws = std::make_unique<test::Workspace>(QStringLiteral("atlas-settled"));
        base = ws->base(QStringLiteral("cube"));
        capital = test::makeCrimsonPactCube(base);
        window = std::make_unique<AtlasWindow>(ws->file(QStringLiteral("orrwin.ini")));
        window->resize(1100, 700);
        window->show();
        QApplication::processEvents();
        ASSERT_TRUE(window->openSector(QString::fromStdString(base)));
        QApplication::processEvents();
    }
    std::unique_ptr<test::Workspace> ws;
    std::string base;
    std::int32_t capital = -1;
    MessageCapture messages;
    std::unique_ptr<AtlasWindow> window;
};

TEST_F(AtlasSettled, TheEmpiresPanelListsTheEmpireAndChoosingItSelectsItsCapital) {
    QTableWidget* empires = window->EmpiresPanel->Empires;
    ASSERT_EQ(empires->rowCount(), 1);
    EXPECT_EQ(empires->item(0, 0)->text(), QStringLiteral("Crimson Pact"));
    EXPECT_EQ(empires->item(0, 0)->data(Qt::UserRole).toInt(), 2);
    EXPECT_FALSE(empires->item(0, 0)->icon().isNull());
    // The race by its name where the sector gives one, with its id.
    EXPECT_TRUE(empires->item(0, 1)->text().contains(QStringLiteral("race 2")))
        << empires->item(0, 1)->text().toStdString();
    EXPECT_EQ(empires->item(0, 3)->text(), QStringLiteral("1"));
    EXPECT_EQ(empires->item(0, 4)->text(), QStringLiteral("60 million"));
    emit empires->cellClicked(0, 2);
    ASSERT_EQ(window->selectedSystem(), capital);

    // The summary tells who holds the system and its colony in words.
    const QString summary = window->Summary->toPlainText();
    EXPECT_TRUE(summary.contains(QStringLiteral("Controlled by"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("Crimson Pact"))) << summary.toStdString();
    for (const char* word : {"60 million", "Good", "Mining", "law 6 (strict), stability 6 (steady), crime 2 (petty)"}) {
        EXPECT_TRUE(summary.contains(QString::fromLatin1(word))) << word << "\n" << summary.toStdString();
    }
    EXPECT_FALSE(window->EmpiresPanel->EditEmpireBtn->isVisible()) << "no editor plugged in";
}

TEST_F(AtlasSettled, SearchByOwnerAndRouteChoicesCarryTheRaceNotAPosition) {
    QComboBox* owners = window->Search->OwnerList;
    const int pact = owners->findData(2);
    ASSERT_GE(pact, 0);
    EXPECT_TRUE(owners->itemText(pact).contains(QStringLiteral("Crimson Pact")))
        << owners->itemText(pact).toStdString();
    owners->setCurrentIndex(pact);
    window->Search->StarportList->setCurrentIndex(2);  // Good or better
    window->runSearch();
    ASSERT_EQ(window->Matches->rowCount(), 1);
    EXPECT_EQ(window->Matches->item(0, 0)->data(Qt::UserRole).toInt(), capital);
    window->Search->StarportList->setCurrentIndex(1);  // Excellent only: none
    window->runSearch();
    EXPECT_EQ(window->Matches->rowCount(), 0);

    ASSERT_TRUE(window->Route->chooseVia(atlas::RouteStopChoice{atlas::RouteStop::Empire, 2}));
    EXPECT_EQ(window->ViaList->currentText(), QStringLiteral("systems of the Crimson Pact"));
    EXPECT_EQ(window->Route->via().race, 2);
    EXPECT_FALSE(window->Route->chooseVia(atlas::RouteStopChoice{atlas::RouteStop::Empire, 4}));
}

TEST_F(AtlasSettled, TheMapTintsControlledSystemsAndDrawsTheBorderInTheEmpireColour) {
    window->setView(1);  // from above
    const print::AtlasScene& scene = window->Map->scene();
    ASSERT_FALSE(scene.borders.empty());
    for (const print::AtlasBorder& border : scene.borders) EXPECT_EQ(border.colour, kCrimson);
    const auto tinted =
        std::count_if(scene.dots.begin(), scene.dots.end(), [](const print::AtlasDot& d) { return d.tint != 0; });
    EXPECT_EQ(tinted, 1);
    // One system held: a plus of five cells from above, and in the cube the
    // squares of the layers above and below as well.
    EXPECT_EQ(scene.borders.size(), 12U);
    window->setView(0);
    EXPECT_EQ(window->Map->scene().borders.size(), 12U + 4U + 4U);
}

using print::AtlasBorder;
using print::AtlasDot;
using print::AtlasPainter;
using print::AtlasScene;

TEST(AtlasPainterTerritories, TintUnderTheDotAndBorderLinesInTheirColour) {
    AtlasScene scene;
    scene.revision = 1;
    AtlasDot dot;
    dot.at = QPointF(30, 30);
    dot.radius = 2.0F;
    dot.colour = qRgb(255, 255, 255);
    dot.tint = kCrimson;
    scene.dots = {dot};
    scene.borders = {AtlasBorder{QLineF(5, 50, 95, 50), qRgb(10, 200, 10)}};
    QImage image(100, 60, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        AtlasPainter().paint(painter, image.rect(), scene);
    }
    const QColor back = print::AtlasPalette::screen().background;
    EXPECT_EQ(image.pixelColor(30, 30), QColor(255, 255, 255)) << "the dot is drawn over its tint";
    const QColor tint = image.pixelColor(33, 33);
    EXPECT_GT(tint.red(), back.red() + 20) << "the tint square shows round the dot";
    EXPECT_EQ(image.pixelColor(5, 5), back);
    const QColor border = image.pixelColor(50, 50);
    EXPECT_GT(border.green(), 150);
    EXPECT_LT(border.red(), 60);
}

TEST_F(AtlasSettled, TheColonyEditorsPlugIntoTheirButtons) {
    EXPECT_FALSE(window->AddColonyBtn->isVisible());
    std::vector<std::pair<char, std::int32_t>> calls;
    window->setColonyEditors([&](std::int32_t id) { calls.emplace_back('a', id); },
                             [&](std::int32_t id) { calls.emplace_back('e', id); });
    EXPECT_TRUE(window->AddColonyBtn->isVisible());
    window->selectSystem(capital);
    window->AddColonyBtn->click();
    window->EditColoniesBtn->click();
    ASSERT_EQ(calls.size(), 2U);
    EXPECT_EQ(calls[0], std::make_pair('a', capital));
    EXPECT_EQ(calls[1], std::make_pair('e', capital));
    int chosen = -1;
    window->EmpiresPanel->setEmpireEditor([&](int race) { chosen = race; });
    window->EmpiresPanel->Empires->setCurrentCell(0, 0);
    window->EmpiresPanel->EditEmpireBtn->click();
    EXPECT_EQ(chosen, 2);
}

}  // namespace
}  // namespace orrimar::ui

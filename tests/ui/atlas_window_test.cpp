#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QImage>
#include <QInputDialog>
#include <QTimer>
#include <QToolTip>
#include <QRegularExpression>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>

#include <memory>

#include "atlas/atlas_model.h"
#include "settings/ini_file.h"
#include "ui/atlas_session.h"
#include "print/atlas_painter.h"
#include "ui/atlas_widget.h"
#include "ui/export_dialog.h"
#include "ui/file_field.h"
#include "ui/print_dialogs.h"
#include "ui/atlas_window.h"
#include "ui/main_window.h"
#include "ui/recent_sectors.h"
#include "ui/start_arguments.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

using namespace print;

// ------------------------------------------------ recent sectors, arguments

TEST(AtlasRecentSectors, NewestFirstWithoutRepeatsAndAtMostEight) {
    QStringList recent;
    for (int i = 0; i < 10; ++i) recent = withRecentSector(recent, QStringLiteral("s%1").arg(i));
    ASSERT_EQ(recent.size(), kRecentSectorCount);
    EXPECT_EQ(recent.front(), QStringLiteral("s9"));
    EXPECT_EQ(recent.back(), QStringLiteral("s2"));
    recent = withRecentSector(recent, QStringLiteral("s5"));
    EXPECT_EQ(recent.size(), kRecentSectorCount);
    EXPECT_EQ(recent.front(), QStringLiteral("s5"));
    EXPECT_EQ(recent.count(QStringLiteral("s5")), 1);
}

TEST(AtlasRecentSectors, KeptInTheSettingsSectionBesideTheWindowGeometry) {
    test::Workspace ws(QStringLiteral("atlas-recent"));
    const std::string ini = ws.base(QStringLiteral("orrwin.ini"));
    {
        IniFile settings(ini);
        settings.writeInteger("Settings", "Height", 400);
        settings.save();
    }
    EXPECT_TRUE(readRecentSectors(ini).isEmpty());
    writeRecentSectors(ini, {QStringLiteral("/data/a b"), QStringLiteral("/data/c")});
    EXPECT_EQ(readRecentSectors(ini), (QStringList{QStringLiteral("/data/a b"), QStringLiteral("/data/c")}));
    // A shorter list blanks the keys it no longer uses.
    writeRecentSectors(ini, {QStringLiteral("/data/c")});
    EXPECT_EQ(readRecentSectors(ini), QStringList{QStringLiteral("/data/c")});
    const IniFile settings(ini);
    EXPECT_EQ(settings.readInteger("Settings", "Height", 0), 400);
    EXPECT_EQ(settings.readString("Settings", "RecentSector1").value_or(""), "/data/c");
    // An unreadable settings path is an empty list, not a failure.
    EXPECT_TRUE(readRecentSectors(ws.base(QStringLiteral("missing/orrwin.ini"))).isEmpty());
}

TEST(AtlasStartArguments, ASectorFileOpensTheAtlasNothingKeepsTheLaunchPad) {
    EXPECT_FALSE(atlasSectorArgument({QStringLiteral("orrimar")}).has_value());
    EXPECT_FALSE(atlasSectorArgument({QStringLiteral("orrimar"), QStringLiteral("-reverse")}).has_value());
    EXPECT_EQ(atlasSectorArgument({QStringLiteral("orrimar"), QStringLiteral("data/orion.sun")}),
              QStringLiteral("data/orion"));
    EXPECT_EQ(atlasSectorArgument({QStringLiteral("orrimar"), QStringLiteral("orion.PLN")}), QStringLiteral("orion"));
    // Only the sector set's extensions are taken off: "a.b" is a base name.
    EXPECT_EQ(sectorBaseName(QStringLiteral("my.sector")), QStringLiteral("my.sector"));
    EXPECT_EQ(sectorBaseName(QStringLiteral("my.sector.sun")), QStringLiteral("my.sector"));
}

// ------------------------------------------------------------ the painter

TEST(AtlasPainterDraws, DotsInTheirStarColourDimmedOnesFadedAndTheRouteOnTop) {
    AtlasScene scene;
    scene.revision = 1;
    AtlasDot lit;
    lit.at = QPointF(20, 20);
    lit.radius = 3.0F;
    lit.colour = qRgb(255, 224, 102);
    lit.id = 0;
    AtlasDot dim = lit;
    dim.at = QPointF(60, 20);
    dim.lit = false;
    dim.id = 1;
    scene.dots = {lit, dim};
    scene.filterActive = true;
    QImage image(100, 60, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        AtlasPainter().paint(painter, QRectF(image.rect()), scene);
    }
    const QColor back = AtlasPalette::screen().background;
    EXPECT_EQ(image.pixelColor(5, 5), back);
    EXPECT_EQ(image.pixelColor(20, 20), QColor(255, 224, 102));
    const QColor faded = image.pixelColor(60, 20);
    EXPECT_LT(faded.red(), 120) << "a dot that misses the filter is dimmed toward the background";
    EXPECT_GT(faded.red(), back.red());

    // The same dot with the filter off is drawn fully; a route crosses.
    scene.filterActive = false;
    scene.route = {QPointF(10, 40), QPointF(90, 40)};
    scene.revision = 2;
    {
        QPainter painter(&image);
        AtlasPainter().paint(painter, QRectF(image.rect()), scene);
    }
    EXPECT_EQ(image.pixelColor(60, 20), QColor(255, 224, 102));
    EXPECT_EQ(image.pixelColor(50, 40), AtlasPalette::screen().route);
}

// ------------------------------------------------------------- the window

struct Atlas : ::testing::Test {
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        ws = std::make_unique<test::Workspace>(QStringLiteral("atlas-") + QString::fromLatin1(info->name()));
        test::makeSector(ws->base(QStringLiteral("cube")), 8, 40, false, 11);
        ini = ws->file(QStringLiteral("orrwin.ini"));
        window = std::make_unique<AtlasWindow>(ini);
        window->resize(1100, 700);
        window->show();
        QApplication::processEvents();
    }
    void openCube() {
        setNextFileName(ws->file(QStringLiteral("cube.sun")));
        window->openSectorClick();
        ASSERT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
        ASSERT_EQ(window->sectorBase(), ws->file(QStringLiteral("cube")));
        QApplication::processEvents();
    }
    // A dot of the current picture standing clear of its neighbours, so a
    // click there can mean only it.
    const AtlasDot* lonelyDot() const {
        const auto& dots = window->Map->scene().dots;
        for (const AtlasDot& dot : dots) {
            bool alone = true;
            for (const AtlasDot& other : dots) {
                if (other.id != dot.id && QLineF(dot.at, other.at).length() < 8.0) alone = false;
            }
            if (alone) return &dot;
        }
        return nullptr;
    }
    std::unique_ptr<test::Workspace> ws;
    QString ini;
    MessageCapture messages;
    std::unique_ptr<AtlasWindow> window;
};

TEST_F(Atlas, OpensThroughTheSectorDialogAndRemembersIt) {
    EXPECT_FALSE(window->Map->scene().message.isEmpty()) << "an empty atlas says how to begin";
    EXPECT_FALSE(window->SlabFrom->isEnabled());
    openCube();
    EXPECT_EQ(lastFileDialogRequest().filters, QStringList{QStringLiteral("Star files (*.sun)")});
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Atlas - ")));
    EXPECT_FALSE(window->Map->scene().dots.empty());
    EXPECT_EQ(window->view(), 0) << "a cube sector opens as a cube";
    EXPECT_EQ(window->recentSectors().front(), ws->file(QStringLiteral("cube")));
    EXPECT_EQ(readRecentSectors(ini.toStdString()).front(), ws->file(QStringLiteral("cube")));
    EXPECT_TRUE(window->SlabFrom->isEnabled());
    // A cancelled dialog leaves the sector shown.
    setNextFileDialogCancelled();
    window->openSectorClick();
    EXPECT_EQ(window->sectorBase(), ws->file(QStringLiteral("cube")));
}

TEST_F(Atlas, ASectorThatCannotBeReadIsReportedAndTheShownOneStays) {
    openCube();
    const std::size_t dots = window->Map->scene().dots.size();
    EXPECT_FALSE(window->openSector(ws->file(QStringLiteral("nowhere"))));
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("nowhere")))
        << messages.messages()[0].text.toStdString();
    EXPECT_EQ(window->sectorBase(), ws->file(QStringLiteral("cube")));
    EXPECT_EQ(window->Map->scene().dots.size(), dots);
    EXPECT_EQ(window->recentSectors().size(), 1);
}

TEST_F(Atlas, AClickOnADotSelectsItAndShowsItsSummary) {
    openCube();
    for (int view = 0; view < 4; ++view) {
        window->setView(view);
        QApplication::processEvents();
        const AtlasDot* dot = lonelyDot();
        ASSERT_NE(dot, nullptr) << "view " << view;
        const std::int32_t id = dot->id;
        QTest::mouseClick(window->Map, Qt::LeftButton, Qt::NoModifier, dot->at.toPoint());
        ASSERT_EQ(window->selectedSystem(), id) << "view " << view;
        EXPECT_TRUE(window->Map->scene().hasSelection);
        const QString summary = window->Summary->toPlainText();
        // Titled "System 7", or "Vessane (system 7)" once generation names systems.
        EXPECT_TRUE(summary.contains(QStringLiteral("ystem %1").arg(id))) << "view " << view;
        EXPECT_TRUE(summary.contains(QStringLiteral("Stars: A "))) << summary.toStdString();
        EXPECT_TRUE(window->SystemLogBtn->isEnabled());
    }
    // A click on empty space keeps the selection.
    const auto before = window->selectedSystem();
    QTest::mouseClick(window->Map, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(window->selectedSystem(), before);
}

TEST_F(Atlas, HoverListsEveryNameUnderThePointer) {
    openCube();
    window->setView(1);
    const AtlasDot* dot = lonelyDot();
    ASSERT_NE(dot, nullptr);
    const QPoint at = dot->at.toPoint();
    QHelpEvent help(QEvent::ToolTip, at, window->Map->mapToGlobal(at));
    QApplication::sendEvent(window->Map, &help);
    EXPECT_TRUE(
        QToolTip::text().contains(QRegularExpression(QStringLiteral("^(System %1|.+ \\(%1\\)) \\(").arg(dot->id))))
        << QToolTip::text().toStdString();
}

TEST(AtlasCrowd, AMillionSystemsDrawAsMergedMarksAndASliceAsDots) {
    // 300,000 systems in a 67-parsec cube: more than a picture draws one by
    // one, so neighbours on screen merge; a one-layer slab shows each.
    std::vector<atlas::SystemEntry> entries;
    for (int i = 0; i < 300000; ++i) {
        atlas::SystemEntry e;
        e.x = static_cast<std::int16_t>(i % 67);
        e.y = static_cast<std::int16_t>((i / 67) % 67);
        e.z = static_cast<std::int16_t>(i / (67 * 67));
        e.starKind = static_cast<std::uint8_t>(1 + i % 13);
        e.starCount = 1;
        entries.push_back(e);
    }
    AtlasSession session;
    session.adopt(atlas::AtlasModel::fromEntries(std::move(entries)));
    const AtlasScene all = session.scene(QSize(800, 600));
    EXPECT_LT(all.dots.size(), 300000U);
    EXPECT_GT(all.dots.size(), 1000U);
    // A merged mark grows with the systems it stands for (all are of the
    // dimmest class here, drawn alone at one pixel).
    const auto biggest = std::max_element(all.dots.begin(), all.dots.end(),
                                          [](const AtlasDot& a, const AtlasDot& b) { return a.radius < b.radius; });
    EXPECT_GT(biggest->radius, 1.5F);
    // While the view turns, an even sample of the systems stands in.
    session.turn(QPointF(10, 0));
    const AtlasScene moving = session.scene(QSize(800, 600), false);
    EXPECT_LE(moving.dots.size(), 100000U);
    EXPECT_GT(moving.dots.size(), 10000U);
    EXPECT_TRUE(moving.labels.empty());
    session.setView(1);
    session.setSlab(10, 10);
    const AtlasScene slice = session.scene(QSize(800, 600));
    EXPECT_EQ(slice.dots.size(), 67U * 67U);
    EXPECT_TRUE(slice.clusters.empty());
    EXPECT_TRUE(slice.caption.contains(QStringLiteral("slab z 10..10")));
}

TEST_F(Atlas, KeysSwitchViewsDragTurnsTheCubeAndTheSlabMoves) {
    openCube();
    window->Map->setFocus();
    QTest::keyClick(window->Map, Qt::Key_2);
    EXPECT_EQ(window->view(), 1);
    EXPECT_EQ(window->ViewList->currentIndex(), 1);
    EXPECT_TRUE(window->SlabLabel->text().contains(QLatin1Char('z')));
    QTest::keyClick(window->Map, Qt::Key_4);
    EXPECT_TRUE(window->SlabLabel->text().contains(QLatin1Char('x')));
    QTest::keyClick(window->Map, Qt::Key_3);
    EXPECT_TRUE(window->SlabLabel->text().contains(QLatin1Char('y')));

    QTest::keyClick(window->Map, Qt::Key_2);
    const std::size_t whole = window->Map->scene().dots.size();
    QTest::keyClick(window->Map, Qt::Key_PageUp);
    EXPECT_EQ(window->SlabFrom->value(), window->SlabTo->value()) << "one layer";
    const int layer = window->SlabFrom->value();
    EXPECT_LT(window->Map->scene().dots.size(), whole);
    QTest::keyClick(window->Map, Qt::Key_PageUp);
    EXPECT_EQ(window->SlabFrom->value(), layer + 1);
    window->SlabFrom->setValue(window->SlabFrom->minimum());
    window->SlabTo->setValue(window->SlabTo->maximum());
    EXPECT_EQ(window->Map->scene().dots.size(), whole);

    // Dragging turns the cube: the picture changes.
    QTest::keyClick(window->Map, Qt::Key_1);
    const QPointF before = window->Map->scene().dots.front().at;
    QTest::mousePress(window->Map, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    QMouseEvent move(QEvent::MouseMove, QPointF(360, 320), window->Map->mapToGlobal(QPointF(360, 320)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->Map, &move);
    QTest::mouseRelease(window->Map, Qt::LeftButton, Qt::NoModifier, QPoint(360, 320));
    EXPECT_NE(window->Map->scene().dots.front().at, before);
    EXPECT_FALSE(window->selectedSystem().has_value()) << "a drag is not a click";
}

TEST_F(Atlas, SearchByIdSelectsAndFiltersLightTheirMatches) {
    openCube();
    window->SearchText->setText(QStringLiteral("3"));
    QTest::mouseClick(window->SearchBtn, Qt::LeftButton);
    EXPECT_EQ(window->selectedSystem(), 3);
    EXPECT_EQ(window->Matches->rowCount(), 1);
    EXPECT_EQ(window->Panels->currentIndex(), 0) << "the summary comes forward";

    window->SearchText->clear();
    window->LifeList->setCurrentIndex(1);  // prebiotic or more
    QTest::mouseClick(window->SearchBtn, Qt::LeftButton);
    const AtlasScene& scene = window->Map->scene();
    EXPECT_TRUE(scene.filterActive);
    const auto litDots = std::count_if(scene.dots.begin(), scene.dots.end(), [](const AtlasDot& d) { return d.lit; });
    EXPECT_EQ(litDots, window->Matches->rowCount());
    EXPECT_GT(litDots, 0);
    EXPECT_LT(litDots, static_cast<long>(scene.dots.size()));

    // Within N of the selected system: every listed distance is inside.
    window->LifeList->setCurrentIndex(0);
    window->WithinSpin->setValue(3.0);
    QTest::mouseClick(window->SearchBtn, Qt::LeftButton);
    ASSERT_GT(window->Matches->rowCount(), 1);
    for (int row = 0; row < window->Matches->rowCount(); ++row)
        EXPECT_LE(window->Matches->item(row, 6)->data(Qt::UserRole).toDouble(), 3.0);
    // Sorted by distance, as numbers (a text sort would put 10 before 2).
    window->Matches->sortItems(6, Qt::AscendingOrder);
    for (int row = 1; row < window->Matches->rowCount(); ++row)
        EXPECT_LE(window->Matches->item(row - 1, 6)->data(Qt::UserRole).toDouble(),
                  window->Matches->item(row, 6)->data(Qt::UserRole).toDouble());
    EXPECT_EQ(window->Matches->item(0, 6)->data(Qt::UserRole).toDouble(), 0.0) << "the selected system itself";
    // A click on a row selects that system.
    const int other = window->Matches->item(1, 0)->data(Qt::UserRole).toInt();
    QTest::mouseClick(window->Matches->viewport(), Qt::LeftButton, Qt::NoModifier,
                      window->Matches->visualItemRect(window->Matches->item(1, 0)).center());
    EXPECT_EQ(window->selectedSystem(), other);

    QTest::mouseClick(window->ClearBtn, Qt::LeftButton);
    EXPECT_FALSE(window->Map->scene().filterActive);
    EXPECT_EQ(window->Matches->rowCount(), 0);
}

TEST_F(Atlas, ARouteIsListedLegByLegAndDrawn) {
    openCube();
    window->RouteFrom->setText(QStringLiteral("0"));
    window->RouteTo->setText(QStringLiteral("5"));
    window->JumpSpin->setValue(3.0);
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    ASSERT_GT(window->Legs->rowCount(), 0) << window->RouteStatus->text().toStdString();
    const int legs = window->Legs->rowCount();
    EXPECT_EQ(window->Map->scene().route.size(), static_cast<std::size_t>(legs + 1));
    for (int row = 0; row < legs; ++row) EXPECT_LE(window->Legs->item(row, 3)->data(Qt::UserRole).toDouble(), 3.0);
    EXPECT_TRUE(window->RouteStatus->text().contains(QStringLiteral("jumps")));

    // Jump 0 between two systems: no route, said plainly.
    window->JumpSpin->setValue(0.0);
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    EXPECT_EQ(window->Legs->rowCount(), 0);
    EXPECT_TRUE(window->RouteStatus->text().startsWith(QStringLiteral("No route")));
    EXPECT_TRUE(window->Map->scene().route.empty());

    // An unknown end names what was typed.
    window->RouteTo->setText(QStringLiteral("99999"));
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    EXPECT_TRUE(window->RouteStatus->text().contains(QStringLiteral("99999")));
}

TEST_F(Atlas, LogsOpenInTheWindow) {
    openCube();
    window->selectSystem(0);
    QTest::mouseClick(window->SystemLogBtn, Qt::LeftButton);
    QTextBrowser* log = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("LogWindow") && top->isVisible())
            log = top->findChild<QTextBrowser*>(QStringLiteral("LogText"));
    }
    ASSERT_NE(log, nullptr);
    EXPECT_TRUE(log->toPlainText().contains(QStringLiteral("Star A")));
    log->window()->close();
}

TEST_F(Atlas, RenameWritesANameRecordAndTheMapSearchAndReopenKnowIt) {
    openCube();
    EXPECT_FALSE(window->RenameBtn->isEnabled()) << "nothing selected yet";
    window->selectSystem(4);
    ASSERT_TRUE(window->RenameBtn->isEnabled());
    const auto namesBefore = test::fileSize(ws->file(QStringLiteral("cube.nam")));
    // Through the button and its box.
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->setTextValue(QStringLiteral("  Vessane  "));
        box->accept();
    });
    QTest::mouseClick(window->RenameBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty());
    // One record appended, nothing rewritten.
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("cube.nam"))), namesBefore + 60);
    EXPECT_TRUE(window->Summary->toPlainText().contains(QStringLiteral("Vessane")));
    const auto& labels = window->Map->scene().labels;
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](const AtlasLabel& l) { return l.text == QStringLiteral("Vessane"); }));

    // Found by name, case ignored, after the sector is opened again.
    ASSERT_TRUE(window->openSector(ws->file(QStringLiteral("cube"))));
    window->SearchText->setText(QStringLiteral("vessane"));
    QTest::mouseClick(window->SearchBtn, Qt::LeftButton);
    EXPECT_EQ(window->selectedSystem(), 4);
    window->RouteFrom->setText(QStringLiteral("Vessane"));
    window->RouteTo->setText(QStringLiteral("4"));
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    EXPECT_TRUE(window->RouteStatus->text().startsWith(QStringLiteral("Already there")));
    // The command line's rule: the one name a text begins, case ignored; a
    // text that names nothing is said with the field it was typed in.
    window->RouteFrom->setText(QStringLiteral("vess"));
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    EXPECT_TRUE(window->RouteStatus->text().startsWith(QStringLiteral("Already there")))
        << window->RouteStatus->text().toStdString();
    window->RouteFrom->setText(QStringLiteral("Nowhere"));
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    EXPECT_TRUE(window->RouteStatus->text().startsWith(QStringLiteral("From")))
        << window->RouteStatus->text().toStdString();
    EXPECT_TRUE(window->RouteStatus->text().contains(QStringLiteral("Nowhere")));
    EXPECT_EQ(window->Legs->rowCount(), 0);

    // A name the files cannot hold is refused with its reason; the empty
    // name takes the name away.
    EXPECT_FALSE(window->renameSelected(QString(51, QLatin1Char('x'))));
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("50")));
    EXPECT_FALSE(window->renameSelected(QStringLiteral("Ωmega")));
    EXPECT_TRUE(window->renameSelected(QString()));
    EXPECT_FALSE(window->Summary->toPlainText().contains(QStringLiteral("Vessane")));
}

TEST_F(Atlas, TheViewSavesAsPngAndSvg) {
    openCube();
    window->selectSystem(1);
    const QString png = ws->file(QStringLiteral("view.png"));
    ASSERT_TRUE(window->saveViewAs(png));
    QImage image(png);
    EXPECT_EQ(image.size(), window->Map->size());
    EXPECT_EQ(image.pixelColor(1, 1), AtlasPalette::screen().background);

    // Save view asks the size and colours first, offering the map's.
    setNextFileName(ws->file(QStringLiteral("view.svg")), 2);
    window->saveViewClick();
    ASSERT_NE(window->ViewImageDlg, nullptr);
    EXPECT_EQ(window->ViewImageDlg->size(), window->Map->size());
    window->ViewImageDlg->OKBtn->click();
    const QString svg = test::readText(ws->file(QStringLiteral("view.svg")));
    EXPECT_TRUE(svg.contains(QStringLiteral("<svg")));
    EXPECT_TRUE(svg.contains(QStringLiteral("</svg>")));
    EXPECT_TRUE(messages.messages().empty());

    // Typed without an extension, the chosen filter decides it.
    // A size of the user's and the print colours: white paper.
    setNextFileName(ws->file(QStringLiteral("plain")), 1);
    window->saveViewClick();
    window->ViewImageDlg->WidthSpin->setValue(1600);
    window->ViewImageDlg->HeightSpin->setValue(900);
    window->ViewImageDlg->PaperBox->setChecked(true);
    window->ViewImageDlg->OKBtn->click();
    const QImage plain(ws->file(QStringLiteral("plain.png")));
    EXPECT_EQ(plain.size(), QSize(1600, 900));
    EXPECT_EQ(plain.pixelColor(1, 1), QColor(Qt::white));

    // A folder that does not exist: a clear message naming the file.
    EXPECT_FALSE(window->saveViewAs(ws->file(QStringLiteral("no/such/view.png"))));
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("view.png")));
}

TEST_F(Atlas, ExportsTheOpenSectorThroughTheExportDialogAndPrintsToPdf) {
    EXPECT_FALSE(window->ExportBtn->isEnabled()) << "nothing to export before a sector is open";
    openCube();
    ASSERT_TRUE(window->ExportBtn->isEnabled());
    QTest::mouseClick(window->ExportBtn, Qt::LeftButton);
    ASSERT_NE(window->ExportDlg, nullptr);
    EXPECT_TRUE(window->ExportDlg->isVisible());
    EXPECT_EQ(window->ExportDlg->SectorEdit->text(), ws->file(QStringLiteral("cube")));
    window->ExportDlg->FormatBox->setCurrentIndex(0);
    window->ExportDlg->DestinationEdit->setText(ws->file(QStringLiteral("cube.json")));
    window->ExportDlg->OKBtnClick();
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("Wrote")))
        << messages.messages()[0].text.toStdString();
    EXPECT_TRUE(test::readText(ws->file(QStringLiteral("cube.json"))).contains(QStringLiteral("\"systems\"")));
    // The tables go to a folder.
    messages.clear();
    window->ExportDlg->FormatBox->setCurrentIndex(1);
    window->ExportDlg->DestinationEdit->setText(ws->file(QStringLiteral("tables")));
    window->ExportDlg->OKBtnClick();
    EXPECT_TRUE(QFileInfo(ws->file(QStringLiteral("tables"))).isDir());
    EXPECT_FALSE(QDir(ws->file(QStringLiteral("tables"))).entryList(QDir::Files).isEmpty());
    // Onto the sector's own system file: refused, the sector untouched.
    messages.clear();
    const auto size = test::fileSize(ws->file(QStringLiteral("cube.sun")));
    window->ExportDlg->FormatBox->setCurrentIndex(0);
    window->ExportDlg->DestinationEdit->setText(ws->file(QStringLiteral("cube.sun")));
    window->ExportDlg->OKBtnClick();
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("cube.sun"))), size);

    // Print view is the poster of the view on the page: a PDF printer gets
    // one landscape page.
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(ws->file(QStringLiteral("view.pdf")));
    window->printView(printer);
    EXPECT_TRUE(test::readText(ws->file(QStringLiteral("view.pdf"))).startsWith(QStringLiteral("%PDF")));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

TEST_F(Atlas, PostersAndSystemSheetsGoToPdfThroughTheirDialogs) {
    openCube();
    window->setView(2);
    window->posterClick(true);
    ASSERT_NE(window->PosterDlg, nullptr);
    EXPECT_TRUE(window->PosterDlg->isVisible());
    EXPECT_EQ(window->PosterDlg->options().view, atlas::View::Front) << "the dialog offers the Atlas's view";
    window->PosterDlg->ColumnsSpin->setValue(2);
    window->PosterDlg->PaperList->setCurrentIndex(0);
    setNextFileName(ws->file(QStringLiteral("poster.pdf")));
    window->PosterDlg->OKBtn->click();
    EXPECT_TRUE(messages.messages().empty());
    const QString poster = test::readText(ws->file(QStringLiteral("poster.pdf")));
    EXPECT_TRUE(poster.startsWith(QStringLiteral("%PDF")));
    EXPECT_EQ(poster.count(QStringLiteral("/Type /Page\n")) + poster.count(QStringLiteral("/Type /Page\r")) +
                  poster.count(QStringLiteral("/Type /Page ")) + poster.count(QStringLiteral("/Type /Page>")),
              2)
        << "two tiles, two pages";

    // Sheets offer the selected system; a list takes ids and names.
    window->selectSystem(1);
    window->sheetsClick(true);
    ASSERT_NE(window->SheetsDlg, nullptr);
    EXPECT_EQ(window->SheetsDlg->SystemsEdit->text(), QStringLiteral("1"));
    window->SheetsDlg->SystemsEdit->setText(QStringLiteral("1, 0 ,"));
    EXPECT_EQ(window->SheetsDlg->systems(), (QStringList{QStringLiteral("1"), QStringLiteral("0")}));
    setNextFileName(ws->file(QStringLiteral("sheets.pdf")));
    window->SheetsDlg->OKBtn->click();
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(test::readText(ws->file(QStringLiteral("sheets.pdf"))).startsWith(QStringLiteral("%PDF")));

    // A system the sector does not hold: said, and nothing written.
    window->sheetsClick(true);
    window->SheetsDlg->SystemsEdit->setText(QStringLiteral("No Such Star"));
    setNextFileName(ws->file(QStringLiteral("none.pdf")));
    window->SheetsDlg->OKBtn->click();
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("No Such Star")))
        << messages.messages()[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(ws->file(QStringLiteral("none.pdf"))));
}

TEST_F(Atlas, TheLaunchPadButtonShowsOneAtlasWindow) {
    QDir().mkpath(QStringLiteral("program"));
    StartupOptions options;
    options.programDir = ws->file(QStringLiteral("program")) + QLatin1Char('/');
    options.userConfigDir = ws->file(QStringLiteral("config"));
    options.starter = [](const QString&, const QString&) { return true; };
    options.screens = {QRect(0, 0, 1920, 1080)};
    TForm1 form(options);
    form.show();
    EXPECT_EQ(form.AtlasBtn->text(), QStringLiteral("Atlas"));
    EXPECT_FALSE(form.AtlasBtn->toolTip().isEmpty());
    QTest::mouseClick(form.AtlasBtn, Qt::LeftButton);
    ASSERT_NE(form.Atlas, nullptr);
    EXPECT_TRUE(form.Atlas->isVisible());
    EXPECT_TRUE(form.Atlas->isWindow());
    AtlasWindow* first = form.Atlas;
    form.Atlas->close();
    QTest::mouseClick(form.AtlasBtn, Qt::LeftButton);
    EXPECT_EQ(form.Atlas, first);
    EXPECT_TRUE(form.Atlas->isVisible());
}

}  // namespace
}  // namespace orrimar::ui

// The desktop program as one program: the sector last created or opened is
// every dialog's and the Atlas's, the dialogs' defaults work with OK, and
// the Atlas's controls answer as a game master expects.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QDoubleSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include "names/named_things.h"
#include "ui/app_state.h"
#include "ui/atlas_session.h"
#include "ui/atlas_widget.h"
#include "ui/atlas_window.h"
#include "ui/create_sector_dialog.h"
#include "ui/current_sector.h"
#include "ui/default_log_names.h"
#include "ui/export_dialog.h"
#include "ui/file_field.h"
#include "ui/log_dialogs.h"
#include "ui/main_window.h"
#include "ui/recent_sectors.h"
#include "ui/tool_dialogs.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

using namespace print;

// ------------------------------------------------ the shared sector

TEST(CurrentSectorState, AbsoluteNewestFirstKeptInTheSettingsAndAnnounced) {
    test::Workspace ws(QStringLiteral("current-sector"));
    const QString ini = ws.file(QStringLiteral("orrwin.ini"));
    CurrentSector sector(ini);
    EXPECT_TRUE(sector.baseName().isEmpty());
    QStringList announced;
    QObject::connect(&sector, &CurrentSector::changed, [&](const QString& base) { announced << base; });
    sector.set(QStringLiteral("alpha"));
    sector.set(ws.file(QStringLiteral("beta")));
    sector.set(QStringLiteral(""));  // nothing: no change
    EXPECT_EQ(sector.baseName(), ws.file(QStringLiteral("beta")));
    EXPECT_EQ(announced, (QStringList{ws.file(QStringLiteral("alpha")), ws.file(QStringLiteral("beta"))}));
    ASSERT_EQ(announced.size(), 2);
    EXPECT_EQ(sector.recent(), (QStringList{announced[1], announced[0]}));
    EXPECT_EQ(readRecentSectors(ini.toStdString()), sector.recent());
    // A second holder (the next run) reads the list back.
    EXPECT_EQ(CurrentSector(ini).recent(), sector.recent());
}

TEST(FileFieldOffer, FollowsUntilTheUserChoosesOrTypesAndNamesTheFileItShows) {
    test::Workspace ws(QStringLiteral("field-offer"));
    FileField field(
        QStringLiteral("starlog"), 8,
        saveDialog(QStringLiteral("log"), {QStringLiteral("Log (*.log)"), QStringLiteral("Html (*.html)")}, QString()));
    field.offer(QStringLiteral("log/alpha-system0"));
    EXPECT_EQ(field.text(), QStringLiteral("log/alpha-system0"));
    EXPECT_EQ(field.filePath(), QStringLiteral("log/alpha-system0.log")) << "the text with the dialog's extension";
    EXPECT_EQ(field.filterIndex(), 1);
    setNextFileName(ws.file(QStringLiteral("mine.html")), 2);
    ASSERT_TRUE(field.choose());
    EXPECT_EQ(field.filePath(), ws.file(QStringLiteral("mine.html")));
    EXPECT_EQ(field.filterIndex(), 2);
    field.offer(QStringLiteral("log/beta-system0"));
    EXPECT_EQ(field.text(), ws.file(QStringLiteral("mine.")));
    EXPECT_TRUE(field.pointedElsewhere());

    FileField typed(QStringLiteral("starlog"), 8, openSectorDialog());
    typed.show();
    typed.selectAll();
    QTest::keyClicks(&typed, QStringLiteral("gamma"));
    typed.offer(QStringLiteral("alpha"));
    EXPECT_EQ(typed.text(), QStringLiteral("gamma")) << "a typed name is the user's";
    EXPECT_EQ(typed.filePath(), QStringLiteral("gamma.sun"));
}

TEST(DefaultLogNames, BesideTheSectorInTheLogFolderOfItsDataFolder) {
    test::Workspace ws(QStringLiteral("log-names"));
    QDir().mkpath(QStringLiteral("data"));
    QDir().mkpath(QStringLiteral("log"));
    EXPECT_EQ(systemLogBaseName(ws.file(QStringLiteral("data/alpha")), 12),
              ws.file(QStringLiteral("log/alpha-system12")));
    EXPECT_EQ(raceLogBaseName(ws.file(QStringLiteral("alpha")), 3), ws.file(QStringLiteral("log/alpha-race3")));
    // Neither a "log" inside nor beside its folder: the log goes beside the sector.
    QDir().mkpath(QStringLiteral("elsewhere/deep"));
    EXPECT_EQ(systemLogBaseName(ws.file(QStringLiteral("elsewhere/deep/beta")), 0),
              ws.file(QStringLiteral("elsewhere/deep/beta-system0")));
    EXPECT_TRUE(systemLogBaseName(QString(), 0).isEmpty());
}

struct OneProgram : ::testing::Test {
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        ws = std::make_unique<test::Workspace>(QStringLiteral("one-") + QString::fromLatin1(info->name()));
        QDir().mkpath(QStringLiteral("program"));
        StartupOptions options;
        options.programDir = ws->file(QStringLiteral("program")) + QLatin1Char('/');
        options.userConfigDir = ws->file(QStringLiteral("config"));
        options.starter = [](const QString&, const QString&) { return true; };
        options.screens = {QRect(0, 0, 1920, 1080)};
        form = std::make_unique<TForm1>(options);
    }
    // Create Sector with its defaults, made small: "starlog" in the working folder.
    void createSector() {
        form->BtnRightDlg->Edit7->setText(QStringLiteral("3"));
        form->BtnRightDlg->Edit6->setText(QStringLiteral("100"));
        QTimer::singleShot(0, form->BtnRightDlg, [this] { form->BtnRightDlg->OKBtnClick(); });
        form->runCommand(form->BtnRightDlg);
        ASSERT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
    }
    std::unique_ptr<test::Workspace> ws;
    MessageCapture messages;
    std::unique_ptr<TForm1> form;
};

TEST_F(OneProgram, ASectorJustCreatedIsEveryDialogsAndTheAtlassUnlessPointedElsewhere) {
    // The Export dialog has been pointed at a sector of the user's own.
    test::makeSector(ws->base(QStringLiteral("own")), 2, 100);
    setNextFileName(ws->file(QStringLiteral("own.sun")));
    ASSERT_TRUE(form->ExportDlg->SectorEdit->choose());
    createSector();
    const QString made = ws->file(QStringLiteral("starlog"));
    EXPECT_EQ(form->BtnRightDlg1->SectorField->text(), made);
    EXPECT_EQ(form->BtnRightDlg2->FileNameField->text(), made);
    EXPECT_EQ(form->Form5->FileNameField->text(), made);
    EXPECT_EQ(form->Form8->SectorField->text(), made);
    EXPECT_EQ(form->Form8->sectorBaseName(), made) << "the shown text is what OK uses";
    EXPECT_EQ(form->FormMerger->Edit1->text(), made);
    EXPECT_EQ(form->FormMerger->mainBaseName(), made);
    EXPECT_EQ(form->ExportDlg->SectorEdit->text(), ws->file(QStringLiteral("own")));
    // The Atlas button opens it, and its recent list has both sectors.
    QTest::mouseClick(form->AtlasBtn, Qt::LeftButton);
    ASSERT_NE(form->Atlas, nullptr);
    EXPECT_EQ(form->Atlas->sectorBase(), made);
    EXPECT_GT(form->Atlas->Map->scene().dots.size(), 0u);
    // The program's Atlas edits settled space: its colony buttons are plugged in.
    EXPECT_TRUE(form->Atlas->AddColonyBtn->isVisibleTo(form->Atlas));
    EXPECT_TRUE(form->Atlas->EditColoniesBtn->isVisibleTo(form->Atlas));
    QStringList menu;
    for (QAction* action : form->Atlas->RecentMenu->actions()) menu << action->text();
    EXPECT_EQ(menu, (QStringList{made, ws->file(QStringLiteral("own"))}));
    form->Atlas->close();
}

TEST_F(OneProgram, ASectorOpenedInADialogOrTheAtlasFollowsEverywhere) {
    test::makeSector(ws->base(QStringLiteral("one")), 2, 100, true, 1);
    test::makeSector(ws->base(QStringLiteral("two")), 2, 100, true, 2);
    QTest::mouseClick(form->AtlasBtn, Qt::LeftButton);
    ASSERT_NE(form->Atlas, nullptr);
    EXPECT_TRUE(form->Atlas->sectorBase().isEmpty()) << "no sector yet: an empty Atlas";
    // Opened in the Sector Report's field.
    setNextFileName(ws->file(QStringLiteral("one.sun")));
    ASSERT_TRUE(form->Form5->FileNameField->choose());
    EXPECT_EQ(form->BtnRightDlg1->SectorField->text(), ws->file(QStringLiteral("one")));
    EXPECT_EQ(form->Atlas->recentSectors().value(0), ws->file(QStringLiteral("one")));
    QTest::mouseClick(form->AtlasBtn, Qt::LeftButton);
    EXPECT_EQ(form->Atlas->sectorBase(), ws->file(QStringLiteral("one")));
    // A race file of the Alien Generator is no sector: nothing follows it.
    test::writeText(ws->file(QStringLiteral("made.aln")), QStringLiteral("x"));
    setNextFileName(ws->file(QStringLiteral("made.aln")));
    ASSERT_TRUE(form->BtnRightDlg2->FileNameField->choose());
    EXPECT_EQ(form->BtnRightDlg1->SectorField->text(), ws->file(QStringLiteral("one")));
    // Opened in the Atlas.
    ASSERT_TRUE(form->Atlas->openSector(ws->file(QStringLiteral("two"))));
    EXPECT_EQ(form->ExportDlg->SectorEdit->text(), ws->file(QStringLiteral("two")));
    EXPECT_EQ(form->FormMerger->Edit1->text(), ws->file(QStringLiteral("two")));
    EXPECT_EQ(form->Form5->FileNameField->text(), ws->file(QStringLiteral("one"))) << "pointed at one by its user";
    EXPECT_EQ(form->Atlas->recentSectors(),
              (QStringList{ws->file(QStringLiteral("two")), ws->file(QStringLiteral("one"))}));
    form->Atlas->close();
}

// ------------------------------------------------ defaults that work

TEST_F(OneProgram, SystemLogsDefaultOkWritesTheLogItShows) {
    createSector();
    TBtnRightDlg1* dialog = form->BtnRightDlg1;
    dialog->SystemIdField->setText(QStringLiteral("4"));
    const QString shown = ws->file(QStringLiteral("log/starlog-system4"));
    EXPECT_EQ(dialog->SaveToField->text(), shown);
    QTimer::singleShot(0, dialog, [dialog] { dialog->OKBtnClick(); });
    form->runCommand(dialog);
    ASSERT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
    EXPECT_GT(test::fileSize(shown + QStringLiteral(".log")), 0);
    EXPECT_TRUE(form->StatusLine->text().endsWith(shown + QStringLiteral(".log")))
        << form->StatusLine->text().toStdString();
}

TEST_F(OneProgram, EmptyFieldsKeepTheLogDialogsOpenSayingWhatToChoose) {
    createSector();
    TBtnRightDlg1* dialog = form->BtnRightDlg1;
    dialog->show();
    dialog->SaveToField->clear();
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("Save to")))
        << messages.messages()[0].text.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    messages.clear();
    dialog->SectorField->clear();
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("Choose the sector")));
    EXPECT_TRUE(dialog->isVisible());
    dialog->hide();

    // The alien log proposes its log the same way.
    EXPECT_EQ(form->BtnRightDlg2->SaveToField->text(), ws->file(QStringLiteral("log/starlog-race0")));
}

TEST_F(OneProgram, TheMergerSaysWhichSectorIsStillToChooseAndStaysOpen) {
    TFormMerger* merger = form->FormMerger;
    merger->show();
    QTest::mouseClick(merger->Button1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("Choose the main sector")))
        << messages.messages()[0].text.toStdString();
    EXPECT_TRUE(merger->isVisible());
    messages.clear();
    createSector();
    messages.clear();
    QTest::mouseClick(merger->Button1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text,
              QStringLiteral("Choose the sector to add to %1: click the \"Sector to add\" field and pick its .sun file")
                  .arg(ws->file(QStringLiteral("starlog"))));
    EXPECT_TRUE(merger->isVisible());
    merger->hide();
}

TEST(CreateSectorHints, EveryBoxSaysWhatItDoesUnderItsOwnCaption) {
    AppState state;
    TBtnRightDlg dialog(state);
    for (QCheckBox* box : {dialog.CheckBox1, dialog.CheckBox2, dialog.CheckBox3, dialog.CheckBox4, dialog.NamesBox})
        EXPECT_FALSE(box->toolTip().isEmpty()) << box->text().toStdString();
    EXPECT_EQ(dialog.CheckBox1->text(), QStringLiteral("Gaia"));
    EXPECT_EQ(dialog.CheckBox2->text(), QStringLiteral("Tot. al disable"));
    EXPECT_EQ(dialog.CheckBox3->text(), QStringLiteral("New file"));
    EXPECT_TRUE(dialog.CheckBox3->toolTip().contains(QStringLiteral("add")));
    EXPECT_TRUE(dialog.CheckBox2->toolTip().contains(QStringLiteral("alien")));
    EXPECT_TRUE(dialog.Edit9->toolTip().contains(QStringLiteral("spatial age")));
}

// ------------------------------------------------ the Atlas's controls

struct AtlasControls : ::testing::Test {
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        ws = std::make_unique<test::Workspace>(QStringLiteral("atlas-controls-") + QString::fromLatin1(info->name()));
        test::makeSector(ws->base(QStringLiteral("deep")), 12, 40, false, 5);
        window = std::make_unique<AtlasWindow>(ws->file(QStringLiteral("orrwin.ini")));
        window->resize(1100, 700);
        window->show();
        ASSERT_TRUE(window->openSector(ws->file(QStringLiteral("deep"))));
        window->setView(1);  // top: the slab runs along z
        QApplication::processEvents();
    }
    std::unique_ptr<test::Workspace> ws;
    MessageCapture messages;
    std::unique_ptr<AtlasWindow> window;
};

TEST_F(AtlasControls, ASlabBoxTakesItsNumberWhenTheEditingIsFinished) {
    ASSERT_GE(window->SlabTo->maximum(), 11);
    window->SlabFrom->setValue(10);
    window->SlabTo->setValue(10);
    window->SlabTo->setFocus();
    window->SlabTo->selectAll();
    QTest::keyClicks(window->SlabTo, QStringLiteral("11"));
    QTest::keyClick(window->SlabTo, Qt::Key_Return);
    EXPECT_EQ(window->SlabFrom->value(), 10);
    EXPECT_EQ(window->SlabTo->value(), 11);
}

TEST_F(AtlasControls, AResultOutsideTheSlabMovesTheSlabToShowIt) {
    // Every system listed: those within any distance of system 0.
    window->selectSystem(0);
    window->SlabFrom->setValue(0);
    window->SlabTo->setValue(1);
    window->WithinSpin->setValue(1000.0);
    QTest::mouseClick(window->SearchBtn, Qt::LeftButton);
    QTableWidgetItem* outside = nullptr;
    for (int row = 0; row < window->Matches->rowCount() && outside == nullptr; ++row) {
        if (window->Matches->item(row, 4)->data(Qt::UserRole).toInt() > 5) outside = window->Matches->item(row, 0);
    }
    ASSERT_NE(outside, nullptr);
    const int id = outside->data(Qt::UserRole).toInt();
    const int z = window->Matches->item(outside->row(), 4)->data(Qt::UserRole).toInt();
    window->Matches->scrollToItem(outside);
    QTest::mouseClick(window->Matches->viewport(), Qt::LeftButton, Qt::NoModifier,
                      window->Matches->visualItemRect(outside).center());
    ASSERT_EQ(window->selectedSystem(), id);
    EXPECT_EQ(window->SlabTo->value(), z) << "moved just far enough";
    EXPECT_EQ(window->SlabFrom->value(), z - 1) << "and as deep as it was";
    const auto& dots = window->Map->scene().dots;
    EXPECT_TRUE(std::any_of(dots.begin(), dots.end(), [&](const AtlasDot& d) { return d.id == id; }));
    // A system inside the slab leaves it where it is.
    window->selectSystem(id);
    EXPECT_EQ(window->SlabFrom->value(), z - 1);
}

TEST_F(AtlasControls, OneJumpIsOneJumpAndAnUnknownEndClearsTheLegs) {
    window->RouteFrom->setText(QStringLiteral("0"));
    window->RouteTo->setText(QStringLiteral("1"));
    window->JumpSpin->setValue(1000.0);
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    ASSERT_EQ(window->Legs->rowCount(), 1) << window->RouteStatus->text().toStdString();
    EXPECT_TRUE(window->RouteStatus->text().startsWith(QStringLiteral("1 jump,")))
        << window->RouteStatus->text().toStdString();
    window->RouteTo->setText(QStringLiteral("nowhere at all"));
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    EXPECT_EQ(window->Legs->rowCount(), 0);
    EXPECT_TRUE(window->RouteStatus->text().contains(QStringLiteral("nowhere at all")));
}

TEST_F(AtlasControls, RacesAreCalledByTheirNames) {
    const std::string base = ws->base(QStringLiteral("deep"));
    AtlasSession session;
    session.open(base);
    for (std::int32_t id = 0; id < session.systemCount(); ++id) {
        const std::vector<std::int32_t> races = session.racesOf(id);
        if (races.empty()) continue;
        const auto name = storedName(base, NameKind::Race, races.front());
        ASSERT_TRUE(name.has_value()) << "the sector names its races";
        const QString called = QString::fromStdString(*name);
        window->selectSystem(id);
        auto* button = window->RaceButtons->findChild<QPushButton*>(QStringLiteral("RaceLogBtn%1").arg(races.front()));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->text().startsWith(called)) << button->text().toStdString();
        EXPECT_TRUE(button->toolTip().contains(called));
        button->click();
        QWidget* log = window->findChild<QWidget*>(QStringLiteral("LogWindow"));
        ASSERT_NE(log, nullptr);
        EXPECT_TRUE(log->windowTitle().contains(called)) << log->windowTitle().toStdString();
        return;
    }
    GTEST_FAIL() << "no system with a native race";
}

}  // namespace
}  // namespace orrimar::ui

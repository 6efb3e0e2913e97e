// The launch pad's status line: after each command it says what the command
// made and where, until the next command; nothing after a failure or Cancel.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "engine/engine.h"
#include "names/named_things.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "tools/sector_check.h"
#include "ui/alien_generator_dialog.h"
#include "ui/create_sector_dialog.h"
#include "ui/export_dialog.h"
#include "ui/file_field.h"
#include "ui/log_dialogs.h"
#include "ui/main_window.h"
#include "ui/tool_dialogs.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

struct StatusLine : ::testing::Test {
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        ws = std::make_unique<test::Workspace>(QStringLiteral("status-") + QString::fromLatin1(info->name()));
        QDir().mkpath(QStringLiteral("program"));
        StartupOptions options;
        options.programDir = ws->file(QStringLiteral("program")) + QLatin1Char('/');
        options.userConfigDir = ws->file(QStringLiteral("config"));
        options.starter = [](const QString&, const QString&) { return false; };
        options.screens = {QRect(0, 0, 1920, 1080)};
        form = std::make_unique<TForm1>(options);
    }
    // Runs `dialog` as its launch pad button does, `act` playing the user
    // once the dialog is open; returns the status line after it closed.
    QString run(QDialog* dialog, const std::function<void()>& act, const std::function<void()>& open = {}) {
        QTimer::singleShot(0, dialog, act);
        if (open) {
            open();
        } else {
            form->runCommand(dialog);
        }
        return form->StatusLine->text();
    }
    QString status() const { return form->StatusLine->text(); }
    static QString count(std::int64_t n) { return QString::fromStdString(groupedCount(n)); }

    std::unique_ptr<test::Workspace> ws;
    std::unique_ptr<TForm1> form;
    MessageCapture messages;
};

TEST_F(StatusLine, CreateSectorNamesCountsPathAndSeedThenAppends) {
    TBtnRightDlg* dialog = form->BtnRightDlg;
    dialog->Edit1->setText(QStringLiteral("reach"));
    dialog->Edit7->setText(QStringLiteral("4"));
    dialog->Edit6->setText(QStringLiteral("60"));
    dialog->SeedEdit->setText(QStringLiteral("4242"));
    const QString made = run(dialog, [dialog] { dialog->OKBtnClick(); });
    const SectorCheckReport first = CheckSector(ws->base(QStringLiteral("reach")));
    ASSERT_GT(first.systems, 0);
    EXPECT_EQ(made, QStringLiteral("Wrote sector %1: %2 systems, %3 planets, %4 moons, %5 races (seed 4242)")
                        .arg(ws->file(QStringLiteral("reach")), count(first.systems), count(first.planets),
                             count(first.moons), count(first.races)));

    // The same run appended to the sector counts what this run added
    // (over the cells the first run filled, once the user says so).
    dialog->CheckBox3->setChecked(false);
    messages.answerQuestions(true);
    const QString appended = run(dialog, [dialog] { dialog->OKBtnClick(); });
    const SectorCheckReport both = CheckSector(ws->base(QStringLiteral("reach")));
    EXPECT_EQ(appended, QStringLiteral("Appended to sector %1: %2 systems, %3 planets, %4 moons, %5 races (seed 4242)")
                            .arg(ws->file(QStringLiteral("reach")), count(both.systems - first.systems),
                                 count(both.planets - first.planets), count(both.moons - first.moons),
                                 count(both.races - first.races)));

    // Closed with Cancel: the line of the run before does not stay.
    EXPECT_EQ(run(dialog, [dialog] { dialog->CancelBtn->click(); }), QString());
}

TEST_F(StatusLine, CreateSectorWithNoSystemSaysItWroteNothing) {
    CreateSectorResult none;
    none.seed = 9;
    none.cellsVisited = 1000;
    CreateSectorParams params;
    params.baseName = "empty.sun";
    params.newFile = true;
    EXPECT_EQ(createSectorReport(none, params),
              QStringLiteral("Wrote nothing: no system in 1,000 cells (seed 9); %1 left as it was")
                  .arg(ws->file(QStringLiteral("empty"))));
    none.cancelled = true;
    none.systems = 1234;
    EXPECT_EQ(
        createSectorReport(none, params),
        QStringLiteral("Cancelled; wrote so far to sector %1: 1,234 systems, 0 planets, 0 moons, 0 races (seed 9)")
            .arg(ws->file(QStringLiteral("empty"))));
}

TEST_F(StatusLine, SystemLogAndSectorReportNameTheirFiles) {
    test::makeSector(ws->base(QStringLiteral("starlog")), 3, 100);
    TBtnRightDlg1* log = form->BtnRightDlg1;
    setNextFileName(ws->file(QStringLiteral("sys2.log")), 1);
    ASSERT_TRUE(log->SaveToField->choose());
    log->SystemIdField->setText(QStringLiteral("2"));
    // The sector names its systems; the line gives the name as the command
    // line's success line does.
    const auto name = storedName(ws->base(QStringLiteral("starlog")), NameKind::System, 2);
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(run(log, [log] { log->OKBtn->click(); }),
              QStringLiteral("Wrote system log of system 2 (%1) to ").arg(QString::fromStdString(*name)) +
                  ws->file(QStringLiteral("sys2.log")));

    // A system that is not there: the message box says so, the line is empty.
    log->SystemIdField->setText(QStringLiteral("999"));
    EXPECT_EQ(run(log, [log] { log->OKBtn->click(); }), QString());
    ASSERT_EQ(messages.messages().size(), 1u);
    messages.clear();

    TForm5* report = form->Form5;
    setNextFileName(ws->file(QStringLiteral("report.map")));
    ASSERT_TRUE(report->SaveToField->choose());
    EXPECT_EQ(run(report, [report] { report->OKBtn->click(); }),
              QStringLiteral("Wrote sector report to %1.map and %1.html").arg(ws->file(QStringLiteral("report"))));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(StatusLine, AlienLogAndAlienGeneratorNameRaceAndFile) {
    engine::main_alien(15, 2, 10, 1.0f, 1, ws->base(QStringLiteral("made")), 0, 0, 100);
    TBtnRightDlg2* log = form->BtnRightDlg2;
    setNextFileName(ws->file(QStringLiteral("made.aln")));
    ASSERT_TRUE(log->FileNameField->choose());
    setNextFileName(ws->file(QStringLiteral("race0.log")), 1);
    ASSERT_TRUE(log->SaveToField->choose());
    EXPECT_EQ(run(
                  log, [log] { log->OKBtn->click(); }, [this] { form->AlienLogClick(); }),
              QStringLiteral("Wrote alien log of race 0 to ") + ws->file(QStringLiteral("race0.log")));
    EXPECT_TRUE(messages.messages().empty());

    TForm6* generator = form->Form6;
    setNextFileName(ws->file(QStringLiteral("order.html")), 2);
    ASSERT_TRUE(generator->Edit2->choose());
    EXPECT_EQ(run(
                  generator, [generator] { generator->OKBtn->click(); }, [this] { form->AlienGenClick(); }),
              QStringLiteral("Wrote alien log of a race made to order to ") + ws->file(QStringLiteral("order.html")));
    ASSERT_EQ(messages.messages().size(), 1u);  // the generator's own "Alien Logfile Done" stays
    EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Alien Logfile Done"));
}

TEST_F(StatusLine, ColoniesReportNamesRaceAndLog) {
    test::makeSectorWithColony(ws->base(QStringLiteral("col")), 3);
    TForm8* dialog = form->Form8;
    setNextFileName(ws->file(QStringLiteral("col.sun")));
    ASSERT_TRUE(dialog->SectorField->choose());
    setNextFileName(ws->file(QStringLiteral("owned.log")));
    ASSERT_TRUE(dialog->SaveToField->choose());
    dialog->RaceField->setText(QStringLiteral("3"));
    EXPECT_EQ(run(dialog, [dialog] { dialog->OKBtn->click(); }),
              QStringLiteral("Wrote colonies report of race 3 to ") + ws->file(QStringLiteral("owned.log")));
    // A race that is not a number writes nothing and says nothing here.
    dialog->RaceField->setText(QStringLiteral("x"));
    EXPECT_EQ(run(dialog, [dialog] { dialog->OKBtn->click(); }), QString());
}

TEST_F(StatusLine, MergerNamesEveryMergeOfTheOpening) {
    test::makeSector(ws->base(QStringLiteral("one")), 2, 100, true, 1);
    test::makeSector(ws->base(QStringLiteral("two")), 2, 100, true, 2);
    test::makeSector(ws->base(QStringLiteral("three")), 2, 100, true, 3);
    TFormMerger* merger = form->FormMerger;
    messages.answerQuestions(true);  // the three sectors hold the same cells
    const QString line = run(merger, [this, merger] {
        setNextFileName(ws->file(QStringLiteral("one.sun")));
        ASSERT_TRUE(merger->Edit1->choose());
        setNextFileName(ws->file(QStringLiteral("two.sun")));
        ASSERT_TRUE(merger->Edit2->choose());
        merger->Button1->click();
        setNextFileName(ws->file(QStringLiteral("three.sun")));
        ASSERT_TRUE(merger->Edit2->choose());
        merger->Button1->click();
        merger->Button2->click();  // the merger stays open until closed
    });
    EXPECT_EQ(line, QStringLiteral("Wrote the systems of %1 into %2; Wrote the systems of %3 into %2")
                        .arg(ws->file(QStringLiteral("two")), ws->file(QStringLiteral("one")),
                             ws->file(QStringLiteral("three"))));
    // Opened again and closed without merging: the line is gone.
    EXPECT_EQ(run(merger, [merger] { merger->Button2->click(); }), QString());
}

TEST_F(StatusLine, ExportNamesWhatAndWhereWithItsCounts) {
    test::makeSector(ws->base(QStringLiteral("reach")), 5, 50);
    const SectorCheckReport sector = CheckSector(ws->base(QStringLiteral("reach")));
    ExportDialog* dialog = form->ExportDlg;
    dialog->setEventInterval(0);
    dialog->SectorEdit->setText(ws->file(QStringLiteral("reach")));
    const QString expected = QStringLiteral("Wrote the %1 of %2 (%3 systems, %4 %5) to %6");
    const QString races = sector.races == 1 ? QStringLiteral("race") : QStringLiteral("races");
    dialog->FormatBox->setCurrentIndex(0);
    EXPECT_EQ(run(dialog, [dialog] { dialog->OKBtn->click(); }),
              expected.arg(QStringLiteral("JSON export"), ws->file(QStringLiteral("reach")), count(sector.systems),
                           count(sector.races), races, ws->file(QStringLiteral("reach.json"))));
    dialog->FormatBox->setCurrentIndex(2);
    EXPECT_EQ(run(dialog, [dialog] { dialog->OKBtn->click(); }),
              expected.arg(QStringLiteral("atlas"), ws->file(QStringLiteral("reach")), count(sector.systems),
                           count(sector.races), races, ws->file(QStringLiteral("reach-atlas"))));

    // Cancelled during the run: the line says the destination was left alone.
    test::makeSector(ws->base(QStringLiteral("wide")), 12, 60);
    dialog->SectorEdit->setText(ws->file(QStringLiteral("wide")));
    EXPECT_EQ(run(dialog,
                  [dialog] {
                      QTimer::singleShot(0, dialog, [dialog] { dialog->CancelBtn->click(); });
                      dialog->OKBtn->click();
                  }),
              QStringLiteral("Cancelled the atlas of %1; %2 left as it was")
                  .arg(ws->file(QStringLiteral("wide")), ws->file(QStringLiteral("wide-atlas"))));
}

TEST_F(StatusLine, StaysUntilTheNextCommandAndTheAtlasLeavesIt) {
    test::makeSector(ws->base(QStringLiteral("starlog")), 2, 100);
    TBtnRightDlg1* log = form->BtnRightDlg1;
    setNextFileName(ws->file(QStringLiteral("sys0.log")), 1);
    ASSERT_TRUE(log->SaveToField->choose());
    const QString wrote = run(log, [log] { log->OKBtn->click(); });
    ASSERT_FALSE(wrote.isEmpty());
    // Opening the atlas makes nothing: the line stays.
    form->AtlasClick();
    EXPECT_EQ(status(), wrote);
    // The next command's opening empties it, even when it ends by Cancel.
    EXPECT_EQ(run(form->Form5, [this] { form->Form5->CancelBtn->click(); }), QString());
}

}  // namespace
}  // namespace orrimar::ui

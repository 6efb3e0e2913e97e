#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "engine/engine.h"
#include "ui/file_field.h"
#include "ui/log_dialogs.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

struct LogDialogs : ::testing::Test {
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        ws = std::make_unique<test::Workspace>(QStringLiteral("log-") + QString::fromLatin1(info->name()));
        test::makeSector(ws->base(QStringLiteral("sector")), 2, 100);
    }
    std::unique_ptr<test::Workspace> ws;
    MessageCapture messages;
};

TEST_F(LogDialogs, SystemLogDefaultsAndDialogs) {
    TBtnRightDlg1 dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("System Logfile"));
    EXPECT_EQ(dialog.SectorField->text(), QStringLiteral("starlog"));
    EXPECT_EQ(dialog.SaveToField->text(), QDir::current().absoluteFilePath(QStringLiteral("starlog-system0")));
    EXPECT_EQ(dialog.SystemIdField->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.SectorField->request().filters, QStringList{QStringLiteral("Star files (*.sun)")});
    EXPECT_EQ(dialog.SaveToField->request().filters,
              (QStringList{QStringLiteral("Star log file (*.log)"), QStringLiteral("Html file (*.html)")}));
    EXPECT_EQ(dialog.SaveToField->request().initialDir, QStringLiteral("../log"));
    EXPECT_EQ(dialog.SaveToField->request().mode, FileDialogRequest::Mode::Save);
}

TEST_F(LogDialogs, SystemLogWritesTextOrHtmlByTheSaveDialogsFilter) {
    TBtnRightDlg1 dialog;
    dialog.show();
    setNextFileName(ws->file(QStringLiteral("sector.sun")));
    QTest::mouseClick(dialog.SectorField, Qt::LeftButton);
    setNextFileName(ws->file(QStringLiteral("system.log")), 1);
    QTest::mouseClick(dialog.SaveToField, Qt::LeftButton);
    dialog.SystemIdField->setText(QStringLiteral("1"));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
    EXPECT_FALSE(dialog.isVisible());
    const QString text = test::readText(ws->file(QStringLiteral("system.log")));
    EXPECT_FALSE(text.isEmpty());
    EXPECT_FALSE(text.contains(QStringLiteral("<html"), Qt::CaseInsensitive));

    dialog.show();
    setNextFileName(ws->file(QStringLiteral("system.html")), 2);
    QTest::mouseClick(dialog.SaveToField, Qt::LeftButton);
    EXPECT_EQ(dialog.SaveToField->text(), ws->file(QStringLiteral("system.")));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_TRUE(
        test::readText(ws->file(QStringLiteral("system.html"))).contains(QStringLiteral("<html"), Qt::CaseInsensitive));
}

TEST_F(LogDialogs, SystemLogWithoutALogFileStaysWithABadIdSaysSoAndCloses) {
    TBtnRightDlg1 dialog;
    dialog.show();
    dialog.SectorField->setText(ws->file(QStringLiteral("sector")));
    EXPECT_EQ(dialog.SaveToField->text(), ws->file(QStringLiteral("sector-system0"))) << "a log beside the sector";
    dialog.SaveToField->clear();
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("Choose the file to save the log to")));
    EXPECT_TRUE(dialog.isVisible()) << "nothing written: the dialog waits for the choice";

    messages.clear();
    setNextFileName(ws->file(QStringLiteral("bad.log")));
    ASSERT_TRUE(dialog.SaveToField->choose());
    dialog.SystemIdField->setText(QStringLiteral("99x"));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("99"))) << "the partial value is passed on";
}

TEST_F(LogDialogs, AlienLogOutputListAndItsMessages) {
    TBtnRightDlg2 dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Alien Logfile"));
    EXPECT_EQ(dialog.FileNameField->request().defaultExtension, QStringLiteral("aln"));
    EXPECT_EQ(dialog.SaveToField->request().filters.value(1), QStringLiteral("Html log file (*.html)"));
    ASSERT_EQ(dialog.OutputList->count(), 6);
    EXPECT_EQ(dialog.OutputList->itemText(0), QStringLiteral("Standard"));
    EXPECT_EQ(dialog.OutputList->itemText(5), QStringLiteral("Fuzion"));

    // Output typed over instead of chosen: no output system, no file.
    dialog.show();
    dialog.OutputList->setCurrentIndex(3);
    dialog.OutputList->setEditText(QStringLiteral("Gurpz"));
    setNextFileName(ws->file(QStringLiteral("race.log")));
    ASSERT_TRUE(dialog.SaveToField->choose());
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("race.log"))), -1);
    EXPECT_FALSE(dialog.isVisible());

    // Re-opening resets Output to "Standard" and keeps the other fields.
    dialog.AlienIdField->setText(QStringLiteral("4"));
    dialog.fillOutputList();
    EXPECT_EQ(chosenIndex(dialog.OutputList), 0);
    EXPECT_EQ(dialog.AlienIdField->text(), QStringLiteral("4"));
    EXPECT_EQ(dialog.SaveToField->text(), ws->file(QStringLiteral("race")));
}

TEST_F(LogDialogs, AlienLogWritesTheRaceInTheChosenOutputSystem) {
    // One race made to order: race file "made.aln", race id 0.
    engine::main_alien(15, 2, 10, 1.0f, 1, ws->base(QStringLiteral("made")), 0, 0, 100);
    TBtnRightDlg2 dialog;
    dialog.show();
    setNextFileName(ws->file(QStringLiteral("made.aln")));
    QTest::mouseClick(dialog.FileNameField, Qt::LeftButton);
    EXPECT_EQ(dialog.FileNameField->text(), ws->file(QStringLiteral("made")));
    QString standard;
    for (int output : {0, 3}) {
        dialog.show();
        setNextFileName(ws->file(QStringLiteral("race%1.log").arg(output)));
        ASSERT_TRUE(dialog.SaveToField->choose());
        dialog.fillOutputList();
        dialog.OutputList->setCurrentIndex(output);
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
        EXPECT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
        EXPECT_GT(test::fileSize(ws->file(QStringLiteral("race%1.log").arg(output))), 0);
    }
    // The output system reaches the log: "Gurps" differs from "Standard".
    EXPECT_NE(test::readText(ws->file(QStringLiteral("race0.log"))),
              test::readText(ws->file(QStringLiteral("race3.log"))));
}

TEST_F(LogDialogs, AlienLogWithoutALogFileCreatesNothingAndStays) {
    TBtnRightDlg2 dialog;
    dialog.show();
    dialog.SaveToField->clear();
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("Choose the file to save the log to")));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(LogDialogs, SectorReportPassesTheSaveToTextAndTheFourBoxes) {
    TForm5 dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sector Report"));
    for (QCheckBox* box : {dialog.SystemsBox, dialog.AlienRacesBox, dialog.SummaryBox, dialog.EmpiresBox})
        EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(dialog.SaveToField->request().defaultExtension, QStringLiteral("map"));
    dialog.show();
    setNextFileName(ws->file(QStringLiteral("sector.sun")));
    QTest::mouseClick(dialog.FileNameField, Qt::LeftButton);
    setNextFileName(ws->file(QStringLiteral("report.map")));
    QTest::mouseClick(dialog.SaveToField, Qt::LeftButton);
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
    EXPECT_FALSE(dialog.isVisible());
    const QString full = test::readText(ws->file(QStringLiteral("report.map")));
    EXPECT_FALSE(full.isEmpty());

    // All four boxes off still writes a report, a shorter one.
    dialog.show();
    for (QCheckBox* box : {dialog.SystemsBox, dialog.AlienRacesBox, dialog.SummaryBox, dialog.EmpiresBox})
        QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    const QString bare = test::readText(ws->file(QStringLiteral("report.map")));
    EXPECT_LT(bare.size(), full.size());
}

TEST_F(LogDialogs, MissingSectorIsAnErrorBoxAndTheDialogCloses) {
    TForm5 dialog;
    dialog.show();
    dialog.FileNameField->setText(ws->file(QStringLiteral("absent")));
    dialog.SaveToField->setText(ws->file(QStringLiteral("report")));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_FALSE(messages.messages()[0].text.isEmpty());
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace orrimar::ui

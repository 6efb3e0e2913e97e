#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "records/record_file.h"
#include "records/records.h"
#include "tools/sector_check.h"
#include "ui/file_field.h"
#include "ui/tool_dialogs.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

TEST(MergerDialog, MergesTheChosenSectorsAndStaysOpen) {
    test::Workspace ws(QStringLiteral("merge"));
    MessageCapture messages;
    test::makeSector(ws.base(QStringLiteral("one")), 2, 100, true, 1);
    test::makeSector(ws.base(QStringLiteral("two")), 3, 100, true, 2);
    const SectorCheckReport one = CheckSector(ws.base(QStringLiteral("one")));
    const SectorCheckReport two = CheckSector(ws.base(QStringLiteral("two")));

    TFormMerger dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Sector Merger "));
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("starlog1"));
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("starlog2"));
    EXPECT_TRUE(dialog.Edit1->request().initialDir.isEmpty()) << "the merger's dialogs open where the user is";
    EXPECT_EQ(dialog.mainBaseName(), QStringLiteral("starlog1")) << "what the field shows";
    dialog.show();
    setNextFileName(ws.file(QStringLiteral("one.sun")));
    QTest::mouseClick(dialog.Edit1, Qt::LeftButton);
    setNextFileName(ws.file(QStringLiteral("two.sun")));
    QTest::mouseClick(dialog.Edit2, Qt::LeftButton);
    EXPECT_EQ(dialog.mainBaseName(), ws.file(QStringLiteral("one")));
    EXPECT_EQ(dialog.addedBaseName(), ws.file(QStringLiteral("two")));
    // Both sectors start at the origin: the merge doubles four cells, and
    // goes ahead once the user says so.
    messages.answerQuestions(true);
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("4 systems")))
        << messages.messages()[0].text.toStdString();
    EXPECT_EQ(messages.messages()[1].title, QStringLiteral("Orrimar"));
    EXPECT_EQ(messages.messages()[1].text, QStringLiteral("The 2 sectors have been merged"));
    EXPECT_TRUE(dialog.isVisible());

    const SectorCheckReport merged = CheckSector(ws.base(QStringLiteral("one")));
    EXPECT_TRUE(merged.sound());
    EXPECT_EQ(merged.systems, one.systems + two.systems);
    EXPECT_EQ(merged.planets, one.planets + two.planets);
    EXPECT_EQ(merged.moons, one.moons + two.moons);
    EXPECT_EQ(merged.races, one.races + two.races);

    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(MergerDialog, AFailedMergeIsReportedWithoutTheMergedMessage) {
    test::Workspace ws(QStringLiteral("merge-fail"));
    MessageCapture messages;
    test::makeSector(ws.base(QStringLiteral("one")), 2, 100);
    const std::int64_t before = test::fileSize(ws.file(QStringLiteral("one.sun")));
    TFormMerger dialog;
    dialog.show();
    setNextFileName(ws.file(QStringLiteral("one.sun")));
    ASSERT_TRUE(dialog.Edit1->choose());
    setNextFileName(ws.file(QStringLiteral("absent.sun")));
    ASSERT_TRUE(dialog.Edit2->choose());
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_NE(messages.messages()[0].text, QStringLiteral("The 2 sectors have been merged"));
    EXPECT_EQ(test::fileSize(ws.file(QStringLiteral("one.sun"))), before);
    EXPECT_TRUE(dialog.isVisible());
}

// A main sector torn at its end is refused; the dialog offers the repair,
// which cuts it back only when the user says Yes.
TEST(MergerDialog, ATornMainSectorIsOfferedTheRepair) {
    test::Workspace ws(QStringLiteral("merge-torn"));
    MessageCapture messages;
    test::makeSector(ws.base(QStringLiteral("one")), 2, 100, true, 1);
    test::makeSector(ws.base(QStringLiteral("two")), 2, 100, true, 2);
    const QString planets = ws.file(QStringLiteral("one.pln"));
    const std::int64_t whole = test::fileSize(planets);
    {
        QFile file(planets);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QByteArray(70, '\0'));  // a torn planet record
    }
    TFormMerger dialog;
    dialog.show();
    setNextFileName(ws.file(QStringLiteral("one.sun")));
    ASSERT_TRUE(dialog.Edit1->choose());
    setNextFileName(ws.file(QStringLiteral("two.sun")));
    ASSERT_TRUE(dialog.Edit2->choose());

    QTest::mouseClick(dialog.Button1, Qt::LeftButton);  // No: nothing changes
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("Repair it now")))
        << messages.messages()[0].text.toStdString();
    EXPECT_EQ(test::fileSize(planets), whole + 70);

    messages.clear();
    messages.answerQuestions(true);
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_TRUE(messages.messages()[1].text.contains(QStringLiteral("removed a torn record of 70 bytes")))
        << messages.messages()[1].text.toStdString();
    EXPECT_EQ(test::fileSize(planets), whole);

    // Repaired, the merge is asked about (both sectors hold the same four
    // cells) before it runs: a torn sector is said before any question.
    messages.clear();
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("4 systems")))
        << messages.messages()[0].text.toStdString();
    EXPECT_EQ(messages.messages()[1].text, QStringLiteral("The 2 sectors have been merged"));
    EXPECT_TRUE(CheckSector(ws.base(QStringLiteral("one"))).sound());
}

TEST(ColoniesDialog, WritesTheReportOfTheChosenSectorAndRace) {
    test::Workspace ws(QStringLiteral("colonies"));
    MessageCapture messages;
    test::makeSectorWithColony(ws.base(QStringLiteral("col")), 3);
    ASSERT_GT(CheckSector(ws.base(QStringLiteral("col"))).planets, 0);

    TForm8 dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Colonies Report Log"));
    EXPECT_EQ(dialog.RaceField->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog.SectorField->request().initialFileName, QStringLiteral("ColonyLog"));
    EXPECT_EQ(dialog.SaveToField->request().filters, QStringList{QStringLiteral("Logfiles (*.log)")});
    dialog.show();
    setNextFileName(ws.file(QStringLiteral("col.sun")));
    QTest::mouseClick(dialog.SectorField, Qt::LeftButton);
    setNextFileName(ws.file(QStringLiteral("ColonyLog.log")));
    QTest::mouseClick(dialog.SaveToField, Qt::LeftButton);
    // The report uses what the fields show: a sector typed over is the one read.
    dialog.SectorField->setText(QStringLiteral("elsewhere"));
    dialog.RaceField->setText(QStringLiteral("3"));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("elsewhere")))
        << messages.messages()[0].text.toStdString();
    EXPECT_EQ(test::fileSize(ws.file(QStringLiteral("ColonyLog.log"))), -1);
    messages.clear();
    dialog.show();
    setNextFileName(ws.file(QStringLiteral("col.sun")));
    QTest::mouseClick(dialog.SectorField, Qt::LeftButton);
    EXPECT_EQ(dialog.sectorBaseName(), ws.file(QStringLiteral("col")));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
    EXPECT_FALSE(dialog.isVisible());
    const QString report = test::readText(ws.file(QStringLiteral("ColonyLog.log")));
    EXPECT_TRUE(report.startsWith(QStringLiteral("   Colonies owned by Race [     3 ]\r\n"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Colony: 0\r\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("Systems controlled: 1\r\n")));
}

TEST(ColoniesDialog, ARaceThatIsNotANumberOrOutOfRangeIsRefused) {
    test::Workspace ws(QStringLiteral("colonies-race"));
    MessageCapture messages;
    test::makeSector(ws.base(QStringLiteral("col")), 1, 100);
    TForm8 dialog;
    setNextFileName(ws.file(QStringLiteral("col.sun")));
    ASSERT_TRUE(dialog.SectorField->choose());
    setNextFileName(ws.file(QStringLiteral("out.log")));
    ASSERT_TRUE(dialog.SaveToField->choose());
    for (const QString& race : {QStringLiteral("abc"), QStringLiteral("-1"), QStringLiteral("65535")}) {
        messages.clear();
        dialog.show();
        dialog.RaceField->setText(race);
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
        ASSERT_EQ(messages.messages().size(), 1u) << race.toStdString();
        EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(test::fileSize(ws.file(QStringLiteral("out.log"))), -1);
    }
}

}  // namespace
}  // namespace orrimar::ui

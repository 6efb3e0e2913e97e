// The questions before a command that would replace a sector or double its
// cells: No leaves every byte as it was, Yes runs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "records/sector_base.h"
#include "tools/sector_check.h"
#include "ui/app_state.h"
#include "ui/create_sector_dialog.h"
#include "ui/file_field.h"
#include "ui/sector_questions.h"
#include "ui/tool_dialogs.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

constexpr std::int64_t kSystemRecordSize = 196;

// Every file of the folder with its bytes.
QMap<QString, QByteArray> folderBytes(const QString& dir) {
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        files[path] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
    }
    return files;
}

struct AskBeforeCreate : ::testing::Test {
    void open(const QString& name) {
        ws = std::make_unique<test::Workspace>(name);
        state.programDir = ws->path() + QLatin1Char('/');
        state.settingsPath = ws->file(QStringLiteral("orrwin.ini"));
        dialog = std::make_unique<TBtnRightDlg>(state);
        dialog->show();
    }
    // A flat block of `size` x `size` cells, every one holding a system.
    void setBlock(const QString& file, int x, int size, bool newFile) {
        dialog->Edit1->setText(file);
        dialog->Edit3->setText(QString::number(x));
        dialog->Edit7->setText(QString::number(size));
        dialog->Edit6->setText(QStringLiteral("100"));
        dialog->CheckBox4->setChecked(true);
        dialog->CheckBox3->setChecked(newFile);
    }

    std::unique_ptr<test::Workspace> ws;
    AppState state;
    std::unique_ptr<TBtnRightDlg> dialog;
    MessageCapture messages;
};

TEST_F(AskBeforeCreate, CreatingOverASectorAsksNoKeepsEveryByteYesReplaces) {
    open(QStringLiteral("ask-replace"));
    const QString base = ws->file(QStringLiteral("old"));
    test::makeSector(base.toStdString(), 3, 100);  // 9 systems, named "test"
    const auto before = folderBytes(ws->path());

    setBlock(base, 0, 2, true);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Create Sector"));
    EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Replace sector test (9 systems)?"));
    EXPECT_EQ(folderBytes(ws->path()), before);
    EXPECT_FALSE(dialog->lastRun().has_value());
    EXPECT_TRUE(dialog->isVisible()) << "No returns to the fields, to choose another file";

    messages.clear();
    messages.answerQuestions(true);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1U);
    ASSERT_TRUE(dialog->lastRun().has_value());
    EXPECT_EQ(dialog->lastRun()->systems, 4);
    EXPECT_EQ(test::fileSize(base + QStringLiteral(".sun")), 4 * kSystemRecordSize);
    EXPECT_TRUE(CheckSector(base.toStdString()).sound());
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(AskBeforeCreate, TheQuestionNamesTheSectorByItsBaseNameWithoutANameAndGroupsItsCount) {
    open(QStringLiteral("ask-names"));
    const QString base = ws->file(QStringLiteral("plain"));
    test::makeSector(base.toStdString(), 2, 100);
    EXPECT_EQ(replaceSectorQuestion(base.toStdString(), 1341), QStringLiteral("Replace sector test (1,341 systems)?"));
    QFile::remove(base + QStringLiteral(".nam"));
    EXPECT_EQ(replaceSectorQuestion(base.toStdString(), 1341),
              QStringLiteral("Replace sector %1 (1,341 systems)?").arg(base));
    EXPECT_EQ(appendOverlapQuestion(1200),
              QStringLiteral("1,200 cells of this block already hold systems; appending may put a second system in "
                             "them. Append anyway?"));
    // Nothing there yet: created without a question.
    setBlock(ws->file(QStringLiteral("fresh")), 0, 1, true);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("fresh.sun"))), kSystemRecordSize);
}

TEST_F(AskBeforeCreate, AppendingAsksOnlyWhenTheBlockOverlapsHeldCells) {
    open(QStringLiteral("ask-append"));
    const QString base = ws->file(QStringLiteral("held"));
    test::makeSector(base.toStdString(), 2, 100);  // cells (0..1, 0..1, 0)
    const auto before = folderBytes(ws->path());

    // Corner 1: the block 1..3 x 0..2 covers two held cells.
    setBlock(base, 1, 3, false);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(messages.messages()[0].text, appendOverlapQuestion(2));
    EXPECT_EQ(folderBytes(ws->path()), before);

    // Beside the sector: no question, four systems appended.
    messages.clear();
    setBlock(base, 2, 2, false);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
    EXPECT_EQ(test::fileSize(base + QStringLiteral(".sun")), 8 * kSystemRecordSize);

    // Yes appends over the held cells.
    dialog->show();
    messages.answerQuestions(true);
    setBlock(base, 1, 3, false);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(messages.messages()[0].text, appendOverlapQuestion(6));
    EXPECT_EQ(test::fileSize(base + QStringLiteral(".sun")), 17 * kSystemRecordSize);
}

TEST(AskBeforeMerge, AMergeThatWouldDoubleCellsAsksFirstAndNoChangesNothing) {
    test::Workspace ws(QStringLiteral("ask-merge"));
    MessageCapture messages;
    test::makeSector(ws.base(QStringLiteral("one")), 2, 100, true, 1);
    test::makeSector(ws.base(QStringLiteral("two")), 3, 100, true, 2);
    const auto before = folderBytes(ws.path());
    TFormMerger dialog;
    dialog.show();
    setNextFileName(ws.file(QStringLiteral("one.sun")));
    ASSERT_TRUE(dialog.Edit1->choose());
    setNextFileName(ws.file(QStringLiteral("two.sun")));
    ASSERT_TRUE(dialog.Edit2->choose());

    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Sector Merger"));
    EXPECT_EQ(messages.messages()[0].text, mergeOverlapQuestion(4));
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("4 systems of the sector to add")));
    EXPECT_EQ(folderBytes(ws.path()), before);
    EXPECT_TRUE(dialog.lastResult.isEmpty());

    messages.clear();
    messages.answerQuestions(true);
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 2U);
    EXPECT_EQ(messages.messages()[1].text, QStringLiteral("The 2 sectors have been merged"));
    EXPECT_EQ(test::fileSize(ws.file(QStringLiteral("one.sun"))), 13 * kSystemRecordSize);
}

}  // namespace
}  // namespace orrimar::ui

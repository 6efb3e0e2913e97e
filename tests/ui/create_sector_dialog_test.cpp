#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <vector>

#include "tools/sector_check.h"
#include "ui/app_state.h"
#include "ui/create_sector_dialog.h"
#include "ui/file_field.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

constexpr std::int64_t kSystemRecordSize = 196;

QByteArray wholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct CreateSectorFixture : ::testing::Test {
    void open(const QString& name) {
        ws = std::make_unique<test::Workspace>(name);
        state.programDir = ws->path() + QLatin1Char('/');
        state.settingsPath = ws->file(QStringLiteral("orrwin.ini"));
        dialog = std::make_unique<TBtnRightDlg>(state);
        dialog->show();
    }
    void setFields(const QString& file, const QString& size, const QString& density, bool flat) {
        dialog->Edit1->setText(file);
        dialog->Edit7->setText(size);
        dialog->Edit6->setText(density);
        dialog->CheckBox4->setChecked(flat);
    }

    std::unique_ptr<test::Workspace> ws;
    AppState state;
    std::unique_ptr<TBtnRightDlg> dialog;
    MessageCapture messages;
};

TEST_F(CreateSectorFixture, DefaultsCaptionsAndLimits) {
    open(QStringLiteral("cs-defaults"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Create Sector"));
    EXPECT_EQ(dialog->Edit8->text(), QStringLiteral("starlog"));
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("starlog"));
    EXPECT_EQ(dialog->Edit3->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog->Edit4->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog->Edit5->text(), QStringLiteral("0"));
    EXPECT_EQ(dialog->Edit6->text(), QStringLiteral("8"));
    EXPECT_EQ(dialog->Edit7->text(), QStringLiteral("25"));
    EXPECT_EQ(dialog->Edit9->text(), QStringLiteral("50"));
    EXPECT_FALSE(dialog->CheckBox1->isChecked());
    EXPECT_TRUE(dialog->CheckBox3->isChecked());
    EXPECT_FALSE(dialog->CheckBox2->isChecked());
    EXPECT_FALSE(dialog->CheckBox4->isChecked());
    EXPECT_EQ(dialog->CheckBox2->text(), QStringLiteral("Tot. al disable"));
    EXPECT_EQ(dialog->Gauge1->value(), 0);
    EXPECT_TRUE(dialog->OKBtn->isDefault());
    const FileDialogRequest& save = dialog->Edit1->request();
    EXPECT_EQ(save.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(save.defaultExtension, QStringLiteral("sun"));
    EXPECT_EQ(save.filters, QStringList{QStringLiteral("Star files (*.sun)")});
    EXPECT_EQ(save.initialDir, QStringLiteral("../data"));

    // Typed lengths: 50, 6, 3 and 2 characters.
    const std::vector<std::pair<QLineEdit*, int>> limits{
        {dialog->Edit8, 50}, {dialog->Edit3, 6}, {dialog->Edit6, 3}, {dialog->Edit7, 3}, {dialog->Edit9, 2}};
    for (const auto& [field, limit] : limits) {
        field->clear();
        QTest::keyClicks(field, QString(60, QLatin1Char('7')));
        EXPECT_EQ(field->text().size(), limit) << field->objectName().toStdString();
    }
}

TEST_F(CreateSectorFixture, SizeOutOfRangeShowsItsMessageAndTouchesNothing) {
    open(QStringLiteral("cs-size"));
    const struct {
        QString size;
        QString message;
    } cases[] = {{QStringLiteral("201"), QStringLiteral("Size should be inferior to 201")},
                 {QStringLiteral("0"), QStringLiteral("Size should be superior to 1")},
                 {QStringLiteral("-5"), QStringLiteral("Size should be superior to 1")}};
    for (const auto& c : cases) {
        messages.clear();
        setFields(QStringLiteral("refused"), c.size, QStringLiteral("100"), true);
        dialog->show();
        QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
        ASSERT_EQ(messages.messages().size(), 1u) << c.size.toStdString();
        EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
        EXPECT_EQ(messages.messages()[0].text, c.message);
        EXPECT_FALSE(dialog->isVisible()) << "the dialog closes after the message";
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("refused.sun"))), -1);
    }
}

TEST_F(CreateSectorFixture, NamesAndFilesThatCannotBeStoredAreRefusedByName) {
    open(QStringLiteral("cs-names"));
    const struct {
        QString name;
        QString file;
        QString message;
    } cases[] = {
        {QStringLiteral("\u03A9mega"), ws->file(QStringLiteral("refused")),
         QStringLiteral("The sector name cannot be stored: '\u03A9' (U+03A9) is not in the Windows ANSI code page")},
        {QStringLiteral("x"), ws->file(QStringLiteral("sub/")),
         ws->file(QStringLiteral("sub/")) +
             QStringLiteral(" is a folder, not a sector's base name: give one such as ") +
             ws->file(QStringLiteral("sub/alpha"))},
    };
    for (const auto& c : cases) {
        messages.clear();
        dialog->show();
        setFields(c.file, QStringLiteral("1"), QStringLiteral("100"), true);
        dialog->Edit8->setText(c.name);
        QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
        ASSERT_EQ(messages.messages().size(), 1u) << c.message.toStdString();
        EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
        EXPECT_EQ(messages.messages()[0].text, c.message);
        EXPECT_FALSE(dialog->lastRun().has_value());
    }
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("refused.sun"))), -1);
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("sub/.sun"))), -1);

    // Fifty accented letters fill the record's fifty characters.
    messages.clear();
    dialog->show();
    setFields(ws->file(QStringLiteral("accents")), QStringLiteral("1"), QStringLiteral("100"), true);
    dialog->Edit8->setText(QString(50, QChar(0xE9)));
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(wholeFile(ws->file(QStringLiteral("accents.nam"))).mid(8, 51),
              QByteArray(1, '\x32') + QByteArray(50, '\xE9'));
}

TEST_F(CreateSectorFixture, RunFillsTheGaugeToItsMaximumThenResetsIt) {
    open(QStringLiteral("cs-run"));
    setFields(ws->file(QStringLiteral("run")), QStringLiteral("3"), QStringLiteral("100"), true);
    std::vector<int> values;
    int maximum = 0;
    QObject::connect(dialog->Gauge1, &QProgressBar::valueChanged, [&](int value) {
        values.push_back(value);
        maximum = std::max(maximum, dialog->Gauge1->maximum());
    });
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty());
    ASSERT_TRUE(dialog->lastRun().has_value());
    EXPECT_EQ(dialog->lastRun()->cellsVisited, 9);
    EXPECT_EQ(dialog->lastRun()->systems, 9);
    EXPECT_EQ(maximum, 9);
    ASSERT_GE(values.size(), 2u);
    EXPECT_EQ(values[values.size() - 2], 9) << "the gauge ends full";
    EXPECT_EQ(values.back(), 0) << "and is reset after the run";
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("run.sun"))), 9 * kSystemRecordSize);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(CreateSectorFixture, InvalidSizeAndAgeAreReplacedAndARunFollows) {
    open(QStringLiteral("cs-invalid"));
    setFields(ws->file(QStringLiteral("ten")), QStringLiteral("x1"), QStringLiteral("0"), true);
    dialog->Edit9->setText(QStringLiteral("zz"));
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(dialog->Edit7->text(), QStringLiteral("10"));
    EXPECT_EQ(dialog->Edit9->text(), QStringLiteral("50"));
    ASSERT_TRUE(dialog->lastRun().has_value());
    EXPECT_EQ(dialog->lastRun()->cellsVisited, 100);
}

TEST_F(CreateSectorFixture, FieldsPersistFromOneOpeningToTheNext) {
    open(QStringLiteral("cs-persist"));
    dialog->Edit8->setText(QStringLiteral("Rim"));
    dialog->CheckBox2->setChecked(true);
    QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    dialog->show();
    EXPECT_EQ(dialog->Edit8->text(), QStringLiteral("Rim"));
    EXPECT_TRUE(dialog->CheckBox2->isChecked());
}

TEST_F(CreateSectorFixture, CancelDuringARunLeavesASoundSector) {
    open(QStringLiteral("cs-cancel"));
    setFields(ws->file(QStringLiteral("cut")), QStringLiteral("40"), QStringLiteral("100"), true);
    // Serve events after every cell, so the click lands during the run.
    dialog->setEventInterval(0);
    int cellsWhenClicked = -1;
    // The click arrives while the run serves its events after a few cells.
    QMetaObject::Connection armed = QObject::connect(dialog->Gauge1, &QProgressBar::valueChanged, [&](int value) {
        if (value < 5) return;
        QObject::disconnect(armed);
        QTimer::singleShot(0, dialog.get(), [&] {
            cellsWhenClicked = dialog->Gauge1->value();
            ASSERT_TRUE(dialog->running());
            QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
            EXPECT_TRUE(dialog->isVisible()) << "the dialog waits for the run to stop";
        });
    });
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_TRUE(dialog->lastRun().has_value());
    EXPECT_TRUE(dialog->lastRun()->cancelled);
    EXPECT_GE(cellsWhenClicked, 5);
    EXPECT_LT(dialog->lastRun()->cellsVisited, 1600);
    EXPECT_EQ(dialog->lastRun()->cellsVisited, cellsWhenClicked + 0) << "the run stops after the cell it was on";
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->Gauge1->value(), 0);

    const SectorCheckReport report = CheckSector(ws->base(QStringLiteral("cut")));
    EXPECT_TRUE(report.sound()) << (report.problems.empty() ? "" : report.problems.front());
    EXPECT_EQ(report.systems, dialog->lastRun()->systems);

    // A Cancel click while idle does not stop the next run.
    dialog->show();
    QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
    dialog->show();
    setFields(ws->file(QStringLiteral("after")), QStringLiteral("2"), QStringLiteral("100"), true);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    EXPECT_FALSE(dialog->lastRun()->cancelled);
    EXPECT_EQ(dialog->lastRun()->cellsVisited, 4);
}

TEST_F(CreateSectorFixture, FileChosenInTheSaveDialogNamesTheSector) {
    open(QStringLiteral("cs-file"));
    QDir().mkdir(QStringLiteral("data"));
    setNextFileName(ws->file(QStringLiteral("data/chosen.sun")));
    QTest::mouseClick(dialog->Edit1, Qt::LeftButton);
    EXPECT_EQ(dialog->Edit1->text(), ws->file(QStringLiteral("data/chosen")));
    dialog->Edit7->setText(QStringLiteral("1"));
    dialog->Edit6->setText(QStringLiteral("100"));
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("data/chosen.sun"))), kSystemRecordSize);
}

TEST_F(CreateSectorFixture, AFileErrorIsReportedInTheOrrimarBox) {
    open(QStringLiteral("cs-ioerror"));
    setFields(ws->file(QStringLiteral("no/such/folder/s")), QStringLiteral("1"), QStringLiteral("100"), true);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Orrimar"));
    EXPECT_FALSE(messages.messages()[0].text.isEmpty());
    EXPECT_EQ(dialog->Gauge1->value(), 0);
    EXPECT_FALSE(dialog->running());
}

}  // namespace
}  // namespace orrimar::ui

namespace orrimar::ui {
namespace {

TEST_F(CreateSectorFixture, ATypedSeedRemakesTheSectorAndAWrongOneIsRefused) {
    open(QStringLiteral("cs-seed"));
    EXPECT_TRUE(dialog->SeedEdit->text().isEmpty());
    setFields(ws->file(QStringLiteral("clock")), QStringLiteral("3"), QStringLiteral("100"), true);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_TRUE(dialog->lastRun().has_value());
    const std::uint64_t seed = dialog->lastRun()->seed;
    EXPECT_EQ(dialog->SeedLabel->text(), QStringLiteral("Seed of the last run: %1").arg(qulonglong(seed)));

    dialog->show();
    setFields(ws->file(QStringLiteral("again")), QStringLiteral("3"), QStringLiteral("100"), true);
    dialog->SeedEdit->setText(QString::number(qulonglong(seed)));
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    const QByteArray remade = wholeFile(ws->file(QStringLiteral("again.sun")));
    EXPECT_EQ(remade.size(), 9 * kSystemRecordSize);
    EXPECT_EQ(remade, wholeFile(ws->file(QStringLiteral("clock.sun"))));

    for (const QString& bad : {QStringLiteral("12x"), QStringLiteral("-1"), QStringLiteral("18446744073709551616")}) {
        messages.clear();
        dialog->show();
        setFields(ws->file(QStringLiteral("refused")), QStringLiteral("3"), QStringLiteral("100"), true);
        dialog->SeedEdit->setText(bad);
        QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
        ASSERT_EQ(messages.messages().size(), 1u) << bad.toStdString();
        EXPECT_EQ(messages.messages()[0].text,
                  QStringLiteral("Seed should be a whole number from 0 to 18446744073709551615, or empty"));
        EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("refused.sun"))), -1);
    }
}

}  // namespace
}  // namespace orrimar::ui

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "campaign/players_view.h"
#include "common/file_io.h"
#include "exports/export_output.h"
#include "ui/export_dialog.h"
#include "ui/file_field.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

struct ExportDialogFixture : ::testing::Test {
    void open(const QString& name) {
        ws = std::make_unique<test::Workspace>(name);
        dialog = std::make_unique<ExportDialog>();
        dialog->setEventInterval(0);
        dialog->show();
    }
    void TearDown() override { clearFaultPlan(); }
    std::unique_ptr<test::Workspace> ws;
    std::unique_ptr<ExportDialog> dialog;
    MessageCapture messages;
};

TEST_F(ExportDialogFixture, FieldsAndTheProposedDestination) {
    open(QStringLiteral("export-fields"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Export"));
    ASSERT_EQ(dialog->FormatBox->count(), 3);
    EXPECT_EQ(dialog->FormatBox->itemText(0), QStringLiteral("JSON"));
    EXPECT_EQ(dialog->FormatBox->itemText(1), QStringLiteral("CSV"));
    EXPECT_EQ(dialog->FormatBox->itemText(2), QStringLiteral("HTML atlas"));
    EXPECT_EQ(dialog->SectorEdit->text(), QStringLiteral("starlog"));
    EXPECT_EQ(dialog->DestinationEdit->text(), QStringLiteral("starlog.json"));
    EXPECT_EQ(dialog->SectorEdit->request().mode, FileDialogRequest::Mode::Open);
    EXPECT_TRUE(dialog->OKBtn->isDefault());

    // The proposal follows the format and the sector chosen in the file dialog...
    dialog->FormatBox->setCurrentIndex(2);
    EXPECT_EQ(dialog->DestinationEdit->text(), QStringLiteral("starlog-atlas"));
    setNextFileName(ws->file(QStringLiteral("reach.sun")));
    ASSERT_TRUE(dialog->SectorEdit->choose());
    EXPECT_EQ(dialog->DestinationEdit->text(), ws->file(QStringLiteral("reach-atlas")));
    dialog->FormatBox->setCurrentIndex(1);
    EXPECT_EQ(dialog->DestinationEdit->text(), ws->file(QStringLiteral("reach-csv")));
    // ...until the user types a destination of their own.
    dialog->DestinationEdit->setText(QStringLiteral("mine"));
    dialog->FormatBox->setCurrentIndex(0);
    EXPECT_EQ(dialog->DestinationEdit->text(), QStringLiteral("mine"));
}

TEST_F(ExportDialogFixture, EachFormatExportsAndSaysWhere) {
    open(QStringLiteral("export-run"));
    test::makeSector(ws->base(QStringLiteral("reach")), 6, 40);
    dialog->SectorEdit->setText(ws->file(QStringLiteral("reach")));
    for (int index = 0; index < 3; ++index) {
        messages.clear();
        dialog->FormatBox->setCurrentIndex(index);
        const QString destination = dialog->DestinationEdit->text();
        dialog->OKBtnClick();
        ASSERT_EQ(messages.messages().size(), 1U);
        EXPECT_EQ(messages.messages()[0].title, kApplicationTitle);
        EXPECT_TRUE(messages.messages()[0].text.endsWith(QStringLiteral(" to ") + destination))
            << messages.messages()[0].text.toStdString();
        ASSERT_TRUE(dialog->lastRun().has_value());
        EXPECT_GT(dialog->lastRun()->systems, 0);
        EXPECT_EQ(dialog->Gauge->value(), 0);  // reset after the run
        EXPECT_TRUE(QFileInfo::exists(index == 0 ? destination : destination + QStringLiteral("/")));
    }
    EXPECT_TRUE(QFileInfo::exists(ws->file(QStringLiteral("reach-atlas/index.html"))));
}

TEST_F(ExportDialogFixture, FailureIsReportedAndLeavesNothing) {
    open(QStringLiteral("export-fail"));
    test::makeSector(ws->base(QStringLiteral("reach")), 6, 40);
    dialog->SectorEdit->setText(ws->file(QStringLiteral("reach")));
    setFaultPlan({FaultKind::NoSpace, 1, false});
    dialog->OKBtnClick();
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("Disk full")))
        << messages.messages()[0].text.toStdString();
    EXPECT_FALSE(dialog->lastRun().has_value());
    EXPECT_FALSE(QFileInfo::exists(ws->file(QStringLiteral("reach.json"))));
    EXPECT_FALSE(QFileInfo::exists(ws->file(QStringLiteral("reach.json.part"))));

    messages.clear();
    dialog->SectorEdit->setText(ws->file(QStringLiteral("nowhere")));
    dialog->OKBtnClick();
    ASSERT_EQ(messages.messages().size(), 1U);
    // A missing sector is a runtime error, as on the command line (exit 1).
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Orrimar"));
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("nowhere")))
        << messages.messages()[0].text.toStdString();
}

TEST_F(ExportDialogFixture, CancelDuringTheRunStopsItAndLeavesNothing) {
    open(QStringLiteral("export-cancel"));
    test::makeSector(ws->base(QStringLiteral("reach")), 12, 60);
    dialog->SectorEdit->setText(ws->file(QStringLiteral("reach")));
    dialog->FormatBox->setCurrentIndex(2);
    // Cancel is clicked from within the run, when the interface gets its turn.
    QTimer::singleShot(0, dialog.get(), [this] {
        EXPECT_TRUE(dialog->running());
        dialog->CancelBtn->click();
    });
    dialog->OKBtnClick();
    ASSERT_TRUE(dialog->lastRun().has_value());
    EXPECT_TRUE(dialog->lastRun()->cancelled);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_FALSE(QFileInfo::exists(ws->file(QStringLiteral("reach-atlas"))));
    EXPECT_FALSE(QFileInfo::exists(ws->file(QStringLiteral("reach-atlas.part"))));
}

// "For the players": only for the atlas; it proposes a destination of its
// own and writes the players' atlas, without the system they do not know.
TEST_F(ExportDialogFixture, ForThePlayersWritesThePlayersAtlas) {
    open(QStringLiteral("export-players"));
    const QString base = ws->file(QStringLiteral("reach"));
    test::makeSector(ws->base(QStringLiteral("reach")), 6, 40);
    dialog->SectorEdit->setText(base);
    EXPECT_FALSE(dialog->PlayersBox->isEnabled()) << "JSON has no players' edition";
    dialog->PlayersBox->setChecked(true);
    EXPECT_FALSE(dialog->players());
    EXPECT_EQ(dialog->DestinationEdit->text(), base + QStringLiteral(".json"));
    dialog->FormatBox->setCurrentIndex(2);
    EXPECT_TRUE(dialog->PlayersBox->isEnabled());
    EXPECT_TRUE(dialog->players());
    EXPECT_EQ(dialog->DestinationEdit->text(), base + QStringLiteral("-players-atlas"));
    dialog->PlayersBox->setChecked(false);
    EXPECT_EQ(dialog->DestinationEdit->text(), base + QStringLiteral("-atlas"));
    dialog->PlayersBox->setChecked(true);

    const std::string sector = ws->base(QStringLiteral("reach"));
    const std::vector<Thing> hidden = {{ThingKind::System, 0}};
    markForPlayers(sector, hidden, PlayersMark::Unknown);
    dialog->OKBtnClick();
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("Wrote the players' atlas of ")))
        << messages.messages()[0].text.toStdString();
    const QString atlas = base + QStringLiteral("-players-atlas");
    EXPECT_TRUE(QFileInfo::exists(atlas + QStringLiteral("/index.html")));
    EXPECT_FALSE(QFileInfo::exists(atlas + QStringLiteral("/systems/000/system-0.html")));
}

}  // namespace
}  // namespace orrimar::ui

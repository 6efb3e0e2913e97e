#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include "settling/settled_layer.h"
#include "ui/atlas_window.h"
#include "ui/file_field.h"
#include "ui/settle_dialog.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

// The dialog settles the sector its field shows with the seed typed; a
// second settle needs the box ticked, a bad seed is refused, and neither
// refusal changes the sector.
TEST(SettleDialog, SettlesTheShownSectorOnceAndAfreshOnlyWhenTicked) {
    test::Workspace ws(QStringLiteral("settle"));
    MessageCapture messages;
    const std::string base = ws.base(QStringLiteral("s"));
    test::makeSector(base, 12, 60, false, 4);

    SettleDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settle Sector"));
    dialog.show();
    setNextFileName(ws.file(QStringLiteral("s.sun")));
    QTest::mouseClick(dialog.SectorField, Qt::LeftButton);
    dialog.SeedEdit->setText(QStringLiteral("x1"));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("Seed")))
        << messages.messages()[0].text.toStdString();
    EXPECT_TRUE(ReadSettledLayer(base).colonies.empty());

    messages.clear();
    dialog.SeedEdit->setText(QStringLiteral("21"));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_TRUE(dialog.lastResult.contains(QStringLiteral("(seed 21)"))) << dialog.lastResult.toStdString();
    const SettledLayer first = ReadSettledLayer(base);
    ASSERT_FALSE(first.colonies.empty());

    dialog.show();
    dialog.SeedEdit->setText(QStringLiteral("22"));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("already settled")));
    EXPECT_EQ(ReadSettledLayer(base).colonies.size(), first.colonies.size());

    messages.clear();
    dialog.ReplaceBox->setChecked(true);
    dialog.SeedEdit->setText(QStringLiteral("21"));
    QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(ReadSettledLayer(base).colonies.size(), first.colonies.size()) << "the same seed settles the same way";
}

// The Atlas's System > Settle the sector settles the open sector and shows
// it settled at once.
TEST(SettleDialog, TheAtlasSettlesItsOpenSectorAndReadsItAgain) {
    test::Workspace ws(QStringLiteral("atlas-settle"));
    MessageCapture messages;
    const std::string base = ws.base(QStringLiteral("s"));
    test::makeSector(base, 12, 60, false, 4);
    AtlasWindow atlas(ws.file(QStringLiteral("orrwin.ini")));
    atlas.show();
    ASSERT_TRUE(atlas.openSector(QString::fromStdString(base)));
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<SettleDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        EXPECT_EQ(dialog->SectorField->text().toStdString(), base);
        dialog->SeedEdit->setText(QStringLiteral("3"));
        dialog->OKBtn->click();
        answered = true;
    });
    atlas.settleClick();
    ASSERT_TRUE(answered) << "no Settle Sector dialog came up";
    EXPECT_FALSE(ReadSettledLayer(base).colonies.empty());
    EXPECT_TRUE(atlas.statusBar()->currentMessage().contains(QStringLiteral("(seed 3)")))
        << atlas.statusBar()->currentMessage().toStdString();
}

}  // namespace
}  // namespace orrimar::ui

// The Atlas and other programs at work on its open sector: it reads the
// sector again when its files change, keeping the selection, and its own
// rename goes through the core's rule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>

#include <functional>
#include <memory>

#include "common/errors.h"
#include "generation/create_sector.h"
#include "common/file_lock.h"
#include "names/rename.h"
#include "records/sector_lock.h"
#include "ui/atlas_widget.h"
#include "ui/atlas_window.h"
#include "ui/sector_watcher.h"
#include "ui_test_support.h"
#include "support/sector_maker.h"

namespace orrimar::ui {
namespace {

// Serves events until `done` holds or a few seconds have passed.
bool waitFor(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(8000);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(20);
    }
    return true;
}

struct AtlasReload : ::testing::Test {
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        ws = std::make_unique<test::Workspace>(QStringLiteral("reload-") + QString::fromLatin1(info->name()));
        base = ws->base(QStringLiteral("cube"));
        test::makeSector(base, 3, 100, true, 5);  // 9 systems in cells (0..2, 0..2, 0)
        window = std::make_unique<AtlasWindow>(ws->file(QStringLiteral("orrwin.ini")));
        window->resize(900, 600);
        window->show();
        ASSERT_TRUE(window->openSector(ws->file(QStringLiteral("cube"))));
        window->selectSystem(4);
    }
    // Runs the sector loop on the open sector as another program would.
    void run(bool newFile, std::int16_t x, int size) {
        orrimar::testing::makeSector(base, {.seed = 9,
                                            .lastIndex = size - 1,
                                            .density = 100,
                                            .x = x,
                                            .flat = true,
                                            .newFile = newFile,
                                            .replace = newFile,
                                            .name = "elsewhere"});
    }
    QString caption() const { return window->Map->scene().caption; }
    bool shows(int systems) const { return caption().endsWith(QStringLiteral("of %1 systems").arg(systems)); }

    std::unique_ptr<test::Workspace> ws;
    std::string base;
    MessageCapture messages;
    std::unique_ptr<AtlasWindow> window;
};

// While another program holds the sector the window does not wait for it
// (the lock's wait is set far beyond the test's time here): it says so, and
// reads the sector once the lock is free.
TEST_F(AtlasReload, ASectorHeldByAWriterIsReadOnceItIsFree) {
    setLockWait(std::chrono::minutes(10));
    {
        const SectorLock writer = SectorLock::forChange(base);
        // A writer at work: a member changes while the lock is held.
        QFile notes(QString::fromStdString(base + ".cmt"));
        ASSERT_TRUE(notes.open(QIODevice::Append));
        notes.write("a writer's note\r\n");
        notes.close();
        ASSERT_TRUE(waitFor([this] {
            return window->statusBar()->currentMessage().contains(
                QStringLiteral("is being changed by another program"));
        })) << window->statusBar()->currentMessage().toStdString();
        EXPECT_TRUE(shows(9)) << caption().toStdString();
    }
    setLockWait(std::chrono::milliseconds(-1));
    ASSERT_TRUE(waitFor([this] {
        return window->statusBar()->currentMessage().contains(QStringLiteral("read again: 9 systems"));
    })) << window->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(window->selectedSystem(), 4);
}

TEST_F(AtlasReload, SystemsAppendedElsewhereAppearWithTheSelectionKept) {
    ASSERT_TRUE(shows(9)) << caption().toStdString();
    run(false, 10, 2);
    ASSERT_TRUE(waitFor([this] { return shows(13); })) << caption().toStdString();
    EXPECT_EQ(window->selectedSystem(), 4);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains(QStringLiteral("read again: 13 systems")));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AtlasReload, ANameGivenElsewhereShowsInTheSummary) {
    renameInSector(base, NameKind::System, 4, "Vessane");
    ASSERT_TRUE(waitFor([this] { return window->Summary->toPlainText().contains(QStringLiteral("Vessane")); }));
    EXPECT_EQ(window->selectedSystem(), 4);
    EXPECT_TRUE(shows(9));
}

TEST_F(AtlasReload, ASectorReplacedBySmallerOneDropsASelectionItNoLongerHolds) {
    run(true, 0, 2);  // members truncated in place: 4 systems
    ASSERT_TRUE(waitFor([this] { return shows(4); })) << caption().toStdString();
    EXPECT_FALSE(window->selectedSystem().has_value());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Atlas - elsewhere"));
    window->selectSystem(3);
    run(true, 0, 3);
    ASSERT_TRUE(waitFor([this] { return shows(9); })) << caption().toStdString();
    EXPECT_EQ(window->selectedSystem(), 3);
}

TEST_F(AtlasReload, ASectorThatCannotBeReadYetIsTriedAgainUntilItCan) {
    window->watcher()->setDelays(50, 100);
    // The system file gone for a moment, as in the middle of a replacement.
    const QString systems = ws->file(QStringLiteral("cube.sun"));
    const QString aside = ws->file(QStringLiteral("aside"));
    ASSERT_TRUE(QFile::rename(systems, aside));
    ASSERT_TRUE(waitFor(
        [this] { return window->statusBar()->currentMessage().contains(QStringLiteral("reading it again shortly")); }));
    EXPECT_TRUE(shows(9)) << "the map keeps what it showed";
    EXPECT_TRUE(messages.messages().empty()) << "no box for a reading nobody asked for";
    QTest::qWait(300);  // a few failed attempts
    ASSERT_TRUE(QFile::rename(aside, systems));
    run(false, 10, 1);
    ASSERT_TRUE(waitFor([this] { return shows(10); })) << caption().toStdString();
    EXPECT_EQ(window->selectedSystem(), 4);
}

TEST_F(AtlasReload, TheWindowsOwnRenameIsTheCoresRule) {
    const QString names = ws->file(QStringLiteral("cube.nam"));
    const auto before = test::fileSize(names);
    EXPECT_FALSE(window->renameSelected(QStringLiteral("Ves\tsane")));
    ASSERT_EQ(messages.messages().size(), 1U);
    std::string expected;
    try {
        checkedName("Ves\tsane");
    } catch (const InputError& e) {
        expected = e.what();
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(messages.messages()[0].text, QString::fromStdString(expected));
    EXPECT_EQ(test::fileSize(names), before);

    // The window's own write is not read back as another program's.
    EXPECT_TRUE(window->renameSelected(QStringLiteral("Vessane")));
    EXPECT_EQ(test::fileSize(names), before + 60);
    QTest::qWait(SectorWatcher::kDefaultSettleMs + 200);
    EXPECT_TRUE(window->statusBar()->currentMessage().contains(QStringLiteral("is now Vessane")));

    // Without a name file the core refuses, and none is made.
    messages.clear();
    ASSERT_TRUE(QFile::remove(names));
    EXPECT_FALSE(window->renameSelected(QStringLiteral("Orrin")));
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("cube.nam")))
        << messages.messages()[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(names));
}

}  // namespace
}  // namespace orrimar::ui

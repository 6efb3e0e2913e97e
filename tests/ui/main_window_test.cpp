#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "names/named_things.h"
#include "settings/ini_file.h"
#include "ui/about_box.h"
#include "ui/alien_generator_dialog.h"
#include "ui/create_sector_dialog.h"
#include "ui/file_dialog_seam.h"
#include "ui/file_field.h"
#include "ui/log_dialogs.h"
#include "ui/main_window.h"
#include "ui/settings_location.h"
#include "ui/tool_dialogs.h"
#include "ui/window_placement.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

struct Started {
    QString program;
    QString workingDir;
};

struct MainWindow : ::testing::Test {
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        ws = std::make_unique<test::Workspace>(QStringLiteral("main-") + QString::fromLatin1(info->name()));
        QDir().mkpath(QStringLiteral("program"));
        QDir().mkpath(QStringLiteral("work"));
        QDir::setCurrent(ws->file(QStringLiteral("work")));
        programDir = ws->file(QStringLiteral("program")) + QLatin1Char('/');
        ini = programDir + QStringLiteral("orrwin.ini");
    }
    StartupOptions options() {
        StartupOptions o;
        o.programDir = programDir;
        o.userConfigDir = ws->file(QStringLiteral("config"));
        o.starter = [this](const QString& program, const QString& dir) {
            started.push_back(Started{program, dir});
            return true;
        };
        o.screens = {QRect(0, 0, 1920, 1080)};
        return o;
    }
    std::unique_ptr<TForm1> start() { return std::make_unique<TForm1>(options()); }

    std::unique_ptr<test::Workspace> ws;
    QString programDir;
    QString ini;
    std::vector<Started> started;
    MessageCapture messages;
};

TEST_F(MainWindow, LaunchPadLayoutCaptionsAndHints) {
    auto form = start();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Orrimar for Windows"));
    EXPECT_EQ(form->TitleLabel->text(), QStringLiteral("Orrimar v1.6"));
    EXPECT_TRUE(form->TitleLabel->font().bold());
    EXPECT_EQ(form->LaunchPad->title(), QStringLiteral("Launch Pad"));
    const std::vector<std::tuple<QPushButton*, const char*, const char*>> buttons{
        {form->CreateSectorBtn, "Create sector", "Create a new sector"},
        {form->SystemLogBtn, "System Log", "Create a logfile of star system"},
        {form->AlienLogBtn, "Alien Log", "Create a logfile of an alien race"},
        {form->SectorReportBtn, "Sector Report", "Create a summary logfile of a sector "},
        {form->AlienGenBtn, "Alien Gen", "Generate an alien race in a logfile"},
        {form->ColoniesRptBtn, "Colonies Rpt", "Create a report of all colonies owned by a race"},
        {form->MergerBtn, "Merger", "To merge two sectors"},
        {form->ExportBtn, "Export", "Export a sector as JSON, CSV or an HTML atlas"},
        {form->AboutBtn, "About", ""},
        {form->QuitBtn, "Quit", "Exit Orrimar"},
        {form->CressetBtn, "Cresset", "Launch Cresset"},
        {form->DunmereBtn, "Dunmere", "Launch Dunmere"},
        {form->ElvaranBtn, "Elvaran", "Launch Elvaran"},
        {form->ExportChVBtn, "Export ChV", "Export a sector to a ChView format"},
        {form->TarnokBtn, "Tarnok", "Create system from scratch"},
        {form->BoldrinBtn, "Boldrin", "Launch Boldrin"}};
    for (const auto& [button, caption, hint] : buttons) {
        EXPECT_EQ(button->text(), QString::fromLatin1(caption));
        // A missing companion's hint goes on to say what was looked for.
        EXPECT_TRUE(button->toolTip() == QString::fromLatin1(hint) ||
                    button->toolTip().startsWith(QString::fromLatin1(hint) + QStringLiteral(" (not found: ")))
            << caption;
    }
    // The companions sit inside the group box, the commands outside it.
    for (QPushButton* b : {form->CressetBtn, form->ExportChVBtn, form->TarnokBtn, form->BoldrinBtn})
        EXPECT_TRUE(form->LaunchPad->isAncestorOf(b));
    EXPECT_FALSE(form->LaunchPad->isAncestorOf(form->CreateSectorBtn));
    EXPECT_FALSE(form->LaunchPad->isAncestorOf(form->ExportBtn));  // a command, not a companion
    form->show();
    // The left column, top to bottom in the launch pad's order.
    EXPECT_LT(form->CreateSectorBtn->y(), form->SystemLogBtn->y());
    EXPECT_LT(form->ColoniesRptBtn->y(), form->MergerBtn->y());
    EXPECT_LT(form->MergerBtn->y(), form->ExportBtn->y());
    EXPECT_EQ(form->MergerBtn->x(), form->ExportBtn->x());
    EXPECT_LT(form->CressetBtn->y(), form->TarnokBtn->y());
    EXPECT_LT(form->TarnokBtn->y(), form->BoldrinBtn->y());
    // Every dialog exists once the window does.
    EXPECT_NE(form->BtnRightDlg, nullptr);
    EXPECT_NE(form->FormMerger, nullptr);
    EXPECT_EQ(form->AboutBox->windowTitle(), QStringLiteral("About"));
}

TEST_F(MainWindow, FirstRunWritesTheTablesAndFoldersOnceAndNoGeometry) {
    {
        auto form = start();
        EXPECT_TRUE(QFileInfo(QStringLiteral("data")).isDir());
        EXPECT_TRUE(QFileInfo(QStringLiteral("log")).isDir());
        EXPECT_EQ(form->state().settingsPath, ini);
        const QString text = test::readText(ini);
        EXPECT_EQ(text.count(QStringLiteral("[Stellar Probabilities]")), 1);
        EXPECT_TRUE(text.contains(QStringLiteral("G_V=250")));
        EXPECT_TRUE(text.contains(QStringLiteral("F_VII=50")));
        EXPECT_TRUE(text.contains(QStringLiteral("Exotic=5")));
        // Keys in the order they were written.
        EXPECT_LT(text.indexOf(QStringLiteral("Pheno=1")), text.indexOf(QStringLiteral("Misc=5")));
        EXPECT_LT(text.indexOf(QStringLiteral("Human=20")), text.indexOf(QStringLiteral("Animal=30")));
        EXPECT_FALSE(text.contains(QStringLiteral("[Settings]")));
        // Closed another way than Quit: nothing written.
        form->show();
        form->close();
        EXPECT_FALSE(test::readText(ini).contains(QStringLiteral("[Settings]")));
    }
    // An edited weight survives the second run, which is no first run.
    IniFile edit(ini.toStdString());
    edit.writeInteger("Alien Probabilities", "Human", 7);
    edit.save();
    { auto form = start(); }
    EXPECT_EQ(IniFile(ini.toStdString()).readInteger("Alien Probabilities", "Human", -1), 7);
    // Deleting "log" makes the next start a first run again.
    QDir(QStringLiteral("log")).removeRecursively();
    { auto form = start(); }
    EXPECT_EQ(IniFile(ini.toStdString()).readInteger("Alien Probabilities", "Human", -1), 20);
}

TEST_F(MainWindow, QuitWritesTheGeometryAndTheNextStartUsesIt) {
    {
        auto form = start();
        EXPECT_EQ(form->width(), 513);
        EXPECT_EQ(form->height(), 324);
        EXPECT_EQ(form->x(), 349);
        EXPECT_EQ(form->y(), 201);
        form->show();
        form->move(120, 90);
        form->resize(600, 400);
        QTest::mouseClick(form->QuitBtn, Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
    }
    const IniFile written(ini.toStdString());
    EXPECT_EQ(written.readInteger("Settings", "Height", -1), 400);
    EXPECT_EQ(written.readInteger("Settings", "Width", -1), 600);
    EXPECT_EQ(written.readInteger("Settings", "Left", -1), 120);
    EXPECT_EQ(written.readInteger("Settings", "Top", -1), 90);
    auto again = start();
    EXPECT_EQ(again->x(), 120);
    EXPECT_EQ(again->y(), 90);
    EXPECT_EQ(again->size(), QSize(600, 400));
}

TEST_F(MainWindow, AStoredPositionOffEveryScreenIsBroughtBack) {
    IniFile settings(ini.toStdString());
    settings.writeInteger("Settings", "Left", 3000);
    settings.writeInteger("Settings", "Top", 200);
    settings.save();
    auto form = start();
    EXPECT_TRUE(QRect(0, 0, 1920, 1080).contains(form->geometry()));

    const QList<QRect> twoScreens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(keepOnScreen(QRect(2500, 100, 513, 324), twoScreens), QRect(2500, 100, 513, 324));
    EXPECT_EQ(keepOnScreen(QRect(-600, 100, 513, 324), twoScreens).topLeft(), QPoint(0, 100));
    EXPECT_EQ(keepOnScreen(QRect(100, -200, 513, 324), twoScreens).topLeft(), QPoint(100, 0));
    EXPECT_EQ(keepOnScreen(QRect(5000, 100, 4000, 3000), twoScreens), QRect(0, 0, 1920, 1080));
    // Only partly off screen, the title bar still reachable: left as it was.
    EXPECT_EQ(keepOnScreen(QRect(1800, 900, 513, 324), {QRect(0, 0, 1920, 1080)}), QRect(1800, 900, 513, 324));
}

TEST_F(MainWindow, SettingsGoToTheUserFolderWhenTheProgramFolderIsReadOnly) {
    // Nothing can be created in /proc, not even by the superuser.
    EXPECT_FALSE(directoryIsWritable(QStringLiteral("/proc/")));
    EXPECT_EQ(resolveSettingsPath(QStringLiteral("/proc/"), ws->file(QStringLiteral("config"))),
              ws->file(QStringLiteral("config/orrwin.ini")));
    programDir = QStringLiteral("/proc/");
    {
        auto form = start();
        form->show();
        QTest::mouseClick(form->QuitBtn, Qt::LeftButton);
    }
    const QString text = test::readText(ws->file(QStringLiteral("config/orrwin.ini")));
    EXPECT_TRUE(text.contains(QStringLiteral("[Alien Probabilities]")));
    EXPECT_TRUE(text.contains(QStringLiteral("[Settings]")));
    EXPECT_EQ(resolveSettingsPath(ws->file(QStringLiteral("program")), QStringLiteral("/nowhere")),
              ws->file(QStringLiteral("program/orrwin.ini")));
}

TEST_F(MainWindow, TarnokIsEnabledOnlyByTheFileFoundAtStartUp) {
    {
        auto form = start();
        EXPECT_FALSE(form->TarnokBtn->isEnabled());
        test::writeText(QStringLiteral("tarnok.exe"), QStringLiteral("x"));
        EXPECT_FALSE(form->TarnokBtn->isEnabled()) << "a file added later changes nothing";
    }
    {
        auto form = start();
        EXPECT_TRUE(form->TarnokBtn->isEnabled());
    }
    QFile::remove(QStringLiteral("tarnok.exe"));
    test::writeText(QStringLiteral("Tarnok"), QStringLiteral("x"));
    auto form = start();
    EXPECT_TRUE(form->TarnokBtn->isEnabled()) << "the bare name stands for the .exe here";
}

TEST_F(MainWindow, MissingCompanionsAreGreyedAndSayWhatWasLookedFor) {
    auto form = start();
    form->show();
    for (QPushButton* button : {form->CressetBtn, form->DunmereBtn, form->ElvaranBtn, form->ExportChVBtn})
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    EXPECT_EQ(form->CressetBtn->toolTip(),
              QStringLiteral("Launch Cresset (not found: ") + programDir + QStringLiteral("cresset.exe)"));
    EXPECT_EQ(form->ExportChVBtn->toolTip(), QStringLiteral("Export a sector to a ChView format (not found: ") +
                                                 programDir + QStringLiteral("GLASWEN.exe)"));
    EXPECT_EQ(form->TarnokBtn->toolTip(), QStringLiteral("Create system from scratch (not found: ") +
                                              QDir::current().absoluteFilePath(QStringLiteral("tarnok.exe")) +
                                              QStringLiteral(")"));
    EXPECT_EQ(form->BoldrinBtn->toolTip(), QStringLiteral("Launch Boldrin"));  // Boldrin says so itself
    QTest::mouseClick(form->CressetBtn, Qt::LeftButton);
    EXPECT_TRUE(started.empty());
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(MainWindow, CompanionsStartFromTheProgramFolderWithoutAWord) {
    test::writeText(programDir + QStringLiteral("cresset"), QStringLiteral("x"));
    test::writeText(programDir + QStringLiteral("GLASWEN.exe"), QStringLiteral("x"));
    auto form = start();
    form->show();
    EXPECT_EQ(form->CressetBtn->toolTip(), QStringLiteral("Launch Cresset"));
    QTest::mouseClick(form->CressetBtn, Qt::LeftButton);
    QTest::mouseClick(form->CressetBtn, Qt::LeftButton);
    QTest::mouseClick(form->ExportChVBtn, Qt::LeftButton);
    ASSERT_EQ(started.size(), 3u);
    EXPECT_EQ(started[0].program, programDir + QStringLiteral("cresset"));
    EXPECT_EQ(started[0].workingDir, programDir);
    EXPECT_EQ(started[2].program, programDir + QStringLiteral("GLASWEN.exe"));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(MainWindow, TheWalkthroughCreatesThenLogsWithoutLosingTheSector) {
    auto form = start();
    // Step 1: Create sector with its defaults, made small.
    form->BtnRightDlg->Edit7->setText(QStringLiteral("3"));
    form->BtnRightDlg->Edit6->setText(QStringLiteral("100"));
    QTimer::singleShot(0, form->BtnRightDlg, [&] { form->BtnRightDlg->OKBtnClick(); });
    form->runCommand(form->BtnRightDlg);
    const QString status = form->StatusLine->text();
    EXPECT_TRUE(status.startsWith(QStringLiteral("Wrote sector ") +
                                  QDir::current().absoluteFilePath(QStringLiteral("starlog")) +
                                  QStringLiteral(": 27 systems, ")))
        << status.toStdString();
    EXPECT_NE(status.indexOf(QStringLiteral("(seed ")), -1);
    // Step 2: a log file chosen in "log" leaves "starlog" where it was.
    const QString logFile = QDir::current().absoluteFilePath(QStringLiteral("log/sys5.log"));
    setNextFileName(logFile, 1);
    ASSERT_TRUE(form->BtnRightDlg1->SaveToField->choose());
    EXPECT_EQ(QDir::currentPath(), ws->file(QStringLiteral("work")));
    form->BtnRightDlg1->SystemIdField->setText(QStringLiteral("5"));
    QTimer::singleShot(0, form->BtnRightDlg1, [&] { form->BtnRightDlg1->OKBtnClick(); });
    form->runCommand(form->BtnRightDlg1);
    EXPECT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(logFile).isFile());
    const auto name =
        storedName(QDir::current().absoluteFilePath(QStringLiteral("starlog")).toStdString(), NameKind::System, 5);
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(form->StatusLine->text(),
              QStringLiteral("Wrote system log of system 5 (%1) to ").arg(QString::fromStdString(*name)) + logFile);
}

TEST_F(MainWindow, BoldrinMustBeInTheCurrentFolder) {
    auto form = start();
    form->show();
    test::writeText(programDir + QStringLiteral("boldrin.exe"), QStringLiteral("x"));
    QTest::mouseClick(form->BoldrinBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Orrimar"));
    EXPECT_EQ(messages.messages()[0].text,
              QStringLiteral("Please download and decompress Boldrin in the same directory than Orrimar"));
    EXPECT_TRUE(started.empty());

    messages.clear();
    test::writeText(QStringLiteral("boldrin.exe"), QStringLiteral("x"));
    QTest::mouseClick(form->BoldrinBtn, Qt::LeftButton);
    EXPECT_TRUE(messages.messages().empty());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, programDir + QStringLiteral("boldrin.exe"));
}

// Closes the modal dialog the launch pad opened, once it shows, after
// `inspect` has looked at it.
void whenModalShows(std::function<void(QWidget*)> inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        inspect(modal);
        modal->close();
    });
}

TEST_F(MainWindow, EveryCommandButtonOpensItsDialog) {
    auto form = start();
    form->show();
    const std::vector<std::pair<QPushButton*, QString>> commands{
        {form->CreateSectorBtn, QStringLiteral("Create Sector")},
        {form->SystemLogBtn, QStringLiteral("System Logfile")},
        {form->AlienLogBtn, QStringLiteral("Alien Logfile")},
        {form->SectorReportBtn, QStringLiteral("Sector Report")},
        {form->AlienGenBtn, QStringLiteral("Alien Generator")},
        {form->ColoniesRptBtn, QStringLiteral("Colonies Report Log")},
        {form->MergerBtn, QStringLiteral("Sector Merger ")},
        {form->ExportBtn, QStringLiteral("Export")},
        {form->AboutBtn, QStringLiteral("About")}};
    for (const auto& [button, caption] : commands) {
        QString seen;
        whenModalShows([&seen](QWidget* modal) { seen = modal->windowTitle(); });
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(seen, caption);
    }
}

TEST_F(MainWindow, AlienGenOpensWithTheRememberedOutputAndAlienLogWithStandard) {
    auto form = start();
    form->show();
    int shown = -1;
    whenModalShows([&](QWidget*) { shown = chosenIndex(form->Form6->ComboBox3); });
    QTest::mouseClick(form->AlienGenBtn, Qt::LeftButton);
    EXPECT_EQ(shown, 0) << "the first opening shows Standard";
    EXPECT_EQ(form->Form6->ComboBox3->count(), 6);

    form->state().rememberedOutputSystem = 5;
    whenModalShows([&](QWidget*) { shown = chosenIndex(form->Form6->ComboBox3); });
    QTest::mouseClick(form->AlienGenBtn, Qt::LeftButton);
    EXPECT_EQ(shown, 5);

    form->BtnRightDlg2->OutputList->setCurrentIndex(2);
    whenModalShows([&](QWidget*) { shown = chosenIndex(form->BtnRightDlg2->OutputList); });
    QTest::mouseClick(form->AlienLogBtn, Qt::LeftButton);
    EXPECT_EQ(shown, 0);
}

TEST_F(MainWindow, DialogsKeepTheirFieldsBetweenOpenings) {
    auto form = start();
    form->show();
    whenModalShows([&](QWidget*) { form->BtnRightDlg1->SystemIdField->setText(QStringLiteral("12")); });
    QTest::mouseClick(form->SystemLogBtn, Qt::LeftButton);
    QString seen;
    whenModalShows([&](QWidget*) { seen = form->BtnRightDlg1->SystemIdField->text(); });
    QTest::mouseClick(form->SystemLogBtn, Qt::LeftButton);
    EXPECT_EQ(seen, QStringLiteral("12"));
}

}  // namespace
}  // namespace orrimar::ui

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/alien_generator_dialog.h"
#include "ui/app_state.h"
#include "ui/file_field.h"
#include "ui/log_dialogs.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

struct AlienGenerator : ::testing::Test {
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        ws = std::make_unique<test::Workspace>(QStringLiteral("aliengen-") + QString::fromLatin1(info->name()));
        state.settingsPath = ws->file(QStringLiteral("orrwin.ini"));
        dialog = std::make_unique<TForm6>(state);
    }
    // As the launch pad opens it.
    void open() {
        dialog->FormCreate();
        for (const char* name : {"Standard", "Alternity", "Battlelords", "Gurps", "SpaceMaster", "Fuzion"})
            dialog->ComboBox3->addItem(QString::fromLatin1(name));
        dialog->ComboBox3->setCurrentIndex(state.rememberedOutputSystem);
        dialog->show();
    }
    void chooseLog(const QString& name, int filter = 1) {
        setNextFileName(ws->file(name), filter);
        ASSERT_TRUE(dialog->Edit2->choose());
    }

    std::unique_ptr<test::Workspace> ws;
    AppState state;
    std::unique_ptr<TForm6> dialog;
    MessageCapture messages;
};

TEST_F(AlienGenerator, DefaultsAndLists) {
    open();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Alien Generator"));
    EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("starlog"));
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("15"));
    EXPECT_EQ(dialog->Edit3->text(), QStringLiteral("1.00"));
    EXPECT_EQ(dialog->CheckBox1->text(), QStringLiteral("Tot. al. disable"));
    ASSERT_EQ(dialog->ComboBox1->count(), 6);
    EXPECT_EQ(dialog->ComboBox1->itemText(5), QStringLiteral("Tundra"));
    ASSERT_EQ(dialog->ComboBox2->count(), 6);
    EXPECT_EQ(dialog->ComboBox2->itemText(3), QStringLiteral("Nitrogen/Carbon Dioxyde"));
    EXPECT_EQ(chosenIndex(dialog->ComboBox1), 0);
    EXPECT_EQ(chosenIndex(dialog->ComboBox3), 0);
    // Reopening rebuilds the lists once, not twice over.
    open();
    EXPECT_EQ(dialog->ComboBox1->count(), 6);
    EXPECT_EQ(dialog->ComboBox3->count(), 6);
}

TEST_F(AlienGenerator, TemperatureAndGravityLimits) {
    chooseLog(QStringLiteral("limits.log"));
    const struct {
        QString temperature, gravity;
        bool accepted;
    } cases[] = {{"-50", "0.5", true},    {"100", "3.0", true},  {"101", "1.00", false}, {"-51", "1.00", false},
                 {"warm", "1.00", false}, {"15", "0.49", false}, {"15", "3.01", false},  {"15", "heavy", false}};
    for (const auto& c : cases) {
        messages.clear();
        QFile::remove(ws->file(QStringLiteral("limits.log")));
        open();
        dialog->Edit1->setText(c.temperature);
        dialog->Edit3->setText(c.gravity);
        QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
        const std::string what = (c.temperature + " " + c.gravity).toStdString();
        ASSERT_EQ(messages.messages().size(), 1u) << what;
        EXPECT_FALSE(dialog->isVisible()) << what;
        if (c.accepted) {
            EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Info")) << what;
            EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Alien Logfile Done")) << what;
            EXPECT_GT(test::fileSize(ws->file(QStringLiteral("limits.log"))), 0) << what;
        } else {
            EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error")) << what;
            const bool temperatureBad = c.gravity == QStringLiteral("1.00");
            EXPECT_EQ(messages.messages()[0].text, temperatureBad
                                                       ? QStringLiteral("Temperature must be between -50 and 100")
                                                       : QStringLiteral("Gravity must be between 0.5 and 3.0"))
                << what;
            EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("limits.log"))), -1) << what;
            // The rejected text stays for the next opening.
            EXPECT_EQ(dialog->Edit1->text(), c.temperature);
        }
    }
}

TEST_F(AlienGenerator, LogGoesWhereTheSaveDialogPointedAndOutputIsRemembered) {
    open();
    chooseLog(QStringLiteral("race.html"), 2);
    dialog->Edit2->setText(QStringLiteral("edited"));
    dialog->ComboBox3->setCurrentIndex(4);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Alien Logfile Done"));
    EXPECT_TRUE(
        test::readText(ws->file(QStringLiteral("race.html"))).contains(QStringLiteral("<html"), Qt::CaseInsensitive));
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("edited.log"))), -1);
    EXPECT_EQ(state.rememberedOutputSystem, 4);
    // Nothing of the scratch sector is left where the user works.
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("temp0.aln"))), -1);
    EXPECT_EQ(test::fileSize(ws->file(QStringLiteral("temp0.pln"))), -1);
    open();
    EXPECT_EQ(chosenIndex(dialog->ComboBox3), 4);
}

TEST_F(AlienGenerator, WithoutALogFileOrAnOutputItSaysSo) {
    open();
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("No log file chosen")));

    messages.clear();
    open();
    chooseLog(QStringLiteral("x.log"));
    dialog->ComboBox3->setEditText(QStringLiteral("Traveller"));
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(state.rememberedOutputSystem, 0);
}

}  // namespace
}  // namespace orrimar::ui

// Travel in the Atlas window: the Search panel's "within N jumps" option
// against the atlas's own jump search, and the Route panel's "Jump takes"
// timing each leg and kept in the settings file between windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <map>
#include <memory>

#include "atlas/atlas_model.h"
#include "atlas/jump_search.h"
#include "atlas/routes.h"
#include "atlas/travel_time.h"
#include "common/errors.h"
#include "settings/atlas_settings.h"
#include "settings/ini_file.h"
#include "ui/atlas_jumps_option.h"
#include "ui/atlas_route_panel.h"
#include "ui/atlas_search_panel.h"
#include "ui/atlas_window.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

constexpr int kJumpsColumn = 7;
constexpr int kLegTimeColumn = 5;

struct AtlasTravel : ::testing::Test {
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        ws = std::make_unique<test::Workspace>(QStringLiteral("atlas-travel-") + QString::fromLatin1(info->name()));
        base = ws->file(QStringLiteral("cube"));
        test::makeSector(base.toStdString(), 8, 40, false, 11);
        ini = ws->file(QStringLiteral("orrwin.ini"));
        window = std::make_unique<AtlasWindow>(ini);
        window->resize(1100, 700);
        window->show();
        QApplication::processEvents();
        ASSERT_TRUE(window->openSector(base));
    }
    std::map<int, int> listedJumps() const {
        std::map<int, int> listed;
        for (int row = 0; row < window->Matches->rowCount(); ++row) {
            listed[window->Matches->item(row, 0)->data(Qt::UserRole).toInt()] =
                window->Matches->item(row, kJumpsColumn)->data(Qt::UserRole).toInt();
        }
        return listed;
    }
    std::unique_ptr<test::Workspace> ws;
    QString base;
    QString ini;
    MessageCapture messages;
    std::unique_ptr<AtlasWindow> window;
};

TEST_F(AtlasTravel, WithinJumpsListsWhatTheJumpsReachWithTheirCounts) {
    const atlas::AtlasModel model = atlas::AtlasModel::open(base.toStdString());
    AtlasJumpsOption* option = window->Search->JumpsOption;
    EXPECT_FALSE(option->isChecked()) << "off until asked for";
    option->setChecked(true);
    option->JumpCountSpin->setValue(2);
    option->JumpsOfText->setText(QStringLiteral("5"));
    option->JumpLengthSpin->setValue(1.5);
    QTest::mouseClick(window->SearchBtn, Qt::LeftButton);
    ASSERT_TRUE(messages.messages().empty()) << messages.messages()[0].text.toStdString();
    std::map<int, int> want;
    const std::vector<std::int32_t> jumps = atlas::jumpsFrom(model, 5, 2, 1.5);
    for (std::size_t id = 0; id < jumps.size(); ++id) {
        if (jumps[id] != atlas::kNotReached) want[static_cast<int>(id)] = jumps[id];
    }
    ASSERT_GT(want.size(), 1U);
    EXPECT_EQ(listedJumps(), want);
    EXPECT_EQ(want[5], 0);

    // No jumps: the system alone. Empty "of": the selected system.
    option->JumpCountSpin->setValue(0);
    option->JumpsOfText->clear();
    window->selectSystem(9);
    QTest::mouseClick(window->SearchBtn, Qt::LeftButton);
    EXPECT_EQ(listedJumps(), (std::map<int, int>{{9, 0}}));

    // Unticked, the column stays empty and jumps are not counted.
    option->setChecked(false);
    window->WithinSpin->setValue(3.0);
    QTest::mouseClick(window->SearchBtn, Qt::LeftButton);
    ASSERT_GT(window->Matches->rowCount(), 0);
    EXPECT_TRUE(window->Matches->item(0, kJumpsColumn)->text().isEmpty());

    // A name that picks no system is said, naming the field.
    option->setChecked(true);
    option->JumpsOfText->setText(QStringLiteral("Nowhere"));
    QTest::mouseClick(window->SearchBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("Nowhere")))
        << messages.messages()[0].text.toStdString();
}

TEST_F(AtlasTravel, JumpTakesTimesEveryLegAndIsKeptBetweenWindows) {
    window->RouteFrom->setText(QStringLiteral("0"));
    window->RouteTo->setText(QStringLiteral("5"));
    window->JumpSpin->setValue(3.0);
    EXPECT_TRUE(window->JumpTimeText->text().isEmpty()) << "untimed until the game master says";
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    const int legs = window->Legs->rowCount();
    ASSERT_GT(legs, 1) << window->RouteStatus->text().toStdString();
    EXPECT_TRUE(window->Legs->isColumnHidden(kLegTimeColumn));

    window->JumpTimeText->setText(QStringLiteral("2w3d"));
    emit window->JumpTimeText->editingFinished();
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    ASSERT_EQ(window->Legs->rowCount(), legs);
    EXPECT_FALSE(window->Legs->isColumnHidden(kLegTimeColumn));
    EXPECT_EQ(window->Legs->item(0, kLegTimeColumn)->text(), QStringLiteral("2 weeks 3 days"));
    EXPECT_EQ(window->Legs->item(0, kLegTimeColumn + 1)->text(), QStringLiteral("2 weeks 3 days"));
    EXPECT_EQ(window->Legs->item(1, kLegTimeColumn + 1)->text(), QStringLiteral("4 weeks 6 days"));
    const QString total = QString::fromStdString(atlas::durationText(atlas::Duration{408LL * legs}));
    EXPECT_EQ(window->Legs->item(legs - 1, kLegTimeColumn + 1)->text(), total);
    EXPECT_TRUE(window->RouteStatus->text().endsWith(QStringLiteral(", ") + total + QStringLiteral(".")))
        << window->RouteStatus->text().toStdString();

    // Kept in the settings file's Atlas section, beside what else is there.
    EXPECT_EQ(IniFile(ini.toStdString()).readString("Atlas", "JumpTakes").value_or(""), "2w3d");
    auto second = std::make_unique<AtlasWindow>(ini);
    EXPECT_EQ(second->JumpTimeText->text(), QStringLiteral("2w3d"));
    second.reset();

    // A time that is none: said in the panel, no legs shown, not kept.
    window->JumpTimeText->setText(QStringLiteral("3 fortnights"));
    emit window->JumpTimeText->editingFinished();
    EXPECT_TRUE(window->RouteStatus->text().startsWith(QStringLiteral("Jump takes: '3 fortnights' is no time")))
        << window->RouteStatus->text().toStdString();
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    EXPECT_EQ(window->Legs->rowCount(), 0);
    EXPECT_TRUE(window->RouteStatus->text().startsWith(QStringLiteral("Jump takes:")));
    EXPECT_EQ(readAtlasSettings(ini.toStdString()).jumpTime, "2w3d");
    EXPECT_TRUE(messages.messages().empty());

    // One jump: singular words.
    const atlas::AtlasModel model = atlas::AtlasModel::open(base.toStdString());
    const std::vector<atlas::Neighbour> near = atlas::neighbours(model, 0, 3.0);
    ASSERT_FALSE(near.empty());
    window->JumpTimeText->setText(QStringLiteral("1w"));
    window->RouteTo->setText(QString::number(near.front().id));
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    EXPECT_EQ(window->RouteStatus->text(),
              QStringLiteral("1 jump, %1 parsecs, 1 week.").arg(near.front().parsecs, 0, 'f', 2));

    // Emptied, the time columns go and the setting is cleared.
    window->JumpTimeText->clear();
    emit window->JumpTimeText->editingFinished();
    EXPECT_EQ(readAtlasSettings(ini.toStdString()).jumpTime, "");
    window->RouteTo->setText(QStringLiteral("5"));
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    EXPECT_TRUE(window->Legs->isColumnHidden(kLegTimeColumn));
}

TEST(AtlasTravelSettings, MissingOrUnreadableFilesGiveTheDefaultAndOtherSectionsStay) {
    test::Workspace ws(QStringLiteral("atlas-travel-settings"));
    const std::string ini = ws.base(QStringLiteral("orrwin.ini"));
    EXPECT_EQ(readAtlasSettings(ini).jumpTime, "");
    EXPECT_EQ(readAtlasSettings(ws.base(QStringLiteral("no/such/orrwin.ini"))).jumpTime, "");
    {
        IniFile settings(ini);
        settings.writeString("Settings", "RecentSector1", "/data/a");
        settings.save();
    }
    writeAtlasSettings(ini, AtlasSettings{"1w"});
    writeAtlasSettings(ini, AtlasSettings{"2d"});
    const IniFile settings(ini);
    EXPECT_EQ(settings.readString("Atlas", "JumpTakes").value_or(""), "2d");
    EXPECT_EQ(settings.readString("Settings", "RecentSector1").value_or(""), "/data/a");
    EXPECT_THROW(writeAtlasSettings(ws.base(QStringLiteral("no/such/orrwin.ini")), AtlasSettings{"1w"}), IoError);
}

}  // namespace
}  // namespace orrimar::ui

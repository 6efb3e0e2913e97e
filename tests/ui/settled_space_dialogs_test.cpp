// The colony and empire dialogs driven headless: what OK writes, a refusal
// shown naming the field with the dialog left open and nothing written,
// the values of an existing record shown, removal after the question, and
// the colour asked through the colour dialog seam.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "settling/edit_fixture.h"
#include "ui/colony_dialog.h"
#include "ui/colour_dialog_seam.h"
#include "ui/empire_dialog.h"
#include "ui/message_seam.h"

namespace orrimar::ui {
namespace {

using orrimar::testing::changedFiles;
using orrimar::testing::EditSector;
using orrimar::testing::snapshot;

void choose(QComboBox* box, int data) {
    const int at = box->findData(data);
    ASSERT_GE(at, 0) << data;
    box->setCurrentIndex(at);
}

TEST(ColonyDialog, AddsAColonyOnTheWorldGivenAndRefusesASecondNamingTheWorld) {
    EditSector s("colony_dialog");
    s.name(NameKind::Race, 1, "Kethri");
    MessageCapture messages;
    {
        ColonyDialog dialog(s.base, std::nullopt, WorldRef{false, s.planetA1});
        EXPECT_EQ(dialog.WorldField->text(), QStringLiteral("planet:%1").arg(s.planetA1));
        EXPECT_FALSE(dialog.RemoveBtn->isVisible());
        EXPECT_EQ(dialog.RaceBox->itemText(1), QStringLiteral("Kethri (race 1)"));
        EXPECT_EQ(dialog.TypeBox->currentData().toInt(), static_cast<int>(kNewColonyType));
        dialog.show();
        choose(dialog.RaceBox, 1);
        EXPECT_EQ(dialog.OwnerBox->currentData().toInt(), 1) << "a new colony is its people's";
        choose(dialog.OwnerBox, kNoRace);
        choose(dialog.RaceBox, 2);
        EXPECT_EQ(dialog.OwnerBox->currentData().toInt(), kNoRace) << "an owner chosen stays";
        choose(dialog.RaceBox, 1);
        dialog.PopulationBox->setValue(35);
        EXPECT_EQ(dialog.PopulationWords->text(), QStringLiteral("60 million people"));
        choose(dialog.TypeBox, static_cast<int>(ColonyType::Mining));
        choose(dialog.StarportBox, static_cast<int>(Starport::Good));
        dialog.LawBox->setValue(2);
        dialog.GnpBox->setValue(65535);
        dialog.FacilityBoxes[1]->setChecked(true);  // Naval Base
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
        EXPECT_TRUE(messages.messages().empty());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(dialog.lastResult.startsWith(QStringLiteral("Colony 0 added on")))
            << dialog.lastResult.toStdString();
    }
    const TColonyRec c = s.layer().colonies.at(0);
    EXPECT_EQ(c.worldId, s.planetA1);
    EXPECT_EQ(c.race, 1);
    EXPECT_EQ(c.allegiance, kNoRace);
    EXPECT_EQ(c.populationCode, 35);
    EXPECT_EQ(c.colonyType, static_cast<int>(ColonyType::Mining));
    EXPECT_EQ(c.starport, static_cast<int>(Starport::Good));
    EXPECT_EQ(c.lawLevel, 2);
    EXPECT_EQ(c.gnp, 65535);
    EXPECT_EQ(c.facilities[0], 0b10);

    const auto before = snapshot(s.dir);
    ColonyDialog second(s.base, std::nullopt, WorldRef{false, s.planetA1});
    second.show();
    QTest::mouseClick(second.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_EQ(messages.messages()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(messages.messages()[0].text.startsWith(QStringLiteral("World: ")))
        << messages.messages()[0].text.toStdString();
    EXPECT_TRUE(messages.messages()[0].text.contains(QStringLiteral("already holds colony 0")));
    EXPECT_TRUE(second.isVisible());
    EXPECT_NE(second.result(), QDialog::Accepted);
    second.WorldField->setText(QStringLiteral("Nowhere"));
    QTest::mouseClick(second.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 2U);
    EXPECT_TRUE(messages.messages()[1].text.contains(QStringLiteral("no world is called")))
        << messages.messages()[1].text.toStdString();
    EXPECT_EQ(changedFiles(before, snapshot(s.dir)), "");
}

TEST(ColonyDialog, ShowsAnExistingColonyChangesItAndRemovesItAfterAsking) {
    EditSector s("colony_dialog_edit");
    ColonyFields f;
    f.world = WorldRef{true, s.moonB};
    f.race = 2;
    f.owner = 1;
    f.populationCode = 12;
    f.facilities = std::vector<Facility>{Facility::Arcology};
    AddColony(s.base, f);
    MessageCapture messages;
    {
        ColonyDialog dialog(s.base, 0, std::nullopt);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Colony 0"));
        EXPECT_EQ(dialog.WorldField->text(), QStringLiteral("moon:%1").arg(s.moonB));
        EXPECT_EQ(dialog.RaceBox->currentData().toInt(), 2);
        EXPECT_EQ(dialog.OwnerBox->currentData().toInt(), 1);
        EXPECT_EQ(dialog.PopulationBox->value(), 12);
        EXPECT_TRUE(dialog.FacilityBoxes[6]->isChecked());
        EXPECT_FALSE(dialog.FacilityBoxes[0]->isChecked());
        dialog.show();
        dialog.StabilityBox->setValue(kLastLevel);
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(s.layer().colonies.at(0).stability, kLastLevel);
    EXPECT_EQ(s.layer().colonies.at(0).race, 2);

    ColonyDialog dialog(s.base, 0, std::nullopt);
    dialog.show();
    messages.answerQuestions(false);
    QTest::mouseClick(dialog.RemoveBtn, Qt::LeftButton);
    EXPECT_FALSE(isVacant(s.layer().colonies.at(0)));
    messages.answerQuestions(true);
    QTest::mouseClick(dialog.RemoveBtn, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(isVacant(s.layer().colonies.at(0)));
    // A removed colony has nothing to show.
    EXPECT_THROW(ColonyDialog(s.base, 0, std::nullopt), InputError);
}

TEST(EmpireDialog, AddsRecoloursAndRenamesThroughTheColourSeam) {
    EditSector s("empire_dialog");
    MessageCapture messages;
    resetColourSeam(true);
    {
        EmpireDialog dialog(s.base, std::nullopt, 1);
        EXPECT_EQ(dialog.RaceBox->currentData().toInt(), 1);
        EXPECT_EQ(dialog.ColourBtn->text(), QString::fromStdString(colourText(defaultEmpireColour(1))));
        dialog.show();
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);  // no name yet
        ASSERT_EQ(messages.messages().size(), 1U);
        EXPECT_EQ(messages.messages()[0].text, QStringLiteral("Name: an empire needs a name"));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(s.layer().empires.empty());

        dialog.NameField->setText(QStringLiteral("Kethri Reach"));
        dialog.CapitalField->setText(QStringLiteral("3"));
        setNextColour(QColor(0x11, 0x22, 0x33));
        QTest::mouseClick(dialog.ColourBtn, Qt::LeftButton);
        EXPECT_EQ(dialog.ColourBtn->text(), QStringLiteral("#112233"));
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    TEmpireRec e = s.layer().empires.at(0);
    EXPECT_EQ(e.race, 1);
    EXPECT_EQ(e.name.str(), "Kethri Reach");
    EXPECT_EQ(e.capitalSystemId, 3);
    EXPECT_EQ(e.colour, (EmpireColour{0x11, 0x22, 0x33}));

    EmpireDialog edit(s.base, 0, std::nullopt);
    EXPECT_EQ(edit.NameField->text(), QStringLiteral("Kethri Reach"));
    EXPECT_EQ(edit.CapitalField->text(), QStringLiteral("3"));
    edit.show();
    setNextColourCancelled();
    QTest::mouseClick(edit.ColourBtn, Qt::LeftButton);
    EXPECT_EQ(edit.ColourBtn->text(), QStringLiteral("#112233"));
    edit.NameField->setText(QStringLiteral("Reach"));
    edit.CapitalField->setText(QStringLiteral("Nowhere"));
    QTest::mouseClick(edit.OKBtn, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 2U);
    EXPECT_TRUE(messages.messages()[1].text.startsWith(QStringLiteral("Capital")))
        << messages.messages()[1].text.toStdString();
    edit.CapitalField->setText(QString());
    QTest::mouseClick(edit.OKBtn, Qt::LeftButton);
    EXPECT_EQ(edit.result(), QDialog::Accepted);
    e = s.layer().empires.at(0);
    EXPECT_EQ(e.name.str(), "Reach");
    EXPECT_EQ(e.capitalSystemId, 3);  // a blank capital keeps it
    EXPECT_EQ(e.colour, (EmpireColour{0x11, 0x22, 0x33}));
}

}  // namespace
}  // namespace orrimar::ui

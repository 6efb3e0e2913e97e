// The campaign in the Atlas window: notes boxes that save after a pause, on
// a change of selection and never lose what was typed; the "known to
// players" box writing its mark; the search finding systems by their notes;
// and the players' view hiding what the players do not know from the map,
// the panels, the lists and the search.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QDoubleSpinBox>
#include <QHelpEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

#include "campaign/campaign_file.h"
#include "campaign/notes.h"
#include "campaign/players_view.h"
#include "names/rename.h"
#include "print/atlas_scene.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_files.h"
#include "sheets/system_sheet.h"
#include "support/file_text.h"
#include "support/record_bytes.h"
#include "support/test_dir.h"
#include "ui/atlas_empires_panel.h"
#include "ui/atlas_notes_box.h"
#include "ui/atlas_route_panel.h"
#include "ui/atlas_search_panel.h"
#include "ui/atlas_widget.h"
#include "ui/atlas_window.h"
#include "ui/sector_watcher.h"
#include "ui_test_support.h"

namespace orrimar::ui {
namespace {

constexpr std::uint16_t kRace = 2;  // the Crimson Pact's race (makeCrimsonPactCube)

// The settled cube of the settled-space tests: one colony of race 2 on
// planet 0, race 2 controlling that system (the capital) as the Crimson
// Pact; `other` is another system, named Hollow Gate, with no colony.
struct AtlasCampaign : ::testing::Test {
    void SetUp() override {
        ws = std::make_unique<test::Workspace>(QStringLiteral("atlas-campaign"));
        base = ws->base(QStringLiteral("cube"));
        capital = test::makeCrimsonPactCube(base);
        ASSERT_GT(RecordReader<TAlienRec>(sectorPath(base, ".aln")).count(), kRace);
        other = capital == 0 ? 1 : 0;
        window = std::make_unique<AtlasWindow>(ws->file(QStringLiteral("orrwin.ini")));
        window->resize(1100, 700);
        window->show();
        QApplication::processEvents();
        ASSERT_TRUE(window->openSector(QString::fromStdString(base)));
        window->selectSystem(other);
        ASSERT_TRUE(window->renameSelected(QStringLiteral("Hollow Gate")));
        window->selectSystem(capital);
        box = window->SystemNotes;
        QApplication::processEvents();
    }
    std::optional<std::string> noteOn(const Thing& thing) const {
        const auto note = getNote(base, thing);
        return note ? std::optional<std::string>(note->text) : std::nullopt;
    }
    // The entry of the first subject of `kind` chosen in `notes`.
    bool chooseFirst(AtlasNotesBox* notes, ThingKind kind) {
        for (int i = 0; i < notes->SubjectList->count(); ++i) {
            if (notes->SubjectList->itemData(i, Qt::UserRole).toInt() == static_cast<int>(kind)) {
                notes->SubjectList->setCurrentIndex(i);
                return true;
            }
        }
        return false;
    }
    std::vector<int> matchedIds() const {
        std::vector<int> ids;
        for (int row = 0; row < window->Matches->rowCount(); ++row)
            ids.push_back(window->Matches->item(row, 0)->data(Qt::UserRole).toInt());
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    QString foundBy(int id) const {
        for (int row = 0; row < window->Matches->rowCount(); ++row) {
            if (window->Matches->item(row, 0)->data(Qt::UserRole).toInt() == id)
                return window->Matches->item(row, 8)->text();
        }
        return QStringLiteral("(not listed)");
    }
    void search(const QString& text) {
        window->SearchText->setText(text);
        window->runSearch();
    }

    std::unique_ptr<test::Workspace> ws;
    std::string base;
    std::int32_t capital = -1;
    std::int32_t other = -1;
    MessageCapture messages;
    std::unique_ptr<AtlasWindow> window;
    AtlasNotesBox* box = nullptr;
};

TEST_F(AtlasCampaign, ANoteIsSavedAfterAPauseAndBeforeTheSelectionChangesAndComesBack) {
    const Thing system{ThingKind::System, capital};
    ASSERT_EQ(box->subject(), system);
    ASSERT_TRUE(box->isEnabled());
    box->Text->setPlainText(QStringLiteral("Pirates hide here"));
    EXPECT_TRUE(box->hasUnsaved());
    EXPECT_TRUE(box->Pause->isActive());
    EXPECT_EQ(box->Pause->interval(), AtlasNotesBox::kPauseMs);
    EXPECT_EQ(noteOn(system), std::nullopt) << "nothing is written while the typing goes on";
    ASSERT_TRUE(QTest::qWaitFor([&] { return noteOn(system).has_value(); }, 3000));
    EXPECT_EQ(noteOn(system), "Pirates hide here");
    EXPECT_FALSE(box->hasUnsaved());
    EXPECT_EQ(getNote(base, system)->audience, NoteAudience::Secret);

    // Typed and, before the pause is over, another system chosen: saved first.
    box->Text->setPlainText(QStringLiteral("Pirates hide here. Beware the Ürk"));
    window->selectSystem(other);
    EXPECT_EQ(noteOn(system), "Pirates hide here. Beware the Ürk");
    EXPECT_EQ(box->subject(), (Thing{ThingKind::System, other}));
    EXPECT_TRUE(box->Text->toPlainText().isEmpty());
    window->selectSystem(capital);
    EXPECT_EQ(box->Text->toPlainText(), QStringLiteral("Pirates hide here. Beware the Ürk"));
    EXPECT_FALSE(box->PublicBox->isChecked());
    box->PublicBox->setChecked(true);
    EXPECT_EQ(getNote(base, system)->audience, NoteAudience::Players);

    // A world of the system by the chooser; choosing back saves it first.
    ASSERT_TRUE(chooseFirst(box, ThingKind::Planet));
    const Thing world = *box->subject();
    ASSERT_EQ(world.kind, ThingKind::Planet);
    box->Text->setPlainText(QStringLiteral("Ice caves"));
    ASSERT_TRUE(box->choose(system));
    EXPECT_EQ(noteOn(world), "Ice caves");
    EXPECT_EQ(noteOn(system), "Pirates hide here. Beware the Ürk");

    // Emptied, the note goes; the focus leaving the box saves.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    box->Text->setFocus();
    box->Text->setPlainText(QStringLiteral("  \n"));
    window->Summary->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(box->hasUnsaved());
    EXPECT_EQ(noteOn(system), std::nullopt);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AtlasCampaign, AFailedSaveShowsTheMessageKeepsTheTextAndTheWindowOpen) {
    const Thing system{ThingKind::System, capital};
    // A folder where the campaign file should be: it cannot be opened.
    std::filesystem::create_directory(campaignPath(base));
    box->Text->setPlainText(QStringLiteral("The beacon lies"));
    EXPECT_FALSE(box->saveNow());
    ASSERT_EQ(messages.messages().size(), 1U);
    EXPECT_TRUE(messages.messages()[0].text.contains(QString::fromStdString(campaignPath(base))))
        << messages.messages()[0].text.toStdString();
    EXPECT_EQ(box->Text->toPlainText(), QStringLiteral("The beacon lies"));
    EXPECT_EQ(box->Status->text(), QStringLiteral("Not saved"));
    EXPECT_TRUE(box->hasUnsaved());
    // Another system chosen: the box stays on its thing with the text.
    window->selectSystem(other);
    EXPECT_EQ(box->subject(), system);
    EXPECT_EQ(box->Text->toPlainText(), QStringLiteral("The beacon lies"));
    // Closing would lose it: the window stays.
    window->close();
    EXPECT_TRUE(window->isVisible());

    std::filesystem::remove(campaignPath(base));
    messages.clear();
    EXPECT_TRUE(box->saveNow());
    EXPECT_EQ(noteOn(system), "The beacon lies");
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AtlasCampaign, TheKnownBoxShowsTheDefaultAndWritesTheMark) {
    const Thing system{ThingKind::System, capital};
    ASSERT_TRUE(box->KnownBox->isVisible());
    EXPECT_TRUE(box->KnownBox->isChecked()) << "systems are known unless hidden";
    box->KnownBox->click();
    EXPECT_FALSE(isKnown(base, system));
    EXPECT_FALSE(box->KnownBox->isChecked());
    box->DefaultBtn->click();
    EXPECT_TRUE(isKnown(base, system));
    EXPECT_TRUE(box->KnownBox->isChecked());

    ASSERT_TRUE(chooseFirst(box, ThingKind::Colony));
    EXPECT_EQ(box->subject(), (Thing{ThingKind::Colony, 0}));
    EXPECT_FALSE(box->KnownBox->isChecked()) << "colonies are unknown until revealed";
    box->KnownBox->click();
    EXPECT_TRUE(isKnown(base, {ThingKind::Colony, 0}));
    ASSERT_TRUE(chooseFirst(box, ThingKind::Planet));
    EXPECT_FALSE(box->KnownBox->isVisible()) << "a world is known with its system";

    // The Empires panel's box is on the chosen empire.
    AtlasNotesBox* empireNotes = window->EmpiresPanel->Notes;
    EXPECT_FALSE(empireNotes->isEnabled());
    window->EmpiresPanel->Empires->setCurrentCell(0, 0);
    ASSERT_EQ(empireNotes->subject(), (Thing{ThingKind::Empire, 0}));
    EXPECT_FALSE(empireNotes->KnownBox->isChecked());
    empireNotes->KnownBox->click();
    EXPECT_TRUE(isKnown(base, {ThingKind::Empire, 0}));
    empireNotes->Text->setPlainText(QStringLiteral("Crimson banners"));
    EXPECT_TRUE(empireNotes->saveNow());
    EXPECT_EQ(noteOn({ThingKind::Empire, 0}), "Crimson banners");
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AtlasCampaign, TheSearchFindsSystemsByTheWordsOfTheirNotesAndSaysSo) {
    setNote(base, {ThingKind::System, other}, "The derelict Iotrosel beacon drifts");
    setNote(base, {ThingKind::Empire, 0}, "Smugglers pay tribute");
    search(QStringLiteral("derel"));
    EXPECT_EQ(matchedIds(), std::vector<int>{other});
    EXPECT_EQ(foundBy(other), QStringLiteral("note: The derelict Iotrosel beacon drifts"));
    search(QStringLiteral("BEACON iotro"));
    EXPECT_EQ(matchedIds(), std::vector<int>{other}) << "every word, as prefixes, any case";
    search(QStringLiteral("beacon pirates"));
    EXPECT_TRUE(matchedIds().empty());
    // An empire's note lights its capital.
    search(QStringLiteral("smuggler"));
    EXPECT_EQ(matchedIds(), std::vector<int>{capital});
    // Found by its name, a system says nothing of notes.
    search(QStringLiteral("Hollow"));
    EXPECT_EQ(matchedIds(), std::vector<int>{other});
    EXPECT_TRUE(foundBy(other).isEmpty());
    // The other criteria still hold for what a note finds.
    window->ColoniesBox->setChecked(true);
    search(QStringLiteral("derelict"));
    EXPECT_TRUE(matchedIds().empty());
    search(QStringLiteral("smug"));
    EXPECT_EQ(matchedIds(), std::vector<int>{capital});
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AtlasCampaign, ThePlayersViewHidesWhatTheyDoNotKnowEverywhere) {
    setNote(base, {ThingKind::System, capital}, "Secret smugglers den", NoteAudience::Secret);
    setNote(base, {ThingKind::System, other}, "Old beacon, public", NoteAudience::Players);
    markForPlayers(base, std::vector<Thing>{{ThingKind::System, other}}, PlayersMark::Unknown);
    setNote(base, {ThingKind::Empire, 0}, "Crimson smugglers' tax", NoteAudience::Players);
    ASSERT_EQ(window->EmpiresPanel->Empires->rowCount(), 1);

    ASSERT_TRUE(window->setPlayersView(true));
    EXPECT_TRUE(window->PlayersViewAction->isChecked());
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("Players' view")));
    // The empire is unknown: not listed, not offered, no territory drawn.
    EXPECT_EQ(window->EmpiresPanel->Empires->rowCount(), 0);
    EXPECT_EQ(window->Search->OwnerList->findData(kRace), -1);
    EXPECT_FALSE(window->Route->chooseVia(atlas::RouteStopChoice{atlas::RouteStop::Empire, kRace}));
    const print::AtlasScene& scene = window->Map->scene();
    EXPECT_TRUE(scene.borders.empty());
    EXPECT_TRUE(
        std::none_of(scene.dots.begin(), scene.dots.end(), [](const print::AtlasDot& d) { return d.tint != 0; }));
    EXPECT_TRUE(std::none_of(scene.dots.begin(), scene.dots.end(),
                             [](const print::AtlasDot& d) { return (d.marks & print::kMarkColony) != 0; }));
    // The hidden system: a plain grey dot without a label.
    const auto hidden =
        std::find_if(scene.dots.begin(), scene.dots.end(), [&](const print::AtlasDot& d) { return d.id == other; });
    ASSERT_NE(hidden, scene.dots.end());
    EXPECT_EQ(hidden->marks, 0);
    EXPECT_EQ(hidden->tint, 0U);
    EXPECT_EQ(hidden->colour, qRgb(0x8a, 0x8a, 0x8a));
    for (const print::AtlasLabel& label : scene.labels) {
        EXPECT_NE(label.text, QStringLiteral("Hollow Gate"));
        EXPECT_FALSE(label.text.front().isDigit()) << "players read no record numbers: " << label.text.toStdString();
    }

    // The capital: its colony and ruler unknown, the secret note not shown.
    window->selectSystem(capital);
    const QString summary = window->Summary->toPlainText();
    EXPECT_FALSE(summary.contains(QStringLiteral("Crimson"))) << summary.toStdString();
    EXPECT_FALSE(summary.contains(QStringLiteral("Colonies"))) << summary.toStdString();
    EXPECT_FALSE(chooseFirst(box, ThingKind::Colony));
    ASSERT_TRUE(box->choose({ThingKind::System, capital}));
    EXPECT_TRUE(box->Text->toPlainText().isEmpty());
    EXPECT_TRUE(box->Text->isReadOnly());
    EXPECT_FALSE(box->KnownBox->isVisible());
    EXPECT_FALSE(window->RenameBtn->isEnabled());
    // The hidden system: where it is and no more.
    window->selectSystem(other);
    EXPECT_TRUE(window->Summary->toPlainText().contains(QStringLiteral("Unknown system")));
    EXPECT_FALSE(window->Summary->toPlainText().contains(QStringLiteral("Hollow")));
    EXPECT_FALSE(box->isEnabled());
    // The search finds neither the hidden name, nor colonies, nor secret,
    // hidden or unknown things' notes.
    search(QStringLiteral("Hollow"));
    EXPECT_TRUE(matchedIds().empty());
    search(QStringLiteral("smugglers"));
    EXPECT_TRUE(matchedIds().empty());
    search(QStringLiteral("beacon"));
    EXPECT_TRUE(matchedIds().empty());
    search(QString());
    window->ColoniesBox->setChecked(true);
    window->runSearch();
    EXPECT_TRUE(matchedIds().empty());
    window->ColoniesBox->setChecked(false);

    // Revealed empire and colony, hidden race: the empire shows with its
    // territory, its race unnamed; the public note is read, not edited.
    ASSERT_TRUE(window->setPlayersView(false));
    markForPlayers(base, std::vector<Thing>{{ThingKind::Empire, 0}, {ThingKind::Colony, 0}}, PlayersMark::Known);
    markForPlayers(base, std::vector<Thing>{{ThingKind::Race, kRace}}, PlayersMark::Unknown);
    ASSERT_TRUE(window->setPlayersView(true));
    ASSERT_EQ(window->EmpiresPanel->Empires->rowCount(), 1);
    EXPECT_EQ(window->EmpiresPanel->Empires->item(0, 1)->text(), QStringLiteral("unknown race"));
    EXPECT_FALSE(window->Map->scene().borders.empty());
    window->selectSystem(capital);
    EXPECT_TRUE(window->Summary->toPlainText().contains(QStringLiteral("Crimson Pact")));
    EXPECT_FALSE(chooseFirst(box, ThingKind::Race) && box->subject()->id == kRace);
    search(QStringLiteral("smugglers"));
    EXPECT_EQ(matchedIds(), std::vector<int>{capital});
    EXPECT_EQ(foundBy(capital), QStringLiteral("note: Crimson smugglers' tax"));
    window->EmpiresPanel->Empires->setCurrentCell(0, 0);
    EXPECT_EQ(window->EmpiresPanel->Notes->Text->toPlainText(), QStringLiteral("Crimson smugglers' tax"));
    EXPECT_TRUE(window->EmpiresPanel->Notes->Text->isReadOnly());

    // Back to the game master's view: everything again.
    window->PlayersViewAction->trigger();
    EXPECT_FALSE(window->playersView());
    EXPECT_FALSE(window->windowTitle().contains(QStringLiteral("Players")));
    EXPECT_TRUE(window->EmpiresPanel->Empires->item(0, 1)->text().contains(QStringLiteral("race 2")));
    window->selectSystem(capital);
    EXPECT_EQ(box->Text->toPlainText(), QStringLiteral("Secret smugglers den"));
    EXPECT_TRUE(messages.messages().empty());
}

// A word found nowhere else, planted where only the game master may read
// it: the name of a race the players never met, native to a world of a
// system they know, and a secret note on that system.
constexpr std::string_view kSecretWord = "Zorvakith";

bool leaks(const QString& text) {
    static const std::regex recordNumber(R"(system \d)", std::regex::icase);
    const std::string plain = text.toStdString();
    return text.contains(QString::fromUtf8(kSecretWord.data(), static_cast<qsizetype>(kSecretWord.size()))) ||
           std::regex_search(plain, recordNumber);
}

struct AtlasPlayersLeaks : AtlasCampaign {
    void SetUp() override {
        AtlasCampaign::SetUp();
        if (HasFatalFailure()) return;
        TPlanetRec world = RecordReader<TPlanetRec>(sectorPath(base, ".pln")).read(0);
        markNativeRace(world);
        world.nativeRaceId = kRace;
        {
            std::fstream file(sectorPath(base, ".pln"), std::ios::binary | std::ios::in | std::ios::out);
            file << testing::bytesOf(world);
        }
        renameInSector(base, NameKind::Race, kRace, kSecretWord);
        setNote(base, {ThingKind::System, capital}, std::string(kSecretWord) + " spies", NoteAudience::Secret);
        markForPlayers(base, std::vector<Thing>{{ThingKind::Race, kRace}}, PlayersMark::Unknown);
        window->reloadSector();
        // Read already: the watch must not read it again under the test.
        window->watcher()->acknowledge();
        window->selectSystem(capital);
        QApplication::processEvents();
    }
    // What the map's tooltip says over every dot.
    std::vector<QString> tooltips() {
        std::vector<QString> shown;
        for (const print::AtlasDot& dot : window->Map->scene().dots) {
            const QPoint at = dot.at.toPoint();
            QHelpEvent help(QEvent::ToolTip, at, window->Map->mapToGlobal(at));
            QApplication::sendEvent(window->Map, &help);
            shown.push_back(QToolTip::text());
        }
        return shown;
    }
    std::vector<QString> legCells() const {
        std::vector<QString> cells;
        for (int row = 0; row < window->Legs->rowCount(); ++row) {
            for (int column = 0; column < window->Legs->columnCount(); ++column) {
                if (const QTableWidgetItem* item = window->Legs->item(row, column)) cells.push_back(item->text());
            }
        }
        return cells;
    }
};

TEST_F(AtlasPlayersLeaks, TheSummaryTooltipsAndLegsKeepTheGameMastersSecrets) {
    // The game master reads the race where it lives: the word is planted.
    ASSERT_TRUE(leaks(window->Summary->toPlainText())) << window->Summary->toPlainText().toStdString();

    // An unnamed system the players know, to be reached by a route.
    std::int32_t unnamed = 0;
    while (unnamed == capital || unnamed == other) ++unnamed;
    renameInSector(base, NameKind::System, unnamed, "");
    window->reloadSector();
    window->watcher()->acknowledge();
    const TSystemRec where = RecordReader<TSystemRec>(sectorPath(base, ".sun")).read(unnamed);
    const QString placeTitle = QString::fromStdString(sheets::playersSystemTitle({}, where.x, where.y, where.z));

    ASSERT_TRUE(window->setPlayersView(true));
    window->selectSystem(capital);
    const QString summary = window->Summary->toPlainText();
    EXPECT_FALSE(leaks(summary)) << summary.toStdString();
    EXPECT_FALSE(summary.contains(QStringLiteral("race 2"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("Worlds"))) << "the players still read the system's worlds";
    EXPECT_TRUE(window->RaceButtons->findChildren<QPushButton*>().isEmpty())
        << "an alien log is the game master's, with every code and secret note of the race";
    window->selectSystem(unnamed);
    EXPECT_TRUE(window->Summary->toPlainText().startsWith(placeTitle)) << window->Summary->toPlainText().toStdString();

    int named = 0;
    for (const QString& tip : tooltips()) {
        EXPECT_FALSE(leaks(tip)) << tip.toStdString();
        named += tip.contains(placeTitle) ? 1 : 0;
    }
    EXPECT_GE(named, 1) << "an unnamed system is known by its place";

    window->RouteFrom->setText(QString::number(capital));
    window->RouteTo->setText(QString::number(unnamed));
    window->JumpSpin->setValue(1000.0);
    QTest::mouseClick(window->RouteBtn, Qt::LeftButton);
    const std::vector<QString> cells = legCells();
    ASSERT_FALSE(cells.empty()) << window->RouteStatus->text().toStdString();
    for (const QString& cell : cells) EXPECT_FALSE(leaks(cell)) << cell.toStdString();
    EXPECT_NE(std::find(cells.begin(), cells.end(), placeTitle), cells.end());
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AtlasPlayersLeaks, AMarkOrNoteWrittenByAnotherProgramShowsInTheOpenWindow) {
    window->watcher()->setDelays(20, 20);
    markForPlayers(base, std::vector<Thing>{{ThingKind::System, other}}, PlayersMark::Unknown);
    ASSERT_TRUE(window->setPlayersView(true));
    window->selectSystem(other);
    ASSERT_TRUE(window->Summary->toPlainText().contains(QStringLiteral("Unknown system")));

    // Revealed from outside: the file's watch brings it in, selection kept,
    // and the sector itself is not read again.
    markForPlayers(base, std::vector<Thing>{{ThingKind::System, other}}, PlayersMark::Known);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->Summary->toPlainText().contains(QStringLiteral("Hollow Gate")); }, 3000))
        << window->Summary->toPlainText().toStdString();
    EXPECT_EQ(window->selectedSystem(), other);
    EXPECT_FALSE(leaks(window->Summary->toPlainText()));
    EXPECT_TRUE(window->statusBar()->currentMessage().contains(QStringLiteral("campaign")))
        << window->statusBar()->currentMessage().toStdString();

    // Hidden again: back to a point of light.
    markForPlayers(base, std::vector<Thing>{{ThingKind::System, other}}, PlayersMark::Unknown);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window->Summary->toPlainText().contains(QStringLiteral("Unknown system")); }, 3000));
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(AtlasPlayersLeaks, ANoteFromOutsideIsReadUnlessTextIsBeingTyped) {
    const Thing system{ThingKind::System, capital};
    ASSERT_EQ(box->subject(), system);
    setNote(base, system, "Written by the command line", NoteAudience::Secret);
    emit window->watcher()->campaignChanged();
    EXPECT_EQ(box->Text->toPlainText(), QStringLiteral("Written by the command line"));
    EXPECT_EQ(box->subject(), system);

    // The game master's typing wins: it is neither replaced nor lost.
    box->Text->setPlainText(QStringLiteral("Typed in the window"));
    setNote(base, system, "Written again outside", NoteAudience::Secret);
    emit window->watcher()->campaignChanged();
    EXPECT_EQ(box->Text->toPlainText(), QStringLiteral("Typed in the window"));
    ASSERT_TRUE(box->saveNow());
    EXPECT_EQ(noteOn(system), "Typed in the window");
}

// The campaign file is watched even before it exists, and its change is
// told apart from a change of the sector.
TEST(SectorWatcherCampaign, ACampaignFileAppearingOrChangingIsReportedOnItsOwn) {
    test::Workspace ws(QStringLiteral("watch-campaign"));
    const std::string base = ws.base(QStringLiteral("cube"));
    test::makeSector(base, 4, 8, false, 3);
    std::filesystem::remove(campaignPath(base));
    SectorWatcher watcher;
    watcher.setDelays(20, 20);
    watcher.watch(QString::fromStdString(base));
    int sector = 0;
    int campaign = 0;
    QObject::connect(&watcher, &SectorWatcher::changed, [&] { ++sector; });
    QObject::connect(&watcher, &SectorWatcher::campaignChanged, [&] { ++campaign; });

    setNote(base, {ThingKind::System, 1}, "First note", NoteAudience::Secret);
    ASSERT_TRUE(QTest::qWaitFor([&] { return campaign == 1; }, 3000));
    markForPlayers(base, std::vector<Thing>{{ThingKind::System, 1}}, PlayersMark::Known);
    ASSERT_TRUE(QTest::qWaitFor([&] { return campaign == 2; }, 3000));
    EXPECT_EQ(sector, 0);

    // The window's own write, acknowledged, is not reported back.
    setNote(base, {ThingKind::System, 2}, "Own note", NoteAudience::Secret);
    watcher.acknowledge();
    QTest::qWait(150);
    EXPECT_EQ(campaign, 2);
}

}  // namespace
}  // namespace orrimar::ui

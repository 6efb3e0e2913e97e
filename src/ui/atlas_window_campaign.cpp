#include <QAction>
#include <QCloseEvent>
#include <QSignalBlocker>
#include <QStatusBar>

#include "ui/atlas_empires_panel.h"
#include "ui/atlas_notes_box.h"
#include "ui/atlas_route_panel.h"
#include "ui/atlas_session.h"
#include "ui/atlas_window.h"
#include "ui/error_report.h"

// The campaign in the atlas window: the notes boxes given their things, the
// players' view turned on and off, and notes saved before the window closes.

namespace orrimar::ui {

void AtlasWindow::showNotes() {
    std::vector<AtlasNotesBox::Subject> subjects;
    const auto id = session_->selected();
    if (id) {
        std::vector<AtlasSession::NoteSubject> found;
        guarded(this, [&] { found = session_->noteSubjects(*id); });
        for (const AtlasSession::NoteSubject& subject : found) {
            subjects.push_back({QString::fromStdString(subject.label), subject.thing});
        }
    }
    SystemNotes->setSubjects(sectorBase_, subjects);
    EmpiresPanel->setSector(sectorBase_);
}

void AtlasWindow::showTitle() {
    QString title = QStringLiteral("Atlas");
    if (session_->isOpen()) title += QStringLiteral(" - %1").arg(QString::fromStdString(session_->sectorName()));
    if (session_->playersView()) title += QStringLiteral(" - Players' view");
    setWindowTitle(title);
}

bool AtlasWindow::playersView() const { return session_->playersView(); }

bool AtlasWindow::setPlayersView(bool on) {
    const auto settle = [this] {
        const QSignalBlocker quiet(PlayersViewAction);
        PlayersViewAction->setChecked(session_->playersView());
    };
    if (on == session_->playersView() || !session_->isOpen()) {
        settle();
        return on == session_->playersView();
    }
    // What the game master typed is saved before the players look.
    if (!SystemNotes->saveNow() || !EmpiresPanel->Notes->saveNow()) {
        settle();
        return false;
    }
    const bool done = guarded(this, [&] { session_->setPlayersView(on); });
    settle();
    if (!done) return false;
    SystemNotes->setPlayersView(on);
    EmpiresPanel->Notes->setPlayersView(on);
    // The matches and the route may name what the players do not know.
    clearSearch();
    Route->clear();
    refreshSettledLists();
    rebuildScene();
    showSummary();
    showTitle();
    statusBar()->showMessage(on ? QStringLiteral("Players' view: only what the players know is shown")
                                : QStringLiteral("Game master's view: everything is shown"));
    return true;
}

void AtlasWindow::closeEvent(QCloseEvent* event) {
    if (!SystemNotes->saveNow() || !EmpiresPanel->Notes->saveNow()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

}  // namespace orrimar::ui

// The Atlas reading its open sector again when another program changed it.
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>

#include <exception>

#include "records/sector_lock.h"
#include "ui/atlas_empires_panel.h"
#include "ui/atlas_notes_box.h"
#include "ui/atlas_route_panel.h"
#include "ui/atlas_session.h"
#include "ui/atlas_window.h"
#include "ui/sector_watcher.h"

namespace orrimar::ui {

void AtlasWindow::reloadSector() {
    if (!session_->isOpen()) return;
    try {
        // A writer at work: look again once it is likely done, rather than
        // hold the window still for the lock's wait.
        if (SectorLock::isBeingChanged(sectorBase_.toStdString())) {
            throw LockBusyError(sectorBase_.toStdString() + " is being changed by another program");
        }
        session_->reload();
    } catch (const std::exception& error) {
        // Most often the writer still holds the sector's lock, or its last
        // system is not whole yet: the map keeps what it showed, and the
        // sector is read again once the writer is likely done. No box: the
        // game master did not ask for this reading.
        const bool again = watcher_->retryLater();
        statusBar()->showMessage(
            again ? QStringLiteral("%1 is being changed by another program; reading it again shortly").arg(sectorBase_)
                  : QStringLiteral("%1 changed on disk but could not be read again (%2); the map shows it as it was")
                        .arg(sectorBase_, QString::fromUtf8(error.what())));
        return;
    }
    showTitle();
    // The matches and the route were worked out on the systems as they were.
    clearSearch();
    Route->clear();
    refreshSettledLists();
    syncSlabControls();
    rebuildScene();
    showSummary();
    statusBar()->showMessage(QStringLiteral("%1 changed on disk and was read again: %2 systems")
                                 .arg(sectorBase_)
                                 .arg(session_->systemCount()));
}

void AtlasWindow::rereadCampaign() {
    if (!session_->isOpen()) return;
    if (session_->playersView()) {
        try {
            session_->rereadCampaign();
        } catch (const std::exception& error) {
            // No box: the game master did not ask for this reading.
            statusBar()->showMessage(
                QStringLiteral("The campaign of %1 changed on disk but could not be read again (%2)")
                    .arg(sectorBase_, QString::fromUtf8(error.what())));
            return;
        }
        // What the players know decides the things a box may be about; the
        // box comes back to the thing it showed when they still know it.
        const std::optional<Thing> was = SystemNotes->subject();
        clearSearch();
        Route->clear();
        refreshSettledLists();
        rebuildScene();
        showSummary();
        if (was) SystemNotes->choose(*was);
    } else {
        SystemNotes->reread();
    }
    EmpiresPanel->Notes->reread();
    statusBar()->showMessage(QStringLiteral("The campaign of %1 changed on disk and was read again").arg(sectorBase_));
}

}  // namespace orrimar::ui

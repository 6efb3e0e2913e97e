#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include "common/errors.h"
#include "settings/atlas_settings.h"

#include "ui/atlas_route_panel.h"
#include "ui/atlas_session.h"
#include "ui/atlas_window.h"
#include "ui/current_sector.h"
#include "ui/error_report.h"

// The atlas window's routes: the ends the Route panel names, resolved by
// the session's rule, the session's answer shown in the panel (timed by
// "Jump takes", which the settings file keeps) and drawn.

namespace orrimar::ui {

void AtlasWindow::runRoute() {
    if (!session_->isOpen()) return;
    QString problem;
    const auto from = systemFromText(RouteFrom->text(), QStringLiteral("From"), problem);
    const auto to = from ? systemFromText(RouteTo->text(), QStringLiteral("To"), problem) : std::nullopt;
    if (!from || !to) {
        Route->showProblem(problem.isEmpty() ? QStringLiteral("Choose the systems to go from and to.") : problem);
        return;
    }
    std::optional<atlas::Duration> each;
    try {
        each = Route->jumpTime();
    } catch (const InputError& e) {
        Route->showProblem(QString::fromStdString(e.what()));
        return;
    }
    std::optional<std::vector<AtlasSession::Leg>> legs;
    const bool ran = guarded(this, [&] { legs = session_->route(*from, *to, JumpSpin->value(), Route->via()); });
    if (!ran) return;
    if (!legs) {
        Route->showProblem(QStringLiteral("No route from system %1 to system %2 with jumps of %3 parsecs.")
                               .arg(*from)
                               .arg(*to)
                               .arg(JumpSpin->value(), 0, 'f', 1));
    } else {
        Route->showLegs(*legs, each);
    }
    rebuildScene();
}

void AtlasWindow::keepJumpTime() {
    try {
        Route->jumpTime();
    } catch (const InputError& e) {
        RouteStatus->setText(QString::fromStdString(e.what()));
        return;
    }
    const std::string path = sector_->settingsPath().toStdString();
    AtlasSettings settings = readAtlasSettings(path);
    const std::string typed = JumpTimeText->text().trimmed().toStdString();
    if (path.empty() || settings.jumpTime == typed) return;
    settings.jumpTime = typed;
    try {
        writeAtlasSettings(path, settings);
    } catch (const OrrError& e) {
        // The time still serves this run; only remembering it failed.
        statusBar()->showMessage(QStringLiteral("The jump time is not kept: %1").arg(QString::fromStdString(e.what())));
    }
}

}  // namespace orrimar::ui

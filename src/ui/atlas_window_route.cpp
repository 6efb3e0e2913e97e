#include <QDoubleSpinBox>
#include <QLineEdit>

#include "ui/atlas_route_panel.h"
#include "ui/atlas_session.h"
#include "ui/atlas_window.h"
#include "ui/error_report.h"

// The atlas window's routes: the ends the Route panel names, resolved by
// the session's rule, the session's answer shown in the panel and drawn.

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
    std::optional<std::vector<AtlasSession::Leg>> legs;
    const bool ran = guarded(this, [&] { legs = session_->route(*from, *to, JumpSpin->value(), Route->via()); });
    if (!ran) return;
    if (!legs) {
        Route->showProblem(QStringLiteral("No route from system %1 to system %2 with jumps of %3 parsecs.")
                               .arg(*from)
                               .arg(*to)
                               .arg(JumpSpin->value(), 0, 'f', 1));
    } else {
        Route->showLegs(*legs);
    }
    rebuildScene();
}

}  // namespace orrimar::ui

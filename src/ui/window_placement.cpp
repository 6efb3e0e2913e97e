#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace orrimar::ui {

namespace {
// A strip along the top of the window that must stay reachable with the
// mouse, so the user can drag the window back.
constexpr int kGripHeight = 30;
constexpr int kGripWidth = 80;
}  // namespace

QRect keepOnScreen(const QRect& window, const QList<QRect>& screens) {
    if (screens.isEmpty()) return window;
    const QRect grip(window.left(), window.top(), window.width(), std::min(kGripHeight, window.height()));
    for (const QRect& screen : screens) {
        const QRect seen = screen.intersected(grip);
        if (seen.width() >= std::min(kGripWidth, window.width()) && seen.height() > 0 && window.top() >= screen.top())
            return window;
    }
    const QRect& target = screens.first();
    QRect placed(window.topLeft(), window.size().boundedTo(target.size()));
    placed.moveLeft(std::clamp(placed.left(), target.left(), target.right() - placed.width() + 1));
    placed.moveTop(std::clamp(placed.top(), target.top(), target.bottom() - placed.height() + 1));
    return placed;
}

QList<QRect> availableScreenAreas() {
    QList<QRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen()) areas << primary->availableGeometry();
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen()) areas << screen->availableGeometry();
    }
    return areas;
}

}  // namespace orrimar::ui

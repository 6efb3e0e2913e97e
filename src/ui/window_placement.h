// Keeps a stored window position on a screen that exists now: a monitor may
// have been removed since the position was saved.
#pragma once

#include <QList>
#include <QRect>

namespace orrimar::ui {

// `window` unchanged when enough of it (its title bar area) lies on one of
// the `screens`; otherwise moved (and shrunk if need be) onto the first one.
QRect keepOnScreen(const QRect& window, const QList<QRect>& screens);

// The available areas of the screens attached now.
QList<QRect> availableScreenAreas();

}  // namespace orrimar::ui

// How a dialog asks the user for a colour. The real colour dialog is shown
// unless an answer has been queued, which is how the dialogs are driven
// without a person at the screen.
#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

namespace orrimar::ui {

// The colour chosen, starting from `initial`; nothing when the user cancels.
std::optional<QColor> pickColour(QWidget* parent, const QColor& initial, const QString& title);

// Queues the answer of the next colour dialog: the dialog is not shown.
void setNextColour(const QColor& colour);
// Queues a cancelled colour dialog.
void setNextColourCancelled();
// Drops queued answers; with `refuseReal` set, a colour dialog with no
// queued answer counts as cancelled instead of being shown (tests never block).
void resetColourSeam(bool refuseReal = false);

}  // namespace orrimar::ui

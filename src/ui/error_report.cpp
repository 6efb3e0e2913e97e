#include "ui/error_report.h"

#include "common/errors.h"
#include "ui/message_seam.h"

namespace orrimar::ui {

QString errorTitle(const std::exception& error) {
    if (dynamic_cast<const InputError*>(&error) != nullptr) return QStringLiteral("Error");
    return kApplicationTitle;
}

void reportRuntimeError(QWidget* parent, const std::exception& error) {
    showMessage(parent, errorTitle(error), QString::fromUtf8(error.what()));
}

}  // namespace orrimar::ui

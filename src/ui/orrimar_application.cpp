#include "ui/orrimar_application.h"

#include "ui/error_report.h"
#include "ui/message_seam.h"
#include "ui/star_field.h"

namespace orrimar::ui {

OrrimarApplication::OrrimarApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(kApplicationTitle);
    setApplicationVersion(QStringLiteral("1.6"));
    setDesktopFileName(QStringLiteral("orrimar"));
    setWindowIcon(programIcon());
}

bool OrrimarApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportRuntimeError(nullptr, error);
        return false;
    }
}

}  // namespace orrimar::ui

#include "cli/painting_app.h"

#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace orrimar::cli {

namespace {

// The command line's error stream is its own: Qt's notes about the
// session it runs in ("XDG_RUNTIME_DIR not set") are no error of the
// command's. What Qt calls critical still shows.
void qtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "orrimar-cli: %s\n", qPrintable(message));
}

}  // namespace

void ensurePaintingApp() {
    if (QCoreApplication::instance() != nullptr) return;
    qInstallMessageHandler(qtMessages);
    // Qt keeps argc and argv for the application's life.
    static int argc = 3;
    static char name[] = "orrimar-cli";
    static char platformFlag[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformFlag, platform, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace orrimar::cli

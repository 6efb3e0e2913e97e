#include "cli/painting_app.h"

#include <QGuiApplication>

#include <memory>

namespace orrimar::cli {

void ensurePaintingApp() {
    if (QCoreApplication::instance() != nullptr) return;
    // Qt keeps argc and argv for the application's life.
    static int argc = 3;
    static char name[] = "orrimar-cli";
    static char platformFlag[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformFlag, platform, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace orrimar::cli

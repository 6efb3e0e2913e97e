// orrimar: the desktop program, a launch pad of the sector commands.
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/orrimar_application.h"
#include "ui/settings_location.h"

int main(int argc, char** argv) {
    orrimar::ui::OrrimarApplication app(argc, argv);
    const orrimar::ui::ScopedMessageBoxSink messageBoxes;
    orrimar::ui::StartupOptions options;
    options.programDir = orrimar::ui::runningProgramDir();
    options.userConfigDir = orrimar::ui::defaultUserConfigDir();
    options.starter = orrimar::ui::systemStarter();
    orrimar::ui::TForm1 mainWindow(options);
    mainWindow.show();
    return app.exec();
}

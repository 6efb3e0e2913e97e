// orrimar: the desktop program, a launch pad of the sector commands.
// `orrimar SECTOR.sun` opens that sector straight in the atlas instead.
#include "ui/atlas_window.h"
#include "ui/main_window.h"
#include "ui/message_box_sink.h"
#include "ui/orrimar_application.h"
#include "ui/settings_location.h"
#include "ui/start_arguments.h"

int main(int argc, char** argv) {
    orrimar::ui::OrrimarApplication app(argc, argv);
    const orrimar::ui::ScopedMessageBoxSink messageBoxes;
    orrimar::ui::StartupOptions options;
    options.programDir = orrimar::ui::runningProgramDir();
    options.userConfigDir = orrimar::ui::defaultUserConfigDir();
    options.starter = orrimar::ui::systemStarter();
    if (const auto sector = orrimar::ui::atlasSectorArgument(QApplication::arguments())) {
        orrimar::ui::AtlasWindow atlas(orrimar::ui::resolveSettingsPath(options.programDir, options.userConfigDir));
        atlas.show();
        atlas.openSector(*sector);
        return app.exec();
    }
    orrimar::ui::TForm1 mainWindow(options);
    mainWindow.show();
    return app.exec();
}

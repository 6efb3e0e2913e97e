// One QApplication for the whole suite, on the offscreen platform: no
// display is needed and no window appears.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/colour_dialog_seam.h"
#include "ui/file_dialog_seam.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes about window hints say nothing of use.
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orrimar"));
    // A test that forgets to queue a file name must not wait for a person.
    orrimar::ui::resetFileDialogSeam(true);
    orrimar::ui::resetColourSeam(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

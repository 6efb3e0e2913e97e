// Takes the README's pictures of the launch pad and of the Create Sector
// dialog from the X screen the program runs on (a virtual one, under Xvfb,
// when started by scripts/screenshots). Not installed.
//
//   orrimar-screenshots OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "ui/create_sector_dialog.h"
#include "ui/main_window.h"
#include "ui/orrimar_application.h"

namespace {

void settle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool shoot(QWidget* window, const QString& path) {
    settle(600);
    QScreen* screen = window->screen();
    const QRect frame = window->frameGeometry();
    const QPixmap shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (shot.isNull() || !shot.save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), shot.width(), shot.height());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    orrimar::ui::OrrimarApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orrimar-screenshots OUTPUT_DIR\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    // A first run in a folder of its own: nothing of the user's is touched.
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    orrimar::ui::StartupOptions options;
    options.programDir = work.path() + QLatin1Char('/');
    options.userConfigDir = work.path();
    options.starter = [](const QString&, const QString&) { return false; };
    orrimar::ui::TForm1 form(options);
    form.move(40, 40);
    form.show();
    bool ok = shoot(&form, QDir(out).filePath(QStringLiteral("launch-pad.png")));
    form.BtnRightDlg->move(form.x() + 60, form.y() + 60);
    form.BtnRightDlg->show();
    ok = shoot(form.BtnRightDlg, QDir(out).filePath(QStringLiteral("create-sector.png"))) && ok;
    return ok ? 0 : 1;
}

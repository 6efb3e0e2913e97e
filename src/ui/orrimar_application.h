// The application object: the application title, and a last net for a
// runtime error that escapes a command, so the program goes on.
#pragma once

#include <QApplication>

namespace orrimar::ui {

class OrrimarApplication : public QApplication {
public:
    OrrimarApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace orrimar::ui

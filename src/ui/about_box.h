// The About box: the program icon, its name, version and a notice line.
#pragma once

#include <QDialog>

class QPushButton;

namespace orrimar::ui {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace orrimar::ui

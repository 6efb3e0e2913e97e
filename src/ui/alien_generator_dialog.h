// "Alien Generator": one alien race made to order for a world the user
// describes, its log written in one of the output systems.
#pragma once

#include <QDialog>

#include "ui/dialog_parts.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace orrimar::ui {

struct AppState;
class FileField;

class TForm6 : public QDialog, public CommandReport {
    Q_OBJECT
public:
    TForm6(AppState& state, QWidget* parent = nullptr);

    FileField* Edit2;      // "Save to :"
    QLineEdit* Edit1;      // "Temperature"
    QLineEdit* Edit3;      // "Gravity"
    QComboBox* ComboBox1;  // "World"
    QComboBox* ComboBox2;  // "Atmosphere"
    QComboBox* ComboBox3;  // "Output :"
    QCheckBox* CheckBox1;  // "Tot. al. disable"
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // Empties the three lists and refills World and Atmosphere, first entry
    // selected; the launch pad then fills Output.
    void FormCreate();
    void OKBtnClick();

private:
    AppState& state_;
};

}  // namespace orrimar::ui

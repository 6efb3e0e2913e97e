// "Settle Sector": fills a sector's colonies, control and empires from its
// own races, with a seed the game master may give to settle it again the
// same way.
#pragma once

#include <QDialog>

#include "ui/dialog_parts.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orrimar::ui {

class FileField;

class SettleDialog : public QDialog, public CommandReport {
    Q_OBJECT
public:
    explicit SettleDialog(QWidget* parent = nullptr);

    FileField* SectorField;  // "Sector: "
    QLineEdit* SeedEdit;     // "Seed :", empty for one from the clock
    QCheckBox* ReplaceBox;   // settle a settled sector afresh
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void OKBtnClick();
};

}  // namespace orrimar::ui

// The dialogs of the sector tools: the Colonies Report Log and the Sector
// Merger. Both work on the base names their fields show, chosen in their
// file dialogs or offered as the program's current sector.
#pragma once

#include <QDialog>
#include <QString>

#include "ui/dialog_parts.h"

class QLineEdit;
class QPushButton;

namespace orrimar::ui {

class FileField;

// "Colonies Report Log": every colony one race owns, as a text file.
class TForm8 : public QDialog, public CommandReport {
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);

    FileField* SectorField;  // "Sector: "
    FileField* SaveToField;  // "Save to :"
    QLineEdit* RaceField;    // "Race :"
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    QString sectorBaseName() const;
    QString logBaseName() const;

    void OKBtnClick();
};

// "Sector Merger ": appends a second sector to a first. Stays open after a
// merge, so a further sector can be added; its report names every merge of
// the opening.
class TFormMerger : public QDialog, public CommandReport {
    Q_OBJECT
public:
    explicit TFormMerger(QWidget* parent = nullptr);

    FileField* Edit1;  // "Main Sector  "
    FileField* Edit2;  // "Sector to add"
    QPushButton* Button1;
    QPushButton* Button2;

    QString mainBaseName() const;
    QString addedBaseName() const;

    void Button1Click();
    void Button2Click();
};

}  // namespace orrimar::ui

// The dialogs of the sector tools: the Colonies Report Log and the Sector
// Merger. Both work on the base names chosen in their file dialogs, not on
// the texts of their fields.
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

    // Empty until a file is chosen in the field's dialog.
    const QString& sectorBaseName() const { return sectorBase_; }
    const QString& logBaseName() const { return logBase_; }

    void OKBtnClick();

private:
    QString sectorBase_;
    QString logBase_;
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

    const QString& mainBaseName() const { return mainBase_; }
    const QString& addedBaseName() const { return addedBase_; }

    void Button1Click();
    void Button2Click();

private:
    QString mainBase_;
    QString addedBase_;
};

}  // namespace orrimar::ui

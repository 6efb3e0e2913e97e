// The empire dialog of the Atlas: an empire added for a race, or an
// existing one renamed, recoloured (through the colour dialog seam), given
// another capital or removed. Thin: its widgets go into the empire editor's
// fields (settling/empire_edit.h); a refusal is shown naming the field and
// the dialog stays open.
#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

#include "settling/empire_edit.h"
#include "ui/dialog_parts.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace orrimar::ui {

class EmpireDialog : public QDialog, public CommandReport {
    Q_OBJECT
public:
    // Adding an empire (`empireId` empty; for `race` when given) or changing
    // empire `empireId`.
    EmpireDialog(std::string sectorBase, std::optional<std::int64_t> empireId, std::optional<std::int64_t> race,
                 QWidget* parent = nullptr);

    QComboBox* RaceBox;       // item data: race id
    QLineEdit* NameField;     // 1..39 characters
    QLineEdit* CapitalField;  // a system's id or name; blank: the race's home system (adding)
    QPushButton* ColourBtn;   // opens the colour dialog
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* RemoveBtn;  // hidden when adding

    QColor colour() const { return colour_; }
    std::optional<std::int64_t> empireId() const { return empireId_; }

    void ColourBtnClick();
    void OKBtnClick();
    void RemoveBtnClick();

private:
    EmpireFields fieldsFromWidgets() const;
    void showColour();

    std::string base_;
    std::optional<std::int64_t> empireId_;
    QColor colour_;
    bool colourChosen_ = false;
};

// What the Atlas window calls: the dialog run modally; true when the sector
// changed (the window then reads it again). `status` gets the line to show.
bool addEmpire(QWidget* parent, const std::string& sectorBase, std::optional<std::int64_t> race, QString* status);
bool editEmpire(QWidget* parent, const std::string& sectorBase, std::int64_t empireId, QString* status);

}  // namespace orrimar::ui

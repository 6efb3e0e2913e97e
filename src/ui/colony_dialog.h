// The colony dialog of the Atlas: a colony added on a world, or an existing
// one changed or removed, by hand. Thin: it reads its widgets into the
// colony editor's fields (settling/colony_edit.h) and shows what the editor
// refuses, naming the field, without closing. Every list entry carries its
// code (race id, colony type, starport class, facility), never a position.
#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "names/world_names.h"
#include "settling/colony_edit.h"
#include "ui/dialog_parts.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace orrimar::ui {

class ColonyDialog : public QDialog, public CommandReport {
    Q_OBJECT
public:
    // Adding a colony (`colonyId` empty), on `world` when one is given, or
    // changing colony `colonyId`. IoError and friends when the sector
    // cannot be read.
    ColonyDialog(std::string sectorBase, std::optional<std::int64_t> colonyId, std::optional<WorldRef> world,
                 QWidget* parent = nullptr);

    QLineEdit* WorldField;    // planet:ID, moon:ID or a world's name
    QComboBox* RaceBox;       // item data: race id
    QComboBox* OwnerBox;      // item data: race id; kNoRace for "Independent"
    QSpinBox* PopulationBox;  // population code
    QLabel* PopulationWords;  // the code in people
    QComboBox* TypeBox;       // item data: ColonyType code
    QComboBox* StarportBox;   // item data: Starport code
    QSpinBox* LawBox;
    QSpinBox* StabilityBox;
    QSpinBox* CrimeBox;
    QSpinBox* GnpBox;
    QSpinBox* PowerBox;
    std::array<QCheckBox*, 8> FacilityBoxes;  // property "facility": the Facility code
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    QPushButton* RemoveBtn;  // hidden when adding

    // The colony the dialog added, changed or removed; empty until then.
    std::optional<std::int64_t> colonyId() const { return colonyId_; }

    // Reads the widgets and adds or changes the colony; stays open with a
    // message naming the field on a refusal.
    void OKBtnClick();
    // Asks, then removes the colony (its number stays, vacant).
    void RemoveBtnClick();

private:
    ColonyFields fieldsFromWidgets() const;
    void showColony(const TColonyRec& colony);
    QWidget* widgetOf(const std::string& field) const;
    void refuse(const std::string& field, const std::string& problem);

    std::string base_;
    std::optional<std::int64_t> colonyId_;
};

// What the Atlas window calls: the dialog run modally; true when the sector
// changed (the window then reads it again). `status` gets the line to show.
bool addColony(QWidget* parent, const std::string& sectorBase, std::optional<WorldRef> world, QString* status);
bool editColony(QWidget* parent, const std::string& sectorBase, std::int64_t colonyId, QString* status);

// The race entries of a sector's lists: "Kethri (race 1)", item data the id.
void fillRaceBox(QComboBox* box, const std::string& sectorBase);

}  // namespace orrimar::ui

// The atlas window's Empires panel: every race that controls systems, with
// its colour, its empire's name, the race, its capital, its systems and its
// people, largest first. Choosing a row asks the window to select the
// capital. The edit dialogs (rename, recolour) come in through a seam:
// the button shows once one is set. Under the table, the notes on the
// chosen empire (or, for a race ruling without an empire record, on the
// race).
#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/atlas_session.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace orrimar::ui {

class AtlasNotesBox;

class AtlasEmpiresPanel : public QWidget {
    Q_OBJECT
public:
    explicit AtlasEmpiresPanel(QWidget* parent = nullptr);

    // The rows; the notes box waits for a row to be chosen.
    void showEmpires(const std::vector<AtlasSession::EmpireRow>& empires);
    // The sector the notes are kept in (the window's open one).
    void setSector(const QString& baseName);
    // The race of the chosen row; -1 when none is chosen.
    int chosenRace() const;

    // Opens the empire editor for a race (rename, recolour); empty until
    // the editor is plugged in, and the button hidden.
    void setEmpireEditor(std::function<void(int race)> editor);

    // Row data: the race (Qt::UserRole), capital (Qt::UserRole + 1) and
    // empire record (Qt::UserRole + 2, -1 for none).
    QTableWidget* Empires;
    AtlasNotesBox* Notes;
    QLabel* EmpireCount;
    QPushButton* EditEmpireBtn;

signals:
    void capitalChosen(std::int32_t systemId);

private:
    void chooseRow(int row);

    std::function<void(int race)> editor_;
    QString base_;
};

}  // namespace orrimar::ui

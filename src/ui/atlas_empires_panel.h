// The atlas window's Empires panel: every race that controls systems, with
// its colour, its empire's name, the race, its capital, its systems and its
// people, largest first. Choosing a row asks the window to select the
// capital. The edit dialogs (rename, recolour) come in through a seam:
// the button shows once one is set.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/atlas_session.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace orrimar::ui {

class AtlasEmpiresPanel : public QWidget {
    Q_OBJECT
public:
    explicit AtlasEmpiresPanel(QWidget* parent = nullptr);

    void showEmpires(const std::vector<AtlasSession::EmpireRow>& empires);
    // The race of the chosen row; -1 when none is chosen.
    int chosenRace() const;

    // Opens the empire editor for a race (rename, recolour); empty until
    // the editor is plugged in, and the button hidden.
    void setEmpireEditor(std::function<void(int race)> editor);

    QTableWidget* Empires;  // row data: the race (Qt::UserRole) and capital (Qt::UserRole + 1)
    QLabel* EmpireCount;
    QPushButton* EditEmpireBtn;

signals:
    void capitalChosen(std::int32_t systemId);

private:
    std::function<void(int race)> editor_;
};

}  // namespace orrimar::ui

// The atlas window's Search panel: the criteria (a system's own, its
// worlds', settled space's) and the list of matches. It reads its widgets
// into a query and lists what the session found; the window runs the
// search. Every list entry carries its value (a code, a race id), never
// its position.
#pragma once

#include <QWidget>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/atlas_session.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace orrimar::ui {

class AtlasJumpsOption;

class AtlasSearchPanel : public QWidget {
    Q_OBJECT
public:
    explicit AtlasSearchPanel(QWidget* parent = nullptr);

    AtlasSession::Query query() const;
    // The owners of the open sector (AtlasSession::ownerChoices); the
    // chosen one stays chosen while it is still among them.
    void setOwners(const std::vector<std::pair<std::string, int>>& owners);
    void showMatches(const std::vector<AtlasSession::Match>& matches);
    void clearMatches();

    QLineEdit* SearchText;
    QComboBox* StarKindList;
    QComboBox* WorldTypeList;
    QCheckBox* BreathableBox;
    QComboBox* TemperatureList;
    QComboBox* WaterList;
    QComboBox* GravityList;
    QComboBox* LifeList;
    QCheckBox* NativeRaceBox;
    QCheckBox* ColoniesBox;
    QDoubleSpinBox* WithinSpin;  // 0: anywhere
    AtlasJumpsOption* JumpsOption;
    QComboBox* OwnerList;       // data: race id, AtlasSession::kIndependent or kAnyOwner
    QComboBox* PopulationList;  // data: AtlasSession::populationChoices entry
    QComboBox* StarportList;    // data: Starport code, 0 any
    QComboBox* ColonyTypeList;  // data: ColonyType code, 0 any
    QPushButton* SearchBtn;
    QPushButton* ClearBtn;
    QTableWidget* Matches;
    QLabel* MatchCount;

signals:
    void searchRequested();
    void clearRequested();
    void systemChosen(std::int32_t id);
};

}  // namespace orrimar::ui

// The atlas window's Route panel: two ends, the jump, where the route may
// stop ("Only through": a kind of system, or one empire's systems; each
// entry carries its rule), how long a jump takes, and the legs found. The
// window resolves the ends and asks the session; the panel shows the answer.
#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "atlas/route_stops.h"
#include "atlas/travel_time.h"
#include "ui/atlas_session.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace orrimar::ui {

class RouteStopList;

class AtlasRoutePanel : public QWidget {
    Q_OBJECT
public:
    explicit AtlasRoutePanel(QWidget* parent = nullptr);

    // The "Only through" entries (AtlasSession::viaChoices); the chosen one
    // stays chosen while it is still offered.
    void setViaChoices(const std::vector<std::pair<std::string, atlas::RouteStopChoice>>& choices);
    atlas::RouteStopChoice via() const;
    // Chooses the entry of `choice`; false when none is offered.
    bool chooseVia(const atlas::RouteStopChoice& choice);

    // The time one jump takes as typed in "Jump takes": nothing when the
    // field is empty (jumps untimed); InputError naming the field when it
    // is no time.
    std::optional<atlas::Duration> jumpTime() const;

    // The legs of a route found (an empty list: already there), each timed
    // by `each` when given, or nothing and the reason when none was.
    void showLegs(const std::vector<AtlasSession::Leg>& legs, std::optional<atlas::Duration> each = std::nullopt);
    void showProblem(const QString& text);
    void clear();

    QLineEdit* RouteFrom;
    QLineEdit* RouteTo;
    QDoubleSpinBox* JumpSpin;
    RouteStopList* ViaList;
    QLineEdit* JumpTimeText;  // "1w", "7d", "2w3d"; empty: jumps untimed
    QPushButton* RouteBtn;
    QTableWidget* Legs;
    QLabel* RouteStatus;

signals:
    void routeRequested();
    void systemChosen(std::int32_t id);
};

}  // namespace orrimar::ui

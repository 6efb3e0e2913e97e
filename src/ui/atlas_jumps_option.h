// The Search panel's "within N jumps of a system at jump J" option: a group
// of its own beside "Within", which when ticked keeps to the systems a ship
// reaches in that many jumps (stopping on the way only where "Only through"
// allows). It reads its widgets into the query; the session searches.
#pragma once

#include <QGroupBox>

#include "ui/atlas_session.h"

class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace orrimar::ui {

class RouteStopList;

class AtlasJumpsOption : public QGroupBox {
    Q_OBJECT
public:
    explicit AtlasJumpsOption(QWidget* parent = nullptr);

    // Sets the query's jump fields when the option is ticked; leaves them
    // unset (jumps not counted) when it is not.
    void fill(AtlasSession::Query& query) const;

    QSpinBox* JumpCountSpin;
    QLineEdit* JumpsOfText;  // name or id; empty: the selected system
    QDoubleSpinBox* JumpLengthSpin;
    RouteStopList* JumpViaList;
};

}  // namespace orrimar::ui

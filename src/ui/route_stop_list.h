// A list of where a ship may stop on the way ("Only through"): every stop
// rule, then one entry per ruling race, each entry carrying its rule (the
// stop, and the race in a role of its own), never its position. The Route
// panel and the Search panel's jump option both offer it.
#pragma once

#include <QComboBox>

#include <string>
#include <utility>
#include <vector>

#include "atlas/route_stops.h"

namespace orrimar::ui {

class RouteStopList : public QComboBox {
    Q_OBJECT
public:
    explicit RouteStopList(QWidget* parent = nullptr);

    // The entries (AtlasSession::viaChoices); the chosen one stays chosen
    // while it is still offered, else the first is.
    void setChoices(const std::vector<std::pair<std::string, atlas::RouteStopChoice>>& choices);
    // The chosen rule; "anywhere" when the list is empty.
    atlas::RouteStopChoice choice() const;
    // Chooses the entry of `choice`; false when none is offered.
    bool choose(const atlas::RouteStopChoice& choice);
};

}  // namespace orrimar::ui

#include "ui/route_stop_list.h"

namespace orrimar::ui {

namespace {

// The race of an Empire entry rides beside the stop.
constexpr int kRaceRole = Qt::UserRole + 1;

}  // namespace

RouteStopList::RouteStopList(QWidget* parent) : QComboBox(parent) {}

void RouteStopList::setChoices(const std::vector<std::pair<std::string, atlas::RouteStopChoice>>& choices) {
    const atlas::RouteStopChoice chosen = choice();
    clear();
    for (const auto& [label, entry] : choices) {
        addItem(QString::fromStdString(label), static_cast<int>(entry.stop));
        setItemData(count() - 1, static_cast<int>(entry.race), kRaceRole);
    }
    if (!choose(chosen)) setCurrentIndex(0);
}

atlas::RouteStopChoice RouteStopList::choice() const {
    if (currentIndex() < 0) return {};
    return atlas::RouteStopChoice{static_cast<atlas::RouteStop>(currentData().toInt()),
                                  static_cast<std::uint16_t>(currentData(kRaceRole).toInt())};
}

bool RouteStopList::choose(const atlas::RouteStopChoice& wanted) {
    for (int i = 0; i < count(); ++i) {
        const auto stop = static_cast<atlas::RouteStop>(itemData(i).toInt());
        const auto race = static_cast<std::uint16_t>(itemData(i, kRaceRole).toInt());
        if (stop == wanted.stop && (stop != atlas::RouteStop::Empire || race == wanted.race)) {
            setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

}  // namespace orrimar::ui

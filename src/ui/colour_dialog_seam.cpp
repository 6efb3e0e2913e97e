#include "ui/colour_dialog_seam.h"

#include <deque>

#include <QColorDialog>

namespace orrimar::ui {

namespace {

struct Seam {
    std::deque<std::optional<QColor>> queued;
    bool refuseReal = false;
};

Seam& seam() {
    static Seam instance;
    return instance;
}

}  // namespace

std::optional<QColor> pickColour(QWidget* parent, const QColor& initial, const QString& title) {
    Seam& s = seam();
    if (!s.queued.empty()) {
        std::optional<QColor> answer = s.queued.front();
        s.queued.pop_front();
        return answer;
    }
    if (s.refuseReal) return std::nullopt;
    const QColor chosen = QColorDialog::getColor(initial, parent, title);
    if (!chosen.isValid()) return std::nullopt;
    return chosen;
}

void setNextColour(const QColor& colour) { seam().queued.emplace_back(colour); }
void setNextColourCancelled() { seam().queued.emplace_back(std::nullopt); }

void resetColourSeam(bool refuseReal) {
    seam().queued.clear();
    seam().refuseReal = refuseReal;
}

}  // namespace orrimar::ui

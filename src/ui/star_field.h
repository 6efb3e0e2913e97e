// The launch pad's picture: a field of stars drawn by the program, the same
// at every start, and the program icon drawn the same way.
#pragma once

#include <QIcon>
#include <QWidget>

namespace orrimar::ui {

class StarField : public QWidget {
    Q_OBJECT
public:
    explicit StarField(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {200, 150}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Paints the star field into `area`.
void paintStarField(QPainter& painter, const QRect& area);

// The program icon: a yellow star with a ringed world before it.
QIcon programIcon();

}  // namespace orrimar::ui

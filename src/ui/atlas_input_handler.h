// What the mouse and the keys mean on the atlas map. The handler watches the
// map widget's events and says what the user asked for; the window carries
// it out on the atlas core's camera and selection.
//   drag: turn the cube (cube view) or pan (flat views)
//   wheel: zoom about the pointer        click: select the system there
//   1..4: cube, top, front, side          PgUp/PgDn, +/-: move the slab
//   arrows: pan                           Home: the whole sector again
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>

class QWidget;

namespace orrimar::ui {

class AtlasInputHandler : public QObject {
    Q_OBJECT
public:
    // Installs itself as `map`'s event filter.
    explicit AtlasInputHandler(QWidget* map);

    // True when a drag turns the view (the cube), false when it pans.
    void setDragTurns(bool turns) { dragTurns_ = turns; }

signals:
    void turnRequested(QPointF pixels);  // the drag since the last move
    void panRequested(QPointF pixels);
    void zoomRequested(double factor, QPointF about);
    void pickRequested(QPointF at);
    void viewRequested(int view);  // 0 cube, 1 top, 2 front, 3 side
    void slabStepRequested(int step);
    void resetRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* map_;
    bool dragTurns_ = true;
    bool pressed_ = false;
    bool dragged_ = false;
    QPointF pressAt_;
    QPointF lastAt_;
};

}  // namespace orrimar::ui

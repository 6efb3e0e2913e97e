#include "ui/atlas_input_handler.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>

namespace orrimar::ui {

namespace {
// A press that moves less than this is a click, not a drag.
constexpr double kClickSlop = 4.0;
// One wheel notch (120 eighths of a degree) zooms by this factor.
constexpr double kZoomPerNotch = 1.2;
}  // namespace

AtlasInputHandler::AtlasInputHandler(QWidget* map) : QObject(map), map_(map) { map_->installEventFilter(this); }

bool AtlasInputHandler::eventFilter(QObject* watched, QEvent* event) {
    if (watched != map_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) return false;
            pressed_ = true;
            dragged_ = false;
            pressAt_ = lastAt_ = mouse->position();
            map_->setFocus(Qt::MouseFocusReason);
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!pressed_) return false;
            const QPointF at = mouse->position();
            const QPointF moved = at - pressAt_;
            if (!dragged_ && std::hypot(moved.x(), moved.y()) < kClickSlop) return true;
            dragged_ = true;
            const QPointF delta = at - lastAt_;
            lastAt_ = at;
            if (dragTurns_) {
                emit turnRequested(delta);
            } else {
                emit panRequested(delta);
            }
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || !pressed_) return false;
            pressed_ = false;
            if (!dragged_) emit pickRequested(mouse->position());
            return true;
        }
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const double notches = wheel->angleDelta().y() / 120.0;
            if (notches == 0.0) return false;
            emit zoomRequested(std::pow(kZoomPerNotch, notches), wheel->position());
            return true;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            switch (key->key()) {
                case Qt::Key_1: emit viewRequested(0); return true;
                case Qt::Key_2: emit viewRequested(1); return true;
                case Qt::Key_3: emit viewRequested(2); return true;
                case Qt::Key_4: emit viewRequested(3); return true;
                case Qt::Key_PageUp:
                case Qt::Key_Plus: emit slabStepRequested(1); return true;
                case Qt::Key_PageDown:
                case Qt::Key_Minus: emit slabStepRequested(-1); return true;
                case Qt::Key_Left: emit panRequested(QPointF(40, 0)); return true;
                case Qt::Key_Right: emit panRequested(QPointF(-40, 0)); return true;
                case Qt::Key_Up: emit panRequested(QPointF(0, 40)); return true;
                case Qt::Key_Down: emit panRequested(QPointF(0, -40)); return true;
                case Qt::Key_Home: emit resetRequested(); return true;
                default: return false;
            }
        }
        default: return false;
    }
}

}  // namespace orrimar::ui

#include "ui/atlas_widget.h"

#include <QHelpEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolTip>

namespace orrimar::ui {

AtlasWidget::AtlasWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("AtlasMap"));
    setMinimumSize(320, 240);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Every pixel is painted each frame: Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void AtlasWidget::setScene(print::AtlasScene scene) {
    scene_ = std::move(scene);
    update();
}

void AtlasWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter_.paint(painter, QRectF(rect()), scene_);
}

void AtlasWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized(event->size());
}

bool AtlasWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString names = namesAt_ ? namesAt_(help->pos()) : QString();
        if (names.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), names, this);
        }
        return true;
    }
    return QWidget::event(event);
}

}  // namespace orrimar::ui

// The map on the screen: a thin widget that draws the current scene through
// AtlasPainter. What a mouse or key means is AtlasInputHandler's; what the
// scene holds is the window's (from the atlas core).
#pragma once

#include <QWidget>

#include <functional>

#include "print/atlas_painter.h"
#include "print/atlas_scene.h"

namespace orrimar::ui {

class AtlasWidget : public QWidget {
    Q_OBJECT
public:
    explicit AtlasWidget(QWidget* parent = nullptr);

    void setScene(print::AtlasScene scene);
    const print::AtlasScene& scene() const { return scene_; }
    print::AtlasPainter& painter() { return painter_; }

    // The names under a pixel, for the tooltip ("all names on hover").
    void setNamesAt(std::function<QString(QPointF)> namesAt) { namesAt_ = std::move(namesAt); }

signals:
    void resized(QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    print::AtlasScene scene_;
    print::AtlasPainter painter_;
    std::function<QString(QPointF)> namesAt_;
};

}  // namespace orrimar::ui

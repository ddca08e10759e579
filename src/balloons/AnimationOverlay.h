#pragma once
// A window laid over part of the screen, on which the caption animation and
// the growing rectangles are drawn as if on the screen itself: it starts out
// showing what lies beneath it (a copy of the screen where the window system
// allows one, else a transparent background). It takes no input and never
// becomes the active window.
#include "BalloonMath.h"

#include <QImage>
#include <QWidget>

class AnimationOverlay : public QWidget
{
    Q_OBJECT
public:
    // Covers `area` (screen pixels) and shows itself.
    explicit AnimationOverlay(const Balloon::ScreenRect &area);

    // The drawing, in coordinates relative to the area's top left corner.
    QImage &canvas() { return m_canvas; }
    // Back to what lay beneath when the overlay came.
    void clear();
    Balloon::ScreenRect area() const { return m_area; }
    // Puts the drawing on the screen now, without processing other events.
    void present();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Balloon::ScreenRect m_area;
    QImage m_beneath;
    QImage m_canvas;
};

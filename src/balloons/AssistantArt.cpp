#include "AssistantArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace AssistantArt {

namespace {

void drawArm(QPainter &p, QPointF shoulder, QPointF hand)
{
    p.setPen(QPen(QColor(0x5a, 0x3e, 0x1b), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(shoulder, hand);
    p.setPen(QPen(QColor(0x5a, 0x3e, 0x1b), 1.2));
    p.setBrush(QColor(0xff, 0xe0, 0xb8));
    p.drawEllipse(hand, 3.5, 3.5);
}

void drawEye(QPainter &p, QPointF centre, bool open, qreal look)
{
    if (open) {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.0));
        p.setBrush(Qt::white);
        p.drawEllipse(centre, 3.6, 4.6);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0x20, 0x40));
        p.drawEllipse(centre + QPointF(look, 0.8), 1.8, 2.2);
        p.setBrush(Qt::white);
        p.drawEllipse(centre + QPointF(look + 0.6, 0.0), 0.6, 0.6);
    } else {
        // Closed lids: a small downward curve.
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath lid;
        lid.moveTo(centre + QPointF(-3.6, 0));
        lid.quadTo(centre + QPointF(0, 3.0), centre + QPointF(3.6, 0));
        p.drawPath(lid);
    }
}

} // namespace

QPixmap picture(Frame frame)
{
    QPixmap pix(Width, Height);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing, true);

    // Sky and floor.
    QLinearGradient sky(0, 0, 0, Height);
    sky.setColorAt(0.0, QColor(0xe4, 0xf0, 0xff));
    sky.setColorAt(1.0, QColor(0xfb, 0xfd, 0xff));
    p.fillRect(0, 0, Width, Height, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QPointF(62, 85), 20, 3.5);

    const bool eyesOpen = frame != EyesClosed;
    const bool second = frame == Resting2;

    // Arms behind the body.
    drawArm(p, QPointF(48, 46), QPointF(36, 56));
    drawArm(p, QPointF(76, 42), second ? QPointF(91, 25) : QPointF(90, 29));

    // Body: yellow with two facets.
    const QRectF body(47, 20, 30, 46);
    QLinearGradient yellow(body.left(), 0, body.right(), 0);
    yellow.setColorAt(0.0, QColor(0xf6, 0xc3, 0x1c));
    yellow.setColorAt(0.5, QColor(0xff, 0xdc, 0x4a));
    yellow.setColorAt(1.0, QColor(0xe2, 0xa8, 0x10));
    p.setPen(QPen(QColor(0x8a, 0x62, 0x08), 1.0));
    p.setBrush(yellow);
    p.drawRect(body);
    p.setPen(QPen(QColor(0xd0, 0x98, 0x0c), 1.0));
    p.drawLine(QPointF(57, 21), QPointF(57, 65));
    p.drawLine(QPointF(67, 21), QPointF(67, 65));

    // Eraser and metal band.
    p.setPen(QPen(QColor(0x9a, 0x4a, 0x5a), 1.0));
    p.setBrush(QColor(0xf2, 0x8c, 0xa0));
    p.drawRoundedRect(QRectF(47, 5, 30, 11), 5, 5);
    p.setPen(QPen(QColor(0x70, 0x70, 0x78), 1.0));
    p.setBrush(QColor(0xc8, 0xc8, 0xd0));
    p.drawRect(QRectF(47, 13, 30, 7));
    p.drawLine(QPointF(47, 16.5), QPointF(77, 16.5));

    // Sharpened wood and the lead.
    QPainterPath cone;
    cone.moveTo(47, 66);
    cone.lineTo(77, 66);
    cone.lineTo(62, 84);
    cone.closeSubpath();
    p.setPen(QPen(QColor(0x8a, 0x62, 0x30), 1.0));
    p.setBrush(QColor(0xf1, 0xd2, 0xa4));
    p.drawPath(cone);
    QPainterPath lead;
    lead.moveTo(57.8, 79);
    lead.lineTo(66.2, 79);
    lead.lineTo(62, 84);
    lead.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x38, 0x38, 0x40));
    p.drawPath(lead);

    // Face: eyes, cheeks and a smile.
    const qreal look = second ? 1.0 : 0.0;
    drawEye(p, QPointF(56, 33), eyesOpen, look);
    drawEye(p, QPointF(68, 33), eyesOpen, look);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x80, 0x60, 90));
    p.drawEllipse(QPointF(51.5, 41), 2.5, 1.6);
    p.drawEllipse(QPointF(72.5, 41), 2.5, 1.6);
    p.setPen(QPen(QColor(0x60, 0x2a, 0x10), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath smile;
    smile.moveTo(56, 42);
    smile.quadTo(62, second ? 48 : 47, 68, 42);
    p.drawPath(smile);

    return pix;
}

} // namespace AssistantArt

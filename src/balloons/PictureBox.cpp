#include "PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent), m_back(palette().color(QPalette::Button)),
                                          m_fore(palette().color(QPalette::ButtonText))
{
    fitImage();
}

void PictureBox::setBackColor(const QColor &colour)
{
    // As with any picture box, a new background clears the drawing.
    m_back = colour;
    cls();
}

void PictureBox::setForeColor(const QColor &colour) { m_fore = colour; }

void PictureBox::setBorder(bool on)
{
    if (m_border == on)
        return;
    m_border = on;
    fitImage();
    update();
}

QRect PictureBox::clientRect() const
{
    const int b = m_border ? 2 : 0;
    return QRect(0, 0, qMax(0, width() - 2 * b), qMax(0, height() - 2 * b));
}

void PictureBox::cls()
{
    fitImage();
    m_image.fill(m_back);
    update();
}

void PictureBox::fitImage()
{
    const QSize size = clientRect().size();
    if (m_image.size() == size)
        return;
    QImage fresh(size, QImage::Format_ARGB32_Premultiplied);
    fresh.fill(Qt::transparent);
    if (!m_image.isNull()) {
        QPainter p(&fresh);
        p.drawImage(0, 0, m_image);
    }
    m_image = fresh;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_back);
    const int b = m_border ? 2 : 0;
    p.drawImage(b, b, m_image);
    if (m_border) {
        const QPalette &pal = palette();
        p.setPen(pal.color(QPalette::Dark));
        p.drawLine(0, 0, width() - 1, 0);
        p.drawLine(0, 0, 0, height() - 1);
        p.setPen(pal.color(QPalette::Light));
        p.drawLine(0, height() - 1, width() - 1, height() - 1);
        p.drawLine(width() - 1, 0, width() - 1, height() - 1);
    }
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitImage();
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT mouseDown(event->button(), event->position().toPoint());
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT mouseUp(event->button(), event->position().toPoint());
}

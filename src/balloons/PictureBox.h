#pragma once
// A picture box: a small area that keeps what is drawn on it and repaints it
// itself. It has a background colour, a text colour and font for printed
// captions, an optional sunken border, and reports mouse presses and
// releases of any mouse button.
#include <QColor>
#include <QImage>
#include <QWidget>

class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    // Sets the background colour and clears the drawing to it.
    void setBackColor(const QColor &colour);
    QColor backColor() const { return m_back; }
    void setForeColor(const QColor &colour);
    QColor foreColor() const { return m_fore; }
    void setBorder(bool on);
    bool hasBorder() const { return m_border; }

    // The client area inside the border, in pixels.
    QRect clientRect() const;

    // Clears the kept drawing to the background colour.
    void cls();
    // The kept drawing; draw on it with QPainter, then call update().
    QImage &image()
    {
        fitImage();
        return m_image;
    }
    const QImage &image() const { return m_image; }

Q_SIGNALS:
    void mouseDown(Qt::MouseButton button, const QPoint &pos);
    void mouseUp(Qt::MouseButton button, const QPoint &pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void fitImage();

    QColor m_back;
    QColor m_fore;
    bool m_border = true;
    QImage m_image;
};

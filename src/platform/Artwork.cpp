#include "Artwork.h"

#include "ClassColours.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

void drawFolder(QPainter &p, const QRectF &r, const QColor &c)
{
    QPainterPath tab;
    tab.addRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.1, r.width() * 0.45, r.height() * 0.3), 1.5, 1.5);
    p.setPen(QPen(c.darker(170), 1));
    p.setBrush(c.darker(115));
    p.drawPath(tab);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.25, r.width() - 1, r.height() * 0.7), 1.5, 1.5);
}

void drawBook(QPainter &p, const QRectF &r, const QColor &c)
{
    p.setPen(QPen(c.darker(180), 1));
    p.setBrush(c);
    p.drawRoundedRect(r, 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.12, r.bottom() - r.height() * 0.14, r.width() * 0.84, r.height() * 0.1));
}

} // namespace

namespace Artwork {

QColor folderColour(int index)
{
    const QVector<ClassColours::Colour> &colours = ClassColours::all();
    const int i = index - ClassColours::PlainFolderImage - 1;
    if (i < 0 || i >= colours.size())
        return QColor(0xE8, 0xC8, 0x80); // manila
    return colours.at(i).folder;
}

QIcon treeIcon(int index)
{
    static QHash<int, QIcon> cache;
    auto it = cache.find(index);
    if (it == cache.end())
        it = cache.insert(index, QIcon(treeImage(index)));
    return *it;
}

QPixmap treeImage(int index)
{
    static QHash<int, QPixmap> cache;
    if (cache.contains(index))
        return cache.value(index);
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (index == 2) {
        drawBook(p, QRectF(2.5, 1.5, 11, 13), QColor(0x3A, 0x5F, 0xA8));
    } else if (index == 1) {
        p.setPen(Qt::darkGray);
        p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
    } else {
        drawFolder(p, QRectF(0.5, 1.5, 15, 13), folderColour(index));
    }
    p.end();
    cache.insert(index, pm);
    return pm;
}

QPixmap picture(const QString &name, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    if (name == QLatin1String("error")) {
        p.setBrush(QColor(0xD8, 0x2C, 0x2C));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(s * 0.08, s * 0.08, s * 0.84, s * 0.84));
        p.setPen(QPen(Qt::white, s * 0.1, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.33, s * 0.33), QPointF(s * 0.67, s * 0.67));
        p.drawLine(QPointF(s * 0.67, s * 0.33), QPointF(s * 0.33, s * 0.67));
    } else if (name == QLatin1String("tip")) {
        p.setBrush(QColor(0xFF, 0xE0, 0x60));
        p.setPen(QPen(QColor(0x90, 0x70, 0x10), s * 0.03));
        p.drawEllipse(QRectF(s * 0.25, s * 0.1, s * 0.5, s * 0.5));
        p.setBrush(QColor(0xB0, 0xB0, 0xB0));
        p.drawRect(QRectF(s * 0.38, s * 0.6, s * 0.24, s * 0.22));
    } else if (name == QLatin1String("compact")) {
        p.setBrush(QColor(0x60, 0x80, 0xB0));
        p.setPen(QPen(QColor(0x20, 0x30, 0x50), s * 0.03));
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(s * 0.2, s * (0.15 + i * 0.22), s * 0.6, s * 0.2), s * 0.05, s * 0.05);
    } else if (name == QLatin1String("document")) {
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
        p.drawRect(QRectF(s * 0.2, s * 0.1, s * 0.6, s * 0.8));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(s * 0.3, s * (0.3 + i * 0.12)), QPointF(s * 0.7, s * (0.3 + i * 0.12)));
    } else if (name == QLatin1String("splash")) {
        QLinearGradient g(0, 0, 0, s);
        g.setColorAt(0, QColor(0x24, 0x3B, 0x6B));
        g.setColorAt(1, QColor(0x5A, 0x8C, 0xD8));
        p.fillRect(pm.rect(), g);
        drawBook(p, QRectF(s * 0.15, s * 0.25, s * 0.3, s * 0.45), QColor(0xD8, 0x2C, 0x2C));
        drawBook(p, QRectF(s * 0.35, s * 0.2, s * 0.3, s * 0.5), QColor(0xF5, 0xD7, 0x3A));
        drawBook(p, QRectF(s * 0.55, s * 0.28, s * 0.3, s * 0.42), QColor(0x3C, 0xB0, 0x4C));
    } else if (name == QLatin1String("semester") || name == QLatin1String("today")) {
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), s * 0.03));
        p.drawRect(QRectF(s * 0.12, s * 0.18, s * 0.76, s * 0.7));
        p.fillRect(QRectF(s * 0.12, s * 0.18, s * 0.76, s * 0.16), QColor(0xD8, 0x2C, 0x2C));
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                p.drawRect(QRectF(s * (0.18 + c * 0.17), s * (0.42 + r * 0.14), s * 0.1, s * 0.08));
    } else {
        // "books", "grade", "about" and anything else: a stack of books.
        drawBook(p, QRectF(s * 0.1, s * 0.55, s * 0.8, s * 0.18), QColor(0x2E, 0x5E, 0xD8));
        drawBook(p, QRectF(s * 0.15, s * 0.37, s * 0.7, s * 0.18), QColor(0xD8, 0x2C, 0x2C));
        drawBook(p, QRectF(s * 0.2, s * 0.19, s * 0.6, s * 0.18), QColor(0x3C, 0xB0, 0x4C));
    }
    p.end();
    return pm;
}

} // namespace Artwork

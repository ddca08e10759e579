// Draws the program's icon for the desktop: three books and a marked sheet
// on a desk, on a blue tile. Writes <folder>/<n>x<n>/apps/tarvela-desk.png
// for every size n given:  tarvela_icon <folder> 16 32 48 ...
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

void book(QPainter &p, const QRectF &r, const QColor &c)
{
    p.setPen(QPen(c.darker(170), 3));
    p.setBrush(c);
    p.drawRoundedRect(r, 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(c.lighter(135));
    p.drawRect(QRectF(r.left() + 6, r.top() + 14, r.width() - 12, 8));
    p.drawRect(QRectF(r.left() + 6, r.bottom() - 22, r.width() - 12, 8));
}

// The icon in a 256 by 256 frame.
void draw(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 8, 0, 248);
    sky.setColorAt(0, QColor(0x24, 0x3B, 0x6B));
    sky.setColorAt(1, QColor(0x5A, 0x8C, 0xD8));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    book(p, QRectF(38, 78, 42, 100), QColor(0xD8, 0x2C, 0x2C));
    book(p, QRectF(82, 58, 40, 120), QColor(0xF5, 0xC8, 0x2A));
    book(p, QRectF(124, 90, 36, 88), QColor(0x3C, 0xB0, 0x4C));

    // A graded sheet leaning on the books.
    p.save();
    p.translate(196, 178);
    p.rotate(8);
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 3));
    p.setBrush(QColor(0xFD, 0xFD, 0xF6));
    p.drawRect(QRectF(-34, -96, 64, 96));
    p.setPen(QPen(QColor(0x9C, 0xB8, 0xE0), 4));
    for (int y = -70; y <= -30; y += 20)
        p.drawLine(QPointF(-24, y), QPointF(20, y));
    QPainterPath tick;
    tick.moveTo(-20, -40);
    tick.lineTo(-6, -22);
    tick.lineTo(24, -70);
    p.setPen(QPen(QColor(0x1E, 0x9E, 0x3E), 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    p.restore();

    // The desk.
    p.setPen(QPen(QColor(0x6B, 0x40, 0x1C), 3));
    p.setBrush(QColor(0xB9, 0x78, 0x3F));
    p.drawRoundedRect(QRectF(24, 176, 208, 22), 6, 6);
    p.drawRect(QRectF(44, 198, 16, 34));
    p.drawRect(QRectF(196, 198, 16, 34));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = QString::fromLatin1(argv[i]).toInt();
        if (size < 8 || size > 1024) {
            std::fprintf(stderr, "bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.scale(size / 256.0, size / 256.0);
        draw(p);
        p.end();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(dir) || !image.save(dir + QStringLiteral("/tarvela-desk.png"))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}

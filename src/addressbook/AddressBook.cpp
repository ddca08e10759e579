#include "AddressBook.h"

#include "store/Database.h"
#include "store/Recordset.h"

#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

namespace AddressBook {

QString pictureFilter()
{
    return QStringLiteral("Bitmaps (*.bmp);;JPG Files (*.jpg);;GIF Files (*.gif);;All Files (*)");
}

QStringList contactNames(const QString &databasePath)
{
    QStringList names;
    auto db = Database::open(databasePath);
    auto rs = db->openRecordset(QStringLiteral("Contacts"), Database::Snapshot);
    while (!rs->isEOF()) {
        const QVariant name = rs->value(QStringLiteral("Name"));
        if (!name.isNull())
            names << name.toString();
        rs->MoveNext();
    }
    rs->Close();
    db->close();
    return names;
}

QString mailtoUrl(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return QString();
    return QStringLiteral("mailto:") + QString::fromLatin1(QUrl::toPercentEncoding(trimmed, QByteArrayLiteral("@")));
}

QImage loadPicture(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QImage();
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    return reader.read();
}

QRect fitInside(const QSize &picture, const QRect &box)
{
    if (picture.isEmpty() || box.isEmpty())
        return QRect();
    // A very narrow picture still gets a line of its own.
    const QSize size = picture.scaled(box.size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QPoint topLeft(box.x() + (box.width() - size.width()) / 2, box.y() + (box.height() - size.height()) / 2);
    return QRect(topLeft, size);
}

} // namespace AddressBook

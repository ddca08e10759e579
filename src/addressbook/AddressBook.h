#pragma once
// What the address book works out without a window: the list of contact
// names, the "mailto:" address of a contact, reading a picture file and
// fitting a picture into its box.
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace AddressBook {

// The file dialog's choices for Link Picture. Any picture the program can
// read is shown, whatever the choice (PNG among them).
QString pictureFilter();

// The names of the contacts in their stored order, leaving out contacts
// without a name; read from the database file in a read of its own.
QStringList contactNames(const QString &databasePath);

// "mailto:" followed by the address, surrounding blanks removed and the rest
// percent-encoded ("@" kept); "" when there is no address.
QString mailtoUrl(const QString &address);

// The picture in the file, recognised by its contents rather than its name;
// a null image when the file is missing or cannot be read as a picture.
QImage loadPicture(const QString &path);

// Where a picture of `picture`'s size is drawn in `box`: as large as fits,
// its proportions kept, centred. Empty when either is empty.
QRect fitInside(const QSize &picture, const QRect &box);

} // namespace AddressBook

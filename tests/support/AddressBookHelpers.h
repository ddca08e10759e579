#pragma once
// The address book opened from the main window's "Contacts" command, its
// contacts put straight into the file, and small pictures made on the spot.
#include "SetupHelpers.h"

#include "addressbook/AddressBookControls.h"
#include "addressbook/frmAddressBook.h"
#include "platform/FileDialogs.h"
#include "platform/InputBox.h"
#include "platform/Shell.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QListWidget>

namespace AddressBookHelpers {

using namespace SetupHelpers;

inline const char *const Boxes[9] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9"};
inline const char *const Fields[9] = {"Name", "EMail", "Address1", "Address2", "City", "State", "ZIP", "Phone1", "Phone2"};

// A contact with the given fields; returns its key.
inline int addContactWith(const QList<QPair<QString, QVariant>> &fields)
{
    return insertRow(QStringLiteral("Contacts"), fields, QStringLiteral("Contact_ID"));
}

inline int addContact(const QString &name, const QString &email = QString())
{
    QList<QPair<QString, QVariant>> fields{{QStringLiteral("Name"), name}};
    if (!email.isEmpty())
        fields.append({QStringLiteral("EMail"), email});
    return addContactWith(fields);
}

inline QVariant contactField(int id, const char *field)
{
    return TestEnv::scalar(QStringLiteral("SELECT \"%1\" FROM Contacts WHERE Contact_ID = ?").arg(QString::fromLatin1(field)), {id});
}

// The nine fields of a contact the boxes show, "value|value|..." (<null> for none).
inline QString contactRow(int id)
{
    return rows(QStringLiteral("SELECT %1 FROM Contacts WHERE Contact_ID = ?").arg(QStringList(std::begin(Fields), std::end(Fields)).join(", ")),
                {id})
        .value(0);
}

// The main window and the address book. A test class takes it as a base:
// newFile() (so that no wizard opens at start), the contacts
// added, then QVERIFY(start()).
struct BookFixture {
    frmMain *m = nullptr;
    frmAddressBook *b = nullptr;

    // Starts the program and opens the address book.
    bool start()
    {
        m = startQuiet();
        return open();
    }
    // Opens the address book by the main window's "Contacts".
    bool open()
    {
        trigger(m, "mnuContacts");
        b = frmAddressBook::existing();
        return b && activate(b);
    }
};

inline QListWidget *nameList(QWidget *b) { return find<QListWidget>(b, "lstAll"); }
inline ContactPicture *picture(QWidget *b) { return find<ContactPicture>(b, "imgPicture"); }

inline QStringList listed(QWidget *b) { return items(nameList(b)); }

// Clicks the list's entry `row` as the user would.
inline void clickName(QWidget *b, int row)
{
    QListWidget *list = nameList(b);
    QVERIFY(list);
    QVERIFY2(row < list->count(), "no such list entry");
    QListWidgetItem *item = list->item(row);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
    settle();
}

// What the nine boxes show, in order.
inline QStringList shown(QWidget *b)
{
    QStringList out;
    for (const char *name : Boxes)
        out << text(b, name);
    return out;
}

inline void doubleClick(QWidget *b, const char *name)
{
    QWidget *w = b->findChild<QWidget *>(QString::fromLatin1(name));
    QVERIFY2(w, name);
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    settle();
}

// A file of the program folder with the given bytes.
inline QString makeFile(const QString &fileName, const QByteArray &bytes)
{
    const QString path = QDir(TestEnv::programFolder()).filePath(fileName);
    writeBytes(path, bytes);
    return path;
}

// A small picture in the program folder: `width` x `height`, written as
// `format` under `fileName`.
inline QString makePicture(const QString &fileName, int width, int height, const char *format = "PNG")
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        QTest::qFail(qPrintable(fileName + QStringLiteral(" could not be made")), __FILE__, __LINE__);
    return makeFile(fileName, buffer.data());
}

} // namespace AddressBookHelpers

#include "AddressBookHelpers.h"

using namespace AddressBookHelpers;

namespace {

// The picture is drawn as large as the box allows, its proportions kept.
bool fillsTheBoxInProportion(ContactPicture *p, int width, int height)
{
    const QRect r = p->pictureRect();
    const QRect box = p->contentsRect();
    if (r.isEmpty() || !box.contains(r))
        return false;
    const bool fits = r.width() == box.width() || r.height() == box.height();
    return fits && qAbs(r.width() * height - r.height() * width) <= qMax(width, height);
}

} // namespace

class ContactPicturesTest : public TestCase, BookFixture
{
    Q_OBJECT
private Q_SLOTS:
    void linkPictureStoresThePathAndShowsThePictureWhenOneIsChosen()
    {
        newFile();
        const int ann = addContact(QStringLiteral("Ann Archer"));
        const QString tall = makePicture(QStringLiteral("bob.bmp"), 10, 30, "PNG"); // known by its contents
        addContactWith({{"Name", "Bob Baker"}, {"Picture", tall}});
        addContact(QStringLiteral("Cleo Cole"));
        const QString png = makePicture(QStringLiteral("ann face.png"), 40, 20);
        QVERIFY(start());
        QVERIFY(picture(b)->picture().isNull());
        type(b, "Text2", "ann@example.org");
        FileDialogs::setNextFileName(png);
        click(b, "SSCommand3");
        QCOMPARE(FileDialogs::shownCount(), 1);
        // Bitmaps, JPG and GIF files are offered, then every file.
        QCOMPARE(FileDialogs::lastFilter().split(";;"),
                 QStringList({"Bitmaps (*.bmp)", "JPG Files (*.jpg)", "GIF Files (*.gif)", "All Files (*)"}));
        // What was typed is stored with it.
        QCOMPARE(rows("SELECT Picture, EMail FROM Contacts WHERE Contact_ID = ?", {ann}), QStringList{png + "|ann@example.org"});
        QCOMPARE(picture(b)->picture().size(), QSize(40, 20));
        QVERIFY(fillsTheBoxInProportion(picture(b), 40, 20));
        QVERIFY(TestEnv::shownTexts().isEmpty());

        // Every arrival on a contact shows its picture, or none.
        clickName(b, 2);
        QVERIFY(picture(b)->picture().isNull());
        clickName(b, 1);
        QCOMPARE(picture(b)->picture().size(), QSize(10, 30));
        clickName(b, 0);
        QCOMPARE(picture(b)->picture().size(), QSize(40, 20));

        // The box follows the window's size.
        b->resize(b->width() + 200, b->height() + 120);
        settle();
        QVERIFY(fillsTheBoxInProportion(picture(b), 40, 20));

        // Cancelled, the dialog links nothing.
        FileDialogs::setNextFileName(QString());
        click(b, "SSCommand3");
        QCOMPARE(FileDialogs::shownCount(), 2);
        QCOMPARE(contactField(ann, "Picture").toString(), png);
        QCOMPARE(picture(b)->picture().size(), QSize(40, 20));
        // Nor while what was typed cannot be stored.
        const QString gone = QDir(TestEnv::programFolder()).filePath(QStringLiteral("gone.png"));
        const QString longPhone(51, QLatin1Char('5'));
        type(b, "Text8", longPhone);
        FileDialogs::setNextFileName(gone);
        click(b, "SSCommand3");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("Phone1"));
        QCOMPARE(contactField(ann, "Picture").toString(), png);
        QCOMPARE(picture(b)->picture().size(), QSize(40, 20));
        QCOMPARE(text(b, "Text8"), longPhone);
        // A missing file is linked all the same, and shows an empty box.
        type(b, "Text8", "555-0100");
        FileDialogs::setNextFileName(gone);
        click(b, "SSCommand3");
        QCOMPARE(rows("SELECT Picture, Phone1 FROM Contacts WHERE Contact_ID = ?", {ann}), QStringList{gone + "|555-0100"});
        QVERIFY(picture(b)->picture().isNull());
        FileDialogs::setNextFileName(png);
        click(b, "SSCommand3");

        // Opened again: the first contact comes with its picture; deleting
        // it shows the next one's.
        click(b, "Command1");
        QVERIFY(open());
        QCOMPARE(picture(b)->picture().size(), QSize(40, 20));
        click(b, "SSCommand2");
        QCOMPARE(text(b, "Text1"), QString("Bob Baker"));
        QCOMPARE(picture(b)->picture().size(), QSize(10, 30));
        QVERIFY(fillsTheBoxInProportion(picture(b), 10, 30));
        // A picture that went missing since it was linked: an empty box.
        QVERIFY(QFile::remove(tall));
        click(b, "Command1");
        QVERIFY(open());
        QVERIFY(picture(b)->picture().isNull());
        click(b, "SSCommand2");
        QVERIFY(picture(b)->picture().isNull());
        QCOMPARE(MessageBox::shown().size(), 1);
    }

    void aDoubleClickOnTheAddressWritesAnEmail()
    {
        newFile();
        addContact(QStringLiteral("Ann O'Hara"), QStringLiteral("o'hara+news@example.org"));
        addContact(QStringLiteral("Bob Baker"));
        QVERIFY(start());
        doubleClick(b, "Text2");
        doubleClick(b, "Image1");
        QCOMPARE(Shell::opened(), QStringList(2, "mailto:o%27hara%2Bnews@example.org"));
        QVERIFY(!QApplication::overrideCursor());

        // The address as it stands in the box, stored or not.
        type(b, "Text2", "ann hara@example.org");
        doubleClick(b, "Image1");
        QCOMPARE(Shell::opened().at(2), QString("mailto:ann%20hara@example.org"));

        // Without an address nothing happens.
        clickName(b, 1);
        QCOMPARE(text(b, "Text2"), QString());
        doubleClick(b, "Text2");
        doubleClick(b, "Image1");
        type(b, "Text2", "   ");
        doubleClick(b, "Text2");
        QCOMPARE(Shell::opened().size(), 3);
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }
};

TARVELA_TEST_CLASS(ContactPicturesTest)
#include "tst_contactpictures.moc"

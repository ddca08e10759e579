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

class ContactPicturesTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void linkPictureStoresThePathAndShowsThePicture()
    {
        prepareDatabase();
        const int ann = addContact(QStringLiteral("Ann Archer"));
        addContact(QStringLiteral("Bob Baker"));
        const QString png = makePicture(QStringLiteral("ann face.png"), 40, 20);
        QVERIFY(!png.isEmpty());
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        type(b, "Text2", "ann@example.org");
        FileDialogs::setNextFileName(png);
        click(b, "SSCommand3");
        QCOMPARE(FileDialogs::shownCount(), 1);
        // Bitmaps, JPG and GIF files are offered, then every file.
        QCOMPARE(FileDialogs::lastFilter().split(";;"),
                 QStringList({"Bitmaps (*.bmp)", "JPG Files (*.jpg)", "GIF Files (*.gif)", "All Files (*)"}));
        QCOMPARE(contactField(ann, "Picture").toString(), png);
        // What was typed is stored with it.
        QCOMPARE(contactField(ann, "EMail").toString(), QString("ann@example.org"));
        QCOMPARE(picture(b)->picture().size(), QSize(40, 20));
        QVERIFY(fillsTheBoxInProportion(picture(b), 40, 20));
        QVERIFY(TestEnv::shownTexts().isEmpty());

        // Every arrival on a contact shows its picture.
        clickName(b, 1);
        QVERIFY(picture(b)->picture().isNull());
        clickName(b, 0);
        QCOMPARE(picture(b)->picture().size(), QSize(40, 20));

        // The box follows the window's size.
        b->resize(b->width() + 200, b->height() + 120);
        settle();
        QVERIFY(fillsTheBoxInProportion(picture(b), 40, 20));

        // Opened again: the first contact comes with its picture.
        click(b, "Command1");
        b = openBook(m);
        QVERIFY(b);
        QCOMPARE(picture(b)->picture().size(), QSize(40, 20));
    }

    void deletingShowsTheNextContactsPicture()
    {
        prepareDatabase();
        addContact(QStringLiteral("Ann Archer"));
        const QString tall = makePicture(QStringLiteral("bob.png"), 10, 30);
        addContactWith({{"Name", "Bob Baker"}, {"Picture", tall}});
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        QVERIFY(picture(b)->picture().isNull());
        click(b, "SSCommand2");
        QCOMPARE(text(b, "Text1"), QString("Bob Baker"));
        QCOMPARE(picture(b)->picture().size(), QSize(10, 30));
        QVERIFY(fillsTheBoxInProportion(picture(b), 10, 30));
        click(b, "SSCommand2");
        QVERIFY(picture(b)->picture().isNull());
    }

    void picturesAreKnownByTheirContents()
    {
        prepareDatabase();
        const QString bmp = makePicture(QStringLiteral("a.bmp"), 8, 6, "BMP");
        const QString jpg = makePicture(QStringLiteral("b.jpg"), 12, 9, "JPG");
        const QString pngAsBmp = makePicture(QStringLiteral("c.bmp"), 5, 7, "PNG");
        addContactWith({{"Name", "Bmp"}, {"Picture", bmp}});
        addContactWith({{"Name", "Jpg"}, {"Picture", jpg}});
        addContactWith({{"Name", "Png"}, {"Picture", pngAsBmp}});
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        QCOMPARE(picture(b)->picture().size(), QSize(8, 6));
        clickName(b, 1);
        QCOMPARE(picture(b)->picture().size(), QSize(12, 9));
        clickName(b, 2);
        QCOMPARE(picture(b)->picture().size(), QSize(5, 7));
    }

    void aMissingOrUnreadablePictureShowsAnEmptyBox()
    {
        prepareDatabase();
        const QString png = makePicture(QStringLiteral("face.png"), 16, 16);
        const int ann = addContactWith({{"Name", "Ann Archer"}, {"Picture", png}});
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        QVERIFY(!picture(b)->picture().isNull());

        const QString gone = QDir(TestEnv::programFolder()).filePath(QStringLiteral("gone.png"));
        FileDialogs::setNextFileName(gone);
        click(b, "SSCommand3");
        QCOMPARE(contactField(ann, "Picture").toString(), gone);
        QVERIFY(picture(b)->picture().isNull());

        const QString garbage = makeFile(QStringLiteral("broken.jpg"), QByteArray("this is not a picture"));
        FileDialogs::setNextFileName(garbage);
        click(b, "SSCommand3");
        QCOMPARE(contactField(ann, "Picture").toString(), garbage);
        QVERIFY(picture(b)->picture().isNull());

        // A picture that went missing since it was linked: an empty box too.
        FileDialogs::setNextFileName(png);
        click(b, "SSCommand3");
        QVERIFY(!picture(b)->picture().isNull());
        QVERIFY(QFile::remove(png));
        click(b, "Command1");
        b = openBook(m);
        QVERIFY(b);
        QVERIFY(picture(b)->picture().isNull());
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void cancelLeavesThePicture()
    {
        prepareDatabase();
        const QString png = makePicture(QStringLiteral("face.png"), 16, 16);
        const int ann = addContactWith({{"Name", "Ann Archer"}, {"Picture", png}});
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        FileDialogs::setNextFileName(QString());
        click(b, "SSCommand3");
        QCOMPARE(FileDialogs::shownCount(), 1);
        QCOMPARE(contactField(ann, "Picture").toString(), png);
        QCOMPARE(picture(b)->picture().size(), QSize(16, 16));
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void aPictureIsNotLinkedWhileTheTypedTextCannotBeStored()
    {
        prepareDatabase();
        const int ann = addContact(QStringLiteral("Ann Archer"));
        const QString png = makePicture(QStringLiteral("face.png"), 16, 16);
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        const QString longPhone(51, QLatin1Char('5'));
        type(b, "Text8", longPhone);
        FileDialogs::setNextFileName(png);
        click(b, "SSCommand3");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(TestEnv::shownLast().text.contains("Phone1"));
        QVERIFY(contactField(ann, "Picture").isNull());
        QVERIFY(picture(b)->picture().isNull());
        QCOMPARE(text(b, "Text8"), longPhone);

        type(b, "Text8", "555-0100");
        FileDialogs::setNextFileName(png);
        click(b, "SSCommand3");
        QCOMPARE(contactField(ann, "Picture").toString(), png);
        QCOMPARE(contactField(ann, "Phone1").toString(), QString("555-0100"));
        QVERIFY(!picture(b)->picture().isNull());
    }

    void aDoubleClickOnTheAddressWritesAnEmail()
    {
        prepareDatabase();
        addContact(QStringLiteral("Ann O'Hara"), QStringLiteral("o'hara+news@example.org"));
        addContact(QStringLiteral("Bob Baker"));
        frmMain *m = startProgram();
        frmAddressBook *b = openBook(m);
        QVERIFY(b);
        doubleClick(b, "Text2");
        QCOMPARE(Shell::opened(), QStringList({"mailto:o%27hara%2Bnews@example.org"}));
        doubleClick(b, "Image1");
        QCOMPARE(Shell::opened().size(), 2);
        QCOMPARE(Shell::opened().at(1), QString("mailto:o%27hara%2Bnews@example.org"));
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

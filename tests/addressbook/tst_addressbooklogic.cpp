#include "AddressBookHelpers.h"

#include "addressbook/AddressBook.h"
#include "platform/RuntimeError.h"

using namespace AddressBook;
using AddressBookHelpers::makeFile;
using AddressBookHelpers::makePicture;

namespace {

// The smallest GIF: one transparent pixel.
const QByteArray OnePixelGif = QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");

} // namespace

class AddressBookLogicTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void mailtoEncodesTheAddress()
    {
        QCOMPARE(mailtoUrl(QString()), QString());
        QCOMPARE(mailtoUrl(QStringLiteral(" \t ")), QString());
        QCOMPARE(mailtoUrl(QStringLiteral("ann@example.org")), QString("mailto:ann@example.org"));
        QCOMPARE(mailtoUrl(QStringLiteral("  ann@example.org ")), QString("mailto:ann@example.org"));
        QCOMPARE(mailtoUrl(QStringLiteral("first.last-x_y~z@example.org")), QString("mailto:first.last-x_y~z@example.org"));
        QCOMPARE(mailtoUrl(QStringLiteral("o'hara+news@example.org")), QString("mailto:o%27hara%2Bnews@example.org"));
        // Nothing typed can add a subject, more recipients or a fragment.
        QCOMPARE(mailtoUrl(QStringLiteral("a b@c.org?subject=hi&cc=x@y.org#z")),
                 QString("mailto:a%20b@c.org%3Fsubject%3Dhi%26cc%3Dx@y.org%23z"));
        QCOMPARE(mailtoUrl(QStringLiteral("50%@c.org")), QString("mailto:50%25@c.org"));
        QCOMPARE(mailtoUrl(QStringLiteral("jörg@bücher.de")), QString("mailto:j%C3%B6rg@b%C3%BCcher.de"));
    }

    void fitInsideKeepsProportions()
    {
        QCOMPARE(fitInside(QSize(40, 20), QRect(0, 0, 100, 100)), QRect(0, 25, 100, 50));
        QCOMPARE(fitInside(QSize(20, 40), QRect(10, 10, 100, 50)), QRect(47, 10, 25, 50));
        // Small pictures are enlarged to the box.
        QCOMPARE(fitInside(QSize(2, 1), QRect(0, 0, 60, 60)), QRect(0, 15, 60, 30));
        QCOMPARE(fitInside(QSize(300, 300), QRect(5, 5, 80, 120)), QRect(5, 25, 80, 80));
        // A picture of a single line still shows.
        QCOMPARE(fitInside(QSize(10000, 1), QRect(0, 0, 100, 100)).size(), QSize(100, 1));
        QVERIFY(fitInside(QSize(), QRect(0, 0, 100, 100)).isEmpty());
        QVERIFY(fitInside(QSize(40, 20), QRect()).isEmpty());
    }

    void picturesAreReadByContent()
    {
        QCOMPARE(loadPicture(makePicture("p.png", 7, 3, "PNG")).size(), QSize(7, 3));
        QCOMPARE(loadPicture(makePicture("p.bmp", 4, 5, "BMP")).size(), QSize(4, 5));
        QCOMPARE(loadPicture(makePicture("p.jpg", 9, 2, "JPG")).size(), QSize(9, 2));
        QCOMPARE(loadPicture(makeFile("p.gif", OnePixelGif)).size(), QSize(1, 1));
        QCOMPARE(loadPicture(makePicture("png-named.jpg", 6, 6, "PNG")).size(), QSize(6, 6));
        QCOMPARE(loadPicture(makePicture("NoSuffix", 3, 8, "PNG")).size(), QSize(3, 8));
    }

    void unreadablePicturesAreNull()
    {
        QVERIFY(loadPicture(QString()).isNull());
        QVERIFY(loadPicture(QDir(TestEnv::programFolder()).filePath("missing.png")).isNull());
        QVERIFY(loadPicture(TestEnv::programFolder()).isNull());
        QVERIFY(loadPicture(QStringLiteral("C:\\Pictures\\ann.bmp")).isNull());
        const QByteArray whole = AddressBookHelpers::fileBytes(makePicture("whole.png", 64, 64, "PNG"));
        for (const QString &path : {makeFile("empty.bmp", QByteArray()), makeFile("text.gif", "GIF89a but not really"),
                                    makeFile("cut.png", whole.left(40))})
            QVERIFY2(loadPicture(path).isNull(), qPrintable(path));
    }

    void contactNamesOfAMissingDatabaseRaise()
    {
        QVERIFY(TestEnv::errorNumber([] { contactNames(TestEnv::databasePath()); }) != 0);
        QVERIFY(!QFile::exists(TestEnv::databasePath()));
    }
};

TARVELA_TEST_CLASS(AddressBookLogicTest)
#include "tst_addressbooklogic.moc"

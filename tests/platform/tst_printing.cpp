#include "FileHelpers.h"
#include "TestEnv.h"

#include "platform/FileOps.h"
#include "platform/Printing.h"
#include "platform/RuntimeError.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

// The printing layer: the printer chosen in advance, PDF files put in place
// whole, failures told.
class PrintingTest : public TestCase
{
    Q_OBJECT

    static void twoPages(QPainter &p, QPagedPaintDevice &device)
    {
        p.drawText(100, 100, "first page");
        device.newPage();
        p.drawText(100, 100, "second page");
    }

    // Prints two pages into a PDF file; the run-time error raised (0 when none).
    static int printInto(const QString &target, QString *description = nullptr)
    {
        Printing::setNextPdfFile(target);
        std::unique_ptr<QPrinter> printer = Printing::choosePrinter("Listing");
        if (!printer)
            return -1;
        return TestEnv::errorNumber([&] { Printing::print(*printer, twoPages); }, description);
    }

    // The files of a folder.
    static QStringList files(const QString &folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

public:
    PrintingTest() { TestEnv::addResetHook([] { Printing::clear(); }); }

private Q_SLOTS:
    void cancelChoosesNoPrinter()
    {
        QVERIFY(!Printing::choosePrinter("Listing"));
        Printing::setNextPdfFile("");
        QVERIFY(!Printing::choosePrinter("Listing"));
        QCOMPARE(Printing::dialogCount(), 2);
    }

    void printsAPdfFileWholeOrLeavesTheOldOne()
    {
        const QString target = TestEnv::root() + "/listing.pdf";
        QCOMPARE(printInto(target), 0);
        QVERIFY(fileBytes(target).startsWith("%PDF-"));
        QVERIFY(fileBytes(target).trimmed().endsWith("%%EOF"));
        QCOMPARE(files(TestEnv::root()), QStringList{"listing.pdf"});
        // A print that fails half way leaves the earlier file, and no other.
        QVERIFY(writeBytes(target, "the earlier listing"));
        Printing::setNextPdfFile(target);
        std::unique_ptr<QPrinter> printer = Printing::choosePrinter("Listing");
        QCOMPARE(printer->outputFileName(), target);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Printing::print(*printer, [](QPainter &p, QPagedPaintDevice &) {
            p.drawText(10, 10, "half");
            throw RuntimeError(3021, "No current record.");
        }));
        QCOMPARE(fileBytes(target), QByteArray("the earlier listing"));
        QCOMPARE(files(TestEnv::root()), QStringList{"listing.pdf"});
    }

    void unwritablePlacesAreToldClearly()
    {
        const QString missing = TestEnv::root() + "/no such folder/listing.pdf";
        QString description;
        QCOMPARE(printInto(missing, &description), Err::PathFileAccess);
        QVERIFY2(description.contains(missing), qPrintable(description));
        QVERIFY(!QFile::exists(missing));
        FileOps::denyChanges(TestEnv::driveA());
        QVERIFY(printInto(TestEnv::driveA() + "/listing.pdf") > 0);
        QCOMPARE(files(TestEnv::driveA()), QStringList());
        QVERIFY(printInto(TestEnv::root()) > 0); // a folder
    }
};

TARVELA_TEST_CLASS(PrintingTest)
#include "tst_printing.moc"

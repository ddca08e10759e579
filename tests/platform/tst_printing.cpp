#include "TestEnv.h"

#include "platform/FileOps.h"
#include "platform/Printing.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

// The printing layer: the printer chosen in advance, PDF files put in place
// whole, failures told.
class PrintingTest : public TestCase
{
    Q_OBJECT

    static QByteArray read(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray();
        return f.readAll();
    }

    static void twoPages(QPainter &p, QPagedPaintDevice &device)
    {
        p.drawText(100, 100, "first page");
        device.newPage();
        p.drawText(100, 100, "second page");
    }

    // The folder's entries besides the expected ones (left-over temporary files).
    static QStringList strays(const QString &folder, const QStringList &expected)
    {
        QStringList out;
        for (const QString &n : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            if (!expected.contains(n))
                out << n;
        return out;
    }

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

    void printsAPdfFileWhole()
    {
        const QString target = TestEnv::root() + "/listing.pdf";
        Printing::setNextPdfFile(target);
        std::unique_ptr<QPrinter> printer = Printing::choosePrinter("Listing");
        QVERIFY(printer);
        Printing::print(*printer, twoPages);
        QVERIFY(read(target).startsWith("%PDF-"));
        QVERIFY(read(target).trimmed().endsWith("%%EOF"));
        QCOMPARE(strays(TestEnv::root(), {"listing.pdf"}), QStringList());
        QCOMPARE(printer->outputFileName(), target);
    }

    void aFailedPrintLeavesTheOldFile()
    {
        const QString target = TestEnv::root() + "/listing.pdf";
        {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("the earlier listing");
        }
        Printing::setNextPdfFile(target);
        std::unique_ptr<QPrinter> printer = Printing::choosePrinter("Listing");
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Printing::print(*printer, [](QPainter &p, QPagedPaintDevice &) {
            p.drawText(10, 10, "half");
            throw RuntimeError(3021, "No current record.");
        }));
        QCOMPARE(read(target), QByteArray("the earlier listing"));
        QCOMPARE(strays(TestEnv::root(), {"listing.pdf"}), QStringList());
    }

    void unwritablePlacesAreToldClearly()
    {
        const QString missing = TestEnv::root() + "/no such folder/listing.pdf";
        Printing::setNextPdfFile(missing);
        std::unique_ptr<QPrinter> printer = Printing::choosePrinter("Listing");
        try {
            Printing::print(*printer, twoPages);
            QFAIL("printed into a missing folder");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), Err::PathFileAccess);
            QVERIFY2(e.description().contains(missing), qPrintable(e.description()));
        }
        QVERIFY(!QFile::exists(missing));

        const QString locked = TestEnv::driveA() + "/listing.pdf";
        FileOps::denyChanges(TestEnv::driveA());
        Printing::setNextPdfFile(locked);
        printer = Printing::choosePrinter("Listing");
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Printing::print(*printer, twoPages));
        QVERIFY(!QFile::exists(locked));
        QCOMPARE(strays(TestEnv::driveA(), {}), QStringList());

        Printing::setNextPdfFile(TestEnv::root());
        printer = Printing::choosePrinter("Listing");
        QVERIFY_THROWS_EXCEPTION(RuntimeError, Printing::print(*printer, twoPages));
    }
};

TARVELA_TEST_CLASS(PrintingTest)
#include "tst_printing.moc"

#include "MainDriving.h"

#include "mainwindow/AssignmentListing.h"
#include "mainwindow/frmReportGrid.h"
#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "platform/Printing.h"

#include <QFile>
#include <QRegularExpression>

using namespace MainHelpers;

// Printed assignment listings: the layout, and the listings printed to PDF.
class ListingsTest : public TestCase
{
    Q_OBJECT

    static QString pdf(const char *name = "listing.pdf") { return TestEnv::root() + "/" + name; }

    // "Biology" with `count` assignments "Task 01" ... due in reverse order
    // (every third ungraded), and "Art" with one.
    static frmMain *startWith(int count)
    {
        const int sem = newFile();
        const int cls = addClass(sem, "Biology");
        for (int i = 1; i <= count; ++i)
            addAssignment(cls, QString("Task %1").arg(i, 2, 10, QChar('0')), 10, i % 3 == 0 ? QVariant(0) : QVariant(i),
                          QDate(2026, 12, 31).addDays(-i).toString(Qt::ISODate));
        addAssignment(addClass(sem, "Art"), "Sketchbook", 10, 0);
        Clock::set(QDateTime(QDate(2026, 10, 5), QTime(14, 3, 9)));
        return startOn("Biology");
    }

    // Prints the listing to the file; the pages printed, read back.
    static QStringList print(frmMain *m, const char *command, const QString &file = pdf())
    {
        Printing::setNextPdfFile(file);
        trigger(m, command);
        return QFile::exists(file) ? pdfPages(file) : QStringList();
    }

    // The task titles in the order printed.
    static QStringList tasks(const QStringList &pages)
    {
        QStringList out;
        static const QRegularExpression task(QStringLiteral("Task \\d\\d|Sketchbook"));
        for (const QString &page : pages)
            for (auto it = task.globalMatch(page); it.hasNext();)
                out << it.next().captured(0);
        return out;
    }

public:
    ListingsTest() { TestEnv::addResetHook([] { Printing::clear(); }); }

private Q_SLOTS:
    void headerAndFooter()
    {
        using namespace AssignmentListing;
        QCOMPARE(header("Bob's Class", 2), QString("Bob's Class Assignment Listing : Page 2"));
        QCOMPARE(header("", 3), QString(" Assignment Listing : Page 3"));
        QCOMPARE(footer(QDateTime(QDate(2026, 10, 5), QTime(14, 3, 9))), QString("Printed 10/5/2026 2:03:09 PM"));
        QCOMPARE(footer(QDateTime(QDate(2027, 1, 31), QTime(0, 0, 0))), QString("Printed 1/31/2027 12:00:00 AM"));
    }

    void rowsSplitOverPages()
    {
        AssignmentListing::Layout l;
        l.pageWidth = 1003;
        l.pageHeight = 1000;
        l.lineHeight = 20;
        // Header, captions and footer take two lines each.
        QCOMPARE(l.rowsPerPage(), 44);
        QCOMPARE((QList<int>{l.pageCount(0), l.pageCount(44), l.pageCount(45), l.pageCount(89)}), (QList<int>{1, 1, 2, 3}));
        QCOMPARE((QList<int>{l.firstRow(1), l.firstRow(2)}), (QList<int>{0, 44}));
        QCOMPARE((QList<int>{l.rowsOn(1, 45), l.rowsOn(2, 45), l.rowsOn(3, 45)}), (QList<int>{44, 1, 0}));
        int sum = 0;
        for (int w : l.columnWidths()) {
            QVERIFY(w > 0);
            sum += w;
        }
        QCOMPARE(sum, 1003);
        QVERIFY(l.columnWidths()[0] > l.columnWidths()[1]);
        // A page too small for any row still takes one.
        l.pageHeight = 50;
        QCOMPARE(l.rowsPerPage(), 1);
        QCOMPARE(l.pageCount(3), 3);
    }

    void allAssignmentsOverSeveralPages()
    {
        frmMain *m = startWith(70);
        const QStringList pages = print(m, "mnuReportsAllAssignments");
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(Printing::dialogCount(), 1);
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        for (int i = 0; i < pages.size(); ++i) {
            QVERIFY2(pages[i].contains(QString("Biology Assignment Listing : Page %1").arg(i + 1)), qPrintable(pages[i]));
            QVERIFY2(pages[i].contains("Printed 10/5/2026 2:03:09 PM"), qPrintable(pages[i]));
            QVERIFY(pages[i].contains(QRegularExpression("AssignmentTitle\\s+Type\\s+Due\\s+Max\\s+Actual")));
        }
        // Every row once, ordered by due date as the main window lists them; no other class's.
        QStringList expected;
        for (int i = 70; i >= 1; --i)
            expected << QString("Task %1").arg(i, 2, 10, QChar('0'));
        QCOMPARE(tasks(pages), expected);
        // The cells as the grid shows them.
        QVERIFY(pages.first().contains(QRegularExpression("Task 70\\s+10/22/2026\\s+10\\s+70")));
        QVERIFY(!frmReportGrid::existing());
    }

    void aLongNameAndLargeFiguresPrintWhole()
    {
        // The longest class name the field takes, and points at the ends of
        // the fields' range.
        const QString name = QStringLiteral("O'Brien's ") + QString(245, QLatin1Char('L'));
        addAssignment(addClass(newFile(), name), "Huge", 2147483647, -2147483647 - 1, "2026-10-01");
        const QStringList pages = print(startOn(name), "mnuReportsAllAssignments");
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(pages.size(), 1);
        // The page number is on the page, after as much of the name as fits.
        QVERIFY2(pages[0].contains("O'Brien's LLLL"), qPrintable(pages[0]));
        QVERIFY2(pages[0].contains(" Assignment Listing : Page 1"), qPrintable(pages[0]));
        // A figure is never cut short.
        QVERIFY2(pages[0].contains(QRegularExpression("Huge\\s+10/1/2026\\s+2147483647\\s+-2147483648")), qPrintable(pages[0]));
    }

    void ungradedLeavesOutNeverEnteredPoints()
    {
        const int cls = addClass(newFile(), "Women's Studies");
        addAssignment(cls, "Task 01", 10, 0);
        addAssignment(cls, "Task 02", 10, QVariant());
        addAssignment(cls, "Task 03", 10, 5);
        addAssignment(cls, "Task 04", 10, 0, "2026-09-15");
        frmMain *m = startOn("Women's Studies");
        const QStringList pages = print(m, "mnuReportsUngradedAssignments");
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().contains("Women's Studies Assignment Listing : Page 1"));
        QCOMPARE(tasks(pages), QStringList({"Task 04", "Task 01"}));
        // All Assignments of the same class lists them all.
        QCOMPARE(tasks(print(m, "mnuReportsAllAssignments", pdf("all.pdf"))), QStringList({"Task 04", "Task 01", "Task 02", "Task 03"}));
        // No rows at all: one page still.
        TestEnv::exec("DELETE FROM Assignments");
        clickNode(m, "Women's Studies");
        const QStringList empty = print(m, "mnuReportsUngradedAssignments", pdf("empty.pdf"));
        QCOMPARE(empty.size(), 1);
        QVERIFY(empty.first().contains("Women's Studies Assignment Listing : Page 1"));
        QVERIFY(empty.first().contains("Printed "));
        QVERIFY(tasks(empty).isEmpty());
    }

    void noClassPrintsNothing()
    {
        newFile();
        frmMain *m = startQuiet();
        for (const char *command : {"mnuReportsUngradedAssignments", "mnuReportsAllAssignments"}) {
            MessageBox::clearShown();
            print(m, command);
            QCOMPARE(MessageBox::shown().size(), 1);
            lastBox("No class!");
            QCOMPARE(TestEnv::shownLast().icon, MessageBox::Information);
        }
        QCOMPARE(Printing::dialogCount(), 0);
        QVERIFY(!QFile::exists(pdf()));
        QVERIFY(!frmReportGrid::existing());
    }

    void cancelOrAFailurePrintsNothing()
    {
        frmMain *m = startWith(3);
        print(m, "mnuReportsAllAssignments", "");
        QCOMPARE(Printing::dialogCount(), 1);
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(QDir(TestEnv::root()).entryList({"*.pdf"}, QDir::Files | QDir::Hidden).isEmpty());
        // A failure is told.
        const QString missing = TestEnv::root() + "/gone/listing.pdf";
        print(m, "mnuReportsAllAssignments", missing);
        QCOMPARE(MessageBox::shown().size(), 1);
        lastBox("Not printed");
        QVERIFY2(TestEnv::shownLast().text.startsWith("The listing could not be printed."), qPrintable(TestEnv::shownLast().text));
        QVERIFY(TestEnv::shownLast().text.contains(missing));
        QVERIFY(!QFile::exists(missing));
        FileOps::denyChanges(TestEnv::driveA());
        print(m, "mnuReportsUngradedAssignments", TestEnv::driveA() + "/listing.pdf");
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(!QFile::exists(TestEnv::driveA() + "/listing.pdf"));
        QVERIFY(!frmReportGrid::existing());
        // The program goes on: the next listing prints.
        FileOps::clearDenied();
        QCOMPARE(tasks(print(m, "mnuReportsAllAssignments")).size(), 3);
        QCOMPARE(MessageBox::shown().size(), 2);
    }
};

TARVELA_TEST_CLASS(ListingsTest)
#include "tst_listings.moc"

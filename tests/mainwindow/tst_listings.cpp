#include "MainHelpers.h"
#include "PdfText.h"

#include "mainwindow/AssignmentListing.h"
#include "mainwindow/frmReportGrid.h"
#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "platform/Printing.h"
#include "platform/Settings.h"

#include <QAction>
#include <QFile>
#include <QRegularExpression>

using namespace MainHelpers;

// Printed assignment listings: the layout, and the listings printed to PDF.
class ListingsTest : public TestCase
{
    Q_OBJECT

    static QString pdf(const char *name = "listing.pdf") { return TestEnv::root() + "/" + name; }

    // "Biology" with `count` assignments "Task 01" ... due in reverse order, and "Art" with one.
    frmMain *startWith(int count, const QString &className = "Biology")
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        m_class = addClass(sem, className);
        const int other = addClass(sem, "Art");
        for (int i = 1; i <= count; ++i)
            addAssignment(m_class, QString("Task %1").arg(i, 2, 10, QChar('0')), 10, i % 3 == 0 ? QVariant(0) : QVariant(i),
                          QDate(2026, 12, 31).addDays(-i).toString(Qt::ISODate));
        addAssignment(other, "Sketchbook", 10, 0);
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        Clock::set(QDateTime(QDate(2026, 10, 5), QTime(14, 3, 9)));
        frmMain *m = start();
        clickNode(m, className);
        return m;
    }

    static void print(frmMain *m, const char *command, const QString &file)
    {
        Printing::setNextPdfFile(file);
        m->findChild<QAction *>(command)->trigger();
        settle();
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

    int m_class = 0;

public:
    ListingsTest() { TestEnv::addResetHook([] { Printing::clear(); }); }

private Q_SLOTS:
    void headerFooterAndColumns()
    {
        using namespace AssignmentListing;
        QCOMPARE(header("Biology", 2), QString("Biology Assignment Listing : Page 2"));
        QCOMPARE(header("Bob's Class", 1), QString("Bob's Class Assignment Listing : Page 1"));
        QCOMPARE(header("", 3), QString(" Assignment Listing : Page 3"));
        QCOMPARE(footer(QDateTime(QDate(2026, 10, 5), QTime(14, 3, 9))), QString("Printed 10/5/2026 2:03:09 PM"));
        QCOMPARE(footer(QDateTime(QDate(2027, 1, 31), QTime(0, 0, 0))), QString("Printed 1/31/2027 12:00:00 AM"));
        QStringList captions, fields;
        for (const Column &c : columns()) {
            captions << c.caption;
            fields << c.field;
        }
        QCOMPARE(captions, QStringList({"AssignmentTitle", "Type", "Due", "Max", "Actual"}));
        QCOMPARE(fields, QStringList({"AssignmentTitle", "AssignmentType", "DateDue", "MaxPointsPossible", "ActualPoints"}));
    }

    void rowsSplitOverPages()
    {
        AssignmentListing::Layout l;
        l.pageWidth = 1003;
        l.pageHeight = 1000;
        l.lineHeight = 20;
        // Header, captions and footer take two lines each.
        QCOMPARE(l.rowsPerPage(), 44);
        QCOMPARE(l.pageCount(0), 1);
        QCOMPARE(l.pageCount(44), 1);
        QCOMPARE(l.pageCount(45), 2);
        QCOMPARE(l.pageCount(89), 3);
        QCOMPARE(l.firstRow(1), 0);
        QCOMPARE(l.firstRow(2), 44);
        QCOMPARE(l.rowsOn(1, 45), 44);
        QCOMPARE(l.rowsOn(2, 45), 1);
        QCOMPARE(l.rowsOn(3, 45), 0);
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
        print(m, "mnuReportsAllAssignments", pdf());
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(Printing::dialogCount(), 1);
        const QStringList pages = PdfText::pages(pdf());
        QVERIFY2(pages.size() >= 2, qPrintable(QString::number(pages.size())));
        for (int i = 0; i < pages.size(); ++i) {
            QVERIFY2(pages[i].contains(QString("Biology Assignment Listing : Page %1").arg(i + 1)), qPrintable(pages[i]));
            QVERIFY2(pages[i].contains("Printed 10/5/2026 2:03:09 PM"), qPrintable(pages[i]));
            for (const char *caption : {"AssignmentTitle", "Type", "Due", "Max", "Actual"})
                QVERIFY(pages[i].contains(caption));
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
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Fall 2026"), name);
        addAssignment(cls, "Huge", 2147483647, -2147483647 - 1, "2026-10-01");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        clickNode(m, name);
        print(m, "mnuReportsAllAssignments", pdf());
        QVERIFY(MessageBox::shown().isEmpty());
        const QStringList pages = PdfText::pages(pdf());
        QCOMPARE(pages.size(), 1);
        // The page number is on the page, after as much of the name as fits.
        QVERIFY2(pages[0].contains("O'Brien's LLLL"), qPrintable(pages[0]));
        QVERIFY2(pages[0].contains(" Assignment Listing : Page 1"), qPrintable(pages[0]));
        // A figure is never cut short.
        QVERIFY2(pages[0].contains(QRegularExpression("Huge\\s+10/1/2026\\s+2147483647\\s+-2147483648")), qPrintable(pages[0]));
    }

    void ungradedLeavesOutNeverEnteredPoints()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int cls = addClass(sem, "Women's Studies");
        addAssignment(cls, "Task 01", 10, 0);
        addAssignment(cls, "Task 02", 10, QVariant());
        addAssignment(cls, "Task 03", 10, 5);
        addAssignment(cls, "Task 04", 10, 0, "2026-09-15");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        clickNode(m, "Women's Studies");
        print(m, "mnuReportsUngradedAssignments", pdf());
        QVERIFY(MessageBox::shown().isEmpty());
        const QStringList pages = PdfText::pages(pdf());
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().contains("Women's Studies Assignment Listing : Page 1"));
        QCOMPARE(tasks(pages), QStringList({"Task 04", "Task 01"}));
        // All Assignments of the same class lists them all.
        print(m, "mnuReportsAllAssignments", pdf("all.pdf"));
        QCOMPARE(tasks(PdfText::pages(pdf("all.pdf"))), QStringList({"Task 04", "Task 01", "Task 02", "Task 03"}));
    }

    void anEmptyListingIsOnePage()
    {
        frmMain *m = startWith(0);
        print(m, "mnuReportsUngradedAssignments", pdf());
        const QStringList pages = PdfText::pages(pdf());
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().contains("Biology Assignment Listing : Page 1"));
        QVERIFY(pages.first().contains("Printed 10/5/2026 2:03:09 PM"));
        QVERIFY(tasks(pages).isEmpty());
    }

    void noClassPrintsNothing()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        for (const char *command : {"mnuReportsUngradedAssignments", "mnuReportsAllAssignments"}) {
            MessageBox::clearShown();
            print(m, command, pdf());
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(TestEnv::shownLast().title, QString("No class!"));
            QCOMPARE(TestEnv::shownLast().icon, MessageBox::Information);
        }
        QCOMPARE(Printing::dialogCount(), 0);
        QVERIFY(!QFile::exists(pdf()));
        QVERIFY(!frmReportGrid::existing());
    }

    void cancelPrintsNothing()
    {
        frmMain *m = startWith(3);
        print(m, "mnuReportsAllAssignments", "");
        QCOMPARE(Printing::dialogCount(), 1);
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(QDir(TestEnv::root()).entryList({"*.pdf"}, QDir::Files | QDir::Hidden).isEmpty());
        QVERIFY(!frmReportGrid::existing());
    }

    void printingFailuresAreTold()
    {
        frmMain *m = startWith(3);
        const QString missing = TestEnv::root() + "/gone/listing.pdf";
        print(m, "mnuReportsAllAssignments", missing);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(TestEnv::shownLast().title, QString("Not printed"));
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
        print(m, "mnuReportsAllAssignments", pdf());
        QCOMPARE(MessageBox::shown().size(), 2);
        QCOMPARE(tasks(PdfText::pages(pdf())).size(), 3);
    }
};

TARVELA_TEST_CLASS(ListingsTest)
#include "tst_listings.moc"

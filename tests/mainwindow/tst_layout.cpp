#include "MainHelpers.h"

#include "calendar/frmToday.h"
#include "mainwindow/frmClassStatus.h"
#include "mainwindow/frmConfirmGrade.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Settings.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/frmCompactDB.h"
#include "store/modTransport.h"

#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>

using namespace MainHelpers;

// What the student sees at the windows' default sizes: every column and
// every label whole inside its window, and windows opening on the screen.
class LayoutTest : public TestCase
{
    Q_OBJECT

    static QRect inWindow(const QWidget *w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }

    // The control lies inside its window and is big enough for its text.
    static void whole(const QWidget *w)
    {
        QVERIFY2(w, "no such control");
        const QString name = w->objectName();
        QVERIFY2(w->isVisibleTo(w->window()), qPrintable(name + " is hidden"));
        QVERIFY2(w->window()->rect().contains(inWindow(w)), qPrintable(name + " lies outside its window"));
        QVERIFY2(w->height() > 0 && w->width() > 0, qPrintable(name + " has no size"));
        const QSize hint = w->sizeHint();
        if (auto *l = qobject_cast<const QLabel *>(w); l && l->wordWrap()) {
            QVERIFY2(w->height() >= l->heightForWidth(w->width()), qPrintable(name + " is cut off"));
        } else {
            QVERIFY2(w->width() >= hint.width() && w->height() >= hint.height(), qPrintable(name + " is cut off"));
        }
    }

    static void onScreen(const QWidget *w)
    {
        const QRect screen = w->screen()->availableGeometry();
        QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(w->objectName() + " is partly off the screen"));
    }

    static frmMain *withGrades()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int cls = addClass(sem, "Introduction to Cellular and Molecular Biology", {900, 800, 700, 600, 0});
        addAssignment(cls, "Lab report on the structure of the cell membrane", 500, 420);
        addAssignment(cls, "Midterm", 500, 430);
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        clickNode(m, "Introduction to Cellular and Molecular Biology");
        return m;
    }

    static void columnsFit(frmMain *m, int minTitle)
    {
        QTableView *v = m->findChild<DataGrid *>("gridAssignments")->view();
        QHeaderView *h = v->horizontalHeader();
        QCOMPARE(h->count(), 6);
        const int room = v->viewport()->width();
        for (int i = 0; i < h->count(); ++i) {
            const QString caption = v->model()->headerData(i, Qt::Horizontal).toString();
            const int x = h->sectionViewportPosition(i);
            QVERIFY2(x >= 0 && x + h->sectionSize(i) <= room, qPrintable(caption + " lies past the grid's edge"));
            QVERIFY2(h->sectionSize(i) >= h->sectionSizeHint(i), qPrintable(caption + " is too narrow for its caption"));
        }
        QCOMPARE(v->horizontalScrollBar()->maximum(), 0);
        // The Title column takes what the others leave.
        QCOMPARE(h->sectionViewportPosition(5) + h->sectionSize(5), room);
        QVERIFY2(h->sectionSize(0) >= minTitle, qPrintable(QString("the title column is %1 wide").arg(h->sectionSize(0))));
    }

private Q_SLOTS:
    void gridColumnsAndPointsBandFitTheMainWindow()
    {
        frmMain *m = withGrades();
        QCOMPARE(m->size(), QSize(900, 600)); // the default size
        columnsFit(m, 200);
        if (QTest::currentTestFailed())
            return;
        for (const char *name : {"Label1", "lblMaxPoints", "Label2", "lblCurrentPoints", "lblLetterGrade"})
            whole(m->findChild<QLabel *>(name));
        QCOMPARE(m->findChild<QLabel *>("lblCurrentPoints")->text(), QString("850"));
        QCOMPARE(m->findChild<QLabel *>("lblLetterGrade")->text(), QString("(B)"));
        // Still so after the rows were read again and after a narrower window.
        m->datAssignments->Refresh();
        settle();
        columnsFit(m, 200);
        m->resize(760, 520);
        settle();
        columnsFit(m, 60);
    }

    void longNamesLeaveTheMainWindowItsSize()
    {
        // The longest names the fields take: the class's name stands in the
        // grid's caption and in the class panel, with " (Closed)" after it.
        TestEnv::createDatabase();
        const QString title = QString(96, QLatin1Char('S')) + QStringLiteral(" \U0001F342'");
        const QString name = QStringLiteral("O'Brien's \U0001F9EC ") + QString(243, QLatin1Char('L'));
        const int cls = addClass(addSemester(title), name, {900, 800, 700, 600, 0});
        addAssignment(cls, QString(200, QLatin1Char('T')), 100, 90);
        TestEnv::exec("UPDATE Classes SET ClassClosed = 1, FinalLetterGrade = 'B' WHERE ID = ?", {cls});
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        QCOMPARE(m->size(), QSize(900, 600));
        clickNode(m, name);
        QCOMPARE(m->findChild<DataGrid *>("gridAssignments")->caption(), name);
        QVERIFY(m->findChild<QLabel *>("SSPanel5")->text().endsWith(name + " (Closed)"));
        QCOMPARE(m->size(), QSize(900, 600));
        // The semester's panel and the class's share the status bar: the
        // long semester title does not push the class out of sight.
        QVERIFY(m->findChild<QLabel *>("SSPanel4")->text().endsWith(title));
        for (const char *panel : {"SSPanel4", "SSPanel5"})
            QVERIFY2(m->findChild<QLabel *>(panel)->width() >= 200,
                     qPrintable(QString("%1 is %2 wide").arg(panel).arg(m->findChild<QLabel *>(panel)->width())));
        // Side by side, each in its own place.
        const QRect semester = m->findChild<QLabel *>("SSPanel4")->geometry();
        const QRect classPanel = m->findChild<QLabel *>("SSPanel5")->geometry();
        QVERIFY2(semester.right() < classPanel.left(), qPrintable(QString("%1 %2").arg(semester.right()).arg(classPanel.left())));
        QVERIFY2(classPanel.right() < m->width(), qPrintable(QString::number(classPanel.right())));
        // And the user can still make it narrower.
        QVERIFY2(m->minimumSizeHint().width() <= 760, qPrintable(QString::number(m->minimumSizeHint().width())));
    }

    void compactionQuestionIsWhole()
    {
        TestEnv::createDatabase();
        Settings::save(Settings::App, "Settings", "LastCompacted", DateText::mmddyyyy(Clock::today().addDays(-40)));
        frmCompactDB *w = frmCompactDB::instance();
        QVERIFY(w->isVisible());
        settle();
        for (const char *name : {"Label1", "Label2", "Label3", "Label4", "Command1", "Command2", "Check1"})
            whole(w->findChild<QWidget *>(name));
        // The status line waits below the visible part until Yes is pressed.
        QVERIFY(w->findChild<QLabel *>("lblStatus")->y() >= w->height());
        onScreen(w);
    }

    void todaysEventsShowsItsHeading()
    {
        TestEnv::createDatabase();
        const int cls = addClass(addSemester("Fall 2026"), "Biology");
        addAssignment(cls, "Lab report", 10, QVariant(), Clock::today().toString("yyyy-MM-dd"));
        DatabasePath = TestEnv::databasePath();
        frmToday *w = frmToday::instance();
        QVERIFY(w->isVisible());
        settle();
        whole(w->findChild<QLabel *>("Label1"));
        whole(w->findChild<QLabel *>("Picture1"));
        QVERIFY(w->findChild<QLabel *>("Picture1")->height() >= 40);
        QVERIFY(w->rect().contains(inWindow(w->findChild<QWidget *>("lstToday"))));
        whole(w->findChild<QWidget *>("cmdOK"));
        onScreen(w);
    }

    void confirmationWindowShowsItsTexts()
    {
        TestEnv::createDatabase();
        addClass(addSemester("Fall 2026"), "Biology", {90, 80, 70, 60, 0});
        frmConfirmGrade *w = frmConfirmGrade::instance();
        w->Show();
        settle();
        for (const char *name : {"Label1", "Label2", "Label3", "Label4", "txtTarvelaLetterGrade", "cmbActualLetterGrade", "cmdDone"})
            whole(w->findChild<QWidget *>(name));
    }

    void secondaryWindowsOpenOverTheMainWindow()
    {
        frmMain *m = withGrades();
        const QRect screen = m->screen()->availableGeometry();
        m->resize(700, 480);
        m->move(screen.x() + 40, screen.y() + 30);
        settle();
        QTest::mouseClick(m->findChild<QWidget *>("cmdClassStats"), Qt::LeftButton);
        settle();
        frmClassStatus *w = frmClassStatus::existing();
        QVERIFY(w && w->isVisible());
        onScreen(w);
        const QPoint offset = w->frameGeometry().center() - m->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QString("%1, %2 off the middle").arg(offset.x()).arg(offset.y())));
        // A window that would leave the screen over the main window stays on it.
        m->move(screen.right() - 200, screen.bottom() - 150);
        settle();
        m->mnuClassCloseOut_Click();
        settle();
        QVERIFY(frmConfirmGrade::existing());
        onScreen(frmConfirmGrade::existing());
    }
};

TARVELA_TEST_CLASS(LayoutTest)
#include "tst_layout.moc"

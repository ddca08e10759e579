#include "MainDriving.h"

#include "calendar/frmToday.h"
#include "mainwindow/frmClassStatus.h"
#include "mainwindow/frmConfirmGrade.h"
#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/DateText.h"
#include "bound/frmCompactDB.h"
#include "store/modTransport.h"

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>

using namespace MainHelpers;

// What the student sees at the windows' default sizes: every column and
// every label whole inside its window, and windows opening on the screen.
class LayoutTest : public TestCase
{
    Q_OBJECT

    static QRect inWindow(const QWidget *w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }

    // The controls lie inside their window and are big enough for their text.
    static void whole(QWidget *window, const QList<const char *> &names)
    {
        for (const char *name : names) {
            const QWidget *w = find<QWidget>(window, name);
            QVERIFY2(w && w->isVisibleTo(window), qPrintable(QString(name) + " is hidden"));
            QVERIFY2(window->rect().contains(inWindow(w)), qPrintable(QString(name) + " lies outside its window"));
            QVERIFY2(w->height() > 0 && w->width() > 0, qPrintable(QString(name) + " has no size"));
            const auto *l = qobject_cast<const QLabel *>(w);
            if (l && l->wordWrap())
                QVERIFY2(w->height() >= l->heightForWidth(w->width()), qPrintable(QString(name) + " is cut off"));
            else
                QVERIFY2(w->width() >= w->sizeHint().width() && w->height() >= w->sizeHint().height(),
                         qPrintable(QString(name) + " is cut off"));
        }
    }

    static void onScreen(const QWidget *w)
    {
        QVERIFY2(w->screen()->availableGeometry().contains(w->frameGeometry()), qPrintable(w->objectName() + " is partly off the screen"));
    }

    static frmMain *withGrades()
    {
        const int cls = addClass(newFile(), "Introduction to Cellular and Molecular Biology", {900, 800, 700, 600, 0});
        addAssignment(cls, "Lab report on the structure of the cell membrane", 500, 420);
        addAssignment(cls, "Midterm", 500, 430);
        return startOn("Introduction to Cellular and Molecular Biology");
    }

    static void columnsFit(frmMain *m, int minTitle)
    {
        QTableView *v = view(m);
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
        whole(m, {"Label1", "lblMaxPoints", "Label2", "lblCurrentPoints", "lblLetterGrade"});
        QCOMPARE(figures(m).mid(1), QStringList({"850", "(B)"}));
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
        const QString title = QString(96, QLatin1Char('S')) + QStringLiteral(" \U0001F342'");
        const QString name = QStringLiteral("O'Brien's \U0001F9EC ") + QString(243, QLatin1Char('L'));
        const int cls = addClass(newFile(title), name, scale());
        addAssignment(cls, QString(200, QLatin1Char('T')), 100, 90);
        TestEnv::exec("UPDATE Classes SET ClassClosed = 1, FinalLetterGrade = 'B' WHERE ID = ?", {cls});
        frmMain *m = startQuiet();
        QCOMPARE(m->size(), QSize(900, 600));
        clickNode(m, name);
        QCOMPARE(grid(m)->caption(), name);
        QVERIFY(label(m, "SSPanel5").endsWith(name + " (Closed)"));
        QCOMPARE(m->size(), QSize(900, 600));
        // The semester's panel and the class's share the status bar side by
        // side, each in its own place: the long semester title does not push
        // the class out of sight.
        QVERIFY(label(m, "SSPanel4").endsWith(title));
        const QRect semester = find<QLabel>(m, "SSPanel4")->geometry();
        const QRect panel = find<QLabel>(m, "SSPanel5")->geometry();
        QVERIFY2(semester.width() >= 200 && panel.width() >= 200,
                 qPrintable(QString("%1 and %2 wide").arg(semester.width()).arg(panel.width())));
        QVERIFY2(semester.right() < panel.left(), qPrintable(QString("%1 %2").arg(semester.right()).arg(panel.left())));
        QVERIFY2(panel.right() < m->width(), qPrintable(QString::number(panel.right())));
        // What does not fit is shortened with "…"; the whole text is the tooltip.
        for (WrappedLabel *shortened : {find<WrappedLabel>(m, "SSPanel4"), find<WrappedLabel>(m, "SSPanel5"), find<WrappedLabel>(grid(m), "caption")}) {
            QVERIFY2(shortened->shownText().endsWith(QChar(0x2026)), qPrintable(shortened->shownText()));
            QCOMPARE(toolTipOf(shortened), shortened->text());
        }
        // And the user can still make it narrower.
        QVERIFY2(m->minimumSizeHint().width() <= 760, qPrintable(QString::number(m->minimumSizeHint().width())));
    }

    void compactionTodayAndConfirmationShowTheirTextsWhole()
    {
        addAssignment(addClass(newFile(), "Biology", scale()), "Lab report", 10, QVariant(), Clock::today().toString("yyyy-MM-dd"));
        DatabasePath = TestEnv::databasePath();
        Settings::save(Settings::App, "Settings", "LastCompacted", DateText::mmddyyyy(Clock::today().addDays(-40)));
        frmCompactDB *c = frmCompactDB::instance();
        QVERIFY(c->isVisible());
        settle();
        whole(c, {"Label1", "Label2", "Label3", "Label4", "Command1", "Command2", "Check1"});
        // The status line waits below the visible part until Yes is pressed.
        QVERIFY(find<QLabel>(c, "lblStatus")->y() >= c->height());
        onScreen(c);

        frmToday *t = frmToday::instance();
        QVERIFY(t->isVisible());
        settle();
        whole(t, {"Label1", "Picture1", "cmdOK"});
        QVERIFY(find<QLabel>(t, "Picture1")->height() >= 40);
        QVERIFY(t->rect().contains(inWindow(find<QWidget>(t, "lstToday"))));
        onScreen(t);

        frmConfirmGrade *g = frmConfirmGrade::instance();
        g->Show();
        settle();
        whole(g, {"Label1", "Label2", "Label3", "Label4", "txtTarvelaLetterGrade", "cmbActualLetterGrade", "cmdDone"});
    }

    void secondaryWindowsOpenOverTheMainWindow()
    {
        frmMain *m = withGrades();
        const QRect screen = m->screen()->availableGeometry();
        m->resize(700, 480);
        m->move(screen.x() + 40, screen.y() + 30);
        settle();
        click(m, "cmdClassStats");
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

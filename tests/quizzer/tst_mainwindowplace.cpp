#include "QuizzerHelpers.h"

#include <QWindow>

using namespace QuizzerHelpers;

// The quizzer's windows hide the main window while they are open; when they
// close, the main window comes back where the user left it, at its size.
class MainWindowPlaceTest : public TestCase
{
    Q_OBJECT

    // Moves and sizes the main window the way the desktop does when the user
    // drags it: the window system reports the new place, the program sets
    // nothing.
    static QRect movedByTheUser(frmMain *m, const QRect &to)
    {
        m->windowHandle()->setGeometry(to);
        settle();
        return m->geometry();
    }

    // What differs from being shown again at the place and size it had. Qt
    // hands the desktop the place of a window only when it is the program's
    // own (WA_Moved and WA_Resized); otherwise the desktop places the window
    // anew each time it is shown.
    static QString notBackWhereItWas(frmMain *m, const QRect &was)
    {
        settle();
        QStringList wrong;
        if (!m->isVisible())
            wrong << QStringLiteral("the main window is hidden");
        if (m->geometry() != was)
            wrong << QStringLiteral("shown at %1,%2 %3x%4")
                         .arg(m->geometry().x())
                         .arg(m->geometry().y())
                         .arg(m->geometry().width())
                         .arg(m->geometry().height());
        if (!m->testAttribute(Qt::WA_Moved))
            wrong << QStringLiteral("the desktop would place the main window anew");
        if (!m->testAttribute(Qt::WA_Resized))
            wrong << QStringLiteral("the desktop would size the main window anew");
        return wrong.join(QStringLiteral("; "));
    }

private Q_SLOTS:
    void comesBackWhereItWasAfterEachQuizzerWindow()
    {
        frmMain *m = startWithSemester();
        QVERIFY(m->isVisible());
        QVERIFY(!m->testAttribute(Qt::WA_Moved));
        QString wrong;

        // No quiz yet: the selection closes itself after telling so.
        QRect was = movedByTheUser(m, QRect(130, 90, 700, 520));
        QCOMPARE(was, QRect(130, 90, 700, 520));
        QVERIFY(!openSelection(m));
        QCOMPARE(TestEnv::shownLast().title, QString("No quizzes."));
        QVERIFY2((wrong = notBackWhereItWas(m, was)).isEmpty(), qPrintable(wrong));

        // The quiz builder, left by Exit Quizzes and by its close box.
        was = movedByTheUser(m, QRect(210, 150, 760, 540));
        frmQuizBuilder *b = openBuilder(m);
        QVERIFY(b && b->isVisible());
        QVERIFY(!m->isVisible());
        click(b, "SSCommand2");
        QVERIFY(!frmQuizBuilder::existing());
        QVERIFY2((wrong = notBackWhereItWas(m, was)).isEmpty(), qPrintable(wrong));
        was = movedByTheUser(m, QRect(40, 60, 720, 500));
        b = openBuilder(m);
        QVERIFY(b && !m->isVisible());
        b->close();
        QVERIFY2((wrong = notBackWhereItWas(m, was)).isEmpty(), qPrintable(wrong));

        // The quiz selection, cancelled.
        const int id = addQuiz("Capitals");
        addQuestion(id, "Capital of France?", "Paris");
        was = movedByTheUser(m, QRect(300, 200, 680, 480));
        frmQuizSelection *s = openSelection(m);
        QVERIFY(s && s->isVisible());
        QVERIFY(!m->isVisible());
        click(s, "cmdCancel");
        QVERIFY(!frmQuizSelection::existing());
        QVERIFY2((wrong = notBackWhereItWas(m, was)).isEmpty(), qPrintable(wrong));

        // The quiz taker, taken to the end and left with Escape.
        was = movedByTheUser(m, QRect(90, 110, 740, 560));
        frmQuizTaker *t = start(openSelection(m), 0);
        QVERIFY(t && t->isVisible());
        QVERIFY(!m->isVisible());
        answer(t, "Paris");
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY2((wrong = notBackWhereItWas(m, was)).isEmpty(), qPrintable(wrong));
        was = movedByTheUser(m, QRect(250, 70, 700, 520));
        t = start(openSelection(m), 0);
        QVERIFY(t && !m->isVisible());
        QTest::keyClick(t->findChild<QLineEdit *>("txtAnswer"), Qt::Key_Escape);
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY2((wrong = notBackWhereItWas(m, was)).isEmpty(), qPrintable(wrong));
    }
};

TARVELA_TEST_CLASS(MainWindowPlaceTest)
#include "tst_mainwindowplace.moc"

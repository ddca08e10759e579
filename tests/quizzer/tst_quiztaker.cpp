#include "QuizzerHelpers.h"

#include "quizzer/QuizScore.h"

using namespace QuizzerHelpers;

// Choosing a quiz and taking it: the score, the ways out, and that taking a
// quiz writes nothing.
class QuizTakerTest : public TestCase
{
    Q_OBJECT

    // Three questions in a quiz of its own, with a second quiz beside it.
    static int capitals()
    {
        const int id = addQuiz("Capitals");
        addQuestion(id, "Capital of France?", "Paris");
        addQuestion(id, "Capital of Italy?", "Rome");
        addQuestion(id, "Capital of Spain?", " Madrid ");
        return id;
    }

    static QString snapshot() { return dump("Quizzes") + "\n--\n" + dump("QuizItems"); }

private Q_SLOTS:
    void scoring()
    {
        QVERIFY(QuizScore::isRight("paris", QString("Paris")));
        QVERIFY(QuizScore::isRight("  PARIS  ", QString(" paris")));
        QVERIFY(QuizScore::isRight(QString::fromUtf8("straße"), QString::fromUtf8("STRASSE")));
        QVERIFY(!QuizScore::isRight("Pari s", QString("Paris")));
        QVERIFY(!QuizScore::isRight("", QVariant()));
        QVERIFY(!QuizScore::isRight("anything", QVariant()));
        // Only blanks are stripped.
        QVERIFY(!QuizScore::isRight("Paris.", QString("Paris")));
        QCOMPARE(QuizScore::normalised("  a b  "), QString("A B"));
        QuizScore score;
        QVERIFY(score.answer("Paris", QString("paris")));
        QVERIFY(!score.answer("Milan", QString("Rome")));
        QVERIFY(score.answer("madrid ", QString(" Madrid")));
        QCOMPARE(score.answersGiven(), 3);
        QCOMPARE(score.rightAnswers(), 2);
        QCOMPARE(score.message(), QString("You've scored 2 out of a possible 3 points."));
        QCOMPARE(QuizScore().message(), QString("You've scored 0 out of a possible 0 points."));
    }

    void rightWrongRight()
    {
        frmMain *m = startWithSemester();
        capitals();
        addQuiz("Other");
        const QString before = snapshot();
        frmQuizSelection *s = openSelection(m);
        QVERIFY(s && s->isVisible());
        QVERIFY(!m->isVisible());
        QCOMPARE(s->windowTitle(), QString("Tarvela Quizzes"));
        QCOMPARE(s->findChild<QLabel *>("Label1")->text(),
                 QString("Select the quiz you'd like to take from the list below and click on the start button to begin."));
        QCOMPARE(s->findChild<QPushButton *>("cmdStart")->text(), QString("&Start"));
        QCOMPARE(s->findChild<QPushButton *>("cmdCancel")->text(), QString("&Cancel"));
        QCOMPARE(listed(s), QStringList({"Capitals", "Other"}));
        frmQuizTaker *t = start(s, 0);
        QVERIFY(t && t->isVisible());
        QVERIFY(!frmQuizSelection::existing());
        QVERIFY(!m->isVisible());
        QCOMPARE(t->windowTitle(), QString("Tarvela QuizTaker"));
        QCOMPARE(t->findChild<QLabel *>("lblCurrentQuiz")->text(), QString("Capitals"));
        QCOMPARE(question(t), QString("Capital of France?"));
        answer(t, "paris");
        QCOMPARE(question(t), QString("Capital of Italy?"));
        QCOMPARE(t->findChild<QLineEdit *>("txtAnswer")->text(), QString());
        answer(t, "Milan");
        QCOMPARE(question(t), QString("Capital of Spain?"));
        QVERIFY(MessageBox::shown().isEmpty());
        answer(t, "  MADRID");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(TestEnv::shownLast().text, QString("You've scored 2 out of a possible 3 points."));
        QCOMPARE(TestEnv::shownLast().title, QString("Tarvela Desk"));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::NoIcon);
        QCOMPARE(TestEnv::shownLast().buttons, MessageBox::OkOnly);
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY(m->isVisible());
        // Nothing was written: LastTaken and LastScore stay empty.
        QCOMPARE(snapshot(), before);
        QVERIFY(TestEnv::scalar("SELECT LastScore FROM Quizzes WHERE Title = 'Capitals'").isNull());
        QVERIFY(TestEnv::scalar("SELECT LastTaken FROM Quizzes WHERE Title = 'Capitals'").isNull());
    }

    void escapeEndsWithoutAScore()
    {
        frmMain *m = startWithSemester();
        capitals();
        const QString before = snapshot();
        frmQuizTaker *t = start(openSelection(m), 0);
        QVERIFY(t);
        answer(t, "Paris");
        answer(t, "Rome");
        QCOMPARE(question(t), QString("Capital of Spain?"));
        QTest::keyClicks(t->findChild<QLineEdit *>("txtAnswer"), "Mad");
        QTest::keyClick(t->findChild<QLineEdit *>("txtAnswer"), Qt::Key_Escape);
        settle();
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY(m->isVisible());
        QCOMPARE(snapshot(), before);
        // The close box likewise; a quiz taken again starts over.
        t = start(openSelection(m), 0);
        QVERIFY(t);
        QCOMPARE(question(t), QString("Capital of France?"));
        answer(t, "x");
        t->close();
        settle();
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY(m->isVisible());
        t = start(openSelection(m), 0);
        answer(t, "Paris");
        answer(t, "Rome");
        answer(t, "Madrid");
        QCOMPARE(TestEnv::shownLast().text, QString("You've scored 3 out of a possible 3 points."));
        QVERIFY(m->isVisible());
    }

    void listingAndChoosing()
    {
        frmMain *m = startWithSemester();
        addQuiz(QVariant());
        addQuiz("");
        const int first = addQuiz("Same");
        const int second = addQuiz("same");
        const int apostrophe = addQuiz("Jack's quiz");
        addQuestion(second, "from the second", "2");
        addQuestion(first, "from the first", "1");
        addQuestion(apostrophe, "O'Hara?", "Scarlett");
        frmQuizSelection *s = openSelection(m);
        // Empty titles are not listed; equal titles twice, in table order.
        QCOMPARE(listed(s), QStringList({"Same", "same", "Jack's quiz"}));
        // Start without a choice: told, and the window stays.
        click(s, "cmdStart");
        QCOMPARE(TestEnv::shownLast().title, QString("No quiz selected"));
        QCOMPARE(TestEnv::shownLast().text, QString("You have to select a quiz (with your mouse) \nbefore clicking on start."));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Information);
        QVERIFY(frmQuizSelection::existing() && s->isVisible());
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY(!m->isVisible());
        // Either of the equal titles starts the first of them.
        frmQuizTaker *t = start(s, 1);
        QVERIFY(t);
        QCOMPARE(question(t), QString("from the first"));
        QTest::keyClick(t->findChild<QLineEdit *>("txtAnswer"), Qt::Key_Escape);
        settle();
        // A title with an apostrophe starts like any other.
        t = start(openSelection(m), 2);
        QVERIFY(t);
        QCOMPARE(question(t), QString("O'Hara?"));
        answer(t, "scarlett");
        QCOMPARE(TestEnv::shownLast().text, QString("You've scored 1 out of a possible 1 points."));
        QVERIFY(m->isVisible());
    }

    void enterPressesStart()
    {
        frmMain *m = startWithSemester();
        capitals();
        frmQuizSelection *s = openSelection(m);
        QVERIFY(s);
        auto *list = s->findChild<QListWidget *>("lstQuizzes");
        // Nothing chosen yet: Enter says so, as Start does.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        settle();
        QCOMPARE(TestEnv::shownLast().title, QString("No quiz selected"));
        QVERIFY(frmQuizSelection::existing());
        // Enter on a focused Cancel cancels.
        auto *cancel = s->findChild<QPushButton *>("cmdCancel");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        settle();
        QVERIFY(!frmQuizSelection::existing());
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY(m->isVisible());
        // A chosen title and Enter start the quiz.
        s = openSelection(m);
        list = s->findChild<QListWidget *>("lstQuizzes");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(0)).center());
        QTest::keyClick(list, Qt::Key_Enter);
        settle();
        frmQuizTaker *t = frmQuizTaker::existing();
        QVERIFY(t && t->isVisible());
        QCOMPARE(question(t), QString("Capital of France?"));
    }

    void waysBackToTheMainWindow()
    {
        frmMain *m = startWithSemester();
        // No quizzes: told, and the main window is back.
        frmQuizSelection *s = openSelection(m);
        QVERIFY(!s);
        QCOMPARE(TestEnv::shownLast().text, QString("There are no quizzes in the database yet.\nUse the QuizBuilder to create or import some."));
        QCOMPARE(TestEnv::shownLast().title, QString("No quizzes."));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Information);
        QVERIFY(m->isVisible());
        // Cancel.
        const int empty = addQuiz("No questions yet");
        s = openSelection(m);
        QVERIFY(s && !m->isVisible());
        click(s, "cmdCancel");
        QVERIFY(!frmQuizSelection::existing());
        QVERIFY(m->isVisible());
        // The selection's close box.
        s = openSelection(m);
        s->close();
        settle();
        QVERIFY(!frmQuizSelection::existing());
        QVERIFY(m->isVisible());
        // A quiz without questions: said so, and back.
        MessageBox::clearShown();
        frmQuizTaker *t = start(openSelection(m), 0);
        QVERIFY(!t);
        QCOMPARE(TestEnv::shownLast().title, QString("No questions."));
        QVERIFY(TestEnv::shownLast().text.contains("\"No questions yet\" has no questions"));
        QVERIFY(m->isVisible());
        // A stored answer without value counts as wrong, whatever is typed.
        addQuestion(empty, "Nothing stored", QVariant());
        t = start(openSelection(m), 0);
        QVERIFY(t);
        answer(t, "");
        QCOMPARE(TestEnv::shownLast().text, QString("You've scored 0 out of a possible 1 points."));
        QVERIFY(m->isVisible());
        // Every way out has left the database as it was.
        QCOMPARE(SetupHelpers::count("Quizzes"), 1);
        QCOMPARE(SetupHelpers::count("QuizItems"), 1);
    }
};

TARVELA_TEST_CLASS(QuizTakerTest)
#include "tst_quiztaker.moc"

#include "QuizzerHelpers.h"

#include "quizzer/QuizScore.h"

using namespace QuizzerHelpers;

// Choosing a quiz and taking it: the score, the ways out, and that taking a
// quiz writes nothing.
class QuizTakerTest : public TestCase, QuizFixture
{
    Q_OBJECT

    // Three questions in a quiz of its own.
    static int capitals()
    {
        const int id = addQuiz("Capitals");
        addQuestion(id, "Capital of France?", "Paris");
        addQuestion(id, "Capital of Italy?", "Rome");
        addQuestion(id, "Capital of Spain?", " Madrid ");
        return id;
    }
    QLineEdit *answerBox() const { return t->findChild<QLineEdit *>("txtAnswer"); }

private Q_SLOTS:
    // An answer is right when it equals the stored one but for letter case
    // and blanks around it; a stored answer without value is never right.
    void scoring_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("right");
        QTest::newRow("letter case") << "paris" << QVariant("Paris") << true;
        QTest::newRow("blanks around") << "  MADRID" << QVariant(" Madrid ") << true;
        QTest::newRow("sharp s") << QString::fromUtf8("straße") << QVariant(QString::fromUtf8("STRASSE")) << true;
        QTest::newRow("blank inside") << "Pari s" << QVariant("Paris") << false;
        QTest::newRow("a full stop") << "Paris." << QVariant("Paris") << false;
        QTest::newRow("no stored answer") << "" << QVariant() << false;
    }
    void scoring()
    {
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        QFETCH(bool, right);
        QuizScore score;
        QCOMPARE(score.answer(typed, stored), right);
        QCOMPARE(score.message(), QString("You've scored %1 out of a possible 1 points.").arg(int(right)));
    }

    void rightWrongRightThenEscape()
    {
        m = startWithSemester();
        capitals();
        addQuiz("Other");
        const QStringList before = quizTables();
        QVERIFY(openSelection());
        QVERIFY(s->isVisible() && !m->isVisible());
        QCOMPARE(s->windowTitle(), QString("Tarvela Quizzes"));
        QCOMPARE(listed(s), QStringList({"Capitals", "Other"}));
        chooseQuiz(s, 0);
        click(s, "cmdStart");
        t = frmQuizTaker::existing();
        QVERIFY(t && t->isVisible());
        QVERIFY(!frmQuizSelection::existing());
        QVERIFY(!m->isVisible());
        QCOMPARE(t->windowTitle(), QString("Tarvela QuizTaker"));
        QCOMPARE(find<QLabel>(t, "lblCurrentQuiz")->text(), QString("Capitals"));
        QCOMPARE(question(t), QString("Capital of France?"));
        answer(t, "paris");
        QCOMPARE(question(t), QString("Capital of Italy?"));
        QCOMPARE(answerBox()->text(), QString());
        answer(t, "Milan");
        QCOMPARE(question(t), QString("Capital of Spain?"));
        QVERIFY(MessageBox::shown().isEmpty());
        answer(t, "  MADRID");
        QCOMPARE(MessageBox::shown().size(), 1);
        lastBox("Tarvela Desk", "You've scored 2 out of a possible 3 points.", MessageBox::NoIcon);
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY(m->isVisible());
        // Taken again, it starts over; Escape ends it without a score.
        QVERIFY(startQuiz(0));
        QCOMPARE(question(t), QString("Capital of France?"));
        answer(t, "Paris");
        answer(t, "Rome");
        QCOMPARE(question(t), QString("Capital of Spain?"));
        QTest::keyClicks(answerBox(), "Mad");
        QTest::keyClick(answerBox(), Qt::Key_Escape);
        settle();
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY(m->isVisible());
        // Nothing was written: LastTaken and LastScore stay empty.
        QCOMPARE(quizTables(), before);
        QCOMPARE(rows("SELECT LastScore, LastTaken FROM Quizzes WHERE Title = 'Capitals'"), QStringList{"<null>|<null>"});
    }


    void listingAndChoosing()
    {
        m = startWithSemester();
        addQuiz(QVariant());
        addQuiz("");
        const int first = addQuiz("Same");
        const int second = addQuiz("same");
        const int apostrophe = addQuiz("Jack's quiz");
        addQuestion(second, "from the second", "2");
        addQuestion(first, "from the first", "1");
        addQuestion(apostrophe, "O'Hara?", "Scarlett");
        QVERIFY(openSelection());
        // Empty titles are not listed; equal titles twice, in table order.
        QCOMPARE(listed(s), QStringList({"Same", "same", "Jack's quiz"}));
        // Start without a choice, by the button or by Enter: told, and the window stays.
        click(s, "cmdStart");
        lastBox("No quiz selected", "You have to select a quiz (with your mouse) \nbefore clicking on start.", MessageBox::Information);
        auto *list = find<QListWidget>(s, "lstQuizzes");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        settle();
        QCOMPARE(TestEnv::shownTitles(), QStringList(2, "No quiz selected"));
        QVERIFY(frmQuizSelection::existing() && s->isVisible());
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY(!m->isVisible());
        // Either of the equal titles starts the first of them; Enter starts as Start does.
        chooseQuiz(s, 1);
        QTest::keyClick(list, Qt::Key_Enter);
        settle();
        t = frmQuizTaker::existing();
        QVERIFY(t && t->isVisible());
        QCOMPARE(question(t), QString("from the first"));
        QTest::keyClick(answerBox(), Qt::Key_Escape);
        settle();
        // Enter on a focused Cancel cancels.
        QVERIFY(openSelection());
        auto *cancel = find<QPushButton>(s, "cmdCancel");
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
        settle();
        QVERIFY(!frmQuizSelection::existing());
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY(m->isVisible());
        // A title with an apostrophe starts like any other.
        QVERIFY(startQuiz(2));
        QCOMPARE(question(t), QString("O'Hara?"));
        answer(t, "scarlett");
        QCOMPARE(TestEnv::shownLast().text, QString("You've scored 1 out of a possible 1 points."));
    }

    // Every way out of the quizzer's windows brings the main window back
    // where the user left it, at its size; none changes a table.
    void everyWayOutBringsTheMainWindowBackWhereItWas()
    {
        m = startWithSemester();
        QVERIFY(m->isVisible());
        QVERIFY(!m->testAttribute(Qt::WA_Moved));
        QString wrong;
        const auto cameBack = [&](const QRect &was) { return (wrong = notBackWhereItWas(m, was)).isEmpty(); };

        // No quizzes: told, and the selection closes itself.
        QRect was = movedByTheUser(m, QRect(130, 90, 700, 520));
        QCOMPARE(was, QRect(130, 90, 700, 520));
        QVERIFY(!openSelection());
        lastBox("No quizzes.", "There are no quizzes in the database yet.\nUse the QuizBuilder to create or import some.",
                  MessageBox::Information);
        QVERIFY2(cameBack(was), qPrintable(wrong));

        // The quiz builder, left by Exit Quizzes and by its close box.
        was = movedByTheUser(m, QRect(210, 150, 760, 540));
        QVERIFY(openBuilder());
        QVERIFY(b->isVisible() && !m->isVisible());
        click(b, "SSCommand2");
        QVERIFY(!frmQuizBuilder::existing());
        QVERIFY2(cameBack(was), qPrintable(wrong));
        was = movedByTheUser(m, QRect(40, 60, 720, 500));
        QVERIFY(openBuilder());
        QVERIFY(!m->isVisible());
        b->close();
        QVERIFY2(cameBack(was), qPrintable(wrong));

        // The quiz selection, cancelled and closed.
        const int empty = addQuiz("No questions yet");
        for (bool closeBox : {false, true}) {
            was = movedByTheUser(m, QRect(300, 200, 680, 480));
            QVERIFY(openSelection());
            QVERIFY(s->isVisible() && !m->isVisible());
            if (closeBox)
                s->close();
            else
                click(s, "cmdCancel");
            QVERIFY(!frmQuizSelection::existing());
            QVERIFY2(cameBack(was), qPrintable(wrong));
        }
        // A quiz without questions: said so, and back.
        was = movedByTheUser(m, QRect(250, 70, 700, 520));
        QVERIFY(!startQuiz(0));
        QCOMPARE(TestEnv::shownLast().title, QString("No questions."));
        QVERIFY(TestEnv::shownLast().text.contains("\"No questions yet\" has no questions"));
        QVERIFY2(cameBack(was), qPrintable(wrong));

        // The quiz taker, taken to the end (a stored answer without value
        // counts as wrong, whatever is typed), left with Escape and closed.
        addQuestion(empty, "Nothing stored", QVariant());
        const QStringList before = quizTables();
        was = movedByTheUser(m, QRect(90, 110, 740, 560));
        QVERIFY(startQuiz(0));
        QVERIFY(t->isVisible() && !m->isVisible());
        answer(t, "");
        QCOMPARE(TestEnv::shownLast().text, QString("You've scored 0 out of a possible 1 points."));
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY2(cameBack(was), qPrintable(wrong));
        was = movedByTheUser(m, QRect(250, 70, 700, 520));
        QVERIFY(startQuiz(0));
        QTest::keyClick(answerBox(), Qt::Key_Escape);
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY2(cameBack(was), qPrintable(wrong));
        QVERIFY(startQuiz(0));
        t->close();
        QVERIFY(!frmQuizTaker::existing());
        QVERIFY2(cameBack(was), qPrintable(wrong));
        QCOMPARE(quizTables(), before);
    }
};

TARVELA_TEST_CLASS(QuizTakerTest)
#include "tst_quiztaker.moc"

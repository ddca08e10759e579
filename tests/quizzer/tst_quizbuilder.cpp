#include "QuizzerHelpers.h"

#include "platform/Clock.h"
#include "platform/Controls.h"
#include "platform/FileOps.h"
#include "platform/UserName.h"

#include <QDir>
#include <QMenu>

using namespace QuizzerHelpers;

// The quiz builder driven as a user does: quizzes added, clicked and
// deleted, questions typed into the grid, quizzes exported and imported.
class QuizBuilderTest : public TestCase, QuizFixture
{
    Q_OBJECT

    QString caption() const { return grid(b)->caption(); }
    // The quiz the builder holds as current: its key, the tree's selected
    // node, the grid's caption and the panel's label.
    QString current() const
    {
        return QStringList{b->currentQuizId().toString(), selectedNodeKey(b), caption(), find<QLabel>(b, "lblCurrentQuiz")->text()}.join('|');
    }
    static QString currentIs(int id, const QString &title) { return QString("%1|Q%1|%2|%2").arg(id).arg(title); }
    static QStringList items() { return rows("SELECT Quiz_ID, Question, Answer FROM QuizItems ORDER BY ID"); }

private Q_SLOTS:
    void addingQuizzes()
    {
        m = startWithSemester();
        QVERIFY(openBuilder());
        QVERIFY(b->isVisible() && !m->isVisible());
        QCOMPARE(b->windowTitle(), QString("Tarvela QuizBuilder"));
        // No quiz yet: nothing to type questions into.
        QVERIFY(treeTitles(b).isEmpty());
        QCOMPARE(grid(b)->view()->model()->rowCount(), 0);
        // A blank answer (or a cancelled box) adds nothing.
        addByButton("   ");
        addByButton("");
        QCOMPARE(count("Quizzes"), 0);
        QCOMPARE(InputBox::shown().size(), 2);
        QCOMPARE(InputBox::shown().first().prompt, QString("Enter the title for this new quiz."));
        QCOMPARE(InputBox::shown().first().title, QString("Name quiz"));
        QCOMPARE(InputBox::shown().first().defaultText, QString());
        // A title is stored as typed, with the user's name; it becomes current.
        addByButton("  Rivers of Europe ");
        QCOMPARE(rows("SELECT Title, LastUser, DateAdded FROM Quizzes"), QStringList{"  Rivers of Europe |" + UserName::text() + "|<null>"});
        QCOMPARE(treeTitles(b), QStringList({"  Rivers of Europe "}));
        QCOMPARE(current(), currentIs(TestEnv::scalar("SELECT ID FROM Quizzes").toInt(), "  Rivers of Europe "));
        // Apostrophes and a second quiz: the new one is current.
        addByButton("O'Brien's \"quotes\"");
        const int second = TestEnv::scalar("SELECT max(ID) FROM Quizzes").toInt();
        QCOMPARE(treeTitles(b), QStringList({"  Rivers of Europe ", "O'Brien's \"quotes\""}));
        QCOMPARE(current(), currentIs(second, "O'Brien's \"quotes\""));
        QVERIFY(!tree(b)->topLevelItem(1)->icon(0).isNull());
        // Too long a title is refused with a message and adds nothing.
        MessageBox::clearShown();
        addByButton(QString(101, 'x'));
        QCOMPARE(count("Quizzes"), 2);
        QCOMPARE(TestEnv::shownLast().title, QString("Name quiz"));
        QVERIFY(TestEnv::shownLast().text.contains("100"));
        QCOMPARE(current(), currentIs(second, "O'Brien's \"quotes\""));
        addByButton(QString(100, 'y'));
        QCOMPARE(count("Quizzes"), 3);
        // Back on the main window, the toolbar's Quizzer button pops the menu up.
        click(b, "SSCommand2");
        QVERIFY(m->isVisible());
        auto *menu = find<QMenu>(m, "mnuQuizzer");
        click(m, "SSCommand5");
        QVERIFY(menu && menu->isVisible());
        menu->hide();
    }

    void typedQuestionsJoinTheCurrentQuiz()
    {
        m = startWithSemester();
        const int other = addQuiz("Other");
        addQuestion(other, "Other question", "Other answer");
        QVERIFY(openBuilder());
        // The first quiz is current at once, with its questions.
        QCOMPARE(current(), currentIs(other, "Other"));
        QCOMPARE(gridRows(b), QStringList({"Other question=Other answer"}));
        addByButton("Capitals");
        const int capitals = b->currentQuizId().toInt();
        QVERIFY(capitals != other);
        QVERIFY(gridRows(b).isEmpty());
        // The first question typed as a user types a row: the question, Tab,
        // the answer, Tab; it is stored once.
        QVERIFY(activate(b));
        QTableView *v = grid(b)->view();
        QVERIFY(grid(b)->model()->isNewRow(0));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, v->visualRect(v->model()->index(0, 0)).center());
        settle();
        QTest::keyClicks(v, "C");
        QVERIFY2(QApplication::focusWidget() != v, "typing opened no cell editor");
        QTest::keyClicks(QApplication::focusWidget(), "apital of France?");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        settle();
        QTest::keyClicks(QApplication::focusWidget(), "Paris");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        settle();
        QCOMPARE(items().size(), 2);
        // The next questions go on in the next empty row.
        typeQuestion(b, "Capital of Italy?", "Rome");
        typeQuestion(b, "O'Neill's capital?", "Dublin");
        QCOMPARE(gridRows(b), QStringList({"Capital of France?=Paris", "Capital of Italy?=Rome", "O'Neill's capital?=Dublin"}));
        QStringList want = {QString("%1|Other question|Other answer").arg(other), QString("%1|Capital of France?|Paris").arg(capitals),
                            QString("%1|Capital of Italy?|Rome").arg(capitals), QString("%1|O'Neill's capital?|Dublin").arg(capitals)};
        QCOMPARE(items(), want);
        // A click on a row shows its question in the panel.
        grid(b)->view()->setCurrentIndex(grid(b)->view()->model()->index(1, 0));
        settle();
        QCOMPARE(b->findChild<QLabel *>("lblCurrentQuestion")->text(), QString("Capital of Italy?"));
        // Editing a question in place keeps its quiz.
        typeCell(grid(b)->view(), 0, 1, "PARIS");
        want[1] = QString("%1|Capital of France?|PARIS").arg(capitals);
        // A click on the other quiz shows its questions; typing there joins it.
        clickQuiz(b, 0);
        QCOMPARE(current(), currentIs(other, "Other"));
        QCOMPARE(gridRows(b), QStringList({"Other question=Other answer"}));
        typeQuestion(b, "Second other?", "Yes");
        // A question still being typed when another quiz is clicked stays with
        // the quiz it was typed for; one typed when the window closes is stored too.
        typeCell(grid(b)->view(), grid(b)->view()->model()->rowCount() - 1, 0, "Half typed");
        clickQuiz(b, 1);
        QCOMPARE(current(), currentIs(capitals, "Capitals"));
        typeCell(grid(b)->view(), grid(b)->view()->model()->rowCount() - 1, 0, "At closing");
        click(b, "SSCommand2");
        QVERIFY(m->isVisible());
        want << QString("%1|Second other?|Yes").arg(other) << QString("%1|Half typed|<null>").arg(other)
             << QString("%1|At closing|<null>").arg(capitals);
        QCOMPARE(items(), want);
    }

    void equalTitlesApostrophesAndDeleting()
    {
        m = startWithSemester();
        const int a = addQuiz("études");
        const int apostrophe = addQuiz("Let's go");
        addQuestion(a, "first", "1");
        addQuestion(apostrophe, "apostrophe", "'");
        const int upper = addQuiz("ÉTUDES");
        addQuestion(upper, "second", "2");
        QVERIFY(openBuilder());
        QCOMPARE(treeTitles(b), QStringList({"études", "Let's go", "ÉTUDES"}));
        // Either of the titles equal but for letter case makes the first of them current.
        clickQuiz(b, 2);
        QCOMPARE(current(), currentIs(a, "études"));
        QCOMPARE(gridRows(b), QStringList({"first=1"}));
        // A title with an apostrophe is selected like any other.
        clickQuiz(b, 1);
        QCOMPARE(current(), currentIs(apostrophe, "Let's go"));
        QCOMPARE(gridRows(b), QStringList({"apostrophe='"}));
        QVERIFY(MessageBox::shown().isEmpty());
        // And exported like any other.
        clickAnswering("cmdExportQuiz", MessageBox::Yes);
        QCOMPARE(TestEnv::shownLast().title, QString("Export done"));
        QVERIFY(fileBytes(quizFile()).startsWith("\"Let's go\"\r\n"));
        QVERIFY(fileBytes(quizFile()).endsWith("\r\n\"apostrophe\"\r\n\"'\"\r\n"));
        // Reactivation rebuilds the tree and keeps the current quiz.
        b->RefreshQuizTree();
        QCOMPARE(current(), currentIs(apostrophe, "Let's go"));

        // Delete asks nothing; the quiz goes, its questions stay; the first is current.
        MessageBox::clearShown();
        click(b, "SSCommand1");
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(treeTitles(b), QStringList({"études", "ÉTUDES"}));
        QCOMPARE(count("QuizItems"), 3);
        QCOMPARE(current(), currentIs(a, "études"));
        // Right after a rebuild, Delete takes the quiz shown as current.
        b->RefreshQuizTree(upper);
        click(b, "SSCommand1");
        QCOMPARE(treeTitles(b), QStringList({"études"}));
        click(b, "SSCommand1");
        QVERIFY(treeTitles(b).isEmpty());
        QCOMPARE(current(), QString("|||"));
        // With no quiz left, Delete does nothing and the grid takes no question.
        click(b, "SSCommand1");
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(grid(b)->view()->model()->rowCount(), 0);
        QCOMPARE(count("QuizItems"), 3);
    }

    void longTitlesAndQuestionsWrapInTheBuilderAndTheTaker_data() { longTextRows("title", 100, "question", 250); }

    void longTitlesAndQuestionsWrapInTheBuilderAndTheTaker()
    {
        QFETCH(QString, title);
        QFETCH(QString, question);
        m = startWithSemester();
        const int quiz = addQuiz(title);
        addQuestion(quiz, "Short?", "a");
        addQuestion(quiz, question, "b");
        QVERIFY(openBuilder());
        const int width = b->width();
        clickQuiz(b, 0);
        auto *shownQuestion = find<QLabel>(b, "lblCurrentQuestion");
        auto choose = [&](int row) {
            grid(b)->view()->setCurrentIndex(grid(b)->view()->model()->index(row, 0));
            settle();
        };
        choose(1);
        QCOMPARE(shownQuestion->text(), question);
        for (const char *name : {"lblCurrentQuiz", "lblCurrentQuestion"})
            QVERIFY2(notWhole(find<QLabel>(b, name), width).isEmpty(), qPrintable(notWhole(find<QLabel>(b, name), width)));
        // The grid's caption shows what fits, the whole title as its tooltip.
        auto *caption = find<WrappedLabel>(grid(b), "caption");
        QVERIFY2(caption->shownText().endsWith(QChar(0x2026)), qPrintable(caption->shownText()));
        QCOMPARE(toolTipOf(caption), title);
        // A short question leaves the window as it was.
        choose(0);
        QCOMPARE(shownQuestion->text(), QString("Short?"));
        QVERIFY2(notWhole(shownQuestion, width).isEmpty(), qPrintable(notWhole(shownQuestion, width)));

        // The taker: the short question first, then the long one.
        click(b, "SSCommand2");
        QVERIFY(startQuiz(0));
        const int takerWidth = t->width();
        answer(t, "a");
        QCOMPARE(QuizzerHelpers::question(t), question);
        for (const char *name : {"lblCurrentQuiz", "lblQuestion"})
            QVERIFY2(notWhole(find<QLabel>(t, name), takerWidth).isEmpty(), qPrintable(notWhole(find<QLabel>(t, name), takerWidth)));
    }

    void exportRefusals()
    {
        m = startWithSemester();
        QVERIFY(openBuilder());
        const QString success = "Quiz was exported as a:\\quiz.out!";
        // No quiz at all.
        clickAnswering("cmdExportQuiz", MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(TestEnv::shownLast().text.contains("no quiz"));
        QVERIFY(!TestEnv::shownTexts().contains(success));
        // A quiz without questions: said so, and an earlier file stays.
        addByButton("Empty quiz");
        writeBytes(quizFile(), "earlier");
        clickAnswering("cmdExportQuiz", MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(TestEnv::shownLast().text.contains("\"Empty quiz\" has no questions"));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Exclamation);
        QCOMPARE(fileBytes(quizFile()), QByteArray("earlier"));
        // A folder that cannot be written: said so, never success; the
        // earlier file is kept and no temporary file is left behind.
        typeQuestion(b, "Q", "A");
        FileOps::denyChanges(TestEnv::driveA());
        clickAnswering("cmdExportQuiz", MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(TestEnv::shownLast().text.contains("not exported"));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        QVERIFY(!TestEnv::shownTexts().contains(success));
        FileOps::clearDenied();
        QCOMPARE(fileBytes(quizFile()), QByteArray("earlier"));
        QCOMPARE(QDir(TestEnv::driveA()).entryList(QDir::Files | QDir::Hidden), QStringList({"quiz.out"}));
        // Nor when drive A: is not there at all.
        QVERIFY(QDir(TestEnv::driveA()).removeRecursively());
        clickAnswering("cmdExportQuiz", MessageBox::Yes);
        QVERIFY(TestEnv::shownLast().text.contains("not exported"));
        QVERIFY(!QFile::exists(quizFile()));
        QVERIFY(QDir().mkpath(TestEnv::driveA()));
        // A question still in its cell editor goes into the export (and
        // into the table), its missing answer written as #NULL#.
        typeCell(grid(b)->view(), grid(b)->view()->model()->rowCount() - 1, 0, "Typed last", false);
        clickAnswering("cmdExportQuiz", MessageBox::Yes);
        QCOMPARE(TestEnv::shownLast().title, QString("Export done"));
        QVERIFY(fileBytes(quizFile()).endsWith("\"Q\"\r\n\"A\"\r\n\"Typed last\"\r\n#NULL#\r\n"));
        QCOMPARE(TestEnv::scalar("SELECT Quiz_ID FROM QuizItems WHERE Question = 'Typed last'"), b->currentQuizId());
    }

    void exportedByteForByteAndImportedAsANewQuizEveryTime()
    {
        m = startWithSemester();
        Clock::set(QDateTime(QDate(2026, 3, 7), QTime(23, 59, 0)));
        addQuiz("Something else");
        const int id = addQuiz("Rivers & \"Capitals\"");
        addQuestion(id, "Capital of France?", "Paris");
        addQuestion(id, "Say \"hi\"", "\"hi\"");
        addQuestion(id, "Line one\r\nline two", "a\nb");
        addQuestion(id, QString::fromUtf8("Größe – café €"), QVariant());
        addQuestion(id, QVariant(), "orphan answer");
        addQuestion(id, "#NULL#", "x");
        QVERIFY(openBuilder());
        clickQuiz(b, 1);
        // No: nothing is written.
        clickAnswering("cmdExportQuiz", MessageBox::No);
        QCOMPARE(MessageBox::shown().size(), 1);
        lastBox("Exporting quiz", "To export a quiz, you must have a floppy diskette\nwith drive A.\n\nAre you ready to proceed?",
                  MessageBox::Question, MessageBox::YesNo);
        QVERIFY(!QFile::exists(quizFile()));
        // An earlier export is replaced.
        writeBytes(quizFile(), "an earlier quiz\r\n");
        clickAnswering("cmdExportQuiz", MessageBox::Yes);
        lastBox("Export done", "Quiz was exported as a:\\quiz.out!", MessageBox::Information);
        QCOMPARE(fileBytes(quizFile()), golden());
        QCOMPARE(QDir(TestEnv::driveA()).entryList(QDir::Files | QDir::Hidden), QStringList({"quiz.out"}));

        // Imported from a file whose name has other letter case: No reads nothing.
        QVERIFY(QFile::rename(quizFile(), TestEnv::driveA() + "/QUIZ.OUT"));
        clickAnswering("cmdImportQuiz", MessageBox::No);
        lastBox("Importing quiz", "To import a quiz, you must have a floppy diskette\nwith the quiz in drive A.\n\nAre you ready to proceed?",
                  MessageBox::Question, MessageBox::YesNo);
        QCOMPARE(count("Quizzes"), 2);
        clickAnswering("cmdImportQuiz", MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 1);
        const int imported = TestEnv::scalar("SELECT max(ID) FROM Quizzes").toInt();
        // No user name and no date are stored with it.
        QCOMPARE(rows("SELECT Title, LastUser, DateAdded FROM Quizzes WHERE ID = ?", {imported}),
                 QStringList{"Rivers & \"Capitals\"|<null>|<null>"});
        // The pairs with both sides, in file order; the new quiz is current.
        QCOMPARE(current(), currentIs(imported, "Rivers & \"Capitals\""));
        const QStringList pairs = {"Capital of France?=Paris", "Say \"hi\"=\"hi\"", "Line one line two=a b", "#NULL#=x"};
        QCOMPARE(gridRows(b), pairs);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID = ?", {imported}).toInt(), 4);
        // Twice: two quizzes with the same title and the same questions.
        clickAnswering("cmdImportQuiz", MessageBox::Yes);
        QCOMPARE(treeTitles(b), QStringList({"Something else", "Rivers & \"Capitals\"", "Rivers & \"Capitals\"", "Rivers & \"Capitals\""}));
        const int again = TestEnv::scalar("SELECT max(ID) FROM Quizzes").toInt();
        QCOMPARE(current(), currentIs(again, "Rivers & \"Capitals\""));
        QCOMPARE(gridRows(b), pairs);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID = ?", {again}).toInt(), 4);
        QCOMPARE(count("QuizItems"), 14);
    }

    // Files that hold no quiz (which ones: the quiz transfer tests), a
    // write the engine undoes part-way, odd files, and quizzes the tables
    // cannot hold.
    void importOfBadFiles()
    {
        m = startWithSemester();
        addQuestion(addQuiz("Lakes"), "Deepest?", "Baikal");
        QVERIFY(openBuilder());
        // No quiz: one message naming the file and what is wrong, nothing written.
        const QStringList before = quizTables();
        const QList<std::pair<QByteArray, QString>> noQuiz = {
            {QByteArray(), "The quiz file %1 was not found."},
            {"\"Rivers\"\r\n\"\x1b[1mCapital\"\r\n",
             "The file %1 is not a quiz transfer file: line 2 holds the control character 0x1B, so it is not text."}};
        for (const auto &[bytes, told] : noQuiz) {
            if (!bytes.isNull())
                writeBytes(quizFile(), bytes);
            clickAnswering("cmdImportQuiz", MessageBox::Yes);
            QCOMPARE(MessageBox::shown().size(), 2);
            lastBox("Importing quiz", told.arg(quizFile()) + "\nNo quiz was imported.", MessageBox::Exclamation);
            QCOMPARE(quizTables(), before);
        }
        // A write the engine undoes part-way (its whole transaction rolled
        // back) leaves neither the quiz nor any of its questions.
        writeBytes(quizFile(), "\"Rivers\"\r\n\"d\"\r\n\"q1\"\r\n\"a\"\r\n\"q2\"\r\n\"a\"\r\n\"q3\"\r\n\"a\"\r\n\"q4\"\r\n\"a\"\r\n");
        TestEnv::exec("CREATE TRIGGER refuse BEFORE INSERT ON QuizItems WHEN (SELECT count(*) FROM QuizItems WHERE Quiz_ID = "
                      "NEW.Quiz_ID) >= 2 BEGIN SELECT RAISE(ROLLBACK, 'the disk is full'); END");
        clickAnswering("cmdImportQuiz", MessageBox::Yes);
        QVERIFY2(TestEnv::shownLast().text.startsWith("No quiz was imported.\n"), qPrintable(TestEnv::shownLast().text));
        TestEnv::exec("DROP TRIGGER refuse");
        QCOMPARE(quizTables(), before);
        QCOMPARE(treeTitles(b), QStringList{"Lakes"});

        // Windows-1252, ending after a question, one pair without an answer:
        // the whole pairs come in, and nothing is said.
        writeBytes(quizFile(), "\"Fran\xE7" "ais\"\r\n\"01/01/1999\"\r\n\"caf\xE9\"\r\n\"coffee\"\r\n\"th\xE9\"\r\n\"\"\r\n\"l\x92" "eau\"\r\n");
        clickAnswering("cmdImportQuiz", MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(treeTitles(b), QStringList({"Lakes", QString::fromUtf8("Français")}));
        QCOMPARE(gridRows(b), QStringList({QString::fromUtf8("café=coffee")}));
        // A title too long for the table: no quiz at all, with a message.
        writeBytes(quizFile(), "\"" + QByteArray(101, 't') + "\"\r\n\"d\"\r\n\"q\"\r\n\"a\"\r\n");
        clickAnswering("cmdImportQuiz", MessageBox::Yes);
        QVERIFY(TestEnv::shownLast().text.contains("No quiz was imported."));
        QCOMPARE(count("Quizzes"), 2);
        QCOMPARE(count("QuizItems"), 2);
        QCOMPARE(current(), currentIs(TestEnv::scalar("SELECT max(ID) FROM Quizzes").toInt(), QString::fromUtf8("Français")));
        // A question too long: the others come in, and the user is told.
        writeBytes(quizFile(), "\"Long\"\r\n\"d\"\r\n\"ok 1\"\r\n\"a\"\r\n\"" + QByteArray(251, 'q') + "\"\r\n\"a\"\r\n\"ok 2\"\r\n\"a\"\r\n");
        clickAnswering("cmdImportQuiz", MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(TestEnv::shownLast().text.startsWith("1 of the 3 questions"));
        QCOMPARE(gridRows(b), QStringList({"ok 1=a", "ok 2=a"}));
        QCOMPARE(caption(), QString("Long"));
    }
};

TARVELA_TEST_CLASS(QuizBuilderTest)
#include "tst_quizbuilder.moc"

#include "QuizzerHelpers.h"

#include "platform/Clock.h"
#include "platform/FileOps.h"
#include "platform/UserName.h"

#include <QDir>

using namespace QuizzerHelpers;

// The quiz builder driven as a user does: quizzes added, clicked and
// deleted, questions typed into the grid, quizzes exported and imported.
class QuizBuilderTest : public TestCase
{
    Q_OBJECT

    static QString caption(frmQuizBuilder *b) { return grid(b)->caption(); }
    static QString currentQuizLabel(frmQuizBuilder *b) { return b->findChild<QLabel *>("lblCurrentQuiz")->text(); }
    static QString key(int id) { return QStringLiteral("Q%1").arg(id); }

    static void addByButton(frmQuizBuilder *b, const QString &title)
    {
        InputBox::setNextAnswers({title});
        click(b, "cmdAddQuiz");
    }

    static void exportAnswering(frmQuizBuilder *b, MessageBox::Answer answer)
    {
        MessageBox::clearShown();
        MessageBox::setNextAnswers({answer});
        click(b, "cmdExportQuiz");
    }

    static void importAnswering(frmQuizBuilder *b, MessageBox::Answer answer)
    {
        MessageBox::clearShown();
        MessageBox::setNextAnswers({answer});
        click(b, "cmdImportQuiz");
    }

private Q_SLOTS:
    void opensInPlaceOfTheMainWindow()
    {
        frmMain *m = startWithSemester();
        QVERIFY(m->isVisible());
        frmQuizBuilder *b = openBuilder(m);
        QVERIFY(b && b->isVisible());
        QVERIFY(!m->isVisible());
        QCOMPARE(b->windowTitle(), QString("Tarvela QuizBuilder"));
        const QList<QStringList> buttons = {{"cmdAddQuiz", "Add Quiz", "Add a quiz"},
                                            {"SSCommand1", "Delete Quiz", "Delete a quiz"},
                                            {"cmdExportQuiz", "Export Quiz", "Export a quiz"},
                                            {"cmdImportQuiz", "Import Quiz", "Import a quiz"},
                                            {"SSCommand2", "Exit Quizzes", "Exit QuizBuilder"}};
        for (const QStringList &bt : buttons) {
            auto *button = b->findChild<QPushButton *>(bt[0]);
            QVERIFY2(button, qPrintable(bt[0]));
            QCOMPARE(button->text(), bt[1]);
            QCOMPARE(button->toolTip(), bt[2]);
        }
        auto *panel = b->findChild<QWidget *>("SSPanel2");
        QVERIFY(panel);
        QStringList panelCaptions;
        for (QLabel *l : panel->findChildren<QLabel *>())
            panelCaptions << l->text();
        QVERIFY(panelCaptions.contains("Current Quiz:"));
        QVERIFY(panelCaptions.contains("Question:"));
        QVERIFY(b->findChild<QWidget *>("SSSplitter1"));
        QCOMPARE(grid(b)->view()->model()->headerData(0, Qt::Horizontal).toString(), QString("Question"));
        QCOMPARE(grid(b)->view()->model()->headerData(1, Qt::Horizontal).toString(), QString("Answer"));
        // No quiz yet: nothing to type questions into.
        QVERIFY(treeTitles(b).isEmpty());
        QCOMPARE(grid(b)->view()->model()->rowCount(), 0);
        // Exit Quizzes brings the main window back.
        click(b, "SSCommand2");
        QVERIFY(!frmQuizBuilder::existing());
        QVERIFY(m->isVisible());
        // So does the close box; and the toolbar's Quizzer button pops the menu up.
        b = openBuilder(m);
        QVERIFY(!m->isVisible());
        b->close();
        settle();
        QVERIFY(!frmQuizBuilder::existing());
        QVERIFY(m->isVisible());
        auto *menu = m->findChild<QMenu *>("mnuQuizzer");
        QVERIFY(menu);
        QTest::mouseClick(m->findChild<QWidget *>("SSCommand5"), Qt::LeftButton);
        settle();
        QVERIFY(menu->isVisible());
        menu->hide();
    }

    void addingQuizzes()
    {
        frmMain *m = startWithSemester();
        frmQuizBuilder *b = openBuilder(m);
        // A blank answer (or a cancelled box) adds nothing.
        addByButton(b, "   ");
        addByButton(b, "");
        QCOMPARE(SetupHelpers::count("Quizzes"), 0);
        QCOMPARE(InputBox::shown().size(), 2);
        QCOMPARE(InputBox::shown().first().prompt, QString("Enter the title for this new quiz."));
        QCOMPARE(InputBox::shown().first().title, QString("Name quiz"));
        QCOMPARE(InputBox::shown().first().defaultText, QString());
        // A title is stored as typed, with the user's name; it becomes current.
        addByButton(b, "  Rivers of Europe ");
        QCOMPARE(SetupHelpers::count("Quizzes"), 1);
        QCOMPARE(TestEnv::scalar("SELECT Title FROM Quizzes").toString(), QString("  Rivers of Europe "));
        QCOMPARE(TestEnv::scalar("SELECT LastUser FROM Quizzes").toString(), UserName::text());
        QVERIFY(TestEnv::scalar("SELECT DateAdded FROM Quizzes").isNull());
        QCOMPARE(treeTitles(b), QStringList({"  Rivers of Europe "}));
        const int first = TestEnv::scalar("SELECT ID FROM Quizzes").toInt();
        QCOMPARE(selectedNodeKey(b), key(first));
        QCOMPARE(b->currentQuizId().toInt(), first);
        QCOMPARE(caption(b), QString("  Rivers of Europe "));
        QCOMPARE(currentQuizLabel(b), QString("  Rivers of Europe "));
        // Apostrophes and a second quiz: the new one is current.
        addByButton(b, "O'Brien's \"quotes\"");
        const int second = TestEnv::scalar("SELECT max(ID) FROM Quizzes").toInt();
        QCOMPARE(treeTitles(b), QStringList({"  Rivers of Europe ", "O'Brien's \"quotes\""}));
        QCOMPARE(selectedNodeKey(b), key(second));
        QCOMPARE(caption(b), QString("O'Brien's \"quotes\""));
        QCOMPARE(tree(b)->topLevelItem(1)->data(0, Qt::UserRole).toString(), key(second));
        QCOMPARE(tree(b)->topLevelItem(1)->icon(0).isNull(), false);
        // Too long a title is refused with a message and adds nothing.
        MessageBox::clearShown();
        addByButton(b, QString(101, 'x'));
        QCOMPARE(SetupHelpers::count("Quizzes"), 2);
        QCOMPARE(TestEnv::shownLast().title, QString("Name quiz"));
        QVERIFY(TestEnv::shownLast().text.contains("100"));
        QCOMPARE(b->currentQuizId().toInt(), second);
        addByButton(b, QString(100, 'y'));
        QCOMPARE(SetupHelpers::count("Quizzes"), 3);
    }

    void typedQuestionsJoinTheCurrentQuiz()
    {
        frmMain *m = startWithSemester();
        const int other = addQuiz("Other");
        addQuestion(other, "Other question", "Other answer");
        frmQuizBuilder *b = openBuilder(m);
        // The first quiz is current at once, with its questions.
        QCOMPARE(b->currentQuizId().toInt(), other);
        QCOMPARE(gridRows(b), QStringList({"Other question=Other answer"}));
        addByButton(b, "Capitals");
        const int capitals = b->currentQuizId().toInt();
        QVERIFY(capitals != other);
        QVERIFY(gridRows(b).isEmpty());
        typeQuestion(b, "Capital of France?", "Paris");
        typeQuestion(b, "Capital of Italy?", "Rome");
        typeQuestion(b, "O'Neill's capital?", "Dublin");
        QCOMPARE(gridRows(b), QStringList({"Capital of France?=Paris", "Capital of Italy?=Rome", "O'Neill's capital?=Dublin"}));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID = ?", {capitals}).toInt(), 3);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID IS NULL").toInt(), 0);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID = ?", {other}).toInt(), 1);
        // A click on a row shows its question in the panel.
        grid(b)->view()->setCurrentIndex(grid(b)->view()->model()->index(1, 0));
        settle();
        QCOMPARE(b->findChild<QLabel *>("lblCurrentQuestion")->text(), QString("Capital of Italy?"));
        // Editing a question in place keeps its quiz.
        typeCell(b, 0, 1, "PARIS");
        QCOMPARE(TestEnv::scalar("SELECT Answer FROM QuizItems WHERE Question = ?", {"Capital of France?"}).toString(), QString("PARIS"));
        // A click on the other quiz shows its questions; typing there joins it.
        clickQuiz(b, 0);
        QCOMPARE(b->currentQuizId().toInt(), other);
        QCOMPARE(caption(b), QString("Other"));
        QCOMPARE(gridRows(b), QStringList({"Other question=Other answer"}));
        typeQuestion(b, "Second other?", "Yes");
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID = ?", {other}).toInt(), 2);
        // A question still being typed when another quiz is clicked stays with
        // the quiz it was typed for.
        const int row = grid(b)->view()->model()->rowCount() - 1;
        typeCell(b, row, 0, "Half typed");
        clickQuiz(b, 1);
        QCOMPARE(TestEnv::scalar("SELECT Quiz_ID FROM QuizItems WHERE Question = ?", {"Half typed"}).toInt(), other);
        QCOMPARE(b->currentQuizId().toInt(), capitals);
        // And one typed when the window closes is stored too.
        typeCell(b, grid(b)->view()->model()->rowCount() - 1, 0, "At closing");
        click(b, "SSCommand2");
        QCOMPARE(TestEnv::scalar("SELECT Quiz_ID FROM QuizItems WHERE Question = ?", {"At closing"}).toInt(), capitals);
        QVERIFY(m->isVisible());
    }

    void aRowTypedWithTabIsStoredOnce()
    {
        // The first question of a new quiz, typed as a user types a row: the
        // question, Tab, the answer, Tab.
        frmMain *m = startWithSemester();
        frmQuizBuilder *b = openBuilder(m);
        addByButton(b, "Empty at first");
        const int quiz = b->currentQuizId().toInt();
        QVERIFY(activate(b));
        QTableView *v = grid(b)->view();
        QVERIFY(grid(b)->model()->isNewRow(0));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, v->visualRect(v->model()->index(0, 0)).center());
        settle();
        QTest::keyClicks(v, "F");
        QVERIFY2(QApplication::focusWidget() != v, "typing opened no cell editor");
        QTest::keyClicks(QApplication::focusWidget(), "irst?");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        settle();
        QTest::keyClicks(QApplication::focusWidget(), "One");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        settle();
        QCOMPARE(dump("QuizItems"), QString("1|%1|First?|One").arg(quiz));
        // The next question goes on in the next empty row.
        typeQuestion(b, "Second?", "Two");
        QCOMPARE(gridRows(b), QStringList({"First?=One", "Second?=Two"}));
        QCOMPARE(dump("QuizItems"), QString("1|%1|First?|One\n2|%1|Second?|Two").arg(quiz));
    }

    void equalTitlesAndApostrophes()
    {
        frmMain *m = startWithSemester();
        const int a = addQuiz("Verbs");
        const int apostrophe = addQuiz("Let's go");
        const int b2 = addQuiz("VERBS");
        addQuestion(a, "first", "1");
        addQuestion(apostrophe, "apostrophe", "'");
        addQuestion(b2, "second", "2");
        frmQuizBuilder *b = openBuilder(m);
        QCOMPARE(treeTitles(b), QStringList({"Verbs", "Let's go", "VERBS"}));
        // Either of the equal titles makes the first of them current.
        clickQuiz(b, 2);
        QCOMPARE(b->currentQuizId().toInt(), a);
        QCOMPARE(selectedNodeKey(b), key(a));
        QCOMPARE(gridRows(b), QStringList({"first=1"}));
        // A title with an apostrophe is selected like any other.
        clickQuiz(b, 1);
        QCOMPARE(b->currentQuizId().toInt(), apostrophe);
        QCOMPARE(gridRows(b), QStringList({"apostrophe='"}));
        QCOMPARE(caption(b), QString("Let's go"));
        QVERIFY(MessageBox::shown().isEmpty());
        // And exported like any other.
        exportAnswering(b, MessageBox::Yes);
        QCOMPARE(TestEnv::shownLast().title, QString("Export done"));
        QVERIFY(readFile(quizFile()).startsWith("\"Let's go\"\r\n"));
        QVERIFY(readFile(quizFile()).endsWith("\r\n\"apostrophe\"\r\n\"'\"\r\n"));
        // Reactivation rebuilds the tree and keeps the current quiz.
        b->RefreshQuizTree();
        QCOMPARE(b->currentQuizId().toInt(), apostrophe);
        QCOMPARE(selectedNodeKey(b), key(apostrophe));
    }

    void deletingAQuiz()
    {
        frmMain *m = startWithSemester();
        const int first = addQuiz("First");
        const int second = addQuiz("Second");
        const int third = addQuiz("Third");
        addQuestion(second, "q", "a");
        frmQuizBuilder *b = openBuilder(m);
        clickQuiz(b, 1);
        QCOMPARE(b->currentQuizId().toInt(), second);
        MessageBox::clearShown();
        click(b, "SSCommand1");
        // Nothing is asked; the quiz goes, its questions stay; the first is current.
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(treeTitles(b), QStringList({"First", "Third"}));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Quizzes WHERE ID = ?", {second}).toInt(), 0);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID = ?", {second}).toInt(), 1);
        QCOMPARE(b->currentQuizId().toInt(), first);
        QCOMPARE(selectedNodeKey(b), key(first));
        QCOMPARE(caption(b), QString("First"));
        // Right after a rebuild, Delete takes the quiz shown as current.
        b->RefreshQuizTree(third);
        click(b, "SSCommand1");
        QCOMPARE(treeTitles(b), QStringList({"First"}));
        click(b, "SSCommand1");
        QVERIFY(treeTitles(b).isEmpty());
        QVERIFY(b->currentQuizId().isNull());
        QCOMPARE(caption(b), QString());
        QCOMPARE(currentQuizLabel(b), QString());
        // With no quiz left, Delete does nothing and the grid takes no question.
        click(b, "SSCommand1");
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(grid(b)->view()->model()->rowCount(), 0);
        QCOMPARE(SetupHelpers::count("QuizItems"), 1);
    }

    void exportByteForByte()
    {
        frmMain *m = startWithSemester();
        Clock::set(QDateTime(QDate(2026, 3, 7), QTime(23, 59, 0)));
        addQuiz("Something else");
        const int id = addQuiz("Rivers & \"Capitals\"");
        addQuestion(id, "Capital of France?", "Paris");
        addQuestion(id, "Say \"hi\"", "\"hi\"");
        addQuestion(id, "Line one\r\nline two", "a\nb");
        addQuestion(id, QString::fromUtf8("Größe – café €"), QVariant());
        addQuestion(id, QVariant(), "orphan answer");
        addQuestion(id, "#NULL#", "x");
        frmQuizBuilder *b = openBuilder(m);
        clickQuiz(b, 1);
        // No: nothing is written.
        exportAnswering(b, MessageBox::No);
        QCOMPARE(TestEnv::shownLast().title, QString("Exporting quiz"));
        QCOMPARE(TestEnv::shownLast().text, QString("To export a quiz, you must have a floppy diskette\nwith drive A.\n\nAre you ready to proceed?"));
        QCOMPARE(TestEnv::shownLast().buttons, MessageBox::YesNo);
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Question);
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(!QFile::exists(quizFile()));
        // An earlier export is replaced.
        writeFile(quizFile(), "an earlier quiz\r\n");
        exportAnswering(b, MessageBox::Yes);
        QCOMPARE(TestEnv::shownLast().text, QString("Quiz was exported as a:\\quiz.out!"));
        QCOMPARE(TestEnv::shownLast().title, QString("Export done"));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Information);
        QFile golden(QFINDTESTDATA("quizzer/data/quiz-export.out"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(readFile(quizFile()), golden.readAll());
        QCOMPARE(QDir(TestEnv::driveA()).entryList(QDir::Files | QDir::Hidden), QStringList({"quiz.out"}));
    }

    void exportRefusals()
    {
        frmMain *m = startWithSemester();
        frmQuizBuilder *b = openBuilder(m);
        // No quiz at all.
        exportAnswering(b, MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(TestEnv::shownLast().text.contains("no quiz"));
        QVERIFY(!TestEnv::shownTexts().contains("Quiz was exported as a:\\quiz.out!"));
        // A quiz without questions: said so, and an earlier file stays.
        addByButton(b, "Empty quiz");
        writeFile(quizFile(), "earlier");
        exportAnswering(b, MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(TestEnv::shownLast().text.contains("\"Empty quiz\" has no questions"));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Exclamation);
        QCOMPARE(readFile(quizFile()), QByteArray("earlier"));
        // A folder that cannot be written: said so, never success.
        typeQuestion(b, "Q", "A");
        FileOps::denyChanges(TestEnv::driveA());
        exportAnswering(b, MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(TestEnv::shownLast().text.contains("not exported"));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        QVERIFY(!TestEnv::shownTexts().contains("Quiz was exported as a:\\quiz.out!"));
        FileOps::clearDenied();
        QCOMPARE(readFile(quizFile()), QByteArray("earlier"));
        // Nor when drive A: is not there at all.
        QVERIFY(QDir(TestEnv::driveA()).removeRecursively());
        exportAnswering(b, MessageBox::Yes);
        QVERIFY(TestEnv::shownLast().text.contains("not exported"));
        QVERIFY(!QFile::exists(quizFile()));
        QVERIFY(QDir().mkpath(TestEnv::driveA()));
        // A question still in its cell editor goes into the export (and
        // into the table), its missing answer written as #NULL#.
        QTableView *v = grid(b)->view();
        const QModelIndex cell = v->model()->index(v->model()->rowCount() - 1, 0);
        v->setCurrentIndex(cell);
        v->edit(cell);
        QLineEdit *editor = v->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClicks(editor, "Typed last");
        exportAnswering(b, MessageBox::Yes);
        QCOMPARE(TestEnv::shownLast().title, QString("Export done"));
        QVERIFY(readFile(quizFile()).endsWith("\"Q\"\r\n\"A\"\r\n\"Typed last\"\r\n#NULL#\r\n"));
        QCOMPARE(TestEnv::scalar("SELECT Quiz_ID FROM QuizItems WHERE Question = 'Typed last'"), b->currentQuizId());
    }

    void importAddsANewQuizEveryTime()
    {
        frmMain *m = startWithSemester();
        const int existing = addQuiz("Already here");
        frmQuizBuilder *b = openBuilder(m);
        QFile golden(QFINDTESTDATA("quizzer/data/quiz-export.out"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        writeFile(quizFile(), golden.readAll());
        importAnswering(b, MessageBox::No);
        QCOMPARE(TestEnv::shownLast().text,
                 QString("To import a quiz, you must have a floppy diskette\nwith the quiz in drive A.\n\nAre you ready to proceed?"));
        QCOMPARE(TestEnv::shownLast().title, QString("Importing quiz"));
        QCOMPARE(SetupHelpers::count("Quizzes"), 1);
        importAnswering(b, MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(SetupHelpers::count("Quizzes"), 2);
        const int imported = TestEnv::scalar("SELECT max(ID) FROM Quizzes").toInt();
        QCOMPARE(TestEnv::scalar("SELECT Title FROM Quizzes WHERE ID = ?", {imported}).toString(), QString("Rivers & \"Capitals\""));
        // No user name and no date are stored with it.
        QVERIFY(TestEnv::scalar("SELECT LastUser FROM Quizzes WHERE ID = ?", {imported}).isNull());
        QVERIFY(TestEnv::scalar("SELECT DateAdded FROM Quizzes WHERE ID = ?", {imported}).isNull());
        // The pairs with both sides, in file order; the new quiz is current.
        QCOMPARE(b->currentQuizId().toInt(), imported);
        QCOMPARE(selectedNodeKey(b), key(imported));
        QCOMPARE(gridRows(b), QStringList({"Capital of France?=Paris", "Say \"hi\"=\"hi\"", "Line one line two=a b", "#NULL#=x"}));
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID = ?", {imported}).toInt(), 4);
        // Twice: two quizzes with the same title and the same questions.
        importAnswering(b, MessageBox::Yes);
        QCOMPARE(treeTitles(b), QStringList({"Already here", "Rivers & \"Capitals\"", "Rivers & \"Capitals\""}));
        const int again = TestEnv::scalar("SELECT max(ID) FROM Quizzes").toInt();
        QCOMPARE(b->currentQuizId().toInt(), again);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID = ?", {again}).toInt(), 4);
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM QuizItems WHERE Quiz_ID = ?", {existing}).toInt(), 0);
        // Exported again, the imported quiz gives the same file but for the pairs left out.
        Clock::set(QDateTime(QDate(2026, 3, 7), QTime(9, 0)));
        exportAnswering(b, MessageBox::Yes);
        QCOMPARE(TestEnv::shownLast().title, QString("Export done"));
        QCOMPARE(readFile(quizFile()), QByteArray("\"Rivers & \"Capitals\"\"\r\n\"03/07/2026\"\r\n\"Capital of France?\"\r\n\"Paris\"\r\n"
                                                  "\"Say \"hi\"\"\r\n\"\"hi\"\"\r\n\"Line one line two\"\r\n\"a b\"\r\n\"#NULL#\"\r\n\"x\"\r\n"));
    }

    void importFindsTheFileWhateverTheLetterCaseOfItsName()
    {
        frmMain *m = startWithSemester();
        frmQuizBuilder *b = openBuilder(m);
        writeFile(TestEnv::driveA() + "/QUIZ.OUT", "\"Upper case\"\r\n\"01/02/2026\"\r\n\"Q\"\r\n\"A\"\r\n");
        importAnswering(b, MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(treeTitles(b), QStringList({"Upper case"}));
        QCOMPARE(gridRows(b), QStringList({"Q=A"}));
        // An export writes its own name beside it.
        exportAnswering(b, MessageBox::Yes);
        QCOMPARE(TestEnv::shownLast().title, QString("Export done"));
        QVERIFY(QFile::exists(quizFile()));
    }

    void importOfBadFiles()
    {
        frmMain *m = startWithSemester();
        frmQuizBuilder *b = openBuilder(m);
        // Missing: said so, and no quiz.
        importAnswering(b, MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(TestEnv::shownLast().text.contains("quiz.out"));
        QVERIFY(TestEnv::shownLast().text.contains("not found"));
        QVERIFY(TestEnv::shownLast().text.contains("No quiz was imported."));
        QCOMPARE(SetupHelpers::count("Quizzes"), 0);
        // Empty: likewise.
        writeFile(quizFile(), "");
        importAnswering(b, MessageBox::Yes);
        QVERIFY(TestEnv::shownLast().text.contains("No quiz was imported."));
        QCOMPARE(SetupHelpers::count("Quizzes"), 0);
        // Windows-1252, ending after a question, one pair without an answer.
        writeFile(quizFile(), "\"Fran\xE7" "ais\"\r\n\"01/01/1999\"\r\n\"caf\xE9\"\r\n\"coffee\"\r\n\"th\xE9\"\r\n\"\"\r\n\"l\x92" "eau\"\r\n");
        importAnswering(b, MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(treeTitles(b), QStringList({QString::fromUtf8("Français")}));
        QCOMPARE(gridRows(b), QStringList({QString::fromUtf8("café=coffee")}));
        // A title too long for the table: no quiz at all, with a message.
        writeFile(quizFile(), "\"" + QByteArray(101, 't') + "\"\r\n\"d\"\r\n\"q\"\r\n\"a\"\r\n");
        importAnswering(b, MessageBox::Yes);
        QVERIFY(TestEnv::shownLast().text.contains("No quiz was imported."));
        QCOMPARE(SetupHelpers::count("Quizzes"), 1);
        QCOMPARE(SetupHelpers::count("QuizItems"), 1);
        // A question too long: the others come in, and the user is told.
        writeFile(quizFile(), "\"Long\"\r\n\"d\"\r\n\"ok 1\"\r\n\"a\"\r\n\"" + QByteArray(251, 'q') + "\"\r\n\"a\"\r\n\"ok 2\"\r\n\"a\"\r\n");
        importAnswering(b, MessageBox::Yes);
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(TestEnv::shownLast().text.startsWith("1 of the 3 questions"));
        QCOMPARE(gridRows(b), QStringList({"ok 1=a", "ok 2=a"}));
        QCOMPARE(caption(b), QString("Long"));
    }
};

TARVELA_TEST_CLASS(QuizBuilderTest)
#include "tst_quizbuilder.moc"

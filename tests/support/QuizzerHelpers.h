#pragma once
// Starting the program and driving the quizzer's windows as a user does.
#include "SetupHelpers.h"

#include "platform/InputBox.h"
#include "quizzer/QuizTransfer.h"
#include "quizzer/frmQuizBuilder.h"
#include "quizzer/frmQuizSelection.h"
#include "quizzer/frmQuizTaker.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"

#include <QLabel>
#include <QListWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QWindow>

namespace QuizzerHelpers {

using namespace SetupHelpers;

inline int addQuiz(const QVariant &title)
{
    TestEnv::exec(QStringLiteral("INSERT INTO Quizzes (Title) VALUES (?)"), {title});
    return TestEnv::scalar(QStringLiteral("SELECT max(ID) FROM Quizzes")).toInt();
}

inline void addQuestion(int quizId, const QVariant &question, const QVariant &answer)
{
    TestEnv::exec(QStringLiteral("INSERT INTO QuizItems (Quiz_ID, Question, Answer) VALUES (?, ?, ?)"), {quizId, question, answer});
}

// Every quiz and question, to compare before and after.
inline QStringList quizTables() { return rows("SELECT * FROM Quizzes ORDER BY 1") + rows("SELECT * FROM QuizItems ORDER BY 1"); }

inline QString quizFile() { return TestEnv::driveA() + QStringLiteral("/quiz.out"); }
inline QByteArray golden() { return fileBytes(QFINDTESTDATA("quizzer/data/quiz-export.out")); }

inline QTreeWidget *tree(frmQuizBuilder *b) { return b->findChild<QTreeWidget *>(QStringLiteral("treeQuizzes")); }
inline DataGrid *grid(frmQuizBuilder *b) { return b->findChild<DataGrid *>(QStringLiteral("gridQuestions")); }

inline QStringList treeTitles(frmQuizBuilder *b)
{
    QStringList out;
    for (int i = 0; i < tree(b)->topLevelItemCount(); ++i)
        out << tree(b)->topLevelItem(i)->text(0);
    return out;
}

inline QString selectedNodeKey(frmQuizBuilder *b)
{
    QTreeWidgetItem *node = tree(b)->currentItem();
    return node && node->isSelected() ? node->data(0, Qt::UserRole).toString() : QString();
}

// Clicks the n-th quiz of the tree.
inline void clickQuiz(frmQuizBuilder *b, int n)
{
    QTreeWidget *t = tree(b);
    QTreeWidgetItem *node = t->topLevelItem(n);
    QVERIFY2(node, "no such quiz node");
    QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, t->visualItemRect(node).center());
    settle();
}

// The questions the grid shows, "question=answer" per row.
inline QStringList gridRows(frmQuizBuilder *b)
{
    QAbstractItemModel *model = grid(b)->view()->model();
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r)
        if (!grid(b)->model()->isNewRow(r))
            out << model->index(r, 0).data().toString() + QLatin1Char('=') + model->index(r, 1).data().toString();
    return out;
}

// Types a question and its answer into the grid's empty last row and
// leaves the row, which stores it.
inline void typeQuestion(frmQuizBuilder *b, const QString &question, const QString &answer)
{
    const int row = grid(b)->view()->model()->rowCount() - 1;
    QVERIFY2(grid(b)->model()->isNewRow(row), "the grid takes no new row");
    typeCell(grid(b)->view(), row, 0, question);
    typeCell(grid(b)->view(), row, 1, answer);
    grid(b)->view()->setCurrentIndex(grid(b)->view()->model()->index(0, 0));
    settle();
}

inline QStringList listed(frmQuizSelection *s) { return items(find<QListWidget>(s, "lstQuizzes")); }

inline void chooseQuiz(frmQuizSelection *s, int n)
{
    auto *list = s->findChild<QListWidget *>(QStringLiteral("lstQuizzes"));
    QListWidgetItem *item = list->item(n);
    QVERIFY2(item, "no such quiz title");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
}

inline QString question(frmQuizTaker *t) { return t->findChild<QLabel *>(QStringLiteral("lblQuestion"))->text(); }

// Types an answer and presses Enter.
inline void answer(frmQuizTaker *t, const QString &text)
{
    auto *box = t->findChild<QLineEdit *>(QStringLiteral("txtAnswer"));
    QVERIFY(box);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
    settle();
}

// The main window and the quizzer's windows a test opens from it. A test
// class takes it as a base: QVERIFY(openBuilder()).
struct QuizFixture {
    frmMain *m = nullptr;
    frmQuizBuilder *b = nullptr;
    frmQuizSelection *s = nullptr;
    frmQuizTaker *t = nullptr;

    // The quiz builder, by the main window's Quizzer menu.
    bool openBuilder()
    {
        trigger(m, "mnuQuizzerQuizBuilder");
        b = frmQuizBuilder::existing();
        return b != nullptr;
    }
    // Take a Quiz.
    bool openSelection()
    {
        trigger(m, "mnuQuizzerTakeAQuiz");
        s = frmQuizSelection::existing();
        return s != nullptr;
    }
    // Take a Quiz, the n-th title chosen and Start clicked.
    bool startQuiz(int n)
    {
        if (!openSelection())
            return false;
        chooseQuiz(s, n);
        click(s, "cmdStart");
        t = frmQuizTaker::existing();
        return t != nullptr;
    }
    // Adds a quiz by the builder's Add Quiz, `title` typed into the box.
    void addByButton(const QString &title)
    {
        InputBox::setNextAnswers({title});
        click(b, "cmdAddQuiz");
    }
    // Clicks a builder's button (Export or Import) and answers its question.
    void clickAnswering(const char *button, MessageBox::Answer answer)
    {
        MessageBox::clearShown();
        MessageBox::setNextAnswers({answer});
        click(b, button);
    }
};

// Moves and sizes the main window the way the desktop does when the user
// drags it: the window system reports the new place, the program sets
// nothing.
inline QRect movedByTheUser(frmMain *m, const QRect &to)
{
    m->windowHandle()->setGeometry(to);
    settle();
    return m->geometry();
}

// What differs from the main window shown again at the place and size it
// had. Qt hands the desktop the place of a window only when it is the
// program's own (WA_Moved and WA_Resized); otherwise the desktop places the
// window anew each time it is shown.
inline QString notBackWhereItWas(frmMain *m, const QRect &was)
{
    settle();
    QStringList wrong;
    if (!m->isVisible())
        wrong << QStringLiteral("the main window is hidden");
    const QRect g = m->geometry();
    if (g != was)
        wrong << QStringLiteral("shown at %1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
    if (!m->testAttribute(Qt::WA_Moved))
        wrong << QStringLiteral("the desktop would place the main window anew");
    if (!m->testAttribute(Qt::WA_Resized))
        wrong << QStringLiteral("the desktop would size the main window anew");
    return wrong.join(QStringLiteral("; "));
}

} // namespace QuizzerHelpers

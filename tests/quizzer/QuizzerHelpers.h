#pragma once
// Starting the program and driving the quizzer's windows as a user does.
#include "../setup/SetupHelpers.h"

#include "platform/InputBox.h"
#include "quizzer/QuizTransfer.h"
#include "quizzer/frmQuizBuilder.h"
#include "quizzer/frmQuizSelection.h"
#include "quizzer/frmQuizTaker.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"

#include <QComboBox>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTableView>
#include <QTreeWidget>

namespace QuizzerHelpers {

using namespace SetupHelpers;

// A database with one semester (so the main window asks nothing) and the
// main window up.
inline frmMain *startWithSemester()
{
    TestEnv::createDatabase();
    MainHelpers::addSemester(QStringLiteral("Fall 2026"));
    return startProgram();
}

inline int addQuiz(const QVariant &title)
{
    TestEnv::exec(QStringLiteral("INSERT INTO Quizzes (Title) VALUES (?)"), {title});
    return TestEnv::scalar(QStringLiteral("SELECT max(ID) FROM Quizzes")).toInt();
}

inline void addQuestion(int quizId, const QVariant &question, const QVariant &answer)
{
    TestEnv::exec(QStringLiteral("INSERT INTO QuizItems (Quiz_ID, Question, Answer) VALUES (?, ?, ?)"), {quizId, question, answer});
}

// Every row of a table as one text, to compare before and after.
inline QString dump(const QString &table)
{
    auto db = TestEnv::open();
    QStringList rows;
    {
        QSqlQuery q = db->run(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
            rows << cells.join(QLatin1Char('|'));
        }
    }
    db->close();
    return rows.join(QLatin1Char('\n'));
}

// The quiz builder, opened from the main window's Quizzer menu.
inline frmQuizBuilder *openBuilder(frmMain *m)
{
    trigger(m, "mnuQuizzerQuizBuilder");
    settle();
    return frmQuizBuilder::existing();
}

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
    const QRect r = t->visualItemRect(node);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    settle();
}

// The questions the grid shows, "question=answer" per row.
inline QStringList gridRows(frmQuizBuilder *b)
{
    QAbstractItemModel *model = grid(b)->view()->model();
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r) {
        if (grid(b)->model()->isNewRow(r))
            continue;
        out << model->index(r, 0).data().toString() + QLatin1Char('=') + model->index(r, 1).data().toString();
    }
    return out;
}

// Types a cell of the grid: edit, type, Enter.
inline void typeCell(frmQuizBuilder *b, int row, int column, const QString &text)
{
    QTableView *v = grid(b)->view();
    const QModelIndex idx = v->model()->index(row, column);
    QVERIFY2(idx.isValid(), "no such cell");
    v->setCurrentIndex(idx);
    v->edit(idx);
    QLineEdit *editor = nullptr;
    for (QLineEdit *w : v->viewport()->findChildren<QLineEdit *>())
        if (w->isVisible())
            editor = w;
    QVERIFY2(editor, "no cell editor");
    editor->clear();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
}

// Types a question and its answer into the grid's empty last row and
// leaves the row, which stores it.
inline void typeQuestion(frmQuizBuilder *b, const QString &question, const QString &answer)
{
    const int row = grid(b)->view()->model()->rowCount() - 1;
    QVERIFY2(grid(b)->model()->isNewRow(row), "the grid takes no new row");
    typeCell(b, row, 0, question);
    if (QTest::currentTestFailed())
        return;
    typeCell(b, row, 1, answer);
    if (QTest::currentTestFailed())
        return;
    grid(b)->view()->setCurrentIndex(grid(b)->view()->model()->index(0, 0));
    settle();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        QTest::qFail(qPrintable(path + QStringLiteral(" cannot be read")), __FILE__, __LINE__);
        return QByteArray();
    }
    return f.readAll();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

inline QString quizFile() { return TestEnv::driveA() + QStringLiteral("/quiz.out"); }

// The main window's Take a Quiz.
inline frmQuizSelection *openSelection(frmMain *m)
{
    trigger(m, "mnuQuizzerTakeAQuiz");
    settle();
    return frmQuizSelection::existing();
}

inline QStringList listed(frmQuizSelection *s)
{
    QStringList out;
    auto *list = s->findChild<QListWidget *>(QStringLiteral("lstQuizzes"));
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Chooses the n-th title and clicks Start; returns the quiz taker.
inline frmQuizTaker *start(frmQuizSelection *s, int n)
{
    auto *list = s->findChild<QListWidget *>(QStringLiteral("lstQuizzes"));
    QListWidgetItem *item = list->item(n);
    if (!item) {
        QTest::qFail("no such quiz title", __FILE__, __LINE__);
        return nullptr;
    }
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
    click(s, "cmdStart");
    settle();
    return frmQuizTaker::existing();
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

} // namespace QuizzerHelpers

#pragma once
// Starting the main window the way a user does, for the main window's tests.
#include "TestEnv.h"

#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QTreeWidget>

namespace MainHelpers {

// Lets queued work and window activation happen: posted events, zero
// timers and deferred deletions, and what they queue in turn. It waits for
// nothing that takes time; a test that waits for a state uses QTRY_*.
inline void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Makes the window the program's active window, as a click on it would;
// the test fails when it does not become active.
inline bool activate(QWidget *w)
{
    w->activateWindow();
    const bool ok = QTest::qWaitForWindowActive(w, 2000);
    settle();
    if (!ok)
        QTest::qFail(qPrintable(w->objectName() + QStringLiteral(" did not become the active window")), __FILE__, __LINE__);
    return ok;
}

// Starts the program (its main window) with the given answers queued.
inline frmMain *start(const QList<MessageBox::Answer> &answers = {})
{
    frmMain::splashMilliseconds = 0;
    MessageBox::setNextAnswers(answers);
    frmMain *m = frmMain::instance();
    settle();
    return m;
}

template <class T> T *find(QWidget *w, const char *name)
{
    T *child = w->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        QTest::qFail(qPrintable(QStringLiteral("control %1 not found").arg(QString::fromLatin1(name))), __FILE__, __LINE__);
    return child;
}

// The tree's nodes as "text" (semesters) and "  text" (classes).
inline QStringList treeText(frmMain *m)
{
    QStringList out;
    auto *tree = m->findChild<QTreeWidget *>(QStringLiteral("SSTree2"));
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *s = tree->topLevelItem(i);
        out << s->text(0);
        for (int j = 0; j < s->childCount(); ++j)
            out << QStringLiteral("  ") + s->child(j)->text(0);
    }
    return out;
}

inline QTreeWidgetItem *node(frmMain *m, const QString &text)
{
    auto *tree = m->findChild<QTreeWidget *>(QStringLiteral("SSTree2"));
    const auto items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.first();
}

// Clicks a node of the tree as the user would.
inline void clickNode(frmMain *m, const QString &text)
{
    auto *tree = m->findChild<QTreeWidget *>(QStringLiteral("SSTree2"));
    QTreeWidgetItem *item = node(m, text);
    QVERIFY2(item, qPrintable(QStringLiteral("no node ") + text));
    tree->scrollToItem(item);
    const QRect r = tree->visualItemRect(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    settle();
}

// Adds a semester and classes straight into the file.
inline int addSemester(const QString &title, const QString &start = QStringLiteral("2026-09-01"),
                       const QString &end = QStringLiteral("2026-12-20"))
{
    TestEnv::exec(QStringLiteral("INSERT INTO Semesters (Title, StartDate, EndDate) VALUES (?, ?, ?)"), {title, start, end});
    return TestEnv::scalar(QStringLiteral("SELECT max(ID) FROM Semesters")).toInt();
}

inline int addClass(int semesterId, const QString &name, const QVariantList &thresholds = {})
{
    TestEnv::exec(QStringLiteral("INSERT INTO Classes (Semester_ID, ClassName) VALUES (?, ?)"), {semesterId, name});
    const int id = TestEnv::scalar(QStringLiteral("SELECT max(ID) FROM Classes")).toInt();
    if (thresholds.size() == 5)
        TestEnv::exec(QStringLiteral("UPDATE Classes SET Points_Grade_A = ?, Points_Grade_B = ?, Points_Grade_C = ?, "
                                     "Points_Grade_D = ?, Points_Grade_F = ? WHERE ID = ?"),
                      thresholds + QVariantList{id});
    return id;
}

inline int addAssignment(int classId, const QString &title, const QVariant &max, const QVariant &points,
                         const QString &due = QStringLiteral("2026-10-01"))
{
    TestEnv::exec(QStringLiteral("INSERT INTO Assignments (Class_ID, AssignmentTitle, MaxPointsPossible, ActualPoints, DateDue) "
                                 "VALUES (?, ?, ?, ?, ?)"),
                  {classId, title, max, points, due});
    return TestEnv::scalar(QStringLiteral("SELECT max(ID) FROM Assignments")).toInt();
}

} // namespace MainHelpers

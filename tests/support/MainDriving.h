#pragma once
// What the main window's own tests share beyond MainHelpers.h (which the
// set-up and quizzer tests include as well): fixtures, the controls and rows
// the tests look at, choosing commands. A helper that misses what it looks
// for fails the test.
#include "MainHelpers.h"

#include "platform/Settings.h"
#include "bound/DataGrid.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTableView>

namespace MainHelpers {

// The grade thresholds most tests give a class: A from 90, B 80, C 70, D 60, F 0.
inline QVariantList scale() { return {90, 80, 70, 60, 0}; }

// A class closed out with its final letter and credit hours (open, when
// not `closed`), as the GPA counts it; returns its key.
inline int closedClass(int semesterId, const QString &name, const QString &letter, const QVariant &hours, bool closed = true)
{
    TestEnv::exec("INSERT INTO Classes (Semester_ID, ClassName, FinalLetterGrade, CreditHours, ClassClosed) VALUES (?, ?, ?, ?, ?)",
                  {semesterId, name, letter, hours, closed ? 1 : 0});
    return TestEnv::scalar("SELECT max(ID) FROM Classes").toInt();
}

inline int count(const QString &sql, const QVariantList &params = {}) { return TestEnv::scalar(sql, params).toInt(); }
inline QString setting(const char *key) { return Settings::get(Settings::App, "Settings", key); }

inline QString label(QWidget *w, const char *name)
{
    auto *l = find<QLabel>(w, name);
    return l ? l->text() : QStringLiteral("(no label)");
}

// The points band: maximum, current points and letter.
inline QStringList figures(frmMain *m)
{
    return {label(m, "lblMaxPoints"), label(m, "lblCurrentPoints"), label(m, "lblLetterGrade")};
}

inline DataGrid *grid(frmMain *m) { return find<DataGrid>(m, "gridAssignments"); }
inline QTableView *view(frmMain *m) { return grid(m)->view(); }

inline void selectRow(frmMain *m, int row)
{
    view(m)->setCurrentIndex(view(m)->model()->index(row, 0));
    settle();
}

// The picture the tree gives a node (a class's colour tag takes 4 to 18); -1 without the node.
inline int image(frmMain *m, const QString &text)
{
    QTreeWidgetItem *n = node(m, text);
    return n ? n->data(0, Qt::UserRole + 1).toInt() : -1;
}

// Starts the program quietly and clicks the node.
inline frmMain *startOn(const QString &text)
{
    frmMain *m = startQuiet();
    clickNode(m, text);
    return m;
}

// The menus from the menu bar down to the item.
inline QList<QMenu *> menuPath(frmMain *m, QAction *item)
{
    QList<QMenu *> path;
    for (QAction *current = item;;) {
        QMenu *holder = nullptr;
        for (QMenu *menu : m->findChildren<QMenu *>())
            if (!menu->objectName().isEmpty() && menu->actions().contains(current)) // not the bar's overflow menu
                holder = menu;
        if (!holder)
            return path;
        path.prepend(holder);
        current = holder->menuAction();
    }
}

// Chooses a menu item with the mouse: its menu on the menu bar, the
// submenus on the way, then the item.
inline void chooseFromMenus(frmMain *m, QAction *item)
{
    auto *bar = find<QMenuBar>(m, "menuBar");
    QVERIFY(bar);
    const QList<QMenu *> path = menuPath(m, item);
    QWidget *holder = bar;
    QRect r = bar->actionGeometry(path.isEmpty() ? item : path.first()->menuAction());
    for (int i = 0; i < path.size(); ++i) {
        QVERIFY2(r.isValid() && path[i]->menuAction()->isVisible(), qPrintable(path[i]->objectName() + " cannot be seen"));
        QTest::mouseMove(holder, r.center());
        QTest::mouseClick(holder, Qt::LeftButton, Qt::NoModifier, r.center());
        QTRY_VERIFY(path[i]->isVisible());
        holder = path[i];
        r = path[i]->actionGeometry(i + 1 < path.size() ? path[i + 1]->menuAction() : item);
    }
    QVERIFY2(item->isVisible() && item->isEnabled() && r.isValid(), qPrintable(item->objectName() + " cannot be chosen"));
    QTest::mouseMove(holder, r.center());
    QTest::mouseClick(holder, Qt::LeftButton, Qt::NoModifier, r.center());
    settle();
}

// Chooses a command as a user would: a control is clicked where the mouse
// is put, a menu item is chosen from the menus.
inline void choose(frmMain *m, const QString &name)
{
    QObject *target = m->findChild<QObject *>(name);
    QVERIFY2(target, qPrintable("no control " + name));
    if (auto *w = qobject_cast<QWidget *>(target)) {
        QVERIFY2(w->isVisible(), qPrintable(name + " cannot be seen"));
        QCursor::setPos(w->mapToGlobal(w->rect().center()));
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    } else if (auto *a = qobject_cast<QAction *>(target)) {
        chooseFromMenus(m, a);
    } else {
        QFAIL(qPrintable(name + " is neither a control nor a menu item"));
    }
    settle();
}

// The text of each page of a printed PDF file (pdftotext); empty when the
// file could not be read (the test then fails on the missing pages).
inline QStringList pdfPages(const QString &pdf)
{
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!run.waitForFinished(30000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0) {
        qWarning("pdftotext could not read %s: %s", qPrintable(pdf), run.readAllStandardError().constData());
        return {};
    }
    QStringList out = QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!out.isEmpty() && out.last().trimmed().isEmpty()) // pdftotext ends every page with a form feed
        out.removeLast();
    return out;
}

} // namespace MainHelpers

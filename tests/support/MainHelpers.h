#pragma once
// Driving the program as a user does: starting it quietly, making a
// database, clicking controls and tree nodes, typing, choosing menu
// commands, checking the message boxes shown, making timers tick.
#include "FileHelpers.h"
#include "TestEnv.h"

#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/Settings.h"

#include <QAction>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <optional>

namespace MainHelpers {

// Lets queued work and window activation happen: posted events, zero
// timers and deferred deletions, and what they queue in turn. It waits for
// nothing that takes time; a test that waits for a state uses QTRY_*.
void settle();

// Makes the window the program's active window, as a click on it would;
// the test fails when it does not become active.
bool activate(QWidget *w);

// A box over the window closes and the desktop hands the activation back
// to the window, at once, before the requests the program made meanwhile
// are served.
void boxClosesOver(QWidget *w);

// The last message box shown had this title, and this text when one is
// given; with an icon, that icon and these buttons.
void lastBox(const QString &title, const QString &text = QString(), std::optional<MessageBox::Icon> icon = std::nullopt,
            MessageBox::Buttons buttons = MessageBox::OkOnly);

// Starts the program (its main window) with the given answers queued.
frmMain *start(const QList<MessageBox::Answer> &answers = {});

template <class T> T *find(QWidget *w, const char *name)
{
    T *child = w ? w->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    if (!child)
        QTest::qFail(qPrintable(QStringLiteral("control %1 not found").arg(QString::fromLatin1(name))), __FILE__, __LINE__);
    return child;
}

// The tree's nodes as "text" (semesters) and "  text" (classes).
QStringList treeText(frmMain *m);

QTreeWidgetItem *node(frmMain *m, const QString &text);

// Clicks a node of the tree as the user would.
void clickNode(frmMain *m, const QString &text);

// What keeps a label's text from being read whole in its window: the
// window wider than `width` (the width it had before the text came) or
// partly off the screen, the label outside its window or cut off below its
// last line. "" when it can be read whole.
QString notWhole(const QLabel *label, int width);

// The rows of a test of the longest texts two fields hold, `firstLength` and
// `secondLength` characters: one long word, words, and characters beyond
// the basic plane (two UTF-16 units each).
void longTextRows(const char *first, int firstLength, const char *second, int secondLength);

// The tooltip a control shows when the mouse rests on it ("" for none).
QString toolTipOf(QWidget *w);

// Rows put straight into the file.
using TestEnv::addAssignment;
using TestEnv::addClass;
using TestEnv::addSemester;

// A fresh database holding one semester ("Fall 2026", 1 September to 20
// December 2026, unless named otherwise); returns the semester's key.
int newFile(const QString &semester = QStringLiteral("Fall 2026"));

// Starts the program with the tips switched off: no tips window comes up
// first.
frmMain *startQuiet(const QList<MessageBox::Answer> &answers = {});

// The texts of a list, in its order.
QStringList items(QListWidget *list);

// Types a text key by key into a control, as a keyboard would: a character
// beyond ASCII comes as the text of a key.
void typeText(QWidget *w, const QString &text);

// Types into a cell of a grid as the user does: the cell's editor opened,
// the text typed, then Enter; without `enter` the editor stays open with
// the text.
void typeCell(QTableView *v, int row, int column, const QString &text, bool enter = true);

// Clicks a control (the test fails without it) and lets what it starts happen.
void click(QWidget *w, const char *name);

// Chooses a menu command (the test fails without it) and lets it run.
void trigger(frmMain *m, const char *action);

// A window's running timer, found by name and checked to run every
// `interval` milliseconds, then stopped: from then on only the test makes it
// tick (tick()), never the time that passes.
QTimer *heldTimer(QObject *window, const char *name, int interval);

// The timer's interval ends: what it starts runs, and what that queues.
void tick(QTimer *timer);

} // namespace MainHelpers

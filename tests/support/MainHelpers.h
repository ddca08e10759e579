#pragma once
// Starting the main window the way a user does, for the main window's tests.
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
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <optional>

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

// A box over the window closes and the desktop hands the activation back
// to the window, at once, before the requests the program made meanwhile
// are served.
inline void boxClosesOver(QWidget *w)
{
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(w);
}

// The last message box shown had this title, and this text when one is
// given; with an icon, that icon and these buttons.
inline void lastBox(const QString &title, const QString &text = QString(), std::optional<MessageBox::Icon> icon = std::nullopt,
                    MessageBox::Buttons buttons = MessageBox::OkOnly)
{
    const MessageBox::Shown last = TestEnv::shownLast();
    QCOMPARE(last.title, title);
    if (!text.isNull())
        QCOMPARE(last.text, text);
    if (icon) {
        QCOMPARE(last.icon, *icon);
        QCOMPARE(last.buttons, buttons);
    }
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
    T *child = w ? w->findChild<T *>(QString::fromLatin1(name)) : nullptr;
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

// What keeps a label's text from being read whole in its window: the
// window wider than `width` (the width it had before the text came) or
// partly off the screen, the label outside its window or cut off below its
// last line. "" when it can be read whole.
inline QString notWhole(const QLabel *label, int width)
{
    settle();
    const QWidget *window = label->window();
    QStringList wrong;
    if (window->width() > width)
        wrong << QStringLiteral("%1 widened from %2 to %3").arg(window->objectName()).arg(width).arg(window->width());
    if (!window->screen()->availableGeometry().contains(window->frameGeometry()))
        wrong << QStringLiteral("%1 is partly off the screen").arg(window->objectName());
    if (!window->rect().contains(QRect(label->mapTo(window, QPoint(0, 0)), label->size())))
        wrong << QStringLiteral("%1 lies outside its window").arg(label->objectName());
    if (label->height() < label->heightForWidth(label->width()))
        wrong << QStringLiteral("%1 is cut off").arg(label->objectName());
    return wrong.join(QStringLiteral("; "));
}

// The rows of a test of the longest texts two fields hold, `firstLength` and
// `secondLength` characters: one long word, words, and characters beyond
// the basic plane (two UTF-16 units each).
inline void longTextRows(const char *first, int firstLength, const char *second, int secondLength)
{
    QTest::addColumn<QString>(first);
    QTest::addColumn<QString>(second);
    const QString words = QStringLiteral("Antidisestablishmentarianism ").repeated(20);
    const QString emoji = QStringLiteral("\U0001F33F");
    QTest::newRow("one long word") << QString(firstLength, QLatin1Char('W')) << QString(secondLength, QLatin1Char('M'));
    QTest::newRow("words") << words.left(firstLength) << words.left(secondLength);
    QTest::newRow("emoji") << emoji.repeated(firstLength) << emoji.repeated(secondLength);
}

// The tooltip a control shows when the mouse rests on it ("" for none).
inline QString toolTipOf(QWidget *w)
{
    QToolTip::hideText();
    const QPoint at = w->rect().center();
    QHelpEvent rest(QEvent::ToolTip, at, w->mapToGlobal(at));
    QApplication::sendEvent(w, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// Rows put straight into the file.
using TestEnv::addAssignment;
using TestEnv::addClass;
using TestEnv::addSemester;

// A fresh database holding one semester ("Fall 2026", 1 September to 20
// December 2026, unless named otherwise); returns the semester's key.
inline int newFile(const QString &semester = QStringLiteral("Fall 2026"))
{
    TestEnv::createDatabase();
    return addSemester(semester);
}

// Starts the program with the tips switched off: no tips window comes up
// first.
inline frmMain *startQuiet(const QList<MessageBox::Answer> &answers = {})
{
    Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
    return start(answers);
}

// Types a text key by key into a control, as a keyboard would: a character
// beyond ASCII comes as the text of a key.
inline void typeText(QWidget *w, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.unicode() < 128) {
            QTest::keyClick(w, ch.toLatin1());
            continue;
        }
        QString key(ch);
        if (ch.isHighSurrogate() && i + 1 < text.size())
            key += text.at(++i);
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, key, Qt::NoModifier);
    }
}

// Types into a cell of a grid as the user does: the cell's editor opened,
// the text typed, then Enter; without `enter` the editor stays open with
// the text.
inline void typeCell(QTableView *v, int row, int column, const QString &text, bool enter = true)
{
    QVERIFY(v);
    const QModelIndex idx = v->model()->index(row, column);
    QVERIFY2(idx.isValid(), "no such cell");
    v->setCurrentIndex(idx);
    v->edit(idx);
    QWidget *editor = v->indexWidget(idx);
    auto *combo = qobject_cast<QComboBox *>(editor);
    QLineEdit *line = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(editor);
    for (QLineEdit *w : v->viewport()->findChildren<QLineEdit *>())
        if (!line && w->isVisible())
            line = w;
    QVERIFY2(line, "no cell editor");
    line->clear();
    QTest::keyClicks(line, text);
    if (enter)
        QTest::keyClick(line, Qt::Key_Return);
    settle();
    if (!enter)
        QVERIFY2(line->isVisible() && line->text() == text, "the cell is not being typed");
}

// Clicks a control (the test fails without it) and lets what it starts happen.
inline void click(QWidget *w, const char *name)
{
    if (auto *c = find<QWidget>(w, name))
        QTest::mouseClick(c, Qt::LeftButton);
    settle();
}

// Chooses a menu command (the test fails without it) and lets it run.
inline void trigger(frmMain *m, const char *action)
{
    if (auto *a = find<QAction>(m, action))
        a->trigger();
    settle();
}

// A window's running timer, found by name and checked to run every
// `interval` milliseconds, then stopped: from then on only the test makes it
// tick (tick()), never the time that passes.
inline QTimer *heldTimer(QObject *window, const char *name, int interval)
{
    auto *t = window ? window->findChild<QTimer *>(QString::fromLatin1(name)) : nullptr;
    if (!t || !t->isActive() || t->interval() != interval) {
        QTest::qFail(qPrintable(QStringLiteral("%1 does not run every %2 ms").arg(QString::fromLatin1(name)).arg(interval)), __FILE__,
                     __LINE__);
        return nullptr;
    }
    t->stop();
    return t;
}

// The timer's interval ends: what it starts runs, and what that queues.
inline void tick(QTimer *timer)
{
    QVERIFY(timer && QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
    settle();
}

} // namespace MainHelpers

#include "TestEnv.h"

#include "calendar/DayView.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <memory>

namespace {

// A day view in a window of its own, shown.
struct Host {
    std::unique_ptr<QWidget> window;
    DayView *view;
    Host()
    {
        window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        view = new DayView(window.get());
        view->setObjectName("SSDay1");
        layout->addWidget(view);
        window->resize(420, 520);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // Clicks the free space of a half hour, scrolled into sight first.
    void clickFree(int row)
    {
        view->scrollToRow(row);
        settle();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->freePoint(row));
        settle();
    }
    void clickEntry(int index)
    {
        const QRect r = view->entryRect(index);
        QVERIFY(r.isValid());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        settle();
    }
};

// Handles DeleteTask with fixed answers.
struct DeleteHandler : QObject {
    bool cancel = false;
    bool suppressPrompt = false;
    int calls = 0;
    int selectedDuringCall = -2;
    void connectTo(DayView *v)
    {
        QObject::connect(v, &DayView::DeleteTask, this, [this, v](bool *rtnCancel, bool *rtnPrompt) {
            ++calls;
            selectedDuringCall = v->selectedIndex();
            QVERIFY(rtnCancel && rtnPrompt);
            QCOMPARE(*rtnCancel, false);
            QCOMPARE(*rtnPrompt, true);
            if (cancel)
                *rtnCancel = true;
            if (suppressPrompt)
                *rtnPrompt = false;
        });
    }
};

} // namespace

// The day view driven with the mouse and the keyboard.
class DayViewTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void aNewEntryTypedAtThreeRaisesCloseEdit()
    {
        Host h;
        QSignalSpy closed(h.view, &DayView::CloseEdit);
        h.clickFree(30);
        QCOMPARE(h.view->currentRow(), 30);
        QCOMPARE(h.view->selectedIndex(), -1);
        QTest::keyClicks(h.view, "Study group");
        QVERIFY(h.view->isEditing());
        QCOMPARE(h.view->editor()->text(), QString("Study group"));
        QCOMPARE(closed.count(), 0);
        QTest::keyClick(h.view->editor(), Qt::Key_Return);
        QVERIFY(!h.view->isEditing());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed[0][0].toInt(), 0);
        QCOMPARE(closed[0][1].toTime(), QTime(15, 0));
        QCOMPARE(closed[0][3].toString(), QString("Study group"));
        QCOMPARE(h.view->count(), 1);
        QCOMPARE(h.view->entry(0).start, QTime(15, 0));
        QCOMPARE(h.view->entry(0).end, QTime(15, 30));
        QCOMPARE(h.view->entry(0).text, QString("Study group"));
        QVERIFY(h.view->entry(0).typed);
        QCOMPARE(h.view->selectedIndex(), 0);
    }

    void keysTheEditorHasNoUseForAreHarmless()
    {
        // A keyboard sends Shift on its own before a capital letter; the
        // editor leaves such keys to the view, which must not hand them
        // back to the editor.
        Host h;
        QSignalSpy closed(h.view, &DayView::CloseEdit);
        h.view->scrollToRow(20);
        Host::settle();
        QTest::mouseDClick(h.view->viewport(), Qt::LeftButton, Qt::NoModifier, h.view->freePoint(21));
        Host::settle();
        QVERIFY(h.view->isEditing());
        QLineEdit *editor = h.view->editor();
        QVERIFY(editor->hasFocus());
        QTest::keyPress(editor, Qt::Key_Shift);
        QTest::keyClick(editor, 'S', Qt::ShiftModifier);
        QTest::keyRelease(editor, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyClicks(editor, "tudy");
        QTest::keyPress(editor, Qt::Key_Shift);
        QTest::keyClick(editor, ' ', Qt::ShiftModifier);
        QTest::keyClick(editor, 'G', Qt::ShiftModifier);
        QTest::keyRelease(editor, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyClicks(editor, "roup");
        QTest::keyClick(editor, Qt::Key_Control);
        QTest::keyClick(editor, Qt::Key_F5);
        QTest::keyClick(editor, Qt::Key_CapsLock);
        QVERIFY(h.view->isEditing());
        QCOMPARE(editor->text(), QString("Study Group"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed[0][1].toTime(), QTime(10, 30));
        QCOMPARE(closed[0][3].toString(), QString("Study Group"));
        // Without an edit open, the view leaves them to its window.
        QTest::keyClick(h.view, Qt::Key_Shift);
        QTest::keyClick(h.view, Qt::Key_F5);
        QVERIFY(!h.view->isEditing());
        QCOMPARE(h.view->count(), 1);
    }

    void endingAnEditKeepsTheFocusInTheView()
    {
        // The focus goes back to the view, not on to the next control of
        // the window (whose focus handler may do something of its own).
        Host h;
        auto *next = new QLineEdit(h.window.get());
        next->setObjectName("next");
        h.window->layout()->addWidget(next);
        Host::settle();
        int nextFocused = 0;
        struct Watch : QObject {
            int *count;
            explicit Watch(int *c) : count(c) {}
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::FocusIn)
                    ++*count;
                return false;
            }
        } watch(&nextFocused);
        next->installEventFilter(&watch);
        h.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
        h.clickFree(30);
        QVERIFY(h.view->hasFocus());
        QTest::keyClicks(h.view, "typed");
        QVERIFY(h.view->editor()->hasFocus());
        QTest::keyClick(h.view->editor(), Qt::Key_Return);
        Host::settle();
        QCOMPARE(h.view->count(), 1);
        QVERIFY(h.view->hasFocus());
        QTest::keyClicks(h.view, "again");
        QTest::keyClick(h.view->editor(), Qt::Key_Escape);
        Host::settle();
        QVERIFY(h.view->hasFocus());
        QCOMPARE(nextFocused, 0);
        next->removeEventFilter(&watch);
    }

    void aDoubleClickOnAFreeHalfHourStartsAnEntry()
    {
        Host h;
        QSignalSpy closed(h.view, &DayView::CloseEdit);
        h.view->scrollToRow(20);
        Host::settle();
        QTest::mouseDClick(h.view->viewport(), Qt::LeftButton, Qt::NoModifier, h.view->freePoint(21));
        Host::settle();
        QVERIFY(h.view->isEditing());
        QCOMPARE(h.view->editor()->text(), QString());
        QTest::keyClicks(h.view->editor(), "Lab");
        // Leaving the editor by clicking elsewhere ends the edit too.
        QTest::mouseClick(h.view->viewport(), Qt::LeftButton, Qt::NoModifier, h.view->freePoint(24));
        Host::settle();
        QVERIFY(!h.view->isEditing());
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed[0][1].toTime(), QTime(10, 30));
        QCOMPARE(closed[0][3].toString(), QString("Lab"));
    }

    void anEmptyNewEntryIsNoEntry()
    {
        Host h;
        QSignalSpy closed(h.view, &DayView::CloseEdit);
        h.clickFree(18);
        QTest::keyClick(h.view, Qt::Key_Return);
        QVERIFY(h.view->isEditing());
        QTest::keyClick(h.view->editor(), Qt::Key_Return);
        QCOMPARE(h.view->count(), 0);
        QCOMPARE(closed.count(), 0);
    }

    void escCancelsAnEdit()
    {
        Host h;
        QSignalSpy closed(h.view, &DayView::CloseEdit);
        h.clickFree(30);
        QTest::keyClicks(h.view, "Never mind");
        QTest::keyClick(h.view->editor(), Qt::Key_Escape);
        QVERIFY(!h.view->isEditing());
        QCOMPARE(h.view->count(), 0);

        h.view->add(QTime(9, 0), QTime(10, 0), "Lecture", Qt::red);
        Host::settle();
        h.clickEntry(0);
        QCOMPARE(h.view->selectedIndex(), 0);
        QTest::keyClicks(h.view, " moved");
        QCOMPARE(h.view->editor()->text(), QString("Lecture moved"));
        QTest::keyClick(h.view->editor(), Qt::Key_Escape);
        QCOMPARE(h.view->entry(0).text, QString("Lecture"));
        QVERIFY(!h.view->entry(0).typed);
        QCOMPARE(closed.count(), 0);
    }

    void typingOnASelectedEntryEditsItsText()
    {
        Host h;
        QSignalSpy closed(h.view, &DayView::CloseEdit);
        h.view->add(QTime(0, 0), QTime(1, 0), "(To-Do) Call mom");
        h.view->add(QTime(9, 0), QTime(9, 50), "Essay", Qt::red);
        Host::settle();
        h.clickEntry(1);
        QCOMPARE(h.view->selectedIndex(), 1);
        QTest::keyClicks(h.view, " draft");
        QTest::keyClick(h.view->editor(), Qt::Key_Return);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed[0][0].toInt(), 1);
        QCOMPARE(closed[0][3].toString(), QString("Essay draft"));
        QCOMPARE(h.view->entry(1).text, QString("Essay draft"));
        QVERIFY(h.view->entry(1).typed);
        QVERIFY(!h.view->entry(0).typed);
        // A double click edits with the whole text selected.
        QTest::mouseDClick(h.view->viewport(), Qt::LeftButton, Qt::NoModifier, h.view->entryRect(1).center());
        Host::settle();
        QVERIFY(h.view->isEditing());
        QCOMPARE(h.view->editor()->selectedText(), QString("Essay draft"));
        QTest::keyClicks(h.view->editor(), "Paper");
        QTest::keyClick(h.view->editor(), Qt::Key_Enter);
        QCOMPARE(h.view->entry(1).text, QString("Paper"));
        QCOMPARE(closed.count(), 2);
    }

    void deleteAsksTheHandlerWhichMayKeepTheEntry()
    {
        Host h;
        DeleteHandler handler;
        handler.connectTo(h.view);
        h.view->add(QTime(9, 0), QTime(9, 50), "Essay", Qt::red);
        h.view->add(QTime(14, 0), QTime(14, 1), "Dentist", Qt::red);
        Host::settle();
        h.view->scrollToRow(18);
        Host::settle();
        h.clickEntry(0);
        handler.cancel = true;
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(handler.calls, 1);
        QCOMPARE(handler.selectedDuringCall, 0);
        QCOMPARE(h.view->count(), 2);
        QCOMPARE(h.view->entry(0).text, QString("Essay"));
        QVERIFY(MessageBox::shown().isEmpty());

        // Suppressed prompt: the entry goes at once.
        handler.cancel = false;
        handler.suppressPrompt = true;
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(handler.calls, 2);
        QCOMPARE(h.view->count(), 1);
        QCOMPARE(h.view->entry(0).text, QString("Dentist"));
        QCOMPARE(h.view->selectedIndex(), -1);
        QVERIFY(MessageBox::shown().isEmpty());

        // Nothing selected: nothing to delete.
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(handler.calls, 2);
    }

    void theViewsOwnPromptDecidesWhenNotSuppressed()
    {
        Host h;
        DeleteHandler handler;
        handler.connectTo(h.view);
        h.view->add(QTime(14, 0), QTime(14, 1), "Dentist", Qt::red);
        Host::settle();
        h.view->scrollToRow(26);
        Host::settle();
        h.clickEntry(0);
        MessageBox::setNextAnswers({MessageBox::No});
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown()[0].buttons, MessageBox::YesNo);
        QVERIFY(MessageBox::shown()[0].text.contains("Dentist"));
        QCOMPARE(h.view->count(), 1);
        MessageBox::setNextAnswers({MessageBox::Yes});
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(h.view->count(), 0);
    }

    void arrowKeysSelectEntries()
    {
        Host h;
        h.view->add(QTime(9, 0), QTime(10, 0), "A");
        h.view->add(QTime(9, 30), QTime(10, 0), "B");
        h.view->add(QTime(11, 0), QTime(11, 1), "C");
        Host::settle();
        h.clickFree(17);
        QCOMPARE(h.view->selectedIndex(), -1);
        QTest::keyClick(h.view, Qt::Key_Down); // 9:00: A
        QCOMPARE(h.view->currentRow(), 18);
        QCOMPARE(h.view->selectedIndex(), 0);
        QTest::keyClick(h.view, Qt::Key_Down); // 9:30: A and B, A first
        QCOMPARE(h.view->selectedIndex(), 0);
        QTest::keyClick(h.view, Qt::Key_Right);
        QCOMPARE(h.view->selectedIndex(), 1);
        QTest::keyClick(h.view, Qt::Key_Right); // the free space beside them
        QCOMPARE(h.view->selectedIndex(), -1);
        QTest::keyClick(h.view, Qt::Key_Right);
        QCOMPARE(h.view->selectedIndex(), -1);
        QTest::keyClick(h.view, Qt::Key_Left);
        QCOMPARE(h.view->selectedIndex(), 1);
        QTest::keyClick(h.view, Qt::Key_Down); // 10:00: free
        QCOMPARE(h.view->selectedIndex(), -1);
        QTest::keyClick(h.view, Qt::Key_Down);
        QCOMPARE(h.view->selectedIndex(), -1);
        QTest::keyClick(h.view, Qt::Key_Down); // 11:00: C
        QCOMPARE(h.view->selectedIndex(), 2);
        // Typing on the free half hour after it starts an entry there.
        QTest::keyClick(h.view, Qt::Key_Down);
        QSignalSpy closed(h.view, &DayView::CloseEdit);
        QTest::keyClicks(h.view, "Lunch");
        QTest::keyClick(h.view, Qt::Key_Return);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(closed[0][1].toTime(), QTime(11, 30));
        QTest::keyClick(h.view, Qt::Key_Home);
        QCOMPARE(h.view->currentRow(), 0);
        QTest::keyClick(h.view, Qt::Key_Up);
        QCOMPARE(h.view->currentRow(), 0);
        QTest::keyClick(h.view, Qt::Key_End);
        QCOMPARE(h.view->currentRow(), 47);
        // The last half hour is in sight: scrolled to the end.
        QCOMPARE(h.view->verticalScrollBar()->value(), h.view->verticalScrollBar()->maximum());
        QVERIFY(h.view->rowRect(47).bottom() <= h.view->viewport()->height());
    }

    void entriesAreDrawnOverTheirRows()
    {
        Host h;
        h.view->add(QTime(9, 0), QTime(10, 0), "A", Qt::red);
        h.view->add(QTime(9, 30), QTime(10, 0), "B");
        h.view->add(QTime(14, 15), QTime(14, 16), "C");
        Host::settle();
        const QRect a = h.view->entryRect(0), b = h.view->entryRect(1), c = h.view->entryRect(2);
        const int rh = h.view->rowHeight();
        QVERIFY(!a.intersects(b));
        QVERIFY(a.right() < b.left());
        QVERIFY(a.height() >= 2 * rh - 2);
        QVERIFY(b.top() > a.top());
        // One minute is drawn one row high, wide as the day.
        QVERIFY(c.height() >= rh - 2);
        QVERIFY(c.width() > a.width());
        QCOMPARE(h.view->rowAt(c.center()), 28);
        QCOMPARE(h.view->entryAt(c.center()), 2);
        QCOMPARE(h.view->entryAt(h.view->freePoint(28)), -1);
        QCOMPARE(h.view->entry(0).colour, QColor(Qt::red));
        QVERIFY(!h.view->entry(1).colour.isValid());
        // The view paints with its entries (no failure, the text drawn).
        QImage shot = h.window->grab().toImage();
        QVERIFY(!shot.isNull());
    }

    void aHundredEntriesInADayAreAllReachable()
    {
        Host h;
        // Spread over the day, many of them sharing half hours.
        for (int i = 0; i < 100; ++i) {
            const QTime start(6 + i % 15, (i * 13) % 60);
            h.view->add(start, start.addSecs(60 * (1 + (i * 37) % 120)), QStringLiteral("Entry %1").arg(i),
                        i % 3 ? QColor(Qt::red) : QColor());
        }
        Host::settle();
        QCOMPARE(h.view->count(), 100);
        QVERIFY(!h.window->grab().isNull());
        // Each is drawn inside the day's area, at least one row high, and
        // selected by a click on it.
        const int rh = h.view->rowHeight();
        for (int i = 0; i < 100; ++i) {
            const DayEntry &e = h.view->entry(i);
            h.view->scrollToRow(DayLayout::rowsOf(e.start, e.end).first);
            Host::settle();
            const QRect r = h.view->entryRect(i);
            QVERIFY2(r.height() >= rh - 2, qPrintable(e.text));
            QVERIFY2(r.width() >= 1 && r.right() < h.view->viewport()->width(), qPrintable(e.text));
            QCOMPARE(h.view->rowAt(r.topLeft()), DayLayout::rowsOf(e.start, e.end).first);
            QTest::mouseClick(h.view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
            QCOMPARE(h.view->selectedIndex(), i);
        }
        // The keyboard reaches every one of them: Down through the half
        // hours, Right through the entries of each.
        QSet<int> reached;
        QTest::keyClick(h.view, Qt::Key_Home);
        for (int row = 0; row < DayLayout::RowCount; ++row) {
            QCOMPARE(h.view->currentRow(), row);
            for (int step = 0; step <= 100 && h.view->selectedIndex() >= 0; ++step) {
                reached.insert(h.view->selectedIndex());
                QTest::keyClick(h.view, Qt::Key_Right);
            }
            QTest::keyClick(h.view, Qt::Key_Down);
        }
        QCOMPARE(reached.size(), 100);
        // Removing them all leaves an empty day at 8:00 AM.
        h.view->removeAll();
        Host::settle();
        QCOMPARE(h.view->count(), 0);
        QCOMPARE(h.view->topRow(), DayLayout::DefaultFirstRow);
    }

    void aHundredEntriesAtOneTimeStandSideBySide()
    {
        Host h;
        for (int i = 0; i < 100; ++i)
            h.view->add(QTime(10, 0), QTime(10, 30), QStringLiteral("Same %1").arg(i));
        Host::settle();
        QVERIFY(!h.window->grab().isNull());
        // Each keeps a column of its own within the view, and is found
        // where it is drawn.
        QVector<QRect> rects;
        for (int i = 0; i < 100; ++i) {
            const QRect r = h.view->entryRect(i);
            QVERIFY2(r.width() >= 1 && r.right() < h.view->viewport()->width(), qPrintable(QString::number(i)));
            for (const QRect &other : std::as_const(rects))
                QVERIFY(!other.intersects(r));
            rects.push_back(r);
            QCOMPARE(h.view->entryAt(r.center()), i);
        }
        // The last one, clicked and edited, gets an editor wide enough to read.
        QTest::mouseClick(h.view->viewport(), Qt::LeftButton, Qt::NoModifier, rects.last().center());
        QCOMPARE(h.view->selectedIndex(), 99);
        QTest::keyClick(h.view, Qt::Key_F2);
        QVERIFY(h.view->isEditing());
        const QRect box = h.view->editor()->geometry();
        QVERIFY(box.width() >= h.view->fontMetrics().horizontalAdvance("Same 99"));
        QVERIFY(box.left() >= 0 && box.right() < h.view->viewport()->width());
        QCOMPARE(h.view->editor()->text(), QString("Same 99"));
        QTest::keyClick(h.view->editor(), Qt::Key_Escape);
    }

    void itScrollsToTheFirstEntryOrToEight()
    {
        Host h;
        QCOMPARE(h.view->topRow(), 16);
        h.view->removeAll();
        h.view->add(QTime(14, 0), QTime(15, 0), "Late");
        h.view->add(QTime(11, 0), QTime(12, 0), "Early");
        Host::settle();
        QCOMPARE(h.view->topRow(), 22);
        h.view->scrollToRow(3);
        Host::settle();
        h.view->add(QTime(7, 0), QTime(7, 30), "Added");
        Host::settle();
        QCOMPARE(h.view->topRow(), 3); // only a new day scrolls
        h.view->removeAll();
        Host::settle();
        QCOMPARE(h.view->topRow(), 16);
        QCOMPARE(h.view->count(), 0);
        QCOMPARE(h.view->selectedIndex(), -1);
    }

    void captionCountAndIndexes()
    {
        Host h;
        h.view->setCaption("3/16/2026");
        QCOMPARE(h.view->caption(), QString("3/16/2026"));
        QCOMPARE(h.view->add(QTime(1, 0), QTime(2, 0), "x"), 0);
        QCOMPARE(h.view->add(QTime(3, 0), QTime(4, 0), "y"), 1);
        QCOMPARE(h.view->count(), 2);
        try {
            h.view->entry(2);
            QFAIL("no error for a missing entry");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), 9);
        }
        h.view->setSelectedIndex(1);
        QCOMPARE(h.view->selectedIndex(), 1);
        QCOMPARE(h.view->currentRow(), 6);
        h.view->setSelectedIndex(7);
        QCOMPARE(h.view->selectedIndex(), -1);
    }

    void textsKeepToTheLengthGiven()
    {
        Host h;
        h.view->setMaxTextLength(5);
        h.clickFree(30);
        QTest::keyClicks(h.view, "abcdefgh");
        QCOMPARE(h.view->editor()->text(), QString("abcde"));
        h.view->endEdit();
        QCOMPARE(h.view->entry(0).text, QString("abcde"));
    }
};

TARVELA_TEST_CLASS(DayViewTest)
#include "tst_dayview.moc"

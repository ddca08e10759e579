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

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A day view in a window of its own, shown, with the CloseEdit events it raised.
struct Host {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    DayView *view = new DayView(window.get());
    QSignalSpy closedSpy{view, &DayView::CloseEdit};
    Host()
    {
        auto *layout = new QVBoxLayout(window.get());
        view->setObjectName("SSDay1");
        layout->addWidget(view);
        window->resize(420, 520);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        settle();
    }
    // The CloseEdit events as "index start text".
    QStringList closed() const
    {
        QStringList out;
        for (const QList<QVariant> &e : closedSpy)
            out << QStringLiteral("%1 %2 %3").arg(e[0].toInt()).arg(e[1].toTime().toString("HH:mm"), e[3].toString());
        return out;
    }
    // Clicks the free space of a half hour, scrolled into sight first.
    void clickFree(int row, bool twice = false)
    {
        view->scrollToRow(row);
        settle();
        if (twice)
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->freePoint(row));
        else
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->freePoint(row));
        settle();
    }
    void clickEntry(int index)
    {
        view->scrollToRow(view->entry(index).start.hour() * 2);
        settle();
        const QRect r = view->entryRect(index);
        QVERIFY(r.isValid());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        settle();
        QCOMPARE(view->selectedIndex(), index);
    }
    // Where the view stands: its half hour, its selected entry, its editor.
    QString state() const
    {
        return QStringLiteral("row %1, entry %2, %3")
            .arg(view->currentRow())
            .arg(view->selectedIndex())
            .arg(view->isEditing() ? "editing \"" + view->editor()->text() + "\"" : QStringLiteral("not editing"));
    }
    // The entries' texts, "*" after those the user typed.
    QString texts() const
    {
        QStringList out;
        for (const DayEntry &e : view->entries())
            out << e.text + (e.typed ? "*" : "");
        return out.join(", ");
    }
};

// Handles DeleteTask with set answers.
struct DeleteHandler : QObject {
    bool cancel = false;
    bool suppressPrompt = false;
    int calls = 0;
    int selectedDuringCall = -2;
    explicit DeleteHandler(DayView *v)
    {
        QObject::connect(v, &DayView::DeleteTask, this, [this, v](bool *rtnCancel, bool *rtnPrompt) {
            ++calls;
            selectedDuringCall = v->selectedIndex();
            QVERIFY(rtnCancel && rtnPrompt);
            QCOMPARE(*rtnCancel, false);
            QCOMPARE(*rtnPrompt, true);
            *rtnCancel = cancel;
            *rtnPrompt = !suppressPrompt;
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
        // Enter on a free half hour opens an empty editor; ending it empty is no entry.
        h.clickFree(18);
        QTest::keyClick(h.view, Qt::Key_Return);
        QCOMPARE(h.state(), QString("row 18, entry -1, editing \"\""));
        QTest::keyClick(h.view->editor(), Qt::Key_Return);
        // Esc cancels a new entry.
        h.clickFree(30);
        QTest::keyClicks(h.view, "Never mind");
        QTest::keyClick(h.view->editor(), Qt::Key_Escape);
        QCOMPARE(h.state() + " " + h.texts(), QString("row 30, entry -1, not editing "));

        QTest::keyClicks(h.view, "Study group");
        QCOMPARE(h.state(), QString("row 30, entry -1, editing \"Study group\""));
        QVERIFY(h.closed().isEmpty());
        QTest::keyClick(h.view->editor(), Qt::Key_Return);
        QCOMPARE(h.closed(), QStringList{"0 15:00 Study group"});
        QCOMPARE(h.state() + " " + h.texts(), QString("row 30, entry 0, not editing Study group*"));
        QCOMPARE(h.view->entry(0).end, QTime(15, 30));

        // Texts keep to the length given.
        h.view->setMaxTextLength(5);
        h.clickFree(32);
        QTest::keyClicks(h.view, "abcdefgh");
        QCOMPARE(h.state(), QString("row 32, entry -1, editing \"abcde\""));
        h.view->endEdit();
        QCOMPARE(h.texts(), QString("Study group*, abcde*"));
    }

    void keysTheEditorHasNoUseForAreHarmless()
    {
        // A double click on a free half hour starts an entry there.
        Host h;
        h.clickFree(21, true);
        QCOMPARE(h.state(), QString("row 21, entry -1, editing \"\""));
        QLineEdit *editor = h.view->editor();
        QVERIFY(editor->hasFocus());
        // A keyboard sends Shift on its own before a capital letter; the
        // editor leaves such keys to the view, which must not hand them
        // back to the editor.
        for (const char *word : {"Study", " Group"}) {
            QTest::keyPress(editor, Qt::Key_Shift);
            for (const char *c = word; *c; ++c)
                QTest::keyClick(editor, *c, QChar(*c).isUpper() || *c == ' ' ? Qt::ShiftModifier : Qt::NoModifier);
            QTest::keyRelease(editor, Qt::Key_Shift, Qt::ShiftModifier);
        }
        for (Qt::Key key : {Qt::Key_Control, Qt::Key_F5, Qt::Key_CapsLock})
            QTest::keyClick(editor, key);
        QCOMPARE(h.state(), QString("row 21, entry -1, editing \"Study Group\""));
        // Leaving the editor by clicking elsewhere ends the edit.
        QTest::mouseClick(h.view->viewport(), Qt::LeftButton, Qt::NoModifier, h.view->freePoint(24));
        settle();
        QCOMPARE(h.closed(), QStringList{"0 10:30 Study Group"});
        // Without an edit open, the view leaves them to its window.
        QTest::keyClick(h.view, Qt::Key_Shift);
        QTest::keyClick(h.view, Qt::Key_F5);
        QCOMPARE(h.state() + " " + h.texts(), QString("row 24, entry -1, not editing Study Group*"));
    }

    void endingAnEditKeepsTheFocusInTheView()
    {
        // The focus goes back to the view, not on to the next control of
        // the window (whose focus handler may do something of its own).
        Host h;
        auto *next = new QLineEdit(h.window.get());
        h.window->layout()->addWidget(next);
        settle();
        struct Watch : QObject {
            int focused = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                focused += e->type() == QEvent::FocusIn;
                return false;
            }
        } watch;
        next->installEventFilter(&watch);
        h.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h.window.get()));
        h.clickFree(30);
        QVERIFY(h.view->hasFocus());
        for (Qt::Key end : {Qt::Key_Return, Qt::Key_Escape}) {
            QTest::keyClicks(h.view, "typed");
            QVERIFY(h.view->editor()->hasFocus());
            QTest::keyClick(h.view->editor(), end);
            settle();
            QVERIFY(h.view->hasFocus());
        }
        QCOMPARE(h.view->count(), 1);
        QCOMPARE(watch.focused, 0);
        next->removeEventFilter(&watch);
    }

    void typingOnASelectedEntryEditsItsText()
    {
        Host h;
        h.view->add(QTime(0, 0), QTime(1, 0), "(To-Do) Call mom");
        h.view->add(QTime(9, 0), QTime(9, 50), "Essay", Qt::red);
        settle();
        // Esc takes back what was typed.
        h.clickEntry(1);
        QTest::keyClicks(h.view, " moved");
        QCOMPARE(h.state(), QString("row 18, entry 1, editing \"Essay moved\""));
        QTest::keyClick(h.view->editor(), Qt::Key_Escape);
        QCOMPARE(h.texts(), QString("(To-Do) Call mom, Essay"));
        QTest::keyClicks(h.view, " draft");
        QTest::keyClick(h.view->editor(), Qt::Key_Return);
        QCOMPARE(h.texts(), QString("(To-Do) Call mom, Essay draft*"));
        // A double click edits with the whole text selected.
        QTest::mouseDClick(h.view->viewport(), Qt::LeftButton, Qt::NoModifier, h.view->entryRect(1).center());
        settle();
        QCOMPARE(h.view->editor()->selectedText(), QString("Essay draft"));
        QTest::keyClicks(h.view->editor(), "Paper");
        QTest::keyClick(h.view->editor(), Qt::Key_Enter);
        QCOMPARE(h.closed(), QStringList({"1 09:00 Essay draft", "1 09:00 Paper"}));
    }

    void deleteAsksTheHandlerAndThePrompt()
    {
        Host h;
        DeleteHandler handler(h.view);
        h.view->add(QTime(9, 0), QTime(9, 50), "Essay", Qt::red);
        h.view->add(QTime(13, 0), QTime(13, 1), "Lunch", Qt::red);
        h.view->add(QTime(14, 0), QTime(14, 1), "Dentist", Qt::red);
        settle();
        // Cancelled by the handler: kept, nothing asked.
        h.clickEntry(0);
        handler.cancel = true;
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(handler.calls, 1);
        QCOMPARE(handler.selectedDuringCall, 0);
        QCOMPARE(h.texts(), QString("Essay, Lunch, Dentist"));
        QVERIFY(MessageBox::shown().isEmpty());
        // Suppressed prompt: the entry goes at once.
        handler.cancel = false;
        handler.suppressPrompt = true;
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(h.texts(), QString("Lunch, Dentist"));
        QCOMPARE(h.view->selectedIndex(), -1);
        QVERIFY(MessageBox::shown().isEmpty());
        // Nothing selected: nothing to delete.
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(handler.calls, 2);
        // Otherwise the view's own prompt decides.
        handler.suppressPrompt = false;
        h.clickEntry(1);
        MessageBox::setNextAnswers({MessageBox::No, MessageBox::Yes});
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown()[0].buttons, MessageBox::YesNo);
        QVERIFY(MessageBox::shown()[0].text.contains("Dentist"));
        QCOMPARE(h.view->count(), 2);
        QTest::keyClick(h.view, Qt::Key_Delete);
        QCOMPARE(h.texts(), QString("Lunch"));
    }

    void entriesAreDrawnOverTheirRowsAndSelectedByArrows()
    {
        Host h;
        h.view->add(QTime(9, 0), QTime(10, 0), "A", Qt::red);
        h.view->add(QTime(9, 30), QTime(10, 0), "B");
        h.view->add(QTime(11, 0), QTime(11, 1), "C");
        settle();
        // Side by side where they share rows; one minute is one row high, wide as the day.
        const QRect a = h.view->entryRect(0), b = h.view->entryRect(1), c = h.view->entryRect(2);
        const int rh = h.view->rowHeight();
        QVERIFY(a.right() < b.left() && b.top() > a.top());
        QVERIFY(a.height() >= 2 * rh - 2);
        QVERIFY(c.height() >= rh - 2 && c.width() > a.width());
        QCOMPARE(h.view->rowAt(c.center()), 22);
        QCOMPARE(h.view->entryAt(c.center()), 2);
        QCOMPARE(h.view->entryAt(h.view->freePoint(22)), -1);
        QVERIFY(h.view->entry(0).colour == QColor(Qt::red) && !h.view->entry(1).colour.isValid());
        QVERIFY(!h.window->grab().isNull());

        h.clickFree(17);
        // Down to 9:00 (A), 9:30 (A and B: A first), Right to B and on to the
        // free space beside them, Left back, Down to 10:00 (free), 10:30, 11:00 (C).
        const QList<QPair<Qt::Key, int>> steps = {{Qt::Key_Down, 0},  {Qt::Key_Down, 0},  {Qt::Key_Right, 1},
                                                  {Qt::Key_Right, -1}, {Qt::Key_Right, -1}, {Qt::Key_Left, 1},
                                                  {Qt::Key_Down, -1}, {Qt::Key_Down, -1}, {Qt::Key_Down, 2}};
        for (int i = 0; i < steps.size(); ++i) {
            QTest::keyClick(h.view, steps[i].first);
            QVERIFY2(h.view->selectedIndex() == steps[i].second, qPrintable(QString("step %1: ").arg(i) + h.state()));
        }
        QCOMPARE(h.view->currentRow(), 22);
        // Typing on the free half hour after it starts an entry there.
        QTest::keyClick(h.view, Qt::Key_Down);
        QTest::keyClicks(h.view, "Lunch");
        QTest::keyClick(h.view, Qt::Key_Return);
        QCOMPARE(h.closed(), QStringList{"3 11:30 Lunch"});
        for (Qt::Key key : {Qt::Key_Home, Qt::Key_Up}) {
            QTest::keyClick(h.view, key);
            QCOMPARE(h.view->currentRow(), 0);
        }
        QTest::keyClick(h.view, Qt::Key_End);
        QCOMPARE(h.view->currentRow(), 47);
        // The last half hour is in sight: scrolled to the end.
        QCOMPARE(h.view->verticalScrollBar()->value(), h.view->verticalScrollBar()->maximum());
        QVERIFY(h.view->rowRect(47).bottom() <= h.view->viewport()->height());
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
        settle();
        QCOMPARE(h.view->count(), 100);
        QVERIFY(!h.window->grab().isNull());
        // Each is drawn inside the day's area, at least one row high, and
        // selected by a click on it.
        const int rh = h.view->rowHeight();
        for (int i = 0; i < 100; ++i) {
            const DayEntry &e = h.view->entry(i);
            const int firstRow = DayLayout::rowsOf(e.start, e.end).first;
            h.view->scrollToRow(firstRow);
            settle();
            const QRect r = h.view->entryRect(i);
            QVERIFY2(r.height() >= rh - 2, qPrintable(e.text));
            QVERIFY2(r.width() >= 1 && r.right() < h.view->viewport()->width(), qPrintable(e.text));
            QCOMPARE(h.view->rowAt(r.topLeft()), firstRow);
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
    }

    void aHundredEntriesAtOneTimeStandSideBySide()
    {
        Host h;
        for (int i = 0; i < 100; ++i)
            h.view->add(QTime(10, 0), QTime(10, 30), QStringLiteral("Same %1").arg(i));
        settle();
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

    void scrollingCaptionAndIndexes()
    {
        Host h;
        // Scrolled to the first entry of a new day, or to 8:00 AM.
        QCOMPARE(h.view->topRow(), 16);
        h.view->removeAll(); // a new day
        QCOMPARE(h.view->add(QTime(14, 0), QTime(15, 0), "Late"), 0);
        QCOMPARE(h.view->add(QTime(11, 0), QTime(12, 0), "Early"), 1);
        settle();
        QCOMPARE(h.view->topRow(), 22);
        h.view->scrollToRow(3);
        settle();
        h.view->add(QTime(7, 0), QTime(7, 30), "Added");
        settle();
        QCOMPARE(h.view->topRow(), 3); // only a new day scrolls
        QCOMPARE(h.view->count(), 3);
        QCOMPARE(TestEnv::errorNumber([&] { h.view->entry(3); }), 9);
        h.view->setSelectedIndex(1);
        QCOMPARE(h.view->selectedIndex(), 1);
        QCOMPARE(h.view->currentRow(), 22);
        h.view->setSelectedIndex(7);
        QCOMPARE(h.view->selectedIndex(), -1);
        h.view->setSelectedIndex(0);
        h.view->removeAll();
        settle();
        QCOMPARE(h.view->topRow(), DayLayout::DefaultFirstRow);
        QCOMPARE(h.view->count(), 0);
        QCOMPARE(h.view->selectedIndex(), -1);
    }
};

TARVELA_TEST_CLASS(DayViewTest)
#include "tst_dayview.moc"

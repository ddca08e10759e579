#include "EditClassHelpers.h"

using namespace SetupHelpers;
using namespace EditClassHelpers;

class ScheduleEditorTest : public TestCase, EditorFixture
{
    Q_OBJECT
private Q_SLOTS:
    void opensModalOnTheClassWithItsTimes()
    {
        QVERIFY(openScheduleOn("Music", [](const Fixture &f) {
            TestEnv::exec("UPDATE Classes SET MondayFrom = '2026-10-05 03:00:00', MondayTo = '03:00:00', "
                          "TuesdayFrom = '1899-12-30 15:30:00', SundayTo = '23:59:00' WHERE ID = ?",
                          {f.music});
            TestEnv::exec("UPDATE Classes SET MondayFrom = '08:00:00' WHERE ID = ?", {f.art});
        }));
        QCOMPARE(s->windowTitle(), QString("Edit Class Schedule"));
        QCOMPARE(s->windowModality(), Qt::ApplicationModal);
        const QStringList shown = {"3:00 AM", "3:00 AM", "3:30 PM", "", "", "", "", "", "", "", "", "", "", "11:59 PM"};
        for (int i = 0; i < 14; ++i)
            QCOMPARE(box(s, Boxes[i])->text(), shown[i]);
    }

    void doneOrTheCloseBoxStoresTheTimes_data() { buttonOrCloseBoxRows(); }
    void doneOrTheCloseBoxStoresTheTimes()
    {
        QVERIFY(openScheduleOn("Music"));
        type(s, "txtMondayFrom", "3:00 AM");
        type(s, "txtWednesdayFrom", "3:00 pm");
        type(s, "txtWednesdayTo", "15:50");
        type(s, "txtThursdayFrom", "3 PM");
        type(s, "txtSaturdayTo", "10/5/2026 9:45 AM");
        type(s, "txtSundayFrom", "8:05 pm");
        type(s, "txtFridayFrom", "   ");
        box(s, "txtFridayTo")->setText("whenever"); // typed, the box not yet left
        MessageBox::clearShown();
        closeBy(s, "cmdDone");
        // What cannot be stored is told and left out; the rest is stored.
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid time!"});
        QVERIFY(!frmEditClassSchedule::existing());
        QCOMPARE(rows("SELECT MondayFrom, WednesdayFrom, WednesdayTo, ThursdayFrom, FridayFrom, FridayTo, SaturdayTo, SundayFrom "
                      "FROM Classes WHERE ID = ?",
                      {f.music}),
                 QStringList{"03:00:00|15:00:00|15:50:00|15:00:00|<null>|<null>|09:45:00|20:05:00"});
        QVERIFY(classField(f.art, "WednesdayFrom").isNull());
        QVERIFY(activate(e));
        QCOMPARE(text(e, "Text6"), QString("Music"));
        QCOMPARE(frmEditClass::existing(), e);
    }

    void aBadTimeIsClearedWithTheMessageAndKeepsTheFocus()
    {
        QVERIFY(openScheduleOn("Art"));
        QLineEdit *wednesday = box(s, "txtWednesdayFrom");
        type(s, "txtWednesdayFrom", "9:00 AM");
        focusBox(s, "txtWednesdayFrom");
        wednesday->selectAll();
        QTest::keyClicks(wednesday, "1500");
        MessageBox::clearShown();
        QTest::keyClick(wednesday, Qt::Key_Right);
        shownOnce("Invalid time!", InvalidTime, MessageBox::Information);
        QCOMPARE(wednesday->text(), QString());
        QCOMPARE(focused(), QString("txtWednesdayFrom"));

        // Leaving by Tab is checked the same way.
        QTest::keyClicks(wednesday, "noon-ish");
        MessageBox::clearShown();
        QTest::keyClick(wednesday, Qt::Key_Tab);
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid time!"});
        QCOMPARE(wednesday->text(), QString());
        QCOMPARE(focused(), QString("txtWednesdayFrom"));

        // The cleared box stores no time.
        click(s, "cmdDone");
        QVERIFY(!frmEditClassSchedule::existing());
        QVERIFY(classField(f.art, "WednesdayFrom").isNull());
    }

    void theArrowKeysMoveThroughTheGridAndSelectTheTime()
    {
        QVERIFY(openScheduleOn("Art"));
        // Box, then where Left, Up, Right and Down lead ("" for nowhere).
        const QStringList table[14] = {
            {"txtMondayFrom", "", "", "txtTuesdayFrom", "txtMondayTo"},
            {"txtMondayTo", "", "txtMondayFrom", "txtTuesdayTo", ""},
            {"txtTuesdayFrom", "txtMondayFrom", "", "txtWednesdayFrom", "txtTuesdayTo"},
            {"txtTuesdayTo", "txtMondayTo", "txtTuesdayFrom", "txtWednesdayTo", ""},
            {"txtWednesdayFrom", "txtTuesdayFrom", "", "txtThursdayFrom", "txtWednesdayTo"},
            {"txtWednesdayTo", "txtTuesdayTo", "txtWednesdayFrom", "txtThursdayTo", ""},
            {"txtThursdayFrom", "txtWednesdayFrom", "", "txtFridayFrom", "txtThursdayTo"},
            {"txtThursdayTo", "txtWednesdayTo", "txtThursdayFrom", "txtFridayTo", ""},
            {"txtFridayFrom", "txtThursdayFrom", "", "txtSaturdayFrom", "txtFridayTo"},
            {"txtFridayTo", "txtThursdayTo", "txtFridayFrom", "txtSaturdayTo", ""},
            {"txtSaturdayFrom", "txtFridayFrom", "", "txtSundayFrom", "txtSaturdayTo"},
            {"txtSaturdayTo", "txtFridayTo", "txtSaturdayFrom", "txtSundayTo", ""},
            {"txtSundayFrom", "txtSaturdayFrom", "", "", "txtSundayTo"},
            {"txtSundayTo", "txtSaturdayTo", "txtSundayFrom", "", ""},
        };
        const Qt::Key keys[4] = {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
        const char *keyNames[4] = {"Left", "Up", "Right", "Down"};
        for (const QStringList &row : table) {
            for (int k = 0; k < 4; ++k) {
                const QByteArray from = row[0].toLatin1();
                focusBox(s, from.constData());
                QCOMPARE(focused(), row[0]);
                QTest::keyClick(box(s, from.constData()), keys[k]);
                const QString expected = row[k + 1].isEmpty() ? row[0] : row[k + 1];
                QVERIFY2(focused() == expected,
                         qPrintable(QStringLiteral("%1 in %2 went to %3, not %4").arg(keyNames[k], row[0], focused(), expected)));
            }
        }
        // Shift, Ctrl and Alt make no difference.
        focusBox(s, "txtSundayFrom");
        QTest::keyClick(box(s, "txtSundayFrom"), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(focused(), QString("txtSundayTo"));
        QTest::keyClick(box(s, "txtSundayTo"), Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(focused(), QString("txtSaturdayTo"));
        QTest::keyClick(box(s, "txtSaturdayTo"), Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(focused(), QString("txtSaturdayFrom"));
        QVERIFY(TestEnv::shownTitles().filter("Invalid time!").isEmpty());

        // The box reached selects its time: typing replaces the whole time.
        type(s, "txtTuesdayTo", "11:45 AM");
        focusBox(s, "txtTuesdayFrom");
        QTest::keyClick(box(s, "txtTuesdayFrom"), Qt::Key_Down);
        QCOMPARE(focused(), QString("txtTuesdayTo"));
        QCOMPARE(box(s, "txtTuesdayTo")->selectedText(), QString("11:45 AM"));
        QTest::keyClicks(box(s, "txtTuesdayTo"), "12:15 PM");
        QCOMPARE(box(s, "txtTuesdayTo")->text(), QString("12:15 PM"));
    }
};

TARVELA_TEST_CLASS(ScheduleEditorTest)
#include "tst_editschedule.moc"

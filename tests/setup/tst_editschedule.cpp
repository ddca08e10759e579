#include "EditClassHelpers.h"

using namespace SetupHelpers;
using namespace EditClassHelpers;

class ScheduleEditorTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void opensModalOnTheClassWithItsTimes()
    {
        const Fixture f = twoClasses();
        TestEnv::exec("UPDATE Classes SET MondayFrom = '2026-10-05 03:00:00', MondayTo = '03:00:00', "
                      "TuesdayFrom = '1899-12-30 15:30:00', SundayTo = '23:59:00' WHERE ID = ?",
                      {f.music});
        TestEnv::exec("UPDATE Classes SET MondayFrom = '08:00:00' WHERE ID = ?", {f.art});
        frmMain *m = startProgram();
        clickNode(m, "Music");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        frmEditClassSchedule *s = openSchedule(e);
        QVERIFY(s);
        QCOMPARE(s->windowTitle(), QString("Edit Class Schedule"));
        QCOMPARE(s->windowModality(), Qt::ApplicationModal);
        QCOMPARE(box(s, "txtMondayFrom")->text(), QString("3:00 AM"));
        QCOMPARE(box(s, "txtMondayTo")->text(), QString("3:00 AM"));
        QCOMPARE(box(s, "txtTuesdayFrom")->text(), QString("3:30 PM"));
        QCOMPARE(box(s, "txtSundayTo")->text(), QString("11:59 PM"));
        for (const char *name : {"txtTuesdayTo", "txtWednesdayFrom", "txtSaturdayFrom", "txtSundayFrom"})
            QCOMPARE(box(s, name)->text(), QString());
        QCOMPARE(find<QPushButton>(s, "cmdDone")->text(), QString("&Done"));
    }

    void doneStoresTheTimesAndTheEditorShowsTheSameClass()
    {
        const Fixture f = twoClasses();
        TestEnv::exec("UPDATE Classes SET MondayFrom = '2026-10-05 03:00:00', FridayFrom = '10:00:00' WHERE ID = ?", {f.music});
        frmMain *m = startProgram();
        clickNode(m, "Music");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        frmEditClassSchedule *s = openSchedule(e);
        QVERIFY(s);
        type(s, "txtWednesdayFrom", "3:00 pm");
        type(s, "txtWednesdayTo", "15:50");
        type(s, "txtThursdayFrom", "3 PM");
        type(s, "txtSaturdayTo", "10/5/2026 9:45 AM");
        type(s, "txtFridayFrom", "   ");
        MessageBox::clearShown();
        click(s, "cmdDone");
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QVERIFY(!frmEditClassSchedule::existing());
        QCOMPARE(classField(f.music, "MondayFrom").toString(), QString("03:00:00"));
        QCOMPARE(classField(f.music, "WednesdayFrom").toString(), QString("15:00:00"));
        QCOMPARE(classField(f.music, "WednesdayTo").toString(), QString("15:50:00"));
        QCOMPARE(classField(f.music, "ThursdayFrom").toString(), QString("15:00:00"));
        QCOMPARE(classField(f.music, "SaturdayTo").toString(), QString("09:45:00"));
        QVERIFY(classField(f.music, "FridayFrom").isNull());
        QVERIFY(classField(f.art, "WednesdayFrom").isNull());
        QVERIFY(activate(e));
        QCOMPARE(text(e, "Text6"), QString("Music"));
        QCOMPARE(frmEditClass::existing(), e);
    }

    void theCloseBoxStoresTheTimes()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        frmEditClassSchedule *s = openSchedule(e);
        QVERIFY(s);
        type(s, "txtSundayTo", "10:15 PM");
        type(s, "txtSundayFrom", "8:05 pm");
        QVERIFY(s->close());
        settle();
        QVERIFY(!frmEditClassSchedule::existing());
        QCOMPARE(classField(f.art, "SundayFrom").toString(), QString("20:05:00"));
        QCOMPARE(classField(f.art, "SundayTo").toString(), QString("22:15:00"));
        QVERIFY(classField(f.music, "SundayTo").isNull());
    }


    void aBadTimeIsClearedWithTheMessageAndKeepsTheFocus()
    {
        const Fixture f = twoClasses();
        TestEnv::exec("UPDATE Classes SET WednesdayFrom = '09:00:00' WHERE ID = ?", {f.art});
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        frmEditClassSchedule *s = openSchedule(e);
        QVERIFY(s);
        QCOMPARE(box(s, "txtWednesdayFrom")->text(), QString("9:00 AM"));
        focusBox(s, "txtWednesdayFrom");
        box(s, "txtWednesdayFrom")->selectAll();
        QTest::keyClicks(box(s, "txtWednesdayFrom"), "1500");
        MessageBox::clearShown();
        QTest::keyClick(box(s, "txtWednesdayFrom"), Qt::Key_Right);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().at(0).title, QString("Invalid time!"));
        QCOMPARE(MessageBox::shown().at(0).text, InvalidTime);
        QCOMPARE(MessageBox::shown().at(0).icon, MessageBox::Information);
        QCOMPARE(MessageBox::shown().at(0).buttons, MessageBox::OkOnly);
        QCOMPARE(box(s, "txtWednesdayFrom")->text(), QString());
        QCOMPARE(focused(), QString("txtWednesdayFrom"));

        // Leaving by Tab is checked the same way.
        QTest::keyClicks(box(s, "txtWednesdayFrom"), "noon-ish");
        MessageBox::clearShown();
        QTest::keyClick(box(s, "txtWednesdayFrom"), Qt::Key_Tab);
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid time!"});
        QCOMPARE(box(s, "txtWednesdayFrom")->text(), QString());
        QCOMPARE(focused(), QString("txtWednesdayFrom"));

        // The cleared box stores no time.
        click(s, "cmdDone");
        QVERIFY(!frmEditClassSchedule::existing());
        QVERIFY(classField(f.art, "WednesdayFrom").isNull());
    }

    void theCloseBoxChecksTheBoxesAsDoneDoes()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        frmEditClassSchedule *s = openSchedule(e);
        QVERIFY(s);
        box(s, "txtFridayTo")->setText("whenever"); // typed, the box not yet left
        type(s, "txtFridayFrom", "1:00 PM");
        MessageBox::clearShown();
        s->close();
        settle();
        QVERIFY(TestEnv::shownTitles().contains("Invalid time!"));
        QVERIFY(!frmEditClassSchedule::existing());
        QCOMPARE(classField(f.art, "FridayFrom").toString(), QString("13:00:00"));
        QVERIFY(classField(f.art, "FridayTo").isNull());
    }

    void theArrowKeysMoveThroughTheGrid()
    {
        twoClasses();
        frmMain *m = startProgram();
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        frmEditClassSchedule *s = openSchedule(e);
        QVERIFY(s);
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
    }

    void aBoxGettingTheFocusSelectsItsText()
    {
        const Fixture f = twoClasses();
        TestEnv::exec("UPDATE Classes SET TuesdayFrom = '10:30:00', TuesdayTo = '11:45:00' WHERE ID = ?", {f.art});
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        frmEditClassSchedule *s = openSchedule(e);
        QVERIFY(s);
        focusBox(s, "txtTuesdayFrom");
        QTest::keyClick(box(s, "txtTuesdayFrom"), Qt::Key_Down);
        QCOMPARE(focused(), QString("txtTuesdayTo"));
        QCOMPARE(box(s, "txtTuesdayTo")->selectedText(), QString("11:45 AM"));
        // Typing replaces the whole time.
        QTest::keyClicks(box(s, "txtTuesdayTo"), "12:15 PM");
        QCOMPARE(box(s, "txtTuesdayTo")->text(), QString("12:15 PM"));
    }
};

TARVELA_TEST_CLASS(ScheduleEditorTest)
#include "tst_editschedule.moc"

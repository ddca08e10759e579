#include "SetupHelpers.h"

#include "setup/frmEditClass.h"
#include "setup/frmEditClassSchedule.h"

#include <QApplication>
#include <QCheckBox>

using namespace SetupHelpers;

namespace {

const char *const Boxes[14] = {"txtMondayFrom",   "txtMondayTo",     "txtTuesdayFrom", "txtTuesdayTo", "txtWednesdayFrom",
                               "txtWednesdayTo",  "txtThursdayFrom", "txtThursdayTo",  "txtFridayFrom", "txtFridayTo",
                               "txtSaturdayFrom", "txtSaturdayTo",   "txtSundayFrom",  "txtSundayTo"};

const QString InvalidTime = QStringLiteral("Something was wrong with the way you \nentered the time for that day.  Time \ncan be "
                                           "entered in the #:## AM/PM way.\n\nFor example, 3:00 AM is a valid time.");

struct Fixture {
    int fall = 0;
    int art = 0;
    int music = 0;
};

// Two classes with every field the editor shows.
Fixture twoClasses()
{
    TestEnv::createDatabase();
    Fixture f;
    f.fall = addSemester(QStringLiteral("Fall 2026"));
    f.art = addClass(f.fall, QStringLiteral("Art"));
    f.music = addClass(f.fall, QStringLiteral("Music"));
    TestEnv::exec("UPDATE Classes SET TeacherName = 'Ms. Kahlo', TeacherPhone = '555-0101', TeacherEMail = 'kahlo@example.edu', "
                  "CreditHours = 3, ClassNotes = 'Bring brushes', AppliesToGPA = 1, Points_Grade_A = 90, Points_Grade_B = 80, "
                  "Points_Grade_C = 70, Points_Grade_D = 60, PointsPossible = 100 WHERE ID = ?",
                  {f.art});
    TestEnv::exec("UPDATE Classes SET TeacherName = 'Mr. Bach', TeacherPhone = '555-0202', TeacherEMail = 'bach@example.edu', "
                  "CreditHours = 1.5, ClassNotes = 'Choir', AppliesToGPA = 0, Points_Grade_A = 450, Points_Grade_B = 400, "
                  "Points_Grade_C = 350, Points_Grade_D = 300, PointsPossible = 500 WHERE ID = ?",
                  {f.music});
    return f;
}

// Opens the class editor by Class > Edit.
frmEditClass *openEditor(frmMain *m)
{
    trigger(m, "mnuClassEdit");
    frmEditClass *e = frmEditClass::existing();
    if (e)
        activate(e);
    return e;
}

// Opens the schedule editor by the class editor's "Edit Schedule".
frmEditClassSchedule *openSchedule(frmEditClass *e)
{
    click(e, "SSCommand1");
    frmEditClassSchedule *s = frmEditClassSchedule::existing();
    if (s)
        activate(s);
    return s;
}

QLineEdit *box(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }

// Puts the focus into a box, as a click into it would.
void focusBox(QWidget *w, const char *name)
{
    box(w, name)->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
}

QString focused()
{
    QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("<none>");
}

} // namespace

class ClassEditorTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void showsEveryFieldOfTheCurrentClass()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Music");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        QCOMPARE(e->windowTitle(), QString("Tarvela Class Editor"));
        QCOMPARE(text(e, "Text6"), QString("Music"));
        QCOMPARE(text(e, "Text7"), QString("Mr. Bach"));
        QCOMPARE(text(e, "Text8"), QString("555-0202"));
        QCOMPARE(text(e, "Text9"), QString("bach@example.edu"));
        QCOMPARE(text(e, "Text10"), QString("1.5"));
        QCOMPARE(text(e, "Text11"), QString("Choir"));
        QVERIFY(!find<QCheckBox>(e, "SSCheck1")->isChecked());
        QCOMPARE(find<QCheckBox>(e, "SSCheck1")->text(), QString("Class applies to overall GPA?"));
        QCOMPARE(text(e, "Text1"), QString("450"));
        QCOMPARE(text(e, "Text2"), QString("400"));
        QCOMPARE(text(e, "Text3"), QString("350"));
        QCOMPARE(text(e, "Text4"), QString("300"));
        QCOMPARE(text(e, "Text5"), QString("500"));
        QCOMPARE(find<QPushButton>(e, "Command1")->text(), QString("&Done"));
        QCOMPARE(find<QPushButton>(e, "SSCommand1")->text(), QString("Edit Schedule"));
        Q_UNUSED(f);
    }

    void followsTheCurrentClassAtEachActivation()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        QCOMPARE(text(e, "Text6"), QString("Art"));
        QVERIFY(find<QCheckBox>(e, "SSCheck1")->isChecked());
        type(e, "Text7", "Mrs. Kahlo");

        QVERIFY(activate(m));
        clickNode(m, "Music");
        QVERIFY(activate(e));
        QCOMPARE(text(e, "Text6"), QString("Music"));
        QCOMPARE(text(e, "Text7"), QString("Mr. Bach"));
        // What was typed for the class shown before is kept.
        QCOMPARE(classField(f.art, "TeacherName").toString(), QString("Mrs. Kahlo"));

        QVERIFY(activate(m));
        clickNode(m, "Art");
        QVERIFY(activate(e));
        QCOMPARE(text(e, "Text6"), QString("Art"));
        QCOMPARE(text(e, "Text7"), QString("Mrs. Kahlo"));
    }

    void findsAClassMadeAfterItOpened()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        const int poetry = addClass(f.fall, QStringLiteral("Poetry"));
        QVERIFY(activate(m)); // the tree now shows the new class
        clickNode(m, "Poetry");
        QVERIFY(activate(e));
        QCOMPARE(text(e, "Text6"), QString("Poetry"));
        type(e, "Text10", "2");
        click(e, "Command1");
        QCOMPARE(classField(poetry, "CreditHours").toDouble(), 2.0);
    }

    void staysWithItsClassWhenTheCurrentOneIsGone()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Music");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        const int poetry = addClass(f.fall, QStringLiteral("Poetry"));
        QVERIFY(activate(m));
        clickNode(m, "Poetry");
        TestEnv::exec("DELETE FROM Classes WHERE ID = ?", {poetry});
        QVERIFY(activate(e));
        QCOMPARE(text(e, "Text6"), QString("Music"));
    }

    void doneStoresEveryBox()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        type(e, "Text6", "Music"); // a name in use is stored as typed
        type(e, "Text7", "Mr. O'Keeffe");
        type(e, "Text8", "555-0303");
        type(e, "Text9", "okeeffe@example.edu");
        type(e, "Text10", "4.5");
        type(e, "Text11", "Sketchbook");
        QTest::mouseClick(find<QCheckBox>(e, "SSCheck1"), Qt::LeftButton);
        type(e, "Text1", "95");
        type(e, "Text2", "85");
        type(e, "Text3", "75");
        type(e, "Text4", "65");
        type(e, "Text5", "105");
        MessageBox::clearShown();
        click(e, "Command1");
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QVERIFY(!frmEditClass::existing());
        QCOMPARE(classField(f.art, "ClassName").toString(), QString("Music"));
        QCOMPARE(classField(f.art, "TeacherName").toString(), QString("Mr. O'Keeffe"));
        QCOMPARE(classField(f.art, "TeacherPhone").toString(), QString("555-0303"));
        QCOMPARE(classField(f.art, "TeacherEMail").toString(), QString("okeeffe@example.edu"));
        QCOMPARE(classField(f.art, "CreditHours").toDouble(), 4.5);
        QCOMPARE(classField(f.art, "ClassNotes").toString(), QString("Sketchbook"));
        QCOMPARE(classField(f.art, "AppliesToGPA").toInt(), 0);
        QCOMPARE(classField(f.art, "Points_Grade_A").toInt(), 95);
        QCOMPARE(classField(f.art, "Points_Grade_B").toInt(), 85);
        QCOMPARE(classField(f.art, "Points_Grade_C").toInt(), 75);
        QCOMPARE(classField(f.art, "Points_Grade_D").toInt(), 65);
        QCOMPARE(classField(f.art, "PointsPossible").toInt(), 105);
        // The other class is untouched.
        QCOMPARE(classField(f.music, "TeacherName").toString(), QString("Mr. Bach"));
        QCOMPARE(classField(f.music, "AppliesToGPA").toInt(), 0);
    }

    void theCloseBoxStoresToo()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Music");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        type(e, "Text7", "Mr. Handel");
        QTest::mouseClick(find<QCheckBox>(e, "SSCheck1"), Qt::LeftButton);
        QVERIFY(e->close());
        settle();
        QVERIFY(!frmEditClass::existing());
        QCOMPARE(classField(f.music, "TeacherName").toString(), QString("Mr. Handel"));
        QCOMPARE(classField(f.music, "AppliesToGPA").toInt(), 1);
    }

    void aNumberThatCannotBeStoredKeepsTheEditorOpen()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        type(e, "Text7", "Somebody");
        type(e, "Text10", "three");
        MessageBox::clearShown();
        click(e, "Command1");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().at(0).text.contains("three"));
        QCOMPARE(frmEditClass::existing(), e);
        QCOMPARE(classField(f.art, "CreditHours").toDouble(), 3.0);
        QCOMPARE(classField(f.art, "TeacherName").toString(), QString("Ms. Kahlo"));
        type(e, "Text10", "3.25");
        click(e, "Command1");
        QVERIFY(!frmEditClass::existing());
        QCOMPARE(classField(f.art, "CreditHours").toDouble(), 3.25);
        QCOMPARE(classField(f.art, "TeacherName").toString(), QString("Somebody"));
    }

    void classEditWithoutAClassDoesNothing()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        MessageBox::clearShown();
        trigger(m, "mnuClassEdit");
        QVERIFY(!frmEditClass::existing());
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }
};

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

TARVELA_TEST_CLASS(ClassEditorTest)
TARVELA_TEST_CLASS(ScheduleEditorTest)
#include "tst_editclass.moc"

#include "SetupHelpers.h"

#include "balloons/MsgForm.h"
#include "balloons/frmAssist.h"

#include "platform/DateText.h"
#include "setup/frmAddSemesterWizard.h"
#include "setup/frmClassWizzy.h"
#include "store/DataSource.h"
#include "store/Recordset.h"

#include <QComboBox>
#include <QLabel>
#include <QGroupBox>

using namespace SetupHelpers;

namespace {

const char *const TimeFields[14] = {"MondayFrom", "MondayTo",   "TuesdayFrom",  "TuesdayTo",  "WednesdayFrom",
                                    "WednesdayTo", "ThursdayFrom", "ThursdayTo", "FridayFrom", "FridayTo",
                                    "SaturdayFrom", "SaturdayTo", "SundayFrom",   "SundayTo"};

// Opens the wizard by the main window's toolbar button.
frmClassWizzy *openWizard(frmMain *m)
{
    auto *button = m->findChild<QToolButton *>(QStringLiteral("SSCommand2"));
    if (!button)
        return nullptr;
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
    return frmClassWizzy::existing();
}

int visibleStep(frmClassWizzy *w)
{
    int step = 0, shown = 0;
    for (int i = 1; i <= 4; ++i) {
        if (!w->findChild<QGroupBox *>(QStringLiteral("Frame%1").arg(i))->isHidden()) {
            step = i;
            ++shown;
        }
    }
    return shown == 1 ? step : -shown;
}

QComboBox *semesterList(frmClassWizzy *w) { return w->findChild<QComboBox *>(QStringLiteral("cboSemester")); }

// Chooses a semester from the drop-down list with the keyboard, as a user can.
void chooseSemester(frmClassWizzy *w, int index)
{
    QComboBox *list = semesterList(w);
    list->setFocus();
    while (list->currentIndex() < index) {
        const int before = list->currentIndex();
        QTest::keyClick(list, Qt::Key_Down);
        if (list->currentIndex() == before)
            break;
    }
    while (list->currentIndex() > index) {
        const int before = list->currentIndex();
        QTest::keyClick(list, Qt::Key_Up);
        if (list->currentIndex() == before)
            break;
    }
    settle();
}

int lastClassId() { return TestEnv::scalar(QStringLiteral("SELECT max(ID) FROM Classes")).toInt(); }

QString invalidDataText(const QString &description)
{
    return QStringLiteral("There was an error with one or more of the \nfields you entered.  Check dates and times \n"
                          "to be sure they're entered correctly (mm/dd/yy for dates and hh:mm AM/PM for times).\n\n"
                          "Exact error was : ")
        + description;
}

} // namespace

class ClassWizardTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void opensOnStepOneWithTheLastSemesterAndItsDates()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"), QStringLiteral("2026-09-01"), QStringLiteral("2026-12-20"));
        const int spring = addSemester(QStringLiteral("Spring 2027"), QStringLiteral("2027-01-10"), QStringLiteral("2027-05-15"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QString("Add Class Wizard"));
        QCOMPARE(visibleStep(w), 1);
        QVERIFY(w->findChild<QGroupBox *>("Frame1")->isVisible());
        QCOMPARE(w->findChild<QGroupBox *>("Frame1")->title(), QString("Add Class Wizard - Step 1"));
        QCOMPARE(find<QPushButton>(w, "cmdNext")->text(), QString("&Next >>"));
        QCOMPARE(find<QPushButton>(w, "Command2")->text(), QString("<< &Previous"));
        QCOMPARE(find<QPushButton>(w, "cmdCancel")->text(), QString("&Cancel"));
        QComboBox *list = semesterList(w);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QString("Fall 2026"));
        QCOMPARE(list->currentText(), QString("Spring 2027"));
        QCOMPARE(text(w, "cboStart"), DateText::shortDate(QDate(2027, 1, 10)));
        QCOMPARE(text(w, "cboEnd"), DateText::shortDate(QDate(2027, 5, 15)));
        QCOMPARE(text(w, "txtSemesterID"), QString::number(spring));
        QVERIFY(!find<QLineEdit>(w, "txtSemesterID")->isVisible());
        // The blank row the opener appended is the class being made.
        QCOMPARE(count("Classes"), 1);
        QVERIFY(classField(lastClassId(), "ClassName").isNull());
    }

    void firstActivationShowsTheHintOnce()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        MessageBox::clearShown();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        // The assistant's balloon carries the hint.
        QVERIFY(MsgForm::existing());
        QCOMPARE(MsgForm::existing()->msgText()->text(),
                 QString("This wizard is used to add classes to your semesters.  Step-by-step, provide the information you're "
                         "asked for so that your class can be added to your database."));
        QCOMPARE(Settings::get(Settings::App, "Settings", "asst_SeenClassWizzy"), QString("Y"));
        frmAssist::existing()->Unload();
        settle();
        QVERIFY(!MsgForm::existing());
        click(w, "cmdCancel");
        QVERIFY(!frmClassWizzy::existing());

        MessageBox::clearShown();
        w = openWizard(m);
        QVERIFY(w);
        QVERIFY(TestEnv::shownTexts().isEmpty());
    }

    void fourStepsMakeOneClassAndOneContact()
    {
        TestEnv::createDatabase();
        const int fall = addSemester(QStringLiteral("Fall 2026"), QStringLiteral("2026-09-01"), QStringLiteral("2026-12-20"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        type(w, "txtClassName", "Biology 101");
        type(w, "cboStart", "9/8/2026");
        click(w, "cmdNext");
        QCOMPARE(visibleStep(w), 2);
        QCOMPARE(w->findChild<QGroupBox *>("Frame2")->title(), QString("Add Class Wizard - Step 2"));
        type(w, "txtCreditHours", "3.5");
        type(w, "txtPointsPossible", "1000");
        type(w, "txtPoints_Grade_A", "900");
        type(w, "txtPoints_Grade_B", "800");
        type(w, "txtPoints_Grade_C", "700");
        type(w, "txtPoints_Grade_D", "600");
        click(w, "cmdNext");
        QCOMPARE(visibleStep(w), 3);
        // Every box its own time: 1:00 AM, 2:00 AM, ... 2:00 PM.
        for (int i = 1; i <= 14; ++i)
            type(w, qPrintable(QStringLiteral("Text%1").arg(i)), DateText::hmmAmPm(QTime(i, 0)));
        click(w, "cmdNext");
        QCOMPARE(visibleStep(w), 4);
        type(w, "txtTeacherName", "Dr. O'Neil");
        type(w, "txtTeacherPhone", "555-0100");
        type(w, "txtTeacherEMail", "oneil@example.edu");
        type(w, "Text18", "Lab on Fridays");
        MessageBox::clearShown();
        click(w, "cmdNext"); // Finish
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QVERIFY(!frmClassWizzy::existing());

        QCOMPARE(count("Classes"), 1);
        const int id = lastClassId();
        QCOMPARE(classField(id, "ClassName").toString(), QString("Biology 101"));
        QCOMPARE(classField(id, "Semester_ID").toInt(), fall);
        QCOMPARE(classField(id, "StartDate").toString(), QString("2026-09-08"));
        QCOMPARE(classField(id, "EndDate").toString(), QString("2026-12-20"));
        QCOMPARE(classField(id, "CreditHours").toDouble(), 3.5);
        QCOMPARE(classField(id, "PointsPossible").toInt(), 1000);
        QCOMPARE(classField(id, "Points_Grade_A").toInt(), 900);
        QCOMPARE(classField(id, "Points_Grade_B").toInt(), 800);
        QCOMPARE(classField(id, "Points_Grade_C").toInt(), 700);
        QCOMPARE(classField(id, "Points_Grade_D").toInt(), 600);
        for (int i = 0; i < 14; ++i)
            QCOMPARE(classField(id, TimeFields[i]).toString(), QTime(i + 1, 0).toString("HH:mm:ss"));
        QCOMPARE(classField(id, "SaturdayFrom").toString(), QString("11:00:00"));
        QCOMPARE(classField(id, "SaturdayTo").toString(), QString("12:00:00"));
        QCOMPARE(classField(id, "SundayFrom").toString(), QString("13:00:00"));
        QCOMPARE(classField(id, "SundayTo").toString(), QString("14:00:00"));
        QCOMPARE(classField(id, "TeacherName").toString(), QString("Dr. O'Neil"));
        QCOMPARE(classField(id, "TeacherPhone").toString(), QString("555-0100"));
        QCOMPARE(classField(id, "TeacherEMail").toString(), QString("oneil@example.edu"));
        QCOMPARE(classField(id, "ClassNotes").toString(), QString("Lab on Fridays"));
        QCOMPARE(classField(id, "AppliesToGPA").toInt(), 1);
        QVERIFY(classField(id, "Points_Grade_F").isNull());
        QVERIFY(classField(id, "ClassClosed").isNull());

        QCOMPARE(count("Contacts"), 1);
        QCOMPARE(TestEnv::scalar("SELECT Name FROM Contacts").toString(), QString("Dr. O'Neil"));
        QCOMPARE(TestEnv::scalar("SELECT Phone1 FROM Contacts").toString(), QString("555-0100"));
        QCOMPARE(TestEnv::scalar("SELECT EMail FROM Contacts").toString(), QString("oneil@example.edu"));
        QVERIFY(TestEnv::scalar("SELECT Address1 FROM Contacts").isNull());

        // The class is in the tree at the main window's next activation.
        QVERIFY(!treeText(m).contains("  Biology 101"));
        QVERIFY(activate(m));
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology 101"}));
    }

    void emptyTeacherBoxesGiveANamelessContact()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        type(w, "txtClassName", "Chemistry");
        for (int i = 0; i < 4; ++i)
            click(w, "cmdNext");
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(count("Contacts"), 1);
        QCOMPARE(TestEnv::scalar("SELECT Name FROM Contacts").toString(), QString("No name provided"));
        QVERIFY(TestEnv::scalar("SELECT Phone1 FROM Contacts").isNull());
        QVERIFY(TestEnv::scalar("SELECT EMail FROM Contacts").isNull());
        QCOMPARE(classField(lastClassId(), "ClassName").toString(), QString("Chemistry"));
        QCOMPARE(classField(lastClassId(), "AppliesToGPA").toInt(), 1);
    }

    void aNameInUseIsRefusedAndLeavesNoBlankRow()
    {
        TestEnv::createDatabase();
        const int fall = addSemester(QStringLiteral("Fall 2026"));
        const int existing = addClass(fall, QStringLiteral("Bob's Art"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        QCOMPARE(count("Classes"), 2);
        type(w, "txtClassName", "BOB'S ART"); // letter case aside, the same name
        type(w, "txtTeacherName", "Someone");
        MessageBox::clearShown();
        for (int i = 0; i < 4; ++i)
            click(w, "cmdNext");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().at(0).title, QString("Duplicate Class."));
        QCOMPARE(MessageBox::shown().at(0).text,
                 QString("There is already a class by that name.  There can only be on occurance of a single name as a class."));
        QCOMPARE(MessageBox::shown().at(0).icon, MessageBox::Information);
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(lastClassId(), existing);
        QCOMPARE(count("Contacts"), 0);
    }


    void aBadTimeGoesBackToStepOneWithTheEntriesKept()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        const int id = lastClassId();
        type(w, "txtClassName", "Physics");
        click(w, "cmdNext");
        type(w, "txtCreditHours", "4");
        click(w, "cmdNext");
        type(w, "Text1", "10:00 AM");
        type(w, "Text2", "half past ten");
        click(w, "cmdNext");
        type(w, "txtTeacherName", "Dr. Curie");
        MessageBox::clearShown();
        const QSize before = w->size();
        click(w, "cmdNext"); // Finish
        settle();
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().at(0).title, QString("Invalid Data"));
        QCOMPARE(MessageBox::shown().at(0).icon, MessageBox::Information);
        QVERIFY(MessageBox::shown().at(0).text.startsWith(invalidDataText(QString())));
        QVERIFY2(MessageBox::shown().at(0).text.contains("half past ten"), qPrintable(MessageBox::shown().at(0).text));
        QCOMPARE(frmClassWizzy::existing(), w);
        QCOMPARE(visibleStep(w), 1);
        // Back on step one, the window keeps its size.
        QCOMPARE(w->size(), before);
        QCOMPARE(text(w, "txtClassName"), QString("Physics"));
        QCOMPARE(text(w, "txtCreditHours"), QString("4"));
        QCOMPARE(text(w, "Text2"), QString("half past ten"));
        QCOMPARE(text(w, "txtTeacherName"), QString("Dr. Curie"));
        // The contact added before the failing save stays; the class row is untouched.
        QCOMPARE(count("Contacts"), 1);
        QVERIFY(classField(id, "ClassName").isNull());
        QVERIFY(classField(id, "AppliesToGPA").isNull());

        // Mended, the next Finish stores the class (and adds the teacher again).
        click(w, "cmdNext");
        click(w, "cmdNext");
        type(w, "Text2", "11:15 am");
        click(w, "cmdNext");
        MessageBox::clearShown();
        click(w, "cmdNext");
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(classField(id, "ClassName").toString(), QString("Physics"));
        QCOMPARE(classField(id, "MondayFrom").toString(), QString("10:00:00"));
        QCOMPARE(classField(id, "MondayTo").toString(), QString("11:15:00"));
        QCOMPARE(classField(id, "AppliesToGPA").toInt(), 1);
        QCOMPARE(count("Contacts"), 2);
    }

    void timesAreTakenInTheFormsUsersType()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        const int id = lastClassId();
        type(w, "txtClassName", "Music");
        type(w, "Text1", "3:00 PM");
        type(w, "Text2", "3:00 pm");
        type(w, "Text3", "15:00");
        type(w, "Text4", "3 PM");
        type(w, "Text5", "10/5/2026 4:30 PM");
        type(w, "Text6", "   ");
        MessageBox::clearShown();
        for (int i = 0; i < 4; ++i)
            click(w, "cmdNext");
        QVERIFY(TestEnv::shownTexts().isEmpty());
        for (const char *field : {"MondayFrom", "MondayTo", "TuesdayFrom", "TuesdayTo"})
            QCOMPARE(classField(id, field).toString(), QString("15:00:00"));
        QCOMPARE(classField(id, "WednesdayFrom").toString(), QString("16:30:00"));
        QVERIFY(classField(id, "WednesdayTo").isNull());

        // "1500" is no time.
        w = openWizard(m);
        QVERIFY(w);
        type(w, "txtClassName", "Drama");
        type(w, "Text13", "1500");
        MessageBox::clearShown();
        for (int i = 0; i < 4; ++i)
            click(w, "cmdNext");
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid Data"});
        QVERIFY(TestEnv::shownTexts().at(0).contains("1500"));
        QCOMPARE(visibleStep(w), 1);
    }

    void aDateThatIsNoDateIsInvalidData()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        type(w, "txtClassName", "Geology");
        type(w, "cboEnd", "31/31/2026");
        MessageBox::clearShown();
        for (int i = 0; i < 4; ++i)
            click(w, "cmdNext");
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid Data"});
        QVERIFY(TestEnv::shownTexts().at(0).contains("31/31/2026"));
        QCOMPARE(visibleStep(w), 1);
        QVERIFY(classField(lastClassId(), "ClassName").isNull());
    }

    void absurdNumbersAreInvalidData()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        const int id = lastClassId();
        type(w, "txtClassName", "Astronomy");
        click(w, "cmdNext");
        type(w, "txtCreditHours", "1e308");
        type(w, "txtPoints_Grade_A", "90");
        MessageBox::clearShown();
        for (int i = 0; i < 3; ++i)
            click(w, "cmdNext");
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid Data"});
        QVERIFY2(TestEnv::shownTexts().at(0).contains("from 0 to 1000"), qPrintable(TestEnv::shownTexts().at(0)));
        QCOMPARE(visibleStep(w), 1);
        QVERIFY(classField(id, "CreditHours").isNull());
        // Points typed with a fraction are refused, not rounded.
        click(w, "cmdNext");
        type(w, "txtCreditHours", "3");
        type(w, "txtPoints_Grade_A", "89.5");
        MessageBox::clearShown();
        for (int i = 0; i < 3; ++i)
            click(w, "cmdNext");
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid Data"});
        QVERIFY(TestEnv::shownTexts().at(0).contains("Points_Grade_A takes whole numbers only"));
        QVERIFY(classField(id, "Points_Grade_A").isNull());
        // Corrected, the class is stored.
        click(w, "cmdNext");
        type(w, "txtPoints_Grade_A", "90");
        MessageBox::clearShown();
        for (int i = 0; i < 3; ++i)
            click(w, "cmdNext");
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(classField(id, "CreditHours").toDouble(), 3.0);
        QCOMPARE(classField(id, "Points_Grade_A").toInt(), 90);
    }

    void aClassWithoutNameOrSemesterIsRefused()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        MessageBox::clearShown();
        for (int i = 0; i < 4; ++i)
            click(w, "cmdNext");
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid Data"});
        QCOMPARE(TestEnv::shownTexts().at(0), invalidDataText("The class has no name. Type one in step 1."));
        QCOMPARE(visibleStep(w), 1);
        QCOMPARE(count("Contacts"), 0);
        QVERIFY(classField(lastClassId(), "AppliesToGPA").isNull());
    }

    void cancelDeletesTheNewRow()
    {
        TestEnv::createDatabase();
        const int fall = addSemester(QStringLiteral("Fall 2026"));
        const int art = addClass(fall, QStringLiteral("Art"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        QCOMPARE(count("Classes"), 2);
        type(w, "txtClassName", "Dance");
        click(w, "cmdNext");
        click(w, "cmdNext");
        click(w, "cmdCancel");
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(lastClassId(), art);
        QCOMPARE(classField(art, "ClassName").toString(), QString("Art"));
        QCOMPARE(classField(art, "Semester_ID").toInt(), fall);
        QCOMPARE(count("Contacts"), 0);
    }

    void theCloseBoxDeletesTheNewRow()
    {
        TestEnv::createDatabase();
        const int fall = addSemester(QStringLiteral("Fall 2026"));
        const int art = addClass(fall, QStringLiteral("Art"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        type(w, "txtClassName", "Dance");
        type(w, "Text3", "no time at all");
        QCOMPARE(count("Classes"), 2);
        QVERIFY(w->close());
        settle();
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(lastClassId(), art);
        QCOMPARE(classField(art, "ClassName").toString(), QString("Art"));
        QCOMPARE(count("Contacts"), 0);
    }

    void previousGoesBackAndDoesNothingOnStepOne()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        type(w, "txtClassName", "Latin");
        const QSize size = w->size();
        click(w, "Command2");
        QCOMPARE(visibleStep(w), 1);
        QCOMPARE(text(w, "txtClassName"), QString("Latin"));
        click(w, "cmdNext");
        click(w, "cmdNext");
        click(w, "cmdNext");
        QCOMPARE(visibleStep(w), 4);
        click(w, "Command2");
        QCOMPARE(visibleStep(w), 3);
        click(w, "Command2");
        QCOMPARE(visibleStep(w), 2);
        click(w, "Command2");
        QCOMPARE(visibleStep(w), 1);
        click(w, "Command2");
        QCOMPARE(visibleStep(w), 1);
        // Going back and forth leaves the window its size.
        QCOMPARE(w->size(), size);
        QCOMPARE(frmClassWizzy::existing(), w);
        QVERIFY(classField(lastClassId(), "ClassName").isNull());
    }

    void withNoSemesterTheListStaysEmpty()
    {
        TestEnv::createDatabase();
        frmMain *m = startProgram();
        QVERIFY(TestEnv::shownTitles().contains("No semesters."));
        if (auto *semesterWizard = frmAddSemesterWizard::existing()) {
            semesterWizard->hide(); // the user turns to the class wizard instead
        }
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        QCOMPARE(semesterList(w)->count(), 0);
        QCOMPARE(semesterList(w)->currentText(), QString());
        QCOMPARE(text(w, "txtSemesterID"), QString());
        QCOMPARE(text(w, "cboStart"), QString());
        QCOMPARE(text(w, "cboEnd"), QString());
        QCOMPARE(visibleStep(w), 1);
        type(w, "txtClassName", "Orphan");
        MessageBox::clearShown();
        for (int i = 0; i < 4; ++i)
            click(w, "cmdNext");
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid Data"});
        QCOMPARE(TestEnv::shownTexts().at(0), invalidDataText("The class has no semester. Choose one from the list in step 1."));
        click(w, "cmdCancel");
        QCOMPARE(count("Classes"), 0);
    }

    void typingIntoTheSemesterListIsRefused()
    {
        TestEnv::createDatabase();
        const int fall = addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        QComboBox *list = semesterList(w);
        QCOMPARE(list->currentText(), QString("Fall 2026"));
        MessageBox::clearShown();
        QTest::keyClick(list, Qt::Key_W);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().at(0).title, QString("Invalid semester!"));
        QCOMPARE(MessageBox::shown().at(0).text,
                 QString("You can't type in a new semester.  You need to select one that already exists."));
        QCOMPARE(MessageBox::shown().at(0).icon, MessageBox::Information);
        QCOMPARE(list->currentText(), QString());
        QCOMPARE(list->count(), 1);
        // The semester chosen before stays the class's semester.
        QCOMPARE(text(w, "txtSemesterID"), QString::number(fall));
    }

    void choosingASemesterFillsItsKeyAndDates()
    {
        TestEnv::createDatabase();
        const int fall = addSemester(QStringLiteral("Fall 2026"), QStringLiteral("2026-09-01"), QStringLiteral("2026-12-20"));
        addSemester(QStringLiteral("Spring 2027"), QStringLiteral("2027-01-10"), QStringLiteral("2027-05-15"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        chooseSemester(w, 0);
        QCOMPARE(semesterList(w)->currentText(), QString("Fall 2026"));
        QCOMPARE(text(w, "txtSemesterID"), QString::number(fall));
        QCOMPARE(text(w, "cboStart"), DateText::shortDate(QDate(2026, 9, 1)));
        QCOMPARE(text(w, "cboEnd"), DateText::shortDate(QDate(2026, 12, 20)));
        type(w, "txtClassName", "Poetry");
        for (int i = 0; i < 4; ++i)
            click(w, "cmdNext");
        QCOMPARE(classField(lastClassId(), "Semester_ID").toInt(), fall);
        QCOMPARE(classField(lastClassId(), "StartDate").toString(), QString("2026-09-01"));
    }

    void aSemesterTitleWithAnApostropheIsFound()
    {
        TestEnv::createDatabase();
        const int id = addSemester(QStringLiteral("Spring '27"), QStringLiteral("2027-01-10"), QStringLiteral("2027-05-15"));
        frmMain *m = startProgram();
        MessageBox::clearShown();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        QVERIFY(!TestEnv::shownTitles().contains("Invalid Semester!"));
        QCOMPARE(text(w, "txtSemesterID"), QString::number(id));
        QCOMPARE(text(w, "cboStart"), DateText::shortDate(QDate(2027, 1, 10)));
    }

    void aSemesterGoneFromTheTableClosesTheWizard()
    {
        TestEnv::createDatabase();
        const int fall = addSemester(QStringLiteral("Fall 2026"));
        addSemester(QStringLiteral("Spring 2027"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        QCOMPARE(count("Classes"), 1);
        TestEnv::exec("DELETE FROM Semesters WHERE ID = ?", {fall});
        MessageBox::clearShown();
        chooseSemester(w, 0);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().at(0).title, QString("Invalid Semester!"));
        QCOMPARE(MessageBox::shown().at(0).text,
                 QString("You've selected a semester that doesn't exist!\nThe Add Class Wizard cannot continue."));
        QCOMPARE(MessageBox::shown().at(0).icon, MessageBox::Critical);
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(count("Classes"), 0);
    }

    void theChosenSemesterReachesTheNewRowOnly()
    {
        TestEnv::createDatabase();
        // The wizard may choose its semester before its row exists: another
        // class must not receive the semester's key and dates.
        const int fall = addSemester(QStringLiteral("Fall 2026"), QStringLiteral("2026-09-01"), QStringLiteral("2026-12-20"));
        const int spring = addSemester(QStringLiteral("Spring 2027"), QStringLiteral("2027-01-10"), QStringLiteral("2027-05-15"));
        const int art = addClass(fall, QStringLiteral("Art"));
        TestEnv::exec("UPDATE Classes SET StartDate = '2026-09-02', EndDate = '2026-12-19' WHERE ID = ?", {art});
        Settings::save(Settings::App, "Settings", "asst_SeenClassWizzy", "Y"); // no balloon takes the focus
        frmMain *m = startProgram();
        Q_UNUSED(m);
        frmClassWizzy *w = frmClassWizzy::instance();
        w->Show();
        QVERIFY(activate(w));
        QCOMPARE(semesterList(w)->currentText(), QString("Spring 2027"));
        // Now the append, as the opener makes it.
        Recordset &rs = w->datClasses->recordset();
        rs.AddNew();
        rs.Update();
        rs.MoveLast();
        settle();
        QCOMPARE(text(w, "txtSemesterID"), QString::number(spring));
        QCOMPARE(text(w, "cboStart"), DateText::shortDate(QDate(2027, 1, 10)));
        QCOMPARE(classField(art, "Semester_ID").toInt(), fall);
        QCOMPARE(classField(art, "StartDate").toString(), QString("2026-09-02"));
        QCOMPARE(classField(art, "EndDate").toString(), QString("2026-12-19"));
        type(w, "txtClassName", "Sculpture");
        for (int i = 0; i < 4; ++i)
            click(w, "cmdNext");
        QVERIFY(!frmClassWizzy::existing());
        const int id = lastClassId();
        QVERIFY(id != art);
        QCOMPARE(classField(id, "Semester_ID").toInt(), spring);
        QCOMPARE(classField(id, "StartDate").toString(), QString("2027-01-10"));
        QCOMPARE(classField(id, "EndDate").toString(), QString("2027-05-15"));
        QCOMPARE(classField(art, "Semester_ID").toInt(), fall);
        QCOMPARE(classField(art, "StartDate").toString(), QString("2026-09-02"));
        QCOMPARE(classField(art, "ClassName").toString(), QString("Art"));
    }

    void aRepeatedActivationKeepsTheUsersWork()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        const int spring = addSemester(QStringLiteral("Spring 2027"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        chooseSemester(w, 0);
        type(w, "txtClassName", "History");
        type(w, "cboStart", "9/15/2026");
        click(w, "cmdNext");
        click(w, "cmdNext");
        type(w, "Text1", "9:00 AM");
        QVERIFY(activate(m));
        QVERIFY(activate(w));
        QCOMPARE(semesterList(w)->count(), 2);
        QCOMPARE(semesterList(w)->currentText(), QString("Fall 2026"));
        QCOMPARE(visibleStep(w), 3);
        QCOMPARE(text(w, "txtClassName"), QString("History"));
        QCOMPARE(text(w, "cboStart"), QString("9/15/2026"));
        QCOMPARE(text(w, "Text1"), QString("9:00 AM"));
        QVERIFY(text(w, "txtSemesterID") != QString::number(spring));
    }

    void addAClassAgainGoesOnWithTheOpenWizard()
    {
        TestEnv::createDatabase();
        addSemester(QStringLiteral("Fall 2026"));
        frmMain *m = startProgram();
        frmClassWizzy *w = openWizard(m);
        QVERIFY(w);
        type(w, "txtClassName", "Ethics");
        QCOMPARE(openWizard(m), w);
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(text(w, "txtClassName"), QString("Ethics"));
        // The menu commands open the same wizard.
        click(w, "cmdCancel");
        trigger(m, "mnuClassAddNew");
        QVERIFY(frmClassWizzy::existing());
        QCOMPARE(count("Classes"), 1);
        click(frmClassWizzy::existing(), "cmdCancel");
        trigger(m, "mnuFileNewClass");
        QVERIFY(frmClassWizzy::existing());
        QCOMPARE(count("Classes"), 1);
    }
};

TARVELA_TEST_CLASS(ClassWizardTest)
#include "tst_classwizzy.moc"

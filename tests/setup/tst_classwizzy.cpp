#include "SetupHelpers.h"

#include "balloons/MsgForm.h"
#include "balloons/frmAssist.h"

#include "platform/DateText.h"
#include "setup/frmAddSemesterWizard.h"
#include "setup/frmClassWizzy.h"
#include "bound/DataSource.h"
#include "store/Recordset.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

using namespace SetupHelpers;

namespace {

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
    for (int before = -2; list->currentIndex() != index && list->currentIndex() != before;) {
        before = list->currentIndex();
        QTest::keyClick(list, list->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
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

    frmMain *m = nullptr;
    frmClassWizzy *w = nullptr;

    // Starts the program on the database made so far (a new one holding the
    // semester "Fall 2026" when none was made) and opens the wizard by the
    // main window's toolbar button.
    bool startWizard()
    {
        if (!QFile::exists(TestEnv::databasePath()))
            newFile();
        m = startQuiet();
        return openWizard();
    }
    // The semester step one shows: its title, key, start and end.
    QString semesterShown() const
    {
        return QStringList{semesterList(w)->currentText(), text(w, "txtSemesterID"), text(w, "cboStart"), text(w, "cboEnd")}.join('|');
    }
    static QString semester(const QString &title, int id, const QDate &start, const QDate &end)
    {
        return QStringList{title, QString::number(id), DateText::shortDate(start), DateText::shortDate(end)}.join('|');
    }
    bool openWizard()
    {
        click(m, "SSCommand2");
        w = frmClassWizzy::existing();
        return w != nullptr;
    }
    void next(int times)
    {
        for (int i = 0; i < times; ++i)
            click(w, "cmdNext");
    }
    // Finishing showed one "Invalid Data" message telling `told`, and the
    // wizard is back on step one.
    void refused(const QString &told)
    {
        QCOMPARE(TestEnv::shownTitles(), QStringList{"Invalid Data"});
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Information);
        QVERIFY(TestEnv::shownLast().text.startsWith(invalidDataText(QString())));
        QVERIFY2(TestEnv::shownLast().text.contains(told), qPrintable(TestEnv::shownLast().text));
        QCOMPARE(frmClassWizzy::existing(), w);
        QCOMPARE(visibleStep(w), 1);
    }

private Q_SLOTS:
    void opensOnTheLastSemesterWithItsHintOnceAndTakesTheOneChosen()
    {
        const int fall = newFile();
        const int spring = addSemester(QStringLiteral("Spring '27"), QStringLiteral("2027-01-10"), QStringLiteral("2027-05-15"));
        QVERIFY(startWizard());
        QCOMPARE(w->windowTitle(), QString("Add Class Wizard"));
        // The first activation shows a hint in the assistant's balloon.
        QVERIFY(MsgForm::existing());
        QCOMPARE(MsgForm::existing()->msgText()->text(),
                 QString("This wizard is used to add classes to your semesters.  Step-by-step, provide the information you're "
                         "asked for so that your class can be added to your database."));
        QCOMPARE(Settings::get(Settings::App, "Settings", "asst_SeenClassWizzy"), QString("Y"));
        frmAssist::existing()->Unload();
        settle();
        QCOMPARE(visibleStep(w), 1);
        QVERIFY(w->findChild<QGroupBox *>("Frame1")->isVisible());
        // The last semester, found although its title holds an apostrophe.
        QVERIFY(!TestEnv::shownTitles().contains("Invalid Semester!"));
        QCOMPARE(semesterList(w)->count(), 2);
        QCOMPARE(semesterList(w)->itemText(0), QString("Fall 2026"));
        QCOMPARE(semesterShown(), semester("Spring '27", spring, QDate(2027, 1, 10), QDate(2027, 5, 15)));
        // The blank row the opener appended is the class being made.
        QCOMPARE(count("Classes"), 1);
        QVERIFY(classField(lastClassId(), "ClassName").isNull());

        chooseSemester(w, 0);
        QCOMPARE(semesterShown(), semester("Fall 2026", fall, QDate(2026, 9, 1), QDate(2026, 12, 20)));
        // Nothing but a name typed: the teacher's boxes give a nameless contact.
        type(w, "txtClassName", "Poetry");
        next(4);
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(rows("SELECT ClassName, Semester_ID, StartDate, AppliesToGPA FROM Classes"),
                 QStringList{QString("Poetry|%1|2026-09-01|1").arg(fall)});
        QCOMPARE(rows("SELECT Name, Phone1, EMail FROM Contacts"), QStringList{"No name provided|<null>|<null>"});
        // The hint comes once only.
        QVERIFY(openWizard());
        QVERIFY(!MsgForm::existing());
    }

    void fourStepsMakeOneClassAndOneContact()
    {
        QVERIFY(startWizard());
        const int fall = TestEnv::scalar("SELECT ID FROM Semesters").toInt();
        type(w, "txtClassName", "Biology 101");
        type(w, "cboStart", "9/8/2026");
        click(w, "cmdNext");
        QCOMPARE(visibleStep(w), 2);
        const QList<std::pair<const char *, const char *>> numbers = {{"txtCreditHours", "3.5"},    {"txtPointsPossible", "1000"},
                                                                      {"txtPoints_Grade_A", "900"}, {"txtPoints_Grade_B", "800"},
                                                                      {"txtPoints_Grade_C", "700"}, {"txtPoints_Grade_D", "600"}};
        for (const auto &[box, typed] : numbers)
            type(w, box, typed);
        click(w, "cmdNext");
        QCOMPARE(visibleStep(w), 3);
        // Every box its own time, in the forms users type; blanks are no time.
        const QStringList times = {"1:00 AM", "2:00 am", "15:00", "4 PM", "10/5/2026 5:30 PM", "   ", "7:00 AM"};
        for (int i = 1; i <= 14; ++i)
            type(w, qPrintable(QStringLiteral("Text%1").arg(i)), i <= 7 ? times[i - 1] : DateText::hmmAmPm(QTime(i, 0)));
        click(w, "cmdNext");
        QCOMPARE(visibleStep(w), 4);
        type(w, "txtTeacherName", "Dr. O'Neil");
        type(w, "txtTeacherPhone", "555-0100");
        type(w, "txtTeacherEMail", "oneil@example.edu");
        type(w, "Text18", "Lab on Fridays");
        // Previous goes back a step at a time, keeping the entries and the
        // window's size, and does nothing on step one.
        const QSize size = w->size();
        for (int step : {3, 2, 1, 1}) {
            click(w, "Command2");
            QCOMPARE(visibleStep(w), step);
        }
        QCOMPARE(w->size(), size);
        QCOMPARE(text(w, "txtClassName"), QString("Biology 101"));
        QVERIFY(classField(lastClassId(), "ClassName").isNull());
        next(3);
        MessageBox::clearShown();
        click(w, "cmdNext"); // Finish
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QVERIFY(!frmClassWizzy::existing());

        QCOMPARE(count("Classes"), 1);
        const int id = lastClassId();
        const QList<std::pair<const char *, QString>> stored = {
            {"ClassName", "Biology 101"}, {"Semester_ID", QString::number(fall)}, {"StartDate", "2026-09-08"},
            {"EndDate", "2026-12-20"},    {"CreditHours", "3.5"},                 {"PointsPossible", "1000"},
            {"Points_Grade_A", "900"},    {"Points_Grade_B", "800"},              {"Points_Grade_C", "700"},
            {"Points_Grade_D", "600"},    {"MondayFrom", "01:00:00"},             {"MondayTo", "02:00:00"},
            {"TuesdayFrom", "15:00:00"},  {"TuesdayTo", "16:00:00"},              {"WednesdayFrom", "17:30:00"},
            {"ThursdayFrom", "07:00:00"}, {"ThursdayTo", "08:00:00"},             {"FridayFrom", "09:00:00"},
            {"FridayTo", "10:00:00"},     {"SaturdayFrom", "11:00:00"},           {"SaturdayTo", "12:00:00"},
            {"SundayFrom", "13:00:00"},   {"SundayTo", "14:00:00"},               {"TeacherName", "Dr. O'Neil"},
            {"TeacherPhone", "555-0100"}, {"TeacherEMail", "oneil@example.edu"},  {"ClassNotes", "Lab on Fridays"},
            {"AppliesToGPA", "1"},        {"ClassClosed", "0"}};
        for (const auto &[field, value] : stored)
            QCOMPARE(classField(id, field).toString(), value);
        for (const char *field : {"WednesdayTo", "Points_Grade_F"})
            QVERIFY2(classField(id, field).isNull(), field);
        QCOMPARE(rows("SELECT Name, Phone1, EMail, Address1 FROM Contacts"), QStringList{"Dr. O'Neil|555-0100|oneil@example.edu|<null>"});

        // The class is in the tree at the main window's next activation.
        QVERIFY(!treeText(m).contains("  Biology 101"));
        QVERIFY(activate(m));
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "  Biology 101"}));
    }

    void aNameInUseIsRefusedAndLeavesNoBlankRow_data()
    {
        // Names that differ only in letter case, in any script, are the same name.
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::newRow("ASCII") << "Bob's Art" << "BOB'S ART";
        QTest::newRow("accented capital") << "Björk's" << "BJÖRK'S";
        QTest::newRow("accented mixed") << "Björk's" << "bjöRK'S";
        QTest::newRow("Greek, final sigma") << "Οδός" << "ΟΔΌΣ";
        QTest::newRow("Cyrillic") << "Физика" << "фИЗИКА";
        QTest::newRow("Kelvin sign") << "Kelvin scale" << "\u212Aelvin scale";
    }

    void aNameInUseIsRefusedAndLeavesNoBlankRow()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        const int existing = addClass(newFile(), stored);
        QVERIFY(startWizard());
        QCOMPARE(count("Classes"), 2);
        type(w, "txtClassName", typed);
        type(w, "txtTeacherName", "Someone");
        MessageBox::clearShown();
        next(4);
        shownOnce("Duplicate Class.",
                  "There is already a class by that name.  There can only be on occurance of a single name as a class.",
                  MessageBox::Information);
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(lastClassId(), existing);
        QCOMPARE(count("Contacts"), 0);
    }

    void whatCannotBeStoredGoesBackToStepOneWithTheEntriesKept_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("good");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stored");
        QTest::newRow("no time") << "Text2" << "1500" << "1500" << "11:15 am" << "MondayTo" << "11:15:00";
        QTest::newRow("no date") << "cboEnd" << "31/31/2026" << "31/31/2026" << "12/18/2026" << "EndDate" << "2026-12-18";
        QTest::newRow("absurd credit hours") << "txtCreditHours" << "1e308" << "from 0 to 1000" << "4" << "CreditHours" << "4";
        QTest::newRow("points with a fraction") << "txtPoints_Grade_A" << "89.5" << "Points_Grade_A takes whole numbers only" << "90"
                                                << "Points_Grade_A" << "90";
    }
    void whatCannotBeStoredGoesBackToStepOneWithTheEntriesKept()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, told);
        QFETCH(QString, good);
        QFETCH(QString, field);
        QFETCH(QString, stored);
        QVERIFY(startWizard());
        const int id = lastClassId();
        type(w, "txtClassName", "Physics");
        type(w, "txtTeacherName", "Dr. Curie");
        type(w, qPrintable(box), typed);
        next(3);
        MessageBox::clearShown();
        const QSize size = w->size();
        click(w, "cmdNext"); // Finish
        refused(told);
        // Back on step one, the window keeps its size and the entries.
        QCOMPARE(w->size(), size);
        QCOMPARE(text(w, "txtClassName"), QString("Physics"));
        QCOMPARE(text(w, qPrintable(box)), typed);
        QCOMPARE(text(w, "txtTeacherName"), QString("Dr. Curie"));
        // The contact added before the failing save stays; the class row is untouched.
        QCOMPARE(count("Contacts"), 1);
        QCOMPARE(rows("SELECT ClassName, AppliesToGPA, CreditHours, Points_Grade_A, EndDate FROM Classes"),
                 QStringList{"<null>|0|<null>|<null>|<null>"});

        // Mended, the next Finish stores the class (and adds the teacher again).
        type(w, qPrintable(box), good);
        MessageBox::clearShown();
        next(4);
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(rows("SELECT ID, ClassName, AppliesToGPA FROM Classes"), QStringList{QString("%1|Physics|1").arg(id)});
        QCOMPARE(classField(id, field).toString(), stored);
        QCOMPARE(count("Contacts"), 2);
    }

    void withoutNameOrSemesterNothingIsStored()
    {
        TestEnv::createDatabase();
        m = startQuiet();
        QVERIFY(TestEnv::shownTitles().contains("No semesters."));
        if (auto *semesterWizard = frmAddSemesterWizard::existing())
            semesterWizard->hide(); // the user turns to the class wizard instead
        QVERIFY(openWizard());
        QCOMPARE(semesterList(w)->count(), 0);
        QCOMPARE(semesterShown(), QString("|||"));
        QCOMPARE(visibleStep(w), 1);
        MessageBox::clearShown();
        next(4);
        type(w, "txtClassName", "Orphan");
        next(4);
        QCOMPARE(TestEnv::shownTitles(), (QStringList{"Invalid Data", "Invalid Data"}));
        QCOMPARE(TestEnv::shownTexts(), (QStringList{invalidDataText("The class has no name. Type one in step 1."),
                                                     invalidDataText("The class has no semester. Choose one from the list in step 1.")}));
        QCOMPARE(visibleStep(w), 1);
        QCOMPARE(count("Contacts"), 0);
        QCOMPARE(TestEnv::scalar("SELECT max(AppliesToGPA) FROM Classes").toInt(), 0); // not set to yes
        click(w, "cmdCancel");
        QCOMPARE(count("Classes"), 0);
    }

    void cancelOrTheCloseBoxDeletesTheNewRow_data() { buttonOrCloseBoxRows(); }
    void cancelOrTheCloseBoxDeletesTheNewRow()
    {
        const int fall = newFile();
        const int art = addClass(fall, QStringLiteral("Art"));
        QVERIFY(startWizard());
        QCOMPARE(count("Classes"), 2);
        type(w, "txtClassName", "Dance");
        type(w, "Text3", "no time at all");
        next(2);
        closeBy(w, "cmdCancel");
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(rows("SELECT ID, ClassName, Semester_ID FROM Classes"), QStringList{QString("%1|Art|%2").arg(art).arg(fall)});
        QCOMPARE(count("Contacts"), 0);
    }

    void theSemesterListTakesOnlySemestersThatExist()
    {
        const int fall = newFile();
        const int spring = addSemester(QStringLiteral("Spring 2027"));
        QVERIFY(startWizard());
        QComboBox *list = semesterList(w);
        QCOMPARE(list->currentText(), QString("Spring 2027"));
        MessageBox::clearShown();
        QTest::keyClick(list, Qt::Key_W);
        shownOnce("Invalid semester!", "You can't type in a new semester.  You need to select one that already exists.",
                  MessageBox::Information);
        QCOMPARE(list->currentText(), QString());
        QCOMPARE(list->count(), 2);
        // The semester chosen before stays the class's semester.
        QCOMPARE(text(w, "txtSemesterID"), QString::number(spring));

        // A semester gone from the table since the list was filled.
        QCOMPARE(count("Classes"), 1);
        TestEnv::exec("DELETE FROM Semesters WHERE ID = ?", {fall});
        MessageBox::clearShown();
        chooseSemester(w, 0);
        shownOnce("Invalid Semester!", "You've selected a semester that doesn't exist!\nThe Add Class Wizard cannot continue.",
                  MessageBox::Critical);
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(count("Classes"), 0);
    }

    void theChosenSemesterReachesTheNewRowOnly()
    {
        // The wizard may choose its semester before its row exists: another
        // class must not receive the semester's key and dates.
        const int fall = newFile();
        const int spring = addSemester(QStringLiteral("Spring 2027"), QStringLiteral("2027-01-10"), QStringLiteral("2027-05-15"));
        const int art = addClass(fall, QStringLiteral("Art"));
        TestEnv::exec("UPDATE Classes SET StartDate = '2026-09-02', EndDate = '2026-12-19' WHERE ID = ?", {art});
        Settings::save(Settings::App, "Settings", "asst_SeenClassWizzy", "Y"); // no balloon takes the focus
        startQuiet();
        w = frmClassWizzy::instance();
        w->Show();
        QVERIFY(activate(w));
        QCOMPARE(semesterList(w)->currentText(), QString("Spring 2027"));
        // Now the append, as the opener makes it.
        Recordset &rs = w->datClasses->recordset();
        rs.AddNew();
        rs.Update();
        rs.MoveLast();
        settle();
        QCOMPARE(semesterShown(), semester("Spring 2027", spring, QDate(2027, 1, 10), QDate(2027, 5, 15)));
        const QString artRow = QString("%1|Art|%2|2026-09-02|2026-12-19").arg(art).arg(fall);
        const QString sql = "SELECT ID, ClassName, Semester_ID, StartDate, EndDate FROM Classes ORDER BY ID";
        QCOMPARE(rows(sql).value(0), artRow);
        type(w, "txtClassName", "Sculpture");
        next(4);
        QVERIFY(!frmClassWizzy::existing());
        QCOMPARE(rows(sql), (QStringList{artRow, QString("%1|Sculpture|%2|2027-01-10|2027-05-15").arg(lastClassId()).arg(spring)}));
    }

    void aRepeatedActivationOrOpeningKeepsTheUsersWork()
    {
        newFile();
        const int spring = addSemester(QStringLiteral("Spring 2027"));
        QVERIFY(startWizard());
        frmClassWizzy *first = w;
        chooseSemester(w, 0);
        type(w, "txtClassName", "History");
        type(w, "cboStart", "9/15/2026");
        next(2);
        type(w, "Text1", "9:00 AM");
        QVERIFY(activate(m));
        QVERIFY(activate(w));
        QCOMPARE(semesterList(w)->count(), 2);
        QCOMPARE(semesterList(w)->currentText(), QString("Fall 2026"));
        QCOMPARE(visibleStep(w), 3);
        QCOMPARE(text(w, "cboStart"), QString("9/15/2026"));
        QCOMPARE(text(w, "Text1"), QString("9:00 AM"));
        QVERIFY(text(w, "txtSemesterID") != QString::number(spring));
        // Add a Class again goes on with the open wizard.
        QVERIFY(openWizard());
        QCOMPARE(w, first);
        QCOMPARE(count("Classes"), 1);
        QCOMPARE(text(w, "txtClassName"), QString("History"));
        // The menu commands open the same wizard.
        for (const char *command : {"mnuClassAddNew", "mnuFileNewClass"}) {
            click(frmClassWizzy::existing(), "cmdCancel");
            trigger(m, command);
            QVERIFY2(frmClassWizzy::existing(), command);
            QCOMPARE(count("Classes"), 1);
        }
    }
};

TARVELA_TEST_CLASS(ClassWizardTest)
#include "tst_classwizzy.moc"

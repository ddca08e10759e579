#include "EditClassHelpers.h"

#include "platform/DateText.h"
#include "store/DataSource.h"
#include "store/frmCompactDB.h"
#include "store/Recordset.h"

#include <QLabel>

using namespace SetupHelpers;
using namespace EditClassHelpers;

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

    void absurdNumbersAreRefusedAndTheEditorStillCloses()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        type(e, "Text7", "Somebody");
        type(e, "Text10", "1e308");
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::Yes}); // keep it open
        click(e, "Command1");
        QCOMPARE(MessageBox::shown().size(), 1);
        const QString told = TestEnv::shownLast().text;
        QVERIFY2(told.contains("1e308") && told.contains("from 0 to 1000"), qPrintable(told));
        QVERIFY2(told.contains("Not stored: TeacherName \"Somebody\", CreditHours \"1e308\""), qPrintable(told));
        QCOMPARE(frmEditClass::existing(), e);
        QCOMPARE(text(e, "Text10"), QString("1e308"));
        QCOMPARE(classField(f.art, "CreditHours").toDouble(), 3.0);

        // A threshold typed with a fraction is refused, not rounded.
        type(e, "Text10", "4");
        type(e, "Text1", "92.5");
        MessageBox::clearShown();
        click(e, "Command1");
        QVERIFY2(TestEnv::shownLast().text.contains("Points_Grade_A takes whole numbers only: \"92.5\" has a fraction."),
                 qPrintable(TestEnv::shownLast().text));
        QCOMPARE(frmEditClass::existing(), e);
        QCOMPARE(classField(f.art, "Points_Grade_A").toInt(), 90);

        // The user gives up: the editor closes and nothing of it is stored.
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::No});
        click(e, "Command1");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(!frmEditClass::existing());
        QCOMPARE(classField(f.art, "TeacherName").toString(), QString("Ms. Kahlo"));
        QCOMPARE(classField(f.art, "CreditHours").toDouble(), 3.0);
        QCOMPARE(classField(f.art, "Points_Grade_A").toInt(), 90);
        // The main window goes on as before.
        QVERIFY(activate(m));
        QCOMPARE(m->findChild<QLabel *>("SSPanel5")->text(), QString("Class : Art"));
    }

    void anEditorOpenAcrossACompactionStoresAndCloses()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        type(e, "Text7", "Ms. Cassatt");
        // The main window closes and its compaction replaces the file while
        // the editor stays open.
        Settings::save(Settings::App, "Settings", "LastCompacted", DateText::mmddyyyy(QDate::currentDate().addDays(-31)));
        QVERIFY(m->close());
        settle();
        frmCompactDB *compact = frmCompactDB::existing();
        QVERIFY(compact && compact->isVisible());
        QTest::mouseClick(compact->findChild<QPushButton *>("Command2"), Qt::LeftButton);
        settle();
        QCOMPARE(TestEnv::shownTitles().last(), QString("Done!"));
        QCOMPARE(frmEditClass::existing(), e);
        type(e, "Text8", "555-0404");
        MessageBox::clearShown();
        click(e, "Command1");
        QVERIFY2(TestEnv::shownTexts().isEmpty(), qPrintable(TestEnv::shownTexts().join('\n')));
        QVERIFY(!frmEditClass::existing());
        QCOMPARE(classField(f.art, "TeacherName").toString(), QString("Ms. Cassatt"));
        QCOMPARE(classField(f.art, "TeacherPhone").toString(), QString("555-0404"));
        QCOMPARE(classField(f.music, "TeacherName").toString(), QString("Mr. Bach"));
    }

    void aRenameIsRememberedForTheNextStart()
    {
        const Fixture f = twoClasses();
        addAssignment(f.music, "Choir practice", 10, 8);
        frmMain *m = startProgram();
        clickNode(m, "Music");
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString("Music"));
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        type(e, "Text6", "Music Theory");
        click(e, "Command1");
        QVERIFY(!frmEditClass::existing());
        QCOMPARE(classField(f.music, "ClassName").toString(), QString("Music Theory"));
        // The user goes back to the main window, and later ends the program.
        QVERIFY(activate(m));
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString("Music Theory"));
        QVERIFY(m->close());
        TestEnv::closeAllWindows();

        m = startProgram();
        QCOMPARE(m->datClasses->recordset().value("ClassName").toString(), QString("Music Theory"));
        QCOMPARE(m->findChild<QLabel *>("SSPanel5")->text(), QString("Class : Music Theory"));
        QVERIFY(m->findChild<QWidget *>("gridAssignments")->isEnabled());
        QCOMPARE(m->datAssignments->recordset().value("AssignmentTitle").toString(), QString("Choir practice"));
        QCOMPARE(m->findChild<QLabel *>("lblCurrentPoints")->text(), QString("8"));
    }

    void renamingAnotherClassLeavesTheRememberedOne()
    {
        const Fixture f = twoClasses();
        frmMain *m = startProgram();
        clickNode(m, "Art");
        frmEditClass *e = openEditor(m);
        QVERIFY(e);
        type(e, "Text6", "Painting");
        click(e, "Command1");
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString("Painting"));
        // Renaming while another class is remembered changes nothing of it.
        Settings::save(Settings::App, "Settings", "LastClass", "Music");
        e = openEditor(m);
        QVERIFY(e);
        type(e, "Text6", "Oils");
        click(e, "Command1");
        QCOMPARE(classField(f.art, "ClassName").toString(), QString("Oils"));
        QCOMPARE(Settings::get(Settings::App, "Settings", "LastClass"), QString("Music"));
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

TARVELA_TEST_CLASS(ClassEditorTest)
#include "tst_editclass.moc"

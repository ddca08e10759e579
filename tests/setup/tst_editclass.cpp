#include "EditClassHelpers.h"

#include "platform/Clock.h"
#include "platform/DateText.h"
#include "bound/DataSource.h"
#include "bound/frmCompactDB.h"
#include "store/Recordset.h"

#include <QLabel>

using namespace SetupHelpers;
using namespace EditClassHelpers;

namespace {

// The editor's boxes and the fields they show.
const std::pair<const char *, const char *> BoxFields[11] = {
    {"Text6", "ClassName"},   {"Text7", "TeacherName"},    {"Text8", "TeacherPhone"},   {"Text9", "TeacherEMail"},
    {"Text10", "CreditHours"}, {"Text11", "ClassNotes"},    {"Text1", "Points_Grade_A"}, {"Text2", "Points_Grade_B"},
    {"Text3", "Points_Grade_C"}, {"Text4", "Points_Grade_D"}, {"Text5", "PointsPossible"}};

QString lastClass() { return Settings::get(Settings::App, "Settings", "LastClass"); }

} // namespace

class ClassEditorTest : public TestCase, EditorFixture
{
    Q_OBJECT
private Q_SLOTS:
    // The editor shows every field of the current class, and follows the
    // current class at each activation.
    void showsEveryFieldOfTheCurrentClassAtEachActivation()
    {
        QVERIFY(openOn("Art"));
        QCOMPARE(e->windowTitle(), QString("Tarvela Class Editor"));
        for (const auto &[box, field] : BoxFields)
            QCOMPARE(text(e, box), classField(f.art, field).toString());
        QVERIFY(find<QCheckBox>(e, "SSCheck1")->isChecked());
        type(e, "Text7", "Mrs. Kahlo");
        QVERIFY(activate(m));
        clickNode(m, "Music");
        QVERIFY(activate(e));
        for (const auto &[box, field] : BoxFields)
            QCOMPARE(text(e, box), classField(f.music, field).toString());
        QCOMPARE(text(e, "Text10"), QString("1.5"));
        QVERIFY(!find<QCheckBox>(e, "SSCheck1")->isChecked());
        // What was typed for the class shown before is kept.
        QCOMPARE(classField(f.art, "TeacherName").toString(), QString("Mrs. Kahlo"));

        // A class gone since it was chosen: the editor keeps its own.
        const int poetry = addClass(f.fall, QStringLiteral("Poetry"));
        const int verse = addClass(f.fall, QStringLiteral("Verse"));
        QVERIFY(activate(m)); // the tree now shows the new classes
        clickNode(m, "Verse");
        TestEnv::exec("DELETE FROM Classes WHERE ID = ?", {verse});
        QVERIFY(activate(e));
        QCOMPARE(text(e, "Text6"), QString("Music"));
        // A class made after the editor opened.
        QVERIFY(activate(m));
        clickNode(m, "Poetry");
        QVERIFY(activate(e));
        QCOMPARE(text(e, "Text6"), QString("Poetry"));
        type(e, "Text10", "2");
        click(e, "Command1");
        QCOMPARE(classField(poetry, "CreditHours").toDouble(), 2.0);
    }

    void doneOrTheCloseBoxStoresEveryBox_data() { buttonOrCloseBoxRows(); }
    void doneOrTheCloseBoxStoresEveryBox()
    {
        QVERIFY(openOn("Art"));
        // A name in use is stored as typed.
        const QStringList typed = {"Music", "Mr. O'Keeffe", "555-0303", "okeeffe@example.edu", "4.5", "Sketchbook",
                                   "95", "85", "75", "65", "105"};
        for (int i = 0; i < 11; ++i)
            type(e, BoxFields[i].first, typed[i]);
        QTest::mouseClick(find<QCheckBox>(e, "SSCheck1"), Qt::LeftButton);
        MessageBox::clearShown();
        closeBy(e, "Command1");
        QVERIFY(TestEnv::shownTexts().isEmpty());
        QVERIFY(!frmEditClass::existing());
        for (int i = 0; i < 11; ++i)
            QCOMPARE(classField(f.art, BoxFields[i].second).toString(), typed[i]);
        QCOMPARE(classField(f.art, "AppliesToGPA").toInt(), 0);
        // The other class is untouched.
        QCOMPARE(rows("SELECT TeacherName, AppliesToGPA FROM Classes WHERE ID = ?", {f.music}), QStringList{"Mr. Bach|0"});
    }

    void numbersThatCannotBeStoredKeepTheEditorOpen()
    {
        QVERIFY(openOn("Art"));
        QString stored = "Ms. Kahlo|3|90";
        // Done, the question answered: one message telling `told`, nothing stored.
        const auto refused = [&](const QString &told, MessageBox::Answer keepOpen) {
            MessageBox::clearShown();
            MessageBox::setNextAnswers({keepOpen});
            click(e, "Command1");
            QCOMPARE(MessageBox::shown().size(), 1);
            QVERIFY2(TestEnv::shownLast().text.contains(told), qPrintable(TestEnv::shownLast().text));
            QCOMPARE(frmEditClass::existing(), keepOpen == MessageBox::Yes ? e : nullptr);
            QCOMPARE(rows("SELECT TeacherName, CreditHours, Points_Grade_A FROM Classes WHERE ID = ?", {f.art}), QStringList{stored});
        };
        type(e, "Text7", "Somebody");
        type(e, "Text10", "three");
        refused("three", MessageBox::Yes);
        // Corrected, Done stores all that was typed.
        type(e, "Text10", "3.25");
        click(e, "Command1");
        QVERIFY(!frmEditClass::existing());
        stored = "Somebody|3.25|90";
        QCOMPARE(rows("SELECT TeacherName, CreditHours, Points_Grade_A FROM Classes WHERE ID = ?", {f.art}), QStringList{stored});

        e = openEditor(m);
        QVERIFY(e);
        type(e, "Text7", "Somebody else");
        type(e, "Text10", "1e308");
        refused("Not stored: TeacherName \"Somebody else\", CreditHours \"1e308\"", MessageBox::Yes);
        QVERIFY(TestEnv::shownLast().text.contains("\"1e308\"") && TestEnv::shownLast().text.contains("from 0 to 1000"));
        QCOMPARE(text(e, "Text10"), QString("1e308"));
        // A threshold typed with a fraction is refused, not rounded.
        type(e, "Text10", "4");
        type(e, "Text1", "92.5");
        refused("Points_Grade_A takes whole numbers only: \"92.5\" has a fraction.", MessageBox::Yes);
        // The user gives up: the editor closes and nothing of it is stored.
        refused("92.5", MessageBox::No);
        // The main window goes on as before.
        QVERIFY(activate(m));
        QCOMPARE(m->findChild<QLabel *>("SSPanel5")->text(), QString("Class : Art"));
    }

    void anEditorOpenAcrossACompactionStoresAndCloses()
    {
        QVERIFY(openOn("Art"));
        type(e, "Text7", "Ms. Cassatt");
        // The main window closes and its compaction replaces the file while
        // the editor stays open.
        Settings::save(Settings::App, "Settings", "LastCompacted", DateText::mmddyyyy(Clock::today().addDays(-31)));
        QVERIFY(m->close());
        settle();
        frmCompactDB *compact = frmCompactDB::existing();
        QVERIFY(compact && compact->isVisible());
        click(compact, "Command2");
        QCOMPARE(TestEnv::shownTitles().last(), QString("Done!"));
        QCOMPARE(frmEditClass::existing(), e);
        type(e, "Text8", "555-0404");
        MessageBox::clearShown();
        click(e, "Command1");
        QVERIFY2(TestEnv::shownTexts().isEmpty(), qPrintable(TestEnv::shownTexts().join('\n')));
        QVERIFY(!frmEditClass::existing());
        QCOMPARE(rows("SELECT TeacherName, TeacherPhone FROM Classes ORDER BY ID"),
                 (QStringList{"Ms. Cassatt|555-0404", "Mr. Bach|555-0202"}));
    }

    void aRenameIsRememberedForTheNextStart()
    {
        QVERIFY(openOn("Music"));
        addAssignment(f.music, "Choir practice", 10, 8);
        QCOMPARE(lastClass(), QString("Music"));
        type(e, "Text6", "Music Theory");
        click(e, "Command1");
        QVERIFY(!frmEditClass::existing());
        QCOMPARE(classField(f.music, "ClassName").toString(), QString("Music Theory"));
        // The user goes back to the main window, and later ends the program.
        QVERIFY(activate(m));
        QCOMPARE(lastClass(), QString("Music Theory"));
        QVERIFY(m->close());
        TestEnv::closeAllWindows();

        m = startQuiet();
        QCOMPARE(m->datClasses->recordset().value("ClassName").toString(), QString("Music Theory"));
        QCOMPARE(m->findChild<QLabel *>("SSPanel5")->text(), QString("Class : Music Theory"));
        QVERIFY(m->findChild<QWidget *>("gridAssignments")->isEnabled());
        QCOMPARE(m->datAssignments->recordset().value("AssignmentTitle").toString(), QString("Choir practice"));
        QCOMPARE(m->findChild<QLabel *>("lblCurrentPoints")->text(), QString("8"));
    }

    void renamingAnotherClassLeavesTheRememberedOne()
    {
        QVERIFY(openOn("Art"));
        Settings::save(Settings::App, "Settings", "LastClass", "Music");
        type(e, "Text6", "Oils");
        click(e, "Command1");
        QCOMPARE(classField(f.art, "ClassName").toString(), QString("Oils"));
        QCOMPARE(lastClass(), QString("Music"));
    }
};

TARVELA_TEST_CLASS(ClassEditorTest)
#include "tst_editclass.moc"

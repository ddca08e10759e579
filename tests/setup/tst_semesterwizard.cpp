#include "SetupHelpers.h"

#include "platform/Controls.h"
#include "setup/frmAddSemesterWizard.h"

#include <QAction>
#include <QGroupBox>

using namespace SetupHelpers;

// The semester wizard and the checks on a new semester.
class SemesterWizardTest : public TestCase
{
    Q_OBJECT

    static bool onIntroduction(QWidget *w)
    {
        return w->findChild<QGroupBox *>("fra1")->isVisible() && !w->findChild<QGroupBox *>("fra2")->isVisible();
    }
    static void fill(QWidget *w, const QString &title, const QString &start, const QString &end)
    {
        type(w, "Text1", title);
        w->findChild<DateCombo *>("SSDateCombo1")->setText(start);
        w->findChild<DateCombo *>("SSDateCombo2")->setText(end);
    }
    static int semesters() { return count("Semesters"); }

private Q_SLOTS:
    void everyWayOutBringsTheMainWindowBack()
    {
        TestEnv::createDatabase();
        frmMain *m = start();
        auto *w = frmAddSemesterWizard::existing();
        QVERIFY(w && onIntroduction(w));
        // Cancel: the main window is shown, finds no semester and opens the wizard again.
        click(w, "SSCommand2");
        QVERIFY(m->isVisible());
        QCOMPARE(TestEnv::shownTitles().count("No semesters."), 2);
        w = frmAddSemesterWizard::existing();
        QVERIFY(w && onIntroduction(w));
        // The close box likewise, from the details page.
        click(w, "SSCommand1");
        QVERIFY(!onIntroduction(w));
        QCOMPARE(find<QPushButton>(w, "SSCommand1")->text(), QString("&Finish"));
        w->close();
        settle();
        QCOMPARE(TestEnv::shownTitles().count("No semesters."), 3);
        // Finish with a good semester: the tree shows it and the wizard stays away.
        w = frmAddSemesterWizard::existing();
        QVERIFY(w);
        click(w, "SSCommand1");
        fill(w, "Fall '26", "9/1/2026", "12/20/2026");
        click(w, "SSCommand1");
        QVERIFY(!frmAddSemesterWizard::existing());
        QCOMPARE(treeText(m), QStringList{"Fall '26"});
        QCOMPARE(TestEnv::shownTitles().count("No semesters."), 3);
        QCOMPARE(rows("SELECT Title, StartDate, EndDate FROM Semesters"), QStringList{"Fall '26|2026-09-01|2026-12-20"});
    }

    void deletingTheLastSemesterLeadsToTheWizard()
    {
        addClass(newFile(), "Biology");
        frmMain *m = startQuiet();
        clickNode(m, "Fall 2026");
        QCOMPARE(text(m, "SSPanel4"), QString("Semester : Fall 2026"));
        QCOMPARE(text(m, "SSPanel5"), QString("Class : Biology"));
        // The box's OK over the main window: the handler ends, then the
        // desktop hands the activation back to the main window before the
        // wizard ever had it. The wizard comes forward all the same, once.
        MessageBox::setNextAnswers({MessageBox::Yes, MessageBox::Ok});
        find<QAction>(m, "mnuSemesterDelete")->trigger();
        QCoreApplication::sendPostedEvents();
        boxClosesOver(m);
        settle();
        QCOMPARE(TestEnv::shownTitles(), (QStringList{"Confirm semester deletion.", "No semesters."}));
        auto *w = frmAddSemesterWizard::existing();
        QVERIFY(w && onIntroduction(w));
        QTRY_COMPARE(QApplication::activeWindow(), w);
        QCOMPARE(count("Semesters"), 0);
        // Nothing deleted is named any more.
        QCOMPARE(text(m, "SSPanel4"), QString());
        QCOMPARE(text(m, "SSPanel5"), QString());
        // A turn to the main window of the user's own leads there again, once.
        m->activateWindow();
        QTRY_COMPARE(TestEnv::shownTitles().count("No semesters."), 2);
        QTRY_COMPARE(QApplication::activeWindow(), w);
        // The wizard is usable: a semester made there ends the round.
        click(w, "SSCommand1");
        fill(w, "Spring 2027", "1/10/2027", "5/20/2027");
        click(w, "SSCommand1");
        QVERIFY(!frmAddSemesterWizard::existing());
        QCOMPARE(treeText(m), QStringList{"Spring 2027"});
        QCOMPARE(TestEnv::shownTitles().count("No semesters."), 2);
    }

    void refusalsComeInTheirOrderAndKeepTheEntries()
    {
        TestEnv::createDatabase();
        start();
        addSemester("Winter 1999");
        TestEnv::addSemester("Été à Zürich");
        auto *w = frmAddSemesterWizard::existing();
        QVERIFY(w);
        click(w, "SSCommand1");
        MessageBox::clearShown();
        const QList<QStringList> cases = {
            {"   ", "1/1/2027", "5/1/2027", "No Title!", "Couldn't add the new semester.\nNo title was specified!"},
            {"WINTER 1999", "bad", "worse", "Duplicate title!", "Couldn't add the new semester.\nThat semester title was already in the database!"},
            // Letter case is ignored in every script.
            {"ÉTÉ À ZÜRICH", "1/1/2027", "5/1/2027", "Duplicate title!", ""},
            {"été à züRICH", "1/1/2027", "5/1/2027", "Duplicate title!", ""},
            {"Spring", "", "5/1/2027", "Invalid start date", "Couldn't add the new semester!\nThe specified start date was invalid!"},
            {"Spring", "3:00 PM", "5/1/2027", "Invalid start date", "Couldn't add the new semester!\nThe specified start date was invalid!"},
            {"Spring", "1/1/2027", "later", "Invalid end date", "Couldn't add the new semester!\nThe specified end date was invalid!"},
            {QString(101, 'x'), "1/1/2027", "5/1/2027", "Title too long!", ""},
        };
        for (const QStringList &c : cases) {
            fill(w, c[0], c[1], c[2]);
            click(w, "SSCommand1");
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(MessageBox::shown().last().title, c[3]);
            if (!c[4].isEmpty())
                QCOMPARE(MessageBox::shown().last().text, c[4]);
            QCOMPARE(MessageBox::shown().last().icon, MessageBox::Information);
            MessageBox::clearShown();
            // Nothing is stored and what was typed stays for correcting.
            QCOMPARE(semesters(), 2);
            QVERIFY(frmAddSemesterWizard::existing());
            QCOMPARE(text(w, "Text1"), c[0]);
        }
        // An end before the start is taken; blanks around the title are kept.
        fill(w, " Spring ", "5/1/2027", "1/1/2027");
        click(w, "SSCommand1");
        QVERIFY(MessageBox::shown().isEmpty() || MessageBox::shown().last().title == "No semesters.");
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Semesters WHERE Title = ' Spring '").toInt(), 1);
    }

    void reopeningGoesBackToTheIntroduction()
    {
        newFile();
        frmMain *m = startQuiet();
        click(m, "SSCommand1");
        auto *w = frmAddSemesterWizard::existing();
        QVERIFY(w && onIntroduction(w));
        click(w, "SSCommand1");
        fill(w, "Spring 2027", "1/1/2027", "5/1/2027");
        const QSize size = w->size();
        trigger(m, "mnuSemesterAddNew");
        QVERIFY(onIntroduction(w));
        // The page left is hidden first: the window keeps its size.
        QCOMPARE(w->size(), size);
        QCOMPARE(find<QPushButton>(w, "SSCommand1")->text(), QString("&Next >>>"));
        click(w, "SSCommand1");
        QCOMPARE(text(w, "Text1"), QString("Spring 2027"));
        click(w, "SSCommand1");
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "Spring 2027"}));
    }
};

TARVELA_TEST_CLASS(SemesterWizardTest)
#include "tst_semesterwizard.moc"

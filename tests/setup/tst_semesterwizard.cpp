#include "../mainwindow/MainHelpers.h"

#include "store/modTransport.h"
#include "platform/Controls.h"
#include "platform/Settings.h"
#include "setup/frmAddSemesterWizard.h"
#include "setup/modDataManip.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

using namespace MainHelpers;

// The semester wizard and the checks on a new semester.
class SemesterWizardTest : public TestCase
{
    Q_OBJECT

    static QPushButton *button(QWidget *w, const char *name) { return w->findChild<QPushButton *>(name); }
    static bool onIntroduction(QWidget *w)
    {
        return w->findChild<QGroupBox *>("fra1")->isVisible() && !w->findChild<QGroupBox *>("fra2")->isVisible();
    }
    static frmMain *startEmpty()
    {
        TestEnv::createDatabase();
        frmMain *m = start();
        settle();
        return m;
    }
    static void fill(QWidget *w, const QString &title, const QString &start, const QString &end)
    {
        auto *t = w->findChild<QLineEdit *>("Text1");
        t->clear();
        QTest::keyClicks(t, title);
        w->findChild<DateCombo *>("SSDateCombo1")->setText(start);
        w->findChild<DateCombo *>("SSDateCombo2")->setText(end);
    }

private Q_SLOTS:
    void everyWayOutBringsTheMainWindowBack()
    {
        frmMain *m = startEmpty();
        auto *w = frmAddSemesterWizard::existing();
        QVERIFY(w && onIntroduction(w));
        // Cancel: the main window is shown, finds no semester and opens the wizard again.
        QTest::mouseClick(button(w, "SSCommand2"), Qt::LeftButton);
        settle();
        QVERIFY(m->isVisible());
        QCOMPARE(TestEnv::shownTitles().count("No semesters."), 2);
        w = frmAddSemesterWizard::existing();
        QVERIFY(w && onIntroduction(w));
        // The close box likewise, from the details page.
        QTest::mouseClick(button(w, "SSCommand1"), Qt::LeftButton);
        QVERIFY(!onIntroduction(w));
        QCOMPARE(button(w, "SSCommand1")->text(), QString("&Finish"));
        w->close();
        settle();
        QCOMPARE(TestEnv::shownTitles().count("No semesters."), 3);
        // Finish with a good semester: the tree shows it and the wizard stays away.
        w = frmAddSemesterWizard::existing();
        QTest::mouseClick(button(w, "SSCommand1"), Qt::LeftButton);
        fill(w, "Fall '26", "9/1/2026", "12/20/2026");
        QTest::mouseClick(button(w, "SSCommand1"), Qt::LeftButton);
        settle();
        QVERIFY(!frmAddSemesterWizard::existing());
        QCOMPARE(treeText(m), QStringList{"Fall '26"});
        QCOMPARE(TestEnv::shownTitles().count("No semesters."), 3);
        QCOMPARE(TestEnv::scalar("SELECT StartDate FROM Semesters WHERE Title = ?", {"Fall '26"}).toString(), QString("2026-09-01"));
        QCOMPARE(TestEnv::scalar("SELECT EndDate FROM Semesters").toString(), QString("2026-12-20"));
    }

    void refusalsComeInTheirOrderAndKeepTheEntries()
    {
        startEmpty();
        MainHelpers::addSemester("Winter 1999");
        auto *w = frmAddSemesterWizard::existing();
        QTest::mouseClick(button(w, "SSCommand1"), Qt::LeftButton);
        MessageBox::clearShown();
        const QList<QStringList> cases = {
            {"   ", "1/1/2027", "5/1/2027", "No Title!", "Couldn't add the new semester.\nNo title was specified!"},
            {"WINTER 1999", "bad", "worse", "Duplicate title!", "Couldn't add the new semester.\nThat semester title was already in the database!"},
            {"Spring", "", "5/1/2027", "Invalid start date", "Couldn't add the new semester!\nThe specified start date was invalid!"},
            {"Spring", "3:00 PM", "5/1/2027", "Invalid start date", "Couldn't add the new semester!\nThe specified start date was invalid!"},
            {"Spring", "1/1/2027", "later", "Invalid end date", "Couldn't add the new semester!\nThe specified end date was invalid!"},
            {QString(101, 'x'), "1/1/2027", "5/1/2027", "Title too long!", ""},
        };
        for (const QStringList &c : cases) {
            fill(w, c[0], c[1], c[2]);
            QTest::mouseClick(button(w, "SSCommand1"), Qt::LeftButton);
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(MessageBox::shown().last().title, c[3]);
            if (!c[4].isEmpty())
                QCOMPARE(MessageBox::shown().last().text, c[4]);
            QCOMPARE(MessageBox::shown().last().icon, MessageBox::Information);
            MessageBox::clearShown();
            // Nothing is stored and what was typed stays for correcting.
            QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Semesters").toInt(), 1);
            QVERIFY(frmAddSemesterWizard::existing());
            QCOMPARE(w->findChild<QLineEdit *>("Text1")->text(), c[0]);
        }
        // An end before the start is taken; blanks around the title are kept.
        fill(w, " Spring ", "5/1/2027", "1/1/2027");
        QTest::mouseClick(button(w, "SSCommand1"), Qt::LeftButton);
        QVERIFY(MessageBox::shown().isEmpty() || MessageBox::shown().last().title == "No semesters.");
        QCOMPARE(TestEnv::scalar("SELECT count(*) FROM Semesters WHERE Title = ' Spring '").toInt(), 1);
    }

    void reopeningGoesBackToTheIntroduction()
    {
        TestEnv::createDatabase();
        MainHelpers::addSemester("Fall 2026");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        QTest::mouseClick(m->findChild<QWidget *>("SSCommand1"), Qt::LeftButton);
        settle();
        auto *w = frmAddSemesterWizard::existing();
        QVERIFY(w && onIntroduction(w));
        QTest::mouseClick(button(w, "SSCommand1"), Qt::LeftButton);
        fill(w, "Spring 2027", "1/1/2027", "5/1/2027");
        const QSize size = w->size();
        m->findChild<QAction *>("mnuSemesterAddNew")->trigger();
        QVERIFY(onIntroduction(w));
        // The page left is hidden first: the window keeps its size.
        QCOMPARE(w->size(), size);
        QCOMPARE(button(w, "SSCommand1")->text(), QString("&Next >>>"));
        QTest::mouseClick(button(w, "SSCommand1"), Qt::LeftButton);
        QCOMPARE(w->findChild<QLineEdit *>("Text1")->text(), QString("Spring 2027"));
        QTest::mouseClick(button(w, "SSCommand1"), Qt::LeftButton);
        settle();
        QCOMPARE(treeText(m), (QStringList{"Fall 2026", "Spring 2027"}));
    }
};

TARVELA_TEST_CLASS(SemesterWizardTest)
#include "tst_semesterwizard.moc"

#include "MainHelpers.h"

#include "mainwindow/frmAbout.h"
#include "mainwindow/frmError.h"
#include "mainwindow/frmTip.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "platform/Settings.h"
#include "store/frmCompactDB.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace MainHelpers;

// The error report, the tips and the About window.
class SideWindowsTest : public TestCase
{
    Q_OBJECT

    void writeTips(const QByteArray &content)
    {
        QFile f(TestEnv::programFolder() + "/TIPOFDAY.TXT");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

private Q_SLOTS:
    void errorReportHasFourLines()
    {
        frmError::report(RuntimeError(91, "Object variable or With block variable not set"), "frmMain", "(General)_RefreshTree");
        frmError *w = frmError::existing();
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(w->windowTitle(), QString("Tarvela Error!"));
        QCOMPARE(w->findChild<QPlainTextEdit *>("txtError")->toPlainText(),
                 QString("Error number was  91\nForm was frmMain\nRoutine was (General)_RefreshTree\n"
                         "Description: Object variable or With block variable not set\n"));
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(frmError::compose(-5, "", "", ""),
                 QString("Error number was -5\nForm was No form given.\nRoutine was No procedure given.\n"
                         "Description: No description given.\n"));
    }

    void recoverClosesAndMessageComesFirstWhenAsked()
    {
        frmError::report(RuntimeError(3021, "No current record."), "frmMain", "SSTree2_NodeClick", true);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QString("No current record."));
        QCOMPARE(MessageBox::shown().first().icon, MessageBox::Critical);
        QCOMPARE(MessageBox::shown().first().title, QString("Tarvela Desk"));
        frmError *w = frmError::existing();
        QTest::mouseClick(w->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(!frmError::existing());
        QVERIFY(!Platform::programEnded());
    }

    void terminateEndsWithoutTheCompactionOffer()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        Settings::save(Settings::App, "Settings", "LastCompacted", "01/01/2020");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        QVERIFY(m->isVisible());
        frmError::report(RuntimeError(5, "Invalid procedure call"), "frmMain", "Form_Activate");
        QTest::mouseClick(frmError::existing()->findChild<QPushButton *>("Command2"), Qt::LeftButton);
        settle();
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(!frmCompactDB::existing());
    }

    void oneTipIsAlwaysThatTip()
    {
        writeTips("Only this tip\r\n");
        frmTip *t = frmTip::instance();
        t->Show();
        auto *label = t->findChild<QLabel *>("lblTipText");
        QCOMPARE(label->text(), QString("Only this tip"));
        for (int i = 0; i < 5; ++i) {
            QTest::mouseClick(t->findChild<QPushButton *>("cmdNextTip"), Qt::LeftButton);
            QCOMPARE(label->text(), QString("Only this tip"));
        }
        QVERIFY(t->findChild<QCheckBox *>("chkLoadTipsAtStartup")->isChecked());
    }

    void everyLineIsATipAndEachCanCome()
    {
        writeTips("one\r\n\r\nthree\r\n");
        frmTip *t = frmTip::instance();
        QCOMPARE(t->tips(), (QStringList{"one", "", "three"}));
        QSet<int> seen;
        for (int i = 0; i < 200; ++i) {
            t->DoNextTip();
            QVERIFY(t->currentTip() >= 1 && t->currentTip() <= 3);
            seen.insert(t->currentTip());
        }
        QCOMPARE(seen.size(), 3);
    }

    void emptyAndMissingTipsFiles()
    {
        writeTips("");
        frmTip *t = frmTip::instance();
        auto *label = t->findChild<QLabel *>("lblTipText");
        QCOMPARE(label->text(), QString());
        QTest::mouseClick(t->findChild<QPushButton *>("cmdNextTip"), Qt::LeftButton);
        QCOMPARE(label->text(), QString());
        t->Unload();
        QFile::remove(TestEnv::programFolder() + "/TIPOFDAY.TXT");
        t = frmTip::instance();
        QCOMPARE(t->findChild<QLabel *>("lblTipText")->text(),
                 QString("That the TIPOFDAY.TXT file was not found? \n\nCreate a text file named TIPOFDAY.TXT using NotePad "
                         "with 1 tip per line. Then place it in the same directory as the application. "));
        QVERIFY(!t->isUnloaded());
    }

    void checkBoxWritesTheSettingAndEscCloses()
    {
        writeTips("a\r\nb\r\n");
        frmTip *t = frmTip::instance();
        t->Show();
        QVERIFY(QTest::qWaitForWindowActive(t));
        auto *box = t->findChild<QCheckBox *>("chkLoadTipsAtStartup");
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(Settings::get(Settings::ExeApp, "Options", "Show Tips at Startup"), QString("0"));
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(Settings::get(Settings::ExeApp, "Options", "Show Tips at Startup"), QString("1"));
        QTest::keyClick(t, Qt::Key_Escape);
        QVERIFY(!frmTip::existing());
        // Enter presses the focused Next Tip, else OK.
        t = frmTip::instance();
        t->Show();
        QVERIFY(QTest::qWaitForWindowActive(t));
        auto *next = t->findChild<QPushButton *>("cmdNextTip");
        next->setFocus();
        QTest::keyClick(next, Qt::Key_Return);
        QCOMPARE(frmTip::existing(), t);
        box = t->findChild<QCheckBox *>("chkLoadTipsAtStartup");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!frmTip::existing());
        // Switched off, the window closes itself at once.
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "off");
        QVERIFY(frmTip::instance()->isUnloaded());
    }

    void aboutShowsTheVersion()
    {
        frmAbout *a = frmAbout::instance();
        a->Show();
        QVERIFY(QTest::qWaitForWindowActive(a));
        QCOMPARE(a->windowTitle(), QString("About Tarvela"));
        QCOMPARE(a->findChild<QLabel *>("lblVersion")->text(), QString(TARVELA_VERSION));
        QVERIFY(QRegularExpression("^[0-9]+\\.[0-9]+\\.[0-9]+$").match(a->findChild<QLabel *>("lblVersion")->text()).hasMatch());
        QTest::keyClick(a, Qt::Key_Escape);
        QVERIFY(!frmAbout::existing());
    }
};

TARVELA_TEST_CLASS(SideWindowsTest)
#include "tst_sidewindows.moc"

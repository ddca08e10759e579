#include "MainDriving.h"

#include "mainwindow/frmError.h"
#include "mainwindow/frmTip.h"
#include "platform/Platform.h"
#include "platform/RuntimeError.h"
#include "bound/frmCompactDB.h"

#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>

using namespace MainHelpers;

// The error report and the tips.
class SideWindowsTest : public TestCase
{
    Q_OBJECT

    static void writeTips(const QByteArray &content) { writeBytes(TestEnv::programFolder() + "/TIPOFDAY.TXT", content); }

    static QString tipsSetting() { return Settings::get(Settings::ExeApp, "Options", "Show Tips at Startup"); }

private Q_SLOTS:
    void errorReportHasFourLinesAndRecoverCloses()
    {
        frmError::report(RuntimeError(91, "Object variable or With block variable not set"), "frmMain", "(General)_RefreshTree");
        frmError *w = frmError::existing();
        QVERIFY(w && QTest::qWaitForWindowActive(w));
        QCOMPARE(find<QPlainTextEdit>(w, "txtError")->toPlainText(),
                 QString("Error number was  91\nForm was frmMain\nRoutine was (General)_RefreshTree\n"
                         "Description: Object variable or With block variable not set\n"));
        QVERIFY(MessageBox::shown().isEmpty());
        QCOMPARE(frmError::compose(-5, "", "", ""),
                 QString("Error number was -5\nForm was No form given.\nRoutine was No procedure given.\n"
                         "Description: No description given.\n"));
        click(w, "Command1");
        QVERIFY(!frmError::existing());
        QVERIFY(!Platform::programEnded());
        // Asked for, the message comes first.
        frmError::report(RuntimeError(3021, "No current record."), "frmMain", "SSTree2_NodeClick", true);
        QCOMPARE(MessageBox::shown().size(), 1);
        lastBox("Tarvela Desk", "No current record.");
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Critical);
        QVERIFY(frmError::existing());
    }

    void terminateEndsWithoutTheCompactionOffer()
    {
        newFile();
        Settings::save(Settings::App, "Settings", "LastCompacted", "01/01/2020");
        frmMain *m = startQuiet();
        QVERIFY(m->isVisible());
        frmError::report(RuntimeError(5, "Invalid procedure call"), "frmMain", "Form_Activate");
        click(frmError::existing(), "Command2");
        QVERIFY(Platform::programEnded());
        QVERIFY(!m->isVisible());
        QVERIFY(!frmCompactDB::existing());
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
        t->Unload();
        // One tip is always that tip.
        writeTips("Only this tip\r\n");
        t = frmTip::instance();
        t->Show();
        QCOMPARE(label(t, "lblTipText"), QString("Only this tip"));
        for (int i = 0; i < 5; ++i) {
            click(t, "cmdNextTip");
            QCOMPARE(label(t, "lblTipText"), QString("Only this tip"));
        }
        QVERIFY(find<QCheckBox>(t, "chkLoadTipsAtStartup")->isChecked());
        const int width = t->width();
        t->Unload();
        // A long line, even one long word, wraps: the window keeps its width.
        writeTips(QByteArray(600, 'x') + "\r\n");
        t = frmTip::instance();
        t->Show();
        QVERIFY2(notWhole(find<QLabel>(t, "lblTipText"), width).isEmpty(), qPrintable(notWhole(find<QLabel>(t, "lblTipText"), width)));
        t->Unload();
        // An empty file has no tip; a missing one says so.
        writeTips("");
        t = frmTip::instance();
        QCOMPARE(label(t, "lblTipText"), QString());
        click(t, "cmdNextTip");
        QCOMPARE(label(t, "lblTipText"), QString());
        t->Unload();
        QFile::remove(TestEnv::programFolder() + "/TIPOFDAY.TXT");
        t = frmTip::instance();
        QVERIFY(label(t, "lblTipText").startsWith("That the TIPOFDAY.TXT file was not found? "));
        QVERIFY(!t->isUnloaded());
    }

    void checkBoxWritesTheSettingAndEscCloses()
    {
        writeTips("a\r\nb\r\n");
        frmTip *t = frmTip::instance();
        t->Show();
        QVERIFY(QTest::qWaitForWindowActive(t));
        click(t, "chkLoadTipsAtStartup");
        QCOMPARE(tipsSetting(), QString("0"));
        click(t, "chkLoadTipsAtStartup");
        QCOMPARE(tipsSetting(), QString("1"));
        QTest::keyClick(t, Qt::Key_Escape);
        QVERIFY(!frmTip::existing());
        // Enter presses the focused Next Tip, else OK.
        t = frmTip::instance();
        t->Show();
        QVERIFY(QTest::qWaitForWindowActive(t));
        for (const char *name : {"cmdNextTip", "chkLoadTipsAtStartup"}) {
            QCOMPARE(frmTip::existing(), t);
            find<QWidget>(t, name)->setFocus();
            QTest::keyClick(find<QWidget>(t, name), Qt::Key_Return);
        }
        QVERIFY(!frmTip::existing());
        // Switched off, the window closes itself at once.
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "off");
        QVERIFY(frmTip::instance()->isUnloaded());
    }
};

TARVELA_TEST_CLASS(SideWindowsTest)
#include "tst_sidewindows.moc"

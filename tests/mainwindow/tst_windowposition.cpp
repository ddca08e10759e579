#include "MainHelpers.h"

#include "mainwindow/frmAbout.h"
#include "platform/Platform.h"
#include "platform/Settings.h"

#include <QAction>
#include <QFile>
#include <QMenu>

using namespace MainHelpers;

// The main window keeps its position in the settings: one write of the
// settings file per resize, none when the window comes back unchanged.
class WindowPositionTest : public TestCase
{
    Q_OBJECT

    static frmMain *started()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        addClass(sem, "Biology");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        activate(m);
        return m;
    }

    static QString twips(int pixels) { return QString::number(Twips::fromPixels(pixels)); }

    static QByteArray settingsFile()
    {
        QFile f(Settings::fileFor(Settings::App));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void oneWritePerResize()
    {
        frmMain *m = started();
        QVERIFY(m->isVisible());
        for (int step = 1; step <= 3; ++step) {
            const int writes = Settings::fileWrites();
            const QSize size(640 + 40 * step, 480 + 30 * step);
            m->resize(size);
            QTRY_COMPARE(m->size(), size);
            settle();
            QCOMPARE(Settings::fileWrites(), writes + 1);
            const QRect g = m->frameGeometry();
            const QByteArray text = settingsFile();
            QVERIFY2(text.contains("\nfrmMainTop=" + twips(g.y()).toLatin1() + "\nfrmMainLeft=" + twips(g.x()).toLatin1()
                                   + "\nfrmMainWidth=" + twips(g.width()).toLatin1() + "\nfrmMainHeight="
                                   + twips(g.height()).toLatin1() + "\n"),
                     text.constData());
        }
    }

    void activationWithoutChangeWritesNothing()
    {
        frmMain *m = started();
        m->resize(700, 500);
        QTRY_COMPARE(m->size(), QSize(700, 500));
        settle();
        QVERIFY(!Settings::get(Settings::App, "Settings", "frmMainWidth").isEmpty());

        // An add-in configured by hand while the program runs: the next
        // activation shows it, and writes nothing.
        QByteArray text = settingsFile();
        text += "[AddIns]\nAddIn1Desc=Notes\n";
        QFile f(Settings::fileFor(Settings::App));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(text), text.size());
        f.close();
        QAction *addIn = m->findChild<QAction *>("mnuAddIn1Desc");
        QVERIFY(addIn);
        QVERIFY(!addIn->isVisible());

        const int writes = Settings::fileWrites();
        m->mnuHelpAbout_Click();
        settle();
        QVERIFY(frmAbout::existing());
        QVERIFY(activate(frmAbout::existing()));
        QVERIFY(activate(m));
        QCOMPARE(Settings::fileWrites(), writes);
        QVERIFY(addIn->isVisible());
        QCOMPARE(addIn->text(), QString("Notes"));
    }
};

TARVELA_TEST_CLASS(WindowPositionTest)
#include "tst_windowposition.moc"

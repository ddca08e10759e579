#include "MainHelpers.h"

#include "mainwindow/frmTip.h"
#include "platform/Platform.h"
#include "platform/Settings.h"
#include "setup/frmAddSemesterWizard.h"
#include "calendar/frmToday.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>

using namespace MainHelpers;

// The road from launching the program to its main window.
class StartupTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void firstStartYesCreatesAndLeadsToTheWizard()
    {
        frmMain *m = start({MessageBox::Yes});
        QVERIFY(QFile::exists(TestEnv::databasePath()));
        QCOMPARE(MessageBox::shown().at(0).title, QString("No Database"));
        QCOMPARE(MessageBox::shown().at(0).text, QString("The Tarvela database was not found.\n\nShall I create a new one?"));
        QCOMPARE(MessageBox::shown().at(0).buttons, MessageBox::YesNo);
        QVERIFY(m->isVisible());
        QVERIFY(!frmTip::existing());
        QVERIFY(QTest::qWaitForWindowActive(m) || frmAddSemesterWizard::existing());
        settle();
        QCOMPARE(TestEnv::shownTitles().last(), QString("No semesters."));
        QCOMPARE(TestEnv::shownTexts().last(), QString("You need to configure at least one semester to use Tarvela.\n"
                                                        "Click on the OK button to set up your first semester."));
        auto *wizard = frmAddSemesterWizard::existing();
        QVERIFY(wizard);
        QVERIFY(wizard->findChild<QGroupBox *>("fra1")->isVisible());
        QVERIFY(!wizard->findChild<QGroupBox *>("fra2")->isVisible());
        QVERIFY(treeText(m).isEmpty());
        QCOMPARE(Settings::get(Settings::App, "Settings", "TarvelaPath"), TestEnv::programFolder());
    }
};

TARVELA_TEST_CLASS(StartupTest)
#include "tst_startup.moc"

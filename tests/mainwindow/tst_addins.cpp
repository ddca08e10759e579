#include "TestEnv.h"

#include "mainwindow/AddIns.h"
#include "platform/Shell.h"

// The add-in command line and message, without the main window.
class AddInsTest : public TestCase
{
    Q_OBJECT
private Q_SLOTS:
    void theProgramComesFromTheProgramFolder()
    {
        QCOMPARE(AddIns::commandLine("/opt/tarvela", "planner"), QString("/opt/tarvela/planner"));
        QCOMPARE(AddIns::commandLine("/opt/tarvela/", "tools/planner --week"), QString("/opt/tarvela/tools/planner --week"));
        QCOMPARE(AddIns::commandLine("/opt/tarvela", "planner --week \"my notes\""),
                 QString("/opt/tarvela/planner --week \"my notes\""));
        QCOMPARE(AddIns::commandLine("/opt/tarvela", ""), QString());
        QCOMPARE(AddIns::commandLine("/opt/tarvela", "   "), QString());
    }

    void partsSurviveTheWayBack()
    {
        // Blanks in the folder, quotes and blanks in the arguments: what is
        // started splits into the same program and arguments.
        const QString line = AddIns::commandLine("/home/ann/My Tarvela", "\"flash cards\" --deck \"Ann's \"\"\"best\"\"\" deck\" -v");
        QCOMPARE(Shell::splitCommandLine(line),
                 (QStringList{"/home/ann/My Tarvela/flash cards", "--deck", "Ann's \"best\" deck", "-v"}));
        for (const QStringList &parts : {QStringList{"a"}, QStringList{"a b", "c\td"}, QStringList{"x\"y", "\"", "plain"}})
            QCOMPARE(Shell::splitCommandLine(Shell::joinCommandLine(parts)), parts);
    }

    void messageNamesTheAddInFromTheSecondOn()
    {
        QCOMPARE(AddIns::noCommandLineText(1, "Flash Cards"),
                 QString("Tarvela couldn't launch the Add-In!\n\nThe command line wasn't specified by the AddIn."));
        for (int n = 2; n <= AddIns::Count; ++n)
            QCOMPARE(AddIns::noCommandLineText(n, "Flash Cards"),
                     QString("Tarvela couldn't launch Flash Cards!\n\nThe command line wasn't specified by the AddIn."));
    }
};

TARVELA_TEST_CLASS(AddInsTest)
#include "tst_addins.moc"

#include "MainDriving.h"

#include "addressbook/frmAddressBook.h"
#include "calendar/frmCalendar.h"
#include "calendar/frmToday.h"
#include "mainwindow/AddIns.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmAddAssignment.h"
#include "mainwindow/frmAssignmentDetail.h"
#include "mainwindow/frmClassStatus.h"
#include "mainwindow/frmConfiguration.h"
#include "mainwindow/frmConfirmGrade.h"
#include "mainwindow/frmError.h"
#include "mainwindow/frmLinkDocument.h"
#include "mainwindow/frmSearch.h"
#include "mainwindow/frmTip.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Printing.h"
#include "platform/Shell.h"
#include "quizzer/frmQuizBuilder.h"
#include "quizzer/frmQuizSelection.h"
#include "setup/ClassTransferCommands.h"
#include "setup/frmAddSemesterWizard.h"
#include "setup/frmClassWizzy.h"
#include "setup/frmEditClass.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QToolButton>

using namespace MainHelpers;

namespace {

struct Ids {
    int fall = 0, biology = 0, art = 0, essay = 0, lab = 0;
};

using Step = std::function<void(frmMain *, const Ids &)>;

// What one command of the main window does, checked after a user chose it.
struct Command {
    QString name;    // the menu item's or the control's objectName
    QString caption; // its text; null where it has none to check
    Step before;
    Step check;
};

QString linkedPaper() { return TestEnv::root() + "/papers/Cell essay.odt"; }
QString listing() { return TestEnv::root() + "/listing.pdf"; }

// A check that the window is on the screen.
template <class W> Step shows(const char *what)
{
    return [what](frmMain *, const Ids &) { QVERIFY2(W::existing() && W::existing()->isVisible(), what); };
}

Step then(const Step &first, const Step &second)
{
    return [=](frmMain *m, const Ids &ids) {
        first(m, ids);
        if (!QTest::currentTestFailed())
            second(m, ids);
    };
}

// Every menu item of the main window, every toolbar button and the clickable
// labels, each with the effect its command has.
const QVector<Command> &commands()
{
    static const QVector<Command> table = [] {
        QVector<Command> t;
        const Step semesterWizard = shows<frmAddSemesterWizard>("the semester wizard");
        const Step classWizard = shows<frmClassWizzy>("the class wizard");
        const Step newWork = shows<frmAddAssignment>("the add-assignment window");
        const Step classStatus = then(shows<frmClassStatus>("the class status window"), [](frmMain *, const Ids &) {
            QCOMPARE(label(frmClassStatus::existing(), "lblPointsShyOfA"), QString("Points shy of A:  83"));
        });
        const Step opensThePaper = [](frmMain *, const Ids &) { QCOMPARE(Shell::opened(), QStringList{linkedPaper()}); };
        const Step yes = [](frmMain *, const Ids &) { MessageBox::setNextAnswers({MessageBox::Yes}); };
        // File
        t << Command{"mnuFileTodaysEvents", "Today's Events", nullptr, then(shows<frmToday>("today's events"), [](frmMain *, const Ids &) {
                         QCOMPARE(items(find<QListWidget>(frmToday::existing(), "lstToday")), QStringList{"Cell essay is due today."});
                     })};
        t << Command{"mnuFileCalculateGPA", "Calculate GPA", nullptr, [](frmMain *m, const Ids &) {
                         lastBox("Tarvela Desk", "GPA = 3");
                         QCOMPARE(label(m, "lblGPA"), QString("3"));
                     }};
        t << Command{"mnuFileConfigureAssignmentTypes", "Assignment Types", nullptr,
                     then(shows<frmConfiguration>("the assignment type window"), [](frmMain *, const Ids &) {
                         QCOMPARE(find<QListWidget>(frmConfiguration::existing(), "lstAssignmentTypes")->count(), 7);
                     })};
        t << Command{"mnuFileNewSemester", "Semester", nullptr, semesterWizard};
        t << Command{"mnuFileNewClass", "Class", nullptr, classWizard};
        t << Command{"mnuFileNewAssignment", "Assignment", nullptr, newWork};
        t << Command{"mnuFileExit", "E&xit", nullptr, [](frmMain *, const Ids &) {
                         QVERIFY(!frmMain::existing());
                         // The compaction window had its turn: the count of days starts.
                         QCOMPARE(setting("LastCompacted"), DateText::mmddyyyy(Clock::today()));
                     }};
        // Semester
        t << Command{"mnuSemesterAddNew", "Add New", nullptr, semesterWizard};
        t << Command{"mnuSemesterDelete", "Delete", yes, [](frmMain *m, const Ids &) {
                         lastBox("Confirm semester deletion.");
                         QCOMPARE(treeText(m), (QStringList{"Spring 2027", "  Art"}));
                     }};
        // Class
        t << Command{"mnuClassAddNew", "Add New", nullptr, classWizard};
        t << Command{"mnuClassEdit", "Edit", nullptr, then(shows<frmEditClass>("the class editor"), [](frmMain *, const Ids &) {
                         QCOMPARE(find<QLineEdit>(frmEditClass::existing(), "Text6")->text(), QString("Biology"));
                     })};
        t << Command{"mnuClassDelete", "Delete", yes, [](frmMain *m, const Ids &ids) {
                         lastBox("Classes Present!");
                         QCOMPARE(count("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {ids.biology}), 0);
                         QVERIFY(!treeText(m).contains("  Biology"));
                     }};
        t << Command{"mnuClassCloseOut", "Close Out", nullptr, then(shows<frmConfirmGrade>("the confirmation"), [](frmMain *, const Ids &) {
                         QCOMPARE(find<QLineEdit>(frmConfirmGrade::existing(), "txtTarvelaLetterGrade")->text(), QString("F"));
                     })};
        // Class > Set Color: the colour's name stored for the class, its picture in the tree.
        const char *const colours[] = {"Yellow", "Cyan",  "Black", "Blue",   "Brown",  "Light Cyan", "Dark Green", "Green",
                                       "Grey",   "Light Blue", "Orange", "Pink", "Purple", "Red",        "White"};
        for (int i = 0; i < 15; ++i) {
            const QString colour = QString::fromLatin1(colours[i]);
            t << Command{"mnuClassSetColor" + QString(colour).remove(' '), colour, nullptr, [colour, i](frmMain *m, const Ids &) {
                             QCOMPARE(Settings::get(Settings::App, "ClassFolders", "Biology"), colour);
                             QCOMPARE(image(m, "Biology"), 4 + i);
                         }};
        }
        t << Command{"mnuClassExport", "Export", nullptr, [](frmMain *, const Ids &) {
                         lastBox("Export done", "Class was exported successfully!");
                         QFile file(ClassTransfer::exportPath());
                         QVERIFY(file.open(QIODevice::ReadOnly));
                         const QByteArray content = file.readAll();
                         QVERIFY(content.contains("Biology") && content.contains("Cell essay"));
                     }};
        t << Command{"mnuClassImport", "Import",
                     [](frmMain *m, const Ids &) {
                         // A file written from Art, which then got another name.
                         clickNode(m, "Art");
                         QVERIFY(ClassTransfer::exportCurrentClass([](const RuntimeError &) { QFAIL("export failed"); }));
                         TestEnv::exec("UPDATE Classes SET ClassName = 'Art (old)' WHERE ClassName = 'Art'");
                         m->RefreshTree();
                         clickNode(m, "Biology");
                         MessageBox::clearShown();
                         MessageBox::setNextAnswers({MessageBox::Yes});
                     },
                     [](frmMain *m, const Ids &ids) {
                         lastBox("Importing classes");
                         QCOMPARE(count("SELECT count(*) FROM Classes WHERE ClassName = 'Art' AND Semester_ID = ?", {ids.fall}), 1);
                         QVERIFY(treeText(m).contains("  Art") && treeText(m).indexOf("  Art") < treeText(m).indexOf("Spring 2027"));
                     }};
        t << Command{"mnuClassStatus", "Status", nullptr, classStatus};
        // Assignment (also the grid's right-button menu)
        t << Command{"mnuAssignmentAddNew", "Add New", nullptr, newWork};
        t << Command{"mnuAssignmentDelete", "Delete", nullptr, [](frmMain *, const Ids &ids) {
                         QCOMPARE(count("SELECT count(*) FROM Assignments WHERE ID = ?", {ids.essay}), 0);
                         QCOMPARE(count("SELECT count(*) FROM Assignments WHERE ID = ?", {ids.lab}), 1);
                     }};
        t << Command{"mnuAssignmentLinkDocument", "Link Document", nullptr, shows<frmLinkDocument>("the document picker")};
        t << Command{"mnuAssignmentOpenDocument", "Open Document", nullptr, opensThePaper};
        t << Command{"mnuAssignmentDetails", "Details", nullptr, then(shows<frmAssignmentDetail>("the details"), [](frmMain *, const Ids &) {
                         QCOMPARE(label(frmAssignmentDetail::existing(), "Label1"), QString("Cell essay"));
                     })};
        // Reports: the class's rows, all or the ungraded.
        const Step printsTo = [](frmMain *, const Ids &) { Printing::setNextPdfFile(listing()); };
        for (const bool all : {true, false})
            t << Command{all ? "mnuReportsAllAssignments" : "mnuReportsUngradedAssignments",
                         all ? "All Assignments" : "Ungraded Assignments", printsTo, [all](frmMain *, const Ids &) {
                             const QStringList pages = pdfPages(listing());
                             QCOMPARE(pages.size(), 1);
                             QVERIFY(pages[0].contains("Biology Assignment Listing : Page 1") && pages[0].contains("Lab report"));
                             QCOMPARE(pages[0].contains("Cell essay"), all);
                         }};
        // Quizzer: its windows take the main window's place.
        const Step mainHidden = [](frmMain *m, const Ids &) { QVERIFY(!m->isVisible()); };
        t << Command{"mnuQuizzerQuizBuilder", "Quiz Builder", nullptr, then(shows<frmQuizBuilder>("the quiz builder"), mainHidden)};
        t << Command{"mnuQuizzerTakeAQuiz", "Take a Quiz", nullptr, then(shows<frmQuizSelection>("the quiz selection"), mainHidden)};
        t << Command{"mnuContacts", "Contacts", nullptr, shows<frmAddressBook>("the address book")};
        // Add-ins: started from the program's folder, or told when without a command line.
        auto startsAddIn = [](const QString &commandLine) -> Step {
            return [commandLine](frmMain *, const Ids &) {
                QCOMPARE(Shell::started(), QStringList{TestEnv::programFolder() + "/" + commandLine});
                QVERIFY(MessageBox::shown().isEmpty());
            };
        };
        auto noCommandLine = [](const QString &desc) -> Step {
            return [desc](frmMain *, const Ids &) {
                lastBox("No command line", "Tarvela couldn't launch " + desc + "!\n\nThe command line wasn't specified by the AddIn.");
                QVERIFY(Shell::started().isEmpty());
            };
        };
        t << Command{"mnuAddIn1Desc", "Flash Cards", nullptr, startsAddIn("flash --deck bio")};
        t << Command{"mnuAddIn2Desc", "Planner", nullptr, noCommandLine("Planner")};
        t << Command{"mnuAddIn3Desc", "Timer", nullptr, startsAddIn("flash --timer")};
        t << Command{"mnuAddIn4Desc", "Notes", nullptr, noCommandLine("Notes")};
        t << Command{"mnuAddIn5Desc", "Dictionary", nullptr, startsAddIn("flash")};
        // Help
        t << Command{"mnuHelpTarvelaHelp", "Tarvela Help", nullptr, [](frmMain *, const Ids &) {
                         QCOMPARE(Shell::opened(), QStringList{TestEnv::programFolder() + "/tarveladesk.chm"});
                     }};
        auto online = [](const QString &page) -> Step {
            return [page](frmMain *, const Ids &) {
                lastBox("Connect?");
                QCOMPARE(Shell::opened(), QStringList{frmMain::webHost() + page});
            };
        };
        t << Command{"mnuHelpWebSite", "Web Support", yes, online("/support")};
        t << Command{"mnuHelpSubmitAComment", "Submit a comment", yes, online("/software/tarvela/comment.htm")};
        t << Command{"mnuHelpTipOfTheDay", "Tip of the Day", nullptr, then(shows<frmTip>("the tips window"), [](frmMain *, const Ids &) {
                         // even with tips switched off
                         QCOMPARE(label(frmTip::existing(), "lblTipText"), QString("Close out your classes."));
                     })};
        t << Command{"mnuHelpAbout", "About Tarvela", nullptr, then(shows<frmAbout>("the About window"), [](frmMain *, const Ids &) {
                         frmAbout *a = frmAbout::existing();
                         QVERIFY(QRegularExpression("^[0-9]+\\.[0-9]+\\.[0-9]+$").match(label(a, "lblVersion")).hasMatch());
                         QVERIFY(QTest::qWaitForWindowActive(a));
                         QTest::keyClick(a, Qt::Key_Escape);
                         QVERIFY(!frmAbout::existing());
                     })};
        // Toolbar
        t << Command{"SSCommand1", "New Semester", nullptr, semesterWizard};
        t << Command{"SSCommand2", "Add a Class", nullptr, classWizard};
        t << Command{"SSCommand3", "New Work", nullptr, newWork};
        t << Command{"SSCommand4", "Search", nullptr, then(shows<frmSearch>("the search window"), [](frmMain *m, const Ids &) {
                         QVERIFY(m->isVisible());
                     })};
        t << Command{"SSCommand5", "Quizzer", nullptr, [](frmMain *m, const Ids &) {
                         auto *menu = find<QMenu>(m, "mnuQuizzer");
                         QVERIFY(menu->isVisible());
                         QCOMPARE(menu->geometry().topLeft(), QCursor::pos()); // at the mouse
                         menu->close();
                     }};
        t << Command{"SSCommand6", "Calendar", nullptr, shows<frmCalendar>("the calendar")};
        t << Command{"cmdClassStats", "Class Stats", nullptr, classStatus};
        // The letter grade and the link picture and label
        t << Command{"lblLetterGrade", "(F)", nullptr, classStatus};
        t << Command{"imgDocumentLink", QString(), nullptr, opensThePaper};
        t << Command{"lblDocumentLink", "Linked Document", nullptr, opensThePaper};
        return t;
    }();
    return table;
}

const Command *commandNamed(const QString &name)
{
    for (const Command &c : commands())
        if (c.name == name)
            return &c;
    return nullptr;
}

} // namespace

// Every command of the main window, chosen as a user chooses it, row by row
// of one table: the window it opens or the effect it has.
class CommandsTest : public TestCase
{
    Q_OBJECT

    // Two semesters; Biology (current, with a linked paper), Chemistry closed
    // with a B, Art; a quiz, a tip, five add-ins; today is Cell essay's due day.
    static frmMain *startOnBiology(Ids &ids)
    {
        ids.fall = newFile();
        ids.biology = addClass(ids.fall, "Biology", scale());
        const int chemistry = addClass(ids.fall, "Chemistry", scale());
        ids.art = addClass(addSemester("Spring 2027", "2027-01-10", "2027-05-20"), "Art", scale());
        TestEnv::exec("UPDATE Classes SET ClassClosed = 1, FinalLetterGrade = 'B', CreditHours = 4 WHERE ID = ?", {chemistry});
        ids.essay = addAssignment(ids.biology, "Cell essay", 10, 7, "2026-10-01");
        ids.lab = addAssignment(ids.biology, "Lab report", 20, 0, "2026-10-08");
        addAssignment(ids.art, "Sketchbook", 10, 9, "2027-02-01");
        TestEnv::exec("UPDATE Assignments SET DocumentPath = ? WHERE ID = ?", {linkedPaper(), ids.essay});
        TestEnv::exec("INSERT INTO Quizzes (Title) VALUES ('Cells')");
        for (const auto &[file, text] : {std::pair{"/TIPOFDAY.TXT", "Close out your classes.\r\n"}, std::pair{"/flash", "#!/bin/sh\n"}}) {
            if (!writeBytes(TestEnv::programFolder() + file, text))
                return nullptr;
        }
        const char *const addIns[][2] = {
            {"Flash Cards", "flash --deck bio"}, {"Planner", ""}, {"Timer", "flash --timer"}, {"Notes", ""}, {"Dictionary", "flash"}};
        for (int n = 1; n <= 5; ++n) {
            Settings::save(Settings::App, "AddIns", QString("AddIn%1Desc").arg(n), addIns[n - 1][0]);
            if (*addIns[n - 1][1])
                Settings::save(Settings::App, "AddIns", QString("AddIn%1Command").arg(n), addIns[n - 1][1]);
        }
        for (const char *hint : {"asst_SeenClassStatus", "asst_SeenClassWizzy", "asst_SeenToDo"})
            Settings::save(Settings::App, "Settings", hint, "Y");
        Clock::set(QDateTime(QDate(2026, 10, 1), QTime(9, 30)));
        frmMain *m = startQuiet();
        // Today's events came up after the tips window (switched off) closed.
        if (frmToday *today = frmToday::existing())
            today->Unload();
        clickNode(m, "Biology");
        selectRow(m, 0);
        return m;
    }

private Q_SLOTS:
    void eachCommandDoesWhatItsRowSays_data()
    {
        QTest::addColumn<QString>("name");
        for (const Command &c : commands())
            QTest::newRow(qPrintable(c.name)) << c.name;
    }

    void eachCommandDoesWhatItsRowSays()
    {
        QFETCH(QString, name);
        const Command *command = commandNamed(name);
        QVERIFY(command);
        Ids ids;
        frmMain *m = startOnBiology(ids);
        QVERIFY(m && activate(m));
        if (!command->caption.isNull())
            QCOMPARE(m->findChild<QObject *>(name)->property("text").toString(), command->caption);
        if (command->before)
            command->before(m, ids);
        if (QTest::currentTestFailed())
            return;
        choose(m, name);
        if (QTest::currentTestFailed())
            return;
        command->check(m, ids);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(!frmError::existing(), "an error was reported");
    }

    // No menu item or toolbar button of the main window is left out of the
    // table.
    void theTableHoldsEveryCommand()
    {
        newFile();
        frmMain *m = startQuiet();
        QStringList missing;
        QList<QWidget *> holders{find<QMenuBar>(m, "menuBar")};
        for (QMenu *menu : m->findChildren<QMenu *>())
            if (!menu->objectName().isEmpty())
                holders << menu;
        for (QWidget *holder : std::as_const(holders)) {
            for (QAction *a : holder->actions()) {
                if (a->isSeparator() || a->menu())
                    continue;
                if (!commandNamed(a->objectName()))
                    missing << a->objectName();
            }
        }
        for (QToolButton *b : m->findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly)) // the toolbar
            if (!commandNamed(b->objectName()))
                missing << b->objectName();
        // (An item the table names but the menus lose fails its own row.)
        QCOMPARE(missing, QStringList());
        // F1 asks the desktop to open the help file.
        QTest::keyClick(m, Qt::Key_F1);
        QCOMPARE(Shell::opened(), QStringList{TestEnv::programFolder() + "/tarveladesk.chm"});
    }

    // Only the add-ins described are listed; the first without a command
    // line is "the Add-In"; a program that is not there is told. The web
    // commands ask first.
    void addInsAndWebPagesAsTheSettingsAndTheUserSay()
    {
        newFile();
        Settings::save(Settings::App, "AddIns", "AddIn2Desc", "Flash Cards");
        Settings::save(Settings::App, "AddIns", "AddIn3Desc", "Planner");
        Settings::save(Settings::App, "AddIns", "AddIn3Command", "planner --week \"my notes\"");
        frmMain *m = startQuiet();
        QVERIFY(find<QAction>(m, "mnuAddIns")->isVisible());
        QVERIFY(!find<QAction>(m, "mnuAddIn1Desc")->isVisible());
        QVERIFY(find<QAction>(m, "mnuAddIn2Desc")->isVisible());
        m->mnuAddInDesc_Click(1);
        lastBox("No command line", "Tarvela couldn't launch the Add-In!\n\nThe command line wasn't specified by the AddIn.");
        trigger(m, "mnuAddIn3Desc");
        QCOMPARE(Shell::started(), QStringList{TestEnv::programFolder() + "/planner --week \"my notes\""});
        lastBox("Add-In not started"); // no such program
        MessageBox::setNextAnswers({MessageBox::No});
        trigger(m, "mnuHelpWebSite");
        QVERIFY(Shell::opened().isEmpty());
        lastBox("Connect?", "Before connecting to the Orbique \nWeb Site, you must be connected to the internet.\n\nAre you online?");
    }

    // The add-in's program comes from the program folder; what is started
    // splits into the same program and arguments.
    void addInCommandLines()
    {
        QCOMPARE(AddIns::commandLine("/opt/tarvela/", "tools/planner --week"), QString("/opt/tarvela/tools/planner --week"));
        QCOMPARE(AddIns::commandLine("/opt/tarvela", "   "), QString());
        const QString line = AddIns::commandLine("/home/ann/My Tarvela", "\"flash cards\" --deck \"Ann's \"\"\"best\"\"\" deck\" -v");
        QCOMPARE(Shell::splitCommandLine(line), (QStringList{"/home/ann/My Tarvela/flash cards", "--deck", "Ann's \"best\" deck", "-v"}));
        for (const QStringList &parts : {QStringList{"a"}, QStringList{"a b", "c\td"}, QStringList{"x\"y", "\"", "plain"}})
            QCOMPARE(Shell::splitCommandLine(Shell::joinCommandLine(parts)), parts);
    }
};

TARVELA_TEST_CLASS(CommandsTest)
#include "tst_commands.moc"

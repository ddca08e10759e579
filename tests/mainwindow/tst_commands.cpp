#include "MainHelpers.h"
#include "PdfText.h"

#include "addressbook/frmAddressBook.h"
#include "calendar/frmCalendar.h"
#include "calendar/frmToday.h"
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
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "quizzer/frmQuizBuilder.h"
#include "quizzer/frmQuizSelection.h"
#include "setup/ClassTransferCommands.h"
#include "setup/frmAddSemesterWizard.h"
#include "setup/frmClassWizzy.h"
#include "setup/frmEditClass.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"

#include <QAction>
#include <QCursor>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>

using namespace MainHelpers;

namespace {

// The picture the tree gives a class node (the colour tags take 4 to 18).
constexpr int TreeImageRole = Qt::UserRole + 1;

struct Ids {
    int fall = 0, spring = 0, biology = 0, chemistry = 0, art = 0, essay = 0, lab = 0;
};

// What one command of the main window does, checked after a user chose it.
struct Command {
    QString name; // the menu item's or the control's objectName
    std::function<void(frmMain *, const Ids &)> before;
    std::function<void(frmMain *, const Ids &)> check;
};

QString linkedPaper() { return TestEnv::root() + "/papers/Cell essay.odt"; }
QString listing() { return TestEnv::root() + "/listing.pdf"; }

bool visible(QWidget *w) { return w && w->isVisible(); }

int count(const QString &sql, const QVariantList &params = {}) { return TestEnv::scalar(sql, params).toInt(); }

QString setting(const char *section, const char *key) { return Settings::get(Settings::App, section, key); }

// Fails the row (and leaves its check) unless the window is on the screen.
#define SHOWS(window, what) QVERIFY2(visible(window), what)

void shownBox(const QString &title, const QString &text = QString())
{
    QCOMPARE(TestEnv::shownLast().title, title);
    if (!text.isNull())
        QCOMPARE(TestEnv::shownLast().text, text);
}

void colourRow(QVector<Command> &table, const char *item, const QString &value, int image)
{
    table << Command{item, nullptr, [value, image](frmMain *m, const Ids &) {
                         QCOMPARE(setting("ClassFolders", "Biology"), value);
                         QTreeWidgetItem *node = MainHelpers::node(m, "Biology");
                         QVERIFY(node);
                         QCOMPARE(node->data(0, TreeImageRole).toInt(), image);
                     }};
}

// Every menu item of the main window, every toolbar button and the clickable
// labels, each with the effect its command has.
const QVector<Command> &commands()
{
    static const QVector<Command> table = [] {
        QVector<Command> t;
        // File
        t << Command{"mnuFileTodaysEvents", nullptr, [](frmMain *, const Ids &) {
                         SHOWS(frmToday::existing(), "today's events");
                         auto *list = frmToday::existing()->findChild<QListWidget *>("lstToday");
                         QCOMPARE(list->count(), 1);
                         QCOMPARE(list->item(0)->text(), QString("Cell essay is due today."));
                     }};
        t << Command{"mnuFileCalculateGPA", nullptr, [](frmMain *m, const Ids &) {
                         shownBox("Tarvela Desk", "GPA = 3");
                         QCOMPARE(m->findChild<QLabel *>("lblGPA")->text(), QString("3"));
                     }};
        t << Command{"mnuFileConfigureAssignmentTypes", nullptr, [](frmMain *, const Ids &) {
                         SHOWS(frmConfiguration::existing(), "the assignment type window");
                         QCOMPARE(frmConfiguration::existing()->findChild<QListWidget *>("lstAssignmentTypes")->count(), 7);
                     }};
        auto semesterWizard = [](frmMain *, const Ids &) {
            frmAddSemesterWizard *w = frmAddSemesterWizard::existing();
            SHOWS(w, "the semester wizard");
            QVERIFY(!w->findChild<QGroupBox *>("fra1")->isHidden());
            QVERIFY(w->findChild<QGroupBox *>("fra2")->isHidden());
        };
        auto classWizard = [](frmMain *, const Ids &) {
            SHOWS(frmClassWizzy::existing(), "the class wizard");
            QCOMPARE(count("SELECT count(*) FROM Classes"), 4); // the blank row it fills
            QCOMPARE(count("SELECT count(*) FROM Classes WHERE ClassName IS NULL"), 1);
        };
        auto newWork = [](frmMain *, const Ids &ids) {
            SHOWS(frmAddAssignment::existing(), "the add-assignment window");
            QCOMPARE(count("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {ids.biology}), 3);
        };
        auto classStatus = [](frmMain *, const Ids &) {
            SHOWS(frmClassStatus::existing(), "the class status window");
            QCOMPARE(frmClassStatus::existing()->findChild<QLabel *>("lblPointsShyOfA")->text(), QString("Points shy of A:  83"));
        };
        auto opensThePaper = [](frmMain *, const Ids &) { QCOMPARE(Shell::opened(), QStringList{linkedPaper()}); };
        t << Command{"mnuFileNewSemester", nullptr, semesterWizard};
        t << Command{"mnuFileNewClass", nullptr, classWizard};
        t << Command{"mnuFileNewAssignment", nullptr, newWork};
        t << Command{"mnuFileExit", nullptr, [](frmMain *, const Ids &) {
                         QVERIFY(!frmMain::existing());
                         // The compaction window had its turn: the count of days starts.
                         QCOMPARE(setting("Settings", "LastCompacted"), DateText::mmddyyyy(Clock::today()));
                     }};
        // Semester
        t << Command{"mnuSemesterAddNew", nullptr, semesterWizard};
        t << Command{"mnuSemesterDelete", [](frmMain *, const Ids &) { MessageBox::setNextAnswers({MessageBox::Yes}); },
                     [](frmMain *m, const Ids &ids) {
                         shownBox("Confirm semester deletion.");
                         QCOMPARE(count("SELECT count(*) FROM Semesters WHERE ID = ?", {ids.fall}), 0);
                         QCOMPARE(count("SELECT count(*) FROM Classes"), 1);
                         QCOMPARE(count("SELECT count(*) FROM Assignments"), 1);
                         QCOMPARE(treeText(m), (QStringList{"Spring 2027", "  Art"}));
                     }};
        // Class
        t << Command{"mnuClassAddNew", nullptr, classWizard};
        t << Command{"mnuClassEdit", nullptr, [](frmMain *, const Ids &) {
                         SHOWS(frmEditClass::existing(), "the class editor");
                         QCOMPARE(frmEditClass::existing()->findChild<QLineEdit *>("Text6")->text(), QString("Biology"));
                     }};
        t << Command{"mnuClassDelete", [](frmMain *, const Ids &) { MessageBox::setNextAnswers({MessageBox::Yes}); },
                     [](frmMain *m, const Ids &ids) {
                         shownBox("Classes Present!");
                         QCOMPARE(count("SELECT count(*) FROM Classes WHERE ID = ?", {ids.biology}), 0);
                         QCOMPARE(count("SELECT count(*) FROM Assignments WHERE Class_ID = ?", {ids.biology}), 0);
                         QVERIFY(!treeText(m).contains("  Biology"));
                     }};
        t << Command{"mnuClassCloseOut", nullptr, [](frmMain *, const Ids &) {
                         SHOWS(frmConfirmGrade::existing(), "the close-out confirmation");
                         QCOMPARE(frmConfirmGrade::existing()->findChild<QLineEdit *>("txtTarvelaLetterGrade")->text(), QString("F"));
                     }};
        static const char *const colours[][2] = {
            {"mnuClassSetColorYellow", "Yellow"},        {"mnuClassSetColorCyan", "Cyan"},
            {"mnuClassSetColorBlack", "Black"},          {"mnuClassSetColorBlue", "Blue"},
            {"mnuClassSetColorBrown", "Brown"},          {"mnuClassSetColorLightCyan", "Light Cyan"},
            {"mnuClassSetColorDarkGreen", "Dark Green"}, {"mnuClassSetColorGreen", "Green"},
            {"mnuClassSetColorGrey", "Grey"},            {"mnuClassSetColorLightBlue", "Light Blue"},
            {"mnuClassSetColorOrange", "Orange"},        {"mnuClassSetColorPink", "Pink"},
            {"mnuClassSetColorPurple", "Purple"},        {"mnuClassSetColorRed", "Red"},
            {"mnuClassSetColorWhite", "White"}};
        for (int i = 0; i < 15; ++i)
            colourRow(t, colours[i][0], QString::fromLatin1(colours[i][1]), 4 + i);
        t << Command{"mnuClassExport", nullptr, [](frmMain *, const Ids &) {
                         shownBox("Export done", "Class was exported successfully!");
                         QFile file(ClassTransfer::exportPath());
                         QVERIFY(file.open(QIODevice::ReadOnly));
                         const QByteArray content = file.readAll();
                         QVERIFY(content.contains("Biology"));
                         QVERIFY(content.contains("Cell essay"));
                     }};
        t << Command{"mnuClassImport",
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
                         shownBox("Importing classes");
                         QCOMPARE(count("SELECT count(*) FROM Classes WHERE ClassName = 'Art' AND Semester_ID = ?", {ids.fall}), 1);
                         QVERIFY(treeText(m).contains("  Art"));
                         QCOMPARE(treeText(m).indexOf("  Art") < treeText(m).indexOf("Spring 2027"), true);
                     }};
        t << Command{"mnuClassStatus", nullptr, classStatus};
        // Assignment (also the grid's right-button menu)
        t << Command{"mnuAssignmentAddNew", nullptr, newWork};
        t << Command{"mnuAssignmentDelete", nullptr, [](frmMain *, const Ids &ids) {
                         QCOMPARE(count("SELECT count(*) FROM Assignments WHERE ID = ?", {ids.essay}), 0);
                         QCOMPARE(count("SELECT count(*) FROM Assignments WHERE ID = ?", {ids.lab}), 1);
                     }};
        t << Command{"mnuAssignmentLinkDocument", nullptr, [](frmMain *, const Ids &) {
                         SHOWS(frmLinkDocument::existing(), "the document picker");
                     }};
        t << Command{"mnuAssignmentOpenDocument", nullptr, opensThePaper};
        t << Command{"mnuAssignmentDetails", nullptr, [](frmMain *, const Ids &) {
                         SHOWS(frmAssignmentDetail::existing(), "the assignment detail window");
                         QCOMPARE(frmAssignmentDetail::existing()->findChild<QLabel *>("Label1")->text(), QString("Cell essay"));
                     }};
        // Reports
        auto printsTo = [](frmMain *, const Ids &) { Printing::setNextPdfFile(listing()); };
        t << Command{"mnuReportsAllAssignments", printsTo, [](frmMain *, const Ids &) {
                         const QStringList pages = PdfText::pages(listing());
                         QCOMPARE(pages.size(), 1);
                         QVERIFY(pages[0].contains("Biology Assignment Listing : Page 1"));
                         QVERIFY(pages[0].contains("Cell essay"));
                         QVERIFY(pages[0].contains("Lab report"));
                     }};
        t << Command{"mnuReportsUngradedAssignments", printsTo, [](frmMain *, const Ids &) {
                         const QStringList pages = PdfText::pages(listing());
                         QCOMPARE(pages.size(), 1);
                         QVERIFY(pages[0].contains("Biology Assignment Listing : Page 1"));
                         QVERIFY(!pages[0].contains("Cell essay"));
                         QVERIFY(pages[0].contains("Lab report"));
                     }};
        // Quizzer
        t << Command{"mnuQuizzerQuizBuilder", nullptr, [](frmMain *m, const Ids &) {
                         SHOWS(frmQuizBuilder::existing(), "the quiz builder");
                         QVERIFY(!m->isVisible());
                     }};
        t << Command{"mnuQuizzerTakeAQuiz", nullptr, [](frmMain *m, const Ids &) {
                         SHOWS(frmQuizSelection::existing(), "the quiz selection");
                         QVERIFY(!m->isVisible());
                     }};
        t << Command{"mnuContacts", nullptr, [](frmMain *, const Ids &) { SHOWS(frmAddressBook::existing(), "the address book"); }};
        // Add-ins: started from the program's folder, or told when without a command line.
        auto startsAddIn = [](const QString &commandLine) {
            return [commandLine](frmMain *, const Ids &) {
                QCOMPARE(Shell::started(), QStringList{TestEnv::programFolder() + "/" + commandLine});
                QVERIFY(MessageBox::shown().isEmpty());
            };
        };
        auto noCommandLine = [](const QString &desc) {
            return [desc](frmMain *, const Ids &) {
                shownBox("No command line", "Tarvela couldn't launch " + desc + "!\n\nThe command line wasn't specified by the AddIn.");
                QVERIFY(Shell::started().isEmpty());
            };
        };
        t << Command{"mnuAddIn1Desc", nullptr, startsAddIn("flash --deck bio")};
        t << Command{"mnuAddIn2Desc", nullptr, noCommandLine("Planner")};
        t << Command{"mnuAddIn3Desc", nullptr, startsAddIn("flash --timer")};
        t << Command{"mnuAddIn4Desc", nullptr, noCommandLine("Notes")};
        t << Command{"mnuAddIn5Desc", nullptr, startsAddIn("flash")};
        // Help
        t << Command{"mnuHelpTarvelaHelp", nullptr, [](frmMain *, const Ids &) {
                         QCOMPARE(Shell::opened(), QStringList{TestEnv::programFolder() + "/tarveladesk.chm"});
                     }};
        auto online = [](frmMain *, const Ids &) { MessageBox::setNextAnswers({MessageBox::Yes}); };
        t << Command{"mnuHelpWebSite", online, [](frmMain *, const Ids &) {
                         shownBox("Connect?");
                         QCOMPARE(Shell::opened(), QStringList{frmMain::webHost() + "/support"});
                     }};
        t << Command{"mnuHelpSubmitAComment", online, [](frmMain *, const Ids &) {
                         shownBox("Connect?");
                         QCOMPARE(Shell::opened(), QStringList{frmMain::webHost() + "/software/tarvela/comment.htm"});
                     }};
        t << Command{"mnuHelpTipOfTheDay", nullptr, [](frmMain *, const Ids &) {
                         SHOWS(frmTip::existing(), "the tips window"); // even with tips switched off
                         QCOMPARE(frmTip::existing()->findChild<QLabel *>("lblTipText")->text(), QString("Close out your classes."));
                     }};
        t << Command{"mnuHelpAbout", nullptr, [](frmMain *, const Ids &) { SHOWS(frmAbout::existing(), "the About window"); }};
        // Toolbar
        t << Command{"SSCommand1", nullptr, semesterWizard};
        t << Command{"SSCommand2", nullptr, classWizard};
        t << Command{"SSCommand3", nullptr, newWork};
        t << Command{"SSCommand4", nullptr, [](frmMain *m, const Ids &) {
                         SHOWS(frmSearch::existing(), "the search window");
                         QVERIFY(m->isVisible());
                     }};
        t << Command{"SSCommand5", nullptr, [](frmMain *m, const Ids &) {
                         auto *menu = m->findChild<QMenu *>("mnuQuizzer");
                         QVERIFY(menu->isVisible());
                         QCOMPARE(menu->geometry().topLeft(), QCursor::pos()); // at the mouse
                         menu->close();
                     }};
        t << Command{"SSCommand6", nullptr, [](frmMain *, const Ids &) { SHOWS(frmCalendar::existing(), "the calendar"); }};
        t << Command{"cmdClassStats", nullptr, classStatus};
        // The letter grade and the link picture and label
        t << Command{"lblLetterGrade", nullptr, classStatus};
        t << Command{"imgDocumentLink", nullptr, opensThePaper};
        t << Command{"lblDocumentLink", nullptr, opensThePaper};
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
        TestEnv::createDatabase();
        ids.fall = addSemester("Fall 2026");
        ids.spring = addSemester("Spring 2027", "2027-01-10", "2027-05-20");
        ids.biology = addClass(ids.fall, "Biology", {90, 80, 70, 60, 0});
        ids.chemistry = addClass(ids.fall, "Chemistry", {90, 80, 70, 60, 0});
        ids.art = addClass(ids.spring, "Art", {90, 80, 70, 60, 0});
        TestEnv::exec("UPDATE Classes SET ClassClosed = 1, FinalLetterGrade = 'B', CreditHours = 4 WHERE ID = ?", {ids.chemistry});
        ids.essay = addAssignment(ids.biology, "Cell essay", 10, 7, "2026-10-01");
        ids.lab = addAssignment(ids.biology, "Lab report", 20, 0, "2026-10-08");
        addAssignment(ids.art, "Sketchbook", 10, 9, "2027-02-01");
        TestEnv::exec("UPDATE Assignments SET DocumentPath = ? WHERE ID = ?", {linkedPaper(), ids.essay});
        TestEnv::exec("INSERT INTO Quizzes (Title) VALUES ('Cells')");
        QFile tips(TestEnv::programFolder() + "/TIPOFDAY.TXT");
        if (tips.open(QIODevice::WriteOnly))
            tips.write("Close out your classes.\r\n");
        QFile program(TestEnv::programFolder() + "/flash");
        if (program.open(QIODevice::WriteOnly))
            program.write("#!/bin/sh\n");
        const QList<QPair<QString, QString>> addIns = {
            {"Flash Cards", "flash --deck bio"}, {"Planner", ""}, {"Timer", "flash --timer"}, {"Notes", ""}, {"Dictionary", "flash"}};
        for (int n = 1; n <= 5; ++n) {
            Settings::save(Settings::App, "AddIns", QString("AddIn%1Desc").arg(n), addIns[n - 1].first);
            if (!addIns[n - 1].second.isEmpty())
                Settings::save(Settings::App, "AddIns", QString("AddIn%1Command").arg(n), addIns[n - 1].second);
        }
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        for (const char *hint : {"asst_SeenClassStatus", "asst_SeenClassWizzy", "asst_SeenToDo"})
            Settings::save(Settings::App, "Settings", hint, "Y");
        Clock::set(QDateTime(QDate(2026, 10, 1), QTime(9, 30)));
        frmMain *m = start();
        // Today's events came up after the tips window (switched off) closed.
        if (frmToday *today = frmToday::existing())
            today->Unload();
        clickNode(m, "Biology");
        QTableView *grid = m->findChild<DataGrid *>("gridAssignments")->view();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        settle();
        return m;
    }

    // The menus from the menu bar down to the item.
    static QList<QMenu *> menuPath(frmMain *m, QAction *item)
    {
        QList<QMenu *> path;
        QAction *current = item;
        for (;;) {
            QMenu *holder = nullptr;
            for (QMenu *menu : m->findChildren<QMenu *>())
                if (!menu->objectName().isEmpty() && menu->actions().contains(current)) // not the bar's overflow menu
                    holder = menu;
            if (!holder)
                break;
            path.prepend(holder);
            current = holder->menuAction();
        }
        return path;
    }

    // Chooses a menu item with the mouse: its menu on the menu bar, the
    // submenus on the way, then the item.
    static void chooseFromMenus(frmMain *m, QAction *item)
    {
        auto *bar = m->findChild<QMenuBar *>("menuBar");
        QVERIFY(bar);
        const QList<QMenu *> path = menuPath(m, item);
        if (path.isEmpty()) {
            // A command right on the menu bar.
            const QRect r = bar->actionGeometry(item);
            QVERIFY2(item->isVisible() && item->isEnabled() && r.isValid(), qPrintable(item->objectName() + " cannot be chosen"));
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, r.center());
            return;
        }
        const QRect top = bar->actionGeometry(path.first()->menuAction());
        QVERIFY2(top.isValid(), qPrintable(path.first()->objectName() + " is not on the menu bar"));
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, top.center());
        QTRY_VERIFY(path.first()->isVisible());
        for (int i = 0; i + 1 < path.size(); ++i) {
            const QRect r = path[i]->actionGeometry(path[i + 1]->menuAction());
            QVERIFY2(r.isValid() && path[i + 1]->menuAction()->isVisible(), qPrintable(path[i + 1]->objectName() + " cannot be seen"));
            QTest::mouseMove(path[i], r.center());
            QTest::mouseClick(path[i], Qt::LeftButton, Qt::NoModifier, r.center());
            QTRY_VERIFY(path[i + 1]->isVisible());
        }
        QMenu *last = path.last();
        const QRect r = last->actionGeometry(item);
        QVERIFY2(item->isVisible() && item->isEnabled() && r.isValid(), qPrintable(item->objectName() + " cannot be chosen"));
        QTest::mouseMove(last, r.center());
        QTest::mouseClick(last, Qt::LeftButton, Qt::NoModifier, r.center());
    }

    // Chooses the command as a user would: a button or label is clicked, a
    // menu item is chosen from the menus.
    static void choose(frmMain *m, const QString &name)
    {
        QObject *target = m->findChild<QObject *>(name);
        QVERIFY2(target, qPrintable("no control " + name));
        if (auto *w = qobject_cast<QWidget *>(target)) {
            QVERIFY2(w->isVisible(), qPrintable(name + " cannot be seen"));
            const QPoint centre = w->rect().center();
            QCursor::setPos(w->mapToGlobal(centre));
            QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, centre);
        } else if (auto *a = qobject_cast<QAction *>(target)) {
            chooseFromMenus(m, a);
        } else {
            QFAIL(qPrintable(name + " is neither a control nor a menu item"));
        }
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
        if (QTest::currentTestFailed())
            return;
        QVERIFY(activate(m));
        if (command->before)
            command->before(m, ids);
        if (QTest::currentTestFailed())
            return;
        choose(m, name);
        if (QTest::currentTestFailed())
            return;
        settle();
        command->check(m, ids);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(!frmError::existing(), "an error was reported");
    }

    // No menu item, toolbar button or clickable label of the main window is
    // left out of the table.
    void theTableHoldsEveryCommand()
    {
        TestEnv::createDatabase();
        addSemester("Fall 2026");
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        frmMain *m = start();
        QStringList missing;
        int items = 0;
        QList<QWidget *> holders{m->findChild<QMenuBar *>("menuBar")};
        for (QMenu *menu : m->findChildren<QMenu *>())
            if (!menu->objectName().isEmpty())
                holders << menu;
        for (QWidget *holder : std::as_const(holders)) {
            for (QAction *a : holder->actions()) {
                if (a->isSeparator() || a->menu())
                    continue;
                ++items;
                if (!commandNamed(a->objectName()))
                    missing << a->objectName();
            }
        }
        int buttons = 0;
        for (QToolButton *b : m->findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly)) { // the toolbar
            ++buttons;
            if (!commandNamed(b->objectName()))
                missing << b->objectName();
        }
        QCOMPARE(missing, QStringList());
        // File 7, Semester 2, Class 7 and 15 colours, Assignment 5, Reports 2,
        // Quizzer 2, Contacts, Add-Ins 5, Help 5.
        QCOMPARE(items, 51);
        QCOMPARE(buttons, 7);
    }
};

TARVELA_TEST_CLASS(CommandsTest)
#include "tst_commands.moc"

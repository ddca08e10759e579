#include "MainDriving.h"

#include "mainwindow/frmAssignmentDetail.h"
#include "mainwindow/frmConfiguration.h"
#include "mainwindow/frmLinkDocument.h"
#include "platform/FileLists.h"
#include "platform/FileOps.h"
#include "platform/InputBox.h"
#include "platform/Shell.h"
#include "store/Database.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>

using namespace MainHelpers;

// The assignment's own windows: linked documents (picking, storing,
// opening), the assignment detail window and the assignment type window.
class DocumentsTest : public TestCase
{
    Q_OBJECT

    QByteArray m_home = qgetenv("HOME");
    int m_first = 0, m_second = 0;

    static QString home() { return TestEnv::root() + "/home"; }

    static void touch(const QString &path) { writeBytes(path, "paper"); }

    // The program started with its home folder in the test's folder.
    static frmMain *launch()
    {
        QDir().mkpath(home());
        qputenv("HOME", home().toUtf8());
        return startQuiet();
    }

    // A class "Biology" with two assignments (and "Empty class"), the main window on the first.
    frmMain *startOnBiology()
    {
        const int sem = newFile();
        const int cls = addClass(sem, "Biology");
        addClass(sem, "Empty class");
        m_first = addAssignment(cls, "Cell essay", 10, 7, "2026-10-01");
        m_second = addAssignment(cls, "Lab report", 20, QVariant(), "2026-10-08");
        TestEnv::exec("UPDATE Assignments SET AssignmentType = 'Quiz' WHERE ID = ?", {m_first});
        frmMain *m = launch();
        clickNode(m, "Biology");
        selectRow(m, 0);
        return m;
    }

    static QVariant documentOf(int id) { return TestEnv::scalar("SELECT DocumentPath FROM Assignments WHERE ID = ?", {id}); }
    static QVariant commentOf(int id) { return TestEnv::scalar("SELECT Comments FROM Assignments WHERE ID = ?", {id}); }

    static frmLinkDocument *openPicker(frmMain *m)
    {
        if (!find<QAction>(m, "mnuAssignmentLinkDocument")->isEnabled())
            return nullptr;
        trigger(m, "mnuAssignmentLinkDocument");
        return frmLinkDocument::existing();
    }

    // Chooses a place in Drive1 with the arrow keys, as a user would.
    static void choosePlace(frmLinkDocument *w, const QString &path)
    {
        auto *drives = find<DriveList>(w, "Drive1");
        const int target = drives->findData(path);
        QVERIFY2(target >= 0, qPrintable("no place " + path));
        drives->setFocus();
        const Qt::Key key = target > drives->currentIndex() ? Qt::Key_Down : Qt::Key_Up;
        for (int i = qAbs(target - drives->currentIndex()); i > 0; --i)
            QTest::keyClick(drives, key);
        settle();
    }

    // Clicks, or double-clicks (the first click, then the second, which the
    // view takes as a double click), the item's text.
    static void clickItem(QAbstractItemView *view, const QRect &r, bool dbl)
    {
        const QPoint at(r.left() + 8, r.center().y());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        if (dbl)
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        settle();
    }

    // Double-clicks a folder of Dir1 by its name.
    static void openFolder(frmLinkDocument *w, const QString &name)
    {
        auto *dirs = find<FolderList>(w, "Dir1");
        QTreeWidgetItem *item = nullptr;
        for (QTreeWidgetItemIterator it(dirs); *it; ++it)
            if ((*it)->text(0) == name)
                item = *it;
        QVERIFY2(item, qPrintable("no folder " + name));
        dirs->scrollToItem(item);
        clickItem(dirs, dirs->visualItemRect(item), true);
    }

    static void clickFile(frmLinkDocument *w, const QString &name, bool dbl = false)
    {
        auto *files = find<FileList>(w, "File1");
        const auto found = files->findItems(name, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable("no file " + name));
        clickItem(files, files->visualItemRect(found.first()), dbl);
    }

    static QStringList types(frmConfiguration *w) { return items(find<QListWidget>(w, "lstAssignmentTypes")); }

    // The type window's list after it became active again.
    static QStringList typesAfterActivation(frmMain *m, frmConfiguration *w)
    {
        return activate(m) && activate(w) ? types(w) : QStringList{"(window not activated)"};
    }

    // Chooses the row of the list and presses Remove.
    static void removeType(frmConfiguration *w, int row)
    {
        auto *list = find<QListWidget>(w, "lstAssignmentTypes");
        QVERIFY(row < list->count());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(row)).center());
        click(w, "SSCommand2");
    }

    static int typesNamed(const QString &name)
    {
        return count("SELECT count(*) FROM AssignmentTypes WHERE AssignmentTypeText = ? COLLATE BINARY", {name});
    }

    // The type table holding these names, the program started.
    static frmConfiguration *typeWindowOver(const QVariantList &names)
    {
        addClass(newFile(), "Biology");
        TestEnv::exec("DELETE FROM AssignmentTypes");
        for (const QVariant &name : names)
            TestEnv::exec("INSERT INTO AssignmentTypes (AssignmentTypeText) VALUES (?)", {name});
        frmMain *m = startQuiet();
        trigger(m, "mnuFileConfigureAssignmentTypes");
        return frmConfiguration::existing();
    }

public:
    DocumentsTest()
    {
        TestEnv::addResetHook([this] {
            qputenv("HOME", m_home);
            FileLists::setMediaForTests({});
        });
    }

private Q_SLOTS:
    void linkAFileTwoFoldersBelowHome()
    {
        touch(home() + "/Courses/Biology/Cell essay.odt");
        touch(home() + "/Courses/Biology/.lock-file");
        touch(home() + "/Courses/notes.txt");
        frmMain *m = startOnBiology();
        QVERIFY(!find<QLabel>(m, "imgDocumentLink")->isVisibleTo(m));
        frmLinkDocument *w = openPicker(m);
        QVERIFY(w && w->isVisible());
        // It starts at home; "&Link" with nothing chosen does nothing.
        QCOMPARE(find<FolderList>(w, "Dir1")->path(), home());
        QCOMPARE(find<DriveList>(w, "Drive1")->drive(), home());
        click(w, "cmdLink");
        QCOMPARE(frmLinkDocument::existing(), w);
        QVERIFY(w->isVisible());
        QVERIFY(documentOf(m_first).isNull());

        choosePlace(w, "/");
        QCOMPARE(find<FolderList>(w, "Dir1")->path(), QString("/"));
        choosePlace(w, home());
        QCOMPARE(find<FolderList>(w, "Dir1")->path(), home());
        openFolder(w, "Courses");
        QCOMPARE(find<FileList>(w, "File1")->names(), QStringList{"notes.txt"});
        openFolder(w, "Biology");
        QCOMPARE(find<FileList>(w, "File1")->path(), home() + "/Courses/Biology");
        QCOMPARE(find<FileList>(w, "File1")->names(), QStringList{"Cell essay.odt"}); // hidden files not listed
        clickFile(w, "Cell essay.odt");
        click(w, "cmdLink");

        const QString stored = home() + "/Courses/Biology/Cell essay.odt";
        QCOMPARE(documentOf(m_first).toString(), stored);
        QVERIFY(documentOf(m_second).isNull());
        QVERIFY(!frmLinkDocument::existing());
        QVERIFY(MessageBox::shown().isEmpty());
        // The main window shows the link at once.
        QVERIFY(find<QLabel>(m, "imgDocumentLink")->isVisibleTo(m));
        QVERIFY(find<QLabel>(m, "lblDocumentLink")->isVisibleTo(m));
        QCOMPARE(find<QLabel>(m, "imgDocumentLink")->toolTip(), "Open linked document (" + stored + ")");
        QVERIFY(find<QAction>(m, "mnuAssignmentOpenDocument")->isEnabled());

        // A double click on a file links it too and replaces the link.
        touch(home() + "/Bob's draft.txt");
        w = openPicker(m);
        QVERIFY(w);
        clickFile(w, "Bob's draft.txt", true);
        QCOMPARE(documentOf(m_first).toString(), home() + "/Bob's draft.txt");
        QVERIFY(!frmLinkDocument::existing());
        // Cancel keeps the link as it is.
        w = openPicker(m);
        QVERIFY(w);
        clickFile(w, "Bob's draft.txt");
        click(w, "cmdCancel");
        QVERIFY(!frmLinkDocument::existing());
        QCOMPARE(documentOf(m_first).toString(), home() + "/Bob's draft.txt");
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void openTheLinkedDocument()
    {
        frmMain *m = startOnBiology();
        // No link: nothing happens.
        m->mnuAssignmentOpenDocument_Click();
        QVERIFY(Shell::opened().isEmpty());

        const QString path = home() + "/missing paper.odt"; // nothing checks that it exists
        TestEnv::exec("UPDATE Assignments SET DocumentPath = ? WHERE ID = ?", {path, m_second});
        clickNode(m, "Biology");
        selectRow(m, 1);
        auto *picture = find<QLabel>(m, "imgDocumentLink");
        QVERIFY(picture->isVisibleTo(m));
        QTest::mouseClick(picture, Qt::LeftButton);
        click(m, "lblDocumentLink");
        trigger(m, "mnuAssignmentOpenDocument");
        QCOMPARE(Shell::opened(), QStringList({path, path, path}));
        QVERIFY(MessageBox::shown().isEmpty());
        // Back on the assignment without a link the picture goes away and nothing opens.
        selectRow(m, 0);
        QVERIFY(!picture->isVisibleTo(m));
        m->mnuAssignmentOpenDocument_Click();
        QCOMPARE(Shell::opened().size(), 3);
    }

    void noAssignmentNoLink()
    {
        touch(home() + "/essay.txt");
        frmMain *m = startOnBiology();
        // The assignment goes from under the open picker.
        frmLinkDocument *w = openPicker(m);
        QVERIFY(w);
        clickNode(m, "Empty class");
        clickFile(w, "essay.txt");
        click(w, "cmdLink");
        lastBox("No assignment!");
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Information);
        QVERIFY(frmLinkDocument::existing());
        QVERIFY(documentOf(m_first).isNull());
        // With no assignment the commands do nothing but say so.
        w->Unload();
        QVERIFY(!find<QAction>(m, "mnuAssignmentLinkDocument")->isEnabled());
        MessageBox::clearShown();
        m->mnuAssignmentLinkDocument_Click();
        lastBox("No assignment!");
        QVERIFY(!frmLinkDocument::existing());
        m->mnuAssignmentDetails_Click();
        QVERIFY(!frmAssignmentDetail::existing());
        m->mnuAssignmentOpenDocument_Click();
        QVERIFY(Shell::opened().isEmpty());
    }

    void unreadablePlacesKeepThePickerUsable()
    {
        touch(home() + "/Secret/diary.txt");
        touch(home() + "/essay.txt");
        FileLists::setMediaForTests({{"USB stick (not mounted)", TestEnv::root() + "/media/usb"}});
        FileOps::denyReading(home() + "/Secret");
        frmLinkDocument *w = openPicker(startOnBiology());
        QVERIFY(w);
        choosePlace(w, TestEnv::root() + "/media/usb");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY2(TestEnv::shownLast().text.contains(TestEnv::root() + "/media/usb"), qPrintable(TestEnv::shownLast().text));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Exclamation);
        QCOMPARE(find<DriveList>(w, "Drive1")->drive(), home());
        QCOMPARE(find<FolderList>(w, "Dir1")->path(), home());

        openFolder(w, "Secret");
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY2(TestEnv::shownLast().text.contains("permission"), qPrintable(TestEnv::shownLast().text));
        QCOMPARE(find<FolderList>(w, "Dir1")->path(), home());
        QCOMPARE(find<FileList>(w, "File1")->names(), QStringList{"essay.txt"});

        clickFile(w, "essay.txt");
        click(w, "cmdLink");
        QCOMPARE(documentOf(m_first).toString(), home() + "/essay.txt");
    }

    void anOverlongPathIsRefusedAndKept()
    {
        touch(home() + "/" + QString(200, 'f') + "/" + QString(60, 'n') + ".txt");
        frmMain *m = startOnBiology();
        frmLinkDocument *w = openPicker(m);
        QVERIFY(w);
        openFolder(w, QString(200, 'f'));
        clickFile(w, QString(60, 'n') + ".txt");
        click(w, "cmdLink");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(frmLinkDocument::existing());
        QVERIFY(documentOf(m_first).isNull());
        QVERIFY(!find<QLabel>(m, "imgDocumentLink")->isVisibleTo(m));
    }

    void detailsShowStoreTheCommentAndFollowTheGrid()
    {
        frmMain *m = startOnBiology();
        trigger(m, "mnuAssignmentDetails");
        frmAssignmentDetail *d = frmAssignmentDetail::existing();
        QVERIFY(d);
        QVERIFY(activate(d));
        QStringList shown;
        for (const char *name : {"Label1", "Label2", "Label3", "Label5", "Label7", "Label9"})
            shown << label(d, name);
        QCOMPARE(shown, QStringList({"Cell essay", "10", "7", "10/1/2026", "", "Quiz"}));
        auto *comments = find<QPlainTextEdit>(d, "Text1");
        comments->setFocus();
        QTest::keyClicks(comments, "Ask about the bibliography's format");

        QVERIFY(activate(m));
        selectRow(m, 1);
        // While inactive it keeps the assignment of its last activation.
        QCOMPARE(label(d, "Label1"), QString("Cell essay"));
        QVERIFY(activate(d));
        QCOMPARE(label(d, "Label1"), QString("Lab report"));
        QCOMPARE(label(d, "Label3"), QString());
        QCOMPARE(comments->toPlainText(), QString());
        // What was typed for the first one was kept.
        QCOMPARE(commentOf(m_first).toString(), QString("Ask about the bibliography's format"));
        QTest::keyClicks(comments, "second");
        click(d, "Command1");
        QVERIFY(!frmAssignmentDetail::existing());
        QCOMPARE(commentOf(m_second).toString(), QString("second"));
        // The close box stores it as well.
        trigger(m, "mnuAssignmentDetails");
        comments = find<QPlainTextEdit>(frmAssignmentDetail::existing(), "Text1");
        QCOMPARE(comments->toPlainText(), QString("second"));
        comments->selectAll();
        QTest::keyClicks(comments, "third");
        frmAssignmentDetail::existing()->close();
        settle();
        QVERIFY(!frmAssignmentDetail::existing());
        QCOMPARE(commentOf(m_second).toString(), QString("third"));
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void longTitleAndTypeWrapInTheDetailWindow_data() { longTextRows("title", 200, "type", 255); }

    void longTitleAndTypeWrapInTheDetailWindow()
    {
        QFETCH(QString, title);
        QFETCH(QString, type);
        frmMain *m = startOnBiology();
        TestEnv::exec("UPDATE Assignments SET AssignmentTitle = ?, AssignmentType = ? WHERE ID = ?", {title, type, m_second});
        trigger(m, "mnuAssignmentDetails");
        frmAssignmentDetail *d = frmAssignmentDetail::existing();
        QVERIFY(d);
        const int width = d->width();
        // The short one first, then the long one: the window takes the
        // lines the texts need, and keeps its width, its Done on the screen.
        QVERIFY(activate(m));
        selectRow(m, 1);
        QVERIFY(activate(d));
        QCOMPARE(label(d, "Label1"), title);
        for (const char *name : {"Label1", "Label9"})
            QVERIFY2(notWhole(find<QLabel>(d, name), width).isEmpty(), qPrintable(notWhole(find<QLabel>(d, name), width)));
        auto *done = find<QWidget>(d, "Command1");
        QVERIFY(d->rect().contains(QRect(done->mapTo(d, QPoint(0, 0)), done->size())));
    }

    void aFullDiskIsToldUnderItsOwnTitleAndLosesNothing()
    {
        frmMain *m = startOnBiology();
        trigger(m, "mnuAssignmentDetails");
        frmAssignmentDetail *d = frmAssignmentDetail::existing();
        QVERIFY(d && activate(d));
        // The disk fills up: the file can take no page more.
        auto db = Database::open(TestEnv::databasePath());
        const QString pages = db->readRows("PRAGMA page_count").rows.value(0).value(0).toString();
        db->execute("PRAGMA max_page_count = " + pages);
        // A long comment pasted in needs more room than is left.
        const QString comment = QString("The bibliography follows the essay. ").repeated(1000);
        auto *comments = find<QPlainTextEdit>(d, "Text1");
        comments->setFocus();
        QApplication::clipboard()->setText(comment);
        QTest::keyClick(comments, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(comments->toPlainText(), comment);
        MessageBox::clearShown();
        MessageBox::setNextAnswers({MessageBox::Yes}); // keep the window open
        click(d, "Command1");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(TestEnv::shownLast().title, QString("Disk full"));
        QVERIFY2(TestEnv::shownLast().text.startsWith(QString("The disk holding %1 is full").arg(TestEnv::databasePath())),
                 qPrintable(TestEnv::shownLast().text));
        QCOMPARE(frmAssignmentDetail::existing(), d);
        QCOMPARE(comments->toPlainText(), comment);
        // Room made: Done stores it.
        db->execute("PRAGMA max_page_count = 1073741823");
        click(d, "Command1");
        QVERIFY(!frmAssignmentDetail::existing());
        QCOMPARE(commentOf(m_first).toString(), comment);
    }

    void addKeepsTheBlanksAndShowsAtTheNextActivation()
    {
        const QStringList seeded = {"Homework", "In-Class Test", "Take-Home Test", "Journal", "Reading", "Quiz", "Final Paper"};
        newFile();
        frmMain *m = startQuiet();
        trigger(m, "mnuFileConfigureAssignmentTypes");
        frmConfiguration *w = frmConfiguration::existing();
        QVERIFY(w);
        InputBox::setNextAnswers({"  Lab Report  "});
        click(w, "SSCommand1");
        QCOMPARE(InputBox::shown().size(), 1);
        QCOMPARE(InputBox::shown().first().prompt, QString("Enter the description for this assignment type."));
        QCOMPARE(InputBox::shown().first().title, QString("New assignment type"));
        QCOMPARE(InputBox::shown().first().defaultText, QString());
        QCOMPARE(typesNamed("  Lab Report  "), 1);
        QCOMPARE(types(w), seeded); // not rebuilt by the command
        QCOMPARE(typesAfterActivation(m, w), QStringList(seeded) << "  Lab Report  ");

        // Blank answers and Cancel add nothing; a name too long for its field is told and not stored.
        InputBox::setNextAnswers({"   ", "", QString(51, 'x'), "Teacher's \"Choice\""});
        for (int i = 0; i < 4; ++i)
            click(w, "SSCommand1");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(typesNamed(QString(51, 'x')), 0);
        QCOMPARE(typesNamed("Teacher's \"Choice\""), 1);
        QCOMPARE(count("SELECT count(*) FROM AssignmentTypes"), 9);
        // Done closes the window, as the close box does.
        click(w, "cmdDone");
        QVERIFY(!frmConfiguration::existing());
    }

    void removeTakesOneRowOfTheChosenName()
    {
        frmConfiguration *w = typeWindowOver({"Lab", "Teacher's Choice", "Lab", "Quiz", "quiz"});
        QVERIFY(w);
        frmMain *m = frmMain::existing();
        QCOMPARE(types(w), QStringList({"Lab", "Teacher's Choice", "Lab", "Quiz", "quiz"}));
        // Nothing chosen: nothing goes.
        click(w, "SSCommand2");
        QCOMPARE(count("SELECT count(*) FROM AssignmentTypes"), 5);

        removeType(w, 2);
        QCOMPARE(typesNamed("Lab"), 1);
        QCOMPARE(count("SELECT count(*) FROM AssignmentTypes"), 4);
        QCOMPARE(types(w), QStringList({"Lab", "Teacher's Choice", "Lab", "Quiz", "quiz"}));
        QCOMPARE(typesAfterActivation(m, w), QStringList({"Teacher's Choice", "Lab", "Quiz", "quiz"}));

        removeType(w, 0);
        QCOMPARE(typesNamed("Teacher's Choice"), 0);
        // The name as listed: "quiz" does not take "Quiz" with it.
        removeType(w, 3);
        QCOMPARE(typesNamed("quiz"), 0);
        QCOMPARE(typesNamed("Quiz"), 1);
        QCOMPARE(typesAfterActivation(m, w), QStringList({"Lab", "Quiz"}));
        QVERIFY(MessageBox::shown().isEmpty()); // nothing asks
    }

    void blankNamesListedOnlyByTheGrid()
    {
        frmConfiguration *w = typeWindowOver({"Essay", "   ", "", QVariant(), "Quiz"});
        QVERIFY(w);
        QCOMPARE(types(w), QStringList({"Essay", "Quiz"}));
        QCOMPARE(grid(frmMain::existing())->columnList(1), QStringList({"Essay", "   ", "", "", "Quiz"}));
    }
};

TARVELA_TEST_CLASS(DocumentsTest)
#include "tst_documents.moc"

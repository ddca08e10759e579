#include "MainHelpers.h"

#include "mainwindow/frmAssignmentDetail.h"
#include "mainwindow/frmLinkDocument.h"
#include "platform/FileLists.h"
#include "platform/FileOps.h"
#include "platform/Settings.h"
#include "platform/Shell.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

using namespace MainHelpers;

// Linked documents (picking, storing, opening) and the assignment detail window.
class DocumentsTest : public TestCase
{
    Q_OBJECT

    QByteArray m_home = qgetenv("HOME");

    static QString home() { return TestEnv::root() + "/home"; }

    static void touch(const QString &path)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("paper");
    }

    // The program started with its home folder in the test's folder.
    static frmMain *launch()
    {
        QDir().mkpath(home());
        qputenv("HOME", home().toUtf8());
        Settings::save(Settings::ExeApp, "Options", "Show Tips at Startup", "0");
        return start();
    }

    // A class "Biology" with two assignments, the main window on the first.
    frmMain *startOnBiology()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int cls = addClass(sem, "Biology");
        m_first = addAssignment(cls, "Cell essay", 10, 7, "2026-10-01");
        m_second = addAssignment(cls, "Lab report", 20, QVariant(), "2026-10-08");
        TestEnv::exec("UPDATE Assignments SET AssignmentType = 'Quiz' WHERE ID = ?", {m_first});
        frmMain *m = launch();
        clickNode(m, "Biology");
        selectRow(m, 0);
        return m;
    }

    static QTableView *view(frmMain *m) { return m->findChild<DataGrid *>("gridAssignments")->view(); }

    static void selectRow(frmMain *m, int row)
    {
        QTableView *v = view(m);
        v->setCurrentIndex(v->model()->index(row, 0));
        settle();
    }

    static QVariant documentOf(int id) { return TestEnv::scalar("SELECT DocumentPath FROM Assignments WHERE ID = ?", {id}); }

    static frmLinkDocument *openPicker(frmMain *m)
    {
        QAction *link = m->findChild<QAction *>("mnuAssignmentLinkDocument");
        if (!link->isEnabled())
            return nullptr;
        link->trigger();
        settle();
        return frmLinkDocument::existing();
    }

    // Chooses a place in Drive1 with the arrow keys, as a user would.
    static void choosePlace(frmLinkDocument *w, const QString &path)
    {
        auto *drives = find<DriveList>(w, "Drive1");
        const int target = drives->findData(path);
        QVERIFY2(target >= 0, qPrintable("no place " + path));
        drives->setFocus();
        const int steps = qAbs(target - drives->currentIndex());
        const Qt::Key key = target > drives->currentIndex() ? Qt::Key_Down : Qt::Key_Up;
        for (int i = 0; i < steps; ++i)
            QTest::keyClick(drives, key);
        settle();
    }

    // A double click: the first click, then the second, which the view takes as a double click.
    static void doubleClick(QWidget *viewport, const QPoint &at)
    {
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
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
        const QRect r = dirs->visualItemRect(item);
        doubleClick(dirs->viewport(), QPoint(r.left() + 8, r.center().y()));
    }

    static void clickFile(frmLinkDocument *w, const QString &name, bool dbl = false)
    {
        auto *files = find<FileList>(w, "File1");
        const auto found = files->findItems(name, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable("no file " + name));
        const QRect r = files->visualItemRect(found.first());
        const QPoint at(r.left() + 8, r.center().y());
        if (dbl)
            doubleClick(files->viewport(), at);
        else
            QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        settle();
    }

    static void click(QWidget *w, const char *name)
    {
        QTest::mouseClick(find<QPushButton>(w, name), Qt::LeftButton);
        settle();
    }

    int m_first = 0;
    int m_second = 0;

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
        QVERIFY(!m->findChild<QLabel *>("imgDocumentLink")->isVisibleTo(m));
        frmLinkDocument *w = openPicker(m);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QString("Create Document Link"));
        QCOMPARE(find<QLabel>(w, "Label1")->text(), frmLinkDocument::instructions());
        QCOMPARE(find<QPushButton>(w, "cmdLink")->text(), QString("&Link"));
        QCOMPARE(find<QPushButton>(w, "cmdCancel")->text(), QString("&Cancel"));
        // It starts at home.
        QCOMPARE(find<FolderList>(w, "Dir1")->path(), home());
        QCOMPARE(find<DriveList>(w, "Drive1")->drive(), home());

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
        auto *picture = m->findChild<QLabel *>("imgDocumentLink");
        QVERIFY(picture->isVisibleTo(m));
        QVERIFY(m->findChild<QLabel *>("lblDocumentLink")->isVisibleTo(m));
        QCOMPARE(picture->toolTip(), "Open linked document (" + stored + ")");
        QVERIFY(m->findChild<QAction *>("mnuAssignmentOpenDocument")->isEnabled());

        // A double click on a file links it too and replaces the link.
        touch(home() + "/Bob's draft.txt");
        w = openPicker(m);
        QVERIFY(w);
        clickFile(w, "Bob's draft.txt", true);
        QCOMPARE(documentOf(m_first).toString(), home() + "/Bob's draft.txt");
        QVERIFY(!frmLinkDocument::existing());
    }

    void openTheLinkedDocument()
    {
        frmMain *m = startOnBiology();
        // No link: nothing happens.
        m->mnuAssignmentOpenDocument_Click();
        QVERIFY(Shell::opened().isEmpty());
        QVERIFY(MessageBox::shown().isEmpty());

        const QString path = home() + "/missing paper.odt"; // nothing checks that it exists
        TestEnv::exec("UPDATE Assignments SET DocumentPath = ? WHERE ID = ?", {path, m_second});
        clickNode(m, "Biology");
        selectRow(m, 1);
        auto *picture = m->findChild<QLabel *>("imgDocumentLink");
        auto *label = m->findChild<QLabel *>("lblDocumentLink");
        QVERIFY(picture->isVisibleTo(m));
        QTest::mouseClick(picture, Qt::LeftButton);
        QTest::mouseClick(label, Qt::LeftButton);
        m->findChild<QAction *>("mnuAssignmentOpenDocument")->trigger();
        QCOMPARE(Shell::opened(), QStringList({path, path, path}));
        QVERIFY(MessageBox::shown().isEmpty());
        // Back on the assignment without a link the picture goes away and nothing opens.
        selectRow(m, 0);
        QVERIFY(!picture->isVisibleTo(m));
        m->mnuAssignmentOpenDocument_Click();
        QCOMPARE(Shell::opened().size(), 3);
    }

    void linkWithNothingChosenOrCancelStoresNothing()
    {
        touch(home() + "/essay.txt");
        frmMain *m = startOnBiology();
        frmLinkDocument *w = openPicker(m);
        QVERIFY(w);
        click(w, "cmdLink");
        QVERIFY(frmLinkDocument::existing());
        QVERIFY(w->isVisible());
        QVERIFY(documentOf(m_first).isNull());
        click(w, "cmdCancel");
        QVERIFY(!frmLinkDocument::existing());
        QVERIFY(documentOf(m_first).isNull());
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void noAssignmentNoPicker()
    {
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        addClass(sem, "Empty class");
        frmMain *m = launch();
        clickNode(m, "Empty class");
        QVERIFY(!m->findChild<QAction *>("mnuAssignmentLinkDocument")->isEnabled());
        m->mnuAssignmentLinkDocument_Click();
        QCOMPARE(TestEnv::shownLast().title, QString("No assignment!"));
        QCOMPARE(TestEnv::shownLast().icon, MessageBox::Information);
        QVERIFY(!frmLinkDocument::existing());
        m->mnuAssignmentDetails_Click();
        QVERIFY(!frmAssignmentDetail::existing());
        m->mnuAssignmentOpenDocument_Click();
        QVERIFY(Shell::opened().isEmpty());
    }

    void theAssignmentGoneWhileThePickerIsOpen()
    {
        touch(home() + "/essay.txt");
        TestEnv::createDatabase();
        const int sem = addSemester("Fall 2026");
        const int cls = addClass(sem, "Biology");
        addClass(sem, "Empty class");
        const int only = addAssignment(cls, "Cell essay", 10, 7);
        frmMain *m = launch();
        clickNode(m, "Biology");
        frmLinkDocument *w = openPicker(m);
        QVERIFY(w);
        clickNode(m, "Empty class");
        clickFile(w, "essay.txt");
        click(w, "cmdLink");
        QCOMPARE(TestEnv::shownLast().title, QString("No assignment!"));
        QVERIFY(frmLinkDocument::existing());
        QVERIFY(documentOf(only).isNull());
    }

    void unreadablePlacesKeepThePickerUsable()
    {
        touch(home() + "/Secret/diary.txt");
        touch(home() + "/essay.txt");
        FileLists::setMediaForTests({{"USB stick (not mounted)", TestEnv::root() + "/media/usb"}});
        FileOps::denyReading(home() + "/Secret");
        frmMain *m = startOnBiology();
        frmLinkDocument *w = openPicker(m);
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
        const QString deep = home() + "/" + QString(200, 'f');
        touch(deep + "/" + QString(60, 'n') + ".txt");
        frmMain *m = startOnBiology();
        frmLinkDocument *w = openPicker(m);
        QVERIFY(w);
        openFolder(w, QString(200, 'f'));
        clickFile(w, QString(60, 'n') + ".txt");
        click(w, "cmdLink");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(frmLinkDocument::existing());
        QVERIFY(documentOf(m_first).isNull());
        QVERIFY(!m->findChild<QLabel *>("imgDocumentLink")->isVisibleTo(m));
    }

    void detailsShowAndStoreTheComment()
    {
        frmMain *m = startOnBiology();
        m->findChild<QAction *>("mnuAssignmentDetails")->trigger();
        settle();
        frmAssignmentDetail *d = frmAssignmentDetail::existing();
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QString("Assignment Detail"));
        QCOMPARE(find<QLabel>(d, "Label1")->text(), QString("Cell essay"));
        QCOMPARE(find<QLabel>(d, "Label2")->text(), QString("10"));
        QCOMPARE(find<QLabel>(d, "Label3")->text(), QString("7"));
        QCOMPARE(find<QLabel>(d, "Label5")->text(), QString("10/1/2026"));
        QCOMPARE(find<QLabel>(d, "Label7")->text(), QString());
        QCOMPARE(find<QLabel>(d, "Label9")->text(), QString("Quiz"));
        auto *comments = find<QPlainTextEdit>(d, "Text1");
        comments->setFocus();
        QTest::keyClicks(comments, "Ask about the bibliography's format");
        click(d, "Command1");
        QVERIFY(!frmAssignmentDetail::existing());
        QCOMPARE(TestEnv::scalar("SELECT Comments FROM Assignments WHERE ID = ?", {m_first}).toString(),
                 QString("Ask about the bibliography's format"));
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void detailsFollowTheGridAtActivation()
    {
        frmMain *m = startOnBiology();
        m->mnuAssignmentDetails_Click();
        settle();
        frmAssignmentDetail *d = frmAssignmentDetail::existing();
        QVERIFY(d);
        QVERIFY(activate(d));
        QCOMPARE(find<QLabel>(d, "Label1")->text(), QString("Cell essay"));
        QTest::keyClicks(find<QPlainTextEdit>(d, "Text1"), "first");

        QVERIFY(activate(m));
        selectRow(m, 1);
        // While inactive it keeps the assignment of its last activation.
        QCOMPARE(find<QLabel>(d, "Label1")->text(), QString("Cell essay"));
        QVERIFY(activate(d));
        QCOMPARE(find<QLabel>(d, "Label1")->text(), QString("Lab report"));
        QCOMPARE(find<QLabel>(d, "Label3")->text(), QString());
        QCOMPARE(find<QPlainTextEdit>(d, "Text1")->toPlainText(), QString());
        // What was typed for the first one was kept.
        QCOMPARE(TestEnv::scalar("SELECT Comments FROM Assignments WHERE ID = ?", {m_first}).toString(), QString("first"));
        QTest::keyClicks(find<QPlainTextEdit>(d, "Text1"), "second");
        d->close(); // the close box stores it as well
        settle();
        QVERIFY(!frmAssignmentDetail::existing());
        QCOMPARE(TestEnv::scalar("SELECT Comments FROM Assignments WHERE ID = ?", {m_second}).toString(), QString("second"));
    }
};

TARVELA_TEST_CLASS(DocumentsTest)
#include "tst_documents.moc"
